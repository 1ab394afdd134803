// kxbatch run as a user runs it, without a display; its files read by outside programs
// (Python's csv and json modules, pdfinfo, pdftoppm, pdftotext, assimp, admesh, the Khronos glTF
// validator).
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue/u_partcache.h"
#include "catalogue/u_partfiles.h"
#include "foundation/u_text.h"
#include "kx_test_support.h"
#include "printing/u_TPrintSpare.h"
#include "printing/u_sheetitems.h"

using namespace kx;
namespace fs = std::filesystem;

namespace {

struct TRun {
    int Exit = -1;
    std::string Out;
    std::string Err;
};

class BatchTest : public ::testing::Test {
protected:
    BatchTest() : m_program(fs::path(KX_RUNTIME_DIR)) {}

    /// Runs a shell command with the scratch folders as the user's and no display.
    TRun Shell(const std::string& command) {
        const std::string env = "env -u DISPLAY -u WAYLAND_DISPLAY KORVEX_CONFIG_DIR='" +
                                (m_dir / "config").string() + "' KORVEX_SYSTEM_CONFIG_DIR='" +
                                (m_dir / "system").string() + "' XDG_DATA_HOME='" +
                                (m_dir / "data").string() + "' ";
        const std::string line = env + command + " >'" + (m_dir / "out.txt").string() + "' 2>'" +
                                 (m_dir / "err.txt").string() + "'";
        const int status = std::system(line.c_str());
        TRun run;
        run.Exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.Out = kxtest::ReadFile(m_dir / "out.txt");
        run.Err = kxtest::ReadFile(m_dir / "err.txt");
        return run;
    }
    TRun Batch(const std::string& args) { return Shell(std::string("'") + KXBATCH + "' " + args); }

    std::string Sample(const std::string& name) const {
        return "'" + (m_program / "samples" / name).string() + "'";
    }
    std::string Out(const std::string& name) const { return (m_dir / name).string(); }

    /// The user's own definition of a kit part, renamed: the user folder wins.
    void RenameForUser(const std::string& number, const std::string& name) {
        TDefObj def = ReadDefObj(m_program / "def" / (number + ".def"), number);
        def.Name = def.NameDe = def.NameEng = name;
        ASSERT_TRUE(
            SaveDefinition(def, m_dir / "data" / "korvex-designer" / "def" / (number + ".def")));
    }

    kxtest::TTempDir m_dir;
    fs::path m_program;
};

/// Whether the text shows a box's count: pdftotext may read the narrow blank before "x" or not.
bool HasCount(const std::string& text, const std::string& count) {
    return std::regex_search(text, std::regex("(^|\\s)" + count + " ?x(\\s|$)"));
}

}  // namespace

TEST_F(BatchTest, ThePartsListIsReadBackByPythonsCsvModule) {
    RenameForUser("40001", "Baustein; 15 \"rot\"");
    const TRun run = Batch("partslist " + Sample("Kran.kxm") + " '" + Out("kran.csv") + "'");
    ASSERT_EQ(run.Exit, 0) << run.Err;
    const TRun python = Shell(
        "python3 -c \"import csv,sys\n"
        "rows = list(csv.reader(open(sys.argv[1], encoding='cp1252', newline=''), "
        "delimiter=';'))\n"
        "print('\\n'.join('|'.join(r) for r in rows))\" '" +
        Out("kran.csv") + "'");
    ASSERT_EQ(python.Exit, 0) << python.Err;
    EXPECT_EQ(python.Out,
              "Nummer|Bezeichnung|Anzahl\n"
              "40001|Baustein; 15 \"rot\"|1\n"
              "40002|Baustein 30|4\n"
              "40004|Baustein 60|2\n"
              "40102|Statikträger 120|4\n"
              "40105|Knotenbaustein|1\n"
              "40118|Statikträger 210|4\n"
              "40219|Seilrolle 30|1\n"
              "40223|Seiltrommel|1\n"
              "40224|Lasthaken|1\n"
              "40405|Grundplatte 180x90|1\n"
              "40712|Drehkranz 60|1\n");
    // Lines end in CR LF, also the last.
    const std::string bytes = kxtest::ReadFile(Out("kran.csv"));
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
}

TEST_F(BatchTest, TheLibrarySheetsAreReadByPopplersTools) {
    const std::string pdf = Out("library.pdf");
    const TRun run = Batch("sheets " + Sample("Kran.kxm") + " '" + pdf + "' --library");
    ASSERT_EQ(run.Exit, 0) << run.Err;
    EXPECT_TRUE(run.Err.empty()) << run.Err;

    // What the sheet should hold, from the same part folders.
    TPartFiles files(m_program, m_dir / "data" / "korvex-designer");
    TDefCache defs;
    const auto items = LibraryItems(files, defs, {}, nullptr);
    ASSERT_TRUE(items);
    ASSERT_GT(items->size(), 33u);
    TPrintSpare sheet({});
    sheet.Items = *items;
    const int pages = sheet.CountPages(2000, 2870);  // A4 with margins of 5 mm
    ASSERT_GE(pages, 2);

    const TRun info = Shell("pdfinfo '" + pdf + "'");
    ASSERT_EQ(info.Exit, 0) << info.Err;
    EXPECT_NE(info.Out.find("Pages:           " + std::to_string(pages) + "\n"), std::string::npos)
        << info.Out;
    EXPECT_NE(info.Out.find("A4"), std::string::npos) << info.Out;

    const TRun picture = Shell("pdftoppm -r 40 -png -f 1 -l 1 '" + pdf + "' '" + Out("page") + "'");
    ASSERT_EQ(picture.Exit, 0) << picture.Err;
    const std::string png = kxtest::ReadFile(Out(pages >= 10 ? "page-01.png" : "page-1.png"));
    ASSERT_GT(png.size(), 1000u);
    EXPECT_EQ(png.substr(1, 3), "PNG");

    const TRun text = Shell("pdftotext -f 1 -l 1 '" + pdf + "' -");
    ASSERT_EQ(text.Exit, 0) << text.Err;
    for (size_t i = 0; i < 33; ++i) {
        EXPECT_NE(text.Out.find((*items)[i].Text), std::string::npos) << (*items)[i].Text;
    }
    EXPECT_EQ(text.Out.find((*items)[33].Text), std::string::npos);  // on page 2
    EXPECT_TRUE(HasCount(text.Out, "1"));
    EXPECT_FALSE(HasCount(text.Out, "2"));
}

TEST_F(BatchTest, ModelAndCollectionSheetsShowTheirCounts) {
    const TRun model = Batch("sheets " + Sample("Kran.kxm") + " '" + Out("kran.pdf") + "'");
    ASSERT_EQ(model.Exit, 0) << model.Err;
    const TRun text = Shell("pdftotext -layout '" + Out("kran.pdf") + "' -");
    ASSERT_EQ(text.Exit, 0);
    for (const char* expected : {"40102", "40002", "Statikträger 120"}) {
        EXPECT_NE(text.Out.find(expected), std::string::npos) << expected << "\n" << text.Out;
    }
    EXPECT_TRUE(HasCount(text.Out, "2"));
    EXPECT_TRUE(HasCount(text.Out, "4"));
    EXPECT_NE(Shell("pdfinfo '" + Out("kran.pdf") + "'").Out.find("Pages:           1\n"),
              std::string::npos);

    kxtest::WriteFile(m_dir / "box.kxc", "40002#5\r\n40105#999999\r\n");
    const TRun collection = Batch("sheets " + Sample("Kran.kxm") + " '" + Out("box.pdf") +
                                  "' --collection '" + Out("box.kxc") + "'");
    ASSERT_EQ(collection.Exit, 0) << collection.Err;
    const std::string boxes = Shell("pdftotext '" + Out("box.pdf") + "' -").Out;
    EXPECT_TRUE(HasCount(boxes, "5")) << boxes;
    EXPECT_NE(boxes.find("---"), std::string::npos) << boxes;
    EXPECT_EQ(boxes.find("40102"), std::string::npos) << boxes;
}

TEST_F(BatchTest, ExitStatusSaysWhetherTheJobRanFailedOrWasMisused) {
    struct TCase {
        std::string Args;
        int Exit;
        std::string Err;  ///< part of standard error
    };
    const std::vector<TCase> cases = {
        {"--help", 0, ""},
        {"partslist --help", 0, ""},
        {"sheets --help", 0, ""},
        {"", 2, "subcommand"},
        {"nosuchjob", 2, "nosuchjob"},
        {"partslist " + Sample("Kran.kxm"), 2, "OUT"},
        {"sheets a.kxm b.pdf --library --collection c.kxc", 2, "excludes"},
        {"partslist '" + Out("missing.kxm") + "' '" + Out("x.csv") + "'", 1, "missing.kxm"},
        {"sheets " + Sample("Kran.kxm") + " '" + Out("no/such/folder/x.pdf") + "'", 1, "x.pdf"},
        {"sheets " + Sample("Kran.kxm") + " '" + Out("x.pdf") + "' --collection '" +
             Out("none.kxc") + "'",
         1, "none.kxc"},
        {"export --help", 0, ""},
        {"picture --help", 0, ""},
        {"info --help", 0, ""},
        {"render --help", 0, ""},
        {"info", 2, "MODEL"},
        {"export " + Sample("Kran.kxm") + " '" + Out("x.xyz") + "'", 2, "x.xyz"},
        {"export " + Sample("Kran.kxm") + " '" + Out("x.glb") + "' --per-part", 2, "--per-part"},
        {"picture " + Sample("Kran.kxm") + " '" + Out("x.png") + "' --size 0x5", 2, "--size"},
        {"picture " + Sample("Kran.kxm") + " '" + Out("x.png") + "' --camera 9", 2, "--camera"},
        {"export '" + Out("missing.kxm") + "' '" + Out("x.glb") + "'", 1, "missing.kxm"},
        {"export " + Sample("Kran.kxm") + " '" + Out("no/such/folder/x.glb") + "'", 1, "x.glb"},
        {"picture " + Sample("Kran.kxm") + " '" + Out("no/such/folder/x.png") + "'", 1, "x.png"},
        {"info '" + Out("missing.kxm") + "'", 1, "missing.kxm"},
    };
    for (const TCase& c : cases) {
        const TRun run = Batch(c.Args);
        EXPECT_EQ(run.Exit, c.Exit) << c.Args << "\n" << run.Err;
        EXPECT_NE(run.Err.find(c.Err), std::string::npos) << c.Args << "\n" << run.Err;
    }
    // A broken model file fails with the loader's reason and writes nothing.
    kxtest::WriteFile(m_dir / "broken.kxm", "[COMMON]\r\nCount=3\r\n");
    const TRun broken = Batch("partslist '" + Out("broken.kxm") + "' '" + Out("b.csv") + "'");
    EXPECT_EQ(broken.Exit, 1);
    EXPECT_FALSE(broken.Err.empty());
    EXPECT_FALSE(fs::exists(Out("b.csv")));
    EXPECT_NE(Batch("--help").Out.find("partslist"), std::string::npos);
    EXPECT_NE(Batch("export --help").Out.find(".3mf"), std::string::npos);
    EXPECT_NE(Batch("picture --help").Out.find("--camera"), std::string::npos);
}

namespace {

/// The number after "label" and blanks in a tool's report, or -1.
long Figure(const std::string& report, const std::string& label) {
    std::smatch m;
    if (!std::regex_search(report, m, std::regex(label + "\\s*:?\\s*([0-9]+)"))) {
        return -1;
    }
    return std::stol(m[1]);
}

}  // namespace

TEST_F(BatchTest, ExchangeFilesAreReadBackByOutsideTools) {
    // The crane: 21 parts and a hose (the hook's pull cord).
    const TRun info = Batch("info " + Sample("Kran.kxm"));
    ASSERT_EQ(info.Exit, 0) << info.Err;
    ASSERT_EQ(Figure(info.Out, "parts"), 21) << info.Out;
    ASSERT_EQ(Figure(info.Out, "hoses"), 1) << info.Out;
    for (const char* ext : {"obj", "3mf", "stl"}) {
        const TRun run =
            Batch("export " + Sample("Kran.kxm") + " '" + Out(std::string("kran.") + ext) + "'");
        ASSERT_EQ(run.Exit, 0) << ext << run.Err;
    }
    // OBJ and 3MF hold one object per part and hose, the same triangles as the STL.
    const TRun obj = Shell("assimp info '" + Out("kran.obj") + "'");
    const TRun mf3 = Shell("assimp info '" + Out("kran.3mf") + "'");
    ASSERT_EQ(obj.Exit, 0) << obj.Err;
    ASSERT_EQ(mf3.Exit, 0) << mf3.Err;
    EXPECT_EQ(Figure(obj.Out, "Meshes"), 22) << obj.Out;
    EXPECT_EQ(Figure(mf3.Out, "Meshes"), 22) << mf3.Out;
    EXPECT_TRUE(kxtest::ReadFile(Out("kran.mtl")).find("newmtl") != std::string::npos);
    const long faces = Figure(obj.Out, "Faces");
    EXPECT_EQ(Figure(mf3.Out, "Faces"), faces);
    const std::string stl = kxtest::ReadFile(Out("kran.stl"));
    ASSERT_EQ(stl.size(), 84u + 50u * static_cast<size_t>(faces));
    EXPECT_EQ(static_cast<long>(static_cast<uint8_t>(stl[80]) | static_cast<uint8_t>(stl[81]) << 8 |
                                static_cast<uint8_t>(stl[82]) << 16),
              faces);

    // One file per part; a closed kit part reads as closed, in millimetres.
    const TRun parts = Batch("export " + Sample("Kran.kxm") + " '" + Out("k.stl") + "' --per-part");
    ASSERT_EQ(parts.Exit, 0) << parts.Err;
    EXPECT_TRUE(fs::exists(Out("k_Schlauch_1.stl")));
    const TRun admesh = Shell("admesh '" + Out("k_F40118_1.stl") + "'");
    ASSERT_EQ(admesh.Exit, 0) << admesh.Err;
    EXPECT_GT(Figure(admesh.Out, "Number of facets"), 11) << admesh.Out;
    for (const char* bad : {"Total disconnected facets", "Degenerate facets", "Edges fixed",
                            "Facets reversed", "Backwards edges", "Normals fixed"}) {
        EXPECT_EQ(Figure(admesh.Out, bad), 0) << bad << "\n" << admesh.Out;
    }
    // In millimetres: an upright of the tower is 210 mm between its holes, 218 mm overall.
    std::smatch m;
    ASSERT_TRUE(
        std::regex_search(admesh.Out, m, std::regex("Min Y = *(-?[0-9.]+), Max Y = *(-?[0-9.]+)")));
    EXPECT_NEAR(std::stod(m[2]) - std::stod(m[1]), 218, 0.01) << admesh.Out;
}

TEST_F(BatchTest, GltfAndGlbPassTheKhronosValidator) {
    if (Shell("sh -c 'command -v npm'").Exit != 0) {
        GTEST_SKIP() << "npm is not installed: the Khronos glTF validator cannot be fetched";
    }
    const std::string dir = KX_GLTF_VALIDATOR_DIR;
    if (!fs::exists(fs::path(dir) / "node_modules" / "gltf-validator" / "package.json")) {
        const TRun install =
            Shell("npm install --prefix '" + dir +
                  "' --no-audit --no-fund --no-save gltf-validator@" + KX_GLTF_VALIDATOR_VERSION);
        ASSERT_EQ(install.Exit, 0) << install.Out << install.Err;
    }
    for (const char* sample : {"Kran.kxm", "Leitungen.kxm"}) {
        for (const char* ext : {"gltf", "glb"}) {
            const std::string file = Out(std::string("m.") + ext);
            const TRun run = Batch("export " + Sample(sample) + " '" + file + "'");
            ASSERT_EQ(run.Exit, 0) << run.Err;
            const TRun check = Shell(std::string("node '") + KX_GLTF_VALIDATE_JS + "' '" + dir +
                                     "' '" + file + "'");
            ASSERT_EQ(check.Exit, 0) << check.Err;
            EXPECT_NE(check.Out.find("\"errors\":0,"), std::string::npos)
                << sample << " " << ext << "\n"
                << check.Out;
        }
    }
    // Parts are nodes named by their instance names, one mesh per definition, in metres: the
    // crane is about 30 cm tall.
    ASSERT_EQ(Batch("export " + Sample("Kran.kxm") + " '" + Out("m.gltf") + "'").Exit, 0);
    const TRun crane = Shell(
        "python3 -c \"import json,sys\n"
        "g = json.load(open(sys.argv[1]))\n"
        "names = [n.get('name', '') for n in g['nodes']]\n"
        "pos = [p['attributes']['POSITION'] for m in g['meshes'] for p in m['primitives']]\n"
        "top = max(max(map(abs, g['accessors'][i]['max'])) for i in pos)\n"
        "print(len(g['meshes']), 'F40118_4' in names, 'Schlauch_1' in names, 0.05 < top < 0.5)\" "
        "'" +
        Out("m.gltf") + "'");
    ASSERT_EQ(crane.Exit, 0) << crane.Err;
    EXPECT_EQ(crane.Out, "12 True True True\n");  // eleven definitions and the hose
}

// An outside viewer draws the crane's GLB: the model stands upright in its colours.
TEST_F(BatchTest, AnOutsideViewerDrawsTheCranesGlb) {
    if (Shell("sh -c 'command -v view3dscene && command -v xvfb-run'").Exit != 0) {
        GTEST_SKIP() << "view3dscene or xvfb-run is not installed";
    }
    ASSERT_EQ(Batch("export " + Sample("Kran.kxm") + " '" + Out("kran.glb") + "'").Exit, 0);
    const fs::path shot = kxtest::ShotFolder() / "kran-glb-view3dscene.png";
    fs::remove(shot);
    const TRun view = Shell("xvfb-run -a -s '-screen 0 1024x768x24' view3dscene '" +
                            Out("kran.glb") + "' --screenshot 0 '" + shot.string() + "'");
    ASSERT_EQ(view.Exit, 0) << view.Err;
    const std::string png = kxtest::ReadFile(shot);
    ASSERT_GT(png.size(), 5000u) << "a picture of more than the background";
    EXPECT_EQ(png.substr(1, 3), "PNG");
}

// A picture of every sample, each drawn without a display, for a person to look at.
TEST_F(BatchTest, EverySampleHasItsPicture) {
    for (const auto& entry : fs::directory_iterator(fs::path(KX_RUNTIME_DIR) / "samples")) {
        if (entry.path().extension() != ".kxm") {
            continue;
        }
        const std::string name = entry.path().stem().string();
        const fs::path png = kxtest::ShotFolder() / ("sample-" + name + ".png");
        const TRun run =
            Batch("picture '" + entry.path().string() + "' '" + png.string() + "' --size 640x480");
        EXPECT_EQ(run.Exit, 0) << name << ": " << run.Err;
        EXPECT_GT(fs::file_size(png), 2000u) << name;
    }
}

TEST_F(BatchTest, PicturesAndInfoWithoutADisplay) {
    const TRun picture =
        Batch("picture " + Sample("Kran.kxm") + " '" + Out("kran.png") + "' --size 160x120");
    ASSERT_EQ(picture.Exit, 0) << picture.Err;
    const std::string png = kxtest::ReadFile(Out("kran.png"));
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    auto be32 = [&](size_t at) {
        return static_cast<uint8_t>(png[at]) << 24 | static_cast<uint8_t>(png[at + 1]) << 16 |
               static_cast<uint8_t>(png[at + 2]) << 8 | static_cast<uint8_t>(png[at + 3]);
    };
    EXPECT_EQ(be32(16), 160);
    EXPECT_EQ(be32(20), 120);
    // Only the first build phase, or from a stored camera: another picture.
    ASSERT_EQ(
        Batch("picture " + Sample("Kran.kxm") + " '" + Out("p1.png") + "' --size 160x120 --phase 1")
            .Exit,
        0);
    ASSERT_EQ(Batch("picture " + Sample("Kran.kxm") + " '" + Out("c1.png") +
                    "' --size 160x120 --camera 1")
                  .Exit,
              0);
    EXPECT_TRUE(kxtest::ReadFile(Out("p1.png")) != png);
    EXPECT_TRUE(kxtest::ReadFile(Out("c1.png")) != png);

    // A part whose definition is missing is counted and named.
    std::string model = kxtest::ReadFile(m_program / "samples" / "Kran.kxm");
    model = std::regex_replace(model, std::regex("F40001_1"), "F49999_1");
    kxtest::WriteFile(m_dir / "odd.kxm", model);
    const TRun json = Shell(std::string("'") + KXBATCH + "' info --json '" + Out("odd.kxm") +
                            "' | python3 -c \"import json,sys\n"
                            "d = json.load(sys.stdin)\n"
                            "print(d['parts'], d['phases'], d['groups'], d['links'], d['hoses'], "
                            "d['missing'], d['title'])\"");
    ASSERT_EQ(json.Exit, 0) << json.Err;
    EXPECT_EQ(json.Out, "21 [1, 2, 3] 3 15 1 ['49999'] Turmdrehkran\n");
    const TRun hoses = Batch("info " + Sample("Leitungen.kxm"));
    EXPECT_EQ(Figure(hoses.Out, "hoses"), 5) << hoses.Out;
}

namespace {

/// Whether a binary PPM picture holds more than the colour of its first pixel.
bool PpmShowsSomething(const std::string& ppm) {
    std::istringstream in(ppm);
    // The header's four words, with comment lines (POV-Ray names itself in one) between them.
    std::string words[4];
    for (std::string& word : words) {
        while (in >> std::ws && in.peek() == '#') {
            in.ignore(1 << 20, '\n');
        }
        in >> word;
    }
    in.get();
    if (words[0] != "P6" || words[3] != "255") {
        return false;
    }
    const size_t width = std::stoul(words[1]), height = std::stoul(words[2]);
    const size_t start = static_cast<size_t>(in.tellg());
    const size_t size = width * height * 3;
    if (size == 0 || ppm.size() < start + size) {
        return false;
    }
    size_t other = 0;
    for (size_t i = 3; i < size; i += 3) {
        other += ppm.compare(start + i, 3, ppm, start, 3) != 0;
    }
    return other > size / 3 / 50;
}

/// Python that prints the number of face sets and of faces (-1 ends one) in a VRML file.
const char* const kVrmlFaces =
    "python3 -c \"import re,sys\n"
    "t = open(sys.argv[1], newline='').read()\n"
    "idx = re.findall(r'coordIndex\\s*\\[([^\\]]*)\\]', t)\n"
    "print(len(re.findall(r'\\bIndexedFaceSet\\b', t)), "
    "sum(len(re.findall(r'-1\\b', i)) for i in idx))\" ";

}  // namespace

TEST_F(BatchTest, EveryExportOfTheSampleModelsIsReadByOutsidePrograms) {
    std::vector<std::string> samples;
    for (const auto& entry : fs::directory_iterator(m_program / "samples")) {
        if (entry.path().extension() == ".kxm") {
            samples.push_back(entry.path().filename().string());
        }
    }
    ASSERT_GE(samples.size(), 5u);
    for (const std::string& sample : samples) {
        SCOPED_TRACE(sample);
        // POV-Ray renders the scene into a picture that is not just background.
        ASSERT_EQ(Batch("export " + Sample(sample) + " '" + Out("m.pov") + "'").Exit, 0);
        const TRun pov =
            Shell("povray +I'" + Out("m.pov") + "' +O'" + Out("m.ppm") + "' +FP +W160 +H120 -D -V");
        ASSERT_EQ(pov.Exit, 0) << pov.Err;
        EXPECT_TRUE(PpmShowsSomething(kxtest::ReadFile(Out("m.ppm"))));

        // A VRML 1.0 reader takes every face set and every triangle: what it writes back
        // holds as many.
        ASSERT_EQ(Batch("export " + Sample(sample) + " '" + Out("m.wrl") + "'").Exit, 0);
        const TRun read = Shell("view3dscene '" + Out("m.wrl") + "' --write");
        ASSERT_EQ(read.Exit, 0) << read.Err;
        EXPECT_TRUE(read.Out.starts_with("#VRML V1.0 ascii"));
        kxtest::WriteFile(Out("back.wrl"), read.Out);
        const TRun ours = Shell(kVrmlFaces + ("'" + Out("m.wrl") + "'"));
        const TRun theirs = Shell(kVrmlFaces + ("'" + Out("back.wrl") + "'"));
        EXPECT_EQ(theirs.Out, ours.Out);
        EXPECT_GT(std::stol(ours.Out.substr(ours.Out.find(' '))), 100) << ours.Out;

        // X3D is well-formed XML in the encoding it declares, and no DEF name repeats one
        // before it.
        for (const char* flat : {"", " --flat"}) {
            ASSERT_EQ(Batch("export " + Sample(sample) + " '" + Out("m.x3d") + "'" + flat).Exit, 0);
            const TRun lint = Shell("xmllint --noout --nonet '" + Out("m.x3d") + "'");
            EXPECT_EQ(lint.Exit, 0) << lint.Err;
            const TRun defs =
                Shell("xmllint --nonet --xpath 'count(//@DEF)' '" + Out("m.x3d") + "'");
            EXPECT_GT(std::stoi(defs.Out), 1) << defs.Err;
            const TRun repeated = Shell(
                "xmllint --nonet --xpath "
                "'count(//*[@DEF = preceding::*/@DEF or @DEF = ancestor::*/@DEF])' '" +
                Out("m.x3d") + "'");
            EXPECT_EQ(repeated.Out, "0\n") << repeated.Err;
        }

        // RAW: a name line per part, then nine numbers per triangle line.
        ASSERT_EQ(Batch("export " + Sample(sample) + " '" + Out("m.raw") + "'").Exit, 0);
        const TRun raw = Shell(
            "python3 -c \"import sys\n"
            "rows = [l.split() for l in open(sys.argv[1], newline='').read().split('\\r\\n') if "
            "l]\n"
            "tri = [r for r in rows if len(r) == 9 and [float(x) for x in r]]\n"
            "print(len(rows) - len(tri) > 0 and len(tri) > 0 and "
            "all(len(r) in (1, 9) for r in rows))\" '" +
            Out("m.raw") + "'");
        EXPECT_EQ(raw.Out, "True\n") << raw.Err;
    }
}

TEST_F(BatchTest, TheSequenceProgramIsWrittenAsALogicPlanThatPythonReads) {
    const TRun run = Batch("logic " + Sample("Spindelprogramm.kxm") + " '" + Out("spindel") + "'");
    ASSERT_EQ(run.Exit, 0) << run.Err;
    const TRun read = Shell(
        "python3 -c \"import configparser\n"
        "c = configparser.ConfigParser()\n"
        "c.read('" +
        Out("spindel.kxl") +
        "', encoding='cp1252')\n"
        "blocks = [s for s in c.sections() if s.startswith('LOGIKBLOCK')]\n"
        "print(c['LOGIKCOMMON']['BLOCKCOUNT'], len(blocks), "
        "c['LOGIKBLOCK1']['TYP'])\"");
    ASSERT_EQ(read.Exit, 0) << read.Err;
    EXPECT_EQ(read.Out, "15 15 TBLOCKSTART\n");
    EXPECT_EQ(Batch("logic '" + Out("none.kxm") + "' '" + Out("x.kxl") + "'").Exit, 1);
}

TEST_F(BatchTest, EveryShippedMenuScriptRunsHeadlessAndAScriptsModelIsSaved) {
    // Each script of the "Skripte" menu runs against a sample model without a display.
    for (const auto& entry : fs::directory_iterator(m_program / "Python" / "Menu")) {
        const TRun run = Batch("script '" + entry.path().string() + "' " + Sample("Kran.kxm"));
        EXPECT_EQ(run.Exit, 0) << entry.path() << "\n" << run.Err;
    }
    const std::string script = Out("stairs.py");
    kxtest::WriteFile(script, "import kxd\nkxd.DeleteAll()\nprint(kxd.AddPart('40001'))\n");
    TRun run =
        Batch("script '" + script + "' " + Sample("Kran.kxm") + " --save '" + Out("one.kxm") + "'");
    ASSERT_EQ(run.Exit, 0) << run.Err;
    EXPECT_EQ(run.Out, "F40001_1\n");
    run = Batch("info '" + Out("one.kxm") + "'");
    EXPECT_NE(run.Out.find("parts: 1\n"), std::string::npos) << run.Out;

    // A failing script: its traceback on standard error, exit status 1, nothing saved.
    kxtest::WriteFile(script, "import kxd\nkxd.AddPart(5)\n");
    run = Batch("script '" + script + "' " + Sample("Kran.kxm") + " --save '" + Out("none.kxm") +
                "'");
    EXPECT_EQ(run.Exit, 1);
    EXPECT_NE(run.Err.find("Traceback"), std::string::npos) << run.Err;
    EXPECT_NE(run.Err.find("TypeError"), std::string::npos);
    EXPECT_FALSE(fs::exists(Out("none.kxm")));
    EXPECT_EQ(Batch("script '" + Out("missing.py") + "' " + Sample("Kran.kxm")).Exit, 1);
}

TEST_F(BatchTest, TheScriptingReferenceAndStubsMatchTheModulesDocstrings) {
    // The generator reads the module through the real interpreter and fails when kxd.pyi or a
    // help page's reference is not what it would write now.
    const TRun run =
        Shell(std::string("KXD_DOCS_ROOT='") + KX_SOURCE_DIR + "' KXD_DOCS_CHECK=1 '" + KXBATCH +
              "' script '" + KX_SOURCE_DIR + "/tools/scripting/kxd_docs.py' " + Sample("Kran.kxm"));
    EXPECT_EQ(run.Exit, 0) << run.Out << run.Err;
}

TEST_F(BatchTest, RenderGoesThroughPovRayAndSaysWhyWhenItCannot) {
    const TRun run = Batch("render " + Sample("Kran.kxm") + " '" + Out("kran.png") +
                           "' --size 160x120 --quality 2 --background 4080C0");
    ASSERT_EQ(run.Exit, 0) << run.Err;
    const TRun size = Shell(
        "python3 -c \"import struct,sys\n"
        "d = open(sys.argv[1], 'rb').read()\n"
        "print(d[1:4].decode(), *struct.unpack('>II', d[16:24]))\" '" +
        Out("kran.png") + "'");
    EXPECT_EQ(size.Out, "PNG 160 120\n") << size.Err;
    // No engine, or a picture it cannot write: the reason, and no picture left behind.
    kxtest::WriteFile(Out("old.png"), "old");
    const TRun missing = Batch("render " + Sample("Kran.kxm") + " '" + Out("old.png") +
                               "' --povray /no/such/povray");
    EXPECT_EQ(missing.Exit, 1);
    EXPECT_NE(missing.Err.find("POV-Ray"), std::string::npos) << missing.Err;
    EXPECT_EQ(kxtest::ReadFile(Out("old.png")), "old");
    const TRun unwritable =
        Batch("render " + Sample("Kran.kxm") + " '" + Out("no/such/folder/x.png") + "'");
    EXPECT_EQ(unwritable.Exit, 1);
    EXPECT_NE(unwritable.Err.find("POV-Ray failed"), std::string::npos) << unwritable.Err;
    EXPECT_EQ(Batch("render " + Sample("Kran.kxm") + " x.png --size 0x5").Exit, 2);
}
