// Editing the flowchart with the mouse: dragging on the grid, drawing connections, the context
// menu's deletions, the read-only state while the program runs, and what the surface draws.
#include <gtest/gtest.h>

#include "sequence/u_ablaufeditor.h"

using namespace kx;

namespace {

TBlock& Placed(TAblauf& program, TBlockKind kind, int32_t x, int32_t y) {
    TBlock& b = program.AddBlock(kind, 0, 0);
    b.X = x;
    b.Y = y;
    return b;
}

}  // namespace

TEST(AblaufEditor, BlockModeDragsOnTheGridAndShowsTheOutline) {
    TAblauf program;
    TAblaufEditor editor(program);
    TBlock& motor = Placed(program, TBlockKind::Motor, 96, 40);
    editor.Press(100, 50);
    EXPECT_EQ(editor.Selected(), &motor);
    editor.Move(117, 63);
    EXPECT_EQ(motor.X, 112);
    EXPECT_EQ(motor.Y, 48);
    ASSERT_TRUE(editor.Outline());
    EXPECT_EQ(editor.Outline()->Right, 112 + 150);
    editor.Move(101, 51);
    EXPECT_EQ(motor.X, 96);
    EXPECT_EQ(motor.Y, 40);
    EXPECT_TRUE(editor.Release(101, 51));
    EXPECT_FALSE(editor.Outline());

    // A press on empty surface selects nothing; a right press selects but never drags.
    editor.Press(2000, 2000);
    EXPECT_EQ(editor.Selected(), nullptr);
    editor.Press(100, 50, false);
    EXPECT_EQ(editor.Selected(), &motor);
    editor.Move(300, 300);
    EXPECT_EQ(motor.X, 96);
    // Corners left of the origin snap towards zero, like every division on the surface.
    editor.Press(100, 50);
    editor.Move(-7, 50);
    EXPECT_EQ(motor.X, -8);
}

TEST(AblaufEditor, ConnectionModeJoinsOutputsToInputsOnly) {
    TAblauf program;
    TAblaufEditor editor(program);
    editor.SetMode(TAblaufEditor::kConnectionMode);
    TBlock& start = Placed(program, TBlockKind::Start, 96, 40);
    TBlock& motor = Placed(program, TBlockKind::Motor, 96, 200);
    const TAblaufPoint out = TAblauf::ConnectorPos(start, 1);
    const TAblaufPoint in = TAblauf::ConnectorPos(motor, 1);

    // A plain click: the band starts and ends at the same output.
    editor.Press(out.X + 3, out.Y - 2);
    TAblaufResult clicked = editor.Release(out.X + 3, out.Y - 2);
    EXPECT_FALSE(clicked);
    EXPECT_NE(clicked.Message.find("Ausgängen hin zu Eingängen"), std::string::npos);

    // From the output to a point beside the motor's input, inside the motor: joined there; the
    // band follows the connector under the pointer.
    editor.Press(out.X + 3, out.Y - 2);
    ASSERT_TRUE(editor.Band());
    EXPECT_EQ(editor.Band()->first, out);
    editor.Move(in.X + 5, in.Y + 6);
    EXPECT_EQ(editor.Band()->second, in);
    EXPECT_TRUE(editor.Release(in.X + 5, in.Y + 6));
    EXPECT_FALSE(editor.Band());
    ASSERT_EQ(program.Connections().size(), 1u);
    EXPECT_EQ(program.Connections()[0].Conn1, 1);
    EXPECT_EQ(program.Connections()[0].Conn2, 1);

    // Input to output, output to output: refused. Ending beside every block: nothing at all.
    const TAblaufPoint motorOut = TAblauf::ConnectorPos(motor, 2);
    editor.Press(in.X, in.Y);
    EXPECT_FALSE(editor.Release(out.X, out.Y));
    editor.Press(out.X, out.Y);
    EXPECT_FALSE(editor.Release(motorOut.X, motorOut.Y));
    editor.Press(out.X, out.Y);
    EXPECT_TRUE(editor.Release(1000, 1000));
    EXPECT_EQ(program.Connections().size(), 1u);
}

TEST(AblaufEditor, ContextMenuDeletesAtTheSelectedBlockAndReadOnlyChangesNothing) {
    TAblauf program;
    TAblaufEditor editor(program);
    TBlock& start = Placed(program, TBlockKind::Start, 96, 40);
    TBlock& compare = Placed(program, TBlockKind::Variable, 96, 200);
    TBlock& end = Placed(program, TBlockKind::Ende, 400, 400);
    const auto join = [&](TBlock& a, int o, TBlock& b) {
        ASSERT_TRUE(
            program.Connect(a, TAblauf::ConnectorPos(a, o), b, TAblauf::ConnectorPos(b, 1)));
    };
    join(start, 1, compare);
    join(compare, kOutYes, end);
    join(compare, kOutNo, compare);

    // "Verbindung löschen" near the "no" output takes the loop that leaves there, nothing else...
    const TAblaufPoint no = TAblauf::ConnectorPos(compare, kOutNo);
    editor.Press(no.X - 2, no.Y + 1, false);
    editor.DeleteSelectedConnection();
    EXPECT_EQ(program.Connections().size(), 2u);

    // ...and nothing changes while the program runs: not a move, a drop, a deletion or a dialog.
    editor.SetReadOnly(true);
    const uint64_t revision = program.Revision();
    editor.Press(100, 50);
    editor.Move(300, 300);
    EXPECT_EQ(editor.Drop(TBlockKind::Pause, 500, 500), nullptr);
    editor.DeleteSelectedBlock();
    EXPECT_EQ(editor.DoubleClick(100, 50), nullptr);
    EXPECT_EQ(program.Revision(), revision);
    EXPECT_EQ(start.X, 96);

    // "Block löschen" takes every connection that touches the block.
    editor.SetReadOnly(false);
    EXPECT_EQ(editor.DoubleClick(100, 210), &compare);
    editor.DeleteSelectedBlock();
    EXPECT_EQ(program.Blocks().size(), 2u);
    EXPECT_TRUE(program.Connections().empty());
    EXPECT_EQ(editor.Selected(), nullptr);

    // A selection never outlives its block, even when the program is emptied elsewhere.
    editor.Press(100, 50);
    ASSERT_NE(editor.Selected(), nullptr);
    program.Clear();
    program.AddBlock(TBlockKind::Start, 136, 65);
    EXPECT_EQ(editor.Selected(), nullptr);
}

TEST(AblaufEditor, RoutesOfConnections) {
    TAblauf program;
    TBlock& start = Placed(program, TBlockKind::Start, 0, 200);     // output at (40, 242)
    TBlock& right = Placed(program, TBlockKind::Motor, 200, 40);    // input at (272, 48)
    TBlock& below = Placed(program, TBlockKind::Motor, 0, 400);     // input at (72, 408)
    TBlock& over = Placed(program, TBlockKind::Motor, 40, 40);      // input at (112, 48)
    TBlock& check = Placed(program, TBlockKind::Variable, 0, 600);  // "no" at (130, 640)
    TBlock& lower = Placed(program, TBlockKind::Motor, 300, 800);   // input at (372, 808)
    struct TCase {
        TCon Con;
        std::vector<TAblaufPoint> Route;
    };
    const TCase cases[] = {
        // Down, across at half the distance, up to above the input, across, down into it.
        {{&start, &right, 1, 1},
         {{40, 242}, {40, 258}, {156, 258}, {156, 32}, {272, 32}, {272, 48}}},
        // An input below: down to half the height, across, down.
        {{&start, &below, 1, 1}, {{40, 242}, {40, 325}, {72, 325}, {72, 408}}},
        // An input above and overlapping on the right: round the target's right side.
        {{&start, &over, 1, 1},
         {{40, 242}, {40, 258}, {206, 258}, {206, 32}, {112, 32}, {112, 48}}},
        // "No" to an input lower and further right: across to above it, straight down.
        {{&check, &lower, 3, 1}, {{130, 640}, {372, 640}, {372, 808}}},
        // "No" to an input higher up: out to the right, up to above it, across and down.
        {{&check, &right, 3, 1}, {{130, 640}, {146, 640}, {146, 32}, {272, 32}, {272, 48}}},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(ConnectionRoute(c.Con), c.Route);
    }
}

TEST(AblaufEditor, TextsOfTheBlocks) {
    TAblauf program;
    auto& inc = static_cast<TBlockIncVar&>(Placed(program, TBlockKind::IncVar, 10, 20));
    inc.Variable = 3;
    inc.Wert = -2;
    EXPECT_EQ(BlockLabel(inc)->Text, "VAR3 = VAR3-2");
    inc.Wert = 2;
    EXPECT_EQ(BlockLabel(inc)->Text, "VAR3 = VAR3+2");
    EXPECT_EQ(BlockLabel(inc)->X, 40);
    auto& set = static_cast<TBlockSetVar&>(Placed(program, TBlockKind::SetVar, 0, 0));
    set.Variable = 2;
    set.Wert = 5;
    EXPECT_EQ(BlockLabel(set)->Text, "VAR2 = 5");
    auto& pause = static_cast<TBlockPause&>(Placed(program, TBlockKind::Pause, 0, 0));
    EXPECT_EQ(BlockLabel(pause)->Text, "1000 ms");
    EXPECT_EQ(BlockLabel(Placed(program, TBlockKind::Motor, 0, 0))->Size, 14);
    EXPECT_FALSE(BlockLabel(Placed(program, TBlockKind::Joystick, 0, 0)));
    EXPECT_EQ(KindOfPicture(7), TBlockKind::Farbe);
    EXPECT_EQ(KindOfPicture(9), TBlockKind::IncVar);
}
