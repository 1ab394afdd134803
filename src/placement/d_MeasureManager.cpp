// The measurement manager window over its logic.
#include "placement/d_MeasureManager.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/u_formstyle.h"
#include "foundation/u_language.h"
#include "foundation/u_stack.h"
#include "model/MainObj.h"
#include "placement/ValuePanel.h"

namespace kx {

namespace {

constexpr const char* kSection = "D_MEASUREMANAGER";

QString T(int key, const char* def) {
    return QString::fromStdString(Language().GetText(kSection, key, def));
}

/// Lift, move and slide of each side in their own colours.
const std::array<QColor, 3> kSideColours{QColor(188, 242, 189), QColor(164, 224, 255),
                                         QColor(255, 196, 196)};

}  // namespace

TdlgMeasureManager::TdlgMeasureManager(TkxMain& model, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint), m_model(model), m_manager(model) {
    setObjectName(QStringLiteral("dlgMeasureManager"));
    auto* layout = new QHBoxLayout(this);

    auto* left = new QVBoxLayout;
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lbMeasurements"));
    m_list->setMinimumWidth(140);
    m_delete = new QPushButton(this);
    m_delete->setObjectName(QStringLiteral("btnDelete"));
    m_delete->setAutoDefault(false);
    left->addWidget(m_list, 1);
    left->addWidget(m_delete);
    layout->addLayout(left);
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_loading) {
            ItemClicked(row);
        }
    });
    connect(m_delete, &QPushButton::clicked, this, [this] {
        if (m_list->currentRow() < 0 || !m_manager.CurrentMeasurement()) {
            return;
        }
        m_manager.Delete(ItemName().toStdString());
        FillList();
        emit Changed();
    });

    m_panel = new QWidget(this);
    m_panel->setObjectName(QStringLiteral("pnlParameter"));
    auto* panel = new QVBoxLayout(m_panel);
    panel->setContentsMargins(0, 0, 0, 0);
    m_visible = new QCheckBox(m_panel);
    m_visible->setObjectName(QStringLiteral("cbVisible"));
    panel->addWidget(m_visible);
    connect(m_visible, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_loading) {
            m_manager.SetVisible(on);
            emit Changed();
        }
    });

    const auto makeSlider = [this](TMeasureField f, QWidget* parent) {
        auto* s = new TValuePanel(&m_manager.Slider(f), parent);
        s->setObjectName(QStringLiteral("vpField%1").arg(static_cast<int>(f)));
        s->setMinimumWidth(110);
        s->SetPanelColor(QColor(192, 192, 192));
        m_sliders[static_cast<size_t>(f)] = s;
        connect(s, &TValuePanel::Changed, this, [this, f] {
            m_manager.SliderChanged(f);
            emit Changed();
        });
        return s;
    };
    auto* common = new QGridLayout;
    const std::array<TMeasureField, 3> commonFields{
        TMeasureField::BaseLine, TMeasureField::Rotation, TMeasureField::TextHeight};
    for (size_t i = 0; i < commonFields.size(); ++i) {
        m_labels[i] = new QLabel(m_panel);
        common->addWidget(m_labels[i], static_cast<int>(i), 0);
        common->addWidget(makeSlider(commonFields[i], m_panel), static_cast<int>(i), 1);
    }
    panel->addLayout(common);
    for (size_t side = 0; side < 2; ++side) {
        m_sides[side] = new QGroupBox(m_panel);
        auto* grid = new QGridLayout(m_sides[side]);
        for (size_t k = 0; k < 3; ++k) {
            const auto f = static_cast<TMeasureField>(3 + side * 3 + k);
            m_sideLabels[side * 3 + k] = new QLabel(m_sides[side]);
            grid->addWidget(m_sideLabels[side * 3 + k], static_cast<int>(k), 0);
            TValuePanel* s = makeSlider(f, m_sides[side]);
            s->SetPanelColor(kSideColours[k]);
            grid->addWidget(s, static_cast<int>(k), 1);
        }
        panel->addWidget(m_sides[side]);
    }
    panel->addStretch(1);
    layout->addWidget(m_panel, 1);

    ApplyFormStyle(this);
    DoLanguage();
}

void TdlgMeasureManager::DoLanguage() {
    setWindowTitle(T(1, "Bemaßungen"));
    m_delete->setText(T(3, "Löschen"));
    m_visible->setText(T(4, "Sichtbar"));
    m_labels[0]->setText(T(5, "Grundlinie"));
    m_labels[1]->setText(T(6, "Rotation"));
    m_labels[2]->setText(T(7, "Texthöhe"));
    m_sides[0]->setTitle(T(8, "Seite 1"));
    m_sides[1]->setTitle(T(9, "Seite 2"));
    for (size_t side = 0; side < 2; ++side) {
        m_sideLabels[side * 3]->setText(T(10, "Heben"));
        m_sideLabels[side * 3 + 1]->setText(T(11, "Bewegen"));
        m_sideLabels[side * 3 + 2]->setText(T(12, "Seitlich"));
    }
}

QString TdlgMeasureManager::ItemName() const {
    return T(2, "Bemaßung");
}

void TdlgMeasureManager::FillList() {
    Stack().Push("TdlgMeasureManager.FillList");
    m_loading = true;
    m_list->clear();
    for (const std::string& item : m_manager.Fill(ItemName().toStdString())) {
        m_list->addItem(QString::fromStdString(item));
    }
    m_list->setCurrentRow(m_manager.Current());
    m_loading = false;
    LoadControls();
    emit Changed();
}

void TdlgMeasureManager::ItemClicked(int row) {
    m_manager.Choose(row);
    LoadControls();
    emit Changed();
}

void TdlgMeasureManager::LoadControls() {
    m_loading = true;
    m_panel->setEnabled(m_manager.PanelEnabled());
    m_delete->setEnabled(m_manager.DeleteEnabled());
    m_visible->setChecked(m_manager.Visible());
    for (TValuePanel* s : m_sliders) {
        s->Reload();
    }
    m_loading = false;
}

void TdlgMeasureManager::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FillList();
}

void TdlgMeasureManager::closeEvent(QCloseEvent* event) {
    m_manager.Close();
    emit Changed();
    QDialog::closeEvent(event);
}

void TdlgMeasureManager::hideEvent(QHideEvent* event) {
    // However the window goes (closed, Escape, a new model), nothing stays highlighted.
    m_manager.Close();
    emit Changed();
    QDialog::hideEvent(event);
}

}  // namespace kx

#include "moc_d_MeasureManager.cpp"
