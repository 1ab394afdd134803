// What a script run needs from the program around it, and the engine that runs scripts: the
// core and the windows talk to the interpreter only through these.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace kx {

class TkxMain;
class TPartFiles;
class TPartLibrary;
class TScene;

/// The windows as a script sees them. The defaults answer as a program without windows does:
/// a dialog is not shown and a question gets its preset answer.
class TScriptHost {
public:
    virtual ~TScriptHost() = default;
    virtual void MessageDlg(const std::string& /*text*/) {}
    /// The text entered, or the preset text when the user cancels.
    virtual std::string InputDlg(const std::string& /*caption*/, const std::string& /*prompt*/,
                                 const std::string& preset) {
        return preset;
    }
    virtual void CopyTextToClipboard(const std::string& /*text*/) {}
    /// Light `index` (0-7) was switched: the light manager's check box follows.
    virtual void LightSwitched(int /*index*/, bool /*on*/) {}
    /// Shows a library tab by its LASTGROUP code.
    virtual void ChangeLibrary(int /*code*/) {}
    /// Called every few dozen milliseconds while a script runs: the window handles what is
    /// pending (paints, the stop button), so a long script does not freeze it.
    virtual void Poll() {}
};

/// What one run works on. Model and scene are required; the rest may be missing (a batch run
/// has no library and no windows).
struct TScriptContext {
    TkxMain* Model = nullptr;
    TScene* Scene = nullptr;
    const TPartFiles* Files = nullptr;
    const TPartLibrary* Library = nullptr;
    TScriptHost* Host = nullptr;
    std::string ProgramDir;  ///< with a trailing "/"
};

/// How a run ended.
enum class TScriptOutcome {
    Done,         ///< the script ran to its end
    Failed,       ///< an error escaped the script (its traceback went to the output)
    Stopped,      ///< a stop request ended it
    Unavailable,  ///< no interpreter could be started
};

struct TScriptResult {
    TScriptOutcome Outcome = TScriptOutcome::Done;
    std::string Error;  ///< the last line of the traceback, or why nothing ran
    bool Ok() const { return Outcome == TScriptOutcome::Done; }
};

/// Receives the script's output as it comes: a piece of standard output or of standard error
/// (tracebacks go there).
using TScriptOutput = std::function<void(std::string_view text, bool isError)>;

/// Runs scripts, each in a fresh interpreter that knows the module `kxd`.
class TScriptEngine {
public:
    virtual ~TScriptEngine() = default;
    /// Runs the text synchronously on the calling thread. output may be empty.
    virtual TScriptResult Run(const std::string& text, const TScriptContext& context,
                              const TScriptOutput& output, const std::string& fileName = {}) = 0;
    /// Asks the running script to stop at its next line (safe from a timer or a button
    /// handled by TScriptHost::Poll).
    virtual void RequestStop() = 0;
    virtual bool Running() const = 0;
};

/// The engine of the process (nullptr when the program was built or started without one).
TScriptEngine* ScriptEngine();
void SetScriptEngine(TScriptEngine* engine);

}  // namespace kx
