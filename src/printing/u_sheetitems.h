// The boxes of the three parts sheets: the model's parts, the whole library, a collection.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "catalogue/u_library.h"
#include "printing/u_TPrintSpare.h"

namespace kx {

class TBauteilList;
class TDefCache;
class TPartFiles;
struct TCatalogueSettings;

/// "Einzelteilübersicht": parts whose printable value is above 0, one box per definition
/// number in the order of first appearance, with the number of pieces and the article number
/// of the first part.
std::vector<TSpareData> OverviewItems(const TBauteilList& parts);

/// "Bibliothek": every definition that is not hidden, in the library's order, count 1. The
/// progress (if any) runs over the real number of definitions; nothing if it was cancelled.
std::optional<std::vector<TSpareData>> LibraryItems(const TPartFiles& files, TDefCache& defs,
                                                    const TCatalogueSettings& settings,
                                                    TPrintProgress* progress);

/// "Sammlung drucken": one box per collection entry with its total and label.
std::vector<TSpareData> CollectionItems(const std::vector<TCollectionPrintRow>& rows);

/// A sheet of these boxes with the heading of the language table, names from the definitions
/// and pictures from the part folders (which must outlive it).
std::unique_ptr<TPrintSpare> NewPartsSheet(std::vector<TSpareData> items, const TPartFiles& files,
                                           TDefCache& defs, const TCatalogueSettings& settings);

}  // namespace kx
