// The script folders: Python, Python/OnStartup and Python/Menu of the program, with the user's
// own scripts laid over the shipped ones.
#include "scripting/u_scriptfiles.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

#include "foundation/u_language.h"

namespace kx {

namespace fs = std::filesystem;

std::vector<TScriptFile> ListScripts(const fs::path& programDir, const fs::path& userDir,
                                     const std::string& sub) {
    std::map<std::string, fs::path> byName;
    // The user's folder last, so that its scripts replace shipped ones of the same name.
    for (const fs::path& base : {programDir, userDir}) {
        std::error_code ec;
        const fs::path folder = base / "Python" / sub;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            const fs::path& file = it->path();
            if (file.extension() == ".py" && it->is_regular_file(ec)) {
                byName[file.stem().string()] = file;
            }
        }
    }
    std::vector<TScriptFile> out;
    for (const auto& [name, path] : byName) {
        out.push_back({name, path});
    }
    return out;
}

bool MakeScriptFolders(const fs::path& userDir) {
    std::error_code ec;
    for (const char* sub : {kStartupScripts, kMenuScripts}) {
        fs::create_directories(userDir / "Python" / sub, ec);
        if (ec) {
            return false;
        }
    }
    return true;
}

bool ReadScriptFile(const fs::path& file, std::string& text, std::string& error) {
    std::ifstream in(file, std::ios::binary);
    std::error_code ec;
    if (!in || fs::is_directory(file, ec)) {
        error = Language().GetText("D_PYTHONMANAGER", 20, "Das Skript kann nicht gelesen werden:") +
                " " + file.string();
        return false;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) {
        error = Language().GetText("D_PYTHONMANAGER", 20, "Das Skript kann nicht gelesen werden:") +
                " " + file.string();
        return false;
    }
    text = buffer.str();
    return true;
}

}  // namespace kx
