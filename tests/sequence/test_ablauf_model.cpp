// The sequence program inside the model: it is read from and written into the model file, it
// marks the model changed, and it runs with kinematics mode against motors, rules and colours.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "ablauf_support.h"
#include "foundation/u_text.h"
#include "model/model_fixture.h"

using namespace kx;
using kxtest::ModelTest;
using kxtest::TProgramBuilder;
using kxtest::WaitFor;

namespace {

class AblaufModelTest : public ModelTest {
protected:
    std::string Saved(const std::string& name) {
        const auto path = m_dir / name;
        EXPECT_TRUE(m_model->SaveModell(path.string()).Success);
        return kxtest::ReadFile(path);
    }
    TModelFileResult Load(const std::string& name, bool newModel = true) {
        return m_model->LoadModell((m_dir / name).string(), newModel);
    }
};

/// A model file around a program's lines, as written by an earlier version that kept them.
std::string ModelWithProgram(const std::vector<std::string>& program) {
    std::vector<std::string> lines = {"[COMMON]", "Version=1", "Count=0", ""};
    lines.insert(lines.end(), program.begin(), program.end());
    lines.insert(lines.end(), {"", ""});
    return Utf8ToCp1252(JoinLines(lines));
}

}  // namespace

TEST_F(AblaufModelTest, ProgramsLoadIntoTheModelAndSaveBackByteForByte) {
    // One program as the editor writes it, one with what this program does not read: an
    // unknown block type, a key of its own, a connection to a block that is not there.
    const std::vector<std::vector<std::string>> programs = {{"[LOGIKCOMMON]",
                                                             "BLOCKCOUNT=2",
                                                             "CONNCOUNT=1",
                                                             "",
                                                             "[LOGIKBLOCK1]",
                                                             "TYP=TBLOCKSTART",
                                                             "X=16",
                                                             "Y=8",
                                                             "",
                                                             "[LOGIKBLOCK2]",
                                                             "TYP=TBLOCKFARBE",
                                                             "X=26",
                                                             "Y=31",
                                                             "BAUTEIL=Räder",
                                                             "FARBE=255",
                                                             "",
                                                             "[LOGIKCONN1]",
                                                             "CONN1=1",
                                                             "CONN2=1",
                                                             "BLOCK1=1",
                                                             "BLOCK2=2",
                                                             ""},
                                                            {"[LOGIKCOMMON]",
                                                             "BLOCKCOUNT=3",
                                                             "CONNCOUNT=2",
                                                             "",
                                                             "[LOGIKBLOCK1]",
                                                             "TYP=TBLOCKSTART",
                                                             "X=16",
                                                             "Y=8",
                                                             "",
                                                             "[LOGIKBLOCK2]",
                                                             "TYP=TBLOCKLAMPE",
                                                             "X=0",
                                                             "Y=0",
                                                             "",
                                                             "[LOGIKBLOCK3]",
                                                             "TYP=TBLOCKENDE",
                                                             "X=16",
                                                             "Y=208",
                                                             "KOMMENTAR=x",
                                                             "",
                                                             "[LOGIKCONN1]",
                                                             "CONN1=1",
                                                             "CONN2=1",
                                                             "BLOCK1=1",
                                                             "BLOCK2=3",
                                                             "",
                                                             "[LOGIKCONN2]",
                                                             "CONN1=1",
                                                             "CONN2=1",
                                                             "BLOCK1=1",
                                                             "BLOCK2=9",
                                                             ""}};
    for (const auto& program : programs) {
        const std::string file = ModelWithProgram(program);
        kxtest::WriteFile(m_dir / "in.kxm", file);
        ASSERT_TRUE(Load("in.kxm").Success);
        EXPECT_FALSE(m_model->IsModified());
        const std::string out = Saved("out.kxm");
        EXPECT_NE(out.find(Utf8ToCp1252(JoinLines(program))), std::string::npos);
        // Loaded and saved again by the program, the file stays as it is.
        ASSERT_TRUE(Load("out.kxm").Success);
        EXPECT_EQ(Saved("again.kxm"), out);
    }
    // The second program runs as the file says: start to end, the broken parts left out.
    const TAblauf& loaded = m_model->Ablauf();
    ASSERT_EQ(loaded.Blocks().size(), 2u);
    ASSERT_EQ(loaded.Connections().size(), 1u);
    EXPECT_EQ(loaded.NextBlock(loaded.Blocks()[0].get(), 1), loaded.Blocks()[1].get());

    // A change to the program marks the model and is what the next save writes.
    m_model->Ablauf().AddBlock(TBlockKind::Pause, 200, 200);
    EXPECT_TRUE(m_model->IsModified());
    const std::string edited = Saved("edited.kxm");
    EXPECT_NE(edited.find("BLOCKCOUNT=3\r\nCONNCOUNT=1\r\n"), std::string::npos);
    EXPECT_EQ(edited.find("TBLOCKLAMPE"), std::string::npos);
    EXPECT_NE(edited.find("TYP=TBLOCKPAUSE\r\nX=125\r\nY=175\r\nINTERVALL=1000\r\n"),
              std::string::npos);

    // Emptying the model empties its program.
    m_model->DeleteAll();
    m_model->MarkSaved();
    EXPECT_TRUE(m_model->Ablauf().Blocks().empty());
    EXPECT_NE(Saved("empty.kxm").find("[LOGIKCOMMON]\r\nBLOCKCOUNT=0\r\nCONNCOUNT=0\r\n\r\n"),
              std::string::npos);
    EXPECT_FALSE(m_model->IsModified());
}

TEST_F(AblaufModelTest, KinematicsModeRunsTheProgramAgainstMotorsRulesAndColours) {
    const std::string part = Add("31010");
    const std::string other = Add("31010");
    const uint32_t ownColour = ObjectColour(part);
    // Two rules named "Tor" on the two parts, which stand on one spot: the first never in
    // range (no distance is below 0), the second always.
    TCollData tor;
    tor.ObjName1 = part;
    tor.ObjName2 = other;
    tor.Param1 = "Tor";
    tor.Abstand = 0;
    m_model->CollisionRules().push_back(tor);
    tor.Abstand = 8;
    m_model->CollisionRules().push_back(tor);

    // Motor 1 left, one second, stop; meanwhile the part turns green, and a collision block
    // named "Tor" sets variable 1 by the state of the later rule of that name.
    TAblauf& program = m_model->Ablauf();
    TProgramBuilder b(program);
    auto& start = b.Start();
    auto& left = b.Motor(1, 1);
    auto& farbe = b.Add<TBlockFarbe>(TBlockKind::Farbe);
    farbe.Bauteil = "f31010_1";  // letter case does not matter
    farbe.Farbe = 0x00FF00;
    auto& pause = b.Pause(1000);
    auto& stop = b.Motor(1, 0);
    auto& coll = b.Add<TBlockKollision>(TBlockKind::Kollision);
    coll.Name = "Tor";
    auto& yes = b.Set(1, 1);
    auto& no = b.Set(1, 2);
    auto& end = b.End();
    b.Chain({&start, &left, &farbe, &pause, &stop, &coll, &yes, &end});
    b.Join(coll, kOutNo, no);
    b.Join(no, kOutYes, end);
    m_model->MarkSaved();

    m_model->StartKinematik();
    ASSERT_TRUE(m_model->Ablauf().Running());
    // Only the kinematics step carries the runners' wishes out, on this thread.
    using TClock = std::chrono::steady_clock;
    TMotorPanelState& motor = *m_model->MotorPanels().Panel(1);
    TClock::time_point on{}, off{};
    const auto until = TClock::now() + std::chrono::seconds(10);
    while (TClock::now() < until && off == TClock::time_point{}) {
        m_model->DoKinematik();
        if (motor.Status() == 1 && on == TClock::time_point{}) {
            on = TClock::now();
        }
        if (motor.Status() == 0 && on != TClock::time_point{}) {
            off = TClock::now();
            // The colour block comes before the pause: by the motor's stop it has been applied
            // (at the motor's start a slow runner may not have reached it yet).
            EXPECT_EQ(ObjectColour(part), 0x00FF00u);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_NE(off, TClock::time_point{});
    const auto ran = std::chrono::duration_cast<std::chrono::milliseconds>(off - on).count();
    EXPECT_GE(ran, 950);
    EXPECT_LT(ran, 1600);
    ASSERT_TRUE(WaitFor([&] { return program.Variables().Get(1) != 0; }));
    EXPECT_EQ(program.Variables().Get(1), 1);

    // Leaving the mode ends the runners and puts the part's own colour back; the run changed
    // nothing that is saved.
    m_model->StopKinematik();
    EXPECT_FALSE(program.Running());
    EXPECT_EQ(ObjectColour(part), ownColour);
    EXPECT_FALSE(m_model->IsModified());
    EXPECT_TRUE(m_model->Ablauf().TakeEffects().empty());
}
