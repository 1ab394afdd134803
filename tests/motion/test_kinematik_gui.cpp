// Kinematics mode on the real main window: the spindle sample moves and turns round at its
// rules, the model is locked while it runs and is as loaded afterwards; the jog dial.
// The renderer's GL loader comes before Qt's GL headers.
#include "view/f_viewer.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include "app/Main.h"
#include "app/d_SaveChanges.h"
#include "app/d_Message.h"
#include "app/u_commandtable.h"
#include "app/u_kinematikmode.h"
#include "foundation/u_param.h"
#include "kx_gui_main.h"
#include "kx_gui_support.h"
#include "model/MainObj.h"
#include "motion/d_Jog.h"
#include "motion/u_JogTypes.h"
#include "motion/u_MotorPanel.h"
#include "view/u_sceneobjects.h"

using namespace kx;
using kxtest::AnswerNextDialog;

namespace {

const QString kShots = kxtest::ShotDir();

QByteArray ReadAll(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::string PartOf(TkxMain& model, const std::string& number) {
    for (const auto& record : model.Parts()) {
        if (record->Name().substr(1, 5) == number) {
            return record->Name();
        }
    }
    return {};
}

void Press(QToolButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
    QCoreApplication::processEvents();
}

void SaveShot(QWidget* widget, const QString& name) {
    QDir().mkpath(kShots);
    widget->grab().save(kShots + QLatin1Char('/') + name);
}

/// Moves the pointer over the dial's label.
void Point(TdlgJog* dial, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, at, dial->Label()->mapToGlobal(at), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(dial->Label(), &move);
}

/// ... and presses a button there.
void PointAndPress(TdlgJog* dial, QPoint at, Qt::MouseButton button) {
    Point(dial, at);
    QTest::mousePress(dial->Label(), button, Qt::NoModifier, at);
}

}  // namespace

class TestKinematikGui : public QObject {
    Q_OBJECT
private slots:
    void spindleSampleRunsReversesAtItsRulesAndLeavesTheModelAsLoaded() {
        const QString sample = QStringLiteral(KX_RUNTIME_DIR "/samples/Spindelantrieb.kxm");
        QVERIFY(QFile::exists(sample));
        QTemporaryDir dir;
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.LoadFile(sample, true));
        TkxMain& model = form.Model();
        const std::string slide = PartOf(model, "40711");
        QVERIFY(!slide.empty());
        const TVector3f start = model.PartObject(slide)->Position();
        QVERIFY(model.SaveModell((dir.path() + "/before.kxm").toStdString()).Success);

        QToolButton* toggle = form.ToolButton("btnStartKinematik");
        Press(toggle);
        QVERIFY(toggle->isChecked());
        QVERIFY(model.KinematikActive());
        TKinematikMode& mode = *form.KinematikMode();
        QVERIFY(mode.KineTimer()->isActive());
        QVERIFY(form.MotorArea()->isVisible());
        QVERIFY(!form.LibraryArea()->isVisible());
        QVERIFY(mode.Panel(1)->isVisible());
        QVERIFY(!mode.Panel(2)->isVisible());
        QCOMPARE(mode.Panel(1)->Status(), 2);
        QVERIFY(mode.Panel(1)->Image()->isVisible());
        // Locked: menus, shortcuts and buttons that change the model.
        QVERIFY(!form.Commands().Menu("menDatei")->menuAction()->isEnabled());
        QVERIFY(!form.Commands().Action("menSave")->isEnabled());
        QVERIFY(!form.Commands().Execute("menNew"));
        QVERIFY(!form.Commands().Execute("menRefresh"));
        QVERIFY(!form.ToolButton("btnDelete")->isEnabled());
        QVERIFY(!form.ToolButton("btnKugeln")->isEnabled());
        QVERIFY(!form.PartsTree()->isEnabled());
        QVERIFY(form.Commands().Menu("menSammlung")->menuAction()->isEnabled());

        // The steps the timer would make, counted here.
        mode.KineTimer()->stop();
        std::vector<float> xs;
        for (int i = 0; i < 200; ++i) {
            mode.Tick();
            xs.push_back(model.PartObject(slide)->Position().X);
        }
        SaveShot(&form, QStringLiteral("kinematics-window.png"));
        SaveShot(form.MotorArea(), QStringLiteral("motor-strip.png"));
        // Left first, round at the left rule, all the way right, round at the right rule.
        const auto lowest = std::min_element(xs.begin(), xs.end());
        const auto highest = std::max_element(lowest, xs.end());
        QVERIFY(*lowest < start.X - 2.3f && *lowest > start.X - 2.5f);
        QVERIFY(*highest > start.X + 2.3f && *highest < start.X + 2.5f);
        QVERIFY(highest != xs.end() - 1);
        QVERIFY(xs.back() < *highest);
        QCOMPARE(mode.Panel(1)->Status(), 2);
        // The panel's buttons and track bar switch the motor from the next step on.
        QTest::mouseClick(mode.Panel(1)->Button(0), Qt::LeftButton);
        const float stopped = model.PartObject(slide)->Position().X;
        mode.Tick();
        QCOMPARE(model.PartObject(slide)->Position().X, stopped);
        QTest::mouseClick(mode.Panel(1)->Button(1), Qt::LeftButton);
        mode.Panel(1)->TrackBar()->setValue(10);
        mode.Tick();
        QVERIFY(model.PartObject(slide)->Position().X > stopped);
        QCOMPARE(mode.Panel(1)->Status(), 1);

        Press(toggle);
        QVERIFY(!toggle->isChecked());
        QVERIFY(!model.KinematikActive());
        QVERIFY(!mode.KineTimer()->isActive());
        QVERIFY(form.LibraryArea()->isVisible());
        QVERIFY(form.PartsTree()->isEnabled());
        QVERIFY(form.Commands().Action("menSave")->isEnabled());
        QCOMPARE(model.PartObject(slide)->Position(), start);
        QVERIFY(model.SaveModell((dir.path() + "/after.kxm").toStdString()).Success);
        QCOMPARE(ReadAll(dir.path() + "/after.kxm"), ReadAll(dir.path() + "/before.kxm"));
        QCOMPARE(ReadAll(dir.path() + "/after.kxm"), ReadAll(sample));
    }

    void theMovingSamplesMoveInTheWindow() {
        struct TCase {
            const char* File;
            const char* Driven;  ///< a part the motion reaches through a link
            const char* Shot;
        };
        const TCase cases[] = {
            {"Zahnradgetriebe.kxm", "40707", "gear-train.png"},
            {"Kran.kxm", "40004", "crane.png"},
        };
        for (const TCase& c : cases) {
            TMainForm form;
            form.show();
            QVERIFY(QTest::qWaitForWindowExposed(&form));
            QVERIFY(form.LoadFile(QStringLiteral(KX_RUNTIME_DIR "/samples/") + c.File, true));
            TkxMain& model = form.Model();
            const std::string driven = PartOf(model, c.Driven);
            QVERIFY(!driven.empty());
            const TVector3f up = model.PartObject(driven)->Up();
            const TVector3f at = model.PartObject(driven)->Position();
            Press(form.ToolButton("btnStartKinematik"));
            form.KinematikMode()->KineTimer()->stop();
            for (int i = 0; i < 40; ++i) {
                form.KinematikMode()->Tick();
            }
            QVERIFY2(
                model.PartObject(driven)->Up() != up || model.PartObject(driven)->Position() != at,
                c.File);
            SaveShot(&form, QString::fromLatin1(c.Shot));
            Press(form.ToolButton("btnStartKinematik"));
            QCOMPARE(model.PartObject(driven)->Position(), at);
        }
    }

    void closingTheWindowLeavesTheModeBeforeItAsks() {
        TMainForm form;
        form.show();
        QVERIFY(form.LoadFile(QStringLiteral(KX_RUNTIME_DIR "/samples/Zahnradgetriebe.kxm"), true));
        Press(form.ToolButton("btnStartKinematik"));
        QVERIFY(form.KinematikMode()->Active());
        // Unsaved work, so that closing asks.
        form.Model().MarkModified();
        bool stoppedWhenAsked = false;
        AnswerNextDialog<TdlgSaveChanges>([&](TdlgSaveChanges* dlg) {
            stoppedWhenAsked =
                !form.KinematikMode()->Active() && !form.KinematikMode()->KineTimer()->isActive();
            dlg->CancelButton()->click();
        });
        form.close();
        QVERIFY(stoppedWhenAsked);
        QVERIFY(form.isVisible());
        QVERIFY(!form.ToolButton("btnStartKinematik")->isChecked());
    }

    void jogDialDeleteDoesNothingWhileKinematicsRuns() {
        TMainForm form;
        form.show();
        QVERIFY(form.LoadFile(QStringLiteral(KX_RUNTIME_DIR "/samples/Zahnradgetriebe.kxm"), true));
        TkxMain& model = form.Model();
        const size_t parts = model.Parts().Count();
        Press(form.ToolButton("btnStartKinematik"));
        model.SelectBaustein(model.Parts().begin()->get()->Name());
        // Sector 4 (straight down) holds "delete" by default.
        AnswerNextDialog<TdlgJog>([](TdlgJog* dial) {
            QCOMPARE(dial->Slot(4), 1);
            PointAndPress(dial, {150, 260}, Qt::LeftButton);
        });
        form.RunJogDial(100, 100);
        QCOMPARE(model.Parts().Count(), parts);
        QVERIFY(!form.Commands().Execute("menUndo"));
        Press(form.ToolButton("btnStartKinematik"));

        // In edit mode the same dial deletes the selected part.
        model.SelectBaustein(model.Parts().begin()->get()->Name());
        AnswerNextDialog<TdlgJog>([](TdlgJog* dial) {
            PointAndPress(dial, {150, 260}, Qt::LeftButton);
        });
        form.RunJogDial(100, 100);
        QCOMPARE(model.Parts().Count(), parts - 1);
    }

    void jogDialPicksSectorsRunsOnAnOuterClickAndKeepsItsChoices() {
        Param().SetJog(2, 257);  // one byte would make this 1, "delete"
        TMainForm form;
        form.show();
        TdlgJog dial(&form);
        QCOMPARE(dial.Slot(0), 14);
        QCOMPARE(dial.Slot(1), 0);
        QCOMPARE(dial.Slot(7), 13);
        dial.PlaceAt({10, 10});
        dial.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dial));
        QCOMPARE(dial.pos(), QPoint(0, 0));
        QCOMPARE(dial.CurrentSector(), 0);

        PointAndPress(&dial, {250, 150}, Qt::LeftButton);  // right by 100: sector 2
        QCOMPARE(dial.CurrentSector(), 2);
        QCOMPARE(dial.Label()->text().toStdString(), JogTypeCaption(5));
        QCOMPARE(dial.ResultType(), 5);
        QCOMPARE(dial.result(), int(QDialog::Accepted));

        TdlgJog inner(&form);
        inner.show();
        Point(&inner, {250, 150});
        QTest::mousePress(inner.Label(), Qt::LeftButton, Qt::NoModifier, {170, 160});
        QVERIFY(inner.isVisible());  // inside the inner circle nothing happens
        QCOMPARE(inner.CurrentSector(), 2);
        SaveShot(&inner, QStringLiteral("jog-dial.png"));
        // The right button assigns the sector a command; "Leer" empties it.
        inner.Chooser = [](int sector) { return sector == 2 ? 0 : -1; };
        QTest::mousePress(inner.Label(), Qt::RightButton, Qt::NoModifier, {250, 150});
        QCOMPARE(inner.Slot(2), 0);
        QCOMPARE(Param().GetJog(3), 0);
        QTest::keyClick(&inner, Qt::Key_Escape);
        QVERIFY(!inner.isVisible());
        QCOMPARE(inner.ResultType(), 0);

        TdlgJog middle(&form);
        middle.show();
        QTest::mousePress(middle.Label(), Qt::MiddleButton, Qt::NoModifier, {250, 150});
        QVERIFY(!middle.isVisible());
        QCOMPARE(middle.ResultType(), 0);

        // The chooser offers "Leer" and the types whose command the window can run.
        const auto available = [&form](int type) {
            return form.Commands().Bound(JogTypeCommand(type));
        };
        TdlgSelectJogType chooser(&form, available);
        int offered = 1;
        for (int type = 1; type <= kJogTypeCount; ++type) {
            offered += available(type) ? 1 : 0;
        }
        QCOMPARE(chooser.List()->count(), offered);
        QVERIFY(offered > 5);
        chooser.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chooser));
        SaveShot(&chooser, QStringLiteral("jog-chooser.png"));
        QTest::mouseClick(chooser.List()->viewport(), Qt::LeftButton, Qt::NoModifier,
                          chooser.List()->visualItemRect(chooser.List()->item(1)).center());
        QCOMPARE(chooser.Result(), chooser.List()->item(1)->data(Qt::UserRole).toInt());
    }

    void collisionBodiesButtonHidesAndShowsTheCollisionParts() {
        TMainForm form;
        form.show();
        QVERIFY(form.LoadFile(QStringLiteral(KX_RUNTIME_DIR "/samples/Spindelantrieb.kxm"), true));
        TkxMain& model = form.Model();
        const std::string body = PartOf(model, "COL01");
        const std::string slide = PartOf(model, "40711");
        QToolButton* bodies = form.ToolButton("btnKugeln");
        QVERIFY(bodies->isChecked());
        QVERIFY(model.PartObject(body)->Visible());
        Press(bodies);
        QVERIFY(!model.PartObject(body)->Visible());
        QVERIFY(model.PartObject(slide)->Visible());
        Press(bodies);
        QVERIFY(model.PartObject(body)->Visible());
    }
};

KX_GUI_TEST_MAIN(TestKinematikGui)
#include "test_kinematik_gui.moc"
