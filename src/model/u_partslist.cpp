// The parts list: the model's parts counted per definition, as a CSV file and as the picture
// of the parts of one build phase.
#include "model/u_partslist.h"

#include <algorithm>
#include <unordered_map>

#include "catalogue/u_partfiles.h"
#include "foundation/u_csv.h"
#include "foundation/u_stack.h"
#include "foundation/u_text.h"
#include "model/MainObj.h"
#include "model/u_TBauteil.h"

namespace kx {

std::vector<TPrintData> PartsListRows(const TBauteilList& parts, const TPartFiles& files,
                                      const TCatalogueSettings& settings) {
    std::vector<TPrintData> rows;
    std::unordered_map<std::string, size_t> rowOf;
    for (const auto& record : parts) {
        if (record->Printable() <= 0) {
            continue;
        }
        const std::string number = record->GetShortName();
        const auto [it, added] = rowOf.try_emplace(number, rows.size());
        if (!added) {
            ++rows[it->second].Count;
            continue;
        }
        // The file is read again so that the list shows the definition as it is now, not as
        // it was when the part was placed.
        const TDefObj def = ReadDefObj(files, number, settings);
        rows.push_back({number, def.Name, 1, def.OrgNumber});
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const TPrintData& a, const TPrintData& b) { return a.Number < b.Number; });
    return rows;
}

std::vector<std::string> PartsListCsvLines(const std::vector<TPrintData>& rows, bool german) {
    std::vector<std::string> lines;
    lines.reserve(rows.size() + 1);
    lines.push_back(german ? "Nummer;Bezeichnung;Anzahl" : "Number;Text;Count");
    for (const TPrintData& row : rows) {
        lines.push_back(CsvLine({row.OrgNumber, row.Name, IntToStr(row.Count)}));
    }
    return lines;
}

std::string CsvFileName(std::string_view chosen) {
    std::string name(chosen);
    if (UpperCase(name).find(".CSV") == std::string::npos) {
        name += ".csv";
    }
    return name;
}

bool ExportAsCSV(const TkxMain& model, const std::filesystem::path& file, std::string* error) {
    Stack().Push("tkxmain.ExportAsCSV", file.string());
    const TCatalogueSettings settings = CurrentCatalogueSettings();
    const auto rows = PartsListRows(model.Parts(), model.Files(), settings);
    return WriteTextFile(file, PartsListCsvLines(rows, settings.IsGerman()), error);
}

std::string TileNamesText(const std::vector<std::string>& numbers) {
    std::string text;
    for (const std::string& number : numbers) {
        text += "render(\"" + number + "\", LINE_NORMAL)\r\n";
    }
    return text;
}

// --- The picture of a build phase's parts -----------------------------------------------------

std::vector<TPhasePartGroup> PhasePartGroups(const TBauteilList& parts, int phase) {
    std::vector<TPhasePartGroup> groups;
    std::unordered_map<std::string, size_t> groupOf;
    for (const auto& record : parts) {
        if (record->Phase() != phase || record->Printable() != 1) {
            continue;
        }
        const std::string number = record->GetShortName();
        const auto [it, added] = groupOf.try_emplace(number, groups.size());
        if (added) {
            groups.push_back({number, 1});
        } else {
            ++groups[it->second].Count;
        }
    }
    return groups;
}

int PartsPerRowFromText(std::string_view text) {
    const auto value = ParseInt(text);
    return value && *value >= 1 && *value <= kMaxPartsPerRow ? *value : 4;
}

TPhasePictureLayout PhasePictureLayout(const TPhasePictureOptions& options, int groups) {
    TPhasePictureLayout l;
    if (options.HighQuality) {
        l.CellWidth = 400;
        l.CellHeight = options.Counts ? 440 : 400;
        l.ImageSize = 399;
    } else {
        l.CellWidth = 74;
        l.CellHeight = options.Counts ? 80 : 64;
        l.ImageSize = 63;
    }
    l.Columns = std::clamp(options.PerRow, 1, kMaxPartsPerRow);
    const int count = std::max(groups, 0);
    l.Rows = (count + l.Columns - 1) / l.Columns;
    l.Width = l.Columns * l.CellWidth + 4;
    l.Height = l.Rows * l.CellHeight + 4;
    return l;
}

TPhasePictureLayout::TCell TPhasePictureLayout::Cell(int index) const {
    TCell cell;
    const int column = index % Columns;
    const int row = index / Columns;
    cell.ImageX = column * CellWidth + 2;
    cell.ImageY = row * CellHeight + 2;
    cell.CountTop = cell.ImageY + ImageSize;
    cell.CountHeight = std::max(CellHeight - ImageSize - 2, 0);
    return cell;
}

}  // namespace kx
