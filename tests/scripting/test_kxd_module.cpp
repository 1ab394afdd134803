// The module functions of kxd, called from Python: results, effects on the model, and the
// errors a wrong call gets.
#include "script_fixture.h"

using namespace kx;

namespace kxtest {

namespace {
const std::string kPrelude = R"PY(import kxd
def raises(exc, f, *args):
    try:
        f(*args)
    except exc as e:
        return str(e)
    raise AssertionError("%r did not raise %s" % (f, exc.__name__))
)PY";
}  // namespace

TEST_F(ScriptTest, ModuleFunctionsAnswerAndActOnTheModel) {
    Run(kPrelude + R"PY(
assert kxd.Version() == "Version 1.8.2"
assert kxd.ProgramPath() == "/opt/kx/"
assert kxd.GetLightCount() == 8
assert kxd.GetPartCount() == 0
assert kxd.GetSelectedPart() is None
name = kxd.AddPart("31010")
assert name == "F31010_1", name
kxd.AddPart("32064")
assert kxd.GetPartCount() == 2
assert kxd.GetPartAtIndex(1).Name == "F32064_1"
kxd.SelectPart(name)
assert kxd.GetSelectedPart().Name == name
kxd.CoSelectPart("F32064_1")
kxd.DeSelectAll()
assert kxd.GetSelectedPart() is None
kxd.RepaintPhaseView()
kxd.MessageDlg("hello")
assert kxd.InputDlg("Caption", "Prompt", "preset") == "entered"
kxd.CopyTextToClipboard("text")
kxd.ChangeLibrary(3)
assert kxd.GetLibraryCount() == 0
assert kxd.GetDefinitionForPart("31010") is None
)PY");
    EXPECT_EQ(PartNames(), (std::vector<std::string>{"F31010_1", "F32064_1"}));
    EXPECT_EQ(m_host.Calls,
              (std::vector<std::string>{"message hello", "input Caption|Prompt|preset",
                                        "clipboard text", "library 3"}));
    Run("import kxd\nkxd.DeleteAll()");
    EXPECT_TRUE(PartNames().empty());
}

TEST_F(ScriptTest, WrongArgumentsRaiseAndChangeNothing) {
    Add("31010");
    Run(kPrelude + R"PY(
# a table: function, arguments, the exception it must raise
cases = [
    (kxd.AddPart, (5,), TypeError),
    (kxd.AddPart, ("nosuchpart",), ValueError),
    (kxd.AddPart, ("99999",), ValueError),     # a definition without a mesh
    (kxd.SelectPart, ("F1_1",), ValueError),
    (kxd.SelectPart, (None,), TypeError),
    (kxd.CoSelectPart, ("F1_1",), ValueError),
    (kxd.GetPartAtIndex, (1,), IndexError),
    (kxd.GetPartAtIndex, (-1,), IndexError),
    (kxd.GetPartAtIndex, ("0",), TypeError),
    (kxd.GetLightAtIndex, (8,), IndexError),
    (kxd.GetLightAtIndex, (-1,), IndexError),
    (kxd.GetDefinitionAtIndex, (0,), IndexError),
    (kxd.ExportAsX3D, (5,), TypeError),
    (kxd.ExportAsRAW, ("/no/such/folder/out.raw",), RuntimeError),
    (kxd.Version, (1,), TypeError),
]
for f, args, exc in cases:
    raises(exc, f, *args)
assert kxd.GetPartCount() == 1
assert kxd.GetSelectedPart() is None
)PY");
    EXPECT_EQ(PartNames(), std::vector<std::string>{"F31010_1"});
    EXPECT_FALSE(m_model->SelectedPart());
}

TEST_F(ScriptTest, DocstringsAndCreateFunctions) {
    Run(kPrelude + R"PY(
docs = {
    "Version": "Version Nr. x", "GetPartAtIndex": "Get part at index",
    "AddPart": "Add part to scene", "CoSelectPart": "Co-Select part",
    "ExportAsPOV": "Export scene in x3d file format",
}
for name, doc in docs.items():
    assert getattr(kxd, name).__doc__ == doc, (name, getattr(kxd, name).__doc__)
reprs = {"Point3D": "Point 3D (0.000000, 0.000000, 0.000000, 0.000000)",
         "Light": "Light Nr. -1: ()", "Color": "Color (0.000000, 0.000000, 0.000000, 1.000000)",
         "Part": "Part ()", "Object3D": "Object 3D", "Camera": "Camera", "Grid": "Grid()",
         "Definition": "Definition ()"}
for t, text in reprs.items():
    create = getattr(kxd, "Create" + t)
    assert create.__doc__ == "Creates a new instance of type " + t
    obj = create()
    assert isinstance(obj, getattr(kxd, t))
    assert repr(obj) == text, repr(obj)
# objects made by Create stand for nothing in the scene and say so
for obj, attr in [(kxd.CreateLight(), "Status"), (kxd.CreateObject3D(), "Visible"),
                  (kxd.CreateCamera(), "FocalLength"), (kxd.CreateGrid(), "XMin"),
                  (kxd.CreateDefinition(), "Name")]:
    assert "stands for nothing" in raises(RuntimeError, getattr, obj, attr)
)PY");
}

TEST_F(ScriptTest, ExportsWriteTheirFiles) {
    Add("31010");
    const auto dir = m_dir.Path();
    Run("import kxd\n"
        "kxd.ExportAsX3D(r'" +
        (dir / "a.x3d").string() +
        "')\n"
        "kxd.ExportAsVRML(r'" +
        (dir / "a.wrl").string() +
        "')\n"
        "kxd.ExportAsPOV(r'" +
        (dir / "a.pov").string() +
        "')\n"
        "kxd.ExportAsRAW(r'" +
        (dir / "a.raw").string() + "')\n");
    for (const char* name : {"a.x3d", "a.wrl", "a.pov", "a.raw"}) {
        EXPECT_GT(std::filesystem::file_size(dir / name), 0u) << name;
    }
    EXPECT_EQ(std::system(("xmllint --noout " + (dir / "a.x3d").string()).c_str()), 0);
}

}  // namespace kxtest
