// The script manager: an editor for Python scripts with an output pane, run with F5.
#include "scripting/d_PythonManager.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "foundation/u_language.h"
#include "foundation/u_param.h"
#include "foundation/u_stack.h"
#include "scripting/codeeditor.h"
#include "scripting/u_scriptfiles.h"

namespace kx {

namespace {

constexpr const char* kSection = "D_PYTHONMANAGER";

QString Text(int key, const char* german) {
    return QString::fromStdString(Language().GetText(kSection, key, german));
}

/// The examples, ported to Python 3, in the manager's own little format.
constexpr const char* kExamples = R"(<Basic>
[Hello World]
import kxd

print("Hello World!")
print(kxd.Version())
[Grid manipulations]
import kxd

# get grid-object
grid=kxd.GetGrid()

# set line color to red
grid.Color.RedColor()

# grid lines every 20mm
grid.XStep=2.0
grid.ZStep=2.0

# enlarge grid
grid.XMin=-20
grid.XMax=20
grid.ZMin=-20
grid.ZMax=20
<Lights>
[Change light color]
import kxd

# get light no. 1
light=kxd.GetLightAtIndex(0)

# turn light on
light.TurnOn()

# set light color to blue
light.Color.BlueColor()
<Parts>
[Rotate selected part]
import kxd

# get selected part
part=kxd.GetSelectedPart()

# is there a selected part?
if (part):
  # rotate part 45 degrees around red axle
  part.Object3D.RotateRed(45)
[Change part color]
import kxd

# get selected part
part=kxd.GetSelectedPart()

# is there a selected part?
if (part):
  # change color to green
  part.Object3D.Color.GreenColor()
  # save changes on Object3D
  part.CommitChanges(True)
  # delete selection
  kxd.DeSelectAll()
)";

QString UserScriptDir(const char* sub) {
    return QString::fromStdString(UserDataDir()) + QStringLiteral("Python/") +
           QString::fromLatin1(sub);
}

}  // namespace

std::vector<TExampleScript> ExampleScripts() {
    std::vector<TExampleScript> out;
    QString menu;
    for (const QString& line : QString::fromUtf8(kExamples).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1Char('<'))) {
            menu = line.mid(1, line.size() - 2);
        } else if (line.startsWith(QLatin1Char('['))) {
            out.push_back({menu, line.mid(1, line.size() - 2), {}});
        } else if (!out.empty()) {
            out.back().Script += line + QLatin1Char('\n');
        }
    }
    return out;
}

TFormPython::TFormPython(TRunner runner, std::function<void()> stop, QWidget* parent)
    : QDialog(parent), m_runner(std::move(runner)), m_stop(std::move(stop)) {
    Stack().Push("TFormPython.FormCreate");
    setObjectName(QStringLiteral("FormPython"));
    setWindowTitle(QStringLiteral("Python-Manager"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setModal(true);
    resize(760, 600);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* menuBar = new QMenuBar(this);
    layout->setMenuBar(menuBar);

    auto* tools = new QToolBar(this);
    auto button = [&](const char* name, const QString& text, QStyle::StandardPixmap icon) {
        auto* b = new QToolButton(tools);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(text);
        b->setIcon(style()->standardIcon(icon));
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        b->setAutoRaise(true);
        tools->addWidget(b);
        return b;
    };
    m_newButton = button("btnNew", QStringLiteral("Neu"), QStyle::SP_FileIcon);
    m_runButton = button("btnRun", QStringLiteral("Ausführen"), QStyle::SP_MediaPlay);
    m_stopButton = button("btnStop", QStringLiteral("Anhalten"), QStyle::SP_MediaStop);
    m_stopButton->setEnabled(false);
    m_running = new QLabel(QStringLiteral("Skript läuft ..."), tools);
    m_running->setObjectName(QStringLiteral("lblRunning"));
    m_running->setStyleSheet(
        QStringLiteral("color: #b00000; font-weight: bold; margin-left: 12px"));
    // A widget in a tool bar is shown and hidden through its action.
    m_runningAction = tools->addWidget(m_running);
    m_runningAction->setVisible(false);
    layout->addWidget(tools);

    auto* split = new QSplitter(Qt::Vertical, this);
    m_editor = new TCodeEditor(split);
    m_editor->setObjectName(QStringLiteral("SynEdit1"));
    auto* outputBox = new QWidget(split);
    auto* outputLayout = new QVBoxLayout(outputBox);
    outputLayout->setContentsMargins(2, 2, 2, 2);
    m_outputLabel = new QLabel(QStringLiteral("Ausgabe"), outputBox);
    m_output = new QPlainTextEdit(outputBox);
    m_output->setObjectName(QStringLiteral("memOutput"));
    m_output->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_output->setStyleSheet(QStringLiteral(
        "QPlainTextEdit { background: rgb(85, 85, 85); color: silver; "
        "font-family: 'Courier New', monospace; font-size: 13px; font-weight: bold; }"));
    outputLayout->addWidget(m_outputLabel);
    outputLayout->addWidget(m_output);
    split->addWidget(m_editor);
    split->addWidget(outputBox);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    layout->addWidget(split, 1);

    m_status = new QStatusBar(this);
    m_status->setSizeGripEnabled(false);
    layout->addWidget(m_status);

    // Menus.
    QMenu* file = menuBar->addMenu(QStringLiteral("&Datei"));
    file->setObjectName(QStringLiteral("menDatei"));
    auto action = [this](QMenu* menu, const char* name, const QString& text,
                         const QKeySequence& key, auto slot) {
        QAction* a = menu->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        if (!key.isEmpty()) {
            a->setShortcut(key);
        }
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    action(file, "menNew", QStringLiteral("Neu"), QKeySequence(QStringLiteral("Ctrl+N")),
           [this] { NewScript(); });
    action(file, "menOpen", QStringLiteral("Skript öffnen"), {}, [this] { OpenScript(); });
    QMenu* openIn = file->addMenu(QStringLiteral("Skript öffnen unter..."));
    openIn->setObjectName(QStringLiteral("menOpenIn"));
    action(openIn, "menOpenStartup", QStringLiteral("Programmstart"), {},
           [this] { OpenScript(UserScriptDir(kStartupScripts)); });
    action(openIn, "menOpenMenu", QStringLiteral("Menü"), {},
           [this] { OpenScript(UserScriptDir(kMenuScripts)); });
    action(file, "menSave", QStringLiteral("Skript speichern"),
           QKeySequence(QStringLiteral("Ctrl+S")), [this] { SaveScript(); });
    action(file, "menSaveAs", QStringLiteral("Skript speichern unter..."), {},
           [this] { SaveScriptAs(); });
    file->addSeparator();
    action(file, "menExit", QStringLiteral("Beenden"), {}, [this] { close(); });
    m_examples = menuBar->addMenu(QStringLiteral("Bibliothek"));
    m_examples->setObjectName(QStringLiteral("menBibliothek"));
    QMenu* script = menuBar->addMenu(QStringLiteral("Skript"));
    script->setObjectName(QStringLiteral("menSkript"));
    action(script, "menRun", QStringLiteral("Ausführen"), QKeySequence(Qt::Key_F5),
           [this] { RunScript(); });

    connect(m_newButton, &QToolButton::clicked, this, [this] { NewScript(); });
    connect(m_runButton, &QToolButton::clicked, this, [this] { RunScript(); });
    connect(m_stopButton, &QToolButton::clicked, this, [this] { StopScript(); });

    QStringList lines;
    for (const std::string& line : Param().GetLastPythonScript()) {
        lines << QString::fromStdString(line);
    }
    m_editor->setPlainText(lines.join(QLatin1Char('\n')));
    SetFileName({});
    BuildExamples();
    DoLanguage();
}

void TFormPython::DoLanguage() {
    setWindowTitle(Text(1, "Python-Manager"));
    m_outputLabel->setText(Text(2, "Ausgabe"));
    auto set = [this](const char* name, int key, const char* german) {
        if (auto* a = findChild<QAction*>(QString::fromLatin1(name))) {
            a->setText(Text(key, german));
        }
        if (auto* m = findChild<QMenu*>(QString::fromLatin1(name))) {
            m->setTitle(Text(key, german));
        }
    };
    set("menDatei", 3, "&Datei");
    set("menNew", 4, "Neu");
    set("menOpen", 5, "Skript öffnen");
    set("menOpenIn", 6, "Skript öffnen unter...");
    set("menOpenStartup", 7, "Programmstart");
    set("menSave", 8, "Skript speichern");
    set("menSaveAs", 9, "Skript speichern unter...");
    set("menExit", 10, "Beenden");
    set("menSkript", 11, "Skript");
    set("menRun", 12, "Ausführen");
    set("menOpenMenu", 13, "Menü");
    set("menBibliothek", 14, "Bibliothek");
    m_newButton->setText(Text(4, "Neu"));
    m_runButton->setText(Text(12, "Ausführen"));
    m_stopButton->setText(Text(15, "Anhalten"));
    m_running->setText(Text(16, "Skript läuft ..."));
}

void TFormPython::BuildExamples() {
    QMenu* current = nullptr;
    QString currentName;
    for (const TExampleScript& example : ExampleScripts()) {
        if (!current || example.Menu != currentName) {
            current = m_examples->addMenu(example.Menu);
            currentName = example.Menu;
        }
        QAction* entry = current->addAction(example.Name);
        const QString script = example.Script;
        connect(entry, &QAction::triggered, this, [this, script] {
            m_editor->setPlainText(script);
            SetFileName({});
        });
    }
}

QString TFormPython::StatusText() const {
    return m_status->currentMessage();
}

void TFormPython::SetFileName(const QString& fileName) {
    m_fileName = fileName;
    // A permanent text: the status bar keeps it while other messages come and go.
    m_status->showMessage(fileName.isEmpty() ? QStringLiteral("[]") : fileName);
}

void TFormPython::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_editor->setFocus();
}

void TFormPython::ShowEarlierOutput(const QString& text) {
    m_output->setPlainText(text);
}

void TFormPython::NewScript() {
    const QString question = Text(17, "Möchten Sie wirklich alles löschen?");
    const bool yes = Ask ? Ask(question)
                         : QMessageBox::question(this, windowTitle(), question) == QMessageBox::Yes;
    if (!yes) {
        return;
    }
    m_editor->setPlainText(QStringLiteral("import kxd\n"));
    SetFileName({});
}

QString TFormPython::ChooseFile(bool save, const QString& startDir) {
    if (FileChooser) {
        return FileChooser(save, startDir);
    }
    const QString filter =
        Text(21, "Python-Skript (*.py)") + QStringLiteral(";;") + Text(22, "Alle Dateien (*)");
    return save ? QFileDialog::getSaveFileName(this, QString(), startDir, filter)
                : QFileDialog::getOpenFileName(this, QString(), startDir, filter);
}

void TFormPython::OpenScript(const QString& startDir) {
    const QString chosen = ChooseFile(false, startDir);
    if (!chosen.isEmpty()) {
        LoadFile(chosen);
    }
}

bool TFormPython::LoadFile(const QString& fileName) {
    std::string text;
    std::string error;
    if (!ReadScriptFile(fileName.toStdString(), text, error)) {
        QMessageBox::warning(this, windowTitle(), QString::fromStdString(error));
        return false;
    }
    m_editor->setPlainText(QString::fromStdString(text));
    SetFileName(fileName);
    return true;
}

bool TFormPython::WriteFile(const QString& fileName) {
    // Through a temporary file: a failed save leaves the old script as it was.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(m_editor->toPlainText().toUtf8()) < 0 ||
        !file.commit()) {
        QMessageBox::warning(this, windowTitle(),
                             Text(18, "Das Skript konnte nicht gespeichert werden."));
        return false;
    }
    return true;
}

void TFormPython::SaveScript() {
    if (!m_fileName.isEmpty()) {
        WriteFile(m_fileName);
        return;
    }
    SaveScriptAs();
}

void TFormPython::SaveScriptAs() {
    // The file name changes only with a choice: a cancelled dialog keeps the one there was.
    QString chosen = ChooseFile(true, m_fileName);
    if (chosen.isEmpty()) {
        return;
    }
    if (!chosen.endsWith(QStringLiteral(".py"), Qt::CaseInsensitive) &&
        QFileInfo(chosen).suffix().isEmpty()) {
        chosen += QStringLiteral(".py");
    }
    if (WriteFile(chosen)) {
        SetFileName(chosen);
    }
}

void TFormPython::AppendOutput(const QString& text) {
    QTextCursor cursor(m_output->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text);
    m_output->verticalScrollBar()->setValue(m_output->verticalScrollBar()->maximum());
}

void TFormPython::SetRunning(bool running) {
    m_isRunning = running;
    m_runningAction->setVisible(running);
    m_stopButton->setEnabled(running);
    m_runButton->setEnabled(!running);
    m_newButton->setEnabled(!running);
    m_editor->setReadOnly(running);
}

void TFormPython::RunScript() {
    Stack().Push("TFormPython.RunScript");
    if (m_isRunning) {
        return;
    }
    m_output->clear();
    SetRunning(true);
    const TScriptResult result =
        m_runner(m_editor->toPlainText().toStdString(), m_fileName.toStdString(),
                 [this](std::string_view text, bool) {
                     AppendOutput(QString::fromUtf8(text.data(), qsizetype(text.size())));
                 });
    SetRunning(false);
    if (result.Outcome == TScriptOutcome::Stopped) {
        AppendOutput(Text(23, "Das Skript wurde angehalten.") + QLatin1Char('\n'));
    } else if (result.Outcome == TScriptOutcome::Unavailable) {
        AppendOutput(Text(24, "Das Skript konnte nicht ausgeführt werden:") + QLatin1Char(' ') +
                     QString::fromStdString(result.Error) + QLatin1Char('\n'));
    }
}

void TFormPython::StopScript() {
    if (m_isRunning && m_stop) {
        m_stop();
    }
}

void TFormPython::done(int result) {
    // Escape or "Beenden" while a script runs stops it first; the window closes once it has.
    if (m_isRunning) {
        StopScript();
        return;
    }
    std::vector<std::string> lines;
    for (const QString& line : m_editor->toPlainText().split(QLatin1Char('\n'))) {
        lines.push_back(line.toStdString());
    }
    Param().SetLastPythonScript(lines);
    QDialog::done(result);
}

void TFormPython::closeEvent(QCloseEvent* event) {
    if (m_isRunning) {
        StopScript();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

}  // namespace kx
