// The tube manager on the real main window: hoses laid by clicks in two views, a node dragged
// and one inserted, then back in the main view, the saved file and the manager opened again.
// The renderer's GL loader comes before Qt's GL headers.
#include "view/f_viewer.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>
#include <functional>

#include "app/Main.h"
#include "app/u_commandtable.h"
#include "generated/d_TubeManager.h"
#include "kx_gui_main.h"
#include "model/MainObj.h"

using namespace kx;

namespace {

/// Runs action on the tube manager as soon as it is open.
void WhenOpen(std::function<void(TDlgTubeManager&)> action) {
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        if (auto* dlg = qobject_cast<TDlgTubeManager*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            action(*dlg);
        }
    });
    timer->start();
}

/// The pixel of a view over a world point.
QPoint PixelOf(TDlgTubeManager& dlg, TTubeView view, const TVector3f& p) {
    const TViewerWidget* w = dlg.View(view);
    const TSceneCamera& cam = dlg.Manager().Camera(view);
    const TVector3f ndc =
        (cam.ProjectionMatrix(float(w->width()) / float(w->height())) * cam.ViewMatrix())
            .TransformPoint(p);
    return QPoint(int((ndc.X + 1) / 2 * float(w->width())),
                  int(float(w->height()) - (ndc.Y + 1) / 2 * float(w->height())));
}

void Click(TDlgTubeManager& dlg, TTubeView view, const TVector3f& p) {
    QTest::mouseClick(dlg.View(view), Qt::LeftButton, {}, PixelOf(dlg, view, p));
}

void Drag(TDlgTubeManager& dlg, TTubeView view, const TVector3f& from, const TVector3f& to) {
    QWidget* w = dlg.View(view);
    const QPoint a = PixelOf(dlg, view, from), b = PixelOf(dlg, view, to);
    QTest::mousePress(w, Qt::LeftButton, {}, a);
    QMouseEvent move(QEvent::MouseMove, QPointF(b), w->mapToGlobal(QPointF(b)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
    QTest::mouseRelease(w, Qt::LeftButton, {}, b);
}

void Trigger(QMenu* menu, const QString& name) {
    for (QAction* a : menu->actions()) {
        if (a->objectName() == name || a->text() == name) {
            a->trigger();
            return;
        }
    }
    QFAIL(qPrintable(QStringLiteral("no menu entry ") + name));
}

QTreeWidgetItem* NodeItem(TDlgTubeManager& dlg, int hose, int node) {
    QTreeWidgetItem* root = dlg.Tree()->topLevelItem(hose);
    return node < 0 ? root : root->child(node);
}

void Screenshot(QWidget& w, const char* name) {
    const QString dir = qEnvironmentVariable("KX_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
        QDir().mkpath(dir);
        w.grab().save(dir + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
    }
}

}  // namespace

class TestTubeManager : public QObject {
    Q_OBJECT
private slots:
    void hosesLaidInTheManagerReachTheModelAndComeBack() {
        QTemporaryDir dir;
        const std::string file = (dir.path() + QStringLiteral("/hoses.kxm")).toStdString();
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        TkxMain& model = form.Model();
        const std::vector<TVector3f> expected{
            {2, 5, 0}, {3, 4, 0}, {4, 3, 0}, {6, 3, 2}, {8, 3, -3}};
        bool ran = false;
        WhenOpen([&](TDlgTubeManager& dlg) {
            ran = true;
            QVERIFY(QTest::qWaitForWindowExposed(&dlg));
            QVERIFY(dlg.isMaximized());
            QCOMPARE(dlg.windowTitle(), QStringLiteral("Schlauch-Manager"));
            Trigger(dlg.NewHoseMenu(), QStringLiteral("menNewSchlauch1"));
            Trigger(dlg.GridMenu(), QStringLiteral("10 mm"));
            QVERIFY(dlg.findChild<QToolButton*>(QStringLiteral("btnNewPin"))->isChecked());
            // Half a grid step past each point: the grid truncates toward zero.
            Click(dlg, TTubeView::Side, {1.5f, 2.5f, 0});
            Click(dlg, TTubeView::Side, {4.5f, 3.5f, 0});
            Click(dlg, TTubeView::Top, {6.5f, 0, 2.5f});
            Click(dlg, TTubeView::Top, {8.5f, 0, -3.5f});
            QCOMPARE(NodeItem(dlg, 0, -1)->childCount(), 4);
            QCOMPARE(NodeItem(dlg, 0, 3)->text(0), QStringLiteral("Stützpunkt 4"));

            // The move tool starts on the first node; drag it in the side view.
            dlg.findChild<QToolButton*>(QStringLiteral("btnMove"))->click();
            QCOMPARE(dlg.Tree()->currentItem(), NodeItem(dlg, 0, 0));
            Drag(dlg, TTubeView::Side, {1.5f, 2.5f, 0}, {2.5f, 5.5f, 0});
            // Halfway between the first and the second node.
            dlg.Tree()->setCurrentItem(NodeItem(dlg, 0, 1));
            dlg.findChild<QAction*>(QStringLiteral("Zwischenpunkteinfgen1"))->trigger();
            const TPipeEx& hose = *dlg.Manager().Entries()[0].Hose;
            QCOMPARE(hose.Nodes(), expected);
            QCOMPARE(NodeItem(dlg, 0, -1)->childCount(), 5);

            // A drive spring of two nodes beside it.
            Trigger(dlg.NewHoseMenu(), QStringLiteral("menNewSchlauch5"));
            Click(dlg, TTubeView::Side, {-3.5f, 1.5f, 0});
            Click(dlg, TTubeView::Side, {-3.5f, 6.5f, 0});
            dlg.findChild<QToolButton*>(QStringLiteral("btnBack"))->click();
        });
        form.Commands().Action("menTubeManager")->trigger();
        QVERIFY(ran);

        // The hoses are in the model and drawn by the main view.
        auto hoses = model.Hoses();
        QCOMPARE(hoses.size(), size_t(2));
        QCOMPARE(hoses[0]->Nodes(), expected);
        QCOMPARE(hoses[0]->DisplayColour(), 0xFF4040u);
        QCOMPARE(hoses[1]->Tag(), 1);
        QVERIFY(model.IsModified());
        const uint64_t built = form.Viewer()->Renderer().TubeMeshesBuilt();
        form.Viewer()->Snapshot();
        QVERIFY(form.Viewer()->Renderer().TubeMeshesBuilt() >= built + 2 || built >= 2);

        // Saved, loaded again, and the manager shows them as they were.
        QVERIFY(model.SaveModell(file).Success);
        QVERIFY(model.LoadModell(file, true).Success);
        ran = false;
        WhenOpen([&](TDlgTubeManager& dlg) {
            ran = true;
            QCOMPARE(dlg.Tree()->topLevelItemCount(), 2);
            QCOMPARE(NodeItem(dlg, 0, -1)->text(0), QStringLiteral("Pneumatik (1)"));
            QCOMPARE(NodeItem(dlg, 1, -1)->text(0), QStringLiteral("Seilzug (2)"));
            QCOMPARE(NodeItem(dlg, 0, -1)->childCount(), 5);
            const TPipeEx& hose = *dlg.Manager().Entries()[0].Hose;
            QCOMPARE(hose.Nodes(), expected);
            QCOMPARE(hose.Tag(), 0);
            QCOMPARE(hose.SplineMode(), TSplineMode::lsmCubicSpline);
            QCOMPARE(dlg.Manager().Entries()[1].Hose->Radius(), 0.2f);
            dlg.close();
        });
        form.Commands().Action("menTubeManager")->trigger();
        QVERIFY(ran);
        QCOMPARE(model.Hoses().size(), size_t(2));
    }

    void theFourViewsShowTheSampleWithHosesOfEveryKind() {
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const std::string sample = std::string(KX_RUNTIME_DIR) + "/samples/Leitungen.kxm";
        QVERIFY(form.Model().LoadModell(sample, true).Success);
        QCOMPARE(form.Model().Hoses().size(), size_t(5));
        bool ran = false;
        WhenOpen([&](TDlgTubeManager& dlg) {
            ran = true;
            QVERIFY(QTest::qWaitForWindowExposed(&dlg));
            QStringList labels;
            for (int i = 0; i < dlg.Tree()->topLevelItemCount(); ++i) {
                labels << dlg.Tree()->topLevelItem(i)->text(0);
            }
            QCOMPARE(labels, (QStringList{"Pneumatik (1)", "Kabel (2)", "Kabel (3)", "Seilzug (4)",
                                          "Seilzug (5)"}));
            // The spring's third node chosen: its hose highlighted, its markers shown.
            dlg.Tree()->setCurrentItem(NodeItem(dlg, 4, 2));
            const TTubeEntry& spring = dlg.Manager().Entries()[4];
            QCOMPARE(spring.Hose->DisplayColour(), TTubeManager::kSelectedHoseColour);
            QVERIFY(spring.Markers[2]->Visible());
            QTest::qWait(300);
            for (TTubeView v :
                 {TTubeView::View3D, TTubeView::Side, TTubeView::Front, TTubeView::Top}) {
                const TRgbaImage image = dlg.View(v)->Snapshot();
                QVERIFY(!image.Empty());
                int pink = 0;
                for (int y = 0; y < image.Height; ++y) {
                    for (int x = 0; x < image.Width; ++x) {
                        const uint8_t* p = image.At(x, y);
                        pink += p[0] > 120 && p[2] > 120 && p[1] + 40 < p[0];
                    }
                }
                if (pink <= 20) {
                    Screenshot(dlg, "tubemanager-fail");
                }
                QVERIFY2(pink > 20, qPrintable(QString::number(int(v))));
            }
            Screenshot(dlg, "tubemanager");
            dlg.ShowViews(false, TTubeView::Top);
            QVERIFY(!dlg.Panel(TTubeView::Side)->isVisible());
            QVERIFY(dlg.Panel(TTubeView::Top)->isVisible());
            Screenshot(dlg, "tubemanager-top");
            dlg.ShowViews(true);
            dlg.close();
        });
        form.Commands().Action("menTubeManager")->trigger();
        QVERIFY(ran);
        // Closing writes the hoses back in their own colours.
        const auto hoses = form.Model().Hoses();
        QCOMPARE(hoses.size(), size_t(5));
        QCOMPARE(hoses[4]->DisplayColour(), hoses[4]->Colour());
        QTest::qWait(100);
        Screenshot(form, "mainview-hoses");
    }
};

KX_GUI_TEST_MAIN(TestTubeManager)

#include "test_tubemanager_gui.moc"
