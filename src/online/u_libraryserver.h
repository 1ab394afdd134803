// The library server's answers: every request of the protocol, read from one data folder.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace kx {

struct TServerReply {
    int Status = 200;
    std::string Body;
    std::string ContentType = "text/plain";
};

/// Answers from the data folder and nothing else, so several servers can share one folder
/// behind any web server. Layout:
///   def/ hires/ lores/ icon/ icon/print/   part files (listed and downloaded)
///   update/version.txt                     the published program version
///   partversions.txt                       "number;version" lines
///   history_de.txt, history_en.txt         "version|text|number~" records
///   downloads/modelle/                     model index, pictures, models
///   downloads/collection/                  shared collections (listed as "collection")
/// Files are sent as they are. Names starting with a dot are never listed or sent.
class TLibraryServer {
public:
    /// An empty pass phrase switches version writes off.
    TLibraryServer(std::filesystem::path dataDir, std::string passPhrase);

    /// The answer to GET path with the decoded query values.
    TServerReply Handle(std::string_view path,
                        const std::multimap<std::string, std::string>& query) const;

    /// Creates the folders of the layout that do not exist yet.
    void CreateLayout() const;

    const std::filesystem::path& DataDir() const { return m_dataDir; }

private:
    TServerReply Listing(const std::string& dir) const;
    TServerReply File(const std::string& relative) const;
    TServerReply PartVersions() const;
    TServerReply SetPartVersion(const std::multimap<std::string, std::string>& query) const;
    /// A file or folder below the data folder, or nothing when the path leaves it or names a
    /// hidden entry.
    std::optional<std::filesystem::path> Resolve(const std::string& relative) const;

    std::filesystem::path m_dataDir;
    std::string m_passPhrase;
};

}  // namespace kx
