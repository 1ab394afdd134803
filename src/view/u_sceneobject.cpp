// Scene objects: the tree, the frame rules and world coordinates.
#include "view/u_sceneobject.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <numbers>
#include <stdexcept>
#include <utility>

#include "foundation/u_stack.h"
#include "foundation/u_text.h"
#include "view/u_scene.h"

namespace kx {

namespace {

// Frames are computed in double and stored in float: a part is turned thousands of times in a
// kinematics run and must stay orthonormal.
struct TVec3d {
    double X, Y, Z;
};

TVec3d D(const TVector3f& v) {
    return {v.X, v.Y, v.Z};
}
TVector3f F(const TVec3d& v) {
    return {static_cast<float>(v.X), static_cast<float>(v.Y), static_cast<float>(v.Z)};
}
TVec3d Add(const TVec3d& a, const TVec3d& b) {
    return {a.X + b.X, a.Y + b.Y, a.Z + b.Z};
}
TVec3d Mul(const TVec3d& a, double s) {
    return {a.X * s, a.Y * s, a.Z * s};
}
double DotD(const TVec3d& a, const TVec3d& b) {
    return a.X * b.X + a.Y * b.Y + a.Z * b.Z;
}
TVec3d CrossD(const TVec3d& a, const TVec3d& b) {
    return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X};
}
double LenD(const TVec3d& a) {
    return std::sqrt(DotD(a, a));
}
TVec3d NormD(const TVec3d& a) {
    const double l = LenD(a);
    return l > 0 ? Mul(a, 1 / l) : a;
}

bool Finite(const TVector3f& v) {
    return std::isfinite(v.X) && std::isfinite(v.Y) && std::isfinite(v.Z);
}

constexpr double kShort = 0.00001;

/// v rotated by degrees about the unit axis k, counter-clockwise seen from k's tip.
TVec3d Rotated(const TVec3d& v, const TVec3d& k, double degrees) {
    const double a = degrees * std::numbers::pi / 180.0;
    const double c = std::cos(a);
    const double s = std::sin(a);
    return Add(Add(Mul(v, c), Mul(CrossD(k, v), s)), Mul(k, DotD(k, v) * (1 - c)));
}

float WrapAngle(double a) {
    if (a > 180 || a < -180) {
        a = std::fmod(a + 180.0, 360.0);
        if (a < 0) {
            a += 360;
        }
        a -= 180;
    }
    return static_cast<float>(a);
}

/// The direction rule: keeps d, makes up perpendicular to it.
void OrthoFromDirection(TVec3d d, TVec3d up, TVec3d& outD, TVec3d& outUp) {
    if (LenD(d) == 0) {
        d = {0, 0, 1};
    }
    d = NormD(d);
    TVec3d r = CrossD(d, up);
    if (LenD(r) < kShort) {
        r = CrossD({0, 0, 1}, up);
        if (LenD(r) < kShort) {
            r = CrossD({1, 0, 0}, up);
        }
    }
    TVec3d u = NormD(CrossD(r, d));
    if (LenD(u) == 0) {
        // Only a zero Up reaches here; any vector perpendicular to d will do.
        u = NormD(CrossD(CrossD(d, std::abs(d.Y) < 0.9 ? TVec3d{0, 1, 0} : TVec3d{1, 0, 0}), d));
    }
    outD = d;
    outUp = u;
}

/// The up rule: keeps up, makes the direction perpendicular to it.
void OrthoFromUp(TVec3d dir, TVec3d u, TVec3d& outD, TVec3d& outUp) {
    if (LenD(u) == 0) {
        u = {0, 1, 0};
    }
    u = NormD(u);
    TVec3d r = CrossD(dir, u);
    if (LenD(r) < kShort) {
        r = CrossD(dir, {0, 1, 0});
        if (LenD(r) < kShort) {
            r = CrossD(dir, {1, 0, 0});
        }
    }
    TVec3d d = NormD(CrossD(u, r));
    if (LenD(d) == 0) {
        d = NormD(CrossD(u, CrossD(std::abs(u.Z) < 0.9 ? TVec3d{0, 0, 1} : TVec3d{1, 0, 0}, u)));
    }
    outD = d;
    outUp = u;
}

std::atomic<uint64_t> g_nextObjectId{1};

}  // namespace

// --- Construction and tree --------------------------------------------------------------------

TSceneObject::TSceneObject(TSceneObjectKind kind, std::string name)
    : m_name(std::move(name)), m_kind(kind), m_id(g_nextObjectId.fetch_add(1)) {}

TSceneObject::~TSceneObject() = default;

void TSceneObject::SetName(std::string name) {
    if (m_name != name) {
        std::string old = std::exchange(m_name, std::move(name));
        if (m_scene) {
            m_scene->Renamed(*this, old);
        }
        NoteStateChanged();
    }
}

int TSceneObject::Index() const {
    if (!m_parent) {
        return -1;
    }
    const auto& siblings = m_parent->m_children;
    for (size_t i = 0; i < siblings.size(); ++i) {
        if (siblings[i].get() == this) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

TSceneObject& TSceneObject::AddChild(std::unique_ptr<TSceneObject>&& child) {
    if (!child) {
        throw std::invalid_argument("TSceneObject.AddChild: no object");
    }
    TSceneObject& c = *child;
    if (IsInside(c)) {
        throw std::invalid_argument("TSceneObject.AddChild: an object cannot hang below itself");
    }
    c.m_parent = this;
    m_children.push_back(std::move(child));
    if (m_scene) {
        m_scene->Attached(c);
    }
    return c;
}

std::unique_ptr<TSceneObject> TSceneObject::TakeChild(TSceneObject& child) {
    if (child.m_parent != this) {
        return nullptr;
    }
    // From the back: the newest objects and whole lists emptied from the end go first.
    const auto rit = std::find_if(m_children.rbegin(), m_children.rend(),
                                  [&](const auto& p) { return p.get() == &child; });
    if (rit == m_children.rend()) {
        return nullptr;
    }
    const auto it = std::next(rit).base();
    // Removals show in the error report's trace like every other operation: the object and
    // whether its children stay behind (they never do here).
    Stack().Push("TGLBaseSceneObject.Remove", static_cast<const void*>(&child), false);
    if (m_scene) {
        m_scene->Detaching(child);
    }
    std::unique_ptr<TSceneObject> taken = std::move(*it);
    m_children.erase(it);
    taken->m_parent = nullptr;
    return taken;
}

void TSceneObject::DeleteChild(TSceneObject& child) {
    TakeChild(child);
}

void TSceneObject::DeleteChildren() {
    while (!m_children.empty()) {
        TakeChild(*m_children.back());
    }
}

bool TSceneObject::MoveTo(TSceneObject& newParent) {
    if (newParent.IsInside(*this)) {
        return false;
    }
    std::unique_ptr<TSceneObject> self;
    if (m_parent) {
        self = m_parent->TakeChild(*this);
    }
    if (!self) {
        // A detached object is owned by whoever holds its unique_ptr; it cannot be moved here.
        return false;
    }
    newParent.AddChild(std::move(self));
    return true;
}

TSceneObject* TSceneObject::FindChild(std::string_view name, bool recursive) const {
    if (m_scene && !name.empty()) {
        bool ambiguous = false;
        TSceneObject* found = m_scene->FindBelow(*this, name, recursive, ambiguous);
        if (!ambiguous) {
            return found;
        }
    }
    return FindChildByWalk(name, recursive);
}

TSceneObject* TSceneObject::FindChildByWalk(std::string_view name, bool recursive) const {
    for (const auto& c : m_children) {
        if (SameText(c->m_name, name)) {
            return c.get();
        }
        if (recursive) {
            if (TSceneObject* found = c->FindChildByWalk(name, true)) {
                return found;
            }
        }
    }
    return nullptr;
}

bool TSceneObject::IsInside(const TSceneObject& ancestor) const {
    for (const TSceneObject* p = this; p; p = p->m_parent) {
        if (p == &ancestor) {
            return true;
        }
    }
    return false;
}

// --- Change notes -----------------------------------------------------------------------------

void TSceneObject::NoteTransformChanged() {
    ++m_versions.Transform;
    if (m_scene) {
        ++m_scene->m_versions.Transform;
    }
}

void TSceneObject::NoteGeometryChanged() {
    ++m_versions.Geometry;
    if (m_scene) {
        ++m_scene->m_versions.Geometry;
    }
}

void TSceneObject::NoteMaterialChanged() {
    ++m_versions.Material;
    if (m_scene) {
        ++m_scene->m_versions.Material;
    }
}

void TSceneObject::NoteStateChanged() {
    ++m_versions.State;
    if (m_scene) {
        ++m_scene->m_versions.State;
    }
}

// --- Frame ------------------------------------------------------------------------------------

void TSceneObject::SetFrame(const TVector3f& d, const TVector3f& u) {
    if (d == m_direction && u == m_up) {
        return;
    }
    m_direction = d;
    m_up = u;
    NoteTransformChanged();
}

void TSceneObject::SetPosition(const TVector3f& p) {
    if (!Finite(p) || p == m_position) {
        return;
    }
    m_position = p;
    NoteTransformChanged();
}

void TSceneObject::SetDirection(const TVector3f& d) {
    if (!Finite(d)) {
        return;
    }
    TVec3d nd, nu;
    OrthoFromDirection(D(d), D(m_up), nd, nu);
    SetFrame(F(nd), F(nu));
}

void TSceneObject::SetUp(const TVector3f& u) {
    if (!Finite(u)) {
        return;
    }
    TVec3d nd, nu;
    OrthoFromUp(D(m_direction), D(u), nd, nu);
    SetFrame(F(nd), F(nu));
}

void TSceneObject::SetOrientation(const TVector3f& direction, const TVector3f& up) {
    if (!Finite(direction) || !Finite(up)) {
        return;
    }
    TVec3d u = D(up);
    if (LenD(u) == 0) {
        u = {0, 1, 0};
    }
    TVec3d nd, nu;
    OrthoFromDirection(D(direction), NormD(u), nd, nu);
    SetFrame(F(nd), F(nu));
}

void TSceneObject::ResetRotations() {
    SetFrame({0, 0, 1}, {0, 1, 0});
    if (m_pitchAngle != 0 || m_turnAngle != 0 || m_rollAngle != 0) {
        m_pitchAngle = m_turnAngle = m_rollAngle = 0;
        NoteTransformChanged();
    }
}

void TSceneObject::SetScale(const TVector3f& s) {
    if (!Finite(s) || s == m_scale) {
        return;
    }
    m_scale = s;
    NoteTransformChanged();
}

void TSceneObject::RotateAbout(const TVector3f& axis, float degrees) {
    const TVec3d k = NormD(D(axis));
    if (LenD(k) == 0 || !std::isfinite(degrees) || degrees == 0 || !Finite(axis)) {
        return;
    }
    const TVec3d d = Rotated(D(m_direction), k, degrees);
    const TVec3d u = Rotated(D(m_up), k, degrees);
    TVec3d nd, nu;
    OrthoFromDirection(d, u, nd, nu);
    SetFrame(F(nd), F(nu));
}

void TSceneObject::SetPitchAngle(float a) {
    if (!std::isfinite(a)) {
        return;
    }
    RotateAbout(Right(), a - m_pitchAngle);
    const float stored = WrapAngle(a);
    if (stored != m_pitchAngle) {
        m_pitchAngle = stored;
        NoteTransformChanged();
    }
}

void TSceneObject::SetTurnAngle(float a) {
    if (!std::isfinite(a)) {
        return;
    }
    RotateAbout(m_up, a - m_turnAngle);
    const float stored = WrapAngle(a);
    if (stored != m_turnAngle) {
        m_turnAngle = stored;
        NoteTransformChanged();
    }
}

void TSceneObject::SetRollAngle(float a) {
    if (!std::isfinite(a)) {
        return;
    }
    RotateAbout(m_direction, a - m_rollAngle);
    const float stored = WrapAngle(a);
    if (stored != m_rollAngle) {
        m_rollAngle = stored;
        NoteTransformChanged();
    }
}

void TSceneObject::Pitch(float degrees) {
    RotateAbout(Right(), degrees);
}

void TSceneObject::Turn(float degrees) {
    RotateAbout(m_up, -degrees);
}

void TSceneObject::Roll(float degrees) {
    RotateAbout(m_direction, -degrees);
}

void TSceneObject::Move(float d) {
    SetPosition(m_position + m_direction * d);
}

void TSceneObject::Lift(float d) {
    SetPosition(m_position + m_up * d);
}

void TSceneObject::Slide(float d) {
    SetPosition(m_position + Right() * d);
}

void TSceneObject::Translate(const TVector3f& d) {
    SetPosition(m_position + d);
}

// --- Display ----------------------------------------------------------------------------------

void TSceneObject::SetVisible(bool on) {
    if (m_visible != on) {
        m_visible = on;
        NoteStateChanged();
    }
}

void TSceneObject::SetShowAxes(bool on) {
    if (m_showAxes != on) {
        m_showAxes = on;
        NoteStateChanged();
    }
}

void TSceneObject::SetAxesLength(float length) {
    if (std::isfinite(length) && length > 0 && length != m_axesLength) {
        m_axesLength = length;
        NoteStateChanged();
    }
}

// --- Matrices ---------------------------------------------------------------------------------

TMatrix4f TSceneObject::LocalMatrix() const {
    const TVector3f x = Cross(m_up, m_direction);
    return TMatrix4f::FromAxes(x * m_scale.X, m_up * m_scale.Y, m_direction * m_scale.Z,
                               m_position);
}

TMatrix4f TSceneObject::AbsoluteMatrix() const {
    TMatrix4f m = LocalMatrix();
    for (const TSceneObject* p = m_parent; p; p = p->m_parent) {
        m = p->LocalMatrix() * m;
    }
    return m;
}

TMatrix4f TSceneObject::MatrixRelativeTo(const TSceneObject& ancestor) const {
    TMatrix4f m = LocalMatrix();
    for (const TSceneObject* p = m_parent; p && p != &ancestor; p = p->m_parent) {
        m = p->LocalMatrix() * m;
    }
    return m;
}

TMatrix4f TSceneObject::ParentMatrix() const {
    return m_parent ? m_parent->AbsoluteMatrix() : TMatrix4f::Identity();
}

TVector3f TSceneObject::AbsolutePosition() const {
    return m_parent ? m_parent->AbsoluteMatrix().TransformPoint(m_position) : m_position;
}

void TSceneObject::SetAbsolutePosition(const TVector3f& p) {
    SetPosition(m_parent ? m_parent->AbsoluteMatrix().Inverse().TransformPoint(p) : p);
}

TVector3f TSceneObject::AbsoluteDirection() const {
    return m_parent ? Normalized(m_parent->AbsoluteMatrix().TransformVector(m_direction))
                    : m_direction;
}

TVector3f TSceneObject::AbsoluteUp() const {
    return m_parent ? Normalized(m_parent->AbsoluteMatrix().TransformVector(m_up)) : m_up;
}

void TSceneObject::SetAbsoluteDirection(const TVector3f& d) {
    SetDirection(m_parent ? m_parent->AbsoluteMatrix().Inverse().TransformVector(d) : d);
}

void TSceneObject::SetAbsoluteUp(const TVector3f& u) {
    SetUp(m_parent ? m_parent->AbsoluteMatrix().Inverse().TransformVector(u) : u);
}

TVector3f TSceneObject::LocalToAbsolute(const TVector3f& point) const {
    return AbsoluteMatrix().TransformPoint(point);
}

TVector3f TSceneObject::AbsoluteToLocal(const TVector3f& point) const {
    return InvAbsoluteMatrix().TransformPoint(point);
}

TVector3f TSceneObject::LocalToAbsoluteVector(const TVector3f& v) const {
    return AbsoluteMatrix().TransformVector(v);
}

TVector3f TSceneObject::AbsoluteToLocalVector(const TVector3f& v) const {
    return InvAbsoluteMatrix().TransformVector(v);
}

}  // namespace kx
