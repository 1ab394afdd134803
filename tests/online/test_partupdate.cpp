// The part update against a real library server with content, and against a listing that
// names files outside their folders.
#include <gtest/gtest.h>

#include <algorithm>

#include "catalogue/u_partfiles.h"
#include "kx_test_support.h"
#include "online/u_TWebRemote.h"
#include "online/u_partupdate.h"
#include "online_fixture.h"

using namespace kx;
using kxtest::ReadFile;
using kxtest::WriteFile;
namespace fs = std::filesystem;

namespace {

TWebSettings Loopback(const std::string& baseUrl) {
    TWebSettings s;
    s.BaseUrl = baseUrl;
    s.ConnectTimeout = 2;
    s.TotalTimeout = 5;
    return s;
}

/// Three parts the installation lacks and one it has in version 1, which the server has in 2.
void FillParts(const fs::path& data, const fs::path& program) {
    for (const char* n : {"40001", "40002", "40003"}) {
        const std::string number = n;
        WriteFile(data / "def" / (number + ".def"),
                  "[COMMON]\r\nORGNUMBER=" + number + "A\r\nNAME=Teil " + number + "\r\n");
        WriteFile(data / "icon" / (number + ".bmp"), "BM" + number);
        WriteFile(data / "hires" / (number + ".stl"), "solid " + number);
        WriteFile(data / "lores" / (number + ".stl"), "solid lo " + number);
    }
    WriteFile(data / "def/30000.def", "[COMMON]\r\nVERSION=2\r\nNAME=Neuer Stein\r\n");
    WriteFile(data / "hires/30000.stl", "solid new");
    WriteFile(data / "partversions.txt", "30000;2\r\n40001;1\r\n");
    fs::create_directories(data / "icon/print");
    WriteFile(program / "def/30000.def", "[COMMON]\r\nVERSION=1\r\n");
    WriteFile(program / "hires/30000.stl", "solid old");
}

}  // namespace

TEST(PartUpdate, FindsNewAndNewerPartsAndFetchesThemIntoTheUserFolder) {
    kxtest::TTempDir dir;
    FillParts(dir / "data", dir / "program");
    kxtest::TLibraryServerProcess server(dir / "data");
    TPartFiles files(dir / "program", dir / "user");
    TWebRemote web(Loopback(server.BaseUrl()));

    TPartUpdateLists lists;
    ASSERT_TRUE(FindPartUpdates(web, files, {{"30000", 1}}, lists)) << web.LastError();
    EXPECT_EQ(lists.Files[0],
              (std::vector<std::string>{"40001.def", "40002.def", "40003.def", "30000.def"}));
    EXPECT_TRUE(lists.Refused.empty());
    // The newer part is fetched again although its files exist locally.
    EXPECT_NE(std::find(lists.Files[3].begin(), lists.Files[3].end(), "30000.stl"),
              lists.Files[3].end());

    const auto rows = ReadPartUpdateRows(web, lists, true);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].OrgNumber, "40001A");
    EXPECT_EQ(rows[0].Name, "Teil 40001");
    EXPECT_EQ(rows[0].Icon, "BM40001");
    EXPECT_EQ(rows[3].OrgNumber, "---");
    EXPECT_TRUE(rows[3].Icon.empty());

    std::vector<int> positions;
    const TPartDownloadResult result = DownloadPartUpdates(
        web, files, lists, [&](size_t, int pos, int) { positions.push_back(pos); },
        [] { return false; });
    EXPECT_TRUE(result.Complete()) << result.Error;
    EXPECT_EQ(result.Saved, 14);  // 4 definitions, 3 icons, 4 + 3 meshes: the server has no more
    EXPECT_EQ(ReadFile(dir / "user/hires/30000.stl"), "solid new");
    EXPECT_EQ(ReadFile(dir / "program/hires/30000.stl"), "solid old");
    // The index sees the new files at once, the user's copy winning.
    EXPECT_EQ(files.FindDef("40002"), dir / "user/def/40002.def");
    EXPECT_EQ(files.Find("hires", "30000.stl"), dir / "user/hires/30000.stl");

    TPartUpdateLists again;
    ASSERT_TRUE(FindPartUpdates(web, files, {{"30000", 2}}, again));
    EXPECT_EQ(again.Total(), 0u);
}

TEST(PartUpdate, NamesThatLeaveTheirFolderOrAreNoPartFilesWriteNothing) {
    kxtest::TTempDir dir;
    const std::string listing =
        "../evil.def;5\n..\\evil.def;5\n.hidden.def;5\nsub/x.def;5\nreadme.txt;5\n..;5\n";
    kxtest::THostileServer hostile(
        kxtest::RawReply(404, ""), false,
        {{"/phpdir.php?dir=def", kxtest::RawReply(200, listing)},
         {"/phpdir.php?dir=icon", kxtest::RawReply(200, "../../x.bmp;2\n")},
         {"/phpdir.php?dir=icon/print", kxtest::RawReply(200, "")},
         {"/phpdir.php?dir=hires", kxtest::RawReply(200, "/etc/passwd.stl;2\n")},
         {"/phpdir.php?dir=lores", kxtest::RawReply(200, "")},
         {"/partupdatelist.php", kxtest::RawReply(200, "../../up;9\n")}});
    fs::create_directories(dir / "root/program");
    fs::create_directories(dir / "root/user");
    TPartFiles files(dir / "root/program", dir / "root/user");
    TWebRemote web(Loopback(hostile.BaseUrl()));

    TPartUpdateLists lists;
    ASSERT_TRUE(FindPartUpdates(web, files, {{"../../up", 1}}, lists)) << web.LastError();
    EXPECT_EQ(lists.Total(), 0u);
    EXPECT_EQ(lists.Refused.size(), 9u);

    // Even a list handed in with such names fetches nothing.
    lists.Files[0] = {"../evil.def", "a/../../b.def"};
    const TPartDownloadResult result = DownloadPartUpdates(web, files, lists, {}, {});
    EXPECT_EQ(result.Saved, 0);
    EXPECT_EQ(result.Failed.size(), 2u);
    EXPECT_FALSE(result.Complete());
    size_t written = 0;
    for (const auto& e : fs::recursive_directory_iterator(dir.Path())) {
        written += e.is_regular_file() ? 1 : 0;
    }
    EXPECT_EQ(written, 0u);
}
