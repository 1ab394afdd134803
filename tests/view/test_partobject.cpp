// A placed part's scene object: mesh sharing, offset before texture coordinates, materials,
// outline shader, and connector arrows coloured by kind.
#include <gtest/gtest.h>

#include "view/u_partobject.h"

using namespace kx;

namespace {

::testing::AssertionResult Near(const TVector3f& a, const TVector3f& b, float tol = 1e-4f) {
    if (std::abs(a.X - b.X) <= tol && std::abs(a.Y - b.Y) <= tol && std::abs(a.Z - b.Z) <= tol) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "(" << a.X << ", " << a.Y << ", " << a.Z << ") != ("
                                         << b.X << ", " << b.Y << ", " << b.Z << ")";
}

TMeshPtr SquareMesh() {
    auto m = std::make_shared<TMesh>();
    m->Positions = {{0, 0, 0}, {10, 0, 0}, {0, 10, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}};
    m->Normals.assign(6, {0, 0, 1});
    return m;
}

struct TFixture : ::testing::Test {
    TScene scene;
    TPartMeshCache meshes;
    TMeshPtr base = SquareMesh();
    TFixture() { BuildMainScene(scene); }
    TFreeForm& Add(const std::string& name, const TPartLook& look,
                   const TPartViewState& view = {}) {
        return AddPartObject(scene, *scene.PartsRoot(), name, base, look, view, meshes);
    }
};

using PartObject = TFixture;

}  // namespace

TEST_F(PartObject, StartsAtTheOriginScaledWithBothMaterials) {
    TPartLook look;
    look.Color = 0x2040FF;  // red 255, green 64, blue 32
    look.Alpha = 0.5;
    TPartViewState view;
    view.PolygonMode = TPolygonMode::Lines;
    scene.PartsRoot()->SetDirection({1, 0, 0});
    TFreeForm& part = Add("F31010_1", look, view);

    EXPECT_EQ(part.Parent(), scene.PartsRoot());
    EXPECT_EQ(part.Name(), "F31010_1");
    EXPECT_TRUE(part.Visible());
    EXPECT_FALSE(part.ShowAxes());
    EXPECT_TRUE(Near(part.Position(), {0, 0, 0}));
    EXPECT_TRUE(Near(part.Direction(), {1, 0, 0}));  // the parts root's direction
    EXPECT_TRUE(Near(part.Scale(), {0.1f, 0.1f, 0.1f}));

    const TMaterial& own = part.Material();
    EXPECT_EQ(ColorToWin(own.Diffuse().Rgb()), 0x2040FFu);
    EXPECT_EQ(own.Diffuse().A, 0.5f);
    EXPECT_EQ(own.Emission(), (TColor3f{0, 0, 0}));
    EXPECT_EQ(own.Blending(), TBlendingMode::Transparent);
    EXPECT_EQ(own.PolygonMode(), TPolygonMode::Lines);
    EXPECT_EQ(own.LibMaterialName(), "MATF31010_1");

    TMaterialPtr lib = scene.MaterialLibrary().Find("MATF31010_1");
    ASSERT_TRUE(lib);
    EXPECT_EQ(part.LibMaterial(), lib);
    EXPECT_EQ(ColorToWin(lib->Diffuse().Rgb()), 0x2040FFu);
    EXPECT_EQ(lib->Diffuse().A, 0.5f);
    EXPECT_EQ(lib->Blending(), TBlendingMode::Transparent);
    EXPECT_FALSE(lib->HasShader());
    EXPECT_EQ(lib->TextureFile(), "");
}

TEST_F(PartObject, PartsOfOneDefinitionShareOneMesh) {
    TPartLook plain;
    TFreeForm& a = Add("F1_1", plain);
    TFreeForm& b = Add("F1_2", plain);
    EXPECT_EQ(a.Mesh(), base);  // nothing to change: the cached mesh itself
    EXPECT_EQ(b.Mesh(), base);

    TPartLook shifted;
    shifted.Offset = {0, -1.5f, 0};
    TFreeForm& c = Add("F2_1", shifted);
    TFreeForm& d = Add("F2_2", shifted);
    EXPECT_NE(c.Mesh(), base);
    EXPECT_EQ(c.Mesh(), d.Mesh());
    EXPECT_EQ(meshes.Count(), 1u);
    EXPECT_TRUE(Near(c.Mesh()->Positions[2], {0, 8.5f, 0}));
    EXPECT_TRUE(Near(base->Positions[2], {0, 10, 0}));  // the cached mesh is untouched

    TFreeForm& e = AddPartObject(scene, *scene.PartsRoot(), "F3_1", nullptr, plain, {}, meshes);
    EXPECT_EQ(e.Mesh(), nullptr);  // an unreadable mesh: an object without geometry
}

TEST_F(PartObject, TextureCoordinatesFollowTheOffsetVertices) {
    TPartLook look;
    look.Offset = {5, 0, 0};
    look.TextureFile = "/kit/icon/wood.bmp";
    look.TextureTopLeftTransparent = true;
    look.TxWidth = 10;  // repeats every 10 mesh units along X, counted after the offset
    look.TxHeight = 0;  // counts as 1
    look.TxOfsY = 2;
    TFreeForm& part = Add("F4_1", look);
    const TMesh& m = *part.Mesh();
    ASSERT_EQ(m.TexCoords.size(), m.Positions.size());
    // Vertex (0, 0) is (5, 0) after the offset.
    EXPECT_FLOAT_EQ(m.TexCoords[0][0], 0.5f);
    EXPECT_FLOAT_EQ(m.TexCoords[0][1], 2.0f);
    // Vertex (10, 10) is (15, 10).
    EXPECT_FLOAT_EQ(m.TexCoords[4][0], 1.5f);
    EXPECT_FLOAT_EQ(m.TexCoords[4][1], 12.0f);
    EXPECT_EQ(part.LibMaterial()->TextureFile(), "/kit/icon/wood.bmp");
    EXPECT_TRUE(part.LibMaterial()->TextureTopLeftTransparent());

    // An untextured part with the same offset gets a mesh of its own, without coordinates.
    look.TextureFile.clear();
    TFreeForm& plain = Add("F4_2", look);
    EXPECT_NE(plain.Mesh(), part.Mesh());
    EXPECT_TRUE(plain.Mesh()->TexCoords.empty());
}

TEST_F(PartObject, OutlineShaderWhileTheModeIsOnUnlessDisabled) {
    TPartLook look;
    look.Alpha = 0.4;
    TPartViewState view;
    view.OutlineMode = true;
    view.OutlineWidth = 5;
    TFreeForm& a = Add("F5_1", look, view);
    ASSERT_TRUE(a.LibMaterial()->HasShader());
    EXPECT_EQ(a.LibMaterial()->Shader()->LineWidth, 5);
    EXPECT_TRUE(a.LibMaterial()->Shader()->Lighting);
    EXPECT_EQ(a.LibMaterial()->Diffuse().A, 1);  // drawn opaque while shaded
    EXPECT_EQ(a.Material().Diffuse().A, 0.4f);   // the part's own alpha is kept

    look.DisableShader = true;
    TFreeForm& b = Add("F5_2", look, view);
    EXPECT_FALSE(b.LibMaterial()->HasShader());
    EXPECT_EQ(b.LibMaterial()->Diffuse().A, 0.4f);

    view.ForceShader = true;  // a rebuild ignores the definition's wish
    TFreeForm& c = Add("F5_3", look, view);
    EXPECT_TRUE(c.LibMaterial()->HasShader());
}

TEST_F(PartObject, ArrowsPerConnectorColouredByKind) {
    TPartLook look;
    look.Arrows = {{{1, 2, 3}, 0, 0, 0, 0}, {{0, 0, 7.5f}, 90, 90, 0, 1}, {{}, 0, 0, 90, 2}};
    TFreeForm& part = Add("F6_1", look);
    ASSERT_EQ(part.Count(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        ASSERT_EQ(part.Child(i).Kind(), TSceneObjectKind::ArrowLine);
    }
    auto& a0 = static_cast<TArrowLine&>(part.Child(0));
    auto& a1 = static_cast<TArrowLine&>(part.Child(1));
    auto& a2 = static_cast<TArrowLine&>(part.Child(2));
    EXPECT_EQ(a0.Color(), (TColor3f{1, 1, 0}));  // kind 0: yellow
    EXPECT_EQ(a1.Color(), (TColor3f{0, 0, 1}));  // others: blue
    EXPECT_EQ(a2.Color(), (TColor3f{0, 0, 1}));
    EXPECT_EQ(a0.Length(), 40);
    EXPECT_EQ(a0.Sides(), 4);
    EXPECT_TRUE(Near(a0.Position(), {1, 2, 3}));  // mesh units, in the part's frame
    EXPECT_TRUE(Near(a0.AbsolutePosition(), {0.1f, 0.2f, 0.3f}));

    // Pitch first, then roll about the pitched direction.
    EXPECT_TRUE(Near(a1.Direction(), {0, 1, 0}));
    EXPECT_TRUE(Near(a1.Up(), {-1, 0, 0}));
    EXPECT_EQ(a1.PitchAngle(), 90);
    EXPECT_EQ(a1.RollAngle(), 90);
    EXPECT_TRUE(Near(a2.Direction(), {1, 0, 0}));

    EXPECT_FALSE(a0.Visible());  // connectors hidden by default
    EXPECT_TRUE(a0.ShowAxes());

    TPartViewState rebuild;
    rebuild.ConnectorsHidden = false;
    rebuild.ArrowAxes = false;
    TFreeForm& again = Add("F6_2", look, rebuild);
    EXPECT_TRUE(again.Child(0).Visible());
    EXPECT_FALSE(again.Child(0).ShowAxes());
}

TEST_F(PartObject, AddingANameAgainReplacesTheLibraryMaterial) {
    TPartLook look;
    TFreeForm& a = Add("F7_1", look);
    scene.PartsRoot()->DeleteChild(a);
    look.Color = 0x0000FF;
    TFreeForm& b = Add("F7_1", look);
    EXPECT_EQ(scene.MaterialLibrary().Count(), 1u);
    EXPECT_EQ(ColorToWin(scene.MaterialLibrary().Find("MATF7_1")->Diffuse().Rgb()), 0x0000FFu);
    EXPECT_EQ(b.LibMaterial(), scene.MaterialLibrary().Find("matf7_1"));
}
