// The settings store: defaults, value rules, persistence and concurrency, the recent-files
// list and the command line.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

#include "foundation/u_param.h"
#include "foundation/u_stack.h"
#include "kx_test_support.h"

using namespace kx;

namespace {

class SettingsTest : public ::testing::Test {
protected:
    std::unique_ptr<TkxParam> NewStore(const std::vector<std::string>& args = {}) {
        return std::make_unique<TkxParam>(args, ConfigDir(), SystemDir());
    }
    std::filesystem::path ConfigDir() const { return m_dir / "config"; }
    std::filesystem::path SystemDir() const { return m_dir / "system"; }
    std::filesystem::path SettingsFile() const { return ConfigDir() / "settings.ini"; }
    std::string FileText() const { return kxtest::ReadFile(SettingsFile()); }
    void WriteSettings(const std::string& text) { kxtest::WriteFile(SettingsFile(), text); }

    kxtest::TTempDir m_dir;
};

bool TraceHas(const std::string& text) {
    for (const auto& line : Stack().Lines()) {
        if (line.find(text) != std::string::npos) {
            return true;
        }
    }
    return false;
}

std::vector<std::string> LastFiles(TkxParam& p) {
    std::vector<std::string> slots;
    for (int n = 1; n <= 8; ++n) {
        slots.push_back(p.GetLastFile(n));
    }
    return slots;
}

}  // namespace

TEST_F(SettingsTest, FreshUserReadsEveryDefault) {
    auto p = NewStore();
    EXPECT_EQ(p->GetBackgroundColor3D(), 0x8000000Fu);
    EXPECT_EQ(p->GetLanguage(), "DEUTSCH");
    EXPECT_EQ(p->GetAntialias(), TAntialias::None);
    EXPECT_TRUE(p->GetPaintOldWhite());
    EXPECT_FALSE(p->GetHideOtherStages());
    for (int n = 1; n <= 8; ++n) {
        EXPECT_EQ(p->GetLastFile(n), "");
    }
    EXPECT_FALSE(p->GetLpeMode());
    for (int n = 1; n <= 4; ++n) {
        EXPECT_FALSE(p->GetLpeBox(n));
    }
    EXPECT_TRUE(p->GetLastPythonScript().empty());
    EXPECT_FALSE(p->GetUsePython());
    EXPECT_EQ(p->GetCountFavourites(), 8);
    EXPECT_EQ(p->GetConnWindowTop(), 10);
    EXPECT_EQ(p->GetConnWindowLeft(), 10);
    EXPECT_EQ(p->GetPhaseWindowTop(), 200);
    EXPECT_EQ(p->GetPhaseWindowLeft(), 200);
    EXPECT_EQ(p->GetPhaseWindowWidth(), 64);
    EXPECT_EQ(p->GetPhaseWindowHeight(), 64);
    EXPECT_FALSE(p->GetCombineLibrary());
    EXPECT_EQ(p->GetLastGroup(), 0);
    EXPECT_EQ(p->GetLibraryHeight(), 125);
    EXPECT_EQ(p->GetGridDistance(), 10);
    EXPECT_EQ(p->GetPartPanelHeight(), 0);
    EXPECT_EQ(p->GetOutlineWidth(), 3);
    EXPECT_FALSE(p->GetOutlineModeAtStart());
    const int32_t jogs[] = {14, 4, 5, 3, 1, 6, 12, 13};
    for (int n = 1; n <= 8; ++n) {
        EXPECT_EQ(p->GetJog(n), jogs[n - 1]);
    }
    EXPECT_EQ(p->GetLastCollectionFile(), "");
    EXPECT_TRUE(p->GetCustomColors().empty());
    // Reading never creates the file.
    EXPECT_FALSE(std::filesystem::exists(SettingsFile()));
}

TEST_F(SettingsTest, EverySetIsSeenByAnotherStoreObject) {
    auto a = NewStore();
    auto b = NewStore();
    a->SetBackgroundColor3D(0x00FF8040);
    a->SetLanguage("ENGLISH");
    a->SetPaintOldWhite(false);
    a->SetHideOtherStages(true);
    a->SetLastFile(3, "/home/anna/Kran.kxm");
    a->SetLpeBox(2, true);
    a->SetUsePython(true);
    a->SetCountFavourites(12);
    a->SetConnWindowTop(11);
    a->SetConnWindowLeft(12);
    a->SetPhaseWindowTop(13);
    a->SetPhaseWindowLeft(14);
    a->SetPhaseWindowWidth(150);
    a->SetPhaseWindowHeight(160);
    a->SetCombineLibrary(true);
    a->SetLastGroup(4);
    a->SetLibraryHeight(130);
    a->SetGridDistance(15);
    a->SetPartPanelHeight(222);
    a->SetOutlineWidth(5);
    a->SetOutlineModeAtStart(true);
    a->SetJog(8, 2);
    a->SetLastCollectionFile("/home/anna/Sammlung.kxc");

    EXPECT_EQ(b->GetBackgroundColor3D(), 0x00FF8040u);
    EXPECT_EQ(b->GetLanguage(), "ENGLISH");
    EXPECT_FALSE(b->GetPaintOldWhite());
    EXPECT_TRUE(b->GetHideOtherStages());
    EXPECT_EQ(b->GetLastFile(3), "/home/anna/Kran.kxm");
    EXPECT_TRUE(b->GetLpeBox(2));
    EXPECT_FALSE(b->GetLpeBox(1));
    EXPECT_TRUE(b->GetUsePython());
    EXPECT_EQ(b->GetCountFavourites(), 12);
    EXPECT_EQ(b->GetConnWindowTop(), 11);
    EXPECT_EQ(b->GetConnWindowLeft(), 12);
    EXPECT_EQ(b->GetPhaseWindowTop(), 13);
    EXPECT_EQ(b->GetPhaseWindowLeft(), 14);
    EXPECT_EQ(b->GetPhaseWindowWidth(), 150);
    EXPECT_EQ(b->GetPhaseWindowHeight(), 160);
    EXPECT_TRUE(b->GetCombineLibrary());
    EXPECT_EQ(b->GetLastGroup(), 4);
    EXPECT_EQ(b->GetLibraryHeight(), 130);
    EXPECT_EQ(b->GetGridDistance(), 15);
    EXPECT_EQ(b->GetPartPanelHeight(), 222);
    EXPECT_EQ(b->GetOutlineWidth(), 5);
    EXPECT_TRUE(b->GetOutlineModeAtStart());
    EXPECT_EQ(b->GetJog(8), 2);
    EXPECT_EQ(b->GetJog(1), 14);
    EXPECT_EQ(b->GetLastCollectionFile(), "/home/anna/Sammlung.kxc");

    // A store created afterwards reads the same file.
    EXPECT_EQ(NewStore()->GetOutlineWidth(), 5);
    b->SetBackgroundColor3D(0x8000000F);
    EXPECT_EQ(a->GetBackgroundColor3D(), 0x8000000Fu);
}

TEST_F(SettingsTest, AlternatingWritersNeverReadAStaleCache) {
    auto a = NewStore();
    auto b = NewStore();
    for (int i = 0; i < 60; ++i) {
        a->SetOutlineWidth(i);
        ASSERT_EQ(b->GetOutlineWidth(), i);
        b->SetGridDistance(i);
        ASSERT_EQ(a->GetGridDistance(), i);
        ASSERT_EQ(a->GetOutlineWidth(), i);
    }
}

TEST_F(SettingsTest, BooleansAreTrueOnlyForAStoredOne) {
    auto p = NewStore();
    p->WriteInteger("HIDEOTHERSTAGES", 2);
    EXPECT_FALSE(p->GetHideOtherStages());
    p->WriteInteger("HIDEOTHERSTAGES", 1);
    EXPECT_TRUE(p->GetHideOtherStages());
    p->WriteInteger("USEPYTHON", -1);
    EXPECT_FALSE(p->GetUsePython());

    p->WriteInteger("PAINTOLDWHITE", 0);
    EXPECT_FALSE(p->GetPaintOldWhite());
    p->WriteInteger("PAINTOLDWHITE", 2);
    EXPECT_FALSE(p->GetPaintOldWhite());
    p->DeleteValue("PAINTOLDWHITE");
    EXPECT_TRUE(p->GetPaintOldWhite());

    p->WriteInteger("OUTLINEMODEATSTART", 2);
    EXPECT_TRUE(p->GetOutlineModeAtStart());
    p->WriteInteger("OUTLINEMODEATSTART", -5);
    EXPECT_TRUE(p->GetOutlineModeAtStart());
    p->WriteInteger("OUTLINEMODEATSTART", 0);
    EXPECT_FALSE(p->GetOutlineModeAtStart());

    p->SetLpeMode(true);  // written, but never read back
    EXPECT_FALSE(p->GetLpeMode());
    EXPECT_EQ(p->ReadInteger("LPEMODE", -1), 1);
    p->SetLpeMode(false);
    EXPECT_EQ(p->ReadInteger("LPEMODE", -1), 0);
}

TEST_F(SettingsTest, AntialiasCodes) {
    auto p = NewStore();
    const std::pair<TAntialias, int> codes[] = {{TAntialias::None, 0}, {TAntialias::Default, 1},
                                                {TAntialias::x2, 2},   {TAntialias::x2HQ, 3},
                                                {TAntialias::x4, 4},   {TAntialias::x4HQ, 5}};
    for (auto [mode, code] : codes) {
        p->SetAntialias(mode);
        EXPECT_EQ(p->ReadInteger("ANTIALIAS", -1), code);
        EXPECT_EQ(p->GetAntialias(), mode);
    }
    for (int code : {0, 6, 7, -1, 1000}) {
        p->WriteInteger("ANTIALIAS", code);
        EXPECT_EQ(p->GetAntialias(), TAntialias::None) << code;
    }
}

TEST_F(SettingsTest, WrongTypeReadsAsDefaultAndLeavesATrace) {
    auto p = NewStore();
    p->WriteString("OUTLINEWIDTH", "wide");
    EXPECT_EQ(p->GetOutlineWidth(), 3);
    EXPECT_TRUE(TraceHas("TkxParam.WrongType(\"OUTLINEWIDTH\""));

    p->WriteInteger("LASTCOLLECTIONFILE", 5);
    EXPECT_EQ(p->GetLastCollectionFile(), "");
    p->WriteInteger("LANGUAGE", 1);
    EXPECT_EQ(p->GetLanguage(), "DEUTSCH");
    p->WriteString("PAINTOLDWHITE", "0");
    EXPECT_TRUE(p->GetPaintOldWhite());

    // Hand-edited lines: no type, an unknown type, a broken number.
    WriteSettings("GRIDDISTANCE=15\nLIBRARYHEIGHT=x:200\nOUTLINEWIDTH=i:abc\nJOG1=i:4294967295\n");
    EXPECT_EQ(p->GetGridDistance(), 10);
    EXPECT_EQ(p->GetLibraryHeight(), 125);
    EXPECT_EQ(p->GetOutlineWidth(), 3);
    EXPECT_EQ(p->GetJog(1), -1);  // an unsigned 32-bit number wraps, as a colour would
    EXPECT_TRUE(TraceHas("TkxParam.WrongType(\"GRIDDISTANCE\""));
}

TEST_F(SettingsTest, FileKeepsLinesItDoesNotKnowAndFirstDuplicateWins) {
    WriteSettings("# my note\nOTHER=x:1\nOUTLINEWIDTH=i:4\noutlinewidth=i:9\n\n");
    auto p = NewStore();
    EXPECT_EQ(p->GetOutlineWidth(), 4);
    p->SetGridDistance(15);
    const std::string text = FileText();
    EXPECT_NE(text.find("# my note\n"), std::string::npos);
    EXPECT_NE(text.find("OTHER=x:1\n"), std::string::npos);
    EXPECT_NE(text.find("GRIDDISTANCE=i:15\n"), std::string::npos);
    p->SetOutlineWidth(6);
    EXPECT_EQ(p->GetOutlineWidth(), 6);
    p->DeleteValue("OUTLINEWIDTH");  // removes the duplicate too
    EXPECT_EQ(p->GetOutlineWidth(), 3);
    EXPECT_FALSE(p->ValueExists("OUTLINEWIDTH"));
    EXPECT_TRUE(p->ValueExists("OTHER"));

    for (const char* bad : {"", "A=B", "A\nB", "#A", " A"}) {
        EXPECT_THROW(p->WriteInteger(bad, 1), std::invalid_argument) << bad;
    }
    EXPECT_EQ(p->GetGridDistance(), 15);
}

TEST_F(SettingsTest, TextsWithLineBreaksAndBackslashes) {
    auto p = NewStore();
    const std::vector<std::string> script = {"import kxd", "", "print(\"C:\\\\new\\n\")", "  x = 1",
                                             "# ä ö ü"};
    p->SetLastPythonScript(script);
    EXPECT_EQ(NewStore()->GetLastPythonScript(), script);
    p->SetLastCollectionFile("C:\\new\\rolls.kxc");
    EXPECT_EQ(NewStore()->GetLastCollectionFile(), "C:\\new\\rolls.kxc");
    p->WriteString("MULTI", "a\r\nb\nc\\");
    EXPECT_EQ(NewStore()->ReadString("MULTI", ""), "a\r\nb\nc\\");
    // Each value stays on one line of the file.
    const std::string text = FileText();
    EXPECT_NE(text.find("LASTPYTHONSCRIPT=s:import kxd\\r\\n\\r\\nprint("), std::string::npos);
    EXPECT_NE(text.find("MULTI=s:a\\r\\nb\\nc\\\\\n"), std::string::npos);
    p->SetLastPythonScript({});
    EXPECT_TRUE(p->GetLastPythonScript().empty());
}

TEST_F(SettingsTest, CustomColorsSplitAtEverySemicolon) {
    auto p = NewStore();
    p->WriteString("CUSTOMCOLORS", "ColorA=FFFFFF;ColorB=00FF00");
    EXPECT_EQ(p->GetCustomColors(), (std::vector<std::string>{"ColorA=FFFFFF", "ColorB=00FF00"}));
    p->WriteString("CUSTOMCOLORS", "");
    EXPECT_TRUE(p->GetCustomColors().empty());
    p->WriteString("CUSTOMCOLORS", "a;");
    EXPECT_EQ(p->GetCustomColors(), (std::vector<std::string>{"a", ""}));
    p->WriteString("CUSTOMCOLORS", ";;b");
    EXPECT_EQ(p->GetCustomColors(), (std::vector<std::string>{"", "", "b"}));
    p->SetCustomColors({"x", "y", "z"});
    EXPECT_EQ(p->ReadString("CUSTOMCOLORS", "?"), "x;y;z");
    p->SetCustomColors({});
    EXPECT_EQ(p->ReadString("CUSTOMCOLORS", "?"), "");
}

TEST_F(SettingsTest, LanguageFallsBackToTheMachineWideValue) {
    {
        auto p = NewStore();
        EXPECT_EQ(p->GetLanguage(), "DEUTSCH");
        EXPECT_FALSE(std::filesystem::exists(SettingsFile()));  // writes nothing
        EXPECT_EQ(p->HelpFile, p->ProgramDir + "help/de/index.html");
    }
    kxtest::WriteFile(SystemDir() / "settings.ini", "LANGUAGE=s:ENGLISH\n");
    auto p = NewStore();  // construction asks for the language already
    EXPECT_EQ(p->HelpFile, p->ProgramDir + "help/en/index.html");
    EXPECT_TRUE(p->ValueExists("LANGUAGE"));
    EXPECT_EQ(p->ReadString("LANGUAGE", ""), "ENGLISH");
    EXPECT_EQ(p->GetLanguage(), "ENGLISH");

    // The user's own value wins from then on.
    p->SetLanguage("DEUTSCH");
    EXPECT_EQ(p->GetLanguage(), "DEUTSCH");
    kxtest::WriteFile(SystemDir() / "settings.ini", "LANGUAGE=i:3\n");
    p->DeleteValue("LANGUAGE");
    EXPECT_EQ(p->GetLanguage(), "DEUTSCH");
}

TEST_F(SettingsTest, MachineWideLanguageEvenWhenTheUserFileCannotBeWritten) {
    kxtest::WriteFile(SystemDir() / "settings.ini", "LANGUAGE=s:ENGLISH\n");
    kxtest::WriteFile(ConfigDir(), "a file where the folder should be");
    auto p = NewStore();
    EXPECT_EQ(p->GetLanguage(), "ENGLISH");
    EXPECT_THROW(p->SetOutlineWidth(4), std::runtime_error);
    EXPECT_EQ(p->GetOutlineWidth(), 3);
    EXPECT_EQ(kxtest::ReadFile(ConfigDir()), "a file where the folder should be");
}

TEST_F(SettingsTest, UnreadableFileIsNeverWrittenOver) {
    std::filesystem::create_directories(SettingsFile());  // a folder where the file should be
    auto p = NewStore();
    EXPECT_EQ(p->GetOutlineWidth(), 3);
    EXPECT_THROW(p->SetOutlineWidth(4), std::runtime_error);
    EXPECT_TRUE(std::filesystem::is_directory(SettingsFile()));
    std::filesystem::remove(SettingsFile());
    p->SetOutlineWidth(4);  // readable again: back to normal
    EXPECT_EQ(NewStore()->GetOutlineWidth(), 4);
}

TEST_F(SettingsTest, ConcurrentWritersLoseNothing) {
    constexpr int PerThread = 40;
    // Another program writing at the same time (forked before any thread starts).
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        int status = 0;
        try {
            auto p = NewStore();
            for (int i = 0; i < PerThread; ++i) {
                p->WriteInteger("P_" + std::to_string(i), i);
            }
        } catch (...) {
            status = 1;
        }
        _exit(status);
    }
    std::vector<std::thread> threads;
    for (int t = 0; t < 3; ++t) {
        threads.emplace_back([this, t] {
            auto p = NewStore();
            for (int i = 0; i < PerThread; ++i) {
                p->WriteInteger("T" + std::to_string(t) + "_" + std::to_string(i), i);
            }
        });
    }
    for (auto& th : threads) {
        th.join();
    }
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);

    auto p = NewStore();
    for (const std::string prefix : {"T0_", "T1_", "T2_", "P_"}) {
        for (int i = 0; i < PerThread; ++i) {
            EXPECT_EQ(p->ReadInteger(prefix + std::to_string(i), -1), i) << prefix << i;
        }
    }
}

TEST_F(SettingsTest, RecentFiles) {
    auto p = NewStore();
    p->DoLastFile("/m/1.kxm");
    EXPECT_EQ(LastFiles(*p), (std::vector<std::string>{"", "", "", "", "", "", "", "/m/1.kxm"}));
    p->DoLastFile("/m/2.kxm");
    EXPECT_EQ(p->GetLastFile(7), "/m/2.kxm");
    for (int i = 3; i <= 8; ++i) {
        p->DoLastFile("/m/" + std::to_string(i) + ".kxm");
    }
    EXPECT_EQ(LastFiles(*p),
              (std::vector<std::string>{"/m/8.kxm", "/m/7.kxm", "/m/6.kxm", "/m/5.kxm", "/m/4.kxm",
                                        "/m/3.kxm", "/m/2.kxm", "/m/1.kxm"}));

    // A file already listed changes nothing, and the file is not even rewritten.
    struct stat before {};
    ASSERT_EQ(::stat(SettingsFile().c_str(), &before), 0);
    p->DoLastFile("/m/3.kxm");
    struct stat after {};
    ASSERT_EQ(::stat(SettingsFile().c_str(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);
    EXPECT_EQ(p->GetLastFile(6), "/m/3.kxm");

    // A ninth file pushes the oldest out; slot 1 is the newest.
    p->DoLastFile("/m/9.kxm");
    EXPECT_EQ(LastFiles(*p),
              (std::vector<std::string>{"/m/9.kxm", "/m/8.kxm", "/m/7.kxm", "/m/6.kxm", "/m/5.kxm",
                                        "/m/4.kxm", "/m/3.kxm", "/m/2.kxm"}));
    // Letter case counts.
    p->DoLastFile("/M/9.kxm");
    EXPECT_EQ(p->GetLastFile(1), "/M/9.kxm");
    EXPECT_EQ(p->GetLastFile(2), "/m/9.kxm");

    // A free slot in the middle is the highest free one.
    p->SetLastFile(4, "");
    p->SetLastFile(6, "");
    p->DoLastFile("/m/new.kxm");
    EXPECT_EQ(p->GetLastFile(6), "/m/new.kxm");
    EXPECT_EQ(p->GetLastFile(4), "");
    EXPECT_EQ(p->GetLastFile(1), "/M/9.kxm");
}

TEST(CommandLine, SwitchesAndStartFile) {
    auto none = ParseCommandLine({});
    EXPECT_FALSE(none.DeveloperMode);
    EXPECT_FALSE(none.ReducedLibrary);
    EXPECT_EQ(none.StartFile, "");

    auto dev = ParseCommandLine({"supermodus"});
    EXPECT_TRUE(dev.DeveloperMode);
    EXPECT_EQ(dev.StartFile, "");
    EXPECT_TRUE(ParseCommandLine({"SuperModus", "x.kxm"}).DeveloperMode);
    EXPECT_EQ(ParseCommandLine({"SuperModus", "x.kxm"}).StartFile, "");

    auto second = ParseCommandLine({"/m/a", "SUPERMODUS"});
    EXPECT_FALSE(second.DeveloperMode);
    EXPECT_EQ(second.StartFile, "/m/a SUPERMODUS");

    EXPECT_TRUE(ParseCommandLine({"mini"}).ReducedLibrary);
    auto both = ParseCommandLine({"SUPERMODUS", "Mini"});
    EXPECT_TRUE(both.DeveloperMode);
    EXPECT_TRUE(both.ReducedLibrary);
    auto miniSecond = ParseCommandLine({"x.kxm", "MINI"});
    EXPECT_TRUE(miniSecond.ReducedLibrary);
    EXPECT_EQ(miniSecond.StartFile, "");
    auto miniThird = ParseCommandLine({"a", "b", "MINI"});
    EXPECT_FALSE(miniThird.ReducedLibrary);
    EXPECT_EQ(miniThird.StartFile, "a b MINI");

    EXPECT_EQ(ParseCommandLine({"/home/anna/Mein", "Modell.kxm"}).StartFile,
              "/home/anna/Mein Modell.kxm");
    EXPECT_EQ(ParseCommandLine({" /m/x.kxm ", ""}).StartFile, "/m/x.kxm");
}

TEST_F(SettingsTest, StoreTakesTheCommandLineAndTheProgramFolder) {
    auto p = NewStore({"SUPERMODUS", "MINI"});
    EXPECT_TRUE(p->DeveloperMode);
    EXPECT_TRUE(p->ReducedLibrary);
    auto q = NewStore({"/m/Mein", "Modell.kxm"});
    EXPECT_FALSE(q->DeveloperMode);
    EXPECT_EQ(q->StartFile, "/m/Mein Modell.kxm");

    char exe[4096] = {};
    ASSERT_GT(readlink("/proc/self/exe", exe, sizeof exe - 1), 0);
    EXPECT_EQ(q->ProgramDir, std::filesystem::path(exe).parent_path().string() + "/");
    EXPECT_EQ(q->SettingsFile(), SettingsFile());
}

TEST(SettingsFolders, FollowTheEnvironment) {
    // The test entry points these at a private folder.
    EXPECT_EQ(UserConfigDir(), std::filesystem::path(std::getenv("KORVEX_CONFIG_DIR")));
    EXPECT_EQ(SystemConfigDir(), std::filesystem::path(std::getenv("KORVEX_SYSTEM_CONFIG_DIR")));
    EXPECT_EQ(UserDataDir(), std::string(std::getenv("XDG_DATA_HOME")) + "/korvex-designer/");
    EXPECT_EQ(ExecutableDir().back(), '/');
}

TEST(SettingsFolders, ProcessWideStoreIsReplaceable) {
    TkxParam& standard = Param();
    EXPECT_EQ(standard.SettingsFile(), UserConfigDir() / "settings.ini");
    {
        kxtest::TPrivateSettings settings({"MINI"});
        EXPECT_EQ(&Param(), &settings.Param());
        EXPECT_TRUE(Param().ReducedLibrary);
        Param().SetOutlineWidth(7);
        EXPECT_EQ(standard.GetOutlineWidth(), 3);
    }
    EXPECT_EQ(&Param(), &standard);
}

TEST(SettingsFolders, DataBesideTheProgramOrInstalledUnderShare) {
    kxtest::TTempDir root;
    const std::filesystem::path base = root.Path();
    // A build tree: the kit lies beside the executable, whatever else exists.
    std::filesystem::create_directories(base / "build/bin/def");
    EXPECT_EQ(ProgramDataDir(base / "build/bin/"), (base / "build/bin/").string());
    // An installed program: bin/ holds the executable, the kit is under share/.
    std::filesystem::create_directories(base / "usr/bin");
    std::filesystem::create_directories(base / "usr/share/korvex-designer/def");
    const std::string shared = (base / "usr/share/korvex-designer/").string();
    EXPECT_EQ(ProgramDataDir(base / "usr/bin/"), shared);
    EXPECT_EQ(ProgramDataDir(base / "usr/bin"), shared);
    // Neither: the executable's folder, so the program says what it misses there.
    std::filesystem::create_directories(base / "lonely/bin");
    EXPECT_EQ(ProgramDataDir(base / "lonely/bin/"), (base / "lonely/bin/").string());
}
