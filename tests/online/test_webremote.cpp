// The web client against a real library server, a local FTP server and servers that
// misbehave; every one runs on this machine on a port the test opened.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "catalogue/u_partfiles.h"
#include "foundation/u_language.h"
#include "foundation/u_stack.h"
#include "kx_test_support.h"
#include "online/u_TWebRemote.h"
#include "online/u_ftpclient.h"
#include "online_fixture.h"

using namespace kx;
using kxtest::ReadFile;
using kxtest::WriteFile;
namespace fs = std::filesystem;

namespace {

const std::string kPhrase = "wkp 30&571";

/// A data folder with content, as a club would fill it.
void FillServer(const fs::path& data) {
    WriteFile(data / "def/32064.def", std::string(2048, 'd'));
    WriteFile(data / "def/00001.def", "[COMMON]\r\n");
    WriteFile(data / "def/.secret", "x");
    fs::create_directories(data / "icon/print");
    WriteFile(data / "icon/32064.bmp", "BM");
    WriteFile(data / "update/version.txt", "Version 1.9.0\r\n");
    WriteFile(data / "partversions.txt", "32064;3\r\n00001;1\n");
    WriteFile(data / "history_de.txt", "1.9.1|Zukunft|4~\r\n1.9.0|Neu|3~\r\n1.8.2|Alt|2~\r\n");
    WriteFile(data / "history_en.txt", "1.9.0|New|3~");
    WriteFile(data / "downloads/modelle/kxmodels.xml", "<KORVEXMODELS></KORVEXMODELS>");
    WriteFile(data / "downloads/collection/1234 Meine Sammlung.kxc", "[COLLECTION]\r\n");
    WriteFile(data / "outside.txt", "never sent by name from below");
}

TWebSettings Loopback(const std::string& baseUrl) {
    TWebSettings s;
    s.BaseUrl = baseUrl;
    s.ConnectTimeout = 2;
    s.TotalTimeout = 5;
    s.PassPhrase = kPhrase;
    return s;
}

bool TraceMentions(const std::string& text) {
    for (const auto& line : Stack().Lines()) {
        if (line.find(text) != std::string::npos) {
            return true;
        }
    }
    return false;
}

}  // namespace

TEST(WebRemote, EveryRequestAgainstTheLibraryServer) {
    kxtest::TTempDir dir;
    FillServer(dir / "data");
    WriteFile(dir / "pass.txt", kPhrase + "\n");
    kxtest::TLibraryServerProcess server(dir / "data", (dir / "pass.txt").string());
    TWebRemote web(Loopback(server.BaseUrl()));

    ASSERT_TRUE(web.ReadDirectory("def")) << web.LastError();
    ASSERT_EQ(web.Directory().size(), 2u);  // the hidden file is not listed
    EXPECT_EQ(web.DirEntry(0)->Name, "00001.def");
    EXPECT_EQ(web.DirEntry(2), nullptr);
    EXPECT_EQ(web.FileSize("32064.DEF"), 2048);
    EXPECT_EQ(web.FileSize("missing"), 0);
    EXPECT_GE(web.DirEntry(1)->Time.Year, 2020);

    ASSERT_TRUE(web.ReadDirectory("icon"));
    ASSERT_EQ(web.Directory().size(), 2u);
    EXPECT_EQ(web.Directory()[1].Name, "print");
    ASSERT_TRUE(web.ReadDirectory("collection"));
    ASSERT_EQ(web.Directory().size(), 1u);
    EXPECT_EQ(web.Directory()[0].Name, "1234 Meine Sammlung.kxc");
    EXPECT_FALSE(web.ReadDirectory("nothing"));
    EXPECT_TRUE(web.Directory().empty());

    // Downloads to file and stream, and the server's own paths.
    ASSERT_TRUE(web.DownloadToFile("def/32064.def", dir / "local/32064.def")) << web.LastError();
    EXPECT_EQ(ReadFile(dir / "local/32064.def"), std::string(2048, 'd'));
    std::string stream = "untouched";
    EXPECT_TRUE(web.DownloadFile("icon/32064.bmp", stream));
    EXPECT_EQ(stream, "BM");
    EXPECT_TRUE(web.GetUrl("/downloads/collection/1234%20Meine%20Sammlung.kxc", stream));
    EXPECT_EQ(stream, "[COLLECTION]\r\n");
    EXPECT_TRUE(web.GetUrl("/downloads/modelle/kxmodels.xml", stream));
    EXPECT_EQ(stream, "<KORVEXMODELS></KORVEXMODELS>");
    // Nothing outside the published folders, nothing hidden, no way up.
    stream = "untouched";
    for (const char* path : {"def/.secret", "../data/outside.txt", "def/../outside.txt", ""}) {
        EXPECT_FALSE(web.DownloadFile(path, stream)) << path;
    }
    EXPECT_FALSE(web.GetUrl("/downloads/../outside.txt", stream));
    // The same asked without a client that tidies the path first.
    for (const char* target :
         {"/downloads/../outside.txt", "/downloads/%2e%2e/outside.txt",
          "/downloads/..%2foutside.txt", "/phpdownload.php?file=..%2Foutside.txt",
          "/phpdownload.php?file=def/..%2F..%2Foutside.txt", "/phpdir.php?dir=..",
          "/phpdir.php?dir=%2Fetc", "/downloads//etc/passwd"}) {
        const std::string reply = kxtest::RawGet(server.BaseUrl(), target);
        EXPECT_EQ(reply.find("never sent"), std::string::npos) << target;
        EXPECT_EQ(reply.rfind("HTTP/1.1 4", 0), 0u) << target << reply;
    }
    EXPECT_EQ(stream, "untouched");

    ASSERT_TRUE(web.ReadDirectory("def"));
    EXPECT_TRUE(web.DownloadListedFile("def", "32064.def", dir / "user/def"));
    EXPECT_EQ(fs::file_size(dir / "user/def/32064.def"), 2048u);

    EXPECT_EQ(web.GetVersionText(), "Version 1.9.0");

    ASSERT_TRUE(web.ReadPartVersions());
    ASSERT_EQ(web.PartVersions().size(), 2u);
    EXPECT_EQ(web.PartVersions()[0].Name, "32064");
    EXPECT_EQ(web.PartVersions()[0].Version, 3);

    ASSERT_TRUE(web.ReadHistory("1.9.0"));
    ASSERT_EQ(web.History().size(), 2u);
    EXPECT_EQ(web.History()[0].Text, "Neu");
    EXPECT_EQ(web.History()[1].Version, "1.8.2");
    TWebSettings english = Loopback(server.BaseUrl());
    english.Language = "ENGLISH";
    TWebRemote webEnglish(english);
    ASSERT_TRUE(webEnglish.ReadHistory("1.9.0"));
    ASSERT_EQ(webEnglish.History().size(), 1u);
    EXPECT_EQ(webEnglish.History()[0].Text, "New");

    // Version writes: with the server's pass phrase they land in its folder.
    EXPECT_EQ(web.SetPartVersion("32064", 4), "ok\r\n32064;4");
    EXPECT_EQ(web.SetPartVersion("40001", 1), "ok\r\n40001;1");
    ASSERT_TRUE(web.ReadPartVersions());
    ASSERT_EQ(web.PartVersions().size(), 3u);
    EXPECT_EQ(web.PartVersions()[0].Version, 4);
    EXPECT_EQ(web.PartVersions()[2].Name, "40001");
    TWebSettings wrong = Loopback(server.BaseUrl());
    wrong.PassPhrase = "falsch";
    TWebRemote intruder(wrong);
    EXPECT_EQ(intruder.SetPartVersion("32064", 99), "");
    EXPECT_NE(intruder.LastError().find("403"), std::string::npos) << intruder.LastError();
    EXPECT_EQ(web.SetPartVersion("../x", 1), "");  // refused by the server
    ASSERT_TRUE(web.ReadPartVersions());
    EXPECT_EQ(web.PartVersions()[0].Version, 4);
    EXPECT_FALSE(TraceMentions(kPhrase));
    EXPECT_FALSE(TraceMentions("wkp%2030"));
}

TEST(WebRemote, AServerThatRefusesVersionWritesWithoutAPassPhrase) {
    kxtest::TTempDir dir;
    FillServer(dir / "data");
    kxtest::TLibraryServerProcess server(dir / "data");
    TWebRemote web(Loopback(server.BaseUrl()));
    EXPECT_EQ(web.SetPartVersion("32064", 4), "");
    EXPECT_EQ(ReadFile(dir / "data/partversions.txt"), "32064;3\r\n00001;1\n");
    // A client without a pass phrase does not ask at all.
    TWebSettings none = Loopback(server.BaseUrl());
    none.PassPhrase.clear();
    TWebRemote empty(none);
    EXPECT_EQ(empty.SetPartVersion("32064", 4), "");
    EXPECT_FALSE(empty.LastError().empty());
}

TEST(WebRemote, HostileRepliesWriteNothingAndSayWhy) {
    kxtest::TTempDir dir;
    WriteFile(dir / "keep/32064.def", "the old file");
    const struct {
        const char* What;
        std::string Reply;
        bool Silent;
    } cases[] = {
        {"truncated download", kxtest::RawReply(200, "0123456789", 2048), false},
        {"server error", kxtest::RawReply(500, "boom"), false},
        {"not found", kxtest::RawReply(404, ""), false},
        {"never answers", "", true},
        {"not HTTP at all", "\x01\x02garbage\r\n\r\n", false},
    };
    for (const auto& c : cases) {
        kxtest::THostileServer hostile(c.Reply, c.Silent);
        TWebSettings s = Loopback(hostile.BaseUrl());
        s.TotalTimeout = 1;
        TWebRemote web(s);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(web.DownloadToFile("def/32064.def", dir / "keep/32064.def")) << c.What;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4)) << c.What;
        EXPECT_FALSE(web.LastError().empty()) << c.What;
        EXPECT_EQ(ReadFile(dir / "keep/32064.def"), "the old file") << c.What;
        std::string stream = "untouched";
        EXPECT_FALSE(web.GetUrl("/downloads/modelle/kxmodels.xml", stream)) << c.What;
        EXPECT_EQ(stream, "untouched") << c.What;
        EXPECT_TRUE(web.GetVersionText().empty()) << c.What;
        EXPECT_FALSE(web.ReadDirectory("def")) << c.What;
    }
    EXPECT_EQ(fs::directory_iterator(dir / "keep")->path().filename(), "32064.def");

    // A listing that names files outside the folder, and a file of the wrong size.
    kxtest::THostileServer listing(
        kxtest::RawReply(200, "../x;7;01.01.2020 00:00:00\n..;7\n.profile;7\nsub/y;7\nok.def;5\n"));
    TWebRemote web(Loopback(listing.BaseUrl()));
    ASSERT_TRUE(web.ReadDirectory("def"));
    ASSERT_EQ(web.Directory().size(), 5u);
    for (size_t i = 0; i + 1 < web.Directory().size(); ++i) {
        EXPECT_FALSE(web.DownloadListedFile("def", web.Directory()[i].Name, dir / "in/def"));
        EXPECT_NE(web.LastError().find(web.Directory()[i].Name), std::string::npos);
    }
    const int asked = listing.Requests();
    EXPECT_EQ(asked, 1);  // refused names are never even asked for
    // The listing reply itself comes back as the body: 2 + 7 + ... bytes, not 5.
    EXPECT_FALSE(web.DownloadListedFile("def", "ok.def", dir / "in/def"));
    EXPECT_FALSE(fs::exists(dir / "in"));
    EXPECT_FALSE(fs::exists(dir / "x"));
}

TEST(WebRemote, RedirectsAreFollowedAndTheThreeExtraBytesAccepted) {
    kxtest::TTempDir dir;
    FillServer(dir / "data");
    kxtest::TLibraryServerProcess server(dir / "data");
    kxtest::THostileServer redirect(
        "HTTP/1.1 302 Found\r\nLocation: " + server.BaseUrl() +
        "/phpdownload.php?file=def/00001.def\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
    TWebRemote web(Loopback(redirect.BaseUrl()));
    std::string stream;
    ASSERT_TRUE(web.DownloadFile("anything", stream)) << web.LastError();
    EXPECT_EQ(stream, "[COMMON]\r\n");

    // A server that adds three bytes to each download: the body is saved whole.
    kxtest::THostileServer padded(
        kxtest::RawReply(404, ""), false,
        {{"/phpdir.php?dir=def", kxtest::RawReply(200, "p.def;7\nq.def;7\n")},
         {"/phpdownload.php?file=def/p.def", kxtest::RawReply(200, "1234567\r\n\x1a")},
         {"/phpdownload.php?file=def/q.def", kxtest::RawReply(200, "123456789")}});
    TWebRemote old(Loopback(padded.BaseUrl()));
    ASSERT_TRUE(old.ReadDirectory("def"));
    EXPECT_TRUE(old.DownloadListedFile("def", "p.def", dir / "in")) << old.LastError();
    EXPECT_EQ(ReadFile(dir / "in/p.def"), "1234567\r\n\x1a");
    EXPECT_FALSE(old.DownloadListedFile("def", "q.def", dir / "in"));
    EXPECT_FALSE(fs::exists(dir / "in/q.def"));
}

TEST(WebRemote, TwoServersOverOneFolderKeepEveryVersionWrite) {
    kxtest::TTempDir dir;
    FillServer(dir / "data");
    WriteFile(dir / "pass.txt", kPhrase);
    kxtest::TLibraryServerProcess first(dir / "data", (dir / "pass.txt").string());
    kxtest::TLibraryServerProcess second(dir / "data", (dir / "pass.txt").string());
    auto writer = [&](const std::string& baseUrl, int from) {
        TWebRemote web(Loopback(baseUrl));
        for (int i = from; i < from + 15; ++i) {
            EXPECT_FALSE(web.SetPartVersion("P" + std::to_string(i), i).empty());
        }
    };
    std::thread a(writer, first.BaseUrl(), 100);
    std::thread b(writer, second.BaseUrl(), 200);
    a.join();
    b.join();
    TWebRemote web(Loopback(second.BaseUrl()));
    ASSERT_TRUE(web.ReadPartVersions());
    EXPECT_EQ(web.PartVersions().size(), 2u + 30u);
}

TEST(WebRemote, ADownloadThatCannotBeSavedIsAFailure) {
    kxtest::TTempDir dir;
    FillServer(dir / "data");
    kxtest::TLibraryServerProcess server(dir / "data");
    WriteFile(dir / "blocked", "a file where a folder should be");
    TWebRemote web(Loopback(server.BaseUrl()));
    EXPECT_FALSE(web.DownloadToFile("def/00001.def", dir / "blocked/00001.def"));
    EXPECT_NE(web.LastError().find("gespeichert"), std::string::npos) << web.LastError();
    ASSERT_TRUE(web.ReadDirectory("def"));
    EXPECT_FALSE(web.DownloadListedFile("def", "00001.def", dir / "blocked"));
    EXPECT_EQ(ReadFile(dir / "blocked"), "a file where a folder should be");
}

TEST(WebRemote, WithoutAServerEveryRequestSaysSo) {
    TWebRemote web{TWebSettings{}};
    EXPECT_FALSE(web.Configured());
    EXPECT_FALSE(web.ReadDirectory("def"));
    EXPECT_EQ(web.LastError(), NoServerMessage());
    EXPECT_EQ(web.GetVersionText(), "");
    EXPECT_EQ(web.SetPartVersion("1", 1), "");
    EXPECT_EQ(web.LastError(), NoServerMessage());
}

TEST(WebRemote, ARequestIsCancelledFromAnotherThread) {
    kxtest::THostileServer silent("", true);
    TWebSettings s = Loopback(silent.BaseUrl());
    s.TotalTimeout = 30;
    TWebRemote web(s);
    TWebProgress progress;
    web.SetProgress(&progress);
    std::thread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        progress.Cancel = true;
    });
    const auto start = std::chrono::steady_clock::now();
    std::string stream;
    EXPECT_FALSE(web.DownloadFile("def/32064.def", stream));
    canceller.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_NE(web.LastError().find("abgebrochen"), std::string::npos) << web.LastError();
}

TEST(FtpUpload, ThePartSequenceAndALibraryFile) {
    kxtest::TTempDir dir;
    const fs::path root = dir / "ftp";
    for (const char* sub : {"def", "hires", "lores", "icon/print"}) {
        fs::create_directories(root / sub);
    }
    // The part's files in the program folder and one in the user's folder; no normals.
    WriteFile(dir / "program/def/50001.def", "def");
    WriteFile(dir / "program/hires/50001.stl", "hires");
    WriteFile(dir / "user/lores/50001.stl", "lores");
    WriteFile(dir / "program/icon/50001.bmp", "icon");
    WriteFile(dir / "program/icon/print/50001.jpg", "print");
    WriteFile(dir / "model.xml", "<KORVEXMODELS/>");
    const TPartFiles files(dir / "program", dir / "user");
    kxtest::TFtpServerProcess ftpServer(root, "parts", "pa ss");

    TFtpClient ftp(ftpServer.Server(), {"parts", "pa ss"}, 2, 10);
    std::vector<std::string> status;
    ASSERT_TRUE(FtpUploadPart(ftp, "50001", files, [&](const std::string& t) {
        status.push_back(t);
    })) << ftp.LastError();
    EXPECT_EQ(status, (std::vector<std::string>{"Sende DEF...", "Sende HIRES...", "Sende NRM...",
                                                "Sende LORES...", "Sende ICON...", "Sende PRINT...",
                                                "FTP beendet..."}));
    EXPECT_FALSE(ftp.Connected());
    EXPECT_EQ(ReadFile(root / "def/50001.def"), "def");
    EXPECT_EQ(ReadFile(root / "hires/50001.stl"), "hires");
    EXPECT_FALSE(fs::exists(root / "hires/50001.nrm"));
    EXPECT_EQ(ReadFile(root / "lores/50001.stl"), "lores");
    EXPECT_EQ(ReadFile(root / "icon/50001.bmp"), "icon");
    EXPECT_EQ(ReadFile(root / "icon/print/50001.jpg"), "print");

    ASSERT_TRUE(FtpUploadFile(ftp, dir / "model.xml", "kxmodels.xml")) << ftp.LastError();
    EXPECT_EQ(ReadFile(root / "kxmodels.xml"), "<KORVEXMODELS/>");
    EXPECT_FALSE(FtpUploadFile(ftp, dir / "model.xml", "../escape.xml"));
    EXPECT_FALSE(fs::exists(dir / "escape.xml"));

    // A folder missing on the server stops the sequence there; the rest is not sent.
    fs::remove_all(root / "lores");
    fs::remove(root / "icon/50001.bmp");
    status.clear();
    EXPECT_FALSE(
        FtpUploadPart(ftp, "50001", files, [&](const std::string& t) { status.push_back(t); }));
    EXPECT_NE(ftp.LastError().find("lores"), std::string::npos) << ftp.LastError();
    EXPECT_EQ(status.back(), "FTP beendet...");
    EXPECT_FALSE(fs::exists(root / "icon/50001.bmp"));

    // A wrong password: no connection, and the password is not in the message.
    TFtpClient wrong(ftpServer.Server(), {"parts", "falsch!"}, 2, 10);
    EXPECT_FALSE(FtpUploadFile(wrong, dir / "model.xml", "x.xml"));
    EXPECT_FALSE(wrong.LastError().empty());
    EXPECT_EQ(wrong.LastError().find("falsch!"), std::string::npos);
}
