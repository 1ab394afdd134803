// What the renderer draws in one frame: meshes with their materials, lines, lights and camera.
// The scene graph is flattened into this each frame; the renderer keeps GPU copies keyed by the
// items' identities and versions, so an unchanged item costs no upload.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/u_mesh.h"
#include "view/r_math.h"

namespace kx {

enum class TGlPolygonMode : uint8_t { Filled, Lines, Points };

/// Everything about an item's surface that is not its per-instance colour.
struct TGlSurface {
    TGlColor Specular{0, 0, 0, 1};
    float Shininess = 0;
    TGlPolygonMode PolygonMode = TGlPolygonMode::Filled;
    bool Lighting = true;
    /// Image file (full path) modulating the colour; empty for none.
    std::string Texture;
    /// Pixels of the texture's top-left colour become transparent.
    bool TextureTopLeftTransparent = false;
    /// Two-pass outline: silhouette and back edges in OutlineColor, OutlineWidth pixels wide.
    bool Outline = false;
    float OutlineWidth = 3;
    TGlColor OutlineColor{0, 0, 0, 1};
    /// Second outline pass lit (true) or flat in the background colour (false).
    bool OutlineLighting = true;
    TGlColor OutlineFill{0, 0, 0, 1};  ///< the unlit second pass's colour

    bool operator==(const TGlSurface&) const = default;
};

/// One mesh placed in the world.
struct TGlMeshItem {
    /// Identity of the scene object, never reused; with Version it decides re-uploads.
    uint64_t Id = 0;
    /// Changes whenever anything of the item (including its world matrix) changes.
    uint64_t Version = 0;
    TMeshPtr Mesh;
    /// A simpler mesh of the same shape, drawn where the item is small on screen (may be null).
    TMeshPtr Coarse;
    TGlMatrix World;
    TGlColor Diffuse{0.8f, 0.8f, 0.8f, 1};
    TGlColor Ambient{0.2f, 0.2f, 0.2f, 1};
    TGlColor Emission{0, 0, 0, 1};
    /// Transparent blending: drawn blended when the diffuse alpha is below 1.
    bool Blended = true;
    /// Adds its colour (times alpha) to what is behind; drawn with the transparent items.
    bool Additive = false;
    /// Index into TGlFrame::Surfaces.
    uint32_t Surface = 0;
};

/// Line segments (pairs of points) in one colour and width, in the frame of World.
struct TGlLines {
    uint64_t Id = 0;
    uint64_t Version = 0;
    TGlMatrix World;
    std::vector<TVector3f> Points;
    TGlColor Color{1, 1, 1, 1};
    float Width = 1;
    /// Points drawn as squares of NodeSize pixels (0: none), in the frame of World.
    std::vector<TVector3f> Nodes;
    float NodeSize = 0;
};

/// A line of text standing in the X-Y plane of World, facing +Z, Height tall, its baseline on
/// the origin, centred horizontally.
struct TGlText {
    uint64_t Id = 0;
    uint64_t Version = 0;
    TGlMatrix World;
    std::string Text;  ///< UTF-8
    std::string FontName;
    bool Bold = false;
    float Height = 1;
    TGlColor Color{0, 0, 0, 1};
};

struct TGlLight {
    bool On = false;
    TVector3f Position;  ///< world coordinates
    TGlColor Ambient{0, 0, 0, 1};
    TGlColor Diffuse{1, 1, 1, 1};
    TGlColor Specular{1, 1, 1, 1};
    float ConstantAttenuation = 1;
    float LinearAttenuation = 0;
    float QuadraticAttenuation = 0;
};

struct TGlFrame {
    /// Non-zero when the frame's builder can tell it is unchanged since the last Draw with the
    /// same revision; the renderer then skips its per-item preparation.
    uint64_t Revision = 0;
    TGlMatrix View;
    TGlMatrix Projection;
    TVector3f Eye;  ///< camera position in world coordinates
    TGlColor Background{0.5f, 0.5f, 0.5f, 1};
    bool ClearBackground = true;
    TGlColor GlobalAmbient{0.2f, 0.2f, 0.2f, 1};
    std::array<TGlLight, 8> Lights;
    std::vector<TGlSurface> Surfaces{TGlSurface{}};
    std::vector<TGlMeshItem> Meshes;
    std::vector<TGlLines> Lines;
    std::vector<TGlText> Texts;
};

/// Where to draw: a framebuffer object (0 for the default one) and its size in pixels.
struct TGlViewport {
    unsigned Framebuffer = 0;
    int Width = 0;
    int Height = 0;
};

}  // namespace kx
