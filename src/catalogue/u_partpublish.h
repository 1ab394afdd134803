// Sending a part to the maker's server: the upload steps and publishing a new revision.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kx {

class TPartFiles;

/// One file of a part upload: where it goes on the server and where it comes from.
struct TUploadFile {
    std::string RemoteDir;   ///< "def", "hires", "lores", "icon" or "icon/print"
    std::string RemoteName;  ///< number + extension
    std::filesystem::path Local;
    std::string Status;  ///< the status bar text shown before the step ("Sende DEF...")
};

/// The files of a part upload in the server's order; a file the part does not have is left out.
std::vector<TUploadFile> PartUploadPlan(const TPartFiles& files, std::string_view number);

/// What uploading needs of the maker's server. The web client implements it over FTP and HTTP;
/// each call says whether it worked and, if not, why.
class TPartUploadPort {
public:
    virtual ~TPartUploadPort() = default;
    /// Whether a server is set up at all; the commands that need one are disabled otherwise.
    virtual bool Ready() const { return true; }
    virtual bool Connect(std::string& error) = 0;
    virtual bool Store(const TUploadFile& file, std::string& error) = 0;
    /// Always called after Connect, also after a failed step.
    virtual void Disconnect() = 0;
    /// Sends a part's revision; the server's reply text, nothing if the request failed.
    virtual std::optional<std::string> SetPartVersion(std::string_view number, int32_t version,
                                                      std::string& error) = 0;
};

/// What the commands show while they run (status bar panel 0).
using TStatusText = std::function<void(const std::string& text)>;

struct TPublishResult {
    bool Ok = false;
    std::string Message;  ///< the failed step and why, or the server's reply
    int32_t Version = 0;  ///< the revision written, when the definition was raised
};

/// "Bauteil upload (ftp)": connect, store every file of the plan, disconnect. Stops at the
/// first step that fails and names it; nothing after it is sent.
TPublishResult UploadPart(const TPartFiles& files, std::string_view number, TPartUploadPort& port,
                          const TStatusText& status = {});

/// "Versionsnummer online schreiben": the definition's Version sent to the server.
TPublishResult WritePartVersion(const TPartFiles& files, std::string_view number,
                                TPartUploadPort& port);

/// "Versionsnummer erhöhen und veröffentlichen": raises the definition's revision (written to the
/// user folder), uploads the part, then sends the revision; stops at the first failed step.
TPublishResult PublishPartRevision(TPartFiles& files, std::string_view number,
                                   TPartUploadPort& port, const TStatusText& status = {});

}  // namespace kx
