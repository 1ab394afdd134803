// Scripts run through the real interpreter against the model fixture; a recording host
// stands for the windows.
#pragma once

#include <string>
#include <vector>

#include "catalogue/u_library.h"
#include "model_fixture.h"
#include "scripting/pyEngine.h"

namespace kxtest {

/// Records what a script asks of the windows.
class TRecordingHost : public kx::TScriptHost {
public:
    void MessageDlg(const std::string& text) override { Calls.push_back("message " + text); }
    std::string InputDlg(const std::string& caption, const std::string& prompt,
                         const std::string& preset) override {
        Calls.push_back("input " + caption + "|" + prompt + "|" + preset);
        return Answer;
    }
    void CopyTextToClipboard(const std::string& text) override {
        Calls.push_back("clipboard " + text);
    }
    void LightSwitched(int index, bool on) override {
        Calls.push_back("light " + std::to_string(index) + (on ? " on" : " off"));
    }
    void ChangeLibrary(int code) override { Calls.push_back("library " + std::to_string(code)); }
    void Poll() override {
        ++Polls;
        if (OnPoll) {
            OnPoll();
        }
    }

    std::vector<std::string> Calls;
    std::string Answer = "entered";
    int Polls = 0;
    std::function<void()> OnPoll;
};

class ScriptTest : public ModelTest {
protected:
    struct TRun {
        kx::TScriptResult Result;
        std::string Out;  ///< standard output
        std::string Err;  ///< standard error
        /// Every piece as it came, error pieces marked "!".
        std::vector<std::string> Pieces;
    };

    /// Runs the script; with mustSucceed, a script that does not end normally fails the test
    /// and shows its output.
    TRun Run(const std::string& script, bool mustSucceed = true) {
        kx::TScriptContext context;
        context.Model = m_model.get();
        context.Scene = &m_scene;
        context.Files = &m_files;
        context.Library = m_library;
        context.Host = &m_host;
        context.ProgramDir = "/opt/kx/";
        TRun run;
        run.Result = m_engine.Run(script, context, [&run](std::string_view text, bool isError) {
            (isError ? run.Err : run.Out) += text;
            run.Pieces.push_back((isError ? "!" : "") + std::string(text));
        });
        if (mustSucceed) {
            EXPECT_TRUE(run.Result.Ok()) << run.Result.Error << "\n" << run.Out << run.Err;
        }
        return run;
    }

    kx::TPyEngine m_engine;
    TRecordingHost m_host;
    const kx::TPartLibrary* m_library = nullptr;
};

}  // namespace kxtest
