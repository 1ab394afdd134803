// The module kxd: the functions a script calls on the open model and scene.
#include <pybind11/embed.h>

#include <algorithm>
#include <cctype>

#include "catalogue/u_defObj.h"
#include "catalogue/u_library.h"
#include "model/MainObj.h"
#include "scripting/pyTypes.h"
#include "view/u_scene.h"

namespace py = pybind11;

namespace kx {

namespace {

TkxMain& Model() {
    return *PyRun().Context.Model;
}

TScene& Scene() {
    return *PyRun().Context.Scene;
}

/// Library entry i, or an IndexError.
const TBibData& LibraryEntry(int i) {
    const TPartLibrary* library = PyRun().Context.Library;
    const int count = library ? int(library->Entries().size()) : 0;
    if (i < 0 || i >= count) {
        throw py::index_error("kxd.GetDefinitionAtIndex: no library entry " + std::to_string(i) +
                              " (the library holds " + std::to_string(count) + ")");
    }
    return library->Entries()[size_t(i)];
}

TPyDefinition ReadDefinition(const std::string& number) {
    TPyDefinition d;
    const TScriptContext& c = PyRun().Context;
    d.Def = std::make_shared<const TDefObj>(
        c.Files ? ReadDefObj(*c.Files, number, CurrentCatalogueSettings())
                : ReadDefObj(c.ProgramDir + "def/" + number + ".def", number,
                             CurrentCatalogueSettings()));
    return d;
}

py::object PartObject(const std::string& name) {
    TPyPart p;
    p.Obj = TObjRef::ForPart(name);
    p.Name = name;
    if (const TBauteil* record = Model().FindBauteil(name)) {
        p.Phase = record->Phase();
    }
    return py::cast(p);
}

/// The placed part of that exact name, or a ValueError naming the function.
void RequirePart(const char* function, const std::string& name) {
    if (!Model().FindBauteil(name)) {
        throw py::value_error(std::string("kxd.") + function + ": there is no part named '" + name +
                              "'");
    }
}

void Export(const char* function, const TModelExportResult& result) {
    if (!result) {
        throw std::runtime_error(std::string("kxd.") + function + ": " + result.Error);
    }
}

}  // namespace

}  // namespace kx

PYBIND11_EMBEDDED_MODULE(kxd, m) {
    using namespace kx;
    // The docstrings are the texts themselves, without a signature line in front.
    py::options options;
    options.disable_function_signatures();
    m.doc() = "Korvex designer: the open model, its parts and the scene";

    BindKxdTypes(m);

    m.def(
        "Version", [] { return std::string("Version " KX_VERSION); }, "Version Nr. x");
    m.def(
        "ProgramPath", [] { return PyRun().Context.ProgramDir; }, "Path to Korvex designer");
    m.def(
        "InputDlg",
        [](const std::string& caption, const std::string& prompt, const std::string& preset) {
            return PyRun().Host->InputDlg(caption, prompt, preset);
        },
        "Let the user enter a text", py::arg("caption"), py::arg("prompt"), py::arg("default"));
    m.def(
        "GetLightCount", [] { return 8; }, "Number of lights");
    m.def(
        "GetLightAtIndex",
        [](int i) {
            if (i < 0 || i > 7 || !Scene().Light(i + 1)) {
                throw py::index_error("kxd.GetLightAtIndex: lights are numbered 0 to 7, not " +
                                      std::to_string(i));
            }
            return TPyLight{i};
        },
        "Get light at index", py::arg("i"));
    m.def(
        "GetPartCount", [] { return int(Model().Parts().Count()); }, "Number of parts");
    m.def(
        "GetPartAtIndex",
        [](int i) {
            const int count = int(Model().Parts().Count());
            if (i < 0 || i >= count) {
                throw py::index_error("kxd.GetPartAtIndex: no part " + std::to_string(i) +
                                      " (the model holds " + std::to_string(count) + ")");
            }
            return PartObject(Model().Parts()[size_t(i)].Name());
        },
        "Get part at index", py::arg("i"));
    m.def(
        "GetSelectedPart",
        []() -> py::object {
            const TFreeForm* selected = Model().SelectedPart();
            const TBauteil* record = selected ? Model().FindBauteil(selected->Name()) : nullptr;
            if (!record) {
                return py::none();
            }
            return PartObject(record->Name());
        },
        "Get selected part");
    m.def(
        "GetLibraryCount",
        [] {
            const TPartLibrary* library = PyRun().Context.Library;
            return library ? int(library->Entries().size()) : 0;
        },
        "Number of parts in library");
    m.def(
        "GetDefinitionAtIndex", [](int i) { return ReadDefinition(LibraryEntry(i).Number); },
        "Get definition for library part at index", py::arg("i"));
    m.def(
        "GetDefinitionForPart",
        [](const std::string& orgNumber) -> py::object {
            const TPartLibrary* library = PyRun().Context.Library;
            const TBibData* found = nullptr;
            if (library) {
                for (const TBibData& entry : library->Entries()) {
                    std::string upper = entry.OrgNumber;
                    std::transform(upper.begin(), upper.end(), upper.begin(),
                                   [](unsigned char c) { return char(std::toupper(c)); });
                    if (upper == orgNumber) {
                        found = &entry;
                    }
                }
            }
            if (!found) {
                return py::none();
            }
            return py::cast(ReadDefinition(found->Number));
        },
        "Get definition for a specified part", py::arg("orgnumber"));
    m.def(
        "GetCamera", [] { return TPyCamera{true}; }, "Get camera object");
    m.def(
        "GetGrid", [] { return TPyGrid{true}; }, "Get grid object");
    m.def(
        "AddPart",
        [](const std::string& number) {
            const std::string name = Model().AddBaustein(number);
            if (name.empty()) {
                throw py::value_error("kxd.AddPart: there is no part with the number '" + number +
                                      "'");
            }
            return name;
        },
        "Add part to scene", py::arg("number"));
    m.def(
        "SelectPart",
        [](const std::string& name) {
            RequirePart("SelectPart", name);
            Model().SelectBaustein(name);
        },
        "Select part", py::arg("name"));
    m.def(
        "CoSelectPart",
        [](const std::string& name) {
            RequirePart("CoSelectPart", name);
            Model().CoSelectBaustein(name, true, true, true);
        },
        "Co-Select part", py::arg("name"));
    m.def(
        "DeSelectAll", [] { Model().DeSelectAllBausteine(); }, "Clear complete selection");
    m.def(
        "DeleteAll",
        [] {
            Model().DeleteAll();
            // Every part object a script still holds stands for a part that is gone.
            ++PyRun().Epoch;
        },
        "Delete all");
    m.def(
        "RepaintPhaseView", [] { Model().RecreateTreeView(); }, "Repaint phase view");
    m.def(
        "ExportAsX3D",
        [](const std::string& file) { Export("ExportAsX3D", Model().ExportAsX3D(file, false)); },
        "Export scene in x3d file format", py::arg("file"));
    m.def(
        "ExportAsVRML",
        [](const std::string& file) { Export("ExportAsVRML", Model().ExportAsVRML(file)); },
        "Export scene in x3d file format", py::arg("file"));
    m.def(
        "ExportAsPOV",
        [](const std::string& file) { Export("ExportAsPOV", Model().ExportAsPOV(file, 0xFFFFFF)); },
        "Export scene in x3d file format", py::arg("file"));
    m.def(
        "ExportAsRAW",
        [](const std::string& file) { Export("ExportAsRAW", Model().ExportAsRaw(file)); },
        "Export scene in x3d file format", py::arg("file"));
    m.def(
        "ChangeLibrary", [](int code) { PyRun().Host->ChangeLibrary(code); },
        "Switch to a specify library", py::arg("i"));
    m.def(
        "MessageDlg", [](const std::string& text) { PyRun().Host->MessageDlg(text); },
        "Show a simple message dialog", py::arg("text"));
    m.def(
        "CopyTextToClipboard",
        [](const std::string& text) { PyRun().Host->CopyTextToClipboard(text); },
        "Copy a text into windows clipboard", py::arg("text"));
}

namespace kx {
/// Referenced by the engine so that the linker keeps this file and its module registration.
void KxdModuleLinked() {}
}  // namespace kx
