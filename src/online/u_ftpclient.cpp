// Uploads to the library's FTP server: a passive-mode session, and the maintainers' upload
// sequences for a part and for a file of the model library.
#include "online/u_ftpclient.h"

#include <cstdio>

#include "catalogue/u_partfiles.h"
#include "foundation/u_language.h"
#include "foundation/u_stack.h"
#include "foundation/u_text.h"
#include "online/u_curl.h"
#include "online/u_webprotocol.h"

namespace kx {

namespace {

constexpr const char* kSection = "WEBREMOTE";

std::string WithValue(std::string text, const std::string& value) {
    const size_t at = text.find("%s");
    return at == std::string::npos ? text + " " + value : text.replace(at, 2, value);
}

struct TFileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};

}  // namespace

TFtpClient::TFtpClient(std::string server, TFtpAccount account, int connectTimeout,
                       int totalTimeout)
    : m_account(std::move(account)),
      m_connectTimeout(connectTimeout),
      m_totalTimeout(totalTimeout),
      m_curl(std::make_unique<TCurlHandle>()) {
    server = Trim(server);
    m_base = server.find("://") == std::string::npos ? "ftp://" + server : server;
    if (m_base.back() != '/') {
        m_base += '/';
    }
}

TFtpClient::~TFtpClient() = default;

bool TFtpClient::Fail(std::string message) {
    if (!m_account.Password.empty()) {
        for (size_t at = message.find(m_account.Password); at != std::string::npos;
             at = message.find(m_account.Password, at)) {
            message.replace(at, m_account.Password.size(), "***");
        }
    }
    m_lastError = std::move(message);
    Stack().Push("TFtpClient.Fail", m_lastError);
    return false;
}

std::string TFtpClient::UrlFor(const std::vector<std::string>& dirs, std::string_view file) const {
    std::string url = m_base;
    for (const auto& d : dirs) {
        url += UrlEncode(d) + "/";
    }
    return url + UrlEncode(file);
}

std::string TFtpClient::CurrentDir() const {
    std::string dir;
    for (const auto& d : m_dirs) {
        dir += (dir.empty() ? "" : "/") + d;
    }
    return dir;
}

bool TFtpClient::Run(const std::string& url, bool upload, FILE* source, std::string* error) {
    CURL* c = m_curl->Get();
    m_curl->Reset();
    m_curl->SetCommon(m_connectTimeout, m_totalTimeout, m_progress);
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "ftp,ftps");
    curl_easy_setopt(c, CURLOPT_USERNAME, m_account.User.c_str());
    curl_easy_setopt(c, CURLOPT_PASSWORD, m_account.Password.c_str());
    curl_easy_setopt(c, CURLOPT_FTPPORT, nullptr);  // passive
    // Encrypts the login where the server offers it (vsftpd with ssl_enable).
    curl_easy_setopt(c, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_TRY));
    std::string ignored;
    m_curl->CollectBody(&ignored, 16 * 1024 * 1024);
    if (upload) {
        curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(c, CURLOPT_READDATA, source);
    } else {
        curl_easy_setopt(c, CURLOPT_DIRLISTONLY, 1L);
    }
    if (!m_curl->Perform(error)) {
        if (m_curl->Cancelled() && error) {
            *error = Language().GetText(kSection, 4, "Die Übertragung wurde abgebrochen.");
        }
        return false;
    }
    return true;
}

bool TFtpClient::Connect() {
    Stack().Push("TFtpClient.Connect", m_base, m_account.User);
    m_dirs.clear();
    std::string error;
    if (!Run(m_base, false, nullptr, &error)) {
        m_connected = false;
        return Fail(WithValue(
            Language().GetText(kSection, 11, "Keine Verbindung zum FTP-Server: %s"), error));
    }
    m_connected = true;
    return true;
}

bool TFtpClient::ChangeDir(std::string_view dir) {
    Stack().Push("TFtpClient.ChangeDir", dir);
    if (dir == "..") {
        if (!m_dirs.empty()) {
            m_dirs.pop_back();
        }
        return true;
    }
    const std::string text =
        Language().GetText(kSection, 12, "Der Ordner %s auf dem FTP-Server fehlt: %s");
    if (!IsSafeRemoteName(dir)) {
        return Fail(WithValue(WithValue(text, std::string(dir)), "-"));
    }
    auto dirs = m_dirs;
    dirs.emplace_back(dir);
    std::string error;
    if (!Run(UrlFor(dirs, ""), false, nullptr, &error)) {
        return Fail(WithValue(WithValue(text, std::string(dir)), error));
    }
    m_dirs = std::move(dirs);
    return true;
}

bool TFtpClient::Store(const std::filesystem::path& localFile, std::string_view remoteName) {
    Stack().Push("TFtpClient.Store", localFile.string(), remoteName);
    const std::string text =
        Language().GetText(kSection, 13, "Die Datei %s konnte nicht gesendet werden: %s");
    if (!IsSafeRemoteName(remoteName)) {
        return Fail(WithValue(WithValue(text, std::string(remoteName)), "-"));
    }
    std::unique_ptr<FILE, TFileCloser> file(std::fopen(localFile.c_str(), "rb"));
    if (!file) {
        return Fail(WithValue(WithValue(text, localFile.string()), "-"));
    }
    std::string error;
    if (!Run(UrlFor(m_dirs, remoteName), true, file.get(), &error)) {
        return Fail(WithValue(WithValue(text, std::string(remoteName)), error));
    }
    return true;
}

void TFtpClient::Disconnect() {
    Stack().Push("TFtpClient.Disconnect");
    // A fresh handle closes the old one's connection.
    m_curl = std::make_unique<TCurlHandle>();
    m_dirs.clear();
    m_connected = false;
}

bool FtpUploadPart(TFtpClient& ftp, std::string_view number, const TPartFiles& files,
                   const TFtpStatus& status) {
    Stack().Push("FtpUploadPart", number);
    auto say = [&](int key, const char* def) {
        if (status) {
            status(Language().GetText(kSection, key, def));
        }
    };
    auto store = [&](std::string_view subdir, std::string_view ext) {
        const auto local = files.FindPart(subdir, number, ext);
        return !local || ftp.Store(*local, std::string(number) + "." + std::string(ext));
    };
    const bool ok = IsSafeRemoteName(number) && ftp.Connect() &&
                    (say(20, "Sende DEF..."), ftp.ChangeDir("def")) && store("def", "def") &&
                    ftp.ChangeDir("..") && (say(21, "Sende HIRES..."), ftp.ChangeDir("hires")) &&
                    store("hires", "stl") && (say(22, "Sende NRM..."), store("hires", "nrm")) &&
                    ftp.ChangeDir("..") && (say(23, "Sende LORES..."), ftp.ChangeDir("lores")) &&
                    store("lores", "stl") && ftp.ChangeDir("..") &&
                    (say(24, "Sende ICON..."), ftp.ChangeDir("icon")) && store("icon", "bmp") &&
                    (say(25, "Sende PRINT..."), ftp.ChangeDir("print")) &&
                    store("icon/print", "jpg") && ftp.ChangeDir("..") && ftp.ChangeDir("..");
    ftp.Disconnect();
    say(26, "FTP beendet...");
    return ok;
}

bool FtpUploadFile(TFtpClient& ftp, const std::filesystem::path& localFile,
                   std::string_view remoteName) {
    Stack().Push("FtpUploadFile", localFile.string(), remoteName);
    const bool ok = ftp.Connect() && ftp.Store(localFile, remoteName);
    ftp.Disconnect();
    return ok;
}

}  // namespace kx
