// The boxes of the three parts sheets: the model's parts, the whole library, a collection.
#include "printing/u_sheetitems.h"

#include <unordered_map>

#include "catalogue/u_partcache.h"
#include "catalogue/u_partfiles.h"
#include "foundation/u_language.h"
#include "foundation/u_stack.h"
#include "model/u_TBauteil.h"

namespace kx {

std::vector<TSpareData> OverviewItems(const TBauteilList& parts) {
    Stack().Push("tkxmain.PrintEinzelteiluebersicht");
    std::vector<TSpareData> items;
    std::unordered_map<std::string, size_t> itemOf;
    for (const auto& record : parts) {
        if (record->Printable() <= 0) {
            continue;
        }
        const std::string number = record->GetShortName();
        const auto [it, added] = itemOf.try_emplace(number, items.size());
        if (added) {
            items.push_back({number, "", 1, record->OrgNumber()});
        } else {
            ++items[it->second].Count;
        }
    }
    return items;
}

std::optional<std::vector<TSpareData>> LibraryItems(const TPartFiles& files, TDefCache& defs,
                                                    const TCatalogueSettings& settings,
                                                    TPrintProgress* progress) {
    Stack().Push("tkxmain.PrintBibliothek");
    const std::vector<std::string> numbers = files.DefinitionNumbers();
    if (progress) {
        progress->Start(Language().GetText("D_PRINT", 7, "Bibliothek wird gedruckt..."),
                        static_cast<int>(numbers.size()));
    }
    std::vector<TSpareData> items;
    bool cancelled = false;
    for (size_t i = 0; i < numbers.size(); ++i) {
        const TDefPtr def = defs.GetDef(files, numbers[i], settings);
        if (!def->Hide) {
            items.push_back({numbers[i], "", 1, def->OrgNumber});
        }
        if (progress && !progress->Step(static_cast<int>(i) + 1)) {
            cancelled = true;
            break;
        }
    }
    if (progress) {
        progress->Finish();
    }
    if (cancelled) {
        return std::nullopt;
    }
    return items;
}

std::vector<TSpareData> CollectionItems(const std::vector<TCollectionPrintRow>& rows) {
    Stack().Push("TMainForm.PrintCollectionClick");
    std::vector<TSpareData> items;
    items.reserve(rows.size());
    for (const TCollectionPrintRow& row : rows) {
        items.push_back({row.Number, row.Text, row.Total, row.Label});
    }
    return items;
}

std::unique_ptr<TPrintSpare> NewPartsSheet(std::vector<TSpareData> items, const TPartFiles& files,
                                           TDefCache& defs, const TCatalogueSettings& settings) {
    auto sheet = std::make_unique<TPrintSpare>(SheetPartsFromFiles(files, defs, settings));
    sheet->Items = std::move(items);
    sheet->Heading = Language().GetText("R_EINZELTEILE", 2, "Einzelteile");
    sheet->ProgressTitle = Language().GetText("D_PRINT", 8, "Drucken...");
    return sheet;
}

}  // namespace kx
