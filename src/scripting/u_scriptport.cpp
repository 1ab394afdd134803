// The engine of the process: installed by the program's start, reached by windows and jobs.
#include "scripting/u_scriptport.h"

namespace kx {

namespace {
TScriptEngine* g_engine = nullptr;
}

TScriptEngine* ScriptEngine() {
    return g_engine;
}

void SetScriptEngine(TScriptEngine* engine) {
    g_engine = engine;
}

}  // namespace kx
