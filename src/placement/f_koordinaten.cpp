// The coordinates manager window over the positioning logic.
#include "placement/f_koordinaten.h"

#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/u_formstyle.h"
#include "catalogue/u_defObj.h"
#include "foundation/u_language.h"
#include "foundation/u_stack.h"
#include "model/MainObj.h"
#include "placement/ValuePanel.h"
#include "view/u_sceneobjects.h"

namespace kx {

namespace {

constexpr const char* kSection = "F_KOORDINATEN";

QString T(int key, const char* def) {
    return QString::fromStdString(Language().GetText(kSection, key, def));
}

/// Button values of the rows: position steps in tenths of a millimetre, turns in degrees.
constexpr std::array<double, 4> kMoveSteps{-50, -5, 5, 50};
constexpr std::array<double, 5> kTurnSteps{-10, -1, 1, 10, 90};

/// What a position button does, in millimetres as the tools show them.
QString MoveCaption(double value) {
    const std::string mm = FormatValue("%.1f", std::abs(value) / 10);
    const std::string trimmed = mm.ends_with(",0") ? mm.substr(0, mm.size() - 2) : mm;
    return QString::fromStdString((value < 0 ? "-" : "+") + trimmed);
}

QString TurnCaption(double value) {
    return value == 90
               ? QStringLiteral("90º")
               : QString::fromStdString((value < 0 ? "" : "+") + FormatValue("%.0f", value));
}

}  // namespace

TFormKoordinaten::TFormKoordinaten(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("FormKoordinaten"));
    setWindowTitle(QStringLiteral("Koordinaten-Manager"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);

    auto* menu = new QMenuBar(this);
    menu->setNativeMenuBar(false);
    m_align = menu->addAction(QStringLiteral("Objekt(e) ausrichten"));
    m_align->setObjectName(QStringLiteral("menAusrichten"));
    m_duplicate = menu->addAction(QStringLiteral("Duplizieren"));
    m_duplicate->setObjectName(QStringLiteral("menDuplizieren"));
    m_duplicate->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    addAction(m_duplicate);
    layout->setMenuBar(menu);
    connect(m_align, &QAction::triggered, this, [this] {
        if (m_positioning) {
            m_positioning->ObjekteAusrichten();
            AfterChange();
        }
    });
    connect(m_duplicate, &QAction::triggered, this, [this] {
        if (m_positioning) {
            m_positioning->DuplicateSelection();
            AfterChange();
        }
    });

    auto* centreRow = new QHBoxLayout;
    centreRow->setContentsMargins(6, 4, 6, 0);
    m_centreLabel = new QLabel(QStringLiteral("Zentrum"), this);
    cbMittelpunkt = new QComboBox(this);
    cbMittelpunkt->setObjectName(QStringLiteral("cbMittelpunkt"));
    cbMittelpunkt->setMinimumWidth(160);
    centreRow->addWidget(m_centreLabel);
    centreRow->addWidget(cbMittelpunkt, 1);
    layout->addLayout(centreRow);
    connect(cbMittelpunkt, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_filling || !m_positioning || index < 0) {
            return;
        }
        m_positioning->ChooseCentre(index);
        for (TValuePanel* s : m_sliders) {
            s->Reload();
        }
        emit Changed();
    });

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("PageControl1"));
    layout->addWidget(m_tabs);
    BuildStepTab();
    BuildSliderTab();
    BuildValueTab();
    // Parts also move in the view and through scripts: the typed values show the pose anew.
    connect(m_tabs, &QTabWidget::currentChanged, this, [this] { ShowValues(); });

    auto* status = new QStatusBar(this);
    status->setSizeGripEnabled(false);
    for (size_t i = 0; i < m_status.size(); ++i) {
        m_status[i] = new QLabel(this);
        status->addWidget(m_status[i], i == 0 ? 0 : 1);
    }
    layout->addWidget(status);

    ApplyFormStyle(this);
    DoLanguage();
    Refill();
    hide();
}

TFormKoordinaten::~TFormKoordinaten() = default;

void TFormKoordinaten::BuildStepTab() {
    auto* page = new QWidget(m_tabs);
    auto* grid = new QGridLayout(page);
    grid->setHorizontalSpacing(3);
    grid->addWidget(new QLabel(QStringLiteral("mm"), page), 0, 1, 1, 4, Qt::AlignCenter);
    for (int row = 0; row < 6; ++row) {
        const bool turn = row >= 3;
        const int gridRow = row + 1 + (turn ? 1 : 0);
        m_stepLabels[static_cast<size_t>(row)] = new QLabel(page);
        grid->addWidget(m_stepLabels[static_cast<size_t>(row)], gridRow, 0);
        const int count = turn ? 5 : 4;
        for (int i = 0; i < count; ++i) {
            const double value =
                turn ? kTurnSteps[static_cast<size_t>(i)] : kMoveSteps[static_cast<size_t>(i)];
            auto* b = new QPushButton(turn ? TurnCaption(value) : MoveCaption(value), page);
            b->setAutoDefault(false);
            b->setMinimumWidth(44);
            b->setObjectName(QStringLiteral("btnStep%1_%2").arg(row).arg(i));
            m_steps[static_cast<size_t>(row)][static_cast<size_t>(i)] = b;
            grid->addWidget(b, gridRow, i + 1);
            connect(b, &QPushButton::clicked, this, [this, row, value] {
                if (!m_positioning) {
                    return;
                }
                if (row < 3) {
                    m_positioning->MoveStep(static_cast<TMoveAxis>(row), value);
                } else {
                    m_positioning->TurnStep(static_cast<TTurnAxis>(row - 3), value);
                }
                AfterChange();
            });
        }
    }
    grid->addWidget(new QLabel(QStringLiteral("º"), page), 4, 1, 1, 5, Qt::AlignCenter);
    m_tabs->addTab(page, QString());
}

void TFormKoordinaten::BuildSliderTab() {
    auto* page = new QWidget(m_tabs);
    auto* grid = new QGridLayout(page);
    for (int i = 0; i < TPositioning::kSliderCount; ++i) {
        m_sliderLabels[static_cast<size_t>(i)] = new QLabel(page);
        grid->addWidget(m_sliderLabels[static_cast<size_t>(i)], i, 0);
        auto* slider = new TValuePanel(nullptr, page);
        slider->setObjectName(QStringLiteral("vpSlider%1").arg(i));
        m_sliders[static_cast<size_t>(i)] = slider;
        grid->addWidget(slider, i, 1);
        connect(slider, &TValuePanel::Changed, this, [this, i] {
            if (m_positioning) {
                m_positioning->SliderChanged(i);
                AfterChange();
            }
        });
        if (i >= 3) {
            auto* ninety = new QPushButton(QStringLiteral("90º"), page);
            ninety->setAutoDefault(false);
            ninety->setObjectName(QStringLiteral("btn90_%1").arg(i - 3));
            m_ninety[static_cast<size_t>(i - 3)] = ninety;
            grid->addWidget(ninety, i, 2);
            connect(ninety, &QPushButton::clicked, this, [this, i] {
                if (m_positioning) {
                    m_positioning->TurnStep(static_cast<TTurnAxis>(i - 3), 90);
                    AfterChange();
                }
            });
        }
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(TPositioning::kSliderCount, 1);
    m_tabs->addTab(page, QString());
}

void TFormKoordinaten::BuildValueTab() {
    auto* page = new QWidget(m_tabs);
    auto* grid = new QGridLayout(page);
    m_positionTitle = new QLabel(page);
    m_anglesTitle = new QLabel(page);
    grid->addWidget(m_positionTitle, 0, 0, 1, 2);
    grid->addWidget(m_anglesTitle, 4, 0, 1, 2);
    for (int i = 0; i < 6; ++i) {
        const int gridRow = i < 3 ? i + 1 : i + 2;
        m_fieldLabels[static_cast<size_t>(i)] = new QLabel(page);
        grid->addWidget(m_fieldLabels[static_cast<size_t>(i)], gridRow, 0);
        auto* field = new QLineEdit(page);
        field->setObjectName(QStringLiteral("edValue%1").arg(i));
        field->setAlignment(Qt::AlignRight);
        m_fields[static_cast<size_t>(i)] = field;
        grid->addWidget(field, gridRow, 1);
        connect(field, &QLineEdit::returnPressed, this, [this, i] { ApplyValues(i); });
    }
    grid->setColumnStretch(1, 1);
    m_tabs->addTab(page, QString());
}

void TFormKoordinaten::DoLanguage() {
    setWindowTitle(T(1, "Koordinaten-Manager"));
    if (m_positioning) {
        m_positioning->SetCentreText(T(2, "Mittelpunkt").toStdString());
    }
    m_align->setText(T(4, "Objekt(e) ausrichten"));
    m_duplicate->setText(T(5, "Duplizieren"));
    m_tabs->setTabText(0, T(6, "Schritte"));
    m_tabs->setTabText(1, T(7, "Regler"));
    m_tabs->setTabText(2, T(8, "Werte"));
    const std::array<QString, 6> rows{T(9, "Seitlich"), T(10, "Heben"),  T(11, "Bewegen"),
                                      T(12, "Nicken"),  T(13, "Drehen"), T(14, "Rollen")};
    for (size_t i = 0; i < rows.size(); ++i) {
        m_stepLabels[i]->setText(rows[i]);
        m_sliderLabels[i]->setText(rows[i]);
    }
    m_positionTitle->setText(T(15, "Position (mm)"));
    m_anglesTitle->setText(T(16, "Winkel (º)"));
    m_centreLabel->setText(T(17, "Zentrum"));
    for (size_t i = 0; i < 3; ++i) {
        m_fieldLabels[i]->setText(QString(QChar(u'X' + static_cast<char16_t>(i))));
        m_fieldLabels[i + 3]->setText(rows[i + 3]);
    }
    Refill();
}

void TFormKoordinaten::SetModel(TkxMain* model) {
    Stack().Push("TFormKoordinaten.SetModel");
    m_model = model;
    m_positioning = model ? std::make_unique<TPositioning>(*model) : nullptr;
    for (int i = 0; i < TPositioning::kSliderCount; ++i) {
        m_sliders[static_cast<size_t>(i)]->SetState(m_positioning ? &m_positioning->Slider(i)
                                                                  : nullptr);
    }
    if (m_positioning) {
        m_positioning->SetCentreText(T(2, "Mittelpunkt").toStdString());
        m_positioning->SetActiveObject(model->SelectedPart());
    }
    Refill();
}

void TFormKoordinaten::ShowPart(TFreeForm* part) {
    Stack().Push("TFormKoordinaten.SetActiveObject", part ? part->Name() : std::string());
    if (!m_positioning) {
        return;
    }
    m_positioning->SetActiveObject(part);
    Refill();
}

void TFormKoordinaten::Refill() {
    TFreeForm* part = m_positioning ? m_positioning->ActiveObject() : nullptr;
    m_filling = true;
    cbMittelpunkt->clear();
    if (m_positioning) {
        for (const std::string& name : m_positioning->CentreNames()) {
            cbMittelpunkt->addItem(QString::fromStdString(name));
        }
        cbMittelpunkt->setCurrentIndex(m_positioning->Centre());
    } else {
        cbMittelpunkt->addItem(T(2, "Mittelpunkt"));
    }
    m_filling = false;
    if (part) {
        m_status[0]->setText(QString::fromStdString(part->Name()));
        const auto def = m_model->PartDefinition(part->Name());
        m_status[1]->setText(def ? QString::fromStdString(def->Name) : QString());
    } else {
        m_status[0]->clear();
        m_status[1]->setText(T(3, "Kein Bauteil ausgewählt"));
    }
    // Without a part every control would do nothing; they say so by being disabled.
    for (QWidget* w : std::initializer_list<QWidget*>{cbMittelpunkt, m_tabs}) {
        w->setEnabled(part != nullptr);
    }
    m_align->setEnabled(part != nullptr);
    m_duplicate->setEnabled(part != nullptr);
    for (TValuePanel* s : m_sliders) {
        s->Reload();
    }
    ShowValues();
}

void TFormKoordinaten::ShowValues() {
    const bool part = m_positioning && m_positioning->ActiveObject();
    const TVector3f mm = part ? m_positioning->PositionMm() : TVector3f{};
    const TOrientationAngles a = part ? m_positioning->Angles() : TOrientationAngles{};
    const std::array<double, 6> values{mm.X, mm.Y, mm.Z, a.Pitch, a.Turn, a.Roll};
    for (size_t i = 0; i < values.size(); ++i) {
        m_fields[i]->setText(part ? QString::fromStdString(FormatValue("%2n", values[i]))
                                  : QString());
    }
}

void TFormKoordinaten::ApplyValues(int field) {
    if (!m_positioning || !m_positioning->ActiveObject()) {
        return;
    }
    // A field that cannot be read keeps the value the part has.
    const TVector3f mm = m_positioning->PositionMm();
    const TOrientationAngles a = m_positioning->Angles();
    const std::array<double, 6> now{mm.X, mm.Y, mm.Z, a.Pitch, a.Turn, a.Roll};
    std::array<double, 6> typed{};
    for (size_t i = 0; i < typed.size(); ++i) {
        typed[i] = ParseShownValue(m_fields[i]->text().toStdString()).value_or(now[i]);
    }
    if (field < 3) {
        m_positioning->SetPositionMm({static_cast<float>(typed[0]), static_cast<float>(typed[1]),
                                      static_cast<float>(typed[2])});
    } else {
        m_positioning->SetAngles({typed[3], typed[4], typed[5]});
    }
    AfterChange();
}

void TFormKoordinaten::AfterChange() {
    for (TValuePanel* s : m_sliders) {
        s->Reload();
    }
    ShowValues();
    emit Changed();
}

QPushButton* TFormKoordinaten::StepButton(int row, int index) const {
    return m_steps[static_cast<size_t>(row)][static_cast<size_t>(index)];
}

QString TFormKoordinaten::StatusText(int panel) const {
    return m_status[static_cast<size_t>(panel)]->text();
}

void TFormKoordinaten::keyPressEvent(QKeyEvent* event) {
    if (m_positioning) {
        // The modifier's own press may not carry its modifier flag yet.
        m_positioning->StepKeys(
            (event->modifiers() & Qt::ShiftModifier) || event->key() == Qt::Key_Shift,
            (event->modifiers() & Qt::ControlModifier) || event->key() == Qt::Key_Control);
    }
    // Enter applies a typed value; it must not close the window as a dialog's Enter would.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFormKoordinaten::keyReleaseEvent(QKeyEvent* event) {
    if (m_positioning) {
        m_positioning->StepKeysReleased();
    }
    QDialog::keyReleaseEvent(event);
}

}  // namespace kx

#include "moc_f_koordinaten.cpp"
