// Scripting in the main window: the script manager, "Letztes Python-Script ausführen", the
// "Skripte" menu and the start-up scripts, all following the setting USEPYTHON.
#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <string>

#include "scripting/u_scriptport.h"

namespace kx {

class TMainForm;
class TFormPython;

class TPythonCommands : public QObject {
    Q_OBJECT
public:
    /// Binds "Python-Manager" and "Letztes Python-Script ausführen" to the form's commands.
    explicit TPythonCommands(TMainForm& form);
    ~TPythonCommands() override;

    /// Shows or hides the scripting menu items by USEPYTHON, and makes the user's script
    /// folders when it is on.
    void DoPythonGuiInit();
    /// Fills the "Skripte" menu from the menu folder (the user's scripts laid over the shipped
    /// ones) and shows it.
    void CreatePythonMenu();
    /// Runs every start-up script, in name order.
    void RunStartupScripts();

    /// Runs a script on the open model: one undo step goes back to before the run, the view
    /// is redrawn after it. Nothing runs while USEPYTHON is off or in kinematics mode.
    TScriptResult RunScript(const std::string& text, const std::string& fileName,
                            const TScriptOutput& output);
    /// Runs a script file of the "Skripte" menu; a file that cannot be read is reported.
    void RunMenuScript(const QString& fileName);
    void ShowManager();
    void RunLastScript();

    /// Output of start-up, menu and last-script runs not seen yet; the manager shows it when
    /// it opens next.
    const QString& UnseenOutput() const { return m_unseen; }
    /// The manager while it is open (tests).
    TFormPython* Manager() const { return m_manager; }

private:
    class THost;
    /// A run whose output nobody watches: kept for the manager, its failure reported.
    void RunUnwatched(const std::string& text, const QString& fileName);

    TMainForm& m_form;
    std::unique_ptr<THost> m_host;
    QString m_unseen;
    TFormPython* m_manager = nullptr;
};

}  // namespace kx
