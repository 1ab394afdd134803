// The model written to outside 3D formats: RAW triangles, VRML 1.0, a POV-Ray scene and X3D,
// read from the scene as the view holds it, each part in its own colour.
#include "model/u_export.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>
#include <vector>

#include "foundation/u_atomicfile.h"
#include "foundation/u_numfmt.h"
#include "foundation/u_text.h"
#include "generated/u_pipeex.h"
#include "model/u_TBauteil.h"
#include "model/u_modelports.h"
#include "view/u_colour.h"
#include "view/u_scene.h"
#include "view/u_sceneobjects.h"

namespace kx {

namespace {

constexpr size_t kChunk = 256 * 1024;
constexpr uint32_t kBlackDefinitionGrey = 0x505050;
constexpr uint32_t kMetallic = 0xFAFAFA;

/// A part as the writers see it: its mesh, its frame relative to the parts root, its colour.
struct TExportPart {
    const TFreeForm* Object = nullptr;
    size_t Index = 0;    ///< among all children of the parts root
    TMatrix4f Frame;     ///< rotation and scale relative to the parts root (no translation)
    TVector3f Position;  ///< absolute position
    TColor3f Colour;     ///< the part's own colour, not the highlight of the view
    TColor3f Ambient{0.2f, 0.2f, 0.2f};
    TColor3f Emission{0, 0, 0};
};

/// The part's own colour: a selected part is drawn in the highlight colour and earlier phases
/// may be drawn white, but the file shows what the part is.
TColor3f OwnColour(const TFreeForm& object) {
    if (const TBauteil* record = object.Bauteil()) {
        return ColorFromWin(record->Color());
    }
    return object.DrawMaterial().Diffuse().Rgb();
}

/// Valid in X3D (an XML name) and VRML alike: letters, digits and "_", never a digit first.
std::string SafeName(std::string_view name) {
    std::string s;
    s.reserve(name.size() + 1);
    for (const char c : name) {
        const bool ok =
            (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
        s += ok ? c : '_';
    }
    if (s.empty() || (s[0] >= '0' && s[0] <= '9')) {
        s.insert(0, "_");
    }
    return s;
}

/// Hands out DEF names that no other element of the file has.
class TNames {
public:
    TNames() {
        for (const char* fixed :
             {"Point_TRANSFORM", "LA_Camera_Light", "Camera_TRANSFORM", "CA_Camera"}) {
            m_used.insert(fixed);
        }
    }
    std::string Unique(std::string_view wanted) {
        const std::string base = SafeName(wanted);
        std::string name = base;
        for (int n = 2; !m_used.insert(name).second; ++n) {
            name = base + "_" + std::to_string(n);
        }
        return name;
    }

private:
    std::unordered_set<std::string> m_used;
};

class TWriter {
public:
    TWriter(TScene& scene, const TExportOptions& options,
            const std::function<bool(std::string_view)>& sink)
        : m_scene(scene), m_options(options), m_sink(sink) {
        m_out.reserve(kChunk + 64 * 1024);
    }

    bool Write(TExportFormat format) {
        CollectParts();
        TWaitView* wait = m_options.Wait;
        const bool withWindow = wait && format != TExportFormat::Raw;
        if (withWindow) {
            wait->ShowWait(m_options.WaitTitle, static_cast<int>(m_childCount) - 1);
            wait->ProcessMessages();
        }
        switch (format) {
            case TExportFormat::Raw:
                Raw();
                break;
            case TExportFormat::Vrml:
                Vrml();
                break;
            case TExportFormat::Pov:
                Pov();
                break;
            case TExportFormat::X3DShaded:
                X3D(false);
                break;
            case TExportFormat::X3DFlat:
                X3D(true);
                break;
        }
        if (withWindow) {
            wait->CloseWait();
        }
        return Flush();
    }

private:
    // --- Output -------------------------------------------------------------------------------
    bool Flush() {
        if (!m_ok || m_out.empty()) {
            m_out.clear();
            return m_ok;
        }
        m_ok = m_sink(m_out);
        m_out.clear();
        return m_ok;
    }
    void Check() {
        if (m_out.size() >= kChunk) {
            Flush();
        }
    }
    void Text(std::string_view s) { m_out.append(s); }
    void Line(std::string_view s) {
        m_out.append(s);
        m_out.append("\r\n");
    }
    void Eol() { m_out.append("\r\n"); }
    /// Names and titles go into the single-byte files in the program's code page.
    void Cp1252(std::string_view utf8) { m_out.append(Utf8ToCp1252(utf8)); }
    void Num(float v) {
        char b[kFixedBufferSize];
        m_out.append(b, WriteFixed(b, v, 8));
    }
    void Int(long long v) { AppendInt(m_out, v); }
    /// x, y and z joined by sep.
    void Vec(const TVector3f& v, char sep) {
        char b[3 * kFixedBufferSize];
        char* p = WriteFixed(b, v.X, 8);
        *p++ = sep;
        p = WriteFixed(p, v.Y, 8);
        *p++ = sep;
        p = WriteFixed(p, v.Z, 8);
        m_out.append(b, p);
    }
    void PovVec(const TVector3f& v) {
        m_out += '<';
        Vec(v, ',');
        m_out += '>';
    }
    /// VRML's colours: two decimals, each followed by a blank.
    void VrmlColour(std::string_view key, const TColor3f& c) {
        Text(key);
        for (const float f : {c.R, c.G, c.B}) {
            AppendFixed(m_out, f, 2);
            m_out += ' ';
        }
        Eol();
    }
    void RgbBlanks(const TColor3f& c) { Vec({c.R, c.G, c.B}, ' '); }
    void Progress(size_t index) {
        if (m_options.Wait) {
            m_options.Wait->SetWaitPosition(static_cast<int>(index));
        }
    }

    // --- What is written ----------------------------------------------------------------------
    void CollectParts() {
        const TDummyCube* root = m_scene.PartsRoot();
        if (!root) {
            return;
        }
        m_childCount = root->Count();
        for (size_t i = 0; i < root->Count(); ++i) {
            const TSceneObject& child = root->Child(i);
            if (child.Kind() != TSceneObjectKind::FreeForm) {
                continue;
            }
            const auto& object = static_cast<const TFreeForm&>(child);
            TExportPart part;
            part.Object = &object;
            part.Index = i;
            part.Frame = object.MatrixRelativeTo(*root);
            part.Position = object.AbsolutePosition();
            part.Colour = OwnColour(object);
            part.Ambient = object.DrawMaterial().Ambient();
            part.Emission = object.DrawMaterial().Emission();
            m_parts.push_back(part);
        }
    }
    std::vector<TPipeEx*> Hoses() const {
        const TSceneObject* tubes = m_scene.Root().FindChild("Tubes", false);
        return tubes ? HosesBelow(*tubes) : std::vector<TPipeEx*>{};
    }
    static const TMesh* MeshOf(const TExportPart& part) { return part.Object->Mesh().get(); }
    static size_t Triangles(const TMesh* mesh) { return mesh ? mesh->Positions.size() / 3 : 0; }
    static TVector3f Placed(const TExportPart& part, const TVector3f& v) {
        return part.Frame.TransformVector(v) + part.Position;
    }
    static TVector3f Point(const TPipeVertex& p) { return {p.X, p.Y, p.Z}; }
    static std::string HoseName(const TPipeEx& hose) {
        return hose.Name().empty() ? "PIPE" + std::to_string(hose.Index()) : hose.Name();
    }

    // --- RAW ----------------------------------------------------------------------------------
    void Raw() {
        for (const TExportPart& part : m_parts) {
            Cp1252(part.Object->Name());
            Eol();
            const TMesh* mesh = MeshOf(part);
            for (size_t t = 0, n = Triangles(mesh); t < n && m_ok; ++t) {
                for (int k = 0; k < 3; ++k) {
                    if (k > 0) {
                        Text("   ");
                    }
                    Vec(Placed(part, mesh->Positions[3 * t + k]), ' ');
                }
                Eol();
                Check();
            }
        }
        // Hoses belong to the model as much as parts do: a name line and their triangles.
        for (TPipeEx* hose : Hoses()) {
            hose->BuildMesh();
            const auto& v = hose->Triangles();
            Cp1252(HoseName(*hose));
            Eol();
            for (size_t t = 0, n = v.size() / 3; t < n && m_ok; ++t) {
                for (int k = 0; k < 3; ++k) {
                    if (k > 0) {
                        Text("   ");
                    }
                    Vec(Point(v[3 * t + k]), ' ');
                }
                Eol();
                Check();
            }
        }
    }

    // --- VRML 1.0 -----------------------------------------------------------------------------
    void VrmlMaterial(std::string_view def, const TColor3f& diffuse, const TColor3f& ambient,
                      const TColor3f& emission) {
        Text("DEF ");
        Text(def);
        Line(" Material");
        Line("{");
        VrmlColour("  ambientColor ", ambient);
        VrmlColour("  diffuseColor ", diffuse);
        VrmlColour("  specularColor ", {0, 0, 0});
        VrmlColour("  emissiveColor ", emission);
        Line("  shininess 0");
        Line("  transparency 0");
        Line("}");
        Line("Coordinate3");
        Line("{");
        Line("  point [");
    }
    void VrmlFaces(std::string_view def, size_t triangles) {
        Line("  ]");
        Line("}");
        Text("DEF ");
        Text(def);
        Line(" IndexedFaceSet");
        Line("{");
        Line("  coordIndex [ ");
        for (size_t t = 0; t < triangles && m_ok; ++t) {
            Int(static_cast<long long>(3 * t));
            m_out += ',';
            Int(static_cast<long long>(3 * t + 1));
            m_out += ',';
            Int(static_cast<long long>(3 * t + 2));
            Line(",-1,");
            Check();
        }
        Line("  ]");
        Line("}");
    }
    void Vrml() {
        Line("#VRML V1.0 ascii");
        Text("#this document was created by ");
        Cp1252(m_options.Title);
        Eol();
        for (const TExportPart& part : m_parts) {
            Progress(part.Index);
            VrmlMaterial("MAT_" + std::to_string(part.Index), part.Colour, part.Ambient,
                         part.Emission);
            const TMesh* mesh = MeshOf(part);
            const size_t n = Triangles(mesh);
            for (size_t t = 0; t < n && m_ok; ++t) {
                for (int k = 0; k < 3; ++k) {
                    Vec(Placed(part, mesh->Positions[3 * t + k]), ' ');
                    m_out += ',';
                }
                Eol();
                Check();
            }
            VrmlFaces(SafeName(part.Object->Name()), n);
        }
        const std::vector<TPipeEx*> hoses = Hoses();
        for (size_t j = 0; j < hoses.size(); ++j) {
            TPipeEx& hose = *hoses[j];
            hose.BuildMesh();
            const auto& v = hose.Triangles();
            VrmlMaterial("MATPIPE_" + std::to_string(hose.Index()), ColorFromWin(hose.Colour()),
                         {0.2f, 0.2f, 0.2f}, {0, 0, 0});
            const size_t n = v.size() / 3;
            for (size_t t = 0; t < n && m_ok; ++t) {
                for (int k = 0; k < 3; ++k) {
                    const TPipeVertex& p = v[3 * t + k];
                    Vec({p.X, p.Y, p.Z}, ' ');
                    m_out += ',';
                }
                Eol();
                Check();
            }
            VrmlFaces("PIPE" + std::to_string(hose.Index()), n);
        }
    }

    // --- POV-Ray ------------------------------------------------------------------------------
    /// The scene's frame in POV-Ray's: Y and Z negated, for points and directions alike.
    static TVector3f Pov(const TVector3f& v) { return {v.X, -v.Y, -v.Z}; }

    void Pov() {
        Line("// 3D-Modell POV-Ray Format");
        Text("// this document was created with ");
        Cp1252(m_options.Title);
        Eol();
        Eol();
        Line("#include \"colors.inc\"");
        Eol();
        const TColor3f bg = ColorFromWin(m_options.Background);
        Text("background { color red ");
        Num(bg.R);
        Text(" green ");
        Num(bg.G);
        Text(" blue ");
        Num(bg.B);
        Line(" }");
        Eol();
        if (m_options.Radiosity) {
            Line("global_settings { radiosity { } }");
            Eol();
        }
        if (const TSceneCamera* camera = m_scene.Camera()) {
            const TVector3f position = camera->AbsolutePosition();
            const TVector3f target = camera->LookAtPoint();
            Line("camera {");
            Text("  location ");
            PovVec(Pov(position));
            Eol();
            // The frame turned by the sign change stays right-handed; POV-Ray's own is
            // left-handed, so a negative right keeps the picture from coming out mirrored, and
            // the sky turns with the scene so it does not come out upside down.
            Line("  right <-4/3, 0, 0>");
            Text("  up ");
            PovVec(Pov(camera->AbsoluteUp()));
            Eol();
            Text("  sky ");
            PovVec(Pov(camera->AbsoluteUp()));
            Eol();
            Text("  direction ");
            PovVec(Pov(camera->AbsoluteDirection()));
            Eol();
            Line("  angle 45");
            Text("  look_at ");
            PovVec(Pov(target));
            Eol();
            Line("}");
            Eol();
        }
        for (int n = 1; n <= 8; ++n) {
            const TLightSource* light = m_scene.Light(n);
            if (!light || !light->Shining()) {
                continue;
            }
            Text("light_source { ");
            PovVec(Pov(light->AbsolutePosition()));
            Line(" colour White }");
        }
        Eol();
        for (const TExportPart& part : m_parts) {
            Progress(part.Index);
            const TMesh* mesh = MeshOf(part);
            const size_t n = Triangles(mesh);
            if (n == 0) {
                continue;  // POV-Ray refuses a mesh without triangles
            }
            const bool normals = mesh->Normals.size() >= 3 * n;
            Line("mesh {");
            Text("// ");
            Cp1252(part.Object->Name());
            Eol();
            for (size_t t = 0; t < n && m_ok; ++t) {
                Text("smooth_triangle {");
                for (int k = 0; k < 3; ++k) {
                    const size_t i = 3 * t + k;
                    PovVec(Pov(Placed(part, mesh->Positions[i])));
                    m_out += ',';
                    const TVector3f normal = normals ? mesh->Normals[i] : TVector3f{0, 1, 0};
                    PovVec(Pov(part.Frame.TransformVector(normal)));
                    m_out += k < 2 ? ',' : '}';
                }
                Eol();
                Check();
            }
            Text("pigment { colour red ");
            Num(part.Colour.R);
            Text(" green ");
            Num(part.Colour.G);
            Text(" blue ");
            Num(part.Colour.B);
            Line(" }");
            if (ColorToWin(part.Colour) == kMetallic) {
                Line("finish { reflection 0.75 metallic }");
            }
            Line("}");
        }
        // Hoses too, or a picture shows a hook hanging in the air; they have no normals, so
        // POV-Ray shades their flat triangles.
        for (TPipeEx* hose : Hoses()) {
            hose->BuildMesh();
            const auto& v = hose->Triangles();
            const size_t n = v.size() / 3;
            if (n == 0) {
                continue;
            }
            Line("mesh {");
            Text("// ");
            Cp1252(HoseName(*hose));
            Eol();
            for (size_t t = 0; t < n && m_ok; ++t) {
                Text("triangle {");
                for (int k = 0; k < 3; ++k) {
                    PovVec(Pov(Point(v[3 * t + k])));
                    m_out += k < 2 ? ',' : '}';
                }
                Eol();
                Check();
            }
            const TColor3f c = ColorFromWin(hose->Colour());
            Text("pigment { colour red ");
            Num(c.R);
            Text(" green ");
            Num(c.G);
            Text(" blue ");
            Num(c.B);
            Line(" }");
            Line("}");
        }
    }

    // --- X3D ----------------------------------------------------------------------------------
    void X3DFaces(size_t triangles) {
        Line("    <IndexedFaceSet coordIndex=\"");
        for (size_t t = 0; t < triangles && m_ok; ++t) {
            Int(static_cast<long long>(3 * t));
            m_out += ' ';
            Int(static_cast<long long>(3 * t + 1));
            m_out += ' ';
            Int(static_cast<long long>(3 * t + 2));
            Line(" -1 ");
            Check();
        }
        Line("\">");
        Line("      <Coordinate point=\"");
    }
    void X3DFacesEnd() {
        Line("\"/>");
        Line("    </IndexedFaceSet>");
        Line("  </Shape>");
    }
    void X3D(bool flat) {
        Line("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
        Line(
            "<!DOCTYPE X3D PUBLIC \"ISO//Web3D//DTD X3D 3.2//EN\" "
            "\"http://www.web3d.org/specifications/x3d-3.2.dtd\">");
        Line("<X3D profile=\"Interchange\" version=\"3.2\"");
        Line("     xmlns:xsd=\"http://www.w3.org/2001/XMLSchema-instance\"");
        Line(
            "     xsd:noNamespaceSchemaLocation="
            "\"http://www.web3d.org/specifications/x3d-3.2.xsd\">");
        Line("<Scene>");
        TNames names;
        for (const TExportPart& part : m_parts) {
            Progress(part.Index);
            if (!part.Object->Visible()) {
                continue;
            }
            const std::string& name = part.Object->Name();
            TColor3f colour = part.Colour;
            if (ColorToWin(colour) == kBlackDefinitionGrey) {
                colour = ColorFromWin(0x080808);
            }
            Text("  <Transform DEF=\"");
            Text(names.Unique(name));
            Line("\"");
            Text("             translation=\"");
            Vec(part.Position, ' ');
            Line("\"");
            Line("             scale=\"1.000000 1.000000 1.000000\">");
            Text("  <Shape DEF=\"");
            Text(names.Unique("P" + (name.size() > 1 ? name.substr(1) : name)));
            Line("\">");
            Line("    <Appearance>");
            if (flat) {
                Text("      <Material emissiveColor='");
                RgbBlanks(colour);
                Text("' diffuseColor='");
            } else {
                Text("      <Material emissiveColor=\"0.0 0.0 0.0\" diffuseColor='");
            }
            RgbBlanks(colour);
            Line("'/>");
            Line("    </Appearance>");
            const TMesh* mesh = MeshOf(part);
            const size_t n = Triangles(mesh);
            X3DFaces(n);
            for (size_t t = 0; t < n && m_ok; ++t) {
                for (int k = 0; k < 3; ++k) {
                    Vec(part.Frame.TransformVector(mesh->Positions[3 * t + k]), ' ');
                    m_out += ' ';
                }
                Eol();
                Check();
            }
            X3DFacesEnd();
            Line("  </Transform>");
        }
        for (TPipeEx* hose : Hoses()) {
            hose->BuildMesh();
            const auto& v = hose->Triangles();
            Line("  <Shape>");
            Line("    <Appearance>");
            Text("      <Material emissiveColor=\"0.0 0.0 0.0\" diffuseColor='");
            RgbBlanks(ColorFromWin(hose->Colour()));
            Line("'/>");
            Line("    </Appearance>");
            const size_t n = v.size() / 3;
            X3DFaces(n);
            for (size_t t = 0; t < n && m_ok; ++t) {
                for (int k = 0; k < 3; ++k) {
                    const TPipeVertex& p = v[3 * t + k];
                    Vec({p.X, p.Y, p.Z}, ' ');
                    m_out += ' ';
                }
                Eol();
                Check();
            }
            X3DFacesEnd();
        }
        if (!flat) {
            X3DCamera();
        }
        Line("</Scene>");
        Line("</X3D>");
    }
    void X3DCamera() {
        const TSceneCamera* camera = m_scene.Camera();
        if (!camera) {
            return;
        }
        const TVector3f position = camera->AbsolutePosition();
        Line("  <Transform DEF=\"Point_TRANSFORM\"");
        Text("             translation=\"");
        Vec(position, ' ');
        Line("\"");
        Line("             scale=\"1.0 1.0 1.0\"");
        Line("             rotation=\"0.0 0.0 1.0 0.0\"");
        Line("             >");
        Line("    <PointLight DEF=\"LA_Camera_Light\"");
        Line("                ambientIntensity=\"0.0\"");
        Line("                color=\"1.0 1.0 1.0\"");
        Line("                intensity=\"1.0\"");
        Line("                radius=\"25.0\"");
        Line("                location=\"0.0 0.0 0.0\"");
        Line("                />");
        Line("  </Transform>");
        Line("  <Transform DEF=\"Camera_TRANSFORM\"");
        Text("             translation=\"");
        Vec(position, ' ');
        Line("\"");
        Line("             scale=\"1.0 1.0 1.0\"");
        const TAxisAngle r = ViewRotation(camera->LookAtPoint() - position, camera->AbsoluteUp());
        Text("             rotation=\"");
        Vec({r.X, r.Y, r.Z}, ' ');
        m_out += ' ';
        Num(r.Angle);
        Line("\"");
        Line("             >");
        Line("             <Viewpoint DEF=\"CA_Camera\"");
        Line("                        centerOfRotation=\"0 0 0\"");
        Line("                        position=\"0.0 0.0 0.0\"");
        Line("                        orientation=\"0.0 0.0 1.0 0.0\"");
        Line("                        fieldOfView=\"0.858\"");
        Line("             />");
        Line("  </Transform>");
    }

    TScene& m_scene;
    const TExportOptions& m_options;
    const std::function<bool(std::string_view)>& m_sink;
    std::string m_out;
    std::vector<TExportPart> m_parts;
    size_t m_childCount = 0;
    bool m_ok = true;
};

}  // namespace

std::string ExportExtension(TExportFormat format) {
    switch (format) {
        case TExportFormat::Raw:
            return ".raw";
        case TExportFormat::Vrml:
            return ".wrl";
        case TExportFormat::Pov:
            return ".pov";
        case TExportFormat::X3DShaded:
        case TExportFormat::X3DFlat:
            return ".x3d";
    }
    return {};
}

std::string ExportFileName(std::string_view chosen, TExportFormat format) {
    const std::string extension = ExportExtension(format);
    std::string name(chosen);
    if (UpperCase(name).find(UpperCase(extension)) == std::string::npos) {
        name += extension;
    }
    return name;
}

bool WriteExport(TScene& scene, TExportFormat format, const TExportOptions& options,
                 const std::function<bool(std::string_view)>& sink) {
    TWriter writer(scene, options, sink);
    return writer.Write(format);
}

TModelExportResult ExportScene(TScene& scene, TExportFormat format, const TExportOptions& options,
                               const std::filesystem::path& file) {
    TModelExportResult result;
    TAtomicFile out(file);
    if (!out.Failed()) {
        const bool written = WriteExport(scene, format, options,
                                         [&out](std::string_view s) { return out.Write(s); });
        result.Ok = written && out.Commit();
    }
    if (!result.Ok) {
        result.Error = out.Error();
    }
    return result;
}

TAxisAngle ViewRotation(const TVector3f& direction, const TVector3f& up) {
    TVector3f f = Normalized(direction);
    if (Length(f) < 0.5f) {
        f = {0, 0, -1};
    }
    // Up along the line of sight gives no vertical: take another, as the scene's frames do.
    TVector3f r = Cross(f, up);
    if (Length(r) < 1e-5f) {
        r = Cross(f, TVector3f{0, 0, 1});
        if (Length(r) < 1e-5f) {
            r = Cross(f, TVector3f{1, 0, 0});
        }
    }
    r = Normalized(r);
    const TVector3f u = Cross(r, f);
    // Columns: where X, Y and Z of the viewer go.
    const TVector3f z = -f;
    const double m00 = r.X, m01 = u.X, m02 = z.X;
    const double m10 = r.Y, m11 = u.Y, m12 = z.Y;
    const double m20 = r.Z, m21 = u.Z, m22 = z.Z;
    const double cosAngle = std::clamp((m00 + m11 + m22 - 1) / 2, -1.0, 1.0);
    const double angle = std::acos(cosAngle);
    TAxisAngle result;
    if (angle < 1e-6) {
        return result;  // no turn: any axis, (0, 1, 0) here
    }
    double x = m21 - m12, y = m02 - m20, zz = m10 - m01;
    double length = std::sqrt(x * x + y * y + zz * zz);
    if (length < 1e-6) {
        // Half a turn: the axis from the symmetric part.
        x = std::sqrt(std::max(0.0, (m00 + 1) / 2));
        y = std::sqrt(std::max(0.0, (m11 + 1) / 2));
        zz = std::sqrt(std::max(0.0, (m22 + 1) / 2));
        if (x >= y && x >= zz) {
            y = (m01 + m10) / (4 * x);
            zz = (m02 + m20) / (4 * x);
        } else if (y >= zz) {
            x = (m01 + m10) / (4 * y);
            zz = (m12 + m21) / (4 * y);
        } else {
            x = (m02 + m20) / (4 * zz);
            y = (m12 + m21) / (4 * zz);
        }
        length = std::sqrt(x * x + y * y + zz * zz);
    }
    result.X = static_cast<float>(x / length);
    result.Y = static_cast<float>(y / length);
    result.Z = static_cast<float>(zz / length);
    result.Angle = static_cast<float>(angle);
    return result;
}

}  // namespace kx
