// The tube manager: a modal, maximised window with a perspective and three orthographic views
// of the model, in which hoses are laid, edited and deleted; closing writes them back.
#pragma once

#include <array>
#include <memory>

#include <QDialog>

#include "generated/u_tubemanager.h"
#include "view/u_viewerinput.h"

class QFrame;
class QLabel;
class QMenu;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace kx {

class TkxMain;
class TViewerWidget;
class TTubeViewInput;

class TDlgTubeManager : public QDialog {
    Q_OBJECT
public:
    /// Copies the model's parts, camera and hoses (FormCreate and the opening steps).
    explicit TDlgTubeManager(TkxMain& model, QWidget* parent = nullptr);
    ~TDlgTubeManager() override;

    /// "Fenster" -> "Schlauch-Manager": builds the manager from the model, shows it modally and
    /// replaces the model's hoses with the manager's when it closes.
    static void SchlauchManager1Click(TkxMain& model, QWidget* parent);

    TTubeManager& Manager() { return m_manager; }
    QTreeWidget* Tree() const { return tree; }
    TViewerWidget* View(TTubeView view) const { return m_views[static_cast<size_t>(view)]; }
    QFrame* Panel(TTubeView view) const { return m_panels[static_cast<size_t>(view)]; }
    QMenu* NewHoseMenu() const { return m_popNewTube; }
    QMenu* GridMenu() const { return m_popGrid; }

    /// A new hose of kind 1-5 (the entries of the new-hose menu).
    void NewSchlauch(int kind);
    /// "Zwischenpunkt einfügen".
    void Zwischenpunkteinfgen1Click();
    /// Mouse events of a view, in its pixels (from the top left).
    void ViewMouseDown(TTubeView view, const TPointerEvent& e);
    void ViewMouseMove(TTubeView view, const TPointerEvent& e);

    /// Tile all (true) or only one view.
    void ShowViews(bool all, TTubeView single = TTubeView::View3D);

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void FormCreate();
    void DoLanguage();
    void RefillTree();
    void treeChange();
    void UpdateButtons();
    void SetTool(TTubeTool tool);
    void ShowMessage(TTubeMessage message);
    void menChangeColorClick();
    void menChangePhaseClick();
    void popGridPopup();
    QFrame* MakePanel(TTubeView view);
    TTubePointer Pointer(TTubeView view, const TPointerEvent& e) const;

    TkxMain& m_model;
    TTubeManager m_manager;
    bool m_filling = false;

    QTreeWidget* tree = nullptr;
    QToolButton* btnBack = nullptr;
    QToolButton* btnTileAll = nullptr;
    std::array<QToolButton*, 4> btnView{};  // btnView1 (3D), btnView2 (side), btnView3 (top),
                                            // btnView4 (front)
    QToolButton* btnModeRot = nullptr;
    QToolButton* btnMove = nullptr;
    QToolButton* btnNewPin = nullptr;
    QToolButton* btnGrid = nullptr;
    QToolButton* btnAddTube = nullptr;
    QToolButton* btnDeleteTube = nullptr;
    QToolButton* btnMoveUp = nullptr;
    QToolButton* btnMoveDown = nullptr;
    QMenu* m_popNewTube = nullptr;
    QMenu* m_popGrid = nullptr;
    QMenu* m_popTree = nullptr;
    std::array<QFrame*, 4> m_panels{};
    std::array<QLabel*, 4> m_headers{};
    std::array<QToolButton*, 4> m_flips{};
    std::array<TViewerWidget*, 4> m_views{};
    std::array<std::unique_ptr<TTubeViewInput>, 4> m_inputs;
};

}  // namespace kx
