// The model's exports: number format, what each format holds, own colours, hidden parts,
// unique X3D names, lights, failures that leave no file behind.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <random>
#include <regex>
#include <set>

#include "foundation/u_numfmt.h"
#include "foundation/u_text.h"
#include "model/u_export.h"
#include "model_fixture.h"

using namespace kx;
using kxtest::ModelTest;

namespace {

class ExportTest : public ModelTest {
protected:
    /// The file the model writes in that format.
    std::string Exported(TExportFormat format, uint32_t background = 0xFFFFFF) {
        const std::string file = (m_dir.Path() / ("out" + ExportExtension(format))).string();
        TModelExportResult r;
        switch (format) {
            case TExportFormat::Raw:
                r = m_model->ExportAsRaw(file);
                break;
            case TExportFormat::Vrml:
                r = m_model->ExportAsVRML(file);
                break;
            case TExportFormat::Pov:
                r = m_model->ExportAsPOV(file, background);
                break;
            case TExportFormat::X3DShaded:
            case TExportFormat::X3DFlat:
                r = m_model->ExportAsX3D(file, format == TExportFormat::X3DFlat);
                break;
        }
        EXPECT_TRUE(r.Ok) << r.Error;
        return kxtest::ReadFile(file);
    }
    static size_t Count(const std::string& text, const std::string& what) {
        size_t n = 0;
        for (size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) {
            ++n;
        }
        return n;
    }
};

const TExportFormat kAllFormats[] = {TExportFormat::Raw, TExportFormat::Vrml, TExportFormat::Pov,
                                     TExportFormat::X3DShaded, TExportFormat::X3DFlat};

}  // namespace

TEST(ExportNumbers, FixedNotationRoundsTheExactValueOfTheSingle) {
    const struct {
        float Value;
        int Decimals;
        const char* Text;
    } cases[] = {
        {0.1f, 8, "0.10000000"},
        {0.8f, 8, "0.80000001"},
        {-2.5f, 8, "-2.50000000"},
        {0.8f, 2, "0.80"},
        {0.0f, 8, "0.00000000"},
        {-0.0f, 8, "0.00000000"},
        {-1e-9f, 8, "0.00000000"},
        {1234567.f, 8, "1234567.00000000"},
        {1.0f / 512, 8, "0.00195312"},  // a tie goes to the even digit
        {8.0f / 255, 8, "0.03137255"},
        {3.14159265f, 8, "3.14159274"},
        {255.f, 0, "255"},
        {1e20f, 2, "100000002004087734272.00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatFixed(c.Value, c.Decimals), c.Text) << c.Value;
    }
    // Any single agrees with the standard library's exact conversion.
    std::mt19937 rng(7);
    std::uniform_int_distribution<uint32_t> bits;
    for (int i = 0; i < 200000; ++i) {
        uint32_t b = bits(rng);
        b = (b & 0x807FFFFF) | ((100 + b % 60) << 23);  // magnitudes about 1e-8 to 1e10
        float v;
        std::memcpy(&v, &b, sizeof v);
        char expected[128];
        const auto end = std::to_chars(expected, expected + sizeof expected, static_cast<double>(v),
                                       std::chars_format::fixed, 8);
        std::string want(expected, end.ptr);
        if (want.find_first_not_of("-0.") == std::string::npos) {
            want = "0.00000000";  // a negative value that rounds to zero carries no sign
        }
        ASSERT_EQ(FormatFixed(v, 8), want) << std::hexfloat << v;
    }
}

TEST_F(ExportTest, AnEmptyModelGivesTheFrameOfEachFormat) {
    EXPECT_EQ(Exported(TExportFormat::Raw), "");
    EXPECT_EQ(Exported(TExportFormat::Vrml),
              "#VRML V1.0 ascii\r\n#this document was created by Korvex Designer\r\n");
    const std::string pov = Exported(TExportFormat::Pov, 0xC08000);
    EXPECT_TRUE(
        pov.starts_with("// 3D-Modell POV-Ray Format\r\n"
                        "// this document was created with Korvex Designer\r\n\r\n"
                        "#include \"colors.inc\"\r\n\r\n"
                        "background { color red 0.00000000 green 0.50196081 blue "
                        "0.75294119 }\r\n\r\ncamera {\r\n"))
        << pov;
    // Only the camera light shines at start; it stands at the camera.
    EXPECT_TRUE(
        pov.ends_with("}\r\n\r\nlight_source { <0.00000000,-1.00000000,10.00000000> "
                      "colour White }\r\n\r\n"))
        << pov;
    const std::string head =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
        "<!DOCTYPE X3D PUBLIC \"ISO//Web3D//DTD X3D 3.2//EN\" "
        "\"http://www.web3d.org/specifications/x3d-3.2.dtd\">\r\n"
        "<X3D profile=\"Interchange\" version=\"3.2\"\r\n"
        "     xmlns:xsd=\"http://www.w3.org/2001/XMLSchema-instance\"\r\n"
        "     xsd:noNamespaceSchemaLocation=\"http://www.web3d.org/specifications/"
        "x3d-3.2.xsd\">\r\n<Scene>\r\n";
    EXPECT_EQ(Exported(TExportFormat::X3DFlat), head + "</Scene>\r\n</X3D>\r\n");
    const std::string shaded = Exported(TExportFormat::X3DShaded);
    EXPECT_TRUE(shaded.starts_with(head + "  <Transform DEF=\"Point_TRANSFORM\"\r\n"));
    EXPECT_EQ(Count(shaded, "<Viewpoint"), 1u);
    EXPECT_TRUE(shaded.ends_with("  </Transform>\r\n</Scene>\r\n</X3D>\r\n"));
}

TEST_F(ExportTest, PartsAreWrittenWhereTheViewShowsThemInTheirOwnColour) {
    const std::string name = Add("31010");
    MoveAndRefresh(name, {1, 2, 3});
    m_model->SelectBaustein(name);  // drawn in the highlight colour from now on
    ASSERT_NE(ObjectColour(name), 0x0000FFu);

    // The test mesh's first triangle (0,0,0) (10,0,0) (0,10,0), scaled by 0.1 and moved.
    const std::string raw = Exported(TExportFormat::Raw);
    EXPECT_TRUE(raw.starts_with(name + "\r\n1.00000000 2.00000000 3.00000000   "
                                       "2.00000000 2.00000000 3.00000000   "
                                       "1.00000000 3.00000000 3.00000000\r\n"))
        << raw;
    EXPECT_EQ(Count(raw, "\r\n"), 1u + 5u);

    const std::string vrml = Exported(TExportFormat::Vrml);
    EXPECT_NE(vrml.find("  diffuseColor 1.00 0.00 0.00 \r\n"), std::string::npos) << vrml;
    EXPECT_NE(vrml.find("1.00000000 2.00000000 3.00000000,2.00000000 2.00000000 "
                        "3.00000000,1.00000000 3.00000000 3.00000000,\r\n"),
              std::string::npos);
    EXPECT_NE(vrml.find("DEF " + name +
                        " IndexedFaceSet\r\n{\r\n  coordIndex [ \r\n0,1,2,-1,\r\n"
                        "3,4,5,-1,\r\n"),
              std::string::npos);

    // POV-Ray turns points and normals alike: the normal (0, 0, 1) faces the camera's side.
    const std::string pov = Exported(TExportFormat::Pov);
    EXPECT_NE(pov.find("mesh {\r\n// " + name +
                       "\r\nsmooth_triangle {<1.00000000,-2.00000000,-3.00000000>,"
                       "<0.00000000,0.00000000,-0.10000000>,<2.00000000,-2.00000000,"
                       "-3.00000000>,<0.00000000,0.00000000,-0.10000000>,"),
              std::string::npos)
        << pov;
    EXPECT_NE(pov.find("pigment { colour red 1.00000000 green 0.00000000 blue 0.00000000 }"),
              std::string::npos);

    const std::string x3d = Exported(TExportFormat::X3DFlat);
    EXPECT_NE(x3d.find("translation=\"1.00000000 2.00000000 3.00000000\""), std::string::npos);
    EXPECT_NE(x3d.find("<Material emissiveColor='1.00000000 0.00000000 0.00000000' "
                       "diffuseColor='1.00000000 0.00000000 0.00000000'/>"),
              std::string::npos);
    EXPECT_NE(x3d.find("0.00000000 0.00000000 0.00000000 1.00000000 0.00000000 0.00000000 "
                       "0.00000000 1.00000000 0.00000000 \r\n"),
              std::string::npos)
        << "X3D keeps the translation out of the vertices";
}

TEST_F(ExportTest, EarlierAndHiddenPhasesAndX3DNames) {
    const std::string first = Add("31010");
    const std::string second = Add("31010");
    m_model->SetBauphase(2);
    const std::string later = Add("31010");
    Param().SetPaintOldWhite(true);
    m_model->Repaint();
    ASSERT_EQ(ObjectColour(first), 0xFFFFFFu);  // earlier phases drawn white
    EXPECT_EQ(Count(Exported(TExportFormat::Pov),
                    "pigment { colour red 1.00000000 green "
                    "0.00000000 blue 0.00000000 }"),
              3u);

    m_model->SetPhaseVisible(1, false);
    m_model->Repaint();
    ASSERT_FALSE(Object(first)->Visible());
    for (TExportFormat f : kAllFormats) {
        const std::string text = Exported(f);
        const bool x3d = f == TExportFormat::X3DShaded || f == TExportFormat::X3DFlat;
        EXPECT_EQ(text.find(first) != std::string::npos, !x3d) << static_cast<int>(f);
        EXPECT_NE(text.find(later), std::string::npos);
    }

    // Every DEF of an X3D file is its own and a valid name.
    m_model->SetPhaseVisible(1, true);
    m_model->Repaint();
    const std::string x3d = Exported(TExportFormat::X3DShaded);
    std::set<std::string> defs;
    const std::regex def("DEF=\"([^\"]*)\"");
    for (auto it = std::sregex_iterator(x3d.begin(), x3d.end(), def); it != std::sregex_iterator();
         ++it) {
        const std::string d = (*it)[1];
        EXPECT_TRUE(defs.insert(d).second) << d;
        EXPECT_TRUE(std::regex_match(d, std::regex("[A-Za-z_][A-Za-z0-9_]*"))) << d;
    }
    EXPECT_EQ(defs, (std::set<std::string>{first, second, later, "P" + first.substr(1),
                                           "P" + second.substr(1), "P" + later.substr(1),
                                           "Point_TRANSFORM", "LA_Camera_Light", "Camera_TRANSFORM",
                                           "CA_Camera"}));
}

TEST_F(ExportTest, BlackDefinitionsGreyAndTheMetallicFinish) {
    const std::string grey = Add("31010");
    const std::string silver = Add("31010");
    const std::string almost = Add("31010");
    const std::pair<std::string, uint32_t> colours[] = {
        {grey, 0x505050}, {silver, 0xFAFAFA}, {almost, 0xFAFAFB}};
    for (const auto& [name, colour] : colours) {
        m_model->FindBauteil(name)->SetColor(colour);
    }
    m_model->Repaint();
    const std::string x3d = Exported(TExportFormat::X3DFlat);
    EXPECT_NE(x3d.find("diffuseColor='0.03137255 0.03137255 0.03137255'"), std::string::npos);
    EXPECT_EQ(ObjectColour(grey), 0x505050u) << "the view keeps the grey";
    EXPECT_NE(Exported(TExportFormat::Vrml).find("  diffuseColor 0.31 0.31 0.31 \r\n"),
              std::string::npos);
    const std::string pov = Exported(TExportFormat::Pov);
    EXPECT_NE(pov.find("pigment { colour red 0.31372550 green 0.31372550 blue 0.31372550 }"),
              std::string::npos);
    EXPECT_EQ(Count(pov, "finish { reflection 0.75 metallic }"), 1u);
    const size_t metallic = pov.find("finish {");
    EXPECT_GT(metallic, pov.find("// " + silver));
    EXPECT_LT(metallic, pov.find("// " + almost));
}

TEST_F(ExportTest, OnlyShiningLightsAreWrittenWhereTheyStand) {
    m_scene.Light(2)->SetShining(false);
    m_scene.Light(1)->SetShining(true);
    m_scene.Light(5)->SetShining(true);
    const std::string pov = Exported(TExportFormat::Pov);
    EXPECT_EQ(Count(pov, "light_source"), 2u);
    EXPECT_NE(pov.find("light_source { <-50.00000000,-50.00000000,-50.00000000> colour White }\r\n"
                       "light_source { <-50.00000000,-50.00000000,50.00000000> colour White }"),
              std::string::npos)
        << pov;
}

TEST_F(ExportTest, HosesAreWrittenWithTheParts) {
    std::string name;
    TPipeEx* hose = m_model->NewSchlauch(0, name);
    ASSERT_NE(hose, nullptr);
    m_model->AddSchlauchNode(name, 0, 0, 0);
    m_model->AddSchlauchNode(name, 0, 5, 0);
    hose->SetColour(0x00FF00);
    const std::string vrml = Exported(TExportFormat::Vrml);
    EXPECT_NE(vrml.find("DEF MATPIPE_0 Material\r\n{\r\n  ambientColor 0.20 0.20 0.20 \r\n"
                        "  diffuseColor 0.00 1.00 0.00 \r\n"),
              std::string::npos)
        << vrml.substr(0, 400);
    EXPECT_NE(vrml.find("DEF PIPE0 IndexedFaceSet"), std::string::npos);
    const std::string x3d = Exported(TExportFormat::X3DFlat);
    EXPECT_NE(x3d.find("  <Shape>\r\n    <Appearance>\r\n      <Material emissiveColor=\"0.0 0.0 "
                       "0.0\" diffuseColor='0.00000000 1.00000000 0.00000000'/>"),
              std::string::npos);
    const std::string pov = Exported(TExportFormat::Pov);
    const size_t mesh = pov.find("mesh {\r\n// " + name + "\r\ntriangle {<");
    ASSERT_NE(mesh, std::string::npos) << pov;
    EXPECT_NE(pov.find("pigment { colour red 0.00000000 green 1.00000000 blue 0.00000000 }", mesh),
              std::string::npos);
    const std::string raw = Exported(TExportFormat::Raw);
    ASSERT_TRUE(raw.starts_with(name + "\r\n")) << raw.substr(0, 200);
    EXPECT_GT(Count(raw, "\r\n"), 10u);
}

TEST_F(ExportTest, AFailedExportSaysWhyAndLeavesNoFileBehind) {
    Add("31010");
    // The target is a folder: the rename fails after everything was written.
    const auto folder = m_dir.Path() / "taken.pov";
    std::filesystem::create_directories(folder / "inner");
    const auto missing = m_dir.Path() / "no" / "such" / "folder.wrl";
    for (const auto& target : {folder, missing}) {
        const TModelExportResult r = target == folder ? m_model->ExportAsPOV(target.string(), 0)
                                                      : m_model->ExportAsVRML(target.string());
        EXPECT_FALSE(r.Ok);
        EXPECT_FALSE(r.Error.empty());
    }
    EXPECT_TRUE(std::filesystem::is_directory(folder / "inner"));
    EXPECT_FALSE(std::filesystem::exists(missing));
    for (const auto& entry : std::filesystem::directory_iterator(m_dir.Path())) {
        EXPECT_FALSE(entry.path().filename().string().starts_with(".taken")) << entry.path();
    }
    // A writer stopped by its output reports it.
    int pieces = 0;
    EXPECT_FALSE(WriteExport(m_scene, TExportFormat::Raw, {}, [&](std::string_view) {
        ++pieces;
        return false;
    }));
    EXPECT_EQ(pieces, 1);
}

TEST(ExportCamera, TheViewpointLooksWhereTheCameraLooks) {
    // Direction, up: the rotation must carry -Z onto the direction and +Y into the up side.
    const TVector3f cases[][2] = {
        {{0, 0, -1}, {0, 1, 0}},  {{0, 0, 1}, {0, 1, 0}},     {{1, 0, 0}, {0, 1, 0}},
        {{0, -1, 0}, {0, 1, 0}},  {{0, 1, 0}, {0, 1, 0}},     {{3, -4, 12}, {0, 1, 0}},
        {{0, 0, -1}, {0, -1, 0}}, {{-1, 2, 0.5f}, {1, 0, 0}},
    };
    auto rotate = [](const TAxisAngle& r, const TVector3f& v) {
        const TVector3f k{r.X, r.Y, r.Z};
        const float c = std::cos(r.Angle), s = std::sin(r.Angle);
        return v * c + Cross(k, v) * s + k * (Dot(k, v) * (1 - c));
    };
    for (const auto& [direction, up] : cases) {
        const TAxisAngle r = ViewRotation(direction, up);
        EXPECT_NEAR(Length(TVector3f{r.X, r.Y, r.Z}), 1.0f, 1e-5f);
        const TVector3f looks = rotate(r, {0, 0, -1});
        EXPECT_NEAR(Distance(looks, Normalized(direction)), 0, 1e-4f)
            << direction.X << " " << direction.Y << " " << direction.Z;
        const TVector3f side = Cross(Normalized(direction), up);
        if (Length(side) > 1e-3f) {
            EXPECT_GT(Dot(rotate(r, {0, 1, 0}), up), 0);
        }
    }
}

TEST(ExportNames, TheExtensionIsAppendedUnlessTheNameHoldsIt) {
    EXPECT_EQ(ExportFileName("kran", TExportFormat::Raw), "kran.raw");
    EXPECT_EQ(ExportFileName("kran.WRL", TExportFormat::Vrml), "kran.WRL");
    EXPECT_EQ(ExportFileName("a.x3d.bak", TExportFormat::X3DFlat), "a.x3d.bak");
}
