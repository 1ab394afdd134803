// The parts list of a model: what is counted, the CSV file and the phase picture's layout.
#include <gtest/gtest.h>

#include "catalogue/u_stl.h"
#include "model/u_partslist.h"
#include "model_fixture.h"
#include "printing/u_sheetitems.h"

using namespace kx;
using kxtest::ModelTest;

namespace {

class PartsListTest : public ModelTest {
protected:
    PartsListTest() {
        // Article numbers run against the definition numbers, so a list sorted by the wrong
        // one shows.
        Define("20000", "A-2", "Winkel; 30°", "Angle; 30°", 1);
        Define("10000", "Z-1", "Kette \"lang\"", "Chain", 2);
        Define("15000", "M-5", "Bauplatte", "Plate", 0);
        m_files.Refresh();
    }

    void Define(const std::string& number, const std::string& org, const std::string& de,
                const std::string& en, int printable) {
        TDefObj def;
        def.Number = number;
        def.OrgNumber = org;
        def.Name = de;
        def.NameDe = de;
        def.NameEng = en;
        def.Printable = printable;
        const auto prog = m_dir.Path() / "prog";
        ASSERT_TRUE(SaveDefinition(def, prog / "def" / (number + ".def")));
        ASSERT_TRUE(WriteStlFile(prog / "hires" / (number + ".stl"), kxtest::TestMesh(2, 10)));
    }

    /// 31010 twice, 20000 three times (once in phase 2), 10000 twice, 15000 once.
    void PlaceParts() {
        for (const char* n : {"31010", "20000", "10000", "15000", "31010", "10000", "20000"}) {
            Add(n);
        }
        m_model->SetBauphase(2);
        Add("20000");
    }
};

}  // namespace

TEST_F(PartsListTest, CsvCountsPrintablePartsSortedByNumberAndQuotesWhatNeedsIt) {
    PlaceParts();
    const auto file = m_dir.Path() / "liste.csv";
    std::string error;
    ASSERT_TRUE(ExportAsCSV(*m_model, file, &error)) << error;
    // Printability 2 is listed, 0 is not; rows by definition number, not by article number;
    // a name with the separator or a quote cannot shift the columns; Windows-1252, CR LF.
    EXPECT_EQ(kxtest::ReadFile(file),
              "Nummer;Bezeichnung;Anzahl\r\n"
              "Z-1;\"Kette \"\"lang\"\"\";2\r\n"
              "A-2;\"Winkel; 30\xB0\";3\r\n"
              "31010;Baustein 30;2\r\n");

    Param().SetLanguage("ENGLISH");
    ASSERT_TRUE(ExportAsCSV(*m_model, file));
    EXPECT_EQ(kxtest::ReadFile(file),
              "Number;Text;Count\r\nZ-1;Chain;2\r\nA-2;\"Angle; 30\xB0\";3\r\n"
              "31010;noname;2\r\n");  // the fixture's part has no English name

    // An empty model has the header alone; a file that cannot be written says so and
    // leaves what is there.
    m_model->DeleteAll();
    ASSERT_TRUE(ExportAsCSV(*m_model, file));
    EXPECT_EQ(kxtest::ReadFile(file), "Number;Text;Count\r\n");
    std::filesystem::create_directory(m_dir.Path() / "folder");
    EXPECT_FALSE(ExportAsCSV(*m_model, m_dir.Path() / "folder", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(std::filesystem::is_directory(m_dir.Path() / "folder"));
}

TEST_F(PartsListTest, FileNamesGetTheirExtensionOnce) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"liste", "liste.csv"},
        {"liste.CSV", "liste.CSV"},
        {"liste.csv.bak", "liste.csv.bak"},
        {"/tmp/a.Csv", "/tmp/a.Csv"},
        {"liste.txt", "liste.txt.csv"},
    };
    for (const auto& [chosen, expected] : cases) {
        EXPECT_EQ(CsvFileName(chosen), expected) << chosen;
    }
}

TEST_F(PartsListTest, OverviewAndPhasePictureCountByTheirOwnRules) {
    PlaceParts();
    // The printed overview: printability above 0, order of first appearance, the article
    // number of the record; two parts of a definition make one box of 2.
    const std::vector<TSpareData> overview = {
        {"31010", "", 2, "31010"}, {"20000", "", 3, "A-2"}, {"10000", "", 2, "Z-1"}};
    EXPECT_EQ(OverviewItems(m_model->Parts()), overview);

    // The phase picture: only the phase's parts of printability exactly 1.
    const std::vector<TPhasePartGroup> phase1 = {{"31010", 2}, {"20000", 2}};
    const std::vector<TPhasePartGroup> phase2 = {{"20000", 1}};
    EXPECT_EQ(PhasePartGroups(m_model->Parts(), 1), phase1);
    EXPECT_EQ(PhasePartGroups(m_model->Parts(), 2), phase2);
    EXPECT_TRUE(PhasePartGroups(m_model->Parts(), 3).empty());
}

TEST(PhasePicture, LayoutOfRowsCellsAndCounts) {
    struct TCase {
        TPhasePictureOptions Options;
        int Groups;
        int Rows, Width, Height;
    };
    const std::vector<TCase> cases = {
        {{4, true, true, false}, 9, 3, 300, 244},    // nine parts at four per row
        {{4, true, false, false}, 9, 3, 300, 196},   // without counts the cell is 64 high
        {{4, false, true, true}, 9, 3, 1604, 1324},  // high quality 400 x 440
        {{4, false, false, true}, 8, 2, 1604, 804},  // full rows only
        {{1, true, true, false}, 2, 2, 78, 164},    {{4, true, true, false}, 0, 0, 300, 4},
    };
    for (const TCase& c : cases) {
        const auto l = PhasePictureLayout(c.Options, c.Groups);
        EXPECT_EQ(l.Rows, c.Rows) << c.Groups;
        EXPECT_EQ(l.Width, c.Width) << c.Groups;
        EXPECT_EQ(l.Height, c.Height) << c.Groups;
    }
    const auto l = PhasePictureLayout({4, true, true, false}, 9);
    const auto cell = l.Cell(5);  // second row, second column
    EXPECT_EQ(cell.ImageX, 76);
    EXPECT_EQ(cell.ImageY, 82);
    EXPECT_EQ(cell.CountTop, 145);
    EXPECT_EQ(cell.CountHeight, 15);

    for (const auto& [text, perRow] : std::vector<std::pair<std::string, int>>{
             {"5", 5}, {"abc", 4}, {"", 4}, {"0", 4}, {"-3", 4}, {"64", 64}, {"65", 4}}) {
        EXPECT_EQ(PartsPerRowFromText(text), perRow) << text;
    }
}
