// The part update: which part files the server has that this installation lacks or holds in an
// older version, and fetching them into the per-user data folder.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace kx {

class TWebRemote;
class TPartFiles;

/// One part folder, as the server lists it and as it lies locally (the same relative path).
struct TPartUpdateFolder {
    std::string_view Path;                     ///< "def", "icon", "icon/print", "hires", "lores"
    std::vector<std::string_view> Extensions;  ///< lower case, with the dot
};

/// Definitions, icons, print pictures, high-resolution meshes and normals, low-resolution
/// meshes, in the order they are searched and fetched.
const std::array<TPartUpdateFolder, 5>& PartUpdateFolders();

/// Whether a name from the server may be saved in that folder: a plain file name with one of
/// the folder's extensions.
bool IsPartFileName(size_t folder, std::string_view name);

/// The files still to fetch, one list per folder of PartUpdateFolders().
struct TPartUpdateLists {
    std::array<std::vector<std::string>, 5> Files;
    /// Names from the server that are no part file names for their folder; never fetched.
    std::vector<std::string> Refused;
    size_t Total() const;
};

/// Local definition versions by lower-case number.
using TLocalPartVersions = std::map<std::string, int32_t>;

/// Lists the server's part folders and part versions: a file missing in both local folders is
/// taken, and every file of a part whose server version is higher than the local one. False
/// (and the web client's LastError) when a listing fails; lists then hold what was found.
bool FindPartUpdates(TWebRemote& web, const TPartFiles& files, const TLocalPartVersions& local,
                     TPartUpdateLists& lists);

/// A row of the list of new parts, from a downloaded definition.
struct TPartUpdateRow {
    std::string Number;     ///< definition file name without ".def"
    std::string OrgNumber;  ///< "---" when the definition has none
    std::string Name;       ///< in the language of the settings, "---" when missing
    std::string Icon;       ///< bytes of the part's icon, empty when it could not be fetched
};

/// The rows of the new definitions (hidden ones left out); german chooses the name's language.
std::vector<TPartUpdateRow> ReadPartUpdateRows(TWebRemote& web, const TPartUpdateLists& lists,
                                               bool german);

struct TPartDownloadResult {
    int Saved = 0;
    /// Files that failed the download check or could not be saved, each with its reason.
    std::vector<std::string> Failed;
    bool Cancelled = false;
    /// Set when a listing failed: nothing after it was fetched.
    std::string Error;
    bool Complete() const { return !Cancelled && Error.empty() && Failed.empty(); }
};

/// Fetches every listed file into the per-user data folder; progress(folder, position from 1,
/// count) before each file; cancelled() is asked between files. Refreshes the part-file index.
TPartDownloadResult DownloadPartUpdates(TWebRemote& web, TPartFiles& files,
                                        const TPartUpdateLists& lists,
                                        const std::function<void(size_t, int, int)>& progress,
                                        const std::function<bool()>& cancelled);

}  // namespace kx

namespace kx {
struct TBibData;
/// The versions of the library's entries, for FindPartUpdates.
TLocalPartVersions LocalPartVersions(const std::vector<TBibData>& entries);
}  // namespace kx
