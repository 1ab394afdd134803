// Parts sheets laid out on a recording printing service: boxes, columns, pages, preview,
// missing pictures, cancelling, and the items of the library sheet.
#include <gtest/gtest.h>

#include <map>

#include "catalogue/u_partcache.h"
#include "catalogue/u_partfiles.h"
#include "catalogue/u_snapview.h"
#include "kx_test_support.h"
#include "printing/u_TPrintSpare.h"
#include "printing/u_sheetitems.h"

using namespace kx;

namespace {

/// Records every call in page units; each text is 10 units a character wide.
class TRecordingCanvas : public TPrintCanvas {
public:
    TRecordingCanvas(int width, int height) : Width(width), Height(height) {}
    int PrintableWidth() const override { return Width; }
    int PrintableHeight() const override { return Height; }
    bool BeginJob() override {
        Calls.push_back("begin");
        return StartOk;
    }
    void NewPage() override {
        Calls.push_back("page");
        ++Pages;
    }
    bool EndJob() override {
        Calls.push_back("end");
        return true;
    }
    void AbortJob() override { Calls.push_back("abort"); }
    void SetFontHeight(int h) override { FontHeight = h; }
    void SetPenWidth(int w) override { PenWidth = w; }
    void SetPenColor(uint32_t c) override { PenColour = c; }
    int TextWidth(const std::string& t) override { return 10 * static_cast<int>(t.size()); }
    void Text(int x, int y, const std::string& t) override {
        Texts.push_back({Pages, x, y, FontHeight, t});
    }
    void Rect(int x1, int y1, int x2, int y2) override {
        Rects.push_back({Pages, x1, y1, x2, y2, PenWidth, PenColour});
    }
    void Line(int, int, int, int) override { ++Lines; }
    bool Picture(int x, int y, const std::filesystem::path& file, int w, int h) override {
        Pictures.push_back({x, y, w, h, file.filename().string()});
        return file.filename().string() != "broken.jpg";
    }

    struct TText {
        int Page, X, Y, Font;
        std::string Value;
    };
    struct TRect {
        int Page, X1, Y1, X2, Y2, Pen;
        uint32_t Colour;
    };
    struct TPicture {
        int X, Y, W, H;
        std::string File;
    };
    int Width, Height;
    bool StartOk = true;
    int Pages = 1;
    int FontHeight = 0, PenWidth = 0;
    uint32_t PenColour = 0;
    int Lines = 0;
    std::vector<std::string> Calls;
    std::vector<TText> Texts;
    std::vector<TRect> Rects;
    std::vector<TPicture> Pictures;

    /// The frames of the boxes (pen width 3) on one page.
    std::vector<TRect> Frames(int page) const {
        std::vector<TRect> out;
        for (const TRect& r : Rects) {
            if (r.Page == page && r.Pen == 3 && r.X2 - r.X1 == 570) {
                out.push_back(r);
            }
        }
        return out;
    }
    bool HasText(const std::string& value) const {
        for (const TText& t : Texts) {
            if (t.Value == value) {
                return true;
            }
        }
        return false;
    }
};

/// A user who cancels at a given step.
class TCancelAt : public TPrintProgress {
public:
    explicit TCancelAt(int step) : m_step(step) {}
    void Start(const std::string& title, int maximum) override {
        Title = title;
        Maximum = maximum;
    }
    bool Step(int position) override {
        Last = position;
        return position < m_step;
    }
    void Finish() override { ++Finished; }
    std::string Title;
    int Maximum = 0, Last = 0, Finished = 0;

private:
    int m_step;
};

TSheetParts FakeParts() {
    TSheetParts parts;
    parts.DisplayName = [](const std::string& n) { return n == "00000" ? "" : "Teil " + n; };
    parts.Picture = [](const std::string& n) -> std::optional<std::filesystem::path> {
        if (n == "77777") {
            return std::nullopt;
        }
        return std::filesystem::path(n == "88888" ? "broken.jpg" : n + ".jpg");
    };
    return parts;
}

std::vector<TSpareData> Items(int n) {
    std::vector<TSpareData> items;
    for (int i = 0; i < n; ++i) {
        items.push_back({std::to_string(10000 + i), "", i + 1, "A" + std::to_string(i)});
    }
    return items;
}

}  // namespace

TEST(PartsSheet, ThePrintableAreaOfTheExampleHoldsElevenBoxesAColumnAndThreeColumns) {
    TPrintSpare sheet(FakeParts());
    sheet.Items = Items(34);
    TRecordingCanvas canvas(2000, 2870);
    ASSERT_EQ(sheet.Print(canvas, false, 0), TPrintResult::Done);
    EXPECT_EQ(sheet.Page, 2);
    const auto first = canvas.Frames(1);
    ASSERT_EQ(first.size(), 33u);
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].X1, 100 + 600 * static_cast<int>(i / 11)) << i;
        EXPECT_EQ(first[i].Y1, 300 + 200 * static_cast<int>(i % 11)) << i;
        EXPECT_EQ(first[i].Y2 - first[i].Y1, 200);
        EXPECT_EQ(first[i].Colour, 0xD75F1Bu);
    }
    const auto second = canvas.Frames(2);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(second[0].X1, 100);
    EXPECT_EQ(second[0].Y1, 300);
    EXPECT_EQ(canvas.Calls, (std::vector<std::string>{"begin", "page", "end"}));

    // The heading on the first page only; the article number and the count centred on
    // x0 + 485, the name small at the bottom left, the picture square left of the divider.
    sheet.Heading = "Einzelteile";
    TRecordingCanvas again(2000, 2870);
    sheet.Print(again, false, 0);
    ASSERT_GE(again.Texts.size(), 4u);
    EXPECT_EQ(again.Texts[0].Value, "Einzelteile");
    EXPECT_EQ(again.Texts[0].X, 120);
    EXPECT_EQ(again.Texts[0].Y, 170);
    EXPECT_EQ(again.Texts[1].Value, "A0");
    EXPECT_EQ(again.Texts[1].X, 100 + 485 - 10);
    EXPECT_EQ(again.Texts[1].Y, 320);
    EXPECT_EQ(again.Texts[1].Font, 40);
    EXPECT_EQ(again.Texts[2].Value, "1 x");
    EXPECT_EQ(again.Texts[2].Y, 440);
    EXPECT_EQ(again.Texts[3].Value, "Teil 10000");
    EXPECT_EQ(again.Texts[3].Font, 20);
    EXPECT_EQ(again.Texts[3].X, 110);
    EXPECT_EQ(again.Texts[3].Y, 470);
    EXPECT_EQ(again.Pictures[0].X, 225);
    EXPECT_EQ(again.Pictures[0].Y, 310);
    EXPECT_EQ(again.Pictures[0].W, 150);
    EXPECT_EQ(again.Lines, 34);
}

TEST(PartsSheet, PageCountsFollowThePrintableAreaAndNeverEndOnAnEmptyPage) {
    struct TCase {
        int Items, Width, Height, Pages;
    };
    const std::vector<TCase> cases = {
        {0, 2000, 2870, 1},                        // an empty model: the heading alone, 1/1
        {1, 2000, 2870, 1},  {33, 2000, 2870, 1},  // a full page is no reason for another
        {34, 2000, 2870, 2}, {66, 2000, 2870, 2},
        {67, 2000, 2870, 3}, {44, 2480, 2870, 1},  // a fourth column from a width of 2480 on
        {45, 2479, 2870, 2}, {10, 2000, 700, 4},   // one box a column where there is no room
    };
    for (const TCase& c : cases) {
        TPrintSpare sheet(FakeParts());
        sheet.Items = Items(c.Items);
        EXPECT_EQ(sheet.CountPages(c.Width, c.Height), c.Pages) << c.Items << " " << c.Width;
        TRecordingCanvas canvas(c.Width, c.Height);
        sheet.Print(canvas, false, 0);
        EXPECT_EQ(canvas.Pages, c.Pages) << c.Items << " " << c.Width;
    }
}

TEST(PartsSheet, APreviewDrawsOnlyItsPageAndStartsNoJob) {
    TPrintSpare sheet(FakeParts());
    sheet.Heading = "Einzelteile";
    sheet.Items = Items(40);
    TRecordingCanvas canvas(2000, 2870);
    ASSERT_EQ(sheet.Print(canvas, true, 2), TPrintResult::Done);
    EXPECT_TRUE(canvas.Calls.empty());
    EXPECT_EQ(sheet.Page, 2);
    // The seven boxes of page 2, drawn at their place; nothing of page 1.
    const auto frames = canvas.Frames(1);
    ASSERT_EQ(frames.size(), 7u);
    EXPECT_EQ(frames[0].Y1, 300);
    EXPECT_FALSE(canvas.HasText("Einzelteile"));
    EXPECT_TRUE(canvas.HasText("A33"));
    EXPECT_FALSE(canvas.HasText("A32"));
}

TEST(PartsSheet, MissingPicturesAndNamesLeaveAFramedNumberAndTheJobGoesOn) {
    TPrintSpare sheet(FakeParts());
    sheet.Items = {{"77777", "", 1, "X1"},
                   {"88888", "", 2, "X2"},
                   {"00000", "", 3, "X3"},
                   {"55555", "", UnlimitedCount, "X4"}};
    TRecordingCanvas canvas(2000, 2870);
    ASSERT_EQ(sheet.Print(canvas, false, 0), TPrintResult::Done);
    // No file and an unreadable file both give a framed square with the number.
    int placeholders = 0;
    for (const auto& r : canvas.Rects) {
        placeholders += r.Pen == 1 && r.X2 - r.X1 == 150 && r.Y2 - r.Y1 == 150;
    }
    EXPECT_EQ(placeholders, 2);
    EXPECT_TRUE(canvas.HasText("77777"));
    EXPECT_TRUE(canvas.HasText("88888"));
    EXPECT_FALSE(canvas.HasText("55555"));
    EXPECT_TRUE(canvas.HasText("---"));  // an unlimited collection entry
    EXPECT_EQ(canvas.Frames(1).size(), 4u);
    EXPECT_EQ(canvas.Calls.back(), "end");
}

TEST(PartsSheet, CancellingAbortsTheJobAndAJobThatCannotStartFails) {
    TPrintSpare sheet(FakeParts());
    sheet.Items = Items(50);
    sheet.ProgressTitle = "Drucken";
    TCancelAt user(10);
    sheet.SetProgress(&user);
    TRecordingCanvas canvas(2000, 2870);
    EXPECT_EQ(sheet.Print(canvas, false, 0), TPrintResult::Cancelled);
    EXPECT_EQ(canvas.Calls, (std::vector<std::string>{"begin", "abort"}));
    EXPECT_EQ(user.Maximum, 50);
    EXPECT_EQ(user.Last, 10);
    EXPECT_EQ(user.Title, "Drucken");
    EXPECT_EQ(canvas.Frames(1).size(), 10u);
    // Counting pages asks nobody.
    EXPECT_EQ(sheet.CountPages(2000, 2870), 2);
    EXPECT_EQ(user.Last, 10);

    TRecordingCanvas refused(2000, 2870);
    refused.StartOk = false;
    sheet.SetProgress(nullptr);
    EXPECT_EQ(sheet.Print(refused, false, 0), TPrintResult::Failed);
    EXPECT_TRUE(refused.Rects.empty());
}

TEST(PartsSheet, TheLibrarySheetHoldsEveryShownDefinitionAndItsProgressFitsThem) {
    kxtest::TTempDir dir;
    const auto prog = dir.Path() / "prog";
    for (int i = 0; i < 1200; ++i) {
        const std::string number = std::to_string(20000 + i);
        kxtest::WriteFile(
            prog / "def" / (number + ".def"),
            "[COMMON]\r\nOrgNumber=K" + number + "\r\nHide=" + (i % 100 == 7 ? "1" : "0") + "\r\n");
    }
    TPartFiles files(prog, dir.Path() / "user");
    TDefCache defs;
    TCancelAt user(100000);
    const auto items = LibraryItems(files, defs, {}, &user);
    ASSERT_TRUE(items);
    ASSERT_EQ(items->size(), 1188u);
    EXPECT_EQ((*items)[0], (TSpareData{"20000", "", 1, "K20000"}));
    EXPECT_EQ((*items)[7].Number, "20008");
    // More definitions than the thousand the bar once had: its maximum is the real number.
    EXPECT_EQ(user.Maximum, 1200);
    EXPECT_EQ(user.Last, 1200);
    EXPECT_EQ(user.Finished, 1);

    TCancelAt impatient(30);
    EXPECT_FALSE(LibraryItems(files, defs, {}, &impatient));
    EXPECT_EQ(impatient.Last, 30);
    EXPECT_EQ(impatient.Finished, 1);

    const std::vector<TCollectionPrintRow> rows = {{"31010", "Muss noch", 4, "31010"},
                                                   {"32064", "Muss noch", UnlimitedCount, "X"}};
    const std::vector<TSpareData> expected = {{"31010", "Muss noch", 4, "31010"},
                                              {"32064", "Muss noch", UnlimitedCount, "X"}};
    EXPECT_EQ(CollectionItems(rows), expected);
}
