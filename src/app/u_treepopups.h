// The context menus of the main window's parts tree and groups tree.
#pragma once

#include <QObject>
#include <functional>

class QAction;
class QMenu;
class QPoint;
class QTreeWidget;

namespace kx {

class TGroupsTreeBinding;
class TkxMain;

class TTreePopups : public QObject {
    Q_OBJECT
public:
    /// redraw repaints the 3D view after a command changed what it shows.
    TTreePopups(QTreeWidget& partsTree, QTreeWidget& groupsTree, TGroupsTreeBinding& groups,
                TkxMain& model, std::function<void()> redraw, QObject* parent = nullptr);

    /// Captions from the language table.
    void DoLanguage();

    /// The parts tree's menu ("popBausteine") is for phase nodes only: false, and nothing
    /// to show, for a part node or when no node is chosen.
    bool PreparePartsMenu() const;
    /// Shows the groups tree's entries ("popGroups") that fit its current node.
    void PrepareGroupsMenu() const;

    QMenu& PartsMenu() const { return *m_partsMenu; }
    QMenu& GroupsMenu() const { return *m_groupsMenu; }

private:
    void SetCurrentPhaseVisible(bool visible);
    void PopUpParts(const QPoint& at);
    void PopUpGroups(const QPoint& at);
    QAction* AddAction(QMenu& menu, const char* name, void (*command)(TTreePopups&));

    QTreeWidget& m_partsTree;
    QTreeWidget& m_groupsTree;
    TGroupsTreeBinding& m_groups;
    TkxMain& m_model;
    std::function<void()> m_redraw;
    QMenu* m_partsMenu = nullptr;
    QMenu* m_groupsMenu = nullptr;
    QAction* m_phaseInvisible = nullptr;
    QAction* m_phaseVisible = nullptr;
    QAction* m_showOnly = nullptr;
    QAction* m_removePart = nullptr;
    QAction* m_addSelection = nullptr;
    QAction* m_duplicate = nullptr;
    QAction* m_close = nullptr;
};

}  // namespace kx
