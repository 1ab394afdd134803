// Making a model move on the real main window: gear, rigid and rotation/translation links, a
// motor and a collision rule made through their dialogs, listed, edited and deleted in the
// kinematics manager, saved, loaded and run.
// The renderer's GL loader comes before Qt's GL headers.
#include "view/f_viewer.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <cmath>

#include "app/Main.h"
#include "app/u_commandtable.h"
#include "app/u_kinematikmode.h"
#include "kx_gui_main.h"
#include "kx_gui_support.h"
#include "model/MainObj.h"
#include "motion/f_KineMotor.h"
#include "motion/f_Kollision.h"
#include "motion/f_TransRot.h"
#include "motion/f_kineManager.h"
#include "motion/f_kineRotation.h"
#include "motion/kinewidgets.h"
#include "view/u_sceneobjects.h"

using namespace kx;
using kxtest::AnswerNextDialog;

namespace {

std::string Place(TkxMain& model, const char* number, TVector3f at) {
    const std::string name = model.AddBaustein(number);
    if (TFreeForm* object = model.PartObject(name)) {
        object->SetPosition(at);
        model.RefreshBauteil(name, false, -1);
    }
    return name;
}

void Select(TkxMain& model, const std::vector<std::string>& parts) {
    model.DeSelectAllBausteine();
    model.SelectBaustein(parts[0]);
    for (size_t i = 1; i < parts.size(); ++i) {
        model.CoSelectBaustein(parts[i], true, true, true);
    }
}

/// The dialog alone, and the screen with the view behind it.
void Shoot(QWidget* widget, const QString& name) {
    const QString dir = kxtest::ShotDir();
    widget->grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        screen->grabWindow(0).save(dir + QLatin1Char('/') + name + QStringLiteral("-screen.png"));
    }
}

double Degrees(const TVector3f& a, const TVector3f& b) {
    const double dot = a.X * b.X + a.Y * b.Y + a.Z * b.Z;
    return std::acos(std::clamp(dot, -1.0, 1.0)) * 180 / 3.14159265358979;
}

std::vector<std::string> Records(TkxMain& model) {
    std::vector<std::string> rows;
    for (const TKineData& k : model.KineLinks()) {
        rows.push_back(KineRowText(k) + " " + std::to_string(k.Rotation1) +
                       std::to_string(k.Rotation2) + " " + std::to_string(k.Z1) + ":" +
                       std::to_string(k.Z2) + " " + std::to_string(k.DZ));
    }
    for (int n = 1; n <= kMotorCount; ++n) {
        const TMotorRec& m = model.Motors().Motor(n);
        rows.push_back(m.PartName + " " + std::to_string(m.Rotation) + std::to_string(m.Status));
    }
    for (const TCollData& c : model.CollisionRules()) {
        rows.push_back(CollisionRowText(c) + " " + std::to_string(c.Abstand) + " " +
                       std::to_string(c.Aktion));
    }
    return rows;
}

QStringList Rows(QListWidget* list) {
    QStringList rows;
    for (int i = 0; i < list->count(); ++i) {
        rows << list->item(i)->text();
    }
    return rows;
}

}  // namespace

class TestKineEditGui : public QObject {
    Q_OBJECT
private slots:
    void linksMotorAndRuleAreMadeListedEditedSavedAndRun() {
        QTemporaryDir dir;
        TMainForm form;
        form.resize(1200, 850);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        TkxMain& model = form.Model();
        TCommandTable& commands = form.Commands();
        const std::string small = Place(model, "40704", {0, 0, 0});      // 10 teeth
        const std::string large = Place(model, "40705", {2.25f, 0, 0});  // 20 teeth, in mesh
        const std::string hub = Place(model, "40707", {0, -4, 0});
        std::vector<std::string> axles;
        for (int i = 0; i < 3; ++i) {
            axles.push_back(Place(model, "40706", {-4.0f - 4 * i, -4, 0}));
        }
        QVERIFY(!small.empty() && !large.empty() && !hub.empty());
        model.MarkSaved();

        // Gear link: axes from KineRot, teeth from the definitions; the preview turns both.
        Select(model, {small, large});
        const TVector3f smallUp = model.PartObject(small)->Up();
        bool answered = false;
        AnswerNextDialog<TFormKineRotation>([&](TFormKineRotation* d) {
            const auto close = qScopeGuard([d] { d->accept(); });
            answered = true;
            QVERIFY(d->AxisButton(0, kButtonB1)->isChecked());
            QVERIFY(d->AxisButton(1, kButtonB1)->isChecked());
            QCOMPARE(d->ToothEdit(0)->text(), QStringLiteral("10"));
            QCOMPARE(d->ToothEdit(1)->text(), QStringLiteral("20"));
            QCOMPARE(d->Timer()->interval(), 40);
            QVERIFY(!model.PartObject(hub)->Visible());
            QTRY_VERIFY_WITH_TIMEOUT(Degrees(smallUp, model.PartObject(small)->Up()) > 2, 5000);
            Shoot(d, QStringLiteral("kineedit-rotation"));
            // A pressed axis button starts that part over from its stored pose.
            QTest::mouseClick(d->AxisButton(0, kButtonB2), Qt::LeftButton);
            QVERIFY(Degrees(smallUp, model.PartObject(small)->Up()) < 1e-3);
            QTest::mouseClick(d->AxisButton(0, kButtonB1), Qt::LeftButton);
        });
        QVERIFY(commands.Execute("menRotBinding"));
        QVERIFY(answered);
        QCOMPARE(model.KineLinks().size(), size_t(1));
        QCOMPARE(model.KineLinks()[0].Rotation1, uint8_t(kAxisRollP));
        QCOMPARE(model.KineLinks()[0].Z2, 20);
        QVERIFY(Degrees(smallUp, model.PartObject(small)->Up()) < 1e-3);
        QVERIFY(model.PartObject(hub)->Visible());
        QVERIFY(model.IsModified());

        // Rigid links for three co-selected parts.
        Select(model, {hub, axles[0], axles[1], axles[2]});
        QString message;
        AnswerNextDialog<QMessageBox>([&](QMessageBox* box) {
            message = box->text();
            box->accept();
        });
        QVERIFY(commands.Execute("menFixBinding"));
        QVERIFY(message.contains(QLatin1Char('3')));
        QCOMPARE(model.KineLinks().size(), size_t(4));

        // Rotation/translation link.
        Select(model, {hub, axles[0]});
        AnswerNextDialog<TFormTransRot>([&](TFormTransRot* d) {
            const auto close = qScopeGuard([d] { d->accept(); });
            QCOMPARE(d->AdvanceEdit(2)->text(), FormatUserNumber(0));
            d->AdvanceEdit(2)->setText(FormatUserNumber(1.5));
            Shoot(d, QStringLiteral("kineedit-transrot"));
        });
        QVERIFY(commands.Execute("menRotTransBinding"));
        QCOMPARE(model.KineLinks().back().DZ, 1.5f);

        // Motor 3 for the small gear.
        Select(model, {small});
        AnswerNextDialog<TFormKineMotor>([&](TFormKineMotor* d) {
            const auto close = qScopeGuard([d] { d->accept(); });
            QVERIFY(d->AxisButton(kMotorAxisZ)->isChecked());
            QVERIFY(d->StatusButton(1)->isChecked());
            QVERIFY(d->Timer()->isActive());
            d->MotorCombo()->setCurrentIndex(2);
            QTest::qWait(300);
            Shoot(d, QStringLiteral("kineedit-motor"));
        });
        QVERIFY(commands.Execute("menMotor"));
        QCOMPARE(model.Motors().Motor(3).PartName, small);
        QVERIFY(model.Motors().Motor(1).PartName.empty());

        // A rule that reports by name, at a threshold with thousands separators.
        Select(model, {small, large});
        AnswerNextDialog<TFormKollision>([&](TFormKollision* d) {
            const auto close = qScopeGuard([d] { d->accept(); });
            QVERIFY(d->OnContact()->isChecked());
            QVERIFY(!d->NameEdit()->isEnabled());
            d->DistanceEdit()->setText(FormatUserNumber(1500));
            d->ActionCombo()->setCurrentIndex(kCollisionReportOnly);
            QVERIFY(!d->MotorCombo()->isEnabled());
            d->NameEdit()->setText(QStringLiteral("Tor"));
            Shoot(d, QStringLiteral("kineedit-collision"));
        });
        QVERIFY(commands.Execute("menCollision"));
        QCOMPARE(model.CollisionRules().size(), size_t(1));
        QCOMPARE(model.CollisionRules()[0].Abstand, 1500.0f);

        // The manager lists each.
        QVERIFY(commands.Execute("menKineManager"));
        TFormKineManager* manager = form.KineManager();
        QVERIFY(manager->isVisible());
        QCOMPARE(Rows(manager->LinkList()).size(), 5);
        QCOMPARE(manager->LinkList()->item(0)->text(),
                 QString::fromStdString("ROT|" + small + "|" + large));
        QCOMPARE(Rows(manager->MotorList()), QStringList{QStringLiteral("MOTOR 3")});
        QCOMPARE(manager->RuleList()->item(0)->text(),
                 QString::fromStdString(small + "|" + large + "|Tor"));
        const char* const tabs[] = {"kineedit-manager-links", "kineedit-manager-motors",
                                    "kineedit-manager-rules"};
        for (int t = 0; t < 3; ++t) {
            manager->Tabs()->setCurrentIndex(t);
            QTest::qWait(50);
            manager->grab().save(kxtest::ShotDir() + QLatin1Char('/') + tabs[t] + ".png");
        }

        // Clicking a row selects its parts.
        manager->Tabs()->setCurrentIndex(0);
        QListWidget* links = manager->LinkList();
        QTest::mouseClick(links->viewport(), Qt::LeftButton, {},
                          links->visualItemRect(links->item(0)).center());
        QCOMPARE(model.SelectedPart(), model.PartObject(small));

        // An unchanged OK on the rule keeps a threshold of 1500 mm.
        manager->RuleList()->setCurrentRow(0);
        AnswerNextDialog<TFormKollision>([&](TFormKollision* d) {
            const auto close = qScopeGuard([d] { d->accept(); });
            QCOMPARE(d->DistanceEdit()->text(), FormatUserNumber(1500));
            QVERIFY(d->NameEdit()->isEnabled());
        });
        manager->findChild<QToolButton*>(QStringLiteral("btnEditKoll"))->click();
        QCOMPARE(model.CollisionRules()[0].Abstand, 1500.0f);

        // Edit the gear link's teeth, by double-click.
        AnswerNextDialog<TFormKineRotation>([&](TFormKineRotation* d) {
            const auto close = qScopeGuard([d] { d->accept(); });
            QCOMPARE(d->ToothEdit(1)->text(), QStringLiteral("20"));
            d->ToothEdit(1)->setText(QStringLiteral("30"));
        });
        const QPoint firstRow = links->visualItemRect(links->item(0)).center();
        QTest::mouseClick(links->viewport(), Qt::LeftButton, {}, firstRow);
        QTest::mouseDClick(links->viewport(), Qt::LeftButton, {}, firstRow);
        QCOMPARE(model.KineLinks()[0].Z2, 30);

        // Delete the rigid links (rows 2 to 4).
        for (int i = 0; i < 3; ++i) {
            links->setCurrentRow(1);
            manager->findChild<QToolButton*>(QStringLiteral("btnDeleteBindung"))->click();
        }
        QCOMPARE(links->count(), 2);
        QVERIFY(links->item(1)->text().startsWith(QStringLiteral("RTR|")));
        QCOMPARE(model.KineLinks().size(), size_t(2));

        // Save and load: the same records.
        const QString file = dir.path() + QStringLiteral("/moving.kxm");
        const std::vector<std::string> made = Records(model);
        QVERIFY(model.SaveModell(file.toStdString()).Success);
        model.MarkSaved();
        QVERIFY(form.LoadFile(file, true));
        QCOMPARE(Records(model), made);
        QCOMPARE(manager->LinkList()->count(), 2);

        // Kinematics mode: motor 3 turns the small gear left, the large one follows at 10/30.
        const TVector3f smallStart = model.PartObject(small)->Up();
        const TVector3f largeStart = model.PartObject(large)->Up();
        form.ToolButton("btnStartKinematik")->click();
        TKinematikMode& mode = *form.KinematikMode();
        QVERIFY(mode.Active());
        QVERIFY(!manager->isVisible());
        mode.KineTimer()->stop();
        for (int i = 0; i < 9; ++i) {
            mode.Tick();
        }
        QVERIFY(std::abs(Degrees(smallStart, model.PartObject(small)->Up()) - 9) < 0.01);
        QVERIFY(std::abs(Degrees(largeStart, model.PartObject(large)->Up()) - 3) < 0.01);
        QVERIFY(model.CollisionState("Tor", false));
        form.ToolButton("btnStartKinematik")->click();
        QVERIFY(!mode.Active());
        form.Model().MarkSaved();
    }
};

KX_GUI_TEST_MAIN(TestKineEditGui)
#include "test_kineedit_gui.moc"
