// Part packages, the part upload and publishing, the profile generator, the outside programs.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "catalogue/u_defObj.h"
#include "catalogue/u_outsideprograms.h"
#include "catalogue/u_partfiles.h"
#include "catalogue/u_partpackage.h"
#include "catalogue/u_partpublish.h"
#include "catalogue/u_profilegen.h"
#include "foundation/u_text.h"
#include "kx_test_support.h"

using namespace kx;
namespace fs = std::filesystem;

namespace {

const char* const kMemberPaths[] = {"hires/%.stl", "icon/%.bmp",       "def/%.def",
                                    "lores/%.stl", "icon/print/%.jpg", "hires/%.nrm"};

fs::path MemberPath(const fs::path& root, size_t member, const std::string& number) {
    std::string p = kMemberPaths[member];
    p.replace(p.find('%'), 1, number);
    return root / p;
}

/// Every file below a folder, relative to it: what an import left behind.
std::vector<std::string> FilesBelow(const fs::path& root) {
    std::vector<std::string> out;
    std::error_code ec;
    if (!fs::exists(root, ec)) {
        return out;
    }
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        if (e.is_regular_file()) {
            out.push_back(fs::relative(e.path(), root).generic_string());
        }
    }
    std::sort(out.begin(), out.end());
    return out;
}

/// A small part of our own, all six files different, normals optional.
void WritePart(const fs::path& root, const std::string& number, bool normals = true,
               const std::string& name = "Testteil") {
    for (size_t i = 0; i < 5; ++i) {
        kxtest::WriteFile(MemberPath(root, i, number),
                          "member " + std::to_string(i) + " of " + number);
    }
    kxtest::WriteFile(MemberPath(root, 2, number),
                      "[COMMON]\r\nName=" + name + "\r\nGroup=1\r\nVersion=3\r\n");
    if (normals) {
        kxtest::WriteFile(MemberPath(root, 5, number), std::string(24, '\x01'));
    }
}

TAskYesNo Answer(bool yes, std::vector<std::string>* questions = nullptr) {
    return [yes, questions](const std::string& q) {
        if (questions) {
            questions->push_back(q);
        }
        return yes;
    };
}

std::string Header(const std::string& number, std::array<uint32_t, 6> lengths) {
    TPartPackage p;
    p.Number = number;
    std::string bytes = BuildPartPackage(p);
    for (size_t i = 0; i < 6; ++i) {
        for (size_t b = 0; b < 4; ++b) {
            bytes[16 + 4 * i + b] = static_cast<char>((lengths[i] >> (8 * b)) & 0xFF);
        }
    }
    return bytes;
}

}  // namespace

TEST(PartPackage, AKitPartSurvivesExportAndImportByteForByte) {
    const TPartFiles kit(KX_RUNTIME_DIR, {});
    std::string number;
    for (const std::string& n : kit.DefinitionNumbers()) {
        if (kit.FindPart("hires", n, "nrm") && kit.FindPart("icon/print", n, "jpg")) {
            number = n;
            break;
        }
    }
    if (number.empty()) {
        GTEST_SKIP() << "no kit part with normals in " << KX_RUNTIME_DIR;
    }
    kxtest::TTempDir dir;
    const TPartExportResult exported = ExportPart(kit, number, dir / "out.part");
    ASSERT_EQ(exported.Status, TExportStatus::Done) << exported.Detail;

    TPartFiles empty(dir / "prog", dir / "user");
    std::vector<std::string> questions;
    const TImportPackageResult imported =
        ImportPart(empty, dir / "out.part", Answer(true, &questions));
    ASSERT_EQ(imported.Status, TImportStatus::Imported) << imported.Message;
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_NE(questions[0].find(number), std::string::npos);
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(kxtest::ReadFile(MemberPath(dir / "user", i, number)),
                  kxtest::ReadFile(MemberPath(KX_RUNTIME_DIR, i, number)))
            << kMemberPaths[i];
    }
    // The index sees the new files at once.
    EXPECT_TRUE(empty.FindDef(number).has_value());
}

TEST(PartPackage, LayoutNormalsAndTheNumberInside) {
    kxtest::TTempDir dir;
    WritePart(dir / "prog", "77001", false);
    TPartFiles files(dir / "prog", {});
    ASSERT_EQ(ExportPart(files, "77001", dir / "Mein Teil.part").Status, TExportStatus::Done);
    const std::string bytes = kxtest::ReadFile(dir / "Mein Teil.part");
    EXPECT_EQ(bytes.substr(0, 16), "2 TALVERO PART  ");
    EXPECT_EQ(bytes.substr(40, 5), "77001");
    EXPECT_EQ(bytes.substr(36, 4), std::string(4, '\0'));  // no normals: length 0
    EXPECT_EQ(bytes.substr(45, 20), "member 0 of 77001mem");

    // Stored under another name, the package still unpacks under the number inside it; an
    // empty normals member gives an empty normals file, which loads as no normals.
    TPartFiles target(dir / "other", dir / "user");
    ASSERT_EQ(ImportPart(target, dir / "Mein Teil.part", Answer(true)).Status,
              TImportStatus::Imported);
    EXPECT_EQ(
        FilesBelow(dir / "user"),
        (std::vector<std::string>{"def/77001.def", "hires/77001.nrm", "hires/77001.stl",
                                  "icon/77001.bmp", "icon/print/77001.jpg", "lores/77001.stl"}));
    EXPECT_EQ(kxtest::ReadFile(dir / "user/hires/77001.nrm"), "");

    // Export refuses a part that lacks a file other than the normals, and writes nothing.
    fs::remove(dir / "prog/lores/77001.stl");
    files.Refresh();
    const TPartExportResult missing = ExportPart(files, "77001", dir / "x.part");
    EXPECT_EQ(missing.Status, TExportStatus::MissingFile);
    EXPECT_EQ(missing.Detail, "lores/77001.stl");
    EXPECT_FALSE(fs::exists(dir / "x.part"));

    EXPECT_EQ(PartPackageFileName("a"), "a.part");
    EXPECT_EQ(PartPackageFileName("a.PART"), "a.PART");
    EXPECT_EQ(PartPackageFileName("a.Part.bak"), "a.Part.bak");
}

TEST(PartPackage, HostilePackagesAreRefusedWithNothingWritten) {
    kxtest::TTempDir dir;
    WritePart(dir / "src", "77002");
    const TPartFiles source(dir / "src", {});
    const std::string good = BuildPartPackage(*CollectPartPackage(source, "77002"));

    std::string pastEnd = good;
    pastEnd[16] = '\xFF';  // the mesh claims more bytes than follow
    std::string hugeLength = good;
    for (int i = 16; i < 20; ++i) {
        hugeLength[static_cast<size_t>(i)] = '\xFF';
    }
    std::string sumTooLong = Header("77002", {0x80000000u, 0x80000000u, 10, 0, 0, 0}) + "x";
    std::string dotted = good;
    dotted.replace(40, 5, "../..");
    std::string slash = good;
    slash.replace(40, 5, "a/b\\c");
    std::string noDef = Header("77002", {0, 0, 0, 0, 0, 0});

    const struct {
        const char* Name;
        std::string Bytes;
    } cases[] = {
        {"empty", ""},
        {"short header", good.substr(0, 30)},
        {"wrong magic", "3" + good.substr(1)},
        {"length past the end", pastEnd},
        {"length of 4 GB", hugeLength},
        {"lengths summing past 32 bits", sumTooLong},
        {"number ../..", dotted},
        {"number with slashes", slash},
        {"no definition", noDef},
        {"cut short", good.substr(0, good.size() - 1)},
    };
    for (const auto& c : cases) {
        TPartFiles files(dir / "prog", dir / "user");
        std::vector<std::string> questions;
        const TImportPackageResult r = ImportPartBytes(files, c.Bytes, Answer(true, &questions));
        EXPECT_EQ(r.Status, TImportStatus::Refused) << c.Name;
        EXPECT_FALSE(r.Message.empty()) << c.Name;
        EXPECT_TRUE(questions.empty()) << c.Name;
        EXPECT_TRUE(FilesBelow(dir / "user").empty()) << c.Name;
        EXPECT_FALSE(fs::exists(dir / "x")) << c.Name;
    }

    // A package of a part that is already there asks, naming both; No writes nothing.
    WritePart(dir / "prog", "77002", true, "Eingebautes Teil");
    TPartFiles files(dir / "prog", dir / "user");
    std::vector<std::string> questions;
    kxtest::WriteFile(dir / "src/def/77002.def", "[COMMON]\r\nName=Fremdes Teil\r\n");
    const std::string other =
        BuildPartPackage(*CollectPartPackage(TPartFiles(dir / "src", {}), "77002"));
    EXPECT_EQ(ImportPartBytes(files, other, Answer(false, &questions)).Status,
              TImportStatus::Cancelled);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_NE(questions[0].find("77002"), std::string::npos);
    EXPECT_NE(questions[0].find("Eingebautes Teil"), std::string::npos);
    EXPECT_NE(questions[0].find("Fremdes Teil"), std::string::npos);
    EXPECT_TRUE(FilesBelow(dir / "user").empty());
}

TEST(PartPackage, AnImportThatFailsHalfWayLeavesEveryFileAsItWas) {
    kxtest::TTempDir dir;
    WritePart(dir / "src", "77003");
    const std::string bytes =
        BuildPartPackage(*CollectPartPackage(TPartFiles(dir / "src", {}), "77003"));
    // The user's older version of the part, and a file where the lores folder should be.
    kxtest::WriteFile(dir / "user/def/77003.def", "[COMMON]\r\nName=alt\r\n");
    kxtest::WriteFile(dir / "user/hires/77003.stl", "old mesh");
    kxtest::WriteFile(dir / "user/lores", "not a folder");
    const auto before = FilesBelow(dir / "user");
    TPartFiles files(dir / "prog", dir / "user");
    const TImportPackageResult r = ImportPartBytes(files, bytes, Answer(true));
    EXPECT_EQ(r.Status, TImportStatus::Failed);
    EXPECT_FALSE(r.Message.empty());
    EXPECT_EQ(FilesBelow(dir / "user"), before);
    EXPECT_EQ(kxtest::ReadFile(dir / "user/def/77003.def"), "[COMMON]\r\nName=alt\r\n");
    EXPECT_EQ(kxtest::ReadFile(dir / "user/hires/77003.stl"), "old mesh");

    // Once the way is clear it replaces the user's files, and only theirs.
    fs::remove(dir / "user/lores");
    EXPECT_EQ(ImportPartBytes(files, bytes, Answer(true)).Status, TImportStatus::Imported);
    EXPECT_EQ(kxtest::ReadFile(dir / "user/hires/77003.stl"), "member 0 of 77003");
    EXPECT_EQ(FilesBelow(dir / "user").size(), 6u);
}

// --- Upload and publishing --------------------------------------------------------------------

namespace {

struct TFakeServer : TPartUploadPort {
    std::vector<std::string> Calls;
    std::map<std::string, std::string> Stored;
    bool ConnectFails = false;
    std::string FailOn;  // remote path whose store fails
    std::optional<std::string> Reply = "Version gespeichert";
    bool Connect(std::string& error) override {
        Calls.push_back("connect");
        if (ConnectFails) {
            error = "refused";
        }
        return !ConnectFails;
    }
    bool Store(const TUploadFile& f, std::string& error) override {
        const std::string path = f.RemoteDir + "/" + f.RemoteName;
        Calls.push_back("store " + path);
        Stored[path] = kxtest::ReadFile(f.Local);
        if (path == FailOn) {
            error = "550 denied";
            return false;
        }
        return true;
    }
    void Disconnect() override { Calls.push_back("disconnect"); }
    std::optional<std::string> SetPartVersion(std::string_view n, int32_t v,
                                              std::string& error) override {
        Calls.push_back("version " + std::string(n) + " " + std::to_string(v));
        if (!Reply) {
            error = "timeout";
        }
        return Reply;
    }
};

}  // namespace

TEST(PartPublish, RaisesTheRevisionThenUploadsThenSendsIt) {
    const struct {
        const char* Def;
        int Sent;
        const char* Written;
    } cases[] = {
        {"[COMMON]\r\nName=x\r\nversion=7\r\n", 8, "[COMMON]\r\nName=x\r\nVersion=8\r\n"},
        {"[COLOR]\r\n[COMMON]\r\nName=x\r\n", 1, "[COLOR]\r\n[COMMON]\r\nVersion=1\r\nName=x\r\n"},
        {"[COMMON]\r\nVersion=abc\r\n", 1, "[COMMON]\r\nVersion=1\r\n"},
    };
    for (const auto& c : cases) {
        kxtest::TTempDir dir;
        WritePart(dir / "prog", "77004", false);
        kxtest::WriteFile(dir / "prog/def/77004.def", c.Def);
        TPartFiles files(dir / "prog", dir / "user");
        TFakeServer server;
        std::vector<std::string> status;
        const TPublishResult r = PublishPartRevision(
            files, "77004", server, [&](const std::string& s) { status.push_back(s); });
        EXPECT_TRUE(r.Ok) << r.Message;
        EXPECT_EQ(r.Version, c.Sent);
        EXPECT_EQ(r.Message, "Version gespeichert");
        EXPECT_EQ(kxtest::ReadFile(dir / "user/def/77004.def"), c.Written);
        EXPECT_EQ(kxtest::ReadFile(dir / "prog/def/77004.def"), c.Def);  // shipped file kept
        // No normals: that step is left out; the raised definition is what goes up.
        EXPECT_EQ(server.Calls,
                  (std::vector<std::string>{
                      "connect", "store def/77004.def", "store hires/77004.stl",
                      "store lores/77004.stl", "store icon/77004.bmp", "store icon/print/77004.jpg",
                      "disconnect", "version 77004 " + std::to_string(c.Sent)}))
            << c.Def;
        EXPECT_EQ(server.Stored["def/77004.def"], c.Written);
        EXPECT_EQ(server.Stored["icon/print/77004.jpg"], "member 4 of 77004");
        EXPECT_EQ(status.front(), "Sende DEF...");
        EXPECT_EQ(status.back(), "FTP beendet...");
    }
}

TEST(PartPublish, StopsAtTheFirstFailedStepAndSaysWhich) {
    kxtest::TTempDir dir;
    WritePart(dir / "prog", "77005");
    TPartFiles files(dir / "prog", dir / "user");

    TFakeServer failing;
    failing.FailOn = "hires/77005.stl";
    TPublishResult r = PublishPartRevision(files, "77005", failing);
    EXPECT_FALSE(r.Ok);
    EXPECT_NE(r.Message.find("hires/77005.stl"), std::string::npos);
    EXPECT_NE(r.Message.find("550 denied"), std::string::npos);
    EXPECT_EQ(failing.Calls, (std::vector<std::string>{"connect", "store def/77005.def",
                                                       "store hires/77005.stl", "disconnect"}));
    // Nothing sent means nothing raised: the shipped definition is the part's again.
    EXPECT_FALSE(fs::exists(dir / "user/def/77005.def"));
    kxtest::WriteFile(dir / "user/def/77005.def", "[COMMON]\r\nVersion=4\r\n");
    files.Refresh("def");

    TFakeServer closed;
    closed.ConnectFails = true;
    r = PublishPartRevision(files, "77005", closed);
    EXPECT_FALSE(r.Ok);
    EXPECT_NE(r.Message.find("refused"), std::string::npos);
    EXPECT_EQ(closed.Calls, std::vector<std::string>{"connect"});
    EXPECT_EQ(kxtest::ReadFile(dir / "user/def/77005.def"), "[COMMON]\r\nVersion=4\r\n");

    TFakeServer silent;
    silent.Reply.reset();
    r = PublishPartRevision(files, "77005", silent);
    EXPECT_FALSE(r.Ok);
    EXPECT_NE(r.Message.find("timeout"), std::string::npos);

    TFakeServer unused;
    r = PublishPartRevision(files, "99999", unused);
    EXPECT_FALSE(r.Ok);
    EXPECT_EQ(r.Message, "Die Def-Datei konnte nicht gefunden werden");
    EXPECT_TRUE(unused.Calls.empty());
}

// --- Profile generator ------------------------------------------------------------------------

TEST(ProfileGenerator, ConnectorsAlongTheLengthAndRefusals) {
    EXPECT_EQ(ProfileLength("100"), 100);
    for (const char* bad : {"0", "abc", "-5", "", "12,5"}) {
        EXPECT_FALSE(ProfileLength(bad).has_value()) << bad;
    }
    const struct {
        int L;
        std::vector<std::string> X;  // CONN5 ... CONN10
    } cases[] = {{100, {"52", "-52", "-50", "50", "42,5", "-42,5"}},
                 {101, {"52,5", "-52,5", "-50,5", "50,5", "43", "-43"}}};
    for (const auto& c : cases) {
        const std::vector<std::string> lines = ProfileDefinitionLines(c.L);
        std::vector<std::string> xs;
        for (size_t i = 0; i < lines.size(); ++i) {
            for (int n = 5; n <= 10; ++n) {
                if (lines[i] == "[CONN" + std::to_string(n) + "]") {
                    xs.push_back(lines[i + 5].substr(2));
                }
            }
        }
        EXPECT_EQ(xs, c.X) << c.L;
        EXPECT_EQ(lines.back(), "TN=180");  // no empty line after the last section
    }

    kxtest::TTempDir dir;
    TPartFiles files(dir / "prog", dir / "user");
    ASSERT_TRUE(WriteProfileDefinition(files, "AP100", 100));
    const TDefObj def = ReadDefObj(files, "AP100");
    ASSERT_EQ(def.ConnCount(), 16);
    EXPECT_FLOAT_EQ(def.Conn(5).X, 52.f);
    EXPECT_FLOAT_EQ(def.Conn(9).X, 42.5f);
    EXPECT_FLOAT_EQ(def.Conn(2).Y, 5.5f);
    EXPECT_EQ(def.Conn(5).Typ, 1);
    EXPECT_EQ(def.OrgNumber, "AP100");
}

// --- Outside programs -------------------------------------------------------------------------

TEST(OutsidePrograms, CommandLinesFromSettingsAndEnvironment) {
    const fs::path def = "/data/my parts/def/31010.def";
    const struct {
        const char* Setting;
        const char* Visual;
        const char* Editor;
        TLaunch Expected;
    } cases[] = {
        {"", "", "", {"xdg-open", {def.string()}}},
        {"", "", "nano", {"nano", {def.string()}}},
        {"", "code --wait", "nano", {"code", {"--wait", def.string()}}},
        {"\"/opt/my editor/ed\" -n", "vi", "", {"/opt/my editor/ed", {"-n", def.string()}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TextEditorLaunch(c.Setting, c.Visual, c.Editor, def), c.Expected) << c.Setting;
    }
    EXPECT_EQ(SplitCommandLine(R"(a 'b c' "d\"e" f\ g)"),
              (std::vector<std::string>{"a", "b c", "d\"e", "f g"}));
    EXPECT_EQ(BlenderLaunch("", "/m", "31010"), (TLaunch{"blender", {"/m/31010.blend"}}));
    EXPECT_EQ(BlenderLaunch("blender-4 -b", "/m", "31010"),
              (TLaunch{"blender-4", {"-b", "/m/31010.blend"}}));
    EXPECT_FALSE(DefmakerLaunch("  ", "31010").has_value());
    EXPECT_EQ(*DefmakerLaunch("defmaker", "31010"), (TLaunch{"defmaker", {"31010"}}));
}
