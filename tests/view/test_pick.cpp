// Picking: the mesh hierarchy against a plain search, and the scene walk's rules (front faces,
// nearest first, hidden and non-mesh objects, nested meshes).
#include <gtest/gtest.h>

#include <random>

#include "join_fixture.h"
#include "view/u_pick.h"

using namespace kx;
using namespace kxtest;

namespace {

/// The plain search: every triangle's plane, then whether the point lies inside all edges.
std::optional<float> PlainNearest(const TMesh& mesh, const TVector3f& o, const TVector3f& d) {
    std::optional<float> best;
    for (size_t t = 0; t < mesh.TriangleCount(); ++t) {
        const TVector3f a = mesh.Positions[t * 3], b = mesh.Positions[t * 3 + 1],
                        c = mesh.Positions[t * 3 + 2];
        const TVector3f n = Cross(b - a, c - a);
        const float denom = Dot(n, d);
        if (std::fabs(denom) < 1e-12f) {
            continue;
        }
        const float s = Dot(n, a - o) / denom;
        if (s < 0) {
            continue;
        }
        const TVector3f p = o + d * s;
        const bool inside = Dot(Cross(b - a, p - a), n) >= -1e-6f &&
                            Dot(Cross(c - b, p - b), n) >= -1e-6f &&
                            Dot(Cross(a - c, p - c), n) >= -1e-6f;
        if (inside && (!best || s < *best)) {
            best = s;
        }
    }
    return best;
}

TEST(MeshHierarchy, FindsTheSameNearestHitAsAPlainSearch) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> coord(-50, 50);
    std::uniform_real_distribution<float> small(-4, 4);
    TMesh mesh;
    for (int i = 0; i < 3000; ++i) {
        const TVector3f centre{coord(random), coord(random), coord(random)};
        for (int k = 0; k < 3; ++k) {
            mesh.Positions.push_back(centre +
                                     TVector3f{small(random), small(random), small(random)});
        }
    }
    const TMeshBvh bvh(mesh);
    EXPECT_GT(bvh.NodeCount(), 100u);
    int hits = 0;
    for (int i = 0; i < 400; ++i) {
        const TVector3f o{coord(random) * 2, coord(random) * 2, coord(random) * 2};
        const TVector3f target{coord(random), coord(random), coord(random)};
        const TVector3f d = Normalized(target - o);
        const auto expected = PlainNearest(mesh, o, d);
        const auto got = bvh.Nearest(o, d);
        ASSERT_EQ(expected.has_value(), got.has_value()) << i;
        if (expected) {
            ++hits;
            EXPECT_NEAR(got->T, *expected, 1e-3f) << i;
        }
    }
    EXPECT_GT(hits, 50);
}

TEST(MeshHierarchy, EmptyAndAxisParallelRays) {
    const TMeshBvh empty{TMesh{}};
    EXPECT_FALSE(empty.Nearest({0, 0, 0}, {0, 0, 1}).has_value());
    const TMeshBvh box(BoxMesh({-1, -1, -1}, {1, 1, 1}));
    const auto hit = box.Nearest({0, 0, -5}, {0, 0, 1});
    ASSERT_TRUE(hit.has_value());
    EXPECT_NEAR(hit->T, 4, 1e-5f);
    EXPECT_LT(Dot(hit->Normal, TVector3f{0, 0, 1}), 0);  // the face looks back at the origin
    // Along an edge plane of the box, and from inside it.
    EXPECT_TRUE(box.Nearest({1, 0, -5}, {0, 0, 1}).has_value());
    const auto inside = box.Nearest({0, 0, 0}, {0, 1, 0});
    ASSERT_TRUE(inside.has_value());
    EXPECT_NEAR(inside->T, 1, 1e-5f);
    EXPECT_FALSE(box.Nearest({3, 0, -5}, {0, 0, 1}).has_value());
}

class Picking : public JoinTest {
protected:
    Picking() {
        WriteDef(Def("20001", {}));
        TSceneCamera& camera = *m_scene.Camera();
        camera.SetPosition({0, 0, -50});
        m_ray = ViewRay(camera, 100, 100, 200, 200);
    }
    TRay m_ray;
    TPicker m_picker;
};

TEST_F(Picking, TheViewRayGoesThroughThePixel) {
    EXPECT_TRUE(Near(m_ray.Origin, {0, 0, -50}));
    EXPECT_TRUE(Near(m_ray.Direction, {0, 0, 1}, 1e-3f));
    // Pixel rows count downwards: a pixel above the centre looks upwards.
    const TRay up = ViewRay(*m_scene.Camera(), 100, 20, 200, 200);
    EXPECT_GT(up.Direction.Y, 0.01f);
    EXPECT_NEAR(Length(up.Direction), 1, 1e-5f);
}

TEST_F(Picking, NearestFirstAndHiddenOrDistantPartsLeftOut) {
    TFreeForm& far = Place("20001");
    far.SetPosition({0, 0, 5});
    TFreeForm& near = Place("20001");
    near.SetPosition({0, 0, -5});
    TFreeForm& aside = Place("20001");
    aside.SetPosition({10, 0, 0});
    TFreeForm& hidden = Place("20001");
    hidden.SetPosition({0, 0, -10});
    hidden.SetVisible(false);

    const std::vector<TPickHit> hits = m_picker.PickObjects(*m_scene.PartsRoot(), m_ray);
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_EQ(hits[0].Object, &near);
    EXPECT_EQ(hits[1].Object, &far);
    EXPECT_NEAR(hits[0].Distance, 44, 1e-3f);  // the box's front face at z = -6
    EXPECT_TRUE(Near(hits[0].Point, {0, 0, -6}, 1e-3f));
    EXPECT_EQ(m_picker.PickObject(*m_scene.PartsRoot(), m_ray), &near);
    // One mesh, one hierarchy, whatever the number of parts that show it.
    EXPECT_EQ(m_picker.CachedMeshes(), 1u);
    // What the picker keeps between picks follows the scene's changes.
    near.SetPosition({0, 20, -5});
    EXPECT_EQ(m_picker.PickObject(*m_scene.PartsRoot(), m_ray), &far);
    hidden.SetVisible(true);
    EXPECT_EQ(m_picker.PickObject(*m_scene.PartsRoot(), m_ray), &hidden);
    // Removed through the model, so no record keeps pointing at the freed object.
    m_model->DeleteBaustein(std::string(hidden.Name()));
    EXPECT_EQ(m_picker.PickObject(*m_scene.PartsRoot(), m_ray), &far);
}

TEST_F(Picking, APartBehindAFaceTurnedAwayIsPicked) {
    TFreeForm& behind = Place("20001");
    behind.SetPosition({0, 0, 5});
    // A sheet in front: its only face looks away from the camera (like the far side of a
    // transparent part), so the ray passes it.
    auto& sheet = m_scene.PartsRoot()->AddNewChild<TFreeForm>("sheet");
    TMesh quad;
    quad.Positions = {{-5, -5, 0}, {5, 5, 0}, {-5, 5, 0}, {-5, -5, 0}, {5, -5, 0}, {5, 5, 0}};
    sheet.SetMesh(std::make_shared<TMesh>(quad));
    EXPECT_GT(
        Dot(Cross(quad.Positions[1] - quad.Positions[0], quad.Positions[2] - quad.Positions[0]),
            TVector3f{0, 0, 1}),
        0);
    EXPECT_EQ(m_picker.PickObject(*m_scene.PartsRoot(), m_ray), &behind);

    // Turned round, the sheet faces the camera and wins.
    sheet.SetTurnAngle(180);
    EXPECT_EQ(m_picker.PickObject(*m_scene.PartsRoot(), m_ray), &sheet);
}

TEST_F(Picking, TheNearestHitOfAnObjectDecidesEvenIfAFartherFaceLooksBack) {
    // Two parallel faces: the nearer one turned away, the farther one facing the camera.
    auto& two = m_scene.PartsRoot()->AddNewChild<TFreeForm>("two");
    TMesh m;
    m.Positions = {{-5, -5, 0}, {5, 5, 0},  {-5, 5, 0},  // normal +Z: away from the camera
                   {-5, -5, 3}, {-5, 5, 3}, {5, 5, 3}};  // normal -Z: towards it
    two.SetMesh(std::make_shared<TMesh>(m));
    EXPECT_TRUE(m_picker.PickObjects(*m_scene.PartsRoot(), m_ray).empty());
    const auto cast = m_picker.RayCast(two, m_ray);
    ASSERT_TRUE(cast.has_value());
    EXPECT_FALSE(cast->FrontFacing);
    EXPECT_NEAR(cast->Distance, 50, 1e-3f);
}

TEST_F(Picking, NestedMeshesAreWalkedAndGroupsAreNot) {
    TFreeForm& outer = Place("20001");
    outer.SetPosition({20, 0, 0});  // off the ray
    auto& nested = outer.AddNewChild<TFreeForm>("nested");
    nested.SetMesh(outer.Mesh());
    nested.SetPosition({-200, 0, 0});  // in the outer part's units: back on the ray
    EXPECT_EQ(m_picker.PickObject(*m_scene.PartsRoot(), m_ray), &nested);

    nested.SetVisible(false);
    EXPECT_EQ(m_picker.PickObject(*m_scene.PartsRoot(), m_ray), nullptr);

    auto& group = m_scene.PartsRoot()->AddNewChild<TDummyCube>("group");
    auto& inGroup = group.AddNewChild<TFreeForm>("inGroup");
    inGroup.SetMesh(outer.Mesh());
    EXPECT_EQ(m_picker.PickObject(*m_scene.PartsRoot(), m_ray), nullptr);
}

}  // namespace
