// Script runs: a fresh interpreter each time, output as it comes, tracebacks, stopping.
#include "script_fixture.h"

using namespace kx;

namespace kxtest {

TEST_F(ScriptTest, EachRunStartsAfreshAndCapturesItsOutputInOrder) {
    TRun first = Run("import sys\nprint('a')\nsys.stderr.write('warn\\n')\nprint('b')\nleft = 1");
    EXPECT_EQ(first.Pieces, (std::vector<std::string>{"a", "\n", "!warn\n", "b", "\n"}));
    TRun second = Run("print('left' in globals())\nimport kxd\nprint(kxd.GetPartCount())");
    EXPECT_EQ(second.Out, "False\n0\n");
    // sys.exit ends the script, not the program; a status other than 0 is a failure.
    EXPECT_EQ(Run("import sys\nprint('x')\nsys.exit(0)\nprint('y')").Out, "x\n");
    TRun exited = Run("import sys\nsys.exit('gave up')", false);
    EXPECT_EQ(exited.Result.Outcome, TScriptOutcome::Failed);
    EXPECT_EQ(exited.Err, "gave up\n");
}

TEST_F(ScriptTest, ErrorsEndTheRunWithTheirTraceback) {
    TRun failed = Run("print('before')\nraise ValueError('broken')", false);
    EXPECT_EQ(failed.Result.Outcome, TScriptOutcome::Failed);
    EXPECT_EQ(failed.Out, "before\n");
    EXPECT_NE(failed.Err.find("Traceback"), std::string::npos) << failed.Err;
    EXPECT_NE(failed.Err.find("ValueError: broken"), std::string::npos);
    EXPECT_NE(failed.Result.Error.find("broken"), std::string::npos);

    TRun syntax = Run("print('never'\n", false);
    EXPECT_EQ(syntax.Result.Outcome, TScriptOutcome::Failed);
    EXPECT_NE(syntax.Err.find("SyntaxError"), std::string::npos);
    EXPECT_EQ(syntax.Out, "");

    // A failed run leaves the engine ready for the next one.
    EXPECT_TRUE(Run("pass").Result.Ok());
}

TEST_F(ScriptTest, AStopRequestEndsAnEndlessLoop) {
    m_host.OnPoll = [this] {
        if (m_host.Polls == 3) {
            m_engine.RequestStop();
        }
    };
    // Even a script that swallows the interrupt is stopped: every next line raises it again.
    TRun stopped = Run(R"PY(
import kxd
kxd.AddPart("31010")
print("started")
while True:
    try:
        while True:
            pass
    except KeyboardInterrupt:
        pass
)PY",
                       false);
    EXPECT_EQ(stopped.Result.Outcome, TScriptOutcome::Stopped);
    EXPECT_EQ(m_host.Polls, 3);
    EXPECT_EQ(stopped.Out, "started\n");
    EXPECT_NE(stopped.Err.find("KeyboardInterrupt"), std::string::npos);
    // The model keeps what the script did before it was stopped.
    EXPECT_EQ(PartNames(), std::vector<std::string>{"F31010_1"});
    EXPECT_TRUE(Run("print('again')").Result.Ok());
}

}  // namespace kxtest
