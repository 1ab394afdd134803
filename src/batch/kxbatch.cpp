// kxbatch: the program's jobs that make files, run from the command line without a display.
#include <CLI/CLI.hpp>
#include <QGuiApplication>
#include <cstdio>
#include <exception>
#include <map>
#include <memory>

#include "batch/batchjobs.h"
#include "foundation/u_language.h"
#include "foundation/u_param.h"
#include "foundation/u_stack.h"

namespace {

/// Standard error belongs to the jobs' own messages: Qt's notes about the headless session
/// (no runtime folder, no display) are no business of a script; its errors still show.
void QtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "kxbatch: %s\n", qPrintable(message));
    }
}

}  // namespace

int main(int argc, char** argv) {
    using namespace kx;
    CLI::App app("Korvex designer batch command: makes the program's files without a window.",
                 "kxbatch");
    // At most one job; an unknown word is reported as such rather than as a missing job.
    app.require_subcommand(0, 1);
    std::map<CLI::App*, std::function<TBatchExit()>> runs;
    std::map<CLI::App*, const TBatchJob*> rows;
    for (const TBatchJob& job : BatchJobs()) {
        CLI::App* command = app.add_subcommand(job.Name, job.Description);
        runs[command] = job.Setup(*command);
        rows[command] = &job;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return BatchUsage;
    }
    if (app.get_subcommands().empty()) {
        std::fprintf(stderr, "%s\nA job (subcommand) is required.\n", app.help().c_str());
        return BatchUsage;
    }
    CLI::App* chosen = app.get_subcommands().front();

    // Fonts and PDF pages need a GUI application; the offscreen platform needs no display.
    std::unique_ptr<QGuiApplication> gui;
    if (rows[chosen]->NeedsGui) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        qInstallMessageHandler(QtMessages);
        gui = std::make_unique<QGuiApplication>(argc, argv);
    }
    TBatchExit result = BatchFailed;
    try {
        Stack().Push("Launch");
        // The command line is the batch command's own: none of it reaches the settings.
        SetParam(std::make_unique<TkxParam>(std::vector<std::string>{}));
        SetLanguage(std::make_unique<TkxLanguage>(Param()));
        result = runs[chosen]();
    } catch (const std::exception& e) {
        BatchError(e.what());
        result = BatchFailed;
    }
    SetLanguage(nullptr);
    SetParam(nullptr);
    return result;
}
