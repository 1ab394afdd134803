// The application object: routes every exception that escapes a command to the error report.
#pragma once

#include <QApplication>
#include <string>

namespace kx {

class TkxApplication : public QApplication {
    Q_OBJECT
public:
    TkxApplication(int& argc, char** argv);

    /// Qt does not let exceptions leave event handlers, so they are caught here.
    bool notify(QObject* receiver, QEvent* event) override;
};

/// Shows the error report for a failed command, modally, and lets the program go on. While a
/// report is open a further error adds no second one. Afterwards the cursor is the normal
/// one, whatever override cursors the failed command left.
void ShowErrorReport(const std::string& message);

/// True while an error report is open.
bool ErrorReportShowing();

}  // namespace kx
