// The parts library: entries, tabs of both sets, favourites, the collection, search, part tools.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "catalogue/u_defObj.h"
#include "catalogue/u_snapview.h"

namespace kx {

class TPartFiles;

/// The two sets of library tabs: current parts and older parts.
enum class TLibrarySet { New = 0, Old = 1 };

inline constexpr int LibraryTabCount = 13;  ///< tabs per set
inline constexpr int NewDynamicsTab = 9;
inline constexpr int NewObjectsTab = 10;
inline constexpr int CollectionTab = 11;  ///< of the new set
inline constexpr int FavouritesTab = 12;  ///< of either set
inline constexpr int ReducedLibraryTiles = 35;

/// One tab of the library.
struct TLibraryPage {
    TLibrarySet Set = TLibrarySet::New;
    int Tab = 0;
    bool operator==(const TLibraryPage&) const = default;
};

/// The tab that shows definitions of a group.
TLibraryPage PageForGroup(int32_t group);
/// The tab of a stored LASTGROUP code (ChangeLibrary's numbering).
TLibraryPage PageForLastGroup(int32_t code);
/// The LASTGROUP code stored for a tab.
int32_t LastGroupForPage(const TLibraryPage& page);
/// Caption of a library tab: language section "MAIN", German default.
std::string PageCaption(const TLibraryPage& page);

/// One shown definition.
struct TBibData {
    std::string Number;     ///< definition file name without ".def"
    std::string OrgNumber;  ///< article number, upper case
    std::string Name;       ///< display name, upper case
    int32_t Group = 0;
    int ImageIndex = -1;  ///< position of the icon in the icon list, -1 if it could not be read
    int32_t Version = 0;
    TLibraryPage Page;  ///< the tab of its tile (tiles are found by number on that tab)
};

enum class TLibraryMessageKind { Information, Warning, Error };

/// What the library fill needs from the splash window and the icon list.
class TLibraryFillPort {
public:
    virtual ~TLibraryFillPort() = default;
    virtual void FillStart(const std::string& text, int maximum) = 0;
    virtual void FillProgress(int position) = 0;
    /// Loads an icon file into the icon list; its index there, -1 if it cannot be read.
    virtual int LoadIcon(const std::filesystem::path& file) = 0;
};

/// What the library asks of the window it is shown in.
class TLibraryView {
public:
    virtual ~TLibraryView() = default;
    /// The tiles of a tab changed (added, removed, counts): lay out and redraw.
    virtual void PageChanged(const TLibraryPage& page) = 0;
    /// The selection of a tab changed: redraw.
    virtual void SelectionChanged(const TLibraryPage& page) = 0;
    /// Show this set and tab.
    virtual void ShowPage(const TLibraryPage& page) = 0;
    virtual void ScrollToTile(const TLibraryPage& page, int index) = 0;
    virtual void Message(TLibraryMessageKind kind, const std::string& text) = 0;
    virtual bool AskYesNo(const std::string& question) = 0;
    /// The count dialog: initial count (UnlimitedCount for "ohne Limit"); nothing if cancelled.
    virtual std::optional<int32_t> AskCollectionCount(int32_t initial) = 0;
};

/// What the library asks of the model.
class TLibraryModel {
public:
    virtual ~TLibraryModel() = default;
    /// The definition number of every placed part (characters 2 to 6 of its name).
    virtual std::vector<std::string> PlacedPartNumbers() = 0;
    /// Numbers of the placed parts that are selected or co-selected.
    virtual std::vector<std::string> SelectedPartNumbers() = 0;
    /// True while the model suppresses collection refreshes (during a load).
    virtual bool CollectionRefreshSuppressed() = 0;
    /// Selects the placed parts of a number and reports how many there are.
    virtual void FindPartsInModel(const std::string& number) = 0;
};

struct TLibraryFillOptions {
    bool ReducedLibrary = false;
    bool DeveloperMode = false;  ///< writes the parts overview "Bauteile.txt"
    TCatalogueSettings Settings;
    std::filesystem::path OverviewDir;  ///< where "Bauteile.txt" goes; empty: the user folder
    std::string Date;                   ///< "dd.mm.yyyy" for Bauteile.txt; empty: today

    /// The options as the settings store and the command line have them now.
    static TLibraryFillOptions Current();
};

struct TLibraryFillResult {
    int Found = 0;                        ///< definition files listed
    int Shown = 0;                        ///< entries created
    std::vector<std::string> Unreadable;  ///< numbers whose definition could not be read
    bool OverviewWritten = false;
};

/// A row of the printed collection.
struct TCollectionPrintRow {
    std::string Number;
    std::string Text;  ///< "Muss noch"
    int32_t Total = 0;
    std::string Label;
};

/// The lines of the parts overview written in developer mode.
std::vector<std::string> PartsOverviewLines(std::vector<TBibData> entries, std::string_view date);

/// A collection file's lines as (number, total) pairs; blank lines are skipped, and so are
/// lines whose number could not name a part (each leaves a trace entry).
std::vector<std::pair<std::string, int32_t>> ParseCollectionLines(
    const std::vector<std::string>& lines);

/// The name a collection is saved under: ".kxc" appended unless it contains ".KXC" in any case.
std::string CollectionFileName(std::string_view chosen);

/// The parts library. It keeps the entries in load order, the tiles of both sets of tabs and
/// the visible tab, and runs every library command; the window around it only draws.
class TPartLibrary {
public:
    TPartLibrary();

    void SetView(TLibraryView* view) { m_view = view; }
    void SetModel(TLibraryModel* model) { m_model = model; }

    /// Builds the library from the definition folders (FillBauteileView). Unreadable
    /// definitions are skipped and reported once, after the fill.
    TLibraryFillResult Fill(const TPartFiles& files, const TLibraryFillOptions& options,
                            TLibraryFillPort& port);

    /// Shows a part whose files were just written (an imported package, a generated profile):
    /// its tile joins its tab, or replaces the one of that number. False if its definition
    /// cannot be read or it is hidden.
    bool ShowPart(const TPartFiles& files, std::string_view number,
                  const TCatalogueSettings& settings, TLibraryFillPort& port);

    const std::vector<TBibData>& Entries() const { return m_entries; }
    const TBibData* FindEntry(std::string_view number) const;

    TSnapViewData& Page(const TLibraryPage& page);
    const TSnapViewData& Page(const TLibraryPage& page) const;

    // --- Visible tab ----------------------------------------------------------------------
    TLibrarySet VisibleSet() const { return m_visible; }
    int ActiveTab(TLibrarySet set) const { return m_activeTab[static_cast<int>(set)]; }
    TLibraryPage ActivePage() const { return {m_visible, ActiveTab(m_visible)}; }
    /// The user switched to another tab of a set (the page control's own tab bar).
    void SetActiveTab(TLibrarySet set, int tab);
    /// The set buttons: show a set at the tab index of the one left.
    void ShowSet(TLibrarySet set);
    /// Shows a set and one of its tabs.
    void ShowLibraryPage(const TLibraryPage& page);
    /// Shows a tab by its LASTGROUP code.
    void ChangeLibrary(int32_t code);
    /// The LASTGROUP code of the visible tab.
    int32_t LastGroup() const { return LastGroupForPage(ActivePage()); }

    // --- Tiles ----------------------------------------------------------------------------
    /// A mouse press on a tile (-1: on no tile).
    void SelectTile(const TLibraryPage& page, int index);
    /// The number of the tile selected on the visible tab, empty if none. Every library
    /// command works on it.
    std::string GetActualPartNumber() const;
    /// Starts dragging a tile: its number if it may be placed (a collection tile with nothing
    /// left may not), else nothing. The tile is remembered for PartDropped.
    std::optional<std::string> StartDrag(const TLibraryPage& page, int index);
    /// The dragged tile was dropped into the 3D view: it joins both favourites tabs.
    void PartDropped();
    /// A part of this number was placed: it joins both favourites tabs (oldest dropped when
    /// a tab holds COUNTFAVOURITES tiles).
    void AddFavourite(const TSnapViewItem& tile);
    void AddFavourite(std::string_view number);
    /// "Bauteil aus Favoriten entfernen": the selected tile of the visible favourites tab.
    bool RemoveSelectedFavourite();
    /// "Bauteil(e) im Modell selektieren".
    void FindPartsInModel();
    /// A part the program made (a baked plastic strip): its tile on the objects tab, where it
    /// can be dragged into the model; a tile of the same number is replaced.
    void AddGeneratedPart(std::string_view number, std::string_view name);

    // --- Collection -----------------------------------------------------------------------
    TSnapViewData& Collection() { return m_pages[0][CollectionTab]; }
    const TSnapViewData& Collection() const { return m_pages[0][CollectionTab]; }
    /// Loads a collection file. A file that cannot be read leaves the collection and
    /// LASTCOLLECTIONFILE as they were and shows the load warning.
    bool OpenCollection(const std::filesystem::path& file);
    /// Loads a collection from lines already read (the online library). No file name stored.
    void OpenCollection(const std::vector<std::string>& lines);
    /// Adds a collection file: totals of numbers already present are added up.
    bool MergeCollection(const std::filesystem::path& file);
    /// Writes the collection atomically; LASTCOLLECTIONFILE is stored only if that worked.
    bool SaveCollection(const std::filesystem::path& file);
    std::vector<std::string> CollectionLines() const;
    /// "Neu": asks first; true if the collection was emptied.
    bool NewCollection();
    /// Free counts from the numbers of the placed parts.
    void RefreshCollection(const std::vector<std::string>& placedNumbers);
    /// Free counts from the model (skipped while the model suppresses it).
    void RefreshCollection();
    /// "Bauteil zur Sammlung hinzufügen" for the actual tile; asks the count.
    bool AddSelectedToCollection();
    /// Adds a tile of this number with a total unless the collection has one already.
    bool AddToCollection(std::string_view number, int32_t total);
    /// "Bauteil in Sammlung bearbeiten" for the selected collection tile.
    bool EditSelectedCollectionTile();
    /// "Bauteil aus Sammlung entfernen".
    bool RemoveSelectedCollectionTile();
    /// "Selektierte Bauteile zur Sammlung hinzufügen".
    void AddSelectedPartsToCollection(const std::vector<std::string>& selectedNumbers);
    void AddSelectedPartsToCollection();
    /// "Sammlung drucken".
    std::vector<TCollectionPrintRow> CollectionPrintRows() const;

    // --- Search ---------------------------------------------------------------------------
    /// The next entry after the last found one whose article number contains the number text
    /// or whose name contains the name text (upper-cased; an empty text matches nothing). A
    /// match shows and selects its tile; without one the message is shown and the next
    /// search starts from the beginning. Returns the entry's index.
    std::optional<size_t> SearchBib(std::string_view numberText, std::string_view nameText);
    /// The search starts from the beginning again (a search field was edited).
    void ResetSearch() { m_searchFrom = 0; }

private:
    TSnapViewItem CollectionTile(std::string_view number, int32_t total) const;
    /// Adds the lines' totals to the collection's tiles (after emptying it, with replace).
    void AddToCollection(const std::vector<std::pair<std::string, int32_t>>& lines, bool replace);
    /// A collection file's lines; a warning and nothing for a file that cannot be read.
    std::optional<std::vector<std::pair<std::string, int32_t>>> ReadCollectionFile(
        const std::filesystem::path& file);
    void Changed(const TLibraryPage& page);
    void Warn(int key, std::string_view def);

    TLibraryView* m_view = nullptr;
    TLibraryModel* m_model = nullptr;
    std::vector<TBibData> m_entries;
    std::unordered_map<std::string, size_t> m_entryIndex;  ///< upper-case number -> entry
    std::array<std::array<TSnapViewData, LibraryTabCount>, 2> m_pages;
    TLibrarySet m_visible = TLibrarySet::New;
    std::array<int, 2> m_activeTab{0, 0};
    std::optional<TSnapViewItem> m_dragged;
    size_t m_searchFrom = 0;
};

// --- Maintainer tools -------------------------------------------------------------------------

/// One file of an import from outside the part folders.
struct TImportFile {
    std::filesystem::path Source;
    std::filesystem::path Target;
    bool SourceExists = false;  ///< shown as "ja"/"nein"
    bool TargetExists = false;
};

/// The files "Bauteil aus externer Quelle importieren..." would copy: the chosen definition,
/// and from the folder above its folder the meshes, normals, icon and print picture named
/// after the first five characters of its name. Targets are in the user folder.
std::vector<TImportFile> PlanImport(const TPartFiles& files, const std::filesystem::path& defFile,
                                    std::string_view newNumber);

enum class TImportResult { Done, Cancelled, Failed };

/// Copies every file whose source exists. When a target already exists (as a shipped or a
/// user file), the user is asked first; No copies nothing. Refreshes the part-file index.
TImportResult ExecuteImport(const std::vector<TImportFile>& plan, TPartFiles& files,
                            TLibraryView& view, std::string* error = nullptr);

/// The 64 x 64 picture written as the icon of a copied part (a 24-bit BMP file's bytes).
std::string PlaceholderIconBmp();

enum class TCopyPartResult { Done, NumberTaken, NoSource, Failed };

/// "Bauteil kopieren": the source definition under a new number with a colour and group,
/// a placeholder icon, and the source's print picture and meshes where present.
TCopyPartResult CopyPart(TPartFiles& files, std::string_view source, std::string_view target,
                         int group, int red, int green, int blue);

/// "Sortierung bearbeiten": the i-th number (from 0) gets SortOrder 10 + 100 * i and its
/// definition is written in canonical form (to the user folder). False if any write failed.
bool SaveSortOrder(TPartFiles& files, const std::vector<std::string>& numbers);

/// "Bauteil bearbeiten (Dialog)": rewrites a definition in canonical form.
bool RewriteDefinition(TPartFiles& files, std::string_view number);

/// The category list of the copy dialog; an entry's index is the new Group.
std::vector<std::string> CopyPartCategories();

/// A colour of the copy dialog.
struct TCopyPartColour {
    std::string Name;
    int Red, Green, Blue;
};
std::vector<TCopyPartColour> CopyPartColours();

}  // namespace kx
