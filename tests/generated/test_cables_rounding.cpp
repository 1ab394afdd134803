// Cables between plugs, rounded part normals and the school library's box file, through the
// model and the units that make them.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <thread>

#include "catalogue/u_normals.h"
#include "foundation/u_iniex.h"
#include "foundation/u_text.h"
#include "generated/u_LPEBox.h"
#include "generated/u_kabel.h"
#include "generated/u_rounding.h"
#include "model/model_fixture.h"

using namespace kx;

namespace {

void ExpectNear(const TVector3f& a, const TVector3f& b, const char* what) {
    EXPECT_NEAR(a.X, b.X, 1e-5f) << what;
    EXPECT_NEAR(a.Y, b.Y, 1e-5f) << what;
    EXPECT_NEAR(a.Z, b.Z, 1e-5f) << what;
}

/// Answers the cable window like a user: colour and track bar, then OK or Abbrechen.
class TFakeCableWindow : public TCableWindow {
public:
    bool Execute(TCableSession& session) override {
        ++Shown;
        NodesWhenShown = session.Hose().Nodes();
        if (Green) {
            session.SetGreen(true);
        }
        if (Track >= 0) {
            session.SetTrackPosition(Track);
        }
        return Confirm;
    }
    int Shown = 0;
    bool Green = false;
    int Track = -1;
    bool Confirm = true;
    std::vector<TVector3f> NodesWhenShown;
};

class CableTest : public kxtest::ModelTest {
protected:
    CableTest() {
        for (const char* number : {"C0007", "C0008"}) {
            TDefObj plug;
            plug.Number = number;
            plug.OrgNumber = number;
            EXPECT_TRUE(
                SaveDefinition(plug, m_dir.Path() / "prog" / "def" / (plug.Number + ".def")));
            EXPECT_TRUE(WriteStlFile(m_dir.Path() / "prog" / "hires" / (plug.Number + ".stl"),
                                     kxtest::TestMesh(2, 3)));
        }
        m_files.Refresh();
    }

    /// Plug 1 at the origin pointing along +X, plug 2 ten units away pointing back at it.
    void TwoFacingPlugs() {
        m_plug1 = Add("C0007");
        m_plug2 = Add("C0008");
        Object(m_plug2)->SetDirection({-1, 0, 0});
        Object(m_plug1)->SetDirection({1, 0, 0});
        MoveAndRefresh(m_plug1, {0, 0, 0});
        MoveAndRefresh(m_plug2, {10, 0, 0});
    }
    void SelectBoth(const std::string& first, const std::string& second) {
        m_model->SelectBaustein(first);
        m_model->CoSelectBaustein(second, true, true, true);
    }

    std::string m_plug1, m_plug2;
};

}  // namespace

TEST(CableNodes, LeaveEachPlugBackwardsAndCutTheCorners) {
    const TPlugFrame p1{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    const TPlugFrame p2{{10, 0, 0}, {-1, 0, 0}, {0, 1, 0}};
    const TVector3f u{-1, 0, 0};  // from plug 2 towards plug 1
    struct TCase {
        const char* What;
        TPlugFrame A, B;
        float D;
        std::array<TVector3f, 6> Expected;
    };
    const TPlugFrame away{{0, 0, 0}, {0, 0, 4}, {0, 1, 0}};  // not a unit direction
    const TPlugFrame same{{0, 0, 0}, {0, 0, -1}, {0, 1, 0}};
    const TPlugFrame none{{0, 0, 0}, {0, 0, 0}, {0, 1, 0}};  // a zero direction points along +Z
    const TCase cases[] = {
        {"facing, d = 1",
         p1,
         p2,
         1.0f,
         {p1.Position, p1.Position - 0.95f * p1.Direction, p1.Position - p1.Direction - 0.05f * u,
          p2.Position - p2.Direction + 0.05f * u, p2.Position - 0.95f * p2.Direction, p2.Position}},
        {"track bar at 0: 0.05 in front of the plugs",
         p1,
         p2,
         0.0f,
         {TVector3f{0, 0, 0}, TVector3f{0.05f, 0, 0}, TVector3f{0.05f, 0, 0},
          TVector3f{9.95f, 0, 0}, TVector3f{9.95f, 0, 0}, TVector3f{10, 0, 0}}},
        {"two plugs on one spot: no direction between them",
         away,
         same,
         1.0f,
         {TVector3f{0, 0, 0}, TVector3f{0, 0, -0.95f}, TVector3f{0, 0, -1}, TVector3f{0, 0, 1},
          TVector3f{0, 0, 0.95f}, TVector3f{0, 0, 0}}},
        {"zero direction",
         none,
         p2,
         2.0f,
         {TVector3f{0, 0, 0}, TVector3f{0, 0, -1.95f}, TVector3f{0.05f, 0, -2},
          TVector3f{11.95f, 0, 0}, TVector3f{11.95f, 0, 0}, TVector3f{10, 0, 0}}},
    };
    for (const TCase& c : cases) {
        const auto nodes = CableNodes(c.A, c.B, c.D);
        for (size_t i = 0; i < nodes.size(); ++i) {
            EXPECT_TRUE(std::isfinite(nodes[i].X) && std::isfinite(nodes[i].Y) &&
                        std::isfinite(nodes[i].Z))
                << c.What << " node " << i;
            ExpectNear(nodes[i], c.Expected[i], c.What);
        }
    }
    EXPECT_TRUE(IsPlugName("FC0007_1"));
    EXPECT_TRUE(IsPlugName("FC0008_12"));
    EXPECT_FALSE(IsPlugName("F31010_1"));
    EXPECT_FALSE(IsPlugName("FC00"));
}

TEST_F(CableTest, ConfirmedCableIsAHoseBetweenThePlugsAndSurvivesTheFile) {
    TwoFacingPlugs();
    SelectBoth(m_plug1, m_plug2);
    m_model->MarkSaved();
    TFakeCableWindow window;
    window.Green = true;
    window.Track = 20;
    ASSERT_TRUE(m_model->CreateKabel(window));
    EXPECT_EQ(window.Shown, 1);
    // The window opens on the default stand-off of 1.0.
    ASSERT_EQ(window.NodesWhenShown.size(), 6u);
    ExpectNear(window.NodesWhenShown[1], {-0.95f, 0, 0}, "default stand-off");

    ASSERT_EQ(m_model->Hoses().size(), 1u);
    const TPipeEx& cable = *m_model->Hoses()[0];
    EXPECT_EQ(cable.Name(), "Schlauch_1");
    EXPECT_EQ(cable.Colour(), 0x008000u);
    EXPECT_EQ(cable.Tag(), 3);
    EXPECT_EQ(cable.Phase(), 0);
    EXPECT_FLOAT_EQ(cable.Radius(), 0.05f);
    EXPECT_EQ(cable.SplineMode(), TSplineMode::lsmLines);
    ASSERT_EQ(cable.NodeCount(), 6u);
    ExpectNear(*cable.Node(1), {-1.95f, 0, 0}, "stand-off 2.0");
    ExpectNear(*cable.Node(4), {11.95f, 0, 0}, "stand-off 2.0");
    ASSERT_EQ(m_model->HoseRegister().size(), 1u);
    EXPECT_EQ(m_model->HoseRegister()[0].Colour, 0x008000u);
    EXPECT_TRUE(m_model->IsModified());
    EXPECT_EQ(m_model->SelectedPart(), nullptr);
    EXPECT_TRUE(m_model->Parts().CoSelectedRecords().empty());

    const std::string file = (m_dir / "kabel.kxm").string();
    ASSERT_TRUE(m_model->SaveModell(file).Success);
    const std::string text = Cp1252ToUtf8(*ReadFileBytes(file));
    EXPECT_NE(text.find("Color=32768"), std::string::npos);
    EXPECT_NE(text.find("Tag=3"), std::string::npos);
    ASSERT_TRUE(m_model->LoadModell(file, true).Success);
    ASSERT_EQ(m_model->Hoses().size(), 1u);
    EXPECT_EQ(m_model->Hoses()[0]->Colour(), 0x008000u);
    EXPECT_EQ(m_model->Hoses()[0]->Tag(), 3);
    EXPECT_EQ(m_model->Hoses()[0]->NodeCount(), 6u);
}

TEST_F(CableTest, NoCableWithoutTwoPlugsOrWhenTheWindowIsCancelled) {
    TwoFacingPlugs();
    const std::string block = Add("31010");
    const std::string message = "Für diese Funktion müssen 2 Steckerstifte selektiert werden.";
    struct TCase {
        const char* What;
        std::string First, Second;
    };
    const TCase cases[] = {{"a plug and a part that is no plug", m_plug1, block},
                           {"a part that is no plug and a plug", block, m_plug2},
                           {"one plug alone", m_plug1, ""}};
    for (const TCase& c : cases) {
        m_ports.Messages.clear();
        m_model->SelectBaustein(c.First);
        if (!c.Second.empty()) {
            m_model->CoSelectBaustein(c.Second, true, true, true);
        }
        TFakeCableWindow window;
        EXPECT_FALSE(m_model->CreateKabel(window)) << c.What;
        EXPECT_EQ(window.Shown, 0) << c.What;
        EXPECT_EQ(m_ports.Messages, std::vector<std::string>{message}) << c.What;
        EXPECT_TRUE(m_model->Hoses().empty()) << c.What;
        EXPECT_EQ(m_model->SelectedPart(), nullptr) << c.What;
    }

    // Abbrechen takes the hose and its register entry away again; the model is unchanged.
    SelectBoth(m_plug2, m_plug1);
    m_model->MarkSaved();
    TFakeCableWindow window;
    window.Confirm = false;
    window.Green = true;
    EXPECT_FALSE(m_model->CreateKabel(window));
    EXPECT_EQ(window.Shown, 1);
    EXPECT_TRUE(m_model->Hoses().empty());
    EXPECT_TRUE(m_model->HoseRegister().empty());
    EXPECT_FALSE(m_model->IsModified());
    EXPECT_EQ(m_model->SelectedPart(), nullptr);
}

// --- Rounding ---------------------------------------------------------------------------------

namespace {

/// Two triangles per face of a unit cube, each vertex with its facet normal.
TMesh Cube() {
    TMesh m;
    const TVector3f n[6] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    for (const TVector3f& f : n) {
        // Two axes across the face.
        const TVector3f a = std::fabs(f.X) > 0 ? TVector3f{0, 1, 0} : TVector3f{1, 0, 0};
        const TVector3f b = Cross(f, a);
        const TVector3f c = f * 0.5f;
        const TVector3f p00 = c - a * 0.5f - b * 0.5f, p10 = c + a * 0.5f - b * 0.5f,
                        p11 = c + a * 0.5f + b * 0.5f, p01 = c - a * 0.5f + b * 0.5f;
        m.Positions.insert(m.Positions.end(), {p00, p10, p11, p11, p01, p00});
        m.Normals.insert(m.Normals.end(), 6, f);
    }
    return m;
}

/// The side of a cylinder of `facets` flat strips around the Y axis.
TMesh Cylinder(int facets) {
    TMesh m;
    const float pi = 3.14159265f;
    for (int i = 0; i < facets; ++i) {
        const float a0 = 2 * pi * float(i) / float(facets),
                    a1 = 2 * pi * float(i + 1) / float(facets);
        const TVector3f b0{std::cos(a0), 0, std::sin(a0)}, b1{std::cos(a1), 0, std::sin(a1)};
        const TVector3f t0 = b0 + TVector3f{0, 1, 0}, t1 = b1 + TVector3f{0, 1, 0};
        const TVector3f n = Normalized(b0 + b1);
        m.Positions.insert(m.Positions.end(), {b0, b1, t1, t1, t0, b0});
        m.Normals.insert(m.Normals.end(), 6, n);
    }
    return m;
}

/// Every vertex against every other, as the rule reads.
std::vector<TVector3f> AllPairs(const TMesh& m, double limit) {
    std::vector<TVector3f> out(m.Positions.size());
    for (size_t q = 0; q < m.Positions.size(); ++q) {
        for (size_t j = 0; j < m.Positions.size(); ++j) {
            const float lens = Length(m.Normals[q]) * Length(m.Normals[j]);
            if (Length(m.Positions[j] - m.Positions[q]) < 1e-5f &&
                (j == q || (lens > 0 && Dot(m.Normals[q], m.Normals[j]) / lens > limit))) {
                out[q] += m.Normals[j];
            }
        }
    }
    return out;
}

}  // namespace

TEST(SmoothNormals, CubeKeepsItsFacesAndACylinderSumsItsNeighbours) {
    const TMesh cube = Cube();
    TMesh target;
    ASSERT_TRUE(SmoothNormals(target, cube, 0.8));
    ASSERT_EQ(target.Normals.size(), cube.Positions.size());
    for (size_t i = 0; i < cube.Positions.size(); ++i) {
        // The corners on a face's diagonal belong to both its triangles: twice the normal.
        const size_t k = i % 6;
        const float times = (k == 0 || k == 2 || k == 3 || k == 5) ? 2.0f : 1.0f;
        ExpectNear(target.Normals[i], cube.Normals[i] * times, "cube");
    }
    EXPECT_EQ(target.Positions, cube.Positions);

    // 64 facets meet at 5.6 degrees: each vertex sums its own facets and the neighbour's.
    const TMesh cylinder = Cylinder(64);
    ASSERT_TRUE(SmoothNormals(target, cylinder, 0.8));
    const TVector3f b1 = cylinder.Positions[1];  // bottom vertex between facets 0 and 1
    const TVector3f expected = cylinder.Normals[0] * 1 + cylinder.Normals[6] * 2;
    ExpectNear(target.Normals[1], expected, "cylinder");
    EXPECT_NEAR(Dot(Normalized(target.Normals[1]), Normalized(b1)), 1.0f, 1e-3f);

    // A mesh whose vertices sit a little apart, shifted and with a zero normal: the grid finds
    // exactly the pairs the all-pairs comparison finds, summed in the same order.
    TMesh rough = Cylinder(24);
    for (size_t i = 0; i < rough.Positions.size(); ++i) {
        rough.Positions[i] += TVector3f{float(i % 3) * 4e-6f, 123.25f, -7.5f};
    }
    rough.Normals[7] = {0, 0, 0};
    for (double limit : {0.8, 0.95, -1.0}) {
        ASSERT_TRUE(SmoothNormals(target, rough, limit));
        EXPECT_EQ(target.Normals, AllPairs(rough, limit)) << limit;
    }

    // Stopped half-way: false, and the target keeps what it had.
    const std::vector<TVector3f> before = target.Normals;
    size_t calls = 0;
    EXPECT_FALSE(SmoothNormals(target, cube, 0.8, [&](size_t done, size_t total) {
        ++calls;
        EXPECT_EQ(total, cube.Positions.size());
        return done < 10;
    }));
    EXPECT_EQ(calls, 10u);
    EXPECT_EQ(target.Normals, before);
}

TEST_F(CableTest, RoundSinglePartWritesIntoTheUserFolderAndTheCacheSeesIt) {
    ASSERT_TRUE(WriteStlFile(m_dir.Path() / "prog" / "hires" / "40001.stl", Cube()));
    m_files.Refresh();
    // The mesh is cached with its facet normals first.
    EXPECT_EQ(m_meshes.LoadPartMesh(m_files, "hires", "40001")->Normals[0], (TVector3f{1, 0, 0}));

    EXPECT_TRUE(m_model->RoundSinglePart("40001", 0.8));
    EXPECT_EQ(m_ports.Messages, std::vector<std::string>{"OK"});
    EXPECT_EQ(m_ports.Waits, 0);
    const auto user = m_dir.Path() / "user" / "hires" / "40001.nrm";
    EXPECT_TRUE(std::filesystem::exists(user));
    EXPECT_FALSE(std::filesystem::exists(m_dir.Path() / "prog" / "hires" / "40001.nrm"));
    EXPECT_EQ(m_meshes.LoadPartMesh(m_files, "hires", "40001")->Normals[0], (TVector3f{2, 0, 0}));

    // A normals file that cannot be written is a failure, said as one.
    m_ports.Messages.clear();
    std::filesystem::remove(user);
    std::filesystem::create_directories(user / "blocked");
    EXPECT_FALSE(m_model->RoundSinglePart("40001", 0.8));
    ASSERT_EQ(m_ports.Messages.size(), 1u);
    EXPECT_NE(m_ports.Messages[0].find("Die Normalen-Datei konnte nicht geschrieben werden"),
              std::string::npos);
    // So is a part without a mesh.
    m_ports.Messages.clear();
    EXPECT_FALSE(m_model->RoundSinglePart("99999", 0.8));
    EXPECT_EQ(m_ports.Messages,
              std::vector<std::string>{"Das Netz des Bauteils 99999 ist nicht lesbar."});
}

TEST_F(CableTest, RoundingEveryPartSkipsRoundedOnesAndResumesAfterACancel) {
    const auto hires = m_dir.Path() / "prog" / "hires";
    ASSERT_TRUE(WriteStlFile(hires / "A0001.stl", Cylinder(20000)));
    ASSERT_TRUE(WriteStlFile(hires / "A0002.stl", Cube()));
    kxtest::WriteFile(hires / "A0003.stl", "not a mesh");
    // A shipped normals file counts as rounded.
    ASSERT_TRUE(WriteNormalsFile(hires / "C0007.nrm", {{0, 0, 7}}));
    m_files.Refresh();
    const std::vector<std::string> meshes = TRoundPartsJob::MeshFiles(m_files);
    EXPECT_EQ(meshes.front(), "31010.stl");
    EXPECT_EQ(meshes.size(), 9u);

    {
        TRoundPartsJob job(m_files, m_meshes);
        job.Cancel();
        job.Run();
        const TRoundPartsState state = job.State();
        EXPECT_TRUE(state.Finished);
        EXPECT_EQ(state.Rounded, 0);
        EXPECT_EQ(state.FileIndex, 0u);
    }
    {
        // Stopped from another thread while the big mesh is on: every file is either written
        // whole or not at all.
        TRoundPartsJob job(m_files, m_meshes);
        std::thread worker([&] { job.Run(); });
        while (job.State().Current != "A0001.stl" && !job.State().Finished) {
            std::this_thread::yield();
        }
        job.Cancel();
        worker.join();
        EXPECT_TRUE(job.State().Finished);
    }
    TRoundPartsJob job(m_files, m_meshes);
    job.Run();
    const TRoundPartsState state = job.State();
    EXPECT_EQ(state.FileIndex, meshes.size());
    EXPECT_EQ(state.Failed, 1);  // the broken file
    const auto user = m_dir.Path() / "user" / "hires";
    for (const char* number : {"31010", "32064", "38423", "A0001", "A0002", "C0008", "COL01"}) {
        TMesh mesh;
        ASSERT_TRUE(LoadStlFile(*m_files.FindPart("hires", number, "stl"), mesh));
        EXPECT_EQ(ReadFileBytes(user / (std::string(number) + ".nrm"))->size(),
                  mesh.Positions.size() * 12)
            << number;
    }
    EXPECT_FALSE(std::filesystem::exists(user / "C0007.nrm"));
    EXPECT_FALSE(std::filesystem::exists(user / "A0003.nrm"));
}

// --- School-library boxes ---------------------------------------------------------------------

TEST(LPEBox, UserBibListsTheBoxesSwitchedOnInBoxOrder) {
    const TIniFileEx ini{"[BOX1]",         "Name=Kasten Eins", "Parts=40001 40002,40003",
                         "Parts=  40004 ", "[BOX4]",           "Name=Kasten Vier",
                         "Parts=LPE02"};
    const TLPEBoxes boxes = ParseLPEBoxes(ini);
    EXPECT_EQ(boxes[0].Parts, (std::vector<std::string>{"40001", "40002", "40003", "40004"}));
    EXPECT_TRUE(boxes[1].Name.empty() && boxes[1].Parts.empty());

    const std::vector<std::string> both = TLPEBox::UserBibLines(boxes, {true, false, false, true});
    const std::vector<std::string> expected{"[COMMON]",
                                            "groupcountnew=2",
                                            "groupcountold=10",
                                            "",
                                            "[DEUTSCH]",
                                            "groupnamenew1=Kasten Eins",
                                            "groupnamenew2=Kasten Vier",
                                            "groupnameold1=Standard",
                                            "groupnameold2=Statik",
                                            "groupnameold3=Räder",
                                            "groupnameold4=Stangen",
                                            "groupnameold5=Platten",
                                            "groupnameold6=Orbis",
                                            "groupnameold7=Pneumatik",
                                            "groupnameold8=Motor/Getriebe",
                                            "groupnameold9=Figur",
                                            "groupnameold10=Vario",
                                            "",
                                            "[ENGLISH]",
                                            "groupnamenew1=Kasten Eins",
                                            "groupnamenew2=Kasten Vier",
                                            "groupnameold1=Standard",
                                            "groupnameold2=Statics",
                                            "groupnameold3=Wheels",
                                            "groupnameold4=Axles",
                                            "groupnameold5=Plates",
                                            "groupnameold6=Orbis",
                                            "groupnameold7=Pneumatics",
                                            "groupnameold8=Engines/Gears",
                                            "groupnameold9=Figure",
                                            "groupnameold10=Vario",
                                            "",
                                            "[PARTS]",
                                            "40001=n1",
                                            "40002=n1",
                                            "40003=n1",
                                            "40004=n1",
                                            "LPE02=n2"};
    EXPECT_EQ(both, expected);

    const std::vector<std::string> four = TLPEBox::UserBibLines(boxes, {false, false, false, true});
    EXPECT_EQ(four[1], "groupcountnew=1");
    EXPECT_EQ(four.back(), "LPE02=n1");
    EXPECT_EQ(four[5], "groupnamenew1=Kasten Vier");
}

TEST(LPEBox, SettingsAndFile) {
    kxtest::TPrivateSettings settings;
    kxtest::TTempDir dir;
    TkxParam& param = settings.Param();
    // All four off: box 1 comes on.
    TLPEBox::StoreSwitches(param, {false, false, false, false});
    EXPECT_EQ(TLPEBox::ReadSwitches(param), (TLPEBoxSwitches{true, false, false, false}));
    TLPEBox::StoreSwitches(param, {false, true, true, false});
    EXPECT_EQ(TLPEBox::ReadSwitches(param), (TLPEBoxSwitches{false, true, true, false}));

    TLPEBoxes boxes;
    boxes[1] = {"Zwei", {"40101"}};
    boxes[2] = {"Drei", {"40201", "40202"}};
    ASSERT_TRUE(TLPEBox::WriteUserBib(param, boxes, dir.Path() / "data"));
    const std::string bytes = *ReadFileBytes(dir.Path() / "data" / "userbib.ini");
    // The library's own text format: Windows-1252 with CR LF.
    EXPECT_NE(bytes.find("groupnameold3=R\xE4"
                         "der\r\n"),
              std::string::npos);
    EXPECT_NE(bytes.find("groupcountnew=2\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("40202=n2"), std::string::npos);

    // A file that cannot be written says so; the old one and the settings stay.
    kxtest::WriteFile(dir.Path() / "blocked", "x");
    std::string error;
    EXPECT_FALSE(TLPEBox::WriteUserBib(param, boxes, dir.Path() / "blocked", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(TLPEBox::ReadSwitches(param), (TLPEBoxSwitches{false, true, true, false}));
}

TEST(LPEBox, ShippedBoxesNameFourBoxesOfExistingPartsEachOnce) {
    const std::filesystem::path runtime = KX_RUNTIME_DIR;
    const TPartFiles files(runtime, {});
    const TLPEBoxes boxes = LoadLPEBoxes(files);
    std::set<std::string> seen;
    for (const TLPEBoxDef& box : boxes) {
        EXPECT_FALSE(box.Name.empty());
        EXPECT_FALSE(box.Parts.empty()) << box.Name;
        for (const std::string& part : box.Parts) {
            EXPECT_TRUE(files.FindDef(part)) << box.Name << ": " << part << " is not in the kit";
            EXPECT_TRUE(seen.insert(part).second) << part << " is in two boxes";
        }
    }
}
