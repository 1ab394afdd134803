// "Kinematik-Manager": the model's links, driven motors and collision rules.
#include "motion/f_kineManager.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/u_formstyle.h"
#include "foundation/u_language.h"
#include "foundation/u_stack.h"
#include "model/MainObj.h"
#include "motion/kinewidgets.h"
#include "motion/u_kineedit.h"

namespace kx {

namespace {

QString Text(int key, const char* def) {
    return QString::fromStdString(Language().GetText("F_KINEMANAGER", key, def));
}

/// Draws a row's "|"-separated fields at fixed x offsets.
class TColumnsDelegate : public QStyledItemDelegate {
public:
    TColumnsDelegate(std::vector<int> columns, QObject* parent)
        : QStyledItemDelegate(parent), m_minimum(columns), m_columns(std::move(columns)) {}

    /// Columns at their fixed offsets, moved right where a longer field before them would be
    /// cut off.
    void Fit(const QListWidget& list) {
        m_columns = m_minimum;
        const QFontMetrics metrics(list.font());
        for (size_t c = 1; c < m_columns.size(); ++c) {
            int widest = 0;
            for (int i = 0; i < list.count(); ++i) {
                const QStringList fields = list.item(i)->text().split(QLatin1Char('|'));
                if (static_cast<int>(c) - 1 < fields.size()) {
                    widest = std::max(widest, metrics.horizontalAdvance(fields[int(c) - 1]));
                }
            }
            m_columns[c] = std::max(m_columns[c], m_columns[c - 1] + widest + 8);
        }
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        if (m_columns.empty()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionViewItem plain = option;
        initStyleOption(&plain, index);
        plain.text.clear();
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : nullptr;
        if (style) {
            style->drawControl(QStyle::CE_ItemViewItem, &plain, painter, widget);
        }
        const QStringList fields = index.data().toString().split(QLatin1Char('|'));
        painter->save();
        painter->setPen(option.palette.color(
            option.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
        for (int i = 0; i < fields.size() && i < static_cast<int>(m_columns.size()); ++i) {
            const int left = option.rect.left() + 2 + m_columns[static_cast<size_t>(i)];
            const int right = i + 1 < static_cast<int>(m_columns.size())
                                  ? option.rect.left() + m_columns[static_cast<size_t>(i + 1)]
                                  : option.rect.right();
            const QRect cell(left, option.rect.top(), std::max(0, right - left),
                             option.rect.height());
            painter->drawText(
                cell, Qt::AlignVCenter | Qt::AlignLeft,
                option.fontMetrics.elidedText(fields[i], Qt::ElideRight, cell.width()));
        }
        painter->restore();
    }

private:
    std::vector<int> m_minimum;
    std::vector<int> m_columns;
};

void FitColumns(QListWidget* list) {
    if (auto* delegate = dynamic_cast<TColumnsDelegate*>(list->itemDelegate())) {
        delegate->Fit(*list);
        list->viewport()->update();
    }
}

}  // namespace

TFormKineManager::TFormKineManager(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint), PageControl1(new QTabWidget(this)) {
    setObjectName(QStringLiteral("FormKineManager"));
    setWindowTitle(QStringLiteral("Kinematik-Manager"));
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->addTab(Page(lbKine, "lbKine", {0, 30, 100}, BitBtn1, "BitBtn1", btnDeleteBindung,
                              "btnDeleteBindung"),
                         QStringLiteral("Bindungen"));
    PageControl1->addTab(
        Page(lbMotoren, "lbMotoren", {}, btnEditMot, "btnEditMot", BitBtn2, "BitBtn2"),
        QStringLiteral("Motoren"));
    PageControl1->addTab(Page(lbColls, "lbColls", {0, 60, 120}, btnEditKoll, "btnEditKoll",
                              btnDeleteKoll, "btnDeleteKoll"),
                         QStringLiteral("Kollisionen"));
    connect(BitBtn1, &QToolButton::clicked, this, [this] { EditLink(); });
    connect(btnDeleteBindung, &QToolButton::clicked, this, [this] { DeleteLink(); });
    connect(btnEditMot, &QToolButton::clicked, this, [this] { EditMotor(); });
    connect(BitBtn2, &QToolButton::clicked, this, [this] { RemoveMotor(); });
    connect(btnEditKoll, &QToolButton::clicked, this, [this] { EditRule(); });
    connect(btnDeleteKoll, &QToolButton::clicked, this, [this] { DeleteRule(); });
    connect(lbKine, &QListWidget::itemDoubleClicked, this, [this] { EditLink(); });
    connect(lbMotoren, &QListWidget::itemDoubleClicked, this, [this] { EditMotor(); });
    connect(lbColls, &QListWidget::itemDoubleClicked, this, [this] { EditRule(); });
    connect(lbKine, &QListWidget::itemClicked, this, [this] { RowChosen(lbKine); });
    connect(lbColls, &QListWidget::itemClicked, this, [this] { RowChosen(lbColls); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(PageControl1);
    ApplyFormStyle(this);
    resize(280, 320);
    DoLanguage();
    hide();
}

QWidget* TFormKineManager::Page(QListWidget*& list, const char* listName, std::vector<int> columns,
                                QToolButton*& edit, const char* editName, QToolButton*& remove,
                                const char* removeName) {
    auto* page = new QWidget(PageControl1);
    list = new QListWidget(page);
    list->setObjectName(QString::fromLatin1(listName));
    list->setItemDelegate(new TColumnsDelegate(std::move(columns), list));
    edit = new QToolButton(page);
    edit->setObjectName(QString::fromLatin1(editName));
    edit->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    remove = new QToolButton(page);
    remove->setObjectName(QString::fromLatin1(removeName));
    remove->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(edit);
    buttons->addWidget(remove);
    buttons->addStretch();
    buttons->addWidget(HelpButton(page, kTabHelpContext));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(list);
    layout->addLayout(buttons);
    return page;
}

void TFormKineManager::DoLanguage() {
    setWindowTitle(Text(1, "Kinematik-Manager"));
    PageControl1->setTabText(0, Text(2, "Bindungen"));
    PageControl1->setTabText(1, Text(3, "Motoren"));
    PageControl1->setTabText(2, Text(4, "Kollisionen"));
    BitBtn1->setToolTip(Text(5, "Bindung bearbeiten"));
    btnDeleteBindung->setToolTip(Text(6, "Bindung löschen"));
    btnEditMot->setToolTip(Text(7, "Motor bearbeiten"));
    BitBtn2->setToolTip(Text(8, "Motor entfernen"));
    btnEditKoll->setToolTip(Text(9, "Kollision bearbeiten"));
    btnDeleteKoll->setToolTip(Text(10, "Kollision löschen"));
}

void TFormKineManager::ShowFor(TkxMain* model) {
    Stack().Push("tkxmain.ShowKinematikManager");
    m_model = model;
    Refill();
    show();
    raise();
}

void TFormKineManager::Refill() {
    lbKine->clear();
    lbMotoren->clear();
    lbColls->clear();
    m_shownLinks.clear();
    m_shownRules.clear();
    if (!m_model) {
        return;
    }
    for (const TKineData& link : m_model->KineLinks()) {
        lbKine->addItem(QString::fromStdString(KineRowText(link)));
        m_shownLinks.push_back(link);
    }
    for (int n = 1; n <= kMotorCount; ++n) {
        if (!m_model->Motors().Motor(n).PartName.empty()) {
            lbMotoren->addItem(QString::fromStdString(MotorRowText(n)));
        }
    }
    for (const TCollData& rule : m_model->CollisionRules()) {
        lbColls->addItem(QString::fromStdString(CollisionRowText(rule)));
        m_shownRules.push_back(rule);
    }
    FitColumns(lbKine);
    FitColumns(lbColls);
}

void TFormKineManager::Changed() {
    if (Redraw) {
        Redraw();
    }
}

void TFormKineManager::RowChosen(QListWidget* list) {
    const int row = list->currentRow();
    if (!m_model || row < 0) {
        return;
    }
    const auto r = static_cast<size_t>(row);
    if (list == lbKine && r < m_shownLinks.size()) {
        m_model->SelectKinePair(m_shownLinks[r].Bauteil1, m_shownLinks[r].Bauteil2);
    } else if (list == lbColls && r < m_shownRules.size()) {
        m_model->SelectKinePair(m_shownRules[r].ObjName1, m_shownRules[r].ObjName2);
    }
    Changed();
    // The selection went to the view; the keys stay with the list.
    activateWindow();
    list->setFocus();
}

void TFormKineManager::EditLink() {
    const int row = lbKine->currentRow();
    if (!m_model || row < 0 || static_cast<size_t>(row) >= m_shownLinks.size()) {
        return;
    }
    const TKineData shown = m_shownLinks[static_cast<size_t>(row)];
    m_model->EditKineLink(static_cast<size_t>(row), shown);
    Changed();
}

void TFormKineManager::DeleteLink() {
    const int row = lbKine->currentRow();
    if (!m_model) {
        return;
    }
    if (row < 0 || static_cast<size_t>(row) >= m_shownLinks.size()) {
        QMessageBox::information(this, windowTitle(),
                                 Text(11, "Wählen Sie zunächst eine Bindung aus."));
        return;
    }
    const TKineData shown = m_shownLinks[static_cast<size_t>(row)];
    m_model->DeleteKineLink(static_cast<size_t>(row), shown);
    Changed();
}

void TFormKineManager::EditMotor() {
    const QListWidgetItem* item = lbMotoren->currentItem();
    if (!m_model || !item) {
        return;
    }
    m_model->EditKineMotor(MotorNumberOfRow(item->text().toStdString()));
    Changed();
}

void TFormKineManager::RemoveMotor() {
    const QListWidgetItem* item = lbMotoren->currentItem();
    if (!m_model || !item) {
        return;
    }
    m_model->RemoveKineMotor(MotorNumberOfRow(item->text().toStdString()));
    Changed();
}

void TFormKineManager::EditRule() {
    const int row = lbColls->currentRow();
    if (!m_model || row < 0 || static_cast<size_t>(row) >= m_shownRules.size()) {
        return;
    }
    const TCollData shown = m_shownRules[static_cast<size_t>(row)];
    m_model->EditCollisionRule(static_cast<size_t>(row), shown);
    Changed();
}

void TFormKineManager::DeleteRule() {
    const int row = lbColls->currentRow();
    if (!m_model) {
        return;
    }
    if (row < 0 || static_cast<size_t>(row) >= m_shownRules.size()) {
        QMessageBox::information(this, windowTitle(),
                                 Text(13, "Wählen Sie zunächst eine Kollision aus."));
        return;
    }
    const TCollData shown = m_shownRules[static_cast<size_t>(row)];
    m_model->DeleteCollisionRule(static_cast<size_t>(row), shown);
    Changed();
}

}  // namespace kx

#include "moc_f_kineManager.cpp"
