"""Type stubs of the module kxd of Korvex designer, for editors. Written by
tools/scripting/kxd_docs.py from the module's own docstrings."""

from typing import Optional


class Point3D:
    """A point or vector: x, y, z, w"""
    x: float
    y: float
    z: float
    w: float
    def Clear(self) -> None:
        """Set all members to 0.0"""
        ...
    def Init(self, x: float, y: float, z: float, w: float) -> None:
        """Set members at once"""
        ...
    def Normalize(self) -> None:
        """Normalize vector"""
        ...
    def Invert(self) -> None:
        """Invert vector"""
        ...
    def Scale(self, f: float) -> None:
        """Scale vector"""
        ...
    def VectorLength(self) -> float:
        """Length of vector"""
        ...

class Light:
    """One of the eight lights of the scene"""
    Status: bool
    @property
    def Position(self) -> Point3D: ...
    @property
    def Color(self) -> Color: ...
    def TurnOn(self) -> None:
        """Turn light on"""
        ...
    def TurnOff(self) -> None:
        """Turn light off"""
        ...

class Color:
    """A colour: Red, Green, Blue, Alpha from 0.0 to 1.0"""
    Red: float
    Green: float
    Blue: float
    Alpha: float
    def Clear(self) -> None:
        """Set all members to 0.0"""
        ...
    def BlackColor(self) -> None:
        """Set color to black"""
        ...
    def BlueColor(self) -> None:
        """Set color to blue"""
        ...
    def BrownColor(self) -> None:
        """Set color to brown"""
        ...
    def CyanColor(self) -> None:
        """Set color to cyan"""
        ...
    def DarkGrayColor(self) -> None:
        """Set color to dark gray"""
        ...
    def GrayColor(self) -> None:
        """Set color to gray"""
        ...
    def GreenColor(self) -> None:
        """Set color to green"""
        ...
    def LightGrayColor(self) -> None:
        """Set color to light gray"""
        ...
    def MagentaColor(self) -> None:
        """Set color to magenta"""
        ...
    def OrangeColor(self) -> None:
        """Set color to orange"""
        ...
    def PurpleColor(self) -> None:
        """Set color to purple"""
        ...
    def RedColor(self) -> None:
        """Set color to red"""
        ...
    def WhiteColor(self) -> None:
        """Set color to white"""
        ...
    def YellowColor(self) -> None:
        """Set color to yellow"""
        ...

class Part:
    """A placed part of the model"""
    Name: str
    Phase: int
    @property
    def Object3D(self) -> Object3D: ...
    def Clear(self) -> None:
        """Set all members to 0.0"""
        ...
    def CommitChanges(self, colour: bool) -> None:
        """Store changes on Object3D"""
        ...

class Object3D:
    """An object of the scene: a part, the grid, ..."""
    @property
    def Position(self) -> Point3D: ...
    @property
    def Direction(self) -> Point3D: ...
    @property
    def Up(self) -> Point3D: ...
    @property
    def Scale(self) -> Point3D: ...
    @property
    def Color(self) -> Color: ...
    ShowAxes: bool
    Visible: bool
    def Clear(self) -> None:
        """Set all members to 0.0"""
        ...
    def MoveRed(self, mm: float) -> None:
        """Move part along the red axle"""
        ...
    def MoveGreen(self, mm: float) -> None:
        """Move part along the green axle"""
        ...
    def MoveBlue(self, mm: float) -> None:
        """Move part along the blue axle"""
        ...
    def RotateRed(self, deg: float) -> None:
        """Rotate part around the red axle"""
        ...
    def RotateGreen(self, deg: float) -> None:
        """Rotate part around the green axle"""
        ...
    def RotateBlue(self, deg: float) -> None:
        """Rotate part around the blue axle"""
        ...

class Camera:
    """The camera of the scene"""
    @property
    def Position(self) -> Point3D: ...
    @property
    def Direction(self) -> Point3D: ...
    @property
    def Up(self) -> Point3D: ...
    @property
    def TargetObject(self) -> Object3D: ...
    FocalLength: float
    DepthOfView: float
    @property
    def NearPlane(self) -> float: ...
    def Clear(self) -> None:
        """Set all members to 0.0"""
        ...

class Grid:
    """The floor grid of the scene"""
    Status: bool
    @property
    def Color(self) -> Color: ...
    @property
    def Object3D(self) -> Object3D: ...
    XMin: float
    XMax: float
    XStep: float
    ZMin: float
    ZMax: float
    ZStep: float
    def TurnOn(self) -> None:
        """Turn grid on"""
        ...
    def TurnOff(self) -> None:
        """Turn grid off"""
        ...

class Definition:
    """A part definition, read only"""
    @property
    def Number(self) -> str: ...
    @property
    def OrgNumber(self) -> str: ...
    @property
    def Name(self) -> str: ...
    @property
    def Group(self) -> int: ...
    @property
    def Printable(self) -> int: ...
    @property
    def SortOrder(self) -> int: ...
    @property
    def Hide(self) -> bool: ...
    @property
    def Price(self) -> float: ...


def Version() -> str:
    """Version Nr. x"""
    ...

def ProgramPath() -> str:
    """Path to Korvex designer"""
    ...

def InputDlg(caption: str, prompt: str, default: str) -> str:
    """Let the user enter a text"""
    ...

def GetLightCount() -> int:
    """Number of lights"""
    ...

def GetLightAtIndex(i: int) -> Light:
    """Get light at index"""
    ...

def GetPartCount() -> int:
    """Number of parts"""
    ...

def GetPartAtIndex(i: int) -> Part:
    """Get part at index"""
    ...

def GetSelectedPart() -> Optional[Part]:
    """Get selected part"""
    ...

def GetLibraryCount() -> int:
    """Number of parts in library"""
    ...

def GetDefinitionAtIndex(i: int) -> Definition:
    """Get definition for library part at index"""
    ...

def GetDefinitionForPart(orgnumber: str) -> Optional[Definition]:
    """Get definition for a specified part"""
    ...

def GetCamera() -> Camera:
    """Get camera object"""
    ...

def GetGrid() -> Grid:
    """Get grid object"""
    ...

def AddPart(number: str) -> str:
    """Add part to scene"""
    ...

def SelectPart(name: str) -> None:
    """Select part"""
    ...

def CoSelectPart(name: str) -> None:
    """Co-Select part"""
    ...

def DeSelectAll() -> None:
    """Clear complete selection"""
    ...

def DeleteAll() -> None:
    """Delete all"""
    ...

def RepaintPhaseView() -> None:
    """Repaint phase view"""
    ...

def ExportAsX3D(file: str) -> None:
    """Export scene in x3d file format"""
    ...

def ExportAsVRML(file: str) -> None:
    """Export scene in x3d file format"""
    ...

def ExportAsPOV(file: str) -> None:
    """Export scene in x3d file format"""
    ...

def ExportAsRAW(file: str) -> None:
    """Export scene in x3d file format"""
    ...

def ChangeLibrary(i: int) -> None:
    """Switch to a specify library"""
    ...

def MessageDlg(text: str) -> None:
    """Show a simple message dialog"""
    ...

def CopyTextToClipboard(text: str) -> None:
    """Copy a text into windows clipboard"""
    ...

def CreatePoint3D() -> Point3D:
    """Creates a new instance of type Point3D"""
    ...

def CreateLight() -> Light:
    """Creates a new instance of type Light"""
    ...

def CreateColor() -> Color:
    """Creates a new instance of type Color"""
    ...

def CreatePart() -> Part:
    """Creates a new instance of type Part"""
    ...

def CreateObject3D() -> Object3D:
    """Creates a new instance of type Object3D"""
    ...

def CreateCamera() -> Camera:
    """Creates a new instance of type Camera"""
    ...

def CreateGrid() -> Grid:
    """Creates a new instance of type Grid"""
    ...

def CreateDefinition() -> Definition:
    """Creates a new instance of type Definition"""
    ...
