// The settings store: the user's persistent settings, the program folder and the command line.
#include "foundation/u_param.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <system_error>
#include <unordered_map>

#include "foundation/u_help.h"
#include "foundation/u_stack.h"
#include "foundation/u_text.h"

namespace kx {

namespace {

constexpr char TypeInteger = 'i';
constexpr char TypeString = 's';

const char* const FileHeader =
    "# Korvex designer settings: NAME=i:<whole number> or NAME=s:<text>; "
    "in texts \\n, \\r and \\\\ stand for a line break, a carriage return and a backslash.";

std::string EnvOr(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::filesystem::path HomeDir() {
    std::string home = EnvOr("HOME");
    return home.empty() ? std::filesystem::path(".") : std::filesystem::path(home);
}

// An XDG base folder: the variable when it holds an absolute path, else the fallback below
// the home folder.
std::filesystem::path XdgDir(const char* variable, const char* fallback) {
    std::filesystem::path dir = EnvOr(variable);
    if (dir.empty() || !dir.is_absolute()) {
        dir = HomeDir() / fallback;
    }
    return dir;
}

std::string Escape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string Unescape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            const char next = text[i + 1];
            if (next == 'n' || next == 'r' || next == '\\') {
                out += next == 'n' ? '\n' : next == 'r' ? '\r' : '\\';
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

// A whole number as stored: decimal, optionally signed. Values up to 2^32-1 are accepted and
// wrap, so a colour written by hand as an unsigned number reads as what was meant.
std::optional<int32_t> ParseStoredInteger(std::string_view text) {
    const std::string trimmed = Trim(text);
    if (trimmed.empty()) {
        return std::nullopt;
    }
    const char* begin = trimmed.data();
    const char* end = begin + trimmed.size();
    if (*begin == '+') {
        ++begin;
    }
    int64_t value = 0;
    auto res = std::from_chars(begin, end, value);
    if (res.ec != std::errc() || res.ptr != end || value < INT32_MIN || value > UINT32_MAX) {
        return std::nullopt;
    }
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}

std::string SlotName(std::string_view prefix, int n) {
    return std::string(prefix) + IntToStr(n);
}

class TFd {
public:
    TFd() = default;
    explicit TFd(int fd) : m_fd(fd) {}
    ~TFd() { Reset(); }
    TFd(TFd&& other) noexcept : m_fd(other.m_fd) { other.m_fd = -1; }
    TFd& operator=(TFd&& other) noexcept {
        if (this != &other) {
            Reset();
            m_fd = other.m_fd;
            other.m_fd = -1;
        }
        return *this;
    }
    void Reset() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        m_fd = -1;
    }
    int Get() const { return m_fd; }
    bool Valid() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

std::optional<std::string> ReadAll(int fd) {
    std::string bytes;
    char buf[8192];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return std::nullopt;
        }
        if (n == 0) {
            return bytes;
        }
        bytes.append(buf, static_cast<size_t>(n));
    }
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec &&
           a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

}  // namespace

/// A value as stored: its type letter and its text.
struct TStoredValue {
    char Type = 0;
    std::string Text;
};

/// The lines of a settings file and where each name is. Lines the store does not understand
/// (comments, broken lines) are kept as they are, so a rewrite loses nothing.
class TSettingsData {
public:
    void Parse(std::string_view bytes) {
        m_lines = SplitLines(bytes);
        Reindex();
    }

    std::string Serialise() const {
        std::vector<std::string> lines = m_lines;
        if (lines.empty() || lines.front() != FileHeader) {
            lines.insert(lines.begin(), FileHeader);
        }
        return JoinLines(lines, "\n");
    }

    std::optional<TStoredValue> Get(std::string_view name) const {
        auto it = m_index.find(UpperCase(name));
        if (it == m_index.end()) {
            return std::nullopt;
        }
        const std::string& line = m_lines[it->second];
        std::string_view value = std::string_view(line).substr(line.find('=') + 1);
        TStoredValue stored;
        if (value.size() >= 2 && value[1] == ':') {
            stored.Type = value[0];
            stored.Text = Unescape(value.substr(2));
        } else {
            stored.Text = std::string(value);  // no type: matches no getter
        }
        return stored;
    }

    /// Sets or (with no value) removes a name; false when that changed nothing.
    bool Put(std::string_view name, const std::optional<TStoredValue>& value) {
        // A name that could not be read back would corrupt the line or shadow another value.
        if (name.empty() || name.find_first_of("=\r\n") != std::string_view::npos ||
            name.front() == '#' || Trim(name) != name) {
            throw std::invalid_argument("invalid settings name \"" + std::string(name) + "\"");
        }
        const std::string key = UpperCase(name);
        auto it = m_index.find(key);
        if (!value) {
            if (it == m_index.end()) {
                return false;
            }
            // Every line of the name goes, so a duplicate further down cannot come to light.
            std::erase_if(m_lines, [&](const std::string& line) { return NameOf(line) == key; });
            Reindex();
            return true;
        }
        std::string line = key + "=" + value->Type + ":" + Escape(value->Text);
        if (it != m_index.end()) {
            m_lines[it->second] = std::move(line);
        } else {
            m_index.emplace(key, m_lines.size());
            m_lines.push_back(std::move(line));
        }
        return true;
    }

private:
    // The upper-case name a line sets, or empty for comments and lines without "=".
    static std::string NameOf(const std::string& line) {
        const size_t eq = line.find('=');
        if (line.empty() || line.front() == '#' || eq == std::string::npos) {
            return {};
        }
        return UpperCase(Trim(std::string_view(line).substr(0, eq)));
    }

    void Reindex() {
        m_index.clear();
        for (size_t i = 0; i < m_lines.size(); ++i) {
            const std::string name = NameOf(m_lines[i]);
            if (!name.empty()) {
                m_index.emplace(name, i);
            }
        }
    }

    std::vector<std::string> m_lines;
    std::unordered_map<std::string, size_t> m_index;  // first line of each name
};

/// One settings file with a cache of its contents. The cache is checked against the file on
/// every read; the file it was read from is kept open, so its inode number cannot be reused
/// by a replacement and a changed inode always means a changed file.
class TSettingsFile {
public:
    explicit TSettingsFile(std::filesystem::path file)
        : m_file(std::move(file)), m_lockFile(m_file.string() + ".lock") {}

    const std::filesystem::path& File() const { return m_file; }

    std::optional<TStoredValue> Get(std::string_view name) {
        std::lock_guard lock(m_mutex);
        Refresh();
        return m_data.Get(name);
    }

    /// Changes the file under an exclusive lock, starting from what is on disk at that
    /// moment, so concurrent writers never lose each other's values. The change returns false
    /// when it left everything as it was; the file is not rewritten then.
    void Modify(const std::function<bool(TSettingsData&)>& change) {
        std::lock_guard lock(m_mutex);
        std::error_code ec;
        std::filesystem::create_directories(m_file.parent_path(), ec);
        TFd lockFd(::open(m_lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
        if (!lockFd.Valid()) {
            Fail(std::error_code(errno, std::generic_category()).message());
        }
        while (::flock(lockFd.Get(), LOCK_EX) != 0) {
            if (errno != EINTR) {
                Fail(std::error_code(errno, std::generic_category()).message());
            }
        }
        m_valid = false;
        Refresh();
        if (m_unreadable) {
            // Writing now would replace the user's settings with this one value.
            Fail("the file exists but cannot be read");
        }
        TSettingsData data = m_data;
        if (!change(data)) {
            return;
        }
        std::string error;
        if (!WriteFileAtomic(m_file, data.Serialise(), &error)) {
            Fail(error);
        }
        m_valid = false;
        Refresh();
    }

private:
    [[noreturn]] void Fail(const std::string& why) {
        throw std::runtime_error("cannot write the settings file " + m_file.string() + ": " + why);
    }

    // An unreadable file reads as empty (every value its default) and is tried again on the
    // next read; it is never written over.
    void Refresh() {
        struct stat now {};
        if (::stat(m_file.c_str(), &now) != 0) {
            const bool missing = errno == ENOENT || errno == ENOTDIR;
            if (!m_valid || m_held.Valid() || m_unreadable != !missing) {
                m_held.Reset();
                m_data = TSettingsData();
                m_valid = true;
                m_unreadable = !missing;
            }
            return;
        }
        if (m_valid && m_held.Valid() && SameFile(now, m_heldStat)) {
            return;
        }
        m_data = TSettingsData();
        m_held.Reset();
        m_valid = true;
        m_unreadable = true;
        TFd fd(::open(m_file.c_str(), O_RDONLY | O_CLOEXEC));
        struct stat st {};
        if (!fd.Valid() || ::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) {
            return;
        }
        if (auto bytes = ReadAll(fd.Get())) {
            m_data.Parse(*bytes);
            m_heldStat = st;
            m_held = std::move(fd);
            m_unreadable = false;
        }
    }

    std::mutex m_mutex;
    std::filesystem::path m_file;
    std::filesystem::path m_lockFile;
    bool m_valid = false;       // m_data reflects the file as it was at the last check
    bool m_unreadable = false;  // the file is there but could not be read
    TFd m_held;                 // the file m_data came from
    struct stat m_heldStat {};
    TSettingsData m_data;
};

// --- Free functions ---------------------------------------------------------------------------

TCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    TCommandLine result;
    result.DeveloperMode = !args.empty() && SameText(args[0], "SUPERMODUS");
    result.ReducedLibrary = (!args.empty() && SameText(args[0], "MINI")) ||
                            (args.size() > 1 && SameText(args[1], "MINI"));
    if (!result.DeveloperMode && !result.ReducedLibrary && !args.empty()) {
        std::string joined;
        for (size_t i = 0; i < args.size(); ++i) {
            if (i > 0) {
                joined += ' ';
            }
            joined += args[i];
        }
        result.StartFile = Trim(joined);
    }
    return result;
}

std::string UserDataDir() {
    return (XdgDir("XDG_DATA_HOME", ".local/share") / "korvex-designer").string() + "/";
}

std::filesystem::path UserConfigDir() {
    const std::string overridden = EnvOr("KORVEX_CONFIG_DIR");
    if (!overridden.empty()) {
        return overridden;
    }
    return XdgDir("XDG_CONFIG_HOME", ".config") / "korvex-designer";
}

std::filesystem::path SystemConfigDir() {
    const std::string overridden = EnvOr("KORVEX_SYSTEM_CONFIG_DIR");
    return overridden.empty() ? std::filesystem::path("/etc/xdg/korvex-designer")
                              : std::filesystem::path(overridden);
}

std::string ExecutableDir() {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    std::filesystem::path dir = ec ? std::filesystem::current_path(ec) : exe.parent_path();
    std::string text = dir.string();
    if (text.empty() || text.back() != '/') {
        text += '/';
    }
    return text;
}

std::string ProgramDataDir(const std::filesystem::path& executableDir) {
    std::error_code ec;
    std::filesystem::path dir = executableDir.lexically_normal();
    if (!dir.has_filename()) {
        dir = dir.parent_path();
    }
    // The kit's definitions mark a data folder: the build tree has them beside the program.
    if (!std::filesystem::is_directory(dir / "def", ec)) {
        const std::filesystem::path shared = dir.parent_path() / "share" / "korvex-designer";
        if (std::filesystem::is_directory(shared / "def", ec)) {
            dir = shared;
        }
    }
    std::string text = dir.lexically_normal().string();
    if (text.empty() || text.back() != '/') {
        text += '/';
    }
    return text;
}

// --- TkxParam ---------------------------------------------------------------------------------

TkxParam::TkxParam(const std::vector<std::string>& args)
    : TkxParam(args, UserConfigDir(), SystemConfigDir()) {}

TkxParam::TkxParam(const std::vector<std::string>& args, const std::filesystem::path& configDir,
                   const std::filesystem::path& systemConfigDir)
    : m_user(std::make_unique<TSettingsFile>(configDir / "settings.ini")),
      m_system(std::make_unique<TSettingsFile>(systemConfigDir / "settings.ini")) {
    ProgramDir = ProgramDataDir(ExecutableDir());
    // The help follows the language the program starts with, as its texts do until a change.
    HelpFile = (HelpFolder(ProgramDir, GetLanguage()) / "index.html").string();
    const TCommandLine commandLine = ParseCommandLine(args);
    DeveloperMode = commandLine.DeveloperMode;
    ReducedLibrary = commandLine.ReducedLibrary;
    StartFile = commandLine.StartFile;
}

TkxParam::~TkxParam() = default;

const std::filesystem::path& TkxParam::SettingsFile() const {
    return m_user->File();
}

namespace {

// A stored value of another type than the reader expects reads as missing; the trace keeps
// a note of it for the next error report.
std::optional<std::string> Typed(const std::optional<TStoredValue>& stored, char type,
                                 std::string_view name) {
    if (!stored) {
        return std::nullopt;
    }
    if (stored->Type != type) {
        Stack().Push("TkxParam.WrongType", std::string(name),
                     std::string(1, type == TypeInteger ? 'i' : 's'));
        return std::nullopt;
    }
    return stored->Text;
}

std::optional<int32_t> TypedInteger(const std::optional<TStoredValue>& stored,
                                    std::string_view name) {
    auto text = Typed(stored, TypeInteger, name);
    if (!text) {
        return std::nullopt;
    }
    auto value = ParseStoredInteger(*text);
    if (!value) {
        Stack().Push("TkxParam.WrongType", std::string(name), "i");
    }
    return value;
}

}  // namespace

bool TkxParam::ValueExists(std::string_view name) {
    return m_user->Get(name).has_value();
}

int32_t TkxParam::ReadInteger(std::string_view name, int32_t def) {
    return TypedInteger(m_user->Get(name), name).value_or(def);
}

void TkxParam::WriteInteger(std::string_view name, int32_t value) {
    m_user->Modify([&](TSettingsData& data) {
        data.Put(name, TStoredValue{TypeInteger, IntToStr(value)});
        return true;
    });
}

bool TkxParam::ReadBool(std::string_view name, bool def) {
    auto value = TypedInteger(m_user->Get(name), name);
    return value ? *value == 1 : def;
}

void TkxParam::WriteBool(std::string_view name, bool value) {
    WriteInteger(name, value ? 1 : 0);
}

std::string TkxParam::ReadString(std::string_view name, const std::string& def) {
    return Typed(m_user->Get(name), TypeString, name).value_or(def);
}
std::string TkxParam::ReadSharedString(std::string_view name, const std::string& def) {
    if (auto user = m_user->Get(name)) {
        return Typed(user, TypeString, name).value_or(def);
    }
    return Typed(m_system->Get(name), TypeString, name).value_or(def);
}

void TkxParam::WriteString(std::string_view name, const std::string& value) {
    m_user->Modify([&](TSettingsData& data) {
        data.Put(name, TStoredValue{TypeString, value});
        return true;
    });
}

void TkxParam::DeleteValue(std::string_view name) {
    m_user->Modify([&](TSettingsData& data) { return data.Put(name, std::nullopt); });
}

uint32_t TkxParam::GetBackgroundColor3D() {
    return static_cast<uint32_t>(
        ReadInteger("BACKGROUNDCOLOR3D", static_cast<int32_t>(0x8000000Fu)));
}
void TkxParam::SetBackgroundColor3D(uint32_t value) {
    WriteInteger("BACKGROUNDCOLOR3D", static_cast<int32_t>(value));
}

std::string TkxParam::GetLanguage() {
    if (auto user = m_user->Get("LANGUAGE")) {
        return Typed(user, TypeString, "LANGUAGE").value_or("DEUTSCH");
    }
    auto machine = Typed(m_system->Get("LANGUAGE"), TypeString, "LANGUAGE");
    if (!machine) {
        return "DEUTSCH";
    }
    try {
        SetLanguage(*machine);
    } catch (const std::exception& e) {
        // The language is still right for this run; the copy is only a convenience.
        Stack().Push("TkxParam.GetLanguage", e.what());
    }
    return *machine;
}
void TkxParam::SetLanguage(const std::string& value) {
    WriteString("LANGUAGE", value);
}

TAntialias TkxParam::GetAntialias() {
    switch (ReadInteger("ANTIALIAS", 0)) {
        case 1:
            return TAntialias::Default;
        case 2:
            return TAntialias::x2;
        case 3:
            return TAntialias::x2HQ;
        case 4:
            return TAntialias::x4;
        case 5:
            return TAntialias::x4HQ;
        default:
            return TAntialias::None;
    }
}
void TkxParam::SetAntialias(TAntialias value) {
    int32_t code = 0;
    switch (value) {
        case TAntialias::Default:
            code = 1;
            break;
        case TAntialias::x2:
            code = 2;
            break;
        case TAntialias::x2HQ:
            code = 3;
            break;
        case TAntialias::x4:
            code = 4;
            break;
        case TAntialias::x4HQ:
            code = 5;
            break;
        case TAntialias::None:
            code = 0;
            break;
    }
    WriteInteger("ANTIALIAS", code);
}

bool TkxParam::GetPaintOldWhite() {
    return ReadBool("PAINTOLDWHITE", true);
}
void TkxParam::SetPaintOldWhite(bool value) {
    WriteBool("PAINTOLDWHITE", value);
}
bool TkxParam::GetHideOtherStages() {
    return ReadBool("HIDEOTHERSTAGES", false);
}
void TkxParam::SetHideOtherStages(bool value) {
    WriteBool("HIDEOTHERSTAGES", value);
}

std::string TkxParam::GetLastFile(int n) {
    return ReadString(SlotName("LASTFILE", n), "");
}
void TkxParam::SetLastFile(int n, const std::string& path) {
    WriteString(SlotName("LASTFILE", n), path);
}

bool TkxParam::GetLpeMode() {
    return false;
}
void TkxParam::SetLpeMode(bool value) {
    WriteBool("LPEMODE", value);
}
bool TkxParam::GetLpeBox(int n) {
    return ReadBool(SlotName("LPEBOX", n), false);
}
void TkxParam::SetLpeBox(int n, bool value) {
    WriteBool(SlotName("LPEBOX", n), value);
}

std::vector<std::string> TkxParam::GetLastPythonScript() {
    return SplitLines(ReadString("LASTPYTHONSCRIPT", ""));
}
void TkxParam::SetLastPythonScript(const std::vector<std::string>& lines) {
    WriteString("LASTPYTHONSCRIPT", JoinLines(lines, "\r\n"));
}

bool TkxParam::GetUsePython() {
    return ReadBool("USEPYTHON", false);
}
void TkxParam::SetUsePython(bool value) {
    WriteBool("USEPYTHON", value);
}
int32_t TkxParam::GetAutosaveMinutes() {
    return ReadInteger("AUTOSAVEMINUTES", 5);
}
void TkxParam::SetAutosaveMinutes(int32_t value) {
    WriteInteger("AUTOSAVEMINUTES", value);
}
int32_t TkxParam::GetCountFavourites() {
    return ReadInteger("COUNTFAVOURITES", 8);
}
void TkxParam::SetCountFavourites(int32_t value) {
    WriteInteger("COUNTFAVOURITES", value);
}
int32_t TkxParam::GetConnWindowTop() {
    return ReadInteger("CONNWINDOWTOP", 10);
}
void TkxParam::SetConnWindowTop(int32_t value) {
    WriteInteger("CONNWINDOWTOP", value);
}
int32_t TkxParam::GetConnWindowLeft() {
    return ReadInteger("CONNWINDOWLEFT", 10);
}
void TkxParam::SetConnWindowLeft(int32_t value) {
    WriteInteger("CONNWINDOWLEFT", value);
}
int32_t TkxParam::GetPhaseWindowTop() {
    return ReadInteger("PHASEWINDOWTOP", 200);
}
void TkxParam::SetPhaseWindowTop(int32_t value) {
    WriteInteger("PHASEWINDOWTOP", value);
}
int32_t TkxParam::GetPhaseWindowLeft() {
    return ReadInteger("PHASEWINDOWLEFT", 200);
}
void TkxParam::SetPhaseWindowLeft(int32_t value) {
    WriteInteger("PHASEWINDOWLEFT", value);
}
int32_t TkxParam::GetPhaseWindowWidth() {
    return ReadInteger("PHASEWINDOWWIDTH", 64);
}
void TkxParam::SetPhaseWindowWidth(int32_t value) {
    WriteInteger("PHASEWINDOWWIDTH", value);
}
int32_t TkxParam::GetPhaseWindowHeight() {
    return ReadInteger("PHASEWINDOWHEIGHT", 64);
}
void TkxParam::SetPhaseWindowHeight(int32_t value) {
    WriteInteger("PHASEWINDOWHEIGHT", value);
}
bool TkxParam::GetCombineLibrary() {
    return ReadBool("COMBINELIBRARY", false);
}
void TkxParam::SetCombineLibrary(bool value) {
    WriteBool("COMBINELIBRARY", value);
}
int32_t TkxParam::GetLastGroup() {
    return ReadInteger("LASTGROUP", 0);
}
void TkxParam::SetLastGroup(int32_t value) {
    WriteInteger("LASTGROUP", value);
}
int32_t TkxParam::GetLibraryHeight() {
    return ReadInteger("LIBRARYHEIGHT", 125);
}
void TkxParam::SetLibraryHeight(int32_t value) {
    WriteInteger("LIBRARYHEIGHT", value);
}
int32_t TkxParam::GetGridDistance() {
    return ReadInteger("GRIDDISTANCE", 10);
}
void TkxParam::SetGridDistance(int32_t value) {
    WriteInteger("GRIDDISTANCE", value);
}
int32_t TkxParam::GetPartPanelHeight() {
    return ReadInteger("PARTPANELHEIGHT", 0);
}
void TkxParam::SetPartPanelHeight(int32_t value) {
    WriteInteger("PARTPANELHEIGHT", value);
}
int32_t TkxParam::GetOutlineWidth() {
    return ReadInteger("OUTLINEWIDTH", 3);
}
void TkxParam::SetOutlineWidth(int32_t value) {
    WriteInteger("OUTLINEWIDTH", value);
}
bool TkxParam::GetOutlineModeAtStart() {
    return ReadInteger("OUTLINEMODEATSTART", 0) != 0;
}
void TkxParam::SetOutlineModeAtStart(bool value) {
    WriteBool("OUTLINEMODEATSTART", value);
}

int32_t TkxParam::GetJog(int n) {
    static constexpr int32_t Defaults[8] = {14, 4, 5, 3, 1, 6, 12, 13};
    const int32_t def = n >= 1 && n <= 8 ? Defaults[n - 1] : 0;
    return ReadInteger(SlotName("JOG", n), def);
}
void TkxParam::SetJog(int n, int32_t value) {
    WriteInteger(SlotName("JOG", n), value);
}

std::string TkxParam::GetLastCollectionFile() {
    return ReadString("LASTCOLLECTIONFILE", "");
}
void TkxParam::SetLastCollectionFile(const std::string& value) {
    WriteString("LASTCOLLECTIONFILE", value);
}

std::vector<std::string> TkxParam::GetCustomColors() {
    const std::string stored = ReadString("CUSTOMCOLORS", "");
    std::vector<std::string> colors;
    if (stored.empty()) {
        return colors;
    }
    size_t start = 0;
    for (;;) {
        const size_t sep = stored.find(';', start);
        colors.push_back(stored.substr(start, sep - start));
        if (sep == std::string::npos) {
            return colors;
        }
        start = sep + 1;
    }
}
void TkxParam::SetCustomColors(const std::vector<std::string>& colors) {
    std::string joined;
    for (size_t i = 0; i < colors.size(); ++i) {
        if (i > 0) {
            joined += ';';
        }
        joined += colors[i];
    }
    WriteString("CUSTOMCOLORS", joined);
}

void TkxParam::DoLastFile(const std::string& path) {
    // One locked change, so two programs recording files at once cannot interleave.
    m_user->Modify([&](TSettingsData& data) {
        std::string slots[9];
        for (int n = 1; n <= 8; ++n) {
            const std::string name = SlotName("LASTFILE", n);
            slots[n] = Typed(data.Get(name), TypeString, name).value_or("");
            if (slots[n] == path) {
                return false;
            }
        }
        auto put = [&](int n, const std::string& value) {
            data.Put(SlotName("LASTFILE", n), TStoredValue{TypeString, value});
        };
        for (int n = 8; n >= 1; --n) {
            if (slots[n].empty()) {
                put(n, path);
                return true;
            }
        }
        for (int n = 8; n >= 2; --n) {
            put(n, slots[n - 1]);
        }
        put(1, path);
        return true;
    });
}

// --- The process-wide store -------------------------------------------------------------------

namespace {

std::unique_ptr<TkxParam>& CurrentParam() {
    static std::unique_ptr<TkxParam> current;
    return current;
}

}  // namespace

TkxParam& Param() {
    auto& current = CurrentParam();
    if (!current) {
        current = std::make_unique<TkxParam>();
    }
    return *current;
}

std::unique_ptr<TkxParam> SetParam(std::unique_ptr<TkxParam> param) {
    auto& current = CurrentParam();
    std::unique_ptr<TkxParam> previous = std::move(current);
    current = std::move(param);
    return previous;
}

}  // namespace kx
