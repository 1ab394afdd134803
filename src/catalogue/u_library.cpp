// The parts library: entries, tabs of both sets, favourites, the collection, search, part tools.
#include "catalogue/u_library.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <map>
#include <unordered_map>

#include "catalogue/u_partfiles.h"
#include "foundation/u_language.h"
#include "foundation/u_param.h"
#include "foundation/u_stack.h"
#include "foundation/u_text.h"

namespace kx {

namespace fs = std::filesystem;

namespace {

std::string Text(std::string_view section, int key, std::string_view def) {
    return Language().GetText(section, key, def);
}

/// Upper case as the library compares names: ASCII letters and the accented letters of
/// Latin-1 (so "Räder" and "RÄDER" are the same word to the search).
std::string UpperName(std::string_view s) {
    std::string out = UpperCase(s);
    for (size_t i = 0; i + 1 < out.size(); ++i) {
        const auto lead = static_cast<unsigned char>(out[i]);
        const auto next = static_cast<unsigned char>(out[i + 1]);
        if (lead == 0xC3 && next >= 0xA0 && next <= 0xBE && next != 0xB7) {
            out[i + 1] = static_cast<char>(next - 0x20);
            ++i;
        }
    }
    return out;
}

std::string Today() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&now, &local);
    char buf[16];
    std::strftime(buf, sizeof buf, "%d.%m.%Y", &local);
    return buf;
}

int32_t AddTotals(int32_t a, int32_t b) {
    if (a >= UnlimitedCount || b >= UnlimitedCount) {
        return UnlimitedCount;
    }
    return std::min<int64_t>(int64_t(a) + b, UnlimitedCount - 1);
}

/// A part number used as a file name: no folders, no control characters.
bool IsPartNumber(std::string_view number) {
    if (number.empty() || number.size() > 64 || number == "." || number == "..") {
        return false;
    }
    return std::none_of(number.begin(), number.end(), [](char c) {
        return c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20;
    });
}

/// The lines of a text file; nothing for a folder or anything else that is no plain file.
std::optional<std::vector<std::string>> ReadPlainTextFile(const fs::path& file) {
    std::error_code ec;
    if (!fs::is_regular_file(file, ec)) {
        return std::nullopt;
    }
    return ReadTextFile(file);
}

/// Lines of a collection file, or nothing if the text is not one (binary data, an INI file
/// such as a model chosen by mistake).
std::optional<std::vector<std::pair<std::string, int32_t>>> CheckedCollection(
    const std::vector<std::string>& lines) {
    for (const std::string& raw : lines) {
        const std::string line = Trim(raw);
        if (line.empty()) {
            continue;
        }
        if (line.front() == '[') {
            return std::nullopt;
        }
        if (std::any_of(line.begin(), line.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t'; })) {
            return std::nullopt;
        }
    }
    return ParseCollectionLines(lines);
}

}  // namespace

// --- Tabs -------------------------------------------------------------------------------------

TLibraryPage PageForGroup(int32_t group) {
    if (group >= 0 && group <= 8) {
        return {TLibrarySet::New, group};
    }
    if (group >= 9 && group <= 18) {
        return {TLibrarySet::Old, group - 9};
    }
    switch (group) {
        case 19:
            return {TLibrarySet::New, NewObjectsTab};
        case 20:
            return {TLibrarySet::New, NewDynamicsTab};
        case 21:
            return {TLibrarySet::Old, 10};
        case 22:
            return {TLibrarySet::Old, 11};
        default:
            break;
    }
    return {group < 9 ? TLibrarySet::New : TLibrarySet::Old, 0};
}

TLibraryPage PageForLastGroup(int32_t code) {
    if (code >= 0 && code <= 8) {
        return {TLibrarySet::New, code};
    }
    if (code >= 9 && code <= 17) {
        return {TLibrarySet::Old, code - 9};
    }
    switch (code) {
        case 18:
            return {TLibrarySet::Old, 9};
        case 19:
            return {TLibrarySet::New, NewDynamicsTab};
        case 20:
            return {TLibrarySet::Old, 10};
        case 21:
            return {TLibrarySet::Old, 11};
        default:
            return {TLibrarySet::New, 0};
    }
}

int32_t LastGroupForPage(const TLibraryPage& page) {
    if (page.Set == TLibrarySet::New) {
        if (page.Tab >= 0 && page.Tab <= 8) {
            return page.Tab;
        }
        return page.Tab == NewDynamicsTab ? 19 : 0;
    }
    if (page.Tab >= 0 && page.Tab <= 9) {
        return 9 + page.Tab;
    }
    if (page.Tab == 10) {
        return 20;
    }
    return page.Tab == 11 ? 21 : 9;
}

std::string PageCaption(const TLibraryPage& page) {
    static const char* const Categories[10] = {"Standard", "Statik", "Räder",     "Stangen",
                                               "Platten",  "Orbis",  "Pneumatik", "Motor/Getriebe",
                                               "Figur",    "Vario"};
    if (page.Set == TLibrarySet::New) {
        if (page.Tab >= 0 && page.Tab <= 8) {
            return Text("MAIN", 91 + page.Tab, Categories[page.Tab]);
        }
        switch (page.Tab) {
            case NewDynamicsTab:
                return Text("MAIN", 164, "Dynamics");
            case NewObjectsTab:
                return Text("MAIN", 126, "Objekte");
            case CollectionTab:
                return Text("MAIN", 167, "Sammlung");
            default:
                return Text("MAIN", 100, "Favoriten");
        }
    }
    if (page.Tab >= 0 && page.Tab <= 9) {
        return Text("MAIN", 101 + page.Tab, Categories[page.Tab]);
    }
    switch (page.Tab) {
        case 10:
            return Text("MAIN", 163, "Pralmo");
        case 11:
            return Text("MAIN", 162, "Quendrix");
        default:
            return Text("MAIN", 111, "Favoriten");
    }
}

// --- Files ------------------------------------------------------------------------------------

std::vector<std::string> PartsOverviewLines(std::vector<TBibData> entries, std::string_view date) {
    std::stable_sort(entries.begin(), entries.end(), [](const TBibData& a, const TBibData& b) {
        return a.OrgNumber < b.OrgNumber;
    });
    const std::string dashes(58, '-');
    std::vector<std::string> lines{"Bauteilübersicht Korvex-Designer",
                                   "Version " KX_VERSION " vom " + std::string(date), dashes, ""};
    for (const TBibData& e : entries) {
        lines.push_back(e.OrgNumber + ";" + e.Name + ";" + IntToStr(e.Version));
    }
    lines.push_back("");
    lines.push_back(dashes);
    lines.push_back(IntToStr(static_cast<int64_t>(entries.size())) + " Bauteile");
    return lines;
}

std::vector<std::pair<std::string, int32_t>> ParseCollectionLines(
    const std::vector<std::string>& lines) {
    std::vector<std::pair<std::string, int32_t>> result;
    for (const std::string& raw : lines) {
        const std::string line = Trim(raw);
        if (line.empty()) {
            continue;
        }
        const size_t hash = line.find('#');
        std::string number = Trim(std::string_view(line).substr(0, hash));
        if (number.empty()) {
            continue;
        }
        if (!IsPartNumber(number)) {
            // Only the line's position goes into the trace: the line itself may be huge.
            Stack().Push("ParseCollectionLines.Refused",
                         static_cast<int64_t>(&raw - lines.data()) + 1);
            continue;
        }
        int32_t total = UnlimitedCount;
        if (hash != std::string::npos) {
            std::string_view rest = std::string_view(line).substr(hash + 1);
            rest = rest.substr(0, rest.find('#'));
            total = std::max<int32_t>(0, StrToIntDef(Trim(rest), UnlimitedCount));
        }
        result.emplace_back(std::move(number), total);
    }
    return result;
}

std::string CollectionFileName(std::string_view chosen) {
    std::string name(chosen);
    if (UpperCase(name).find(".KXC") == std::string::npos) {
        name += ".kxc";
    }
    return name;
}

TLibraryFillOptions TLibraryFillOptions::Current() {
    TLibraryFillOptions o;
    TkxParam& p = Param();
    o.ReducedLibrary = p.ReducedLibrary;
    o.DeveloperMode = p.DeveloperMode;
    o.Settings = CurrentCatalogueSettings();
    return o;
}

// --- The library ------------------------------------------------------------------------------

TPartLibrary::TPartLibrary() {
    m_pages[0][CollectionTab].IsCollection = true;
    m_pages[0][FavouritesTab].IsFavourites = true;
    m_pages[1][FavouritesTab].IsFavourites = true;
}

TSnapViewData& TPartLibrary::Page(const TLibraryPage& page) {
    return m_pages.at(static_cast<size_t>(page.Set)).at(static_cast<size_t>(page.Tab));
}

const TSnapViewData& TPartLibrary::Page(const TLibraryPage& page) const {
    return m_pages.at(static_cast<size_t>(page.Set)).at(static_cast<size_t>(page.Tab));
}

void TPartLibrary::AddGeneratedPart(std::string_view number, std::string_view name) {
    const TLibraryPage page{TLibrarySet::New, NewObjectsTab};
    auto& items = Page(page).Items;
    std::erase_if(items, [number](const TSnapViewItem& t) { return SameText(t.Number(), number); });
    std::erase_if(m_entries, [number](const TBibData& e) { return SameText(e.Number, number); });
    items.push_back(
        TSnapViewItem::Make(-1, std::string(number), std::string(number), std::string(name), 0));
    TBibData e;
    e.Number = number;
    e.OrgNumber = UpperName(number);
    e.Name = UpperName(name);
    e.Group = 19;
    e.Page = page;
    m_entries.push_back(std::move(e));
    Changed(page);
}

void TPartLibrary::Changed(const TLibraryPage& page) {
    if (m_view) {
        m_view->PageChanged(page);
    }
}

void TPartLibrary::Warn(int key, std::string_view def) {
    if (m_view) {
        m_view->Message(TLibraryMessageKind::Warning, Text("MAINOBJ", key, def));
    }
}

TLibraryFillResult TPartLibrary::Fill(const TPartFiles& files, const TLibraryFillOptions& options,
                                      TLibraryFillPort& port) {
    Stack().Push("tkxmain.FillBauteileView");
    TLibraryFillResult result;
    m_entries.clear();
    m_entryIndex.clear();
    for (auto& set : m_pages) {
        for (TSnapViewData& page : set) {
            if (!page.IsCollection) {
                page.Clear();
            }
        }
    }
    m_searchFrom = 0;

    const std::vector<std::string> numbers = files.DefinitionNumbers();
    result.Found = static_cast<int>(numbers.size());
    port.FillStart(Text("MAINOBJ", 4, "Lade Bauteile..."), result.Found);
    m_entries.reserve(numbers.size());

    int tiles = 0;
    for (size_t i = 0; i < numbers.size(); ++i) {
        if (options.ReducedLibrary && i > 0 && tiles >= ReducedLibraryTiles) {
            break;
        }
        port.FillProgress(static_cast<int>(i) + 1);
        const std::string& number = numbers[i];
        TMiniDefObj mini;
        try {
            const std::optional<fs::path> file = files.FindDef(number);
            if (!file) {
                throw TDefFileError(number);
            }
            mini = ReadMiniDefObj(*file, number, options.Settings);
        } catch (const TDefFileError&) {
            // A file that vanished or cannot be opened costs only its own tile.
            result.Unreadable.push_back(number);
            continue;
        }
        if (mini.Hide) {
            continue;
        }
        TBibData e;
        e.Number = number;
        e.OrgNumber = UpperName(mini.OrgNumber);
        e.Name = UpperName(mini.Name);
        e.Group = mini.Group;
        e.Version = mini.Version;
        e.Page = PageForGroup(mini.Group);
        if (const auto icon = files.FindPart("icon", number, "bmp")) {
            e.ImageIndex = port.LoadIcon(*icon);
        }
        Page(e.Page).Items.push_back(
            TSnapViewItem::Make(e.ImageIndex, number, mini.OrgNumber, mini.Name, mini.SortOrder));
        m_entries.push_back(std::move(e));
        ++tiles;
    }
    result.Shown = tiles;
    m_entryIndex.clear();
    for (size_t i = 0; i < m_entries.size(); ++i) {
        m_entryIndex.emplace(UpperCase(m_entries[i].Number), i);  // the first entry wins
    }

    for (auto& set : m_pages) {
        for (TSnapViewData& page : set) {
            if (!page.IsCollection && !page.IsFavourites) {
                page.SortByKey();
            }
        }
    }

    if (options.DeveloperMode) {
        const fs::path dir = !options.OverviewDir.empty() ? options.OverviewDir
                             : !files.UserDir().empty()   ? files.UserDir()
                                                          : files.ProgramDir();
        std::error_code ec;
        fs::create_directories(dir, ec);
        result.OverviewWritten = WriteTextFile(
            dir / "Bauteile.txt",
            PartsOverviewLines(m_entries, options.Date.empty() ? Today() : options.Date));
    }

    // A collection loaded before this fill shows the pictures and texts of the new entries.
    for (TSnapViewItem& item : Collection().Items) {
        const TSnapViewItem fresh = CollectionTile(item.Number(), item.Total());
        for (TSnapViewSection& section : item.Sections) {
            if (section.Kind == TSnapSectionKind::Image) {
                section.ImageIndex = fresh.ImageIndex();
                break;
            }
        }
        item.Label = fresh.Label;
        item.Hint = fresh.Hint;
    }

    for (int s = 0; s < 2; ++s) {
        for (int t = 0; t < LibraryTabCount; ++t) {
            Changed({static_cast<TLibrarySet>(s), t});
        }
    }
    if (!result.Unreadable.empty() && m_view) {
        std::string list;
        for (const std::string& n : result.Unreadable) {
            list += (list.empty() ? "" : ", ") + n;
        }
        m_view->Message(
            TLibraryMessageKind::Warning,
            Text("MAINOBJ", 36,
                 "Folgende Bauteildefinitionen konnten nicht gelesen werden und fehlen in der "
                 "Bibliothek: ") +
                list);
    }
    return result;
}

bool TPartLibrary::ShowPart(const TPartFiles& files, std::string_view number,
                            const TCatalogueSettings& settings, TLibraryFillPort& port) {
    Stack().Push("TPartLibrary.ShowPart", std::string(number));
    const std::optional<fs::path> file = files.FindDef(number);
    if (!file) {
        return false;
    }
    TMiniDefObj mini;
    try {
        mini = ReadMiniDefObj(*file, number, settings);
    } catch (const TDefFileError&) {
        return false;
    }
    for (int s = 0; s < 2; ++s) {
        for (int t = 0; t < LibraryTabCount; ++t) {
            TSnapViewData& page = m_pages[static_cast<size_t>(s)][static_cast<size_t>(t)];
            if (page.IsCollection || page.IsFavourites) {
                continue;
            }
            const auto old = std::remove_if(
                page.Items.begin(), page.Items.end(),
                [&](const TSnapViewItem& item) { return SameText(item.Number(), number); });
            if (old != page.Items.end()) {
                page.Items.erase(old, page.Items.end());
                page.Selected = -1;
                Changed({static_cast<TLibrarySet>(s), t});
            }
        }
    }
    std::erase_if(m_entries, [&](const TBibData& e) { return SameText(e.Number, number); });
    if (mini.Hide) {
        return false;
    }
    TBibData e;
    e.Number = std::string(number);
    e.OrgNumber = UpperName(mini.OrgNumber);
    e.Name = UpperName(mini.Name);
    e.Group = mini.Group;
    e.Version = mini.Version;
    e.Page = PageForGroup(mini.Group);
    if (const auto icon = files.FindPart("icon", number, "bmp")) {
        e.ImageIndex = port.LoadIcon(*icon);
    }
    TSnapViewData& page = Page(e.Page);
    page.Items.push_back(
        TSnapViewItem::Make(e.ImageIndex, e.Number, mini.OrgNumber, mini.Name, mini.SortOrder));
    page.SortByKey();
    const TLibraryPage shown = e.Page;
    m_entries.push_back(std::move(e));
    for (TSnapViewItem& item : Collection().Items) {
        if (!SameText(item.Number(), number)) {
            continue;
        }
        const TSnapViewItem fresh = CollectionTile(item.Number(), item.Total());
        for (TSnapViewSection& section : item.Sections) {
            if (section.Kind == TSnapSectionKind::Image) {
                section.ImageIndex = fresh.ImageIndex();
                break;
            }
        }
        item.Label = fresh.Label;
        item.Hint = fresh.Hint;
        Changed({TLibrarySet::New, CollectionTab});
    }
    Changed(shown);
    return true;
}

const TBibData* TPartLibrary::FindEntry(std::string_view number) const {
    const auto it = m_entryIndex.find(UpperCase(number));
    return it == m_entryIndex.end() ? nullptr : &m_entries[it->second];
}

// --- Visible tab ------------------------------------------------------------------------------

void TPartLibrary::SetActiveTab(TLibrarySet set, int tab) {
    if (tab < 0 || tab >= LibraryTabCount) {
        return;
    }
    m_activeTab[static_cast<size_t>(set)] = tab;
}

void TPartLibrary::ShowSet(TLibrarySet set) {
    const int tab = ActiveTab(m_visible);
    m_visible = set;
    m_activeTab[static_cast<size_t>(set)] = tab;
    if (m_view) {
        m_view->ShowPage(ActivePage());
    }
}

void TPartLibrary::ShowLibraryPage(const TLibraryPage& page) {
    m_visible = page.Set;
    m_activeTab[static_cast<size_t>(page.Set)] = page.Tab;
    if (m_view) {
        m_view->ShowPage(page);
    }
}

void TPartLibrary::ChangeLibrary(int32_t code) {
    Stack().Push("tkxmain.ChangeLibrary", code);
    ShowLibraryPage(PageForLastGroup(code));
}

// --- Tiles ------------------------------------------------------------------------------------

void TPartLibrary::SelectTile(const TLibraryPage& page, int index) {
    Page(page).Select(index);
    if (m_view) {
        m_view->SelectionChanged(page);
    }
}

std::string TPartLibrary::GetActualPartNumber() const {
    const TSnapViewItem* item = Page(ActivePage()).SelectedItem();
    return item ? item->Number() : std::string();
}

std::optional<std::string> TPartLibrary::StartDrag(const TLibraryPage& page, int index) {
    const TSnapViewData& view = Page(page);
    if (index < 0 || index >= static_cast<int>(view.Items.size())) {
        return std::nullopt;
    }
    const TSnapViewItem& item = view.Items[static_cast<size_t>(index)];
    if (item.Remaining() <= 0) {
        return std::nullopt;
    }
    m_dragged = item;
    return item.Number();
}

void TPartLibrary::PartDropped() {
    if (m_dragged) {
        const TSnapViewItem tile = *m_dragged;
        m_dragged.reset();
        AddFavourite(tile);
    }
}

void TPartLibrary::AddFavourite(const TSnapViewItem& tile) {
    const std::string number = tile.Number();
    if (number.empty()) {
        return;
    }
    // Read at the moment of use; a capacity below one still keeps the part just placed.
    const int capacity = std::max(1, Param().GetCountFavourites());
    for (int s = 0; s < 2; ++s) {
        const TLibraryPage page{static_cast<TLibrarySet>(s), FavouritesTab};
        TSnapViewData& favourites = Page(page);
        if (favourites.IndexOf(number) >= 0) {
            continue;
        }
        while (static_cast<int>(favourites.Items.size()) >= capacity) {
            favourites.Remove(0);
        }
        favourites.Items.push_back(
            TSnapViewItem::Make(tile.ImageIndex(), number, tile.Label, tile.Hint));
        Changed(page);
    }
}

void TPartLibrary::AddFavourite(std::string_view number) {
    if (const TBibData* e = FindEntry(number)) {
        const TSnapViewData& page = Page(e->Page);
        const int index = page.IndexOf(e->Number);
        if (index >= 0) {
            AddFavourite(page.Items[static_cast<size_t>(index)]);
            return;
        }
    }
    AddFavourite(TSnapViewItem::Make(-1, number, "", ""));
}

bool TPartLibrary::RemoveSelectedFavourite() {
    const TLibraryPage page = ActivePage();
    TSnapViewData& view = Page(page);
    if (!view.IsFavourites || !view.SelectedItem()) {
        return false;
    }
    view.Remove(view.Selected);
    Changed(page);
    return true;
}

void TPartLibrary::FindPartsInModel() {
    const std::string number = GetActualPartNumber();
    if (m_model && !number.empty()) {
        m_model->FindPartsInModel(number);
    }
}

// --- Collection -------------------------------------------------------------------------------

TSnapViewItem TPartLibrary::CollectionTile(std::string_view number, int32_t total) const {
    const TBibData* e = FindEntry(number);
    // A number the library does not know gets no picture rather than some other part's.
    TSnapViewItem tile = e ? TSnapViewItem::Make(e->ImageIndex, number, e->OrgNumber, e->Name)
                           : TSnapViewItem::Make(-1, number, "", "");
    tile.SetCounter(total, total);
    return tile;
}

void TPartLibrary::AddToCollection(const std::vector<std::pair<std::string, int32_t>>& lines,
                                   bool replace) {
    TSnapViewData& collection = Collection();
    if (replace) {
        collection.Clear();
    }
    // Large files come in here: an index keeps the merge linear in the number of lines.
    std::unordered_map<std::string, size_t> index;
    for (size_t i = 0; i < collection.Items.size(); ++i) {
        index.emplace(UpperCase(collection.Items[i].Number()), i);
    }
    for (const auto& [number, total] : lines) {
        const auto [it, added] = index.emplace(UpperCase(number), collection.Items.size());
        if (!added) {
            TSnapViewItem& item = collection.Items[it->second];
            const int32_t sum = AddTotals(item.Total(), total);
            item.SetCounter(sum, sum);
        } else {
            collection.Items.push_back(CollectionTile(number, total));
        }
    }
    RefreshCollection();
    Changed({TLibrarySet::New, CollectionTab});
}

std::optional<std::vector<std::pair<std::string, int32_t>>> TPartLibrary::ReadCollectionFile(
    const fs::path& file) {
    const auto lines = ReadPlainTextFile(file);
    auto parsed = lines ? CheckedCollection(*lines) : std::nullopt;
    if (!parsed) {
        Warn(35, "Beim Laden der Sammlung ist ein Fehler aufgetreten.");
    }
    return parsed;
}

bool TPartLibrary::OpenCollection(const fs::path& file) {
    Stack().Push("tkxmain.OpenCollection", file.string());
    const auto parsed = ReadCollectionFile(file);
    if (!parsed) {
        return false;
    }
    AddToCollection(*parsed, true);
    Param().SetLastCollectionFile(file.string());
    return true;
}

void TPartLibrary::OpenCollection(const std::vector<std::string>& lines) {
    Stack().Push("tkxmain.OpenCollection");
    AddToCollection(ParseCollectionLines(lines), true);
}

bool TPartLibrary::MergeCollection(const fs::path& file) {
    Stack().Push("tkxmain.MergeCollection", file.string());
    const auto parsed = ReadCollectionFile(file);
    if (!parsed) {
        return false;
    }
    AddToCollection(*parsed, false);
    return true;
}

std::vector<std::string> TPartLibrary::CollectionLines() const {
    std::vector<std::string> lines;
    for (const TSnapViewItem& item : Collection().Items) {
        lines.push_back(item.Number() + "#" + IntToStr(item.Total()));
    }
    return lines;
}

bool TPartLibrary::SaveCollection(const fs::path& file) {
    Stack().Push("tkxmain.SaveCollection", file.string());
    if (!WriteTextFile(file, CollectionLines())) {
        Warn(34, "Beim Speichern der Sammlung ist ein Fehler aufgetreten.");
        return false;
    }
    Param().SetLastCollectionFile(file.string());
    return true;
}

bool TPartLibrary::NewCollection() {
    Stack().Push("tkxmain.NewCollection");
    if (!m_view ||
        !m_view->AskYesNo(Text("MAIN", 174, "Möchten Sie die Sammlung wirklich löschen?"))) {
        return false;
    }
    Collection().Clear();
    Changed({TLibrarySet::New, CollectionTab});
    return true;
}

void TPartLibrary::RefreshCollection(const std::vector<std::string>& placedNumbers) {
    std::map<std::string, int32_t> placed;
    for (const std::string& n : placedNumbers) {
        ++placed[UpperCase(n)];
    }
    for (TSnapViewItem& item : Collection().Items) {
        const auto it = placed.find(UpperCase(item.Number()));
        const int32_t used = it == placed.end() ? 0 : it->second;
        item.SetCounter(item.Total(), std::max(0, item.Total() - used));
    }
    Changed({TLibrarySet::New, CollectionTab});
}

void TPartLibrary::RefreshCollection() {
    if (!m_model) {
        RefreshCollection(std::vector<std::string>{});
        return;
    }
    if (m_model->CollectionRefreshSuppressed()) {
        return;
    }
    RefreshCollection(m_model->PlacedPartNumbers());
}

bool TPartLibrary::AddToCollection(std::string_view number, int32_t total) {
    if (number.empty() || Collection().IndexOf(number) >= 0) {
        return false;
    }
    Collection().Items.push_back(CollectionTile(number, total));
    RefreshCollection();
    return true;
}

bool TPartLibrary::AddSelectedToCollection() {
    Stack().Push("TMainForm.menAddToCollectionClick");
    const TSnapViewItem* selected = Page(ActivePage()).SelectedItem();
    if (!selected || !m_view || Collection().IndexOf(selected->Number()) >= 0) {
        return false;
    }
    const TSnapViewItem source = *selected;
    const std::optional<int32_t> count = m_view->AskCollectionCount(1);
    if (!count) {
        return false;
    }
    TSnapViewItem tile =
        TSnapViewItem::Make(source.ImageIndex(), source.Number(), source.Label, source.Hint);
    tile.SetCounter(*count, *count);
    Collection().Items.push_back(std::move(tile));
    RefreshCollection();
    return true;
}

bool TPartLibrary::EditSelectedCollectionTile() {
    Stack().Push("TMainForm.menEditCollectionClick");
    if (ActivePage() != TLibraryPage{TLibrarySet::New, CollectionTab} || !m_view) {
        return false;
    }
    TSnapViewData& collection = Collection();
    if (!collection.SelectedItem()) {
        return false;
    }
    const int index = collection.Selected;
    const std::optional<int32_t> count =
        m_view->AskCollectionCount(collection.Items[static_cast<size_t>(index)].Total());
    if (!count || index >= static_cast<int>(collection.Items.size())) {
        return false;
    }
    collection.Items[static_cast<size_t>(index)].SetCounter(*count, *count);
    RefreshCollection();
    return true;
}

bool TPartLibrary::RemoveSelectedCollectionTile() {
    Stack().Push("TMainForm.menRemoveFromCollectionClick");
    if (ActivePage() != TLibraryPage{TLibrarySet::New, CollectionTab}) {
        return false;
    }
    TSnapViewData& collection = Collection();
    if (!collection.SelectedItem()) {
        return false;
    }
    collection.Remove(collection.Selected);
    Changed({TLibrarySet::New, CollectionTab});
    return true;
}

void TPartLibrary::AddSelectedPartsToCollection(const std::vector<std::string>& selectedNumbers) {
    Stack().Push("TMainForm.menAddSelectedToCollectionClick");
    std::vector<bool> marked(selectedNumbers.size(), false);
    TSnapViewData& collection = Collection();
    for (TSnapViewItem& item : collection.Items) {
        int32_t count = 0;
        for (const std::string& n : selectedNumbers) {
            count += SameText(n, item.Number()) ? 1 : 0;
        }
        if (count > item.Total()) {
            item.SetCounter(count, count);
            for (size_t i = 0; i < selectedNumbers.size(); ++i) {
                marked[i] = marked[i] || SameText(selectedNumbers[i], item.Number());
            }
        }
    }
    for (size_t i = 0; i < selectedNumbers.size(); ++i) {
        if (marked[i]) {
            continue;
        }
        const std::string& number = selectedNumbers[i];
        const int index = collection.IndexOf(number);
        if (index >= 0) {
            TSnapViewItem& item = collection.Items[static_cast<size_t>(index)];
            const int32_t total = AddTotals(item.Total(), 1);
            item.SetCounter(total, total);
        } else if (!StartsWithText(number, "C")) {
            collection.Items.push_back(CollectionTile(number, 1));
        }
    }
    RefreshCollection();
}

void TPartLibrary::AddSelectedPartsToCollection() {
    if (m_model) {
        AddSelectedPartsToCollection(m_model->SelectedPartNumbers());
    }
}

std::vector<TCollectionPrintRow> TPartLibrary::CollectionPrintRows() const {
    std::vector<TCollectionPrintRow> rows;
    for (const TSnapViewItem& item : Collection().Items) {
        rows.push_back({item.Number(), "Muss noch", item.Total(), item.Label});
    }
    return rows;
}

// --- Search -----------------------------------------------------------------------------------

std::optional<size_t> TPartLibrary::SearchBib(std::string_view numberText,
                                              std::string_view nameText) {
    Stack().Push("TdlgSearch.SearchBib", std::string(numberText), std::string(nameText));
    const std::string number = UpperName(numberText);
    const std::string name = UpperName(nameText);
    for (size_t i = m_searchFrom; i < m_entries.size(); ++i) {
        const TBibData& e = m_entries[i];
        const bool match = (!number.empty() && e.OrgNumber.find(number) != std::string::npos) ||
                           (!name.empty() && e.Name.find(name) != std::string::npos);
        if (!match) {
            continue;
        }
        m_searchFrom = i + 1;
        TSnapViewData& page = Page(e.Page);
        const int index = page.IndexOf(e.Number);
        page.Select(index);
        ShowLibraryPage(e.Page);
        if (m_view) {
            m_view->SelectionChanged(e.Page);
            m_view->ScrollToTile(e.Page, index);
        }
        return i;
    }
    m_searchFrom = 0;
    if (m_view) {
        m_view->Message(
            TLibraryMessageKind::Information,
            Text("D_SEARCH", 6, "Es konnten keine (weiteren) Bauteile gefunden werden."));
    }
    return std::nullopt;
}

// --- Maintainer tools -------------------------------------------------------------------------

std::vector<TImportFile> PlanImport(const TPartFiles& files, const fs::path& defFile,
                                    std::string_view newNumber) {
    if (!IsPartNumber(newNumber)) {
        return {};
    }
    const std::string prefix = defFile.filename().string().substr(0, 5);
    const fs::path base = defFile.parent_path().parent_path();
    const std::string number(newNumber);
    struct TPart {
        const char* Subdir;
        const char* Ext;
    };
    static const TPart Parts[] = {{"hires", "stl"},
                                  {"hires", "nrm"},
                                  {"icon", "bmp"},
                                  {"icon/print", "jpg"},
                                  {"lores", "stl"}};
    std::vector<TImportFile> plan;
    auto add = [&](const fs::path& source, const char* subdir, const char* ext) {
        TImportFile f;
        f.Source = source;
        f.Target = files.UserPath(subdir, number + "." + ext);
        std::error_code ec;
        f.SourceExists = fs::is_regular_file(source, ec);
        f.TargetExists = files.FindPart(subdir, number, ext).has_value();
        plan.push_back(std::move(f));
    };
    add(defFile, "def", "def");
    for (const TPart& p : Parts) {
        add(base / p.Subdir / (prefix + "." + p.Ext), p.Subdir, p.Ext);
    }
    return plan;
}

TImportResult ExecuteImport(const std::vector<TImportFile>& plan, TPartFiles& files,
                            TLibraryView& view, std::string* error) {
    Stack().Push("TdlgImportPart.btnExecuteClick");
    if (plan.empty() || !plan.front().SourceExists) {
        if (error) {
            *error = "no definition file to import";
        }
        return TImportResult::Failed;
    }
    std::string existing;
    for (const TImportFile& f : plan) {
        if (f.SourceExists && f.TargetExists) {
            existing += "\n" + f.Target.filename().string();
        }
    }
    if (!existing.empty() &&
        !view.AskYesNo(
            Text("MAIN2", 11, "Die Datei existiert bereits. Möchten Sie die Datei überschreiben?") +
            existing)) {
        return TImportResult::Cancelled;
    }
    // Read every source first, so a source that cannot be read leaves all targets untouched.
    std::vector<std::pair<fs::path, std::string>> copies;
    for (const TImportFile& f : plan) {
        if (!f.SourceExists) {
            continue;
        }
        auto bytes = ReadFileBytes(f.Source);
        if (!bytes) {
            if (error) {
                *error = "cannot read " + f.Source.string();
            }
            return TImportResult::Failed;
        }
        copies.emplace_back(f.Target, std::move(*bytes));
    }
    TImportResult result = TImportResult::Done;
    for (const auto& [target, bytes] : copies) {
        std::error_code ec;
        fs::create_directories(target.parent_path(), ec);
        if (!WriteFileAtomic(target, bytes, error)) {
            result = TImportResult::Failed;
            break;
        }
    }
    files.Refresh();
    return result;
}

std::string PlaceholderIconBmp() {
    constexpr int N = IconSize;
    constexpr uint32_t pixelBytes = N * N * 3;
    std::string bmp(54, '\0');
    auto put32 = [&bmp](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            bmp[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
        }
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put32(2, 54 + pixelBytes);
    put32(10, 54);
    put32(14, 40);
    put32(18, N);
    put32(22, N);
    bmp[26] = 1;
    bmp[28] = 24;
    put32(34, pixelBytes);
    // White ground (the transparent colour, taken from the top-left pixel), a grey block with
    // a darker frame and a diagonal: plainly a part still waiting for its picture.
    for (int row = N - 1; row >= 0; --row) {  // bottom-up rows
        for (int x = 0; x < N; ++x) {
            const int y = row;
            uint8_t c = 255;
            if (x >= 10 && x < 54 && y >= 10 && y < 54) {
                const bool frame = x < 13 || x >= 51 || y < 13 || y >= 51;
                c = frame || std::abs(x - y) < 2 ? 96 : 192;
            }
            bmp.push_back(static_cast<char>(c));
            bmp.push_back(static_cast<char>(c));
            bmp.push_back(static_cast<char>(c));
        }
    }
    return bmp;
}

TCopyPartResult CopyPart(TPartFiles& files, std::string_view source, std::string_view target,
                         int group, int red, int green, int blue) {
    Stack().Push("TdlgCopyPart.btnOKClick", std::string(source), std::string(target));
    if (!IsPartNumber(target)) {
        return TCopyPartResult::Failed;
    }
    if (files.FindDef(target)) {
        return TCopyPartResult::NumberTaken;
    }
    const std::optional<fs::path> sourceDef = files.FindDef(source);
    if (!sourceDef) {
        return TCopyPartResult::NoSource;
    }
    const std::string number(target);
    const fs::path def = files.UserPath("def", number + ".def");
    std::error_code ec;
    fs::create_directories(def.parent_path(), ec);
    if (CopyDefinition(*sourceDef, def, number, red, green, blue, group) != TDefEditResult::Ok) {
        return TCopyPartResult::Failed;
    }
    const fs::path icon = files.UserPath("icon", number + ".bmp");
    fs::create_directories(icon.parent_path(), ec);
    WriteFileAtomic(icon, PlaceholderIconBmp());
    struct TPart {
        const char* Subdir;
        const char* Ext;
    };
    for (const TPart& p :
         {TPart{"icon/print", "jpg"}, TPart{"hires", "stl"}, TPart{"lores", "stl"}}) {
        if (const auto from = files.FindPart(p.Subdir, source, p.Ext)) {
            if (const auto bytes = ReadFileBytes(*from)) {
                const fs::path to = files.UserPath(p.Subdir, number + "." + p.Ext);
                fs::create_directories(to.parent_path(), ec);
                WriteFileAtomic(to, *bytes);
            }
        }
    }
    files.Refresh();
    return TCopyPartResult::Done;
}

bool SaveSortOrder(TPartFiles& files, const std::vector<std::string>& numbers) {
    Stack().Push("TdlgEditSort.btnSaveClick", static_cast<int64_t>(numbers.size()));
    bool ok = true;
    const TCatalogueSettings settings = CurrentCatalogueSettings();
    for (size_t i = 0; i < numbers.size(); ++i) {
        if (!files.FindDef(numbers[i])) {
            ok = false;  // a definition that vanished is not written back as defaults
            continue;
        }
        TDefObj def = ReadDefObj(files, numbers[i], settings);
        def.SortOrder = static_cast<int32_t>(10 + 100 * i);
        ok = SaveDefinition(def, files) && ok;
    }
    return ok;
}

bool RewriteDefinition(TPartFiles& files, std::string_view number) {
    Stack().Push("TMainForm.menEditDefClick", std::string(number));
    if (!files.FindDef(number)) {
        return false;
    }
    return SaveDefinition(ReadDefObj(files, number, CurrentCatalogueSettings()), files);
}

std::vector<std::string> CopyPartCategories() {
    std::vector<std::string> names{"Standard",  "Statik",           "Räder",
                                   "Stangen",   "Platten",          "Orbis",
                                   "Pneumatik", "Motor / Getriebe", "Figur"};
    const size_t count = names.size();
    for (size_t i = 0; i < count; ++i) {
        names.push_back(names[i] + " (alt)");
    }
    for (const char* n : {"Vario (alt)", "Objekte", "Dynamics", "Pralmo", "Quendrix"}) {
        names.emplace_back(n);
    }
    return names;
}

std::vector<TCopyPartColour> CopyPartColours() {
    return {{"Rot", 255, 0, 0},
            {"Schwarz", 0, 0, 0},
            {"Grau", 192, 192, 192},
            {"Gelb", 224, 224, 0},
            {"Blau", 64, 64, 255},
            {"Pneumatik", 29, 141, 255},
            {"Silber", 128, 128, 128},
            {"Blau (neu)", 30, 126, 183},
            {"grün (Biobased)", 138, 255, 0},
            {"orange (Biobased)", 255, 124, 0}};
}

}  // namespace kx
