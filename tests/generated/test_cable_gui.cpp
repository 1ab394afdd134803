// Cables, rounding and the school library's boxes on the real windows: a cable laid between
// two plugs through its window and kept by the model file, the all-parts rounding window, the
// rounding dialog's limit and the library selection writing userbib.ini.
// The renderer's GL loader comes before Qt's GL headers.
#include "view/f_viewer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QtTest>

#include "app/Main.h"
#include "app/u_commandtable.h"
#include "catalogue/u_normals.h"
#include "catalogue/u_partcache.h"
#include "catalogue/u_partfiles.h"
#include "catalogue/u_stl.h"
#include "foundation/u_param.h"
#include "foundation/u_text.h"
#include "generated/d_RoundPart.h"
#include "generated/d_SelectLibrary.h"
#include "generated/f_Kabel.h"
#include "generated/f_RoundFF.h"
#include "kx_gui_main.h"
#include "kx_gui_support.h"
#include "model/MainObj.h"
#include "view/u_sceneobjects.h"

using namespace kx;

namespace {

void PlacePlug(TkxMain& model, const std::string& name, const TVector3f& at,
               const TVector3f& direction) {
    TFreeForm* plug = model.PartObject(name);
    QVERIFY(plug);
    plug->SetPosition(at);
    plug->SetDirection(direction);
    model.RefreshBauteil(name, false, -1);
}

void Shot(QWidget& w, const char* name) {
    w.grab().save(kxtest::ShotDir() + QLatin1Char('/') + QLatin1String(name));
}

/// A strip of `facets` flat faces bent around an axis, as a round part's mesh.
TMesh Ring(int facets) {
    TMesh m;
    for (int i = 0; i < facets; ++i) {
        const float a0 = 6.2831853f * float(i) / float(facets);
        const float a1 = 6.2831853f * float(i + 1) / float(facets);
        const TVector3f b0{std::cos(a0), 0, std::sin(a0)}, b1{std::cos(a1), 0, std::sin(a1)};
        const TVector3f t0 = b0 + TVector3f{0, 1, 0}, t1 = b1 + TVector3f{0, 1, 0};
        m.Positions.insert(m.Positions.end(), {b0, b1, t1, t1, t0, b0});
        m.Normals.insert(m.Normals.end(), 6, Normalized(b0 + b1));
    }
    return m;
}

}  // namespace

class TestCableGui : public QObject {
    Q_OBJECT
private slots:
    void aCableBetweenTwoPlugsIsSavedAndLoaded() {
        QTemporaryDir dir;
        const std::string file = (dir.path() + QStringLiteral("/kabel.kxm")).toStdString();
        TMainForm form;
        form.resize(1100, 760);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        TkxMain& model = form.Model();
        // A battery box and a lamp block beside it; a plug in each of their sockets, the pins
        // pointing into the sockets.
        const std::string battery = model.AddBaustein("40503");
        const std::string lamp = model.AddBaustein("40501");
        QVERIFY(!battery.empty() && !lamp.empty());
        model.PartObject(lamp)->SetPosition({8, 0, 0});
        model.RefreshBauteil(lamp, false, -1);
        struct TCable {
            const char* Plug;
            float Z;
            bool Green;
        };
        const TCable cables[] = {{"C0007", -0.35f, false}, {"C0008", 0.35f, true}};
        for (const TCable& c : cables) {
            const std::string atBattery = model.AddBaustein(c.Plug);
            const std::string atLamp = model.AddBaustein(c.Plug);
            PlacePlug(model, atBattery, {2.25f, 1.5f, c.Z}, {-1, 0, 0});
            PlacePlug(model, atLamp, {7.25f, 0, c.Z}, {1, 0, 0});
            model.SelectBaustein(atBattery);
            model.CoSelectBaustein(atLamp, true, true, true);
            bool ran = false;
            kxtest::AnswerNextDialog<TFormKabel>([&](TFormKabel* window) {
                ran = true;
                QVERIFY(QTest::qWaitForWindowExposed(window));
                QCOMPARE(window->tb->value(), 10);
                QVERIFY(window->rbRot->isChecked());
                // The cable is in the model while the window is open and follows the window.
                TPipeEx& cable = *model.Hoses().back();
                QCOMPARE(cable.Colour(), 0x0000FFu);
                if (c.Green) {
                    window->rbGruen->click();
                }
                window->tb->setValue(22);
                QCOMPARE(cable.Colour(), c.Green ? 0x008000u : 0x0000FFu);
                QCOMPARE(cable.Node(1)->X, 2.25f + 2.15f);
                if (c.Green) {
                    QTest::qWait(100);
                    Shot(*window, "i22-cable-window.png");
                }
                window->btnOK->click();
            });
            QVERIFY(form.Commands().Execute("menCable"));
            QVERIFY(ran);
            QVERIFY(!model.SelectedPart());
        }
        QCOMPARE(model.Hoses().size(), size_t(2));
        QVERIFY(model.IsModified());

        QVERIFY(model.SaveModell(file).Success);
        QVERIFY(model.LoadModell(file, true).Success);
        const auto hoses = model.Hoses();
        QCOMPARE(hoses.size(), size_t(2));
        QCOMPARE(hoses[0]->Tag(), 2);
        QCOMPARE(hoses[1]->Tag(), 3);
        QCOMPARE(hoses[1]->Colour(), 0x008000u);
        QCOMPARE(hoses[1]->NodeCount(), size_t(6));
        QCOMPARE(hoses[1]->Node(4)->X, 7.25f - 2.15f);

        form.Scene().FindObject("dcCAMTarget")->SetPosition({4.5f, 0.5f, 0});
        form.WheelZoom(360);
        QTest::qWait(200);
        Shot(form, "i22-model-with-cables.png");

        // Cancelled, a third cable goes again.
        const std::string plug = model.Parts()[2].Name();
        const std::string other = model.Parts()[3].Name();
        model.SelectBaustein(plug);
        model.CoSelectBaustein(other, true, true, true);
        kxtest::AnswerNextDialog<TFormKabel>([](TFormKabel* window) { window->reject(); });
        form.Commands().Execute("menCable");
        QCOMPARE(model.Hoses().size(), size_t(2));
    }

    void roundingEveryPartRunsBesideTheWindowAndCanBeResumed() {
        QTemporaryDir dir;
        const std::filesystem::path prog = dir.path().toStdString() + "/prog";
        const std::filesystem::path user = dir.path().toStdString() + "/user";
        QVERIFY(WriteStlFile(prog / "hires" / "R0001.stl", Ring(60000)));
        QVERIFY(WriteStlFile(prog / "hires" / "R0002.stl", Ring(12)));
        const TPartFiles files(prog, user);
        TffCache meshes;

        // Cancelled while the big part is on: nothing of it is written.
        TRoundPartsState first;
        {
            TFormRoundFF window(files, meshes);
            kxtest::AnswerNextDialog<TFormRoundFF>([](TFormRoundFF* w) {
                // The timer runs while the rounding does: the window's loop is free.
                QTRY_VERIFY(w->lblFile->text() == QStringLiteral("R0001.stl"));
                QTRY_VERIFY(w->pbVertices->value() > 0);
                Shot(*w, "i22-rounding-window.png");
                w->btnCancel->click();
                QCOMPARE(w->lblFile->text(), QStringLiteral("Abbrechen..."));
            });
            window.exec();
            first = window.State();
        }
        QVERIFY(first.Finished);
        QVERIFY(!std::filesystem::exists(user / "hires" / "R0001.nrm"));

        TFormRoundFF again(files, meshes);
        again.exec();
        QCOMPARE(again.State().Rounded, 2);
        QVERIFY(std::filesystem::exists(user / "hires" / "R0001.nrm"));
        QVERIFY(std::filesystem::exists(user / "hires" / "R0002.nrm"));
    }

    void theRoundingDialogReadsItsLimit() {
        TdlgRoundPart dialog;
        QCOMPARE(dialog.cbWinkel->currentText(), QStringLiteral("0,80"));
        QCOMPARE(dialog.cbWinkel->count(), 4);
        const std::pair<const char*, double> cases[] = {
            {"0,9", 0.9}, {"0.95", 0.95}, {" 0,85 ", 0.85}, {"steil", 0.8}, {"", 0.8}};
        for (const auto& [text, limit] : cases) {
            dialog.cbWinkel->setCurrentText(QString::fromUtf8(text));
            QCOMPARE(dialog.Limit(), limit);
        }
    }

    void theLibrarySelectionSwitchesBoxesAndWritesTheFile() {
        TdlgSelectLibrary window;
        window.ShowWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.cbBox[1]->text().startsWith(QStringLiteral("Schulkasten Getriebe")));
        window.cbBox[0]->setChecked(false);
        window.cbBox[1]->setChecked(true);
        window.cbBox[3]->setChecked(true);
        Shot(window, "i22-select-library.png");
        window.btnOK->click();
        QVERIFY(!window.isVisible());
        QVERIFY(Param().GetLpeBox(2) && Param().GetLpeBox(4) && !Param().GetLpeBox(1));
        const auto lines = ReadTextFile(std::filesystem::path(UserDataDir()) / "userbib.ini");
        QVERIFY(lines);
        const QStringList text = [&] {
            QStringList l;
            for (const std::string& s : *lines) {
                l << QString::fromStdString(s);
            }
            return l;
        }();
        QVERIFY(text.contains(QStringLiteral("groupcountnew=2")));
        QVERIFY(text.contains(QStringLiteral("groupnamenew1=Schulkasten Getriebe")));
        QVERIFY(text.contains(QStringLiteral("40701=n1")));
        QVERIFY(text.contains(QStringLiteral("40601=n2")));
        QVERIFY(!text.contains(QStringLiteral("40001=n1")));

        // No box at all: the first one comes on, and the window shows it next time.
        window.ShowWindow();
        for (QCheckBox* box : window.cbBox) {
            box->setChecked(false);
        }
        window.btnOK->click();
        QVERIFY(Param().GetLpeBox(1));
        window.ShowWindow();
        QVERIFY(window.cbBox[0]->isChecked());
        window.hide();
    }
};

KX_GUI_TEST_MAIN(TestCableGui)

#include "test_cable_gui.moc"
