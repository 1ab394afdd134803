// The parts list: the model's parts counted per definition, as a CSV file and as the picture
// of the parts of one build phase.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/u_defObj.h"

namespace kx {

class TBauteilList;
class TPartFiles;
class TkxMain;

/// One row of the parts list.
struct TPrintData {
    std::string Number;  ///< definition number
    std::string Name;    ///< display name
    int32_t Count = 0;
    std::string OrgNumber;  ///< article number

    bool operator==(const TPrintData&) const = default;
};

/// Parts whose printable value is above 0, one row per definition number, sorted by number
/// (plain character order). Name and article number are read from the definition file.
std::vector<TPrintData> PartsListRows(const TBauteilList& parts, const TPartFiles& files,
                                      const TCatalogueSettings& settings);

/// The file's lines: the header in the program's language, then article number, name and
/// count of every row, quoted where a field needs it.
std::vector<std::string> PartsListCsvLines(const std::vector<TPrintData>& rows, bool german);

/// The name the parts list is saved under: ".csv" appended unless it contains ".CSV" in any
/// letter case.
std::string CsvFileName(std::string_view chosen);

/// "Einzelteilübersicht (*.csv)": writes the model's parts list as a Windows-1252 CR LF text
/// file, atomically. False (and why) if it could not be written; an old file then stays.
bool ExportAsCSV(const TkxMain& model, const std::filesystem::path& file,
                 std::string* error = nullptr);

/// "Bauteilnamen in Clipboard" (developer mode): a line render("number", LINE_NORMAL) for
/// every number, each ended by CR LF.
std::string TileNamesText(const std::vector<std::string>& numbers);

// --- The picture of a build phase's parts -----------------------------------------------------

/// Parts of one definition in the phase picture.
struct TPhasePartGroup {
    std::string Number;
    int32_t Count = 0;

    bool operator==(const TPhasePartGroup&) const = default;
};

/// The parts of a phase whose printable value is exactly 1, grouped by number in the order
/// of their records.
std::vector<TPhasePartGroup> PhasePartGroups(const TBauteilList& parts, int phase);

/// What the user chose in "Bauteile einer Bauphase zeichnen".
struct TPhasePictureOptions {
    int PerRow = 4;
    bool Frame = true;
    bool Counts = true;
    bool HighQuality = false;
};

/// Parts per row as typed: a text that is no number, or a number outside 1 to
/// kMaxPartsPerRow, gives the default 4.
int PartsPerRowFromText(std::string_view text);
inline constexpr int kMaxPartsPerRow = 64;

/// Where everything of the phase picture goes, in pixels.
struct TPhasePictureLayout {
    int CellWidth = 0;
    int CellHeight = 0;
    int ImageSize = 0;  ///< the square the part's picture takes
    int Columns = 0;
    int Rows = 0;
    int Width = 0;
    int Height = 0;

    struct TCell {
        int ImageX = 0, ImageY = 0;  ///< top-left of the picture
        int CountTop = 0;            ///< top of the count, centred under the picture
        int CountHeight = 0;
    };
    /// Cell of the i-th group (from 0): left to right, then the next row.
    TCell Cell(int index) const;
};

TPhasePictureLayout PhasePictureLayout(const TPhasePictureOptions& options, int groups);

}  // namespace kx
