// The client of the library server: listings, downloads, part versions, version text and the
// change history over HTTP(S).
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "online/u_webconfig.h"
#include "online/u_webprogress.h"
#include "online/u_webprotocol.h"

namespace kx {

class TCurlHandle;

/// Every operation blocks until the server answers or the transport gives up, so callers
/// with a window run it on a worker thread. An operation reports failure by its result and
/// says why in LastError(); none shows a message. Lists are emptied before each request that
/// fills them; every other target is left untouched by a failure.
class TWebRemote {
public:
    /// The settings as stored now.
    TWebRemote();
    explicit TWebRemote(TWebSettings settings);
    ~TWebRemote();
    TWebRemote(const TWebRemote&) = delete;
    TWebRemote& operator=(const TWebRemote&) = delete;

    /// Whether a server is set; without one every request fails and says so.
    bool Configured() const { return m_settings.Configured(); }
    const TWebSettings& Settings() const { return m_settings; }

    /// Where the running request reports its progress and is asked to stop (may be null).
    void SetProgress(TWebProgress* progress) { m_progress = progress; }

    bool ReadDirectory(std::string_view dir);
    const std::vector<TWebDirData>& Directory() const { return m_directory; }
    const TWebDirData* DirEntry(size_t index) const;
    /// Size of the last entry named name (any letter case) of the last listing; 0 if none.
    int64_t FileSize(std::string_view name) const;

    /// Saves the body to fileName atomically; a save error is a failure.
    bool DownloadToFile(std::string_view path, const std::filesystem::path& fileName);
    bool DownloadFile(std::string_view path, std::string& stream);
    /// A path of the server's own ("/downloads/modelle/kxmodels.xml").
    bool GetUrl(std::string_view path, std::string& stream);

    /// Downloads entry name of the listed server folder dir into localFolder/name: the name
    /// must be a plain file name, the body must pass the download check against the size of
    /// the last listing, and the file is saved atomically. Nothing is written otherwise.
    bool DownloadListedFile(std::string_view dir, std::string_view name,
                            const std::filesystem::path& localFolder);

    /// The printable bytes of update/version.txt; empty on failure.
    std::string GetVersionText();

    bool ReadPartVersions();
    const std::vector<TWebPartData>& PartVersions() const { return m_partVersions; }
    /// Writes a part's version on the server with the pass phrase from the settings; the
    /// server's reply with "<br>" as line breaks, empty on failure. The pass phrase travels
    /// only over HTTPS, or to this machine.
    std::string SetPartVersion(std::string_view fileName, int32_t version);

    /// The history in the language of the settings, records up to version upTo.
    bool ReadHistory(std::string_view upTo);
    const std::vector<TWebHistoryData>& History() const { return m_history; }

    /// Why the last operation failed, for a message; never holds the pass phrase.
    const std::string& LastError() const { return m_lastError; }

    /// The largest body a request accepts.
    static constexpr uint64_t MaxBody = 512ull * 1024 * 1024;

private:
    enum class TRedirects { Follow, SecureOnly };
    /// GET base URL + pathAndQuery into body; status 200-299 is success.
    bool Get(const std::string& pathAndQuery, std::string& body,
             TRedirects redirects = TRedirects::Follow);
    bool Fail(std::string message);

    TWebSettings m_settings;
    std::unique_ptr<TCurlHandle> m_curl;
    TWebProgress* m_progress = nullptr;
    std::vector<TWebDirData> m_directory;
    std::vector<TWebPartData> m_partVersions;
    std::vector<TWebHistoryData> m_history;
    std::string m_lastError;
};

/// The language table's message for a request that failed because no server is set.
std::string NoServerMessage();

}  // namespace kx
