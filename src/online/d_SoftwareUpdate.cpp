// "Internet-Update (Software)": asks the library server for its published version and shows
// the change history up to it. Nothing is downloaded or run: the user is pointed to the
// download page, where the package for the distribution is.
#include "online/d_SoftwareUpdate.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "app/u_formstyle.h"
#include "foundation/u_language.h"
#include "foundation/u_param.h"
#include "foundation/u_stack.h"
#include "online/d_ServerSettings.h"
#include "online/historybox.h"
#include "online/u_TWebRemote.h"
#include "online/u_softwareupdate.h"
#include "online/webtask.h"

namespace kx {

namespace {
constexpr const char* kSection = "D_SOFTWAREUPDATE";

QString T(int key, const char* def) {
    return QString::fromStdString(Language().GetText(kSection, key, def));
}

QString Text(const char* section, int key, const char* def) {
    return QString::fromStdString(Language().GetText(section, key, def));
}

void Inform(QWidget* parent, const QString& text, const char* name) {
    QMessageBox box(QMessageBox::Information, T(4, "Software-Update"), text, QMessageBox::Ok,
                    parent);
    box.setObjectName(QString::fromLatin1(name));
    box.exec();
}
}  // namespace

std::function<bool(const QUrl&)> TdlgSoftwareUpdate::UrlOpener = [](const QUrl& url) {
    return QDesktopServices::openUrl(url);
};

TdlgSoftwareUpdate::TdlgSoftwareUpdate(const QString& header,
                                       const std::vector<TWebHistoryData>& history,
                                       QUrl downloadPage, QWidget* parent)
    : QDialog(parent), m_history(history), m_downloadPage(std::move(downloadPage)) {
    setObjectName(QStringLiteral("dlgSoftwareUpdate"));
    setWindowTitle(T(4, "Software-Update"));
    m_header = new QLabel(header, this);
    m_header->setObjectName(QStringLiteral("lblHeader"));
    QFont bold = m_header->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 2);
    m_header->setFont(bold);
    auto* hint = new QLabel(
        T(5,
          "Laden Sie die neue Version von der Download-Seite und installieren Sie sie wie "
          "gewohnt über die Paketverwaltung Ihres Systems."),
        this);
    hint->setWordWrap(true);
    m_sb = new QScrollArea(this);
    m_sb->setObjectName(QStringLiteral("sb"));
    m_sb->setStyleSheet(QStringLiteral("QScrollArea#sb { background: white; }"));
    auto* download = new QPushButton(T(2, "Download-Seite öffnen"), this);
    download->setObjectName(QStringLiteral("btnDownload"));
    auto* back = new QPushButton(T(3, "Zurück"), this);
    back->setObjectName(QStringLiteral("btnBack"));
    back->setDefault(true);
    connect(download, &QPushButton::clicked, this, &TdlgSoftwareUpdate::btnDownloadClick);
    connect(back, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(download);
    buttons->addWidget(back);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_header);
    layout->addWidget(hint);
    layout->addWidget(m_sb, 1);
    layout->addLayout(buttons);
    resize(560, 440);
    ApplyFormStyle(this);
    m_header->setFont(bold);
}

void TdlgSoftwareUpdate::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The history wraps to the box's width, which is known once the window is laid out.
    if (!m_laidOut) {
        m_laidOut = true;
        ShowHistory(*m_sb, m_history);
    }
}

QString TdlgSoftwareUpdate::Header() const {
    return m_header->text();
}

void TdlgSoftwareUpdate::btnDownloadClick() {
    Stack().Push("TdlgSoftwareUpdate.btnDownloadClick", m_downloadPage.toString().toStdString());
    if (!UrlOpener(m_downloadPage)) {
        QMessageBox::information(this, windowTitle(),
                                 T(7,
                                   "Der Browser konnte nicht geöffnet werden. Die "
                                   "Download-Seite ist: %1")
                                     .arg(m_downloadPage.toString()));
        return;
    }
    accept();
}

QUrl DownloadPage(const std::string& baseUrl) {
    return QUrl(QString::fromStdString(NormaliseBaseUrl(baseUrl)) + QStringLiteral("/downloads/"));
}

void CheckSoftwareUpdateNew(QWidget* parent) {
    Stack().Push("tkxmain.CheckSoftwareUpdateNew");
    if (!RequireLibraryServer(parent)) {
        return;
    }
    const TWebSettings settings = ReadWebSettings(Param());
    std::string serverText;
    std::vector<TWebHistoryData> history;
    const bool reached = RunWebTask(parent, T(6, "Suche nach Updates..."), [&](TWebProgress& p) {
        TWebRemote web(settings);
        web.SetProgress(&p);
        if (!web.ReadDirectory("update")) {
            return false;
        }
        serverText = web.GetVersionText();
        if (CompareVersionText(OwnVersionText(), serverText) == TUpdateVerdict::Offered) {
            // Without a history the dialog still names the version.
            web.ReadHistory(VersionNumber(serverText));
            history = web.History();
        }
        return true;
    });
    if (!reached) {
        Inform(parent,
               Text("F_INTERNETBAUTEILE", 8,
                    "Es konnte keine Verbindung zum Server hergestellt werden."),
               "msgNoConnection");
        return;
    }
    switch (CompareVersionText(OwnVersionText(), serverText)) {
        case TUpdateVerdict::UpToDate:
            Inform(parent, Text("MAINOBJ", 28, "Ihre Software ist auf dem neuesten Stand"),
                   "msgUpToDate");
            return;
        case TUpdateVerdict::Unreadable:
            Inform(parent,
                   T(8, "Der Server nennt keine lesbare Version. Es wird kein Update angeboten."),
                   "msgUnreadable");
            return;
        case TUpdateVerdict::Offered:
            break;
    }
    const QString header = Text("MAINOBJ", 27, "Korvex Designer") + QLatin1Char(' ') +
                           ServerText(serverText).trimmed();
    TdlgSoftwareUpdate dialog(header, history, DownloadPage(settings.BaseUrl), parent);
    dialog.exec();
}

}  // namespace kx

#include "moc_d_SoftwareUpdate.cpp"
