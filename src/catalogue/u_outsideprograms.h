// The maintainers' outside programs: which command line each of them is started with.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kx {

/// A program and its arguments, started without a shell and not waited for.
struct TLaunch {
    std::string Program;
    std::vector<std::string> Args;
    bool operator==(const TLaunch&) const = default;
};

/// Settings of the outside programs (named values of the settings store).
inline constexpr std::string_view EditorCommandSetting = "EDITORCOMMAND";
inline constexpr std::string_view BlenderCommandSetting = "BLENDERCOMMAND";
inline constexpr std::string_view BlenderFolderSetting = "BLENDERFOLDER";
inline constexpr std::string_view DefmakerCommandSetting = "DEFMAKERCOMMAND";

/// Splits a command setting into words: blanks separate, double or single quotes group, a
/// backslash takes the next character as it is.
std::vector<std::string> SplitCommandLine(std::string_view command);

/// The text editor on a file: the setting if given, else $VISUAL, else $EDITOR, else the
/// desktop's handler for the file ("xdg-open").
TLaunch TextEditorLaunch(std::string_view setting, std::string_view visual, std::string_view editor,
                         const std::filesystem::path& file);

/// The modelling program on number + ".blend" in the maintainers' folder; the command defaults
/// to "blender".
TLaunch BlenderLaunch(std::string_view command, const std::filesystem::path& folder,
                      std::string_view number);

/// The definition editor with the number; nothing while its command setting is empty.
std::optional<TLaunch> DefmakerLaunch(std::string_view command, std::string_view number);

/// The outside programs as the settings store and the environment have them now.
struct TOutsidePrograms {
    std::string Editor;
    std::string Blender;
    std::filesystem::path BlenderFolder;  ///< default: "blend" in the per-user data folder
    std::string Defmaker;
    static TOutsidePrograms Current(const std::filesystem::path& userDir);
};

}  // namespace kx
