// The 3D view's input handling without a window: picking, selection, hiding and painting
// parts, camera orbit, pan and zoom, dragging library parts over the view and dropping them.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/u_defObj.h"
#include "view/u_pick.h"
#include "view/u_viewerinput.h"

namespace kx {

class TDefCache;
class TFreeForm;
class TScene;
class TkxMain;

/// The four mode buttons: btnModeSelect, btnModeRot, btnVisible, btnColor.
enum class TEditMode { Select, Rotate, Visible, Color };

/// Axis values of one motion event of a 3D input device.
struct TSpaceMotion {
    int TX = 0, TY = 0, TZ = 0;
    int RX = 0, RY = 0, RZ = 0;
};

/// What the view's handling asks of the window around it.
class TViewerHost {
public:
    virtual ~TViewerHost() = default;
    virtual int ViewWidth() const = 0;
    virtual int ViewHeight() const = 0;
    /// The view is drawn again soon.
    virtual void Redraw() = 0;
    /// Lets the window handle what is waiting (painting, further input); input for the view
    /// that arrives meanwhile comes back into the handler.
    virtual void ProcessPendingEvents() = 0;
    /// Whether kinematics runs (btnStartKinematik down).
    virtual bool KinematicsRunning() const = 0;
    /// Opens the jog dial centred on the view point and runs the command chosen there.
    virtual void RunJogDial(int x, int y) = 0;
    /// The parts tree is drawn again (hidden parts look different there).
    virtual void RepaintPartsTree() = 0;
    /// Runs `action` once the drag-and-drop that delivered a drop has ended.
    virtual void AfterDrop(std::function<void()> action) = 0;
    /// A library part of this number was dropped: it joins the favourites.
    virtual void PartDropped(const std::string& number) = 0;
};

/// The view's handlers. One per main window; the view widget forwards its events here.
class TViewerInteraction : public TViewerInput {
public:
    TViewerInteraction(TkxMain& model, TScene& scene, TDefCache& defs, TViewerHost& host);
    ~TViewerInteraction() override;
    TViewerInteraction(const TViewerInteraction&) = delete;
    TViewerInteraction& operator=(const TViewerInteraction&) = delete;

    // --- Modes (the main window's buttons) -------------------------------------------------
    TEditMode Mode() const { return m_mode; }
    void SetMode(TEditMode mode) { m_mode = mode; }
    /// false: "Einzelauswahl", true: "Mehrfachauswahl".
    bool MultiSelection() const { return m_multiSelection; }
    void SetMultiSelection(bool on) { m_multiSelection = on; }
    /// Windows colour value the colour mode paints with; 255 (red) at start.
    uint32_t ActiveColor() const { return m_activeColor; }
    void SetActiveColor(uint32_t colour) { m_activeColor = colour; }
    /// While set, pointer movement is ignored; the next release clears it.
    bool SuppressMouseMove() const { return m_suppressMouseMove; }
    void SetSuppressMouseMove(bool on) { m_suppressMouseMove = on; }

    // --- Picking ----------------------------------------------------------------------------
    /// `InternalGetPickedObjects`: the objects under the view point, nearest first.
    std::vector<TPickHit> InternalGetPickedObjects(int x, int y);
    /// The nearest of them, or nullptr.
    TFreeForm* PickedObject(int x, int y);
    TPicker& Picker() { return m_picker; }

    // --- Mouse ------------------------------------------------------------------------------
    void MouseDown(const TPointerEvent& e) override;
    void MouseMove(const TPointerEvent& e) override;
    void MouseUp(const TPointerEvent& e) override;
    /// The second press of a quick double click: a press like any other, so two quick
    /// Shift-clicks toggle a part twice and two quick clicks hide two parts.
    void DoubleClick(const TPointerEvent& e) override { MouseDown(e); }
    /// A motion event of the 3D input device: orbit and distance, Light2 follows.
    void SpaceMouseMotion(const TSpaceMotion& m);

    // --- Drag and drop ----------------------------------------------------------------------
    /// A library part of this number started to be dragged: its definition is remembered.
    void DragStarted(const std::string& number);
    /// The pointer moves over the view during a drag; every source is accepted.
    void DragOver(int x, int y);
    /// The drag left the view (or was cancelled over it): as if the pointer were over nothing,
    /// and the next drag starts afresh.
    void DragLeft();
    /// Dropped on the view. A drop that does not come from a library tile only hides the
    /// marker. The action itself runs after the drag has ended (TViewerHost::AfterDrop).
    void Drop(int x, int y, const std::string& number, bool fromLibrary);
    /// What a drop of a library part does, run once the drag is over.
    void DropPart(const std::string& number);

    TFreeForm* HoveredPart() const { return m_hovered; }
    int PreselectedConnector() const { return m_preselected; }
    const TDefObj* DraggedDefinition() const { return m_dragged.get(); }

    int LastX() const { return m_lastX; }
    int LastY() const { return m_lastY; }
    int LastZoomY() const { return m_lastZoomY; }

    /// Recomputes the orientation of the camera target (used for panning).
    void UpdateCameraTargetFrame();

private:
    enum class TEventKind { Down, Move, Up };
    struct TQueued {
        TEventKind Kind;
        TPointerEvent Event;
    };
    void Dispatch(TEventKind kind, const TPointerEvent& e);
    void DoMouseDown(const TPointerEvent& e);
    void DoMouseMove(const TPointerEvent& e);
    void DoMouseUp(const TPointerEvent& e);
    void SelectPressed(TFreeForm* part, const TModifiers& keys);
    void Orbit(int x, int y);
    void Pan(int x, int y);
    void Zoom(int y);
    void PaintPart(TFreeForm& part);
    void PlaceComposite(const std::string& number);
    /// Moves freshly placed parts (all at the origin) together so that they rest on the floor
    /// under the view point, on the grid.
    void PutOnFloor(const std::vector<std::string>& names, int x, int y);
    TSceneObject* Marker() const;

    TkxMain& m_model;
    TScene& m_scene;
    TDefCache& m_defs;
    TViewerHost& m_host;
    TPicker m_picker;

    TEditMode m_mode = TEditMode::Select;
    bool m_multiSelection = false;
    uint32_t m_activeColor = 255;
    bool m_suppressMouseMove = false;
    int m_lastX = 0;
    int m_lastY = 0;
    int m_lastZoomY = 0;
    /// A right press in the select mode: a click selects at the release, a drag orbits.
    struct TRightPress {
        int X = 0;
        int Y = 0;
        TModifiers Modifiers;
        bool Dragged = false;
    };
    std::optional<TRightPress> m_rightPress;
    /// Where the last library part was dropped, until its placing uses it.
    std::optional<std::pair<int, int>> m_dropPoint;

    TFreeForm* m_hovered = nullptr;
    std::shared_ptr<const TDefObj> m_hoveredDef;
    int m_preselected = -1;
    std::shared_ptr<const TDefObj> m_dragged;

    // Handlers let pending window events through; input arriving then is queued and handled
    // after the running handler, never inside it.
    bool m_busy = false;
    std::deque<TQueued> m_queued;
};

}  // namespace kx
