// The main window: menus and toolbar from the command table, the library strip, the parts
// and groups trees, the 3D view in its scroll box, the motor panels, the animation bar.
#pragma once

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QGroupBox;
class QLabel;
class QMenu;
class QScrollArea;
class QSlider;
class QSplitter;
class QToolBar;
class QToolButton;
class QTreeWidget;
class QWidget;

namespace kx {

class TAnimationBar;
class TCommandTable;
class TKinematikMode;
class TFormKineManager;
class TKineDialogsQt;
class TFormLichtManager;
class TFormKoordinaten;
class TdlgMeasureManager;
class TMainFormPorts;
class TPartsTreeDrag;
class TTreePopups;
class TLibraryPanel;
class TPartUploadPort;
class TFormLLWin;
class TFormSplash;
class TdlgSearch;
class TQtViewerHost;
class TViewerInteraction;
class TViewerDropTarget;
class TEditModeBar;
class TGroupsTreeBinding;
class TPhaseWindowsQt;
class TdlgShowBauphase;
class TPartFiles;
class TPythonCommands;
class TScene;
class TViewerWidget;
class TkxMain;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    TCommandTable& Commands() { return *m_commands; }
    TkxMain& Model() { return *m_model; }
    TScene& Scene() { return *m_scene; }
    TViewerWidget* Viewer() const { return m_viewer; }
    TMainFormPorts& Ports() { return *m_ports; }
    const TPartFiles& Files() const { return *m_files; }
    TFormLichtManager* LightManager() const { return m_lightManager; }
    /// Scripting: the script manager, the "Skripte" menu, the start-up scripts.
    TPythonCommands* Python() const { return m_python; }

    /// Status bar panel 0..3.
    void SetStatusText(int panel, const QString& text);
    QString StatusText(int panel) const;

    /// Replaces the window's texts from the current language table, and those of the tool
    /// windows that live as long as it.
    void DoLanguage();
    /// "Systemeinstellungen": the options dialog, then RefreshAfterOptions.
    void OptionsCommand();
    /// Applies the stored settings that take effect at once: the view's colour and
    /// antialiasing, the language of every long-lived window, the grid, the outline width and
    /// the build-phase display.
    void RefreshAfterOptions();

    void SetActiveColor(int colour);
    int ActiveColor() const;

    /// A command's menu item and its toolbar button together, as the model decides them; the
    /// state holds until the model changes it. Conditions of the other commands are asked
    /// again once the model is done with its change.
    void SetCommandEnabled(const std::string& id, bool enabled);
    bool GroupModeDown() const;
    void RedrawView();

    QWidget* LibraryArea() const { return m_libraryArea; }
    /// The strip of motor panels (pnlKinematik), shown in kinematics mode.
    QWidget* MotorArea() const { return m_motorArea; }
    TKinematikMode* KinematikMode() const { return m_kineMode; }
    /// The kinematics manager (the one made at start, or made when first asked for).
    TFormKineManager* KineManager();
    /// "Logik-Manager", the flowchart window of the model's sequence program.
    TFormLLWin* LogicManager() const { return m_logicManager; }
    /// The jog dial centred on the view point (x, y); runs the command chosen there.
    void RunJogDial(int x, int y);
    QScrollArea* ViewBox() const { return sb; }
    QTreeWidget* PartsTree() const { return tvBausteine; }
    QTreeWidget* GroupsTree() const { return tvGroups; }
    QSlider* TimeSlider() const { return Track; }
    QToolButton* ToolButton(const char* name) const;
    TdlgShowBauphase* ShowBauphaseWindow() const { return m_showBauphase; }
    TLibraryPanel* Library() const { return m_library; }
    TViewerInteraction* Interaction() const { return m_viewerInput.get(); }
    TEditModeBar* Modes() const { return m_modes; }
    TAnimationBar* Animation() const { return m_animation; }
    /// The coordinates manager (the one made at start, or made when the window is first shown).
    TFormKoordinaten* CoordinatesManager() const { return m_coordinates; }
    /// The measurement manager while it exists (from its first opening to the next new model
    /// or load).
    TdlgMeasureManager* MeasureManager() const { return m_measureManager; }
    /// "Entfernen": the selected part and every co-selected one.
    void DeleteSelection();

    // --- Model file commands ------------------------------------------------------------------
    void NewModelCommand();
    void LoadModelCommand();
    void MergeModelCommand();
    void SaveModelCommand();
    void SaveModelAsCommand();
    /// Reopens recent file n (1-8) without asking.
    void OpenRecentFile(int n);
    /// Loads a file as the new model, or merges it; tells the user why when it fails.
    bool LoadFile(const QString& fileName, bool newModel);
    void FillDateiPop();
    /// Replaces the file dialogs when set (scripts and tests): save or open, the filter; an
    /// empty answer cancels.
    std::function<QString(bool save, const QString& filter)> FileChooser;
    void FillCameraMenus();
    QMenu* RecentFilesMenu() const { return m_popDatei; }
    QMenu* CamerasMenu() const { return m_popCameras; }
    /// "Korvex Designer [file]".
    void SetCaptionFile(const QString& fileName);
    /// The caption again, with " *" while the model has unsaved changes.
    void UpdateCaption();
    /// Before the open model is replaced or the window closes: true when there are no unsaved
    /// changes, or the user saved them or chose to drop them; false when the user went back.
    bool MayDiscardModel();
    /// "Online-Bibliothek": a downloaded model replaces the open one.
    void OnlineLibraryCommand();

    // --- View commands ------------------------------------------------------------------------
    void ShowGrid(bool on);
    void StoreCamera(int index);
    void RecallCamera(int index);
    /// The view as drawn now.
    QImage Snapshot();
    /// Zooms as one mouse-wheel step of delta (120 a notch, positive towards the screen).
    void WheelZoom(int delta);

signals:
    /// After the window was first shown and its layout restored.
    void Shown();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void BuildLayout();
    void BuildToolBar();
    void BindCommands();
    void BindViewCommands();
    void BindModelCommands();
    /// The coordinates manager's and the measurements' commands (Main_placement.cpp).
    void BindPlacementCommands();
    void GiveCoordinatesManagerTheModel();
    /// The coordinates and measurement managers' texts from the language table.
    void PlacementDoLanguage();
    void CloseMeasureManager();
    void BindMotionControls();
    /// The "Kinematik" menu and the kinematics manager (Main_kine.cpp).
    void BindKineCommands();
    void CreateLibrary();
    void CreateInteraction();
    /// The tree node chosen in the parts tree, if any.
    std::optional<struct TTreePos> SelectedTreePos() const;
    QToolButton* AddToolButton(const char* id, int hintKey, const char* hint, const QIcon& icon,
                               bool checkable = false);
    /// A button that runs a command of the table and is enabled exactly when its menu item is.
    QToolButton* CommandButton(QWidget* parent, const char* id, const char* command, int hintKey,
                               const char* hint, const QIcon& icon);
    void TieToCommand(QToolButton* button, const char* command);
    /// FormResize and Splitter2Moved: the view takes its box's size less 5 pixels each way.
    void FollowViewBox();
    QString ChooseModelFile(bool save);
    void SavePictureCommand(int format);
    void ResetCamera();
    /// The box behind the view in the view's background colour.
    void ColourViewBox();
    QString Title() const;

    std::unique_ptr<TCommandTable> m_commands;
    std::unique_ptr<TScene> m_scene;
    std::unique_ptr<TPartFiles> m_files;
    std::unique_ptr<TkxMain> m_model;
    TMainFormPorts* m_ports = nullptr;
    TViewerWidget* m_viewer = nullptr;
    TFormLichtManager* m_lightManager = nullptr;
    TdlgShowBauphase* m_showBauphase = nullptr;
    TFormLLWin* m_logicManager = nullptr;
    TFormKoordinaten* m_coordinates = nullptr;
    TdlgMeasureManager* m_measureManager = nullptr;
    TLibraryPanel* m_library = nullptr;
    TFormSplash* m_splash = nullptr;
    TdlgSearch* m_search = nullptr;
    TEditModeBar* m_modes = nullptr;
    std::unique_ptr<TQtViewerHost> m_viewerHost;
    std::unique_ptr<TViewerInteraction> m_viewerInput;
    std::unique_ptr<TViewerDropTarget> m_viewerDrop;
    TGroupsTreeBinding* m_groupsBinding = nullptr;
    TTreePopups* m_treePopups = nullptr;
    TPartsTreeDrag* m_partsTreeDrag = nullptr;
    std::unique_ptr<TPhaseWindowsQt> m_phaseWindows;
    std::unique_ptr<TPartUploadPort> m_uploadPort;
    TKinematikMode* m_kineMode = nullptr;
    TPythonCommands* m_python = nullptr;
    TFormKineManager* m_kineManager = nullptr;
    std::unique_ptr<TKineDialogsQt> m_kineDialogs;
    QToolBar* m_toolBar = nullptr;
    QSplitter* m_libSplitter = nullptr;
    QSplitter* m_leftSplitter = nullptr;
    QWidget* m_libraryArea = nullptr;
    QGroupBox* m_partsBox = nullptr;
    QGroupBox* m_groupsBox = nullptr;
    QTreeWidget* tvBausteine = nullptr;
    QTreeWidget* tvGroups = nullptr;
    QScrollArea* sb = nullptr;
    QWidget* m_motorArea = nullptr;
    QWidget* m_animationBar = nullptr;
    QSlider* Track = nullptr;
    TAnimationBar* m_animation = nullptr;
    QMenu* m_popDatei = nullptr;
    QMenu* m_popCameras = nullptr;
    std::array<QLabel*, 4> m_panels{};
    bool m_multiSelection = false;
    bool m_shownOnce = false;
    QString m_caption;  ///< the window title without the unsaved-changes mark
};

}  // namespace kx
