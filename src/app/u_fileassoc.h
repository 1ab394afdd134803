// The model files' association with the program for the current user: a desktop entry, the
// model file type and the default handler for it, all in the user's own XDG folders.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace kx {

inline constexpr const char* kModelMimeType = "application/x-korvex-model";
inline constexpr const char* kDesktopId = "korvex-designer.desktop";

/// The XDG folders the association reads and writes.
struct TAssociationFolders {
    std::filesystem::path DataHome;                 ///< $XDG_DATA_HOME, else ~/.local/share
    std::filesystem::path ConfigHome;               ///< $XDG_CONFIG_HOME, else ~/.config
    std::vector<std::filesystem::path> DataDirs;    ///< $XDG_DATA_DIRS, read only
    std::vector<std::filesystem::path> ConfigDirs;  ///< $XDG_CONFIG_DIRS, read only
};
TAssociationFolders AssociationFoldersFromEnvironment();

/// The program part of an open command: everything from the first "%" on is dropped, then a
/// leading and a trailing quotation mark, then trailing blanks and quotation marks.
std::string CleanOpenCommand(std::string text);

/// The program the desktop now opens model files with (the cleaned Exec line of the default
/// handler's desktop entry), or empty when there is none.
std::string AssociatedProgram(const TAssociationFolders& folders);

/// Whether the user's own association is in place: our desktop entry, the file type and the
/// default handler pointing at the entry.
bool UserAssociationInstalled(const TAssociationFolders& folders);

struct TAssociationResult {
    bool Ok = false;
    std::string Error;  ///< the file and the system's reason
};

/// Writes the desktop entry that opens files with `executable` (its icon `icon`, a file or a
/// theme name), the model file type and the default handler. All or nothing: when one file
/// cannot be written, the ones written before are put back as they were.
TAssociationResult InstallUserAssociation(const TAssociationFolders& folders,
                                          const std::string& executable, const std::string& icon);
/// Removes what InstallUserAssociation wrote, all or nothing; other handlers the user chose
/// for other types stay.
TAssociationResult RemoveUserAssociation(const TAssociationFolders& folders);

}  // namespace kx
