// The program's own kit of parts: every part's definition, connector frames and meshes.
//
// The kit is built on a 15 mm grid. A block cell is 15 x 15 x 15 mm with a peg on top and a
// socket underneath; blocks line up along X, the peg of one end fits the socket of the next.
// Connector arrows point away from their part; a joined part turns so that its arrow points
// against the fixed one and both up vectors agree.
#include "kg_kit.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>

#include "kg_conn.h"

namespace kx::kitgen {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kCell = 15;
constexpr double kHalf = 7.5;

const TVector3f XP(1, 0, 0), XN(-1, 0, 0), YP(0, 1, 0), YN(0, -1, 0), ZP(0, 0, 1), ZN(0, 0, -1);

TVector3f V(double x, double y, double z) {
    return {static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
}

/// Geometry modelled along +Z from the origin, moved to pos with Z along dir, Y along up.
TGeo Place(const TGeo& g, const TVector3f& pos, const TVector3f& dir, const TVector3f& up) {
    return Transformed(g, TXform::Translate(pos) * TXform::Frame(dir, up));
}

/// Grid centres of n cells of 15 mm, centred on 0.
std::vector<double> Cells(int n) {
    std::vector<double> c;
    for (int i = 0; i < n; ++i) {
        c.push_back(-n * kHalf + kHalf + kCell * i);
    }
    return c;
}

/// A size as the names write it: "7,5" in German, "7.5" in English, whole numbers plain.
std::string Num(double v, bool german = true) {
    if (v == std::floor(v)) {
        return std::to_string(static_cast<long>(v));
    }
    std::string s = std::to_string(static_cast<long>(std::floor(v))) + (german ? "," : ".");
    return s + std::to_string(static_cast<long>(std::round((v - std::floor(v)) * 10)));
}

// --- Connection features ---------------------------------------------------------------------

TGeo PegGeo(bool hires) {
    if (!hires) {
        return Cylinder(2, -0.5, 3.5, 6);
    }
    return Lathe({{0, -0.5}, {2, -0.5}, {2, 2.4}, {2.4, 2.8}, {2.4, 3.1}, {2.0, 3.5}, {0, 3.5}},
                 16);
}

TGeo NippleGeo(bool hires) {
    if (!hires) {
        return Cylinder(1.5, -0.5, 6, 6);
    }
    return Lathe({{0, -0.5},
                  {2.5, -0.5},
                  {2.5, 1},
                  {1.5, 1},
                  {1.5, 3},
                  {2.1, 4},
                  {1.5, 5},
                  {1.5, 6},
                  {0, 6}},
                 16);
}

TGeo SleeveGeo(bool hires) {
    return Tube(1.6, 3, -0.5, 6, hires ? 16 : 6);
}

TGeo CableSocketGeo(bool hires) {
    return Tube(1.3, 2.4, -0.5, 1, hires ? 12 : 4);
}

// --- Part assembly ---------------------------------------------------------------------------

class TPart {
public:
    TPart(std::string number, std::string de, std::string en, int group) {
        m_p.Def.Number = number;
        m_p.Def.OrgNumber = number;
        m_p.Def.NameDe = de;
        m_p.Def.NameEng = en;
        m_p.Def.Name = de;
        m_p.Def.Group = static_cast<uint8_t>(group);
    }

    TPart& Color(int r, int g, int b) {
        m_p.Def.Red = static_cast<uint8_t>(r);
        m_p.Def.Green = static_cast<uint8_t>(g);
        m_p.Def.Blue = static_cast<uint8_t>(b);
        return *this;
    }
    TPart& Price(double p) {
        m_p.Def.Price = std::round(p * 100) / 100;  // whole cents
        return *this;
    }
    TPart& Alpha(double a) {
        m_p.Def.Alpha = a;
        return *this;
    }
    TPart& KineRot(int k) {
        m_p.Def.KineRot = k;
        return *this;
    }
    TPart& Teeth(int t) {
        m_p.Def.Teeth = t;
        return *this;
    }
    TPart& Hide() {
        m_p.Def.Hide = true;
        return *this;
    }
    TPart& NotPrintable() {
        m_p.Def.Printable = 0;
        return *this;
    }
    TPart& NoOutline() {
        m_p.Def.DisableShader = 1;
        return *this;
    }
    TPart& Rounded() {
        m_p.Rounded = true;
        return *this;
    }
    TPart& Badge(const std::string& text) {
        m_p.Badge = text;
        return *this;
    }
    TPart& Offset(double x, double y, double z) {
        m_p.Def.OffsetX = x;
        m_p.Def.OffsetY = y;
        m_p.Def.OffsetZ = z;
        return *this;
    }
    TPart& Texture(const std::string& file, int w, int h) {
        m_p.Def.Texture = file;
        m_p.Def.TxWidth = w;
        m_p.Def.TxHeight = h;
        m_p.TextureFiles.push_back(file);
        return *this;
    }

    /// A connector of the given system and side; the name gets a running number when the part
    /// has more than one of that name, so the connector lists can tell them apart.
    TPart& Conn(int kind, float thick, const std::string& de, const std::string& en,
                const TVector3f& pos, const TVector3f& dir, const TVector3f& up) {
        TConn c;
        c.Typ = kind;
        c.Thick = thick;
        c.NameDe = de;
        c.NameEng = en;
        c.Name = de;
        c.X = pos.X;
        c.Y = pos.Y;
        c.Z = pos.Z;
        const TConnAngles a = ConnectorAngles(dir, up);
        c.PF = static_cast<float>(a.PF);
        c.RF = static_cast<float>(a.RF);
        c.TF = static_cast<float>(a.TF);
        c.PN = static_cast<float>(a.PN);
        c.RN = static_cast<float>(a.RN);
        c.TN = static_cast<float>(a.TN);
        m_p.Def.Conns.push_back(c);
        m_p.Frames.push_back({pos, dir, up});
        return *this;
    }

    // Connector and feature in one: the peg, nipple or socket also goes into the meshes.
    TPart& Peg(const std::string& de, const std::string& en, const TVector3f& pos,
               const TVector3f& dir, const TVector3f& up) {
        Add(Place(PegGeo(true), pos, dir, up), Place(PegGeo(false), pos, dir, up));
        return Conn(MaleKind, gauge::Peg, de, en, pos, dir, up);
    }
    TPart& Socket(const std::string& de, const std::string& en, const TVector3f& pos,
                  const TVector3f& dir, const TVector3f& up) {
        return Conn(FemaleKind, gauge::Peg, de, en, pos, dir, up);
    }
    TPart& Nipple(const std::string& de, const std::string& en, const TVector3f& pos,
                  const TVector3f& dir, const TVector3f& up) {
        Add(Place(NippleGeo(true), pos, dir, up), Place(NippleGeo(false), pos, dir, up));
        return Conn(MaleKind, gauge::Hose, de, en, pos, dir, up);
    }
    TPart& Sleeve(const std::string& de, const std::string& en, const TVector3f& pos,
                  const TVector3f& dir, const TVector3f& up) {
        Add(Place(SleeveGeo(true), pos, dir, up), Place(SleeveGeo(false), pos, dir, up));
        return Conn(FemaleKind, gauge::Hose, de, en, pos, dir, up);
    }
    TPart& CableSocket(const std::string& de, const std::string& en, const TVector3f& pos,
                       const TVector3f& dir, const TVector3f& up) {
        Add(Place(CableSocketGeo(true), pos, dir, up), Place(CableSocketGeo(false), pos, dir, up));
        return Conn(FemaleKind, gauge::Cable, de, en, pos, dir, up);
    }

    /// Pegs on top and sockets underneath of every grid cell of a body whose top is at yTop
    /// and bottom at yBottom, over the cells xs by zs.
    TPart& GridTop(const std::vector<double>& xs, const std::vector<double>& zs, double yTop) {
        int n = 0;
        for (double x : xs) {
            for (double z : zs) {
                ++n;
                Peg("Zapfen oben " + std::to_string(n), "Top peg " + std::to_string(n),
                    V(x, yTop, z), YP, XP);
            }
        }
        return *this;
    }
    TPart& GridBottom(const std::vector<double>& xs, const std::vector<double>& zs,
                      double yBottom) {
        int n = 0;
        for (double x : xs) {
            for (double z : zs) {
                ++n;
                Socket("Nut unten " + std::to_string(n), "Bottom socket " + std::to_string(n),
                       V(x, yBottom, z), YN, XP);
            }
        }
        return *this;
    }

    TPart& Add(const TGeo& hires, const TGeo& lores) {
        m_p.Hires += hires;
        m_p.Lores += lores;
        return *this;
    }
    TPart& Add(const TGeo& both) { return Add(both, both); }

    TKitPart Take() { return std::move(m_p); }

private:
    TKitPart m_p;
};

// --- Bodies ----------------------------------------------------------------------------------

/// Box body whose bottom (and, with sides, the -X end and both sides) carries blind sockets
/// at the grid cells in the detailed mesh; a plain box in the coarse one.
void BlockBody(TPart& p, const TVector3f& lo, const TVector3f& hi, const std::vector<double>& xs,
               const std::vector<double>& zs, double round, int roundSegs, double holeDepth,
               bool sides = false) {
    std::vector<TFaceHoles> faces{{kFaceYN, xs, zs}};
    if (sides) {
        faces.push_back({kFaceXN, zs, {0}});
        faces.push_back({kFaceZP, xs, {0}});
        faces.push_back({kFaceZN, {0}, xs});
    }
    p.Add(HoledBox(lo, hi, round, roundSegs, faces, 2.1, holeDepth, 16), Box(lo, hi));
}

/// A grid block of nx x nz cells and the given height, with pegs, sockets and end/side
/// connectors.
void GridBlock(TPart& p, int nx, int nz, double height, double round, int roundSegs, bool sides) {
    const std::vector<double> xs = Cells(nx), zs = Cells(nz);
    const double hx = nx * kHalf, hz = nz * kHalf, hy = height / 2;
    BlockBody(p, V(-hx, -hy, -hz), V(hx, hy, hz), xs, zs, round, roundSegs, 4, sides);
    p.GridTop(xs, zs, hy).GridBottom(xs, zs, -hy);
    if (sides) {
        for (size_t j = 0; j < zs.size(); ++j) {
            const std::string k = std::to_string(j + 1);
            p.Peg("Stirnzapfen " + k, "End peg " + k, V(hx, 0, zs[j]), XP, YP);
            p.Socket("Stirnnut " + k, "End socket " + k, V(-hx, 0, zs[j]), XN, YP);
        }
        int n = 0;
        for (double x : xs) {
            ++n;
            const std::string k = std::to_string(n);
            p.Socket("Seitennut vorne " + k, "Front side socket " + k, V(x, 0, hz), ZP, YP);
            p.Socket("Seitennut hinten " + k, "Back side socket " + k, V(x, 0, -hz), ZN, YP);
        }
    }
}

/// Square outline of half size h, points at the given angles plus the corners, for
/// ExtrudeStarWithBore.
std::vector<TPt2> SquareOutline(double h, int segs) {
    std::vector<double> angles;
    for (int k = 0; k < segs; ++k) {
        angles.push_back(2 * kPi * k / segs);
    }
    for (int k = 0; k < 4; ++k) {
        angles.push_back(kPi / 4 + kPi / 2 * k);
    }
    std::sort(angles.begin(), angles.end());
    angles.erase(std::unique(angles.begin(), angles.end(),
                             [](double a, double b) { return std::abs(a - b) < 1e-9; }),
                 angles.end());
    std::vector<TPt2> o;
    for (double a : angles) {
        const double c = std::cos(a), s = std::sin(a);
        const double t = h / std::max(std::abs(c), std::abs(s));
        o.push_back({t * c, t * s});
    }
    return o;
}

TGeo AlongX(const TGeo& g) {
    return Transformed(g, TXform::RotateY(90));
}  // Z axis -> X
TGeo AlongY(const TGeo& g) {
    return Transformed(g, TXform::RotateX(-90));
}  // Z axis -> Y

// --- Part families ---------------------------------------------------------------------------

TKitPart BuildingBlock(const std::string& number, int cells, int group, bool old) {
    const std::string len = std::to_string(cells * 15);
    TPart p(number, "Baustein " + len + (old ? " alt" : ""),
            "Building block " + len + (old ? " (old)" : ""), group);
    if (old) {
        p.Color(150, 150, 150).Price(0.15 * cells);
    } else {
        p.Color(200, 30, 30).Price(0.12 + 0.1 * cells);
    }
    GridBlock(p, cells, 1, kCell, old ? 1.2 : 1.0, old ? 1 : 3, true);
    p.Badge(len);
    return p.Take();
}

TKitPart AngleBlock(const std::string& number, double degrees, int group, bool old) {
    const std::string a = Num(degrees);
    TPart p(number, "Winkelstein " + a + "°" + (old ? " alt" : ""),
            "Angle block " + Num(degrees, false) + "°" + (old ? " (old)" : ""), group);
    p.Badge(a + "°");
    if (old) {
        p.Color(150, 150, 150).Price(0.2);
    } else {
        p.Color(200, 30, 30).Price(0.18);
    }
    // A wedge turning about its lower left edge: the left face carries the socket, the face
    // turned by the angle carries the peg.
    const double t = degrees * kPi / 180;
    auto profile = [&](int arcSegs) {
        std::vector<TPt2> o{{0, -kHalf}};
        for (int i = 0; i <= arcSegs; ++i) {
            const double u = t - t * i / arcSegs;
            o.push_back({kCell * std::sin(u), -kHalf + kCell * std::cos(u)});
        }
        return o;
    };
    p.Add(ExtrudeConvex(profile(std::max(2, int(degrees) / 5)), -kHalf, kHalf),
          ExtrudeConvex(profile(2), -kHalf, kHalf));
    p.Socket("Nut", "Socket", V(0, 0, 0), XN, YP);
    const TVector3f dir = V(std::cos(t), -std::sin(t), 0), up = V(std::sin(t), std::cos(t), 0);
    p.Peg("Zapfen", "Peg", V(kHalf * std::sin(t), -kHalf + kHalf * std::cos(t), 0), dir, up);
    return p.Take();
}

void Bore(TPart& p, const TVector3f& pos, const std::string& suffix = "") {
    p.Conn(FemaleKind, gauge::Axle, "Bohrung" + suffix, "Bore" + suffix, pos, ZP, YP);
    p.Conn(FemaleKind, gauge::Axle, "Bohrung hinten" + suffix, "Bore back" + suffix, pos, ZN, YP);
}

TKitPart Axle(const std::string& number, double length, int group, bool old) {
    const std::string len = (length == std::floor(length)) ? std::to_string(int(length)) : "";
    TPart p(number, "Achse " + len + (old ? " alt" : ""), "Axle " + len + (old ? " (old)" : ""),
            group);
    p.Color(old ? 120 : 170, old ? 120 : 170, old ? 120 : 180).Price(0.1 + length / 300);
    p.KineRot(4).Rounded().Badge(len);
    const double h = length / 2;
    p.Add(Lathe({{0, -h}, {2.0, -h}, {2.5, -h + 0.5}, {2.5, h - 0.5}, {2.0, h}, {0, h}}, 16),
          Cylinder(2.5, -h, h, 8));
    int n = 0;
    for (double z = -h + kHalf; z <= h - kHalf + 1e-9; z += kCell) {
        ++n;
        p.Conn(MaleKind, gauge::Axle, "Achse " + std::to_string(n), "Axle " + std::to_string(n),
               V(0, 0, z), ZP, YP);
    }
    return p.Take();
}

TKitPart Gear(const std::string& number, int teeth, int group, bool old) {
    const std::string t = std::to_string(teeth);
    TPart p(number, "Zahnrad Z" + t + (old ? " alt" : ""), "Gear Z" + t + (old ? " (old)" : ""),
            group);
    p.Color(old ? 90 : 40, old ? 90 : 40, old ? 90 : 40).Price(0.3 + teeth * 0.02);
    p.Teeth(teeth).KineRot(4).Badge("Z" + t);
    const double m = 1.5;
    TGeo hires = ExtrudeStarWithBore(GearOutline(teeth, m, 3), 2.6, -3, 3);
    hires += Tube(2.6, 4.6, -5, 5, 16);
    // The coarse mesh keeps the hub and a disc as large as the toothed ring on average; a
    // small gear's few deep teeth are its outline, so it keeps them with plainer flanks.
    TGeo lores = teeth <= 15 ? ExtrudeStarWithBore(GearOutline(teeth, m, 2), 2.6, -3, 3)
                             : Tube(2.6, m * teeth / 2 + 0.3 * m, -3, 3, std::max(10, teeth / 2));
    lores += Tube(2.6, 4.6, -5, 5, 6);
    p.Add(hires, lores);
    Bore(p, V(0, 0, 0));
    return p.Take();
}

/// Rims and tyres pair by the tyre's outer diameter D: the tyre's inner diameter is 2D/3,
/// so the rim's radius is D/3.
float TyreGauge(int d) {
    switch (d) {
        case 30:
            return gauge::Tyre30;
        case 45:
            return gauge::Tyre45;
        case 75:
            return gauge::Tyre75;
        case 90:
            return gauge::Tyre90;
        default:
            return gauge::Tyre60;
    }
}

TKitPart Rim(const std::string& number, int d, int group, bool old) {
    const std::string n = std::to_string(d);
    TPart p(number, "Felge " + n + (old ? " alt" : ""), "Rim " + n + (old ? " (old)" : ""), group);
    p.Color(old ? 200 : 224, old ? 200 : 224, old ? 200 : 0).Price(0.4 + d * 0.01);
    p.KineRot(4).Rounded().Badge(n);
    const double rr = d / 3.0, w = 6;
    // The old rim is a solid disc; the current ones have a hub, a flanged ring and spokes.
    const std::vector<TPt2> hub{{2.6, -5}, {5, -5}, {5, 5}, {2.6, 5}};
    const std::vector<TPt2> ring{{rr - 2.5, -w}, {rr + 0.8, -w}, {rr + 0.8, -w + 1},
                                 {rr, -w + 1.5}, {rr, w - 1.5},  {rr + 0.8, w - 1},
                                 {rr + 0.8, w},  {rr - 2.5, w}};
    TGeo hires = Lathe(hub, 24, true) + Lathe(ring, 36, true);
    if (old) {
        hires += Tube(4.9, rr - 2.4, -1.5, 1.5, 36);
    } else {
        for (int i = 0; i < 5; ++i) {
            hires +=
                Transformed(Beam({4.6, 0}, {rr - 2.1, 0}, 3, 3), TXform::RotateZ(72.0 * i + 18));
        }
    }
    p.Add(hires, Tube(2.6, rr + 0.4, -w, w, 12));
    Bore(p, V(0, 0, 0));
    p.Conn(MaleKind, TyreGauge(d), "Reifensitz", "Tyre seat", V(0, 0, 0), ZP, YP);
    return p.Take();
}

TKitPart Tyre(const std::string& number, int d, int group, bool old) {
    const std::string n = std::to_string(d);
    TPart p(number, "Reifen " + n + (old ? " alt" : ""), "Tyre " + n + (old ? " (old)" : ""),
            group);
    // The older set's rubber is a shade lighter, so its tile differs from the current one.
    const uint8_t rubber = old ? 50 : 30;
    p.Color(rubber, rubber, rubber).Price(0.3 + d * 0.01).KineRot(4).Rounded().Badge(n);
    const double ro = d / 2.0, ri = d / 3.0, w = 6.5;
    // Section with shoulders and three tread grooves round the running surface.
    std::vector<TPt2> prof{{ri, -w + 1}, {ri + 1, -w}, {ro - 2, -w}, {ro - 0.5, -w + 1}};
    prof.push_back({ro, -w + 2.5});
    for (double gz : {-2.8, 0.0, 2.8}) {
        prof.push_back({ro, gz - 0.6});
        prof.push_back({ro - 1, gz - 0.5});
        prof.push_back({ro - 1, gz + 0.5});
        prof.push_back({ro, gz + 0.6});
    }
    prof.push_back({ro, w - 2.5});
    prof.push_back({ro - 0.5, w - 1});
    prof.push_back({ro - 2, w});
    prof.push_back({ri + 1, w});
    prof.push_back({ri, w - 1});
    const std::vector<TPt2> coarse{{ri, -w + 1},  {ri + 1, -w}, {ro - 2, -w}, {ro, -w + 2.5},
                                   {ro, w - 2.5}, {ro - 2, w},  {ri + 1, w},  {ri, w - 1}};
    p.Add(Lathe(prof, 36, true), Lathe(coarse, 12, true));
    p.Conn(FemaleKind, TyreGauge(d), "Felgensitz", "Rim seat", V(0, 0, 0), ZP, YP);
    return p.Take();
}

/// Plate of nx x nz cells, thickness 3, sockets underneath, clips on the +X edge and slots on
/// the -X edge.
void Plate(TPart& p, int nx, int nz, bool holes) {
    const std::vector<double> xs = Cells(nx), zs = Cells(nz);
    const double hx = nx * kHalf, hz = nz * kHalf;
    if (holes) {
        BlockBody(p, V(-hx, -1.5, -hz), V(hx, 1.5, hz), xs, zs, 0.8, 2, 2.5);
    } else {
        p.Add(RoundedBox(V(-hx, -1.5, -hz), V(hx, 1.5, hz), 0.8, 2),
              Box(V(-hx, -1.5, -hz), V(hx, 1.5, hz)));
    }
    p.GridBottom(xs, zs, -1.5);
    int n = 0;
    for (double z : zs) {
        ++n;
        const std::string k = std::to_string(n);
        p.Add(RoundedBox(V(hx - 0.5, -1, z - 4), V(hx + 2, 1, z + 4), 0.4, 1),
              Box(V(hx - 0.5, -1, z - 4), V(hx + 2, 1, z + 4)));
        p.Conn(MaleKind, gauge::Clip, "Clip " + k, "Clip " + k, V(hx, 0, z), XP, YP);
        p.Conn(FemaleKind, gauge::Clip, "Clipnut " + k, "Clip slot " + k, V(-hx, 0, z), XN, YP);
    }
}

TKitPart BuildingPlate(const std::string& number, int nx, int nz, int group, bool old) {
    const std::string size =
        std::to_string(std::min(nx, nz) * 15) + "x" + std::to_string(std::max(nx, nz) * 15);
    TPart p(number, std::string(old ? "Platte " : "Bauplatte ") + size + (old ? " alt" : ""),
            std::string(old ? "Plate " : "Building plate ") + size + (old ? " (old)" : ""), group);
    if (old) {
        p.Color(150, 150, 150);
    } else {
        p.Color(200, 30, 30);
    }
    p.Price(0.1 + 0.05 * nx * nz).Badge(size);
    Plate(p, nx, nz, true);
    return p.Take();
}

/// Lattice girder along X with tongues at both ends.
TKitPart Girder(const std::string& number, double length, int group, bool old) {
    const std::string n = std::to_string(int(length));
    TPart p(number, "Statikträger " + n + (old ? " alt" : ""),
            "Statics girder " + n + (old ? " (old)" : ""), group);
    p.Color(224, 224, 0).Price(0.2 + length / 200).Badge(n);
    if (old) {
        p.Color(200, 200, 40);
    }
    const double h = length / 2;
    TGeo hires, lores;
    hires += RoundedBox(V(-h, 5, -2), V(h, 7.5, 2), 0.5, 1);
    hires += RoundedBox(V(-h, -7.5, -2), V(h, -5, 2), 0.5, 1);
    hires += Box(V(-h, -5, -2), V(-h + 2, 5, 2));
    hires += Box(V(h - 2, -5, -2), V(h, 5, 2));
    const int bays = std::max(1, static_cast<int>(std::round(length / kCell)));
    const double bay = (length - 4) / bays;
    for (int i = 0; i < bays; ++i) {
        const double x0 = -h + 2 + bay * i, x1 = x0 + bay;
        if (i % 2 == 0) {
            hires += Beam({x0, -5}, {x1, 5}, 2, 3);
        } else {
            hires += Beam({x0, 5}, {x1, -5}, 2, 3);
        }
    }
    lores += Box(V(-h, -7.5, -2), V(h, 7.5, 2));
    for (int s : {1, -1}) {
        const TGeo tongue = RoundedBox(V(0, -3, -1.2), V(4, 3, 1.2), 0.4, 1);
        const TXform xf =
            s > 0 ? TXform::Translate(h, 0, 0) : TXform::Translate(-h, 0, 0) * TXform::RotateY(180);
        hires += Transformed(tongue, xf);
        lores += Transformed(Box(V(0, -3, -1.2), V(4, 3, 1.2)), xf);
    }
    p.Add(hires, lores);
    p.Conn(MaleKind, gauge::Statics, "Trägerende rechts", "Girder end right", V(h, 0, 0), XP, YP);
    p.Conn(MaleKind, gauge::Statics, "Trägerende links", "Girder end left", V(-h, 0, 0), XN, YP);
    return p.Take();
}

TKitPart Strut(const std::string& number, double length, int group, bool old) {
    const std::string n = std::to_string(int(length));
    TPart p(number, "Statikstrebe " + n + (old ? " alt" : ""),
            "Statics strut " + n + (old ? " (old)" : ""), group);
    p.Color(old ? 200 : 224, old ? 200 : 224, old ? 40 : 0).Price(0.1 + length / 400).Badge(n);
    const double h = length / 2;
    TGeo hires = RoundedBox(V(-h, -3, -1), V(h, 3, 1), 0.6, 2);
    TGeo lores = Box(V(-h, -3, -1), V(h, 3, 1));
    for (int s : {1, -1}) {
        const TXform xf =
            s > 0 ? TXform::Translate(h, 0, 0) : TXform::Translate(-h, 0, 0) * TXform::RotateY(180);
        hires += Transformed(RoundedBox(V(0, -3, -1.2), V(4, 3, 1.2), 0.4, 1), xf);
        lores += Transformed(Box(V(0, -3, -1.2), V(4, 3, 1.2)), xf);
    }
    p.Add(hires, lores);
    p.Conn(MaleKind, gauge::Statics, "Strebenende rechts", "Strut end right", V(h, 0, 0), XP, YP);
    p.Conn(MaleKind, gauge::Statics, "Strebenende links", "Strut end left", V(-h, 0, 0), XN, YP);
    return p.Take();
}

/// Figure standing on its feet socket; its mesh is modelled from the soles up, the offset
/// brings the middle of the body to the part's origin.
TKitPart Figure(const std::string& number, const std::string& de, const std::string& en, int group,
                int r, int g, int b, bool skirt) {
    TPart p(number, de, en, group);
    p.Color(r, g, b).Price(1.95).Rounded().Offset(0, -30, 0);
    TGeo hires, lores;
    if (skirt) {
        hires += Transformed(Cone(9, 5.5, 0, 24, 20), TXform::RotateX(-90));
        lores += Transformed(Cone(9, 5.5, 0, 24, 6), TXform::RotateX(-90));
    } else {
        for (double x : {-3.5, 3.5}) {
            hires += RoundedBox(V(x - 3, 0, -3), V(x + 3, 24, 3), 1, 2);
            lores += Box(V(x - 3, 0, -3), V(x + 3, 24, 3));
        }
    }
    hires += RoundedBox(V(-7, 24, -4), V(7, 43, 4), 2, 3);
    lores += Box(V(-7, 24, -4), V(7, 43, 4));
    for (double x : {-9.5, 9.5}) {
        hires += RoundedBox(V(x - 2.5, 26, -2.5), V(x + 2.5, 42, 2.5), 1.2, 2);
        lores += Box(V(x - 2.5, 26, -2.5), V(x + 2.5, 42, 2.5));
    }
    hires +=
        Transformed(Cylinder(2.5, 0, 4, 12), TXform::Translate(0, 42, 0) * TXform::RotateX(-90));
    hires += Transformed(Sphere(6.5, 20), TXform::Translate(0, 51.5, 0));
    lores += Transformed(Sphere(6.5, 6), TXform::Translate(0, 51.5, 0));
    // Modelled with the soles at y = 0: shift so the drawn mesh (after the offset) is centred.
    const TXform shift = TXform::Translate(0, -30, 0);
    p.Add(Transformed(hires, shift), Transformed(lores, shift));
    p.Socket("Fuß", "Feet", V(0, -30, 0), YN, XP);
    p.Conn(FemaleKind, gauge::Axle, "Hand rechts", "Right hand", V(-9.5, -4, 0), ZP, YP);
    p.Conn(FemaleKind, gauge::Axle, "Hand links", "Left hand", V(9.5, -4, 0), ZP, YP);
    return p.Take();
}

TKitPart Motor(const std::string& number, const std::string& de, const std::string& en, int group,
               int nx, int nz, int kineRot, bool shaftAlongX) {
    TPart p(number, de, en, group);
    p.Color(60, 60, 65).Price(nx >= 3 ? 12.9 : 8.5).KineRot(kineRot);
    const std::vector<double> xs = Cells(nx), zs = Cells(nz);
    const double hx = nx * kHalf, hz = nz * kHalf;
    BlockBody(p, V(-hx, -kHalf, -hz), V(hx, kHalf, hz), xs, zs, 1.5, 3, 4);
    p.GridBottom(xs, zs, -kHalf);
    TVector3f shaftPos = shaftAlongX ? V(hx, 0, 0) : V(xs.back(), 0, hz);
    const TVector3f dir = shaftAlongX ? XP : ZP;
    const TGeo shaft = Lathe(
        {{0, -0.5}, {4.5, -0.5}, {4.5, 1.5}, {2.5, 1.5}, {2.5, 14}, {2, 14.5}, {0, 14.5}}, 16);
    p.Add(Place(shaft, shaftPos, dir, YP), Place(Cylinder(2.5, -0.5, 14.5, 6), shaftPos, dir, YP));
    p.Conn(MaleKind, gauge::Axle, "Abtriebswelle", "Output shaft", shaftPos + dir * 7.5f, dir, YP);
    p.CableSocket("Buchse 1", "Socket 1", V(-hx, 0, -3.5), XN, YP);
    p.CableSocket("Buchse 2", "Socket 2", V(-hx, 0, 3.5), XN, YP);
    return p.Take();
}

TKitPart CablePlug(const std::string& number, const std::string& de, const std::string& en, int r,
                   int g, int b) {
    TPart p(number, de, en, 5);
    p.Color(r, g, b).Price(0.25).Rounded();
    // The pin points along +Z into its socket; the cable leaves backwards along -Z.
    p.Add(
        Lathe({{0, -20},
               {1.4, -20},
               {1.4, -14},
               {2.6, -13},
               {3.2, -11},
               {3.2, -2},
               {3.5, -1},
               {3.5, 0},
               {1.25, 0},
               {1.25, 5},
               {0.8, 6},
               {0, 6}},
              20),
        Lathe(
            {{0, -20}, {1.4, -20}, {1.4, -14}, {3.5, -12}, {3.5, 0}, {1.25, 0}, {1.25, 6}, {0, 6}},
            8));
    p.Conn(MaleKind, gauge::Cable, "Stecker", "Plug", V(0, 0, 0), ZP, YP);
    return p.Take();
}

TKitPart CollisionSphere(const std::string& number, double diameter) {
    const std::string n = std::to_string(int(diameter));
    TPart p(number, "Kollisionskugel " + n, "Collision sphere " + n, 19);
    p.Color(255, 120, 0).Alpha(0.35).NotPrintable().NoOutline().Rounded().Badge(n);
    const double r = diameter / 2;
    p.Add(Sphere(r, 24), Sphere(r, 8));
    p.Socket("Nut unten", "Bottom socket", V(0, -r, 0), YN, XP);
    p.Conn(FemaleKind, gauge::Axle, "Mitte", "Centre", V(0, 0, 0), ZP, YP);
    return p.Take();
}

TKitPart Rail(const std::string& number, bool curve) {
    TPart p(number, curve ? "Schiene Kurve 90°" : "Schiene gerade 90",
            curve ? "Rail curve 90°" : "Rail straight 90", 20);
    p.Color(120, 170, 230).Price(curve ? 2.4 : 1.9);
    // U-shaped channel: floor at y = 0, walls up to y = 6, 14 mm wide.
    if (!curve) {
        TGeo g;
        g += Box(V(-45, -4, -7), V(45, 0, 7));
        g += Box(V(-45, 0, -7), V(45, 6, -5));
        g += Box(V(-45, 0, 5), V(45, 6, 7));
        p.Add(g);
        p.Conn(MaleKind, gauge::Rail, "Schienenende", "Rail end", V(45, 0, 0), XP, YP);
        p.Conn(FemaleKind, gauge::Rail, "Schienenanfang", "Rail start", V(-45, 0, 0), XN, YP);
        p.Conn(MaleKind, gauge::Ball, "Kugel", "Ball", V(0, 0, 0), YP, XP);
        int n = 0;
        for (double x : {-30.0, 0.0, 30.0}) {
            ++n;
            p.Socket("Nut unten " + std::to_string(n), "Bottom socket " + std::to_string(n),
                     V(x, -4, 0), YN, XP);
        }
    } else {
        // Quarter circle of radius 45 about (0, 0, 45): starts at the origin heading +X and
        // ends at (45, 0, 45) heading +Z.
        const double R = 45;
        auto sweep = [&](int segs) {
            TGeo g;
            g += ArcSweep(R - 7, R + 7, -4, 0, -90, 0, segs);
            g += ArcSweep(R - 7, R - 5, 0, 6, -90, 0, segs);
            g += ArcSweep(R + 5, R + 7, 0, 6, -90, 0, segs);
            return Transformed(g, TXform::Translate(0, 0, R));
        };
        p.Add(sweep(24), sweep(4));
        p.Conn(FemaleKind, gauge::Rail, "Schienenanfang", "Rail start", V(0, 0, 0), XN, YP);
        p.Conn(MaleKind, gauge::Rail, "Schienenende", "Rail end", V(R, 0, R), ZP, YP);
        const double c = std::cos(kPi / 4), s = std::sin(kPi / 4);
        p.Conn(MaleKind, gauge::Ball, "Kugel", "Ball", V(R * s, 0, R - R * c), YP, XP);
        p.Socket("Nut unten", "Bottom socket", V(R * s, -4, R - R * c), YN, XP);
    }
    return p.Take();
}

/// The next free number of a page's range.
std::string NextNumber(int& next) {
    return std::to_string(next++);
}

// --- Further sizes and kinds of the families ---------------------------------------------------

/// A block shorter than a grid cell: a spacer with a peg on one end, a socket on the other,
/// a peg on top and a socket underneath.
TKitPart ThinBlock(const std::string& number, double length) {
    TPart p(number, "Baustein " + Num(length), "Building block " + Num(length, false), 0);
    p.Color(200, 30, 30).Price(0.08).Badge(Num(length));
    const double h = length / 2;
    p.Add(RoundedBox(V(-h, -kHalf, -kHalf), V(h, kHalf, kHalf), 0.6, 2),
          Box(V(-h, -kHalf, -kHalf), V(h, kHalf, kHalf)));
    p.GridTop({0}, {0}, kHalf).GridBottom({0}, {0}, -kHalf);
    p.Peg("Stirnzapfen", "End peg", V(h, 0, 0), XP, YP);
    p.Socket("Stirnnut", "End socket", V(-h, 0, 0), XN, YP);
    return p.Take();
}

/// Half the height of a block, for fine steps in a wall.
TKitPart FlatBlock(const std::string& number, int cells) {
    const std::string len = std::to_string(cells * 15);
    TPart p(number, "Flachbaustein " + len, "Flat block " + len, 0);
    p.Color(200, 30, 30).Price(0.08 + 0.07 * cells).Badge(len);
    GridBlock(p, cells, 1, kHalf, 1.0, 3, false);
    p.Peg("Stirnzapfen", "End peg", V(cells * kHalf, 0, 0), XP, YP);
    p.Socket("Stirnnut", "End socket", V(-cells * kHalf, 0, 0), XN, YP);
    return p.Take();
}

/// A row of cells each drilled through from front to back for an axle.
TKitPart BoredBlock(const std::string& number, int cells) {
    const std::string len = std::to_string(cells * 15);
    TPart p(number, "Baustein " + len + " mit Bohrung", "Building block " + len + " with bore", 0);
    p.Color(200, 30, 30).Price(0.15 + 0.1 * cells).Badge(len);
    const std::vector<double> xs = Cells(cells);
    for (double x : xs) {
        const TXform at = TXform::Translate(x, 0, 0);
        p.Add(Transformed(ExtrudeStarWithBore(SquareOutline(kHalf, 24), 2.6, -kHalf, kHalf), at),
              Transformed(ExtrudeStarWithBore(SquareOutline(kHalf, 4), 2.6, -kHalf, kHalf), at));
    }
    p.GridTop(xs, {0}, kHalf).GridBottom(xs, {0}, -kHalf);
    for (size_t i = 0; i < xs.size(); ++i) {
        Bore(p, V(xs[i], 0, 0), " " + std::to_string(i + 1));
    }
    return p.Take();
}

/// A block whose front (and with two, also its back) carries pegs instead of sockets.
TKitPart PegBlock(const std::string& number, int cells, int pegs) {
    const std::string len = std::to_string(cells * 15);
    TPart p(number, "Baustein " + len + (pegs == 1 ? " mit Zapfen" : " mit 2 Zapfen"),
            "Building block " + len + (pegs == 1 ? " with peg" : " with two pegs"), 0);
    // The second peg faces away from the icon's eye: the badge tells the two apart.
    p.Color(200, 30, 30).Price(0.16 + 0.1 * cells).Badge(pegs == 1 ? len : "2x" + len);
    const std::vector<double> xs = Cells(cells);
    const double hx = cells * kHalf;
    BlockBody(p, V(-hx, -kHalf, -kHalf), V(hx, kHalf, kHalf), xs, {0}, 1.0, 3, 4);
    p.GridTop(xs, {0}, kHalf).GridBottom(xs, {0}, -kHalf);
    p.Peg("Stirnzapfen", "End peg", V(hx, 0, 0), XP, YP);
    p.Socket("Stirnnut", "End socket", V(-hx, 0, 0), XN, YP);
    int n = 0;
    for (double x : xs) {
        const std::string k = std::to_string(++n);
        p.Peg("Seitenzapfen vorne " + k, "Front side peg " + k, V(x, 0, kHalf), ZP, YP);
        if (pegs == 2) {
            p.Peg("Seitenzapfen hinten " + k, "Back side peg " + k, V(x, 0, -kHalf), ZN, YP);
        } else {
            p.Socket("Seitennut hinten " + k, "Back side socket " + k, V(x, 0, -kHalf), ZN, YP);
        }
    }
    return p.Take();
}

/// A round block standing on its socket: a column for railings and masts.
TKitPart RoundBlock(const std::string& number, int cells) {
    const std::string len = std::to_string(cells * 15);
    TPart p(number, "Rundbaustein " + len, "Round block " + len, 0);
    p.Color(200, 30, 30).Price(0.12 + 0.1 * cells).Rounded().Badge(len);
    const double h = cells * kHalf;
    const std::vector<TPt2> prof{{0, -h},        {6.5, -h}, {kHalf, -h + 1},
                                 {kHalf, h - 1}, {6.5, h},  {0, h}};
    p.Add(AlongY(Lathe(prof, 24)), AlongY(Lathe(prof, 8)));
    p.GridTop({0}, {0}, h).GridBottom({0}, {0}, -h);
    return p.Take();
}

/// A bar with a peg at each end: joins two sockets that face each other.
TKitPart ConnectorPiece(const std::string& number, int length) {
    const std::string len = std::to_string(length);
    TPart p(number, "Verbindungsstück " + len, "Connector " + len, 0);
    p.Color(200, 30, 30).Price(0.05 + length / 600.0).Badge(len);
    const double h = length / 2.0;
    p.Add(RoundedBox(V(-h, -2.5, -2.5), V(h, 2.5, 2.5), 0.6, 2),
          Box(V(-h, -2.5, -2.5), V(h, 2.5, 2.5)));
    p.Peg("Zapfen rechts", "Right peg", V(h, 0, 0), XP, YP);
    p.Peg("Zapfen links", "Left peg", V(-h, 0, 0), XN, YP);
    return p.Take();
}

/// Two girder slots at the given angle to each other's line: girders meet at that angle.
TKitPart AngleJoint(const std::string& number, int degrees) {
    const std::string a = std::to_string(degrees);
    TPart p(number, "Winkelknoten " + a + "°", "Angle joint " + a + "°", 1);
    p.Color(224, 224, 0).Price(0.3).Badge(a + "°");
    // Twelve faces, one every 30 degrees, so both slots sit on a face.
    std::vector<TPt2> o;
    const int n = 12;
    for (int i = 0; i < n; ++i) {
        const double t = kPi / n + 2 * kPi / n * i;
        o.push_back(
            {kHalf / std::cos(kPi / n) * std::cos(t), kHalf / std::cos(kPi / n) * std::sin(t)});
    }
    p.Add(ExtrudeConvex(o, -kHalf, kHalf));
    p.Conn(FemaleKind, gauge::Statics, "Schlitz 1", "Slot 1", V(-kHalf, 0, 0), XN, YP);
    const double t = degrees * kPi / 180, c = std::cos(t), s = std::sin(t);
    p.Conn(FemaleKind, gauge::Statics, "Schlitz 2", "Slot 2", V(kHalf * c, kHalf * s, 0),
           V(c, s, 0), V(-s, c, 0));
    p.Socket("Nut hinten", "Back socket", V(0, 0, -kHalf), ZN, YP);
    return p.Take();
}

/// Flat strip with a peg hole in every grid cell; a block's peg goes through from either side.
TKitPart PerforatedStrip(const std::string& number, int cells, int rows) {
    const std::string len = std::to_string(cells * 15);
    const std::string size = rows == 1 ? len : std::to_string(rows * 15) + "x" + len;
    TPart p(number, (rows == 1 ? "Lochstreifen " : "Lochplatte ") + size,
            (rows == 1 ? "Perforated strip " : "Perforated plate ") + size, 1);
    p.Color(224, 224, 0).Price(0.05 + 0.04 * cells * rows).Badge(size);
    const std::vector<double> xs = Cells(cells), zs = Cells(rows);
    const double hx = cells * kHalf, hz = rows * kHalf;
    p.Add(HoledBox(V(-hx, -1.5, -hz), V(hx, 1.5, hz), 0.6, 2, {{kFaceYP, zs, xs}}, 2.1, 2.5, 16),
          Box(V(-hx, -1.5, -hz), V(hx, 1.5, hz)));
    int n = 0;
    for (double x : xs) {
        for (double z : zs) {
            const std::string k = std::to_string(++n);
            p.Conn(FemaleKind, gauge::Peg, "Loch " + k, "Hole " + k, V(x, 1.5, z), YP, XP);
            p.Conn(FemaleKind, gauge::Peg, "Loch unten " + k, "Hole below " + k, V(x, -1.5, z), YN,
                   XP);
        }
    }
    return p.Take();
}

/// L-shaped profile with girder ends and sockets under its floor.
TKitPart AngleGirder(const std::string& number, int length) {
    const std::string n = std::to_string(length);
    TPart p(number, "Winkelträger " + n, "Angle girder " + n, 1);
    p.Color(160, 160, 170).Price(0.2 + length / 250.0).Badge(n);
    const double h = length / 2.0;
    TGeo hires = RoundedBox(V(-h, -kHalf, -kHalf), V(h, -kHalf + 2.5, kHalf), 0.5, 1) +
                 RoundedBox(V(-h, -kHalf + 2, -kHalf), V(h, kHalf, -kHalf + 2.5), 0.5, 1);
    TGeo lores = Box(V(-h, -kHalf, -kHalf), V(h, -kHalf + 2.5, kHalf)) +
                 Box(V(-h, -kHalf + 2, -kHalf), V(h, kHalf, -kHalf + 2.5));
    p.Add(hires, lores);
    const std::vector<double> xs = Cells(length / 15);
    p.GridBottom(xs, {0}, -kHalf);
    p.Conn(MaleKind, gauge::Statics, "Trägerende rechts", "Girder end right", V(h, 0, 0), XP, YP);
    p.Conn(MaleKind, gauge::Statics, "Trägerende links", "Girder end left", V(-h, 0, 0), XN, YP);
    return p.Take();
}

/// A girder bent on a 60 mm radius in the horizontal plane: it starts at the origin heading
/// along +X and turns towards +Z by the given angle.
TKitPart CurvedGirder(const std::string& number, int degrees) {
    const std::string a = std::to_string(degrees);
    TPart p(number, "Bogenträger " + a + "°", "Curved girder " + a + "°", 1);
    p.Color(224, 224, 0).Price(0.4 + degrees / 100.0).Badge(a + "°");
    const double r = 60;
    auto sweep = [&](int segs) {
        TGeo g = ArcSweep(r - 2, r + 2, -kHalf, kHalf, -90, -90 + degrees, segs);
        g += ArcSweep(r - 4, r + 4, 5, kHalf, -90, -90 + degrees, segs);
        g += ArcSweep(r - 4, r + 4, -kHalf, -5, -90, -90 + degrees, segs);
        return Transformed(g, TXform::Translate(0, 0, r));
    };
    p.Add(sweep(std::max(4, degrees / 3)), sweep(std::max(3, degrees / 10)));
    const double e = (-90 + degrees) * kPi / 180;
    p.Conn(MaleKind, gauge::Statics, "Trägerende links", "Girder end left", V(0, 0, 0), XN, YP);
    p.Conn(MaleKind, gauge::Statics, "Trägerende rechts", "Girder end right",
           V(r * std::cos(e), 0, r + r * std::sin(e)), V(-std::sin(e), 0, std::cos(e)), YP);
    return p.Take();
}

TKitPart DiagonalStrut(const std::string& number, int square) {
    TKitPart part = Strut(number, square * std::sqrt(2.0), 1, false);
    const std::string s = std::to_string(square) + "x" + std::to_string(square);
    part.Def.NameDe = part.Def.Name = "Diagonalstrebe " + s;
    part.Def.NameEng = "Diagonal strut " + s;
    part.Badge = s;
    return part;
}

TKitPart CompleteWheel(const std::string& number, int d, const std::string& tyre) {
    TKitPart w = Rim(number, d, 2, false);
    w.Def.NameDe = w.Def.Name = "Rad " + std::to_string(d) + " komplett";
    w.Def.NameEng = "Wheel " + std::to_string(d) + " complete";
    w.Def.Price = std::round((0.9 + d * 0.017) * 100) / 100;
    w.Def.Children = {tyre, "40206"};
    w.Def.Conns.pop_back();
    w.Frames.pop_back();
    return w;
}

/// A grooved wheel for a cord.
TKitPart Pulley(const std::string& number, int d) {
    const std::string n = std::to_string(d);
    TPart p(number, "Seilrolle " + n, "Pulley " + n, 2);
    p.Color(200, 30, 30).Price(0.25 + d * 0.01).KineRot(4).Rounded().Badge(n);
    const double r = d / 2.0;
    const std::vector<TPt2> prof{{2.6, -4}, {r, -4}, {r, -2.5}, {r - 3, 0},
                                 {r, 2.5},  {r, 4},  {2.6, 4}};
    p.Add(Lathe(prof, std::max(16, d), true), Lathe(prof, 8, true));
    Bore(p, V(0, 0, 0));
    return p.Take();
}

/// Axle coupling of a given length: two bores, one at each end.
TKitPart AxleCoupling(const std::string& number, double length, const std::string& de,
                      const std::string& en) {
    TPart p(number, de, en, 3);
    p.Color(170, 170, 180).Price(0.3 + length / 200).KineRot(4).Rounded().Badge(Num(length));
    const double h = length / 2;
    const std::vector<TPt2> prof{{2.6, -h},    {4.5, -h}, {5, -h + 0.5},
                                 {5, h - 0.5}, {4.5, h},  {2.6, h}};
    p.Add(Lathe(prof, 20, true), Lathe(prof, 6, true));
    Bore(p, V(0, 0, -h), " 1");
    Bore(p, V(0, 0, h), " 2");
    return p.Take();
}

/// A short sleeve clamped on an axle: holds parts in place along it.
TKitPart ClampBush(const std::string& number, double length) {
    TPart p(number, "Klemmbuchse " + Num(length), "Clamp bush " + Num(length, false), 3);
    p.Color(200, 30, 30).Price(0.08 + length / 200).KineRot(4).Rounded().Badge(Num(length));
    const double h = length / 2;
    const std::vector<TPt2> prof{{2.6, -h}, {6, -h}, {6, -h + 1.5}, {4, -h + 2}, {4, h}, {2.6, h}};
    p.Add(Lathe(prof, 20, true), Lathe(prof, 6, true));
    Bore(p, V(0, 0, 0));
    return p.Take();
}

/// Two axle ends joined through a cross, so an axle can drive another at an angle.
TKitPart CardanJoint(const std::string& number) {
    TPart p(number, "Kardangelenk", "Cardan joint", 3);
    p.Color(170, 170, 180).Price(1.2).KineRot(4).Rounded();
    TGeo hires, lores;
    for (double z : {-15.0, 7.0}) {
        hires += Tube(2.6, 4.5, z, z + 8, 20);
        lores += Tube(2.6, 4.5, z, z + 8, 6);
    }
    const TGeo forks = Box(V(2.5, -2, -7.5), V(4.5, 2, 2)) + Box(V(-4.5, -2, -7.5), V(-2.5, 2, 2)) +
                       Box(V(-2, 2.5, -2), V(2, 4.5, 7.5)) + Box(V(-2, -4.5, -2), V(2, -2.5, 7.5));
    hires += forks + Sphere(2.8, 12);
    lores += forks + Box(V(-2.5, -2.5, -2.5), V(2.5, 2.5, 2.5));
    p.Add(hires, lores);
    Bore(p, V(0, 0, -11), " 1");
    Bore(p, V(0, 0, 11), " 2");
    return p.Take();
}

TKitPart BasePlate(const std::string& number, int nx, int nz) {
    const std::string size = std::to_string(nx * 15) + "x" + std::to_string(nz * 15);
    TPart p(number, "Grundplatte " + size, "Base plate " + size, 4);
    p.Color(70, 70, 75).Price(0.5 + 0.055 * nx * nz).Badge(size);
    const std::vector<double> xs = Cells(nx), zs = Cells(nz);
    const double hx = nx * kHalf, hz = nz * kHalf;
    p.Add(RoundedBox(V(-hx, -kHalf, -hz), V(hx, 0, hz), 1.5, 2),
          Box(V(-hx, -kHalf, -hz), V(hx, 0, hz)));
    p.GridTop(xs, zs, 0);
    return p.Take();
}

TKitPart WindowPlate(const std::string& number, int nx, int nz) {
    const std::string size = std::to_string(nz * 15) + "x" + std::to_string(nx * 15);
    TPart p(number, "Fensterplatte " + size, "Window plate " + size, 4);
    p.Color(170, 210, 255).Alpha(0.4).Price(0.3 + 0.08 * nx * nz).Badge(size);
    Plate(p, nx, nz, false);
    return p.Take();
}

TKitPart LampCap(const std::string& number, const std::string& de, const std::string& en, int r,
                 int g, int b) {
    TPart p(number, "Leuchtkappe " + de, "Lamp cap " + en, 5);
    p.Color(r, g, b).Alpha(0.5).Price(0.3).Rounded();
    std::vector<TPt2> prof{{0, 0}, {6, 0}};
    for (int i = 0; i <= 8; ++i) {
        const double t = kPi / 2 * i / 8;
        prof.push_back({6 * std::cos(t), 6 + 6 * std::sin(t)});
    }
    prof.back().X = 0;
    p.Add(AlongY(Lathe(prof, 24)), AlongY(Lathe(prof, 8)));
    p.Conn(FemaleKind, gauge::LampCap, "Sitz", "Seat", V(0, 0, 0), YN, XP);
    return p.Take();
}

/// An electric block of cells x 1 on a socket row, with two cable sockets at its -X end.
TPart ElectricBlock(const std::string& number, const std::string& de, const std::string& en,
                    int cells, double price) {
    TPart p(number, de, en, 5);
    p.Color(80, 80, 85).Price(price);
    const std::vector<double> xs = Cells(cells);
    const double hx = cells * kHalf;
    BlockBody(p, V(-hx, -kHalf, -kHalf), V(hx, kHalf, kHalf), xs, {0}, 1, 3, 4);
    p.GridBottom(xs, {0}, -kHalf);
    p.CableSocket("Buchse 1", "Socket 1", V(-hx, 0, -3.5), XN, YP);
    p.CableSocket("Buchse 2", "Socket 2", V(-hx, 0, 3.5), XN, YP);
    return p;
}

/// Pneumatic cylinder: a body of the given length on two or more cells, its piston rod out of
/// the +X end.
TKitPart PneumaticCylinder(const std::string& number, int body) {
    const std::string n = std::to_string(body);
    TPart p(number, "Pneumatikzylinder " + n, "Pneumatic cylinder " + n, 6);
    p.Color(29, 141, 255).Price(5.5 + body / 20.0).Rounded().Badge(n);
    const double b = body / 2.0;
    const std::vector<TPt2> prof{{0, -b},     {6, -b},    {kHalf, -b + 1.5}, {kHalf, b - 1.5},
                                 {6, b},      {2, b},     {2, b + 13.5},     {3, b + 13.5},
                                 {3, b + 15}, {0, b + 15}};
    p.Add(AlongX(Lathe(prof, 24)), AlongX(Lathe(prof, 8)));
    p.Add(Box(V(-b, -kHalf, -5), V(b, -4, 5)));
    const std::vector<double> xs = Cells(body / 15);
    p.GridBottom(xs, {0}, -kHalf);
    p.Nipple("Anschluss", "Port", V(-b + kHalf, kHalf, 0), YP, XP);
    p.Peg("Kolbenstange", "Piston rod", V(b + 15, 0, 0), XP, YP);
    return p.Take();
}

/// A small pneumatic body with nipples in the given directions, each 4 mm from its middle.
TKitPart PneumaticFitting(const std::string& number, const std::string& de, const std::string& en,
                          const std::vector<TVector3f>& ports, double price) {
    TPart p(number, de, en, 6);
    p.Color(29, 141, 255).Price(price);
    p.Add(RoundedBox(V(-4, -4, -4), V(4, 4, 4), 1, 2), Box(V(-4, -4, -4), V(4, 4, 4)));
    int n = 0;
    for (const TVector3f& d : ports) {
        const std::string k = std::to_string(++n);
        const TVector3f up = std::abs(d.Y) > 0.99f ? XP : Normalized(YP - d * Dot(YP, d));
        p.Nipple("Anschluss " + k, "Port " + k, d * 4.0f, d, up);
    }
    return p.Take();
}

TKitPart Rack(const std::string& number, int length) {
    const std::string n = std::to_string(length);
    TPart p(number, "Zahnstange " + n, "Gear rack " + n, 7);
    p.Color(40, 40, 40).Price(0.3 + length / 100.0).Badge(n);
    const double h = length / 2.0;
    const std::vector<double> xs = Cells(length / 15);
    BlockBody(p, V(-h, -kHalf, -3), V(h, -2, 3), xs, {0}, 0.5, 1, 3);
    const double pitch = kPi * 1.5;
    const int teeth = static_cast<int>(length / pitch);
    TGeo hires;
    for (int i = 0; i < teeth; ++i) {
        const double c = -h + pitch * (i + 0.5) + (length - teeth * pitch) / 2;
        hires += ExtrudeConvex({{c - 0.35 * pitch, -2},
                                {c + 0.35 * pitch, -2},
                                {c + 0.15 * pitch, -2 + 2.25 * 1.5},
                                {c - 0.15 * pitch, -2 + 2.25 * 1.5}},
                               -3, 3);
    }
    // The coarse mesh fills the teeth up to their mean height.
    p.Add(hires, Box(V(-h, -2, -3), V(h, -2 + 1.4 * 1.5, 3)));
    p.GridBottom(xs, {0}, -kHalf);
    return p.Take();
}

TKitPart Spindle(const std::string& number, int length) {
    const std::string n = std::to_string(length);
    TPart p(number, "Gewindespindel " + n, "Threaded spindle " + n, 7);
    p.Color(170, 170, 180).Price(0.5 + length / 130.0).KineRot(4).Rounded().Badge(n);
    const double h = length / 2.0, pitch = 3;
    std::vector<TPt2> prof{{0, -h}, {2.5, -h}};
    for (double z = -h + 1; z + pitch <= h - 1; z += pitch) {
        prof.push_back({2.5, z});
        prof.push_back({3.6, z + pitch * 0.4});
        prof.push_back({3.6, z + pitch * 0.6});
        prof.push_back({2.5, z + pitch});
    }
    prof.push_back({2.5, h});
    prof.push_back({0, h});
    p.Add(Lathe(prof, 16), Lathe({{0, -h}, {3.5, -h}, {3.5, h}, {0, h}}, 12));
    for (const double z : {-h + kHalf, h - kHalf}) {
        const int k = z < 0 ? 1 : 2;
        p.Conn(MaleKind, gauge::Axle, "Achse " + std::to_string(k), "Axle " + std::to_string(k),
               V(0, 0, z), ZP, YP);
    }
    return p.Take();
}

/// Sprocket: thin, coarse teeth, for a chain drive.
TKitPart Sprocket(const std::string& number, int teeth) {
    const std::string t = std::to_string(teeth);
    TPart p(number, "Kettenrad Z" + t, "Sprocket Z" + t, 7);
    p.Color(200, 30, 30).Price(0.3 + teeth * 0.02).Teeth(teeth).KineRot(4).Badge("Z" + t);
    const double m = 2.5;
    TGeo hires = ExtrudeStarWithBore(GearOutline(teeth, m, 3), 2.6, -1.5, 1.5);
    hires += Tube(2.6, 5, -5, 5, 16);
    TGeo lores = teeth <= 15 ? ExtrudeStarWithBore(GearOutline(teeth, m, 2), 2.6, -1.5, 1.5)
                             : Tube(2.6, m * teeth / 2 + 0.3 * m, -1.5, 1.5, std::max(10, teeth));
    lores += Tube(2.6, 5, -5, 5, 6);
    p.Add(hires, lores);
    Bore(p, V(0, 0, 0));
    return p.Take();
}

/// Bevel gear: teeth on a cone, for drives at a right angle.
TKitPart BevelGear(const std::string& number, int teeth) {
    const std::string t = std::to_string(teeth);
    TPart p(number, "Kegelrad Z" + t, "Bevel gear Z" + t, 7);
    p.Color(40, 40, 40).Price(0.5 + teeth * 0.02).Teeth(teeth).KineRot(4).Badge("Z" + t);
    const double r = 1.5 * teeth / 2;
    TGeo hires = ExtrudeStarWithBore(GearOutline(teeth, 1.5, 2), 2.6, -3, -1);
    hires += Lathe({{2.6, -1.2}, {r, -1.2}, {r * 0.55, 3}, {2.6, 3}}, 24, true);
    hires += Tube(2.6, 4.6, -6, 3, 16);
    TGeo lores = Lathe({{2.6, -3}, {r + 1.5, -3}, {r + 1.5, -1}, {r * 0.55, 3}, {2.6, 3}},
                       std::max(8, teeth / 2), true);
    lores += Tube(2.6, 4.6, -6, 3, 6);
    p.Add(hires, lores);
    Bore(p, V(0, 0, 0));
    return p.Take();
}

/// A figure scaled about its middle: children and other sizes of the same build.
TKitPart ScaledFigure(TKitPart part, double s) {
    const TXform xf = TXform::Scale(s, s, s);
    part.Hires = Transformed(part.Hires, xf);
    part.Lores = Transformed(part.Lores, xf);
    part.Def.OffsetY *= s;
    for (size_t i = 0; i < part.Def.Conns.size(); ++i) {
        TConn& c = part.Def.Conns[i];
        c.X = float(c.X * s);
        c.Y = float(c.Y * s);
        c.Z = float(c.Z * s);
        part.Frames[i].Pos = part.Frames[i].Pos * float(s);
    }
    return part;
}

TKitPart StraightRail(const std::string& number, int length) {
    const std::string n = std::to_string(length);
    TPart p(number, "Schiene gerade " + n, "Rail straight " + n, 20);
    p.Color(120, 170, 230).Price(0.8 + length / 80.0).Badge(n);
    const double h = length / 2.0;
    TGeo g;
    g += Box(V(-h, -4, -7), V(h, 0, 7));
    g += Box(V(-h, 0, -7), V(h, 6, -5));
    g += Box(V(-h, 0, 5), V(h, 6, 7));
    p.Add(g);
    p.Conn(MaleKind, gauge::Rail, "Schienenende", "Rail end", V(h, 0, 0), XP, YP);
    p.Conn(FemaleKind, gauge::Rail, "Schienenanfang", "Rail start", V(-h, 0, 0), XN, YP);
    p.Conn(MaleKind, gauge::Ball, "Kugel", "Ball", V(0, 0, 0), YP, XP);
    int k = 0;
    for (double x : Cells(length / 30)) {
        ++k;
        p.Socket("Nut unten " + std::to_string(k), "Bottom socket " + std::to_string(k),
                 V(x * 2, -4, 0), YN, XP);
    }
    return p.Take();
}

/// A hinge two cells wide, its pin along X: the lower half carries three knuckles on the pin,
/// the upper half two between them.
TKitPart WideHinge(const std::string& number, bool upper) {
    TPart p(number, upper ? "Gelenkbaustein 30 oben" : "Gelenkbaustein 30 unten",
            upper ? "Hinge block 30 upper" : "Hinge block 30 lower", 0);
    p.Color(200, 30, 30).Price(0.55).Badge("30");
    const std::vector<double> xs = Cells(2);
    const TXform alongX = TXform::RotateY(90);
    if (!upper) {
        BlockBody(p, V(-kCell, -kHalf, -kHalf), V(kCell, 0, kHalf), xs, {0}, 1, 3, 4);
        p.GridBottom(xs, {0}, -kHalf);
        for (double x : {-12.0, 0.0, 12.0}) {
            const TXform at = TXform::Translate(x, 3, 0) * alongX;
            p.Add(Transformed(Tube(1.8, 4, -1.5, 1.5, 16), at),
                  Transformed(Tube(1.8, 4, -1.5, 1.5, 6), at));
            p.Add(Box(V(x - 1.5, 0, -4), V(x + 1.5, 3, 4)));
        }
        p.Add(Transformed(Cylinder(1.75, -kCell, kCell, 12), TXform::Translate(0, 3, 0) * alongX),
              Transformed(Cylinder(1.75, -kCell, kCell, 4), TXform::Translate(0, 3, 0) * alongX));
        p.Conn(MaleKind, gauge::Hinge, "Gelenkbolzen", "Hinge pin", V(0, 3, 0), XP, YP);
    } else {
        p.Add(RoundedBox(V(-kCell, 0, -kHalf), V(kCell, kHalf, kHalf), 1, 3),
              Box(V(-kCell, 0, -kHalf), V(kCell, kHalf, kHalf)));
        for (double x : {-6.0, 6.0}) {
            const TXform at = TXform::Translate(x, -3, 0) * alongX;
            p.Add(Transformed(Tube(1.8, 4, -4.4, 4.4, 16), at),
                  Transformed(Tube(1.8, 4, -4.4, 4.4, 6), at));
            p.Add(Box(V(x - 4.4, -3, -4), V(x + 4.4, 0, 4)));
        }
        p.GridTop(xs, {0}, kHalf);
        p.Conn(FemaleKind, gauge::Hinge, "Gelenkauge", "Hinge knuckle", V(0, -3, 0), XN, YP);
    }
    return p.Take();
}

/// Ball joint: a ball on a block and the cup that takes it, free to turn every way.
TKitPart BallJoint(const std::string& number, bool cup) {
    TPart p(number, cup ? "Gelenkpfanne" : "Gelenkkugel", cup ? "Joint cup" : "Joint ball", 0);
    p.Color(200, 30, 30).Price(0.45).Rounded();
    if (!cup) {
        BlockBody(p, V(-kHalf, -kHalf, -kHalf), V(kHalf, kHalf, kHalf), {0}, {0}, 1, 3, 4);
        p.GridBottom({0}, {0}, -kHalf);
        p.Add(AlongY(Cylinder(2, kHalf - 0.5, kHalf + 4, 12)) +
                  Transformed(Sphere(4, 16), TXform::Translate(0, kHalf + 7, 0)),
              AlongY(Cylinder(2, kHalf - 0.5, kHalf + 4, 6)) +
                  Transformed(Sphere(4, 8), TXform::Translate(0, kHalf + 7, 0)));
        p.Conn(MaleKind, gauge::Hinge, "Kugel", "Ball", V(0, kHalf + 7, 0), YP, XP);
    } else {
        p.Add(RoundedBox(V(-kHalf, 0, -kHalf), V(kHalf, kCell, kHalf), 1, 3),
              Box(V(-kHalf, 0, -kHalf), V(kHalf, kCell, kHalf)));
        const std::vector<TPt2> prof{{0, -5}, {6, -5}, {6, 0.5}, {0, 0.5}};
        p.Add(AlongY(Lathe(prof, 20)), AlongY(Lathe(prof, 8)));
        p.GridTop({0}, {0}, kCell);
        p.Conn(FemaleKind, gauge::Hinge, "Pfanne", "Cup", V(0, -2, 0), YN, XP);
    }
    return p.Take();
}

// --- Parts of their own kind -----------------------------------------------------------------

/// A load hook hanging from its eye; an axle or a cord's pin goes through the eye.
TKitPart LoadHook(const std::string& number) {
    TPart p(number, "Lasthaken", "Load hook", 2);
    p.Color(170, 170, 180).Price(0.6).Rounded();
    auto build = [](int segs) {
        TGeo g = AlongY(Cylinder(1.8, -2, 10, std::max(6, segs / 2)));
        g += Transformed(Torus(4, 1.5, segs, std::max(4, segs / 3)), TXform::Translate(0, 14.5, 0));
        // The bow: from the top of the shank round the bottom and up the far side.
        g += Transformed(ArcSweep(5, 8, -1.8, 1.8, -90, 200, segs),
                         TXform::Translate(0, -8.5, 0) * TXform::RotateX(90));
        return g;
    };
    p.Add(build(24), build(8));
    p.Conn(FemaleKind, gauge::Axle, "Öse", "Eye", V(0, 14.5, 0), ZP, YP);
    p.Conn(FemaleKind, gauge::Axle, "Öse hinten", "Eye back", V(0, 14.5, 0), ZN, YP);
    return p.Take();
}

/// A drum that winds up a cord, with flanges at both ends.
TKitPart CableDrum(const std::string& number) {
    TPart p(number, "Seiltrommel", "Cable drum", 2);
    p.Color(200, 30, 30).Price(0.7).KineRot(4).Rounded();
    const std::vector<TPt2> prof{{2.6, -12}, {12, -12}, {12, -10}, {7, -9.5},
                                 {7, 9.5},   {12, 10},  {12, 12},  {2.6, 12}};
    p.Add(Lathe(prof, 32, true), Lathe(prof, 8, true));
    Bore(p, V(0, 0, -kHalf), " 1");
    Bore(p, V(0, 0, kHalf), " 2");
    return p.Take();
}

/// Crown gear: the teeth stand on its face, so a spur gear meshes with it at a right angle.
TKitPart CrownGear(const std::string& number, int teeth) {
    const std::string t = std::to_string(teeth);
    TPart p(number, "Kronenrad Z" + t, "Crown gear Z" + t, 7);
    p.Color(40, 40, 40).Price(0.8).Teeth(teeth).KineRot(4).Badge("Z" + t);
    const double r = 1.5 * teeth / 2;
    TGeo hires = Tube(2.6, r + 1, -2, 0, 48) + Tube(2.6, 4.6, -6, 0, 16);
    for (int i = 0; i < teeth; ++i) {
        hires += Transformed(Beam({r - 2.5, 0}, {r + 1, 0}, 1.6, 2.5),
                             TXform::RotateZ(360.0 * i / teeth) * TXform::Translate(0, 0, 1.25));
    }
    TGeo lores = Tube(2.6, r + 1, -2, 2.5, 16) + Tube(2.6, 4.6, -6, 0, 6);
    p.Add(hires, lores);
    Bore(p, V(0, 0, 0));
    return p.Take();
}

/// Differential: a cage with a crown of teeth, its two axle halves each in a bore of its own.
TKitPart Differential(const std::string& number) {
    TPart p(number, "Differential", "Differential", 7);
    p.Color(60, 60, 65).Price(3.5).Teeth(30).KineRot(4).Rounded();
    const std::vector<TPt2> cage{{2.6, -15}, {5, -15}, {5, -11}, {11, -8},
                                 {11, 8},    {5, 11},  {5, 15},  {2.6, 15}};
    TGeo hires = Lathe(cage, 32, true) + ExtrudeStarWithBore(GearOutline(30, 1.5, 2), 5, -8, -4);
    TGeo lores = Lathe(cage, 8, true) + Tube(5, 1.5 * 15 + 1.5, -8, -4, 16);
    p.Add(hires, lores);
    Bore(p, V(0, 0, -kCell), " links");
    Bore(p, V(0, 0, kCell), " rechts");
    return p.Take();
}

/// The nut that a spindle turns through: a cube with the threaded bore, a peg on top.
TKitPart SpindleNut(const std::string& number) {
    TPart p(number, "Spindelmutter", "Spindle nut", 7);
    p.Color(200, 30, 30).Price(0.45);
    p.Add(HoledBox(V(-kHalf, -kHalf, -kHalf), V(kHalf, kHalf, kHalf), 0.6, 2,
                   {{kFaceZN, {0}, {0}}, {kFaceZP, {0}, {0}}}, 4.2, 3, 16),
          Box(V(-kHalf, -kHalf, -kHalf), V(kHalf, kHalf, kHalf)));
    p.GridTop({0}, {0}, kHalf).GridBottom({0}, {0}, -kHalf);
    Bore(p, V(0, 0, 0), " Gewinde");
    return p.Take();
}

TKitPart SteeringWheel(const std::string& number) {
    TPart p(number, "Lenkrad", "Steering wheel", 8);
    p.Color(40, 40, 45).Price(0.5).KineRot(4).Rounded();
    TGeo hires = Torus(12, 1.6, 32, 8) + Tube(2.6, 4.5, -3, 3, 16);
    TGeo lores = Torus(12, 1.6, 12, 4) + Tube(2.6, 4.5, -3, 3, 6);
    for (int i = 0; i < 3; ++i) {
        const TGeo spoke =
            Transformed(Beam({4, 0}, {11, 0}, 2, 2), TXform::RotateZ(90 + 120.0 * i));
        hires += spoke;
        lores += spoke;
    }
    p.Add(hires, lores);
    Bore(p, V(0, 0, 0));
    return p.Take();
}

/// An open bucket for a digger arm: floor, back and sides, hinged on an axle at its back.
TKitPart Bucket(const std::string& number) {
    TPart p(number, "Baggerschaufel", "Digger bucket", 8);
    p.Color(224, 224, 0).Price(1.1);
    TGeo g = Box(V(-15, -kHalf, -15), V(15, -5.5, 15));  // floor
    g += Box(V(-15, -5.5, -15), V(15, 15, -13));         // back
    g += Box(V(-15, -5.5, -13), V(-13, 7, 12));          // sides
    g += Box(V(13, -5.5, -13), V(15, 7, 12));
    p.Add(g);
    Bore(p, V(0, 15, -14));
    p.GridBottom({-kHalf, kHalf}, {0}, -kHalf);
    return p.Take();
}

/// Two fork tines on a back plate, for a fork-lift carriage.
TKitPart ForkTines(const std::string& number) {
    TPart p(number, "Gabelzinken", "Fork tines", 8);
    p.Color(60, 60, 65).Price(0.9);
    TGeo g = Box(V(-15, -kHalf, -kHalf), V(15, 22.5, -4.5));
    for (double x : {-10.0, 10.0}) {
        g += Box(V(x - 3, -kHalf, -4.5), V(x + 3, -4.5, 45));
    }
    p.Add(g);
    int n = 0;
    for (double x : Cells(2)) {
        for (double y : {0.0, 15.0}) {
            const std::string k = std::to_string(++n);
            p.Socket("Nut hinten " + k, "Back socket " + k, V(x, y, -kHalf), ZN, YP);
        }
    }
    return p.Take();
}

TKitPart Ladder(const std::string& number, int length) {
    const std::string n = std::to_string(length);
    TPart p(number, "Leiter " + n, "Ladder " + n, 8);
    p.Color(150, 90, 40).Price(0.4 + length / 150.0).Badge(n);
    TGeo g;
    for (double x : {-10.0, 8.0}) {
        g += Box(V(x, -kHalf, -1.5), V(x + 2, length - kHalf, 1.5));
    }
    for (double y = 0; y < length - kHalf; y += 12) {
        g += Box(V(-8, y, -1), V(8, y + 2, 1));
    }
    p.Add(g);
    p.Socket("Nut unten", "Bottom socket", V(0, -kHalf, 0), YN, XP);
    return p.Take();
}

TKitPart Crate(const std::string& number) {
    TPart p(number, "Kiste", "Crate", 8);
    p.Color(170, 110, 50).Price(0.9);
    TGeo hires = RoundedBox(V(-kCell, -kHalf, -kCell), V(kCell, 17.5, kCell), 1, 2);
    for (double y : {-2.5, 5.0, 12.5}) {
        hires += Box(V(-kCell - 0.6, y - 1, -kCell - 0.6), V(kCell + 0.6, y + 1, kCell + 0.6));
    }
    p.Add(hires, Box(V(-kCell - 0.6, -kHalf, -kCell - 0.6), V(kCell + 0.6, 17.5, kCell + 0.6)));
    p.GridBottom(Cells(2), Cells(2), -kHalf);
    return p.Take();
}

TKitPart Fence(const std::string& number) {
    TPart p(number, "Zaun 60", "Fence 60", 19);
    p.Color(240, 240, 235).Price(0.9).Badge("60");
    TGeo g;
    for (double x : Cells(4)) {
        g += Box(V(x - 1.5, -kHalf, -1.5), V(x + 1.5, 25, 1.5));
    }
    for (double y : {3.0, 15.0}) {
        g += Box(V(-30, y, -1), V(30, y + 3, 1));
    }
    p.Add(g);
    p.GridBottom(Cells(4), {0}, -kHalf);
    return p.Take();
}

TKitPart StreetLamp(const std::string& number) {
    TPart p(number, "Laterne", "Street lamp", 19);
    p.Color(50, 60, 55).Price(1.3).Rounded();
    auto build = [](int segs) {
        TGeo g = Box(V(-kHalf, -kHalf, -kHalf), V(kHalf, -4, kHalf));
        g += AlongY(Cylinder(1.5, -4.5, 70, segs));
        g += AlongY(Cone(6, 2, 66, 74, segs));
        g += AlongY(Cylinder(4, 60, 66.5, segs));
        return g;
    };
    p.Add(build(16), build(8));
    p.GridBottom({0}, {0}, -kHalf);
    return p.Take();
}

TKitPart Bush(const std::string& number) {
    TPart p(number, "Busch", "Bush", 19);
    p.Color(60, 150, 60).Price(0.8).Rounded();
    auto build = [](int segs) {
        TGeo g = Box(V(-kHalf, -kHalf, -kHalf), V(kHalf, -4, kHalf));
        g += Transformed(Sphere(10, segs), TXform::Translate(0, 6, 0));
        g += Transformed(Sphere(7, segs), TXform::Translate(-9, 2, 3));
        g += Transformed(Sphere(7, segs), TXform::Translate(8, 3, -3));
        return g;
    };
    p.Add(build(16), build(8));
    p.GridBottom({0}, {0}, -kHalf);
    return p.Take();
}

TKitPart Bench(const std::string& number) {
    TPart p(number, "Parkbank", "Park bench", 19);
    p.Color(150, 90, 40).Price(1.1);
    TGeo g = Box(V(-30, 6, -8), V(30, 9, 8));  // seat
    g += Box(V(-30, 9, -8), V(30, 24, -6));    // back
    for (double x : {-24.0, 24.0}) {
        g += Box(V(x - 2, -kHalf, -6), V(x + 2, 6, 6));
    }
    p.Add(g);
    p.GridBottom({-22.5, 22.5}, {0}, -kHalf);
    return p.Take();
}

/// A funnel the balls drop through onto a rail.
TKitPart Funnel(const std::string& number) {
    TPart p(number, "Trichter", "Funnel", 20);
    p.Color(120, 170, 230).Price(1.2).Rounded();
    const std::vector<TPt2> prof{{7, 0}, {9, 0}, {9, 6}, {22, 26}, {20, 26}, {7, 6}};
    p.Add(AlongY(Lathe(prof, 32, true)), AlongY(Lathe(prof, 8, true)));
    p.Conn(FemaleKind, gauge::Ball, "Auslauf", "Outlet", V(0, 0, 0), YN, XP);
    p.Conn(MaleKind, gauge::Ball, "Kugel", "Ball", V(0, 6, 0), YP, XP);
    return p.Take();
}

// --- The kit ---------------------------------------------------------------------------------

void Standard(std::vector<TKitPart>& kit) {
    kit.push_back(ThinBlock("40012", 5));
    kit.push_back(ThinBlock("40013", 7.5));
    kit.push_back(BuildingBlock("40001", 1, 0, false));
    kit.push_back(BuildingBlock("40002", 2, 0, false));
    kit.push_back(BuildingBlock("40003", 3, 0, false));
    kit.push_back(BuildingBlock("40004", 4, 0, false));
    kit.push_back(BuildingBlock("40014", 5, 0, false));
    kit.push_back(BuildingBlock("40015", 6, 0, false));
    kit.push_back(FlatBlock("40016", 1));
    kit.push_back(FlatBlock("40017", 2));
    kit.push_back(FlatBlock("40018", 3));
    kit.push_back(FlatBlock("40019", 4));
    {
        TPart p("40005", "Baustein 15 mit Bohrung", "Building block 15 with bore", 0);
        p.Color(200, 30, 30).Price(0.25);
        p.Add(ExtrudeStarWithBore(SquareOutline(kHalf, 24), 2.6, -kHalf, kHalf),
              ExtrudeStarWithBore(SquareOutline(kHalf, 4), 2.6, -kHalf, kHalf));
        p.GridTop({0}, {0}, kHalf);
        Bore(p, V(0, 0, 0));
        p.Badge("15");
        kit.push_back(p.Take());
    }
    kit.push_back(BoredBlock("40020", 2));
    kit.push_back(BoredBlock("40021", 3));
    kit.push_back(BoredBlock("40022", 4));
    kit.push_back(PegBlock("40023", 1, 1));
    kit.push_back(PegBlock("40024", 1, 2));
    kit.push_back(PegBlock("40025", 2, 1));
    kit.push_back(PegBlock("40026", 2, 2));
    kit.push_back(RoundBlock("40027", 1));
    kit.push_back(RoundBlock("40028", 2));
    kit.push_back(RoundBlock("40034", 3));
    kit.push_back(AngleBlock("40029", 7.5, 0, false));
    kit.push_back(AngleBlock("40006", 15, 0, false));
    kit.push_back(AngleBlock("40007", 30, 0, false));
    kit.push_back(AngleBlock("40030", 45, 0, false));
    kit.push_back(AngleBlock("40008", 60, 0, false));
    {
        // Hinge: the lower half carries the pin along Z, the upper half's knuckle turns on it.
        TPart p("40009", "Gelenkbaustein unten", "Hinge block lower", 0);
        p.Color(200, 30, 30).Price(0.35);
        BlockBody(p, V(-kHalf, -kHalf, -kHalf), V(kHalf, 0, kHalf), {0}, {0}, 1, 3, 4);
        p.GridBottom({0}, {0}, -kHalf);
        for (double z : {-6.0, 6.0}) {
            p.Add(Transformed(Tube(1.8, 4, -1.5, 1.5, 16), TXform::Translate(0, 3, z)),
                  Transformed(Tube(1.8, 4, -1.5, 1.5, 6), TXform::Translate(0, 3, z)));
            p.Add(Box(V(-4, 0, z - 1.5), V(4, 3, z + 1.5)));
        }
        p.Add(Cylinder(1.75, -kHalf, kHalf, 12), Cylinder(1.75, -kHalf, kHalf, 4));
        p.Conn(MaleKind, gauge::Hinge, "Gelenkbolzen", "Hinge pin", V(0, 3, 0), ZP, YP);
        kit.push_back(p.Take());
    }
    {
        TPart p("40010", "Gelenkbaustein oben", "Hinge block upper", 0);
        p.Color(200, 30, 30).Price(0.35).KineRot(4);
        p.Add(RoundedBox(V(-kHalf, 0, -kHalf), V(kHalf, kHalf, kHalf), 1, 3),
              Box(V(-kHalf, 0, -kHalf), V(kHalf, kHalf, kHalf)));
        p.Add(Transformed(Tube(1.8, 4, -4.4, 4.4, 16), TXform::Translate(0, -3, 0)),
              Transformed(Tube(1.8, 4, -4.4, 4.4, 6), TXform::Translate(0, -3, 0)));
        p.Add(Box(V(-4, -3, -4.4), V(4, 0, 4.4)));
        p.GridTop({0}, {0}, kHalf);
        // The knuckle's frame is the pin's frame turned over, so the upper half stands upright
        // on the lower one.
        p.Conn(FemaleKind, gauge::Hinge, "Gelenkauge", "Hinge knuckle", V(0, -3, 0), ZN, YP);
        kit.push_back(p.Take());
    }
    kit.push_back(WideHinge("40036", false));
    kit.push_back(WideHinge("40037", true));
    kit.push_back(BallJoint("40038", false));
    kit.push_back(BallJoint("40039", true));
    {
        TPart p("40011", "Doppelzapfen", "Double peg", 0);
        p.Color(200, 30, 30).Price(0.08);
        p.Add(RoundedBox(V(-kHalf, -kHalf, -1), V(kHalf, kHalf, 1), 1, 2),
              Box(V(-kHalf, -kHalf, -1), V(kHalf, kHalf, 1)));
        p.Peg("Zapfen vorne", "Front peg", V(0, 0, 1), ZP, YP);
        p.Peg("Zapfen hinten", "Back peg", V(0, 0, -1), ZN, YP);
        kit.push_back(p.Take());
    }
    kit.push_back(ConnectorPiece("40031", 15));
    kit.push_back(ConnectorPiece("40032", 30));
    kit.push_back(ConnectorPiece("40033", 45));
    kit.push_back(ConnectorPiece("40035", 60));
}

void Statics(std::vector<TKitPart>& kit) {
    // Girders and struts in every grid length; the numbers already in use keep their sizes.
    const std::map<int, std::string> girders{{60, "40101"}, {120, "40102"}};
    const std::map<int, std::string> struts{{60, "40103"}, {90, "40104"}};
    int next = 40107;
    for (int len = 15; len <= 210; len += 15) {
        const auto known = girders.find(len);
        kit.push_back(
            Girder(known != girders.end() ? known->second : NextNumber(next), len, 1, false));
    }
    for (int len = 30; len <= 210; len += 15) {
        const auto known = struts.find(len);
        kit.push_back(
            Strut(known != struts.end() ? known->second : NextNumber(next), len, 1, false));
    }
    for (int square : {30, 45, 60, 75, 90}) {
        kit.push_back(DiagonalStrut(NextNumber(next), square));
    }
    for (int len : {30, 60, 90, 120, 150, 180, 210}) {
        kit.push_back(AngleGirder(NextNumber(next), len));
    }
    for (int degrees : {30, 45, 60, 90}) {
        kit.push_back(CurvedGirder(NextNumber(next), degrees));
    }
    for (int cells = 1; cells <= 14; ++cells) {
        kit.push_back(PerforatedStrip(NextNumber(next), cells, 1));
    }
    for (int cells : {2, 4, 6, 8}) {
        kit.push_back(PerforatedStrip(NextNumber(next), cells, 2));
    }
    {
        TPart p("40105", "Knotenbaustein", "Joint block", 1);
        p.Color(224, 224, 0).Price(0.3);
        // Round openings stand for the slots the girder tongues go into.
        p.Add(HoledBox(V(-kHalf, -kHalf, -kHalf), V(kHalf, kHalf, kHalf), 1, 2,
                       {{kFaceYN, {0}, {0}},
                        {kFaceXN, {0}, {0}},
                        {kFaceXP, {0}, {0}},
                        {kFaceZP, {0}, {0}},
                        {kFaceZN, {0}, {0}}},
                       3, 4, 16),
              Box(V(-kHalf, -kHalf, -kHalf), V(kHalf, kHalf, kHalf)));
        p.GridTop({0}, {0}, kHalf).GridBottom({0}, {0}, -kHalf);
        p.Conn(FemaleKind, gauge::Statics, "Schlitz rechts", "Slot right", V(kHalf, 0, 0), XP, YP);
        p.Conn(FemaleKind, gauge::Statics, "Schlitz links", "Slot left", V(-kHalf, 0, 0), XN, YP);
        p.Conn(FemaleKind, gauge::Statics, "Schlitz vorne", "Slot front", V(0, 0, kHalf), ZP, YP);
        p.Conn(FemaleKind, gauge::Statics, "Schlitz hinten", "Slot back", V(0, 0, -kHalf), ZN, YP);
        kit.push_back(p.Take());
    }
    {
        TPart p("40106", "Winkelknoten 45°", "Angle joint 45°", 1);
        p.Color(224, 224, 0).Price(0.3).Badge("45°");
        // Two slots 135 degrees apart, so girders meet at 45 degrees to each other.
        std::vector<TPt2> o;
        for (int i = 0; i < 8; ++i) {
            const double a = kPi / 8 + kPi / 4 * i;
            o.push_back(
                {kHalf / std::cos(kPi / 8) * std::cos(a), kHalf / std::cos(kPi / 8) * std::sin(a)});
        }
        p.Add(ExtrudeConvex(o, -kHalf, kHalf));
        p.Conn(FemaleKind, gauge::Statics, "Schlitz 1", "Slot 1", V(-kHalf, 0, 0), XN, YP);
        const double c = std::cos(kPi / 4), s = std::sin(kPi / 4);
        p.Conn(FemaleKind, gauge::Statics, "Schlitz 2", "Slot 2", V(kHalf * c, kHalf * s, 0),
               V(c, s, 0), V(-s, c, 0));
        p.Socket("Nut hinten", "Back socket", V(0, 0, -kHalf), ZN, YP);
        kit.push_back(p.Take());
    }
    kit.push_back(AngleJoint(NextNumber(next), 30));
    kit.push_back(AngleJoint(NextNumber(next), 60));
}

void Wheels(std::vector<TKitPart>& kit) {
    int next = 40208;
    const std::string rim30 = NextNumber(next), tyre30 = NextNumber(next);
    kit.push_back(Rim(rim30, 30, 2, false));
    kit.push_back(Tyre(tyre30, 30, 2, false));
    kit.push_back(Rim("40201", 45, 2, false));
    kit.push_back(Tyre("40202", 45, 2, false));
    kit.push_back(Rim("40203", 60, 2, false));
    kit.push_back(Tyre("40204", 60, 2, false));
    std::map<int, std::string> tyres{{30, tyre30}, {45, "40202"}, {60, "40204"}};
    for (int d : {75, 90}) {
        kit.push_back(Rim(NextNumber(next), d, 2, false));
        tyres[d] = NextNumber(next);
        kit.push_back(Tyre(tyres[d], d, 2, false));
    }
    kit.push_back(CompleteWheel(NextNumber(next), 30, tyres[30]));
    kit.push_back(CompleteWheel(NextNumber(next), 45, tyres[45]));
    {
        // The complete wheel: rim mesh and connectors; the tyre and the wheel nut come along
        // as children, modelled in the same frame.
        TKitPart w = Rim("40205", 60, 2, false);
        w.Def.NameDe = w.Def.Name = "Rad 60 komplett";
        w.Def.NameEng = "Wheel 60 complete";
        w.Def.Price = 1.9;
        w.Def.Children = {"40204", "40206"};
        // Its tyre comes along, so the wheel offers only its bores.
        w.Def.Conns.pop_back();
        w.Frames.pop_back();
        kit.push_back(std::move(w));
    }
    kit.push_back(CompleteWheel(NextNumber(next), 75, tyres[75]));
    kit.push_back(CompleteWheel(NextNumber(next), 90, tyres[90]));
    {
        TPart p("40206", "Radmutter", "Wheel nut", 2);
        p.Color(170, 170, 180).Price(0.05).Hide();
        std::vector<TPt2> hex;
        for (int i = 0; i < 6; ++i) {
            hex.push_back({5.5 * std::cos(kPi / 3 * i), 5.5 * std::sin(kPi / 3 * i)});
        }
        p.Add(ExtrudeStarWithBore(hex, 2.6, 5, 8));
        p.Conn(FemaleKind, gauge::Axle, "Bohrung", "Bore", V(0, 0, 6.5), ZP, YP);
        kit.push_back(p.Take());
    }
    {
        TPart p("40207", "Flanschnabe", "Flange hub", 2);
        p.Color(224, 224, 0).Price(0.45).KineRot(4).Rounded();
        p.Add(Lathe({{2.6, 0}, {11, 0}, {11, 2}, {5, 2}, {5, 10}, {2.6, 10}}, 24, true),
              Tube(2.6, 11, 0, 2, 8) + Tube(2.6, 5, 2, 10, 6));
        p.Conn(FemaleKind, gauge::Axle, "Bohrung", "Bore", V(0, 0, 5), ZP, YP);
        p.Peg("Zapfen 1", "Peg 1", V(kHalf, 0, 0), ZN, YP);
        p.Peg("Zapfen 2", "Peg 2", V(-kHalf, 0, 0), ZN, YP);
        kit.push_back(p.Take());
    }
    for (int d : {15, 30, 45, 60, 90}) {
        kit.push_back(Pulley(NextNumber(next), d));
    }
    kit.push_back(CableDrum(NextNumber(next)));
    kit.push_back(LoadHook(NextNumber(next)));
}

void Axles(std::vector<TKitPart>& kit) {
    kit.push_back(Axle("40301", 30, 3, false));
    kit.push_back(Axle("40313", 45, 3, false));
    kit.push_back(Axle("40302", 60, 3, false));
    kit.push_back(Axle("40314", 75, 3, false));
    kit.push_back(Axle("40303", 90, 3, false));
    kit.push_back(Axle("40315", 105, 3, false));
    kit.push_back(Axle("40304", 120, 3, false));
    int next = 40307;
    for (int len = 135; len <= 210; len += 15) {
        kit.push_back(Axle(NextNumber(next), len, 3, false));
    }
    {
        TPart p("40305", "Achskupplung", "Axle coupling", 3);
        p.Color(170, 170, 180).Price(0.3).KineRot(4).Rounded();
        p.Add(Lathe({{2.6, -kHalf},
                     {4.5, -kHalf},
                     {5, -kHalf + 0.5},
                     {5, kHalf - 0.5},
                     {4.5, kHalf},
                     {2.6, kHalf}},
                    20, true),
              Tube(2.6, 5, -kHalf, kHalf, 6));
        Bore(p, V(0, 0, -kHalf), " 1");
        Bore(p, V(0, 0, kHalf), " 2");
        p.Badge("15");
        kit.push_back(p.Take());
    }
    next = 40316;
    kit.push_back(AxleCoupling(NextNumber(next), 30, "Achskupplung 30", "Axle coupling 30"));
    kit.push_back(CardanJoint(NextNumber(next)));
    {
        TPart p("40306", "Klemmring", "Stop ring", 3);
        p.Color(200, 30, 30).Price(0.06).KineRot(4).Rounded();
        p.Add(Tube(2.6, 5, -2, 2, 20), Tube(2.6, 5, -2, 2, 6));
        Bore(p, V(0, 0, 0));
        kit.push_back(p.Take());
    }
    kit.push_back(ClampBush(NextNumber(next), 5));
    kit.push_back(ClampBush(NextNumber(next), 10));
    kit.push_back(ClampBush(NextNumber(next), 15));
}

void Plates(std::vector<TKitPart>& kit) {
    // Every plate from 15x15 to 90x180 in the usual steps, narrow side first; the numbers
    // already in use keep their sizes (and the way they lie).
    const std::map<std::pair<int, int>, std::pair<std::string, std::pair<int, int>>> known{
        {{1, 2}, {"40401", {1, 2}}},
        {{2, 2}, {"40402", {2, 2}}},
        {{2, 4}, {"40403", {4, 2}}},
        {{4, 6}, {"40404", {6, 4}}}};
    int next = 40407;
    const std::pair<int, int> sizes[] = {{1, 1},  {1, 2}, {1, 3}, {1, 4}, {1, 5}, {1, 6}, {1, 8},
                                         {1, 12}, {2, 2}, {2, 3}, {2, 4}, {2, 5}, {2, 6}, {2, 8},
                                         {2, 12}, {3, 3}, {3, 4}, {3, 6}, {4, 4}, {4, 6}, {4, 8},
                                         {4, 12}, {6, 6}, {6, 8}, {6, 12}};
    for (const auto& size : sizes) {
        const auto it = known.find(size);
        if (it != known.end()) {
            const auto [nx, nz] = it->second.second;
            kit.push_back(BuildingPlate(it->second.first, nx, nz, 4, false));
        } else {
            kit.push_back(BuildingPlate(NextNumber(next), size.second, size.first, 4, false));
        }
    }
    kit.push_back(BasePlate(NextNumber(next), 4, 4));
    kit.push_back(BasePlate(NextNumber(next), 6, 6));
    kit.push_back(BasePlate(NextNumber(next), 8, 6));
    {
        TPart p("40405", "Grundplatte 180x90", "Base plate 180x90", 4);
        p.Color(70, 70, 75).Price(4.5).Badge("180x90");
        const std::vector<double> xs = Cells(12), zs = Cells(6);
        p.Add(RoundedBox(V(-90, -kHalf, -45), V(90, 0, 45), 1.5, 2),
              Box(V(-90, -kHalf, -45), V(90, 0, 45)));
        p.GridTop(xs, zs, 0);
        kit.push_back(p.Take());
    }
    kit.push_back(WindowPlate(NextNumber(next), 2, 1));
    kit.push_back(WindowPlate(NextNumber(next), 2, 2));
    {
        TPart p("40406", "Fensterplatte 30x60", "Window plate 30x60", 4);
        p.Color(170, 210, 255).Alpha(0.4).Price(0.9).Badge("30x60");
        Plate(p, 4, 2, false);
        kit.push_back(p.Take());
    }
    kit.push_back(WindowPlate(NextNumber(next), 4, 4));
}

void Electrics(std::vector<TKitPart>& kit) {
    {
        TPart p("40501", "Leuchtbaustein", "Lamp block", 5);
        p.Color(80, 80, 85).Price(1.6);
        BlockBody(p, V(-kHalf, -kHalf, -kHalf), V(kHalf, kHalf, kHalf), {0}, {0}, 1, 3, 4);
        p.GridBottom({0}, {0}, -kHalf);
        p.Add(AlongY(Lathe({{0, kHalf - 0.5},
                            {3, kHalf - 0.5},
                            {3, kHalf + 2},
                            {2.5, kHalf + 3},
                            {3.5, kHalf + 5},
                            {3.2, kHalf + 7},
                            {1.8, kHalf + 8.5},
                            {0, kHalf + 8.8}},
                           16)),
              AlongY(Cylinder(3, kHalf - 0.5, kHalf + 8.5, 5)));
        p.Conn(MaleKind, gauge::LampCap, "Kappensitz", "Cap seat", V(0, kHalf, 0), YP, XP);
        p.CableSocket("Buchse 1", "Socket 1", V(-kHalf, 0, -3.5), XN, YP);
        p.CableSocket("Buchse 2", "Socket 2", V(-kHalf, 0, 3.5), XN, YP);
        kit.push_back(p.Take());
    }
    {
        TPart p("40502", "Leuchtkappe rot", "Lamp cap red", 5);
        p.Color(255, 40, 30).Alpha(0.5).Price(0.3).Rounded();
        std::vector<TPt2> prof{{0, 0}, {6, 0}};
        for (int i = 0; i <= 8; ++i) {
            const double t = kPi / 2 * i / 8;
            prof.push_back({6 * std::cos(t), 6 + 6 * std::sin(t)});
        }
        prof.back().X = 0;
        p.Add(AlongY(Lathe(prof, 24)), AlongY(Lathe(prof, 8)));
        p.Conn(FemaleKind, gauge::LampCap, "Sitz", "Seat", V(0, 0, 0), YN, XP);
        kit.push_back(p.Take());
    }
    int next = 40505;
    kit.push_back(LampCap(NextNumber(next), "gelb", "yellow", 255, 210, 0));
    kit.push_back(LampCap(NextNumber(next), "grün", "green", 40, 200, 60));
    kit.push_back(LampCap(NextNumber(next), "blau", "blue", 40, 90, 255));
    kit.push_back(LampCap(NextNumber(next), "klar", "clear", 235, 235, 225));
    {
        TPart p("40503", "Batteriekasten", "Battery box", 5);
        p.Color(40, 40, 45).Price(6.9);
        const std::vector<double> xs = Cells(3), zs = Cells(2);
        BlockBody(p, V(-22.5, -kHalf, -kCell), V(22.5, 22.5, kCell), xs, zs, 2, 3, 4);
        p.GridBottom(xs, zs, -kHalf);
        p.Add(RoundedBox(V(-15, 22.5, -8), V(15, 24, 8), 0.6, 1),
              Box(V(-15, 22, -8), V(15, 24, 8)));
        p.CableSocket("Plus", "Plus", V(22.5, 15, -3.5), XP, YP);
        p.CableSocket("Minus", "Minus", V(22.5, 15, 3.5), XP, YP);
        kit.push_back(p.Take());
    }
    {
        TPart p("40504", "Schalter", "Switch", 5);
        p.Color(80, 80, 85).Price(1.2);
        const std::vector<double> xs = Cells(2);
        BlockBody(p, V(-kCell, -kHalf, -kHalf), V(kCell, kHalf, kHalf), xs, {0}, 1, 3, 4);
        p.GridBottom(xs, {0}, -kHalf);
        p.Add(Transformed(Beam({0, 0}, {0, 9}, 3, 5),
                          TXform::Translate(0, kHalf, 0) * TXform::RotateZ(-20)));
        p.CableSocket("Buchse 1", "Socket 1", V(-kCell, 0, -3.5), XN, YP);
        p.CableSocket("Buchse 2", "Socket 2", V(-kCell, 0, 3.5), XN, YP);
        p.CableSocket("Buchse 3", "Socket 3", V(kCell, 0, 0), XP, YP);
        kit.push_back(p.Take());
    }
    {
        TPart p(NextNumber(next), "Akkupack", "Rechargeable pack", 5);
        p.Color(30, 90, 50).Price(12.9);
        const std::vector<double> xs = Cells(4), zs = Cells(2);
        BlockBody(p, V(-30, -kHalf, -kCell), V(30, kHalf, kCell), xs, zs, 2, 3, 4);
        p.GridBottom(xs, zs, -kHalf).GridTop({-22.5, 22.5}, {0}, kHalf);
        p.CableSocket("Plus", "Plus", V(30, 0, -3.5), XP, YP);
        p.CableSocket("Minus", "Minus", V(30, 0, 3.5), XP, YP);
        kit.push_back(p.Take());
    }
    {
        TPart p = ElectricBlock(NextNumber(next), "Taster", "Push button", 2, 1.4);
        p.Add(AlongY(Cylinder(4, kHalf - 0.5, kHalf + 4, 20)),
              AlongY(Cylinder(4, kHalf - 0.5, kHalf + 4, 8)));
        p.CableSocket("Buchse 3", "Socket 3", V(kCell, 0, 0), XP, YP);
        kit.push_back(p.Take());
    }
    {
        TPart p = ElectricBlock(NextNumber(next), "Polwendeschalter", "Reversing switch", 2, 2.2);
        p.Add(AlongY(Cylinder(5.5, kHalf - 0.5, kHalf + 3, 24)),
              AlongY(Cylinder(5.5, kHalf - 0.5, kHalf + 3, 8)));
        p.Add(RoundedBox(V(-1.5, kHalf + 3, -7), V(1.5, kHalf + 7, 7), 0.5, 1),
              Box(V(-1.5, kHalf + 3, -7), V(1.5, kHalf + 7, 7)));
        p.CableSocket("Buchse 3", "Socket 3", V(kCell, 0, -3.5), XP, YP);
        p.CableSocket("Buchse 4", "Socket 4", V(kCell, 0, 3.5), XP, YP);
        kit.push_back(p.Take());
    }
    {
        TPart p = ElectricBlock(NextNumber(next), "Summer", "Buzzer", 1, 1.9);
        const std::vector<TPt2> prof{
            {0, kHalf - 0.5}, {6, kHalf - 0.5}, {6, kHalf + 2}, {3, kHalf + 3.5}, {0, kHalf + 3.5}};
        p.Add(AlongY(Lathe(prof, 24)), AlongY(Lathe(prof, 8)));
        kit.push_back(p.Take());
    }
    {
        TPart p = ElectricBlock(NextNumber(next), "Lichtsensor", "Light sensor", 1, 2.4);
        const TGeo lens = Lathe({{0, -0.5}, {4, -0.5}, {4, 1.5}, {2.5, 3.5}, {0, 4}}, 16);
        p.Add(Place(lens, V(0, 2, kHalf), ZP, YP),
              Place(Lathe({{0, -0.5}, {4, -0.5}, {4, 1.5}, {2.5, 3.5}, {0, 4}}, 6), V(0, 2, kHalf),
                    ZP, YP));
        kit.push_back(p.Take());
    }
    {
        TPart p = ElectricBlock(NextNumber(next), "Elektromagnet", "Electromagnet", 1, 3.2);
        p.Add(AlongY(Cylinder(6, kHalf - 0.5, kHalf + 12, 24) +
                     Cylinder(6.8, kHalf + 12, kHalf + 14, 24)),
              AlongY(Cylinder(6, kHalf - 0.5, kHalf + 12, 8) +
                     Cylinder(6.8, kHalf + 12, kHalf + 14, 8)));
        kit.push_back(p.Take());
    }
    kit.push_back(CablePlug("C0007", "Stecker rot", "Plug red", 210, 25, 25));
    kit.push_back(CablePlug("C0008", "Stecker grün", "Plug green", 20, 150, 40));
}

void Pneumatics(std::vector<TKitPart>& kit) {
    const int pr = 29, pg = 141, pb = 255;
    int next = 40607;
    kit.push_back(PneumaticCylinder(NextNumber(next), 30));
    {
        TPart p("40601", "Pneumatikzylinder", "Pneumatic cylinder", 6);
        p.Color(pr, pg, pb).Price(7.5).Rounded();
        p.Add(
            AlongX(Lathe({{0, -22.5},
                          {6, -22.5},
                          {kHalf, -21},
                          {kHalf, 21},
                          {6, 22.5},
                          {2, 22.5},
                          {2, 36},
                          {3, 36},
                          {3, 37.5},
                          {0, 37.5}},
                         24)),
            AlongX(Lathe(
                {{0, -22.5}, {kHalf, -22.5}, {kHalf, 22.5}, {2, 22.5}, {2, 37.5}, {0, 37.5}}, 6)));
        p.Add(Box(V(-22.5, -kHalf, -5), V(22.5, -4, 5)));
        p.GridBottom({-15, 15}, {0}, -kHalf);
        p.Nipple("Anschluss", "Port", V(-15, kHalf, 0), YP, XP);
        p.Peg("Kolbenstange", "Piston rod", V(37.5, 0, 0), XP, YP);
        p.Badge("45");
        kit.push_back(p.Take());
    }
    kit.push_back(PneumaticCylinder(NextNumber(next), 60));
    kit.push_back(PneumaticCylinder(NextNumber(next), 90));
    {
        TPart p("40602", "Handventil", "Hand valve", 6);
        p.Color(pr, pg, pb).Price(4.2);
        const std::vector<double> xs = Cells(2);
        BlockBody(p, V(-kCell, -kHalf, -kHalf), V(kCell, kHalf, kHalf), xs, {0}, 1, 3, 4);
        p.GridBottom(xs, {0}, -kHalf);
        p.Add(Transformed(Beam({0, 0}, {0, 12}, 3, 4),
                          TXform::Translate(0, kHalf, 0) * TXform::RotateZ(25)));
        p.Nipple("Eingang", "Inlet", V(-kCell, 0, 0), XN, YP);
        p.Nipple("Ausgang A", "Outlet A", V(-kHalf, 0, kHalf), ZP, YP);
        p.Nipple("Ausgang B", "Outlet B", V(kHalf, 0, kHalf), ZP, YP);
        kit.push_back(p.Take());
    }
    {
        TPart p(NextNumber(next), "Magnetventil", "Solenoid valve", 6);
        p.Color(pr, pg, pb).Price(8.9);
        const std::vector<double> xs = Cells(2);
        BlockBody(p, V(-kCell, -kHalf, -kHalf), V(kCell, kHalf, kHalf), xs, {0}, 1, 3, 4);
        p.GridBottom(xs, {0}, -kHalf);
        p.Add(AlongY(Cylinder(6, kHalf - 0.5, kHalf + 11, 24)),
              AlongY(Cylinder(6, kHalf - 0.5, kHalf + 11, 8)));
        p.Nipple("Eingang", "Inlet", V(-kCell, 0, 0), XN, YP);
        p.Nipple("Ausgang A", "Outlet A", V(-kHalf, 0, kHalf), ZP, YP);
        p.Nipple("Ausgang B", "Outlet B", V(kHalf, 0, kHalf), ZP, YP);
        p.CableSocket("Buchse 1", "Socket 1", V(kCell, 0, -3.5), XP, YP);
        p.CableSocket("Buchse 2", "Socket 2", V(kCell, 0, 3.5), XP, YP);
        kit.push_back(p.Take());
    }
    for (const bool throttle : {false, true}) {
        TPart p(NextNumber(next), throttle ? "Drosselventil" : "Rückschlagventil",
                throttle ? "Throttle valve" : "Check valve", 6);
        p.Color(pr, pg, pb).Price(throttle ? 2.4 : 1.9).Rounded();
        const std::vector<TPt2> prof{{0, -8}, {3, -8}, {4.5, -5}, {4.5, 5}, {3, 8}, {0, 8}};
        p.Add(AlongX(Lathe(prof, 20)), AlongX(Lathe(prof, 8)));
        if (throttle) {
            p.Add(AlongY(Cylinder(3, 3, 9, 16)), AlongY(Cylinder(3, 3, 9, 6)));
        }
        p.Nipple("Eingang", "Inlet", V(-8, 0, 0), XN, YP);
        p.Nipple("Ausgang", "Outlet", V(8, 0, 0), XP, YP);
        kit.push_back(p.Take());
    }
    {
        TPart p(NextNumber(next), "Kompressor", "Compressor", 6);
        p.Color(pr, pg, pb).Price(14.9);
        const std::vector<double> xs = Cells(3), zs = Cells(2);
        BlockBody(p, V(-22.5, -kHalf, -kCell), V(22.5, kHalf, kCell), xs, zs, 1.5, 3, 4);
        p.GridBottom(xs, zs, -kHalf);
        for (int i = 0; i < 4; ++i) {
            const double y = kHalf + 1 + 3 * i;
            p.Add(Box(V(-2, y - 1, -9), V(18, y + 1, 9)));
        }
        p.Add(Box(V(0, kHalf - 0.5, -6), V(16, kHalf + 11, 6)));
        p.Nipple("Ausgang", "Outlet", V(22.5, 0, 0), XP, YP);
        p.CableSocket("Buchse 1", "Socket 1", V(-22.5, 0, -3.5), XN, YP);
        p.CableSocket("Buchse 2", "Socket 2", V(-22.5, 0, 3.5), XN, YP);
        kit.push_back(p.Take());
    }
    {
        TPart p("40603", "Druckluftspeicher", "Air tank", 6);
        p.Color(pr, pg, pb).Price(3.9).Rounded();
        std::vector<TPt2> prof{{0, -30}};
        for (int i = 0; i <= 6; ++i) {
            const double t = kPi / 2 * i / 6;
            prof.push_back({10 * std::sin(t), -20 - 10 * std::cos(t)});
        }
        for (int i = 0; i <= 6; ++i) {
            const double t = kPi / 2 * i / 6;
            prof.push_back({10 * std::cos(t), 20 + 10 * std::sin(t)});
        }
        prof.back().X = 0;
        p.Add(AlongX(Lathe(prof, 24)), AlongX(Lathe({{0, -30}, {10, -24}, {10, 24}, {0, 30}}, 6)));
        p.Add(Box(V(-22.5, -10, -6), V(22.5, -7, 6)));
        p.GridBottom({-15, 15}, {0}, -10);
        p.Nipple("Anschluss 1", "Port 1", V(-30, 0, 0), XN, YP);
        p.Nipple("Anschluss 2", "Port 2", V(30, 0, 0), XP, YP);
        kit.push_back(p.Take());
    }
    {
        TPart p(NextNumber(next), "Druckluftspeicher klein", "Air tank small", 6);
        p.Color(pr, pg, pb).Price(2.9).Rounded();
        std::vector<TPt2> prof{{0, -18}};
        for (int i = 0; i <= 6; ++i) {
            const double t = kPi / 2 * i / 6;
            prof.push_back({8 * std::sin(t), -10 - 8 * std::cos(t)});
        }
        for (int i = 0; i <= 6; ++i) {
            const double t = kPi / 2 * i / 6;
            prof.push_back({8 * std::cos(t), 10 + 8 * std::sin(t)});
        }
        prof.back().X = 0;
        p.Add(AlongX(Lathe(prof, 24)), AlongX(Lathe(prof, 8)));
        p.Add(Box(V(-kCell, -kHalf, -5), V(kCell, -6, 5)));
        p.GridBottom(Cells(2), {0}, -kHalf);
        p.Nipple("Anschluss 1", "Port 1", V(-18, 0, 0), XN, YP);
        p.Nipple("Anschluss 2", "Port 2", V(18, 0, 0), XP, YP);
        kit.push_back(p.Take());
    }
    {
        TPart p("40604", "T-Verteiler", "T distributor", 6);
        p.Color(pr, pg, pb).Price(0.6);
        p.Add(RoundedBox(V(-4, -4, -4), V(4, 4, 4), 1, 2), Box(V(-4, -4, -4), V(4, 4, 4)));
        p.Nipple("Anschluss 1", "Port 1", V(-4, 0, 0), XN, YP);
        p.Nipple("Anschluss 2", "Port 2", V(4, 0, 0), XP, YP);
        p.Nipple("Anschluss 3", "Port 3", V(0, 0, 4), ZP, YP);
        kit.push_back(p.Take());
    }
    {
        TPart p("40605", "Winkelstück", "Elbow", 6);
        p.Color(pr, pg, pb).Price(0.5);
        p.Add(RoundedBox(V(-4, -4, -4), V(4, 4, 4), 1, 2), Box(V(-4, -4, -4), V(4, 4, 4)));
        p.Sleeve("Muffe", "Sleeve", V(-4, 0, 0), XN, YP);
        p.Nipple("Anschluss", "Port", V(0, 4, 0), YP, XP);
        kit.push_back(p.Take());
    }
    const float d = float(std::sqrt(0.5));
    kit.push_back(PneumaticFitting(NextNumber(next), "Y-Verteiler", "Y distributor",
                                   {XN, V(d, d, 0), V(d, -d, 0)}, 0.7));
    kit.push_back(PneumaticFitting(NextNumber(next), "Kreuzverteiler", "Cross distributor",
                                   {XN, XP, ZP, ZN}, 0.8));
    kit.push_back(
        PneumaticFitting(NextNumber(next), "Doppelnippel", "Double nipple", {XN, XP}, 0.3));
    {
        TPart p("40606", "Verschlussstopfen", "Blanking plug", 6);
        p.Color(200, 30, 30).Price(0.2).Rounded();
        p.Add(Cylinder(3.5, -4, 0, 16), Cylinder(3.5, -4, 0, 6));
        p.Sleeve("Muffe", "Sleeve", V(0, 0, 0), ZP, YP);
        kit.push_back(p.Take());
    }
    {
        TPart p(NextNumber(next), "Manometer", "Pressure gauge", 6);
        p.Color(pr, pg, pb).Price(4.9).Rounded();
        p.Add(AlongY(Cylinder(2.5, -0.5, 4, 12)) +
                  Transformed(Cylinder(9, -2.5, 2.5, 32), TXform::Translate(0, 12.5, 0)),
              AlongY(Cylinder(2.5, -0.5, 4, 6)) +
                  Transformed(Cylinder(9, -2.5, 2.5, 10), TXform::Translate(0, 12.5, 0)));
        p.Sleeve("Muffe", "Sleeve", V(0, 0, 0), YN, XP);
        kit.push_back(p.Take());
    }
}

void Drives(std::vector<TKitPart>& kit) {
    int next = 40713;
    kit.push_back(Motor("40702", "Minimotor", "Mini motor", 7, 2, 1, 5, false));
    kit.push_back(Motor("40701", "Motor", "Motor", 7, 3, 2, 4, false));
    kit.push_back(Motor(NextNumber(next), "Kraftmotor", "Power motor", 7, 4, 2, 4, false));
    kit.push_back(Motor(NextNumber(next), "Getriebemotor", "Geared motor", 7, 3, 1, 0, true));
    {
        TPart p("40703", "Getriebe", "Gearbox", 7);
        p.Color(60, 60, 65).Price(5.5).KineRot(4);
        const std::vector<double> xs = Cells(2), zs = Cells(2);
        BlockBody(p, V(-kCell, -kHalf, -kCell), V(kCell, kHalf, kCell), xs, zs, 1.5, 3, 4);
        p.GridTop(xs, zs, kHalf).GridBottom(xs, zs, -kHalf);
        for (double z : {-kCell, kCell}) {
            p.Add(Transformed(Tube(2.6, 5, -1, 1, 16), TXform::Translate(kHalf, 0, z)),
                  Transformed(Tube(2.6, 5, -1, 1, 6), TXform::Translate(kHalf, 0, z)));
        }
        Bore(p, V(kHalf, 0, 0), " Abtrieb");
        p.Conn(FemaleKind, gauge::Axle, "Antrieb", "Input", V(-kHalf, 0, -kCell), ZN, YP);
        kit.push_back(p.Take());
    }
    kit.push_back(Gear("40704", 10, 7, false));
    kit.push_back(Gear(NextNumber(next), 15, 7, false));
    kit.push_back(Gear("40705", 20, 7, false));
    kit.push_back(Gear("40706", 30, 7, false));
    kit.push_back(Gear("40707", 40, 7, false));
    kit.push_back(Gear(NextNumber(next), 50, 7, false));
    kit.push_back(Gear(NextNumber(next), 60, 7, false));
    kit.push_back(BevelGear(NextNumber(next), 10));
    kit.push_back(BevelGear(NextNumber(next), 20));
    kit.push_back(CrownGear(NextNumber(next), 30));
    kit.push_back(Differential(NextNumber(next)));
    for (int teeth : {10, 20, 30}) {
        kit.push_back(Sprocket(NextNumber(next), teeth));
    }
    {
        TPart p("40708", "Schnecke", "Worm", 7);
        p.Color(40, 40, 40).Price(0.7).Teeth(1).KineRot(4).Rounded();
        const double pitch = kPi * 1.5;
        std::vector<TPt2> prof{{2.6, -kCell}, {4, -kCell}};
        for (double z = -kCell + 0.5; z + pitch <= kCell; z += pitch) {
            prof.push_back({4, z});
            prof.push_back({5.8, z + pitch * 0.35});
            prof.push_back({5.8, z + pitch * 0.55});
            prof.push_back({4, z + pitch * 0.9});
        }
        prof.push_back({4, kCell});
        prof.push_back({2.6, kCell});
        p.Add(Lathe(prof, 20, true), Tube(2.6, 5.5, -kCell, kCell, 12));
        Bore(p, V(0, 0, 0));
        kit.push_back(p.Take());
    }
    for (int len : {30, 45}) {
        kit.push_back(Rack(NextNumber(next), len));
    }
    kit.push_back(Rack("40709", 60));
    for (int len : {90, 120, 150, 180}) {
        kit.push_back(Rack(NextNumber(next), len));
    }
    for (int len : {60, 90}) {
        kit.push_back(Spindle(NextNumber(next), len));
    }
    {
        // A threaded rod turned by a motor; a slide on it travels along its axis.
        TKitPart spindle = Spindle("40710", 120);
        spindle.Def.Price = 1.4;
        kit.push_back(std::move(spindle));
    }
    kit.push_back(Spindle(NextNumber(next), 180));
    {
        TPart p("40711", "Spindelschlitten", "Spindle slide", 7);
        p.Color(200, 30, 30).Price(0.9);
        const std::vector<double> xs = Cells(2);
        // The threaded bore shows on both ends; the spindle runs through it.
        p.Add(HoledBox(V(-kCell, -kHalf, -kHalf), V(kCell, kHalf, kHalf), 0.6, 2,
                       {{kFaceZN, {0}, {0}}, {kFaceZP, {0}, {0}}}, 4.2, 3, 16),
              Box(V(-kCell, -kHalf, -kHalf), V(kCell, kHalf, kHalf)));
        p.GridTop(xs, {0}, kHalf);
        Bore(p, V(0, 0, 0), " Gewinde");
        kit.push_back(p.Take());
    }
    kit.push_back(SpindleNut(NextNumber(next)));
    {
        // A turntable: its upper half turns about the up axis on the fixed lower half.
        TPart p("40712", "Drehkranz 60", "Turntable 60", 7);
        p.Color(60, 60, 65).Price(3.9).KineRot(2).Rounded();
        const std::vector<double> xs = Cells(2);
        p.Add(AlongY(Cylinder(30, -kHalf, -1, 40) + Cylinder(26, -1, 1, 40) +
                     Cylinder(30, 1, kHalf, 40)),
              AlongY(Cylinder(30, -kHalf, kHalf, 10)));
        p.GridTop(xs, xs, kHalf).GridBottom(xs, xs, -kHalf);
        kit.push_back(p.Take());
    }
}

void Figures(std::vector<TKitPart>& kit) {
    kit.push_back(Figure("40801", "Figur Mann", "Figure man", 8, 30, 126, 183, false));
    kit.push_back(Figure("40802", "Figur Frau", "Figure woman", 8, 190, 60, 90, true));
    int next = 40804;
    {
        TKitPart child = ScaledFigure(
            Figure(NextNumber(next), "Figur Kind", "Figure child", 8, 240, 170, 30, false), 0.7);
        kit.push_back(std::move(child));
    }
    {
        // A worker in overalls with a helmet over the head.
        TKitPart worker =
            Figure(NextNumber(next), "Figur Arbeiter", "Figure worker", 8, 250, 120, 20, false);
        const std::vector<TPt2> helmet{{0, 0}, {8, 0}, {8, 1}, {7, 3.5}, {5, 6.5}, {0, 8}};
        worker.Hires += Transformed(AlongY(Lathe(helmet, 20)), TXform::Translate(0, 23.5, 0));
        worker.Lores += Transformed(AlongY(Lathe(helmet, 8)), TXform::Translate(0, 23.5, 0));
        kit.push_back(std::move(worker));
    }
    {
        TPart p("40803", "Sitz", "Seat", 8);
        p.Color(40, 40, 45).Price(0.8);
        const std::vector<double> xs = Cells(2);
        BlockBody(p, V(-kCell, -kHalf, -kHalf), V(kCell, 0, kHalf), xs, {0}, 1, 2, 4);
        p.GridBottom(xs, {0}, -kHalf);
        p.Add(RoundedBox(V(-kCell, 0, -kHalf), V(-kCell + 4, 20, kHalf), 1, 2),
              Box(V(-kCell, 0, -kHalf), V(-kCell + 4, 20, kHalf)));
        p.GridTop({kHalf}, {0}, 0);
        kit.push_back(p.Take());
    }
    kit.push_back(SteeringWheel(NextNumber(next)));
    kit.push_back(Bucket(NextNumber(next)));
    kit.push_back(ForkTines(NextNumber(next)));
    for (int len : {60, 90, 120}) {
        kit.push_back(Ladder(NextNumber(next), len));
    }
    kit.push_back(Crate(NextNumber(next)));
}

void Objects(std::vector<TKitPart>& kit) {
    {
        TPart p("41901", "Baum", "Tree", 19);
        p.Color(40, 140, 50).Price(1.2).Rounded();
        p.Add(RoundedBox(V(-kHalf, -kHalf, -kHalf), V(kHalf, -4, kHalf), 1, 2),
              Box(V(-kHalf, -kHalf, -kHalf), V(kHalf, -4, kHalf)));
        p.Add(AlongY(Cylinder(2.5, -4.5, 12, 12)), AlongY(Cylinder(2.5, -4.5, 12, 4)));
        p.Add(AlongY(Cone(14, 0, 10, 40, 24) + Cone(11, 0, 24, 52, 24)),
              AlongY(Cone(14, 0, 10, 52, 6)));
        p.GridBottom({0}, {0}, -kHalf);
        kit.push_back(p.Take());
    }
    {
        TPart p("41902", "Mauerplatte", "Wall panel", 19);
        p.Color(235, 235, 235).Price(1.4).Texture("ziegel.bmp", 30, 30);
        p.Add(RoundedBox(V(-30, -kHalf, -3), V(30, 37.5, 3), 0.6, 1),
              Box(V(-30, -kHalf, -3), V(30, 37.5, 3)));
        p.GridBottom(Cells(4), {0}, -kHalf);
        kit.push_back(p.Take());
    }
    {
        TPart p("41903", "Verkehrsschild", "Road sign", 19);
        p.Color(230, 230, 230).Price(0.9).Rounded();
        p.Add(RoundedBox(V(-kHalf, -kHalf, -kHalf), V(kHalf, -4, kHalf), 1, 2),
              Box(V(-kHalf, -kHalf, -kHalf), V(kHalf, -4, kHalf)));
        p.Add(AlongY(Cylinder(1.5, -4.5, 40, 12)), AlongY(Cylinder(1.5, -4.5, 40, 4)));
        p.Add(Transformed(Cylinder(11, -1, 1, 32), TXform::Translate(0, 46, 2)),
              Transformed(Cylinder(11, -1, 1, 8), TXform::Translate(0, 46, 2)));
        p.GridBottom({0}, {0}, -kHalf);
        kit.push_back(p.Take());
    }
    {
        // Base part of the aluminium slot profile: 11 mm square with a groove in each side. The
        // maintainers' definition generator writes its definition for any other length.
        TPart p("41904", "Alu-Nutprofil 100mm", "Aluminium slot profile 100mm", 19);
        p.Color(192, 192, 192).Price(1.5);
        const double h = 50, a = 5.5, g = 1.5, core = 2.5;
        TGeo hires = Box(V(-h, -core, -core), V(h, core, core));
        for (int sy : {1, -1}) {
            for (int sz : {1, -1}) {
                hires += Box(V(-h, sy > 0 ? g : -a, sz > 0 ? g : -a),
                             V(h, sy > 0 ? a : -g, sz > 0 ? a : -g));
            }
        }
        p.Add(hires, hires);  // five boxes: as coarse as it gets
        p.Conn(FemaleKind, 4, "Nut 1", "Groove 1", V(0, 0, -a), ZN, YP);
        p.Conn(FemaleKind, 4, "Nut 2", "Groove 2", V(0, a, 0), YP, XP);
        p.Conn(FemaleKind, 4, "Nut 3", "Groove 3", V(0, 0, a), ZP, YP);
        p.Conn(FemaleKind, 4, "Nut 4", "Groove 4", V(0, -a, 0), YN, XP);
        p.Conn(MaleKind, 4, "Zapfen 1", "Pin 1", V(h + 2, 0, 0), XP, YP);
        p.Conn(MaleKind, 4, "Zapfen 2", "Pin 2", V(-h - 2, 0, 0), XN, YP);
        p.Conn(FemaleKind, 3, "Loch 1", "Hole 1", V(-h, 0, 0), XN, YP);
        p.Conn(FemaleKind, 3, "Loch 2", "Hole 2", V(h, 0, 0), XP, YP);
        kit.push_back(p.Take());
    }
    int next = 41905;
    kit.push_back(Fence(NextNumber(next)));
    kit.push_back(StreetLamp(NextNumber(next)));
    kit.push_back(Bush(NextNumber(next)));
    kit.push_back(Bench(NextNumber(next)));
    kit.push_back(CollisionSphere("COL01", 15));
    kit.push_back(CollisionSphere("COL02", 30));
    {
        TPart p("COL03", "Kollisionsquader 30", "Collision box 30", 19);
        p.Color(255, 120, 0).Alpha(0.35).NotPrintable().NoOutline();
        p.Add(Box(V(-kCell, -kCell, -kCell), V(kCell, kCell, kCell)));
        p.GridBottom(Cells(2), Cells(2), -kCell);
        kit.push_back(p.Take());
    }
}

void Dynamics(std::vector<TKitPart>& kit) {
    int next = 42005;
    kit.push_back(StraightRail(NextNumber(next), 45));
    kit.push_back(Rail("42001", false));
    kit.push_back(StraightRail(NextNumber(next), 135));
    kit.push_back(StraightRail(NextNumber(next), 180));
    kit.push_back(Rail("42002", true));
    {
        TPart p("42003", "Kugel 12,5", "Ball 12.5", 20);
        p.Color(190, 190, 200).Price(0.4).Rounded();
        p.Add(Sphere(6.25, 24), Sphere(6.25, 8));
        p.Conn(FemaleKind, gauge::Ball, "Auflage", "Contact", V(0, -6.25, 0), YN, XP);
        kit.push_back(p.Take());
    }
    {
        TPart p("42004", "Bahnstütze", "Track support", 20);
        p.Color(120, 170, 230).Price(0.7).Rounded();
        BlockBody(p, V(-kHalf, -22.5, -kHalf), V(kHalf, -18, kHalf), {0}, {0}, 1, 2, 3);
        p.Add(AlongY(Cylinder(3, -18.5, 20.5, 16)), AlongY(Cylinder(3, -18.5, 20.5, 5)));
        p.Add(RoundedBox(V(-5, 18.5, -5), V(5, 22.5, 5), 1, 2),
              Box(V(-5, 18.5, -5), V(5, 22.5, 5)));
        p.GridBottom({0}, {0}, -22.5).GridTop({0}, {0}, 22.5);
        kit.push_back(p.Take());
    }
    kit.push_back(Funnel(NextNumber(next)));
}

void OldSet(std::vector<TKitPart>& kit) {
    kit.push_back(BuildingBlock("40901", 2, 9, true));
    kit.push_back(BuildingBlock("40902", 1, 9, true));
    kit.push_back(AngleBlock("40903", 45, 9, true));
    kit.push_back(Girder("41001", 90, 10, true));
    kit.push_back(Strut("41002", 45, 10, true));
    kit.push_back(Rim("41101", 30, 11, true));
    kit.push_back(Tyre("41102", 30, 11, true));
    kit.push_back(Axle("41201", 50, 12, true));
    kit.push_back(Axle("41202", 110, 12, true));
    kit.push_back(BuildingPlate("41301", 3, 1, 13, true));
    kit.push_back(BuildingPlate("41302", 6, 2, 13, true));
    {
        TPart p("41401", "Lampe alt", "Lamp (old)", 14);
        p.Color(150, 150, 150).Price(1.1);
        BlockBody(p, V(-kHalf, -kHalf, -kHalf), V(kHalf, kHalf, kHalf), {0}, {0}, 1.2, 1, 4);
        p.GridBottom({0}, {0}, -kHalf);
        p.Add(AlongY(Cylinder(3, kHalf - 0.5, kHalf + 3, 12)),
              AlongY(Cylinder(3, kHalf - 0.5, kHalf + 3, 4)));
        p.Add(Transformed(Sphere(3.5, 16), TXform::Translate(0, kHalf + 6, 0)),
              Transformed(Sphere(3.5, 6), TXform::Translate(0, kHalf + 6, 0)));
        p.CableSocket("Buchse 1", "Socket 1", V(-kHalf, 0, -3.5), XN, YP);
        p.CableSocket("Buchse 2", "Socket 2", V(-kHalf, 0, 3.5), XN, YP);
        kit.push_back(p.Take());
    }
    {
        TPart p("41402", "Schalter alt", "Switch (old)", 14);
        p.Color(150, 150, 150).Price(0.9);
        BlockBody(p, V(-kHalf, -kHalf, -kHalf), V(kHalf, kHalf, kHalf), {0}, {0}, 1.2, 1, 4);
        p.GridBottom({0}, {0}, -kHalf);
        p.Add(Box(V(-2, kHalf, -4), V(2, kHalf + 4, 4)));
        p.CableSocket("Buchse 1", "Socket 1", V(-kHalf, 0, -3.5), XN, YP);
        p.CableSocket("Buchse 2", "Socket 2", V(-kHalf, 0, 3.5), XN, YP);
        kit.push_back(p.Take());
    }
    {
        TPart p("41501", "Zylinder alt", "Cylinder (old)", 15);
        p.Color(150, 150, 150).Price(5.9).Rounded();
        p.Add(AlongX(Lathe({{0, -15}, {6, -15}, {6, 15}, {2, 15}, {2, 27}, {0, 27}}, 20)),
              AlongX(Lathe({{0, -15}, {6, -15}, {6, 15}, {2, 15}, {2, 27}, {0, 27}}, 6)));
        p.Add(Box(V(-15, -kHalf, -5), V(15, -5, 5)));
        p.GridBottom({-kHalf, kHalf}, {0}, -kHalf);
        p.Nipple("Anschluss", "Port", V(-15, 0, 0), XN, YP);
        p.Peg("Kolbenstange", "Piston rod", V(27, 0, 0), XP, YP);
        kit.push_back(p.Take());
    }
    {
        TPart p("41502", "Ventil alt", "Valve (old)", 15);
        p.Color(150, 150, 150).Price(3.5);
        BlockBody(p, V(-kHalf, -kHalf, -kHalf), V(kHalf, kHalf, kHalf), {0}, {0}, 1.2, 1, 4);
        p.GridBottom({0}, {0}, -kHalf);
        p.Nipple("Eingang", "Inlet", V(-kHalf, 0, 0), XN, YP);
        p.Nipple("Ausgang", "Outlet", V(kHalf, 0, 0), XP, YP);
        kit.push_back(p.Take());
    }
    kit.push_back(Motor("41601", "Motor alt", "Motor (old)", 16, 2, 1, 0, true));
    kit.push_back(Gear("41602", 15, 16, true));
    kit.push_back(Figure("41701", "Figur alt", "Figure (old)", 17, 224, 190, 0, false));
    {
        TPart p("41801", "Solarzelle", "Solar cell", 18);
        p.Color(30, 40, 90).Price(9.9);
        const std::vector<double> xs = Cells(4), zs = Cells(2);
        p.Add(RoundedBox(V(-30, -kHalf, -kCell), V(30, -3, kCell), 1, 2),
              Box(V(-30, -kHalf, -kCell), V(30, -3, kCell)));
        for (double x : xs) {
            for (double z : zs) {
                p.Add(Box(V(x - 6.5, -3, z - 6.5), V(x + 6.5, -2.5, z + 6.5)));
            }
        }
        p.GridBottom(xs, zs, -kHalf);
        p.CableSocket("Plus", "Plus", V(30, -5, -3.5), XP, YP);
        p.CableSocket("Minus", "Minus", V(30, -5, 3.5), XP, YP);
        kit.push_back(p.Take());
    }
    {
        TPart p("41802", "Solarmotor", "Solar motor", 18);
        p.Color(230, 230, 230).Price(6.5).KineRot(2).Rounded();
        BlockBody(p, V(-kHalf, -kHalf, -kHalf), V(kHalf, kHalf, kHalf), {0}, {0}, 1.5, 3, 4);
        p.GridBottom({0}, {0}, -kHalf);
        p.Add(AlongY(Cylinder(2.5, kHalf - 0.5, kHalf + 14, 16)),
              AlongY(Cylinder(2.5, kHalf - 0.5, kHalf + 14, 5)));
        p.Conn(MaleKind, gauge::Axle, "Abtriebswelle", "Output shaft", V(0, kHalf + 7.5, 0), YP,
               XP);
        p.CableSocket("Buchse 1", "Socket 1", V(-kHalf, 0, -3.5), XN, YP);
        p.CableSocket("Buchse 2", "Socket 2", V(-kHalf, 0, 3.5), XN, YP);
        kit.push_back(p.Take());
    }
    {
        TPart p("42101", "Pralmo Rundstein 30", "Pralmo round block 30", 21);
        p.Color(250, 160, 20).Price(0.4).Rounded();
        p.Add(AlongY(Lathe({{0, -kCell},
                            {6.5, -kCell},
                            {kHalf, -kCell + 1},
                            {kHalf, kCell - 1},
                            {6.5, kCell},
                            {0, kCell}},
                           24)),
              AlongY(Cylinder(kHalf, -kCell, kCell, 6)));
        p.GridTop({0}, {0}, kCell).GridBottom({0}, {0}, -kCell);
        kit.push_back(p.Take());
    }
    {
        TPart p("42102", "Pralmo Bogen 60", "Pralmo arch 60", 21);
        p.Color(250, 160, 20).Price(0.9);
        TGeo hires, lores;
        for (double x : {-22.5, 22.5}) {
            hires += RoundedBox(V(x - kHalf, -kHalf, -kHalf), V(x + kHalf, 7.5, kHalf), 1, 2);
            lores += Box(V(x - kHalf, -kHalf, -kHalf), V(x + kHalf, 7.5, kHalf));
        }
        hires += Transformed(ArcSweep(15, 30, -kHalf, kHalf, 0, 180, 16),
                             TXform::Translate(0, 7.5, 0) * TXform::RotateX(-90));
        lores += Transformed(ArcSweep(15, 30, -kHalf, kHalf, 0, 180, 4),
                             TXform::Translate(0, 7.5, 0) * TXform::RotateX(-90));
        p.Add(hires, lores);
        p.GridBottom({-22.5, 22.5}, {0}, -kHalf);
        p.GridTop({0}, {0}, 37.5);
        kit.push_back(p.Take());
    }
    {
        TPart p("42201", "Quendrix Würfel 20", "Quendrix cube 20", 22);
        p.Color(130, 60, 170).Price(0.5);
        p.Add(RoundedBox(V(-10, -10, -10), V(10, 10, 10), 2, 3),
              Box(V(-10, -10, -10), V(10, 10, 10)));
        const TVector3f dirs[6] = {XP, XN, YP, YN, ZP, ZN};
        const char* de[6] = {"Loch rechts", "Loch links", "Loch oben",
                             "Loch unten",  "Loch vorne", "Loch hinten"};
        const char* en[6] = {"Hole right",  "Hole left",  "Hole top",
                             "Hole bottom", "Hole front", "Hole back"};
        for (int i = 0; i < 6; ++i) {
            const TVector3f up = std::abs(dirs[i].Y) > 0 ? XP : YP;
            p.Conn(FemaleKind, gauge::Quendrix, de[i], en[i], dirs[i] * 10.0f, dirs[i], up);
        }
        kit.push_back(p.Take());
    }
    {
        TPart p("42202", "Quendrix Stab 40", "Quendrix rod 40", 22);
        p.Color(250, 220, 60).Price(0.3).Rounded();
        p.Add(AlongX(Lathe({{0, -24},
                            {2.5, -24},
                            {3.5, -22},
                            {3.5, -20},
                            {3, -20},
                            {3, 20},
                            {3.5, 20},
                            {3.5, 22},
                            {2.5, 24},
                            {0, 24}},
                           16)),
              AlongX(Cylinder(3.3, -24, 24, 8)));
        p.Conn(MaleKind, gauge::Quendrix, "Knopf rechts", "Knob right", V(20, 0, 0), XP, YP);
        p.Conn(MaleKind, gauge::Quendrix, "Knopf links", "Knob left", V(-20, 0, 0), XN, YP);
        kit.push_back(p.Take());
    }
}

}  // namespace

std::vector<TKitPart> BuildKit() {
    std::vector<TKitPart> kit;
    Standard(kit);
    Statics(kit);
    Wheels(kit);
    Axles(kit);
    Plates(kit);
    Electrics(kit);
    Pneumatics(kit);
    Drives(kit);
    Figures(kit);
    Objects(kit);
    Dynamics(kit);
    OldSet(kit);
    // Sort order within a page follows the order above; numbers of the kit are their own
    // article numbers.
    int order = 0;
    for (TKitPart& p : kit) {
        p.Def.SortOrder = 10 + 10 * order++;
    }
    return kit;
}

const std::vector<int>& NewLayoutGroups() {
    static const std::vector<int> groups{0, 1, 2, 3, 4, 5, 6, 7, 8, 20, 19};
    return groups;
}

const std::vector<int>& OldLayoutGroups() {
    static const std::vector<int> groups{9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 21, 22};
    return groups;
}

}  // namespace kx::kitgen
