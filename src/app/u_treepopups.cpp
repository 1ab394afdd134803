// The context menus of the main window's parts tree and groups tree.
#include "app/u_treepopups.h"

#include <QAction>
#include <QMenu>
#include <QTreeWidget>

#include "foundation/u_language.h"
#include "model/MainObj.h"
#include "model/u_groupstreebinding.h"

namespace kx {

namespace {

constexpr const char* kSection = "MAIN";

// The menu entries: object name, language key and German text.
struct TEntry {
    const char* Name;
    int Key;
    const char* Text;
};
constexpr TEntry kPhaseInvisible{"menPhaseInvisible", 197, "Bauphase unsichtbar"};
constexpr TEntry kPhaseVisible{"menPhaseVisible", 198, "Bauphase sichtbar"};
constexpr TEntry kShowOnly{"menShowOnlyGroup", 199, "Nur diese Gruppe sichtbar"};
constexpr TEntry kRemovePart{"menRemoveFromGroup", 200, "Bauteil aus der Gruppe entfernen"};
constexpr TEntry kAddSelection{"menAddSelectionToGroup", 201, "Selektion der Gruppe hinzufügen"};
constexpr TEntry kDuplicate{"menDuplicateGroup", 202, "Gruppe duplizieren"};
constexpr TEntry kClose{"menCloseGroupPopup", 203, "Schließen"};

constexpr TEntry kEntries[] = {kPhaseInvisible, kPhaseVisible, kShowOnly, kRemovePart,
                               kAddSelection,   kDuplicate,    kClose};

}  // namespace

TTreePopups::TTreePopups(QTreeWidget& partsTree, QTreeWidget& groupsTree,
                         TGroupsTreeBinding& groups, TkxMain& model, std::function<void()> redraw,
                         QObject* parent)
    : QObject(parent),
      m_partsTree(partsTree),
      m_groupsTree(groupsTree),
      m_groups(groups),
      m_model(model),
      m_redraw(std::move(redraw)) {
    m_partsMenu = new QMenu(&m_partsTree);
    m_partsMenu->setObjectName(QStringLiteral("popBausteine"));
    m_phaseInvisible = AddAction(*m_partsMenu, kPhaseInvisible.Name,
                                 [](TTreePopups& p) { p.SetCurrentPhaseVisible(false); });
    m_phaseVisible = AddAction(*m_partsMenu, kPhaseVisible.Name,
                               [](TTreePopups& p) { p.SetCurrentPhaseVisible(true); });

    m_groupsMenu = new QMenu(&m_groupsTree);
    m_groupsMenu->setObjectName(QStringLiteral("popGroups"));
    m_showOnly = AddAction(*m_groupsMenu, kShowOnly.Name,
                           [](TTreePopups& p) { p.m_groups.ShowOnlyGroup(); });
    m_removePart = AddAction(*m_groupsMenu, kRemovePart.Name,
                             [](TTreePopups& p) { p.m_groups.RemovePartFromGroup(); });
    m_addSelection = AddAction(*m_groupsMenu, kAddSelection.Name,
                               [](TTreePopups& p) { p.m_groups.AddSelectionToGroup(); });
    m_duplicate = AddAction(*m_groupsMenu, kDuplicate.Name,
                            [](TTreePopups& p) { p.m_groups.DuplicateGroup(); });
    m_groupsMenu->addSeparator();
    // Closing is what a menu does anyway when an entry is chosen.
    m_close = AddAction(*m_groupsMenu, kClose.Name, [](TTreePopups&) {});

    for (QTreeWidget* tree : {&m_partsTree, &m_groupsTree}) {
        tree->setContextMenuPolicy(Qt::CustomContextMenu);
    }
    connect(&m_partsTree, &QWidget::customContextMenuRequested, this, &TTreePopups::PopUpParts);
    connect(&m_groupsTree, &QWidget::customContextMenuRequested, this, &TTreePopups::PopUpGroups);
    DoLanguage();
}

QAction* TTreePopups::AddAction(QMenu& menu, const char* name, void (*command)(TTreePopups&)) {
    QAction* action = menu.addAction(QString());
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, [this, command] {
        command(*this);
        if (m_redraw) {
            m_redraw();
        }
    });
    return action;
}

void TTreePopups::DoLanguage() {
    const TkxLanguage& lng = Language();
    for (QMenu* menu : {m_partsMenu, m_groupsMenu}) {
        for (QAction* action : menu->actions()) {
            for (const TEntry& e : kEntries) {
                if (action->objectName() == QLatin1String(e.Name)) {
                    action->setText(QString::fromStdString(lng.GetText(kSection, e.Key, e.Text)));
                }
            }
        }
    }
}

bool TTreePopups::PreparePartsMenu() const {
    const QTreeWidgetItem* item = m_partsTree.currentItem();
    return item && !item->parent();
}

void TTreePopups::PrepareGroupsMenu() const {
    m_groups.UpdatePopup(m_showOnly, m_removePart, m_addSelection, m_duplicate, m_close);
}

void TTreePopups::SetCurrentPhaseVisible(bool visible) {
    QTreeWidgetItem* item = m_partsTree.currentItem();
    if (!item || item->parent()) {
        return;
    }
    m_model.SetPhaseNodeVisible({m_partsTree.indexOfTopLevelItem(item), -1}, visible);
}

void TTreePopups::PopUpParts(const QPoint& at) {
    // A right click chooses the node under the mouse first, as in a file manager.
    if (QTreeWidgetItem* item = m_partsTree.itemAt(at)) {
        m_partsTree.setCurrentItem(item);
    }
    if (PreparePartsMenu()) {
        m_partsMenu->popup(m_partsTree.viewport()->mapToGlobal(at));
    }
}

void TTreePopups::PopUpGroups(const QPoint& at) {
    if (QTreeWidgetItem* item = m_groupsTree.itemAt(at)) {
        m_groupsTree.setCurrentItem(item);
    }
    PrepareGroupsMenu();
    m_groupsMenu->popup(m_groupsTree.viewport()->mapToGlobal(at));
}

}  // namespace kx

#include "moc_u_treepopups.cpp"
