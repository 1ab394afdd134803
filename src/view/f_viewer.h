// The 3D view widget: shows a scene through the renderer and hands the user's input on.
#pragma once

#include <cstdint>

// The renderer's GL loader comes before any header of Qt's that may pull in the system's gl.h.
#include <epoxy/gl.h>

#include <QOpenGLWidget>
#include <QPalette>
#include <QTimer>

#include "view/r_image.h"
#include "view/r_renderer.h"
#include "view/r_target.h"
#include "view/u_colour.h"
#include "view/u_scene.h"
#include "view/u_viewerinput.h"

namespace kx {

/// A colour setting as a 24-bit value (red in the lowest byte). Codes with the high bit set
/// (0x80000000 + index) name a system colour and are resolved through the palette, e.g.
/// 0x8000000F the button face; an unknown index gives the button face too. Other high bytes
/// are dropped.
uint32_t ResolveColorCode(uint32_t code, const QPalette& palette);
/// The same as a scene colour.
TColor3f SceneColorFromCode(uint32_t code, const QPalette& palette);

/// Draws a line of text with Qt's fonts, white on transparent, for texts standing in space.
bool RasterizeText(const std::string& text, const std::string& fontName, bool bold,
                   TTextPicture& picture);

/// The context format the view asks for: OpenGL 3.3 core, 24-bit depth, 8-bit stencil, and
/// the samples of the antialiasing mode (the driver's choice for Default).
QSurfaceFormat ViewerSurfaceFormat(TAntialias mode);

class TViewerWidget : public QOpenGLWidget {
    Q_OBJECT
public:
    explicit TViewerWidget(QWidget* parent = nullptr);
    ~TViewerWidget() override;

    /// The scene to show (not owned; nullptr shows the background only). Call Redraw after
    /// changing the scene.
    void SetScene(const TScene* scene);
    const TScene* Scene() const { return m_scene; }
    /// Looks through this camera of the scene instead of its main camera (nullptr: main).
    void SetCamera(const TSceneCamera* camera);
    /// Where input goes (not owned; nullptr drops it).
    void SetInputHandler(TViewerInput* handler) { m_input = handler; }
    void Redraw() { update(); }
    /// Redraws by itself when the scene's change counters move (checked every 20 ms while
    /// visible); on by default.
    void SetAutoRedraw(bool on);

    /// The view as it is drawn now, at its size in device pixels, with the scene's
    /// antialiasing; empty when there is no GL.
    TRgbaImage Snapshot();
    /// Why the view shows nothing, if it cannot draw (no usable OpenGL 3.3).
    const std::string& GlError() const { return m_glError; }
    TRenderer& Renderer() { return m_renderer; }
    /// The "lores" quality: parts switch to their coarse meshes from larger sizes on.
    void SetLowQuality(bool on);
    /// How long the camera must rest before the frame is drawn in full detail again.
    static constexpr int kRestMilliseconds = 250;

protected:
    void initializeGL() override;
    void paintGL() override;
    void resizeGL(int w, int h) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;

private:
    void CheckScene();
    void ReleaseGl();
    void DrawScene(unsigned framebuffer, int width, int height);
    void CameraRested();

    const TScene* m_scene = nullptr;
    TViewerInput* m_input = nullptr;
    TRenderer m_renderer;
    TGlRenderTarget m_target;
    std::string m_glError;
    QTimer* m_watch = nullptr;
    TSceneVersions m_drawnVersions;
    // While the camera moves, frames are drawn coarser; this brings the full frame after it.
    QTimer* m_rest = nullptr;
    TMatrix4f m_drawnView;
};

}  // namespace kx
