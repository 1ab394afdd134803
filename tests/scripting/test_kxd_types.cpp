// The object types of kxd bound to the live scene: attributes, methods, wrong types, and
// objects held past the end of what they stand for.
#include "script_fixture.h"

#include "view/u_scene.h"

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
def near(a, b):
    return abs(a - b) < 1e-5
)PY";
}  // namespace

TEST_F(ScriptTest, Point3DWorksOnItsMembersOrTheBoundVector) {
    Add("31010");
    Run(kPrelude + R"PY(
p = kxd.CreatePoint3D()
p.Init(3, 4, 0, 1)
assert p.VectorLength() == 5
p.Scale(2); assert (p.x, p.y) == (6, 8)
p.Invert(); assert (p.x, p.y, p.w) == (-6, -8, 1)
p.Normalize(); assert near(p.VectorLength(), 1)
p.Clear(); assert repr(p) == "Point 3D (0.000000, 0.000000, 0.000000, 0.000000)"

o = kxd.GetPartAtIndex(0).Object3D
pos = o.Position
pos.x = 2.5
assert o.Position.x == 2.5
# wrong types are refused and nothing changes, whatever the attribute
for attr in "xyzw":
    raises(TypeError, setattr, pos, attr, "a")
    raises(TypeError, setattr, pos, attr, None)
assert o.Position.x == 2.5 and o.Position.y == 0
raises(AttributeError, setattr, pos, "v", 1.0)
raises(AttributeError, getattr, pos, "X")      # names are exact, letter case included
d = o.Direction
d.Init(0, 0, 3, 0)                             # a direction stays a unit vector
assert near(o.Direction.z, 1)
o.Scale.Scale(2)
)PY");
    const TFreeForm* object = Object("F31010_1");
    EXPECT_FLOAT_EQ(object->Position().X, 2.5f);
    EXPECT_FLOAT_EQ(object->Scale().X, 0.2f);  // parts are drawn at 0.1
}

TEST_F(ScriptTest, ObjectMovesAndColoursStayViewStateUntilCommitted) {
    const std::string first = Add("31010");
    const std::string second = Add("31010");
    const uint32_t original = m_model->FindBauteil(first)->Color();
    Run(kPrelude + R"PY(
a = kxd.GetPartAtIndex(0)
o = a.Object3D
o.MoveBlue(15)                      # millimetres along its own direction
assert near(o.Position.z, 1.5)
o.MoveRed(10); o.MoveGreen(-20)
o.RotateGreen(90)
assert near(o.Direction.x, 1) or near(o.Direction.x, -1)
c = o.Color
c.RedColor(); c.BlueColor()
assert (c.Red, c.Green, c.Blue) == (0, 0, 1)
raises(TypeError, setattr, c, "Red", "x")
assert o.Color.Blue == 1 and o.Color.Red == 0
raises(TypeError, setattr, o, "Visible", "no")
assert o.Visible
o.ShowAxes = True
assert o.ShowAxes
b = kxd.GetPartAtIndex(1)
b.Object3D.MoveBlue(10)
b.Object3D.Color.GreenColor()
b.CommitChanges(True)
)PY");
    EXPECT_EQ(ObjectColour(first), 0xFF0000u);  // blue (Windows colour order)
    EXPECT_EQ(LibColour(first), 0xFF0000u);
    m_model->Repaint();
    // Only the committed part keeps what the script did.
    EXPECT_FLOAT_EQ(Object(first)->Position().Z, 0);
    EXPECT_EQ(ObjectColour(first), original);
    EXPECT_FLOAT_EQ(Object(second)->Position().Z, 1);
    EXPECT_EQ(m_model->FindBauteil(second)->Color(), 0x00FF00u);
}

TEST_F(ScriptTest, PartNameIsReadOnlyAndPhaseIsChecked) {
    const std::string name = Add("31010");
    Run(kPrelude + R"PY(
p = kxd.GetPartAtIndex(0)
assert repr(p) == "Part ()"
assert "read only" in raises(AttributeError, setattr, p, "Name", "other")
raises(AttributeError, p.Clear)
raises(TypeError, setattr, p, "Phase", "2")
raises(TypeError, setattr, p, "Phase", 2.5)
assert p.Phase == 1
p.Phase = 3
assert kxd.GetPartAtIndex(0).Phase == 3
raises(TypeError, p.CommitChanges, "yes")
free = kxd.CreatePart()
free.Name = "mine"; free.Phase = 4
assert (free.Name, free.Phase) == ("mine", 4)
free.Clear(); assert free.Name == ""
)PY");
    ASSERT_TRUE(m_model->FindBauteil(name));
    EXPECT_EQ(Object(name)->Name(), name);
    EXPECT_EQ(m_model->FindBauteil(name)->Phase(), 3);
}

TEST_F(ScriptTest, LightsCameraAndGrid) {
    Run(kPrelude + R"PY(
light = kxd.GetLightAtIndex(2)
assert repr(light) == "Light Nr. 2: ()"
light.TurnOff(); assert not light.Status
light.Status = True
raises(TypeError, setattr, light, "Status", "off")
assert light.Status
light.Color.BlueColor()
light.Position.y = 7
raises(AttributeError, setattr, light, "Position", kxd.CreatePoint3D())

cam = kxd.GetCamera()
cam.FocalLength = 80
assert cam.FocalLength == 80
raises(AttributeError, setattr, cam, "NearPlane", 1)
raises(TypeError, setattr, cam, "DepthOfView", "far")
cam.DepthOfView = 500
assert repr(cam.TargetObject) == "Object 3D"
cam.Position.x = 3

grid = kxd.GetGrid()
grid.Color.RedColor()
grid.XStep = 2.0; grid.ZStep = 2.0
grid.XMin = -20; grid.XMax = 20; grid.ZMin = -20; grid.ZMax = 20
raises(TypeError, setattr, grid, "XMin", "far")
raises(ValueError, setattr, grid, "XStep", 0)
raises(ValueError, setattr, grid, "XMin", 30)     # above its maximum
assert grid.XMin == -20 and grid.XStep == 2
grid.TurnOff(); assert not grid.Status
raises(TypeError, setattr, grid, "Status", "on")
assert not grid.Object3D.Visible
)PY");
    EXPECT_EQ(m_host.Calls, (std::vector<std::string>{"light 2 off", "light 2 on"}));
    const TLightSource* light = m_scene.Light(3);
    EXPECT_TRUE(light->Shining());
    EXPECT_EQ(light->Diffuse(), (TColor3f{0, 0, 1}));
    EXPECT_FLOAT_EQ(light->Position().Y, 7);
    EXPECT_FLOAT_EQ(m_scene.Camera()->FocalLength(), 80);
    EXPECT_FLOAT_EQ(m_scene.Camera()->DepthOfView(), 500);
    const TGrid* grid = m_scene.Grid();
    EXPECT_EQ(grid->Range(), (TGrid::TRange{-20, 20, 2, -20, 20, 2}));
    EXPECT_EQ(grid->LinePositions(true).size(), 21u);
    EXPECT_EQ(grid->Color(), (TColor3f{1, 0, 0}));
    EXPECT_FALSE(grid->Visible());
    EXPECT_FALSE(m_model->GridShown);
}

TEST_F(ScriptTest, DefinitionsComeFromTheLibrary) {
    TPartLibrary library;
    struct TNoIcons : TLibraryFillPort {
        void FillStart(const std::string&, int) override {}
        void FillProgress(int) override {}
        int LoadIcon(const std::filesystem::path&) override { return -1; }
    } port;
    library.Fill(m_files, {}, port);
    m_library = &library;
    Run(kPrelude + R"PY(
n = kxd.GetLibraryCount()
assert n > 0
numbers = [kxd.GetDefinitionAtIndex(i).Number for i in range(n)]
assert "31010" in numbers, numbers
d = kxd.GetDefinitionForPart("31010")
assert repr(d) == "Definition ()"
assert (d.Number, d.OrgNumber, d.Name, d.Group, d.Printable, d.Hide) == \
       ("31010", "31010", "Baustein 30", 1, 1, False), (d.Number, d.Name)
assert isinstance(d.Price, float) and isinstance(d.SortOrder, int)
raises(AttributeError, setattr, d, "Name", "x")
assert kxd.GetDefinitionForPart("31010x") is None
raises(IndexError, kxd.GetDefinitionAtIndex, n)
)PY");
}

TEST_F(ScriptTest, ObjectsHeldPastDeleteAllSayTheirPartIsGone) {
    Add("31010");
    Run(kPrelude + R"PY(
p = kxd.GetPartAtIndex(0)
o = p.Object3D
pos = o.Position
col = o.Color
kxd.DeleteAll()
kxd.AddPart("31010")          # a new part of the very same name
for f, args in [(getattr, (p, "Name")), (getattr, (o, "Visible")), (getattr, (pos, "x")),
                (setattr, (col, "Red", 1.0)), (o.MoveBlue, (5,)), (p.CommitChanges, (True,))]:
    assert "emptied" in raises(RuntimeError, f, *args)
assert kxd.GetPartAtIndex(0).Object3D.Position.x == 0
)PY");
    EXPECT_EQ(PartNames(), std::vector<std::string>{"F31010_1"});
}

}  // namespace kxtest
