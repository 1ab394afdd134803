// The model files' association with the program for the current user: a desktop entry, the
// model file type and the default handler for it, all in the user's own XDG folders.
#include "app/u_fileassoc.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>

#include "foundation/u_atomicfile.h"
#include "foundation/u_stack.h"

namespace kx {

namespace fs = std::filesystem;

namespace {

constexpr const char* kMimePackage = "korvex-designer.xml";
constexpr const char* kDefaults = "[Default Applications]";

std::vector<fs::path> SplitDirs(const char* value, const std::vector<fs::path>& fallback) {
    if (!value || !*value) {
        return fallback;
    }
    std::vector<fs::path> dirs;
    std::stringstream in(value);
    for (std::string part; std::getline(in, part, ':');) {
        if (!part.empty()) {
            dirs.emplace_back(part);
        }
    }
    return dirs;
}

fs::path HomeOr(const char* variable, const char* belowHome) {
    if (const char* value = std::getenv(variable); value && *value) {
        return value;
    }
    const char* home = std::getenv("HOME");
    return fs::path(home ? home : "/") / belowHome;
}

std::optional<std::string> ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

std::string Trim(std::string text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.back())) {
        text.pop_back();
    }
    size_t start = 0;
    while (start < text.size() && blank(text[start])) {
        ++start;
    }
    return text.substr(start);
}

/// The value of key in the group of a desktop-entry style file ("[group]", "key=value").
std::optional<std::string> GroupValue(const std::string& text, const std::string& group,
                                      const std::string& key) {
    bool inGroup = false;
    for (const std::string& raw : Lines(text)) {
        const std::string line = Trim(raw);
        if (!line.empty() && line.front() == '[') {
            inGroup = line == group;
            continue;
        }
        const size_t eq = line.find('=');
        if (inGroup && eq != std::string::npos && Trim(line.substr(0, eq)) == key) {
            return Trim(line.substr(eq + 1));
        }
    }
    return std::nullopt;
}

std::vector<fs::path> MimeAppsLists(const TAssociationFolders& f) {
    std::vector<fs::path> lists{f.ConfigHome / "mimeapps.list"};
    for (const fs::path& dir : f.ConfigDirs) {
        lists.push_back(dir / "mimeapps.list");
    }
    lists.push_back(f.DataHome / "applications" / "mimeapps.list");
    for (const fs::path& dir : f.DataDirs) {
        lists.push_back(dir / "applications" / "mimeapps.list");
    }
    return lists;
}

std::vector<fs::path> ApplicationDirs(const TAssociationFolders& f) {
    std::vector<fs::path> dirs{f.DataHome / "applications"};
    for (const fs::path& dir : f.DataDirs) {
        dirs.push_back(dir / "applications");
    }
    return dirs;
}

std::optional<fs::path> FindDesktopEntry(const TAssociationFolders& f, const std::string& id) {
    for (const fs::path& dir : ApplicationDirs(f)) {
        std::error_code ec;
        if (fs::is_regular_file(dir / id, ec)) {
            return dir / id;
        }
    }
    return std::nullopt;
}

/// The desktop entry that opens model files: the first default the lists name that exists,
/// else the first entry (in folder and name order) that declares the type.
std::optional<fs::path> DefaultHandler(const TAssociationFolders& f) {
    for (const fs::path& list : MimeAppsLists(f)) {
        const auto text = ReadFile(list);
        const auto value = text ? GroupValue(*text, kDefaults, kModelMimeType) : std::nullopt;
        if (!value) {
            continue;
        }
        std::stringstream ids(*value);
        for (std::string id; std::getline(ids, id, ';');) {
            if (auto entry = FindDesktopEntry(f, Trim(id))) {
                return entry;
            }
        }
    }
    for (const fs::path& dir : ApplicationDirs(f)) {
        std::error_code ec;
        std::vector<fs::path> entries;
        for (const auto& item : fs::directory_iterator(dir, ec)) {
            if (item.path().extension() == ".desktop") {
                entries.push_back(item.path());
            }
        }
        std::sort(entries.begin(), entries.end());
        for (const fs::path& entry : entries) {
            const auto text = ReadFile(entry);
            const auto types =
                text ? GroupValue(*text, "[Desktop Entry]", "MimeType") : std::nullopt;
            if (types && (";" + *types + ";").find(std::string(";") + kModelMimeType + ";") !=
                             std::string::npos) {
                return entry;
            }
        }
    }
    return std::nullopt;
}

/// mimeapps.list text with the model type's default set to our entry (or removed).
std::string WithDefault(const std::string& text, bool set) {
    std::vector<std::string> out;
    bool inDefaults = false;
    bool written = false;
    const std::string ours = std::string(kModelMimeType) + "=" + kDesktopId;
    for (const std::string& line : Lines(text)) {
        const std::string trimmed = Trim(line);
        if (!trimmed.empty() && trimmed.front() == '[') {
            if (inDefaults && set && !written) {
                out.push_back(ours);
                written = true;
            }
            inDefaults = trimmed == kDefaults;
            out.push_back(line);
            continue;
        }
        const size_t eq = trimmed.find('=');
        if (inDefaults && eq != std::string::npos &&
            Trim(trimmed.substr(0, eq)) == kModelMimeType) {
            if (set) {
                if (!written) {
                    out.push_back(ours);
                    written = true;
                }
                continue;
            }
            // Removing takes away only our own default; one the user chose stays.
            if (!set && Trim(trimmed.substr(eq + 1)).rfind(kDesktopId, 0) == 0) {
                continue;
            }
        }
        out.push_back(line);
    }
    if (set && !written) {
        if (!inDefaults) {
            if (!out.empty() && !out.back().empty()) {
                out.emplace_back();
            }
            out.emplace_back(kDefaults);
        }
        out.push_back(ours);
    }
    std::string joined;
    for (const std::string& line : out) {
        joined += line + "\n";
    }
    return joined;
}

std::string DesktopEntry(const std::string& executable, const std::string& icon) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Korvex designer\n"
           "GenericName=Construction Kit Designer\n"
           "GenericName[de]=Baukasten-Konstruktion\n"
           "Comment=Build, move and document models of a construction kit in 3D\n"
           "Comment[de]=Modelle eines Konstruktionsbaukastens in 3D bauen, bewegen und "
           "dokumentieren\n"
           "Exec=\"" +
           executable +
           "\" %f\n"
           "TryExec=" +
           executable +
           "\n"
           "Icon=" +
           icon +
           "\n"
           "Terminal=false\n"
           "MimeType=" +
           kModelMimeType +
           ";\n"
           "Categories=Graphics;3DGraphics;Engineering;Qt;\n";
}

std::string MimePackage() {
    return std::string(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
               "  <mime-type type=\"") +
           kModelMimeType +
           "\">\n"
           "    <comment>Korvex designer model</comment>\n"
           "    <comment xml:lang=\"de\">Korvex-designer-Modell</comment>\n"
           "    <sub-class-of type=\"text/plain\"/>\n"
           "    <generic-icon name=\"korvex-designer\"/>\n"
           "    <glob pattern=\"*.kxm\" case-sensitive=\"false\"/>\n"
           "  </mime-type>\n"
           "</mime-info>\n";
}

/// One file of the association, with what it held before so a failure can put it back.
struct TChange {
    fs::path File;
    std::optional<std::string> NewText;  ///< none: the file is removed
    std::optional<std::string> OldText;  ///< none: there was no file
};

bool Put(const fs::path& file, const std::optional<std::string>& text, std::string& error) {
    std::error_code ec;
    if (!text) {
        if (!fs::remove(file, ec) && ec) {
            error = file.string() + ": " + ec.message();
            return false;
        }
        return true;
    }
    fs::create_directories(file.parent_path(), ec);
    if (ec) {
        error = file.parent_path().string() + ": " + ec.message();
        return false;
    }
    TAtomicFile out(file);
    if (!out.Write(*text) || !out.Commit()) {
        error = file.string() + ": " + out.Error();
        return false;
    }
    return true;
}

TAssociationResult Apply(std::vector<TChange> changes) {
    TAssociationResult result;
    for (TChange& change : changes) {
        change.OldText = ReadFile(change.File);
    }
    for (size_t i = 0; i < changes.size(); ++i) {
        if (!Put(changes[i].File, changes[i].NewText, result.Error)) {
            // Back to where the user was: a half association opens nothing and hides the
            // handler the desktop had before.
            std::string ignored;
            for (size_t j = 0; j < i; ++j) {
                Put(changes[j].File, changes[j].OldText, ignored);
            }
            return result;
        }
    }
    result.Ok = true;
    return result;
}

}  // namespace

TAssociationFolders AssociationFoldersFromEnvironment() {
    TAssociationFolders f;
    f.DataHome = HomeOr("XDG_DATA_HOME", ".local/share");
    f.ConfigHome = HomeOr("XDG_CONFIG_HOME", ".config");
    f.DataDirs = SplitDirs(std::getenv("XDG_DATA_DIRS"), {"/usr/local/share", "/usr/share"});
    f.ConfigDirs = SplitDirs(std::getenv("XDG_CONFIG_DIRS"), {"/etc/xdg"});
    return f;
}

std::string CleanOpenCommand(std::string text) {
    if (const size_t percent = text.find('%'); percent != std::string::npos) {
        text.erase(percent);
    }
    if (!text.empty() && text.front() == '"') {
        text.erase(0, 1);
    }
    if (!text.empty() && text.back() == '"') {
        text.pop_back();
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '"')) {
        text.pop_back();
    }
    return text;
}

std::string AssociatedProgram(const TAssociationFolders& folders) {
    const auto entry = DefaultHandler(folders);
    const auto text = entry ? ReadFile(*entry) : std::nullopt;
    const auto exec = text ? GroupValue(*text, "[Desktop Entry]", "Exec") : std::nullopt;
    return exec ? CleanOpenCommand(*exec) : std::string();
}

bool UserAssociationInstalled(const TAssociationFolders& folders) {
    std::error_code ec;
    const auto list = ReadFile(folders.ConfigHome / "mimeapps.list");
    const auto value = list ? GroupValue(*list, kDefaults, kModelMimeType) : std::nullopt;
    return fs::is_regular_file(folders.DataHome / "applications" / kDesktopId, ec) &&
           fs::is_regular_file(folders.DataHome / "mime" / "packages" / kMimePackage, ec) &&
           value && value->rfind(kDesktopId, 0) == 0;
}

TAssociationResult InstallUserAssociation(const TAssociationFolders& folders,
                                          const std::string& executable, const std::string& icon) {
    Stack().Push("InstallUserAssociation", executable);
    const fs::path list = folders.ConfigHome / "mimeapps.list";
    return Apply({
        {folders.DataHome / "applications" / kDesktopId, DesktopEntry(executable, icon), {}},
        {folders.DataHome / "mime" / "packages" / kMimePackage, MimePackage(), {}},
        {list, WithDefault(ReadFile(list).value_or(""), true), {}},
    });
}

TAssociationResult RemoveUserAssociation(const TAssociationFolders& folders) {
    Stack().Push("RemoveUserAssociation");
    const fs::path list = folders.ConfigHome / "mimeapps.list";
    std::vector<TChange> changes{
        {folders.DataHome / "applications" / kDesktopId, std::nullopt, {}},
        {folders.DataHome / "mime" / "packages" / kMimePackage, std::nullopt, {}},
    };
    if (const auto text = ReadFile(list)) {
        changes.push_back({list, WithDefault(*text, false), {}});
    }
    return Apply(std::move(changes));
}

}  // namespace kx
