// The eight object types of the module kxd: attributes, methods, docstrings, printed forms.
#include "scripting/pyTypes.h"

#include <pybind11/pybind11.h>

#include <charconv>
#include <cmath>
#include <cstdio>

#include "model/MainObj.h"
#include "view/u_scene.h"

namespace py = pybind11;

namespace kx {

namespace {

using TKind = TObjRef::TKind;

std::string TypeName(const py::handle& value) {
    return Py_TYPE(value.ptr())->tp_name;
}

/// A number for a float attribute; anything else is refused before anything changes.
double ToNumber(const py::handle& value, const char* what) {
    if (PyFloat_Check(value.ptr()) || PyLong_Check(value.ptr())) {
        return value.cast<double>();
    }
    throw py::type_error(std::string(what) + " needs a number, not " + TypeName(value));
}

bool ToBool(const py::handle& value, const char* what) {
    if (PyBool_Check(value.ptr()) || PyLong_Check(value.ptr())) {
        return PyObject_IsTrue(value.ptr()) == 1;
    }
    throw py::type_error(std::string(what) + " needs True or False, not " + TypeName(value));
}

/// "Name (a, b, c, d)" with six decimals and a point, whatever the locale says (the program runs
/// under the user's locale, and Python's repr texts must not change with it).
std::string Format(const char* name, double a, double b, double c, double d) {
    std::string text = std::string(name) + " (";
    const double values[] = {a, b, c, d};
    for (size_t i = 0; i < 4; ++i) {
        char number[64];
        const auto end = std::to_chars(number, number + sizeof number, values[i],
                                       std::chars_format::fixed, 6);
        text.append(number, end.ptr);
        text += i < 3 ? ", " : ")";
    }
    return text;
}

// --- Point3D ----------------------------------------------------------------------------------

TVector3f BoundVector(const TPyPoint3D& p) {
    const TSceneObject& o = Resolve(p.Obj, "Point3D");
    switch (p.Vec) {
        case TPyPoint3D::TVec::Position:
            return o.Position();
        case TPyPoint3D::TVec::Direction:
            return o.Direction();
        case TPyPoint3D::TVec::Up:
            return o.Up();
        case TPyPoint3D::TVec::Scale:
            break;
    }
    return o.Scale();
}

void SetBoundVector(const TPyPoint3D& p, const TVector3f& v) {
    TSceneObject& o = Resolve(p.Obj, "Point3D");
    switch (p.Vec) {
        case TPyPoint3D::TVec::Position:
            o.SetPosition(v);
            return;
        case TPyPoint3D::TVec::Direction:
            o.SetDirection(v);
            return;
        case TPyPoint3D::TVec::Up:
            o.SetUp(v);
            return;
        case TPyPoint3D::TVec::Scale:
            o.SetScale(v);
            return;
    }
}

/// The four members as they stand: read from the bound vector when bound (w: 1 for a
/// position, 0 for a direction).
std::array<double, 4> Members(const TPyPoint3D& p) {
    if (!p.Obj.Bound()) {
        return {p.X, p.Y, p.Z, p.W};
    }
    const TVector3f v = BoundVector(p);
    return {v.X, v.Y, v.Z, p.Vec == TPyPoint3D::TVec::Position ? 1.0 : p.W};
}

void SetMembers(TPyPoint3D& p, const std::array<double, 4>& m) {
    if (p.Obj.Bound()) {
        SetBoundVector(p, {float(m[0]), float(m[1]), float(m[2])});
    }
    p.X = m[0];
    p.Y = m[1];
    p.Z = m[2];
    p.W = m[3];
}

void BindPoint3D(py::module_& m) {
    py::class_<TPyPoint3D> c(m, "Point3D", "A point or vector: x, y, z, w");
    const char* names[] = {"x", "y", "z", "w"};
    for (int i = 0; i < 4; ++i) {
        const std::string what = std::string("Point3D.") + names[i];
        c.def_property(
            names[i], [i](const TPyPoint3D& p) { return Members(p)[size_t(i)]; },
            [i, what](TPyPoint3D& p, const py::object& value) {
                const double v = ToNumber(value, what.c_str());
                auto all = Members(p);
                all[size_t(i)] = v;
                SetMembers(p, all);
            });
    }
    c.def(
        "Clear",
        [](TPyPoint3D& p) {
            SetMembers(p, {0, 0, 0, 0});
        },
        "Set all members to 0.0");
    c.def(
        "Init",
        [](TPyPoint3D& p, double x, double y, double z, double w) {
            SetMembers(p, {x, y, z, w});
        },
        "Set members at once", py::arg("x"), py::arg("y"), py::arg("z"), py::arg("w"));
    c.def(
        "Normalize",
        [](TPyPoint3D& p) {
            auto a = Members(p);
            const double len = std::sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2]);
            if (len > 0) {
                SetMembers(p, {a[0] / len, a[1] / len, a[2] / len, a[3]});
            }
        },
        "Normalize vector");
    c.def(
        "Invert",
        [](TPyPoint3D& p) {
            auto a = Members(p);
            SetMembers(p, {-a[0], -a[1], -a[2], a[3]});
        },
        "Invert vector");
    c.def(
        "Scale",
        [](TPyPoint3D& p, double f) {
            auto a = Members(p);
            SetMembers(p, {a[0] * f, a[1] * f, a[2] * f, a[3]});
        },
        "Scale vector", py::arg("f"));
    c.def(
        "VectorLength",
        [](const TPyPoint3D& p) {
            auto a = Members(p);
            return std::sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2]);
        },
        "Length of vector");
    c.def("__repr__", [](const TPyPoint3D& p) {
        auto a = Members(p);
        return Format("Point 3D", a[0], a[1], a[2], a[3]);
    });
}

TPyPoint3D PointOf(const TObjRef& obj, TPyPoint3D::TVec vec) {
    TPyPoint3D p;
    p.Obj = obj;
    p.Vec = vec;
    return p;
}

// --- Color ------------------------------------------------------------------------------------

TFreeForm& MaterialObject(const TPyColor& c) {
    TSceneObject& o = Resolve(c.Obj, "Color");
    if (o.Kind() != TSceneObjectKind::FreeForm) {
        throw std::runtime_error("kxd.Color: this object has no material");
    }
    return static_cast<TFreeForm&>(o);
}

std::array<double, 4> Components(const TPyColor& c) {
    switch (c.Target) {
        case TPyColor::TTarget::None:
            break;
        case TPyColor::TTarget::Material: {
            const TColor4f d = MaterialObject(c).DrawMaterial().Diffuse();
            return {d.R, d.G, d.B, d.A};
        }
        case TPyColor::TTarget::Light: {
            const TColor3f d = static_cast<TLightSource&>(Resolve(c.Obj, "Color")).Diffuse();
            return {d.R, d.G, d.B, c.A};
        }
        case TPyColor::TTarget::Grid: {
            TGrid* grid = PyRun().Context.Scene->Grid();
            if (!grid) {
                throw std::runtime_error("kxd.Color: the scene has no grid");
            }
            return {grid->Color().R, grid->Color().G, grid->Color().B, c.A};
        }
    }
    return {c.R, c.G, c.B, c.A};
}

void SetComponents(TPyColor& c, const std::array<double, 4>& v) {
    const TColor3f rgb{float(v[0]), float(v[1]), float(v[2])};
    switch (c.Target) {
        case TPyColor::TTarget::None:
            break;
        case TPyColor::TTarget::Material: {
            // Both the object's own material and the library material it is drawn with, as the
            // selection's highlight does; CommitChanges reads the own one.
            TFreeForm& object = MaterialObject(c);
            object.Material().SetDiffuse({rgb.R, rgb.G, rgb.B, float(v[3])});
            if (TMaterialPtr lib = PyRun().Context.Scene->MaterialLibrary().Find(
                    object.Material().LibMaterialName())) {
                lib->SetDiffuse({rgb.R, rgb.G, rgb.B, float(v[3])});
            }
            break;
        }
        case TPyColor::TTarget::Light:
            static_cast<TLightSource&>(Resolve(c.Obj, "Color")).SetDiffuse(rgb);
            break;
        case TPyColor::TTarget::Grid:
            if (TGrid* grid = PyRun().Context.Scene->Grid()) {
                grid->SetColor(rgb);
            }
            break;
    }
    c.R = v[0];
    c.G = v[1];
    c.B = v[2];
    c.A = v[3];
}

struct TPreset {
    const char* Method;
    const char* Doc;
    double R, G, B;
};

constexpr TPreset kPresets[] = {
    {"BlackColor", "Set color to black", 0, 0, 0},
    {"BlueColor", "Set color to blue", 0, 0, 1},
    {"BrownColor", "Set color to brown", 0.5, 0.25, 0.15},
    {"CyanColor", "Set color to cyan", 0, 1, 1},
    {"DarkGrayColor", "Set color to dark gray", 0.25, 0.25, 0.25},
    {"GrayColor", "Set color to gray", 0.5, 0.5, 0.5},
    {"GreenColor", "Set color to green", 0, 1, 0},
    {"LightGrayColor", "Set color to light gray", 0.75, 0.75, 0.75},
    {"MagentaColor", "Set color to magenta", 1, 0, 1},
    {"OrangeColor", "Set color to orange", 1, 0.5, 0.25},
    {"PurpleColor", "Set color to purple", 0.5, 0.25, 1},
    {"RedColor", "Set color to red", 1, 0, 0},
    {"WhiteColor", "Set color to white", 1, 1, 1},
    {"YellowColor", "Set color to yellow", 1, 1, 0},
};

void BindColor(py::module_& m) {
    py::class_<TPyColor> c(m, "Color", "A colour: Red, Green, Blue, Alpha from 0.0 to 1.0");
    const char* names[] = {"Red", "Green", "Blue", "Alpha"};
    for (int i = 0; i < 4; ++i) {
        const std::string what = std::string("Color.") + names[i];
        c.def_property(
            names[i], [i](const TPyColor& col) { return Components(col)[size_t(i)]; },
            [i, what](TPyColor& col, const py::object& value) {
                const double v = ToNumber(value, what.c_str());
                auto all = Components(col);
                all[size_t(i)] = v;
                SetComponents(col, all);
            });
    }
    c.def(
        "Clear",
        [](TPyColor& col) {
            SetComponents(col, {0, 0, 0, 1});
        },
        "Set all members to 0.0");
    for (const TPreset& p : kPresets) {
        c.def(
            p.Method,
            [p](TPyColor& col) {
                SetComponents(col, {p.R, p.G, p.B, 1});
            },
            p.Doc);
    }
    c.def("__repr__", [](const TPyColor& col) {
        auto a = Components(col);
        return Format("Color", a[0], a[1], a[2], a[3]);
    });
}

// --- Light ------------------------------------------------------------------------------------

TLightSource& LightOf(const TPyLight& l) {
    if (l.Index < 0) {
        Resolve({}, "Light");
    }
    return static_cast<TLightSource&>(Resolve(TObjRef::ForLight(l.Index), "Light"));
}

void SwitchLight(const TPyLight& l, bool on) {
    LightOf(l).SetShining(on);
    PyRun().Host->LightSwitched(l.Index, on);
}

void BindLight(py::module_& m) {
    py::class_<TPyLight> c(m, "Light", "One of the eight lights of the scene");
    c.def_property(
        "Status", [](const TPyLight& l) { return LightOf(l).Shining(); },
        [](const TPyLight& l, const py::object& v) { SwitchLight(l, ToBool(v, "Light.Status")); });
    c.def_property_readonly("Position", [](const TPyLight& l) {
        LightOf(l);
        return PointOf(TObjRef::ForLight(l.Index), TPyPoint3D::TVec::Position);
    });
    c.def_property_readonly("Color", [](const TPyLight& l) {
        LightOf(l);
        TPyColor col;
        col.Target = TPyColor::TTarget::Light;
        col.Obj = TObjRef::ForLight(l.Index);
        return col;
    });
    c.def(
        "TurnOn", [](const TPyLight& l) { SwitchLight(l, true); }, "Turn light on");
    c.def(
        "TurnOff", [](const TPyLight& l) { SwitchLight(l, false); }, "Turn light off");
    c.def("__repr__",
          [](const TPyLight& l) { return "Light Nr. " + std::to_string(l.Index) + ": ()"; });
}

// --- Object3D ---------------------------------------------------------------------------------

TSceneObject& ObjectOf(const TPyObject3D& o) {
    return Resolve(o.Obj, "Object3D");
}

void BindObject3D(py::module_& m) {
    py::class_<TPyObject3D> c(m, "Object3D", "An object of the scene: a part, the grid, ...");
    const std::pair<const char*, TPyPoint3D::TVec> vectors[] = {
        {"Position", TPyPoint3D::TVec::Position},
        {"Direction", TPyPoint3D::TVec::Direction},
        {"Up", TPyPoint3D::TVec::Up},
        {"Scale", TPyPoint3D::TVec::Scale}};
    for (const auto& [name, vec] : vectors) {
        c.def_property_readonly(name, [vec](const TPyObject3D& o) {
            ObjectOf(o);
            return PointOf(o.Obj, vec);
        });
    }
    c.def_property_readonly("Color", [](const TPyObject3D& o) {
        if (ObjectOf(o).Kind() != TSceneObjectKind::FreeForm) {
            throw std::runtime_error("kxd.Object3D: this object has no material");
        }
        TPyColor col;
        col.Target = TPyColor::TTarget::Material;
        col.Obj = o.Obj;
        return col;
    });
    c.def_property(
        "ShowAxes", [](const TPyObject3D& o) { return ObjectOf(o).ShowAxes(); },
        [](const TPyObject3D& o, const py::object& v) {
            const bool on = ToBool(v, "Object3D.ShowAxes");
            ObjectOf(o).SetShowAxes(on);
        });
    c.def_property(
        "Visible", [](const TPyObject3D& o) { return ObjectOf(o).Visible(); },
        [](const TPyObject3D& o, const py::object& v) {
            const bool on = ToBool(v, "Object3D.Visible");
            ObjectOf(o).SetVisible(on);
        });
    c.def(
        "Clear", [](const TPyObject3D&) {}, "Set all members to 0.0");
    // The move methods take millimetres; one scene unit is 10 mm.
    c.def(
        "MoveRed", [](const TPyObject3D& o, double mm) { ObjectOf(o).Slide(float(mm / 10)); },
        "Move part along the red axle", py::arg("mm"));
    c.def(
        "MoveGreen", [](const TPyObject3D& o, double mm) { ObjectOf(o).Lift(float(mm / 10)); },
        "Move part along the green axle", py::arg("mm"));
    c.def(
        "MoveBlue", [](const TPyObject3D& o, double mm) { ObjectOf(o).Move(float(mm / 10)); },
        "Move part along the blue axle", py::arg("mm"));
    c.def(
        "RotateRed",
        [](const TPyObject3D& o, double deg) {
            TSceneObject& s = ObjectOf(o);
            s.SetPitchAngle(s.PitchAngle() + float(deg));
        },
        "Rotate part around the red axle", py::arg("deg"));
    c.def(
        "RotateGreen",
        [](const TPyObject3D& o, double deg) {
            TSceneObject& s = ObjectOf(o);
            s.SetTurnAngle(s.TurnAngle() + float(deg));
        },
        "Rotate part around the green axle", py::arg("deg"));
    c.def(
        "RotateBlue",
        [](const TPyObject3D& o, double deg) {
            TSceneObject& s = ObjectOf(o);
            s.SetRollAngle(s.RollAngle() + float(deg));
        },
        "Rotate part around the blue axle", py::arg("deg"));
    c.def("__repr__", [](const TPyObject3D&) { return std::string("Object 3D"); });
}

// --- Part -------------------------------------------------------------------------------------

void BindPart(py::module_& m) {
    py::class_<TPyPart> c(m, "Part", "A placed part of the model");
    c.def_property(
        "Name",
        [](const TPyPart& p) { return p.Obj.Bound() ? ResolvePart(p.Obj, "Part").Name() : p.Name; },
        [](TPyPart& p, const py::object& v) {
            // A placed part's name ties its record, its scene object and every list that
            // refers to it together; a script cannot rename one of them alone.
            if (p.Obj.Bound()) {
                throw py::attribute_error("kxd.Part: the name of a placed part is read only");
            }
            if (!PyUnicode_Check(v.ptr())) {
                throw py::type_error("Part.Name needs a text, not " + TypeName(v));
            }
            p.Name = v.cast<std::string>();
        });
    c.def_property(
        "Phase",
        [](const TPyPart& p) {
            return p.Obj.Bound() ? int(ResolvePart(p.Obj, "Part").Phase()) : p.Phase;
        },
        [](TPyPart& p, const py::object& v) {
            if (!PyLong_Check(v.ptr()) || PyBool_Check(v.ptr())) {
                throw py::type_error("Part.Phase needs a whole number, not " + TypeName(v));
            }
            const int phase = v.cast<int>();
            if (p.Obj.Bound()) {
                TBauteil& record = ResolvePart(p.Obj, "Part");
                if (record.Phase() != phase) {
                    record.SetPhase(phase);
                    PyRun().Context.Model->MarkModified();
                }
            }
            p.Phase = phase;
        });
    c.def_property_readonly("Object3D", [](const TPyPart& p) -> py::object {
        if (!p.Obj.Bound()) {
            return py::cast(TPyObject3D{});
        }
        ResolvePart(p.Obj, "Part");
        TPyObject3D o;
        if (PyRun().Context.Model->PartObject(p.Obj.Name)) {
            o.Obj = p.Obj;
        }
        return py::cast(o);
    });
    c.def(
        "Clear",
        [](TPyPart& p) {
            if (p.Obj.Bound()) {
                throw py::attribute_error("kxd.Part: the name of a placed part is read only");
            }
            p.Name.clear();
        },
        "Set all members to 0.0");
    c.def(
        "CommitChanges",
        [](const TPyPart& p, bool colour) {
            const std::string name = ResolvePart(p.Obj, "Part").Name();
            PyRun().Context.Model->RefreshBauteil(name, colour, -1);
        },
        "Store changes on Object3D", py::arg("colour"));
    c.def("__repr__", [](const TPyPart&) { return std::string("Part ()"); });
}

// --- Camera and grid --------------------------------------------------------------------------

TSceneCamera& CameraOf(const TPyCamera& cam) {
    return static_cast<TSceneCamera&>(
        Resolve(cam.Bound ? TObjRef::Of(TKind::Camera) : TObjRef{}, "Camera"));
}

void BindCamera(py::module_& m) {
    py::class_<TPyCamera> c(m, "Camera", "The camera of the scene");
    const std::pair<const char*, TPyPoint3D::TVec> vectors[] = {
        {"Position", TPyPoint3D::TVec::Position},
        {"Direction", TPyPoint3D::TVec::Direction},
        {"Up", TPyPoint3D::TVec::Up}};
    for (const auto& [name, vec] : vectors) {
        c.def_property_readonly(name, [vec](const TPyCamera& cam) {
            CameraOf(cam);
            return PointOf(TObjRef::Of(TKind::Camera), vec);
        });
    }
    c.def_property_readonly("TargetObject", [](const TPyCamera& cam) {
        CameraOf(cam);
        return TPyObject3D{TObjRef::Of(TKind::CameraTarget)};
    });
    c.def_property(
        "FocalLength", [](const TPyCamera& cam) { return double(CameraOf(cam).FocalLength()); },
        [](const TPyCamera& cam, const py::object& v) {
            const double f = ToNumber(v, "Camera.FocalLength");
            CameraOf(cam).SetFocalLength(float(f));
        });
    c.def_property(
        "DepthOfView", [](const TPyCamera& cam) { return double(CameraOf(cam).DepthOfView()); },
        [](const TPyCamera& cam, const py::object& v) {
            const double d = ToNumber(v, "Camera.DepthOfView");
            CameraOf(cam).SetDepthOfView(float(d));
        });
    c.def_property_readonly("NearPlane",
                            [](const TPyCamera& cam) { return double(CameraOf(cam).NearPlane()); });
    c.def(
        "Clear", [](const TPyCamera&) {}, "Set all members to 0.0");
    c.def("__repr__", [](const TPyCamera&) { return std::string("Camera"); });
}

TGrid& GridOf(const TPyGrid& g) {
    return static_cast<TGrid&>(Resolve(g.Bound ? TObjRef::Of(TKind::Grid) : TObjRef{}, "Grid"));
}

void ShowGrid(const TPyGrid& g, bool on) {
    GridOf(g).SetVisible(on);
    PyRun().Context.Model->GridShown = on;
}

void BindGrid(py::module_& m) {
    py::class_<TPyGrid> c(m, "Grid", "The floor grid of the scene");
    c.def_property(
        "Status", [](const TPyGrid& g) { return GridOf(g).Visible(); },
        [](const TPyGrid& g, const py::object& v) { ShowGrid(g, ToBool(v, "Grid.Status")); });
    c.def_property_readonly("Color", [](const TPyGrid& g) {
        GridOf(g);
        TPyColor col;
        col.Target = TPyColor::TTarget::Grid;
        return col;
    });
    c.def_property_readonly("Object3D", [](const TPyGrid& g) {
        GridOf(g);
        return TPyObject3D{TObjRef::Of(TKind::Grid)};
    });
    using R = TGrid::TRange;
    const std::pair<const char*, float R::*> fields[] = {
        {"XMin", &R::XMin}, {"XMax", &R::XMax}, {"XStep", &R::XStep},
        {"ZMin", &R::ZMin}, {"ZMax", &R::ZMax}, {"ZStep", &R::ZStep}};
    for (const auto& [name, field] : fields) {
        const std::string what = std::string("Grid.") + name;
        c.def_property(
            name, [field](const TPyGrid& g) { return double(GridOf(g).Range().*field); },
            [field, what](const TPyGrid& g, const py::object& v) {
                const double value = ToNumber(v, what.c_str());
                TGrid& grid = GridOf(g);
                R range = grid.Range();
                range.*field = float(value);
                if (!grid.SetRange(range)) {
                    throw py::value_error(what +
                                          ": steps must be above 0 and each minimum below its "
                                          "maximum");
                }
            });
    }
    c.def(
        "TurnOn", [](const TPyGrid& g) { ShowGrid(g, true); }, "Turn grid on");
    c.def(
        "TurnOff", [](const TPyGrid& g) { ShowGrid(g, false); }, "Turn grid off");
    c.def("__repr__", [](const TPyGrid&) { return std::string("Grid()"); });
}

// --- Definition -------------------------------------------------------------------------------

const TDefObj& DefOf(const TPyDefinition& d) {
    if (!d.Def) {
        Resolve({}, "Definition");
    }
    return *d.Def;
}

void BindDefinition(py::module_& m) {
    py::class_<TPyDefinition> c(m, "Definition", "A part definition, read only");
    c.def_property_readonly("Number", [](const TPyDefinition& d) { return DefOf(d).Number; });
    c.def_property_readonly("OrgNumber", [](const TPyDefinition& d) { return DefOf(d).OrgNumber; });
    c.def_property_readonly("Name", [](const TPyDefinition& d) { return DefOf(d).Name; });
    c.def_property_readonly("Group", [](const TPyDefinition& d) { return int(DefOf(d).Group); });
    c.def_property_readonly("Printable",
                            [](const TPyDefinition& d) { return int(DefOf(d).Printable); });
    c.def_property_readonly("SortOrder",
                            [](const TPyDefinition& d) { return int(DefOf(d).SortOrder); });
    c.def_property_readonly("Hide", [](const TPyDefinition& d) { return DefOf(d).Hide; });
    c.def_property_readonly("Price", [](const TPyDefinition& d) { return DefOf(d).Price; });
    c.def("__repr__", [](const TPyDefinition&) { return std::string("Definition ()"); });
}

template <class T>
void AddCreate(py::module_& m, const char* typeName) {
    m.def((std::string("Create") + typeName).c_str(), [] { return T{}; },
          (std::string("Creates a new instance of type ") + typeName).c_str());
}

}  // namespace

void BindKxdTypes(py::module_& m) {
    BindPoint3D(m);
    BindLight(m);
    BindColor(m);
    BindPart(m);
    BindObject3D(m);
    BindCamera(m);
    BindGrid(m);
    BindDefinition(m);
    AddCreate<TPyPoint3D>(m, "Point3D");
    AddCreate<TPyLight>(m, "Light");
    AddCreate<TPyColor>(m, "Color");
    AddCreate<TPyPart>(m, "Part");
    AddCreate<TPyObject3D>(m, "Object3D");
    AddCreate<TPyCamera>(m, "Camera");
    AddCreate<TPyGrid>(m, "Grid");
    AddCreate<TPyDefinition>(m, "Definition");
}

}  // namespace kx
