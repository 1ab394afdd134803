// Program start and shutdown: the process-wide objects and the windows, in their order.
#include <QTimer>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "app/Main.h"
#include "app/f_ToolWindow.h"
#include "app/u_application.h"
#include "foundation/u_language.h"
#include "foundation/u_param.h"
#include "foundation/u_stack.h"
#include "placement/f_koordinaten.h"

int main(int argc, char** argv) {
    using namespace kx;
    TkxApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvex designer"));
    QApplication::processEvents();

    Stack().Push("Launch");
    // Qt has taken its own options out of the arguments by now.
    std::vector<std::string> args;
    const QStringList qargs = QApplication::arguments();
    for (qsizetype i = 1; i < qargs.size(); ++i) {
        args.push_back(qargs[i].toStdString());
    }
    int result = 1;
    try {
        SetParam(std::make_unique<TkxParam>(args));
        SetLanguage(std::make_unique<TkxLanguage>(Param()));
        auto mainForm = std::make_unique<TMainForm>();
        // The tool windows, created hidden right after the main window, in this order.
        auto* renderManager = new TToolWindow("FormRenderManager", "F_RENDERMANAGER",
                                              "Render-Manager (POV-Ray)", mainForm.get());
        auto* kineManager = new TToolWindow("FormKineManager", "F_KINEMANAGER", "Kinematik-Manager",
                                            mainForm.get());
        auto* coordinates = new TFormKoordinaten(mainForm.get());
        auto* selectLibrary = new TToolWindow("dlgSelectLibrary", "D_SELECTLIBRARY",
                                              "Bibliothek auswählen", mainForm.get());
        Q_UNUSED(renderManager);
        Q_UNUSED(kineManager);
        Q_UNUSED(coordinates);
        Q_UNUSED(selectLibrary);
        mainForm->show();
        result = TkxApplication::exec();
    } catch (const std::exception& e) {
        // Errors inside commands never get here; this is a failed start.
        ShowErrorReport(e.what());
    }
    SetParam(nullptr);
    SetLanguage(nullptr);
    return result;
}
