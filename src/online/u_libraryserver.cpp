// The library server's answers: every request of the protocol, read from one data folder.
#include "online/u_libraryserver.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <ctime>
#include <vector>

#include "foundation/u_text.h"
#include "online/u_webprotocol.h"

namespace kx {

namespace fs = std::filesystem;

namespace {

std::string QueryValue(const std::multimap<std::string, std::string>& query,
                       const std::string& key) {
    const auto it = query.find(key);
    return it == query.end() ? std::string() : it->second;
}

TServerReply Status(int status, std::string text) {
    return {status, std::move(text) + "\n", "text/plain"};
}

/// Compares without stopping at the first difference, so the time taken tells nothing.
bool SamePhrase(const std::string& a, const std::string& b) {
    unsigned char diff = a.size() == b.size() ? 0 : 1;
    for (size_t i = 0; i < a.size(); ++i) {
        diff |= static_cast<unsigned char>(a[i] ^ (i < b.size() ? b[i] : 0));
    }
    return diff == 0;
}

TWebDateTime ModifiedTime(const fs::directory_entry& entry) {
    std::error_code ec;
    const auto written = entry.last_write_time(ec);
    if (ec) {
        return {};
    }
    const std::time_t t =
        std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(written));
    std::tm utc{};
    gmtime_r(&t, &utc);
    return {utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec};
}

/// Holds an exclusive lock on a file of the data folder for as long as it lives: servers
/// sharing the folder take turns.
class TFolderLock {
public:
    explicit TFolderLock(const fs::path& file)
        : m_fd(::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
        while (m_fd >= 0 && ::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    ~TFolderLock() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    TFolderLock(const TFolderLock&) = delete;
    TFolderLock& operator=(const TFolderLock&) = delete;
    bool Held() const { return m_fd >= 0; }

private:
    int m_fd;
};

}  // namespace

TLibraryServer::TLibraryServer(fs::path dataDir, std::string passPhrase)
    : m_dataDir(std::move(dataDir)), m_passPhrase(std::move(passPhrase)) {}

void TLibraryServer::CreateLayout() const {
    for (const char* dir : {"def", "hires", "lores", "icon/print", "update", "downloads/modelle",
                            "downloads/collection"}) {
        fs::create_directories(m_dataDir / dir);
    }
}

std::optional<fs::path> TLibraryServer::Resolve(const std::string& relative) const {
    if (!IsSafeRemotePath(relative)) {
        return std::nullopt;
    }
    std::error_code ec;
    const fs::path root = fs::weakly_canonical(m_dataDir, ec);
    const fs::path target = fs::weakly_canonical(m_dataDir / relative, ec);
    if (ec) {
        return std::nullopt;
    }
    // A link inside the folder must not lead out of it.
    if (std::mismatch(root.begin(), root.end(), target.begin(), target.end()).first != root.end()) {
        return std::nullopt;
    }
    return target;
}

TServerReply TLibraryServer::Handle(std::string_view path,
                                    const std::multimap<std::string, std::string>& query) const {
    if (path == kDirectoryPath) {
        return Listing(QueryValue(query, "dir"));
    }
    if (path == kDownloadPath) {
        return File(QueryValue(query, "file"));
    }
    if (path == kPartVersionsPath) {
        return PartVersions();
    }
    if (path == kSetPartVersionPath) {
        return SetPartVersion(query);
    }
    if (path == kHistoryGermanPath || path == kHistoryEnglishPath) {
        const char* name = path == kHistoryGermanPath ? "history_de.txt" : "history_en.txt";
        // A server without history has an empty one.
        auto bytes = ReadFileBytes(m_dataDir / name);
        return {200, bytes.value_or(""), "text/plain"};
    }
    if (path.rfind("/downloads/", 0) == 0) {
        return File(std::string(path.substr(1)));
    }
    return Status(404, "not found");
}

TServerReply TLibraryServer::Listing(const std::string& requested) const {
    // Collections are fetched from downloads/collection and listed under a shorter name.
    const std::string dir = requested == "collection" ? "downloads/collection" : requested;
    const auto folder = Resolve(dir);
    std::error_code ec;
    if (!folder || !fs::is_directory(*folder, ec)) {
        return Status(404, "no such folder");
    }
    std::vector<TWebDirData> entries;
    for (const auto& entry : fs::directory_iterator(*folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (!IsSafeRemoteName(name)) {
            continue;
        }
        TWebDirData item{name, 0, ModifiedTime(entry)};
        if (entry.is_regular_file(ec)) {
            item.Size = static_cast<int64_t>(entry.file_size(ec));
        } else if (!entry.is_directory(ec)) {
            continue;
        }
        entries.push_back(std::move(item));
    }
    if (ec) {
        return Status(500, "folder cannot be read");
    }
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return a.Name < b.Name; });
    std::string body;
    for (const auto& e : entries) {
        body += FormatDirectoryLine(e) + "\n";
    }
    return {200, std::move(body), "text/plain"};
}

TServerReply TLibraryServer::File(const std::string& relative) const {
    const auto file = Resolve(relative);
    std::error_code ec;
    if (!file || !fs::is_regular_file(*file, ec)) {
        return Status(404, "not found");
    }
    auto bytes = ReadFileBytes(*file);
    if (!bytes) {
        return Status(500, "file cannot be read");
    }
    return {200, std::move(*bytes), "application/octet-stream"};
}

TServerReply TLibraryServer::PartVersions() const {
    auto bytes = ReadFileBytes(m_dataDir / "partversions.txt");
    return {200, bytes.value_or(""), "text/plain"};
}

TServerReply TLibraryServer::SetPartVersion(
    const std::multimap<std::string, std::string>& query) const {
    if (m_passPhrase.empty()) {
        return Status(403, "version writes are switched off on this server");
    }
    if (!SamePhrase(QueryValue(query, "pass"), m_passPhrase)) {
        return Status(403, "wrong pass phrase");
    }
    const std::string name = QueryValue(query, "filename");
    const std::string versionText = QueryValue(query, "version");
    int32_t version = 0;
    const auto [end, err] =
        std::from_chars(versionText.data(), versionText.data() + versionText.size(), version);
    if (!IsSafeRemoteName(name) || name.find(';') != std::string::npos || versionText.empty() ||
        err != std::errc() || end != versionText.data() + versionText.size()) {
        return Status(400, "bad part name or version");
    }
    TFolderLock lock(m_dataDir / ".partversions.lock");
    if (!lock.Held()) {
        return Status(500, "the data folder is not writable");
    }
    const fs::path file = m_dataDir / "partversions.txt";
    std::vector<std::string> lines = ReplyLines(ReadFileBytes(file).value_or(""));
    bool found = false;
    for (auto& line : lines) {
        if (SameText(GetField(line, 1, ';'), name)) {
            line = name + ";" + versionText;
            found = true;
        }
    }
    if (!found) {
        lines.push_back(name + ";" + versionText);
    }
    std::string body;
    for (const auto& line : lines) {
        body += line + "\n";
    }
    std::string error;
    if (!WriteFileAtomic(file, body, &error)) {
        return Status(500, "cannot write the part versions: " + error);
    }
    return {200, "ok<br>" + name + ";" + versionText, "text/plain"};
}

}  // namespace kx
