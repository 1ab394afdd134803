// Where the library server is and how long to wait for it: the online settings.
#pragma once

#include <string>

namespace kx {

class TkxParam;

struct TFtpAccount {
    std::string User;
    std::string Password;
};

/// The online settings. No server is built in: with an empty base URL the online commands
/// say that none is set.
struct TWebSettings {
    std::string BaseUrl;               ///< scheme and host, e.g. https://library.example.org
    std::string FtpServer;             ///< host, host:port or ftp://host[:port][/folder]
    TFtpAccount PartsFtp;              ///< maintainers' part uploads
    TFtpAccount LibraryFtp;            ///< the model library's uploads
    std::string PassPhrase;            ///< the server's pass phrase for version writes
    int ConnectTimeout = 10;           ///< seconds
    int TotalTimeout = 120;            ///< seconds for a whole request
    std::string Language = "DEUTSCH";  ///< chooses the history in German or English

    bool Configured() const { return !BaseUrl.empty(); }
};

/// Setting names. The base URL and the FTP server may come from the machine-wide settings,
/// so a school or club sets them once for every user.
inline constexpr const char* kSetBaseUrl = "WEBBASEURL";
inline constexpr const char* kSetFtpServer = "FTPSERVER";
inline constexpr const char* kSetFtpPartsUser = "FTPPARTSUSER";
inline constexpr const char* kSetFtpPartsPassword = "FTPPARTSPASSWORD";
inline constexpr const char* kSetFtpLibraryUser = "FTPLIBRARYUSER";
inline constexpr const char* kSetFtpLibraryPassword = "FTPLIBRARYPASSWORD";
inline constexpr const char* kSetPassPhrase = "WEBPASSPHRASE";
inline constexpr const char* kSetConnectTimeout = "WEBCONNECTTIMEOUT";
inline constexpr const char* kSetTotalTimeout = "WEBTIMEOUT";

/// The settings as stored now (timeouts kept within 1 to 3600 seconds).
TWebSettings ReadWebSettings(TkxParam& param);
/// Writes every setting except the language; throws like TkxParam's setters.
void WriteWebSettings(TkxParam& param, const TWebSettings& settings);

/// The base URL as the user typed it, made usable: blanks trimmed, "http://" put in front of
/// a bare host, trailing "/" removed. Empty stays empty.
std::string NormaliseBaseUrl(const std::string& url);

/// Whether the URL's host is a loopback address (127.x.x.x, localhost, [::1]).
bool IsLoopbackUrl(const std::string& url);
/// Whether the pass phrase may go to this server: over HTTPS, or to this machine (tests).
bool MaySendPassPhrase(const std::string& baseUrl);

}  // namespace kx
