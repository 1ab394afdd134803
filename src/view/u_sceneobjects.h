// The kinds of scene objects: groups, meshes, connector arrows, lines, texts, grid, lights, camera.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "catalogue/u_mesh.h"
#include "view/u_colour.h"
#include "view/u_material.h"
#include "view/u_sceneobject.h"

namespace kx {

class TBauteil;

/// An empty group node. With VisibleAtRunTime it is drawn as a wire cube of edge CubeSize
/// (own units) around its origin, in its Color; otherwise only its children are drawn.
class TDummyCube : public TSceneObject {
public:
    explicit TDummyCube(std::string name = {});

    bool VisibleAtRunTime() const { return m_visibleAtRunTime; }
    void SetVisibleAtRunTime(bool on);
    float CubeSize() const { return m_cubeSize; }
    void SetCubeSize(float size);
    const TColor3f& Color() const { return m_color; }
    void SetColor(const TColor3f& c);

private:
    float m_cubeSize = 1;
    TColor3f m_color{1, 1, 1};
    bool m_visibleAtRunTime = false;
};

/// A triangle mesh (placed parts, generated parts). The mesh is shared and immutable: parts of
/// one definition hold the same TMesh, and a change always means a new TMesh (SetMesh,
/// ModifyMesh), so the renderer may key its uploads by the TMesh's address while it keeps a
/// TMeshPtr to it. Drawing uses the linked library material when there is one (colour,
/// alpha, emission, blending, texture, shader) and the object's own material otherwise; the
/// polygon mode is always the object's own.
class TFreeForm : public TSceneObject, private TMaterialOwner {
public:
    explicit TFreeForm(std::string name = {});
    ~TFreeForm() override;

    const TMeshPtr& Mesh() const { return m_mesh; }
    void SetMesh(TMeshPtr mesh);  ///< nullptr: no geometry; forgets the coarse mesh
    /// A simpler mesh of the same shape for when the object is small on screen (nullptr: none).
    const TMeshPtr& CoarseMesh() const { return m_coarse; }
    void SetCoarseMesh(TMeshPtr mesh);
    /// Copies the mesh (or starts an empty one), lets `change` edit the copy and installs it;
    /// other holders of the old mesh keep it unchanged.
    void ModifyMesh(const std::function<void(TMesh&)>& change);

    /// The object's own material; its changes raise the object's Material counter.
    const TMaterial& Material() const { return m_material; }
    TMaterial& Material() { return m_material; }

    /// The library material the object is drawn with (nullptr: its own material). Also sets
    /// the own material's LibMaterialName to the library material's name.
    const TMaterialPtr& LibMaterial() const { return m_libMaterial; }
    void LinkLibMaterial(TMaterialPtr material);
    /// The material whose colour, alpha, texture and shader are drawn.
    const TMaterial& DrawMaterial() const { return m_libMaterial ? *m_libMaterial : m_material; }

    /// The placed-part record this object shows (not owned); nullptr for other meshes.
    TBauteil* Bauteil() const { return m_bauteil; }
    void SetBauteil(TBauteil* record) { m_bauteil = record; }

private:
    void MaterialChanged() override { NoteMaterialChanged(); }

    TMeshPtr m_mesh;
    TMeshPtr m_coarse;
    TMaterial m_material;
    TMaterialPtr m_libMaterial;
    TBauteil* m_bauteil = nullptr;
};

/// A connector arrow: a shaft and a head along the object's +Z (Direction) from its origin to
/// Length, with Sides facets around, lit only by its emission colour. Nothing but these
/// parameters is stored per arrow; the renderer draws all arrows from one shared shape.
class TArrowLine : public TSceneObject {
public:
    static constexpr float kDefaultLength = 40;  ///< mesh units: arrows live in a part's frame

    explicit TArrowLine(std::string name = {});

    const TColor3f& Color() const { return m_color; }  ///< emission colour
    void SetColor(const TColor3f& c);
    float Length() const { return m_length; }
    int Sides() const { return m_sides; }
    float ShaftRadius() const { return m_shaftRadius; }
    float HeadRadius() const { return m_headRadius; }
    float HeadLength() const { return m_headLength; }
    /// Length and facets (at least 3); the radii and the head follow the length.
    void SetShape(float length, int sides);

private:
    TColor3f m_color{1, 1, 0};
    float m_length = kDefaultLength;
    float m_shaftRadius;
    float m_headRadius;
    float m_headLength;
    int m_sides = 4;
};

/// A polyline through its nodes (own coordinates), LineWidth pixels wide. With ShowNodes each
/// node is also marked by a small square of NodeSize pixels.
class TLines : public TSceneObject {
public:
    explicit TLines(std::string name = {});

    const std::vector<TVector3f>& Nodes() const { return m_nodes; }
    void SetNodes(std::vector<TVector3f> nodes);
    void AddNode(const TVector3f& p);
    void SetNode(size_t index, const TVector3f& p);  ///< ignored when index is out of range
    void ClearNodes();

    const TColor3f& Color() const { return m_color; }
    void SetColor(const TColor3f& c);
    float LineWidth() const { return m_lineWidth; }
    void SetLineWidth(float width);
    bool ShowNodes() const { return m_showNodes; }
    void SetShowNodes(bool on);
    float NodeSize() const { return m_nodeSize; }

private:
    std::vector<TVector3f> m_nodes;
    TColor3f m_color{1, 1, 1};
    float m_lineWidth = 1;
    float m_nodeSize = 4;
    bool m_showNodes = true;
};

/// A line of text standing in the object's X-Y plane, facing +Z, Height units tall, its
/// baseline on the origin, horizontally centred.
class TSpaceText : public TSceneObject {
public:
    explicit TSpaceText(std::string name = {});

    const std::string& Text() const { return m_text; }  ///< UTF-8
    void SetText(std::string text);
    const std::string& FontName() const { return m_fontName; }
    bool Bold() const { return m_bold; }
    void SetFont(std::string name, bool bold);
    float Height() const { return m_height; }
    void SetHeight(float height);
    const TColor3f& Color() const { return m_color; }
    void SetColor(const TColor3f& c);

private:
    std::string m_text;
    std::string m_fontName = "COURIER NEW";
    TColor3f m_color{0, 0, 0};
    float m_height = 1;
    bool m_bold = false;
};

/// The floor grid in the object's X-Z plane through its origin: lines parallel to X and to Z
/// from -Extent to +Extent, Spacing apart (21 each way), in Color.
class TGrid : public TSceneObject {
public:
    static constexpr float kDefaultGridDistance = 10;

    explicit TGrid(std::string name = {});

    /// g of the setting GRIDDISTANCE: Extent g, Spacing g / 10 (ten cells each side of the
    /// origin). A value that is not a positive finite number gives the default 10.
    void SetGridDistance(float g);
    float GridDistance() const { return m_extent; }
    float Extent() const { return m_extent; }
    float Spacing() const { return m_range.XStep; }
    int LinesPerAxis() const { return 21; }

    /// Where the lines run: lines parallel to Z at X = XMin, XMin + XStep ... up to XMax, and
    /// lines parallel to X at Z = ZMin ... ZMax, each from the other axis's minimum to its
    /// maximum. SetGridDistance makes -g to g in steps of g / 10 both ways.
    struct TRange {
        float XMin = -kDefaultGridDistance, XMax = kDefaultGridDistance, XStep = 1;
        float ZMin = -kDefaultGridDistance, ZMax = kDefaultGridDistance, ZStep = 1;
        bool operator==(const TRange&) const = default;
    };
    /// Lines drawn at most per axis, whatever the range: a tiny step must not stall the view.
    static constexpr int kMaxLinesPerAxis = 1000;
    const TRange& Range() const { return m_range; }
    /// False (and nothing changes) unless both steps are positive, every value is finite and
    /// each minimum lies below its maximum.
    bool SetRange(const TRange& range);
    /// The positions of the lines along one axis, as the renderer draws them.
    std::vector<float> LinePositions(bool xAxis) const;
    const TColor3f& Color() const { return m_color; }  ///< grey (128, 128, 128)
    void SetColor(const TColor3f& c);
    float LineWidth() const { return m_lineWidth; }

private:
    float m_extent = kDefaultGridDistance;
    TRange m_range;
    float m_lineWidth = 1;
    TColor3f m_color;
};

/// An omnidirectional point light at the object's absolute position.
class TLightSource : public TSceneObject {
public:
    explicit TLightSource(std::string name = {});

    bool Shining() const { return m_shining; }
    void SetShining(bool on);
    const TColor3f& Diffuse() const { return m_diffuse; }  ///< white
    void SetDiffuse(const TColor3f& c);
    const TColor3f& Ambient() const { return m_ambient; }  ///< black
    void SetAmbient(const TColor3f& c);
    const TColor3f& Specular() const { return m_specular; }  ///< black
    void SetSpecular(const TColor3f& c);
    /// Light falls off as 1 / (constant + linear d + quadratic d^2): 1, 0, 0 here.
    float ConstAttenuation() const { return m_constAttenuation; }
    float LinearAttenuation() const { return m_linearAttenuation; }
    float QuadraticAttenuation() const { return m_quadraticAttenuation; }
    void SetAttenuation(float constant, float linear, float quadratic);

private:
    TColor3f m_diffuse{1, 1, 1};
    TColor3f m_ambient{0, 0, 0};
    TColor3f m_specular{0, 0, 0};
    float m_constAttenuation = 1;
    float m_linearAttenuation = 0;
    float m_quadraticAttenuation = 0;
    bool m_shining = true;
};

/// The view's camera. It looks from its absolute position at its target object's absolute
/// position (without a target: along its absolute Direction), its Up giving the vertical.
/// The vertical field of view follows the focal length: 2 atan(50 / FocalLength), 36.9
/// degrees at 150. Nothing nearer than NearPlane or farther than DepthOfView is drawn.
class TSceneCamera : public TSceneObject {
public:
    explicit TSceneCamera(std::string name = {});

    float FocalLength() const { return m_focalLength; }
    void SetFocalLength(float f);  ///< values below 1 become 1
    float DepthOfView() const { return m_depthOfView; }
    void SetDepthOfView(float d);
    float NearPlane() const { return m_nearPlane; }
    void SetNearPlane(float d);
    /// Not owned; the scene clears it when the target leaves the scene.
    TSceneObject* TargetObject() const { return m_target; }
    void SetTargetObject(TSceneObject* target);

    /// A parallel projection instead of the perspective one: the view shows
    /// 2 * 100 / (FocalLength * SceneScale) units from bottom to top, whatever the distance.
    bool Orthogonal() const { return m_orthogonal; }
    void SetOrthogonal(bool on);
    float SceneScale() const { return m_sceneScale; }
    void SetSceneScale(float scale);  ///< values that are not positive are refused
    /// Half the height the orthogonal view shows, in scene units.
    float OrthoHalfHeight() const;

    float FieldOfViewY() const;     ///< degrees
    TVector3f LookAtPoint() const;  ///< world coordinates
    TMatrix4f ViewMatrix() const;
    TMatrix4f ProjectionMatrix(float aspect) const;  ///< aspect = width / height
    /// The unit direction (world coordinates) from the camera through the point (x, y) of a
    /// view of width x height pixels, x from the left, y from the bottom.
    TVector3f ScreenToVector(float x, float y, int width, int height) const;
    /// The world point on the near plane under the point (x, y) of the view (x from the left,
    /// y from the bottom).
    TVector3f ScreenToWorld(float x, float y, int width, int height) const;

    /// Orbits the target, keeping the distance and looking at the target: the camera's frame
    /// pitches by pitchDelta degrees about its horizontal axis (Right) and then turns by
    /// turnDelta degrees about its Up, both through the target and counter-clockwise seen from
    /// the axis tip, as raising its pitch and turn angles would. Without a target nothing
    /// happens.
    void MoveAroundTarget(float pitchDelta, float turnDelta);
    /// Multiplies the distance to the target by factor (> 0) along the line of sight.
    void AdjustDistanceToTarget(float factor);
    float DistanceToTarget() const;

private:
    friend class TScene;
    float m_focalLength = 150;
    float m_depthOfView = 999999;
    float m_nearPlane = 0.05f;
    float m_sceneScale = 1;
    bool m_orthogonal = false;
    TSceneObject* m_target = nullptr;
};

}  // namespace kx
