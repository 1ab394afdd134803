// The window "Internet-Update (Bauteile)": lists the parts the library server has that this
// installation lacks or holds in an older version, and fetches them all.
#include "online/f_InternetBauteile.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/helpsystem.h"
#include "app/u_formstyle.h"
#include "catalogue/u_partfiles.h"
#include "foundation/u_language.h"
#include "foundation/u_param.h"
#include "foundation/u_stack.h"
#include "online/d_ServerSettings.h"
#include "online/historybox.h"
#include "online/u_TWebRemote.h"
#include "online/webtask.h"

namespace kx {

namespace {
constexpr const char* kSection = "F_INTERNETBAUTEILE";

QString T(int key, const char* def) {
    return QString::fromStdString(Language().GetText(kSection, key, def));
}

/// An icon with the colour of its top-left pixel made transparent, as the library shows it.
QIcon RowIcon(const std::string& bytes) {
    QImage image;
    if (bytes.empty() || !image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()),
                                             static_cast<int>(bytes.size()))) {
        return {};
    }
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setMask(pixmap.createMaskFromColor(image.pixelColor(0, 0), Qt::MaskInColor));
    return QIcon(pixmap);
}
}  // namespace

TFormInternetBauteile::TFormInternetBauteile(TPartFiles& files, TLocalPartVersions local,
                                             QWidget* parent)
    : QDialog(parent), m_files(files), m_local(std::move(local)) {
    setObjectName(QStringLiteral("FormInternetBauteile"));
    setWindowTitle(T(1, "Internet-Update (Bauteile)"));
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("lvParts"));
    m_list->setHeaderLabels({T(4, "Nr"), T(5, "Bezeichnung")});
    m_list->setRootIsDecorated(false);
    m_list->setIconSize(QSize(32, 32));
    m_list->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblStatus"));
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("pbDownload"));
    m_progress->setValue(0);
    m_download = new QPushButton(T(2, "Download"), this);
    m_download->setObjectName(QStringLiteral("btnDownload"));
    m_download->setEnabled(false);
    m_back = new QPushButton(T(3, "Zurück"), this);
    m_back->setObjectName(QStringLiteral("btnBack"));
    connect(m_download, &QPushButton::clicked, this, &TFormInternetBauteile::Download);
    connect(m_back, &QPushButton::clicked, this, &QDialog::reject);
    auto* help = new QPushButton(T(6, "Hilfe"), this);
    help->setObjectName(QStringLiteral("btnHelp"));
    help->setAutoDefault(false);
    connect(help, &QPushButton::clicked, this, [this] { ShowHelp(this, 2001); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_progress, 1);
    buttons->addWidget(m_download);
    buttons->addWidget(m_back);
    buttons->addWidget(help);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_status);
    layout->addLayout(buttons);
    resize(520, 420);
    ApplyFormStyle(this);
    SetHelpContext(this, 2001);

    // The own bar follows the files; the worker only counts.
    auto* poll = new QTimer(this);
    poll->setInterval(50);
    connect(poll, &QTimer::timeout, this, [this] {
        m_progress->setMaximum(std::max(1, m_maximum.load()));
        m_progress->setValue(m_position.load());
    });
    poll->start();
}

void TFormInternetBauteile::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_searched) {
        m_searched = true;
        QTimer::singleShot(0, this, &TFormInternetBauteile::Search);
    }
}

QString TFormInternetBauteile::StatusText() const {
    return m_status->text();
}

void TFormInternetBauteile::SetStatus(const QString& text) {
    m_status->setText(text);
}

void TFormInternetBauteile::ConnectionFailed(const std::string& error) {
    QMessageBox box(QMessageBox::Information, windowTitle(),
                    T(8, "Es konnte keine Verbindung zum Server hergestellt werden."),
                    QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("msgNoConnection"));
    box.setDetailedText(QString::fromStdString(error));
    box.exec();
    SetStatus(T(9, "Verbindung beendet."));
    m_download->setEnabled(false);
    m_back->setEnabled(true);
}

void TFormInternetBauteile::Search() {
    Stack().Push("TFormInternetBauteile.Search");
    m_download->setEnabled(false);
    m_back->setEnabled(false);
    m_list->clear();
    SetStatus(T(10, "Suche nach neuen Dateien..."));
    const bool german = Param().GetLanguage() == "DEUTSCH";
    const TWebSettings settings = ReadWebSettings(Param());
    std::string error;
    TPartUpdateLists lists;
    std::vector<TPartUpdateRow> rows;
    const bool ok = RunWebTask(this, T(10, "Suche nach neuen Dateien..."), [&](TWebProgress& p) {
        TWebRemote web(settings);
        web.SetProgress(&p);
        if (!FindPartUpdates(web, m_files, m_local, lists)) {
            error = web.LastError();
            return false;
        }
        rows = ReadPartUpdateRows(web, lists, german);
        return true;
    });
    if (!ok) {
        ConnectionFailed(error);
        return;
    }
    m_lists = std::move(lists);
    for (const TPartUpdateRow& row : rows) {
        auto* item = new QTreeWidgetItem(m_list, {ServerText(row.OrgNumber), ServerText(row.Name)});
        item->setIcon(0, RowIcon(row.Icon));
        item->setData(0, Qt::UserRole, QString::fromStdString(row.Number));
    }
    const size_t total = m_lists.Total();
    SetStatus(total == 0 ? T(12, "Es wurden keine neuen Bauteile gefunden.")
                         : T(11, "%d neue Datei(en) gefunden.")
                               .replace(QStringLiteral("%d"), QString::number(total)));
    m_download->setEnabled(total > 0);
    m_back->setEnabled(true);
}

void TFormInternetBauteile::Download() {
    Stack().Push("TFormInternetBauteile.Download");
    m_download->setEnabled(false);
    m_back->setEnabled(false);
    SetStatus(T(13, "Lade Bauteildateien..."));
    const TWebSettings settings = ReadWebSettings(Param());
    TPartDownloadResult result;
    m_position = 0;
    m_maximum = 0;
    RunWebTask(this, T(13, "Lade Bauteildateien..."), [&](TWebProgress& p) {
        TWebRemote web(settings);
        web.SetProgress(&p);
        result = DownloadPartUpdates(
            web, m_files, m_lists,
            [this](size_t, int position, int count) {
                m_maximum = count;
                m_position = position;
            },
            [&p] { return p.Cancel.load(); });
        return result.Complete();
    });
    m_position = 0;
    if (result.Saved > 0 && OnPartsDownloaded) {
        OnPartsDownloaded();
    }
    m_back->setEnabled(true);
    if (!result.Error.empty()) {
        ConnectionFailed(result.Error);
        return;
    }
    if (result.Cancelled) {
        SetStatus(T(20, "Download abgebrochen."));
        m_download->setEnabled(true);
        return;
    }
    if (!result.Failed.empty()) {
        // Files that could not be saved are reported; the download is not called complete.
        QMessageBox box(QMessageBox::Warning, windowTitle(),
                        T(19, "%d Datei(en) konnten nicht geladen oder gespeichert werden.")
                            .replace(QStringLiteral("%d"), QString::number(result.Failed.size())),
                        QMessageBox::Ok, this);
        box.setObjectName(QStringLiteral("msgDownloadFailed"));
        QString details;
        for (const std::string& line : result.Failed) {
            details += QString::fromStdString(line) + QLatin1Char('\n');
        }
        box.setDetailedText(details);
        box.exec();
        SetStatus(T(21, "Download unvollständig."));
        m_download->setEnabled(true);
        return;
    }
    m_lists = {};
    QMessageBox box(QMessageBox::Information, windowTitle(),
                    T(17, "Download abgeschlossen. Die neuen Bauteile stehen in der Bibliothek."),
                    QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("msgDownloadDone"));
    box.exec();
    SetStatus(T(18, "Download abgeschlossen."));
}

void ShowPartUpdate(QWidget* parent, TPartFiles& files, const TLocalPartVersions& local,
                    const std::function<void()>& onPartsDownloaded) {
    Stack().Push("TMainForm.menInternetUpdateClick");
    if (!RequireLibraryServer(parent)) {
        return;
    }
    TFormInternetBauteile window(files, local, parent);
    window.OnPartsDownloaded = onPartsDownloaded;
    window.exec();
}

}  // namespace kx

#include "moc_f_InternetBauteile.cpp"
