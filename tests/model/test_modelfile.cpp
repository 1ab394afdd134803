// Saving, loading and merging whole models: round trips, merges, failures, stand-in parts.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <set>

#include <cstring>
#include <random>
#include <sstream>

#include "foundation/u_text.h"
#include "model/u_placeholder.h"
#include "model_fixture.h"

using namespace kx;

namespace {

class TRecordingWait : public TWaitView {
public:
    void ShowWait(const std::string& title, int maximum) override {
        Titles.push_back(title);
        Maximum = maximum;
        Shown = true;
        Positions.clear();
    }
    void SetWaitPosition(int position) override { Positions.push_back(position); }
    void ProcessMessages() override { ++Processed; }
    void CloseWait() override { Shown = false; }

    std::vector<std::string> Titles;
    int Maximum = -1;
    bool Shown = false;
    std::vector<int> Positions;
    int Processed = 0;
};

/// Builds part objects as usual but fails once, at the given build.
class TFailingBuilder : public TBasicPartObjectBuilder {
public:
    explicit TFailingBuilder(int failAt) : m_left(failAt) {}
    TFreeForm& Build(TDummyCube& root, TMaterialLibrary& library, const TPartFiles& files,
                     TffCache& meshes, std::string_view meshDir, const TDefObj& def,
                     const TPartObjectRequest& request) override {
        if (m_left-- == 0) {
            throw std::runtime_error("kein Speicher mehr");
        }
        return TBasicPartObjectBuilder::Build(root, library, files, meshes, meshDir, def, request);
    }

private:
    int m_left;
};

class ModelFileTest : public kxtest::ModelTest {
protected:
    ModelFileTest() { m_model->SetWaitView(&m_wait); }

    std::string PathOf(const std::string& name) const { return (m_dir / name).string(); }

    /// The model as SaveModell writes it.
    std::string Saved(const std::string& name = "probe.kxm") {
        const TModelFileResult r = m_model->SaveModell(PathOf(name));
        EXPECT_TRUE(r.Success) << r.Error;
        return kxtest::ReadFile(PathOf(name));
    }

    void WriteLines(const std::string& name, const std::vector<std::string>& lines) {
        ASSERT_TRUE(WriteTextFile(PathOf(name), lines));
    }

    TModelFileResult Load(const std::string& name, bool newModel) {
        return m_model->LoadModell(PathOf(name), newModel);
    }

    /// A model with something in every list.
    void BuildRichModel() {
        const std::string a = Add("31010");
        const std::string b = Add("32064");
        m_model->SetBauphase(2);
        const std::string c = Add("38423");
        const std::string d = Add("31010");
        Object(a)->SetPosition({1.5f, 0.1f, -3});
        Object(a)->SetTurnAngle(30);
        m_model->RefreshBauteil(a, false, -1);
        Object(b)->SetPitchAngle(-45);
        Object(b)->SetPosition({0.123456f, 7, 1e-5f});
        m_model->RefreshBauteil(b, false, -1);
        Object(c)->SetRollAngle(10);
        Object(c)->SetPosition({-2, 3, 4});
        m_model->RefreshBauteil(c, false, -1);
        m_model->FindBauteil(d)->SetColor(0x123456);

        m_model->FindBauteil(a)->AddKey({1, 2, 3, 0, 1, 0, 0, 0, 1, 10});
        m_model->FindBauteil(a)->AddKey({0.1f, 0.2f, 0.3f, 0, 1, 0, 1, 0, 0, 5});
        m_model->FindBauteil(c)->AddKey({4, 5, 6, 0, 0, 1, 0, 1, 0, 1});

        THoseData hose;
        hose.Radius = 0.05f;
        hose.Colour = hose.DisplayColour = 0x0000FF;
        hose.Phase = 2;
        hose.Tag = 2;
        hose.Smooth = true;
        hose.Nodes = {{0, 0, 0}, {1.5f, 2, 3}, {0.1f, 0.2f, 0.3f}};
        m_model->AddHoseFromRecord(hose);

        TKineData link;
        link.Modus = kKineRotRot;
        link.Bauteil1 = a;
        link.Bauteil2 = b;
        link.Rotation1 = kAxisTurnP;
        link.Rotation2 = kAxisRollN;
        link.Z1 = 10;
        link.Z2 = 20;
        m_model->KineLinks().push_back(link);
        link.Modus = kKineRotTrans;
        link.Bauteil2 = c;
        link.DY = 0.7f;
        m_model->KineLinks().push_back(link);
        m_model->Motors().Motor(1) = {2, 4, 1, a, 1};
        m_model->Motors().Motor(5) = {0, 10, 2, c, 0};
        m_model->CollisionRules().push_back({true, a, d, 2.5f, 1, "5", false});

        auto group = std::make_unique<TGroup>();
        group->Name = "Räder";
        group->Members = {a, c};
        m_model->Groups().push_back(std::move(group));
        auto internal = std::make_unique<TGroup>();
        internal->Internal = true;
        internal->Members = {d};
        m_model->Groups().push_back(std::move(internal));

        auto m = std::make_unique<TMeasurement>(Object(a), Object(c));
        m->BaseLineHeight = -2;
        m->Rotation = 90;
        m->Lift1 = 1.5;
        m->Visible = false;
        m_model->Measurements().push_back(std::move(m));

        THZData hz;
        hz.Name = "X0001";
        hz.Bez = "Streifen";
        hz.Mods = {{0, 120, 0, 0, 0}, {1, 20, 0, 4, 0}, {5, 60, 0, 0, 90}};
        m_model->SemiFinishedParts().push_back(hz);

        m_model->SequenceLines = {
            "[LOGIKCOMMON]",   "BLOCKCOUNT=1", "CONNCOUNT=0", "", "[LOGIKBLOCK1]",
            "TYP=TBLOCKSTART", "X=16",         "Y=8",         ""};
        m_model->Information() = {"Kran", "Vorlage", "Ich", "Fahrzeuge", {"eins", "zwei"}};
        m_model->AniLength = 321;
        m_model->Cameras()[1].Name = "Oben";
        m_model->Cameras()[1].PositionY = 20.5;
        m_scene.Camera()->SetPosition({3, 4, -12});
        m_scene.Camera()->SetDirection({0.3f, -0.2f, 1});
        m_scene.CameraTarget()->SetPosition({0.25f, 0, 0});
    }

    TRecordingWait m_wait;
};

TVector3f Vec(std::mt19937& rng) {
    std::uniform_real_distribution<float> d(-1000, 1000);
    return {d(rng) / 7, d(rng) * 1e-6f, d(rng) * 3};
}

bool SameBits(const TVector3f& a, const TVector3f& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

// --- Round trips ------------------------------------------------------------------------------

TEST_F(ModelFileTest, LoadingAndSavingAFileTheProgramWroteChangesNoByte) {
    BuildRichModel();
    const std::string first = Saved("a.kxm");

    const TModelFileResult r = Load("a.kxm", true);
    ASSERT_TRUE(r.Success) << r.Error;
    EXPECT_EQ(Saved("b.kxm"), first);

    // The file is Windows-1252 with CR LF on every line, the last included.
    EXPECT_NE(first.find("GNAME=R\xe4"
                         "der\r\n"),
              std::string::npos);
    EXPECT_EQ(first.substr(first.size() - 2), "\r\n");
    EXPECT_EQ(first.find("\n\n"), std::string::npos);
    EXPECT_EQ(first.find("[PART1]\r\nNAME=F31010_1\r\nXPOS=1,5\r\n"), 0u);
}

TEST_F(ModelFileTest, EverySectionComesBackIntoTheModel) {
    BuildRichModel();
    Saved("a.kxm");
    m_model->DeleteAll();
    EXPECT_TRUE(m_model->SequenceLines.empty());
    ASSERT_TRUE(Load("a.kxm", true).Success);

    EXPECT_EQ(PartNames(),
              (std::vector<std::string>{"F31010_1", "F32064_1", "F38423_1", "F31010_2"}));
    EXPECT_EQ(m_model->FindBauteil("F38423_1")->Phase(), 2);
    EXPECT_EQ(m_model->FindBauteil("F31010_2")->Color(), 0x123456u);
    EXPECT_EQ(ObjectColour("F31010_2"), 0x123456u);
    EXPECT_EQ(LibColour("F31010_2"), 0x123456u);
    EXPECT_EQ(m_model->FindBauteil("F31010_1")->Keys().size(), 2u);
    EXPECT_EQ(m_model->FindBauteil("F31010_1")->Keys()[1].Time, 5);
    EXPECT_EQ(m_model->FindBauteil("F38423_1")->Keys().size(), 1u);
    ASSERT_EQ(m_model->Hoses().size(), 1u);
    EXPECT_EQ(m_model->Hoses()[0]->NodeCount(), 3u);
    EXPECT_EQ(m_model->Hoses()[0]->SplineMode(), TSplineMode::lsmCubicSpline);
    ASSERT_EQ(m_model->KineLinks().size(), 2u);
    EXPECT_EQ(m_model->KineLinks()[1].Bauteil2, "F38423_1");
    EXPECT_EQ(m_model->KineLinks()[1].DY, 0.7f);
    EXPECT_EQ(m_model->Motors().Motor(1).PartName, "F31010_1");
    EXPECT_EQ(m_model->Motors().Motor(1).Sound, 1);
    EXPECT_EQ(m_model->Motors().Motor(5).Status, 2);
    ASSERT_EQ(m_model->CollisionRules().size(), 1u);
    EXPECT_EQ(m_model->CollisionRules()[0].ObjName2, "F31010_2");
    ASSERT_EQ(m_model->Groups().size(), 2u);
    EXPECT_EQ(m_model->Groups()[0]->Name, "Räder");
    EXPECT_TRUE(m_model->Groups()[1]->Internal);
    ASSERT_EQ(m_model->Measurements().size(), 1u);
    const TMeasurement& m = *m_model->Measurements()[0];
    EXPECT_EQ(m.Part1, Object("F31010_1"));
    EXPECT_EQ(m.Part2, Object("F38423_1"));
    EXPECT_EQ(m.Lift1, 1.5);
    EXPECT_FALSE(m.Visible);
    ASSERT_EQ(m_model->SemiFinishedParts().size(), 1u);
    EXPECT_EQ(m_model->SemiFinishedParts()[0].Mods.size(), 3u);
    EXPECT_EQ(m_model->SequenceLines.size(), 9u);
    EXPECT_EQ(m_model->Information().Description, (std::vector<std::string>{"eins", "zwei"}));
    EXPECT_EQ(m_model->AniLength, 321);
    EXPECT_EQ(m_model->Cameras()[1].Name, "Oben");
    EXPECT_EQ(m_model->Cameras()[1].PositionY, 20.5);
    EXPECT_EQ(m_scene.Camera()->Position(), (TVector3f{3, 4, -12}));
    EXPECT_EQ(m_scene.CameraTarget()->Position(), (TVector3f{0.25f, 0, 0}));
    EXPECT_EQ(m_scene.Light(2)->Position(), m_scene.Camera()->AbsolutePosition());

    // After any load: phase 1, every phase shown, the tree sorted, no undo step, no flags.
    EXPECT_EQ(m_model->CurrentPhase(), 1);
    EXPECT_EQ(m_model->HighestVisiblePhase(), kNoPhaseLimit);
    EXPECT_EQ(TreeTexts(), (std::vector<std::string>{"1. Bauphase", "  F31010_1", "  F32064_1",
                                                     "2. Bauphase", "  F38423_1", "  F31010_2"}));
    EXPECT_TRUE(m_model->UndoList().Empty());
    EXPECT_FALSE(m_model->UndoSuppressed());
    EXPECT_FALSE(m_model->Loading);
    EXPECT_TRUE(m_ports.Messages.empty());
}

TEST_F(ModelFileTest, SinglePrecisionValuesComeBackBitForBit) {
    std::mt19937 rng(7);
    for (int i = 0; i < 40; ++i) {
        TBauteil& r = *m_model->FindBauteil(Add(i % 2 ? "31010" : "32064"));
        // Not normalised on purpose: the record keeps whatever it holds.
        r.SetPosition(Vec(rng));
        r.SetDirection(Vec(rng));
        r.SetUp(Vec(rng));
        const TVector3f p = Vec(rng), d = Vec(rng), u = Vec(rng);
        r.AddKey({p.X, p.Y, p.Z, u.X, u.Y, u.Z, d.X, d.Y, d.Z, i});
    }
    std::vector<std::unique_ptr<TBauteil>> before;
    for (const auto& r : m_model->Parts()) {
        before.push_back(std::make_unique<TBauteil>(*r));
    }
    Saved("a.kxm");
    ASSERT_TRUE(Load("a.kxm", true).Success);
    ASSERT_EQ(m_model->Parts().Count(), before.size());
    for (size_t i = 0; i < before.size(); ++i) {
        const TBauteil& now = m_model->Parts()[i];
        EXPECT_TRUE(SameBits(now.Position(), before[i]->Position()));
        EXPECT_TRUE(SameBits(now.Direction(), before[i]->Direction()));
        EXPECT_TRUE(SameBits(now.Up(), before[i]->Up()));
        EXPECT_EQ(now.Keys(), before[i]->Keys());
    }
}

TEST_F(ModelFileTest, HiddenSectionsSurviveABuildWithoutTheirFeatures) {
    // A file with hoses, links, key frames, collision rules, a sequence program, semi-finished
    // parts and a part of one of them, as a later build would write it.
    const std::vector<std::string> file = {"[PART1]",
                                           "NAME=F31010_1",
                                           "XPOS=1",
                                           "YPOS=0",
                                           "ZPOS=0",
                                           "XUP=0",
                                           "YUP=1",
                                           "ZUP=0",
                                           "XDIR=0",
                                           "YDIR=0",
                                           "ZDIR=1",
                                           "COLOR=255",
                                           "PHASE=1",
                                           "",
                                           "[PART2]",
                                           "NAME=FX0001_1",
                                           "XPOS=2",
                                           "YPOS=0",
                                           "ZPOS=0",
                                           "XUP=0",
                                           "YUP=1",
                                           "ZUP=0",
                                           "XDIR=1",
                                           "YDIR=0",
                                           "ZDIR=0",
                                           "COLOR=2105599",
                                           "PHASE=3",
                                           "",
                                           "[COMMON]",
                                           "Version=1",
                                           "Count=2",
                                           "InfModell=",
                                           "InfOriginal=",
                                           "InfGebaut=",
                                           "InfKategorie=",
                                           "InfBeschreibungCount=0",
                                           "TubeCount=2",
                                           "KinematikCount=1",
                                           "CollisionCount=1",
                                           "HalbzeugCount=1",
                                           "GroupCount=0",
                                           "MeasureCount=0",
                                           "MotorSpeed1=3",
                                           "MOTORROTATION1=2",
                                           "MOTORSTATUS1=1",
                                           "Motor1=FX0001_1",
                                           "MOTORSOUND1=0",
                                           "MotorSpeed2=1",
                                           "MOTORROTATION2=0",
                                           "MOTORSTATUS2=0",
                                           "Motor2=",
                                           "MOTORSOUND2=0",
                                           "MotorSpeed3=1",
                                           "MOTORROTATION3=0",
                                           "MOTORSTATUS3=0",
                                           "Motor3=",
                                           "MOTORSOUND3=0",
                                           "MotorSpeed4=1",
                                           "MOTORROTATION4=0",
                                           "MOTORSTATUS4=0",
                                           "Motor4=",
                                           "MOTORSOUND4=0",
                                           "MotorSpeed5=1",
                                           "MOTORROTATION5=0",
                                           "MOTORSTATUS5=0",
                                           "Motor5=",
                                           "MOTORSOUND5=0",
                                           "MotorSpeed6=1",
                                           "MOTORROTATION6=0",
                                           "MOTORSTATUS6=0",
                                           "Motor6=",
                                           "MOTORSOUND6=0",
                                           "MotorSpeed7=1",
                                           "MOTORROTATION7=0",
                                           "MOTORSTATUS7=0",
                                           "Motor7=",
                                           "MOTORSOUND7=0",
                                           "MotorSpeed8=1",
                                           "MOTORROTATION8=0",
                                           "MOTORSTATUS8=0",
                                           "Motor8=",
                                           "MOTORSOUND8=0",
                                           "KeyCount=2",
                                           "AniLength=80",
                                           "",
                                           "[CAMERA]",
                                           "PositionX=0",
                                           "PositionY=1",
                                           "PositionZ=-10",
                                           "DirectionX=0",
                                           "DirectionY=0",
                                           "DirectionZ=1",
                                           "UpX=0",
                                           "UpY=1",
                                           "UpZ=0",
                                           "TargetX=0",
                                           "TargetY=0",
                                           "TargetZ=0",
                                           "",
                                           "[EXCAM1]",
                                           "CAMNAME=A",
                                           "POSITIONX=0",
                                           "POSITIONY=1",
                                           "POSITIONZ=-10",
                                           "TARGETX=0",
                                           "TARGETY=0",
                                           "TARGETZ=0",
                                           "",
                                           "[EXCAM2]",
                                           "CAMNAME=B",
                                           "POSITIONX=0",
                                           "POSITIONY=1",
                                           "POSITIONZ=-10",
                                           "TARGETX=0",
                                           "TARGETY=0",
                                           "TARGETZ=0",
                                           "",
                                           "[EXCAM3]",
                                           "CAMNAME=C",
                                           "POSITIONX=0",
                                           "POSITIONY=1",
                                           "POSITIONZ=-10",
                                           "TARGETX=0",
                                           "TARGETY=0",
                                           "TARGETZ=0",
                                           "",
                                           "[EXCAM4]",
                                           "CAMNAME=D",
                                           "POSITIONX=0",
                                           "POSITIONY=1",
                                           "POSITIONZ=-10",
                                           "TARGETX=0",
                                           "TARGETY=0",
                                           "TARGETZ=0",
                                           "",
                                           "[TUBE1]",
                                           "Radius=0,200000002980232",
                                           "Color=16744512",
                                           "Phase=0",
                                           "Tag=0",
                                           "Count=2",
                                           "Mode=0",
                                           "X1=0",
                                           "Y1=0",
                                           "Z1=0",
                                           "X2=1,25",
                                           "Y2=-3",
                                           "Z2=0,5",
                                           "",
                                           "[TUBE2]",
                                           "Radius=0,0500000007450581",
                                           "Color=255",
                                           "Phase=3",
                                           "Tag=2",
                                           "Count=0",
                                           "Mode=1",
                                           "",
                                           "[KEY1]",
                                           "Name=F31010_1",
                                           "Time=10",
                                           "PositionX=1",
                                           "PositionY=2",
                                           "PositionZ=3",
                                           "DirectionX=0",
                                           "DirectionY=0",
                                           "DirectionZ=1",
                                           "UpX=0",
                                           "UpY=1",
                                           "UpZ=0",
                                           "",
                                           "[KEY2]",
                                           "Name=FX0001_1",
                                           "Time=20",
                                           "PositionX=-1",
                                           "PositionY=2",
                                           "PositionZ=3",
                                           "DirectionX=1",
                                           "DirectionY=0",
                                           "DirectionZ=0",
                                           "UpX=0",
                                           "UpY=1",
                                           "UpZ=0",
                                           "",
                                           "[KINE1]",
                                           "Modus=ROTFEST",
                                           "Bauteil1=F31010_1",
                                           "Bauteil2=FX0001_1",
                                           "Rotation1=PITCHP",
                                           "Rotation2=ROLLN",
                                           "Z1=1",
                                           "Z2=1",
                                           "DX=0",
                                           "DY=0",
                                           "DZ=0",
                                           "[LOGIKCOMMON]",
                                           "BLOCKCOUNT=1",
                                           "CONNCOUNT=0",
                                           "",
                                           "[LOGIKBLOCK1]",
                                           "TYP=TBLOCKMOTOR",
                                           "X=26",
                                           "Y=31",
                                           "MOTORNR=1",
                                           "STATUS=2",
                                           "",
                                           "[KINECOLL1]",
                                           "ACTIVE=1",
                                           "OBJNAME1=F31010_1",
                                           "OBJNAME2=FX0001_1",
                                           "ABSTAND=8",
                                           "AKTION=4",
                                           "PARAM1=Stopp",
                                           "",
                                           "",
                                           "",
                                           "[HZ1]",
                                           "NAME=X0001",
                                           "BEZ=Lasche",
                                           "TYP=0",
                                           "COUNT=2",
                                           "TYP_0=0",
                                           "X1_0=60",
                                           "X2_0=0",
                                           "D_0=0",
                                           "MODE_0=0",
                                           "TYP_1=1",
                                           "X1_1=30",
                                           "X2_1=0",
                                           "D_1=4",
                                           "MODE_1=0",
                                           ""};
    WriteLines("later.kxm", file);
    const TModelFileResult r = Load("later.kxm", true);
    ASSERT_TRUE(r.Success) << r.Error;
    EXPECT_TRUE(r.MissingParts.empty());  // the strip was baked as the model loaded
    EXPECT_EQ(m_model->FindBauteil("FX0001_1")->Keys().size(), 1u);
    EXPECT_EQ(Saved("again.kxm"), kxtest::ReadFile(PathOf("later.kxm")));
}

TEST_F(ModelFileTest, TheCameraFrameDoesNotDriftFromLoadToLoad) {
    // Normalising this frame once more changes its last bits.
    m_scene.Camera()->SetPosition({-25, 20, -30});
    m_scene.Camera()->SetDirection({25, -20, 30});
    const std::string first = Saved("a.kxm");
    ASSERT_TRUE(Load("a.kxm", true).Success);
    EXPECT_EQ(Saved("b.kxm"), first);
    ASSERT_TRUE(Load("b.kxm", true).Success);
    EXPECT_EQ(Saved("c.kxm"), first);

    // Once the camera moves, its own pose is what is saved.
    m_scene.Camera()->SetPosition({1, 2, 3});
    EXPECT_NE(Saved("d.kxm").find("PositionX=1\r\nPositionY=2\r\nPositionZ=3\r\n"),
              std::string::npos);
}

TEST_F(ModelFileTest, AValueWrittenWithAPointReadsAsZero) {
    WriteLines("point.kxm",
               {"[PART1]", "NAME=F31010_1", "XPOS=12.5", "YPOS=12,5", "[COMMON]", "Count=1"});
    ASSERT_TRUE(Load("point.kxm", true).Success);
    EXPECT_EQ(m_model->FindBauteil("F31010_1")->Position(), (TVector3f{0, 12.5f, 0}));
    EXPECT_EQ(Saved().find("XPOS=0\r\nYPOS=12,5\r\n") != std::string::npos, true);
}

TEST_F(ModelFileTest, OnlyCountedPartsLoadWhateverTheirSectionNumbers) {
    WriteLines("order.kxm", {"[PART7]", "NAME=F32064_7", "[PART1]", "NAME=F31010_1", "[PART2]",
                             "NAME=F31010_2", "[COMMON]", "Count=2"});
    ASSERT_TRUE(Load("order.kxm", true).Success);
    EXPECT_EQ(PartNames(), (std::vector<std::string>{"F32064_7", "F31010_1"}));
}

TEST_F(ModelFileTest, AFileWithoutCameraLeavesTheCameraWhereItWas) {
    m_scene.Camera()->SetPosition({5, 6, 7});
    WriteLines("nocam.kxm", {"[COMMON]", "Count=0"});
    ASSERT_TRUE(Load("nocam.kxm", true).Success);
    EXPECT_EQ(m_scene.Camera()->Position(), (TVector3f{5, 6, 7}));
    EXPECT_EQ(m_model->AniLength, 100);
}

TEST_F(ModelFileTest, AStreamIsReadFromItsStart) {
    BuildRichModel();
    const std::string bytes = Saved("a.kxm");
    m_model->DeleteAll();
    std::istringstream stream(bytes);
    stream.seekg(100);
    const TModelFileResult r = m_model->LoadModell("", true, stream);
    ASSERT_TRUE(r.Success) << r.Error;
    EXPECT_EQ(m_model->Parts().Count(), 4u);
    EXPECT_EQ(Saved("b.kxm"), bytes);
}

// --- Merging ----------------------------------------------------------------------------------

TEST_F(ModelFileTest, MergingRenamesClashingPartsAndEverythingThatNamesThem) {
    // The file: F31010_1 and F32064_1 with key frames, a measurement, a link, a rule, a motor
    // and a group between them.
    const std::string a = Add("31010");
    const std::string b = Add("32064");
    m_model->FindBauteil(a)->AddKey({1, 1, 1, 0, 1, 0, 0, 0, 1, 3});
    m_model->Measurements().push_back(std::make_unique<TMeasurement>(Object(a), Object(b)));
    m_model->KineLinks().push_back({kKineRotFest, a, b, 0, 0, 1, 1, 0, 0, 0, 0, 0});
    m_model->CollisionRules().push_back({true, b, a, 8, 4, "", false});
    m_model->Motors().Motor(2).PartName = a;
    auto group = std::make_unique<TGroup>();
    group->Members = {a, b};
    m_model->Groups().push_back(std::move(group));
    m_model->Information().InfModell = "Datei";
    Saved("part.kxm");

    // The open model: F31010_1 of its own, in phase 3.
    m_model->DeleteAll();
    const std::string own = Add("31010");
    m_model->Information().InfModell = "Offen";
    m_model->SetBauphase(3);
    const size_t undoSteps = m_model->UndoList().Count();

    const TModelFileResult r = Load("part.kxm", false);
    ASSERT_TRUE(r.Success) << r.Error;
    EXPECT_EQ(PartNames(), (std::vector<std::string>{"F31010_1", "F31010_2", "F32064_1"}));
    EXPECT_EQ(m_model->FindBauteil("F31010_2")->Phase(), 3);
    EXPECT_EQ(m_model->FindBauteil("F32064_1")->Phase(), 3);
    EXPECT_EQ(m_model->FindBauteil(own)->Phase(), 1);
    EXPECT_TRUE(m_model->FindBauteil(own)->Keys().empty());
    EXPECT_EQ(m_model->FindBauteil("F31010_2")->Keys().size(), 1u);
    ASSERT_EQ(m_model->Measurements().size(), 1u);
    EXPECT_EQ(m_model->Measurements()[0]->Part1, Object("F31010_2"));
    ASSERT_EQ(m_model->KineLinks().size(), 1u);
    EXPECT_EQ(m_model->KineLinks()[0].Bauteil1, "F31010_2");
    EXPECT_EQ(m_model->KineLinks()[0].Bauteil2, "F32064_1");
    ASSERT_EQ(m_model->CollisionRules().size(), 1u);
    EXPECT_EQ(m_model->CollisionRules()[0].ObjName2, "F31010_2");
    EXPECT_EQ(m_model->Motors().Motor(2).PartName, "F31010_2");
    ASSERT_EQ(m_model->Groups().size(), 1u);
    EXPECT_EQ(m_model->Groups()[0]->Members, (std::vector<std::string>{"F31010_2", "F32064_1"}));

    // The merged parts are selected, the model's texts are the file's, the undo list stays.
    ASSERT_NE(m_model->SelectedPart(), nullptr);
    EXPECT_EQ(m_model->SelectedPart()->Name(), "F31010_2");
    EXPECT_TRUE(m_model->FindBauteil("F32064_1")->CoSelected());
    EXPECT_FALSE(m_model->FindBauteil(own)->CoSelected());
    EXPECT_EQ(m_model->Information().InfModell, "Datei");
    EXPECT_EQ(m_model->UndoList().Count(), undoSteps);
    EXPECT_EQ(m_model->CurrentPhase(), 1);
}

TEST_F(ModelFileTest, MergingTwiceKeepsBothCopiesApart) {
    Add("31010");
    auto group = std::make_unique<TGroup>();
    group->Members = {"F31010_1"};
    m_model->Groups().push_back(std::move(group));
    m_model->FindBauteil("F31010_1")->AddKey({});
    Saved("one.kxm");
    ASSERT_TRUE(Load("one.kxm", false).Success);
    ASSERT_TRUE(Load("one.kxm", false).Success);
    EXPECT_EQ(PartNames(), (std::vector<std::string>{"F31010_1", "F31010_2", "F31010_3"}));
    ASSERT_EQ(m_model->Groups().size(), 3u);
    EXPECT_EQ(m_model->Groups()[2]->Members, (std::vector<std::string>{"F31010_3"}));
    for (const auto& r : m_model->Parts()) {
        EXPECT_EQ(r->Keys().size(), 1u) << r->Name();
    }
}

// --- Failures ---------------------------------------------------------------------------------

TEST_F(ModelFileTest, AFailedLoadLeavesTheModelExactlyAsItWas) {
    BuildRichModel();
    m_model->FileName = "offen.kxm";
    const std::string before = Saved("before.kxm");
    const size_t undoSteps = m_model->UndoList().Count();
    ASSERT_GT(undoSteps, 0u);

    std::vector<std::string> broken = {"[PART1]", "NAME=F31010_1", "[COMMON]", "Count=2"};
    WriteLines("count.kxm", broken);
    kxtest::WriteFile(m_dir / "folder.kxm" / "x", "");

    for (const char* name : {"count.kxm", "missing.kxm", "folder.kxm"}) {
        for (const bool newModel : {true, false}) {
            SCOPED_TRACE(std::string(name) + (newModel ? " new" : " merge"));
            m_wait = {};
            const TModelFileResult r = Load(name, newModel);
            EXPECT_FALSE(r.Success);
            EXPECT_FALSE(r.Error.empty());
            EXPECT_FALSE(m_wait.Shown);
            EXPECT_FALSE(m_model->UndoSuppressed());
            EXPECT_FALSE(m_model->Loading);
            EXPECT_TRUE(m_ports.Messages.empty());
            EXPECT_EQ(m_model->UndoList().Count(), undoSteps);
            EXPECT_EQ(m_model->FileName, "offen.kxm");
            EXPECT_EQ(Saved("after.kxm"), before);
        }
    }
    EXPECT_NE(Load("count.kxm", true).Error.find("2"), std::string::npos);
    EXPECT_NE(Load("missing.kxm", true).Error.find("missing.kxm"), std::string::npos);
}

TEST_F(ModelFileTest, AnErrorHalfWayThroughPutsTheModelBack) {
    BuildRichModel();
    Saved("rich.kxm");
    m_model->FileName = "offen.kxm";
    const std::string before = Saved("before.kxm");
    const size_t undoSteps = m_model->UndoList().Count();

    for (const bool newModel : {true, false}) {
        SCOPED_TRACE(newModel ? "new" : "merge");
        m_model->SetPartObjectBuilder(std::make_unique<TFailingBuilder>(2));
        const TModelFileResult r = Load("rich.kxm", newModel);
        EXPECT_FALSE(r.Success);
        EXPECT_NE(r.Error.find("kein Speicher mehr"), std::string::npos);
        EXPECT_FALSE(m_wait.Shown);
        EXPECT_EQ(Saved("after.kxm"), before);
        EXPECT_EQ(m_model->UndoList().Count(), undoSteps);
        EXPECT_EQ(m_model->FileName, "offen.kxm");
        EXPECT_EQ(m_model->CurrentPhase(), 2);
        EXPECT_FALSE(m_model->UndoSuppressed());
        EXPECT_FALSE(m_model->Loading);
        // Every part has its object again.
        for (const auto& part : m_model->Parts()) {
            EXPECT_EQ(Object(part->Name()), part->Object());
        }
    }
}

TEST_F(ModelFileTest, AFailedSaveLeavesTheOldFileAndSaysWhy) {
    Add("31010");
    const std::string name = "alt.kxm";
    kxtest::WriteFile(m_dir / name, "old model");
    // A disk that takes only a few bytes more: writing the new model fails half-way. (A limit,
    // not permissions, so that the test means the same when it runs as root.)
    rlimit before{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    rlimit tiny = before;
    tiny.rlim_cur = 64;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    const TModelFileResult r = m_model->SaveModell(PathOf(name));
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(r.Success);
    EXPECT_FALSE(r.Error.empty());
    EXPECT_EQ(kxtest::ReadFile(m_dir / name), "old model");
    EXPECT_FALSE(m_wait.Shown);

    const TModelFileResult intoFolder = m_model->SaveModell(m_dir.Path().string());
    EXPECT_FALSE(intoFolder.Success);
    EXPECT_TRUE(std::filesystem::is_directory(m_dir.Path()));
}

// --- Parts without mesh -----------------------------------------------------------------------

TEST_F(ModelFileTest, PartsWithoutMeshStayAsStandInsAndAreSavedBackUnchanged) {
    const std::vector<std::string> parts = {
        "[PART1]", "NAME=F99999_4", "XPOS=1", "YPOS=2", "ZPOS=3",      "XUP=0",   "YUP=1",
        "ZUP=0",   "XDIR=1",        "YDIR=0", "ZDIR=0", "COLOR=65280", "PHASE=2", "",
        "[PART2]", "NAME=FX0001_1", "XPOS=0", "YPOS=0", "ZPOS=0",      "XUP=0",   "YUP=1",
        "ZUP=0",   "XDIR=0",        "YDIR=0", "ZDIR=1", "COLOR=255",   "PHASE=1", "",
        "[PART3]", "NAME=F31010_1", "XPOS=0", "YPOS=0", "ZPOS=0",      "XUP=0",   "YUP=1",
        "ZUP=0",   "XDIR=0",        "YDIR=0", "ZDIR=1", "COLOR=255",   "PHASE=1", "",
        "[PART4]", "NAME=F99999_5", "XPOS=0", "YPOS=0", "ZPOS=0",      "XUP=0",   "YUP=1",
        "ZUP=0",   "XDIR=0",        "YDIR=0", "ZDIR=1", "COLOR=255",   "PHASE=1", ""};
    std::vector<std::string> lines = parts;
    for (const char* l : {"[COMMON]", "Count=4", "KeyCount=1", "", "[KEY1]", "Name=F99999_4",
                          "Time=3", "[GROUP1]", "GNAME=G", "GPART1=FX0001_1", "GPART2=F31010_1"}) {
        lines.push_back(l);
    }
    WriteLines("missing.kxm", lines);
    const TModelFileResult r = Load("missing.kxm", true);
    ASSERT_TRUE(r.Success) << r.Error;
    EXPECT_EQ(r.MissingParts, (std::vector<std::string>{"99999", "X0001", "99999"}));
    ASSERT_EQ(m_ports.Messages.size(), 1u);
    EXPECT_EQ(m_ports.Messages[0], "Folgende Bauteile sind nicht vorhanden: 99999 X0001 99999 ");

    EXPECT_EQ(PartNames(),
              (std::vector<std::string>{"F99999_4", "FX0001_1", "F31010_1", "F99999_5"}));
    TFreeForm* standIn = Object("F99999_4");
    ASSERT_NE(standIn, nullptr);
    EXPECT_EQ(standIn->Mesh(), PlaceholderMesh());
    EXPECT_GT(standIn->Mesh()->TriangleCount(), 0u);
    EXPECT_TRUE(standIn->Visible());
    EXPECT_EQ(ObjectColour("F99999_4"), 65280u);
    EXPECT_EQ(LibColour("F99999_4"), 65280u);
    EXPECT_EQ(standIn->Position(), (TVector3f{1, 2, 3}));
    EXPECT_EQ(m_model->FindBauteil("F99999_4")->Keys().size(), 1u);
    EXPECT_EQ(m_model->Groups()[0]->Members, (std::vector<std::string>{"FX0001_1", "F31010_1"}));
    EXPECT_NE(Object("F31010_1")->Mesh(), PlaceholderMesh());

    const std::string saved = Saved();
    EXPECT_EQ(saved.substr(0, JoinLines(parts).size()), JoinLines(parts));

    // An undo rebuilds the stand-ins as stand-ins.
    m_model->AddBaustein("31010");
    m_model->DoUndo();
    ASSERT_NE(Object("FX0001_1"), nullptr);
    EXPECT_EQ(Object("FX0001_1")->Mesh(), PlaceholderMesh());
}

// --- Wait window and recent files -------------------------------------------------------------

TEST_F(ModelFileTest, TheWaitWindowFollowsThePartsAndCloses) {
    Add("31010");
    Add("32064");
    Add("31010");
    Saved("w.kxm");
    EXPECT_EQ(m_wait.Titles, (std::vector<std::string>{"Modell wird gesichert..."}));
    EXPECT_EQ(m_wait.Maximum, 3);
    EXPECT_EQ(m_wait.Positions, (std::vector<int>{0, 1, 2}));
    EXPECT_FALSE(m_wait.Shown);

    m_wait = {};
    ASSERT_TRUE(Load("w.kxm", true).Success);
    EXPECT_EQ(m_wait.Titles, (std::vector<std::string>{"Modell wird geladen..."}));
    EXPECT_EQ(m_wait.Maximum, 3);
    EXPECT_EQ(m_wait.Positions, (std::vector<int>{1, 2, 3}));
    EXPECT_GT(m_wait.Processed, 0);
    EXPECT_FALSE(m_wait.Shown);
}

TEST_F(ModelFileTest, SavingAndLoadingRecordTheRecentFiles) {
    Add("31010");
    Saved("eins.kxm");
    ASSERT_TRUE(Load("eins.kxm", false).Success);
    Saved("zwei.kxm");
    std::vector<std::string> recent;
    for (int n = 1; n <= 8; ++n) {
        if (!Param().GetLastFile(n).empty()) {
            recent.push_back(Param().GetLastFile(n));
        }
    }
    EXPECT_NE(std::find(recent.begin(), recent.end(), PathOf("eins.kxm")), recent.end());
    EXPECT_NE(std::find(recent.begin(), recent.end(), PathOf("zwei.kxm")), recent.end());
    EXPECT_FALSE(m_model->DoLastFile(""));
}

// --- Sample models ----------------------------------------------------------------------------

TEST(SampleModels, LoadWithEveryPartAndSaveBackUnchanged) {
    const std::filesystem::path samples = std::filesystem::path(KX_RUNTIME_DIR) / "samples";
    if (!std::filesystem::is_directory(samples)) {
        GTEST_SKIP() << "no sample models beside the executable";
    }
    kxtest::TPrivateSettings settings;
    kxtest::TTempDir scratch;
    TPartFiles files(KX_RUNTIME_DIR, scratch / "user");
    TDefCache defs;
    TffCache meshes;
    TScene scene;
    BuildMainScene(scene);
    TkxMain model(scene, files, defs, meshes);
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(samples)) {
        SCOPED_TRACE(entry.path().filename().string());
        const TModelFileResult r = model.LoadModell(entry.path().string(), true);
        ASSERT_TRUE(r.Success) << r.Error;
        EXPECT_TRUE(r.MissingParts.empty());
        EXPECT_GT(model.Parts().Count(), 5u);
        const auto copy = scratch / "copy.kxm";
        ASSERT_TRUE(model.SaveModell(copy.string()).Success);
        EXPECT_EQ(kxtest::ReadFile(copy), kxtest::ReadFile(entry.path()));
        if (entry.path().filename() == "Leitungen.kxm") {
            std::set<std::pair<int32_t, float>> kinds;
            for (const TPipeEx* hose : model.Hoses()) {
                kinds.insert({hose->Tag(), hose->Radius()});
            }
            EXPECT_EQ(kinds.size(), 5u);  // the spring shares the cord's Tag, not its radius
        }
        ++count;
    }
    EXPECT_EQ(count, 7);
}

// --- Plastic strips ---------------------------------------------------------------------------

namespace {

/// A file as the program writes it: its stored cameras end the part sections for the scanner.
TModelFile StripModel() {
    TModelFile f;
    f.Cameras.resize(kStoredCameraCount);
    return f;
}

TPartRecord StripPart(const std::string& name, double x) {
    TPartRecord p;
    p.StoredName = name;
    p.XPos = x;
    p.YDir = 0;
    p.ZDir = 1;
    p.YUp = 1;
    p.Color = 0x2020FF;
    p.Phase = 1;
    return p;
}

}  // namespace

TEST_F(ModelFileTest, StripsAreBakedIntoTheUserFolderBeforeTheirPartsArePlaced) {
    TModelFile f = StripModel();
    f.SemiFinished.push_back({"X0001", "Winkel", 0, {{1, 100, 0, 4, 0}, {5, 200, 0, 0, 90}}});
    f.SemiFinished.push_back({"../../evil", "", 0, {{1, 100, 0, 4, 0}}});
    f.SemiFinished.push_back({"31010", "", 0, {{1, 100, 0, 4, 0}}});
    f.Parts = {StripPart("FX0001_1", 0), StripPart("F31010_1", 1)};
    f.Links.push_back({});
    f.Links.back().Bauteil1 = "FX0001_1";
    f.Links.back().Bauteil2 = "F31010_1";
    WriteLines("strip.kxm", ModelFileLines(f));

    const TModelFileResult r = Load("strip.kxm", true);
    ASSERT_TRUE(r.Success) << r.Error;
    EXPECT_TRUE(r.MissingParts.empty());
    EXPECT_TRUE(std::filesystem::exists(m_dir / "user/def/X0001.def"));
    EXPECT_TRUE(std::filesystem::exists(m_dir / "user/hires/X0001.stl"));
    EXPECT_TRUE(std::filesystem::exists(m_dir / "user/lores/X0001.stl"));
    EXPECT_FALSE(std::filesystem::exists(m_dir / "prog/def/X0001.def"));
    EXPECT_FALSE(std::filesystem::exists(m_dir / "evil"));
    EXPECT_FALSE(std::filesystem::exists(m_dir / "user/def/31010.def"));
    ASSERT_EQ(m_model->SemiFinishedParts().size(), 1u);
    ASSERT_EQ(m_ports.Messages.size(), 2u);
    EXPECT_NE(m_ports.Messages[0].find("../../evil"), std::string::npos);
    EXPECT_NE(m_ports.Messages[1].find("31010"), std::string::npos);
    ASSERT_NE(Object("FX0001_1"), nullptr);
    EXPECT_GT(Object("FX0001_1")->Mesh()->TriangleCount(), 364u);
    EXPECT_EQ(m_defs.GetDef(m_files, "X0001")->ConnCount(), 1);
    // The shipped part of the refused strip's number is untouched.
    EXPECT_EQ(m_defs.GetDef(m_files, "31010")->ConnCount(), 2);
}

TEST_F(ModelFileTest, MergingAStripOfATakenNumberGivesItTheNextFreeNumber) {
    TModelFile first = StripModel();
    first.SemiFinished.push_back({"X0001", "eins", 0, {{1, 100, 0, 4, 0}}});
    first.Parts = {StripPart("FX0001_1", 0)};
    WriteLines("first.kxm", ModelFileLines(first));
    TModelFile second = first;
    second.SemiFinished[0].Mods = {{1, 100, 0, 4, 0}, {1, 200, 0, 4, 0}, {0, 300, 0, 0, 0}};
    second.SemiFinished.push_back({"X0002", "zwei", 0, {{0, 50, 0, 0, 0}}});
    second.Parts.push_back(StripPart("FX0002_1", 2));
    second.Links.push_back({});
    second.Links.back().Bauteil1 = "FX0001_1";
    second.Links.back().Bauteil2 = "FX0002_1";
    WriteLines("second.kxm", ModelFileLines(second));

    ASSERT_TRUE(Load("first.kxm", true).Success);
    ASSERT_TRUE(Load("second.kxm", false).Success);
    // X0001 keeps its one hole; the merged X0001 becomes X0003 (X0002 comes with the file).
    const auto& strips = m_model->SemiFinishedParts();
    ASSERT_EQ(strips.size(), 3u);
    EXPECT_EQ(strips[1].Name, "X0003");
    EXPECT_EQ(strips[1].Mods.size(), 3u);
    EXPECT_EQ(strips[2].Name, "X0002");
    EXPECT_EQ(m_defs.GetDef(m_files, "X0001")->ConnCount(), 1);
    EXPECT_EQ(m_defs.GetDef(m_files, "X0003")->ConnCount(), 2);
    EXPECT_EQ(PartNames(), (std::vector<std::string>{"FX0001_1", "FX0003_1", "FX0002_1"}));
    ASSERT_EQ(m_model->KineLinks().size(), 1u);
    EXPECT_EQ(m_model->KineLinks()[0].Bauteil1, "FX0003_1");

    // The same strip merged again is not kept twice.
    ASSERT_TRUE(Load("first.kxm", false).Success);
    EXPECT_EQ(m_model->SemiFinishedParts().size(), 3u);
    EXPECT_EQ(m_model->Parts().Count(), 4u);
}
