// The strip editor: a plastic strip made from work steps, shown live in 3D, stored in the model.
#include "generated/d_HalbzeugEditor.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

#include "app/u_formstyle.h"
#include "catalogue/u_library.h"
#include "foundation/u_language.h"
#include "foundation/u_stack.h"
#include "foundation/u_text.h"
#include "model/MainObj.h"
#include "view/f_viewer.h"
#include "view/u_sceneobjects.h"

namespace kx {

namespace {

QString T(int key, const char* def) {
    return QString::fromStdString(Language().GetText("HALBZEUG", key, def));
}

QString Number(double v) {
    return QString::fromStdString(FormatFloat(v));
}

QString KindName(int typ) {
    switch (typ) {
        case 0:
            return T(15, "Ablängen");
        case 1:
            return T(16, "Bohren");
        case 2:
            return T(17, "Fräsen");
        case 3:
            return T(18, "Ansenken");
        case 4:
            return T(19, "Abrunden");
        case 5:
            return T(20, "Biegen");
        default:
            return QString::number(typ);
    }
}

constexpr int kBendAngles[] = {90, 45, -45, -90};

}  // namespace

THalbzeugEditor::THalbzeugEditor(TkxMain& model, TPartLibrary* library, QWidget* parent)
    : QDialog(parent), m_model(model), m_library(library) {
    Stack().Push("THalbzeugEditor.FormCreate");
    setObjectName("HalbzeugEditor");
    setWindowTitle(T(3, "Kunststoff-Flachband"));
    BuildMainScene(m_scene);
    m_scene.SetBackgroundColor({0.93f, 0.93f, 0.93f});
    m_target = &m_scene.PartsRoot()->AddNewChild<TDummyCube>("HZTarget");

    m_preview = new TViewerWidget(this);
    m_preview->setObjectName("Preview");
    m_preview->setMinimumSize(520, 380);
    m_preview->SetScene(&m_scene);

    m_table = new QTableWidget(0, 1, this);
    m_table->setObjectName("Steps");
    m_table->setHorizontalHeaderLabels({T(4, "Arbeitsschritt")});
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->verticalHeader()->setVisible(true);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setMinimumWidth(300);
    connect(m_table, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (row >= 0 && static_cast<size_t>(row) < m_steps.size()) {
            EnterStep(m_steps[static_cast<size_t>(row)]);
        }
    });

    m_kind = new QComboBox(this);
    m_kind->setObjectName("Kind");
    for (int typ = 0; typ <= 5; ++typ) {
        m_kind->addItem(KindName(typ), typ);
    }
    const auto spin = [this](const char* name, double max) {
        auto* box = new QDoubleSpinBox(this);
        box->setObjectName(name);
        box->setDecimals(1);
        box->setRange(0, max);
        box->setSingleStep(0.5);
        return box;
    };
    m_x1 = spin("X1", 500);
    m_x2 = spin("X2", 500);
    m_d = spin("D", 12);
    m_d->setValue(4);
    m_mode = new QComboBox(this);
    m_mode->setObjectName("Mode");
    m_x2Label = new QLabel(T(6, "Endposition (mm)"), this);
    m_dLabel = new QLabel(T(7, "Bohrer-Durchmesser (mm)"), this);
    m_modeLabel = new QLabel(T(8, "Ausführung"), this);

    auto* add = new QPushButton(T(9, "Hinzufügen"), this);
    add->setObjectName("btnAdd");
    auto* change = new QPushButton(T(10, "Ändern"), this);
    change->setObjectName("btnChange");
    auto* remove = new QPushButton(T(11, "Entfernen"), this);
    remove->setObjectName("btnRemove");
    connect(add, &QPushButton::clicked, this, &THalbzeugEditor::AddStep);
    connect(change, &QPushButton::clicked, this, &THalbzeugEditor::ChangeStep);
    connect(remove, &QPushButton::clicked, this, &THalbzeugEditor::RemoveStep);
    connect(m_kind, &QComboBox::currentIndexChanged, this, [this] { KindChanged(); });

    m_status = new QLabel(this);
    m_status->setObjectName("Status");
    m_status->setWordWrap(true);
    m_description = new QLineEdit(T(30, "Kunststoff-Flachband"), this);
    m_description->setObjectName("Description");
    m_description->setMaxLength(60);

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(T(4, "Arbeitsschritt"), this), 0, 0);
    fields->addWidget(m_kind, 0, 1);
    fields->addWidget(new QLabel(T(5, "Position (mm)"), this), 1, 0);
    fields->addWidget(m_x1, 1, 1);
    fields->addWidget(m_x2Label, 2, 0);
    fields->addWidget(m_x2, 2, 1);
    fields->addWidget(m_dLabel, 3, 0);
    fields->addWidget(m_d, 3, 1);
    fields->addWidget(m_modeLabel, 4, 0);
    fields->addWidget(m_mode, 4, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(change);
    buttons->addWidget(remove);
    auto* description = new QHBoxLayout;
    description->addWidget(new QLabel(T(12, "Bezeichnung"), this));
    description->addWidget(m_description);

    auto* side = new QVBoxLayout;
    side->addWidget(m_table, 1);
    side->addLayout(fields);
    side->addLayout(buttons);
    side->addLayout(description);

    auto* box = new QDialogButtonBox(this);
    auto* ok = box->addButton(T(13, "OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName("btnOK");
    box->addButton(T(14, "Abbrechen"), QDialogButtonBox::RejectRole);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(m_preview, 1);
    top->addLayout(side);
    auto* main = new QVBoxLayout(this);
    main->addLayout(top, 1);
    main->addWidget(m_status);
    main->addWidget(box);

    ApplyFormStyle(this);
    KindChanged();
    Replay();
}

THalbzeugEditor::~THalbzeugEditor() = default;

QString THalbzeugEditor::StepText(const THZModData& s) {
    QString text = KindName(s.Typ) + " ";
    switch (s.Typ) {
        case 1:
            return text + "Ø" + Number(s.D) + " / " + Number(s.X1);
        case 2:
            return text + "Ø" + Number(s.D) + " / " + Number(s.X1) + " – " + Number(s.X2);
        case 3:
            return text + Number(s.X1) + " (" +
                   (s.Mode == 0 ? T(21, "von oben") : T(22, "von unten")) + ")";
        case 4:
            return text + Number(s.X1) + " (" +
                   (s.Mode == 0 ? T(23, "am Anfang") : T(24, "am Ende")) + ")";
        case 5:
            return text + Number(s.X1) + " (" + QString::number(s.Mode) + "°)";
        default:
            return text + Number(s.X1);
    }
}

THZModData THalbzeugEditor::EnteredStep() const {
    THZModData s;
    s.Typ = m_kind->currentData().toInt();
    s.X1 = m_x1->value();
    if (s.Typ == 1 || s.Typ == 2) {
        s.D = m_d->value();
    }
    if (s.Typ == 2) {
        s.X2 = m_x2->value();
    }
    if (s.Typ >= 3) {
        s.Mode = m_mode->currentData().toInt();
    }
    return s;
}

void THalbzeugEditor::EnterStep(const THZModData& s) {
    m_kind->setCurrentIndex(std::clamp(s.Typ, 0, 5));
    KindChanged();
    m_x1->setValue(s.X1);
    m_x2->setValue(s.X2);
    if (s.D > 0) {
        m_d->setValue(s.D);
    }
    const int mode = m_mode->findData(s.Mode);
    if (mode >= 0) {
        m_mode->setCurrentIndex(mode);
    }
}

void THalbzeugEditor::KindChanged() {
    const int typ = m_kind->currentData().toInt();
    m_x2->setEnabled(typ == 2);
    m_x2Label->setEnabled(typ == 2);
    m_d->setEnabled(typ == 1 || typ == 2);
    m_dLabel->setEnabled(typ == 1 || typ == 2);
    m_mode->clear();
    if (typ == 3) {
        m_mode->addItem(T(21, "von oben"), 0);
        m_mode->addItem(T(22, "von unten"), 1);
    } else if (typ == 4) {
        m_mode->addItem(T(23, "am Anfang"), 0);
        m_mode->addItem(T(24, "am Ende"), 1);
    } else if (typ == 5) {
        for (int a : kBendAngles) {
            m_mode->addItem((a > 0 ? "+" : "") + QString::number(a) + "°", a);
        }
    }
    m_mode->setEnabled(typ >= 3);
    m_modeLabel->setEnabled(typ >= 3);
}

void THalbzeugEditor::AddStep() {
    m_steps.push_back(EnteredStep());
    Replay();
    m_table->setCurrentCell(static_cast<int>(m_steps.size()) - 1, 0);
}

void THalbzeugEditor::ChangeStep() {
    const int row = m_table->currentRow();
    if (row < 0 || static_cast<size_t>(row) >= m_steps.size()) {
        return;
    }
    m_steps[static_cast<size_t>(row)] = EnteredStep();
    Replay();
    m_table->setCurrentCell(row, 0);
}

void THalbzeugEditor::RemoveStep() {
    const int row = m_table->currentRow();
    if (row < 0 || static_cast<size_t>(row) >= m_steps.size()) {
        return;
    }
    m_steps.erase(m_steps.begin() + row);
    Replay();
    m_table->setCurrentCell(std::min(row, static_cast<int>(m_steps.size()) - 1), 0);
}

void THalbzeugEditor::SetDescription(const QString& text) {
    m_description->setText(text);
}

QString THalbzeugEditor::StatusText() const {
    return m_status->text();
}

void THalbzeugEditor::Replay() {
    m_failed = m_strip.Rebuild(m_steps, *m_target);
    FillTable();
    if (m_failed.empty()) {
        m_status->setText(T(29, "Alle Arbeitsschritte sind ausgeführt. Länge: %s mm")
                              .replace("%s", Number(static_cast<double>(m_strip.BuiltLength()))));
        m_status->setStyleSheet({});
    } else {
        // Only the first failure is spelled out; the list marks every one.
        const THZModData& s = m_steps[m_failed.front()];
        QString reason = s.Typ == 3   ? T(27,
                                          "dort ist keine Bohrung, oder neben ihr liegt kein "
                                            "gerades Stück von 1,5 mm")
                         : s.Typ == 4 ? T(28, "dort ist keine Bohrung und kein Langloch")
                                      : T(26,
                                          "die Stelle liegt in keinem geraden Stück des "
                                          "Bandes");
        m_status->setText(
            T(25, "Schritt %1 ist nicht möglich: %2").arg(m_failed.front() + 1).arg(reason));
        m_status->setStyleSheet("color: #b00000");
    }
    FrameCamera();
    m_preview->Redraw();
}

void THalbzeugEditor::FillTable() {
    const QSignalBlocker block(m_table);
    m_table->setRowCount(static_cast<int>(m_steps.size()));
    for (size_t i = 0; i < m_steps.size(); ++i) {
        auto* item = new QTableWidgetItem(StepText(m_steps[i]));
        if (std::find(m_failed.begin(), m_failed.end(), i) != m_failed.end()) {
            item->setForeground(QColor(0xb0, 0, 0));
        }
        m_table->setItem(static_cast<int>(i), 0, item);
    }
}

void THalbzeugEditor::FrameCamera() {
    TVector3f lo{1e9f, 1e9f, 1e9f}, hi{-1e9f, -1e9f, -1e9f};
    for (const auto& child : m_target->Children()) {
        const auto* piece = dynamic_cast<const TFreeForm*>(child.get());
        if (!piece || !piece->Mesh()) {
            continue;
        }
        const TMatrix4f m = piece->AbsoluteMatrix();
        for (const TVector3f& v : piece->Mesh()->Positions) {
            const TVector3f p = m.TransformPoint(v);
            lo = {std::min(lo.X, p.X), std::min(lo.Y, p.Y), std::min(lo.Z, p.Z)};
            hi = {std::max(hi.X, p.X), std::max(hi.Y, p.Y), std::max(hi.Z, p.Z)};
        }
    }
    if (lo.X > hi.X) {
        lo = hi = {0, 0, 0};
    }
    const TVector3f centre = (lo + hi) * 0.5f;
    const float size = std::max(Length(hi - lo), 5.0f);
    m_scene.CameraTarget()->SetPosition(centre);
    if (TSceneCamera* camera = m_scene.Camera()) {
        camera->SetPosition(centre + Normalized(TVector3f{0.35f, 0.8f, 1}) * (size * 1.6f));
        camera->SetDirection(centre - camera->Position());
    }
    m_scene.CameraLightToCamera();
}

void THalbzeugEditor::accept() {
    Stack().Push("THalbzeugEditor.btnOKClick");
    THZData part;
    part.Bez = Trim(m_description->text().toStdString());
    if (part.Bez.empty()) {
        part.Bez = T(30, "Kunststoff-Flachband").toStdString();
    }
    part.Mods = m_steps;
    std::string error;
    m_stored = m_model.AddSemiFinished(part, &error);
    if (m_stored.empty()) {
        QMessageBox::warning(this, windowTitle(),
                             T(31, "Das Halbzeug konnte nicht gespeichert werden: %s")
                                 .replace("%s", QString::fromStdString(error)));
        return;
    }
    if (m_library) {
        m_library->AddGeneratedPart(m_stored, part.Bez);
    }
    QDialog::accept();
}

}  // namespace kx
