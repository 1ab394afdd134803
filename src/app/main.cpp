// Program start and shutdown: the process-wide objects and the windows, in their order.
#include <QIcon>
#include <QTimer>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "app/Main.h"
#include "app/u_application.h"
#include "app/u_commandtable.h"
#include "app/u_exportcommands.h"
#include "foundation/u_language.h"
#include "foundation/u_param.h"
#include "foundation/u_stack.h"
#include "foundation/u_startoptions.h"
#include "generated/d_SelectLibrary.h"
#include "motion/f_kineManager.h"
#include "placement/f_koordinaten.h"
#include "scripting/pyEngine.h"

namespace {

// The language of the user's settings where they can be read, else the German defaults.
std::unique_ptr<kx::TkxLanguage> ConsoleLanguage(const std::vector<std::string>& args) {
    try {
        kx::TkxParam param(args);
        return std::make_unique<kx::TkxLanguage>(param);
    } catch (const std::exception&) {
        return std::make_unique<kx::TkxLanguage>();
    }
}

}  // namespace

int main(int argc, char** argv) {
    using namespace kx;
    // "--help" and "--version" answer on the console before Qt looks for a display, so they
    // work over a plain terminal too.
    const std::vector<std::string> rawArgs(argv + 1, argv + argc);
    const TInfoRequest info = FindInfoOption(rawArgs);
    if (info.Option == TInfoOption::Help) {
        std::fputs(UsageText(*ConsoleLanguage(rawArgs)).c_str(), stdout);
        return 0;
    }
    if (info.Option == TInfoOption::Version) {
        std::puts(VersionText().c_str());
        return 0;
    }
    TkxApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvex designer"));
    // The installed desktop entry and icon give the window its icon and taskbar group.
    QGuiApplication::setDesktopFileName(QStringLiteral("korvex-designer"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("korvex-designer")));
    QApplication::processEvents();

    Stack().Push("Launch");
    // Qt has taken its own options out of the arguments by now.
    std::vector<std::string> args;
    const QStringList qargs = QApplication::arguments();
    for (qsizetype i = 1; i < qargs.size(); ++i) {
        args.push_back(qargs[i].toStdString());
    }
    // Qt accepts its own options with two dashes too; what is left and unknown is a mistake.
    if (const TInfoRequest left = FindInfoOption(args); left.Option == TInfoOption::Unknown) {
        std::fprintf(stderr, "kxdesigner: %s\n",
                     UnknownOptionText(*ConsoleLanguage(args), left.Word).c_str());
        return kUsageExitCode;
    }
    int result = 1;
    // Scripts run through this engine, each in a fresh interpreter.
    TPyEngine scriptEngine;
    SetScriptEngine(&scriptEngine);
    try {
        SetParam(std::make_unique<TkxParam>(args));
        SetLanguage(std::make_unique<TkxLanguage>(Param()));
        auto mainForm = std::make_unique<TMainForm>();
        // The tool windows, created hidden right after the main window, in this order.
        RenderManager(*mainForm);
        auto* kineManager = new TFormKineManager(mainForm.get());
        auto* coordinates = new TFormKoordinaten(mainForm.get());
        auto* selectLibrary = new TdlgSelectLibrary(mainForm.get());
        mainForm->Commands().Bind("menSelectLibrary",
                                  [selectLibrary] { selectLibrary->ShowWindow(); });
        Q_UNUSED(kineManager);
        Q_UNUSED(coordinates);
        mainForm->show();
        result = TkxApplication::exec();
    } catch (const std::exception& e) {
        // Errors inside commands never get here; this is a failed start.
        ShowErrorReport(e.what());
    }
    SetScriptEngine(nullptr);
    SetParam(nullptr);
    SetLanguage(nullptr);
    return result;
}
