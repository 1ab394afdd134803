// The 3D view widget: shows a scene through the renderer and hands the user's input on.
#include "view/f_viewer.h"

#include <cstring>

#include <QFontMetrics>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QPainter>
#include <QWheelEvent>

namespace kx {

namespace {

uint32_t ToWin(const QColor& c) {
    return uint32_t(c.red()) | (uint32_t(c.green()) << 8) | (uint32_t(c.blue()) << 16);
}

TModifiers ToModifiers(Qt::KeyboardModifiers m) {
    return {m.testFlag(Qt::ShiftModifier), m.testFlag(Qt::ControlModifier),
            m.testFlag(Qt::AltModifier)};
}

TMouseButton ToButton(Qt::MouseButton b) {
    switch (b) {
        case Qt::LeftButton:
            return TMouseButton::Left;
        case Qt::RightButton:
            return TMouseButton::Right;
        case Qt::MiddleButton:
            return TMouseButton::Middle;
        default:
            return TMouseButton::None;
    }
}

int ToVirtualKey(int key) {
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) {
        return key;  // Qt uses the upper-case ASCII codes, as the virtual keys do
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) {
        return 0x70 + (key - Qt::Key_F1);
    }
    switch (key) {
        case Qt::Key_Backspace:
            return 0x08;
        case Qt::Key_Tab:
            return 0x09;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 0x0D;
        case Qt::Key_Shift:
            return 0x10;
        case Qt::Key_Control:
            return 0x11;
        case Qt::Key_Alt:
            return 0x12;
        case Qt::Key_Pause:
            return 0x13;
        case Qt::Key_Escape:
            return 0x1B;
        case Qt::Key_Space:
            return 0x20;
        case Qt::Key_PageUp:
            return 0x21;
        case Qt::Key_PageDown:
            return 0x22;
        case Qt::Key_End:
            return 0x23;
        case Qt::Key_Home:
            return 0x24;
        case Qt::Key_Left:
            return 0x25;
        case Qt::Key_Up:
            return 0x26;
        case Qt::Key_Right:
            return 0x27;
        case Qt::Key_Down:
            return 0x28;
        case Qt::Key_Insert:
            return 0x2D;
        case Qt::Key_Delete:
            return 0x2E;
        case Qt::Key_Plus:
            return 0xBB;
        case Qt::Key_Comma:
            return 0xBC;
        case Qt::Key_Minus:
            return 0xBD;
        case Qt::Key_Period:
            return 0xBE;
        default:
            return 0;
    }
}

}  // namespace

uint32_t ResolveColorCode(uint32_t code, const QPalette& palette) {
    if ((code & 0x80000000u) == 0) {
        return code & 0xFFFFFFu;
    }
    // The system colour table by index; what has no counterpart falls back to the button face.
    using R = QPalette::ColorRole;
    struct TEntry {
        QPalette::ColorGroup Group;
        R Role;
    };
    constexpr QPalette::ColorGroup A = QPalette::Active;
    static const TEntry table[31] = {
        {A, R::Button},                       // 0 scroll bar
        {A, R::Window},                       // 1 desktop
        {A, R::Highlight},                    // 2 active caption
        {A, R::Mid},                          // 3 inactive caption
        {A, R::Window},                       // 4 menu
        {A, R::Base},                         // 5 window
        {A, R::WindowText},                   // 6 window frame
        {A, R::WindowText},                   // 7 menu text
        {A, R::Text},                         // 8 window text
        {A, R::HighlightedText},              // 9 caption text
        {A, R::Window},                       // 10 active border
        {A, R::Window},                       // 11 inactive border
        {A, R::Dark},                         // 12 application work space
        {A, R::Highlight},                    // 13 highlight
        {A, R::HighlightedText},              // 14 highlighted text
        {A, R::Button},                       // 15 button face
        {A, R::Dark},                         // 16 button shadow
        {QPalette::Disabled, R::Text},        // 17 grey text
        {A, R::ButtonText},                   // 18 button text
        {QPalette::Disabled, R::WindowText},  // 19 inactive caption text
        {A, R::Light},                        // 20 button highlight
        {A, R::Shadow},                       // 21 3D dark shadow
        {A, R::Midlight},                     // 22 3D light
        {A, R::ToolTipText},                  // 23 info text
        {A, R::ToolTipBase},                  // 24 info background
        {A, R::Button},                       // 25 (unused)
        {A, R::Link},                         // 26 hot light
        {A, R::Highlight},                    // 27 gradient active caption
        {A, R::Mid},                          // 28 gradient inactive caption
        {A, R::Highlight},                    // 29 menu highlight
        {A, R::Window},                       // 30 menu bar
    };
    const uint32_t index = code & 0xFFu;
    const TEntry e = (code & 0x7FFFFF00u) == 0 && index < 31 ? table[index] : table[15];
    return ToWin(palette.color(e.Group, e.Role));
}

TColor3f SceneColorFromCode(uint32_t code, const QPalette& palette) {
    return ColorFromWin(ResolveColorCode(code, palette));
}

bool RasterizeText(const std::string& text, const std::string& fontName, bool bold,
                   TTextPicture& picture) {
    const QString qtext = QString::fromStdString(text);
    QFont font(QString::fromStdString(fontName));
    // Large enough that a text filling the view stays sharp; mipmaps serve the small ones.
    font.setPixelSize(64);
    font.setBold(bold);
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(qtext) + 4;
    const int height = metrics.height();
    if (qtext.isEmpty() || width <= 4 || height <= 0) {
        return false;
    }
    QImage image(width, height, QImage::Format_RGBA8888);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(2, metrics.ascent(), qtext);
    }
    // The painter leaves premultiplied edges only in premultiplied formats; this one is plain.
    picture.Image.Width = width;
    picture.Image.Height = height;
    picture.Image.Pixels.resize(size_t(width) * height * 4);
    for (int y = 0; y < height; ++y) {
        std::memcpy(&picture.Image.Pixels[size_t(y) * width * 4], image.constScanLine(y),
                    size_t(width) * 4);
    }
    picture.Baseline = metrics.ascent();
    return true;
}

QSurfaceFormat ViewerSurfaceFormat(TAntialias mode) {
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setVersion(3, 3);
    format.setProfile(QSurfaceFormat::CoreProfile);
    format.setDepthBufferSize(24);
    format.setStencilBufferSize(8);
    // Counted samples are drawn in the renderer's own buffer, so a change in the options
    // takes effect without a new context; only the driver's default is left to the context.
    format.setSamples(mode == TAntialias::Default ? -1 : 0);
    return format;
}

TViewerWidget::TViewerWidget(QWidget* parent) : QOpenGLWidget(parent) {
    setFormat(ViewerSurfaceFormat(TAntialias::None));
    m_renderer.SetTextRasterizer(RasterizeText);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    m_watch = new QTimer(this);
    m_watch->setInterval(20);
    connect(m_watch, &QTimer::timeout, this, &TViewerWidget::CheckScene);
    m_watch->start();
    m_rest = new QTimer(this);
    m_rest->setSingleShot(true);
    m_rest->setInterval(kRestMilliseconds);
    connect(m_rest, &QTimer::timeout, this, &TViewerWidget::CameraRested);
}

void TViewerWidget::SetLowQuality(bool on) {
    TDetailSettings detail = m_renderer.Detail();
    detail.LowQuality = on;
    m_renderer.SetDetail(detail);
    update();
}

void TViewerWidget::CameraRested() {
    TDetailSettings detail = m_renderer.Detail();
    if (detail.Moving) {
        detail.Moving = false;
        m_renderer.SetDetail(detail);
        update();
    }
}

void TViewerWidget::SetAutoRedraw(bool on) {
    if (on) {
        m_watch->start();
    } else {
        m_watch->stop();
    }
}

void TViewerWidget::CheckScene() {
    if (m_scene && isVisible() && !(m_scene->Versions() == m_drawnVersions)) {
        update();
    }
}

TViewerWidget::~TViewerWidget() {
    if (context()) {
        // The base class destroys the context after this object's members are gone.
        disconnect(context(), nullptr, this, nullptr);
        makeCurrent();
        ReleaseGl();
        doneCurrent();
    }
}

void TViewerWidget::SetScene(const TScene* scene) {
    m_scene = scene;
    update();
}

void TViewerWidget::ReleaseGl() {
    m_renderer.ReleaseGl();
    m_target = TGlRenderTarget();
}

void TViewerWidget::initializeGL() {
    if (!m_renderer.Initialize(&m_glError)) {
        qWarning("3D view: %s", m_glError.c_str());
    }
    // The context goes away when the widget moves to another window; its objects with it.
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, [this] {
        makeCurrent();
        ReleaseGl();
        doneCurrent();
    });
}

void TViewerWidget::SetCamera(const TSceneCamera* camera) {
    m_renderer.SetCamera(camera);
    update();
}

void TViewerWidget::DrawScene(unsigned framebuffer, int width, int height) {
    const int samples = AntialiasSamples(m_scene->Antialias());
    if (samples > 0 && m_target.Resize(width, height, samples)) {
        m_renderer.Draw(*m_scene, m_target.Viewport());
        m_target.BlitTo(framebuffer);
    } else {
        m_renderer.Draw(*m_scene, {framebuffer, width, height});
    }
}

void TViewerWidget::paintGL() {
    const int w = int(width() * devicePixelRatioF());
    const int h = int(height() * devicePixelRatioF());
    if (!m_scene || !m_renderer.Valid()) {
        const QColor c = palette().color(QPalette::Button);
        glClearColor(c.redF(), c.greenF(), c.blueF(), 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        return;
    }
    m_drawnVersions = m_scene->Versions();
    // A camera that moved since the last frame is likely to move on: draw coarser until it
    // rests, so orbiting a big model keeps up with the mouse.
    if (const TSceneCamera* camera = m_scene->Camera()) {
        const TMatrix4f view = camera->ViewMatrix();
        if (!(view.M == m_drawnView.M)) {
            m_drawnView = view;
            TDetailSettings detail = m_renderer.Detail();
            detail.Moving = true;
            m_renderer.SetDetail(detail);
            m_rest->start();
        }
    }
    DrawScene(defaultFramebufferObject(), w, h);
}

void TViewerWidget::resizeGL(int, int) {
    if (m_input) {
        m_input->Resized(width(), height());
    }
}

TRgbaImage TViewerWidget::Snapshot() {
    if (!m_scene || !context()) {
        return {};
    }
    makeCurrent();
    const int w = int(width() * devicePixelRatioF());
    const int h = int(height() * devicePixelRatioF());
    TRgbaImage image =
        m_renderer.RenderImage(*m_scene, w, h, AntialiasSamples(m_scene->Antialias()));
    doneCurrent();
    return image;
}

namespace {

// The view's handler works in the widget's own (logical) pixels, as the host reports the view's
// size and drag positions in them: on a scaled screen, device pixels would pick off the mark.
TPointerEvent ToPointer(const QMouseEvent& e) {
    TPointerEvent p;
    p.X = int(e.position().x());
    p.Y = int(e.position().y());
    p.Button = ToButton(e.button());
    p.LeftDown = e.buttons().testFlag(Qt::LeftButton);
    p.RightDown = e.buttons().testFlag(Qt::RightButton);
    p.MiddleDown = e.buttons().testFlag(Qt::MiddleButton);
    p.Modifiers = ToModifiers(e.modifiers());
    return p;
}

TKeyEvent ToKey(const QKeyEvent& e) {
    return {ToVirtualKey(e.key()), e.text().toStdString(), e.isAutoRepeat(),
            ToModifiers(e.modifiers())};
}

}  // namespace

void TViewerWidget::mousePressEvent(QMouseEvent* e) {
    if (m_input) {
        m_input->MouseDown(ToPointer(*e));
    }
}

void TViewerWidget::mouseMoveEvent(QMouseEvent* e) {
    if (m_input) {
        m_input->MouseMove(ToPointer(*e));
    }
}

void TViewerWidget::mouseReleaseEvent(QMouseEvent* e) {
    if (m_input) {
        m_input->MouseUp(ToPointer(*e));
    }
}

void TViewerWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    if (m_input) {
        m_input->DoubleClick(ToPointer(*e));
    }
}

void TViewerWidget::wheelEvent(QWheelEvent* e) {
    if (m_input) {
        m_input->MouseWheel({int(e->position().x()), int(e->position().y()), e->angleDelta().y(),
                             ToModifiers(e->modifiers())});
    }
    e->accept();
}

void TViewerWidget::keyPressEvent(QKeyEvent* e) {
    if (m_input) {
        m_input->KeyDown(ToKey(*e));
    }
    QOpenGLWidget::keyPressEvent(e);
}

void TViewerWidget::keyReleaseEvent(QKeyEvent* e) {
    if (m_input) {
        m_input->KeyUp(ToKey(*e));
    }
    QOpenGLWidget::keyReleaseEvent(e);
}

}  // namespace kx

#include "moc_f_viewer.cpp"
