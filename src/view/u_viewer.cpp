// The 3D view's input handling without a window: picking, selection, hiding and painting
// parts, camera orbit, pan and zoom, dragging library parts over the view and dropping them.
#include "view/u_viewer.h"

#include <cmath>
#include <cstdlib>
#include <exception>
#include <utility>

#include "catalogue/u_partcache.h"
#include "foundation/u_stack.h"
#include "model/MainObj.h"
#include "placement/u_snap.h"
#include "view/u_colour.h"
#include "view/u_scene.h"
#include "view/u_sceneobjects.h"

namespace kx {

namespace {

const char* ButtonName(TMouseButton b) {
    switch (b) {
        case TMouseButton::Left:
            return "mbLeft";
        case TMouseButton::Right:
            return "mbRight";
        case TMouseButton::Middle:
            return "mbMiddle";
        case TMouseButton::None:
            break;
    }
    return "";
}

std::string ShiftText(const TPointerEvent& e) {
    std::string t = "[";
    auto add = [&](bool on, const char* name) {
        if (on) {
            t += t.size() > 1 ? "," : "";
            t += name;
        }
    };
    add(e.Modifiers.Shift, "ssShift");
    add(e.Modifiers.Alt, "ssAlt");
    add(e.Modifiers.Ctrl, "ssCtrl");
    add(e.LeftDown, "ssLeft");
    add(e.RightDown, "ssRight");
    add(e.MiddleDown, "ssMiddle");
    return t + "]";
}

/// A placed part: a mesh object with a record.
TFreeForm* AsPlacedPart(TSceneObject* o) {
    if (!o || o->Kind() != TSceneObjectKind::FreeForm) {
        return nullptr;
    }
    auto* ff = static_cast<TFreeForm*>(o);
    return ff->Bauteil() ? ff : nullptr;
}

/// Guards a flag for a scope.
class TBusy {
public:
    explicit TBusy(bool& flag) : m_flag(flag) { m_flag = true; }
    ~TBusy() { m_flag = false; }
    TBusy(const TBusy&) = delete;
    TBusy& operator=(const TBusy&) = delete;

private:
    bool& m_flag;
};

}  // namespace

TViewerInteraction::TViewerInteraction(TkxMain& model, TScene& scene, TDefCache& defs,
                                       TViewerHost& host)
    : m_model(model), m_scene(scene), m_defs(defs), m_host(host) {}

TViewerInteraction::~TViewerInteraction() = default;

// --- Picking ----------------------------------------------------------------------------------

std::vector<TPickHit> TViewerInteraction::InternalGetPickedObjects(int x, int y) {
    Stack().Push("TMainForm.InternalGetPickedObjects", x, y);
    const TSceneCamera* camera = m_scene.Camera();
    const TDummyCube* parts = m_scene.PartsRoot();
    if (!camera || !parts || m_host.ViewWidth() <= 0 || m_host.ViewHeight() <= 0) {
        return {};
    }
    const TRay ray = ViewRay(*camera, x, y, m_host.ViewWidth(), m_host.ViewHeight());
    return m_picker.PickObjects(*parts, ray);
}

TFreeForm* TViewerInteraction::PickedObject(int x, int y) {
    const std::vector<TPickHit> hits = InternalGetPickedObjects(x, y);
    return hits.empty() ? nullptr : hits.front().Object;
}

// --- Mouse ------------------------------------------------------------------------------------

void TViewerInteraction::MouseDown(const TPointerEvent& e) {
    Dispatch(TEventKind::Down, e);
}

void TViewerInteraction::MouseMove(const TPointerEvent& e) {
    Dispatch(TEventKind::Move, e);
}

void TViewerInteraction::MouseUp(const TPointerEvent& e) {
    Dispatch(TEventKind::Up, e);
}

void TViewerInteraction::Dispatch(TEventKind kind, const TPointerEvent& e) {
    if (m_busy) {
        // Let through by a handler that processes pending events: handled when it returns.
        m_queued.push_back({kind, e});
        return;
    }
    TQueued next{kind, e};
    // A handler that fails ends the command: what queued up behind it belongs to it.
    struct TDropQueueOnError {
        std::deque<TQueued>& Queue;
        int Exceptions = std::uncaught_exceptions();
        ~TDropQueueOnError() {
            if (std::uncaught_exceptions() > Exceptions) {
                Queue.clear();
            }
        }
    } dropQueue{m_queued};
    for (;;) {
        {
            TBusy busy(m_busy);
            switch (next.Kind) {
                case TEventKind::Down:
                    DoMouseDown(next.Event);
                    break;
                case TEventKind::Move:
                    DoMouseMove(next.Event);
                    break;
                case TEventKind::Up:
                    DoMouseUp(next.Event);
                    break;
            }
        }
        if (m_queued.empty()) {
            return;
        }
        next = m_queued.front();
        m_queued.pop_front();
    }
}

void TViewerInteraction::DoMouseDown(const TPointerEvent& e) {
    Stack().Push("TMainForm.GLSceneViewerMouseDown", ButtonName(e.Button), ShiftText(e), e.X, e.Y);
    if (e.Button == TMouseButton::Middle) {
        m_host.RunJogDial(e.X, e.Y);
        m_suppressMouseMove = true;
        return;
    }
    if (e.Button != TMouseButton::Left && e.Button != TMouseButton::Right) {
        return;
    }
    m_lastX = e.X;
    m_lastY = e.Y;
    m_lastZoomY = e.Y;

    // The view stays navigable in the select mode: what the right button does is decided at
    // the release, a click selecting as a press would, a drag orbiting.
    m_rightPress.reset();
    if (e.Button == TMouseButton::Right && m_mode == TEditMode::Select) {
        m_rightPress = TRightPress{e.X, e.Y, e.Modifiers, false};
        return;
    }
    const bool selecting =
        m_mode == TEditMode::Select || (m_mode == TEditMode::Rotate && e.Modifiers.Ctrl);
    if (selecting && !m_host.KinematicsRunning()) {
        SelectPressed(PickedObject(e.X, e.Y), e.Modifiers);
    }
    if (m_mode == TEditMode::Visible && e.Button == TMouseButton::Left) {
        if (TFreeForm* picked = PickedObject(e.X, e.Y)) {
            picked->SetVisible(false);
            m_host.RepaintPartsTree();
        }
    }
    if (m_mode == TEditMode::Color && e.Button == TMouseButton::Left) {
        if (TFreeForm* picked = PickedObject(e.X, e.Y)) {
            PaintPart(*picked);
        }
    }
}

void TViewerInteraction::DoMouseUp(const TPointerEvent& e) {
    Stack().Push("TMainForm.GLSceneViewerMouseUp", ButtonName(e.Button), ShiftText(e), e.X, e.Y);
    m_suppressMouseMove = false;
    if (e.Button != TMouseButton::Right || !m_rightPress) {
        return;
    }
    const TRightPress press = *m_rightPress;
    m_rightPress.reset();
    if (!press.Dragged && m_mode == TEditMode::Select && !m_host.KinematicsRunning()) {
        SelectPressed(PickedObject(press.X, press.Y), press.Modifiers);
        m_host.Redraw();
    }
}

void TViewerInteraction::SelectPressed(TFreeForm* part, const TModifiers& keys) {
    if (!m_multiSelection) {
        if (part && !keys.Shift) {
            m_model.SelectBaustein(part->Name(), false, false);
        } else if (part) {
            m_model.CoSelectBaustein(part->Name(), true, false, false);
        } else {
            m_model.DeSelectAllBausteine();
        }
        return;
    }
    if (!part) {
        return;
    }
    if (m_model.SelectedPart()) {
        m_model.CoSelectBaustein(part->Name(), true, true, true);
    } else {
        m_model.SelectBaustein(part->Name(), false, false);
    }
}

void TViewerInteraction::PaintPart(TFreeForm& part) {
    const std::string name = part.Name();
    m_model.MakeUndoSnapshot("Färben", name);
    part.Material().SetDiffuseColor(ColorFromWin(m_activeColor));
    m_model.ColorizeLib(part, m_activeColor);
    m_model.RefreshBauteil(name, true, -1);
    m_host.Redraw();
}

void TViewerInteraction::DoMouseMove(const TPointerEvent& e) {
    if (m_suppressMouseMove) {
        return;
    }
    const bool left = e.LeftDown;
    const bool right = e.RightDown;
    const bool alt = e.Modifiers.Alt;
    if (m_mode == TEditMode::Select && m_multiSelection && left) {
        if (TFreeForm* part = PickedObject(e.X, e.Y)) {
            if (m_model.SelectedPart()) {
                m_model.CoSelectBaustein(part->Name(), true, true, true);
                m_host.ProcessPendingEvents();
            } else {
                m_model.SelectBaustein(part->Name(), false, false);
            }
        }
    }
    if (m_mode == TEditMode::Rotate) {
        if (left && !alt) {
            Orbit(e.X, e.Y);
            UpdateCameraTargetFrame();
            m_host.Redraw();
        }
        if (left && alt) {
            Pan(e.X, e.Y);
            UpdateCameraTargetFrame();
            m_scene.CameraLightToCamera();
            m_host.Redraw();
        }
        if (right) {
            Zoom(e.Y);
            m_host.Redraw();
        }
    }
    if (m_mode == TEditMode::Visible && right) {
        Orbit(e.X, e.Y);
        m_host.Redraw();
    }
    // The right button has no other job while dragging in the select and colour modes: it
    // orbits there too, once the pointer has left the spot of a click.
    if ((m_mode == TEditMode::Select || m_mode == TEditMode::Color) && right) {
        constexpr int kClickSlack = 3;
        if (m_rightPress && !m_rightPress->Dragged) {
            m_rightPress->Dragged = std::abs(e.X - m_rightPress->X) > kClickSlack ||
                                    std::abs(e.Y - m_rightPress->Y) > kClickSlack;
        }
        if (!m_rightPress || m_rightPress->Dragged) {
            Orbit(e.X, e.Y);
            UpdateCameraTargetFrame();
            m_host.Redraw();
        }
    }
}

void TViewerInteraction::Orbit(int x, int y) {
    if (TSceneCamera* camera = m_scene.Camera()) {
        camera->MoveAroundTarget(static_cast<float>(m_lastY - y), static_cast<float>(m_lastX - x));
    }
    m_lastX = x;
    m_lastY = y;
    m_scene.CameraLightToCamera();
}

void TViewerInteraction::Pan(int x, int y) {
    TSceneCamera* camera = m_scene.Camera();
    TDummyCube* target = m_scene.CameraTarget();
    if (camera && target) {
        const TVector3f direction = camera->Direction();
        const TVector3f up = camera->Up();
        camera->SetOrientation(target->Direction(), target->Up());
        const float slide = static_cast<float>(m_lastY - y) / 20;
        const float lift = static_cast<float>(m_lastX - x) / -20;
        target->Slide(slide);
        target->Lift(lift);
        camera->Slide(slide);
        camera->Lift(lift);
        camera->SetOrientation(direction, up);
    }
    m_lastX = x;
    m_lastY = y;
}

void TViewerInteraction::Zoom(int y) {
    if (TSceneCamera* camera = m_scene.Camera()) {
        const auto factor = static_cast<float>(std::pow(1.1, (m_lastZoomY - y) / 10.0));
        camera->AdjustDistanceToTarget(factor);
    }
    m_scene.CameraLightToCamera();
    m_lastZoomY = y;
}

void TViewerInteraction::UpdateCameraTargetFrame() {
    TSceneCamera* camera = m_scene.Camera();
    TDummyCube* target = m_scene.CameraTarget();
    if (!camera || !target) {
        return;
    }
    const TVector3f d = camera->AbsolutePosition() - target->AbsolutePosition();
    target->SetDirection(d);
    target->SetUp(Cross(d, TVector3f{0, 1, 0}));
}

void TViewerInteraction::SpaceMouseMotion(const TSpaceMotion& m) {
    if (TSceneCamera* camera = m_scene.Camera()) {
        camera->MoveAroundTarget(static_cast<float>(-m.RX / 100), static_cast<float>(-m.RY / 100));
        camera->AdjustDistanceToTarget(static_cast<float>(std::pow(1.1, m.TY / 250.0)));
    }
    m_scene.CameraLightToCamera();
    m_host.Redraw();
}

// --- Drag and drop ----------------------------------------------------------------------------

TSceneObject* TViewerInteraction::Marker() const {
    return m_scene.FindObject("dcPlus");
}

void TViewerInteraction::DragStarted(const std::string& number) {
    Stack().Push("TMainForm.DragStarted", number);
    m_dragged = number.empty() ? nullptr : m_defs.GetDef(m_model.Files(), number);
    m_hovered = nullptr;
    m_hoveredDef.reset();
    m_preselected = -1;
}

void TViewerInteraction::DragOver(int x, int y) {
    if (m_busy) {
        return;  // the next drag-over event brings the pointer again
    }
    TBusy busy(m_busy);
    TUndoSuspension suspended(m_model);
    TSceneObject* marker = Marker();

    TFreeForm* part = AsPlacedPart(PickedObject(x, y));
    if (part && part != m_hovered) {
        m_model.SelectBaustein(part->Name(), false, false);
        part->SetShowAxes(false);
        if (marker) {
            marker->SetVisible(true);
        }
        m_hovered = part;
        const std::string& name = part->Name();
        m_hoveredDef = m_defs.GetDef(m_model.Files(), name.size() >= 6 ? name.substr(1, 5) : "");
    } else if (!part && m_hovered) {
        m_model.DeSelectAllBausteine();
        m_hovered = nullptr;
        m_hoveredDef.reset();
        m_preselected = -1;
        if (marker) {
            marker->SetVisible(false);
        }
    }
    if (!part || !m_hoveredDef || !m_scene.Camera()) {
        return;
    }
    const TRay ray = ViewRay(*m_scene.Camera(), x, y, m_host.ViewWidth(), m_host.ViewHeight());
    const std::optional<TPickHit> hit = m_picker.RayCast(*part, ray);
    if (!hit) {
        return;
    }
    const TDefObj none;
    const TDropConnector choice =
        ChooseDropConnector(*part, *m_hoveredDef, hit->Point, m_dragged ? *m_dragged : none);
    m_preselected = choice.Preselected;
    if (marker) {
        ShowDropMarker(*marker, choice);
    }
    m_host.Redraw();
}

void TViewerInteraction::DragLeft() {
    if (m_hovered) {
        m_model.DeSelectAllBausteine();
    }
    m_hovered = nullptr;
    m_hoveredDef.reset();
    m_preselected = -1;
    if (TSceneObject* marker = Marker()) {
        marker->SetVisible(false);
    }
    m_host.Redraw();
}

void TViewerInteraction::Drop(int x, int y, const std::string& number, bool fromLibrary) {
    Stack().Push("TMainForm.GLSceneViewerDragDrop", x, y);
    if (TSceneObject* marker = Marker()) {
        marker->SetVisible(false);
    }
    if (!fromLibrary || number.empty()) {
        return;
    }
    // The window that Combine opens must not run inside the drag-and-drop loop.
    m_host.AfterDrop([this, number, x, y] {
        m_dropPoint = std::make_pair(x, y);
        DropPart(number);
    });
}

void TViewerInteraction::DropPart(const std::string& number) {
    Stack().Push("TMainForm.DropPart", number);
    const int preselected = m_preselected;
    const std::optional<std::pair<int, int>> at = std::exchange(m_dropPoint, std::nullopt);
    m_hovered = nullptr;
    m_hoveredDef.reset();
    m_preselected = -1;
    if (TFreeForm* selected = m_model.SelectedPart()) {
        m_model.Combine(*selected, number, preselected);
        m_model.UpdateGroupTreeView();
    } else {
        const size_t before = m_model.Parts().Count();
        PlaceComposite(number);
        if (at) {
            std::vector<std::string> placed;
            for (size_t i = before; i < m_model.Parts().Count(); ++i) {
                placed.push_back(m_model.Parts()[i].Name());
            }
            PutOnFloor(placed, at->first, at->second);
        }
    }
    m_host.PartDropped(number);
    m_host.Redraw();
}

void TViewerInteraction::PlaceComposite(const std::string& number) {
    const std::string name = m_model.AddBaustein(number);
    if (name.empty()) {
        return;
    }
    const TDefPtr def = m_defs.GetDef(m_model.Files(), number);
    if (def->ChildCount() == 0) {
        return;
    }
    auto group = std::make_unique<TGroup>();
    group->Internal = true;
    group->Add(name);
    for (const std::string& child : def->Children) {
        const std::string childName = m_model.AddBaustein(child);
        if (!childName.empty()) {
            group->Add(childName);
        }
    }
    m_model.Groups().push_back(std::move(group));
    m_model.UpdateGroupTreeView();
}

void TViewerInteraction::PutOnFloor(const std::vector<std::string>& names, int x, int y) {
    const TSceneCamera* camera = m_scene.Camera();
    if (names.empty() || !camera || m_host.ViewWidth() <= 0 || m_host.ViewHeight() <= 0) {
        return;
    }
    std::vector<TFreeForm*> objects;
    TBox3f box;
    for (const std::string& name : names) {
        TFreeForm* object = m_model.PartObject(name);
        if (!object) {
            continue;
        }
        objects.push_back(object);
        if (!object->Mesh()) {
            continue;
        }
        const TBox3f& local = m_picker.Hierarchy(object->Mesh()).Bounds();
        if (local.Empty()) {
            continue;
        }
        const TMatrix4f world = object->AbsoluteMatrix();
        for (int corner = 0; corner < 8; ++corner) {
            box.Add(world.TransformPoint({corner & 1 ? local.Max.X : local.Min.X,
                                          corner & 2 ? local.Max.Y : local.Min.Y,
                                          corner & 4 ? local.Max.Z : local.Min.Z}));
        }
    }
    // Where the pointer meets the floor (the grid's plane, height 0); a ray that never comes
    // down to it, such as one above the horizon, keeps the part above the origin.
    TVector3f floor{0, 0, 0};
    const TRay ray = ViewRay(*camera, x, y, m_host.ViewWidth(), m_host.ViewHeight());
    if (std::abs(ray.Direction.Y) > 1e-6f) {
        const float t = -ray.Origin.Y / ray.Direction.Y;
        if (t > 0) {
            floor = ray.Origin + ray.Direction * t;
        }
    }
    const float spacing = m_scene.Grid() ? m_scene.Grid()->Spacing() : 1.0f;
    if (spacing > 0) {
        floor.X = std::round(floor.X / spacing) * spacing;
        floor.Z = std::round(floor.Z / spacing) * spacing;
    }
    const TVector3f shift{floor.X, box.Empty() ? 0.0f : -box.Min.Y, floor.Z};
    for (TFreeForm* object : objects) {
        object->SetPosition(object->Position() + shift);
        m_model.RefreshBauteil(object->Name(), false, -1);
    }
}

}  // namespace kx
