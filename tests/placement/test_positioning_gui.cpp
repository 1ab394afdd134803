// The coordinates manager and the measurements on the real main window: moving and turning a
// selection with its buttons and sliders, undo, a typed position, a dimension between two
// parts that follows them, and the same dimension after saving and loading.
// The renderer's GL loader comes before Qt's GL headers.
#include "view/f_viewer.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "app/Main.h"
#include "app/u_commandtable.h"
#include "kx_gui_main.h"
#include "kx_gui_support.h"
#include "model/MainObj.h"
#include "placement/ValuePanel.h"
#include "placement/d_MeasureManager.h"
#include "placement/f_koordinaten.h"
#include "view/u_scene.h"
#include "view/u_sceneobjects.h"

using namespace kx;

namespace {

bool Near(const TVector3f& a, const TVector3f& b, float tolerance = 1e-4f) {
    return Distance(a, b) < tolerance;
}

QString ShotPath(const char* name) {
    const QString dir = QStringLiteral(KX_SHOTS_DIR);
    QDir().mkpath(dir);
    return dir + QStringLiteral("/") + QString::fromLatin1(name) + QStringLiteral(".png");
}

}  // namespace

class TestPositioningGui : public QObject {
    Q_OBJECT
private slots:
    void coordinatesManagerAndMeasurementsOnTheMainWindow() {
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        TkxMain& model = form.Model();
        const std::string a = model.AddBaustein("40001");
        const std::string b = model.AddBaustein("40002");
        const std::string c = model.AddBaustein("40001");
        QVERIFY(!a.empty() && !b.empty() && !c.empty());
        const auto place = [&](const std::string& name, TVector3f at, float turn) {
            model.PartObject(name)->SetPosition(at);
            model.PartObject(name)->SetTurnAngle(turn);
            model.RefreshBauteil(name, false, -1);
        };
        place(a, {0, 0, 0}, 30);
        place(b, {4, 0, 0}, 0);
        place(c, {0, 0, -4}, 0);
        TFreeForm* pa = model.PartObject(a);
        TFreeForm* pb = model.PartObject(b);

        // The manager shows nothing to act on until a part is selected.
        QVERIFY(form.Commands().Execute("menCoordinates"));
        TFormKoordinaten* k = form.CoordinatesManager();
        QVERIFY(k && k->isVisible());
        QVERIFY(!k->Tabs()->isEnabled());
        QCOMPARE(k->StatusText(1), QStringLiteral("Kein Bauteil ausgewählt"));

        model.SelectBaustein(a);
        model.CoSelectBaustein(b, true, false, true);
        model.CoSelectBaustein(c, true, false, true);
        QCOMPARE(k->StatusText(0), QString::fromStdString(a));
        QVERIFY(k->Tabs()->isEnabled());
        QCOMPARE(k->CentreBox()->count(), 7);  // "Mittelpunkt" and six connectors

        // +5 mm along the part's direction, the co-selected parts with it; then a quarter turn.
        const TVector3f a0 = pa->Position(), b0 = pb->Position(), dir = pa->Direction();
        const size_t snapshots = model.UndoList().Count();
        QCOMPARE(k->StepButton(2, 3)->text(), QStringLiteral("+5"));
        k->StepButton(2, 3)->click();
        QVERIFY(Near(pa->Position(), a0 + dir * 0.5f));
        QVERIFY(Near(pb->Position(), b0 + dir * 0.5f));
        QVERIFY(Near(model.FindBauteil(b)->Position(), b0 + dir * 0.5f));
        k->StepButton(4, 4)->click();
        QVERIFY(std::abs(Dot(pa->Direction(), dir)) < 1e-4f);
        QCOMPARE(model.UndoList().Count(), snapshots + 2);
        // A slider moves without a snapshot.
        k->Tabs()->setCurrentIndex(1);
        QVERIFY(k->Slider(2)->DragBy(20));
        QCOMPARE(k->Slider(2)->Text(), QStringLiteral("0,50 mm"));
        QCOMPARE(model.UndoList().Count(), snapshots + 2);

        // Undo goes back one button press at a time.
        QVERIFY(form.Commands().Execute("menUndo"));
        QVERIFY(Near(model.PartObject(a)->Position(), a0 + dir * 0.5f));
        QVERIFY(form.Commands().Execute("menUndo"));
        QVERIFY(Near(model.PartObject(a)->Position(), a0));
        QVERIFY(Near(model.PartObject(b)->Position(), b0));
        pa = model.PartObject(a);
        pb = model.PartObject(b);
        QCOMPARE(k->StatusText(0), QString::fromStdString(a));

        // Four quarter turns about connector 2 give the poses back.
        k->Tabs()->setCurrentIndex(0);
        k->CentreBox()->setCurrentIndex(2);
        QVERIFY(form.Scene().FindObject("dcMiddle")->ShowAxes());
        for (int i = 0; i < 4; ++i) {
            k->StepButton(4, 4)->click();
        }
        QVERIFY(Near(pa->Position(), a0));
        QVERIFY(Near(pb->Position(), b0));

        // A typed position, applied with Enter; the window stays open.
        k->Tabs()->setCurrentIndex(2);
        QCOMPARE(k->ValueField(0)->text(), QStringLiteral("0,00"));
        k->ValueField(0)->setText(QStringLiteral("1.234,5"));
        k->ValueField(0)->setFocus();
        QTest::keyClick(k->ValueField(0), Qt::Key_Return);
        QVERIFY(k->isVisible());
        QVERIFY(Near(pa->Position(), {123.45f, 0, 0}));
        QVERIFY(Near(pb->Position(), b0 + TVector3f{123.45f, 0, 0}));
        QCOMPARE(k->ValueField(0)->text(), QStringLiteral("1.234,50"));
        k->grab().save(ShotPath("coordinates-values"));
        k->Tabs()->setCurrentIndex(1);
        k->grab().save(ShotPath("coordinates-sliders"));
        k->Tabs()->setCurrentIndex(0);
        k->grab().save(ShotPath("coordinates"));
        k->ValueField(0)->setText(QStringLiteral("0"));
        QTest::keyClick(k->ValueField(0), Qt::Key_Return);

        // "Bemaßung einfügen" wants exactly two parts.
        kxtest::AnswerNextDialog<QMessageBox>([](QMessageBox* box) { box->accept(); });
        QVERIFY(form.Commands().Execute("menAddMeasurement"));
        QVERIFY(model.Measurements().empty());

        model.SelectBaustein(a);
        model.CoSelectBaustein(b, true, false, true);
        QVERIFY(form.Commands().Execute("menAddMeasurement"));
        QCOMPARE(model.Measurements().size(), size_t(1));
        TdlgMeasureManager* manager = form.MeasureManager();
        QVERIFY(manager && manager->isVisible());
        QCOMPARE(manager->List()->count(), 1);
        QCOMPARE(manager->List()->item(0)->text(), QStringLiteral("Bemaßung 1"));
        QVERIFY(manager->Panel()->isEnabled());
        const TMeasurement& m = *model.Measurements()[0];
        QCOMPARE(QString::fromStdString(m.Text1()->Text()), QStringLiteral("40,00mm"));
        QVERIFY(m.Highlighted);

        // Move one part with the manager: the text follows.
        model.SelectBaustein(b);
        k->StepButton(0, 0)->click();  // 5 mm to the left of the part: away from a
        QCOMPARE(QString::fromStdString(m.Text1()->Text()), QStringLiteral("45,00mm"));
        // And a field of the measurement manager: the base line below the points.
        for (int i = 0; i < 4; ++i) {
            QVERIFY(manager->Slider(TMeasureField::BaseLine)->DragBy(-20));
        }
        QCOMPARE(manager->Slider(TMeasureField::BaseLine)->Text(), QStringLiteral("8,0 mm"));
        QCOMPARE(m.DimensionLine()->Nodes()[0].Y, 0.8f);

        // Saved and loaded again: the same measurement, drawn.
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("measured.kxm"));
        form.FileChooser = [file](bool, const QString&) { return file; };
        form.SaveModelAsCommand();
        QVERIFY(form.LoadFile(file, true));
        QVERIFY(!form.MeasureManager());
        QCOMPARE(model.Measurements().size(), size_t(1));
        const TMeasurement& loaded = *model.Measurements()[0];
        QVERIFY(loaded.HasDrawing());
        QCOMPARE(QString::fromStdString(loaded.Text1()->Text()), QStringLiteral("45,00mm"));
        QCOMPARE(loaded.BaseLineHeight, 0.8);
        QCOMPARE(loaded.Part1, static_cast<TSceneObject*>(model.PartObject(a)));
        QVERIFY(form.Commands().Execute("menMeasurements"));
        QCOMPARE(form.MeasureManager()->List()->count(), 1);

        // Three dimensions on the model for the picture; closing the manager un-highlights.
        model.SelectBaustein(a);
        model.CoSelectBaustein(c, true, false, true);
        QVERIFY(form.Commands().Execute("menAddMeasurement"));
        model.SelectBaustein(b);
        model.CoSelectBaustein(c, true, false, true);
        QVERIFY(form.Commands().Execute("menAddMeasurement"));
        QCOMPARE(form.MeasureManager()->List()->count(), 3);
        form.MeasureManager()->grab().save(ShotPath("measuremanager"));
        form.MeasureManager()->close();
        for (const auto& each : model.Measurements()) {
            QVERIFY(!each->Highlighted);
        }
        form.Scene().Camera()->SetPosition({5, 9, 12});
        form.Scene().CameraTarget()->SetPosition({1.5f, 0, -1});
        form.Scene().CameraLightToCamera();
        form.Snapshot().save(ShotPath("measurements"));

        // Deleting every measurement in the manager leaves it empty and disabled.
        QVERIFY(form.Commands().Execute("menMeasurements"));
        TdlgMeasureManager* again = form.MeasureManager();
        while (again->List()->count() > 0) {
            again->DeleteButton()->click();
        }
        QVERIFY(model.Measurements().empty());
        QVERIFY(!again->Panel()->isEnabled());
        QVERIFY(!again->DeleteButton()->isEnabled());

        // Duplicate from the main menu: three parts become six.
        model.SelectBaustein(a);
        model.CoSelectBaustein(b, true, false, true);
        model.CoSelectBaustein(c, true, false, true);
        QVERIFY(form.Commands().Execute("menDuplicate"));
        QCOMPARE(model.Parts().Count(), size_t(6));
        QVERIFY(model.SelectedPart() != model.PartObject(a));
        QVERIFY(Near(model.SelectedPart()->Position(), model.PartObject(a)->Position()));
    }
};

KX_GUI_TEST_MAIN(TestPositioningGui)

#include "test_positioning_gui.moc"
