// The yes/no question dialog that the file commands and other commands ask.
#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QPushButton;

namespace kx {

class TdlgMessage : public QDialog {
    Q_OBJECT
public:
    explicit TdlgMessage(const QString& text, QWidget* parent = nullptr);
    QPushButton* YesButton() const { return m_yes; }
    QPushButton* NoButton() const { return m_no; }

private:
    QPushButton* m_yes;
    QPushButton* m_no;
};

/// Asks the question modally: 6 for yes, 7 for no.
int AskYesNo(const std::string& text);

constexpr int kAnswerYes = 6;
constexpr int kAnswerNo = 7;

}  // namespace kx
