// Test fixture for joining and the view's handling: made-up parts, scene, caches, model.
#include "join_fixture.h"

#include <cmath>

#include "catalogue/u_stl.h"

using namespace kx;

namespace kxtest {

TMesh BoxMesh(const TVector3f& lo, const TVector3f& hi) {
    TMesh m;
    const TVector3f c[8] = {{lo.X, lo.Y, lo.Z}, {hi.X, lo.Y, lo.Z}, {hi.X, hi.Y, lo.Z},
                            {lo.X, hi.Y, lo.Z}, {lo.X, lo.Y, hi.Z}, {hi.X, lo.Y, hi.Z},
                            {hi.X, hi.Y, hi.Z}, {lo.X, hi.Y, hi.Z}};
    // Each face counter-clockwise seen from outside.
    const int faces[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4},
                             {3, 7, 6, 2}, {0, 4, 7, 3}, {1, 2, 6, 5}};
    for (const auto& f : faces) {
        const TVector3f n = Normalized(Cross(c[f[1]] - c[f[0]], c[f[2]] - c[f[0]]));
        for (int t : {0, 2}) {
            const int idx[3] = {f[0], f[t == 0 ? 1 : 2], f[t == 0 ? 2 : 3]};
            for (int i : idx) {
                m.Positions.push_back(c[i]);
                m.Normals.push_back(n);
            }
        }
    }
    return m;
}

TConn Conn(int typ, float thick, TVector3f at, std::array<float, 6> a, std::string name) {
    TConn c;
    c.Typ = typ;
    c.Thick = thick;
    c.X = at.X;
    c.Y = at.Y;
    c.Z = at.Z;
    c.PF = a[0];
    c.RF = a[1];
    c.TF = a[2];
    c.PN = a[3];
    c.RN = a[4];
    c.TN = a[5];
    c.Name = c.NameDe = c.NameEng = std::move(name);
    return c;
}

JoinTest::JoinTest() : m_files(m_dir.Path() / "prog", m_dir.Path() / "user") {
    BuildMainScene(m_scene);
    m_model = std::make_unique<TkxMain>(m_scene, m_files, m_defs, m_meshes);
    m_model->SetView(&m_ports);
}

JoinTest::~JoinTest() {
    m_model.reset();
}

TDefObj JoinTest::Def(const std::string& number, std::vector<TConn> conns) const {
    TDefObj def;
    def.Number = number;
    def.OrgNumber = number;
    def.Name = def.NameDe = def.NameEng = "Teil " + number;
    def.Conns = std::move(conns);
    return def;
}

void JoinTest::WriteDef(TDefObj def, float half) {
    const auto prog = m_dir.Path() / "prog";
    ASSERT_TRUE(SaveDefinition(def, prog / "def" / (def.Number + ".def")));
    ASSERT_TRUE(WriteStlFile(prog / "hires" / (def.Number + ".stl"),
                             BoxMesh({-half, -half, -half}, {half, half, half})));
    m_files.Refresh();
    m_defs.Invalidate(def.Number);
}

TFreeForm& JoinTest::Place(const std::string& number) {
    const std::string name = m_model->AddBaustein(number);
    EXPECT_FALSE(name.empty()) << number;
    TFreeForm* o = Object(name);
    if (!o) {
        throw std::runtime_error("part not placed: " + number);
    }
    return *o;
}

TFreeForm* JoinTest::Object(const std::string& name) const {
    const TBauteil* r = m_model->FindBauteil(name);
    return r ? r->Object() : nullptr;
}

::testing::AssertionResult Near(const TVector3f& a, const TVector3f& b, float tol) {
    if (std::fabs(a.X - b.X) <= tol && std::fabs(a.Y - b.Y) <= tol && std::fabs(a.Z - b.Z) <= tol) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "(" << a.X << ", " << a.Y << ", " << a.Z << ") vs ("
                                         << b.X << ", " << b.Y << ", " << b.Z << ")";
}

}  // namespace kxtest
