// A sequence program on the real main window: the spindle sample's program drives the slide
// back and forth while kinematics mode is on; leaving the mode ends its runners and leaves the
// model as loaded.
// The renderer's GL loader comes before Qt's GL headers.
#include "view/f_viewer.h"

#include <QDir>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include "app/Main.h"
#include "app/u_kinematikmode.h"
#include "kx_gui_main.h"
#include "kx_gui_support.h"
#include "model/MainObj.h"
#include "sequence/joystickpoller.h"
#include "view/u_colour.h"
#include "view/u_sceneobjects.h"

using namespace kx;

namespace {

std::string PartOf(TkxMain& model, const std::string& number) {
    for (const auto& record : model.Parts()) {
        if (record->Name().substr(1, 5) == number) {
            return record->Name();
        }
    }
    return {};
}

uint32_t ObjectColour(TkxMain& model, const std::string& name) {
    return ColorToWin(model.PartObject(name)->Material().Diffuse().Rgb());
}

QByteArray ReadAll(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class TestAblaufGui : public QObject {
    Q_OBJECT
private slots:
    void sampleProgramMovesTheSlideBackAndForthAndEndsWithTheMode() {
        const QString sample = QStringLiteral(KX_RUNTIME_DIR "/samples/Spindelprogramm.kxm");
        QVERIFY(QFile::exists(sample));
        QTemporaryDir dir;
        TMainForm form;
        form.resize(900, 650);  // a small view draws fast enough for many steps a second
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.LoadFile(sample, true));
        TkxMain& model = form.Model();
        QCOMPARE(model.Ablauf().Blocks().size(), size_t(15));
        const std::string slide = PartOf(model, "40711");
        QVERIFY(!slide.empty());
        const QString before = dir.path() + "/before.kxm";
        QVERIFY(model.SaveModell(before.toStdString()).Success);
        const uint32_t colour = model.FindBauteil(slide)->Color();

        QToolButton* toggle = form.ToolButton("btnStartKinematik");
        QTest::mouseClick(toggle, Qt::LeftButton);
        QVERIFY(model.KinematikActive());
        QVERIFY(model.Ablauf().Running());
        QCOMPARE(model.Ablauf().Run()->RunnerCount(), size_t(1));
        QVERIFY(form.KinematikMode()->Joystick()->Active());

        // Watch the slide: every turn of its direction counts once it has travelled at least one
        // step (10 degrees of the spindle, 0.42 mm) since the last turn. A slow display makes
        // few steps in a pause, but some.
        float last = model.PartObject(slide)->Position().X;
        float turnPoint = last;
        int direction = 0;
        int turns = 0;
        bool coloured = false;
        QElapsedTimer clock;
        clock.start();
        while (turns < 4 && clock.elapsed() < 30000) {
            QTest::qWait(20);
            const float x = model.PartObject(slide)->Position().X;
            const int now = x > last ? 1 : (x < last ? -1 : 0);
            if (now != 0 && now != direction && std::abs(x - turnPoint) > 0.03f) {
                if (direction != 0) {
                    ++turns;
                }
                direction = now;
                turnPoint = x;
            }
            if (now != 0) {
                last = x;
            }
            coloured = coloured || ObjectColour(model, slide) != colour;
        }
        QVERIFY2(turns >= 4, qPrintable(QStringLiteral("%1 turns").arg(turns)));
        QVERIFY(coloured);
        QDir().mkpath(kxtest::ShotDir());
        form.grab().save(kxtest::ShotDir() + QStringLiteral("/sequence-program-running.png"));

        QTest::mouseClick(toggle, Qt::LeftButton);
        QVERIFY(!model.KinematikActive());
        QVERIFY(!model.Ablauf().Running());
        QVERIFY(!form.KinematikMode()->Joystick()->Active());
        QCOMPARE(ObjectColour(model, slide), colour);
        QVERIFY(!model.IsModified());
        const QString after = dir.path() + "/after.kxm";
        QVERIFY(model.SaveModell(after.toStdString()).Success);
        QCOMPARE(ReadAll(after), ReadAll(before));
    }
};

KX_GUI_TEST_MAIN(TestAblaufGui)
#include "test_ablauf_gui.moc"
