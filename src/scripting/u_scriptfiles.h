// The script folders: Python, Python/OnStartup and Python/Menu of the program, with the user's
// own scripts laid over the shipped ones.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace kx {

/// Sub-folders below "Python".
inline constexpr const char* kStartupScripts = "OnStartup";
inline constexpr const char* kMenuScripts = "Menu";

struct TScriptFile {
    std::string Name;  ///< file name without ".py"
    std::filesystem::path Path;
};

/// The *.py files of Python/<sub> below the program folder and below the user folder, sorted
/// by name; a user script hides a shipped one of the same name.
std::vector<TScriptFile> ListScripts(const std::filesystem::path& programDir,
                                     const std::filesystem::path& userDir, const std::string& sub);

/// Makes Python, Python/OnStartup and Python/Menu below the folder (the user's: the program
/// folder is not the user's to write). False if they cannot be made.
bool MakeScriptFolders(const std::filesystem::path& userDir);

/// Reads a script file whole. False and why if it cannot be read.
bool ReadScriptFile(const std::filesystem::path& file, std::string& text, std::string& error);

}  // namespace kx
