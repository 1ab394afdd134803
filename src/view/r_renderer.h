// The OpenGL 3.3 core renderer: draws a frame (flattened scene) into the current context.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "view/r_frame.h"
#include "view/r_image.h"
#include "view/u_detail.h"
#include "view/u_scene.h"

namespace kx {

class TGlMeshCache;
struct TGlPrograms;

/// What the last Draw did; tests read it to see that unchanged items cost no upload.
struct TRenderStats {
    int DrawCalls = 0;
    int InstancedBatches = 0;
    int InstanceUploads = 0;  ///< batches whose instance buffer was written
    int LineUploads = 0;
    int TransparentItems = 0;
    uint64_t Triangles = 0;
    int Items = 0;        ///< mesh items of the frame with geometry
    int CulledItems = 0;  ///< wholly outside the view
    int CoarseItems = 0;  ///< drawn with a simpler mesh than their detailed one
    int HiddenItems = 0;  ///< too small to draw
};

/// Reads a texture file into pixels; the default reads PNG, BMP and JPEG.
using TTextureLoader = std::function<bool(const std::string& path, TRgbaImage& image)>;

/// A line of text as a picture: white (or any colour) on transparent, and where its baseline
/// lies, in pixels from the top. The renderer colours it with the text's colour.
struct TTextPicture {
    TRgbaImage Image;
    int Baseline = 0;
};
/// Rasterises a text in a font; false if it cannot (then the text is not drawn).
using TTextRasterizer = std::function<bool(const std::string& text, const std::string& fontName,
                                           bool bold, TTextPicture& picture)>;

class TRenderer {
public:
    TRenderer();
    ~TRenderer();
    TRenderer(const TRenderer&) = delete;
    TRenderer& operator=(const TRenderer&) = delete;

    /// Builds the programs in the current context; false with a reason if the GL cannot.
    /// Draw calls it on first use.
    bool Initialize(std::string* error = nullptr);
    bool Valid() const { return m_valid; }
    const std::string& Error() const { return m_error; }

    /// Draws the frame into the viewport's framebuffer; the context that was current at
    /// Initialize must be current.
    void Draw(const TGlFrame& frame, const TGlViewport& viewport);

    /// Draws the scene: the camera, lights, background and every visible object. Work is
    /// redone only for what the scene's change counters say changed.
    void Draw(const TScene& scene, const TGlViewport& viewport);

    /// How much of each part Draw draws (culling, level of detail, the camera moving).
    void SetDetail(const TDetailSettings& settings) { m_detail = settings; }
    const TDetailSettings& Detail() const { return m_detail; }

    /// Draws into an offscreen buffer of the given size with that many samples per pixel
    /// (0: none) and returns the picture, always in full detail; empty if the GL fails.
    TRgbaImage RenderImage(const TGlFrame& frame, int width, int height, int samples = 0);
    TRgbaImage RenderImage(const TScene& scene, int width, int height, int samples = 0);

    void SetTextureLoader(TTextureLoader loader);
    /// Texts in space are drawn only with a rasterizer (the view widget sets one).
    void SetTextRasterizer(TTextRasterizer rasterizer);
    /// Forgets every texture, so changed files are read again.
    void ClearTextures();
    /// Frees every GL object; call with the context current before it goes away.
    void ReleaseGl();

    const TRenderStats& LastStats() const { return m_stats; }
    /// Draws scenes through this camera of theirs instead of the main camera (nullptr: main).
    void SetCamera(const TSceneCamera* camera);
    /// Hose shapes tessellated so far (only hoses whose shape changed are).
    uint64_t TubeMeshesBuilt() const;

    // For the benchmark's reference drawing: the mesh cache and the lit program set up with a
    // frame's camera and lights (the program stays bound).
    TGlMeshCache& MeshCache();
    void UseSurfaceProgram(const TGlFrame& frame, const TGlViewport& viewport);

private:
    struct TImpl;
    std::unique_ptr<TImpl> m_impl;
    bool m_valid = false;
    bool m_tried = false;
    std::string m_error;
    TRenderStats m_stats;
    TDetailSettings m_detail;
};

}  // namespace kx
