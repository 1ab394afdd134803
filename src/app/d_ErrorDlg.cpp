// The error report: the failed command's message followed by the trace, newest entry first.
#include "app/d_ErrorDlg.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/u_formstyle.h"
#include "foundation/u_language.h"
#include "foundation/u_stack.h"

namespace kx {

namespace {
const char* const kSection = "D_ERRORDLG";

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

QFont MemoFont() {
    QFont font(QStringLiteral("Courier New"));
    if (!font.exactMatch()) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    }
    return font;
}
}  // namespace

TdlgError::TdlgError(const std::string& message, const TkxStack& stack, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    const TkxLanguage& lng = Language();
    setWindowTitle(Q(lng.GetText(kSection, 1, "Fehler")));
    setModal(true);

    m_memo = new QPlainTextEdit(this);
    m_memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_memo);
    layout->addWidget(m_ok, 0, Qt::AlignHCenter);

    QStringList lines;
    lines << QString() << Q(lng.GetText(kSection, 2, "Fehler:")) << QString() << Q(message)
          << QString() << QStringLiteral("Korvex Designer Version " KX_VERSION) << QString()
          << Q(lng.GetText(kSection, 3, "Debug:")) << QString();
    const std::vector<std::string> entries = stack.Lines();
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        lines << Q(*it);
    }
    m_memo->setPlainText(lines.join(QLatin1Char('\n')));

    ApplyFormStyle(this);
    m_memo->setFont(MemoFont());
    setFixedSize(640, 420);
}

QString TdlgError::ReportText() const {
    return m_memo->toPlainText();
}

}  // namespace kx

#include "moc_d_ErrorDlg.cpp"
