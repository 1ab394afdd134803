// The model file format on its own: the line scanner, the file document's checks and writer.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "foundation/u_text.h"
#include "kx_test_support.h"
#include "model/u_ModelLoader.h"
#include "model/u_modelfile.h"

using namespace kx;

namespace {

/// The lines of a minimal valid file around some extra sections.
std::vector<std::string> FileWith(const std::vector<std::string>& parts,
                                  const std::vector<std::string>& common,
                                  const std::vector<std::string>& rest = {}) {
    std::vector<std::string> lines = parts;
    lines.push_back("[COMMON]");
    lines.push_back("Version=1");
    lines.insert(lines.end(), common.begin(), common.end());
    lines.push_back("");
    lines.insert(lines.end(), rest.begin(), rest.end());
    return lines;
}

TModelFile Parse(const std::vector<std::string>& lines) {
    TModelFile f;
    const TModelFileResult r = ParseModelFile(lines, f);
    EXPECT_TRUE(r.Success) << r.Error;
    return f;
}

std::string ParseError(const std::vector<std::string>& lines) {
    TModelFile f;
    const TModelFileResult r = ParseModelFile(lines, f);
    EXPECT_FALSE(r.Success);
    return r.Error;
}

/// A document with something in every section.
TModelFile FullDocument() {
    TModelFile f;
    TPartRecord a;
    a.StoredName = "F31010_1";
    a.XPos = 12.5;
    a.YPos = 0.100000001490116;  // 0.1 in single precision, as written
    a.ZPos = -4.37113882867379E-8;
    a.XUp = 0;
    a.YUp = 1;
    a.ZUp = 0;
    a.XDir = 0;
    a.YDir = 0;
    a.ZDir = 1;
    a.Color = 16760832;
    a.Phase = 2;
    TPartRecord b = a;
    b.StoredName = "F32064_1";
    b.XPos = 1E15;
    b.Phase = 1;
    f.Parts = {a, b};
    f.Information = {"Kran", "Original", "Ich", "Fahrzeuge", {"Zeile eins", "", "Zeile drei"}};
    f.Motors[0] = {2, 5, 1, "F31010_1", 3};
    f.Motors[7] = {1, 10, 2, "F32064_1", 0};
    f.AniLength = 250;
    f.HasCamera = true;
    f.Camera = {{1, 2, -10}, {0, 0, 1}, {0, 1, 0}, {0.5f, 0, 0}};
    for (int i = 0; i < 4; ++i) {
        f.Cameras.push_back({"Kamera " + std::to_string(i + 1), 1.0 * i, 1, -10, 0, 0, 0});
    }
    THoseData hose;
    hose.Radius = 0.05f;
    hose.Colour = 0x0000FF;
    hose.DisplayColour = hose.Colour;
    hose.Phase = 2;
    hose.Tag = 3;
    hose.Smooth = true;
    hose.Nodes = {{0, 0, 0}, {1.5f, 2, 3}, {0.1f, 0.2f, 0.3f}};
    f.Hoses = {hose, THoseData{}};
    f.Keys = {{"F31010_1", {1, 2, 3, 0, 1, 0, 0, 0, 1, 10}},
              {"F31010_1", {0.1f, 0.2f, 0.3f, 0, 1, 0, 1, 0, 0, 5}},
              {"F32064_1", {0, 0, 0, 0, 1, 0, 0, 0, 1, 0}}};
    TKineData gear;
    gear.Modus = kKineRotRot;
    gear.Bauteil1 = "F31010_1";
    gear.Bauteil2 = "F32064_1";
    gear.Rotation1 = kAxisTurnN;
    gear.Rotation2 = kAxisPitchP;
    gear.Z1 = 10;
    gear.Z2 = 30;
    TKineData spindle = gear;
    spindle.Modus = kKineRotTrans;
    spindle.DX = 0.1f;
    spindle.DZ = -2.5f;
    f.Links = {gear, spindle};
    f.SequenceLines = {"[LOGIKCOMMON]",   "BLOCKCOUNT=1", "CONNCOUNT=0", "", "[LOGIKBLOCK1]",
                       "TYP=TBLOCKSTART", "X=16",         "Y=8",         ""};
    f.CollisionRules = {{false, "F31010_1", "F32064_1", 0.1f, 2, "3", false},
                        {true, "F32064_1", "F31010_1", 8, 4, "Anschlag", false}};
    f.Groups = {{"Gruppe", false, {"F31010_1", "F32064_1"}}, {"intern", true, {"F32064_1"}}};
    TMeasureRecord m;
    m.Visible = false;
    m.Part1 = "F31010_1";
    m.Part2 = "F32064_1";
    m.BaseLineHeight = -2;
    m.Rotation = 45;
    m.TextHeight = 0.3;
    m.Lift1 = 1.5;
    m.Slide2 = -0.25;
    f.Measurements = {m};
    THZData hz;
    hz.Name = "X0001";
    hz.Bez = "Flachband 100";
    hz.Mods = {{0, 100, 0, 0, 0}, {1, 50, 0, 4, 0}, {5, 20, 0, 0, -90}};
    f.SemiFinished = {hz};
    return f;
}

}  // namespace

// --- The line scanner -------------------------------------------------------------------------

TEST(ModelLoader, ReadsValuesFromTheirFixedColumnsAndStaysStrict) {
    TModelLoader loader;
    loader.Scan({"[Part7]", "NAME=F31010_1", "xpos=12,5", "YPOS=12.5", "ZPOS=-5E-5", "XUP=1",
                 "YUP=abc", "ZUP=0,5", "XDIR=0", "YDIR=0", "ZDIR=1", "COLOR=16760832", "PHASE=3",
                 "Name=zweiter Treffer", "", "[PART1]", "NAME= mit Blank", "PHASE=x",
                 // A section the scanner does not know ends the part: its keys are not the part's.
                 "[HZ1]", "NAME=X0001", "PHASE=7"});
    ASSERT_EQ(loader.Parts.size(), 2u);
    const TPartRecord& p = loader.Parts[0];
    EXPECT_EQ(p.StoredName, "zweiter Treffer");  // keys in any case; the last one wins
    EXPECT_EQ(p.XPos, 12.5);
    EXPECT_EQ(p.YPos, 0);  // a decimal point is not a number here
    EXPECT_EQ(p.ZPos, -5E-5);
    EXPECT_EQ(p.XUp, 1);
    EXPECT_EQ(p.YUp, 0);
    EXPECT_EQ(p.ZUp, 0.5);
    EXPECT_EQ(p.ZDir, 1);
    EXPECT_EQ(p.Color, 16760832);
    EXPECT_EQ(p.Phase, 3);
    EXPECT_EQ(loader.Parts[1].StoredName, " mit Blank");
    EXPECT_EQ(loader.Parts[1].Phase, 0);
    EXPECT_EQ(loader.Parts[1].NewName, "");
}

TEST(ModelLoader, ReadsMeasurementsCamerasAndGroups) {
    TModelLoader loader;
    loader.Scan({"[EXCAM1]",          "CAMNAME=Vorne",    "POSITIONX=1,5", "TARGETZ=-2",
                 "[EXCAM2]",          "[GROUP1]",         "GNAME=Räder",   "GCOUNT=3",
                 "GINTERNAL=true",    "GPART1=F1",        "GPART2=F2=b",   "[TUBE1]",
                 "GNAME=nicht meins", "[MEASURE1]",       "VISIBLE= 0 ",   "PART1= F1 ",
                 "PART2=F2",          "BASELINEHEIGHT=x", "TEXTHEIGHT=y",  "LIFT1=1,5",
                 "SLIDE2=-2",         "[MEASURE2]",       "[HZ1]",         "NAME=X0001"});
    ASSERT_EQ(loader.Cameras.size(), 2u);
    EXPECT_EQ(loader.Cameras[0].Name, "Vorne");
    EXPECT_EQ(loader.Cameras[0].PositionX, 1.5);
    EXPECT_EQ(loader.Cameras[0].TargetZ, -2);
    EXPECT_EQ(loader.Cameras[1], TCameraRecord{});
    ASSERT_EQ(loader.Groups.size(), 1u);
    EXPECT_EQ(loader.Groups[0].Name, "Räder");
    EXPECT_TRUE(loader.Groups[0].Internal);
    EXPECT_EQ(loader.Groups[0].Members, (std::vector<std::string>{"F1", "F2=b"}));
    ASSERT_EQ(loader.Measurements.size(), 2u);
    const TMeasureRecord& m = loader.Measurements[0];
    EXPECT_FALSE(m.Visible);
    EXPECT_EQ(m.Part1, "F1");
    EXPECT_EQ(m.Part2, "F2");
    EXPECT_EQ(m.BaseLineHeight, 1);  // not a number
    EXPECT_EQ(m.TextHeight, 0);      // not a number
    EXPECT_EQ(m.Lift1, 1.5);
    EXPECT_EQ(m.Slide2, -2);
    // A missing key keeps the record's default.
    EXPECT_EQ(loader.Measurements[1], TMeasureRecord{});
    EXPECT_EQ(loader.Measurements[1].TextHeight, 0.2);
    EXPECT_TRUE(loader.Parts.empty());
}

TEST(ModelLoader, ReadsAStreamFromItsStartAndFilesInTheirCodePage) {
    std::istringstream stream(std::string("[PART1]\r\nNAME=F\xe4_1\r\nXPOS=2\r\n"));
    std::string skip;
    std::getline(stream, skip);
    TModelLoader loader;
    ASSERT_TRUE(loader.LoadFromStream(stream));
    ASSERT_EQ(loader.Parts.size(), 1u);
    EXPECT_EQ(loader.Parts[0].StoredName, "Fä_1");
    EXPECT_EQ(loader.Parts[0].XPos, 2);

    kxtest::TTempDir dir;
    kxtest::WriteFile(dir / "m.kxm", "[PART1]\nNAME=F1\n[PART2]\nNAME=F2\n");
    ASSERT_TRUE(loader.LoadFromFile(dir / "m.kxm"));
    EXPECT_EQ(loader.Parts.size(), 2u);
    EXPECT_FALSE(loader.LoadFromFile(dir / "fehlt.kxm"));
    EXPECT_TRUE(loader.Parts.empty());
    EXPECT_FALSE(loader.LoadFromFile(dir.Path()));
}

// --- The document -----------------------------------------------------------------------------

TEST(ModelFileDocument, EmptyModelWritesCommonFirstAndEveryFixedSection) {
    TModelFile f;
    f.HasCamera = true;
    for (int i = 0; i < 4; ++i) {
        f.Cameras.push_back({"Kamera " + std::to_string(i + 1), 0, 1, -10, 0, 0, 0});
    }
    const std::vector<std::string> lines = ModelFileLines(f);
    std::vector<std::string> expected = {
        "[COMMON]",     "Version=1",        "Count=0",          "InfModell=",
        "InfOriginal=", "InfGebaut=",       "InfKategorie=",    "InfBeschreibungCount=0",
        "TubeCount=0",  "KinematikCount=0", "CollisionCount=0", "HalbzeugCount=0",
        "GroupCount=0", "MeasureCount=0"};
    for (int m = 1; m <= 8; ++m) {
        const std::string n = std::to_string(m);
        for (const std::string& l :
             {"MotorSpeed" + n + "=1", "MOTORROTATION" + n + "=0", "MOTORSTATUS" + n + "=0",
              "Motor" + n + "=", "MOTORSOUND" + n + "=0"}) {
            expected.push_back(l);
        }
    }
    for (const char* l :
         {"KeyCount=0", "AniLength=100", "", "[CAMERA]", "PositionX=0", "PositionY=0",
          "PositionZ=0", "DirectionX=0", "DirectionY=0", "DirectionZ=0", "UpX=0", "UpY=0", "UpZ=0",
          "TargetX=0", "TargetY=0", "TargetZ=0", ""}) {
        expected.push_back(l);
    }
    for (int i = 1; i <= 4; ++i) {
        const std::string n = std::to_string(i);
        for (const std::string& l :
             {"[EXCAM" + n + "]", "CAMNAME=Kamera " + n, std::string("POSITIONX=0"),
              std::string("POSITIONY=1"), std::string("POSITIONZ=-10"), std::string("TARGETX=0"),
              std::string("TARGETY=0"), std::string("TARGETZ=0"), std::string()}) {
            expected.push_back(l);
        }
    }
    // The empty sequence program, one empty line after the (no) groups and after the (no)
    // measurements.
    for (const char* l : {"[LOGIKCOMMON]", "BLOCKCOUNT=0", "CONNCOUNT=0", "", "", ""}) {
        expected.push_back(l);
    }
    EXPECT_EQ(lines, expected);
}

TEST(ModelFileDocument, EverySectionRoundTripsAndIsWrittenInOrder) {
    const TModelFile f = FullDocument();
    const std::vector<std::string> lines = ModelFileLines(f);
    const TModelFile back = Parse(lines);
    EXPECT_EQ(back.Parts, f.Parts);
    EXPECT_EQ(back.Information, f.Information);
    for (size_t m = 0; m < 8; ++m) {
        EXPECT_EQ(back.Motors[m].Speed, f.Motors[m].Speed);
        EXPECT_EQ(back.Motors[m].Rotation, f.Motors[m].Rotation);
        EXPECT_EQ(back.Motors[m].Status, f.Motors[m].Status);
        EXPECT_EQ(back.Motors[m].PartName, f.Motors[m].PartName);
        EXPECT_EQ(back.Motors[m].Sound, f.Motors[m].Sound);
    }
    EXPECT_EQ(back.AniLength, 250);
    EXPECT_TRUE(back.HasCamera);
    EXPECT_EQ(back.Camera, f.Camera);
    EXPECT_EQ(back.Cameras, f.Cameras);
    ASSERT_EQ(back.Hoses.size(), 2u);
    EXPECT_EQ(back.Hoses[0].Radius, 0.05f);
    EXPECT_EQ(back.Hoses[0].Colour, 0x0000FFu);
    EXPECT_EQ(back.Hoses[0].DisplayColour, 0x0000FFu);
    EXPECT_EQ(back.Hoses[0].Tag, 3);
    EXPECT_EQ(back.Hoses[0].Phase, 2);
    EXPECT_TRUE(back.Hoses[0].Smooth);
    EXPECT_EQ(back.Hoses[0].Nodes, f.Hoses[0].Nodes);
    EXPECT_FALSE(back.Hoses[1].Smooth);
    EXPECT_EQ(back.Keys, f.Keys);
    ASSERT_EQ(back.Links.size(), 2u);
    EXPECT_EQ(back.Links[0].Rotation1, kAxisTurnN);
    EXPECT_EQ(back.Links[0].Z2, 30);
    EXPECT_EQ(back.Links[1].Modus, kKineRotTrans);
    EXPECT_EQ(back.Links[1].DX, 0.1f);
    EXPECT_EQ(back.Links[1].DZ, -2.5f);
    EXPECT_EQ(back.SequenceLines, f.SequenceLines);
    ASSERT_EQ(back.CollisionRules.size(), 2u);
    EXPECT_FALSE(back.CollisionRules[0].Active);
    EXPECT_EQ(back.CollisionRules[0].Abstand, 0.1f);
    EXPECT_EQ(back.CollisionRules[0].Aktion, 2);
    EXPECT_EQ(back.CollisionRules[1].Param1, "Anschlag");
    EXPECT_EQ(back.Groups, f.Groups);
    EXPECT_EQ(back.Measurements, f.Measurements);
    ASSERT_EQ(back.SemiFinished.size(), 1u);
    EXPECT_EQ(back.SemiFinished[0].Bez, "Flachband 100");
    ASSERT_EQ(back.SemiFinished[0].Mods.size(), 3u);
    EXPECT_EQ(back.SemiFinished[0].Mods[1].D, 4);
    EXPECT_EQ(back.SemiFinished[0].Mods[2].Mode, -90);

    // Written again, nothing changes, and the sections stand in their order.
    EXPECT_EQ(ModelFileLines(back), lines);
    std::vector<std::string> headers;
    for (const std::string& l : lines) {
        if (!l.empty() && l[0] == '[') {
            headers.push_back(l.substr(1, l.find_first_of("0123456789]") - 1));
        }
    }
    const std::vector<std::string> order = {
        "PART",       "PART",     "COMMON",   "CAMERA", "EXCAM", "EXCAM",   "EXCAM", "EXCAM",
        "TUBE",       "TUBE",     "KEY",      "KEY",    "KEY",   "KINE",    "KINE",  "LOGIKCOMMON",
        "LOGIKBLOCK", "KINECOLL", "KINECOLL", "GROUP",  "GROUP", "MEASURE", "HZ"};
    EXPECT_EQ(headers, order);
}

TEST(ModelFileDocument, NumbersAreWrittenWithACommaAndSinglesWidened) {
    const std::vector<std::string> lines = ModelFileLines(FullDocument());
    auto has = [&](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    };
    EXPECT_TRUE(has("XPOS=12,5"));
    EXPECT_TRUE(has("YPOS=0,100000001490116"));
    EXPECT_TRUE(has("ZPOS=-4,37113882867379E-8"));
    EXPECT_TRUE(has("XPOS=1E15"));
    EXPECT_TRUE(has("Radius=0,0500000007450581"));
    EXPECT_TRUE(has("DX=0,100000001490116"));
    EXPECT_TRUE(has("Modus=ROTTRANS"));
    EXPECT_TRUE(has("Rotation1=TURNN"));
    EXPECT_TRUE(has("GINTERNAL=TRUE"));
    EXPECT_TRUE(has("VISIBLE=0"));
    EXPECT_TRUE(has("COLOR=16760832"));
    EXPECT_TRUE(has("Mode=1"));
}

TEST(ModelFileDocument, MissingKeysTakeTheirDefaults) {
    const TModelFile f = Parse(FileWith(
        {}, {"TubeCount=1", "KinematikCount=1", "CollisionCount=1", "KeyCount=1", "MotorSpeed3=x"},
        {"[TUBE1]", "Count=1", "X1=1,5", "Y1=1.5", "[KEY1]", "Time=4", "[KINE1]", "Modus=rotfest",
         "Rotation2=NIX", "Z1=x", "[KINECOLL1]", "ACTIVE=ja", "OBJNAME1=F1"}));
    EXPECT_FALSE(f.HasCamera);
    EXPECT_EQ(f.AniLength, 100);
    EXPECT_EQ(f.Motors[2].Speed, 1);
    EXPECT_EQ(f.Motors[0].Speed, 1);
    ASSERT_EQ(f.Hoses.size(), 1u);
    EXPECT_EQ(f.Hoses[0].Radius, 0.2f);
    EXPECT_EQ(f.Hoses[0].Colour, 16760832u);
    EXPECT_EQ(f.Hoses[0].DisplayColour, 16760832u);
    EXPECT_FALSE(f.Hoses[0].Smooth);
    ASSERT_EQ(f.Hoses[0].Nodes.size(), 1u);
    EXPECT_EQ(f.Hoses[0].Nodes[0], (TVector3f{1.5f, 0, 0}));
    ASSERT_EQ(f.Keys.size(), 1u);
    EXPECT_EQ(f.Keys[0].Name, "noname");
    EXPECT_EQ(f.Keys[0].Key.Time, 4);
    ASSERT_EQ(f.Links.size(), 1u);
    EXPECT_EQ(f.Links[0].Modus, kKineRotRot);     // unknown value
    EXPECT_EQ(f.Links[0].Rotation1, kAxisRollP);  // missing
    EXPECT_EQ(f.Links[0].Rotation2, 0);           // unknown
    EXPECT_EQ(f.Links[0].Z1, 1);
    EXPECT_EQ(f.Links[0].Z2, 1);
    ASSERT_EQ(f.CollisionRules.size(), 1u);
    EXPECT_FALSE(f.CollisionRules[0].Active);  // present and not "1"
    EXPECT_EQ(f.CollisionRules[0].Aktion, 4);
    EXPECT_EQ(f.CollisionRules[0].Abstand, 8.0f);
    EXPECT_EQ(f.CollisionRules[0].ObjName2, "");

    const TModelFile g = Parse(FileWith({}, {"CollisionCount=1"}, {"[KINECOLL1]", "ABSTAND=2.5"}));
    EXPECT_TRUE(g.CollisionRules[0].Active);
    EXPECT_EQ(g.CollisionRules[0].Abstand, 8.0f);  // not a number
}

TEST(ModelFileDocument, CameraNeedsPositionXAndReadsMissingValuesAsZero) {
    const TModelFile f = Parse(FileWith({}, {}, {"[CAMERA]", "PositionX=1", "UpX=0", "UpZ=1"}));
    EXPECT_TRUE(f.HasCamera);
    EXPECT_EQ(f.Camera.Position, (TVector3f{1, 0, 0}));
    EXPECT_EQ(f.Camera.Up, (TVector3f{0, 0, 1}));
    EXPECT_FALSE(Parse(FileWith({}, {}, {"[CAMERA]", "PositionY=1"})).HasCamera);
}

TEST(ModelFileDocument, PartsComeInFileOrderAndOnlyAsManyAsCounted) {
    const TModelFile f = Parse(FileWith(
        {"[PART7]", "NAME=F31010_7", "[PART1]", "NAME=F31010_1", "[PART2]", "NAME=F31010_2"},
        {"Count=2"}));
    ASSERT_EQ(f.Parts.size(), 2u);
    EXPECT_EQ(f.Parts[0].StoredName, "F31010_7");
    EXPECT_EQ(f.Parts[1].StoredName, "F31010_1");
    EXPECT_TRUE(Parse(FileWith({"[PART1]", "NAME=F1"}, {})).Parts.empty());
}

TEST(ModelFileDocument, SequenceSectionsAreKeptAsTheyStand) {
    const std::vector<std::string> logik = {"[LOGIKCOMMON]",
                                            "BLOCKCOUNT=2",
                                            "CONNCOUNT=1",
                                            "",
                                            "[LOGIKBLOCK1]",
                                            "TYP=TBLOCKSTART",
                                            "X=16",
                                            "Y=8",
                                            "  ",
                                            "",
                                            "[LogikBlock2]",
                                            "TYP=TBlockMotor",
                                            "MOTORNR=x",
                                            "",
                                            "[LOGIKCONN1]",
                                            "CONN1=1",
                                            "CONN2=1",
                                            "BLOCK1=1",
                                            "BLOCK2=9",
                                            ""};
    std::vector<std::string> rest = {"[KINE1]", "Modus=ROTROT"};
    rest.insert(rest.end(), logik.begin(), logik.end());
    rest.insert(rest.end(), {"[KINECOLL1]", "ACTIVE=1", ""});
    const TModelFile f = Parse(FileWith({}, {"KinematikCount=1", "CollisionCount=1"}, rest));
    EXPECT_EQ(f.SequenceLines, logik);
    EXPECT_EQ(f.Links.size(), 1u);
    EXPECT_EQ(f.CollisionRules.size(), 1u);
    const std::vector<std::string> lines = ModelFileLines(f);
    const auto at = std::search(lines.begin(), lines.end(), logik.begin(), logik.end());
    ASSERT_NE(at, lines.end());
    EXPECT_EQ(*(at + static_cast<std::ptrdiff_t>(logik.size())), "[KINECOLL1]");
}

TEST(ModelFileDocument, AFileOfNothingButFixedSectionsReadsAndWritesTheSame) {
    TModelFile empty;
    const std::vector<std::string> lines = ModelFileLines(empty);
    EXPECT_EQ(ModelFileLines(Parse(lines)), lines);
    TModelFile measured;
    measured.Measurements.emplace_back();
    const std::vector<std::string> more = ModelFileLines(measured);
    EXPECT_EQ(ModelFileLines(Parse(more)), more);
}

TEST(ModelFileDocument, TextsCannotBreakTheirLine) {
    TModelFile f;
    f.Information.InfModell = "zwei\r\n[PART1]";
    f.Groups = {{"a\nb", false, {"F1"}}};
    const std::vector<std::string> lines = ModelFileLines(f);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "InfModell=zwei  [PART1]"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "GNAME=a b"), lines.end());
    EXPECT_TRUE(Parse(lines).Parts.empty());
}

TEST(ModelFileDocument, BrokenFilesAreRefusedWithAReason) {
    const std::vector<std::string> twoParts = {"[PART1]", "NAME=F31010_1", "[PART2]",
                                               "NAME=F31010_2"};
    EXPECT_NE(ParseError(FileWith(twoParts, {"Count=3"})).find("3"), std::string::npos);
    EXPECT_FALSE(ParseError(FileWith(twoParts, {"Count=zwei"})).empty());
    EXPECT_FALSE(ParseError(FileWith(twoParts, {"Count=-1"})).empty());
    // A hose radius written with a point is no number here, but no reason to refuse the file.
    EXPECT_EQ(
        Parse(FileWith({}, {"TubeCount=1"}, {"[TUBE1]", "Radius=0.2", "Tag=3"})).Hoses.at(0).Radius,
        0.05f);
    // Counts that name far more sections or entries than the file holds.
    EXPECT_FALSE(ParseError(FileWith({}, {"KinematikCount=2000000000"})).empty());
    EXPECT_FALSE(ParseError(FileWith({}, {"KeyCount=5"})).empty());
    EXPECT_FALSE(ParseError(FileWith({}, {"TubeCount=1"}, {"[TUBE1]", "Count=99999999"})).empty());
    EXPECT_FALSE(ParseError(FileWith({}, {"InfBeschreibungCount=1000000"})).empty());
    EXPECT_FALSE(ParseError(FileWith({}, {"HalbzeugCount=1"}, {"[HZ1]", "COUNT=1000000"})).empty());

    // Within bounds, a counted section that is missing reads with its defaults.
    const TModelFile f = Parse(FileWith({}, {"TubeCount=1"}, {"[TUBE7]", "Radius=1"}));
    ASSERT_EQ(f.Hoses.size(), 1u);
    EXPECT_EQ(f.Hoses[0].Radius, 0.2f);
}

TEST(ModelFileDocument, NameMapFollowsTheFirstPartOfAName) {
    std::vector<TPartRecord> parts(3);
    parts[0].StoredName = "F1_1";
    parts[0].NewName = "F1_5";
    parts[1].StoredName = "F1_1";
    parts[1].NewName = "F1_6";
    parts[2].StoredName = "";
    parts[2].NewName = "F_1";
    const TNameMap names(parts);
    EXPECT_EQ(names("F1_1"), "F1_5");
    EXPECT_EQ(names("F2_1"), "F2_1");
    EXPECT_EQ(names(""), "");
}
