// The main window.
#include "app/Main.h"

#include <QStatusBar>

#include "app/u_formstyle.h"
#include "foundation/u_stack.h"

namespace kx {

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
    FormCreate();
}

void TMainForm::FormCreate() {
    Stack().Push("TMainForm.FormCreate");
    ApplyFormStyle(this);
    setWindowTitle(QStringLiteral("Korvex designer"));
    statusBar()->showMessage(QStringLiteral("Version " KX_VERSION));
    resize(1024, 768);
}

}  // namespace kx
