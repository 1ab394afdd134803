// The kinds of scene objects: their parameters and the camera's view.
#include "view/u_sceneobjects.h"

#include <cmath>
#include <numbers>
#include <utility>

namespace kx {

namespace {
bool Positive(float v) {
    return std::isfinite(v) && v > 0;
}
}  // namespace

// --- TDummyCube -------------------------------------------------------------------------------

TDummyCube::TDummyCube(std::string name) : TSceneObject(TSceneObjectKind::Dummy, std::move(name)) {}

void TDummyCube::SetVisibleAtRunTime(bool on) {
    if (m_visibleAtRunTime != on) {
        m_visibleAtRunTime = on;
        NoteGeometryChanged();
    }
}

void TDummyCube::SetCubeSize(float size) {
    if (Positive(size) && size != m_cubeSize) {
        m_cubeSize = size;
        NoteGeometryChanged();
    }
}

void TDummyCube::SetColor(const TColor3f& c) {
    if (!(c == m_color)) {
        m_color = c;
        NoteGeometryChanged();
    }
}

// --- TFreeForm --------------------------------------------------------------------------------

TFreeForm::TFreeForm(std::string name) : TSceneObject(TSceneObjectKind::FreeForm, std::move(name)) {
    m_material.m_owner = this;
}

TFreeForm::~TFreeForm() {
    m_material.m_owner = nullptr;
}

void TFreeForm::SetMesh(TMeshPtr mesh) {
    if (mesh != m_mesh) {
        m_mesh = std::move(mesh);
        // A coarse copy of the old shape would show the old shape from afar.
        m_coarse.reset();
        NoteGeometryChanged();
    }
}

void TFreeForm::SetCoarseMesh(TMeshPtr mesh) {
    if (mesh != m_coarse) {
        m_coarse = std::move(mesh);
        NoteGeometryChanged();
    }
}

void TFreeForm::ModifyMesh(const std::function<void(TMesh&)>& change) {
    auto copy = m_mesh ? std::make_shared<TMesh>(*m_mesh) : std::make_shared<TMesh>();
    change(*copy);
    m_mesh = std::move(copy);
    m_coarse.reset();
    NoteGeometryChanged();
}

void TFreeForm::LinkLibMaterial(TMaterialPtr material) {
    if (material == m_libMaterial) {
        return;
    }
    m_libMaterial = std::move(material);
    m_material.SetLibMaterialName(m_libMaterial ? m_libMaterial->Name() : std::string());
    NoteMaterialChanged();
}

// --- TArrowLine -------------------------------------------------------------------------------

TArrowLine::TArrowLine(std::string name)
    : TSceneObject(TSceneObjectKind::ArrowLine, std::move(name)) {
    SetAxesLength(kDefaultLength);
    m_shaftRadius = m_length * 0.025f;
    m_headRadius = m_length * 0.075f;
    m_headLength = m_length * 0.25f;
}

void TArrowLine::SetColor(const TColor3f& c) {
    if (!(c == m_color)) {
        m_color = c;
        NoteGeometryChanged();
    }
}

void TArrowLine::SetShape(float length, int sides) {
    if (!Positive(length)) {
        return;
    }
    sides = sides < 3 ? 3 : sides;
    if (length == m_length && sides == m_sides) {
        return;
    }
    m_length = length;
    m_sides = sides;
    m_shaftRadius = length * 0.025f;
    m_headRadius = length * 0.075f;
    m_headLength = length * 0.25f;
    NoteGeometryChanged();
}

// --- TLines -----------------------------------------------------------------------------------

TLines::TLines(std::string name) : TSceneObject(TSceneObjectKind::Lines, std::move(name)) {}

void TLines::SetNodes(std::vector<TVector3f> nodes) {
    m_nodes = std::move(nodes);
    NoteGeometryChanged();
}

void TLines::AddNode(const TVector3f& p) {
    m_nodes.push_back(p);
    NoteGeometryChanged();
}

void TLines::SetNode(size_t index, const TVector3f& p) {
    if (index < m_nodes.size() && !(m_nodes[index] == p)) {
        m_nodes[index] = p;
        NoteGeometryChanged();
    }
}

void TLines::ClearNodes() {
    if (!m_nodes.empty()) {
        m_nodes.clear();
        NoteGeometryChanged();
    }
}

void TLines::SetColor(const TColor3f& c) {
    if (!(c == m_color)) {
        m_color = c;
        NoteGeometryChanged();
    }
}

void TLines::SetLineWidth(float width) {
    if (Positive(width) && width != m_lineWidth) {
        m_lineWidth = width;
        NoteGeometryChanged();
    }
}

void TLines::SetShowNodes(bool on) {
    if (on != m_showNodes) {
        m_showNodes = on;
        NoteGeometryChanged();
    }
}

// --- TSpaceText -------------------------------------------------------------------------------

TSpaceText::TSpaceText(std::string name)
    : TSceneObject(TSceneObjectKind::SpaceText, std::move(name)) {}

void TSpaceText::SetText(std::string text) {
    if (text != m_text) {
        m_text = std::move(text);
        NoteGeometryChanged();
    }
}

void TSpaceText::SetFont(std::string name, bool bold) {
    if (name != m_fontName || bold != m_bold) {
        m_fontName = std::move(name);
        m_bold = bold;
        NoteGeometryChanged();
    }
}

void TSpaceText::SetHeight(float height) {
    if (Positive(height) && height != m_height) {
        m_height = height;
        NoteGeometryChanged();
    }
}

void TSpaceText::SetColor(const TColor3f& c) {
    if (!(c == m_color)) {
        m_color = c;
        NoteGeometryChanged();
    }
}

// --- TGrid ------------------------------------------------------------------------------------

TGrid::TGrid(std::string name)
    : TSceneObject(TSceneObjectKind::Grid, std::move(name)),
      m_color{128 / 255.0f, 128 / 255.0f, 128 / 255.0f} {}

void TGrid::SetGridDistance(float g) {
    // A distance of 0 (or garbage in the settings) would make a grid of zero spacing, which
    // nobody can draw; the default grid is the sound answer.
    if (!Positive(g)) {
        g = kDefaultGridDistance;
    }
    if (g != m_extent) {
        m_extent = g;
        NoteGeometryChanged();
    }
    SetRange({-g, g, g / 10, -g, g, g / 10});
}

bool TGrid::SetRange(const TRange& r) {
    for (const float v : {r.XMin, r.XMax, r.XStep, r.ZMin, r.ZMax, r.ZStep}) {
        if (!std::isfinite(v)) {
            return false;
        }
    }
    if (!(r.XStep > 0) || !(r.ZStep > 0) || !(r.XMin < r.XMax) || !(r.ZMin < r.ZMax)) {
        return false;
    }
    if (!(r == m_range)) {
        m_range = r;
        NoteGeometryChanged();
    }
    return true;
}

std::vector<float> TGrid::LinePositions(bool xAxis) const {
    const float lo = xAxis ? m_range.XMin : m_range.ZMin;
    const float hi = xAxis ? m_range.XMax : m_range.ZMax;
    const float step = xAxis ? m_range.XStep : m_range.ZStep;
    std::vector<float> out;
    // A little slack, so that a maximum that is a whole number of steps away is reached
    // despite rounding.
    const float limit = hi + step * 1e-4f;
    for (int k = 0; k < kMaxLinesPerAxis; ++k) {
        const float c = lo + float(k) * step;
        if (c > limit) {
            break;
        }
        out.push_back(c);
    }
    return out;
}

void TGrid::SetColor(const TColor3f& c) {
    if (!(c == m_color)) {
        m_color = c;
        NoteGeometryChanged();
    }
}

// --- TLightSource -----------------------------------------------------------------------------

TLightSource::TLightSource(std::string name)
    : TSceneObject(TSceneObjectKind::Light, std::move(name)) {}

void TLightSource::SetShining(bool on) {
    if (on != m_shining) {
        m_shining = on;
        NoteGeometryChanged();
    }
}

void TLightSource::SetDiffuse(const TColor3f& c) {
    if (!(c == m_diffuse)) {
        m_diffuse = c;
        NoteGeometryChanged();
    }
}

void TLightSource::SetAmbient(const TColor3f& c) {
    if (!(c == m_ambient)) {
        m_ambient = c;
        NoteGeometryChanged();
    }
}

void TLightSource::SetSpecular(const TColor3f& c) {
    if (!(c == m_specular)) {
        m_specular = c;
        NoteGeometryChanged();
    }
}

void TLightSource::SetAttenuation(float constant, float linear, float quadratic) {
    if (!std::isfinite(constant) || !std::isfinite(linear) || !std::isfinite(quadratic)) {
        return;
    }
    m_constAttenuation = constant;
    m_linearAttenuation = linear;
    m_quadraticAttenuation = quadratic;
    NoteGeometryChanged();
}

// --- TSceneCamera -----------------------------------------------------------------------------

TSceneCamera::TSceneCamera(std::string name)
    : TSceneObject(TSceneObjectKind::Camera, std::move(name)) {}

void TSceneCamera::SetFocalLength(float f) {
    if (!std::isfinite(f)) {
        return;
    }
    f = f < 1 ? 1 : f;
    if (f != m_focalLength) {
        m_focalLength = f;
        NoteGeometryChanged();
    }
}

void TSceneCamera::SetDepthOfView(float d) {
    if (Positive(d) && d != m_depthOfView) {
        m_depthOfView = d;
        NoteGeometryChanged();
    }
}

void TSceneCamera::SetNearPlane(float d) {
    if (Positive(d) && d != m_nearPlane) {
        m_nearPlane = d;
        NoteGeometryChanged();
    }
}

void TSceneCamera::SetTargetObject(TSceneObject* target) {
    if (target != m_target) {
        m_target = target == this ? nullptr : target;
        NoteGeometryChanged();
    }
}

void TSceneCamera::SetOrthogonal(bool on) {
    if (on != m_orthogonal) {
        m_orthogonal = on;
        NoteGeometryChanged();
    }
}

void TSceneCamera::SetSceneScale(float scale) {
    if (Positive(scale) && scale != m_sceneScale) {
        m_sceneScale = scale;
        NoteGeometryChanged();
    }
}

float TSceneCamera::OrthoHalfHeight() const {
    return 100 / (m_focalLength * m_sceneScale);
}

float TSceneCamera::FieldOfViewY() const {
    return static_cast<float>(2.0 * std::atan(50.0 / m_focalLength) * 180.0 / std::numbers::pi);
}

TVector3f TSceneCamera::LookAtPoint() const {
    if (m_target) {
        return m_target->AbsolutePosition();
    }
    return AbsolutePosition() + AbsoluteDirection();
}

TMatrix4f TSceneCamera::ViewMatrix() const {
    return LookAtMatrix(AbsolutePosition(), LookAtPoint(), AbsoluteUp());
}

TMatrix4f TSceneCamera::ProjectionMatrix(float aspect) const {
    const float zFar = m_depthOfView > m_nearPlane ? m_depthOfView : m_nearPlane * 2;
    if (m_orthogonal) {
        // Nothing behind a parallel camera is out of sight either: it looks at a plane.
        const float h = OrthoHalfHeight();
        return OrthoMatrix(h * (aspect > 0 ? aspect : 1), h, -zFar, zFar);
    }
    return PerspectiveMatrix(FieldOfViewY(), aspect, m_nearPlane, zFar);
}

TVector3f TSceneCamera::ScreenToVector(float x, float y, int width, int height) const {
    const float w = width > 0 ? float(width) : 1;
    const float h = height > 0 ? float(height) : 1;
    const TMatrix4f inverse = (ProjectionMatrix(w / h) * ViewMatrix()).Inverse();
    const float nx = 2 * x / w - 1;
    const float ny = 2 * y / h - 1;
    const TVector3f nearPoint = inverse.TransformPoint({nx, ny, -1});
    const TVector3f farPoint = inverse.TransformPoint({nx, ny, 0});
    return Normalized(farPoint - nearPoint);
}

TVector3f TSceneCamera::ScreenToWorld(float x, float y, int width, int height) const {
    const float w = width > 0 ? float(width) : 1;
    const float h = height > 0 ? float(height) : 1;
    const TMatrix4f inverse = (ProjectionMatrix(w / h) * ViewMatrix()).Inverse();
    return inverse.TransformPoint({2 * x / w - 1, 2 * y / h - 1, -1});
}

float TSceneCamera::DistanceToTarget() const {
    return m_target ? Distance(AbsolutePosition(), m_target->AbsolutePosition()) : 0;
}

namespace {
TVector3f RotatedF(const TVector3f& v, const TVector3f& axis, float degrees) {
    const double a = degrees * std::numbers::pi / 180.0;
    const double c = std::cos(a);
    const double s = std::sin(a);
    const TVector3f k = Normalized(axis);
    const TVector3f kv = Cross(k, v);
    const double kd = Dot(k, v);
    return {static_cast<float>(v.X * c + kv.X * s + k.X * kd * (1 - c)),
            static_cast<float>(v.Y * c + kv.Y * s + k.Y * kd * (1 - c)),
            static_cast<float>(v.Z * c + kv.Z * s + k.Z * kd * (1 - c))};
}
}  // namespace

void TSceneCamera::MoveAroundTarget(float pitchDelta, float turnDelta) {
    if (!m_target || !std::isfinite(pitchDelta) || !std::isfinite(turnDelta)) {
        return;
    }
    const TVector3f target = m_target->AbsolutePosition();
    TVector3f offset = AbsolutePosition() - target;
    if (Length(offset) == 0) {
        return;
    }
    // The frame the camera sees with: forward to the target, its Up made perpendicular.
    TVector3f forward = Normalized(-offset);
    TVector3f up = AbsoluteUp();
    TVector3f right = Cross(forward, up);
    if (Length(right) < 1e-5f) {
        right = Cross(forward, TVector3f{0, 0, 1});
        if (Length(right) < 1e-5f) {
            right = Cross(forward, TVector3f{1, 0, 0});
        }
    }
    right = Normalized(right);
    up = Normalized(Cross(right, forward));

    offset = RotatedF(offset, right, pitchDelta);
    up = RotatedF(up, right, pitchDelta);
    offset = RotatedF(offset, up, turnDelta);

    SetAbsolutePosition(target + offset);
    const TVector3f newForward = Normalized(-offset);
    const TMatrix4f toParent = ParentMatrix().Inverse();
    SetOrientation(toParent.TransformVector(newForward), toParent.TransformVector(up));
}

void TSceneCamera::AdjustDistanceToTarget(float factor) {
    if (!m_target || !Positive(factor)) {
        return;
    }
    const TVector3f target = m_target->AbsolutePosition();
    SetAbsolutePosition(target + (AbsolutePosition() - target) * factor);
}

}  // namespace kx
