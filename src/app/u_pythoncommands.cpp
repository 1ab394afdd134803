// Scripting in the main window: the script manager, "Letztes Python-Script ausführen", the
// "Skripte" menu and the start-up scripts, all following the setting USEPYTHON.
#include "app/u_pythoncommands.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFileInfo>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>

#include "app/Main.h"
#include "app/u_commandtable.h"
#include "catalogue/f_Library.h"
#include "catalogue/u_partfiles.h"
#include "foundation/u_language.h"
#include "foundation/u_param.h"
#include "foundation/u_stack.h"
#include "model/MainObj.h"
#include "scripting/d_PythonManager.h"
#include "scripting/u_scriptfiles.h"
#include "view/f_LightManager.h"

namespace kx {

namespace {
constexpr const char* kSection = "D_PYTHONMANAGER";
QString Text(int key, const char* german) {
    return QString::fromStdString(Language().GetText(kSection, key, german));
}
/// What is kept of unseen output at most; the newest stays.
constexpr qsizetype kUnseenLimit = 100000;
}  // namespace

/// The windows as scripts reach them.
class TPythonCommands::THost : public TScriptHost {
public:
    explicit THost(TMainForm& form) : m_form(form) {}
    void MessageDlg(const std::string& text) override {
        QMessageBox::information(Parent(), QStringLiteral("Korvex designer"),
                                 QString::fromStdString(text));
    }
    std::string InputDlg(const std::string& caption, const std::string& prompt,
                         const std::string& preset) override {
        bool ok = false;
        const QString text = QInputDialog::getText(
            Parent(), QString::fromStdString(caption), QString::fromStdString(prompt),
            QLineEdit::Normal, QString::fromStdString(preset), &ok);
        return ok ? text.toStdString() : preset;
    }
    void CopyTextToClipboard(const std::string& text) override {
        QApplication::clipboard()->setText(QString::fromStdString(text));
    }
    void LightSwitched(int index, bool on) override {
        if (TFormLichtManager* lights = m_form.LightManager()) {
            if (QCheckBox* box = lights->Box(index + 1)) {
                box->setChecked(on);
            }
        }
    }
    void ChangeLibrary(int code) override { m_form.Library()->ChangeLibrary(code); }
    void Poll() override {
        m_form.RedrawView();
        // With the manager open its modality keeps the user out of the main window; without
        // it, only paints and timers are handled, so nothing else starts mid-script.
        QCoreApplication::processEvents(Watched ? QEventLoop::AllEvents
                                                : QEventLoop::ExcludeUserInputEvents);
    }
    bool Watched = false;

private:
    QWidget* Parent() const {
        QWidget* modal = QApplication::activeModalWidget();
        return modal ? modal : &m_form;
    }
    TMainForm& m_form;
};

TPythonCommands::TPythonCommands(TMainForm& form)
    : QObject(&form), m_form(form), m_host(std::make_unique<THost>(form)) {
    TCommandTable& c = form.Commands();
    c.Bind("menPythonManager", [this] { ShowManager(); });
    c.Bind("menRunLastPython", [this] { RunLastScript(); });
}

TPythonCommands::~TPythonCommands() = default;

void TPythonCommands::DoPythonGuiInit() {
    Stack().Push("TMainForm.DoPythonGuiInit");
    const bool on = Param().GetUsePython();
    TCommandTable& c = m_form.Commands();
    for (const char* id : {"menPythonManager", "menRunLastPython"}) {
        if (QAction* action = c.Action(id)) {
            action->setVisible(on);
        }
    }
    if (QMenu* scripts = c.Menu("menScripts"); scripts && !on) {
        scripts->menuAction()->setVisible(false);
    }
    if (on) {
        MakeScriptFolders(UserDataDir());
    }
}

void TPythonCommands::CreatePythonMenu() {
    Stack().Push("TMainForm.CreatePythonMenu");
    QMenu* menu = m_form.Commands().Menu("menScripts");
    if (!menu) {
        return;
    }
    menu->clear();
    const auto scripts = ListScripts(m_form.Files().ProgramDir(), UserDataDir(), kMenuScripts);
    int index = 0;
    for (const TScriptFile& script : scripts) {
        QAction* action = menu->addAction(QString::fromStdString(script.Name));
        action->setObjectName(QStringLiteral("menScript_") + QString::fromStdString(script.Name));
        if (index < 9) {
            action->setShortcut(QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key(Qt::Key_F2 + index)));
        }
        ++index;
        const QString file = QString::fromStdString(script.Path.string());
        connect(action, &QAction::triggered, this, [this, file] { RunMenuScript(file); });
    }
    menu->menuAction()->setVisible(true);
}

TScriptResult TPythonCommands::RunScript(const std::string& text, const std::string& fileName,
                                         const TScriptOutput& output) {
    Stack().Push("TPythonCommands.RunScript", fileName);
    TScriptResult result;
    result.Outcome = TScriptOutcome::Unavailable;
    TScriptEngine* engine = ScriptEngine();
    if (!Param().GetUsePython()) {
        result.Error =
            Text(25, "Python ist in den Systemeinstellungen ausgeschaltet.").toStdString();
        return result;
    }
    if (!engine) {
        result.Error = Text(26, "Dieses Programm wurde ohne Python gebaut.").toStdString();
        return result;
    }
    TkxMain& model = m_form.Model();
    if (model.KinematikActive()) {
        result.Error = Text(27, "Skripte laufen nicht im Kinematik-Modus.").toStdString();
        return result;
    }
    TScriptContext context;
    context.Model = &model;
    context.Scene = &m_form.Scene();
    context.Files = &m_form.Files();
    context.Library = &m_form.Library()->Library();
    context.Host = m_host.get();
    context.ProgramDir = Param().ProgramDir;
    // One undo step for the whole run, however much the script does.
    model.MakeUndoSnapshot("Python", fileName);
    m_host->Watched = m_manager != nullptr;
    {
        TUndoSuspension suspended(model);
        QApplication::setOverrideCursor(Qt::BusyCursor);
        result = engine->Run(text, context, output, fileName);
        QApplication::restoreOverrideCursor();
    }
    m_form.RedrawView();
    m_form.Commands().UpdateEnabledLater();
    return result;
}

void TPythonCommands::RunUnwatched(const std::string& text, const QString& fileName) {
    QString output;
    const TScriptResult result =
        RunScript(text, fileName.toStdString(), [&output](std::string_view piece, bool) {
            output += QString::fromUtf8(piece.data(), qsizetype(piece.size()));
        });
    if (!output.isEmpty()) {
        m_unseen += QStringLiteral("--- ") + QFileInfo(fileName).fileName() +
                    QStringLiteral(" ---\n") + output;
        if (m_unseen.size() > kUnseenLimit) {
            m_unseen = m_unseen.right(kUnseenLimit);
        }
    }
    if (!result.Ok()) {
        Stack().Push("TPythonCommands.ScriptFailed", fileName.toStdString(), result.Error);
        m_form.SetStatusText(0, Text(28, "Python-Skript fehlgeschlagen:") + QLatin1Char(' ') +
                                    QFileInfo(fileName).fileName() + QStringLiteral(": ") +
                                    QString::fromStdString(result.Error));
    }
}

void TPythonCommands::RunMenuScript(const QString& fileName) {
    Stack().Push("TMainForm.PythonMenuClick", fileName.toStdString());
    std::string text;
    std::string error;
    if (!ReadScriptFile(fileName.toStdString(), text, error)) {
        QMessageBox::warning(&m_form, QStringLiteral("Korvex designer"),
                             QString::fromStdString(error));
        return;
    }
    RunUnwatched(text, fileName);
}

void TPythonCommands::RunStartupScripts() {
    Stack().Push("TPythonCommands.RunStartupScripts");
    if (!Param().GetUsePython()) {
        return;
    }
    for (const TScriptFile& script :
         ListScripts(m_form.Files().ProgramDir(), UserDataDir(), kStartupScripts)) {
        std::string text;
        std::string error;
        const QString file = QString::fromStdString(script.Path.string());
        if (!ReadScriptFile(script.Path, text, error)) {
            // Not run as an empty script: the user learns that it was not run at all.
            m_unseen += QString::fromStdString(error) + QLatin1Char('\n');
            m_form.SetStatusText(0, QString::fromStdString(error));
            continue;
        }
        RunUnwatched(text, file);
    }
}

void TPythonCommands::ShowManager() {
    Stack().Push("TMainForm.menPythonManagerClick");
    TFormPython manager([this](const std::string& text, const std::string& fileName,
                               const TScriptOutput& out) { return RunScript(text, fileName, out); },
                        [] {
                            if (TScriptEngine* engine = ScriptEngine()) {
                                engine->RequestStop();
                            }
                        },
                        &m_form);
    if (!m_unseen.isEmpty()) {
        manager.ShowEarlierOutput(m_unseen);
        m_unseen.clear();
    }
    m_manager = &manager;
    manager.exec();
    m_manager = nullptr;
}

void TPythonCommands::RunLastScript() {
    Stack().Push("TMainForm.menExecuteLastPythonScriptClick");
    std::string text;
    for (const std::string& line : Param().GetLastPythonScript()) {
        text += line + "\n";
    }
    RunUnwatched(text, QStringLiteral("LASTPYTHONSCRIPT"));
}

}  // namespace kx

#include "moc_u_pythoncommands.cpp"
