// The settings store: the user's persistent settings, the program folder and the command line.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kx {

/// Antialiasing mode of the 3D view.
enum class TAntialias { Default, None, x2, x2HQ, x4, x4HQ };

/// What the command line selects.
struct TCommandLine {
    bool DeveloperMode = false;   ///< first argument "SUPERMODUS"
    bool ReducedLibrary = false;  ///< "MINI" as first or second argument
    std::string StartFile;        ///< otherwise all arguments joined with blanks, trimmed
};

/// args without the program name; words compared ignoring case.
TCommandLine ParseCommandLine(const std::vector<std::string>& args);

/// The per-user data folder with a trailing "/": $XDG_DATA_HOME/korvex-designer/
/// (~/.local/share/korvex-designer/ by default).
std::string UserDataDir();
/// The folder of the user's settings file: $KORVEX_CONFIG_DIR, else
/// $XDG_CONFIG_HOME/korvex-designer (~/.config/korvex-designer by default).
std::filesystem::path UserConfigDir();
/// The folder of the read-only machine-wide settings: $KORVEX_SYSTEM_CONFIG_DIR, else
/// /etc/xdg/korvex-designer.
std::filesystem::path SystemConfigDir();
/// The folder of the running executable with a trailing "/".
std::string ExecutableDir();
/// Where the program's data (kit, language files, samples, help) live, with a trailing "/": beside
/// the executable when it runs from the build tree, else ../share/korvex-designer/ of an
/// installed program's bin folder.
std::string ProgramDataDir(const std::filesystem::path& executableDir);

class TSettingsFile;

/// Typed access to the settings file "settings.ini". There is no state of its own beyond a
/// cache of the file: every get sees the latest set made by any store object or any other
/// running program, every set is written at once. A stored value of the wrong type reads as
/// the default (and leaves a trace entry). A set that cannot be written throws
/// std::runtime_error.
class TkxParam {
public:
    /// Settings in UserConfigDir() and SystemConfigDir(); reads the command line.
    explicit TkxParam(const std::vector<std::string>& args = {});
    TkxParam(const std::vector<std::string>& args, const std::filesystem::path& configDir,
             const std::filesystem::path& systemConfigDir);
    ~TkxParam();
    TkxParam(const TkxParam&) = delete;
    TkxParam& operator=(const TkxParam&) = delete;

    std::string ProgramDir;  ///< folder of the program's data, trailing "/" (ProgramDataDir)
    std::string HelpFile;    ///< the help's index page: help/de/index.html, or help/en/index.html
    bool DeveloperMode = false;
    bool ReducedLibrary = false;
    std::string StartFile;

    // --- Settings ---------------------------------------------------------------------------
    uint32_t GetBackgroundColor3D();  ///< default 0x8000000F, the system's button face colour
    void SetBackgroundColor3D(uint32_t value);
    /// The user's LANGUAGE, else the machine-wide one (which is then written to the user's
    /// settings), else "DEUTSCH".
    std::string GetLanguage();
    void SetLanguage(const std::string& value);
    TAntialias GetAntialias();
    void SetAntialias(TAntialias value);
    bool GetPaintOldWhite();  ///< true when missing or 1
    void SetPaintOldWhite(bool value);
    bool GetHideOtherStages();
    void SetHideOtherStages(bool value);
    std::string GetLastFile(int n);  ///< slot 1 ... 8
    void SetLastFile(int n, const std::string& path);
    bool GetLpeMode();  ///< always false
    void SetLpeMode(bool value);
    bool GetLpeBox(int n);  ///< box 1 ... 4
    void SetLpeBox(int n, bool value);
    std::vector<std::string> GetLastPythonScript();  ///< the script's lines
    void SetLastPythonScript(const std::vector<std::string>& lines);
    bool GetUsePython();
    void SetUsePython(bool value);
    int32_t GetCountFavourites();
    void SetCountFavourites(int32_t value);
    int32_t GetConnWindowTop();
    void SetConnWindowTop(int32_t value);
    int32_t GetConnWindowLeft();
    void SetConnWindowLeft(int32_t value);
    int32_t GetPhaseWindowTop();
    void SetPhaseWindowTop(int32_t value);
    int32_t GetPhaseWindowLeft();
    void SetPhaseWindowLeft(int32_t value);
    int32_t GetPhaseWindowWidth();
    void SetPhaseWindowWidth(int32_t value);
    int32_t GetPhaseWindowHeight();
    void SetPhaseWindowHeight(int32_t value);
    bool GetCombineLibrary();
    void SetCombineLibrary(bool value);
    int32_t GetLastGroup();
    void SetLastGroup(int32_t value);
    int32_t GetLibraryHeight();
    void SetLibraryHeight(int32_t value);
    int32_t GetGridDistance();
    void SetGridDistance(int32_t value);
    int32_t GetPartPanelHeight();
    void SetPartPanelHeight(int32_t value);
    int32_t GetOutlineWidth();
    void SetOutlineWidth(int32_t value);
    bool GetOutlineModeAtStart();  ///< any non-zero value reads as true
    void SetOutlineModeAtStart(bool value);
    int32_t GetJog(int n);  ///< sector 1 ... 8
    void SetJog(int n, int32_t value);
    std::string GetLastCollectionFile();
    void SetLastCollectionFile(const std::string& value);
    /// Minutes between two recovery copies of a changed model; 0 or less switches them off.
    int32_t GetAutosaveMinutes();  ///< default 5
    void SetAutosaveMinutes(int32_t value);
    /// The stored text split at every ";" (an empty text gives no entries).
    std::vector<std::string> GetCustomColors();
    void SetCustomColors(const std::vector<std::string>& colors);

    /// Records a model file loaded or saved: a path already listed stays where it is; else
    /// it takes the highest free slot; else the list moves down and it takes slot 1.
    void DoLastFile(const std::string& path);

    // --- Named values, for settings of later parts of the program ----------------------------
    bool ValueExists(std::string_view name);
    int32_t ReadInteger(std::string_view name, int32_t def);
    void WriteInteger(std::string_view name, int32_t value);
    bool ReadBool(std::string_view name, bool def);  ///< true only for a stored 1
    void WriteBool(std::string_view name, bool value);
    std::string ReadString(std::string_view name, const std::string& def);
    /// The user's value, else the machine-wide one (so an administrator can set it for every
    /// user of a machine), else def. Unlike GetLanguage nothing is copied to the user.
    std::string ReadSharedString(std::string_view name, const std::string& def);
    void WriteString(std::string_view name, const std::string& value);
    void DeleteValue(std::string_view name);

    const std::filesystem::path& SettingsFile() const;

private:
    std::unique_ptr<TSettingsFile> m_user;
    std::unique_ptr<TSettingsFile> m_system;
};

/// The program's settings store. Program start installs it (after the trace stack); until
/// then the first call creates one without command line.
TkxParam& Param();
/// Installs a store (null: none, so the next Param() creates a fresh one) and returns the
/// previous one.
std::unique_ptr<TkxParam> SetParam(std::unique_ptr<TkxParam> param);

}  // namespace kx
