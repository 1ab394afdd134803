// Making and editing links, motors and collision rules through the model, with the dialogs
// answered by a fake: what each command takes from the selection, what it stores, what a
// cancelled dialog leaves, and rows that act on their own record.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "foundation/u_language.h"
#include "model/model_fixture.h"

using namespace kx;
using kxtest::ModelTest;

namespace {

/// Dialogs answered by the test; each call records what the dialog was given.
class TFakeDialogs : public TKineDialogs {
public:
    bool GearLinkDialog(TGearLinkForm& form, TKinePreview& preview) override {
        Gear = form;
        Previews = preview.Count();
        if (DuringGear) {
            DuringGear(form, preview);
        }
        return Accept;
    }
    bool MotorDialog(TMotorForm& form, TKinePreview& preview) override {
        Motor = form;
        Previews = preview.Count();
        if (DuringMotor) {
            DuringMotor(form, preview);
        }
        return Accept;
    }
    bool TransRotDialog(TTransRotForm& form) override {
        TransRot = form;
        if (Answer) {
            Answer();
        }
        form = TransRotAnswer;
        return Accept;
    }
    bool CollisionDialog(TCollisionForm& form) override {
        Collision = form;
        form = CollisionAnswer;
        return Accept;
    }

    bool Accept = true;
    size_t Previews = 0;
    TGearLinkForm Gear;
    TMotorForm Motor;
    TTransRotForm TransRot;
    TCollisionForm Collision;
    TTransRotForm TransRotAnswer;
    TCollisionForm CollisionAnswer;
    std::function<void(TGearLinkForm&, TKinePreview&)> DuringGear;
    std::function<void(TMotorForm&, TKinePreview&)> DuringMotor;
    std::function<void()> Answer;
};

class KineEditTest : public ModelTest {
protected:
    KineEditTest() { m_model->SetKineDialogs(&m_dialogs); }
    ~KineEditTest() override { m_model->SetKineDialogs(nullptr); }

    /// Selects the first part and co-selects the others.
    void Select(const std::vector<std::string>& parts) {
        m_model->DeSelectAllBausteine();
        if (parts.empty()) {
            return;
        }
        m_model->SelectBaustein(parts[0]);
        for (size_t i = 1; i < parts.size(); ++i) {
            m_model->CoSelectBaustein(parts[i], true, true, true);
        }
    }
    bool AtStoredPose(const std::string& name) const {
        const TBauteil* r = m_model->FindBauteil(name);
        const TFreeForm* o = Object(name);
        const auto same = [](const TVector3f& a, const TVector3f& b) {
            return std::abs(a.X - b.X) < 1e-5f && std::abs(a.Y - b.Y) < 1e-5f &&
                   std::abs(a.Z - b.Z) < 1e-5f;
        };
        return same(o->Direction(), r->Direction()) && same(o->Up(), r->Up());
    }

    TFakeDialogs m_dialogs;
};

double AngleBetween(const TVector3f& a, const TVector3f& b) {
    const double dot = a.X * b.X + a.Y * b.Y + a.Z * b.Z;
    return std::acos(std::clamp(dot, -1.0, 1.0)) * 180 / 3.14159265358979;
}

/// How far an object has turned from a frame, about whichever of its axes.
double TurnedFrom(const TFreeForm& object, const TVector3f& direction, const TVector3f& up) {
    return std::max(AngleBetween(direction, object.Direction()), AngleBetween(up, object.Up()));
}

}  // namespace

TEST_F(KineEditTest, GearLinkJoinsTheSelectedToTheLastCoSelectedPartWithPreviewUndone) {
    const std::string a = Add("31010");
    const std::string other = Add("32064");
    const std::string b = Add("31010");
    Select({a, other, b});
    m_dialogs.DuringGear = [&](TGearLinkForm& form, TKinePreview& preview) {
        // Only the selected and co-selected parts are shown while the dialog is open.
        EXPECT_TRUE(Object(a)->Visible());
        EXPECT_TRUE(Object(b)->Visible());
        const TVector3f dir1 = Object(a)->Direction(), up1 = Object(a)->Up();
        const TVector3f dir2 = Object(b)->Direction(), up2 = Object(b)->Up();
        form.Z2 = "14";  // ratio 7 / 14: the second part turns half as far
        for (int i = 0; i < 10; ++i) {
            preview.StepGear(form);
        }
        EXPECT_NEAR(TurnedFrom(*Object(a), dir1, up1), 10, 1e-3);
        EXPECT_NEAR(TurnedFrom(*Object(b), dir2, up2), 5, 1e-3);
        preview.Reset(1);
        EXPECT_TRUE(AtStoredPose(b));
        form.Button2 = kButtonB2;
        form.Z1 = "x";
    };
    m_model->EditKinematikRotation();
    // Preset from the definitions: KineRot 2 presses G1, Teeth 7 in both edits.
    EXPECT_EQ(m_dialogs.Gear.Part1, a);
    EXPECT_EQ(m_dialogs.Gear.Part2, b);
    EXPECT_EQ(m_dialogs.Gear.Button1, kButtonG1);
    EXPECT_EQ(m_dialogs.Gear.Z1, "7");
    EXPECT_EQ(m_dialogs.Previews, 2u);
    ASSERT_EQ(m_model->KineLinks().size(), 1u);
    const TKineData& link = m_model->KineLinks()[0];
    EXPECT_EQ(link.Modus, kKineRotRot);
    EXPECT_EQ(link.Bauteil1, a);
    EXPECT_EQ(link.Bauteil2, b);
    EXPECT_EQ(link.Rotation1, kAxisTurnP);
    EXPECT_EQ(link.Rotation2, kAxisRollN);
    EXPECT_EQ(link.Z1, 1);  // "x" is no tooth count
    EXPECT_EQ(link.Z2, 14);
    EXPECT_TRUE(m_model->IsModified());
    for (const std::string& name : {a, other, b}) {
        EXPECT_TRUE(Object(name)->Visible()) << name;
        EXPECT_TRUE(AtStoredPose(name)) << name;
    }
    EXPECT_GE(m_ports.KineRefreshes, 1);
}

TEST_F(KineEditTest, CancelledDialogsLeaveTheModelAsItWas) {
    const std::string a = Add("31010");
    const std::string b = Add("32064");
    m_model->MarkSaved();
    m_dialogs.Accept = false;
    m_dialogs.DuringGear = [](TGearLinkForm& form, TKinePreview& preview) {
        for (int i = 0; i < 30; ++i) {
            preview.StepGear(form);
        }
    };
    m_dialogs.DuringMotor = [](TMotorForm& form, TKinePreview& preview) {
        form.Status = 2;
        for (int i = 0; i < 30; ++i) {
            preview.StepMotor(form);
        }
    };
    const std::vector<std::function<void()>> commands = {
        [&] { m_model->EditKinematikRotation(); }, [&] { m_model->SetKineMotor(); },
        [&] { m_model->AddKinematikRotTrans(); }, [&] { m_model->AddKollision(); }};
    for (const auto& command : commands) {
        Select({a, b});
        command();
        EXPECT_TRUE(AtStoredPose(a));
        EXPECT_TRUE(AtStoredPose(b));
        EXPECT_TRUE(Object(b)->Visible());
    }
    EXPECT_TRUE(m_model->KineLinks().empty());
    EXPECT_TRUE(m_model->CollisionRules().empty());
    for (const TMotorRec& m : m_model->Motors().All()) {
        EXPECT_TRUE(m.PartName.empty());
    }
    EXPECT_FALSE(m_model->IsModified());
}

TEST_F(KineEditTest, MissingSelectionsGiveTheirMessagesAndChangeNothing) {
    const std::string a = Add("31010");
    m_model->MarkSaved();
    const struct {
        std::function<void()> Command;
        bool WithSelectedPart;
        const char* Message;
    } cases[] = {
        {[&] { m_model->EditKinematikRotation(); }, false, "Es müssen 2 Bauteile selektiert sein."},
        {[&] { m_model->EditKinematikRotation(); }, true, "Es müssen 2 Bauteile selektiert sein."},
        {[&] { m_model->EditKinematikRotationFest(); }, false,
         "Es müssen mindestens 2 Bauteile selektiert sein."},
        {[&] { m_model->EditKinematikRotationFest(); }, true,
         "Es wurden 0 Verbindung(en) eingefügt."},
        {[&] { m_model->AddKinematikRotTrans(); }, false, "Es müssen 2 Bauteile selektiert sein."},
        {[&] { m_model->SetKineMotor(); }, false, "Es muss zunächst ein Bauteil selektiert sein."},
        {[&] { m_model->AddKollision(); }, false, "Es müssen 2 Bauteile selektiert sein."},
    };
    for (const auto& c : cases) {
        Select(c.WithSelectedPart ? std::vector<std::string>{a} : std::vector<std::string>{});
        m_ports.Messages.clear();
        c.Command();
        ASSERT_EQ(m_ports.Messages.size(), 1u) << c.Message;
        EXPECT_EQ(m_ports.Messages[0], c.Message);
    }
    EXPECT_TRUE(m_model->KineLinks().empty());
    EXPECT_TRUE(m_model->CollisionRules().empty());
    EXPECT_FALSE(m_model->IsModified());
}

TEST_F(KineEditTest, RigidLinksForEveryCoSelectedPartAndRotTransToTheLastOne) {
    const std::string hub = Add("31010");
    const std::vector<std::string> others = {Add("32064"), Add("32064"), Add("38423")};
    Select({hub, others[0], others[1], others[2]});
    m_model->EditKinematikRotationFest();
    ASSERT_EQ(m_ports.Messages.size(), 1u);
    EXPECT_EQ(m_ports.Messages[0], "Es wurden 3 Verbindung(en) eingefügt.");
    ASSERT_EQ(m_model->KineLinks().size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(KineRowText(m_model->KineLinks()[i]), "FST|" + hub + "|" + others[i]);
    }

    Select({hub, others[0], others[2]});
    m_dialogs.TransRotAnswer.Advance = {0.0, std::nullopt, 1.5};
    m_model->AddKinematikRotTrans();
    const TKineData& link = m_model->KineLinks().back();
    EXPECT_EQ(KineRowText(link), "RTR|" + hub + "|" + others[2]);
    EXPECT_EQ(link.DY, 0);  // no number
    EXPECT_FLOAT_EQ(link.DZ, 1.5f);

    // Edited, an advance that is no number keeps its value.
    m_dialogs.TransRotAnswer.Advance = {2.0, std::nullopt, std::nullopt};
    EXPECT_TRUE(m_model->EditKineLink(3, link));
    EXPECT_FLOAT_EQ(m_model->KineLinks()[3].DX, 2.0f);
    EXPECT_FLOAT_EQ(m_model->KineLinks()[3].DZ, 1.5f);
    ASSERT_TRUE(m_dialogs.TransRot.Advance[2].has_value());
    EXPECT_FLOAT_EQ(static_cast<float>(*m_dialogs.TransRot.Advance[2]), 1.5f);

    // A rigid link has nothing to edit.
    m_ports.Messages.clear();
    EXPECT_TRUE(m_model->EditKineLink(0, m_model->KineLinks()[0]));
    EXPECT_EQ(m_ports.Messages, std::vector<std::string>{"Diese Bindung besitzt keine Parameter"});
}

TEST_F(KineEditTest, EditingAGearLinkFallsBackToOneToothAndRowsActOnTheirOwnRecords) {
    const std::string a = Add("31010");
    const std::string b = Add("32064");
    const std::string c = Add("38423");
    TKineData gear;
    gear.Bauteil1 = a;
    gear.Bauteil2 = b;
    gear.Rotation1 = kAxisRollP;
    gear.Rotation2 = kAxisTurnN;
    gear.Z1 = 10;
    gear.Z2 = 20;
    m_model->KineLinks().push_back(gear);
    m_dialogs.DuringGear = [](TGearLinkForm& form, TKinePreview&) {
        form.Z1 = "12";
        form.Z2 = "x";
    };
    EXPECT_TRUE(m_model->EditKineLink(0, gear));
    EXPECT_EQ(m_dialogs.Gear.Button1, kButtonB1);
    EXPECT_EQ(m_dialogs.Gear.Button2, kButtonG2);
    EXPECT_EQ(m_dialogs.Gear.Z2, "20");
    EXPECT_EQ(m_model->KineLinks()[0].Z1, 12);
    EXPECT_EQ(m_model->KineLinks()[0].Z2, 1);
    EXPECT_TRUE(m_model->IsModified());

    // The manager shows [first, second]; then a link is put in front behind its back. The
    // second row still deletes the record it shows.
    TKineData first;
    first.Modus = kKineRotFest;
    first.Bauteil1 = a;
    first.Bauteil2 = c;
    TKineData second = m_model->KineLinks()[0];
    m_model->KineLinks().insert(m_model->KineLinks().begin(), first);
    TKineData inFront = first;
    inFront.Bauteil2 = b;
    m_model->KineLinks().insert(m_model->KineLinks().begin(), inFront);
    EXPECT_TRUE(m_model->DeleteKineLink(1, second));
    ASSERT_EQ(m_model->KineLinks().size(), 2u);
    EXPECT_TRUE(SameLink(m_model->KineLinks()[0], inFront));
    EXPECT_TRUE(SameLink(m_model->KineLinks()[1], first));
    // A row whose record has gone deletes nothing.
    EXPECT_FALSE(m_model->DeleteKineLink(1, second));
    EXPECT_EQ(m_model->KineLinks().size(), 2u);
}

TEST_F(KineEditTest, MotorsTakeTheSelectedPartAndTheManagerEditsAndRemovesThem) {
    const std::string a = Add("31010");
    const std::string b = Add("32064");
    Select({a, b});
    m_dialogs.DuringMotor = [&](TMotorForm& form, TKinePreview& preview) {
        EXPECT_FALSE(Object(b)->Visible());  // co-selected parts are hidden too
        form.MotorIndex = 2;
        form.Status = 2;
        const TVector3f dir = Object(a)->Direction(), up = Object(a)->Up();
        for (int i = 0; i < 5; ++i) {
            preview.StepMotor(form);
        }
        EXPECT_NEAR(TurnedFrom(*Object(a), dir, up), 10, 1e-3);
    };
    m_model->Motors().Motor(3).Speed = 7;
    m_model->SetKineMotor();
    EXPECT_EQ(m_dialogs.Motor.Axis, kMotorAxisY);  // KineRot 2
    EXPECT_EQ(m_dialogs.Motor.Status, 1);
    EXPECT_TRUE(m_dialogs.Motor.PreviewAtStart);
    const TMotorRec& m3 = m_model->Motors().Motor(3);
    EXPECT_EQ(m3.PartName, a);
    EXPECT_EQ(m3.Speed, 1);
    EXPECT_EQ(m3.Status, 2);
    EXPECT_EQ(m3.Rotation, 2);  // Y axis
    EXPECT_TRUE(AtStoredPose(a));
    EXPECT_TRUE(Object(b)->Visible());

    // From the manager: motor 3 shown with its axis and status, the part given to motor 5 too.
    m_dialogs.DuringMotor = [](TMotorForm& form, TKinePreview&) {
        form.MotorIndex = 4;
        form.Axis = kMotorAxisZ;
        form.Status = 0;
    };
    m_model->Motors().Motor(5).Speed = 4;
    m_model->EditKineMotor(MotorNumberOfRow("MOTOR 3"));
    EXPECT_EQ(m_dialogs.Motor.MotorIndex, 2);
    EXPECT_EQ(m_dialogs.Motor.Axis, kMotorAxisY);
    EXPECT_EQ(m_dialogs.Motor.Status, 2);
    EXPECT_FALSE(m_dialogs.Motor.PreviewAtStart);
    EXPECT_EQ(m_model->Motors().Motor(3).PartName, a);
    const TMotorRec& m5 = m_model->Motors().Motor(5);
    EXPECT_EQ(m5.PartName, a);
    EXPECT_EQ(m5.Rotation, 1);
    EXPECT_EQ(m5.Status, 0);
    EXPECT_EQ(m5.Speed, 4);

    m_model->RemoveKineMotor(3);
    EXPECT_TRUE(m_model->Motors().Motor(3).PartName.empty());
    EXPECT_EQ(m_model->Motors().Motor(3).Status, 2);
}

TEST_F(KineEditTest, CollisionRulesAreMadeFromTheFormAndEditedFromTheirRecord) {
    const std::string a = Add("31010");
    const std::string b = Add("32064");
    Select({a, b});
    m_dialogs.CollisionAnswer.Active = false;
    m_dialogs.CollisionAnswer.Abstand = std::nullopt;
    m_dialogs.CollisionAnswer.Aktion = 2;
    m_dialogs.CollisionAnswer.MotorIndex = 5;
    m_model->AddKollision();
    ASSERT_EQ(m_model->CollisionRules().size(), 1u);
    const TCollData rule = m_model->CollisionRules()[0];
    EXPECT_EQ(CollisionRowText(rule), a + "|" + b + "|6");
    EXPECT_FALSE(rule.Active);
    EXPECT_EQ(rule.Abstand, 8);  // no number
    EXPECT_EQ(m_dialogs.Collision.Aktion, 0);
    EXPECT_EQ(m_dialogs.Collision.Abstand, 8.0);

    // A rule that only reports: its name in the edit, motor 1 in the list.
    m_dialogs.CollisionAnswer = {true, 1500.0, kCollisionReportOnly, 0, "Tor"};
    EXPECT_TRUE(m_model->EditCollisionRule(0, rule));
    EXPECT_EQ(m_model->CollisionRules()[0].Param1, "Tor");
    EXPECT_EQ(m_model->CollisionRules()[0].Abstand, 1500);
    const TCollData edited = m_model->CollisionRules()[0];
    EXPECT_TRUE(m_model->EditCollisionRule(0, edited));
    EXPECT_EQ(m_dialogs.Collision.Name, "Tor");
    EXPECT_EQ(m_dialogs.Collision.MotorIndex, 0);
    EXPECT_EQ(m_dialogs.Collision.Abstand, 1500.0);

    EXPECT_FALSE(m_model->DeleteCollisionRule(0, rule));  // the row's record has changed
    EXPECT_TRUE(m_model->DeleteCollisionRule(0, edited));
    EXPECT_TRUE(m_model->CollisionRules().empty());
}

TEST(KineEditRules, AxisButtonsToothRatiosAndMotorRows) {
    for (int b = 0; b < kAxisButtonCount; ++b) {
        EXPECT_EQ(ButtonOfLinkCode(LinkCodeOfButton(b)), b);
    }
    EXPECT_EQ(LinkCodeOfButton(kButtonR2), kAxisPitchN);
    EXPECT_EQ(LinkCodeOfButton(kButtonB1), kAxisRollP);
    for (int axis : {kMotorAxisX, kMotorAxisY, kMotorAxisZ}) {
        EXPECT_EQ(MotorAxisOfRotation(MotorRotationOfAxis(axis)), axis);
    }
    const struct {
        const char* Z1;
        const char* Z2;
        double Ratio;
    } ratios[] = {{"10", "20", 0.5}, {"2,5", "1", 2.5}, {"3.0", "2", 1.5},
                  {"x", "2", 1},     {"1", "0", 1},     {"", "", 1}};
    for (const auto& r : ratios) {
        EXPECT_DOUBLE_EQ(PreviewToothRatio(r.Z1, r.Z2), r.Ratio) << r.Z1 << "/" << r.Z2;
    }
    EXPECT_EQ(MotorNumberOfRow("MOTOR 7"), 7);
    EXPECT_EQ(MotorNumberOfRow("MOTOR x"), 1);
}
