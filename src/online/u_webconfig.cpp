// Where the library server is and how long to wait for it: the online settings.
#include "online/u_webconfig.h"

#include <algorithm>

#include "foundation/u_param.h"
#include "foundation/u_text.h"

namespace kx {

namespace {
int Clamp(int seconds, int def) {
    return seconds < 1 || seconds > 3600 ? def : seconds;
}

std::string HostOf(const std::string& url) {
    size_t start = url.find("://");
    start = start == std::string::npos ? 0 : start + 3;
    size_t end = url.find_first_of("/?#", start);
    std::string authority = url.substr(start, end == std::string::npos ? end : end - start);
    const size_t at = authority.rfind('@');
    if (at != std::string::npos) {
        authority.erase(0, at + 1);
    }
    if (!authority.empty() && authority.front() == '[') {
        const size_t close = authority.find(']');
        return authority.substr(0, close == std::string::npos ? close : close + 1);
    }
    return authority.substr(0, authority.find(':'));
}
}  // namespace

TWebSettings ReadWebSettings(TkxParam& param) {
    TWebSettings s;
    s.BaseUrl = NormaliseBaseUrl(param.ReadSharedString(kSetBaseUrl, ""));
    s.FtpServer = Trim(param.ReadSharedString(kSetFtpServer, ""));
    s.PartsFtp = {param.ReadString(kSetFtpPartsUser, ""),
                  param.ReadString(kSetFtpPartsPassword, "")};
    s.LibraryFtp = {param.ReadString(kSetFtpLibraryUser, ""),
                    param.ReadString(kSetFtpLibraryPassword, "")};
    s.PassPhrase = param.ReadString(kSetPassPhrase, "");
    s.ConnectTimeout = Clamp(param.ReadInteger(kSetConnectTimeout, 10), 10);
    s.TotalTimeout = Clamp(param.ReadInteger(kSetTotalTimeout, 120), 120);
    s.Language = param.GetLanguage();
    return s;
}

void WriteWebSettings(TkxParam& param, const TWebSettings& s) {
    param.WriteString(kSetBaseUrl, NormaliseBaseUrl(s.BaseUrl));
    param.WriteString(kSetFtpServer, Trim(s.FtpServer));
    param.WriteString(kSetFtpPartsUser, s.PartsFtp.User);
    param.WriteString(kSetFtpPartsPassword, s.PartsFtp.Password);
    param.WriteString(kSetFtpLibraryUser, s.LibraryFtp.User);
    param.WriteString(kSetFtpLibraryPassword, s.LibraryFtp.Password);
    param.WriteString(kSetPassPhrase, s.PassPhrase);
    param.WriteInteger(kSetConnectTimeout, Clamp(s.ConnectTimeout, 10));
    param.WriteInteger(kSetTotalTimeout, Clamp(s.TotalTimeout, 120));
}

std::string NormaliseBaseUrl(const std::string& url) {
    std::string s = Trim(url);
    if (s.empty()) {
        return s;
    }
    if (s.find("://") == std::string::npos) {
        s = "http://" + s;
    }
    while (!s.empty() && s.back() == '/') {
        s.pop_back();
    }
    return s;
}

bool IsLoopbackUrl(const std::string& url) {
    const std::string host = LowerCase(HostOf(url));
    const bool dotted =
        host.rfind("127.", 0) == 0 && host.find_first_not_of("0123456789.") == std::string::npos;
    return host == "localhost" || host == "[::1]" || dotted;
}

bool MaySendPassPhrase(const std::string& baseUrl) {
    return StartsWithText(baseUrl, "https://") || IsLoopbackUrl(baseUrl);
}

}  // namespace kx
