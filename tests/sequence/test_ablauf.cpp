// The sequence program as a document: editing the flowchart, its text format, its own file, and
// what loading does with broken input.
#include <gtest/gtest.h>

#include <filesystem>

#include "foundation/u_stack.h"
#include "foundation/u_text.h"
#include "kx_test_support.h"
#include "sequence/u_ablauf.h"

using namespace kx;
using kxtest::TTempDir;

namespace {

/// Lines of a program held in one string, one line per "|".
std::vector<std::string> Lines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        const size_t bar = text.find('|', start);
        lines.emplace_back(text.substr(start, bar - start));
        if (bar == std::string_view::npos) {
            return lines;
        }
        start = bar + 1;
    }
}

/// The centre of a block's connector, where the editor would press.
TAblaufPoint At(const TBlock& b, int connector) {
    return TAblauf::ConnectorPos(b, connector);
}

}  // namespace

TEST(Ablauf, EditingTheFlowchart) {
    TAblauf program;
    int changes = 0;
    program.SetOnChanged([&] { ++changes; });

    // A drop snaps to the 8-pixel grid and centres the block on the point.
    TBlock& start = program.AddBlock(TBlockKind::Start, 100, 20);
    TBlock& motor = program.AddBlock(TBlockKind::Motor, 103, 57);
    EXPECT_EQ(motor.X, 26);
    EXPECT_EQ(motor.Y, 31);
    EXPECT_EQ(motor.Width, 150u);
    EXPECT_EQ(motor.Height, 70u);
    TBlock& decision = program.AddBlock(TBlockKind::Variable, 300, 300);
    EXPECT_EQ(decision.X, 296 - 75);
    EXPECT_EQ(decision.Y, 296 - 40);
    TBlock& end = program.AddBlock(TBlockKind::Ende, 100, 400);
    EXPECT_EQ(changes, 4);

    // Hit testing is strict and answers the later of two overlapping blocks.
    EXPECT_EQ(program.BlockAt(motor.X, motor.Y + 1), nullptr);
    EXPECT_EQ(program.BlockAt(motor.X + 1, motor.Y + 1), &motor);
    EXPECT_EQ(program.BlockAt(start.X + 50, 35), &motor);  // both hold the point
    EXPECT_EQ(program.BlockAt(5000, 5000), nullptr);

    // Nearest connector, lowest index on a tie.
    EXPECT_EQ(TAblauf::NearestConnector(decision, decision.X + 130, decision.Y + 41), 3);
    EXPECT_EQ(TAblauf::NearestConnector(motor, motor.X + 72, motor.Y + 34), 1);

    // Only outputs to inputs; a refusal says why and adds nothing.
    for (auto [from, fromConn, to, toConn] :
         {std::tuple{&motor, 1, &end, 1}, {&motor, 2, &decision, 2}, {&end, 1, &motor, 1}}) {
        const TAblaufResult r = program.Connect(*from, At(*from, fromConn), *to, At(*to, toConn));
        EXPECT_FALSE(r);
        EXPECT_EQ(r.Message,
                  "Verbindungen dürfen immer nur von Ausgängen hin zu Eingängen verlegt werden.");
    }
    EXPECT_TRUE(program.Connections().empty());
    EXPECT_EQ(changes, 4);

    ASSERT_TRUE(program.Connect(start, At(start, 1), motor, {motor.X + 70, motor.Y + 12}));
    ASSERT_TRUE(program.Connect(motor, At(motor, 2), decision, At(decision, 1)));
    ASSERT_TRUE(program.Connect(decision, At(decision, 3), motor, At(motor, 1)));
    ASSERT_TRUE(program.Connect(decision, At(decision, 2), end, At(end, 1)));
    ASSERT_TRUE(program.Connect(start, At(start, 1), end, At(end, 1)));
    EXPECT_EQ(program.Connections()[0].Conn2, 1);
    EXPECT_EQ(program.Connections()[2].Conn1, 3);

    // The output of the start block is connected twice: the later connection is followed.
    EXPECT_EQ(program.NextBlock(&start, 1), &end);
    EXPECT_EQ(program.NextBlock(&decision, 3), &motor);
    EXPECT_EQ(program.NextBlock(&decision, 1), &motor);  // entered at 1 from the motor
    EXPECT_EQ(program.NextBlock(&end, 2), nullptr);

    // Deleting the connections at the decision's "no" output touches nothing else.
    changes = 0;
    program.DeleteConnection(decision, {decision.X + 128, decision.Y + 44});
    EXPECT_EQ(program.Connections().size(), 4u);
    EXPECT_EQ(changes, 1);
    // The motor has three connections, at both ends of the list: all go with it.
    ASSERT_TRUE(program.Connect(decision, At(decision, 3), motor, At(motor, 1)));
    program.DeleteBlock(&motor);
    EXPECT_EQ(program.Blocks().size(), 3u);
    ASSERT_EQ(program.Connections().size(), 2u);
    for (const TCon& c : program.Connections()) {
        EXPECT_NE(c.Block1, &motor);
        EXPECT_NE(c.Block2, &motor);
    }
    program.MoveBlock(end, end.X, end.Y);
    EXPECT_EQ(changes, 3);
}

TEST(Ablauf, SavesEveryKindAndReadsItBack) {
    TAblauf program;
    TBlock& start = program.AddBlock(TBlockKind::Start, 100, 20);
    auto& motor = static_cast<TBlockMotor&>(program.AddBlock(TBlockKind::Motor, 103, 57));
    motor.MotorNr = 3;
    motor.Status = 2;
    auto& coll = static_cast<TBlockKollision&>(program.AddBlock(TBlockKind::Kollision, 0, 200));
    coll.Name = "Tor Süd";
    static_cast<TBlockPause&>(program.AddBlock(TBlockKind::Pause, 0, 300)).Intervall = 0;
    auto& set = static_cast<TBlockSetVar&>(program.AddBlock(TBlockKind::SetVar, 0, 400));
    set.Variable = 99;
    set.Wert = -7;
    static_cast<TBlockJoystick&>(program.AddBlock(TBlockKind::Joystick, 0, 500)).Achse = 5;
    auto& farbe = static_cast<TBlockFarbe&>(program.AddBlock(TBlockKind::Farbe, 0, 600));
    farbe.Bauteil = "F31010_1";
    farbe.Farbe = 0x00FF00;
    auto& cmp = static_cast<TBlockVariable&>(program.AddBlock(TBlockKind::Variable, 0, 700));
    cmp.Art = 3;
    cmp.Var2 = 2;
    static_cast<TBlockIncVar&>(program.AddBlock(TBlockKind::IncVar, 0, 800)).Wert = -2;
    TBlock& end = program.AddBlock(TBlockKind::Ende, 0, 900);
    ASSERT_TRUE(program.Connect(start, At(start, 1), motor, At(motor, 1)));
    ASSERT_TRUE(program.Connect(motor, At(motor, 2), end, At(end, 1)));

    const std::vector<std::string> lines = program.SaveToList();
    const std::vector<std::string> expected = Lines(
        "[LOGIKCOMMON]|BLOCKCOUNT=10|CONNCOUNT=2||"
        "[LOGIKBLOCK1]|TYP=TBLOCKSTART|X=56|Y=-9||"
        "[LOGIKBLOCK2]|TYP=TBLOCKMOTOR|X=26|Y=31|MOTORNR=3|STATUS=2||"
        "[LOGIKBLOCK3]|TYP=TBLOCKKOLLISION|X=-75|Y=160|NAME=Tor Süd||"
        "[LOGIKBLOCK4]|TYP=TBLOCKPAUSE|X=-75|Y=271|INTERVALL=0||"
        "[LOGIKBLOCK5]|TYP=TBLOCKSETVAR|X=-75|Y=375|VARIABLE=99|WERT=-7||"
        "[LOGIKBLOCK6]|TYP=TBLOCKJOYSTICK|X=-75|Y=456|ACHSE=5||"
        "[LOGIKBLOCK7]|TYP=TBLOCKFARBE|X=-75|Y=575|BAUTEIL=F31010_1|FARBE=65280||"
        "[LOGIKBLOCK8]|TYP=TBLOCKVARIABLE|X=-75|Y=656|ART=3|VAR1=1|VAR2=2||"
        "[LOGIKBLOCK9]|TYP=TBLOCKINCVAR|X=-75|Y=775|VARIABLE=1|WERT=-2||"
        "[LOGIKBLOCK10]|TYP=TBLOCKENDE|X=-40|Y=871||"
        "[LOGIKCONN1]|CONN1=1|CONN2=1|BLOCK1=1|BLOCK2=2||"
        "[LOGIKCONN2]|CONN1=2|CONN2=1|BLOCK1=2|BLOCK2=10|");
    EXPECT_EQ(lines, expected);

    TAblauf back;
    back.LoadFromList(lines);
    EXPECT_EQ(back.SaveToList(), lines);
    ASSERT_EQ(back.Blocks().size(), 10u);
    EXPECT_EQ(back.Connections()[1].Block2, back.Blocks()[9].get());

    // Missing keys take their defaults; the collision name's is the text "0".
    back.LoadFromList(
        Lines("[LOGIKCOMMON]|BLOCKCOUNT=4|[LOGIKBLOCK1]|TYP=TBLOCKKOLLISION|[LOGIKBLOCK2]|"
              "TYP=TBLOCKPAUSE|INTERVALL=1,5|[LOGIKBLOCK3]|TYP=TBLOCKVARIABLE|[LOGIKBLOCK4]|"
              "TYP=TBLOCKMOTOR|X=abc"));
    ASSERT_EQ(back.Blocks().size(), 4u);
    EXPECT_EQ(static_cast<TBlockKollision&>(*back.Blocks()[0]).Name, "0");
    EXPECT_EQ(static_cast<TBlockPause&>(*back.Blocks()[1]).Intervall, 1000);
    EXPECT_EQ(static_cast<TBlockVariable&>(*back.Blocks()[2]).Var2, 1);
    EXPECT_EQ(static_cast<TBlockMotor&>(*back.Blocks()[3]).MotorNr, 1);
    EXPECT_EQ(back.Blocks()[3]->X, 0);
    EXPECT_TRUE(back.Connections().empty());
}

TEST(Ablauf, BrokenProgramsLoseOnlyWhatIsBroken) {
    // Block 2 has an unknown type (class names count in upper case only); the connections
    // still join blocks 1 and 3 as written. Connections 2-4 name no block and are left out.
    const std::vector<std::string> lines = Lines(
        "[LOGIKCOMMON]|BLOCKCOUNT=3|CONNCOUNT=5||"
        "[LOGIKBLOCK1]|TYP=TBLOCKSTART|X=8|Y=8||"
        "[LOGIKBLOCK2]|TYP=TBlockMotor|X=8|Y=80||"
        "[LOGIKBLOCK3]|TYP=TBLOCKENDE|X=8|Y=160||"
        "[LOGIKCONN1]|CONN1=1|CONN2=1|BLOCK1=1|BLOCK2=3||"
        "[LOGIKCONN2]|CONN1=1|CONN2=1|BLOCK1=1|BLOCK2=2||"
        "[LOGIKCONN3]|CONN1=1|CONN2=1|BLOCK1=0|BLOCK2=3||"
        "[LOGIKCONN4]|CONN1=1|CONN2=1|BLOCK1=-1|BLOCK2=4||"
        "[LOGIKCONN5]|CONN1=1|CONN2=1|BLOCK1=3|BLOCK2=1|");
    TAblauf program;
    Stack().Clear();
    program.LoadFromList(lines);
    ASSERT_EQ(program.Blocks().size(), 2u);
    EXPECT_EQ(program.Blocks()[1]->Kind(), TBlockKind::Ende);
    ASSERT_EQ(program.Connections().size(), 2u);
    EXPECT_EQ(program.Connections()[0].Block2, program.Blocks()[1].get());
    EXPECT_EQ(program.Connections()[1].Block1, program.Blocks()[1].get());
    int dropped = 0;
    for (const std::string& line : Stack().Lines()) {
        dropped += line.find("connection names no block") != std::string::npos;
    }
    EXPECT_EQ(dropped, 3);

    // A hostile count costs nothing beyond the sections the file holds.
    program.LoadFromList(
        Lines("[LOGIKCOMMON]|BLOCKCOUNT=2147483647|CONNCOUNT=2147483647||"
              "[LOGIKBLOCK7]|TYP=TBLOCKSTART"));
    EXPECT_EQ(program.Blocks().size(), 1u);
}

TEST(Ablauf, ProgramFilesExportAndImport) {
    TTempDir dir;
    for (auto [chosen, written] : {std::pair{"plan", "plan.kxl"},
                                   {"plan.KXL", "plan.KXL"},
                                   {"plan.kxl.bak", "plan.kxl.bak"},
                                   {"plan.kx", "plan.kx.kxl"}}) {
        EXPECT_EQ(TAblauf::KxlFileName(chosen), written);
    }

    TAblauf program;
    TBlock& start = program.AddBlock(TBlockKind::Start, 100, 20);
    auto& farbe = static_cast<TBlockFarbe&>(program.AddBlock(TBlockKind::Farbe, 100, 100));
    farbe.Bauteil = "Rad ä";
    ASSERT_TRUE(program.Connect(start, At(start, 1), farbe, At(farbe, 1)));
    ASSERT_TRUE(program.ExportToFile(dir / "a.kxl"));
    const std::string bytes = kxtest::ReadFile(dir / "a.kxl");
    EXPECT_EQ(bytes, Utf8ToCp1252(JoinLines(program.SaveToList())));
    EXPECT_NE(bytes.find("BAUTEIL=Rad \xe4\r\n"), std::string::npos);

    TAblauf other;
    int changes = 0;
    other.SetOnChanged([&] { ++changes; });
    ASSERT_TRUE(other.ImportFromFile(dir / "a.kxl"));
    EXPECT_EQ(other.SaveToList(), program.SaveToList());
    EXPECT_EQ(changes, 1);

    // A file that cannot be read, or holds no program, leaves the program as it was.
    kxtest::WriteFile(dir / "model.kxm", "[COMMON]\r\nCount=0\r\n");
    for (const char* name : {"missing.kxl", "model.kxm"}) {
        const TAblaufResult r = other.ImportFromFile(dir / name);
        EXPECT_FALSE(r);
        EXPECT_EQ(r.Message, "Die Datei konnte nicht gelesen werden.");
    }
    EXPECT_EQ(other.Blocks().size(), 2u);
    EXPECT_EQ(changes, 1);

    const TAblaufResult w = program.ExportToFile(dir / "no such folder" / "b.kxl");
    EXPECT_FALSE(w);
    EXPECT_EQ(w.Message, "Die Datei konnte nicht geschrieben werden.");
}
