// The maintainers' part upload and version writes over the program's web client.
#include "online/partuploadport.h"

#include <QString>

#include "foundation/u_language.h"
#include "foundation/u_param.h"
#include "foundation/u_stack.h"
#include "online/u_TWebRemote.h"
#include "online/u_ftpclient.h"
#include "online/webtask.h"

namespace kx {

namespace {

QString Caption() {
    return QString::fromStdString(Language().GetText("D_PARTUPLOAD", 1, "Bauteil upload (ftp)"));
}

/// "icon/print" as its folders.
std::vector<std::string> Folders(std::string_view dir) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= dir.size()) {
        const size_t end = std::min(dir.find('/', start), dir.size());
        if (end > start) {
            parts.emplace_back(dir.substr(start, end - start));
        }
        start = end + 1;
    }
    return parts;
}

}  // namespace

TWebPartUploadPort::TWebPartUploadPort(QWidget* window, TSettingsSource settings)
    : m_window(window), m_settings(std::move(settings)) {}

TWebPartUploadPort::~TWebPartUploadPort() = default;

TWebSettings TWebPartUploadPort::Settings() const {
    return m_settings ? m_settings() : ReadWebSettings(Param());
}

bool TWebPartUploadPort::Ready() const {
    const TWebSettings settings = Settings();
    return settings.Configured() && !settings.FtpServer.empty();
}

bool TWebPartUploadPort::Connect(std::string& error) {
    Stack().Push("TWebPartUploadPort.Connect");
    const TWebSettings settings = Settings();
    m_ftp.reset();
    if (settings.FtpServer.empty()) {
        error = Language().GetText("D_PARTUPLOAD", 2, "Es ist kein FTP-Server eingetragen.");
        return false;
    }
    m_ftp = std::make_unique<TFtpClient>(settings.FtpServer, settings.PartsFtp,
                                         settings.ConnectTimeout, settings.TotalTimeout);
    TFtpClient& ftp = *m_ftp;
    const bool ok = RunWebTask(m_window, Caption(), [&ftp](TWebProgress& progress) {
        ftp.SetProgress(&progress);
        const bool done = ftp.Connect();
        ftp.SetProgress(nullptr);
        return done;
    });
    if (!ok) {
        error = ftp.LastError();
    }
    return ok;
}

bool TWebPartUploadPort::Store(const TUploadFile& file, std::string& error) {
    Stack().Push("TWebPartUploadPort.Store", file.RemoteDir, file.RemoteName);
    if (!m_ftp || !m_ftp->Connected()) {
        error = Language().GetText("D_PARTUPLOAD", 5, "Keine Verbindung zum FTP-Server.");
        return false;
    }
    TFtpClient& ftp = *m_ftp;
    const bool ok = RunWebTask(m_window, Caption(), [&ftp, &file](TWebProgress& progress) {
        ftp.SetProgress(&progress);
        // Every file goes from the home folder into its own folder and back.
        size_t entered = 0;
        bool done = true;
        for (const std::string& dir : Folders(file.RemoteDir)) {
            if (!ftp.ChangeDir(dir)) {
                done = false;
                break;
            }
            ++entered;
        }
        done = done && ftp.Store(file.Local, file.RemoteName);
        for (; entered > 0; --entered) {
            ftp.ChangeDir("..");
        }
        ftp.SetProgress(nullptr);
        return done;
    });
    if (!ok) {
        error = ftp.LastError();
    }
    return ok;
}

void TWebPartUploadPort::Disconnect() {
    if (!m_ftp) {
        return;
    }
    // Closing says goodbye to the server, which may be slow to answer.
    TFtpClient& ftp = *m_ftp;
    RunWebTask(m_window, Caption(), [&ftp](TWebProgress&) {
        ftp.Disconnect();
        return true;
    });
    m_ftp.reset();
}

std::optional<std::string> TWebPartUploadPort::SetPartVersion(std::string_view number,
                                                              int32_t version, std::string& error) {
    Stack().Push("TWebPartUploadPort.SetPartVersion", number, version);
    TWebRemote remote(Settings());
    std::string reply;
    const std::string name(number);
    const bool ok = RunWebTask(m_window, Caption(), [&](TWebProgress& progress) {
        remote.SetProgress(&progress);
        reply = remote.SetPartVersion(name, version);
        remote.SetProgress(nullptr);
        return !reply.empty();
    });
    if (!ok) {
        error = remote.LastError();
        return std::nullopt;
    }
    return reply;
}

}  // namespace kx
