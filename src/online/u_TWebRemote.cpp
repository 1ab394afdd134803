// The client of the library server: listings, downloads, part versions, version text and the
// change history over HTTP(S).
#include "online/u_TWebRemote.h"

#include "foundation/u_language.h"
#include "foundation/u_param.h"
#include "foundation/u_stack.h"
#include "foundation/u_text.h"
#include "online/u_curl.h"

namespace kx {

namespace {

constexpr const char* kSection = "WEBREMOTE";
constexpr const char* kUserAgent =
    "Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0; MAAU)";

std::string Text(int key, const char* def) {
    return Language().GetText(kSection, key, def);
}

std::string WithValue(std::string text, const std::string& value) {
    const size_t at = text.find("%s");
    return at == std::string::npos ? text + " " + value : text.replace(at, 2, value);
}

/// Creates the folder first: the per-user data folder may not have it yet.
bool SaveWhole(const std::filesystem::path& file, const std::string& body, std::string& error) {
    std::error_code ec;
    if (file.has_parent_path()) {
        std::filesystem::create_directories(file.parent_path(), ec);
    }
    return WriteFileAtomic(file, body, &error);
}

std::string Without(std::string text, const std::string& secret) {
    if (secret.empty()) {
        return text;
    }
    for (const std::string& form : {secret, UrlEncode(secret)}) {
        for (size_t at = text.find(form); at != std::string::npos; at = text.find(form, at)) {
            text.replace(at, form.size(), "***");
        }
    }
    return text;
}

}  // namespace

std::string NoServerMessage() {
    return Text(1,
                "Es ist kein Bibliotheksserver eingestellt. Tragen Sie seine Adresse in den "
                "Servereinstellungen ein.");
}

TWebRemote::TWebRemote() : TWebRemote(ReadWebSettings(Param())) {}

TWebRemote::TWebRemote(TWebSettings settings)
    : m_settings(std::move(settings)), m_curl(std::make_unique<TCurlHandle>()) {
    m_settings.BaseUrl = NormaliseBaseUrl(m_settings.BaseUrl);
}

TWebRemote::~TWebRemote() = default;

bool TWebRemote::Fail(std::string message) {
    m_lastError = Without(std::move(message), m_settings.PassPhrase);
    Stack().Push("TWebRemote.Fail", m_lastError);
    return false;
}

bool TWebRemote::Get(const std::string& pathAndQuery, std::string& body, TRedirects redirects) {
    m_lastError.clear();
    if (!Configured()) {
        return Fail(NoServerMessage());
    }
    CURL* c = m_curl->Get();
    m_curl->Reset();
    m_curl->SetCommon(m_settings.ConnectTimeout, m_settings.TotalTimeout, m_progress);
    const std::string url = m_settings.BaseUrl + pathAndQuery;
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_USERAGENT, kUserAgent);
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    // No connection stays open between requests: an idle one would hold a server thread.
    curl_easy_setopt(c, CURLOPT_FORBID_REUSE, 1L);
    if (redirects == TRedirects::Follow) {
        curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(c, CURLOPT_MAXREDIRS, 10L);
        curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    } else if (StartsWithText(m_settings.BaseUrl, "https://")) {
        // The query holds a secret: follow only where it stays encrypted.
        curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(c, CURLOPT_MAXREDIRS, 10L);
        curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "https");
    }
    std::string received;
    m_curl->CollectBody(&received, MaxBody);
    std::string error;
    if (!m_curl->Perform(&error)) {
        if (m_curl->Cancelled()) {
            return Fail(Text(4, "Die Übertragung wurde abgebrochen."));
        }
        if (m_curl->TooLarge()) {
            return Fail(Text(9, "Die Antwort des Servers ist zu groß."));
        }
        return Fail(WithValue(Text(2, "Der Server hat nicht geantwortet: %s"), error));
    }
    long status = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
    if (status < 200 || status > 299) {
        return Fail(WithValue(Text(3, "Der Server meldet den Fehler %s."), std::to_string(status)));
    }
    body = std::move(received);
    return true;
}

bool TWebRemote::ReadDirectory(std::string_view dir) {
    Stack().Push("TWebRemote.ReadDirectory", dir);
    m_directory.clear();
    std::string body;
    if (!Get(std::string(kDirectoryPath) + "?dir=" + UrlEncode(dir), body)) {
        return false;
    }
    m_directory = ParseDirectory(body);
    return true;
}

const TWebDirData* TWebRemote::DirEntry(size_t index) const {
    return index < m_directory.size() ? &m_directory[index] : nullptr;
}

int64_t TWebRemote::FileSize(std::string_view name) const {
    int64_t size = 0;
    for (const auto& entry : m_directory) {
        if (SameText(entry.Name, name)) {
            size = entry.Size;
        }
    }
    return size;
}

bool TWebRemote::DownloadFile(std::string_view path, std::string& stream) {
    Stack().Push("TWebRemote.DownloadFile", path);
    return Get(std::string(kDownloadPath) + "?file=" + UrlEncode(path), stream);
}

bool TWebRemote::DownloadToFile(std::string_view path, const std::filesystem::path& fileName) {
    Stack().Push("TWebRemote.DownloadToFile", path, fileName.string());
    std::string body;
    if (!DownloadFile(path, body)) {
        return false;
    }
    std::string error;
    if (!SaveWhole(fileName, body, error)) {
        return Fail(WithValue(Text(5, "Die Datei konnte nicht gespeichert werden: %s"), error));
    }
    return true;
}

bool TWebRemote::GetUrl(std::string_view path, std::string& stream) {
    Stack().Push("TWebRemote.GetUrl", path);
    std::string p = EncodeUrlPath(path);
    if (p.empty() || p.front() != '/') {
        p.insert(p.begin(), '/');
    }
    return Get(p, stream);
}

bool TWebRemote::DownloadListedFile(std::string_view dir, std::string_view name,
                                    const std::filesystem::path& localFolder) {
    Stack().Push("TWebRemote.DownloadListedFile", dir, name, localFolder.string());
    m_lastError.clear();
    if (!IsSafeRemoteName(name) || !IsSafeRemotePath(dir)) {
        return Fail(WithValue(Text(7, "Der Name \"%s\" vom Server ist kein gültiger Dateiname."),
                              std::string(dir) + "/" + std::string(name)));
    }
    const int64_t listed = FileSize(name);
    std::string body;
    if (!DownloadFile(std::string(dir) + "/" + std::string(name), body)) {
        return false;
    }
    if (!DownloadAccepted(body.size(), listed)) {
        return Fail(WithValue(
            WithValue(Text(6, "Die Datei %s hat die falsche Größe: %s Bytes."), std::string(name)),
            std::to_string(body.size()) + " / " + std::to_string(listed)));
    }
    std::string error;
    if (!SaveWhole(localFolder / std::string(name), body, error)) {
        return Fail(WithValue(Text(5, "Die Datei konnte nicht gespeichert werden: %s"), error));
    }
    return true;
}

std::string TWebRemote::GetVersionText() {
    Stack().Push("TWebRemote.GetVersionText");
    std::string body;
    if (!DownloadFile(kVersionFile, body)) {
        return {};
    }
    return PrintableText(body);
}

bool TWebRemote::ReadPartVersions() {
    Stack().Push("TWebRemote.ReadPartVersions");
    m_partVersions.clear();
    std::string body;
    if (!Get(std::string(kPartVersionsPath), body)) {
        return false;
    }
    m_partVersions = ParsePartVersions(body);
    return true;
}

std::string TWebRemote::SetPartVersion(std::string_view fileName, int32_t version) {
    // The pass phrase never goes on the trace.
    Stack().Push("TWebRemote.SetPartVersion", fileName, version);
    m_lastError.clear();
    if (!Configured()) {
        Fail(NoServerMessage());
        return {};
    }
    if (m_settings.PassPhrase.empty()) {
        Fail(Text(10, "Es ist keine Passphrase für den Server eingestellt."));
        return {};
    }
    if (!MaySendPassPhrase(m_settings.BaseUrl)) {
        Fail(Text(8,
                  "Die Passphrase wird nur über eine verschlüsselte Verbindung (HTTPS) "
                  "gesendet."));
        return {};
    }
    std::string body;
    const std::string query =
        std::string(kSetPartVersionPath) + "?pass=" + UrlEncode(m_settings.PassPhrase) +
        "&filename=" + UrlEncode(fileName) + "&version=" + std::to_string(version);
    if (!Get(query, body, TRedirects::SecureOnly)) {
        return {};
    }
    return VersionWriteReply(body);
}

bool TWebRemote::ReadHistory(std::string_view upTo) {
    Stack().Push("TWebRemote.ReadHistory", upTo);
    m_history.clear();
    std::string body;
    const std::string_view path =
        m_settings.Language == "DEUTSCH" ? kHistoryGermanPath : kHistoryEnglishPath;
    if (!Get(std::string(path), body)) {
        return false;
    }
    m_history = ParseHistory(body, upTo);
    return true;
}

}  // namespace kx
