// One table of every menu command: id, caption key and German caption, shortcut. Menus, the
// jog dial and scripts dispatch through it; a command without a handler shows disabled.
#pragma once

#include <QAction>
#include <QHash>
#include <QObject>
#include <functional>
#include <string>
#include <vector>

class QMenu;
class QMenuBar;
class QWidget;

namespace kx {

enum class TCommandKind {
    Menu,       ///< a menu or submenu
    Item,       ///< a command
    Check,      ///< a command with a check mark
    Separator,  ///< a line between items
    KeyOnly,    ///< never shown; only its shortcut works
};

struct TCommandRow {
    const char* Id;        ///< control name, e.g. "menSave"
    const char* Parent;    ///< id of the menu it sits in; "" for the menu bar
    int Key;               ///< language key of the caption in section MAIN; 0: fixed caption
    const char* Caption;   ///< German caption, the default of the language table
    const char* Shortcut;  ///< portable shortcut text, "" for none
    TCommandKind Kind;
    bool DeveloperOnly = false;
};

/// The main window's command table.
const std::vector<TCommandRow>& MainCommandRows();

class TCommandTable : public QObject {
    Q_OBJECT
public:
    TCommandTable(const std::vector<TCommandRow>& rows, QWidget* owner);

    /// Builds the menu bar from the rows (once).
    void BuildMenus(QMenuBar* bar, bool developerMode);

    /// Attaches the command's effect; enabledWhen, if given, is asked whenever the enabled
    /// states are refreshed (a menu opens, the model reports a change, a command has run).
    void Bind(const std::string& id, std::function<void()> handler,
              std::function<bool()> enabledWhen = {});

    QAction* Action(const std::string& id) const;
    QMenu* Menu(const std::string& id) const;

    /// Runs a command as its menu item would; false if it has no handler or is disabled.
    bool Execute(const std::string& id);

    /// Captions from the language table, the current caption as default.
    void DoLanguage();

    /// Refreshes the enabled state of every item from its handler and enabledWhen; a command
    /// whose state is set from outside keeps that state.
    void UpdateEnabled();
    /// Runs UpdateEnabled once control is back in the event loop: the model reports a change
    /// before it has finished it (a selection is announced before the part is selected), so
    /// conditions are asked once it is done. Several calls in a row give one update.
    void UpdateEnabledLater();

    /// The owner of a command's state (the model) decides it from now on: UpdateEnabled keeps
    /// it, and Execute refuses the command while it is off.
    void SetEnabled(const std::string& id, bool enabled);

    const std::vector<TCommandRow>& Rows() const { return m_rows; }

    /// The tooltip a command shows while it is disabled, saying why. A command without a
    /// handler says that its feature comes in a later version.
    void SetDisabledHint(const std::string& id, const QString& hint);

    /// Whether the command has a handler.
    bool Bound(const std::string& id) const;
    /// Locks every command outside the named top-level menus (kinematics mode): Execute
    /// refuses them, by menu, shortcut or jog dial, and they show disabled until Unlock.
    void Lock(const std::vector<std::string>& openMenus);
    void Unlock();
    bool Locked() const { return m_locked; }

private:
    /// Whether the lock holds the command back.
    bool LockedOut(const QString& id) const;
    /// The disabled command's hint as its tooltip; the caption while it is enabled.
    void ShowHint(const QString& id, QAction* action, bool bound);

    struct TBinding {
        std::function<void()> Handler;
        std::function<bool()> EnabledWhen;
    };
    std::vector<TCommandRow> m_rows;
    QWidget* m_owner;
    QHash<QString, QAction*> m_actions;
    QHash<QString, QMenu*> m_menus;
    QHash<QString, TBinding> m_bindings;
    QHash<QString, bool> m_setStates;  ///< commands whose state is set from outside
    QHash<QString, QString> m_disabledHints;
    bool m_updatePending = false;
    QHash<QString, QString> m_parents;  ///< id -> id of the menu it sits in
    bool m_locked = false;
    QStringList m_openMenus;
};

}  // namespace kx
