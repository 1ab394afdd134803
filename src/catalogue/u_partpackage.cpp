// Part packages: writing, checking and unpacking the six files of one library part.
#include "catalogue/u_partpackage.h"

#include <cstring>
#include <fstream>
#include <system_error>
#include <vector>

#include "catalogue/u_defObj.h"
#include "catalogue/u_partcache.h"
#include "catalogue/u_partfiles.h"
#include "foundation/u_language.h"
#include "foundation/u_stack.h"
#include "foundation/u_text.h"

namespace fs = std::filesystem;

namespace kx {

namespace {

constexpr size_t LengthsOffset = 16;
constexpr size_t NumberOffset = 40;
constexpr size_t NumberSize = 5;

std::string Text(std::string_view section, int key, std::string_view def) {
    return Language().GetText(section, key, def);
}

std::string Fill(std::string text, std::string_view value) {
    const size_t at = text.find("%s");
    if (at != std::string::npos) {
        text.replace(at, 2, value);
    }
    return text;
}

void PutUint32(std::string& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + static_cast<size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFFu);
    }
}

uint32_t GetUint32(std::string_view bytes, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) {
        v = (v << 8) | static_cast<unsigned char>(bytes[at + static_cast<size_t>(i)]);
    }
    return v;
}

std::string MemberFileName(std::string_view number, TPackageMember m) {
    return std::string(number) + "." + std::string(PackageMemberPlace(m).Ext);
}

/// The part's display name from its definition bytes, the number if it has none.
std::string PartName(std::string_view definition, std::string_view number) {
    const TMiniDefObj mini = ParseMiniDefObj(definition, number, CurrentCatalogueSettings());
    return Trim(mini.Name).empty() ? std::string(number) : Trim(mini.Name);
}

/// One member on its way into the user folder.
struct TStagedFile {
    fs::path Target;
    fs::path Staged;  // the new bytes, beside the target
    fs::path Kept;    // the file the target was before, while the import may still fail
    bool Committed = false;
};

void RemoveQuietly(const fs::path& p) {
    std::error_code ec;
    fs::remove(p, ec);
}

/// Puts everything back as it was before the import began.
void RollBack(std::vector<TStagedFile>& staged) {
    for (auto it = staged.rbegin(); it != staged.rend(); ++it) {
        std::error_code ec;
        if (it->Committed) {
            fs::remove(it->Target, ec);
        }
        if (!it->Kept.empty() && fs::exists(it->Kept, ec)) {
            fs::rename(it->Kept, it->Target, ec);
        }
        RemoveQuietly(it->Staged);
    }
}

}  // namespace

TPackageMemberPlace PackageMemberPlace(TPackageMember member) {
    switch (member) {
        case TPackageMember::HiresMesh:
            return {"hires", "stl"};
        case TPackageMember::Icon:
            return {"icon", "bmp"};
        case TPackageMember::Definition:
            return {"def", "def"};
        case TPackageMember::LoresMesh:
            return {"lores", "stl"};
        case TPackageMember::PrintPicture:
            return {"icon/print", "jpg"};
        case TPackageMember::Normals:
            return {"hires", "nrm"};
    }
    return {"def", "def"};
}

bool IsPartNumber(std::string_view text) {
    if (text.size() != NumberSize) {
        return false;
    }
    for (const char c : text) {
        const bool ok = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
                        (c >= 'a' && c <= 'z') || c == '_' || c == '-';
        if (!ok) {
            return false;
        }
    }
    return true;
}

bool LooksLikePartPackage(std::string_view bytes) {
    return bytes.size() >= PartPackageMagic.size() &&
           bytes.substr(0, PartPackageMagic.size()) == PartPackageMagic;
}

bool IsPartPackageFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string start(PartPackageMagic.size(), '\0');
    in.read(start.data(), static_cast<std::streamsize>(start.size()));
    return in && LooksLikePartPackage(start);
}

std::string BuildPartPackage(const TPartPackage& package) {
    std::string bytes(PartPackageHeaderSize, '0');
    std::memcpy(bytes.data(), PartPackageMagic.data(), PartPackageMagic.size());
    for (size_t i = 0; i < PackageMemberCount; ++i) {
        PutUint32(bytes, LengthsOffset + 4 * i, static_cast<uint32_t>(package.Members[i].size()));
    }
    bytes.replace(NumberOffset, NumberSize, (package.Number + "XXXXX").substr(0, NumberSize));
    for (const std::string& m : package.Members) {
        bytes += m;
    }
    return bytes;
}

TPackageParse ParsePartPackage(std::string_view bytes) {
    TPackageParse result;
    if (bytes.size() < PartPackageHeaderSize || !LooksLikePartPackage(bytes)) {
        result.Error = TPackageError::NotAPackage;
        return result;
    }
    // Lengths are summed in 64 bits and each checked against what is left, so no length, however
    // large, can point past the end of the bytes read.
    std::array<uint32_t, PackageMemberCount> lengths{};
    uint64_t remaining = bytes.size() - PartPackageHeaderSize;
    for (size_t i = 0; i < PackageMemberCount; ++i) {
        lengths[i] = GetUint32(bytes, LengthsOffset + 4 * i);
        if (lengths[i] > remaining) {
            result.Error = TPackageError::Truncated;
            return result;
        }
        remaining -= lengths[i];
    }
    TPartPackage package;
    package.Number = std::string(bytes.substr(NumberOffset, NumberSize));
    if (!IsPartNumber(package.Number)) {
        result.Error = TPackageError::BadNumber;
        return result;
    }
    size_t at = PartPackageHeaderSize;
    for (size_t i = 0; i < PackageMemberCount; ++i) {
        package.Members[i] = std::string(bytes.substr(at, lengths[i]));
        at += lengths[i];
    }
    if (Trim(package.Member(TPackageMember::Definition)).empty()) {
        result.Error = TPackageError::BadDefinition;
        return result;
    }
    result.Package = std::move(package);
    return result;
}

std::optional<TPartPackage> CollectPartPackage(const TPartFiles& files, std::string_view number,
                                               std::string* missing) {
    TPartPackage package;
    package.Number = std::string(number);
    for (size_t i = 0; i < PackageMemberCount; ++i) {
        const auto member = static_cast<TPackageMember>(i);
        const TPackageMemberPlace place = PackageMemberPlace(member);
        const auto file = files.FindPart(place.Subdir, number, place.Ext);
        std::optional<std::string> bytes = file ? ReadFileBytes(*file) : std::nullopt;
        if (!bytes) {
            if (member == TPackageMember::Normals) {
                continue;
            }
            if (missing) {
                *missing = std::string(place.Subdir) + "/" + MemberFileName(number, member);
            }
            return std::nullopt;
        }
        package.Members[i] = std::move(*bytes);
    }
    return package;
}

TPartExportResult ExportPart(const TPartFiles& files, std::string_view number,
                             const fs::path& fileName) {
    Stack().Push("tkxmain.ExportPart", std::string(number), fileName.string());
    TPartExportResult result;
    const std::optional<TPartPackage> package = CollectPartPackage(files, number, &result.Detail);
    if (!package) {
        result.Status = TExportStatus::MissingFile;
        return result;
    }
    if (!WriteFileAtomic(fileName, BuildPartPackage(*package), &result.Detail)) {
        result.Status = TExportStatus::NotWritten;
    }
    return result;
}

std::string PartPackageFileName(std::string_view chosen) {
    std::string name(chosen);
    if (UpperCase(name).find(".PART") == std::string::npos) {
        name += ".part";
    }
    return name;
}

TImportPackageResult ImportPart(TPartFiles& files, const fs::path& fileName, const TAskYesNo& ask) {
    Stack().Push("tkxmain.ImportPart", fileName.string());
    const std::optional<std::string> bytes = ReadFileBytes(fileName);
    if (!bytes) {
        TImportPackageResult result;
        result.Message = Fill(Text("PARTPACKAGE", 1, "Die Datei %s konnte nicht gelesen werden."),
                              fileName.string());
        return result;
    }
    return ImportPartBytes(files, *bytes, ask);
}

TImportPackageResult ImportPartBytes(TPartFiles& files, std::string_view bytes,
                                     const TAskYesNo& ask) {
    TImportPackageResult result;
    TPackageParse parse = ParsePartPackage(bytes);
    switch (parse.Error) {
        case TPackageError::None:
            break;
        case TPackageError::NotAPackage:
            result.Message = Text("PARTPACKAGE", 2, "Die Datei ist kein Bauteil-Paket.");
            return result;
        case TPackageError::Truncated:
            result.Message = Text("PARTPACKAGE", 3,
                                  "Das Bauteil-Paket ist unvollständig oder beschädigt: seine "
                                  "Längenangaben passen nicht zur Dateigröße.");
            return result;
        case TPackageError::BadNumber:
            result.Message =
                Text("PARTPACKAGE", 4, "Das Bauteil-Paket enthält keine gültige Bauteilnummer.");
            return result;
        case TPackageError::BadDefinition:
            result.Message =
                Text("PARTPACKAGE", 5, "Das Bauteil-Paket enthält keine Bauteildefinition.");
            return result;
    }
    const TPartPackage& package = *parse.Package;
    result.Number = package.Number;

    // The question names the part the package carries and, when one of that number is already
    // there (shipped or the user's), the one it would replace.
    const std::string newName =
        PartName(package.Member(TPackageMember::Definition), package.Number);
    bool exists = false;
    for (size_t i = 0; i < PackageMemberCount && !exists; ++i) {
        const TPackageMemberPlace place = PackageMemberPlace(static_cast<TPackageMember>(i));
        exists = files.FindPart(place.Subdir, package.Number, place.Ext).has_value();
    }
    std::string question;
    if (exists) {
        std::string oldName = package.Number;
        if (const auto def = files.FindDef(package.Number)) {
            if (const auto old = ReadFileBytes(*def)) {
                oldName = PartName(*old, package.Number);
            }
        }
        question = Fill(Fill(Fill(Text("PARTPACKAGE", 6,
                                       "Das Bauteil %s „%s“ ist bereits vorhanden. Soll es durch "
                                       "„%s“ aus dem Paket ersetzt werden?"),
                                  package.Number),
                             oldName),
                        newName);
    } else {
        question = Fill(Fill(Text("MAINOBJ", 31, "Soll das Bauteil %s „%s“ importiert werden?"),
                             package.Number),
                        newName);
    }
    if (!ask(question)) {
        result.Status = TImportStatus::Cancelled;
        return result;
    }

    std::vector<TStagedFile> staged;
    std::string error;
    auto fail = [&](const std::string& why) {
        RollBack(staged);
        files.Refresh();
        result.Status = TImportStatus::Failed;
        result.Message =
            Fill(Text("PARTPACKAGE", 7, "Das Bauteil konnte nicht importiert werden: %s"), why);
        return result;
    };
    for (size_t i = 0; i < PackageMemberCount; ++i) {
        const auto member = static_cast<TPackageMember>(i);
        const TPackageMemberPlace place = PackageMemberPlace(member);
        TStagedFile f;
        f.Target = files.UserPath(place.Subdir, MemberFileName(package.Number, member));
        f.Staged = f.Target;
        f.Staged += ".kximport";
        std::error_code ec;
        fs::create_directories(f.Target.parent_path(), ec);
        if (ec) {
            return fail(f.Target.parent_path().string() + ": " + ec.message());
        }
        staged.push_back(f);
        if (!WriteFileAtomic(staged.back().Staged, package.Members[i], &error)) {
            return fail(error);
        }
    }
    for (TStagedFile& f : staged) {
        std::error_code ec;
        if (fs::exists(f.Target, ec)) {
            f.Kept = f.Target;
            f.Kept += ".kxkept";
            fs::rename(f.Target, f.Kept, ec);
            if (ec) {
                f.Kept.clear();
                return fail(f.Target.string() + ": " + ec.message());
            }
        }
        fs::rename(f.Staged, f.Target, ec);
        if (ec) {
            return fail(f.Target.string() + ": " + ec.message());
        }
        f.Committed = true;
    }
    for (const TStagedFile& f : staged) {
        if (!f.Kept.empty()) {
            RemoveQuietly(f.Kept);
        }
    }
    files.Refresh();
    DefCache().Invalidate(package.Number);
    FfCache().Invalidate(package.Number);
    result.Status = TImportStatus::Imported;
    result.Message =
        Fill(Text("PARTPACKAGE", 8, "Das Bauteil %s wurde importiert."), package.Number);
    return result;
}

}  // namespace kx
