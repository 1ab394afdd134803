// The road of placing a kit part on a model through the real widgets: a library drag dropped
// on empty space, a drag over the placed part, the drop, the connector window with a chosen
// pair, confirm, save and load again; the edit-mode buttons and the colour palette.
#include <QColorDialog>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <filesystem>
#include <memory>

#include "catalogue/f_SnapView.h"
#include "catalogue/u_partcache.h"
#include "catalogue/u_partfiles.h"
#include "foundation/u_language.h"
#include "foundation/u_param.h"
#include "kx_gui_main.h"
#include "model/MainObj.h"
#include "placement/f_Conn.h"
#include "view/f_EditModes.h"
#include "view/f_ViewerGlue.h"
#include "view/f_viewer.h"
#include "view/u_scene.h"
#include "view/u_sceneobjects.h"

using namespace kx;

namespace {

/// What the connector window showed and chose, read while it was open.
struct TSeen {
    int FixedConnector = 0;
    int NewConnector = 0;
    std::string NewName;
    int FixedItems = 0;
    QString MoveLabel;
    int Left = -1;
    int Top = -1;
};

/// The model's window: the connector window opens as the main window would open it.
class TWindowPorts : public TNullModelView {
public:
    TWindowPorts(TkxMain*& model, TDefCache& defs, QWidget* view)
        : m_model(model), m_defs(defs), m_view(view) {}
    void ShowConnectorWindow(TFreeForm& fixed, const std::string& number,
                             int preselected) override {
        TFormConn form(*m_model, m_defs, m_view->window());
        form.SetRedraw([this] { m_view->update(); });
        if (WhileOpen) {
            QTimer::singleShot(100, &form, [this, &form] { WhileOpen(form); });
        }
        form.Execute(fixed, number, preselected);
    }
    std::function<void(TFormConn&)> WhileOpen;

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

QString OutputDir() {
    const QString dir = QStringLiteral(KX_TEST_OUTPUT_DIR);
    QDir().mkpath(dir);
    return dir;
}

}  // namespace

class TestJoiningGui : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void placeJoinSaveAndLoadThroughTheWidgets();
    void cancelLeavesTheModelAsBefore();
    void modeButtonsPaletteAndHoldMenus();

private:
    void Drag(QEvent::Type type, QPoint at, const std::string& number);
    QPoint CentreOf(const TSceneObject& o) const;

    std::unique_ptr<QTemporaryDir> m_user;
    std::unique_ptr<TPartFiles> m_files;
    std::unique_ptr<TDefCache> m_defs;
    std::unique_ptr<TffCache> m_meshes;
    std::unique_ptr<TScene> m_scene;
    std::unique_ptr<QWidget> m_window;
    TViewerWidget* m_view = nullptr;
    TkxMain* m_modelPtr = nullptr;
    std::unique_ptr<TWindowPorts> m_ports;
    std::unique_ptr<TkxMain> m_model;
    std::unique_ptr<TQtViewerHost> m_host;
    std::unique_ptr<TViewerInteraction> m_viewer;
    std::unique_ptr<TViewerDropTarget> m_drop;
    std::vector<std::string> m_dropped;
};

void TestJoiningGui::init() {
    const std::filesystem::path kit = KX_RUNTIME_DIR;
    if (!std::filesystem::is_regular_file(kit / "def" / "40001.def")) {
        QSKIP("no kit built beside the tests");
    }
    m_user = std::make_unique<QTemporaryDir>();
    m_files = std::make_unique<TPartFiles>(kit, m_user->path().toStdString());
    m_defs = std::make_unique<TDefCache>();
    m_meshes = std::make_unique<TffCache>();
    m_scene = std::make_unique<TScene>();
    BuildMainScene(*m_scene);
    m_scene->Camera()->SetPosition({9, 9, -14});

    m_window = std::make_unique<QWidget>();
    m_window->resize(960, 640);
    m_view = new TViewerWidget(m_window.get());
    m_view->setGeometry(0, 0, 960, 640);
    m_view->SetScene(m_scene.get());

    m_ports = std::make_unique<TWindowPorts>(m_modelPtr, *m_defs, m_view);
    m_model = std::make_unique<TkxMain>(*m_scene, *m_files, *m_defs, *m_meshes);
    m_modelPtr = m_model.get();
    m_model->SetView(m_ports.get());
    m_host = std::make_unique<TQtViewerHost>(m_view);
    m_host->Dropped = [this](const std::string& number) { m_dropped.push_back(number); };
    m_viewer = std::make_unique<TViewerInteraction>(*m_model, *m_scene, *m_defs, *m_host);
    m_view->SetInputHandler(m_viewer.get());
    m_drop = std::make_unique<TViewerDropTarget>(m_view, *m_viewer);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestJoiningGui::cleanup() {
    m_drop.reset();
    if (m_view) {
        m_view->SetInputHandler(nullptr);
        m_view->SetScene(nullptr);
    }
    m_viewer.reset();
    m_host.reset();
    m_model.reset();
    m_window.reset();
    m_ports.reset();
    m_scene.reset();
    m_dropped.clear();
}

void TestJoiningGui::Drag(QEvent::Type type, QPoint at, const std::string& number) {
    QMimeData mime;
    mime.setData(QString::fromLatin1(PartMimeType), QByteArray::fromStdString(number));
    if (type == QEvent::DragEnter) {
        QDragEnterEvent e(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_view, &e);
        QVERIFY(e.isAccepted());
    } else if (type == QEvent::DragMove) {
        QDragMoveEvent e(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_view, &e);
        QVERIFY(e.isAccepted());
    } else {
        QDropEvent e(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_view, &e);
        QVERIFY(e.isAccepted());
    }
}

QPoint TestJoiningGui::CentreOf(const TSceneObject& o) const {
    const TSceneCamera& camera = *m_scene->Camera();
    const TVector3f p = o.AbsolutePosition();
    const float aspect = float(m_view->width()) / float(m_view->height());
    const TMatrix4f clip = camera.ProjectionMatrix(aspect) * camera.ViewMatrix();
    const TVector3f ndc = clip.TransformPoint(p);
    return {int((ndc.X + 1) / 2 * m_view->width()), int((1 - ndc.Y) / 2 * m_view->height())};
}

void TestJoiningGui::placeJoinSaveAndLoadThroughTheWidgets() {
    // A drop on empty space places the part at the origin and makes it a favourite.
    Drag(QEvent::DragEnter, {5, 5}, "40002");
    Drag(QEvent::DragMove, {5, 5}, "40002");
    Drag(QEvent::Drop, {5, 5}, "40002");
    QCOMPARE(m_model->Parts().Count(), size_t{0});  // nothing inside the drag-and-drop
    QTRY_COMPARE(m_model->Parts().Count(), size_t{1});
    QCOMPARE(m_dropped, std::vector<std::string>{"40002"});
    m_model->DeSelectAllBausteine();
    TFreeForm* fixed = m_model->Parts()[0].Object();

    // Dragging another part over it selects it and marks a connector.
    const QPoint over = CentreOf(*fixed) - QPoint(0, 6);
    Drag(QEvent::DragEnter, over, "40001");
    Drag(QEvent::DragMove, over, "40001");
    QCOMPARE(m_viewer->HoveredPart(), fixed);
    QCOMPARE(m_model->SelectedPart(), fixed);
    QVERIFY(m_viewer->PreselectedConnector() >= 0);
    QVERIFY(m_scene->FindObject("dcPlus")->Visible());
    const int preselected = m_viewer->PreselectedConnector();

    TSeen seen;
    m_ports->WhileOpen = [&](TFormConn& form) {
        seen.FixedItems = form.lbFix->count();
        QCOMPARE(form.Session().FixedConnector(), preselected + 1);
        // Another pair from the lists, a nudge, then the window is shot over the model.
        const int row = form.lbFix->currentRow() == 1 ? 2 : 1;
        form.lbFix->setCurrentRow(row);
        QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("btnLift4")), Qt::LeftButton);
        seen.MoveLabel = form.lblLift->text();
        form.findChild<QPushButton*>(QStringLiteral("btnLift1"))->click();
        seen.FixedConnector = form.Session().FixedConnector();
        seen.NewConnector = form.Session().NewConnector();
        seen.NewName = form.Session().NewName();

        QApplication::processEvents();
        QImage shot = ToQImage(m_view->Snapshot());
        if (!shot.isNull()) {
            QPainter painter(&shot);
            const QPixmap dialog = form.grab();
            painter.drawPixmap(shot.width() - dialog.width() - 10, 10, dialog);
            painter.end();
            shot.save(OutputDir() + QStringLiteral("/connector_window.png"));
        }
        form.move(123, 77);
        seen.Left = form.x();
        seen.Top = form.y();
        QTest::keyClick(&form, Qt::Key_Return);
    };
    Drag(QEvent::Drop, over, "40001");
    QVERIFY(!m_scene->FindObject("dcPlus")->Visible());
    QTRY_COMPARE(m_model->Parts().Count(), size_t{2});
    QVERIFY(seen.FixedItems > 2);
    QCOMPARE(seen.MoveLabel, QStringLiteral("5,0mm"));
    QVERIFY(!seen.NewName.empty());
    QCOMPARE(m_dropped.size(), size_t{2});

    const TBauteil* joined = m_model->FindBauteil(seen.NewName);
    QVERIFY(joined);
    const TVector3f position = joined->Position();
    const TVector3f direction = joined->Direction();
    const TVector3f up = joined->Up();
    // Lifted by the nudges (+50 and -50): back on the connector pair.
    QVERIFY(Distance(ConnectorAnchor(*joined->Object(), seen.NewConnector)->AbsolutePosition(),
                     ConnectorAnchor(*fixed, seen.FixedConnector)->AbsolutePosition()) < 1e-4f);
    // Confirming stores where the window stood.
    QCOMPARE(Param().GetConnWindowLeft(), seen.Left);
    QCOMPARE(Param().GetConnWindowTop(), seen.Top);

    const QString file = m_user->filePath(QStringLiteral("joined.kxm"));
    QVERIFY(m_model->SaveModell(file.toStdString()).Success);
    m_model->DeleteAll();
    QCOMPARE(m_model->Parts().Count(), size_t{0});
    QVERIFY(m_model->LoadModell(file.toStdString(), true).Success);
    QCOMPARE(m_model->Parts().Count(), size_t{2});
    const TBauteil* loaded = m_model->FindBauteil(seen.NewName);
    QVERIFY(loaded && loaded->Object());
    QVERIFY(Distance(loaded->Position(), position) < 1e-4f);
    QVERIFY(Distance(loaded->Direction(), direction) < 1e-4f);
    QVERIFY(Distance(loaded->Up(), up) < 1e-4f);
    const TBauteil* loadedFixed = m_model->FindBauteil(m_model->Parts()[0].Name());
    QVERIFY(
        Distance(ConnectorAnchor(*loaded->Object(), seen.NewConnector)->AbsolutePosition(),
                 ConnectorAnchor(*loadedFixed->Object(), seen.FixedConnector)->AbsolutePosition()) <
        1e-4f);
}

void TestJoiningGui::cancelLeavesTheModelAsBefore() {
    m_model->AddBaustein("40002");
    TFreeForm* fixed = m_model->Parts()[0].Object();
    m_model->SelectBaustein(fixed->Name());
    const size_t undo = m_model->UndoList().Count();
    m_ports->WhileOpen = [&](TFormConn& form) {
        form.findChild<QPushButton*>(QStringLiteral("btnRoll5"))->click();
        form.findChild<QPushButton*>(QStringLiteral("btnMove4"))->click();
        QTest::keyClick(&form, Qt::Key_Escape);
    };
    // Dropped away from the selected part: it still joins to the selected part.
    Drag(QEvent::DragEnter, {5, 5}, "40001");
    Drag(QEvent::DragMove, {5, 5}, "40001");
    Drag(QEvent::Drop, {5, 5}, "40001");
    QTRY_COMPARE(m_dropped.size(), size_t{1});
    QCOMPARE(m_model->Parts().Count(), size_t{1});
    QCOMPARE(m_model->UndoList().Count(), undo + 1);
    QCOMPARE(m_model->UndoList().Last().Action, std::string("Combine"));
}

void TestJoiningGui::modeButtonsPaletteAndHoldMenus() {
    TEditModeBar bar;
    bar.SetViewWidget(m_view);
    bar.Follow(m_viewer.get());
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    QCOMPARE(bar.ActiveColor(), 255u);

    QTest::mouseClick(bar.btnModeRot, Qt::LeftButton);
    QCOMPARE(m_viewer->Mode(), TEditMode::Rotate);
    QCOMPARE(m_view->cursor().shape(), Qt::SizeAllCursor);
    QVERIFY(!bar.btnModeSelect->isChecked());

    // A short click on the colour button only chooses the colour mode.
    QTest::mouseClick(bar.btnColor, Qt::LeftButton);
    QCOMPARE(m_viewer->Mode(), TEditMode::Color);
    QCOMPARE(m_view->cursor().shape(), Qt::CrossCursor);
    QVERIFY(!bar.ColorMenu()->isVisible());

    // Held for 300 ms it opens the palette; an item sets the active colour.
    QTest::mousePress(bar.btnColor, Qt::LeftButton);
    QTRY_VERIFY(bar.ColorMenu()->isVisible());
    QTest::mouseRelease(bar.btnColor, Qt::LeftButton);
    auto* blue = bar.ColorMenu()->findChild<QToolButton*>(QStringLiteral("mFarbe7"));
    QVERIFY(blue);
    blue->click();
    QCOMPARE(bar.ActiveColor(), 0xFF0000u);
    QCOMPARE(m_viewer->ActiveColor(), 0xFF0000u);
    QTRY_VERIFY(!bar.ColorMenu()->isVisible());

    // The select button's menu switches the selection mode.
    QTest::mouseClick(bar.btnModeSelect, Qt::LeftButton);
    QTest::mousePress(bar.btnModeSelect, Qt::LeftButton);
    QTRY_VERIFY(bar.SelectionMenu()->isVisible());
    QTest::mouseRelease(bar.btnModeSelect, Qt::LeftButton);
    bar.SelectionMenu()->actions()[1]->trigger();
    bar.SelectionMenu()->close();
    QVERIFY(m_viewer->MultiSelection());
    QCOMPARE(m_viewer->Mode(), TEditMode::Select);
    QCOMPARE(bar.SelectionMenu()->actions()[1]->text(),
             QString::fromStdString(Language().GetText("MAIN", 196, "Mehrfachauswahl")));

    // The free colour: the dialog's custom colours come from and go back to the settings.
    Param().SetCustomColors({"ColorA=123456", "ColorB=FF"});
    QTimer::singleShot(200, [] {
        if (auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget())) {
            dialog->setCurrentColor(QColor(0x11, 0x22, 0x33));
            dialog->accept();
        }
    });
    bar.ChooseFreeColor();
    QCOMPARE(bar.ActiveColor(), 0x332211u);
    const std::vector<std::string> stored = Param().GetCustomColors();
    QVERIFY(stored.size() >= 2);
    QCOMPARE(stored[0], std::string("ColorA=123456"));
    QCOMPARE(stored[1], std::string("ColorB=FF"));
}

KX_GUI_TEST_MAIN(TestJoiningGui)
#include "test_joining_gui.moc"
