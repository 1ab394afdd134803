// The main window: menus and toolbar from the command table, the library strip, the parts
// and groups trees, the 3D view in its scroll box, the motor panels, the animation bar.
#include "app/Main.h"

// The renderer's GL loader must come before Qt's GL headers.
#include "view/f_viewer.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QSlider>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cmath>

#include "app/d_History.h"
#include "app/d_Message.h"
#include "app/d_Options.h"
#include "app/d_SaveChanges.h"
#include "app/f_Info.h"
#include "app/helpsystem.h"
#include "app/qttranslations.h"
#include "app/u_cablecommands.h"
#include "app/u_commandtable.h"
#include "app/u_exportcommands.h"
#include "app/u_formstyle.h"
#include "app/u_kinematikmode.h"
#include "app/u_mainports.h"
#include "app/u_paintedicons.h"
#include "app/u_partstreedelegate.h"
#include "app/u_partstreedrag.h"
#include "app/u_printcommands.h"
#include "app/u_pythoncommands.h"
#include "app/u_recoverykeeper.h"
#include "app/u_treepopups.h"
#include "catalogue/d_Search.h"
#include "catalogue/f_Library.h"
#include "catalogue/f_Splash.h"
#include "catalogue/u_partcache.h"
#include "catalogue/u_partfiles.h"
#include "catalogue/u_partpackage.h"
#include "foundation/u_help.h"
#include "foundation/u_language.h"
#include "foundation/u_param.h"
#include "foundation/u_stack.h"
#include "generated/d_HalbzeugEditor.h"
#include "model/MainObj.h"
#include "motion/d_Jog.h"
#include "motion/f_kineManager.h"
#include "motion/kinedialogs.h"
#include "motion/u_JogTypes.h"
#include "online/d_CloudCollection.h"
#include "online/d_OnlineLibrary.h"
#include "online/d_ServerSettings.h"
#include "online/d_SoftwareUpdate.h"
#include "online/f_InternetBauteile.h"
#include "online/partupload.h"
#include "online/partuploadport.h"
#include "placement/f_Conn.h"
#include "sequence/f_llwin.h"
#include "view/f_EditModes.h"
#include "view/f_ViewerGlue.h"
#include "view/u_viewer.h"
#ifdef KX_HAVE_SPNAV
#include "view/f_SpaceMouse.h"
#endif
#include "generated/d_TubeManager.h"
#include "model/d_ShowBauphase.h"
#include "model/f_Bauphasen.h"
#include "model/u_groupstreebinding.h"
#include "model/u_outline.h"
#include "motion/f_AnimationBar.h"
#include "view/d_Bildgroesse.h"
#include "view/d_CameraName.h"
#include "view/f_GlInfo.h"
#include "view/f_LightManager.h"
#include "view/r_glinfo.h"
#include "view/u_picturefile.h"
#include "view/u_scene.h"

namespace kx {

namespace {
constexpr const char* kSection = "MAIN";
QString Text(const char* section, int key, const char* def) {
    return QString::fromStdString(Language().GetText(section, key, def));
}
QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

QImage ToQImage(const TRgbaImage& image) {
    if (image.Empty()) {
        return {};
    }
    QImage out(image.Pixels.data(), image.Width, image.Height, image.Width * 4,
               QImage::Format_RGBA8888);
    return out.copy();
}
}  // namespace

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
    FormCreate();
}

TMainForm::~TMainForm() {
    // The model's objects live in the scene, which the viewer draws: model first.
    if (m_viewer) {
        m_viewer->SetScene(nullptr);
    }
    if (m_ports) {
        m_ports->SetModel(nullptr);
    }
    m_model.reset();
}

void TMainForm::FormCreate() {
    Stack().Push("TMainForm.FormCreate");
    setObjectName(QStringLiteral("MainForm"));
    m_commands = std::make_unique<TCommandTable>(MainCommandRows(), this);
    m_commands->BuildMenus(menuBar(), Param().DeveloperMode);
    if (QMenu* scripts = m_commands->Menu("menScripts")) {
        scripts->menuAction()->setVisible(false);
    }
    BuildToolBar();
    BuildLayout();
    ApplyFormStyle(this);

    m_multiSelection = false;

    // The scene graph and the view.
    m_scene = std::make_unique<TScene>();
    BuildMainScene(*m_scene, static_cast<float>(Param().GetGridDistance()));
    m_scene->SetBackgroundColor(SceneColorFromCode(Param().GetBackgroundColor3D(), palette()));
    m_scene->SetAntialias(Param().GetAntialias());
    m_viewer = new TViewerWidget(sb);
    m_viewer->setObjectName(QStringLiteral("GLSceneViewer1"));
    m_viewer->setFormat(ViewerSurfaceFormat(m_scene->Antialias()));
    m_viewer->SetScene(m_scene.get());
    m_viewer->installEventFilter(this);
    sb->setWidget(m_viewer);

    m_lightManager = new TFormLichtManager(this);
    m_lightManager->SetScene(m_scene.get(), [this] { RedrawView(); });

    if (TSceneObject* plus = m_scene->FindObject("dcPlus")) {
        plus->SetVisible(false);
    }
    SetStatusText(0, QStringLiteral("Version " KX_VERSION));
    SetActiveColor(255);

    // The model and the ports through which it reaches the window.
    m_files = std::make_unique<TPartFiles>();
    m_model = std::make_unique<TkxMain>(*m_scene, *m_files);
    m_ports = new TMainFormPorts(*this, *tvBausteine);
    m_ports->SetModel(m_model.get());
    m_model->SetView(m_ports);
    m_model->SetPartsTreeView(m_ports);
    m_model->SetCoordinatesView(m_ports);
    m_model->SetWaitView(m_ports);
    m_model->ConnectorsHidden = true;
    m_model->CreateTreeRoot();
    m_logicManager = new TFormLLWin(*m_model, this);
    m_phaseWindows = std::make_unique<TPhaseWindowsQt>(this);
    m_model->SetPhaseWindows(m_phaseWindows.get());
    m_showBauphase = new TdlgShowBauphase(this);
    m_ports->OnPhaseChanged = [this](int phase) { m_showBauphase->SetBauphase(phase); };
    m_groupsBinding = new TGroupsTreeBinding(*tvGroups, *m_model, this);
    m_groupsBinding->ImageIcon = TreeNodeIcon;
    m_ports->OnGroupsChanged = [this] { m_groupsBinding->Refill(); };
    m_treePopups = new TTreePopups(
        *tvBausteine, *tvGroups, *m_groupsBinding, *m_model, [this] { RedrawView(); }, this);
    m_partsTreeDrag = new TPartsTreeDrag(
        *tvBausteine, *m_model, [this] { RedrawView(); }, this);
    tvBausteine->setItemDelegate(
        new TPartsTreeDelegate(*m_model, Param().DeveloperMode, tvBausteine));
    CreateInteraction();
    CreateLibrary();

    BindCommands();
    BindViewCommands();
    BindModelCommands();
    m_animation = new TAnimationBar(*m_model, *m_files, *Track, *m_animationBar, *m_viewer, this);
    m_animation->Bind(*m_commands);
    BindPlacementCommands();
    BindPrintCommands(*this);
    BindExportCommands(*this);
    BindCableAndRoundingCommands(*this);
    BindMotionControls();
    BindKineCommands();
    m_python = new TPythonCommands(*this);
    m_python->DoPythonGuiInit();
    new TRecoveryKeeper(*this);
    // The commands the model decides start as the model does: nothing selected, nothing to
    // undo.
    for (const char* id : {"menDelete", "menUndo", "menGroup", "menDeGroup"}) {
        SetCommandEnabled(id, false);
    }
    DoLanguage();
    FillCameraMenus();
    m_caption = QStringLiteral("Korvex designer");
    UpdateCaption();
}

QToolButton* TMainForm::AddToolButton(const char* id, int hintKey, const char* hint,
                                      const QIcon& icon, bool checkable) {
    auto* button = new QToolButton(m_toolBar);
    button->setObjectName(QString::fromLatin1(id));
    button->setIcon(icon);
    button->setCheckable(checkable);
    button->setAutoRaise(true);
    button->setProperty("hintKey", hintKey);
    button->setProperty("hintDefault", QString::fromUtf8(hint));
    button->setToolTip(QString::fromUtf8(hint));
    button->setEnabled(false);
    m_toolBar->addWidget(button);
    return button;
}

QToolButton* TMainForm::CommandButton(QWidget* parent, const char* id, const char* command,
                                      int hintKey, const char* hint, const QIcon& icon) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(id));
    button->setIcon(icon);
    button->setAutoRaise(true);
    button->setProperty("hintKey", hintKey);
    button->setProperty("hintDefault", QString::fromUtf8(hint));
    button->setToolTip(QString::fromUtf8(hint));
    TieToCommand(button, command);
    return button;
}

void TMainForm::TieToCommand(QToolButton* button, const char* command) {
    const std::string id = command;
    button->setProperty("command", QString::fromLatin1(command));
    connect(button, &QToolButton::clicked, this, [this, id] { m_commands->Execute(id); });
    if (QAction* action = m_commands->Action(id)) {
        button->setEnabled(action->isEnabled());
        connect(action, &QAction::changed, button,
                [button, action] { button->setEnabled(action->isEnabled()); });
    }
}

QToolButton* TMainForm::ToolButton(const char* name) const {
    return m_toolBar->findChild<QToolButton*>(QString::fromLatin1(name));
}

void TMainForm::BuildToolBar() {
    m_toolBar = addToolBar(QStringLiteral("Werkzeuge"));
    m_toolBar->setObjectName(QStringLiteral("ToolBar"));
    m_toolBar->setMovable(false);
    QStyle* st = style();
    struct TButton {
        const char* Id;
        const char* Command;
        int Key;
        const char* Hint;
        QStyle::StandardPixmap Icon;
        bool Checkable;
    };
    const TButton buttons[] = {
        {"btnNew", "menNew", 61, "Neues Modell", QStyle::SP_FileIcon, false},
        {"btnOpen", "menLoad", 62, "Modell laden", QStyle::SP_DialogOpenButton, false},
        {"btnOpenLast", "", 153, "Zuletzt geöffnete Modelle", QStyle::SP_ArrowDown, false},
        {"btnSave", "menSave", 63, "Modell speichern", QStyle::SP_DialogSaveButton, false},
        {"btnOnline", "menOnlineLibrary", 154, "Online-Bibliothek", QStyle::SP_DriveNetIcon, false},
        {"btnUndo", "menUndo", 64, "Rückgängig", QStyle::SP_ArrowBack, false},
        {"btnDelete", "menDelete", 67, "Entfernen", QStyle::SP_TrashIcon, false},
        {"btnGrid", "", 68, "Gitter ein/aus", QStyle::SP_FileDialogListView, true},
        {"btnAchse", "", 70, "Achsen ein/aus", QStyle::SP_ToolBarHorizontalExtensionButton, true},
        {"btnCameras", "", 155, "Kamerapositionen", QStyle::SP_DesktopIcon, false},
        {"btnKugeln", "", 71, "Kollisionskörper ein/aus", QStyle::SP_DialogNoButton, true},
        {"btnStartKinematik", "", 72, "Kinematik ein/aus", QStyle::SP_MediaPlay, true},
    };
    for (const TButton& b : buttons) {
        QToolButton* button =
            AddToolButton(b.Id, b.Key, b.Hint, st->standardIcon(b.Icon), b.Checkable);
        if (*b.Command) {
            TieToCommand(button, b.Command);
        }
    }
}

void TMainForm::BuildLayout() {
    auto* central = new QWidget(this);
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(2, 2, 2, 2);

    m_libSplitter = new QSplitter(Qt::Vertical, central);
    m_libSplitter->setObjectName(QStringLiteral("Splitter2"));
    m_libraryArea = new QWidget(m_libSplitter);
    m_libraryArea->setObjectName(QStringLiteral("pnlLibrary"));
    m_libraryArea->setMinimumHeight(90);
    new QVBoxLayout(m_libraryArea);
    m_libraryArea->layout()->setContentsMargins(0, 0, 0, 0);

    auto* work = new QSplitter(Qt::Horizontal, m_libSplitter);
    m_leftSplitter = new QSplitter(Qt::Vertical, work);
    m_leftSplitter->setObjectName(QStringLiteral("pnlLeft"));
    m_partsBox = new QGroupBox(Text(kSection, 130, "Bauteile"), m_leftSplitter);
    tvBausteine = new QTreeWidget(m_partsBox);
    tvBausteine->setObjectName(QStringLiteral("tvBausteine"));
    tvBausteine->setHeaderHidden(true);
    (new QVBoxLayout(m_partsBox))->addWidget(tvBausteine);
    m_groupsBox = new QGroupBox(Text(kSection, 131, "Gruppen"), m_leftSplitter);
    tvGroups = new QTreeWidget(m_groupsBox);
    tvGroups->setObjectName(QStringLiteral("tvGroups"));
    tvGroups->setHeaderHidden(true);
    (new QVBoxLayout(m_groupsBox))->addWidget(tvGroups);

    auto* right = new QWidget(work);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    m_motorArea = new QWidget(right);
    m_motorArea->setObjectName(QStringLiteral("pnlMotors"));
    m_motorArea->hide();
    sb = new QScrollArea(right);
    sb->setObjectName(QStringLiteral("sb"));
    // The view is sized by hand: it follows the box, except that a chosen picture size holds
    // until the box changes size again.
    sb->setWidgetResizable(false);
    sb->installEventFilter(this);
    rightLayout->addWidget(m_motorArea);
    rightLayout->addWidget(sb, 1);
    m_animationBar = new QWidget(right);
    m_animationBar->setObjectName(QStringLiteral("pnlAnimation"));
    auto* aniLayout = new QHBoxLayout(m_animationBar);
    aniLayout->setContentsMargins(0, 0, 0, 0);
    Track = new QSlider(Qt::Horizontal, m_animationBar);
    Track->setObjectName(QStringLiteral("Track"));
    Track->setRange(0, 100);
    aniLayout->addWidget(Track);
    rightLayout->addWidget(m_animationBar);

    work->setStretchFactor(0, 0);
    work->setStretchFactor(1, 1);
    work->setSizes({240, 1000});
    m_libSplitter->setStretchFactor(0, 0);
    m_libSplitter->setStretchFactor(1, 1);
    connect(m_libSplitter, &QSplitter::splitterMoved, this, [this] {
        // Splitter2Moved: the library height is kept whenever the user moves it.
        Param().SetLibraryHeight(m_libSplitter->sizes().value(0));
    });
    outer->addWidget(m_libSplitter);
    setCentralWidget(central);

    for (size_t i = 0; i < m_panels.size(); ++i) {
        m_panels[i] = new QLabel(this);
        m_panels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        m_panels[i]->setMinimumWidth(i == 0 ? 260 : 120);
        statusBar()->addWidget(m_panels[i], i == 3 ? 1 : 0);
    }

    m_popDatei = new QMenu(this);
    m_popDatei->setObjectName(QStringLiteral("popDatei"));
    for (int n = 1; n <= 8; ++n) {
        QAction* item = m_popDatei->addAction(QString());
        item->setObjectName(QStringLiteral("menFile%1").arg(n));
        connect(item, &QAction::triggered, this, [this, n] { OpenRecentFile(n); });
    }
    // Loads and merges change the list behind the menu: it shows the list as it is now.
    connect(m_popDatei, &QMenu::aboutToShow, this, [this] { FillDateiPop(); });
    m_popCameras = new QMenu(this);
    m_popCameras->setObjectName(QStringLiteral("popCameras"));
}

void TMainForm::BindCommands() {
    TCommandTable& c = *m_commands;
    c.Bind("menNew", [this] { NewModelCommand(); });
    c.Bind("menLoad", [this] { LoadModelCommand(); });
    c.Bind("menMerge", [this] { MergeModelCommand(); });
    c.Bind("menSave", [this] { SaveModelCommand(); });
    c.Bind("menSaveAs", [this] { SaveModelAsCommand(); });
    c.Bind("menExit", [this] { close(); });
    c.Bind(
        "menUndo",
        [this] {
            m_model->DoUndo();
            RedrawView();
        },
        [this] { return !m_model->UndoList().Empty(); });
    c.Bind("menSelectAll", [this] {
        m_model->SelectAllCommand();
        RedrawView();
    });
    c.Bind("menSelectPhase", [this] {
        m_model->SelectAllBausteineFromActualPhase();
        RedrawView();
    });
    c.Bind("menDeselectAll", [this] {
        m_model->DeselectAllCommand();
        RedrawView();
    });
    c.Bind("menShowOnlySelected", [this] {
        m_model->HideAllPartsExceptSelection();
        RedrawView();
    });
    c.Bind("menHalbzeug", [this] {
        THalbzeugEditor editor(*m_model, &m_library->Library(), this);
        editor.exec();
    });
    c.Bind("menModelInfo", [this] { m_model->ShowModellInformation(); });
    c.Bind("menHelp", [this] { ShowHelp(this, kHelpIndexContext); });
    c.Bind("menOptions", [this] { OptionsCommand(); });
    c.Bind("menHistory", [this] {
        Stack().Push("TMainForm.menHistoryClick");
        TdlgHistory history(TdlgHistory::HistoryFile(), this);
        history.exec();
    });
    // The video channel is the maker's to name, machine-wide or per user; without one the
    // item says what it waits for.
    const auto channel = [] { return Q(Param().ReadSharedString("VIDEOCHANNELURL", "")); };
    c.Bind(
        "menYouTube",
        [channel] {
            Stack().Push("TMainForm.menYouTubeClick");
            QDesktopServices::openUrl(QUrl(channel()));
        },
        [channel] { return !channel().isEmpty(); });
    c.Bind("menInfo", [this] {
        TFormInfo info(this);
        info.exec();
    });
    c.Bind("menServerSettings", [this] { EditServerSettings(this); });
    c.Bind("menTubeManager", [this] {
        TDlgTubeManager::SchlauchManager1Click(*m_model, this);
        RedrawView();
    });
    c.Bind("menUpdateSoftware", [this] { CheckSoftwareUpdateNew(this); });
    c.Bind("menOnlineLibrary", [this] { OnlineLibraryCommand(); });
    c.Bind("menCollectionOnline", [this] {
        Stack().Push("TMainForm.menCollectionOnlineClick");
        if (!RequireLibraryServer(this)) {
            return;
        }
        TdlgCloudCollection dialog(this);
        if (dialog.exec() == QDialog::Accepted) {
            m_library->Library().OpenCollection(dialog.Lines());
            m_library->Library().ShowLibraryPage({TLibrarySet::New, CollectionTab});
        }
    });
    c.Bind("menUpdateParts", [this] {
        ShowPartUpdate(this, *m_files, LocalPartVersions(m_library->Library().Entries()), [this] {
            // New files replace cached definitions and meshes of the same numbers.
            DefCache().Clear();
            FfCache().Clear();
            m_library->Fill(*m_files, TLibraryFillOptions::Current());
        });
    });
    c.Bind("menLightManager", [this] {
        m_lightManager->move(sb->mapToGlobal(QPoint(0, 0)));
        m_lightManager->show();
        m_lightManager->raise();
    });

    connect(ToolButton("btnOpenLast"), &QToolButton::clicked, this, [this] {
        QToolButton* load = ToolButton("btnOpen");
        const QPoint at = load->mapToGlobal(QPoint(0, ToolButton("btnOpenLast")->height() - 1));
        m_popDatei->popup(at);
    });
    ToolButton("btnOpenLast")->setEnabled(true);
    connect(ToolButton("btnCameras"), &QToolButton::clicked, this, [this] {
        QToolButton* b = ToolButton("btnCameras");
        m_popCameras->popup(b->mapToGlobal(QPoint(0, b->height() - 1)));
    });
    ToolButton("btnCameras")->setEnabled(true);
}

void TMainForm::BindViewCommands() {
    TCommandTable& c = *m_commands;
    c.Bind("menRefresh", [this] {
        m_model->Repaint();
        RedrawView();
    });
    c.Bind("menOutline", [this] {
        const bool on = m_commands->Action("menOutline")->isChecked();
        ChangeOutlineMode(*m_model, on, Param().GetOutlineWidth());
        RedrawView();
    });
    c.Bind("menHires", [this] {
        m_model->MeshFolder = "hires";
        m_viewer->SetLowQuality(false);
        m_model->Repaint();
        RedrawView();
    });
    c.Bind("menLores", [this] {
        m_model->MeshFolder = "lores";
        m_viewer->SetLowQuality(true);
        m_model->Repaint();
        RedrawView();
    });
    c.Bind("menUpsideDown", [this] {
        TSceneCamera* camera = m_scene->Camera();
        camera->SetUp(-camera->Up());
        m_model->Repaint();
        RedrawView();
    });
    c.Bind("menSaveBMP", [this] { SavePictureCommand(0); });
    c.Bind("menSaveJPG", [this] { SavePictureCommand(1); });
    c.Bind("menSavePNG", [this] { SavePictureCommand(2); });
    c.Bind("menCopyPicture", [this] {
        const QImage picture = Snapshot();
        if (!picture.isNull()) {
            QGuiApplication::clipboard()->setImage(picture);
        }
    });
    c.Bind("menPictureSize", [this] {
        TdlgBildgroesse dlg(sb->viewport()->size() - QSize(5, 5), this);
        if (dlg.exec() == QDialog::Accepted) {
            m_viewer->resize(dlg.ChosenSize());
        }
    });
    c.Bind("menGlInfo", [this] {
        TGlInfo info;
        // A view that never got its context has nothing to ask; the window then shows the
        // format alone.
        if (m_viewer->isValid()) {
            m_viewer->makeCurrent();
            info = QueryGlInfo();
            m_viewer->doneCurrent();
        }
        TFormGlInfo dlg(GlReport(info, m_viewer->format(), &m_viewer->Renderer().LastStats()),
                        this);
        dlg.exec();
    });
    c.Bind(
        "menCameraCenter",
        [this] {
            if (TFreeForm* part = m_model->SelectedPart()) {
                m_scene->CameraTarget()->SetPosition(part->AbsolutePosition());
                m_scene->CameraLightToCamera();
                RedrawView();
            }
        },
        [this] { return m_model->SelectedPart() != nullptr; });

    QToolButton* grid = ToolButton("btnGrid");
    grid->setEnabled(true);
    grid->setChecked(true);
    // The button acts when pressed, from the model's flag: the button's own state only flips
    // at the release, which then has to follow the flag again.
    connect(grid, &QToolButton::pressed, this, [this] { ShowGrid(!m_model->GridShown); });
    connect(grid, &QToolButton::clicked, this,
            [this, grid] { grid->setChecked(m_model->GridShown); });
    QToolButton* axes = ToolButton("btnAchse");
    axes->setEnabled(true);
    connect(axes, &QToolButton::pressed, this, [this, axes] {
        m_scene->PartsRoot()->SetShowAxes(!axes->isChecked());
        RedrawView();
    });
}

void TMainForm::BindMotionControls() {
    m_kineMode = new TKinematikMode(*this);
    QToolButton* kine = ToolButton("btnStartKinematik");
    kine->setEnabled(true);
    connect(kine, &QToolButton::pressed, this, [this, kine] {
        // The button acts when pressed: up now means it is going down.
        if (!kine->isChecked()) {
            m_kineMode->Enter();
        } else {
            m_kineMode->Leave();
        }
    });
    QToolButton* bodies = ToolButton("btnKugeln");
    bodies->setEnabled(true);
    bodies->setChecked(m_model->ShowCollisionBodies);
    connect(bodies, &QToolButton::pressed, this, [this, bodies] {
        m_model->ShowCollisionBodies = !bodies->isChecked();
        m_model->Repaint();
        RedrawView();
    });
    m_viewerHost->JogDial = [this](int x, int y) { RunJogDial(x, y); };
}

void TMainForm::RunJogDial(int x, int y) {
    Stack().Push("TMainForm.RunJogDial", x, y);
    // Types whose command the window cannot run yet are not offered.
    const auto available = [this](int type) { return m_commands->Bound(JogTypeCommand(type)); };
    int type = 0;
    {
        TdlgJog dial(this, available);
        dial.PlaceAt(m_viewer->mapToGlobal(QPoint(x, y)));
        dial.exec();
        type = dial.ResultType();
    }
    const std::string command = JogTypeCommand(type);
    if (!command.empty()) {
        m_commands->Execute(command);
    }
}

void TMainForm::CreateInteraction() {
    m_viewerHost = std::make_unique<TQtViewerHost>(m_viewer, this);
    m_viewerHost->Kinematics = [this] { return m_kineMode && m_kineMode->Active(); };
    m_viewerHost->PartsTreeRepaint = [this] { tvBausteine->viewport()->update(); };
    m_viewerHost->Dropped = [this](const std::string&) { m_library->Library().PartDropped(); };
    m_viewerInput =
        std::make_unique<TViewerInteraction>(*m_model, *m_scene, DefCache(), *m_viewerHost);
    m_viewer->SetInputHandler(m_viewerInput.get());
    m_viewerDrop = std::make_unique<TViewerDropTarget>(m_viewer, *m_viewerInput);
    m_modes = new TEditModeBar(m_toolBar);
    m_modes->AddBeforeGroupMode(CommandButton(m_modes, "btnGroup", "menGroup", 77,
                                              "Bauteile gruppieren", GroupButtonIcon(true)));
    m_modes->AddBeforeGroupMode(CommandButton(m_modes, "btnDeGroup", "menDeGroup", 78,
                                              "Bauteilgruppe auflösen", GroupButtonIcon(false)));
    m_toolBar->addWidget(m_modes);
    m_modes->SetViewWidget(m_viewer);
    m_modes->Follow(m_viewerInput.get());
    m_ports->OnConnectorWindow = [this](TFreeForm& fixed, const std::string& number,
                                        int preselected) {
        TFormConn form(*m_model, DefCache(), this);
        form.SetRedraw([this] { RedrawView(); });
        form.SetViewRect(QRect(m_viewer->mapToGlobal(QPoint(0, 0)), m_viewer->size()));
        form.Execute(fixed, number, preselected);
    };
#ifdef KX_HAVE_SPNAV
    (new TSpaceMouse(*m_viewerInput, this))->Open();
#endif
}

void TMainForm::CreateLibrary() {
    m_splash = new TFormSplash(this);
    m_splash->show();
    m_library = new TLibraryPanel(m_libraryArea);
    m_libraryArea->layout()->addWidget(m_library);
    m_library->SetModel(m_ports);
    m_library->SetDeveloperMode(Param().DeveloperMode);
    m_library->SetUploadCommand(
        [this](const std::string& number) { UploadPartFiles(this, number, *m_files); });
    m_uploadPort = std::make_unique<TWebPartUploadPort>(this);
    m_library->SetUploadPort(m_uploadPort.get());
    m_library->Fill(*m_files, TLibraryFillOptions::Current(), m_splash);
    m_ports->OnCollectionChanged = [this] { m_library->Library().RefreshCollection(); };
    m_search = new TdlgSearch(m_library->Library(), this);
    TCommandTable& c = *m_commands;
    c.Bind("menSearch", [this] { m_search->ShowSearch(); });
    c.Bind("menNewCollection", [this] { m_library->NewCollectionCommand(); });
    c.Bind("menOpenCollection", [this] { m_library->OpenCollectionCommand(); });
    c.Bind("menMergeCollection", [this] { m_library->MergeCollectionCommand(); });
    c.Bind("menSaveCollection", [this] { m_library->SaveCollectionCommand(); });
    c.Bind("menImportPart", [this] { m_library->ImportPackageCommand(); });
    c.Bind("menAddSelectedToCollection",
           [this] { m_library->Library().AddSelectedPartsToCollection(); });
    m_library->OpenLastCollection();
}

std::optional<TTreePos> TMainForm::SelectedTreePos() const {
    return TMainFormPorts::PosOf(*tvBausteine, tvBausteine->currentItem());
}

void TMainForm::DeleteSelection() {
    Stack().Push("TMainForm.menDeleteClick");
    if (!m_model->SelectedPart()) {
        return;
    }
    m_ports->TreeEventsSuppressed = true;
    m_model->DeleteBaustein(m_model->SelectedPart()->Name());
    // Each deletion may change the list, so the scan starts over after every one.
    for (;;) {
        const auto& marked = m_model->Parts().CoSelectedRecords();
        if (marked.empty()) {
            break;
        }
        TBauteil* first = nullptr;
        for (const auto& record : m_model->Parts()) {
            if (marked.count(record.get())) {
                first = record.get();
                break;
            }
        }
        if (!first) {
            break;
        }
        m_model->DeleteBaustein(first->Name());
    }
    m_model->DeSelectAllBausteine();
    m_ports->TreeEventsSuppressed = false;
    m_ports->MeasurementsChanged();
    RedrawView();
}

void TMainForm::BindModelCommands() {
    TCommandTable& c = *m_commands;
    const auto hasSelection = [this] { return m_model->SelectedPart() != nullptr; };
    c.Bind(
        "menDelete", [this] { DeleteSelection(); }, hasSelection);
    c.Bind("menNewPhase", [this] {
        m_model->NewBauphase();
        m_model->Repaint();
        RedrawView();
    });
    c.Bind("menChangePhase", [this] {
        m_model->ChangeBauphase(SelectedTreePos());
        RedrawView();
    });
    c.Bind("menPhaseOverview", [this] {
        m_model->BauphasenUebersicht();
        RedrawView();
    });
    c.Bind("menMovePhase", [this] {
        m_model->ChangeStageOfSelectedParts();
        RedrawView();
    });
    c.Bind("menGroup", [this] {
        m_model->GroupBauteile();
        RedrawView();
    });
    c.Bind("menDeGroup", [this] {
        m_model->DeGroupBauteile();
        RedrawView();
    });
    c.Bind("menPhaseInfo", [this] {
        m_showBauphase->show();
        m_showBauphase->raise();
    });
}

void TMainForm::SetStatusText(int panel, const QString& text) {
    if (panel >= 0 && panel < static_cast<int>(m_panels.size())) {
        m_panels[static_cast<size_t>(panel)]->setText(text);
    }
}

QString TMainForm::StatusText(int panel) const {
    if (panel >= 0 && panel < static_cast<int>(m_panels.size())) {
        return m_panels[static_cast<size_t>(panel)]->text();
    }
    return {};
}

void TMainForm::DoLanguage() {
    InstallQtTranslations(Param().GetLanguage());
    m_commands->DoLanguage();
    m_commands->SetDisabledHint(
        "menYouTube", Text(kSection, 2804, "Kein Videokanal eingerichtet (VIDEOCHANNELURL)."));
    const TkxLanguage& lng = Language();
    for (QToolButton* button : m_toolBar->findChildren<QToolButton*>()) {
        const int key = button->property("hintKey").toInt();
        if (key > 0) {
            // The German hint is the default, so German comes back after another language.
            const QVariant german = button->property("hintDefault");
            const QString def = german.isValid() ? german.toString() : button->toolTip();
            button->setToolTip(Q(lng.GetText(kSection, key, def.toStdString())));
        }
    }
    m_partsBox->setTitle(Q(lng.GetText(kSection, 130, "Bauteile")));
    m_groupsBox->setTitle(Q(lng.GetText(kSection, 131, "Gruppen")));
    m_lightManager->DoLanguage();
    m_logicManager->DoLanguage();
    m_showBauphase->DoLanguage();
    m_modes->DoLanguage();
    m_library->DoLanguage();
    m_treePopups->DoLanguage();
    m_animation->DoLanguage();
    if (m_kineManager) {
        m_kineManager->DoLanguage();
    }
    if (m_logicManager) {
        m_logicManager->DoLanguage();
    }
    if (m_search) {
        m_search->DoLanguage();
    }
    PlacementDoLanguage();
}

void TMainForm::OptionsCommand() {
    Stack().Push("TMainForm.menSystemClick");
    {
        TdlgOptions dialog(this);
        dialog.exec();
    }
    // Whatever the dialog's answer: a cancel shows the settings as they are stored.
    RefreshAfterOptions();
}

void TMainForm::RefreshAfterOptions() {
    Stack().Push("TMainForm.RefreshAfterOptions");
    m_scene->SetBackgroundColor(SceneColorFromCode(Param().GetBackgroundColor3D(), palette()));
    m_scene->SetAntialias(Param().GetAntialias());
    ColourViewBox();
    SetLanguage(std::make_unique<TkxLanguage>(Param()));
    DoLanguage();
    if (!m_model->FileName.empty()) {
        SetCaptionFile(Q(m_model->FileName));
    }
    m_model->UpdateTreeView();
    // Scripting follows its switch at once: the manager, the last script and the menu.
    m_python->DoPythonGuiInit();
    if (Param().GetUsePython()) {
        m_python->CreatePythonMenu();
    }
    if (TDummyCube* root = m_scene->PartsRoot()) {
        const bool shown = m_model->GridShown;
        CreateGrid(*root, static_cast<float>(Param().GetGridDistance())).SetVisible(shown);
    }
    ChangeOutlineMode(*m_model, m_commands->Action("menOutline")->isChecked(),
                      Param().GetOutlineWidth());
    m_model->Repaint();
    RedrawView();
}

void TMainForm::ColourViewBox() {
    const uint32_t colour = ResolveColorCode(Param().GetBackgroundColor3D(), palette());
    sb->setStyleSheet(
        QStringLiteral("QScrollArea#sb { background: %1; }")
            .arg(QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF))
                     .name()));
}

void TMainForm::SetActiveColor(int colour) {
    Stack().Push("TMainForm.SetActiveColor", colour);
    if (m_modes) {
        m_modes->SetActiveColor(static_cast<uint32_t>(colour));
    }
}

int TMainForm::ActiveColor() const {
    return m_modes ? static_cast<int>(m_modes->ActiveColor()) : 255;
}

void TMainForm::SetCommandEnabled(const std::string& id, bool enabled) {
    m_commands->SetEnabled(id, enabled);
    // The model reports these with every change of the selection and of the undo list, in the
    // middle of the change: whatever depends on them is asked once the model is done.
    m_commands->UpdateEnabledLater();
}

bool TMainForm::GroupModeDown() const {
    return m_modes && m_modes->GroupMode();
}

void TMainForm::RedrawView() {
    if (m_viewer) {
        m_viewer->Redraw();
    }
}

QString TMainForm::Title() const {
    return Text("MAINOBJ", 27, "Korvex Designer");
}

void TMainForm::SetCaptionFile(const QString& fileName) {
    m_caption =
        Title() + QStringLiteral(" [") + QFileInfo(fileName).fileName() + QStringLiteral("]");
    UpdateCaption();
}

void TMainForm::UpdateCaption() {
    const bool modified = m_model && m_model->IsModified();
    setWindowTitle(modified ? m_caption + QStringLiteral(" *") : m_caption);
}

bool TMainForm::MayDiscardModel() {
    if (!m_model->IsModified()) {
        return true;
    }
    switch (AskSaveChanges(Q(m_model->FileName), this)) {
        case TSaveChoice::Discard:
            return true;
        case TSaveChoice::Save:
            SaveModelCommand();
            // A cancelled or failed save keeps the changes, and so the model.
            return !m_model->IsModified();
        case TSaveChoice::Cancel:
            break;
    }
    return false;
}

QString TMainForm::ChooseModelFile(bool save) {
    const QString filter =
        QtFileFilter(Text(kSection, 89, "Korvex Modell (*.kxm)|*.kxm|Alle Dateien (*.*)|*.*"));
    if (FileChooser) {
        return FileChooser(save, filter);
    }
    QFileDialog dialog(this);
    dialog.setObjectName(save ? QStringLiteral("SaveDialog") : QStringLiteral("OpenDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilter(filter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The overwrite question is ours, in the program's words.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().first();
}

void TMainForm::ResetCamera() {
    TSceneCamera* camera = m_scene->Camera();
    camera->SetPosition({0, 1, -10});
    camera->SetTargetObject(m_scene->CameraTarget());
    camera->SetDirection({0, 0, -1});
    camera->SetUp({0, 1, 0});
    m_scene->CameraLightToCamera();
}

void TMainForm::ShowGrid(bool on) {
    m_model->GridShown = on;
    if (TGrid* grid = m_scene->Grid()) {
        grid->SetVisible(on);
    }
    if (QToolButton* b = ToolButton("btnGrid")) {
        b->setChecked(on);
    }
    RedrawView();
}

void TMainForm::NewModelCommand() {
    Stack().Push("TMainForm.menNewClick");
    if (!MayDiscardModel()) {
        return;
    }
    CloseMeasureManager();
    m_model->DeleteAll();
    m_animation->ModelReplaced();
    ShowGrid(true);
    m_model->UpdateGroupTreeView();
    ResetCamera();
    m_model->FileName.clear();
    m_caption = Title() + QStringLiteral(" []");
    UpdateCaption();
    FillCameraMenus();
    RedrawView();
}

bool TMainForm::LoadFile(const QString& fileName, bool newModel) {
    Stack().Push("TMainForm.LoadFile", fileName.toStdString(), newModel);
    const bool gridWasShown = m_model->GridShown;
    ShowGrid(false);
    m_viewerInput->SetSuppressMouseMove(true);
    if (newModel) {
        CloseMeasureManager();
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const TModelFileResult result = m_model->LoadModell(fileName.toStdString(), newModel);
    QApplication::restoreOverrideCursor();
    RedrawView();
    if (!result) {
        // The model stayed as it was, and so does its grid.
        ShowGrid(gridWasShown);
        QMessageBox::warning(this, Title(), Q(result.Error));
        return false;
    }
    SetStatusText(0, Text("MAIN2", 3, "Modell erfolgreich geladen"));
    m_animation->ModelReplaced();
    m_library->Library().RefreshCollection();
    // The model's own strips can be placed again from the library.
    for (const THZData& strip : m_model->SemiFinishedParts()) {
        m_library->Library().AddGeneratedPart(strip.Name, strip.Bez);
    }
    return true;
}

void TMainForm::OnlineLibraryCommand() {
    Stack().Push("TMainForm.menOnlineLibraryClick");
    if (!RequireLibraryServer(this)) {
        return;
    }
    TdlgOnlineLibrary dialog(Param().DeveloperMode, this);
    const TModelInformation& info = m_model->Information();
    TModelData current{Q(info.InfModell),
                       Q(info.InfOriginal),
                       Q(info.InfGebaut),
                       Q(info.InfKategorie),
                       {},
                       {},
                       {}};
    for (const std::string& line : info.Description) {
        current.Description += Q(line) + QLatin1Char(' ');
    }
    dialog.SetCurrentModel(current);
    if (dialog.exec() != QDialog::Accepted || !MayDiscardModel()) {
        return;
    }
    // The model reader reads files; the downloaded bytes go through a private one.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("online.kxm"));
    QFile out(file);
    const std::string& bytes = dialog.ModelStream();
    if (!dir.isValid() || !out.open(QIODevice::WriteOnly) ||
        out.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size()) ||
        !out.flush()) {
        QMessageBox::warning(this, Title(), out.errorString());
        return;
    }
    out.close();
    if (LoadFile(file, true)) {
        // Not a file of the user's: a save asks where to.
        m_model->FileName.clear();
        m_caption = Title() + QStringLiteral(" []");
        UpdateCaption();
        FillCameraMenus();
    }
}

void TMainForm::LoadModelCommand() {
    Stack().Push("TMainForm.menLoadClick");
    if (!MayDiscardModel()) {
        return;
    }
    const QString file = ChooseModelFile(false);
    if (file.isEmpty()) {
        return;
    }
    if (LoadFile(file, true)) {
        m_model->FileName = file.toStdString();
        SetCaptionFile(file);
        FillDateiPop();
        FillCameraMenus();
    }
}

void TMainForm::MergeModelCommand() {
    Stack().Push("TMainForm.menMergeClick");
    const QString file = ChooseModelFile(false);
    if (!file.isEmpty()) {
        LoadFile(file, false);
    }
}

void TMainForm::OpenRecentFile(int n) {
    Stack().Push("TMainForm.menFileClick", n);
    // The file the item shows: the list behind it may have moved on since the menu was filled.
    const QAction* item = m_popDatei->actions().value(n - 1);
    const QString file = item ? item->text() : QString();
    if (file.isEmpty()) {
        return;
    }
    // The open model is asked about first, as the load command does: a recent-file click
    // must not throw away unsaved work.
    if (!MayDiscardModel()) {
        return;
    }
    if (LoadFile(file, true)) {
        m_model->FileName = file.toStdString();
        SetCaptionFile(file);
        FillCameraMenus();
    }
}

void TMainForm::SaveModelCommand() {
    Stack().Push("TMainForm.menSaveClick");
    if (!m_model->FileName.empty()) {
        const TModelFileResult result = m_model->SaveModell(m_model->FileName);
        FillDateiPop();
        if (!result) {
            QMessageBox::warning(this, Title(), Q(result.Error));
        }
        return;
    }
    QString name = ChooseModelFile(true);
    if (name.isEmpty()) {
        return;
    }
    // The dialog closed over the view; its last mouse move must not act there.
    m_viewerInput->SetSuppressMouseMove(true);
    if (!name.toUpper().contains(QStringLiteral(".KXM"))) {
        name += QStringLiteral(".kxm");
    }
    int answer = kAnswerYes;
    if (QFileInfo::exists(name)) {
        answer = AskYesNo(Language().GetText(
            "MAIN2", 11, "Die Datei existiert bereits. Möchten Sie die Datei überschreiben?"));
    }
    if (answer != kAnswerYes) {
        return;
    }
    const TModelFileResult result = m_model->SaveModell(name.toStdString());
    if (!result) {
        QMessageBox::warning(this, Title(), Q(result.Error));
        return;
    }
    SetStatusText(0, Text("MAIN2", 2, "Modell erfolgreich gespeichert"));
    m_model->FileName = name.toStdString();
    SetCaptionFile(name);
    FillDateiPop();
}

void TMainForm::SaveModelAsCommand() {
    m_model->FileName.clear();
    SaveModelCommand();
}

void TMainForm::FillDateiPop() {
    for (int n = 1; n <= 8; ++n) {
        QAction* item = m_popDatei->actions().value(n - 1);
        const QString file = Q(Param().GetLastFile(n));
        item->setText(file);
        item->setVisible(!file.isEmpty());
    }
}

void TMainForm::FillCameraMenus() {
    QMenu* store = m_commands->Menu("menStoreCamera");
    store->clear();
    m_popCameras->clear();
    for (int i = 0; i < kStoredCameraCount; ++i) {
        const QString name = Q(m_model->Cameras()[static_cast<size_t>(i)].Name);
        connect(m_popCameras->addAction(name), &QAction::triggered, this,
                [this, i] { RecallCamera(i); });
        connect(store->addAction(name), &QAction::triggered, this, [this, i] { StoreCamera(i); });
    }
}

void TMainForm::StoreCamera(int index) {
    TCamera& camera = m_model->Cameras()[static_cast<size_t>(index)];
    TdlgCameraName dlg(Q(camera.Name), this);
    dlg.exec();
    camera.Name = dlg.Name().toStdString();
    const TVector3f pos = m_scene->Camera()->AbsolutePosition();
    const TVector3f target = m_scene->CameraTarget()->AbsolutePosition();
    camera.PositionX = pos.X;
    camera.PositionY = pos.Y;
    camera.PositionZ = pos.Z;
    camera.TargetX = target.X;
    camera.TargetY = target.Y;
    camera.TargetZ = target.Z;
    m_model->MarkModified();
    FillCameraMenus();
}

void TMainForm::RecallCamera(int index) {
    const TCamera& camera = m_model->Cameras()[static_cast<size_t>(index)];
    m_scene->Camera()->SetPosition({static_cast<float>(camera.PositionX),
                                    static_cast<float>(camera.PositionY),
                                    static_cast<float>(camera.PositionZ)});
    m_scene->CameraTarget()->SetPosition({static_cast<float>(camera.TargetX),
                                          static_cast<float>(camera.TargetY),
                                          static_cast<float>(camera.TargetZ)});
    m_scene->CameraLightToCamera();
    RedrawView();
}

QImage TMainForm::Snapshot() {
    return ToQImage(m_viewer->Snapshot());
}

void TMainForm::SavePictureCommand(int format) {
    const TPictureFormat kinds[] = {TPictureFormat::Bmp, TPictureFormat::Jpeg, TPictureFormat::Png};
    const QString filters[] = {QStringLiteral("BMP (*.bmp)"), QStringLiteral("JPEG (*.jpg)"),
                               QStringLiteral("PNG (*.png)")};
    QString chosen;
    if (FileChooser) {
        chosen = FileChooser(true, filters[format]);
    } else {
        QFileDialog dialog(this);
        dialog.setObjectName(QStringLiteral("PictureDialog"));
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilter(filters[format]);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
            return;
        }
        chosen = dialog.selectedFiles().first();
    }
    if (chosen.isEmpty()) {
        return;
    }
    m_viewerInput->SetSuppressMouseMove(true);
    const QString file = PictureFileName(chosen, kinds[format]);
    const QImage picture = Snapshot();
    QString error;
    const uint32_t background = ResolveColorCode(Param().GetBackgroundColor3D(), palette());
    if (picture.isNull() || !SavePicture(picture, file, kinds[format], background, &error)) {
        QMessageBox::warning(this, Title(),
                             error.isEmpty() ? QString::fromStdString(m_viewer->GlError()) : error);
    }
}

void TMainForm::WheelZoom(int delta) {
    TSceneCamera* camera = m_scene->Camera();
    // One factor per notch of 120, taken in proportion, so a touchpad's small steps zoom
    // smoothly; towards the user moves away.
    const double factor = std::pow(1.21, -static_cast<double>(delta) / 120.0);
    camera->AdjustDistanceToTarget(static_cast<float>(factor));
    m_scene->CameraLightToCamera();
    RedrawView();
}

void TMainForm::FollowViewBox() {
    if (!m_viewer) {
        return;
    }
    const QSize size = sb->contentsRect().size() - QSize(5, 5);
    m_viewer->resize(size.expandedTo(QSize(1, 1)));
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    // The box changes size with the window and with both splitters.
    if (watched == sb && event->type() == QEvent::Resize) {
        FollowViewBox();
    }
    if (watched == m_viewer && event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        WheelZoom(wheel->angleDelta().y());
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!m_shownOnce) {
        m_shownOnce = true;
        FormShow();
    }
}

void TMainForm::FormShow() {
    Stack().Push("TMainForm.FormShow");
    m_splash->hide();
    SetCommandEnabled("menUndo", false);
    SetCommandEnabled("menDelete", false);
    // Top-left with the size of the screen, which is also where un-maximising returns to.
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        move(area.topLeft());
        resize(area.size());
    }
    setWindowState(windowState() | Qt::WindowMaximized);
    FollowViewBox();
    GiveCoordinatesManagerTheModel();
    FillDateiPop();
    const QString start = Q(Param().StartFile);
    if (!start.isEmpty() && IsPartPackageFile(std::filesystem::path(start.toStdString()))) {
        // A part package opened from the file manager or named on the command line.
        m_library->ImportPackageFile(start);
    } else if (!start.isEmpty()) {
        if (LoadFile(start, true)) {
            m_model->FileName = start.toStdString();
            SetCaptionFile(start);
            FillDateiPop();
            FillCameraMenus();
        }
    }
    m_python->RunStartupScripts();
    if (Param().GetUsePython()) {
        m_python->CreatePythonMenu();
    }
    ColourViewBox();
    m_libSplitter->setSizes({Param().GetLibraryHeight(), std::max(200, height())});
    const int partsHeight = Param().GetPartPanelHeight();
    const int leftHeight = m_leftSplitter->height();
    const int top = partsHeight > 0 ? partsHeight : leftHeight * 3 / 4;
    m_leftSplitter->setSizes({top, std::max(40, leftHeight - top)});
    m_library->ChangeLibrary(Param().GetLastGroup());
    if (Param().GetOutlineModeAtStart()) {
        m_commands->Action("menOutline")->setChecked(true);
        ChangeOutlineMode(*m_model, true, Param().GetOutlineWidth());
    }
    emit Shown();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    Stack().Push("TMainForm.FormClose");
    // The step must not run on while the window asks, nor on a model being freed.
    if (m_kineMode && m_kineMode->Active()) {
        m_kineMode->Leave();
        ToolButton("btnStartKinematik")->setChecked(false);
    }
    Param().SetLastGroup(m_library->LastGroup());
    if (!MayDiscardModel()) {
        event->ignore();
        return;
    }
    Param().SetPartPanelHeight(m_leftSplitter->sizes().value(0));
    m_animation->Stop();
    event->accept();
}

}  // namespace kx

#include "moc_Main.cpp"
