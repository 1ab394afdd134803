// Part packages (.part): one library part's six files in one file, to pass a part on.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kx {

class TPartFiles;

/// The members of a package, in the order of their lengths and bytes in the file.
enum class TPackageMember { HiresMesh, Icon, Definition, LoresMesh, PrintPicture, Normals };
inline constexpr int PackageMemberCount = 6;

/// Where a member lives below a part folder: sub-folder and file extension.
struct TPackageMemberPlace {
    std::string_view Subdir;
    std::string_view Ext;
};
TPackageMemberPlace PackageMemberPlace(TPackageMember member);

/// The first 16 bytes of every package.
inline constexpr std::string_view PartPackageMagic = "2 TALVERO PART  ";
inline constexpr size_t PartPackageHeaderSize = 45;
inline constexpr std::string_view PartPackageFilter =
    "Bauteil (*.part)|*.part|Alle Dateien (*.*)|*.*";

struct TPartPackage {
    std::string Number;  ///< five characters
    std::array<std::string, PackageMemberCount> Members;
    const std::string& Member(TPackageMember m) const { return Members[static_cast<size_t>(m)]; }
};

/// A text that may name a part's files: five characters, ASCII letters, digits, "_" or "-".
/// Nothing else can leave the part folders or name a hidden or special file.
bool IsPartNumber(std::string_view text);

/// True if the bytes start like a package (the file manager's and the command line's test).
bool LooksLikePartPackage(std::string_view bytes);

/// True if the file starts like a package; the file manager offers "*.part" files of every kind
/// (partial downloads too), so the start of the file decides.
bool IsPartPackageFile(const std::filesystem::path& file);

/// The bytes of a package.
std::string BuildPartPackage(const TPartPackage& package);

enum class TPackageError { None, NotAPackage, Truncated, BadNumber, BadDefinition };

struct TPackageParse {
    std::optional<TPartPackage> Package;
    TPackageError Error = TPackageError::None;
};

/// Reads a package without trusting it: the magic, every length against the bytes there really
/// are, the number, and a definition member that reads as a definition.
TPackageParse ParsePartPackage(std::string_view bytes);

/// The six files of a library part as the part folders have them (user folder first). A
/// missing normals file gives an empty member; any other missing file gives nothing and its
/// path relative to the part folder in `missing`.
std::optional<TPartPackage> CollectPartPackage(const TPartFiles& files, std::string_view number,
                                               std::string* missing = nullptr);

enum class TExportStatus { Done, MissingFile, NotWritten };

struct TPartExportResult {
    TExportStatus Status = TExportStatus::Done;
    std::string Detail;  ///< the missing file or why the package could not be written
};

/// "Bauteil exportieren (.part)": collects the part's files and writes the package atomically.
TPartExportResult ExportPart(const TPartFiles& files, std::string_view number,
                             const std::filesystem::path& fileName);

/// The name a package is saved under: ".part" appended unless it contains ".PART" in any case.
std::string PartPackageFileName(std::string_view chosen);

enum class TImportStatus { Imported, Cancelled, Refused, Failed };

struct TImportPackageResult {
    TImportStatus Status = TImportStatus::Refused;
    std::string Number;   ///< the number inside the package, once it is known to be one
    std::string Message;  ///< what to tell the user (empty when cancelled)
};

/// Asks the user a yes/no question; true for yes.
using TAskYesNo = std::function<bool(const std::string& question)>;

/// Imports a package into the user folder. The whole package is checked before anything is
/// written; the question names the part and says when it replaces one already there. Every
/// member is written beside its target first and renamed into place only when all are written,
/// so a failure leaves every file as it was. The part-file index and the caches forget the
/// number, so the next lookup sees the imported files.
TImportPackageResult ImportPart(TPartFiles& files, const std::filesystem::path& fileName,
                                const TAskYesNo& ask);
/// The same for a package already read.
TImportPackageResult ImportPartBytes(TPartFiles& files, std::string_view bytes,
                                     const TAskYesNo& ask);

}  // namespace kx
