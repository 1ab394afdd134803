# Writes the editor stubs kxd.pyi and the reference tables of the scripting help pages from
# the module's own docstrings. Run it through the program's interpreter:
#   KXD_DOCS_ROOT=<source folder> kxbatch script tools/scripting/kxd_docs.py MODEL.kxm
# With KXD_DOCS_CHECK=1 it writes nothing and fails when a file is not what it would write.
import html
import os
import sys

import kxd

# Signatures are not in the docstrings (those are the module's texts themselves).
FUNCTIONS = {
    "Version": ("", "str"), "ProgramPath": ("", "str"),
    "InputDlg": ("caption: str, prompt: str, default: str", "str"),
    "GetLightCount": ("", "int"), "GetLightAtIndex": ("i: int", "Light"),
    "GetPartCount": ("", "int"), "GetPartAtIndex": ("i: int", "Part"),
    "GetSelectedPart": ("", "Optional[Part]"), "GetLibraryCount": ("", "int"),
    "GetDefinitionAtIndex": ("i: int", "Definition"),
    "GetDefinitionForPart": ("orgnumber: str", "Optional[Definition]"),
    "GetCamera": ("", "Camera"), "GetGrid": ("", "Grid"), "AddPart": ("number: str", "str"),
    "SelectPart": ("name: str", "None"), "CoSelectPart": ("name: str", "None"),
    "DeSelectAll": ("", "None"), "DeleteAll": ("", "None"), "RepaintPhaseView": ("", "None"),
    "ExportAsX3D": ("file: str", "None"), "ExportAsVRML": ("file: str", "None"),
    "ExportAsPOV": ("file: str", "None"), "ExportAsRAW": ("file: str", "None"),
    "ChangeLibrary": ("i: int", "None"), "MessageDlg": ("text: str", "None"),
    "CopyTextToClipboard": ("text: str", "None"),
}
TYPES = ["Point3D", "Light", "Color", "Part", "Object3D", "Camera", "Grid", "Definition"]
READ_ONLY = {"Light": {"Position", "Color"}, "Part": {"Object3D"},
             "Object3D": {"Position", "Direction", "Up", "Scale", "Color"},
             "Camera": {"Position", "Direction", "Up", "TargetObject", "NearPlane"},
             "Grid": {"Color", "Object3D"}, "Definition": "all"}
ATTRIBUTES = {
    "Point3D": {"x": "float", "y": "float", "z": "float", "w": "float"},
    "Light": {"Status": "bool", "Position": "Point3D", "Color": "Color"},
    "Color": {"Red": "float", "Green": "float", "Blue": "float", "Alpha": "float"},
    "Part": {"Name": "str", "Phase": "int", "Object3D": "Object3D"},
    "Object3D": {"Position": "Point3D", "Direction": "Point3D", "Up": "Point3D",
                 "Scale": "Point3D", "Color": "Color", "ShowAxes": "bool", "Visible": "bool"},
    "Camera": {"Position": "Point3D", "Direction": "Point3D", "Up": "Point3D",
               "TargetObject": "Object3D", "FocalLength": "float", "DepthOfView": "float",
               "NearPlane": "float"},
    "Grid": {"Status": "bool", "Color": "Color", "Object3D": "Object3D", "XMin": "float",
             "XMax": "float", "XStep": "float", "ZMin": "float", "ZMax": "float",
             "ZStep": "float"},
    "Definition": {"Number": "str", "OrgNumber": "str", "Name": "str", "Group": "int",
                   "Printable": "int", "SortOrder": "int", "Hide": "bool", "Price": "float"},
}
METHOD_ARGS = {"Init": "x: float, y: float, z: float, w: float", "Scale": "f: float",
               "CommitChanges": "colour: bool", "MoveRed": "mm: float",
               "MoveGreen": "mm: float", "MoveBlue": "mm: float", "RotateRed": "deg: float",
               "RotateGreen": "deg: float", "RotateBlue": "deg: float"}
METHOD_RESULTS = {"VectorLength": "float"}


def members(cls):
    attrs, methods = [], []
    for name, value in vars(cls).items():
        if name.startswith("_"):
            continue
        (attrs if isinstance(value, property) else methods).append(name)
    return attrs, methods


def read_only(t, attr):
    ro = READ_ONLY.get(t, set())
    return ro == "all" or attr in ro


def check_complete():
    functions = [n for n in dir(kxd) if callable(getattr(kxd, n)) and not n.startswith("_")
                 and n not in TYPES and not n.startswith("Create")]
    missing = set(functions) ^ set(FUNCTIONS)
    if missing:
        sys.exit("kxd_docs: signatures to add or drop: %s" % sorted(missing))
    for t in TYPES:
        attrs, _ = members(getattr(kxd, t))
        if set(attrs) != set(ATTRIBUTES[t]):
            sys.exit("kxd_docs: attributes of %s: %s" % (t, sorted(set(attrs) ^ set(ATTRIBUTES[t]))))


def stubs():
    out = ['"""Type stubs of the module kxd of Korvex designer, for editors. Written by',
           'tools/scripting/kxd_docs.py from the module\'s own docstrings."""', "",
           "from typing import Optional", ""]
    for t in TYPES:
        cls = getattr(kxd, t)
        attrs, methods = members(cls)
        out += ["", "class %s:" % t, '    """%s"""' % cls.__doc__]
        for a in attrs:
            kind = ATTRIBUTES[t][a]
            if read_only(t, a):
                out += ["    @property", "    def %s(self) -> %s: ..." % (a, kind)]
            else:
                out.append("    %s: %s" % (a, kind))
        for m in methods:
            args = METHOD_ARGS.get(m, "")
            out += ["    def %s(self%s) -> %s:" % (m, ", " + args if args else "",
                                                  METHOD_RESULTS.get(m, "None")),
                    '        """%s"""' % getattr(cls, m).__doc__, "        ..."]
    out.append("")
    for name in FUNCTIONS:
        args, result = FUNCTIONS[name]
        out += ["", "def %s(%s) -> %s:" % (name, args, result),
                '    """%s"""' % getattr(kxd, name).__doc__, "    ..."]
    for t in TYPES:
        out += ["", "def Create%s() -> %s:" % (t, t),
                '    """%s"""' % getattr(kxd, "Create" + t).__doc__, "    ..."]
    return "\n".join(out) + "\n"


def reference(lang):
    de = lang == "de"
    e = html.escape
    out = ["<h2>%s</h2>" % ("Funktionen des Moduls kxd" if de else "Functions of the module kxd"),
           '<table border="1" cellpadding="4">',
           "<tr><th>%s</th><th>%s</th><th>%s</th></tr>" % (
               ("Funktion", "Ergebnis", "Beschreibung") if de
               else ("Function", "Result", "Description"))]
    for name in FUNCTIONS:
        args, result = FUNCTIONS[name]
        out.append("<tr><td><code>%s(%s)</code></td><td><code>%s</code></td><td>%s</td></tr>"
                   % (name, e(args), e(result), e(getattr(kxd, name).__doc__)))
    for t in TYPES:
        out.append("<tr><td><code>Create%s()</code></td><td><code>%s</code></td><td>%s</td></tr>"
                   % (t, t, e(getattr(kxd, "Create" + t).__doc__)))
    out.append("</table>")
    for t in TYPES:
        cls = getattr(kxd, t)
        attrs, methods = members(cls)
        out += ['<h3 id="%s">%s</h3>' % (t, t), "<p>%s</p>" % e(cls.__doc__),
                '<table border="1" cellpadding="4">',
                "<tr><th>%s</th><th>%s</th><th>%s</th></tr>" % (
                    ("Attribut / Methode", "Typ", "Zugriff / Beschreibung") if de
                    else ("Attribute / method", "Type", "Access / description"))]
        for a in attrs:
            access = ("nur lesen" if de else "read only") if read_only(t, a) else (
                "lesen und schreiben" if de else "read and write")
            out.append("<tr><td><code>%s</code></td><td><code>%s</code></td><td>%s</td></tr>"
                       % (a, ATTRIBUTES[t][a], access))
        for m in methods:
            out.append("<tr><td><code>%s(%s)</code></td><td><code>%s</code></td><td>%s</td></tr>"
                       % (m, e(METHOD_ARGS.get(m, "")), METHOD_RESULTS.get(m, "None"),
                          e(getattr(cls, m).__doc__)))
        out.append("</table>")
    return "\n".join(out) + "\n"


BEGIN = "<!-- kxd reference: written by tools/scripting/kxd_docs.py -->\n"
END = "<!-- end of kxd reference -->"


def main():
    check_complete()
    root = os.environ.get("KXD_DOCS_ROOT", ".")
    check = os.environ.get("KXD_DOCS_CHECK") == "1"
    wanted = {os.path.join(root, "data", "Python", "kxd.pyi"): stubs()}
    for lang in ("de", "en"):
        page = os.path.join(root, "data", "help", lang, "python.html")
        with open(page, encoding="utf-8") as f:
            text = f.read()
        start = text.index(BEGIN) + len(BEGIN)
        wanted[page] = text[:start] + reference(lang) + text[text.index(END):]
    stale = []
    for path, text in wanted.items():
        old = open(path, encoding="utf-8").read() if os.path.exists(path) else None
        if old != text:
            stale.append(path)
            if not check:
                with open(path, "w", encoding="utf-8") as f:
                    f.write(text)
    if check and stale:
        sys.exit("kxd_docs: out of date: %s" % ", ".join(stale))
    print("checked" if check else "written", len(wanted), "files")


main()
