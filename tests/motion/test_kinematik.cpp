// The kinematics step against poses worked out by hand: motors, gear, rigid and
// rotation/translation links, loops of links, leaving the mode, and the collision rules.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <thread>

#include "model/model_fixture.h"

using namespace kx;
using kxtest::ModelTest;

namespace {

constexpr float kTol = 1e-4f;

double Rad(double degrees) {
    return degrees * std::numbers::pi / 180;
}

TKineData Gear(const std::string& a, const std::string& b, uint8_t r1, uint8_t r2, int32_t z1,
               int32_t z2) {
    TKineData k;
    k.Modus = kKineRotRot;
    k.Bauteil1 = a;
    k.Bauteil2 = b;
    k.Rotation1 = r1;
    k.Rotation2 = r2;
    k.Z1 = z1;
    k.Z2 = z2;
    return k;
}

TKineData Rigid(const std::string& a, const std::string& b) {
    TKineData k;
    k.Modus = kKineRotFest;
    k.Bauteil1 = a;
    k.Bauteil2 = b;
    return k;
}

TKineData RotTrans(const std::string& a, const std::string& b, float dx, float dy, float dz) {
    TKineData k;
    k.Modus = kKineRotTrans;
    k.Bauteil1 = a;
    k.Bauteil2 = b;
    k.DX = dx;
    k.DY = dy;
    k.DZ = dz;
    return k;
}

TCollData Rule(const std::string& a, const std::string& b, bool onContact, float abstandMm,
               int action, const std::string& param) {
    TCollData c;
    c.Active = onContact;
    c.ObjName1 = a;
    c.ObjName2 = b;
    c.Abstand = abstandMm;
    c.Aktion = action;
    c.Param1 = param;
    return c;
}

class KinematikTest : public ModelTest {
protected:
    /// Motor n drives the part about its axis (0 pitch, 1 roll, 2 turn).
    void SetMotor(int n, const std::string& part, int axis, int status, int speed) {
        m_model->Motors().Motor(n) = {axis, speed, status, part, 0};
    }
    void Steps(int count) {
        for (int i = 0; i < count; ++i) {
            m_model->DoKinematik();
        }
    }
    /// The roll of a part that has only been rolled from the start frame: the angle in
    /// degrees by which Roll() turned it (Roll(a) puts Up at (sin a, cos a, 0)).
    double RollOf(const std::string& name) const {
        const TVector3f up = Object(name)->Up();
        return std::atan2(up.X, up.Y) * 180 / std::numbers::pi;
    }
    void Place(const std::string& name, const TVector3f& at) { MoveAndRefresh(name, at); }
};

void ExpectNear(const TVector3f& got, const TVector3f& want, const char* what) {
    EXPECT_NEAR(got.X, want.X, kTol) << what;
    EXPECT_NEAR(got.Y, want.Y, kTol) << what;
    EXPECT_NEAR(got.Z, want.Z, kTol) << what;
}

}  // namespace

// --- Gear links --------------------------------------------------------------------------------

TEST_F(KinematikTest, GearPairTurnsTheOtherGearByTheToothRatioInTheSenseOfTheCodes) {
    struct TCase {
        uint8_t R1, R2;
        bool DriveSecond;  ///< the motor sits on Bauteil2
        double Driver, Driven;
    };
    // Motor: roll, right, 10 degrees a step. Teeth 10 (first) : 20 (second).
    const TCase cases[] = {
        {kAxisRollP, kAxisRollP, false, 10, 5},   // equal codes: same sense, half the angle
        {kAxisRollP, kAxisRollN, false, 10, -5},  // opposite code on the driven gear
        {kAxisRollN, kAxisRollP, false, 10, -5},  // the driver's code differs from the motor's
        {kAxisRollN, kAxisRollN, false, 10, 5},   // both differ: the senses cancel
        {kAxisRollP, kAxisRollP, true, 10, 20},   // the small gear driven: twice the angle
        {kAxisRollP, kAxisRollN, true, 10, -20},
    };
    for (const TCase& c : cases) {
        m_model->DeleteAll();
        const std::string a = Add("31010");
        const std::string b = Add("31010");
        m_model->KineLinks().push_back(Gear(a, b, c.R1, c.R2, 10, 20));
        const std::string driver = c.DriveSecond ? b : a;
        const std::string driven = c.DriveSecond ? a : b;
        SetMotor(1, driver, 1, 2, 10);
        m_model->StartKinematik();
        m_model->DoKinematik();
        EXPECT_NEAR(RollOf(driver), c.Driver, 1e-3) << int(c.R1) << int(c.R2) << c.DriveSecond;
        EXPECT_NEAR(RollOf(driven), c.Driven, 1e-3) << int(c.R1) << int(c.R2) << c.DriveSecond;
        m_model->StopKinematik();
    }
}

TEST_F(KinematikTest, ChainOfThreeGearsMultipliesTheRatiosAndMotorLeftReversesAll) {
    const std::string a = Add("31010"), b = Add("31010"), c = Add("31010");
    m_model->KineLinks().push_back(Gear(a, b, kAxisRollP, kAxisRollP, 10, 20));
    m_model->KineLinks().push_back(Gear(b, c, kAxisRollP, kAxisRollP, 20, 40));
    SetMotor(1, a, 1, 1, 8);
    m_model->StartKinematik();
    Steps(2);
    EXPECT_NEAR(RollOf(a), -16, 1e-3);
    EXPECT_NEAR(RollOf(b), -8, 1e-3);
    EXPECT_NEAR(RollOf(c), -4, 1e-3);
}

TEST_F(KinematikTest, ToothCountsBelowOneCountAsOneWhileTheStoredValuesStay) {
    const std::string a = Add("31010"), b = Add("31010");
    m_model->KineLinks().push_back(Gear(a, b, kAxisRollP, kAxisRollP, 0, -3));
    SetMotor(1, a, 1, 2, 4);
    m_model->StartKinematik();
    m_model->DoKinematik();
    EXPECT_NEAR(RollOf(b), 4, 1e-3);
    EXPECT_TRUE(std::isfinite(Object(b)->Up().X));
    EXPECT_EQ(m_model->KineLinks()[0].Z1, 0);
    EXPECT_EQ(m_model->KineLinks()[0].Z2, -3);
}

TEST_F(KinematikTest, MotorsTurnTheirOwnPartsAboutTheirAxesAndSkipWhatTheyCannotDrive) {
    const std::string a = Add("31010"), b = Add("31010"), c = Add("31010"), d = Add("31010");
    SetMotor(1, a, 0, 1, 3);                       // pitch, left: Direction turns about Right by -3
    SetMotor(3, b, 2, 2, 10);                      // turn, right: about Up by -10
    SetMotor(4, c, 1, 0, 5);                       // stopped
    SetMotor(5, "F31010_99", 1, 2, 5);             // its part is not in the model
    m_model->Motors().Motor(6) = {7, 5, 2, d, 0};  // no such axis
    m_model->KineLinks().push_back(Gear(c, d, kAxisRollP, kAxisRollP, 1, 1));
    m_model->StartKinematik();
    m_model->DoKinematik();
    // Right = Direction x Up = (-1, 0, 0): pitching by -3 tips Direction (0, 0, 1) down.
    ExpectNear(Object(a)->Direction(),
               {0, static_cast<float>(-std::sin(Rad(3))), static_cast<float>(std::cos(Rad(3)))},
               "pitch");
    ExpectNear(Object(b)->Direction(),
               {static_cast<float>(-std::sin(Rad(10))), 0, static_cast<float>(std::cos(Rad(10)))},
               "turn");
    EXPECT_NEAR(RollOf(c), 0, 1e-6);
    EXPECT_NEAR(RollOf(d), 0, 1e-6);
}

// --- Rigid links ------------------------------------------------------------------------------

TEST_F(KinematikTest, RigidLinksCarryPartsAroundTheTurningPartsAxis) {
    const std::string hub = Add("31010"), arm = Add("31010"), tip = Add("31010");
    Place(hub, {2, 0, 3});
    Place(arm, {3, 0.5f, 3});
    Place(tip, {2, 0, 5});
    m_model->KineLinks().push_back(Rigid(hub, arm));
    m_model->KineLinks().push_back(Rigid(arm, tip));
    SetMotor(2, hub, 2, 2, 10);  // turn right: about Up by -10 degrees
    m_model->StartKinematik();
    Steps(3);
    const double a = Rad(-30);
    // A point (x, z) about the hub's vertical axis by a: (x cos a + z sin a, -x sin a + z cos a).
    ExpectNear(Object(arm)->Position(),
               {static_cast<float>(2 + std::cos(a)), 0.5f, static_cast<float>(3 - std::sin(a))},
               "arm");
    ExpectNear(
        Object(tip)->Position(),
        {static_cast<float>(2 + 2 * std::sin(a)), 0, static_cast<float>(3 + 2 * std::cos(a))},
        "tip");
    // Carried parts keep their distance to the axis and their pose relative to the hub.
    const TVector3f r = Object(arm)->Position() - Object(hub)->Position();
    EXPECT_NEAR(std::hypot(r.X, r.Z), 1, kTol);
    ExpectNear(Object(arm)->Direction(), Object(hub)->Direction(), "arm direction");
    ExpectNear(Object(tip)->Up(), Object(hub)->Up(), "tip up");
}

TEST_F(KinematikTest, RigidLinkToTheMotorsPartCarriesOnlyWhenAGearTurnsIt) {
    const std::string motorPart = Add("31010"), gear = Add("31010"), rider = Add("31010");
    Place(rider, {1, 0, 0});
    Place(gear, {0, 0, 4});
    // The rider is Bauteil1 of a rigid link whose Bauteil2 is the turning part.
    m_model->KineLinks().push_back(Rigid(rider, motorPart));
    SetMotor(1, motorPart, 2, 2, 10);
    m_model->StartKinematik();
    m_model->DoKinematik();
    ExpectNear(Object(rider)->Position(), {1, 0, 0}, "not carried at the first level");
    m_model->StopKinematik();

    m_model->KineLinks().clear();
    m_model->KineLinks().push_back(Gear(gear, motorPart, kAxisTurnP, kAxisTurnP, 1, 1));
    m_model->KineLinks().push_back(Rigid(rider, motorPart));
    SetMotor(1, gear, 2, 2, 10);
    m_model->StartKinematik();
    m_model->DoKinematik();
    const double a = Rad(-10);
    ExpectNear(Object(rider)->Position(),
               {static_cast<float>(std::cos(a)), 0, static_cast<float>(-std::sin(a))},
               "carried behind a gear");
}

// --- Rotation/translation links ----------------------------------------------------------------

TEST_F(KinematikTest, SpindleMovesTheSlideByItsAdvancePerTurnAndRigidPartsFollow) {
    const std::string spindle = Add("31010"), slide = Add("31010"), load = Add("31010");
    Place(slide, {0, 1, 0});
    Place(load, {0, 2, 0});
    m_model->KineLinks().push_back(RotTrans(spindle, slide, 0, 0, 5));  // 5 mm a turn
    m_model->KineLinks().push_back(Rigid(slide, load));
    SetMotor(1, spindle, 0, 2, 10);
    m_model->StartKinematik();
    Steps(36);  // one turn
    ExpectNear(Object(slide)->Position(), {0, 1, 0.5f}, "5 mm along its direction");
    ExpectNear(Object(load)->Position(), {0, 2, 0.5f}, "carried along");

    m_model->KineLinks()[0].DZ = 36;
    m_model->KineLinks()[0].DY = 0;
    m_model->StopKinematik();
    m_model->StartKinematik();
    m_model->DoKinematik();
    ExpectNear(Object(slide)->Position(), {0, 1, 0.1f}, "36 mm a turn at 10 degrees: 1 mm");
}

TEST_F(KinematikTest, PartThatIsBauteil2OfARotTransLinkRollsAlongByItsOwnTurning) {
    const std::string ground = Add("31010"), wheel = Add("31010"), body = Add("31010");
    Place(body, {0, 1, 0});
    m_model->KineLinks().push_back(RotTrans(ground, wheel, 36, 0, 0));
    m_model->KineLinks().push_back(Rigid(wheel, body));
    SetMotor(1, wheel, 0, 2, 10);
    m_model->StartKinematik();
    Steps(3);
    ExpectNear(Object(wheel)->Position(), {0.3f, 0, 0}, "world X");
    ExpectNear(Object(ground)->Position(), {0, 0, 0}, "Bauteil1 stays");
    // The body rides the wheel's translation (and swings with its pitch, across X).
    EXPECT_NEAR(Object(body)->Position().X, 0.3f, kTol);
}

// --- Loops and leaving the mode ---------------------------------------------------------------

TEST_F(KinematikTest, LoopsOfLinksEndWithEveryLinkFiringOncePerMotor) {
    const std::string a = Add("31010"), b = Add("31010"), c = Add("31010");
    m_model->KineLinks().push_back(Gear(a, b, kAxisRollP, kAxisRollP, 1, 1));
    m_model->KineLinks().push_back(Gear(b, a, kAxisRollP, kAxisRollP, 1, 1));
    m_model->KineLinks().push_back(Rigid(b, c));
    m_model->KineLinks().push_back(Rigid(c, b));
    m_model->KineLinks().push_back(RotTrans(c, a, 0, 0, 0));
    SetMotor(1, a, 1, 2, 10);
    m_model->StartKinematik();
    m_model->DoKinematik();
    // The motor turns A once, the gear cycle once more. B turns once by its gear and once more
    // when the rigid pair carries it round with its own rotation (C is Bauteil1 of the second
    // rigid link, which fires from C with B as the reference).
    EXPECT_NEAR(RollOf(a), 20, 1e-3);
    EXPECT_NEAR(RollOf(b), 20, 1e-3);
    for (const TKineData& link : m_model->KineLinks()) {
        EXPECT_EQ(link.RotVisited, 1);
    }
}

TEST_F(KinematikTest, LeavingTheModeRestoresEveryPoseBitForBitAndKeepsThePanelSpeeds) {
    const std::string a = Add("31010"), b = Add("31010"), c = Add("32064");
    Place(b, {1.25f, -0.5f, 3});
    Place(c, {0.1f, 0.2f, 0.3f});
    Object(c)->SetTurnAngle(33);
    Object(c)->SetRollAngle(-71);
    m_model->RefreshBauteil(c, false, -1);
    m_model->Repaint();
    m_model->KineLinks().push_back(Gear(a, b, kAxisTurnP, kAxisPitchN, 7, 3));
    m_model->KineLinks().push_back(Rigid(b, c));
    m_model->KineLinks().push_back(RotTrans(a, c, 1, 2, 3));
    SetMotor(1, a, 2, 2, 7);
    struct TPose {
        TVector3f P, D, U;
    };
    std::vector<TPose> before;
    for (const std::string& n : {a, b, c}) {
        before.push_back({Object(n)->Position(), Object(n)->Direction(), Object(n)->Up()});
    }
    m_model->StartKinematik();
    m_model->MotorPanels().Panel(1)->SetSpeed(9);
    Steps(50);
    EXPECT_NE(Object(c)->Position(), before[2].P);
    m_model->StopKinematik();
    size_t i = 0;
    for (const std::string& n : {a, b, c}) {
        EXPECT_EQ(Object(n)->Position(), before[i].P) << n;
        EXPECT_EQ(Object(n)->Direction(), before[i].D) << n;
        EXPECT_EQ(Object(n)->Up(), before[i].U) << n;
        ++i;
    }
    EXPECT_EQ(m_model->Motors().Motor(1).Speed, 9);
    EXPECT_EQ(m_model->Motors().Motor(1).Status, 2);
    EXPECT_FALSE(m_model->KinematikActive());
}

// --- Collision rules --------------------------------------------------------------------------

TEST_F(KinematikTest, CollisionActionsSwitchTheMotorPanelWhileTheRuleFires) {
    struct TCase {
        bool OnContact;
        float DistanceSu;  ///< distance of the two parts in scene units
        int Action;
        int StatusBefore;
        int StatusAfter;
        bool InRange;
    };
    // Threshold 10 mm = 1 scene unit.
    const TCase cases[] = {
        {true, 0.5f, 0, 2, 0, true},    // stop on contact
        {true, 0.5f, 1, 0, 1, true},    // left
        {true, 0.5f, 2, 1, 2, true},    // right
        {true, 0.5f, 3, 2, 1, true},    // reverse
        {true, 0.5f, 3, 0, 0, true},    // a stopped motor stays stopped
        {true, 0.5f, 4, 2, 2, true},    // report only
        {true, 2.0f, 0, 2, 2, false},   // no contact: nothing
        {false, 2.0f, 2, 0, 2, false},  // trigger without contact: fires while apart
        {false, 0.5f, 2, 0, 0, true},   // ... not while touching
        {true, 1.0f, 0, 2, 2, false},   // exactly at the threshold: never fires
        {false, 1.0f, 0, 2, 2, false},
    };
    for (const TCase& c : cases) {
        m_model->DeleteAll();
        const std::string a = Add("31010"), b = Add("31010");
        Place(b, {c.DistanceSu, 0, 0});
        m_model->CollisionRules().push_back(Rule(a, b, c.OnContact, 10, c.Action, "2"));
        m_model->StartKinematik();
        m_model->MotorPanels().Panel(2)->SetStatus(c.StatusBefore);
        m_model->DoKinematik();
        EXPECT_EQ(m_model->MotorPanels().Panel(2)->Status(), c.StatusAfter)
            << c.OnContact << " " << c.DistanceSu << " " << c.Action;
        EXPECT_EQ(bool(m_model->CollisionRules()[0].InRange), c.InRange)
            << c.OnContact << " " << c.DistanceSu << " " << c.Action;
        m_model->StopKinematik();
    }
}

TEST_F(KinematikTest, ARuleSwitchesTheMotorFromTheNextStepOnAndReversesStepByStep) {
    const std::string a = Add("31010"), b = Add("31010");
    SetMotor(1, a, 1, 2, 10);
    m_model->CollisionRules().push_back(Rule(a, b, true, 8, 0, "1"));
    m_model->StartKinematik();
    m_model->DoKinematik();
    EXPECT_NEAR(RollOf(a), 10, 1e-3);  // the motor ran before the rule stopped it
    m_model->DoKinematik();
    EXPECT_NEAR(RollOf(a), 10, 1e-3);
    // The user's start is overridden again at the end of the next step.
    m_model->MotorPanels().Panel(1)->SetStatus(2);
    m_model->DoKinematik();
    EXPECT_NEAR(RollOf(a), 20, 1e-3);
    EXPECT_EQ(m_model->MotorPanels().Panel(1)->Status(), 0);

    m_model->CollisionRules()[0].Aktion = 3;
    m_model->MotorPanels().Panel(1)->SetStatus(2);
    m_model->DoKinematik();  // turns right, then reversed
    m_model->DoKinematik();  // turns left, then reversed
    EXPECT_NEAR(RollOf(a), 20, 1e-3);
    EXPECT_EQ(m_model->MotorPanels().Panel(1)->Status(), 2);
}

TEST_F(KinematikTest, RulesNamingNoMotorOrMissingPartsDoNothing) {
    const std::string a = Add("31010"), b = Add("31010");
    m_model->CollisionRules().push_back(Rule(a, b, true, 8, 2, "9"));
    m_model->CollisionRules().push_back(Rule(a, b, true, 8, 2, "0"));
    m_model->CollisionRules().push_back(Rule(a, b, true, 8, 2, "-1"));
    m_model->CollisionRules().push_back(Rule(a, "", true, 8, 2, "3"));
    m_model->CollisionRules().push_back(Rule(a, b, true, 8, 1, "zwei"));  // motor 1
    m_model->CollisionRules().push_back(Rule(a, b, true, 8, 7, "4"));     // no such action
    m_model->StartKinematik();
    m_model->DoKinematik();
    EXPECT_EQ(m_model->MotorPanels().Panel(1)->Status(), 1);
    for (int n = 2; n <= 8; ++n) {
        EXPECT_EQ(m_model->MotorPanels().Panel(n)->Status(), 0) << n;
    }
    EXPECT_FALSE(m_model->CollisionRules()[3].InRange);
}

TEST_F(KinematikTest, SequenceProgramsSeeTheLastRuleOfTheirNameFromAnotherThread) {
    const std::string a = Add("31010"), b = Add("31010"), c = Add("31010");
    Place(c, {5, 0, 0});
    m_model->CollisionRules().push_back(Rule(a, b, false, 8, 4, "Tor"));
    m_model->CollisionRules().push_back(Rule(a, c, true, 8, 4, "Tor"));
    m_model->CollisionRules().push_back(Rule(a, b, false, 8, 4, "Weg"));
    m_model->StartKinematik();
    m_model->DoKinematik();
    bool tor = true, weg = false, keine = true;
    std::thread runner([&] {
        tor = m_model->CollisionState("Tor", true);
        weg = m_model->CollisionState("Weg", false);
        keine = m_model->CollisionState("Keine", true);
    });
    runner.join();
    EXPECT_FALSE(tor);   // the later rule: a and c are apart
    EXPECT_TRUE(weg);    // in range whatever the trigger option
    EXPECT_TRUE(keine);  // no rule of that name: the block keeps its value
}

TEST(KinematikChain, AChainOfAHundredThousandLinksRunsWithoutExhaustingTheStack) {
    TScene scene;
    BuildMainScene(scene);
    TDummyCube& root = *scene.PartsRoot();
    constexpr int kParts = 100000;
    std::vector<TKineData> links;
    for (int i = 0; i < kParts; ++i) {
        root.AddNewChild<TFreeForm>("P" + std::to_string(i));
        if (i > 0) {
            TKineData link = i == 1 ? Gear("P0", "P1", kAxisRollP, kAxisRollP, 1, 1)
                                    : Rigid("P" + std::to_string(i - 1), "P" + std::to_string(i));
            links.push_back(link);
        }
    }
    links.push_back(RotTrans("P0", "P1", 0, 0, 360));
    TMotors motors;
    motors.Motor(1) = {1, 10, 2, "P0", 0};
    std::vector<TCollData> rules;
    TMotorPanels panels;
    TKinematik kine(links, motors, rules, panels,
                    [&root](std::string_view n) { return root.FindChild(n, false); }, {});
    kine.Start();
    kine.DoKinematik();
    // Every part of the chain turned with the second and travelled with it.
    const TSceneObject* last = root.FindChild("P" + std::to_string(kParts - 1), false);
    EXPECT_NEAR(std::atan2(last->Up().X, last->Up().Y) * 180 / std::numbers::pi, 10, 1e-2);
    EXPECT_NEAR(last->Position().Z, -1, kTol);
}
