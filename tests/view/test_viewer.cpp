// The 3D view widget under a real window system: it draws the scene (lit, transparent,
// textured, outlined), resolves system colours and hands input on as plain events.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QtTest>

#include <vector>

#include "render_test_support.h"
#include "view/f_viewer.h"

using namespace kx;

namespace {

class TRecorder : public TViewerInput {
public:
    void MouseDown(const TPointerEvent& e) override { Pointers.push_back({'D', e}); }
    void MouseMove(const TPointerEvent& e) override { Pointers.push_back({'M', e}); }
    void MouseUp(const TPointerEvent& e) override { Pointers.push_back({'U', e}); }
    void MouseWheel(const TWheelEvent& e) override { Wheels.push_back(e); }
    void KeyDown(const TKeyEvent& e) override { Keys.push_back(e); }
    std::vector<std::pair<char, TPointerEvent>> Pointers;
    std::vector<TWheelEvent> Wheels;
    std::vector<TKeyEvent> Keys;
};

using kxtest::AddPart;

// Pictures go where the test runs (the build tree), so a person can look at them.
QString PicturePath(const char* name) {
    return QDir::current().filePath(name);
}

int CountPixels(const QImage& image, bool (*pred)(QColor)) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            n += pred(image.pixelColor(x, y));
        }
    }
    return n;
}

}  // namespace

class TestViewer : public QObject {
    Q_OBJECT
private slots:
    void ResolvesSystemColourCodes();
    void ShowsTheSceneLitTransparentTexturedAndOutlined();
    void HandsInputOnAsPlainEvents();
};

void TestViewer::ResolvesSystemColourCodes() {
    QPalette palette;
    palette.setColor(QPalette::Button, QColor(10, 20, 30));
    palette.setColor(QPalette::Highlight, QColor(1, 2, 3));
    QCOMPARE(ResolveColorCode(0x8000000Fu, palette), 10u + 20u * 256 + 30u * 65536);
    QCOMPARE(ResolveColorCode(0x8000000Du, palette), 1u + 2u * 256 + 3u * 65536);
    // Not a known index: the button face rather than black.
    QCOMPARE(ResolveColorCode(0x800000FFu, palette), 10u + 20u * 256 + 30u * 65536);
    // Plain colours pass; a stray high byte is dropped.
    QCOMPARE(ResolveColorCode(0x0000FFu, palette), 0x0000FFu);
    QCOMPARE(ResolveColorCode(0x020000FFu, palette), 0x0000FFu);
    const TColor3f c = SceneColorFromCode(0x8000000Fu, palette);
    QVERIFY(std::abs(c.R - 10 / 255.0f) < 1e-6f && std::abs(c.B - 30 / 255.0f) < 1e-6f);
}

void TestViewer::ShowsTheSceneLitTransparentTexturedAndOutlined() {
    QTemporaryDir dir;
    // A checker texture with a magenta border: its top-left colour is cut away.
    TRgbaImage texture;
    texture.Width = texture.Height = 32;
    texture.Pixels.resize(32 * 32 * 4);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            uint8_t* p = texture.At(x, y);
            const bool border = x < 2 || y < 2 || x > 29 || y > 29;
            const bool white = ((x / 8) + (y / 8)) % 2 == 0;
            p[0] = border ? 255 : (white ? 255 : 20);
            p[1] = border ? 0 : (white ? 255 : 120);
            p[2] = border ? 255 : (white ? 255 : 40);
            p[3] = 255;
        }
    }
    const std::string texFile = QDir(dir.path()).filePath("checker.png").toStdString();
    QVERIFY(SavePng(texFile, texture));

    TScene scene;
    BuildMainScene(scene);
    TViewerWidget view;
    scene.SetBackgroundColor(SceneColorFromCode(0x8000000Fu, view.palette()));
    scene.Camera()->SetPosition({9, 8, -15});
    scene.CameraLightToCamera();

    auto& red = AddPart(scene, "F31001_1", kxtest::MakeBox(40, 15, 15), {0.85f, 0.1f, 0.1f, 1},
                        {-3, 0.75f, 1});
    AddPart(scene, "F31002_1", kxtest::MakeCylinder(8, 45, 32), {1, 0.8f, 0.1f, 1}, {0, 2.25f, 2});
    AddPart(scene, "F31003_1", kxtest::MakeBox(60, 15, 15), {0.2f, 0.4f, 1, 0.45f},
            {-0.5f, 0.75f, -2});
    auto& textured =
        AddPart(scene, "F31004_1", kxtest::MakeBox(30, 30, 30), {1, 1, 1, 1}, {3.5f, 1.5f, 0});
    textured.LibMaterial()->SetTextureFile(texFile);
    textured.LibMaterial()->SetTextureTopLeftTransparent(true);
    for (int kind = 0; kind < 2; ++kind) {
        auto& arrow = red.AddNewChild<TArrowLine>("");
        arrow.SetColor(kind == 0 ? TColor3f{1, 1, 0} : TColor3f{0, 0, 1});
        arrow.SetPosition({kind == 0 ? 20.0f : -20.0f, 7.5f, 0});
        arrow.SetDirection({0, 1, 0});
    }

    auto& label = scene.FindObject("dcMeasurements")->AddNewChild<TSpaceText>("");
    label.SetText("40 mm");
    label.SetHeight(0.6f);
    label.SetColor({0.1f, 0.1f, 0.6f});
    label.SetPosition({-3, 2, 1});
    label.SetDirection({0, 0, -1});  // facing the camera

    view.SetScene(&scene);
    view.resize(480, 360);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QVERIFY2(view.GlError().empty(), view.GlError().c_str());

    // A change in the scene is drawn without being asked for.
    int frames = 0;
    connect(&view, &QOpenGLWidget::frameSwapped, [&frames] { ++frames; });
    QTest::qWait(100);
    const int settled = frames;
    scene.Camera()->SetPosition({9.5f, 8, -15});
    QTRY_VERIFY(frames > settled);
    scene.Camera()->SetPosition({9, 8, -15});
    QTRY_VERIFY(frames > settled + 1);

    const QImage lit = view.grabFramebuffer();
    QVERIFY(lit.save(PicturePath("viewer_lit.png")));
    QCOMPARE(lit.width(), 480);
    QCOMPARE(lit.pixelColor(2, 2), view.palette().color(QPalette::Button));
    auto yellow = [](QColor c) { return c.red() > 200 && c.green() > 200 && c.blue() < 60; };
    auto blue = [](QColor c) { return c.blue() > 200 && c.red() < 60 && c.green() < 60; };
    auto redish = [](QColor c) { return c.red() > 150 && c.green() < 60 && c.blue() < 60; };
    QVERIFY(CountPixels(lit, yellow) > 20);
    QVERIFY(CountPixels(lit, blue) > 5);
    QVERIFY(CountPixels(lit, redish) > 200);

    // The outline mode as the model switches it on: a shader on every library material,
    // alpha 1 while it is there.
    for (const TMaterialPtr& m : scene.MaterialLibrary().Materials()) {
        m->SetShader(TOutLineShader{});
        m->SetDiffuseAlpha(1);
    }
    view.Redraw();
    const QImage outlined = view.grabFramebuffer();
    QVERIFY(outlined.save(PicturePath("viewer_outline.png")));
    auto dark = [](QColor c) { return c.red() < 40 && c.green() < 40 && c.blue() < 40; };
    QVERIFY(CountPixels(outlined, dark) > CountPixels(lit, dark) + 500);

    // The snapshot for the picture commands shows the same view, with antialiasing if set.
    scene.SetAntialias(TAntialias::x4);
    const TRgbaImage snapshot = view.Snapshot();
    QCOMPARE(snapshot.Width, 480);
    QCOMPARE(snapshot.Height, 360);
    const uint8_t* corner = snapshot.At(2, 2);
    const QColor button = view.palette().color(QPalette::Button);
    QVERIFY(std::abs(corner[0] - button.red()) <= 1 && std::abs(corner[2] - button.blue()) <= 1);
    view.Redraw();
    const QImage smooth = view.grabFramebuffer();
    QVERIFY(smooth.save(PicturePath("viewer_outline_msaa.png")));
}

void TestViewer::HandsInputOnAsPlainEvents() {
    TViewerWidget view;
    TRecorder recorder;
    view.SetInputHandler(&recorder);
    view.resize(200, 150);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    QTest::mousePress(&view, Qt::LeftButton, Qt::ShiftModifier, QPoint(10, 20));
    QTest::mouseRelease(&view, Qt::LeftButton, Qt::ShiftModifier, QPoint(12, 22));
    QCOMPARE(recorder.Pointers.size(), size_t(2));
    QCOMPARE(recorder.Pointers[0].first, 'D');
    QCOMPARE(recorder.Pointers[0].second.X, 10);
    QCOMPARE(recorder.Pointers[0].second.Y, 20);
    QVERIFY(recorder.Pointers[0].second.Button == TMouseButton::Left);
    QVERIFY(recorder.Pointers[0].second.LeftDown);
    QVERIFY(recorder.Pointers[0].second.Modifiers.Shift);
    QCOMPARE(recorder.Pointers[1].first, 'U');
    QVERIFY(!recorder.Pointers[1].second.LeftDown);

    QWheelEvent wheel(QPointF(30, 40), view.mapToGlobal(QPointF(30, 40)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&view, &wheel);
    QCOMPARE(recorder.Wheels.size(), size_t(1));
    QCOMPARE(recorder.Wheels[0].Delta, 120);
    QVERIFY(recorder.Wheels[0].Modifiers.Ctrl);

    QTest::keyClick(&view, Qt::Key_F3);
    QTest::keyClick(&view, Qt::Key_A);
    QTest::keyClick(&view, Qt::Key_Left, Qt::AltModifier);
    // The modifier key itself comes first, as its own key.
    QCOMPARE(recorder.Keys.size(), size_t(4));
    QCOMPARE(recorder.Keys[0].Key, 0x72);
    QCOMPARE(recorder.Keys[1].Key, int('A'));
    QCOMPARE(recorder.Keys[1].Text, std::string("a"));
    QCOMPARE(recorder.Keys[2].Key, 0x12);
    QCOMPARE(recorder.Keys[3].Key, 0x25);
    QVERIFY(recorder.Keys[3].Modifiers.Alt);
}

QTEST_MAIN(TestViewer)
#include "test_viewer.moc"
