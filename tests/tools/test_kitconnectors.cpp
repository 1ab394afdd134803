// Joins every compatible connector pair of the kit the way the connector window does and checks
// that the connectors meet: anchors on one point, arrows against each other, up vectors alike.
#include <gtest/gtest.h>

#include <cstdio>

#include <cmath>
#include <map>
#include <numbers>
#include <set>

#include "kg_conn.h"
#include "kg_kit.h"
#include "view/u_sceneobjects.h"

namespace kx::kitgen {
namespace {

// --- A scene object as the program moves it, in double precision ---------------------------

struct TD3 {
    double X = 0, Y = 0, Z = 0;
};
TD3 operator+(TD3 a, TD3 b) {
    return {a.X + b.X, a.Y + b.Y, a.Z + b.Z};
}
TD3 operator-(TD3 a, TD3 b) {
    return {a.X - b.X, a.Y - b.Y, a.Z - b.Z};
}
TD3 operator*(TD3 a, double s) {
    return {a.X * s, a.Y * s, a.Z * s};
}
double Dot(TD3 a, TD3 b) {
    return a.X * b.X + a.Y * b.Y + a.Z * b.Z;
}
TD3 Cross(TD3 a, TD3 b) {
    return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X};
}
double Len(TD3 a) {
    return std::sqrt(Dot(a, a));
}
TD3 Unit(TD3 a) {
    return a * (1 / Len(a));
}
TD3 D3(const TVector3f& v) {
    return {v.X, v.Y, v.Z};
}

/// Rotation of v about the unit axis by degrees, counter-clockwise seen from the axis's tip.
TD3 Rotate(TD3 v, TD3 axis, double degrees) {
    const double t = degrees * std::numbers::pi / 180, c = std::cos(t), s = std::sin(t);
    return v * c + Cross(axis, v) * s + axis * (Dot(axis, v) * (1 - c));
}

double Wrap(double a) {
    a = std::fmod(a, 360);
    if (a > 180)
        a -= 360;
    if (a < -180)
        a += 360;
    return a;
}

/// Direction, Up, Right = Direction x Up; pitch about Right, turn about Up, roll about
/// Direction; each setter rotates by the difference to the stored angle.
struct TObject {
    TD3 Pos;
    TD3 Dir{0, 0, 1};
    TD3 Up{0, 1, 0};
    double Pitch = 0, Turn = 0, Roll = 0;
    double Scale = 1;

    void Spin(TD3 axis, double degrees) {
        axis = Unit(axis);
        Dir = Unit(Rotate(Dir, axis, degrees));
        Up = Unit(Rotate(Up, axis, degrees));
    }
    void SetPitch(double p) {
        Spin(Cross(Dir, Up), p - Pitch);
        Pitch = Wrap(p);
    }
    void SetTurn(double t) {
        Spin(Up, t - Turn);
        Turn = Wrap(t);
    }
    void SetRoll(double r) {
        Spin(Dir, r - Roll);
        Roll = Wrap(r);
    }
    /// A point of the object's own frame (mesh units) in the parent's frame. The frame's X
    /// axis is Up x Direction, so the default frame is the identity.
    TD3 ToParent(TD3 p) const {
        return Pos + (Cross(Up, Dir) * p.X + Up * p.Y + Dir * p.Z) * Scale;
    }
    TD3 DirToParent(TD3 v) const { return Cross(Up, Dir) * v.X + Up * v.Y + Dir * v.Z; }
};

struct TAnchor {
    TD3 Pos, Dir, Up;
};

/// The arrow child of connector c on a placed object: positioned in the part's frame, then
/// pitched, rolled and turned by the connector's PF, RF, TF.
TAnchor Anchor(const TObject& part, const TConn& c) {
    TObject arrow;
    arrow.Pos = {c.X, c.Y, c.Z};
    arrow.SetPitch(c.PF);
    arrow.SetRoll(c.RF);
    arrow.SetTurn(c.TF);
    return {part.ToParent(arrow.Pos), part.DirToParent(arrow.Dir), part.DirToParent(arrow.Up)};
}

/// The connector window's placement of a new part joined by its connector n to the fixed
/// part's connector c; returns the new object.
TObject Place(const TObject& fixed, const TConn& c, const TConn& n) {
    TObject obj;  // a new part: at the origin, default orientation, angles 0
    obj.Scale = 0.1;
    obj.Up = fixed.Up;
    obj.Dir = fixed.Dir;
    obj.SetPitch(obj.Pitch + c.PF);
    obj.SetRoll(obj.Roll + c.RF);
    obj.SetTurn(obj.Turn + c.TF);
    obj.SetPitch(obj.Pitch + n.PN);
    obj.SetRoll(obj.Roll + n.RN);
    obj.SetTurn(obj.Turn + n.TN);
    const TAnchor a = Anchor(fixed, c), b = Anchor(obj, n);
    obj.Pos = obj.Pos + (a.Pos - b.Pos);
    return obj;
}

/// Some fixed part pose that is not lined up with the axes.
TObject FixedPose() {
    TObject f;
    f.Scale = 0.1;
    f.Pos = {3.5, -1.25, 7};
    f.SetPitch(23);
    f.SetTurn(-41);
    f.SetRoll(67);
    return f;
}

const std::vector<TKitPart>& Kit() {
    static const std::vector<TKitPart> kit = BuildKit();
    return kit;
}

TEST(KitConnectors, ArrowsPointAsDesigned) {
    // The stored angles reproduce the designed frame of every connector.
    for (const TKitPart& part : Kit()) {
        ASSERT_EQ(part.Frames.size(), part.Def.Conns.size()) << part.Def.Number;
        for (size_t i = 0; i < part.Frames.size(); ++i) {
            SCOPED_TRACE(part.Def.Number + " connector " + std::to_string(i + 1));
            const TAnchor a = Anchor(TObject{}, part.Def.Conns[i]);
            const TD3 dir = Unit(D3(part.Frames[i].Dir)), up = Unit(D3(part.Frames[i].Up));
            EXPECT_NEAR(Dot(a.Dir, dir), 1, 1e-6);
            EXPECT_NEAR(Dot(a.Up, up), 1, 1e-6);
            EXPECT_NEAR(Len(a.Pos - D3(part.Frames[i].Pos)), 0, 1e-4);
        }
    }
}

TEST(KitConnectors, EveryCompatiblePairMeetsHeadOn) {
    const TObject fixed = FixedPose();
    size_t pairs = 0;
    // Connectors of the same angles behave the same; checking each distinct angle set per
    // gauge and kind against every other keeps this fast without losing a case.
    struct TRef {
        const TKitPart* Part;
        const TConn* Conn;
    };
    std::map<std::tuple<float, int, float, float, float, float, float, float>, TRef> distinct;
    for (const TKitPart& part : Kit()) {
        for (const TConn& c : part.Def.Conns) {
            distinct.emplace(std::make_tuple(c.Thick, c.Typ, c.PF, c.RF, c.TF, c.PN, c.RN, c.TN),
                             TRef{&part, &c});
        }
    }
    for (const auto& [ka, fa] : distinct) {
        for (const auto& [kb, nb] : distinct) {
            const TConn &c = *fa.Conn, &n = *nb.Conn;
            if (c.Thick != n.Thick || c.Typ == n.Typ) {
                continue;
            }
            ++pairs;
            const TObject obj = Place(fixed, c, n);
            const TAnchor a = Anchor(fixed, c), b = Anchor(obj, n);
            SCOPED_TRACE(fa.Part->Def.Number + " " + c.NameDe + " <- " + nb.Part->Def.Number + " " +
                         n.NameDe);
            EXPECT_LT(Len(a.Pos - b.Pos), 1e-6);
            EXPECT_NEAR(Dot(a.Dir, b.Dir), -1, 1e-6) << "arrows point against each other";
            EXPECT_NEAR(Dot(a.Up, b.Up), 1, 1e-6) << "up vectors line up";
        }
    }
    EXPECT_GT(pairs, 50u);
    // The count grows with the kit: it is reported, so a shrinking kit shows in the log.
    RecordProperty("pairs", static_cast<int>(pairs));
    std::printf("compatible connector pairs (distinct angle sets): %zu\n", pairs);
}

TEST(KitConnectors, AnglesForTurnedArrows) {
    // An arrow along -X with up +Y is a turn by -90; joined, the part turns the other way.
    const TConnAngles a = ConnectorAngles({-1, 0, 0}, {0, 1, 0});
    EXPECT_EQ(a.PF, 0);
    EXPECT_EQ(a.RF, 0);
    EXPECT_EQ(a.TF, -90);
    EXPECT_EQ(a.TN, -90);
    // Straight up with up along +X: a pitch by 90 (the arrow tips from +Z towards +Y).
    const TConnAngles b = ConnectorAngles({0, 1, 0}, {1, 0, 0});
    TObject arrow;
    arrow.SetPitch(b.PF);
    arrow.SetRoll(b.RF);
    arrow.SetTurn(b.TF);
    EXPECT_NEAR(arrow.Dir.Y, 1, 1e-9);
    EXPECT_NEAR(arrow.Up.X, 1, 1e-9);
}

TEST(KitConnectors, TheSceneGraphJoinsThemHeadOnToo) {
    // The same placement with the program's own scene objects: a part with its connector
    // arrows as children, a new part turned by the stored angles and moved anchor to anchor.
    TDummyCube root("DummyCube");
    auto addPart = [&](const TKitPart& part, const std::string& name) -> TFreeForm& {
        TFreeForm& obj = root.AddNewChild<TFreeForm>(name);
        obj.SetScale(0.1f);
        for (const TConn& c : part.Def.Conns) {
            TArrowLine& arrow = obj.AddNewChild<TArrowLine>();
            arrow.SetPosition({c.X, c.Y, c.Z});
            arrow.SetPitchAngle(c.PF);
            arrow.SetRollAngle(c.RF);
            arrow.SetTurnAngle(c.TF);
        }
        return obj;
    };
    size_t pairs = 0;
    for (const TKitPart& fixedPart : Kit()) {
        TFreeForm& f = addPart(fixedPart, "F" + fixedPart.Def.Number + "_1");
        f.SetPosition({2, 1, -3});
        f.SetTurnAngle(35);
        f.SetPitchAngle(-20);
        for (int c = 1; c <= fixedPart.Def.ConnCount(); ++c) {
            const TConn& fc = fixedPart.Def.Conn(c);
            // One partner per part and connector kind keeps this quick; the full pair check
            // is above.
            for (const TKitPart& newPart : Kit()) {
                for (int n = 1; n <= newPart.Def.ConnCount(); ++n) {
                    const TConn& nc = newPart.Def.Conn(n);
                    if (nc.Thick != fc.Thick || nc.Typ == fc.Typ) {
                        continue;
                    }
                    TFreeForm& obj = addPart(newPart, "F" + newPart.Def.Number + "_2");
                    obj.SetUp(f.Up());
                    obj.SetDirection(f.Direction());
                    obj.SetPitchAngle(obj.PitchAngle() + fc.PF);
                    obj.SetRollAngle(obj.RollAngle() + fc.RF);
                    obj.SetTurnAngle(obj.TurnAngle() + fc.TF);
                    obj.SetPitchAngle(obj.PitchAngle() + nc.PN);
                    obj.SetRollAngle(obj.RollAngle() + nc.RN);
                    obj.SetTurnAngle(obj.TurnAngle() + nc.TN);
                    const TSceneObject& a = f.Child(size_t(c - 1));
                    const TSceneObject& b = obj.Child(size_t(n - 1));
                    obj.Translate(a.AbsolutePosition() - b.AbsolutePosition());
                    SCOPED_TRACE(fixedPart.Def.Number + " " + fc.NameDe + " <- " +
                                 newPart.Def.Number + " " + nc.NameDe);
                    EXPECT_LT(Distance(a.AbsolutePosition(), b.AbsolutePosition()), 1e-4f);
                    EXPECT_NEAR(Dot(a.AbsoluteDirection(), b.AbsoluteDirection()), -1, 1e-4);
                    EXPECT_NEAR(Dot(a.AbsoluteUp(), b.AbsoluteUp()), 1, 1e-4);
                    ++pairs;
                    root.DeleteChild(obj);
                    break;
                }
            }
        }
        root.DeleteChild(f);
    }
    EXPECT_GT(pairs, 500u);
    RecordProperty("pairs", static_cast<int>(pairs));
    std::printf("joins of every part at every connector: %zu\n", pairs);
}

// --- Joins a builder expects -----------------------------------------------------------------

const TKitPart& Part(const std::string& number) {
    for (const TKitPart& p : Kit()) {
        if (p.Def.Number == number) {
            return p;
        }
    }
    throw std::runtime_error("no part " + number);
}

const TConn& ConnNamed(const TKitPart& p, const std::string& name) {
    for (const TConn& c : p.Def.Conns) {
        if (c.NameDe == name) {
            return c;
        }
    }
    throw std::runtime_error("no connector " + name + " on " + p.Def.Number);
}

/// Pose of the new part relative to the fixed one: its origin and axes in the fixed frame.
struct TRelPose {
    TD3 Origin, X, Y, Z;
};
TRelPose Join(const std::string& fixedNo, const std::string& fixedConn, const std::string& newNo,
              const std::string& newConn) {
    TObject f;
    f.Scale = 0.1;
    const TObject n =
        Place(f, ConnNamed(Part(fixedNo), fixedConn), ConnNamed(Part(newNo), newConn));
    return {n.Pos * 10, Cross(n.Up, n.Dir), n.Up, n.Dir};
}

void ExpectNear(TD3 a, TD3 b) {
    EXPECT_NEAR(a.X, b.X, 1e-4);
    EXPECT_NEAR(a.Y, b.Y, 1e-4);
    EXPECT_NEAR(a.Z, b.Z, 1e-4);
}

TEST(KitConnectors, PartsJoinWhereABuilderExpects) {
    {
        SCOPED_TRACE("a block stacked on a block sits one grid step higher, lined up");
        const TRelPose p = Join("40002", "Zapfen oben 1", "40002", "Nut unten 1");
        ExpectNear(p.Origin, {0, 15, 0});
        ExpectNear(p.X, {1, 0, 0});
        ExpectNear(p.Y, {0, 1, 0});
    }
    {
        SCOPED_TRACE("a block plugged on the end peg continues the row");
        const TRelPose p = Join("40002", "Stirnzapfen 1", "40001", "Stirnnut 1");
        ExpectNear(p.Origin, {15 + 7.5, 0, 0});
        ExpectNear(p.X, {1, 0, 0});
    }
    {
        SCOPED_TRACE("a plate on a block lies flat on its top");
        const TRelPose p = Join("40002", "Zapfen oben 1", "40402", "Nut unten 1");
        EXPECT_NEAR(p.Origin.Y, 7.5 + 1.5, 1e-4);
        ExpectNear(p.Y, {0, 1, 0});
    }
    {
        SCOPED_TRACE("an axle goes through the bore of a block along the bore");
        const TRelPose p = Join("40005", "Bohrung", "40302", "Achse 1");
        EXPECT_NEAR(std::abs(p.Z.Z), 1, 1e-6);
        EXPECT_NEAR(p.Origin.X, 0, 1e-4);
        EXPECT_NEAR(p.Origin.Y, 0, 1e-4);
    }
    {
        SCOPED_TRACE("a tyre sits centred on its rim");
        const TRelPose p = Join("40203", "Reifensitz", "40204", "Felgensitz");
        ExpectNear(p.Origin, {0, 0, 0});
        EXPECT_NEAR(std::abs(p.Z.Z), 1, 1e-6);
    }
    {
        SCOPED_TRACE("a gear slides onto the motor shaft");
        const TRelPose p = Join("40701", "Abtriebswelle", "40705", "Bohrung");
        const TConn& shaft = ConnNamed(Part("40701"), "Abtriebswelle");
        ExpectNear(p.Origin, {shaft.X, shaft.Y, shaft.Z});
        EXPECT_NEAR(std::abs(p.Z.Z), 1, 1e-6);
    }
    {
        SCOPED_TRACE("a plug's pin goes into the socket, the cable end points away");
        const TRelPose p = Join("40701", "Buchse 1", "C0007", "Stecker");
        ExpectNear(p.Z, {1, 0, 0});  // the plug's direction points into the motor (+X)
    }
    {
        SCOPED_TRACE("the upper hinge half stands upright on the lower one");
        const TRelPose p = Join("40009", "Gelenkbolzen", "40010", "Gelenkauge");
        ExpectNear(p.Origin, {0, 6, 0});
        ExpectNear(p.Y, {0, 1, 0});
    }
    {
        SCOPED_TRACE("a rail continues a rail");
        const TRelPose p = Join("42001", "Schienenende", "42001", "Schienenanfang");
        ExpectNear(p.Origin, {90, 0, 0});
        ExpectNear(p.X, {1, 0, 0});
    }
    {
        SCOPED_TRACE("a straight rail after the curve runs along +Z");
        const TRelPose p = Join("42002", "Schienenende", "42001", "Schienenanfang");
        ExpectNear(p.X, {0, 0, 1});
        ExpectNear(p.Origin, {45, 0, 45 + 45});
    }
    {
        SCOPED_TRACE("a figure stands on a peg");
        const TRelPose p = Join("40405", "Zapfen oben 1", "40801", "Fuß");
        EXPECT_NEAR(p.Origin.Y, 30, 1e-4);
        ExpectNear(p.Y, {0, 1, 0});
    }
}

TEST(KitConnectors, SystemsOnlyJoinThemselves) {
    // Every gauge has both sides, female as kind 0 and male as kind 1.
    std::map<float, std::set<int>> kinds;
    for (const TKitPart& part : Kit()) {
        for (const TConn& c : part.Def.Conns) {
            kinds[c.Thick].insert(c.Typ);
        }
    }
    const std::vector<float> systems = {
        gauge::Peg,    gauge::Axle,    gauge::Clip,   gauge::Hose,  gauge::Cable,    gauge::Statics,
        gauge::Hinge,  gauge::LampCap, gauge::Rail,   gauge::Ball,  gauge::Quendrix, gauge::Tyre30,
        gauge::Tyre45, gauge::Tyre60,  gauge::Tyre75, gauge::Tyre90};
    EXPECT_EQ(std::set<float>(systems.begin(), systems.end()).size(), systems.size())
        << "each system has a gauge of its own";
    for (float g : systems) {
        EXPECT_EQ(kinds[g], (std::set<int>{MaleKind, FemaleKind})) << "gauge " << g;
    }
    EXPECT_EQ(kinds.size(), systems.size()) << "no connector outside the systems";
    // Holes drilled into a plastic strip are kind 0 with the drill diameter as gauge: a 4 mm
    // hole takes the block pegs, a 5 mm hole the axles, and never a socket or a bore.
    EXPECT_EQ(kinds[4.0f], (std::set<int>{FemaleKind, MaleKind}));
    EXPECT_EQ(FemaleKind, 0);
    EXPECT_EQ(gauge::Peg, 4.0f);
    EXPECT_EQ(gauge::Axle, 5.0f);
    // Connector names are unique on a part: the lists resolve a name to one connector.
    for (const TKitPart& part : Kit()) {
        std::set<std::string> de, en;
        for (const TConn& c : part.Def.Conns) {
            EXPECT_TRUE(de.insert(c.NameDe).second) << part.Def.Number << " " << c.NameDe;
            EXPECT_TRUE(en.insert(c.NameEng).second) << part.Def.Number << " " << c.NameEng;
        }
    }
}

}  // namespace
}  // namespace kx::kitgen
