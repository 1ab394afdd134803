// The yes/no question dialog that the file commands and other commands ask.
#include "app/d_Message.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "app/u_formstyle.h"
#include "foundation/u_param.h"
#include "foundation/u_stack.h"

namespace kx {

TdlgMessage::TdlgMessage(const QString& text, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("dlgMessage"));
    const bool german = Param().GetLanguage() == "DEUTSCH";
    setWindowTitle(german ? QStringLiteral("Frage") : QStringLiteral("Question"));
    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
    auto* label = new QLabel(text, this);
    label->setObjectName(QStringLiteral("lblText"));
    label->setWordWrap(true);
    m_yes = new QPushButton(german ? QStringLiteral("Ja") : QStringLiteral("Yes"), this);
    m_no = new QPushButton(german ? QStringLiteral("Nein") : QStringLiteral("No"), this);
    m_yes->setDefault(true);
    connect(m_yes, &QPushButton::clicked, this, [this] { done(kAnswerYes); });
    connect(m_no, &QPushButton::clicked, this, [this] { done(kAnswerNo); });
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addWidget(label, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_yes);
    buttons->addWidget(m_no);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    ApplyFormStyle(this);
    setMinimumSize(268, 105);
}

int AskYesNo(const std::string& text) {
    Stack().Push("AskYesNo", text);
    TdlgMessage dlg(QString::fromStdString(text), QApplication::activeWindow());
    const int answer = dlg.exec();
    // Closing the window any other way is no consent.
    return answer == kAnswerYes ? kAnswerYes : kAnswerNo;
}

}  // namespace kx

#include "moc_d_Message.cpp"
