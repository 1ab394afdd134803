// The edit-mode buttons of the main window (select, rotate, visible, colour), the selection
// mode menu on the select button, group mode, and the colour palette popColors.
#include "view/f_EditModes.h"

#include <QButtonGroup>
#include <QColorDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QWidgetAction>

#include "foundation/u_language.h"
#include "foundation/u_param.h"
#include "foundation/u_stack.h"
#include "view/u_colour.h"

namespace kx {

namespace {

constexpr int kHoldMs = 300;
constexpr int kSingleKey = 195;  // section MAIN: "Einzelauswahl"
constexpr int kMultiKey = 196;   // section MAIN: "Mehrfachauswahl"
// Hints, section MAIN, in the order of the toolbar.
constexpr int kSelectHintKey = 73;
constexpr int kRotateHintKey = 74;
constexpr int kVisibleHintKey = 75;
constexpr int kColorHintKey = 76;
constexpr int kGroupModeHintKey = 79;

QColor FromWin(uint32_t c) {
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

uint32_t ToWin(const QColor& c) {
    return uint32_t(c.red()) | (uint32_t(c.green()) << 8) | (uint32_t(c.blue()) << 16);
}

QIcon Swatch(uint32_t colour) {
    QPixmap p(18, 18);
    p.fill(FromWin(colour));
    QPainter painter(&p);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, 17, 17);
    return QIcon(p);
}

QString MainText(int key, const char* def) {
    return QString::fromStdString(Language().GetText("MAIN", key, def));
}

}  // namespace

void LoadCustomColors() {
    const std::vector<std::string> stored = Param().GetCustomColors();
    for (int i = 0; i < QColorDialog::customCount(); ++i) {
        uint32_t value = 0xFFFFFF;
        if (static_cast<size_t>(i) < stored.size()) {
            const std::string& line = stored[static_cast<size_t>(i)];
            const size_t eq = line.find('=');
            bool ok = false;
            const uint v =
                QString::fromStdString(eq == std::string::npos ? line : line.substr(eq + 1))
                    .toUInt(&ok, 16);
            if (ok) {
                value = v & 0xFFFFFF;
            }
        }
        QColorDialog::setCustomColor(i, FromWin(value));
    }
}

void StoreCustomColors() {
    std::vector<std::string> lines;
    for (int i = 0; i < QColorDialog::customCount(); ++i) {
        lines.push_back(
            "Color" + std::string(1, char('A' + i)) + "=" +
            QString::number(ToWin(QColorDialog::customColor(i)), 16).toUpper().toStdString());
    }
    Param().SetCustomColors(lines);
}

TEditModeBar::TEditModeBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("pnlModes"));
    m_layout = new QHBoxLayout(this);
    QHBoxLayout* layout = m_layout;
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    m_group = new QButtonGroup(this);
    m_group->setExclusive(true);
    QStyle* st = style();
    btnModeSelect = ModeButton("btnModeSelect", TEditMode::Select);
    btnModeSelect->setIcon(st->standardIcon(QStyle::SP_ArrowUp));
    btnModeRot = ModeButton("btnModeRot", TEditMode::Rotate);
    btnModeRot->setIcon(st->standardIcon(QStyle::SP_BrowserReload));
    btnVisible = ModeButton("btnVisible", TEditMode::Visible);
    btnVisible->setIcon(st->standardIcon(QStyle::SP_TitleBarShadeButton));
    btnColor = ModeButton("btnColor", TEditMode::Color);
    btnModeSelect->setChecked(true);
    for (QToolButton* b : {btnModeSelect, btnModeRot, btnVisible, btnColor}) {
        layout->addWidget(b);
    }
    btnGroupMode = new QToolButton(this);
    btnGroupMode->setObjectName(QStringLiteral("btnGroupMode"));
    btnGroupMode->setCheckable(true);
    btnGroupMode->setAutoRaise(true);
    btnGroupMode->setIcon(st->standardIcon(QStyle::SP_DirLinkIcon));
    layout->addWidget(btnGroupMode);

    m_selectionMenu = new QMenu(this);
    m_selectionMenu->setObjectName(QStringLiteral("popSelectMode"));
    QAction* single = m_selectionMenu->addAction(QString());
    single->setObjectName(QStringLiteral("menSingleSelection"));
    QAction* multi = m_selectionMenu->addAction(QString());
    multi->setObjectName(QStringLiteral("menMultiSelection"));
    connect(single, &QAction::triggered, this, [this] { SetMultiSelection(false); });
    connect(multi, &QAction::triggered, this, [this] { SetMultiSelection(true); });

    // The palette: three columns of three, each item 24 pixels high with its swatch.
    popColors = new QMenu(this);
    popColors->setObjectName(QStringLiteral("popColors"));
    auto* grid = new QWidget(popColors);
    auto* gridLayout = new QGridLayout(grid);
    gridLayout->setContentsMargins(2, 2, 2, 2);
    gridLayout->setSpacing(1);
    for (int i = 0; i < 9; ++i) {
        auto* item = new QToolButton(grid);
        item->setAutoRaise(true);
        item->setFixedSize(40, 24);
        if (i < 8) {
            const uint32_t colour = kPaletteColors[i];
            item->setObjectName(QStringLiteral("mFarbe%1").arg(i + 1));
            item->setIcon(Swatch(colour));
            connect(item, &QToolButton::clicked, this, [this, colour] {
                popColors->close();
                SetActiveColor(colour);
                // A colour is picked to paint with.
                SetMode(TEditMode::Color);
            });
        } else {
            item->setObjectName(QStringLiteral("mFarbeFrei"));
            item->setText(QStringLiteral("\u2026"));
            connect(item, &QToolButton::clicked, this, [this] {
                popColors->close();
                ChooseFreeColor();
            });
        }
        gridLayout->addWidget(item, i % 3, i / 3);
    }
    auto* gridAction = new QWidgetAction(popColors);
    gridAction->setDefaultWidget(grid);
    popColors->addAction(gridAction);

    m_holdTimer = new QTimer(this);
    m_holdTimer->setSingleShot(true);
    m_holdTimer->setInterval(kHoldMs);
    connect(m_holdTimer, &QTimer::timeout, this, &TEditModeBar::OpenHoldMenu);
    btnModeSelect->installEventFilter(this);
    btnColor->installEventFilter(this);
    // Both buttons show that they have a menu: a click on the arrow opens it at once, a click
    // on the button chooses the mode, holding the button opens the menu too.
    btnModeSelect->setMenu(m_selectionMenu);
    btnColor->setMenu(popColors);
    for (QToolButton* b : {btnModeSelect, btnColor}) {
        b->setPopupMode(QToolButton::MenuButtonPopup);
    }

    SetActiveColor(255);
    DoLanguage();
}

QToolButton* TEditModeBar::ModeButton(const char* name, TEditMode mode) {
    auto* b = new QToolButton(this);
    b->setObjectName(QString::fromLatin1(name));
    b->setCheckable(true);
    b->setAutoRaise(true);
    m_group->addButton(b);
    connect(b, &QToolButton::toggled, this, [this, mode](bool on) {
        if (on) {
            SetMode(mode);
        }
    });
    return b;
}

void TEditModeBar::DoLanguage() {
    const QList<QAction*> items = m_selectionMenu->actions();
    items[0]->setText(MainText(kSingleKey, "Einzelauswahl"));
    items[1]->setText(MainText(kMultiKey, "Mehrfachauswahl"));
    btnModeSelect->setToolTip(MainText(kSelectHintKey, "Bauteile selektieren"));
    btnModeRot->setToolTip(MainText(kRotateHintKey, "Ansicht drehen"));
    btnVisible->setToolTip(MainText(kVisibleHintKey, "Bauteile ausblenden"));
    btnColor->setToolTip(MainText(kColorHintKey, "Bauteile färben"));
    btnGroupMode->setToolTip(MainText(kGroupModeHintKey, "Gruppenmodus"));
}

void TEditModeBar::AddBeforeGroupMode(QWidget* widget) {
    m_layout->insertWidget(m_layout->indexOf(btnGroupMode), widget);
}

void TEditModeBar::SetMode(TEditMode mode) {
    m_mode = mode;
    QToolButton* button = mode == TEditMode::Select    ? btnModeSelect
                          : mode == TEditMode::Rotate  ? btnModeRot
                          : mode == TEditMode::Visible ? btnVisible
                                                       : btnColor;
    if (!button->isChecked()) {
        button->setChecked(true);
    }
    if (m_viewer) {
        m_viewer->SetMode(mode);
    }
    ApplyCursor();
    emit ModeChanged(mode);
}

void TEditModeBar::SetMultiSelection(bool on) {
    m_multiSelection = on;
    // The select button shows which selection mode is on.
    btnModeSelect->setIcon(
        style()->standardIcon(on ? QStyle::SP_FileDialogDetailedView : QStyle::SP_ArrowUp));
    if (m_viewer) {
        m_viewer->SetMultiSelection(on);
    }
    emit MultiSelectionChanged(on);
}

void TEditModeBar::SetActiveColor(uint32_t colour) {
    Stack().Push("TMainForm.SetActiveColor", static_cast<int64_t>(colour));
    m_activeColor = colour;
    btnColor->setIcon(Swatch(colour));
    if (m_viewer) {
        m_viewer->SetActiveColor(colour);
    }
    emit ActiveColorChanged(colour);
}

bool TEditModeBar::GroupMode() const {
    return btnGroupMode->isChecked();
}

void TEditModeBar::SetViewWidget(QWidget* view) {
    m_view = view;
    ApplyCursor();
}

void TEditModeBar::Follow(TViewerInteraction* viewer) {
    m_viewer = viewer;
    if (viewer) {
        viewer->SetMode(m_mode);
        viewer->SetMultiSelection(m_multiSelection);
        viewer->SetActiveColor(m_activeColor);
    }
}

void TEditModeBar::ApplyCursor() {
    if (!m_view) {
        return;
    }
    switch (m_mode) {
        case TEditMode::Select:
            m_view->setCursor(Qt::ArrowCursor);
            break;
        case TEditMode::Rotate:
            m_view->setCursor(Qt::SizeAllCursor);
            break;
        case TEditMode::Visible:
        case TEditMode::Color:
            m_view->setCursor(Qt::CrossCursor);
            break;
    }
}

void TEditModeBar::ChooseFreeColor() {
    Stack().Push("TMainForm.mFarbeFreiClick");
    LoadCustomColors();
    const QColor chosen = QColorDialog::getColor(FromWin(m_activeColor), this);
    if (chosen.isValid()) {
        SetActiveColor(ToWin(chosen));
        SetMode(TEditMode::Color);
    }
    StoreCustomColors();
}

bool TEditModeBar::eventFilter(QObject* watched, QEvent* event) {
    auto* button = qobject_cast<QToolButton*>(watched);
    if (button && (button == btnModeSelect || button == btnColor)) {
        if (event->type() == QEvent::MouseButtonPress &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            m_held = button;
            m_holdPos = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
            m_holdTimer->start();
        } else if (event->type() == QEvent::MouseButtonRelease) {
            m_holdTimer->stop();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TEditModeBar::OpenHoldMenu() {
    if (!m_held) {
        return;
    }
    QToolButton* button = m_held;
    m_held = nullptr;
    // Held long enough: the button is let go without a click, and its menu opens where it was
    // pressed.
    button->setDown(false);
    QMenu* menu = button == btnColor ? popColors : m_selectionMenu;
    // Opened through the arrow already.
    if (menu->isVisible()) {
        return;
    }
    menu->popup(m_holdPos);
}

}  // namespace kx
