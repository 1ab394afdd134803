// Command lines of the outside programs from their settings and the environment.
#include "catalogue/u_outsideprograms.h"

#include "foundation/u_param.h"
#include "foundation/u_text.h"

namespace kx {

std::vector<std::string> SplitCommandLine(std::string_view command) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    char quote = 0;
    for (size_t i = 0; i < command.size(); ++i) {
        const char c = command[i];
        if (quote != 0) {
            if (c == quote) {
                quote = 0;
            } else if (c == '\\' && quote == '"' && i + 1 < command.size()) {
                word += command[++i];
            } else {
                word += c;
            }
        } else if (c == '"' || c == '\'') {
            quote = c;
            inWord = true;
        } else if (c == '\\' && i + 1 < command.size()) {
            word += command[++i];
            inWord = true;
        } else if (c == ' ' || c == '\t') {
            if (inWord) {
                words.push_back(std::move(word));
                word.clear();
                inWord = false;
            }
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) {
        words.push_back(std::move(word));
    }
    return words;
}

namespace {

std::optional<TLaunch> FromCommand(std::string_view command) {
    std::vector<std::string> words = SplitCommandLine(command);
    if (words.empty()) {
        return std::nullopt;
    }
    TLaunch launch;
    launch.Program = words.front();
    launch.Args.assign(words.begin() + 1, words.end());
    return launch;
}

}  // namespace

TLaunch TextEditorLaunch(std::string_view setting, std::string_view visual, std::string_view editor,
                         const std::filesystem::path& file) {
    std::optional<TLaunch> launch = FromCommand(setting);
    if (!launch) {
        launch = FromCommand(visual);
    }
    if (!launch) {
        launch = FromCommand(editor);
    }
    if (!launch) {
        launch = TLaunch{"xdg-open", {}};
    }
    launch->Args.push_back(file.string());
    return *launch;
}

TLaunch BlenderLaunch(std::string_view command, const std::filesystem::path& folder,
                      std::string_view number) {
    TLaunch launch = FromCommand(command).value_or(TLaunch{"blender", {}});
    launch.Args.push_back((folder / (std::string(number) + ".blend")).string());
    return launch;
}

std::optional<TLaunch> DefmakerLaunch(std::string_view command, std::string_view number) {
    std::optional<TLaunch> launch = FromCommand(command);
    if (launch) {
        launch->Args.emplace_back(number);
    }
    return launch;
}

TOutsidePrograms TOutsidePrograms::Current(const std::filesystem::path& userDir) {
    TkxParam& p = Param();
    TOutsidePrograms o;
    o.Editor = p.ReadString(EditorCommandSetting, "");
    o.Blender = p.ReadString(BlenderCommandSetting, "blender");
    const std::string folder = p.ReadString(BlenderFolderSetting, "");
    o.BlenderFolder = folder.empty() ? userDir / "blend" : std::filesystem::path(folder);
    o.Defmaker = p.ReadString(DefmakerCommandSetting, "");
    return o;
}

}  // namespace kx
