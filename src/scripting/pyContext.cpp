// The run in progress and the references from script objects to the program's objects.
#include "scripting/pyContext.h"

#include <pybind11/pybind11.h>

#include "model/MainObj.h"
#include "view/u_scene.h"

namespace py = pybind11;

namespace kx {

namespace {
TPyRun* g_run = nullptr;
}

TPyRun& PyRun() {
    if (!g_run) {
        throw std::runtime_error("kxd: no script is running");
    }
    return *g_run;
}

void SetPyRun(TPyRun* run) {
    g_run = run;
}

TObjRef TObjRef::ForPart(const std::string& name) {
    TObjRef r;
    r.Kind = TKind::Part;
    r.Name = name;
    r.Epoch = PyRun().Epoch;
    return r;
}

TObjRef TObjRef::ForLight(int index) {
    TObjRef r;
    r.Kind = TKind::Light;
    r.Index = index;
    return r;
}

TObjRef TObjRef::Of(TKind kind) {
    TObjRef r;
    r.Kind = kind;
    return r;
}

namespace {

[[noreturn]] void Unbound(const char* typeName) {
    throw std::runtime_error(std::string("kxd.") + typeName +
                             ": this object stands for nothing in the scene (made by Create" +
                             typeName + ")");
}

[[noreturn]] void PartGone(const char* typeName, const std::string& name) {
    throw std::runtime_error(std::string("kxd.") + typeName + ": the part " + name +
                             " is no longer in the model");
}

void CheckPart(const TObjRef& ref, const char* typeName) {
    if (ref.Epoch != PyRun().Epoch) {
        throw std::runtime_error(std::string("kxd.") + typeName + ": the part " + ref.Name +
                                 " went when the model was emptied");
    }
}

}  // namespace

TSceneObject& Resolve(const TObjRef& ref, const char* typeName) {
    TPyRun& run = PyRun();
    TScene& scene = *run.Context.Scene;
    TSceneObject* object = nullptr;
    switch (ref.Kind) {
        case TObjRef::TKind::None:
            Unbound(typeName);
        case TObjRef::TKind::Part:
            CheckPart(ref, typeName);
            object = run.Context.Model->PartObject(ref.Name);
            if (!object) {
                PartGone(typeName, ref.Name);
            }
            return *object;
        case TObjRef::TKind::Camera:
            object = scene.Camera();
            break;
        case TObjRef::TKind::CameraTarget:
            object = scene.Camera() ? scene.Camera()->TargetObject() : nullptr;
            break;
        case TObjRef::TKind::Grid:
            object = scene.Grid();
            break;
        case TObjRef::TKind::Light:
            object = scene.Light(ref.Index + 1);
            break;
    }
    if (!object) {
        throw std::runtime_error(std::string("kxd.") + typeName +
                                 ": the scene has no such object now");
    }
    return *object;
}

TBauteil& ResolvePart(const TObjRef& ref, const char* typeName) {
    if (ref.Kind != TObjRef::TKind::Part) {
        Unbound(typeName);
    }
    CheckPart(ref, typeName);
    TBauteil* record = PyRun().Context.Model->FindBauteil(ref.Name);
    if (!record) {
        PartGone(typeName, ref.Name);
    }
    return *record;
}

}  // namespace kx
