// Flattens the scene graph into the renderer's frame: meshes, arrows, lines, grid, axes,
// lights and camera; rebuilt only when the scene's change counters moved.
#pragma once

#include <map>
#include <memory>
#include <tuple>
#include <unordered_map>

#include "view/r_frame.h"
#include "view/u_scene.h"

namespace kx {

class TPipeEx;

/// The shape every connector arrow is drawn with: a shaft and a head along +Z from the origin
/// to length, with the given number of flat sides.
TMeshPtr MakeArrowMesh(float length, int sides, float shaftRadius, float headRadius,
                       float headLength);

inline TGlMatrix ToGlMatrix(const TMatrix4f& m) {
    return TGlMatrix{m.M};
}

class TSceneFrameBuilder {
public:
    /// The frame of the scene for a viewport of width x height pixels. Returns the same frame
    /// object, untouched, while neither the scene's counters nor the size changed.
    const TGlFrame& Build(const TScene& scene, int width, int height);
    /// Forgets the last frame, so the next Build walks the scene again.
    void Invalidate() { m_valid = false; }
    /// Draws through this camera instead of the scene's main camera (nullptr: the main one).
    /// The camera must belong to the scene that is drawn.
    void SetCamera(const TSceneCamera* camera) { m_camera = camera; }
    /// How many hose shapes were tessellated so far: only hoses whose shape changed are.
    uint64_t TubeMeshesBuilt() const { return m_tubesBuilt; }

private:
    void Walk(const TSceneObject& object, const TMatrix4f& parentWorld, uint64_t parentChain);
    void AddAxes(const TSceneObject& object, const TMatrix4f& world, uint64_t version);
    uint32_t SurfaceFor(const TGlSurface& surface);
    const TMeshPtr& ArrowMesh(const TArrowLine& arrow);
    const TMeshPtr& TubeMesh(const TPipeEx& hose);

    struct TTubeSlot {
        uint32_t Geometry = 0;
        uint64_t Seen = 0;
        TMeshPtr Mesh;
    };

    TGlFrame m_frame;
    std::vector<TGlLines> m_axes;
    bool m_valid = false;
    TSceneVersions m_versions;
    const TScene* m_scene = nullptr;
    int m_width = 0;
    int m_height = 0;
    int m_lightCount = 0;
    uint64_t m_revision = 0;
    uint32_t m_lastSurface = 0;
    std::map<std::tuple<float, int, float, float, float>, TMeshPtr> m_arrowMeshes;
    std::unordered_map<uint64_t, TTubeSlot> m_tubes;
    uint64_t m_walk = 0;
    uint64_t m_tubesBuilt = 0;
    const TSceneCamera* m_camera = nullptr;
    const TSceneCamera* m_builtCamera = nullptr;
};

}  // namespace kx
