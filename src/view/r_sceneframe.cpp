// Flattens the scene graph into the renderer's frame: meshes, arrows, lines, grid, axes,
// lights and camera; rebuilt only when the scene's change counters moved.
#include "view/r_sceneframe.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "generated/u_pipeex.h"
#include "view/r_tubemesh.h"

namespace kx {

namespace {

uint64_t Mix(uint64_t h, uint64_t v) {
    h ^= v + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
    return h;
}

TGlColor Gl(const TColor3f& c, float alpha = 1) {
    return {c.R, c.G, c.B, alpha};
}
TGlColor Gl(const TColor4f& c) {
    return {c.R, c.G, c.B, c.A};
}

TGlPolygonMode Gl(TPolygonMode mode) {
    switch (mode) {
        case TPolygonMode::Lines:
            return TGlPolygonMode::Lines;
        case TPolygonMode::Points:
            return TGlPolygonMode::Points;
        case TPolygonMode::Filled:
            break;
    }
    return TGlPolygonMode::Filled;
}

void AddTriangle(TMesh& mesh, const TVector3f& a, const TVector3f& b, const TVector3f& c) {
    const TVector3f n = Normalized(Cross(b - a, c - a));
    for (const TVector3f* p : {&a, &b, &c}) {
        mesh.Positions.push_back(*p);
        mesh.Normals.push_back(n);
    }
}

}  // namespace

TMeshPtr MakeArrowMesh(float length, int sides, float shaftRadius, float headRadius,
                       float headLength) {
    auto mesh = std::make_shared<TMesh>();
    sides = std::max(sides, 3);
    const float shaftEnd = std::max(length - headLength, 0.0f);
    // Turned by half a facet, so four sides give faces square to the object's axes.
    auto ring = [sides](float r, float z, int i) {
        const double a = 2 * std::numbers::pi * (i + 0.5) / sides;
        return TVector3f{float(r * std::cos(a)), float(r * std::sin(a)), z};
    };
    const TVector3f base{0, 0, 0}, headBase{0, 0, shaftEnd}, tip{0, 0, length};
    for (int i = 0; i < sides; ++i) {
        const int j = i + 1;
        AddTriangle(*mesh, ring(shaftRadius, 0, i), ring(shaftRadius, 0, j),
                    ring(shaftRadius, shaftEnd, j));
        AddTriangle(*mesh, ring(shaftRadius, 0, i), ring(shaftRadius, shaftEnd, j),
                    ring(shaftRadius, shaftEnd, i));
        AddTriangle(*mesh, base, ring(shaftRadius, 0, j), ring(shaftRadius, 0, i));
        AddTriangle(*mesh, headBase, ring(headRadius, shaftEnd, j), ring(headRadius, shaftEnd, i));
        AddTriangle(*mesh, ring(headRadius, shaftEnd, i), ring(headRadius, shaftEnd, j), tip);
    }
    return mesh;
}

const TMeshPtr& TSceneFrameBuilder::ArrowMesh(const TArrowLine& arrow) {
    auto& slot = m_arrowMeshes[{arrow.Length(), arrow.Sides(), arrow.ShaftRadius(),
                                arrow.HeadRadius(), arrow.HeadLength()}];
    if (!slot) {
        slot = MakeArrowMesh(arrow.Length(), arrow.Sides(), arrow.ShaftRadius(), arrow.HeadRadius(),
                             arrow.HeadLength());
    }
    return slot;
}

uint32_t TSceneFrameBuilder::SurfaceFor(const TGlSurface& surface) {
    // Neighbours in the tree mostly share a surface; otherwise there are only a few.
    if (m_lastSurface < m_frame.Surfaces.size() && m_frame.Surfaces[m_lastSurface] == surface) {
        return m_lastSurface;
    }
    for (uint32_t i = 0; i < m_frame.Surfaces.size(); ++i) {
        if (m_frame.Surfaces[i] == surface) {
            return m_lastSurface = i;
        }
    }
    m_frame.Surfaces.push_back(surface);
    return m_lastSurface = uint32_t(m_frame.Surfaces.size() - 1);
}

void TSceneFrameBuilder::AddAxes(const TSceneObject& object, const TMatrix4f& world,
                                 uint64_t version) {
    const float l = object.AxesLength();
    const TVector3f ends[3] = {{l, 0, 0}, {0, l, 0}, {0, 0, l}};
    const TGlColor colours[3] = {{1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}};
    for (int k = 0; k < 3; ++k) {
        TGlLines lines;
        lines.Id = Mix(object.Id(), 0xA0 + k);
        lines.Version = version;
        lines.World = ToGlMatrix(world);
        lines.Points = {-ends[k], ends[k]};
        lines.Color = colours[k];
        m_axes.push_back(std::move(lines));
    }
}

void TSceneFrameBuilder::Walk(const TSceneObject& object, const TMatrix4f& parentWorld,
                              uint64_t parentChain) {
    const TObjectVersions& v = object.Versions();
    if (object.Kind() == TSceneObjectKind::Light) {
        // Lights shine wherever they hang, hidden or not.
        const auto& light = static_cast<const TLightSource&>(object);
        if (light.Shining() && m_lightCount < int(m_frame.Lights.size())) {
            TGlLight& l = m_frame.Lights[m_lightCount++];
            l.On = true;
            l.Position = (parentWorld * object.LocalMatrix()).Translation();
            l.Ambient = Gl(light.Ambient());
            l.Diffuse = Gl(light.Diffuse());
            l.Specular = Gl(light.Specular());
            l.ConstantAttenuation = light.ConstAttenuation();
            l.LinearAttenuation = light.LinearAttenuation();
            l.QuadraticAttenuation = light.QuadraticAttenuation();
        }
    }
    if (!object.Visible()) {
        return;
    }
    const TMatrix4f world = parentWorld * object.LocalMatrix();
    const uint64_t chain = Mix(Mix(parentChain, object.Id()), v.Transform);
    const uint64_t version = Mix(Mix(Mix(chain, v.Geometry), v.Material), v.State);

    switch (object.Kind()) {
        case TSceneObjectKind::FreeForm: {
            const auto& ff = static_cast<const TFreeForm&>(object);
            if (!ff.Mesh() || ff.Mesh()->Positions.size() < 3) {
                break;
            }
            const TMaterial& m = ff.DrawMaterial();
            TGlSurface surface;
            surface.PolygonMode = Gl(ff.Material().PolygonMode());
            surface.Texture = m.TextureFile();
            surface.TextureTopLeftTransparent = m.TextureTopLeftTransparent();
            if (const auto& shader = m.Shader()) {
                surface.Outline = true;
                surface.OutlineWidth = shader->LineWidth;
                surface.OutlineColor = Gl(shader->LineColor);
                surface.OutlineLighting = shader->Lighting;
                surface.OutlineFill = Gl(shader->BackgroundColor);
            }
            TGlMeshItem& item = m_frame.Meshes.emplace_back();
            item.Id = object.Id();
            item.Version = Mix(version, m.Version());
            item.Mesh = ff.Mesh();
            item.Coarse = ff.CoarseMesh();
            item.World = ToGlMatrix(world);
            item.Diffuse = Gl(m.Diffuse());
            item.Ambient = Gl(m.Ambient());
            item.Emission = Gl(m.Emission());
            item.Blended = m.Blending() != TBlendingMode::Opaque;
            item.Additive = m.Blending() == TBlendingMode::Additive;
            item.Surface = SurfaceFor(surface);
            break;
        }
        case TSceneObjectKind::ArrowLine: {
            const auto& arrow = static_cast<const TArrowLine&>(object);
            TGlSurface surface;
            surface.Lighting = false;
            TGlMeshItem& item = m_frame.Meshes.emplace_back();
            item.Id = object.Id();
            item.Version = version;
            item.Mesh = ArrowMesh(arrow);
            item.World = ToGlMatrix(world);
            item.Diffuse = Gl(arrow.Color());
            item.Emission = Gl(arrow.Color());
            item.Blended = false;
            item.Surface = SurfaceFor(surface);
            break;
        }
        case TSceneObjectKind::Lines: {
            const auto& polyline = static_cast<const TLines&>(object);
            const auto& nodes = polyline.Nodes();
            TGlLines lines;
            lines.Id = object.Id();
            lines.Version = version;
            lines.World = ToGlMatrix(world);
            lines.Color = Gl(polyline.Color());
            lines.Width = polyline.LineWidth();
            for (size_t k = 1; k < nodes.size(); ++k) {
                lines.Points.push_back(nodes[k - 1]);
                lines.Points.push_back(nodes[k]);
            }
            if (polyline.ShowNodes()) {
                lines.Nodes = nodes;
                lines.NodeSize = polyline.NodeSize();
            }
            m_frame.Lines.push_back(std::move(lines));
            break;
        }
        case TSceneObjectKind::Grid: {
            const auto& grid = static_cast<const TGrid&>(object);
            TGlLines lines;
            lines.Id = object.Id();
            lines.Version = version;
            lines.World = ToGlMatrix(world);
            lines.Color = Gl(grid.Color());
            lines.Width = grid.LineWidth();
            const TGrid::TRange& r = grid.Range();
            for (const float x : grid.LinePositions(true)) {
                lines.Points.insert(lines.Points.end(), {{x, 0, r.ZMin}, {x, 0, r.ZMax}});
            }
            for (const float z : grid.LinePositions(false)) {
                lines.Points.insert(lines.Points.end(), {{r.XMin, 0, z}, {r.XMax, 0, z}});
            }
            m_frame.Lines.push_back(std::move(lines));
            break;
        }
        case TSceneObjectKind::Dummy: {
            const auto& cube = static_cast<const TDummyCube&>(object);
            if (!cube.VisibleAtRunTime()) {
                break;
            }
            TGlLines lines;
            lines.Id = object.Id();
            lines.Version = version;
            lines.World = ToGlMatrix(world);
            lines.Color = Gl(cube.Color());
            const float h = cube.CubeSize() / 2;
            for (int axis = 0; axis < 3; ++axis) {
                for (int a = -1; a <= 1; a += 2) {
                    for (int b = -1; b <= 1; b += 2) {
                        float p[3], q[3];
                        p[axis] = -h;
                        q[axis] = h;
                        p[(axis + 1) % 3] = q[(axis + 1) % 3] = a * h;
                        p[(axis + 2) % 3] = q[(axis + 2) % 3] = b * h;
                        lines.Points.push_back({p[0], p[1], p[2]});
                        lines.Points.push_back({q[0], q[1], q[2]});
                    }
                }
            }
            m_frame.Lines.push_back(std::move(lines));
            break;
        }
        case TSceneObjectKind::SpaceText: {
            const auto& label = static_cast<const TSpaceText&>(object);
            TGlText& text = m_frame.Texts.emplace_back();
            text.Id = object.Id();
            text.Version = version;
            text.World = ToGlMatrix(world);
            text.Text = label.Text();
            text.FontName = label.FontName();
            text.Bold = label.Bold();
            text.Height = label.Height();
            text.Color = Gl(label.Color());
            break;
        }
        case TSceneObjectKind::Pipe: {
            const auto& hose = static_cast<const TPipeEx&>(object);
            const TMeshPtr& mesh = TubeMesh(hose);
            if (!mesh || mesh->Positions.size() < 3) {
                break;
            }
            const TColor3f c = ColorFromWin(hose.DisplayColour());
            TGlMeshItem& item = m_frame.Meshes.emplace_back();
            item.Id = object.Id();
            item.Version = version;
            item.Mesh = mesh;
            item.World = ToGlMatrix(world);
            item.Diffuse = Gl(c);
            item.Ambient = Gl(TColor3f{c.R * 0.3f, c.G * 0.3f, c.B * 0.3f});
            item.Blended = false;
            item.Surface = 0;
            break;
        }
        case TSceneObjectKind::Light:
        case TSceneObjectKind::Camera:
            break;
    }
    if (object.ShowAxes()) {
        AddAxes(object, world, version);
    }
    for (const auto& child : object.Children()) {
        Walk(*child, world, chain);
    }
}

const TMeshPtr& TSceneFrameBuilder::TubeMesh(const TPipeEx& hose) {
    TTubeSlot& slot = m_tubes[hose.Id()];
    slot.Seen = m_walk;
    if (!slot.Mesh || slot.Geometry != hose.Versions().Geometry) {
        slot.Geometry = hose.Versions().Geometry;
        slot.Mesh = MakeTubeDisplayMesh(hose.Shape());
        ++m_tubesBuilt;
    }
    return slot.Mesh;
}

const TGlFrame& TSceneFrameBuilder::Build(const TScene& scene, int width, int height) {
    const TSceneVersions versions = scene.Versions();
    if (m_valid && m_scene == &scene && versions == m_versions && width == m_width &&
        height == m_height && m_builtCamera == m_camera) {
        return m_frame;
    }
    m_valid = true;
    m_builtCamera = m_camera;
    ++m_walk;
    m_scene = &scene;
    m_versions = versions;
    m_width = width;
    m_height = height;

    m_frame.Revision = ++m_revision;
    m_frame.Meshes.clear();
    m_frame.Lines.clear();
    m_frame.Texts.clear();
    m_frame.Surfaces.assign(1, TGlSurface{});
    m_frame.Lights = {};
    m_lightCount = 0;
    m_lastSurface = 0;
    m_frame.Background = Gl(scene.BackgroundColor());

    const float aspect = height > 0 ? float(width) / float(height) : 1;
    if (const TSceneCamera* camera = m_camera ? m_camera : scene.Camera()) {
        m_frame.View = ToGlMatrix(camera->ViewMatrix());
        m_frame.Projection = ToGlMatrix(camera->ProjectionMatrix(aspect));
        m_frame.Eye = camera->AbsolutePosition();
    } else {
        m_frame.Eye = {0, 1, -10};
        m_frame.View = ToGlMatrix(LookAtMatrix(m_frame.Eye, {0, 0, 0}, {0, 1, 0}));
        m_frame.Projection = ToGlMatrix(PerspectiveMatrix(36.87f, aspect, 0.05f, 999999));
    }

    // Axes are drawn over the grid lines they run along.
    m_axes.clear();
    Walk(scene.Root(), TMatrix4f::Identity(), 0);
    for (TGlLines& axes : m_axes) {
        m_frame.Lines.push_back(std::move(axes));
    }
    // Hoses that left the scene free their shapes.
    std::erase_if(m_tubes, [this](const auto& entry) { return entry.second.Seen != m_walk; });
    return m_frame;
}

}  // namespace kx
