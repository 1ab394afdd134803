// The library panel: both sets of tabs with their tile views, the set buttons, the tile menu.
#pragma once

#include <QPixmap>
#include <QWidget>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "catalogue/u_library.h"
#include "catalogue/u_outsideprograms.h"
#include "catalogue/u_partpublish.h"

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
inline constexpr int CollectionFilter = 176;    ///< "Sammlung (*.kxc)|*.kxc|Alle Dateien (*.*)|*.*"
inline constexpr int NewSetHint = 177;          ///< "Aktuelle Bauteile"
inline constexpr int OldSetHint = 178;          ///< "Ältere Bauteile"
inline constexpr int CopyPart = 204;            ///< "Bauteil kopieren"
inline constexpr int EditDef = 205;             ///< "Bauteil bearbeiten (Dialog)"
inline constexpr int EditSort = 206;            ///< "Sortierung bearbeiten"
inline constexpr int ImportExternalPart = 207;  ///< "Bauteil aus externer Quelle importieren..."
inline constexpr int ExportPart = 240;          ///< "Bauteil exportieren (.part)"
inline constexpr int EditPart = 241;            ///< "Bauteil bearbeiten (Texteditor)"
inline constexpr int UploadPart = 242;          ///< "Bauteil upload (ftp)"
inline constexpr int WriteVersion = 243;        ///< "Versionsnummer online schreiben"
inline constexpr int PartNamesInClipboard = 244;  ///< "Bauteilnamen in Clipboard"
inline constexpr int IncVersion = 245;        ///< "Versionsnummer erhöhen und veröffentlichen"
inline constexpr int DefGenerator = 246;      ///< "DefGenerator"
inline constexpr int ProfileGenerator = 247;  ///< "Alu-Nutprofil"
inline constexpr int Defmaker = 248;          ///< "Defmaker"
inline constexpr int Blender = 249;           ///< "Blender"
inline constexpr int CloseMenu = 250;         ///< "Schliessen"
inline constexpr int PackageFilter = 251;     ///< "Bauteil (*.part)|*.part|Alle Dateien (*.*)|*.*"
inline constexpr int NoDefmaker = 252;        ///< tooltip while the editor command is empty
inline constexpr int NoServer = 253;          ///< tooltip while no server connection exists
}  // namespace LibraryText

/// The library strip of the main window. It owns the library (TPartLibrary) and is its view.
/// The main window puts it into its library area and calls, in this order: SetModel (the
/// model's side of the collection counts and "Bauteil(e) im Modell selektieren"), Fill (behind
/// the splash window), OpenLastCollection; when shown ChangeLibrary(LASTGROUP); on close
/// LASTGROUP := LastGroup(). After every change of the model's parts it calls
/// Library().RefreshCollection(); a drop of a dragged tile (PartMimeType) into the 3D view
/// calls Library().PartDropped(), which adds the part to both favourites tabs.
class TLibraryPanel : public QWidget, public TLibraryView {
    Q_OBJECT
public:
    explicit TLibraryPanel(QWidget* parent = nullptr);
    ~TLibraryPanel() override;

    TPartLibrary& Library() { return m_library; }
    const TPartLibrary& Library() const { return m_library; }
    void SetModel(TLibraryModel* model) { m_library.SetModel(model); }

    /// Builds the library (FillBauteileView) with the splash window's bar showing progress.
    /// The part folders are kept for the maintainer commands.
    TLibraryFillResult Fill(TPartFiles& files, const TLibraryFillOptions& options,
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

    // --- Maintainer commands (developer mode), on the actual part --------------------------
    void CopyPartCommand();
    void ImportExternalPartCommand();
    void EditSortCommand();
    void EditDefCommand();
    void EditPartCommand();
    void UploadPartCommand();
    void WriteVersionCommand();
    void PartNamesToClipboardCommand();
    void PublishRevisionCommand();
    void ProfileGeneratorCommand();
    void DefmakerCommand();
    void BlenderCommand();

    // --- Part packages (everyone) ----------------------------------------------------------
    /// "Bauteil exportieren (.part)" for the actual part.
    void ExportPartCommand();
    /// "Import" -> "Bauteil (*.part)": asks for the file, then ImportPackageFile.
    void ImportPackageCommand();
    /// Imports a package after the question; the library shows the part at once. True if
    /// the part was imported.
    bool ImportPackageFile(const QString& file);

    /// Answers the package commands' file choices instead of the file dialog when set (save,
    /// proposed name) -> chosen file, empty when cancelled.
    std::function<QString(bool save, const QString& proposed)> PackageFileChooser;

    /// The server the upload commands talk to; without one they are disabled.
    void SetUploadPort(TPartUploadPort* port);

    /// Shows the maintainer commands in the tile menu (developer mode) or hides them.
    void SetDeveloperMode(bool on);
    /// The maintainers' "Bauteil upload (ftp)" of a part number over the library server; the
    /// tile menu's upload item runs it when set (else through the upload port).
    void SetUploadCommand(std::function<void(const std::string& number)> upload);

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

protected:
    /// The file dialog of the collection commands; an empty name when cancelled.
    virtual QString ChooseCollectionFile(bool save);
    /// The file dialog of the package commands; an empty name when cancelled.
    virtual QString ChoosePackageFile(bool save, const QString& proposed);
    /// The profile generator's input box; nothing when cancelled.
    virtual std::optional<QString> AskProfileLength();
    /// Starts an outside program without waiting for it; false if it cannot be started.
    virtual bool StartProgram(const TLaunch& launch);

signals:
    /// A tile is being dragged; the drag carries PartMimeType with the number.
    void PartDragStarted(const QString& number);

private:
    void ShowTileMenu(TSnapView* view, int index, const QPoint& globalPos);
    void BuildPartToolItems();
    void PartToolLanguage();
    void UpdatePartToolStates();
    void Launch(const TLaunch& launch);
    QString PackageFilter() const;
    QString CollectionFilter() const;

    TPartLibrary m_library;
    TPartFiles* m_files = nullptr;
    int m_deferMessages = 0;  // while the splash window may cover a message box
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
    QAction* m_developerLine;
    QAction* menCopyPart;
    QAction* menEditDef;
    QAction* menEditSort;
    QAction* menImportExternalPart;
    QAction* menExportPart = nullptr;
    QAction* menEditPart = nullptr;
    QAction* menUploadPart = nullptr;
    QAction* menWriteVersion = nullptr;
    QAction* menPartNamesInClipboard = nullptr;
    QAction* menIncVersionsnummer = nullptr;
    QMenu* menDefGenerator = nullptr;
    QAction* menProfileGenerator = nullptr;
    QAction* menDefmaker = nullptr;
    QAction* menOpenInBlender = nullptr;
    QAction* menCloseMenu = nullptr;
    TPartUploadPort* m_uploadPort = nullptr;
    std::function<void(const std::string& number)> m_uploadCommand;
};

}  // namespace kx
