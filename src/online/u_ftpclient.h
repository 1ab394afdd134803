// Uploads to the library's FTP server: a passive-mode session, and the maintainers' upload
// sequences for a part and for a file of the model library.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "online/u_webconfig.h"
#include "online/u_webprogress.h"

namespace kx {

class TCurlHandle;
class TPartFiles;

/// One FTP session in passive mode. Directory changes are relative to the current folder
/// ("..": one up), starting at the account's home folder; every request reuses the one
/// connection. Failures say why in LastError() (never with the password).
class TFtpClient {
public:
    TFtpClient(std::string server, TFtpAccount account, int connectTimeout, int totalTimeout);
    ~TFtpClient();
    TFtpClient(const TFtpClient&) = delete;
    TFtpClient& operator=(const TFtpClient&) = delete;

    void SetProgress(TWebProgress* progress) { m_progress = progress; }

    /// Logs in and lists the home folder.
    bool Connect();
    /// Changes into dir (a plain name or ".."), which must exist.
    bool ChangeDir(std::string_view dir);
    /// Stores the local file under remoteName (a plain name) in the current folder.
    bool Store(const std::filesystem::path& localFile, std::string_view remoteName);
    void Disconnect();

    bool Connected() const { return m_connected; }
    const std::string& LastError() const { return m_lastError; }
    /// The current folder below the home folder, e.g. "icon/print".
    std::string CurrentDir() const;

private:
    bool Fail(std::string message);
    std::string UrlFor(const std::vector<std::string>& dirs, std::string_view file) const;
    bool Run(const std::string& url, bool upload, FILE* source, std::string* error);

    std::string m_base;  // ftp://host[:port]/[folder/]
    TFtpAccount m_account;
    int m_connectTimeout;
    int m_totalTimeout;
    std::unique_ptr<TCurlHandle> m_curl;
    TWebProgress* m_progress = nullptr;
    std::vector<std::string> m_dirs;
    bool m_connected = false;
    std::string m_lastError;
};

/// What an upload sequence reports while it runs (the status bar).
using TFtpStatus = std::function<void(const std::string& text)>;

/// The maintainers' part upload for part number: def, hires (mesh and normals), lores, icon
/// and print picture, each from wherever the program finds it; a file that does not exist is
/// skipped. Stops at the first failing step; always disconnects. True when every step worked.
bool FtpUploadPart(TFtpClient& ftp, std::string_view number, const TPartFiles& files,
                   const TFtpStatus& status);

/// One file of the model library (index, picture or model) stored under remoteName.
bool FtpUploadFile(TFtpClient& ftp, const std::filesystem::path& localFile,
                   std::string_view remoteName);

}  // namespace kx
