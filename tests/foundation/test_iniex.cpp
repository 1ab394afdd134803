// The INI reader's lookup rules and the language table.
#include <gtest/gtest.h>

#include <sstream>

#include "foundation/u_iniex.h"
#include "foundation/u_language.h"
#include "foundation/u_param.h"
#include "kx_test_support.h"

using namespace kx;

TEST(IniFileEx, FirstSectionOfANameWinsWhateverTheCase) {
    TIniFileEx ini({"[Common]", "x=1", "[COMMON]", "x=2", "y=3"});
    EXPECT_EQ(ini.ReadString("Common", "x", "?"), "1");
    EXPECT_EQ(ini.ReadString("COMMON", "x", "?"), "1");
    EXPECT_EQ(ini.ReadString("common", "X", "?"), "1");
    EXPECT_EQ(ini.ReadString("COMMON", "y", "?"), "?");  // the second section is never seen
    ASSERT_EQ(ini.Sections().size(), 2u);
    EXPECT_EQ(ini.Sections()[1].Name, "COMMON");
    EXPECT_EQ(ini.FindSection("COMMON"), &ini.Sections()[0]);
    EXPECT_FALSE(ini.SectionExists("Other"));
}

TEST(IniFileEx, KeyMustBeTheWholeTextBeforeTheEqualsSign) {
    TIniFileEx ini({"[P]", "xpos=1", "pos =2", "POS=3", "pos=4"});
    EXPECT_EQ(ini.ReadString("P", "pos", "?"), "3");
    EXPECT_EQ(ini.ReadString("P", "Pos", "?"), "3");
    EXPECT_EQ(ini.ReadString("P", "xpos", "?"), "1");
    EXPECT_EQ(ini.ReadString("P", "pos ", "?"), "2");
    EXPECT_EQ(ini.ReadString("P", "os", "?"), "?");
}

TEST(IniFileEx, ValueIsTheUntrimmedRestOfTheLine) {
    TIniFileEx ini({"[S]", "a=b=c", "empty=", "blank= x ", "k=v", "k==w"});
    EXPECT_EQ(ini.ReadString("S", "a", "?"), "b=c");
    EXPECT_EQ(ini.ReadString("S", "empty", "?"), "");
    EXPECT_EQ(ini.ReadString("S", "blank", "?"), " x ");
    EXPECT_EQ(ini.ReadString("S", "k", "?"), "v");
    // A key holding "=" still means "the line begins with key=".
    EXPECT_EQ(ini.ReadString("S", "a=b", "?"), "c");
    EXPECT_EQ(ini.ReadString("S", "k=", "?"), "w");
    EXPECT_EQ(ini.ReadString("Missing", "a", "dflt"), "dflt");
}

TEST(IniFileEx, SectionsLinesAndWhatIsNotAHeader) {
    TIniFileEx ini({"before=1", "", "[ A ]", ";note=2", " ", "", " [B]", "[CD", "x=1", "[", "y=2"});
    EXPECT_EQ(ini.LineCount(), 11);
    ASSERT_EQ(ini.Sections().size(), 3u);
    EXPECT_EQ(ini.Sections()[0].Name, " A ");  // nothing trimmed
    EXPECT_EQ(ini.Sections()[0].Lines, (std::vector<std::string>{";note=2", " ", " [B]"}));
    EXPECT_EQ(ini.Sections()[1].Name, "C");  // first and last character go, whatever they are
    EXPECT_EQ(ini.Sections()[2].Name, "");
    EXPECT_EQ(ini.ReadString(" a ", ";note", "?"), "2");  // no comment syntax
    EXPECT_EQ(ini.ReadString("A", ";note", "?"), "?");
    EXPECT_EQ(ini.ReadString("c", "x", "?"), "1");
    EXPECT_EQ(ini.ReadString("", "y", "?"), "2");
    for (const auto& section : ini.Sections()) {
        for (const auto& line : section.Lines) {
            EXPECT_NE(line, "before=1");
        }
    }
}

TEST(IniFileEx, ReadIntegerFallsBackOnAnythingButAWholeNumber) {
    TIniFileEx ini(
        {"[N]", "a=42", "b=-7", "c=1,5", "d=", "e=12a", "f=$1F", "g= 8", "h=8 ", "i=99999999999"});
    EXPECT_EQ(ini.ReadInteger("N", "a", 0), 42);
    EXPECT_EQ(ini.ReadInteger("N", "b", 0), -7);
    EXPECT_EQ(ini.ReadInteger("N", "c", 5), 5);
    EXPECT_EQ(ini.ReadInteger("N", "d", 5), 5);
    EXPECT_EQ(ini.ReadInteger("N", "e", 5), 5);
    EXPECT_EQ(ini.ReadInteger("N", "f", 5), 31);
    EXPECT_EQ(ini.ReadInteger("N", "g", 5), 8);
    EXPECT_EQ(ini.ReadInteger("N", "h", 5), 5);
    EXPECT_EQ(ini.ReadInteger("N", "i", 5), 5);
    EXPECT_EQ(ini.ReadInteger("N", "missing", -3), -3);
}

TEST(IniFileEx, ReadsWindows1252FilesStreamsAndBytes) {
    kxtest::TTempDir dir;
    const auto file = dir / "m.kxm";
    kxtest::WriteFile(file,
                      "[COMMON]\r\nNAME=Gr\xF6\xDF"
                      "e\r\n\r\nLF=1\nCR=a\rb\r\n");
    TIniFileEx ini(file);
    EXPECT_EQ(ini.FileName(), file.string());
    EXPECT_EQ(ini.ReadString("COMMON", "NAME", "?"), "Größe");
    EXPECT_EQ(ini.ReadString("COMMON", "LF", "?"), "1");
    EXPECT_EQ(ini.ReadString("COMMON", "CR", "?"), "a\rb");

    TIniFileEx missing(dir / "nothing.ini");
    EXPECT_TRUE(missing.Sections().empty());
    EXPECT_EQ(missing.ReadString("COMMON", "NAME", "d"), "d");
    TIniFileEx folder(dir.Path());  // unreadable as a file
    EXPECT_TRUE(folder.Sections().empty());

    std::istringstream stream("skip me\n[S]\nk=\xE4\n");
    std::string first;
    std::getline(stream, first);
    TIniFileEx fromStream(stream);
    EXPECT_TRUE(fromStream.FileName().empty());
    EXPECT_EQ(fromStream.LineCount(), 2);
    EXPECT_EQ(fromStream.ReadString("S", "k", "?"), "ä");

    EXPECT_EQ(TIniFileEx::FromBytes("[S]\r\nk=\x80\r\n").ReadString("S", "k", "?"), "€");
    EXPECT_TRUE(TIniFileEx().Sections().empty());
}

TEST(Language, KeyIsTheNumberPaddedToFiveDigits) {
    TkxLanguage lang(TIniFileEx({"[MAIN]", "00003=", "00004=Save model", "3=wrong",
                                 "123456=Six digits", "[D_ERRORDLG]", "00001=Error"}));
    EXPECT_EQ(lang.GetText("MAIN", 3, "Modell laden"), "Modell laden");  // empty is missing
    EXPECT_EQ(lang.GetText("MAIN", 4, "Modell speichern"), "Save model");
    EXPECT_EQ(lang.GetText("main", 4, "x"), "Save model");
    EXPECT_EQ(lang.GetText("MAIN", 123456, "x"), "Six digits");
    EXPECT_EQ(lang.GetText("MAIN", 5, "Bildgröße wählen"), "Bildgröße wählen");
    EXPECT_EQ(lang.GetText("D_ERRORDLG", 1, "Fehler"), "Error");
    EXPECT_EQ(lang.GetText("NOSECTION", 1, "Fehler"), "Fehler");
    EXPECT_EQ(TkxLanguage().GetText("MAIN", 1, "&Datei"), "&Datei");
}

TEST(Language, FileOfTheCurrentLanguageInTheProgramFolder) {
    kxtest::TPrivateSettings settings;
    kxtest::TTempDir programDir;
    settings.Param().ProgramDir = programDir.Path().string() + "/";
    kxtest::WriteFile(programDir / "ENGLISH.lng", "[MAIN]\r\n00002=New\r\n");

    EXPECT_EQ(TkxLanguage(settings.Param()).GetText("MAIN", 2, "Neu"), "Neu");  // DEUTSCH.lng
    settings.Param().SetLanguage("ENGLISH");
    EXPECT_EQ(TkxLanguage(settings.Param()).GetText("MAIN", 2, "Neu"), "New");
    settings.Param().SetLanguage("FRANCAIS");  // no such file: the defaults
    EXPECT_EQ(TkxLanguage(settings.Param()).GetText("MAIN", 2, "Neu"), "Neu");
}

TEST(Language, ProcessWideTableCanBeReplaced) {
    EXPECT_EQ(Language().GetText("MAIN", 2, "Neu"), "Neu");
    auto previous = SetLanguage(std::make_unique<TkxLanguage>(TIniFileEx({"[MAIN]", "00002=New"})));
    EXPECT_EQ(Language().GetText("MAIN", 2, "Neu"), "New");
    auto english = SetLanguage(nullptr);
    EXPECT_EQ(english->GetText("MAIN", 2, "Neu"), "New");
    EXPECT_EQ(Language().GetText("MAIN", 2, "Neu"), "Neu");
    SetLanguage(std::move(previous));
}
