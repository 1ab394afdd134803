// The change history "Änderungsmitteilungen": what changed from version to version, from the
// CHANGES file shipped with the program.
#include "app/d_History.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/u_formstyle.h"
#include "foundation/u_language.h"
#include "foundation/u_param.h"
#include "foundation/u_stack.h"

namespace kx {

namespace {
QString Text(int key, const char* def) {
    return QString::fromStdString(Language().GetText("D_HISTORY", key, def));
}
}  // namespace

QString TdlgHistory::HistoryFile() {
    const QString dir = QString::fromStdString(Param().ProgramDir);
    const QString english = dir + QStringLiteral("CHANGES.en");
    if (Param().GetLanguage() != "DEUTSCH" && QFileInfo::exists(english)) {
        return english;
    }
    return dir + QStringLiteral("CHANGES");
}

TdlgHistory::TdlgHistory(const QString& file, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    Stack().Push("TdlgHistory.FormCreate", file.toStdString());
    setObjectName(QStringLiteral("dlgHistory"));
    setWindowTitle(Text(1, "Änderungsmitteilungen"));
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("sbHistory"));
    m_text->setReadOnly(true);
    QFile in(file);
    if (in.open(QIODevice::ReadOnly | QIODevice::Text)) {
        m_text->setPlainText(QString::fromUtf8(in.readAll()));
    } else {
        m_text->setPlainText(
            Text(3, "Die Änderungsmitteilungen fehlen (%s).").replace(QStringLiteral("%s"), file));
    }
    auto* ok = new QPushButton(Text(2, "OK"), this);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text, 1);
    layout->addLayout(bottom);
    ApplyFormStyle(this);
    // A fixed text window; the monospaced font keeps the file's columns.
    QFont mono(QStringLiteral("monospace"));
    mono.setStyleHint(QFont::TypeWriter);
    m_text->setFont(mono);
    setFixedSize(811, 524);
}

}  // namespace kx

#include "moc_d_History.cpp"
