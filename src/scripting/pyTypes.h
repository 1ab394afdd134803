// The eight object types of the module kxd as C++ records: what each keeps and what it is
// bound to.
#pragma once

#include <memory>
#include <string>

#include "catalogue/u_defObj.h"
#include "scripting/pyContext.h"

namespace pybind11 {
class module_;
}

namespace kx {

/// A coordinate quadruple; bound, it reads and writes a vector of a scene object.
struct TPyPoint3D {
    enum class TVec { Position, Direction, Up, Scale };
    double X = 0, Y = 0, Z = 0, W = 0;
    TObjRef Obj;
    TVec Vec = TVec::Position;
};

/// A colour; bound, it reads and writes a part's material, a light's diffuse colour or the
/// grid's line colour.
struct TPyColor {
    enum class TTarget { None, Material, Light, Grid };
    double R = 0, G = 0, B = 0, A = 1;
    TTarget Target = TTarget::None;
    TObjRef Obj;  ///< the part (Material) or the light (Light)
};

struct TPyLight {
    int Index = -1;  ///< -1: unbound
};

struct TPyObject3D {
    TObjRef Obj;
};

struct TPyPart {
    std::string Name;
    int Phase = 1;
    TObjRef Obj;  ///< bound to the part of that name
};

struct TPyCamera {
    bool Bound = false;
};

struct TPyGrid {
    bool Bound = false;
};

struct TPyDefinition {
    std::shared_ptr<const TDefObj> Def;  ///< read and owned by the object; null: unbound
};

/// Registers the eight types and their Create functions in the module.
void BindKxdTypes(pybind11::module_& m);

}  // namespace kx
