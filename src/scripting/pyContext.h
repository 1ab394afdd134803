// The run a module function or object works in, and the references by which script objects
// reach the program's objects without holding pointers that could dangle.
#pragma once

#include <cstdint>
#include <string>

#include "scripting/u_scriptport.h"

namespace kx {

class TFreeForm;
class TSceneObject;
class TBauteil;

/// The context of the run in progress, and how often its model was emptied during the run.
struct TPyRun {
    TScriptContext Context;
    TScriptHost* Host = nullptr;  ///< never null while a run is on
    uint64_t Epoch = 0;           ///< raised by kxd.DeleteAll: older part objects are dead
};

/// The run in progress; raises a Python RuntimeError when no script runs.
TPyRun& PyRun();
/// Set by the engine for the length of one run (nullptr afterwards).
void SetPyRun(TPyRun* run);

/// What a script object stands for. Parts are found again by name on every use, so an object
/// held past the part's removal finds nothing and says so.
struct TObjRef {
    enum class TKind { None, Part, Camera, CameraTarget, Grid, Light };
    TKind Kind = TKind::None;
    std::string Name;  ///< the part's instance name
    int Index = 0;     ///< the light 0-7
    uint64_t Epoch = 0;

    static TObjRef ForPart(const std::string& name);
    static TObjRef ForLight(int index);
    static TObjRef Of(TKind kind);
    bool Bound() const { return Kind != TKind::None; }
};

/// The scene object; raises a Python RuntimeError (with typeName in the text) when the
/// reference is unbound or its object is gone.
TSceneObject& Resolve(const TObjRef& ref, const char* typeName);
/// The placed part's record; raises like Resolve.
TBauteil& ResolvePart(const TObjRef& ref, const char* typeName);

}  // namespace kx
