// The tube manager's working state and its editing operations.
#include "generated/u_tubemanager.h"

#include <cmath>
#include <numbers>
#include <utility>

#include "foundation/u_language.h"
#include "foundation/u_stack.h"
#include "foundation/u_text.h"

namespace kx {

namespace {

constexpr float kCameraDistance = 500;
constexpr float kLightDistance = 6000;
constexpr size_t kViews = 4;

size_t Index(TTubeView v) {
    return static_cast<size_t>(v);
}

/// The axis an orthographic view looks along (0 x, 1 y, 2 z) and the sign it starts with.
struct TViewAxis {
    int Axis;
    float Sign;
};
TViewAxis AxisOf(TTubeView view) {
    switch (view) {
        case TTubeView::Front:
            return {0, 1};
        case TTubeView::Top:
            return {1, -1};
        case TTubeView::Side:
        case TTubeView::View3D:
            break;
    }
    return {2, 1};
}

TVector3f AlongAxis(int axis, float value) {
    TVector3f v{0, 0, 0};
    (axis == 0 ? v.X : axis == 1 ? v.Y : v.Z) = value;
    return v;
}

}  // namespace

TMeshPtr MarkerSphereMesh() {
    static const TMeshPtr mesh = [] {
        auto m = std::make_shared<TMesh>();
        constexpr int rings = 8, segments = 12;
        auto point = [](int r, int s) {
            const double theta = std::numbers::pi * r / rings;
            const double phi = 2 * std::numbers::pi * s / segments;
            return TVector3f{static_cast<float>(std::sin(theta) * std::cos(phi)),
                             static_cast<float>(std::cos(theta)),
                             static_cast<float>(std::sin(theta) * std::sin(phi))};
        };
        for (int r = 0; r < rings; ++r) {
            for (int s = 0; s < segments; ++s) {
                const TVector3f a = point(r, s), b = point(r + 1, s), c = point(r + 1, s + 1),
                                d = point(r, s + 1);
                for (const TVector3f& p : {a, d, c, c, b, a}) {
                    m->Positions.push_back(p);
                    m->Normals.push_back(p);
                }
            }
        }
        return m;
    }();
    return mesh;
}

TTubeManager::TTubeManager() {
    TDummyCube& root = m_scene.Root();
    m_target = &root.AddNewChild<TDummyCube>("dcCAM");
    for (size_t i = 0; i < kViews; ++i) {
        auto& light = root.AddNewChild<TLightSource>("light" + IntToStr(int64_t(i + 1)));
        light.SetDiffuse(i == 0 ? TColor3f{1, 1, 1} : TColor3f{0.5f, 0.5f, 0.5f});
        m_lights[i] = &light;
    }
    m_parts = &root.AddNewChild<TDummyCube>("dcFF");
    m_tubes = &root.AddNewChild<TDummyCube>("dcTubes");
    auto& cam3D = root.AddNewChild<TSceneCamera>("cam3D");
    cam3D.SetDepthOfView(1000);
    cam3D.SetFocalLength(150);
    cam3D.SetTargetObject(m_target);
    cam3D.SetPosition({-25, 20, -30});
    m_cameras[0] = &cam3D;
    for (size_t i = 1; i < kViews; ++i) {
        auto& cam = root.AddNewChild<TSceneCamera>("cam" + IntToStr(int64_t(i)));
        cam.SetOrthogonal(true);
        cam.SetSceneScale(0.1f);
        cam.SetFocalLength(50);
        cam.SetDepthOfView(1000);
        m_cameras[i] = &cam;
    }
    PlaceCamerasAndLights();
    LightToCamera();
    m_scene.SetBackgroundColor({0.94f, 0.94f, 0.94f});
}

void TTubeManager::PlaceCamerasAndLights() {
    for (TTubeView view : {TTubeView::Side, TTubeView::Front, TTubeView::Top}) {
        const TViewAxis a = AxisOf(view);
        const float sign = m_flipped[Index(view)] ? -a.Sign : a.Sign;
        TSceneCamera& cam = Camera(view);
        // The camera keeps where it was panned to; only its side of the scene changes.
        TVector3f pos = cam.Position();
        (a.Axis == 0 ? pos.X : a.Axis == 1 ? pos.Y : pos.Z) = -sign * kCameraDistance;
        cam.SetPosition(pos);
        const TVector3f up = view == TTubeView::Top ? TVector3f{0, 0, -1} : TVector3f{0, 1, 0};
        cam.SetOrientation(AlongAxis(a.Axis, sign), up);
        m_lights[Index(view)]->SetPosition(AlongAxis(a.Axis, -sign * kLightDistance));
    }
}

void TTubeManager::FlipView(TTubeView view) {
    if (view == TTubeView::View3D) {
        return;
    }
    m_flipped[Index(view)] = !m_flipped[Index(view)];
    PlaceCamerasAndLights();
}

void TTubeManager::LightToCamera() {
    m_lights[0]->SetPosition(m_cameras[0]->AbsolutePosition());
}

// --- Filling and writing back -----------------------------------------------------------------

void TTubeManager::AddPart(const TTubePartCopy& part) {
    auto& ff = m_parts->AddNewChild<TFreeForm>();
    ff.SetPosition(part.Position);
    ff.SetOrientation(part.Direction, part.Up);
    ff.SetScale(part.Scale);
    ff.SetMesh(part.Mesh);
    ff.Material().SetDiffuse(part.Colour);
    ff.SetVisible(part.Visible);
    if (part.Colour.A < 1) {
        ff.Material().SetBlending(TBlendingMode::Transparent);
    }
}

void TTubeManager::SetStartCamera(const TVector3f& position, const TVector3f& direction,
                                  const TVector3f& up, const TVector3f& target) {
    TSceneCamera& cam = *m_cameras[0];
    cam.SetPosition(position);
    cam.SetOrientation(direction, up);
    m_target->SetPosition(target);
    LightToCamera();
}

void TTubeManager::AddHoseCopy(const TPipeEx& source) {
    auto& hose = m_tubes->AddNewChild<TPipeEx>();
    hose.CopyFrom(source);
    const THoseLabel label = HoseLabelForTag(source.Tag());
    std::string text = Language().GetText(label.Section, label.Key, label.Label);
    if (label.Key != 16) {
        text += " (" + IntToStr(int64_t(m_entries.size() + 1)) + ")";
    }
    TTubeEntry& entry = AddEntry(std::move(text), source.Tag(), hose);
    for (const TVector3f& p : hose.Nodes()) {
        AddMarker(entry, p);
    }
}

std::vector<const TPipeEx*> TTubeManager::HosesForModel() {
    DeSelectAllTubes();
    std::vector<const TPipeEx*> hoses;
    for (const TTubeEntry& e : m_entries) {
        hoses.push_back(e.Hose);
    }
    return hoses;
}

TTubeEntry& TTubeManager::AddEntry(std::string text, int image, TPipeEx& hose) {
    TTubeEntry& entry = m_entries.emplace_back();
    entry.Text = std::move(text);
    entry.Image = image;
    entry.Hose = &hose;
    return entry;
}

TFreeForm& TTubeManager::AddMarker(TTubeEntry& entry, const TVector3f& p) {
    auto& marker = entry.Hose->AddNewChild<TFreeForm>();
    marker.SetMesh(MarkerSphereMesh());
    marker.SetPosition(p);
    marker.SetScale(1.5f * entry.Hose->Radius());
    marker.Material().SetDiffuseColor({1, 1, 1});
    marker.SetVisible(false);
    entry.Markers.push_back(&marker);
    return marker;
}

// --- Tree and selection -----------------------------------------------------------------------

std::string TTubeManager::PinText(size_t number) {
    return Language().GetText("MAIN2", 10, "Stützpunkt") + " " + IntToStr(int64_t(number));
}

TPipeEx* TTubeManager::SelectedHose() const {
    if (m_selection.Empty() || m_selection.Hose >= int(m_entries.size())) {
        return nullptr;
    }
    return m_entries[static_cast<size_t>(m_selection.Hose)].Hose;
}

void TTubeManager::DeSelectAllTubes() {
    for (TTubeEntry& e : m_entries) {
        for (TFreeForm* m : e.Markers) {
            m->SetVisible(false);
            m->Material().SetDiffuseColor({1, 1, 1});
        }
        e.Hose->SetDisplayColour(e.Hose->Colour());
    }
}

void TTubeManager::Select(TTubeSelection selection) {
    Stack().Push("TDlgTubeManager.treeChange", selection.Hose, selection.Node);
    if (selection.Hose < 0 || selection.Hose >= int(m_entries.size())) {
        selection = {};
    } else if (selection.Node >= int(m_entries[size_t(selection.Hose)].Markers.size())) {
        selection.Node = -1;
    }
    m_selection = selection;
    ShowSelection();
}

void TTubeManager::ShowSelection() {
    DeSelectAllTubes();
    if (m_selection.Empty()) {
        return;
    }
    TTubeEntry& e = m_entries[static_cast<size_t>(m_selection.Hose)];
    e.Hose->SetDisplayColour(kSelectedHoseColour);
    for (TFreeForm* m : e.Markers) {
        m->SetVisible(true);
    }
    if (m_selection.Node >= 0) {
        e.Markers[static_cast<size_t>(m_selection.Node)]->Material().SetDiffuseColor({0, 0, 0});
    }
}

bool TTubeManager::CanMoveUp() const {
    return m_selection.Node > 0;
}

bool TTubeManager::CanMoveDown() const {
    return m_selection.Node >= 0 &&
           m_selection.Node + 1 < int(m_entries[size_t(m_selection.Hose)].Markers.size());
}

void TTubeManager::Renumber(TTubeEntry& entry) {
    // Markers stand in node order; their positions say where each node is.
    for (size_t i = 0; i < entry.Markers.size(); ++i) {
        if (auto p = entry.Hose->Node(i)) {
            entry.Markers[i]->SetPosition(*p);
        }
    }
}

// --- Editing ----------------------------------------------------------------------------------

int TTubeManager::NewSchlauch(int kind) {
    Stack().Push("TDlgTubeManager.NewSchlauch", kind);
    if (kind < 1 || kind > kHoseKindCount) {
        return -1;
    }
    const THoseKind& k = HoseKind(kind);
    std::string text = Language().GetText("MAIN2", k.LabelKey, k.Label) + " (" +
                       IntToStr(int64_t(m_entries.size() + 1)) + ")";
    auto& hose = m_tubes->AddNewChild<TPipeEx>();
    hose.SetSplineMode(TSplineMode::lsmCubicSpline);
    hose.SetParts(ppOutside | ppInside);
    hose.SetRadius(k.Radius);
    hose.SetDisplayColour(k.Colour);
    hose.SetColour(k.Colour);
    AddEntry(std::move(text), k.Icon, hose);
    Select({int(m_entries.size()) - 1, -1});
    SetTool(TTubeTool::NewPin);
    return int(m_entries.size()) - 1;
}

void TTubeManager::AddPin(const TVector3f& p, int hose) {
    Stack().Push("TDlgTubeManager.AddPin", p.X, p.Y, p.Z, hose);
    if (hose < 0 || hose >= int(m_entries.size())) {
        return;
    }
    TTubeEntry& e = m_entries[static_cast<size_t>(hose)];
    e.Hose->SetTag(e.Image);
    e.Hose->AddNode(p);
    AddMarker(e, p).SetVisible(m_selection.Hose == hose);
}

void TTubeManager::DeleteSelected() {
    Stack().Push("TDlgTubeManager.btnDeleteTubeClick");
    if (m_selection.Empty()) {
        return;
    }
    const auto h = static_cast<size_t>(m_selection.Hose);
    TTubeEntry& e = m_entries[h];
    if (m_selection.Node >= 0) {
        const auto n = static_cast<size_t>(m_selection.Node);
        e.Hose->DeleteNode(n);
        e.Hose->DeleteChild(*e.Markers[n]);
        e.Markers.erase(e.Markers.begin() + static_cast<std::ptrdiff_t>(n));
        Renumber(e);
    } else {
        m_tubes->DeleteChild(*e.Hose);
        m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(h));
    }
    m_selection = {};
    ShowSelection();
}

void TTubeManager::MoveNodeUp() {
    Stack().Push("TDlgTubeManager.btnMoveUpClick");
    if (!CanMoveUp()) {
        return;
    }
    TTubeEntry& e = m_entries[static_cast<size_t>(m_selection.Hose)];
    const auto n = static_cast<size_t>(m_selection.Node);
    e.Hose->MoveNode(n, n - 1);
    Renumber(e);
    Select({m_selection.Hose, m_selection.Node - 1});
}

void TTubeManager::MoveNodeDown() {
    Stack().Push("TDlgTubeManager.btnMoveDownClick");
    if (!CanMoveDown()) {
        return;
    }
    TTubeEntry& e = m_entries[static_cast<size_t>(m_selection.Hose)];
    const auto n = static_cast<size_t>(m_selection.Node);
    e.Hose->MoveNode(n, n + 1);
    Renumber(e);
    Select({m_selection.Hose, m_selection.Node + 1});
}

TTubeMessage TTubeManager::InsertHalfway() {
    Stack().Push("TDlgTubeManager.Zwischenpunkteinfgen1Click");
    if (m_selection.Empty() || m_selection.Node < 0) {
        return TTubeMessage::NoNode;
    }
    if (m_selection.Node == 0) {
        return TTubeMessage::NotBeforeFirst;
    }
    TTubeEntry& e = m_entries[static_cast<size_t>(m_selection.Hose)];
    const auto n = static_cast<size_t>(m_selection.Node);
    const TVector3f mid = (*e.Hose->Node(n) + *e.Hose->Node(n - 1)) * 0.5f;
    e.Hose->AddNode(mid);
    e.Hose->MoveNode(e.Hose->NodeCount() - 1, n);
    AddMarker(e, mid);
    Renumber(e);
    Select(m_selection);
    return TTubeMessage::None;
}

void TTubeManager::SetSelectedColour(uint32_t colour) {
    Stack().Push("TDlgTubeManager.menChangeColorClick", int64_t(colour));
    if (TPipeEx* hose = SelectedHose()) {
        hose->SetColour(colour);
    }
}

void TTubeManager::SetSelectedPhase(int phase) {
    Stack().Push("TDlgTubeManager.menChangePhaseClick", phase);
    if (TPipeEx* hose = SelectedHose(); hose && phase != 0) {
        hose->SetPhase(phase);
    }
}

// --- Grid and tools ---------------------------------------------------------------------------

void TTubeManager::SetGridDivisions(int divisions) {
    Stack().Push("TDlgTubeManager.menGrid1Click", divisions);
    if (divisions > 0) {
        m_gridDivisions = divisions;
        m_gridOn = true;
    }
}

TVector3f TTubeManager::doGrid(const TVector3f& p) const {
    if (!m_gridOn) {
        return p;
    }
    const auto snap = [this](float c) {
        // A click a hair below a grid line (unprojection rounds) counts as on it.
        const double d = m_gridDivisions;
        return static_cast<float>(std::trunc(double(c) * d + (c < 0 ? -1e-6 : 1e-6)) / d);
    };
    return {snap(p.X), snap(p.Y), snap(p.Z)};
}

void TTubeManager::SetTool(TTubeTool tool) {
    m_tool = tool;
    switch (tool) {
        case TTubeTool::RotatePan:
            Stack().Push("TDlgTubeManager.btnModeRotClick");
            DeSelectAllTubes();
            break;
        case TTubeTool::NewPin:
            Stack().Push("TDlgTubeManager.btnNewPinClick");
            ShowSelection();
            break;
        case TTubeTool::Move:
            Stack().Push("TDlgTubeManager.btnMoveClick");
            ShowSelection();
            if (TPipeEx* hose = SelectedHose(); hose && hose->NodeCount() > 0) {
                Select({m_selection.Hose, 0});
            }
            break;
    }
}

// --- Mouse ------------------------------------------------------------------------------------

TVector3f TTubeManager::InPlane(TTubeView view, const TVector3f& plane, const TVector3f& rest) {
    switch (view) {
        case TTubeView::Front:
            return {rest.X, plane.Y, plane.Z};
        case TTubeView::Top:
            return {plane.X, rest.Y, plane.Z};
        case TTubeView::Side:
        case TTubeView::View3D:
            break;
    }
    return {plane.X, plane.Y, rest.Z};
}

TVector3f TTubeManager::WorldPoint(const TTubePointer& p) const {
    const TSceneCamera& cam = *m_cameras[Index(p.View)];
    return doGrid(cam.ScreenToWorld(p.X, float(p.Height) - p.Y, p.Width, p.Height));
}

TTubeMessage TTubeManager::MouseDown(const TTubePointer& p) {
    m_lastMouse[Index(p.View)] = std::array<float, 2>{p.X, p.Y};
    if (p.View == TTubeView::View3D || m_tool != TTubeTool::NewPin) {
        return TTubeMessage::None;
    }
    if (m_selection.Empty()) {
        return TTubeMessage::NoHose;
    }
    const TVector3f pos = InPlane(p.View, WorldPoint(p), m_lastPin);
    m_lastPin = pos;
    AddPin(pos, m_selection.Hose);
    return TTubeMessage::None;
}

void TTubeManager::MouseMove(const TTubePointer& p) {
    auto& last = m_lastMouse[Index(p.View)];
    if (!last || (!p.Left && !p.Right)) {
        last = std::array<float, 2>{p.X, p.Y};
        return;
    }
    const float px = (*last)[0], py = (*last)[1];
    last = std::array<float, 2>{p.X, p.Y};
    if (p.View == TTubeView::View3D) {
        TSceneCamera& cam = *m_cameras[0];
        if (p.Left && p.Control) {
            const TVector3f before = m_target->Position();
            m_target->Slide((py - p.Y) / 20);
            m_target->Lift((px - p.X) / -20);
            cam.Translate(m_target->Position() - before);
        } else if (p.Left) {
            cam.MoveAroundTarget(p.Y - py, p.X - px);
            const TVector3f toCamera = cam.AbsolutePosition() - m_target->AbsolutePosition();
            if (Dot(toCamera, toCamera) > 0) {
                m_target->SetDirection(toCamera);
                m_target->SetUp(Cross(m_target->Direction(), TVector3f{0, 1, 0}));
            }
        } else if (p.Right) {
            cam.AdjustDistanceToTarget(static_cast<float>(std::pow(1.1, (py - p.Y) / 10.0)));
        }
        LightToCamera();
        return;
    }
    TSceneCamera& cam = *m_cameras[Index(p.View)];
    if (m_tool == TTubeTool::Move) {
        if (!p.Left || m_selection.Node < 0) {
            return;
        }
        TTubeEntry& e = m_entries[static_cast<size_t>(m_selection.Hose)];
        const auto n = static_cast<size_t>(m_selection.Node);
        TFreeForm& marker = *e.Markers[n];
        const TVector3f pos = InPlane(p.View, WorldPoint(p), marker.Position());
        marker.SetPosition(pos);
        e.Hose->SetNode(n, pos);
        return;
    }
    if (m_tool != TTubeTool::RotatePan) {
        return;
    }
    if (p.Left) {
        const TVector3f a = cam.ScreenToWorld(px, float(p.Height) - py, p.Width, p.Height);
        const TVector3f b = cam.ScreenToWorld(p.X, float(p.Height) - p.Y, p.Width, p.Height);
        const TVector3f shift = InPlane(p.View, a - b, TVector3f{0, 0, 0});
        cam.Translate(shift);
    } else if (p.Right) {
        const float scale = cam.SceneScale() - (py - p.Y) / 1000;
        cam.SetSceneScale(scale < kMinSceneScale ? kMinSceneScale : scale);
    }
}

}  // namespace kx
