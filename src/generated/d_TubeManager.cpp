// The tube manager window: four views, the hose tree and the tools; the editing itself lives
// in TTubeManager.
#include "generated/d_TubeManager.h"

#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QColorDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QShortcut>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/helpsystem.h"
#include "app/u_formstyle.h"
#include "foundation/u_language.h"
#include "foundation/u_param.h"
#include "foundation/u_stack.h"
#include "model/MainObj.h"
#include "view/f_EditModes.h"
#include "view/f_viewer.h"

namespace kx {

namespace {

QString Text(int key, const char* german) {
    return QString::fromStdString(Language().GetText("D_TUBEMANAGER", key, german));
}
QString Main2(int key, const char* german) {
    return QString::fromStdString(Language().GetText("MAIN2", key, german));
}

QColor FromWinColour(uint32_t c) {
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

/// The tree's images: a short piece of hose in the kind's colour, and a dot for a node.
QIcon TubeIcon(int image) {
    QPixmap p(16, 16);
    p.fill(Qt::transparent);
    QPainter painter(&p);
    painter.setRenderHint(QPainter::Antialiasing);
    if (image == TTubeManager::kPinImage) {
        painter.setBrush(Qt::white);
        painter.setPen(Qt::black);
        painter.drawEllipse(QPointF(8, 8), 4, 4);
        return QIcon(p);
    }
    const uint32_t colours[] = {0xFF4040, 0xC0C0C0, 0x0000FF, 0x008000};
    const uint32_t c = image >= 0 && image < 4 ? colours[image] : 0x808080;
    painter.setPen(QPen(FromWinColour(c), image == 0 ? 5 : 3, Qt::SolidLine, Qt::RoundCap));
    QPainterPath path(QPointF(2, 13));
    path.cubicTo(QPointF(6, 0), QPointF(10, 16), QPointF(14, 3));
    painter.drawPath(path);
    return QIcon(p);
}

constexpr int kTreeHoseRole = Qt::UserRole + 1;
constexpr int kTreeNodeRole = Qt::UserRole + 2;

}  // namespace

/// Hands one view's mouse to the window.
class TTubeViewInput : public TViewerInput {
public:
    TTubeViewInput(TDlgTubeManager& dialog, TTubeView view) : m_dialog(dialog), m_view(view) {}
    void MouseDown(const TPointerEvent& e) override { m_dialog.ViewMouseDown(m_view, e); }
    void MouseMove(const TPointerEvent& e) override { m_dialog.ViewMouseMove(m_view, e); }

private:
    TDlgTubeManager& m_dialog;
    TTubeView m_view;
};

TDlgTubeManager::TDlgTubeManager(TkxMain& model, QWidget* parent)
    : QDialog(parent), m_model(model) {
    FormCreate();
    // The model's placed parts, camera and hoses, as copies.
    if (TDummyCube* parts = model.Scene().PartsRoot()) {
        for (const auto& child : parts->Children()) {
            if (child->Kind() != TSceneObjectKind::FreeForm) {
                continue;
            }
            const auto& ff = static_cast<const TFreeForm&>(*child);
            m_manager.AddPart({ff.Position(), ff.Direction(), ff.Up(), ff.Scale(), ff.Mesh(),
                               ff.DrawMaterial().Diffuse(), ff.Visible()});
        }
    }
    if (TSceneCamera* camera = model.Scene().Camera()) {
        const TDummyCube* target = model.Scene().CameraTarget();
        m_manager.SetStartCamera(camera->Position(), camera->Direction(), camera->Up(),
                                 target ? target->Position() : TVector3f{});
    }
    for (const TPipeEx* hose : model.Hoses()) {
        m_manager.AddHoseCopy(*hose);
    }
    RefillTree();
}

TDlgTubeManager::~TDlgTubeManager() {
    for (TViewerWidget* v : m_views) {
        v->SetInputHandler(nullptr);
    }
}

void TDlgTubeManager::SchlauchManager1Click(TkxMain& model, QWidget* parent) {
    Stack().Push("TMainForm.SchlauchManager1Click");
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto dialog = std::make_unique<TDlgTubeManager>(model, parent);
    QApplication::restoreOverrideCursor();
    dialog->setWindowState(dialog->windowState() | Qt::WindowMaximized);
    dialog->exec();
    model.ReplaceHoses(dialog->Manager().HosesForModel());
}

void TDlgTubeManager::FormCreate() {
    Stack().Push("TDlgTubeManager.FormCreate");
    setObjectName(QStringLiteral("DlgTubeManager"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    m_manager.Scene().SetAntialias(Param().GetAntialias());
    QStyle* st = style();
    auto tool = [this](const char* name, QIcon icon, bool checkable = false) {
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setIcon(icon);
        b->setCheckable(checkable);
        b->setAutoRaise(true);
        b->setIconSize(QSize(20, 20));
        return b;
    };

    // Top bar: close and the layouts.
    btnBack = tool("btnBack", st->standardIcon(QStyle::SP_ArrowBack));
    btnTileAll = tool("btnTileAll", st->standardIcon(QStyle::SP_FileDialogDetailedView), true);
    auto* layouts = new QButtonGroup(this);
    layouts->addButton(btnTileAll);
    const char* viewNames[] = {"btnView1", "btnView2", "btnView3", "btnView4"};
    auto* top = new QHBoxLayout;
    top->addWidget(btnBack);
    top->addSpacing(12);
    top->addWidget(btnTileAll);
    for (size_t i = 0; i < 4; ++i) {
        btnView[i] = tool(viewNames[i], st->standardIcon(QStyle::SP_TitleBarMaxButton), true);
        btnView[i]->setText(QString::number(i + 1));
        btnView[i]->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        layouts->addButton(btnView[i]);
        top->addWidget(btnView[i]);
    }
    btnTileAll->setChecked(true);
    top->addStretch();

    // Left: the hose tree and its buttons.
    tree = new QTreeWidget(this);
    tree->setObjectName(QStringLiteral("tree"));
    tree->setHeaderHidden(true);
    tree->setContextMenuPolicy(Qt::CustomContextMenu);
    tree->setMinimumWidth(200);
    btnAddTube = tool("btnAddTube", st->standardIcon(QStyle::SP_FileDialogNewFolder));
    btnDeleteTube = tool("btnDeleteTube", st->standardIcon(QStyle::SP_TrashIcon));
    btnMoveUp = tool("btnMoveUp", st->standardIcon(QStyle::SP_ArrowUp));
    btnMoveDown = tool("btnMoveDown", st->standardIcon(QStyle::SP_ArrowDown));
    auto* treeButtons = new QVBoxLayout;
    for (QToolButton* b : {btnAddTube, btnDeleteTube, btnMoveUp, btnMoveDown}) {
        treeButtons->addWidget(b);
    }
    treeButtons->addStretch();
    auto* left = new QHBoxLayout;
    left->addWidget(tree);
    left->addLayout(treeButtons);

    // Right: the tools.
    btnModeRot = tool("btnModeRot", st->standardIcon(QStyle::SP_BrowserReload), true);
    btnMove = tool("btnMove", st->standardIcon(QStyle::SP_ArrowRight), true);
    btnNewPin = tool("btnNewPin", st->standardIcon(QStyle::SP_DialogApplyButton), true);
    btnGrid = tool("btnGrid", st->standardIcon(QStyle::SP_FileDialogListView), true);
    auto* tools = new QButtonGroup(this);
    for (QToolButton* b : {btnModeRot, btnMove, btnNewPin}) {
        tools->addButton(b);
    }
    btnModeRot->setChecked(true);
    auto* right = new QVBoxLayout;
    for (QToolButton* b : {btnModeRot, btnMove, btnNewPin, btnGrid}) {
        right->addWidget(b);
    }
    right->addStretch();

    // The four views.
    auto* grid = new QGridLayout;
    grid->setSpacing(3);
    for (TTubeView v : {TTubeView::View3D, TTubeView::Side, TTubeView::Front, TTubeView::Top}) {
        m_panels[size_t(v)] = MakePanel(v);
    }
    grid->addWidget(m_panels[0], 0, 0);
    grid->addWidget(m_panels[size_t(TTubeView::Side)], 0, 1);
    grid->addWidget(m_panels[size_t(TTubeView::Front)], 1, 0);
    grid->addWidget(m_panels[size_t(TTubeView::Top)], 1, 1);

    auto* middle = new QHBoxLayout;
    middle->addLayout(left);
    middle->addLayout(grid, 1);
    middle->addLayout(right);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top);
    layout->addLayout(middle, 1);

    // Menus.
    m_popNewTube = new QMenu(this);
    m_popNewTube->setObjectName(QStringLiteral("popNewTube"));
    m_popGrid = new QMenu(this);
    m_popGrid->setObjectName(QStringLiteral("popGrid"));
    m_popTree = new QMenu(this);
    m_popTree->setObjectName(QStringLiteral("popTree"));
    btnGrid->setMenu(m_popGrid);
    btnGrid->setPopupMode(QToolButton::DelayedPopup);

    DoLanguage();
    resize(1200, 800);

    connect(btnBack, &QToolButton::clicked, this, [this] {
        Stack().Push("TDlgTubeManager.btnBackClick");
        close();
    });
    connect(btnTileAll, &QToolButton::clicked, this, [this] { ShowViews(true); });
    const TTubeView singles[] = {TTubeView::View3D, TTubeView::Side, TTubeView::Top,
                                 TTubeView::Front};
    for (size_t i = 0; i < 4; ++i) {
        connect(btnView[i], &QToolButton::clicked, this,
                [this, v = singles[i]] { ShowViews(false, v); });
        auto* key = new QShortcut(QKeySequence(QString::number(i + 1)), this);
        connect(key, &QShortcut::activated, btnView[i], &QToolButton::click);
    }
    auto* key5 = new QShortcut(QKeySequence(QStringLiteral("5")), this);
    connect(key5, &QShortcut::activated, btnTileAll, &QToolButton::click);
    connect(btnModeRot, &QToolButton::clicked, this, [this] { SetTool(TTubeTool::RotatePan); });
    connect(btnMove, &QToolButton::clicked, this, [this] { SetTool(TTubeTool::Move); });
    connect(btnNewPin, &QToolButton::clicked, this, [this] { SetTool(TTubeTool::NewPin); });
    connect(btnGrid, &QToolButton::toggled, this, [this](bool on) { m_manager.SetGridOn(on); });
    connect(m_popGrid, &QMenu::aboutToShow, this, &TDlgTubeManager::popGridPopup);
    connect(btnAddTube, &QToolButton::clicked, this, [this] {
        Stack().Push("TDlgTubeManager.btnAddTubeClick");
        m_popNewTube->popup(btnAddTube->mapToGlobal(QPoint(btnAddTube->width(), 0)));
    });
    connect(btnDeleteTube, &QToolButton::clicked, this, [this] {
        m_manager.DeleteSelected();
        RefillTree();
    });
    connect(btnMoveUp, &QToolButton::clicked, this, [this] {
        m_manager.MoveNodeUp();
        RefillTree();
    });
    connect(btnMoveDown, &QToolButton::clicked, this, [this] {
        m_manager.MoveNodeDown();
        RefillTree();
    });
    connect(tree, &QTreeWidget::currentItemChanged, this, [this] { treeChange(); });
    connect(tree, &QTreeWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_popTree->popup(tree->viewport()->mapToGlobal(at)); });
    ShowViews(true);
    ApplyFormStyle(this);
    SetHelpContext(this, 1001);
}

QFrame* TDlgTubeManager::MakePanel(TTubeView view) {
    const auto i = static_cast<size_t>(view);
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("view%1").arg(i + 1));
    panel->setFrameShape(QFrame::StyledPanel);
    m_headers[i] = new QLabel(panel);
    auto* header = new QHBoxLayout;
    header->setContentsMargins(4, 0, 0, 0);
    header->addWidget(m_headers[i]);
    header->addStretch();
    if (view != TTubeView::View3D) {
        m_flips[i] = new QToolButton(panel);
        m_flips[i]->setObjectName(QStringLiteral("btnChangeView%1").arg(i));
        m_flips[i]->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
        m_flips[i]->setAutoRaise(true);
        header->addWidget(m_flips[i]);
        connect(m_flips[i], &QToolButton::clicked, this, [this, view] {
            Stack().Push("TDlgTubeManager.btnChangeView" + std::to_string(int(view)) + "Click");
            m_manager.FlipView(view);
        });
    }
    m_views[i] = new TViewerWidget(panel);
    m_views[i]->setObjectName(QStringLiteral("viewer%1").arg(i + 1));
    m_views[i]->SetScene(&m_manager.Scene());
    m_views[i]->SetCamera(&m_manager.Camera(view));
    m_inputs[i] = std::make_unique<TTubeViewInput>(*this, view);
    m_views[i]->SetInputHandler(m_inputs[i].get());
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    layout->addLayout(header);
    layout->addWidget(m_views[i], 1);
    return panel;
}

void TDlgTubeManager::DoLanguage() {
    Stack().Push("TDlgTubeManager.DoLanguage");
    setWindowTitle(Text(1, "Schlauch-Manager"));
    QToolButton* hinted[] = {btnBack,    btnTileAll,    btnView[0], btnView[1], btnView[2],
                             btnView[3], btnModeRot,    btnMove,    btnNewPin,  btnGrid,
                             btnAddTube, btnDeleteTube, btnMoveUp,  btnMoveDown};
    for (int k = 0; k < 14; ++k) {
        hinted[k]->setToolTip(Text(3 + k, ""));
    }
    for (QToolButton* flip : m_flips) {
        if (flip) {
            flip->setToolTip(Text(17, ""));
        }
    }
    m_headers[0]->setText(Text(18, "3D-Ansicht"));
    m_headers[size_t(TTubeView::Side)]->setText(Text(19, "Seitenansicht"));
    m_headers[size_t(TTubeView::Front)]->setText(Text(20, "Frontansicht"));
    m_headers[size_t(TTubeView::Top)]->setText(Text(21, "Draufsicht"));

    m_popNewTube->clear();
    const struct {
        QString text;
        const char* name;
    } kinds[] = {{Text(23, "Pneumatik-Schlauch"), "menNewSchlauch1"},
                 {Text(24, "Seilzug"), "menNewSchlauch2"},
                 {Text(25, "Kabel rot"), "menNewSchlauch3"},
                 {Text(26, "Kabel grün"), "menNewSchlauch4"},
                 {Main2(13, "Antriebsfeder"), "menNewSchlauch5"}};
    for (int k = 0; k < 5; ++k) {
        QAction* a = m_popNewTube->addAction(TubeIcon(k == 4 ? 1 : k), kinds[k].text);
        a->setObjectName(QString::fromLatin1(kinds[k].name));
        connect(a, &QAction::triggered, this, [this, k] {
            Stack().Push("TDlgTubeManager.menNewSchlauchClick", k + 1);
            NewSchlauch(k + 1);
        });
    }
    m_popNewTube->addSeparator();
    m_popNewTube->addAction(Text(22, "Abbrechen"));

    m_popGrid->clear();
    const struct {
        const char* text;
        int divisions;
    } grids[] = {{"0,25 mm", 40}, {"0,5 mm", 20}, {"1 mm", 10}, {"5 mm", 2}, {"10 mm", 1}};
    for (const auto& g : grids) {
        QAction* a = m_popGrid->addAction(QString::fromUtf8(g.text));
        a->setCheckable(true);
        a->setData(g.divisions);
        connect(a, &QAction::triggered, this, [this, d = g.divisions] {
            m_manager.SetGridDivisions(d);
            btnGrid->setChecked(true);
        });
    }
    m_popGrid->addSeparator();
    m_popGrid->addAction(Text(22, "Abbrechen"));

    m_popTree->clear();
    QAction* insert = m_popTree->addAction(QStringLiteral("Zwischenpunkt einfügen"));
    insert->setObjectName(QStringLiteral("Zwischenpunkteinfgen1"));
    connect(insert, &QAction::triggered, this, &TDlgTubeManager::Zwischenpunkteinfgen1Click);
    QAction* colour = m_popTree->addAction(Text(30, "Farbe wählen"));
    colour->setObjectName(QStringLiteral("menChangeColor"));
    connect(colour, &QAction::triggered, this, &TDlgTubeManager::menChangeColorClick);
    QAction* phase = m_popTree->addAction(Text(31, "Bauphase wählen"));
    phase->setObjectName(QStringLiteral("menChangePhase"));
    connect(phase, &QAction::triggered, this, &TDlgTubeManager::menChangePhaseClick);
}

void TDlgTubeManager::popGridPopup() {
    Stack().Push("TDlgTubeManager.popGridPopup");
    for (QAction* a : m_popGrid->actions()) {
        if (a->isCheckable()) {
            a->setChecked(a->data().toInt() == m_manager.GridDivisions());
        }
    }
}

void TDlgTubeManager::ShowViews(bool all, TTubeView single) {
    Stack().Push("TDlgTubeManager.ResizeWindows", all, int(single));
    for (size_t i = 0; i < 4; ++i) {
        m_panels[i]->setVisible(all || i == static_cast<size_t>(single));
    }
    if (all) {
        btnTileAll->setChecked(true);
    } else {
        const size_t button = single == TTubeView::View3D ? 0
                              : single == TTubeView::Side ? 1
                              : single == TTubeView::Top  ? 2
                                                          : 3;
        btnView[button]->setChecked(true);
    }
}

void TDlgTubeManager::RefillTree() {
    m_filling = true;
    tree->clear();
    QTreeWidgetItem* current = nullptr;
    const TTubeSelection sel = m_manager.Selection();
    const auto& entries = m_manager.Entries();
    for (size_t h = 0; h < entries.size(); ++h) {
        auto* root = new QTreeWidgetItem(tree);
        root->setText(0, QString::fromStdString(entries[h].Text));
        root->setIcon(0, TubeIcon(entries[h].Image));
        root->setData(0, kTreeHoseRole, int(h));
        root->setData(0, kTreeNodeRole, -1);
        if (sel.Hose == int(h) && sel.Node < 0) {
            current = root;
        }
        for (size_t n = 0; n < entries[h].Markers.size(); ++n) {
            auto* pin = new QTreeWidgetItem(root);
            pin->setText(0, QString::fromStdString(TTubeManager::PinText(n + 1)));
            pin->setIcon(0, TubeIcon(TTubeManager::kPinImage));
            pin->setData(0, kTreeHoseRole, int(h));
            pin->setData(0, kTreeNodeRole, int(n));
            if (sel.Hose == int(h) && sel.Node == int(n)) {
                current = pin;
            }
        }
        if (sel.Hose == int(h)) {
            root->setExpanded(true);
        }
    }
    if (current) {
        tree->setCurrentItem(current);
    }
    m_filling = false;
    UpdateButtons();
}

void TDlgTubeManager::treeChange() {
    if (m_filling) {
        return;
    }
    QTreeWidgetItem* item = tree->currentItem();
    if (!item) {
        m_manager.Select({});
    } else {
        m_manager.Select(
            {item->data(0, kTreeHoseRole).toInt(), item->data(0, kTreeNodeRole).toInt()});
    }
    UpdateButtons();
}

void TDlgTubeManager::UpdateButtons() {
    btnDeleteTube->setEnabled(m_manager.CanDelete());
    btnMoveUp->setEnabled(m_manager.CanMoveUp());
    btnMoveDown->setEnabled(m_manager.CanMoveDown());
}

void TDlgTubeManager::SetTool(TTubeTool tool) {
    m_manager.SetTool(tool);
    const QToolButton* down = tool == TTubeTool::NewPin ? btnNewPin
                              : tool == TTubeTool::Move ? btnMove
                                                        : btnModeRot;
    for (QToolButton* b : {btnModeRot, btnMove, btnNewPin}) {
        b->setChecked(b == down);
    }
    const Qt::CursorShape cursor = tool == TTubeTool::NewPin ? Qt::CrossCursor
                                   : tool == TTubeTool::Move ? Qt::ArrowCursor
                                                             : Qt::SizeAllCursor;
    for (size_t i = 1; i < 4; ++i) {
        m_views[i]->setCursor(cursor);
    }
    RefillTree();
}

void TDlgTubeManager::NewSchlauch(int kind) {
    if (m_manager.NewSchlauch(kind) >= 0) {
        SetTool(TTubeTool::NewPin);
    }
}

void TDlgTubeManager::ShowMessage(TTubeMessage message) {
    QString text;
    switch (message) {
        case TTubeMessage::NoHose:
            text = Text(27, "Es muss zunächst ein Schlauch ausgewählt werden.");
            break;
        case TTubeMessage::NoNode:
            text = Text(28, "Wählen Sie zunächst einen existierenden Stützpunkt aus.");
            break;
        case TTubeMessage::NotBeforeFirst:
            text =
                Text(29, "Zwischenpunkte können nicht vor dem ersten Stützpunkt eingefügt werden.");
            break;
        case TTubeMessage::None:
            return;
    }
    QMessageBox::information(this, windowTitle(), text);
}

void TDlgTubeManager::Zwischenpunkteinfgen1Click() {
    const TTubeMessage m = m_manager.InsertHalfway();
    RefillTree();
    ShowMessage(m);
}

void TDlgTubeManager::menChangeColorClick() {
    LoadCustomColors();
    if (TPipeEx* hose = m_manager.SelectedHose()) {
        const QColor c = QColorDialog::getColor(FromWinColour(hose->Colour()), this);
        if (c.isValid()) {
            m_manager.SetSelectedColour(uint32_t(c.red()) | uint32_t(c.green()) << 8 |
                                        uint32_t(c.blue()) << 16);
        }
    }
    StoreCustomColors();
}

void TDlgTubeManager::menChangePhaseClick() {
    if (m_manager.SelectedHose()) {
        m_manager.SetSelectedPhase(m_model.SelectPhase());
    }
}

TTubePointer TDlgTubeManager::Pointer(TTubeView view, const TPointerEvent& e) const {
    TTubePointer p;
    p.View = view;
    p.X = float(e.X);
    p.Y = float(e.Y);
    const TViewerWidget* w = m_views[static_cast<size_t>(view)];
    p.Width = w->width() > 0 ? w->width() : 1;
    p.Height = w->height() > 0 ? w->height() : 1;
    p.Left = e.LeftDown;
    p.Right = e.RightDown;
    p.Control = e.Modifiers.Ctrl;
    return p;
}

void TDlgTubeManager::ViewMouseDown(TTubeView view, const TPointerEvent& e) {
    auto nodes = [this] {
        const TTubeSelection s = m_manager.Selection();
        return s.Empty() ? size_t(0) : m_manager.Entries()[size_t(s.Hose)].Markers.size();
    };
    const size_t before = nodes();
    const TTubeMessage m = m_manager.MouseDown(Pointer(view, e));
    if (m != TTubeMessage::None) {
        ShowMessage(m);
    } else if (nodes() != before) {
        RefillTree();
    }
}

void TDlgTubeManager::ViewMouseMove(TTubeView view, const TPointerEvent& e) {
    m_manager.MouseMove(Pointer(view, e));
}

void TDlgTubeManager::closeEvent(QCloseEvent* e) {
    Stack().Push("TDlgTubeManager.FormClose");
    m_manager.DeSelectAllTubes();
    QDialog::closeEvent(e);
}

}  // namespace kx

#include "moc_d_TubeManager.cpp"
