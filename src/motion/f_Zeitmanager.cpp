// "Zeit-Manager": every part's keys on a time line each; keys are dragged to other frames and
// the moves applied with btnBack, or removed at once with "Key entfernen".
#include "motion/f_Zeitmanager.h"

#include <QApplication>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/helpsystem.h"
#include "app/u_formstyle.h"
#include "foundation/u_language.h"
#include "motion/KeyEdit.h"

namespace kx {

namespace {
QString Text(int key, const char* def) {
    return QString::fromStdString(Language().GetText("F_ZEITMANAGER", key, def));
}

QToolButton* ToolButton(QToolBar* bar, const char* name, const QIcon& icon, const QString& hint) {
    auto* b = new QToolButton(bar);
    b->setObjectName(QString::fromLatin1(name));
    b->setIcon(icon);
    b->setToolTip(hint);
    b->setAutoRaise(true);
    bar->addWidget(b);
    return b;
}
}  // namespace

TDlgZeitManager::TDlgZeitManager(TkxMain& model, const TPartFiles& files, int position, int length,
                                 QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("DlgZeitManager"));
    setWindowTitle(Text(1, "Zeit-Manager"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_manager = std::make_unique<TZeitManager>(model, files, position);

    auto* bar = new QToolBar(this);
    QStyle* st = style();
    btnBack = ToolButton(bar, "btnBack", st->standardIcon(QStyle::SP_DialogApplyButton),
                         Text(3, "Übernehmen und schließen"));
    btnZoomIn =
        ToolButton(bar, "btnZoomIn", st->standardIcon(QStyle::SP_ArrowUp), Text(4, "Vergrößern"));
    btnZoomOut = ToolButton(bar, "btnZoomOut", st->standardIcon(QStyle::SP_ArrowDown),
                            Text(5, "Verkleinern"));
    connect(btnBack, &QToolButton::clicked, this, [this] {
        m_manager->Apply();
        accept();
    });
    // The zoom buttons act on the press, as the animation buttons do.
    connect(btnZoomIn, &QToolButton::pressed, this, [this] {
        m_manager->ZoomIn();
        RepaintRows();
    });
    connect(btnZoomOut, &QToolButton::pressed, this, [this] {
        m_manager->ZoomOut();
        RepaintRows();
    });

    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("PopupMenu1"));
    QAction* remove = m_popup->addAction(Text(6, "Key entfernen"));
    remove->setObjectName(QStringLiteral("KeyEntfernen1"));
    connect(remove, &QAction::triggered, this, [this] {
        if (m_popupRow) {
            RemoveKey(*m_popupRow);
        }
    });

    auto* rowsHost = new QWidget;
    auto* rowsLayout = new QVBoxLayout(rowsHost);
    rowsLayout->setContentsMargins(0, 0, 0, 0);
    rowsLayout->setSpacing(1);
    for (TKeyRow& row : m_manager->Rows()) {
        auto* edit = new TKeyEdit(row, rowsHost);
        edit->OnPopup = [this](TKeyEdit& e, QPoint at) {
            m_popupRow = &e;
            m_popup->popup(at);
        };
        rowsLayout->addWidget(edit);
        m_rows.push_back(edit);
    }
    rowsLayout->addStretch(1);
    auto* area = new QScrollArea(this);
    area->setWidgetResizable(true);
    area->setWidget(rowsHost);

    m_scroll = new QScrollBar(Qt::Horizontal, this);
    m_scroll->setObjectName(QStringLiteral("ScrollBar1"));
    m_scroll->setRange(0, std::max(0, length));
    m_scroll->setPageStep(25);
    connect(m_scroll, &QScrollBar::valueChanged, this, [this](int value) {
        m_manager->Scroll(value);
        RepaintRows();
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(bar);
    layout->addWidget(area, 1);
    layout->addWidget(m_scroll);
    resize(900, 500);
    setWindowState(Qt::WindowMaximized);
    ApplyFormStyle(this);
    SetHelpContext(this, 4121);
    QApplication::restoreOverrideCursor();
}

TDlgZeitManager::~TDlgZeitManager() = default;

void TDlgZeitManager::RemoveKey(TKeyEdit& row) {
    const auto it = std::find(m_rows.begin(), m_rows.end(), &row);
    if (it != m_rows.end() && m_manager->RemoveSelectedKey(size_t(it - m_rows.begin()))) {
        row.update();
    }
}

void TDlgZeitManager::RepaintRows() {
    for (TKeyEdit* row : m_rows) {
        row->update();
    }
}

}  // namespace kx

#include "moc_f_Zeitmanager.cpp"
