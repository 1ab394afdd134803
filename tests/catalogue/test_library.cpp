// Parts library: fill and tab rules, LASTGROUP, favourites, collections, search, part tools.
#include <gtest/gtest.h>

#include <deque>
#include <memory>

#include "catalogue/u_library.h"
#include "catalogue/u_partfiles.h"
#include "foundation/u_param.h"
#include "foundation/u_stack.h"
#include "foundation/u_text.h"
#include "kx_test_support.h"

using namespace kx;
namespace fs = std::filesystem;

namespace {

struct TFakeFill : TLibraryFillPort {
    std::string Text;
    int Maximum = -1;
    std::vector<int> Positions;
    std::vector<fs::path> Icons;
    void FillStart(const std::string& text, int maximum) override {
        Text = text;
        Maximum = maximum;
    }
    void FillProgress(int position) override { Positions.push_back(position); }
    int LoadIcon(const fs::path& file) override {
        Icons.push_back(file);
        return static_cast<int>(Icons.size()) - 1;
    }
};

struct TFakeView : TLibraryView {
    std::vector<std::pair<TLibraryMessageKind, std::string>> Messages;
    std::vector<TLibraryPage> Shown;
    std::deque<bool> Answers;
    std::deque<std::optional<int32_t>> Counts;
    std::vector<std::string> Questions;
    std::vector<int32_t> CountPrefills;
    void PageChanged(const TLibraryPage&) override {}
    void SelectionChanged(const TLibraryPage&) override {}
    void ShowPage(const TLibraryPage& page) override { Shown.push_back(page); }
    void ScrollToTile(const TLibraryPage&, int) override {}
    void Message(TLibraryMessageKind kind, const std::string& text) override {
        Messages.emplace_back(kind, text);
    }
    bool AskYesNo(const std::string& q) override {
        Questions.push_back(q);
        bool a = !Answers.empty() && Answers.front();
        if (!Answers.empty()) {
            Answers.pop_front();
        }
        return a;
    }
    std::optional<int32_t> AskCollectionCount(int32_t initial) override {
        CountPrefills.push_back(initial);
        auto c = Counts.empty() ? std::nullopt : Counts.front();
        if (!Counts.empty()) {
            Counts.pop_front();
        }
        return c;
    }
};

struct TFakeModel : TLibraryModel {
    std::vector<std::string> Placed, Selected;
    bool Suppressed = false;
    std::vector<std::string> Found;
    std::vector<std::string> PlacedPartNumbers() override { return Placed; }
    std::vector<std::string> SelectedPartNumbers() override { return Selected; }
    bool CollectionRefreshSuppressed() override { return Suppressed; }
    void FindPartsInModel(const std::string& number) override { Found.push_back(number); }
};

std::string Def(const std::string& org, const std::string& name, int group, int sort = 0,
                bool hide = false, int version = 1) {
    std::string s = "[COLOR]\r\nRed=200\r\n\r\n[COMMON]\r\nName=" + name + "\r\nEng=" + name +
                    " (en)\r\nGroup=" + IntToStr(group) + "\r\nOrgNumber=" + org +
                    "\r\nSortOrder=" + IntToStr(sort) + "\r\nVersion=" + IntToStr(version) + "\r\n";
    if (hide) {
        s += "Hide=1\r\n";
    }
    return Utf8ToCp1252(s);
}

class Library : public ::testing::Test {
protected:
    void SetUp() override {
        m_oldParam = SetParam(std::make_unique<TkxParam>(std::vector<std::string>{},
                                                         m_dir / "config", m_dir / "sys"));
        m_files = std::make_unique<TPartFiles>(m_dir / "prog", m_dir / "user");
        m_lib.SetView(&m_view);
        m_lib.SetModel(&m_model);
    }
    void TearDown() override { SetParam(std::move(m_oldParam)); }

    void AddPart(const std::string& number, const std::string& bytes, bool icon = true) {
        kxtest::WriteFile(m_dir / "prog" / "def" / (number + ".def"), bytes);
        if (icon) {
            kxtest::WriteFile(m_dir / "prog" / "icon" / (number + ".bmp"), PlaceholderIconBmp());
        }
    }
    TLibraryFillResult FillLib(TLibraryFillOptions options = {}) {
        m_files->Refresh();
        return m_lib.Fill(*m_files, options, m_fill);
    }
    std::vector<std::string> Numbers(const TLibraryPage& page) const {
        std::vector<std::string> n;
        for (const auto& item : m_lib.Page(page).Items) {
            n.push_back(item.Number());
        }
        return n;
    }
    // A standard library: parts on several tabs.
    void Standard() {
        AddPart("31010", Def("31010", "Baustein 30", 0, 200));
        AddPart("31011", Def("31011", "Baustein 15", 0, 100));
        AddPart("31003", Def("31003", "Räder groß", 2));
        AddPart("32064", Def("32064", "Grundplatte", 4));
        AddPart("35100", Def("35100", "Alter Motor", 12));
        AddPart("36000", Def("36000", "Unsichtbar", 0, 0, true));
        AddPart("37000", Def("37000", "Figur", 8), false);
        AddPart("38000", Def("38000", "Sonderteil", 25));
        AddPart("39000", Def("39000", "Würfel", 19));
        AddPart("39100", Def("39100", "Kugelbahn", 20));
        AddPart("39200", Def("39200", "Pralmo Teil", 21));
        AddPart("39300", Def("39300", "Quendrix Teil", 22));
    }

    kxtest::TTempDir m_dir;
    std::unique_ptr<TkxParam> m_oldParam;
    std::unique_ptr<TPartFiles> m_files;
    TPartLibrary m_lib;
    TFakeFill m_fill;
    TFakeView m_view;
    TFakeModel m_model;
};

constexpr TLibraryPage NewTab(int t) {
    return {TLibrarySet::New, t};
}
constexpr TLibraryPage OldTab(int t) {
    return {TLibrarySet::Old, t};
}

}  // namespace

TEST_F(Library, FillPlacesEveryVisibleDefinitionOnTheTabOfItsGroupSortedByKey) {
    Standard();
    const TLibraryFillResult r = FillLib();
    EXPECT_EQ(r.Found, 12);
    EXPECT_EQ(r.Shown, 11);
    EXPECT_EQ(m_fill.Maximum, 12);
    EXPECT_EQ(m_fill.Positions.size(), 12u);
    EXPECT_EQ(m_fill.Text, "Lade Bauteile...");

    EXPECT_EQ(Numbers(NewTab(0)), (std::vector<std::string>{"31011", "31010"}));  // by key
    EXPECT_EQ(Numbers(NewTab(2)), (std::vector<std::string>{"31003"}));
    EXPECT_EQ(Numbers(NewTab(4)), (std::vector<std::string>{"32064"}));
    EXPECT_EQ(Numbers(NewTab(8)), (std::vector<std::string>{"37000"}));
    EXPECT_EQ(Numbers(NewTab(NewDynamicsTab)), (std::vector<std::string>{"39100"}));
    EXPECT_EQ(Numbers(NewTab(NewObjectsTab)), (std::vector<std::string>{"39000"}));
    EXPECT_EQ(Numbers(OldTab(3)), (std::vector<std::string>{"35100"}));
    EXPECT_EQ(Numbers(OldTab(0)), (std::vector<std::string>{"38000"}));  // group 25
    EXPECT_EQ(Numbers(OldTab(10)), (std::vector<std::string>{"39200"}));
    EXPECT_EQ(Numbers(OldTab(11)), (std::vector<std::string>{"39300"}));

    // Entries in load order (sorted file names), upper-cased texts, hidden part left out.
    ASSERT_EQ(m_lib.Entries().size(), 11u);
    EXPECT_EQ(m_lib.Entries()[0].Number, "31003");
    EXPECT_EQ(m_lib.Entries()[0].Name, "RÄDER GROß");
    EXPECT_EQ(m_lib.FindEntry("36000"), nullptr);

    // Tiles: label is the article number, hint the name; the part without icon has no image.
    const TSnapViewItem& tile = m_lib.Page(NewTab(2)).Items[0];
    EXPECT_EQ(tile.Label, "31003");
    EXPECT_EQ(tile.Hint, "Räder groß");
    EXPECT_GE(tile.ImageIndex(), 0);
    EXPECT_EQ(m_lib.FindEntry("31003")->ImageIndex, tile.ImageIndex());
    EXPECT_EQ(m_lib.Page(NewTab(8)).Items[0].ImageIndex(), -1);
    EXPECT_EQ(m_fill.Icons.size(), 10u);
    EXPECT_TRUE(m_view.Messages.empty());
}

TEST_F(Library, GroupRules) {
    EXPECT_EQ(PageForGroup(4), NewTab(4));
    EXPECT_EQ(PageForGroup(25), OldTab(0));
    EXPECT_EQ(PageForGroup(-3), NewTab(0));
    EXPECT_EQ(PageForGroup(9), OldTab(0));
    EXPECT_EQ(PageForGroup(18), OldTab(9));
    EXPECT_EQ(PageForGroup(23), OldTab(0));
    EXPECT_EQ(PageCaption(NewTab(11)), "Sammlung");
    EXPECT_EQ(PageCaption(NewTab(12)), "Favoriten");
    EXPECT_EQ(PageCaption(OldTab(11)), "Quendrix");
    EXPECT_EQ(PageCaption(OldTab(10)), "Pralmo");
    EXPECT_EQ(PageCaption(NewTab(9)), "Dynamics");
    EXPECT_EQ(PageCaption(NewTab(10)), "Objekte");
    EXPECT_EQ(PageCaption(OldTab(1)), "Statik");
}

TEST_F(Library, CombinedLibraryPutsOldGroupsOnNewTabs) {
    AddPart("35100", Def("35100", "Alter Motor", 12));
    AddPart("35200", Def("35200", "Alte Serie", 18));
    TLibraryFillOptions o;
    o.Settings.CombineLibrary = true;
    FillLib(o);
    EXPECT_EQ(Numbers(NewTab(3)), (std::vector<std::string>{"35100"}));
    EXPECT_EQ(Numbers(NewTab(5)), (std::vector<std::string>{"35200"}));
    EXPECT_TRUE(m_lib.Page(OldTab(3)).Items.empty());
}

TEST_F(Library, UnreadableDefinitionIsSkippedAndListedOnce) {
    Standard();
    m_files->Refresh();
    m_files->DefinitionNumbers();  // listed now, then two files vanish
    fs::remove(m_dir / "prog" / "def" / "31010.def");
    fs::remove(m_dir / "prog" / "def" / "35100.def");
    const TLibraryFillResult r = m_lib.Fill(*m_files, {}, m_fill);
    EXPECT_EQ(r.Unreadable, (std::vector<std::string>{"31010", "35100"}));
    EXPECT_EQ(r.Shown, 9);
    EXPECT_NE(m_lib.FindEntry("39300"), nullptr);  // the fill went on after them
    ASSERT_EQ(m_view.Messages.size(), 1u);
    EXPECT_NE(m_view.Messages[0].second.find("31010, 35100"), std::string::npos);
}

TEST_F(Library, ReducedLibraryStopsAtThirtyFiveTiles) {
    AddPart("10000", Def("10000", "Versteckt", 0, 0, true));
    for (int i = 1; i <= 50; ++i) {
        AddPart(IntToStr(10000 + i), Def(IntToStr(10000 + i), "Teil", i % 3), false);
    }
    TLibraryFillOptions o;
    o.ReducedLibrary = true;
    const auto r = FillLib(o);
    EXPECT_EQ(r.Shown, 35);
    EXPECT_EQ(m_lib.Entries().size(), 35u);
    EXPECT_EQ(m_lib.Entries().back().Number, "10035");  // the hidden one did not count
    EXPECT_EQ(FillLib().Shown, 50);
}

TEST_F(Library, DeveloperModeWritesThePartsOverview) {
    AddPart("31010", Def("b-2", "Zweiter", 0, 0, false, 3));
    AddPart("31011", Def("A-1", "Erster Würfel", 0, 0, false, 7));
    AddPart("31012", Def("X", "Versteckt", 0, 0, true));
    TLibraryFillOptions o;
    o.DeveloperMode = true;
    o.Date = "09.12.2026";
    EXPECT_TRUE(FillLib(o).OverviewWritten);
    const std::string bytes = kxtest::ReadFile(m_dir / "user" / "Bauteile.txt");
    const std::string dashes(58, '-');
    EXPECT_EQ(Cp1252ToUtf8(bytes),
              "Bauteilübersicht Korvex-Designer\r\nVersion " KX_VERSION " vom 09.12.2026\r\n" +
                  dashes + "\r\n\r\nA-1;ERSTER WÜRFEL;7\r\nB-2;ZWEITER;3\r\n\r\n" + dashes +
                  "\r\n2 Bauteile\r\n");
    // Not written outside developer mode; the entries keep their load order.
    fs::remove(m_dir / "user" / "Bauteile.txt");
    EXPECT_FALSE(FillLib().OverviewWritten);
    EXPECT_FALSE(fs::exists(m_dir / "user" / "Bauteile.txt"));
    EXPECT_EQ(m_lib.Entries()[0].Number, "31010");
}

TEST_F(Library, LastGroupCodesMapBothWays) {
    for (int code = 0; code <= 8; ++code) {
        EXPECT_EQ(PageForLastGroup(code), NewTab(code));
    }
    for (int code = 9; code <= 17; ++code) {
        EXPECT_EQ(PageForLastGroup(code), OldTab(code - 9));
    }
    EXPECT_EQ(PageForLastGroup(18), OldTab(9));
    EXPECT_EQ(PageForLastGroup(19), NewTab(9));
    EXPECT_EQ(PageForLastGroup(20), OldTab(10));
    EXPECT_EQ(PageForLastGroup(21), OldTab(11));
    EXPECT_EQ(PageForLastGroup(22), NewTab(0));
    EXPECT_EQ(PageForLastGroup(-1), NewTab(0));
    for (int code = 0; code <= 21; ++code) {
        EXPECT_EQ(LastGroupForPage(PageForLastGroup(code)), code);
    }
    EXPECT_EQ(LastGroupForPage(NewTab(10)), 0);
    EXPECT_EQ(LastGroupForPage(NewTab(11)), 0);
    EXPECT_EQ(LastGroupForPage(NewTab(12)), 0);
    EXPECT_EQ(LastGroupForPage(OldTab(12)), 9);

    m_lib.ChangeLibrary(20);
    EXPECT_EQ(m_lib.ActivePage(), OldTab(10));
    EXPECT_EQ(m_view.Shown.back(), OldTab(10));
    EXPECT_EQ(m_lib.LastGroup(), 20);
    // The set buttons keep the tab index.
    m_lib.ShowSet(TLibrarySet::New);
    EXPECT_EQ(m_lib.ActivePage(), NewTab(10));
    m_lib.SetActiveTab(TLibrarySet::New, 3);
    m_lib.ShowSet(TLibrarySet::Old);
    EXPECT_EQ(m_lib.ActivePage(), OldTab(3));
    EXPECT_EQ(m_lib.LastGroup(), 12);
}

TEST_F(Library, ActualPartNumberAndDragRules) {
    Standard();
    FillLib();
    EXPECT_EQ(m_lib.GetActualPartNumber(), "");
    m_lib.SelectTile(NewTab(0), 1);
    EXPECT_EQ(m_lib.GetActualPartNumber(), "31010");
    m_lib.SetActiveTab(TLibrarySet::New, 2);
    EXPECT_EQ(m_lib.GetActualPartNumber(), "");  // the visible tab has no selection
    m_lib.SetActiveTab(TLibrarySet::New, 0);
    EXPECT_EQ(m_lib.StartDrag(NewTab(0), 0), std::optional<std::string>("31011"));
    EXPECT_EQ(m_lib.StartDrag(NewTab(0), 7), std::nullopt);
    m_lib.FindPartsInModel();
    EXPECT_EQ(m_model.Found, (std::vector<std::string>{"31010"}));
}

TEST_F(Library, FavouritesKeepTheNewestAndDropTheOldestInEachSet) {
    for (int i = 0; i < 9; ++i) {
        AddPart(IntToStr(40000 + i), Def(IntToStr(40000 + i), "Teil", i % 2 ? 0 : 10));
    }
    FillLib();
    EXPECT_EQ(Param().GetCountFavourites(), 8);
    for (int i = 0; i < 9; ++i) {
        const TLibraryPage page = PageForGroup(i % 2 ? 0 : 10);
        const int index = m_lib.Page(page).IndexOf(IntToStr(40000 + i));
        ASSERT_TRUE(m_lib.StartDrag(page, index));
        m_lib.PartDropped();
    }
    std::vector<std::string> expected;
    for (int i = 1; i < 9; ++i) {
        expected.push_back(IntToStr(40000 + i));
    }
    EXPECT_EQ(Numbers(NewTab(FavouritesTab)), expected);
    EXPECT_EQ(Numbers(OldTab(FavouritesTab)), expected);
    const TSnapViewItem& fav = m_lib.Page(NewTab(FavouritesTab)).Items[0];
    EXPECT_EQ(fav.Label, "40001");
    EXPECT_GE(fav.ImageIndex(), 0);

    // A number already there is not added again and pushes nothing out.
    m_lib.AddFavourite("40005");
    EXPECT_EQ(Numbers(NewTab(FavouritesTab)), expected);

    // Removing works on the visible favourites tab only.
    m_lib.ChangeLibrary(0);
    m_lib.SelectTile(NewTab(FavouritesTab), 0);
    EXPECT_FALSE(m_lib.RemoveSelectedFavourite());
    m_lib.SetActiveTab(TLibrarySet::New, FavouritesTab);
    EXPECT_TRUE(m_lib.RemoveSelectedFavourite());
    EXPECT_EQ(m_lib.Page(NewTab(FavouritesTab)).Items.size(), 7u);
    EXPECT_EQ(m_lib.Page(OldTab(FavouritesTab)).Items.size(), 8u);

    // The capacity is read when a part is placed.
    Param().SetCountFavourites(3);
    m_lib.AddFavourite("40000");
    EXPECT_EQ(Numbers(OldTab(FavouritesTab)),
              (std::vector<std::string>{"40007", "40008", "40000"}));
}

TEST_F(Library, CollectionFileLoadsCountsAndSavesRoundTrip) {
    Standard();
    FillLib();
    const fs::path file = m_dir / "meine.kxc";
    kxtest::WriteFile(file, "31010#2\r\n32064\r\n\r\n99999#abc\r\n31003#999999\r\n31010#1\r\n");
    m_model.Placed = {"31010", "31010", "31010", "31003"};
    ASSERT_TRUE(m_lib.OpenCollection(file));
    EXPECT_EQ(Param().GetLastCollectionFile(), file.string());
    const TSnapViewData& c = m_lib.Collection();
    ASSERT_EQ(c.Items.size(), 4u);
    EXPECT_EQ(c.Items[0].Number(), "31010");
    EXPECT_EQ(c.Items[0].Total(), 3);  // the repeated line adds up
    EXPECT_EQ(c.Items[0].Remaining(), 0);
    EXPECT_EQ(c.Items[1].Total(), UnlimitedCount);  // no "#"
    EXPECT_EQ(c.Items[2].Number(), "99999");
    EXPECT_EQ(c.Items[2].Total(), UnlimitedCount);  // not an integer
    EXPECT_EQ(c.Items[2].ImageIndex(), -1);         // unknown to the library
    EXPECT_EQ(c.Items[3].Remaining(), UnlimitedCount - 1);
    EXPECT_EQ(c.Items[1].Label, "32064");
    EXPECT_EQ(c.Items[1].Hint, "GRUNDPLATTE");

    // Exhausted tiles cannot be dragged from the collection.
    EXPECT_EQ(m_lib.StartDrag(NewTab(CollectionTab), 0), std::nullopt);
    EXPECT_TRUE(m_lib.StartDrag(NewTab(CollectionTab), 1));

    // Placing fewer parts frees them again; refreshes wait while the model loads.
    m_model.Placed = {"31010"};
    m_model.Suppressed = true;
    m_lib.RefreshCollection();
    EXPECT_EQ(c.Items[0].Remaining(), 0);
    m_model.Suppressed = false;
    m_lib.RefreshCollection();
    EXPECT_EQ(c.Items[0].Remaining(), 2);

    const fs::path saved = m_dir / "out.kxc";
    ASSERT_TRUE(m_lib.SaveCollection(saved));
    EXPECT_EQ(kxtest::ReadFile(saved),
              "31010#3\r\n32064#999999\r\n99999#999999\r\n31003#999999\r\n");
    EXPECT_EQ(Param().GetLastCollectionFile(), saved.string());

    TPartLibrary other;
    ASSERT_TRUE(other.OpenCollection(saved));
    EXPECT_EQ(other.CollectionLines(), m_lib.CollectionLines());
    EXPECT_TRUE(m_view.Messages.empty());

    EXPECT_EQ(CollectionFileName("/a/b"), "/a/b.kxc");
    EXPECT_EQ(CollectionFileName("/a/b.KxC"), "/a/b.KxC");
}

TEST_F(Library, FailedCollectionLoadKeepsTheCollectionAndTheSetting) {
    Standard();
    FillLib();
    const fs::path good = m_dir / "gut.kxc";
    kxtest::WriteFile(good, "31010#4\r\n");
    ASSERT_TRUE(m_lib.OpenCollection(good));

    const fs::path model = m_dir / "modell.kxm";
    kxtest::WriteFile(model, "[MODEL]\r\nCount=1\r\n[PART1]\r\nName=F31010_1\r\n");
    const fs::path binary = m_dir / "bild.kxc";
    kxtest::WriteFile(binary, std::string("BM\x00\x01\x02", 5) + "31010#1");
    for (const fs::path& bad : {m_dir / "fehlt.kxc", model, binary, m_dir.Path()}) {
        m_view.Messages.clear();
        EXPECT_FALSE(m_lib.OpenCollection(bad)) << bad;
        EXPECT_FALSE(m_lib.MergeCollection(bad)) << bad;
        EXPECT_EQ(m_lib.CollectionLines(), (std::vector<std::string>{"31010#4"}));
        EXPECT_EQ(Param().GetLastCollectionFile(), good.string());
        ASSERT_EQ(m_view.Messages.size(), 2u);
        EXPECT_EQ(m_view.Messages[0].first, TLibraryMessageKind::Warning);
        EXPECT_EQ(m_view.Messages[0].second, "Beim Laden der Sammlung ist ein Fehler aufgetreten.");
    }

    // A save that cannot be written warns, keeps the old file and the stored name.
    m_view.Messages.clear();
    EXPECT_FALSE(m_lib.SaveCollection(m_dir / "kein" / "ordner" / "x.kxc"));
    EXPECT_EQ(m_view.Messages.at(0).second,
              "Beim Speichern der Sammlung ist ein Fehler aufgetreten.");
    EXPECT_EQ(Param().GetLastCollectionFile(), good.string());
    EXPECT_EQ(kxtest::ReadFile(good), "31010#4\r\n");
}

TEST_F(Library, CollectionMergeAndEditCommands) {
    Standard();
    FillLib();
    const fs::path a = m_dir / "a.kxc", b = m_dir / "b.kxc";
    kxtest::WriteFile(a, "31010#2\r\n32064#1\r\n");
    kxtest::WriteFile(b, "31010#3\r\n31003#5\r\n32064#999999\r\n");
    ASSERT_TRUE(m_lib.OpenCollection(a));
    ASSERT_TRUE(m_lib.MergeCollection(b));
    EXPECT_EQ(m_lib.CollectionLines(),
              (std::vector<std::string>{"31010#5", "32064#999999", "31003#5"}));
    EXPECT_EQ(Param().GetLastCollectionFile(), a.string());  // merging stores no name

    // Add from a library tile: asks the count, once per number.
    m_lib.ChangeLibrary(4);
    m_lib.SelectTile(NewTab(4), 0);  // 32064 is in the collection already: nothing asked
    m_view.Counts = {9};
    EXPECT_FALSE(m_lib.AddSelectedToCollection());
    EXPECT_TRUE(m_view.CountPrefills.empty());
    m_lib.ChangeLibrary(0);
    m_lib.SelectTile(NewTab(0), 0);  // 31011
    m_view.Counts = {std::nullopt};
    EXPECT_FALSE(m_lib.AddSelectedToCollection());  // cancelled
    m_view.Counts = {7};
    EXPECT_TRUE(m_lib.AddSelectedToCollection());
    EXPECT_EQ(m_lib.CollectionLines().back(), "31011#7");
    EXPECT_EQ(m_view.CountPrefills, (std::vector<int32_t>{1, 1}));

    // Edit and remove work in the collection tab only.
    m_lib.SelectTile(NewTab(CollectionTab), 1);
    EXPECT_FALSE(m_lib.EditSelectedCollectionTile());
    m_lib.SetActiveTab(TLibrarySet::New, CollectionTab);
    m_view.Counts = {4};
    EXPECT_TRUE(m_lib.EditSelectedCollectionTile());
    EXPECT_EQ(m_view.CountPrefills.back(), UnlimitedCount);
    EXPECT_EQ(m_lib.CollectionLines()[1], "32064#4");
    EXPECT_TRUE(m_lib.RemoveSelectedCollectionTile());
    EXPECT_EQ(m_lib.CollectionLines(), (std::vector<std::string>{"31010#5", "31003#5", "31011#7"}));

    // "Neu" only after Yes.
    m_view.Answers = {false};
    EXPECT_FALSE(m_lib.NewCollection());
    EXPECT_EQ(m_lib.Collection().Items.size(), 3u);
    m_view.Answers = {true};
    EXPECT_TRUE(m_lib.NewCollection());
    EXPECT_TRUE(m_lib.Collection().Items.empty());
    EXPECT_EQ(m_view.Questions.back(), "Möchten Sie die Sammlung wirklich löschen?");
}

TEST_F(Library, SelectedPartsJoinTheCollection) {
    Standard();
    FillLib();
    kxtest::WriteFile(m_dir / "s.kxc", "31010#1\r\n32064#5\r\n31003#999999\r\n");
    ASSERT_TRUE(m_lib.OpenCollection(m_dir / "s.kxc"));
    m_model.Selected = {"31010", "31010", "31010", "32064", "32064", "C0007", "37000", "31003"};
    m_model.Placed = m_model.Selected;
    m_lib.AddSelectedPartsToCollection();
    // 31010: raised to the three selected; 32064: enough, each selected part adds one;
    // unlimited stays unlimited; a cable plug gets no tile; a new number gets total 1.
    EXPECT_EQ(m_lib.CollectionLines(),
              (std::vector<std::string>{"31010#3", "32064#7", "31003#999999", "37000#1"}));
    EXPECT_EQ(m_lib.Collection().Items[0].Remaining(), 0);
    const auto rows = m_lib.CollectionPrintRows();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[1].Text, "Muss noch");
    EXPECT_EQ(rows[1].Total, 7);
    EXPECT_EQ(rows[1].Label, "32064");
}

TEST_F(Library, SearchFindsOneEntryPerCallThenReportsAndStartsOver) {
    AddPart("31000", Def("31000", "Baustein", 0));
    AddPart("31001", Def("A3100", "Achse", 3));
    AddPart("31002", Def("31002", "Unsichtbarer Baustein", 0, 0, true));
    AddPart("31003", Def("B3100X", "Räder", 12));
    AddPart("31004", Def("99", "Platte", 4));
    FillLib();
    std::vector<std::string> found;
    for (int i = 0; i < 3; ++i) {
        const auto hit = m_lib.SearchBib("3100", "");
        ASSERT_TRUE(hit);
        found.push_back(m_lib.Entries()[*hit].Number);
    }
    EXPECT_EQ(found, (std::vector<std::string>{"31000", "31001", "31003"}));
    EXPECT_EQ(m_lib.ActivePage(), OldTab(3));  // the last hit's tab is shown and selected
    EXPECT_EQ(m_lib.GetActualPartNumber(), "31003");
    EXPECT_TRUE(m_view.Messages.empty());
    EXPECT_FALSE(m_lib.SearchBib("3100", ""));
    ASSERT_EQ(m_view.Messages.size(), 1u);
    EXPECT_EQ(m_view.Messages[0].second, "Es konnten keine (weiteren) Bauteile gefunden werden.");
    EXPECT_EQ(m_lib.Entries()[*m_lib.SearchBib("3100", "")].Number, "31000");  // starts over

    m_lib.ResetSearch();
    EXPECT_EQ(m_lib.Entries()[*m_lib.SearchBib("", "räd")].Number, "31003");
    m_lib.ResetSearch();
    EXPECT_FALSE(m_lib.SearchBib("", "unsichtbar"));  // hidden parts are not in the library
    EXPECT_FALSE(m_lib.SearchBib("", ""));
}

TEST_F(Library, ImportAsksBeforeReplacingAnExistingDefinition) {
    AddPart("31010", Def("31010", "Original", 0));
    const fs::path ext = m_dir / "extern";
    kxtest::WriteFile(ext / "def" / "77777abc.def", Def("77777", "Fremd", 1));
    kxtest::WriteFile(ext / "hires" / "77777.stl", "solid x\nendsolid x\n");
    kxtest::WriteFile(ext / "icon" / "77777.bmp", PlaceholderIconBmp());

    auto plan = PlanImport(*m_files, ext / "def" / "77777abc.def", "31010");
    ASSERT_EQ(plan.size(), 6u);
    EXPECT_TRUE(plan[0].SourceExists);
    EXPECT_TRUE(plan[0].TargetExists);
    EXPECT_TRUE(plan[1].SourceExists);   // hires stl
    EXPECT_FALSE(plan[2].SourceExists);  // hires nrm
    EXPECT_TRUE(plan[3].SourceExists);   // icon
    EXPECT_EQ(plan[1].Target, m_dir / "user" / "hires" / "31010.stl");

    m_view.Answers = {false};
    EXPECT_EQ(ExecuteImport(plan, *m_files, m_view), TImportResult::Cancelled);
    EXPECT_EQ(m_view.Questions.size(), 1u);
    EXPECT_FALSE(fs::exists(m_dir / "user" / "def" / "31010.def"));
    EXPECT_FALSE(fs::exists(m_dir / "user" / "hires" / "31010.stl"));

    m_view.Answers = {true};
    EXPECT_EQ(ExecuteImport(plan, *m_files, m_view), TImportResult::Done);
    EXPECT_EQ(*m_files->FindDef("31010"), m_dir / "user" / "def" / "31010.def");
    EXPECT_EQ(kxtest::ReadFile(m_dir / "user" / "def" / "31010.def"), Def("77777", "Fremd", 1));

    // A new number asks nothing; a number that names a folder is refused.
    plan = PlanImport(*m_files, ext / "def" / "77777abc.def", "55555");
    EXPECT_EQ(ExecuteImport(plan, *m_files, m_view), TImportResult::Done);
    EXPECT_EQ(m_view.Questions.size(), 2u);
    EXPECT_TRUE(PlanImport(*m_files, ext / "def" / "77777abc.def", "../x").empty());
}

TEST_F(Library, CopyPartRefusesATakenNumber) {
    AddPart("31010", Def("31010", "Original", 0));
    AddPart("31011", Def("31011", "Anderes", 0));
    EXPECT_EQ(CopyPart(*m_files, "31010", "31011", 1, 0, 0, 0), TCopyPartResult::NumberTaken);
    EXPECT_EQ(CopyPart(*m_files, "31010", "K0001", 1, 0, 0, 0), TCopyPartResult::Done);
    const TDefObj d = ReadDefObj(*m_files, "K0001");
    EXPECT_EQ(d.OrgNumber, "K0001");
    EXPECT_EQ(d.Group, 1);
    EXPECT_EQ(d.Red, 80);  // black reads as grey
    EXPECT_TRUE(m_files->FindPart("icon", "K0001", "bmp"));
}

TEST(SnapViewLayout, CaptionLinesAndRows) {
    TTextMetrics m;
    m.Width = [](std::string_view s) { return static_cast<int>(s.size()) * 6; };
    m.LineHeight = 12;
    EXPECT_EQ(CaptionLines("Winkelstein 60 Grad rot", m),
              (std::vector<std::string>{"Winkelstein", "60 Grad", "rot"}));
    EXPECT_TRUE(CaptionLines("", m).empty());

    std::vector<TSnapViewItem> items;
    for (int i = 0; i < 5; ++i) {
        items.push_back(TSnapViewItem::Make(0, "3101" + IntToStr(i), "", ""));
    }
    items[2].Label = "A very long label text";
    items[4].SetCounter(3, 1);
    for (auto& it : items) {
        MeasureTile(it, m);
    }
    EXPECT_EQ(items[0].Width, 68);
    EXPECT_EQ(items[0].Height, 64 + 12 + 3);
    EXPECT_EQ(items[2].Height, 64 + 5 * 12 + 3);  // every word is as wide as the widest
    EXPECT_EQ(items[4].Height, 64 + 12 + 12 + 3);
    const int height = LayoutTiles(items, 220);  // two tiles a row: 151 + 68 passes 196
    EXPECT_EQ(items[0].X, 5);
    EXPECT_EQ(items[0].Y, 5);
    EXPECT_EQ(items[1].X, 78);
    EXPECT_EQ(items[2].X, 5);
    EXPECT_EQ(items[2].Y, 5 + 79 + 5);
    EXPECT_EQ(height, items[4].Y + items[4].Height + 5);
    const int narrow = LayoutTiles(items, 10);
    EXPECT_EQ(narrow, items[4].Y + items[4].Height + 5);
    EXPECT_EQ(items[1].X, 5);  // one per row when nothing fits
}

TEST_F(Library, SortEditorAndCanonicalRewrite) {
    AddPart("31010", Def("31010", "A", 0, 500));
    AddPart("31011", Def("31011", "B", 0, 100));
    AddPart("31012", Def("31012", "C", 0, 300));
    FillLib();
    EXPECT_EQ(Numbers(NewTab(0)), (std::vector<std::string>{"31011", "31012", "31010"}));
    // The user dragged 31010 to the front.
    EXPECT_TRUE(SaveSortOrder(*m_files, {"31010", "31011", "31012"}));
    FillLib();
    EXPECT_EQ(Numbers(NewTab(0)), (std::vector<std::string>{"31010", "31011", "31012"}));
    EXPECT_EQ(ReadDefObj(*m_files, "31012").SortOrder, 210);
    // The shipped files stay as they were; the user folder holds the new ones.
    EXPECT_EQ(kxtest::ReadFile(m_dir / "prog" / "def" / "31010.def"), Def("31010", "A", 0, 500));
    EXPECT_FALSE(SaveSortOrder(*m_files, {"31010", "gone"}));
    EXPECT_FALSE(fs::exists(m_dir / "user" / "def" / "gone.def"));

    EXPECT_TRUE(RewriteDefinition(*m_files, "31011"));
    EXPECT_EQ(kxtest::ReadFile(m_dir / "user" / "def" / "31011.def"),
              DefinitionBytes(ReadDefObj(*m_files, "31011")));
    EXPECT_FALSE(RewriteDefinition(*m_files, "77777"));
    EXPECT_EQ(CopyPartCategories().size(), 23u);
    EXPECT_EQ(CopyPartCategories()[19], "Objekte");
    EXPECT_EQ(CopyPartColours()[1].Name, "Schwarz");
}

TEST_F(Library, CollectionOpenedBeforeTheFillTakesTheEntriesPictures) {
    kxtest::WriteFile(m_dir / "c.kxc", "31010#2\r\n");
    ASSERT_TRUE(m_lib.OpenCollection(m_dir / "c.kxc"));
    EXPECT_EQ(m_lib.Collection().Items[0].ImageIndex(), -1);
    AddPart("31010", Def("31010", "Baustein", 0));
    FillLib();
    EXPECT_EQ(m_lib.Collection().Items[0].ImageIndex(), m_lib.FindEntry("31010")->ImageIndex);
    EXPECT_EQ(m_lib.Collection().Items[0].Hint, "BAUSTEIN");
    EXPECT_EQ(m_lib.CollectionLines(), (std::vector<std::string>{"31010#2"}));
}

TEST_F(Library, CollectionLinesThatNameNoPartAreRefusedWithATraceEntry) {
    Standard();
    FillLib();
    std::string many;
    for (int i = 0; i < 20000; ++i) {
        many += "wort ";
    }
    const std::string longNumber(65, 'A');
    // Good lines on either side of every refused one: a bad line costs only itself.
    kxtest::WriteFile(m_dir / "c.kxc", "31010#2\r\n" + many + "#3\r\n../def/31010#1\r\n" +
                                           longNumber + "#1\r\na\\b#4\r\n31010#1\r\n32064#5\r\n");
    Stack().Clear();
    ASSERT_TRUE(m_lib.OpenCollection(m_dir / "c.kxc"));
    EXPECT_EQ(m_lib.CollectionLines(), (std::vector<std::string>{"31010#3", "32064#5"}));
    std::vector<std::string> refused;
    for (const std::string& line : Stack().Lines()) {
        const size_t at = line.find("ParseCollectionLines.Refused");
        if (at != std::string::npos) {
            refused.push_back(line.substr(at));
        }
    }
    EXPECT_EQ(refused, (std::vector<std::string>{
                           "ParseCollectionLines.Refused(2)", "ParseCollectionLines.Refused(3)",
                           "ParseCollectionLines.Refused(4)", "ParseCollectionLines.Refused(5)"}));
}

TEST_F(Library, CollectionOpenMergesNumbersOfAnyLetterCaseIntoOneTile) {
    Standard();
    FillLib();
    kxtest::WriteFile(m_dir / "a.kxc", "k1#1\r\n31010#2\r\n");
    kxtest::WriteFile(m_dir / "b.kxc", "K1#2\r\n31003#1\r\nk1#999999\r\n31010#1\r\n");
    ASSERT_TRUE(m_lib.OpenCollection(m_dir / "a.kxc"));
    ASSERT_TRUE(m_lib.MergeCollection(m_dir / "b.kxc"));
    EXPECT_EQ(m_lib.CollectionLines(),
              (std::vector<std::string>{"k1#999999", "31010#3", "31003#1"}));
    EXPECT_EQ(m_lib.Collection().Items[1].Hint, "BAUSTEIN 30");  // the entry found by index
}

TEST(SnapViewLayout, CaptionLayoutMeasuresEachWordAboutOnce) {
    // One long word makes every line wide, so thousands of short words share a line: the
    // layout must not measure that line again for each word it gains.
    std::string text(4000, 'x');
    for (int i = 0; i < 5000; ++i) {
        text += " ab";
    }
    size_t measured = 0;
    TTextMetrics m;
    m.Width = [&measured](std::string_view s) {
        measured += s.size();
        return static_cast<int>(s.size()) * 6;
    };
    const std::vector<std::string> lines = CaptionLines(text, m);
    ASSERT_EQ(lines.size(), 5u);  // the long word, then 1333 short words a line (3 x 1333 < 4000)
    EXPECT_EQ(lines[1].size(), 1333u * 3 - 1);
    EXPECT_LT(measured, 4 * text.size());
}
