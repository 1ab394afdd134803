// kxbatch run as a user runs it, without a display; its files read by outside programs
// (Python's csv module, pdfinfo, pdftoppm, pdftotext).
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <regex>

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
}
