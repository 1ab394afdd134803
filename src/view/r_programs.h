// The renderer's shader programs and their uniform locations.
#pragma once

#include <string>

#include "view/r_globject.h"

namespace kx {

/// Lit surfaces: eight point lights per fragment, instance colours, optional texture.
struct TGlSurfaceProgram {
    TGlProgram Program;
    GLint ViewProj = -1;
    GLint SceneAmbient = -1;
    GLint Eye = -1;
    GLint LightCount = -1;
    GLint LightPos = -1;
    GLint LightAmbient = -1;
    GLint LightDiffuse = -1;
    GLint LightSpecular = -1;
    GLint LightAtten = -1;
    GLint Specular = -1;
    GLint Shininess = -1;
    GLint Lighting = -1;
    GLint UseTexture = -1;
    GLint AlphaCut = -1;  ///< texels less opaque than this are not drawn
    GLint Texture = -1;
    GLint FlatColor = -1;  ///< alpha > 0: draw every fragment in this colour
};

/// Back faces of a mesh as screen-space quads along their edges (the outline's first pass).
struct TGlOutlineProgram {
    TGlProgram Program;
    GLint ViewProj = -1;
    GLint Viewport = -1;
    GLint HalfWidth = -1;
    GLint FrontSign = -1;
    GLint Color = -1;
};

/// Lines with per-vertex colours; the wide variant expands each segment into a quad.
struct TGlLineProgram {
    TGlProgram Program;
    GLint ViewProj = -1;
    GLint Viewport = -1;
    GLint HalfWidth = -1;
};

struct TGlPrograms {
    /// Without the alpha cut: a shader that may discard a fragment has to be run before the
    /// depth test, so every hidden fragment of an untextured part would be shaded too.
    TGlSurfaceProgram Surface;
    /// Textured surfaces and texts, whose see-through texels are not drawn.
    TGlSurfaceProgram SurfaceCut;
    TGlOutlineProgram Outline;
    TGlLineProgram Lines;
    TGlLineProgram WideLines;

    /// Builds every program; false with the compiler's log when one fails.
    bool Build(std::string& error);
};

}  // namespace kx
