// The scene: bookkeeping of attached objects, view settings and the main window's nodes.
#include "view/u_scene.h"

#include <algorithm>

#include "foundation/u_text.h"

namespace kx {

int AntialiasSamples(TAntialias mode) {
    switch (mode) {
        case TAntialias::x2:
        case TAntialias::x2HQ:
            return 2;
        case TAntialias::x4:
        case TAntialias::x4HQ:
            return 4;
        case TAntialias::None:
        case TAntialias::Default:
            break;
    }
    return 0;
}

TScene::TScene() : m_root(std::make_unique<TDummyCube>()) {
    m_root->m_scene = this;
}

TScene::~TScene() {
    // Objects are freed below; nothing must report to a scene that is going away.
    m_partsRoot = nullptr;
    m_camera = nullptr;
    m_cameraTarget = nullptr;
    m_lights.fill(nullptr);
    m_root.reset();
}

TSceneObject* TScene::FindObject(std::string_view name) const {
    return m_root->FindChild(name, true);
}

void TScene::SetBackgroundColor(const TColor3f& c) {
    if (!(c == m_background)) {
        m_background = c;
        ++m_versions.View;
    }
}

void TScene::SetAntialias(TAntialias mode) {
    if (mode != m_antialias) {
        m_antialias = mode;
        ++m_versions.View;
    }
}

TSceneVersions TScene::Versions() const {
    TSceneVersions v = m_versions;
    v.Material += m_library.Version();
    return v;
}

TLightSource* TScene::Light(int number) const {
    return number >= 1 && number <= 8 ? m_lights[number - 1] : nullptr;
}

TGrid* TScene::Grid() const {
    return m_partsRoot ? FindGrid(*m_partsRoot) : nullptr;
}

void TScene::CameraLightToCamera() {
    if (m_camera && m_lights[1]) {
        m_lights[1]->SetAbsolutePosition(m_camera->AbsolutePosition());
    }
}

namespace {
template <class F>
void ForSubtree(TSceneObject& o, const F& f) {
    f(o);
    for (const auto& c : o.Children()) {
        ForSubtree(*c, f);
    }
}
}  // namespace

void TScene::Attached(TSceneObject& subtree) {
    ForSubtree(subtree, [this](TSceneObject& o) {
        o.m_scene = this;
        IndexName(o);
        if (o.Kind() == TSceneObjectKind::Camera) {
            m_cameras.push_back(static_cast<TSceneCamera*>(&o));
        }
    });
    ++m_versions.Structure;
}

void TScene::Detaching(TSceneObject& subtree) {
    ForSubtree(subtree, [this](TSceneObject& o) {
        o.m_scene = nullptr;
        UnindexName(o, o.Name());
        if (o.Kind() == TSceneObjectKind::Camera) {
            std::erase(m_cameras, static_cast<TSceneCamera*>(&o));
        }
    });
    // Nothing in the scene may keep pointing into what leaves it.
    for (TSceneCamera* cam : m_cameras) {
        if (cam->m_target && cam->m_target->IsInside(subtree)) {
            cam->SetTargetObject(nullptr);
        }
    }
    if (m_partsRoot && m_partsRoot->IsInside(subtree)) {
        m_partsRoot = nullptr;
    }
    if (m_camera && m_camera->IsInside(subtree)) {
        m_camera = nullptr;
    }
    if (m_cameraTarget && m_cameraTarget->IsInside(subtree)) {
        m_cameraTarget = nullptr;
    }
    for (auto& light : m_lights) {
        if (light && light->IsInside(subtree)) {
            light = nullptr;
        }
    }
    ++m_versions.Structure;
}

void TScene::IndexName(TSceneObject& o) {
    if (!o.Name().empty()) {
        m_names.emplace(LowerCase(o.Name()), &o);
    }
}

void TScene::UnindexName(TSceneObject& o, const std::string& name) {
    if (name.empty()) {
        return;
    }
    auto [first, last] = m_names.equal_range(LowerCase(name));
    for (auto it = first; it != last; ++it) {
        if (it->second == &o) {
            m_names.erase(it);
            return;
        }
    }
}

void TScene::Renamed(TSceneObject& o, const std::string& oldName) {
    UnindexName(o, oldName);
    IndexName(o);
}

TSceneObject* TScene::FindBelow(const TSceneObject& from, std::string_view name, bool recursive,
                                bool& ambiguous) const {
    ambiguous = false;
    auto [first, last] = m_names.equal_range(LowerCase(name));
    TSceneObject* found = nullptr;
    for (auto it = first; it != last; ++it) {
        TSceneObject* o = it->second;
        const bool below = recursive ? (o != &from && o->IsInside(from)) : o->Parent() == &from;
        if (below) {
            if (found) {
                // Several of that name: the first in tree order wins, which only the walk
                // knows.
                ambiguous = true;
                return nullptr;
            }
            found = o;
        }
    }
    return found;
}

// --- The main window's scene ------------------------------------------------------------------

TGrid* FindGrid(const TSceneObject& partsRoot) {
    for (const auto& c : partsRoot.Children()) {
        if (c->Kind() == TSceneObjectKind::Grid) {
            return static_cast<TGrid*>(c.get());
        }
    }
    return nullptr;
}

TGrid& CreateGrid(TDummyCube& partsRoot, float gridDistance) {
    TGrid* grid = FindGrid(partsRoot);
    if (!grid) {
        grid = &partsRoot.AddNewChild<TGrid>("Grid");
    }
    grid->SetGridDistance(gridDistance);
    return *grid;
}

void BuildMainScene(TScene& scene, float gridDistance) {
    TDummyCube& root = scene.Root();
    root.DeleteChildren();
    scene.MaterialLibrary().Clear();

    auto light = [&](const char* name, int number, TVector3f position, bool on) {
        auto& l = root.AddNewChild<TLightSource>(name);
        l.SetPosition(position);
        l.SetShining(on);
        scene.m_lights[number - 1] = &l;
    };
    auto group = [](TSceneObject& parent, const char* name) -> TDummyCube& {
        return parent.AddNewChild<TDummyCube>(name);
    };

    light("Light2", 2, {0, 1, -10}, true);
    light("Light1", 1, {-50, 50, 50}, false);

    TDummyCube& parts = group(root, "DummyCube");
    parts.SetOrientation({0, 0, 1}, {0, 1, 0});
    // Its axes are the world's: long enough to read as lines through the origin.
    parts.SetAxesLength(1000);
    scene.m_partsRoot = &parts;
    CreateGrid(parts, gridDistance);

    group(root, "Outline");
    group(root, "Tubes");
    TDummyCube& rot = group(root, "dcRot");
    rot.SetDirection({0, 0, 1});
    group(rot, "dcChild").SetDirection({0, 0, 1});
    group(root, "dcLights").SetVisible(false);

    light("Light3", 3, {-50, -50, 50}, false);
    light("Light4", 4, {50, -50, 50}, false);
    light("Light5", 5, {-50, 50, -50}, false);
    light("Light6", 6, {50, 50, -50}, false);
    light("Light7", 7, {-50, -50, -50}, false);
    light("Light8", 8, {50, -50, -50}, false);

    // The centre marker shows a connector's axes: as long as a connector arrow in the scene.
    group(root, "dcMiddle").SetAxesLength(TArrowLine::kDefaultLength * 0.1f);
    group(root, "dcBox");
    group(root, "dcSave");
    root.AddNewChild<TFreeForm>("ffSave");

    TDummyCube& target = group(root, "dcCAMTarget");
    target.SetPosition({0, 0, 0});
    scene.m_cameraTarget = &target;

    // The drop marker lives in a part's scale, so its sizes are in mesh units: a small wire
    // cube with its axes marks where the dragged part's connector would go.
    TDummyCube& plus = group(root, "dcPlus");
    plus.SetScale(0.1f);
    plus.SetVisible(false);
    plus.SetVisibleAtRunTime(true);
    plus.SetCubeSize(10);
    plus.SetColor({1, 0.5f, 0});
    plus.SetShowAxes(true);
    plus.SetAxesLength(20);

    TDummyCube& round = group(root, "dcRound");
    round.SetVisible(false);
    round.AddNewChild<TFreeForm>("ffRound1");
    round.AddNewChild<TFreeForm>("ffRound2");

    group(root, "dcMeasurements");

    auto& camera = root.AddNewChild<TSceneCamera>("GLCamera1");
    camera.SetPosition({0, 1, -10});
    camera.SetUp({0, 1, 0});
    camera.SetFocalLength(150);
    camera.SetDepthOfView(999999);
    camera.SetTargetObject(&target);
    scene.m_camera = &camera;
}

}  // namespace kx
