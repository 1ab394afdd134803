// The library panel: both sets of tabs with their tile views, the set buttons, the tile menu.
#pragma once

#include <QPixmap>
#include <QWidget>
#include <array>
#include <vector>

#include "catalogue/u_library.h"

class QAction;
class QMenu;
class QStackedWidget;
class QTabWidget;
class QToolButton;

namespace kx {

class TFormSplash;
class TPartFiles;
class TSnapView;

/// Keys of section "MAIN" for the panel's own captions, kept together so that they follow the
/// main window's numbering in one place.
namespace LibraryText {
inline constexpr int AddToCollection = 168;       ///< "Bauteil zur Sammlung hinzufügen"
inline constexpr int EditInCollection = 169;      ///< "Bauteil in Sammlung bearbeiten"
inline constexpr int RemoveFromCollection = 170;  ///< "Bauteil aus Sammlung entfernen"
inline constexpr int RemoveFavourite = 171;       ///< "Bauteil aus Favoriten entfernen"
inline constexpr int FindInModel = 172;           ///< "Bauteil(e) im Modell selektieren"
inline constexpr int CollectionFilter = 176;  ///< "Sammlung (*.kxc)|*.kxc|Alle Dateien (*.*)|*.*"
inline constexpr int NewSetHint = 177;        ///< "Aktuelle Bauteile"
inline constexpr int OldSetHint = 178;        ///< "Ältere Bauteile"
}  // namespace LibraryText

class TLibraryPanel : public QWidget, public TLibraryView {
    Q_OBJECT
public:
    explicit TLibraryPanel(QWidget* parent = nullptr);
    ~TLibraryPanel() override;

    TPartLibrary& Library() { return m_library; }
    const TPartLibrary& Library() const { return m_library; }
    void SetModel(TLibraryModel* model) { m_library.SetModel(model); }

    /// Builds the library (FillBauteileView) with the splash window's bar showing progress.
    TLibraryFillResult Fill(const TPartFiles& files, const TLibraryFillOptions& options,
                            TFormSplash* splash = nullptr);

    /// The number of the tile selected on the visible tab, empty if none.
    std::string GetActualPartNumber() const { return m_library.GetActualPartNumber(); }
    /// Shows the tab of a LASTGROUP code; LastGroup is the code of the visible tab.
    void ChangeLibrary(int32_t code) { m_library.ChangeLibrary(code); }
    int32_t LastGroup() const { return m_library.LastGroup(); }

    /// Opens LASTCOLLECTIONFILE if it names an existing file (start-up); silent otherwise.
    bool OpenLastCollection();

    // --- Collection menu commands (they show their own dialogs) ---------------------------
    void NewCollectionCommand();
    void OpenCollectionCommand();
    void MergeCollectionCommand();
    void SaveCollectionCommand();

    /// Renews every caption from the language table.
    void DoLanguage();

    QTabWidget* NewPages() const { return pcNew; }
    QTabWidget* OldPages() const { return pcOld; }
    TSnapView* View(const TLibraryPage& page) const;
    /// The tile context menu; the main window may append its own (maintainer) commands.
    QMenu* TileMenu() const { return m_tileMenu; }
    const std::vector<QPixmap>& Icons() const { return m_icons; }
    /// Loads an icon into the shared list: 64 x 64, its top-left colour transparent. Its
    /// index, -1 if the file cannot be read.
    int LoadIcon(const std::filesystem::path& file);

    QToolButton* btnNewBauteile;
    QToolButton* btnOldBauteile;

    // --- TLibraryView ---------------------------------------------------------------------
    void PageChanged(const TLibraryPage& page) override;
    void SelectionChanged(const TLibraryPage& page) override;
    void ShowPage(const TLibraryPage& page) override;
    void ScrollToTile(const TLibraryPage& page, int index) override;
    void Message(TLibraryMessageKind kind, const std::string& text) override;
    bool AskYesNo(const std::string& question) override;
    std::optional<int32_t> AskCollectionCount(int32_t initial) override;

signals:
    /// A tile is being dragged; the drag carries PartMimeType with the number.
    void PartDragStarted(const QString& number);

private:
    void ShowTileMenu(TSnapView* view, int index, const QPoint& globalPos);
    QString CollectionFilter() const;

    TPartLibrary m_library;
    std::vector<QPixmap> m_icons;
    QStackedWidget* m_stack;
    QTabWidget* pcNew;
    QTabWidget* pcOld;
    std::array<std::array<TSnapView*, LibraryTabCount>, 2> m_views{};
    QMenu* m_tileMenu;
    QAction* menAddToCollection;
    QAction* menEditInCollection;
    QAction* menRemoveFromCollection;
    QAction* menRemoveFavourite;
    QAction* menFindInModel;
};

}  // namespace kx
