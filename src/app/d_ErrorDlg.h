// The error report: the failed command's message followed by the trace, newest entry first.
#pragma once

#include <QDialog>
#include <string>

class QPlainTextEdit;
class QPushButton;

namespace kx {

class TkxStack;

class TdlgError : public QDialog {
    Q_OBJECT
public:
    TdlgError(const std::string& message, const TkxStack& stack, QWidget* parent = nullptr);

    /// The report as shown, one entry per line.
    QString ReportText() const;

private:
    QPlainTextEdit* m_memo;
    QPushButton* m_ok;
};

}  // namespace kx
