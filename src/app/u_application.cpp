// The application object: routes every exception that escapes a command to the error report.
#include "app/u_application.h"

#include <QGuiApplication>
#include <exception>

#include "app/d_ErrorDlg.h"
#include "foundation/u_stack.h"

namespace kx {

namespace {
bool g_reportShowing = false;
}

TkxApplication::TkxApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TkxApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowErrorReport(e.what());
    } catch (...) {
        ShowErrorReport("Unbekannter Fehler");
    }
    return false;
}

void ShowErrorReport(const std::string& message) {
    if (g_reportShowing) {
        return;
    }
    g_reportShowing = true;
    {
        TdlgError dlg(message, Stack());
        dlg.exec();
    }
    while (QGuiApplication::overrideCursor()) {
        QGuiApplication::restoreOverrideCursor();
    }
    g_reportShowing = false;
}

bool ErrorReportShowing() {
    return g_reportShowing;
}

}  // namespace kx

#include "moc_u_application.cpp"
