// Where part files are: the per-user folder laid over the program folder, any letter case.
#pragma once

#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kx {

/// Index of the part folders ("def", "hires", "lores", "icon", "icon/print") of the program
/// folder and of the per-user data folder. A file of the user folder wins over a shipped file
/// of the same name; names are matched without regard to ASCII letter case, since the caches
/// and model files know numbers in whatever case they were typed. Each folder is listed once,
/// on first use; after the program writes a part file it calls Refresh.
class TPartFiles {
public:
    TPartFiles(std::filesystem::path programDir, std::filesystem::path userDir);
    /// The program's folders: the settings store's ProgramDir under the per-user data folder.
    TPartFiles();

    const std::filesystem::path& ProgramDir() const { return m_programDir; }
    const std::filesystem::path& UserDir() const { return m_userDir; }

    /// File `name` of sub-folder `subdir` (for example "hires", "icon/print").
    std::optional<std::filesystem::path> Find(std::string_view subdir, std::string_view name) const;

    /// File number + "." + ext of sub-folder `subdir`.
    std::optional<std::filesystem::path> FindPart(std::string_view subdir, std::string_view number,
                                                  std::string_view ext) const;

    /// def/<number>.def.
    std::optional<std::filesystem::path> FindDef(std::string_view number) const {
        return FindPart("def", number, "def");
    }

    /// Where the program writes a part file of its own: always the user folder, and the
    /// spelling of an existing user file of that name if there is one.
    std::filesystem::path UserPath(std::string_view subdir, std::string_view name) const;

    /// The numbers of all definitions (def/*.def of both folders, each number once, the
    /// user's spelling first), sorted without regard to case, so every run fills the library
    /// in the same order.
    std::vector<std::string> DefinitionNumbers() const;

    /// The names of the files of a sub-folder of both folders (each name once, the user's
    /// spelling first), sorted without regard to case.
    std::vector<std::string> FileNames(std::string_view subdir) const;

    /// Forget every folder listing; the next lookup lists the folders again.
    void Refresh() const;
    /// Forget the listing of one sub-folder.
    void Refresh(std::string_view subdir) const;

private:
    struct TFolderIndex {
        std::map<std::string, std::filesystem::path> Files;  // lower-case name -> file
    };
    const TFolderIndex& Index(std::string_view subdir) const;  // m_mutex held

    std::filesystem::path m_programDir;
    std::filesystem::path m_userDir;
    mutable std::mutex m_mutex;
    mutable std::map<std::string, TFolderIndex> m_indices;  // by lower-case sub-folder
};

}  // namespace kx
