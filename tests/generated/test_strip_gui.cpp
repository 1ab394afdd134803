// The road of a home-made plastic strip through the real widgets: made in the strip editor,
// dragged into the model, an axle joined into one of its holes, saved, and loaded again by a
// fresh program with an empty per-user folder.
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QMimeData>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <memory>

#include "catalogue/f_SnapView.h"
#include "catalogue/u_library.h"
#include "catalogue/u_partcache.h"
#include "catalogue/u_partfiles.h"
#include "generated/d_HalbzeugEditor.h"
#include "kx_gui_main.h"
#include "kx_gui_support.h"
#include "model/MainObj.h"
#include "placement/f_Conn.h"
#include "placement/u_connect.h"
#include "view/f_ViewerGlue.h"
#include "view/f_viewer.h"
#include "view/u_scene.h"
#include "view/u_sceneobjects.h"

using namespace kx;

namespace {

/// The connector window opens as the main window would open it, and is confirmed at once.
class TWindowPorts : public TNullModelView {
public:
    TWindowPorts(TkxMain*& model, TDefCache& defs, QWidget* view)
        : m_model(model), m_defs(defs), m_view(view) {}
    void ShowConnectorWindow(TFreeForm& fixed, const std::string& number,
                             int preselected) override {
        TFormConn form(*m_model, m_defs, m_view->window());
        QTimer::singleShot(100, &form, [&form] { QTest::keyClick(&form, Qt::Key_Return); });
        form.Execute(fixed, number, preselected);
    }

private:
    TkxMain*& m_model;
    TDefCache& m_defs;
    QWidget* m_view;
};

QImage ToQImage(const TRgbaImage& image) {
    QImage q(image.Width, image.Height, QImage::Format_RGBA8888);
    for (int y = 0; y < image.Height; ++y) {
        memcpy(q.scanLine(y), image.At(0, y), size_t(image.Width) * 4);
    }
    return q;
}

QString ShotPath(const char* name) {
    return kxtest::ShotDir() + QStringLiteral("/") + QLatin1String(name);
}

}  // namespace

class TestStripGui : public QObject {
    Q_OBJECT

private slots:
    void makeDragJoinSaveAndLoadInAFreshProgram();

private:
    void Drop(const std::string& number);
    void EnterStep(THalbzeugEditor& editor, int kind, double x, double d, int modeIndex);
};

void TestStripGui::EnterStep(THalbzeugEditor& editor, int kind, double x, double d, int modeIndex) {
    editor.findChild<QComboBox*>(QStringLiteral("Kind"))->setCurrentIndex(kind);
    editor.findChild<QDoubleSpinBox*>(QStringLiteral("X1"))->setValue(x);
    editor.findChild<QDoubleSpinBox*>(QStringLiteral("D"))->setValue(d);
    if (modeIndex >= 0) {
        editor.findChild<QComboBox*>(QStringLiteral("Mode"))->setCurrentIndex(modeIndex);
    }
    QTest::mouseClick(editor.findChild<QPushButton*>(QStringLiteral("btnAdd")), Qt::LeftButton);
}

void TestStripGui::makeDragJoinSaveAndLoadInAFreshProgram() {
    const std::filesystem::path kit = KX_RUNTIME_DIR;
    if (!std::filesystem::is_regular_file(kit / "def" / "40301.def")) {
        QSKIP("no kit built beside the tests");
    }
    QTemporaryDir user;
    TPartFiles files(kit, user.path().toStdString());
    TDefCache defs;
    TffCache meshes;
    TScene scene;
    BuildMainScene(scene);
    scene.Camera()->SetPosition({30, 25, 40});
    scene.CameraTarget()->SetPosition({15, 5, 0});
    scene.Camera()->SetDirection(scene.CameraTarget()->Position() - scene.Camera()->Position());
    scene.CameraLightToCamera();

    QWidget window;
    window.resize(960, 640);
    auto* view = new TViewerWidget(&window);
    view->setGeometry(0, 0, 960, 640);
    view->SetScene(&scene);
    TkxMain* modelPtr = nullptr;
    TWindowPorts ports(modelPtr, defs, view);
    TkxMain model(scene, files, defs, meshes);
    modelPtr = &model;
    model.SetView(&ports);
    TQtViewerHost host(view);
    TViewerInteraction viewer(model, scene, defs, host);
    view->SetInputHandler(&viewer);
    TViewerDropTarget drop(view, viewer);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // The strip: three 5 mm holes and a bend between the second and the third.
    TPartLibrary library;
    THalbzeugEditor editor(model, &library);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    EnterStep(editor, 1, 100, 5, -1);
    EnterStep(editor, 1, 150, 5, -1);
    EnterStep(editor, 1, 300, 5, -1);
    EnterStep(editor, 5, 200, 0, 0);  // +90
    EnterStep(editor, 0, 320, 0, -1);
    QCOMPARE(editor.Steps().size(), size_t{5});
    QVERIFY(editor.FailedSteps().empty());
    // A hole that would begin before the strip says why and is marked, then goes again.
    EnterStep(editor, 1, 2, 5, -1);
    QCOMPARE(editor.FailedSteps(), std::vector<size_t>{5});
    QVERIFY(editor.StatusText().contains(QStringLiteral("6")));
    QCOMPARE(editor.StepTable()->item(5, 0)->foreground().color(), QColor(0xb0, 0, 0));
    editor.StepTable()->setCurrentCell(5, 0);
    QTest::mouseClick(editor.findChild<QPushButton*>(QStringLiteral("btnRemove")), Qt::LeftButton);
    QCOMPARE(editor.Steps().size(), size_t{5});
    QVERIFY(editor.FailedSteps().empty());
    QCOMPARE(editor.StepTable()->rowCount(), 5);
    QApplication::processEvents();
    QTest::qWait(100);
    editor.grab().save(ShotPath("editor.png"));

    QVERIFY(!model.IsModified());
    QTest::mouseClick(editor.findChild<QPushButton*>(QStringLiteral("btnOK")), Qt::LeftButton);
    QCOMPARE(editor.StoredNumber(), std::string("X0001"));
    QVERIFY(model.IsModified());
    QCOMPARE(model.SemiFinishedParts().size(), size_t{1});
    const auto& tiles = library.Page({TLibrarySet::New, NewObjectsTab}).Items;
    QCOMPARE(tiles.size(), size_t{1});
    QCOMPARE(tiles[0].Number(), std::string("X0001"));
    QVERIFY(std::filesystem::exists(std::filesystem::path(user.path().toStdString()) / "def" /
                                    "X0001.def"));

    // Dragged from the library into the model: dropped on empty space, it stands at the origin.
    Drop("X0001");
    QTRY_COMPARE(model.Parts().Count(), size_t{1});
    TFreeForm* strip = model.Parts()[0].Object();
    QVERIFY(strip && strip->Mesh() && strip->Mesh()->TriangleCount() > 1000);

    // An axle into the strip's second hole.
    model.Combine(*strip, "40301", 1);
    QTRY_COMPARE(model.Parts().Count(), size_t{2});
    const std::string stripName = model.Parts()[0].Name();
    const std::string axleName = model.Parts()[1].Name();
    const TVector3f axlePosition = model.Parts()[1].Position();
    const TVector3f hole = ConnectorAnchor(*strip, 2)->AbsolutePosition();
    QVERIFY(Distance(hole, strip->LocalToAbsolute({150, 0, 0})) < 0.05f);
    scene.CameraTarget()->SetPosition(hole);
    scene.Camera()->SetDirection(hole - scene.Camera()->Position());
    scene.CameraLightToCamera();
    view->Redraw();
    QTest::qWait(100);
    const QImage shot = ToQImage(view->Snapshot());
    if (!shot.isNull()) {
        shot.save(ShotPath("model.png"));
    }

    const QString file = user.filePath(QStringLiteral("strip.kxm"));
    QVERIFY(model.SaveModell(file.toStdString()).Success);

    // A fresh program: new caches, new scene, an empty per-user folder.
    QTemporaryDir freshUser;
    TPartFiles freshFiles(kit, freshUser.path().toStdString());
    TDefCache freshDefs;
    TffCache freshMeshes;
    TScene freshScene;
    BuildMainScene(freshScene);
    TkxMain fresh(freshScene, freshFiles, freshDefs, freshMeshes);
    const TModelFileResult loaded = fresh.LoadModell(file.toStdString(), true);
    QVERIFY(loaded.Success);
    QVERIFY(loaded.MissingParts.empty());
    QCOMPARE(fresh.Parts().Count(), size_t{2});
    const TBauteil* freshStrip = fresh.FindBauteil(stripName);
    const TBauteil* freshAxle = fresh.FindBauteil(axleName);
    QVERIFY(freshStrip && freshStrip->Object() && freshAxle);
    QCOMPARE(freshStrip->Object()->Mesh()->TriangleCount(), strip->Mesh()->TriangleCount());
    QVERIFY(Distance(freshAxle->Position(), axlePosition) < 1e-4f);
    QVERIFY(Distance(ConnectorAnchor(*freshStrip->Object(), 2)->AbsolutePosition(), hole) < 1e-4f);

    view->SetInputHandler(nullptr);
    view->SetScene(nullptr);
}

void TestStripGui::Drop(const std::string& number) {
    for (QWidget* w : QApplication::allWidgets()) {
        auto* v = qobject_cast<TViewerWidget*>(w);
        if (!v || v->objectName() == QStringLiteral("Preview")) {
            continue;
        }
        QMimeData mime;
        mime.setData(QString::fromLatin1(PartMimeType), QByteArray::fromStdString(number));
        const QPoint at{5, 5};
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(v, &enter);
        QDragMoveEvent move(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(v, &move);
        QDropEvent dropped(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(v, &dropped);
        QVERIFY(dropped.isAccepted());
        return;
    }
    QFAIL("no 3D view");
}

KX_GUI_TEST_MAIN(TestStripGui)
#include "test_strip_gui.moc"
