// The scene: the object tree, its material library, view settings and the main window's nodes.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "foundation/u_param.h"
#include "view/u_colour.h"
#include "view/u_material.h"
#include "view/u_sceneobject.h"
#include "view/u_sceneobjects.h"

namespace kx {

/// Scene-wide change counters (see TObjectVersions): each is raised with every change of its
/// kind anywhere in the tree, so a renderer that finds all of them as it left them may reuse
/// its last frame's work entirely. Material also counts library materials; View counts the
/// background colour and the antialiasing.
struct TSceneVersions {
    uint64_t Structure = 1;
    uint64_t Transform = 1;
    uint64_t Geometry = 1;
    uint64_t Material = 1;
    uint64_t State = 1;
    uint64_t View = 1;

    bool operator==(const TSceneVersions&) const = default;
};

/// Samples to ask for with the view's antialiasing (the setting ANTIALIAS, TkxParam): 2 or 4;
/// 0 for none and for the driver's default, meaning "whatever the context gives". The
/// high-quality modes ask for the same count: a 3.3 core context has no quality hint for
/// multisampling.
int AntialiasSamples(TAntialias mode);

class TScene {
public:
    TScene();
    ~TScene();
    TScene(const TScene&) = delete;
    TScene& operator=(const TScene&) = delete;

    /// The scene root; its direct children are the main window's nodes once built.
    TDummyCube& Root() { return *m_root; }
    const TDummyCube& Root() const { return *m_root; }
    /// `GLMaterialLibrary1`.
    TMaterialLibrary& MaterialLibrary() { return m_library; }
    const TMaterialLibrary& MaterialLibrary() const { return m_library; }

    /// First object of that name anywhere in the tree, letter case ignored.
    TSceneObject* FindObject(std::string_view name) const;

    /// Background of the view (system colour codes resolved by the caller).
    const TColor3f& BackgroundColor() const { return m_background; }
    void SetBackgroundColor(const TColor3f& c);
    TAntialias Antialias() const { return m_antialias; }  ///< None at start
    void SetAntialias(TAntialias mode);

    /// The sums of every object's counters, the structure and the view settings. Material
    /// includes the library's version.
    TSceneVersions Versions() const;

    // --- The main window's nodes (nullptr until BuildMainScene, and after removal) ----------
    TDummyCube* PartsRoot() const { return m_partsRoot; }        ///< `DummyCube`
    TSceneCamera* Camera() const { return m_camera; }            ///< `GLCamera1`
    TDummyCube* CameraTarget() const { return m_cameraTarget; }  ///< `dcCAMTarget`
    /// `Light1` ... `Light8` by number 1-8 (Light2 is the camera light); nullptr otherwise.
    TLightSource* Light(int number) const;
    /// The first grid among the parts root's children.
    TGrid* Grid() const;
    /// Moves `Light2` to the camera's absolute position.
    void CameraLightToCamera();

private:
    friend class TSceneObject;
    friend void BuildMainScene(TScene& scene, float gridDistance);
    void Attached(TSceneObject& subtree);
    void Detaching(TSceneObject& subtree);
    void Renamed(TSceneObject& o, const std::string& oldName);
    void IndexName(TSceneObject& o);
    void UnindexName(TSceneObject& o, const std::string& name);
    TSceneObject* FindBelow(const TSceneObject& from, std::string_view name, bool recursive,
                            bool& ambiguous) const;

    std::unique_ptr<TDummyCube> m_root;
    TMaterialLibrary m_library;
    TColor3f m_background{0.94f, 0.94f, 0.94f};
    TAntialias m_antialias = TAntialias::None;
    TSceneVersions m_versions;  // Structure and View kept here; the others summed up per change

    TDummyCube* m_partsRoot = nullptr;
    TSceneCamera* m_camera = nullptr;
    TDummyCube* m_cameraTarget = nullptr;
    std::array<TLightSource*, 8> m_lights{};
    std::vector<TSceneCamera*> m_cameras;  // every camera in the tree, to clear their targets
    // Named objects by lower-case name: models of thousands of parts look names up per step.
    std::unordered_multimap<std::string, TSceneObject*> m_names;
};

/// Empties the scene and its material library, then makes the main window's nodes, as direct
/// children of the root in this order: Light2, Light1, DummyCube (with the grid), Outline, Tubes,
/// dcRot (child dcChild), dcLights, Light3 ... Light8, dcMiddle, dcBox, dcSave, ffSave,
/// dcCAMTarget, dcPlus, dcRound (children ffRound1, ffRound2), dcMeasurements, GLCamera1.
void BuildMainScene(TScene& scene, float gridDistance = TGrid::kDefaultGridDistance);

/// Makes a grid (named "Grid") as the last child of the parts root, or gives the existing
/// first grid the new distance; returns it.
TGrid& CreateGrid(TDummyCube& partsRoot, float gridDistance);
/// The first grid child of the parts root, or nullptr.
TGrid* FindGrid(const TSceneObject& partsRoot);

}  // namespace kx
