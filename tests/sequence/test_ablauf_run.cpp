// Running sequence programs: runners walk the flowchart on their own threads, share the
// variables without losing updates, wait on their own clocks, and end at once on a stop.
#include <gtest/gtest.h>

#include <chrono>

#include "ablauf_support.h"
#include "sequence/u_ablauf.h"

using namespace kx;
using kxtest::TProgramBuilder;
using kxtest::WaitFor;

namespace {

using TClock = std::chrono::steady_clock;

int64_t MsSince(TClock::time_point t) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(TClock::now() - t).count();
}

}  // namespace

TEST(AblaufRun, CountsToFiveAndEnds) {
    TAblauf program;
    TProgramBuilder b(program);
    auto& start = b.Start();
    auto& five = b.Set(2, 5);
    auto& zero = b.Set(1, 0);
    auto& inc = b.Inc(1, 1);
    auto& cmp = b.Compare(1, 0, 2);
    auto& end = b.End();
    b.Chain({&start, &five, &zero, &inc, &cmp, &end});
    b.Join(cmp, kOutNo, inc);

    program.Variables().Set(1, 42);
    program.StartProgram();
    ASSERT_TRUE(program.Running());
    EXPECT_EQ(program.Run()->RunnerCount(), 1u);
    ASSERT_TRUE(program.Run()->WaitUntilFinished(10000));
    EXPECT_EQ(program.Variables().Get(1), 5);
    program.StopProgram();
    EXPECT_FALSE(program.Running());
    // Variables keep their values after the stop until the next start.
    EXPECT_EQ(program.Variables().Get(1), 5);

    // A program without a start block starts no runner.
    TAblauf empty;
    empty.AddBlock(TBlockKind::Ende, 100, 100);
    empty.StartProgram();
    EXPECT_EQ(empty.Run()->RunnerCount(), 0u);
}

TEST(AblaufRun, RunnersShareTheVariablesAndLoseNoUpdate) {
    // Two branches count variable 1 up 20000 times each through one change block; each uses
    // a counter of its own to stop.
    TAblauf program;
    TProgramBuilder b(program);
    for (int branch = 0; branch < 2; ++branch) {
        const int own = 10 + branch;
        auto& start = b.Start();
        auto& limit = b.Set(own + 10, 20000);
        auto& step = b.Inc(1, 1);
        auto& count = b.Inc(own, 1);
        auto& cmp = b.Compare(own, 1, own + 10);
        auto& end = b.End();
        b.Chain({&start, &limit, &step, &count, &cmp});
        b.Join(cmp, kOutYes, step);
        b.Join(cmp, kOutNo, end);
        b.Column();
    }
    program.StartProgram();
    EXPECT_EQ(program.Run()->RunnerCount(), 2u);
    ASSERT_TRUE(program.Run()->WaitUntilFinished(20000));
    EXPECT_EQ(program.Variables().Get(1), 40000);
    EXPECT_EQ(program.Variables().Get(10), 20000);
    EXPECT_EQ(program.Variables().Get(11), 20000);
    program.StopProgram();

    // The next start sets every variable back to 0 before a runner reads one.
    program.Clear();
    TProgramBuilder again(program);
    auto& start = again.Start();
    auto& copy = again.Compare(1, 0, 50);  // variable 1 = variable 50 (0)
    auto& yes = again.Set(2, 1);
    auto& end = again.End();
    again.Chain({&start, &copy, &yes, &end});
    program.StartProgram();
    ASSERT_TRUE(program.Run()->WaitUntilFinished(10000));
    EXPECT_EQ(program.Variables().Get(2), 1);
    EXPECT_EQ(program.Variables().Get(10), 0);
}

TEST(AblaufRun, EachRunnerWaitsOnItsOwnClockAndTheStopEndsEveryWait) {
    // Runner A enters the shared 1.5 s pause at once, runner B a second later: B must stay
    // there after A has left.
    TAblauf program;
    TProgramBuilder b(program);
    auto& startA = b.Start();
    auto& shared = b.Pause(1500);
    auto& markA = b.Inc(1, 1);
    auto& endA = b.End();
    b.Chain({&startA, &shared, &markA, &endA});
    b.Column();
    auto& startB = b.Start();
    auto& first = b.Pause(1000);
    b.Chain({&startB, &first, &shared});
    // ... and after the shared pause variable 1 becomes 2 when both passed it.

    const auto t0 = TClock::now();
    program.StartProgram();
    ASSERT_TRUE(WaitFor([&] { return program.Variables().Get(1) >= 1; }));
    EXPECT_GE(MsSince(t0), 1400);
    EXPECT_EQ(program.Variables().Get(1), 1);
    ASSERT_TRUE(program.Run()->WaitUntilFinished(10000));
    EXPECT_GE(MsSince(t0), 2400);
    EXPECT_EQ(program.Variables().Get(1), 2);
    program.StopProgram();

    // A 10 s pause, a pause of 0 ms (it never elapses) and an output that leads nowhere: the
    // stop ends all three at once.
    program.Clear();
    TProgramBuilder c(program);
    auto& s1 = c.Start();
    auto& longPause = c.Pause(10000);
    c.Chain({&s1, &longPause, &c.End()});
    c.Column();
    auto& s2 = c.Start();
    auto& zero = c.Pause(0);
    c.Chain({&s2, &zero, &c.End()});
    c.Column();
    auto& s3 = c.Start();
    c.Chain({&s3, &c.Set(3, 1)});
    program.StartProgram();
    ASSERT_TRUE(WaitFor([&] { return program.Variables().Get(3) == 1; }));
    EXPECT_FALSE(program.Run()->WaitUntilFinished(300));
    EXPECT_EQ(program.Run()->FinishedCount(), 0u);
    const auto stop = TClock::now();
    program.StopProgram();
    EXPECT_LT(MsSince(stop), 500);
    EXPECT_FALSE(program.Running());
}

TEST(AblaufRun, DecisionsAndEffects) {
    // Every joystick test against the state's thresholds: exactly 60 percent is not enough.
    struct TCase {
        int Achse;
        int X, Y;
        uint32_t Buttons;
        bool Yes;
    };
    const TCase cases[] = {{0, 100, 0, 0, true},    {1, 100, 0, 0, false}, {0, 60, 0, 0, false},
                           {0, 61, 0, 0, true},     {1, -61, 0, 0, true},  {1, -60, 0, 0, false},
                           {2, 0, 61, 0, true},     {3, 0, -100, 0, true}, {3, 0, 100, 0, false},
                           {4, 0, 0, 1, true},      {5, 0, 0, 1, false},   {7, 0, 0, 8, true},
                           {8, 100, 100, 15, false}};
    for (const TCase& t : cases) {
        TAblauf program;
        TProgramBuilder b(program);
        auto& start = b.Start();
        auto& joy = b.Add<TBlockJoystick>(TBlockKind::Joystick);
        joy.Achse = t.Achse;
        auto& yes = b.Set(1, 1);
        auto& no = b.Set(1, 2);
        b.Chain({&start, &joy, &yes});
        b.Join(joy, kOutNo, no);
        program.Joystick().SetDeflection(t.X, t.Y);
        program.Joystick().SetButtons(t.Buttons);
        program.StartProgram();
        ASSERT_TRUE(WaitFor([&] { return program.Variables().Get(1) != 0; }));
        EXPECT_EQ(program.Variables().Get(1), t.Yes ? 1 : 2) << "axis " << t.Achse;
        program.StopProgram();
    }

    // Motor and colour blocks only ask; the effects come out in order. Variable and motor
    // numbers outside their ranges reach nothing.
    TAblauf program;
    TProgramBuilder b(program);
    auto& start = b.Start();
    auto& left = b.Motor(2, 1);
    auto& farbe = b.Add<TBlockFarbe>(TBlockKind::Farbe);
    farbe.Bauteil = "F1";
    farbe.Farbe = 0xFF;
    auto& outside = b.Set(150, 7);
    auto& below = b.Inc(0, 3);
    auto& cmp = b.Compare(100, 0, -5);  // both read 0
    auto& stop = b.Motor(9, 0);
    auto& end = b.End();
    b.Chain({&start, &left, &farbe, &outside, &below, &cmp, &stop, &end});
    program.StartProgram();
    ASSERT_TRUE(program.Run()->WaitUntilFinished(10000));
    const std::vector<TAblaufEffect> effects = program.TakeEffects();
    ASSERT_EQ(effects.size(), 3u);
    EXPECT_EQ(effects[0], (TAblaufEffect{TAblaufEffect::TKind::Motor, 2, 1, "", 0}));
    EXPECT_EQ(effects[1], (TAblaufEffect{TAblaufEffect::TKind::Farbe, 0, 0, "F1", 0xFF}));
    EXPECT_EQ(effects[2].MotorNr, 9);
    for (int v = 1; v <= TAblaufVariables::kCount; ++v) {
        EXPECT_EQ(program.Variables().Get(v), 0);
    }
    program.StopProgram();
}

TEST(AblaufRun, EditingWhileRunningActsAtTheNextStart) {
    TAblauf program;
    TProgramBuilder b(program);
    auto& start = b.Start();
    auto& inc = b.Inc(1, 1);
    b.Chain({&start, &inc});
    b.Join(inc, kOutYes, inc);
    program.StartProgram();
    ASSERT_TRUE(WaitFor([&] { return program.Variables().Get(1) > 1000; }));
    // The runner walks its own copies: deleting and clearing cannot pull blocks from under it.
    program.DeleteBlock(&inc);
    program.Clear();
    const int32_t before = program.Variables().Get(1);
    ASSERT_TRUE(WaitFor([&] { return program.Variables().Get(1) > before; }));
    program.StopProgram();
    program.StartProgram();
    EXPECT_EQ(program.Run()->RunnerCount(), 0u);
    program.StopProgram();
}
