// Part definitions (def/<number>.def): the full record, the library summary, readers and writer.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kx {

class TPartFiles;

inline constexpr int MaxDefChildren = 20;
inline constexpr int MaxDefConns = 240;

/// One connection point of a part. Copied by value wherever it is used.
struct TConn {
    int32_t Typ = 0;                 ///< kind; only connectors of different kinds join
    float Thick = 0;                 ///< gauge; only connectors of equal gauge join
    std::string Name = "noname";     ///< display name (language rule, as for the part)
    std::string NameDe = "noname";   ///< as read
    std::string NameEng = "noname";  ///< as read
    float X = 0, Y = 0, Z = 0;       ///< position in the part's frame, mesh units
    float PF = 0, RF = 0, TF = 0;    ///< pitch, roll, turn of the arrow on a placed part
    float PN = 0, RN = 0, TN = 0;    ///< pitch, roll, turn added when this part is joined by it

    bool operator==(const TConn&) const = default;
};

/// A whole part definition. The defaults are those of a missing file.
struct TDefObj {
    std::string Number;  ///< file name without ".def"
    std::string Path;    ///< full file name it was read from (empty if none was found)

    uint8_t Red = 80, Green = 80, Blue = 80;  ///< never all 0 after reading: black reads as grey
    double Alpha = 1;                         ///< opacity 0..1
    std::string Texture;                      ///< image file in icon/, empty for none
    int32_t TxWidth = 1;   ///< one texture repetition along X, mesh units (0 kept; see TexCoord)
    int32_t TxHeight = 1;  ///< one texture repetition along Y, mesh units (0 kept; see TexCoord)
    int32_t TxOfsX = 0;
    int32_t TxOfsY = 0;
    int32_t TxAlpha = 0;        ///< > 0: the image's top-left colour is transparent
    int32_t DisableShader = 0;  ///< non-zero: never drawn with the outline shader
    uint8_t Mirror = 0;         ///< 0..3, kept and written back

    std::string Name = "noname";     ///< display name in the reader's language
    std::string NameDe = "noname";   ///< as read
    std::string NameEng = "noname";  ///< as read
    double Price = 0;
    uint8_t Group = 0;      ///< library category
    std::string OrgNumber;  ///< article number shown to the user
    int32_t Printable = 1;
    bool Hide = false;
    int32_t SortOrder = 0;
    int32_t KineRot = 0;  ///< 0/1 X axis, 2/3 Y axis, 4/5 Z axis
    int32_t Teeth = 1;
    int32_t Version = 0;

    double OffsetX = 0, OffsetY = 0, OffsetZ = 0;  ///< mesh shift in the part's frame

    /// Child definition numbers of a composite part (at most MaxDefChildren; the file's
    /// CHILDS/COUNT is the size of this list).
    std::vector<std::string> Children;
    /// Connectors in file order (at most MaxDefConns; CONNECTIONS/COUNT is the size).
    std::vector<TConn> Conns;

    int ChildCount() const { return static_cast<int>(Children.size()); }
    int ConnCount() const { return static_cast<int>(Conns.size()); }
    /// Child i, counted from 1 as in the file and everywhere else in the program.
    const std::string& Child(int i) const { return Children.at(static_cast<size_t>(i - 1)); }
    /// Connector i, counted from 1: that index identifies a connector in models and tools.
    const TConn& Conn(int i) const { return Conns.at(static_cast<size_t>(i - 1)); }

    /// Red + 256 * Green + 65536 * Blue.
    uint32_t Color() const {
        return uint32_t(Red) | (uint32_t(Green) << 8) | (uint32_t(Blue) << 16);
    }

    /// Texture coordinate of a mesh point (x, y after the offset). A repeat size of 0 counts
    /// as 1 here so that it cannot divide by zero; the record keeps the 0 it was given.
    std::array<float, 2> TexCoord(float x, float y) const;

    bool operator==(const TDefObj&) const = default;
};

/// What the library needs of every definition, read fast from the [COMMON] lines only.
struct TMiniDefObj {
    bool Hide = false;
    std::string OrgNumber;
    std::string Name;
    int32_t Group = 0;
    int32_t SortOrder = 0;
    std::string Prefix;  ///< first five characters of the number
    int32_t Version = 0;

    bool operator==(const TMiniDefObj&) const = default;
};

/// The settings the readers depend on. The caller reads them once (from the settings store)
/// and passes them for a whole batch of files, so no file read touches the settings.
struct TCatalogueSettings {
    std::string Language = "DEUTSCH";  ///< LANGUAGE
    bool CombineLibrary = false;       ///< COMBINELIBRARY = 1
    bool DeveloperMode = false;        ///< command-line developer mode: GetDef re-reads

    bool IsGerman() const;  ///< Language, upper-cased, is "DEUTSCH"
};

/// The settings as the settings store has them now (LANGUAGE, COMBINELIBRARY, developer mode).
TCatalogueSettings CurrentCatalogueSettings();

/// Raised by the library reader when a definition file cannot be opened.
class TDefFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// --- Readers ----------------------------------------------------------------------------------

/// Full definition from the text of a .def file (Windows-1252 bytes). Never fails: every
/// missing key or unreadable number falls back to its default.
TDefObj ParseDefObj(std::string_view bytes, std::string_view number,
                    const TCatalogueSettings& settings = {});

/// Full definition from a file. A file that is missing or unreadable gives a record of
/// defaults; Number and Path are set either way.
TDefObj ReadDefObj(const std::filesystem::path& file, std::string_view number,
                   const TCatalogueSettings& settings = {});

/// Full definition of a number, looked up through the part files (user folder first, any
/// letter case). Without a file, Path is where the program would write it (user folder).
TDefObj ReadDefObj(const TPartFiles& files, std::string_view number,
                   const TCatalogueSettings& settings = {});

/// Library summary from the text of a .def file.
TMiniDefObj ParseMiniDefObj(std::string_view bytes, std::string_view number,
                            const TCatalogueSettings& settings = {});

/// Library summary from a file; throws TDefFileError if the file cannot be opened.
TMiniDefObj ReadMiniDefObj(const std::filesystem::path& file, std::string_view number,
                           const TCatalogueSettings& settings = {});

// --- Writers ----------------------------------------------------------------------------------

/// The canonical text of a definition, as UTF-8 lines (the file holds them as Windows-1252
/// with CR LF).
std::vector<std::string> DefinitionLines(const TDefObj& def);

/// The canonical file bytes (Windows-1252, CR LF).
std::string DefinitionBytes(const TDefObj& def);

/// Writes the canonical form atomically to file (empty: def.Path). False if it cannot be
/// written; the old file then stays as it was.
bool SaveDefinition(const TDefObj& def, const std::filesystem::path& file = {});

/// Writes the canonical form to def/<Number>.def of the user folder and refreshes the index,
/// so the next lookup finds the new file.
bool SaveDefinition(const TDefObj& def, TPartFiles& files);

// --- Edits of definition files as text --------------------------------------------------------

enum class TDefEditResult { Ok, NotFound, NotWritten };

/// Raises the revision in the lines of a definition: every "VERSION=" line gets its value + 1
/// ("Version=1" after "[COMMON]" if there is none).
void BumpVersionLines(std::vector<std::string>& lines);

/// Publishing a new revision: reads source, writes target (they may be the same file).
TDefEditResult BumpDefinitionVersion(const std::filesystem::path& source,
                                     const std::filesystem::path& target);

/// Publishing a new revision of a number: the definition found through the part files is
/// written, raised, to the user folder.
TDefEditResult BumpDefinitionVersion(TPartFiles& files, std::string_view number);

/// The edits of a part copied under a new number: article number, colour and category lines.
void CopyEditLines(std::vector<std::string>& lines, std::string_view targetNumber, int red,
                   int green, int blue, int group);

/// Copies a definition file as text with CopyEditLines applied.
TDefEditResult CopyDefinition(const std::filesystem::path& source,
                              const std::filesystem::path& target, std::string_view targetNumber,
                              int red, int green, int blue, int group);

/// Copies the definition of a number under a new number into the user folder. The caller has
/// made sure the new number is free (files.FindDef).
TDefEditResult CopyDefinition(TPartFiles& files, std::string_view sourceNumber,
                              std::string_view targetNumber, int red, int green, int blue,
                              int group);

// --- Category names ---------------------------------------------------------------------------

/// A lookup in the language table: section, key number, default text.
using TGetText =
    std::function<std::string(std::string_view section, int key, std::string_view def)>;

/// Display name of a library category: entry `group` of section "GROUPS", "?" if none.
std::string GroupName(int group, const TGetText& getText);
/// The same from the program's language table.
std::string GroupName(int group);

}  // namespace kx
