// The script manager: an editor for Python scripts with an output pane, run with F5.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "scripting/u_scriptport.h"

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QStatusBar;
class QToolButton;

namespace kx {

class TCodeEditor;

class TFormPython : public QDialog {
    Q_OBJECT
public:
    /// Runs a script text (its file name, if any, for tracebacks) and hands the output over as
    /// it comes.
    using TRunner = std::function<TScriptResult(
        const std::string& text, const std::string& fileName, const TScriptOutput& output)>;

    /// stop asks a running script to stop.
    TFormPython(TRunner runner, std::function<void()> stop, QWidget* parent = nullptr);

    TCodeEditor* Editor() const { return m_editor; }
    QPlainTextEdit* Output() const { return m_output; }
    /// The current script file, empty when the text has no file.
    const QString& FileName() const { return m_fileName; }
    QString StatusText() const;
    QToolButton* RunButton() const { return m_runButton; }
    QToolButton* StopButton() const { return m_stopButton; }
    QLabel* RunningLabel() const { return m_running; }
    QMenu* ExamplesMenu() const { return m_examples; }
    bool Running() const { return m_isRunning; }

    /// Output of earlier runs that the user has not seen (start-up and menu scripts).
    void ShowEarlierOutput(const QString& text);

    // --- The commands ----------------------------------------------------------------------
    void NewScript();
    /// The open-file dialog, starting in the folder (empty: where it was last).
    void OpenScript(const QString& startDir = {});
    void SaveScript();
    void SaveScriptAs();
    void RunScript();
    void StopScript();
    /// Loads a file into the editor; false (and the user is told) if it cannot be read.
    bool LoadFile(const QString& fileName);

    /// Replaces the file dialogs (tests): save or open, the folder to start in; an empty answer
    /// cancels.
    std::function<QString(bool save, const QString& startDir)> FileChooser;
    /// Replaces the yes/no question (tests).
    std::function<bool(const QString& question)> Ask;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void done(int result) override;

private:
    void BuildExamples();
    void DoLanguage();
    void SetFileName(const QString& fileName);
    QString ChooseFile(bool save, const QString& startDir);
    bool WriteFile(const QString& fileName);
    void AppendOutput(const QString& text);
    void SetRunning(bool running);

    TRunner m_runner;
    std::function<void()> m_stop;
    TCodeEditor* m_editor;
    QPlainTextEdit* m_output;
    QLabel* m_outputLabel;
    QLabel* m_running;
    QAction* m_runningAction;
    QToolButton* m_newButton;
    QToolButton* m_runButton;
    QToolButton* m_stopButton;
    QStatusBar* m_status;
    QMenu* m_examples;
    QString m_fileName;
    bool m_isRunning = false;
};

/// The example scripts of the manager's "Bibliothek" menu: a line "<Name>" opens a submenu,
/// "[Name]" starts an entry whose script is the lines up to the next such line.
struct TExampleScript {
    QString Menu;
    QString Name;
    QString Script;
};
std::vector<TExampleScript> ExampleScripts();

}  // namespace kx
