// A named node of the scene graph: its frame (position, Direction, Up, scale, stored angles),
// its children, and the version counters that tell the renderer what changed.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/u_vector.h"
#include "view/u_matrix.h"

namespace kx {

class TScene;

/// What an object is; the renderer switches on it and casts to the matching class.
enum class TSceneObjectKind : uint8_t {
    Dummy,      ///< TDummyCube: an empty group, optionally drawn as a wire cube
    FreeForm,   ///< TFreeForm: a triangle mesh with a material (placed parts, generated parts)
    ArrowLine,  ///< TArrowLine: a connector arrow, drawn from parameters only
    Lines,      ///< TLines: a polyline
    SpaceText,  ///< TSpaceText: a line of text standing in space
    Grid,       ///< TGrid: the floor grid
    Light,      ///< TLightSource: an omnidirectional point light
    Camera,     ///< TSceneCamera
    Pipe,       ///< TPipeEx: a hose, tessellated by the view from its nodes
};

/// Change counters: the contract between the scene graph and the renderer.
/// Each counter starts at 1 and only grows, and only when a value really changes (setting what
/// is already there counts nothing). A renderer remembers the values it drew and redoes only
/// what belongs to a counter that moved. Per object:
///  - Transform: position, Direction, Up, scale (and the stored angles);
///  - Geometry:  what the object draws: its mesh, arrow, line, text, grid, light or camera
///               parameters, a dummy's cube;
///  - Material:  its own material, or which library material it links (a library material's
///               own changes show in TMaterial::Version() and the library's version);
///  - State:     visible, axes shown, axes length, name.
/// The scene adds them up (TSceneVersions) and counts Structure: objects added, removed or
/// moved to another parent. A parent's move changes its children's world matrices without
/// touching their counters: walk the tree multiplying LocalMatrix(), or watch the scene's
/// Transform counter. Key what you keep per object by Id(), never by address, and after a
/// Structure change drop what belongs to ids the walk no longer met. A TMesh never changes
/// once an object holds it (a change installs a new one), so uploads can be shared per TMesh.
/// Everything here belongs to the user-interface thread.
struct TObjectVersions {
    uint32_t Transform = 1;
    uint32_t Geometry = 1;
    uint32_t Material = 1;
    uint32_t State = 1;
};

class TSceneObject {
public:
    virtual ~TSceneObject();
    TSceneObject(const TSceneObject&) = delete;
    TSceneObject& operator=(const TSceneObject&) = delete;

    TSceneObjectKind Kind() const { return m_kind; }
    /// Unique for the run, never reused: the renderer's key for what it keeps per object.
    uint64_t Id() const { return m_id; }

    // --- Name and tree -----------------------------------------------------------------------

    const std::string& Name() const { return m_name; }
    void SetName(std::string name);

    TSceneObject* Parent() const { return m_parent; }
    /// The scene the object hangs in, or nullptr while it is detached.
    TScene* Scene() const { return m_scene; }
    size_t Count() const { return m_children.size(); }
    TSceneObject& Child(size_t index) const { return *m_children[index]; }
    std::span<const std::unique_ptr<TSceneObject>> Children() const { return m_children; }
    /// Position among the parent's children, or -1 without a parent.
    int Index() const;

    /// Appends a child and returns it; the parent owns it. Adding an object below itself
    /// throws std::invalid_argument and leaves `child` with the caller.
    TSceneObject& AddChild(std::unique_ptr<TSceneObject>&& child);
    /// Makes a new object of type T as the last child: `parts.AddNewChild<TFreeForm>("F1")`.
    template <class T, class... Args>
    T& AddNewChild(Args&&... args) {
        return static_cast<T&>(AddChild(std::make_unique<T>(std::forward<Args>(args)...)));
    }
    /// Detaches a child (with its subtree) and hands it over; nullptr if it is not a child.
    std::unique_ptr<TSceneObject> TakeChild(TSceneObject& child);
    /// Frees a child and its subtree.
    void DeleteChild(TSceneObject& child);
    void DeleteChildren();
    /// Moves the object with its subtree to the end of newParent's children, keeping its local
    /// frame. Refused (false) when newParent is the object or one of its descendants.
    bool MoveTo(TSceneObject& newParent);

    /// The first object of that name (letter case ignored) among the children, or, with
    /// recursive, in the whole subtree (depth first, in child order). Not the object itself.
    /// Inside a scene this is a hash look-up, whatever the number of objects.
    TSceneObject* FindChild(std::string_view name, bool recursive) const;
    /// The same by walking the tree (what FindChild does for a detached object).
    TSceneObject* FindChildByWalk(std::string_view name, bool recursive) const;
    /// Whether the object is `ancestor` or lies below it.
    bool IsInside(const TSceneObject& ancestor) const;

    // --- Frame, in the parent's coordinates --------------------------------------------------
    // Direction is the object's own Z axis and Up its Y axis; both are unit vectors and
    // perpendicular. Right = Direction x Up; the object's X axis is Up x Direction = -Right.

    const TVector3f& Position() const { return m_position; }
    void SetPosition(const TVector3f& p);
    const TVector3f& Direction() const { return m_direction; }
    const TVector3f& Up() const { return m_up; }
    TVector3f Right() const { return Cross(m_direction, m_up); }

    /// Direction := d (zero gives (0, 0, 1)), normalised; R := d x Up, or if shorter than
    /// 0.00001 (0, 0, 1) x Up, or if still too short (1, 0, 0) x Up; Up := R x d, normalised.
    /// The stored angles stay.
    void SetDirection(const TVector3f& d);
    /// Up := u (zero gives (0, 1, 0)), normalised; R := Direction x u, or if shorter than
    /// 0.00001 Direction x (0, 1, 0), or if still too short Direction x (1, 0, 0);
    /// Direction := u x R, normalised. The stored angles stay.
    void SetUp(const TVector3f& u);
    /// Both at once: Direction as SetDirection, then Up made perpendicular to it as SetUp
    /// would, keeping Direction.
    void SetOrientation(const TVector3f& direction, const TVector3f& up);
    /// Direction (0, 0, 1), Up (0, 1, 0), stored angles 0.
    void ResetRotations();

    const TVector3f& Scale() const { return m_scale; }
    void SetScale(const TVector3f& s);
    void SetScale(float s) { SetScale(TVector3f{s, s, s}); }

    /// The stored angles in degrees, -180 to 180. Setting one to a rotates Direction and Up by
    /// (a - stored) degrees, counter-clockwise seen from the tip of the axis (right-hand rule),
    /// and stores a brought into -180..180: pitch about Right, turn about Up, roll about
    /// Direction. The axis is taken from the current frame.
    float PitchAngle() const { return m_pitchAngle; }
    float TurnAngle() const { return m_turnAngle; }
    float RollAngle() const { return m_rollAngle; }
    void SetPitchAngle(float a);
    void SetTurnAngle(float a);
    void SetRollAngle(float a);

    /// Relative rotations that leave the stored angles alone. Their sense is tied to the
    /// angles: Pitch(a) turns as raising the pitch angle by a does, Turn(a) as lowering the
    /// turn angle by a, Roll(a) as lowering the roll angle by a.
    void Pitch(float degrees);
    void Turn(float degrees);
    void Roll(float degrees);
    /// Rotates Direction and Up by degrees about the unit axis (parent's coordinates),
    /// counter-clockwise seen from its tip. Position and stored angles stay.
    void RotateAbout(const TVector3f& axis, float degrees);

    void Move(float d);                  ///< position += d * Direction
    void Lift(float d);                  ///< position += d * Up
    void Slide(float d);                 ///< position += d * Right
    void Translate(const TVector3f& d);  ///< position += d (parent's axes)

    // --- Display ------------------------------------------------------------------------------

    bool Visible() const { return m_visible; }  ///< a hidden object hides its subtree
    void SetVisible(bool on);
    /// Red, green and blue lines along the object's own X, Y and Z axes through its origin,
    /// from -AxesLength to +AxesLength in its own (scaled) units.
    bool ShowAxes() const { return m_showAxes; }
    void SetShowAxes(bool on);
    float AxesLength() const { return m_axesLength; }
    void SetAxesLength(float length);

    // --- Matrices and world coordinates -------------------------------------------------------

    /// Columns: (Up x Direction) * scale.X, Up * scale.Y, Direction * scale.Z, Position.
    TMatrix4f LocalMatrix() const;
    /// Product of the local matrices from the topmost ancestor down to this object; costs one
    /// multiplication per ancestor, nothing is cached.
    TMatrix4f AbsoluteMatrix() const;
    TMatrix4f InvAbsoluteMatrix() const { return AbsoluteMatrix().Inverse(); }
    /// The object's matrix in the frame of one of its ancestors (the parts root, say): the
    /// local matrices below `ancestor` multiplied. Not an ancestor: the absolute matrix.
    TMatrix4f MatrixRelativeTo(const TSceneObject& ancestor) const;
    /// The parent's absolute matrix (identity without a parent).
    TMatrix4f ParentMatrix() const;

    TVector3f AbsolutePosition() const;
    /// Sets the local position so that the origin lands on p in world coordinates.
    void SetAbsolutePosition(const TVector3f& p);
    TVector3f AbsoluteDirection() const;  ///< normalised
    TVector3f AbsoluteUp() const;         ///< normalised
    /// World direction brought into the parent's axes, then SetDirection / SetUp.
    void SetAbsoluteDirection(const TVector3f& d);
    void SetAbsoluteUp(const TVector3f& u);

    TVector3f LocalToAbsolute(const TVector3f& point) const;
    TVector3f AbsoluteToLocal(const TVector3f& point) const;
    TVector3f LocalToAbsoluteVector(const TVector3f& v) const;
    TVector3f AbsoluteToLocalVector(const TVector3f& v) const;

    // --- Change tracking ----------------------------------------------------------------------

    const TObjectVersions& Versions() const { return m_versions; }

protected:
    TSceneObject(TSceneObjectKind kind, std::string name);
    void NoteTransformChanged();
    void NoteGeometryChanged();
    void NoteMaterialChanged();
    void NoteStateChanged();

private:
    friend class TScene;
    void SetFrame(const TVector3f& d, const TVector3f& u);

    std::string m_name;
    TVector3f m_position{0, 0, 0};
    TVector3f m_direction{0, 0, 1};
    TVector3f m_up{0, 1, 0};
    TVector3f m_scale{1, 1, 1};
    float m_pitchAngle = 0;
    float m_turnAngle = 0;
    float m_rollAngle = 0;
    float m_axesLength = 1;
    TObjectVersions m_versions;
    TSceneObjectKind m_kind = TSceneObjectKind::Dummy;
    bool m_visible = true;
    bool m_showAxes = false;
    uint64_t m_id;
    TSceneObject* m_parent = nullptr;
    TScene* m_scene = nullptr;
    std::vector<std::unique_ptr<TSceneObject>> m_children;
};

}  // namespace kx
