// The coordinates manager's logic: translations and rigid rotations of the selection, typed
// poses, aligning and duplicating.
#include "placement/u_positioning.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "catalogue/u_defObj.h"
#include "foundation/u_stack.h"
#include "model/MainObj.h"
#include "view/u_scene.h"
#include "view/u_sceneobjects.h"

namespace kx {

namespace {

// Rotations are composed in double precision: four quarter turns must give the pose back.
using TVec3d = std::array<double, 3>;
using TMat3d = std::array<std::array<double, 3>, 3>;

constexpr double kDegToRad = std::numbers::pi / 180;

TVec3d D(const TVector3f& v) {
    return {v.X, v.Y, v.Z};
}

TVector3f F(const TVec3d& v) {
    return {static_cast<float>(v[0]), static_cast<float>(v[1]), static_cast<float>(v[2])};
}

TVec3d Cross(const TVec3d& a, const TVec3d& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

TVec3d Normal(const TVec3d& v) {
    const double l = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    return l > 0 ? TVec3d{v[0] / l, v[1] / l, v[2] / l} : v;
}

TVec3d Apply(const TMat3d& m, const TVec3d& v) {
    TVec3d r{};
    for (int i = 0; i < 3; ++i) {
        r[i] = m[i][0] * v[0] + m[i][1] * v[1] + m[i][2] * v[2];
    }
    return r;
}

TMat3d Mul(const TMat3d& a, const TMat3d& b) {
    TMat3d r{};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            r[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j];
        }
    }
    return r;
}

TMat3d Transposed(const TMat3d& m) {
    TMat3d r{};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            r[i][j] = m[j][i];
        }
    }
    return r;
}

/// Counter-clockwise about the unit axis, seen from its tip.
TMat3d Rotation(const TVec3d& axis, double degrees) {
    const TVec3d k = Normal(axis);
    const double c = std::cos(degrees * kDegToRad);
    const double s = std::sin(degrees * kDegToRad);
    const double t = 1 - c;
    return {{{c + t * k[0] * k[0], t * k[0] * k[1] - s * k[2], t * k[0] * k[2] + s * k[1]},
             {t * k[1] * k[0] + s * k[2], c + t * k[1] * k[1], t * k[1] * k[2] - s * k[0]},
             {t * k[2] * k[0] - s * k[1], t * k[2] * k[1] + s * k[0], c + t * k[2] * k[2]}}};
}

/// Columns: the object's X axis (up x direction), up, direction.
TMat3d FrameMatrix(const TVector3f& direction, const TVector3f& up) {
    const TVec3d z = Normal(D(direction));
    const TVec3d y = Normal(D(up));
    const TVec3d x = Cross(y, z);
    return {{{x[0], y[0], z[0]}, {x[1], y[1], z[1]}, {x[2], y[2], z[2]}}};
}

/// Turns the object's pose by q about the pivot point.
void ApplyRigid(TSceneObject& object, const TVec3d& pivot, const TMat3d& q) {
    const TVec3d p = D(object.Position());
    const TVec3d rel = Apply(q, {p[0] - pivot[0], p[1] - pivot[1], p[2] - pivot[2]});
    object.SetPosition(F({pivot[0] + rel[0], pivot[1] + rel[1], pivot[2] + rel[2]}));
    object.SetOrientation(F(Apply(q, D(object.Direction()))), F(Apply(q, D(object.Up()))));
}

TVector3f AxisOf(const TPivotFrame& frame, TMoveAxis axis) {
    switch (axis) {
        case TMoveAxis::Slide:
            return Cross(frame.Direction, frame.Up);
        case TMoveAxis::Lift:
            return frame.Up;
        case TMoveAxis::Move:
            break;
    }
    return frame.Direction;
}

TPivotFrame FrameOfObject(const TSceneObject& object) {
    return {object.Position(), object.Direction(), object.Up()};
}

const char* SnapshotName(TMoveAxis axis) {
    switch (axis) {
        case TMoveAxis::Slide:
            return "btnXPosClick";
        case TMoveAxis::Lift:
            return "btnYPosClick";
        case TMoveAxis::Move:
            break;
    }
    return "btnZPosClick";
}

const char* SnapshotName(TTurnAxis axis) {
    switch (axis) {
        case TTurnAxis::Pitch:
            return "btnRotPClick";
        case TTurnAxis::Turn:
            return "btnRotTClick";
        case TTurnAxis::Roll:
            break;
    }
    return "btnRotRClick";
}

}  // namespace

TOrientationAngles AnglesOf(const TVector3f& direction, const TVector3f& up) {
    const TVec3d d = Normal(D(direction));
    TOrientationAngles a;
    a.Pitch = std::asin(std::clamp(d[1], -1.0, 1.0)) / kDegToRad;
    a.Turn = std::hypot(d[0], d[2]) < 1e-9 ? 0 : std::atan2(d[0], d[2]) / kDegToRad;
    // Undoing turn and pitch leaves the up vector rolled about the direction only.
    const TMat3d undo = Mul(Rotation({1, 0, 0}, a.Pitch), Rotation({0, 1, 0}, -a.Turn));
    const TVec3d u = Apply(undo, D(up));
    a.Roll = std::atan2(-u[0], u[1]) / kDegToRad;
    return a;
}

void FrameOf(const TOrientationAngles& angles, TVector3f& direction, TVector3f& up) {
    // The part's right axis is -X at rest, so raising the pitch turns about -X.
    const TMat3d r = Mul(Mul(Rotation({0, 1, 0}, angles.Turn), Rotation({1, 0, 0}, -angles.Pitch)),
                         Rotation({0, 0, 1}, angles.Roll));
    direction = F(Apply(r, {0, 0, 1}));
    up = F(Apply(r, {0, 1, 0}));
}

TPositioning::TPositioning(TkxMain& model) : m_model(model) {
    for (int i = 0; i < kSliderCount; ++i) {
        TValuePanelState& s = Slider(i);
        s.Format = i < 3 ? "%2n mm" : "%.1f º";
        s.WrapAngle = i >= 3;
    }
}

void TPositioning::SetCentreText(std::string text) {
    m_centreText = std::move(text);
    if (!m_centreNames.empty()) {
        m_centreNames.front() = m_centreText;
    }
}

void TPositioning::SetActiveObject(TFreeForm* part) {
    m_active = part;
    m_centreNames = {m_centreText};
    if (part) {
        if (const auto def = m_model.PartDefinition(part->Name())) {
            for (const TConn& c : def->Conns) {
                m_centreNames.push_back(c.Name);
            }
        }
        m_pivot = FrameOfObject(*part);
    }
    m_centre = 0;
    ResetSliders();
    ShowCentreAxes(false);
    if (TSceneObject* middle = m_model.Scene().FindObject("dcMiddle")) {
        middle->SetShowAxes(false);
    }
}

void TPositioning::ResetSliders() {
    for (int i = 0; i < kSliderCount; ++i) {
        Slider(i).Value = 0;
        m_lastValues[static_cast<size_t>(i)] = 0;
    }
}

void TPositioning::ShowCentreAxes(bool connector) {
    if (TSceneObject* middle = m_model.Scene().FindObject("dcMiddle")) {
        middle->SetShowAxes(connector);
    }
    if (m_active) {
        m_active->SetShowAxes(!connector);
    }
}

void TPositioning::ChooseCentre(int index) {
    Stack().Push("TFormKoordinaten.cbMittelpunktChange", index);
    if (!m_active) {
        return;
    }
    ResetSliders();
    const bool connector =
        index >= 1 && static_cast<size_t>(index) <= m_active->Count() &&
        m_active->Child(static_cast<size_t>(index - 1)).Kind() == TSceneObjectKind::ArrowLine;
    m_centre = connector ? index : 0;
    if (!connector) {
        m_pivot = FrameOfObject(*m_active);
        ShowCentreAxes(false);
        return;
    }
    const TSceneObject& anchor = m_active->Child(static_cast<size_t>(index - 1));
    const TVector3f position = anchor.AbsolutePosition();
    const TVector3f direction = anchor.AbsoluteDirection();
    const TVector3f up = anchor.AbsoluteUp();
    if (TSceneObject* middle = m_model.Scene().FindObject("dcMiddle")) {
        middle->SetAbsolutePosition(position);
        middle->SetAbsoluteDirection(direction);
        middle->SetAbsoluteUp(up);
    }
    // The pivot lives where the parts do: in the parts root's frame.
    const TSceneObject* root = m_active->Parent();
    m_pivot.Position = root ? root->AbsoluteToLocal(position) : position;
    m_pivot.Direction = Normalized(root ? root->AbsoluteToLocalVector(direction) : direction);
    m_pivot.Up = Normalized(root ? root->AbsoluteToLocalVector(up) : up);
    ShowCentreAxes(true);
}

void TPositioning::Refresh(TFreeForm& part) {
    m_model.RefreshBauteil(part.Name(), false, -1);
    m_model.MarkModified();
}

std::vector<TFreeForm*> TPositioning::CoSelectedObjects() const {
    std::vector<TFreeForm*> objects;
    for (const auto& r : m_model.Parts()) {
        if (r->CoSelected() && r->Object() && r->Object() != m_active) {
            objects.push_back(r->Object());
        }
    }
    return objects;
}

void TPositioning::Translate(TMoveAxis axis, double d) {
    Stack().Push("TFormKoordinaten.Translate", static_cast<int>(axis), d);
    if (!m_active) {
        return;
    }
    const TVector3f before = m_active->Position();
    if (m_centre == 0) {
        const auto step = static_cast<float>(d);
        switch (axis) {
            case TMoveAxis::Slide:
                m_active->Slide(step);
                break;
            case TMoveAxis::Lift:
                m_active->Lift(step);
                break;
            case TMoveAxis::Move:
                m_active->Move(step);
                break;
        }
    } else {
        // Along the connector's axes as they were when it was chosen; the centre stays there.
        m_active->Translate(AxisOf(m_pivot, axis) * static_cast<float>(d));
    }
    MoveCoSelect(m_active->Position() - before);
    Refresh(*m_active);
}

void TPositioning::Rotate(TTurnAxis axis, double degrees) {
    Stack().Push("TFormKoordinaten.Rotate", static_cast<int>(axis), degrees);
    if (!m_active) {
        return;
    }
    const double pitch = axis == TTurnAxis::Pitch ? degrees : 0;
    const double turn = axis == TTurnAxis::Turn ? degrees : 0;
    const double roll = axis == TTurnAxis::Roll ? degrees : 0;
    if (m_centre == 0) {
        const auto a = static_cast<float>(degrees);
        switch (axis) {
            case TTurnAxis::Pitch:
                m_active->SetPitchAngle(m_active->PitchAngle() + a);
                break;
            case TTurnAxis::Turn:
                m_active->SetTurnAngle(m_active->TurnAngle() + a);
                break;
            case TTurnAxis::Roll:
                m_active->SetRollAngle(m_active->RollAngle() + a);
                break;
        }
        // The axis of a single turn is the same before and after it.
        RotateCoSelect(FrameOfObject(*m_active), roll, turn, pitch);
        Refresh(*m_active);
        return;
    }
    RotateBauteil(*m_active, m_pivot, roll, turn, pitch);
    RotateCoSelect(m_pivot, roll, turn, pitch);
}

void TPositioning::MoveStep(TMoveAxis axis, double value) {
    if (!m_active) {
        return;
    }
    m_model.MakeUndoSnapshot(SnapshotName(axis));
    Translate(axis, value / 100);
}

void TPositioning::TurnStep(TTurnAxis axis, double degrees) {
    if (!m_active) {
        return;
    }
    m_model.MakeUndoSnapshot(SnapshotName(axis));
    Rotate(axis, degrees);
}

bool TPositioning::DragSlider(int index, int dx) {
    if (!m_active || !Slider(index).DragBy(dx)) {
        return false;
    }
    SliderChanged(index);
    return true;
}

void TPositioning::SliderChanged(int index) {
    if (!m_active) {
        return;
    }
    double& last = m_lastValues[static_cast<size_t>(index)];
    const double value = Slider(index).Value;
    double change = value - last;
    last = value;
    if (index < 3) {
        Translate(static_cast<TMoveAxis>(index), change / 10);
    } else {
        // A wrapped value turns the short way: 359.5 -> 0 is half a degree, not -359.5.
        change = std::remainder(change, 360.0);
        Rotate(static_cast<TTurnAxis>(index - 3), change);
    }
}

void TPositioning::StepKeys(bool shift, bool ctrl) {
    if (!shift && !ctrl) {
        return;
    }
    for (int i = 0; i < kSliderCount; ++i) {
        Slider(i).Step = i < 3 ? (shift ? 5 : 0.25) : (shift ? 10 : 0.1);
    }
}

void TPositioning::StepKeysReleased() {
    for (int i = 0; i < kSliderCount; ++i) {
        Slider(i).Step = i < 3 ? 0.5 : 1;
    }
}

TVector3f TPositioning::PositionMm() const {
    return m_active ? m_active->Position() * 10.0f : TVector3f{};
}

void TPositioning::SetPositionMm(const TVector3f& mm) {
    Stack().Push("TFormKoordinaten.SetPosition", mm.X, mm.Y, mm.Z);
    if (!m_active || !std::isfinite(mm.X) || !std::isfinite(mm.Y) || !std::isfinite(mm.Z)) {
        return;
    }
    m_model.MakeUndoSnapshot("edPositionReturn");
    const TVector3f delta = mm / 10.0f - m_active->Position();
    m_active->Translate(delta);
    MoveCoSelect(delta);
    Refresh(*m_active);
}

TOrientationAngles TPositioning::Angles() const {
    return m_active ? AnglesOf(m_active->Direction(), m_active->Up()) : TOrientationAngles{};
}

void TPositioning::SetAngles(const TOrientationAngles& angles) {
    Stack().Push("TFormKoordinaten.SetAngles", angles.Pitch, angles.Turn, angles.Roll);
    if (!m_active || !std::isfinite(angles.Pitch) || !std::isfinite(angles.Turn) ||
        !std::isfinite(angles.Roll)) {
        return;
    }
    m_model.MakeUndoSnapshot("edAnglesReturn");
    TVector3f direction, up;
    FrameOf(angles, direction, up);
    const TMat3d q = Mul(FrameMatrix(direction, up),
                         Transposed(FrameMatrix(m_active->Direction(), m_active->Up())));
    const TVec3d pivot = D(m_active->Position());
    m_active->SetOrientation(direction, up);
    for (TFreeForm* object : CoSelectedObjects()) {
        ApplyRigid(*object, pivot, q);
        Refresh(*object);
    }
    Refresh(*m_active);
}

void TPositioning::MoveCoSelect(const TVector3f& delta) {
    for (TFreeForm* object : CoSelectedObjects()) {
        object->Translate(delta);
        Refresh(*object);
    }
}

void TPositioning::RotateBauteil(TFreeForm& part, const TPivotFrame& frame, double roll,
                                 double turn, double pitch) {
    const TVec3d d = Normal(D(frame.Direction));
    const TMat3d r1 = Rotation(d, roll);
    const TVec3d u1 = Apply(r1, Normal(D(frame.Up)));
    const TMat3d r2 = Rotation(u1, turn);
    const TVec3d d2 = Apply(r2, d);
    const TVec3d u2 = Apply(r2, u1);
    const TMat3d r3 = Rotation(Cross(d2, u2), pitch);
    ApplyRigid(part, D(frame.Position), Mul(r3, Mul(r2, r1)));
    Refresh(part);
}

void TPositioning::RotateCoSelect(const TPivotFrame& frame, double roll, double turn,
                                  double pitch) {
    for (TFreeForm* object : CoSelectedObjects()) {
        RotateBauteil(*object, frame, roll, turn, pitch);
    }
}

void TPositioning::ObjekteAusrichten() {
    Stack().Push("TFormKoordinaten.ObjekteAusrichten");
    if (!m_active) {
        return;
    }
    for (TFreeForm* object : CoSelectedObjects()) {
        object->SetPosition(m_active->Position());
        object->SetOrientation(m_active->Direction(), m_active->Up());
        Refresh(*object);
    }
}

void TPositioning::DuplicateSelection() {
    Stack().Push("TFormKoordinaten.DuplicateSelection");
    if (!m_active || !m_model.FindBauteil(m_active->Name())) {
        return;
    }
    std::vector<std::string> originals{m_model.FindBauteil(m_active->Name())->Name()};
    for (TFreeForm* object : CoSelectedObjects()) {
        if (const TBauteil* record = object->Bauteil()) {
            originals.push_back(record->Name());
        }
    }
    // One step back takes all the copies away again.
    m_model.MakeUndoSnapshot("AddBaustein");
    TUndoSuspension suspended(m_model);
    std::string selectedCopy;
    std::vector<std::string> otherCopies;
    for (size_t i = 0; i < originals.size(); ++i) {
        const TBauteil* original = m_model.FindBauteil(originals[i]);
        if (!original) {
            continue;
        }
        const std::string copyName = m_model.AddBaustein(original->GetShortName());
        TBauteil* added = copyName.empty() ? nullptr : m_model.FindBauteil(copyName);
        if (!added) {
            continue;
        }
        // Adding may have moved the list's storage, but not the records themselves.
        original = m_model.FindBauteil(originals[i]);
        TFreeForm* object = added->Object();
        added->Assign(*original);
        added->SetName(copyName);
        added->SetObject(object);
        added->SetPhase(m_model.CurrentPhase());
        added->SetSelected(false);
        added->SetCoSelected(false);
        (i == 0 ? selectedCopy : otherCopies.emplace_back()) = copyName;
    }
    // Repainting puts every copy on the pose of the part it was copied from.
    m_model.Repaint();
    if (!selectedCopy.empty()) {
        m_model.SelectBaustein(selectedCopy, false, true);
    }
    for (const std::string& name : otherCopies) {
        m_model.CoSelectBaustein(name, true, true, true);
    }
    m_model.MarkModified();
}

}  // namespace kx
