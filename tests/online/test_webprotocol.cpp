// The reply formats of the library server's protocol, the names it may hand us, and the
// online settings.
#include <gtest/gtest.h>

#include "kx_test_support.h"
#include "online/u_webconfig.h"
#include "online/u_webprotocol.h"

using namespace kx;

TEST(WebProtocol, DirectoryLinesWithDefaultsForWhatIsMalformed) {
    struct TCase {
        const char* Line;
        const char* Name;
        int64_t Size;
        TWebDateTime Time;
    };
    const TCase cases[] = {
        {"32064.def;2048;05.03.2014 17:22:09", "32064.def", 2048, {2014, 3, 5, 17, 22, 9}},
        {"x;abc", "x", 0, {2013, 1, 1, 1, 1, 1}},
        {"y;7;31.02.2014 10:00:00", "y", 7, {}},  // no such day
        {"z;-;29.02.2016 23:59:59", "z", 0, {2016, 2, 29, 23, 59, 59}},
        {"big;5000000000;01.01.2020 00:00:00", "big", 5000000000, {2020, 1, 1, 0, 0, 0}},
        {"w;1;xx.yy.zzzz aa:bb:cc", "w", 1, {2013, 1, 1, 1, 1, 1}},
    };
    for (const auto& c : cases) {
        const TWebDirData e = ParseDirectoryLine(c.Line);
        EXPECT_EQ(e.Name, c.Name) << c.Line;
        EXPECT_EQ(e.Size, c.Size) << c.Line;
        EXPECT_EQ(e.Time, c.Time) << c.Line;
    }
    // CR before LF is dropped and empty lines are no entries.
    const auto entries = ParseDirectory("a;1;01.01.2020 00:00:00\r\n\r\n\nb;2\r\nc;3");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].Name, "a");
    EXPECT_EQ(entries[1].Name, "b");
    EXPECT_EQ(entries[1].Size, 2);
    EXPECT_EQ(entries[2].Name, "c");
    const auto parts = ParsePartVersions("32064;3\r\n00001;x\n");
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0].Version, 3);
    EXPECT_EQ(parts[1].Version, 0);
}

TEST(WebProtocol, FieldSplitting) {
    EXPECT_EQ(GetField("a;b;c", 3, ';'), "c");
    EXPECT_EQ(GetField("a;b", 3, ';'), "");
    EXPECT_EQ(GetField("abc", 1, ';'), "abc");
    EXPECT_EQ(GetField("a;;c", 2, ';'), "");
    EXPECT_EQ(GetField("a;b;", 3, ';'), "");
    EXPECT_EQ(GetField("a;b", 0, ';'), "");
}

TEST(WebProtocol, HistoryKeepsRecordsUpToTheVersion) {
    auto h = ParseHistory("1.8.3|Neu|3~1.8.2|Alt|2~", "1.8.2");
    ASSERT_EQ(h.size(), 1u);
    EXPECT_EQ(h[0].Version, "1.8.2");
    EXPECT_EQ(h[0].Text, "Alt");
    EXPECT_EQ(h[0].Number, 2);
    // Records on lines of their own, a final record without "~", a bad number; numbers compare
    // part by part, so 1.10.0 is newer than 1.9.0 and 1.8.10 newer than 1.8.2.
    h = ParseHistory("1.9.1|zu neu|9~\r\n1.9.0|Eins|x~\r\n1.10.0|Zwei|1~\r\n1.8.10|Drei|3\r\n",
                     "1.9.0");
    ASSERT_EQ(h.size(), 2u);
    EXPECT_EQ(h[0].Version, "1.9.0");
    EXPECT_EQ(h[0].Number, 0);
    EXPECT_EQ(h[1].Version, "1.8.10");
    h = ParseHistory("1.10|a|1~1.9.9|b|2~1.10.0.1|c|3~1.010|d|4~beta|e|5~", "1.10.0");
    ASSERT_EQ(h.size(), 3u);
    EXPECT_EQ(h[0].Version, "1.10");
    EXPECT_EQ(h[1].Version, "1.9.9");
    EXPECT_EQ(h[2].Version, "1.010");
}

TEST(WebProtocol, ReplyTexts) {
    EXPECT_EQ(VersionWriteReply("ok<BR>done"), "ok\r\ndone");
    EXPECT_EQ(VersionWriteReply("a<br>b<Br>\r\n"), "a\r\nb\r\n");
    EXPECT_EQ(PrintableText("Version 1.8.2\r\n\t"), "Version 1.8.2");
    EXPECT_EQ(PrintableText("Gr\xc3\xb6\xc3\x9f"
                            "e"),
              "Gr\xc3\xb6\xc3\x9f"
              "e");
}

TEST(WebProtocol, DownloadCheck) {
    EXPECT_TRUE(DownloadAccepted(2048, 2048));   // a server that sends the file as it is
    EXPECT_TRUE(DownloadAccepted(2051, 2048));   // one that adds three bytes
    EXPECT_FALSE(DownloadAccepted(2050, 2048));  // one byte short of that
    EXPECT_FALSE(DownloadAccepted(2047, 2048));
    EXPECT_FALSE(DownloadAccepted(2052, 2048));
    EXPECT_FALSE(DownloadAccepted(0, -3));
}

TEST(WebProtocol, NamesFromTheServer) {
    for (const char* bad :
         {"", ".", "..", "../x", "..\\x", "a/b", ".hidden", "/etc/passwd", "a\nb", "a\x7f"}) {
        EXPECT_FALSE(IsSafeRemoteName(bad)) << bad;
    }
    for (const char* good : {"32064.def", "1234 Meine Sammlung.kxc", "kxdupdater.exe", "a..b"}) {
        EXPECT_TRUE(IsSafeRemoteName(good)) << good;
    }
    EXPECT_TRUE(IsSafeRemotePath("icon/print"));
    EXPECT_TRUE(IsSafeRemotePath("update/version.txt"));
    for (const char* bad : {"", "/etc", "icon/../..", "icon//x", "icon/", "../def"}) {
        EXPECT_FALSE(IsSafeRemotePath(bad)) << bad;
    }
}

TEST(WebProtocol, Encoding) {
    EXPECT_EQ(UrlEncode("icon/print"), "icon/print");
    EXPECT_EQ(UrlEncode("a b&c=d+e#f?"), "a%20b%26c%3Dd%2Be%23f%3F");
    EXPECT_EQ(UrlEncode("\xc3\xa4"), "%C3%A4");
    EXPECT_EQ(UrlDecode("a%20b%2B%zz%4"), "a b+%zz%4");
    EXPECT_EQ(UrlDecode(UrlEncode("wkp 30571&x=%")), "wkp 30571&x=%");
    EXPECT_EQ(EncodeUrlPath("/downloads/collection/1234%20Meine Sammlung.kxc"),
              "/downloads/collection/1234%20Meine%20Sammlung.kxc");
    EXPECT_EQ(EncodeUrlPath("/a%zz"), "/a%25zz");
    EXPECT_EQ(FormatDirectoryLine({"a.def", 12, {2014, 3, 5, 7, 2, 9}}),
              "a.def;12;05.03.2014 07:02:09");
}

TEST(WebSettings, AddressesAndWhereThePassPhraseMayGo) {
    const struct {
        const char* Url;
        bool Loopback;
        bool Pass;
    } cases[] = {
        {"http://127.0.0.1:8080", true, true},
        {"http://localhost", true, true},
        {"http://[::1]:80/x", true, true},
        {"https://library.example.org", false, true},
        {"http://library.example.org", false, false},
        {"http://127.0.0.1.example.org", false, false},
        {"http://user@127.0.0.1", true, true},
        {"HTTPS://LIB.EXAMPLE.ORG", false, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsLoopbackUrl(c.Url), c.Loopback) << c.Url;
        EXPECT_EQ(MaySendPassPhrase(c.Url), c.Pass) << c.Url;
    }
    EXPECT_EQ(NormaliseBaseUrl("  lib.example.org// "), "http://lib.example.org");
    EXPECT_EQ(NormaliseBaseUrl("https://lib.example.org/"), "https://lib.example.org");
    EXPECT_EQ(NormaliseBaseUrl(" "), "");
}

TEST(WebSettings, NoServerUntilOneIsSetAndTheMachineWideOneServesEveryUser) {
    kxtest::TPrivateSettings settings;
    EXPECT_FALSE(ReadWebSettings(settings.Param()).Configured());
    kxtest::WriteFile(settings.SystemConfigDir() / "settings.ini",
                      "WEBBASEURL=s:https://school.example.org/\nFTPSERVER=s:ftp.example.org\n");
    TWebSettings s = ReadWebSettings(settings.Param());
    EXPECT_EQ(s.BaseUrl, "https://school.example.org");
    EXPECT_EQ(s.FtpServer, "ftp.example.org");
    s.BaseUrl = "http://127.0.0.1:9";
    s.TotalTimeout = 0;  // out of range: the default
    s.ConnectTimeout = 3;
    s.PassPhrase = "geheim";
    WriteWebSettings(settings.Param(), s);
    const TWebSettings back = ReadWebSettings(settings.Param());
    EXPECT_EQ(back.BaseUrl, "http://127.0.0.1:9");
    EXPECT_EQ(back.TotalTimeout, 120);
    EXPECT_EQ(back.ConnectTimeout, 3);
    EXPECT_EQ(back.PassPhrase, "geheim");
}
