// Part definitions: the full reader's rules, the library reader's rules, the canonical writer.
#include <gtest/gtest.h>

#include "catalogue/u_defObj.h"
#include "catalogue/u_partfiles.h"
#include "foundation/u_text.h"
#include "kx_test_support.h"

using namespace kx;

namespace {

TCatalogueSettings English() {
    TCatalogueSettings s;
    s.Language = "english";
    return s;
}

TDefObj Parse(const std::string& text, const std::string& number = "31010",
              const TCatalogueSettings& settings = {}) {
    return ParseDefObj(text, number, settings);
}

TMiniDefObj Mini(const std::string& text, const std::string& number = "31010",
                 const TCatalogueSettings& settings = {}) {
    return ParseMiniDefObj(text, number, settings);
}

// A record that uses every field the writer knows.
TDefObj FullRecord() {
    TDefObj d;
    d.Number = "31010";
    d.Red = 200;
    d.Green = 10;
    d.Blue = 0;
    d.Alpha = 0.5;
    d.Texture = "holz.bmp";
    d.TxWidth = 10;
    d.TxHeight = 0;
    d.TxOfsX = -3;
    d.TxOfsY = 4;
    d.TxAlpha = 1;
    d.DisableShader = 1;
    d.Mirror = 2;
    d.NameDe = "Zahnrad groß";
    d.NameEng = "Gear large";
    d.Name = d.NameDe;
    d.Price = 12.35;
    d.Group = 8;
    d.OrgNumber = "31010-A";
    d.Printable = 0;
    d.Hide = true;
    d.SortOrder = 4711;
    d.KineRot = 3;
    d.Teeth = 40;
    d.Version = 7;
    d.OffsetX = 7.5;
    d.OffsetY = -0.25;
    d.OffsetZ = 1e-7;
    d.Children = {"31011", "C0007"};
    for (int i = 0; i < 3; ++i) {
        TConn c;
        c.Typ = i;
        c.Thick = 4.1f + static_cast<float>(i);
        c.NameDe = "Zapfen " + IntToStr(i);
        c.NameEng = "Peg " + IntToStr(i);
        c.Name = c.NameDe;
        c.X = 0.1f * static_cast<float>(i);
        c.Y = -7.5f;
        c.Z = 1234.5678f;
        c.PF = 90;
        c.RF = -180;
        c.TF = 45.5f;
        c.PN = 1.0f / 3.0f;
        c.RN = 0;
        c.TN = 270;
        d.Conns.push_back(c);
    }
    return d;
}

}  // namespace

// --- Full reader ------------------------------------------------------------------------------

TEST(DefReader, MissingFileGivesDefaults) {
    kxtest::TTempDir dir;
    const TDefObj d = ReadDefObj(dir / "def/99999.def", "99999");
    EXPECT_EQ(d.Number, "99999");
    EXPECT_EQ(d.Path, (dir / "def/99999.def").string());
    EXPECT_EQ(d.Name, "noname");
    EXPECT_EQ(d.NameEng, "noname");
    EXPECT_EQ(d.Color(), 80u + 80u * 256 + 80u * 65536);
    EXPECT_EQ(d.Alpha, 1.0);
    EXPECT_EQ(d.OrgNumber, "99999");
    EXPECT_EQ(d.SortOrder, 99999);
    EXPECT_EQ(d.Printable, 1);
    EXPECT_EQ(d.Teeth, 1);
    EXPECT_EQ(d.TxWidth, 1);
    EXPECT_EQ(d.TxHeight, 1);
    EXPECT_FALSE(d.Hide);
    EXPECT_EQ(d.ChildCount(), 0);
    EXPECT_EQ(d.ConnCount(), 0);
}

TEST(DefReader, ColourKeepsLowBytesAndBlackBecomesGrey) {
    EXPECT_EQ(Parse("[COLOR]\r\nRed=0\r\nGreen=0\r\nBlue=0\r\n").Color(), 0x505050u);
    EXPECT_EQ(Parse("[COMMON]\r\nName=x\r\n").Color(), 0x505050u);
    const TDefObj d = Parse("[COLOR]\r\nRed=266\r\nGreen=-1\r\nBlue=3\r\n");
    EXPECT_EQ(d.Red, 10);
    EXPECT_EQ(d.Green, 255);
    EXPECT_EQ(d.Blue, 3);
    // 256 keeps the low byte 0; with the others 0 that is black, hence grey.
    EXPECT_EQ(Parse("[COLOR]\r\nRed=256\r\n").Color(), 0x505050u);
    EXPECT_EQ(Parse("[COLOR]\r\nBlue=1\r\n").Color(), 0x010000u);
}

TEST(DefReader, AlphaRules) {
    auto alpha = [](const std::string& v) { return Parse("[COLOR]\r\nAlpha=" + v + "\r\n").Alpha; };
    EXPECT_EQ(Parse("").Alpha, 1.0);
    EXPECT_EQ(alpha("-1"), 1.0);
    EXPECT_EQ(alpha("1,5"), 1.0);
    EXPECT_EQ(alpha("-0,2"), 0.0);
    EXPECT_EQ(alpha("0.5"), 1.0);  // a point is not a decimal here
    EXPECT_EQ(alpha("abc"), 1.0);
    EXPECT_EQ(alpha("0,25"), 0.25);
    EXPECT_EQ(alpha("-1,0"), 0.0);  // only the text "-1" means "opaque"
}

TEST(DefReader, PriceGroupMirrorAndOtherIntegers) {
    auto common = [](const std::string& lines) { return Parse("[COMMON]\r\n" + lines); };
    EXPECT_EQ(common("Prize=12.50\r\n").Price, 0.0);
    EXPECT_EQ(common("Prize=-3,5\r\n").Price, 0.0);
    EXPECT_EQ(common("Prize=12,5\r\n").Price, 12.5);
    EXPECT_EQ(common("Group=260\r\n").Group, 4);
    EXPECT_EQ(common("Mirror=7\r\n").Mirror, 0);
    EXPECT_EQ(common("Mirror=259\r\n").Mirror, 3);
    EXPECT_EQ(common("Mirror=2\r\n").Mirror, 2);
    EXPECT_EQ(common("Teeth=x\r\n").Teeth, 1);
    EXPECT_EQ(common("KineRot=5\r\nVersion=12\r\nPrintable=0\r\n").KineRot, 5);
    EXPECT_EQ(common("Printable=0\r\n").Printable, 0);
    const TDefObj off = Parse("[OFFSET]\r\nX=1,5\r\nY=2.5\r\nZ=-7\r\n");
    EXPECT_EQ(off.OffsetX, 1.5);
    EXPECT_EQ(off.OffsetY, 0.0);
    EXPECT_EQ(off.OffsetZ, -7.0);
}

TEST(DefReader, ArticleNumberAndSortOrderFallBackToTheNumber) {
    EXPECT_EQ(Parse("[COMMON]\r\nName=a\r\n").OrgNumber, "31010");
    EXPECT_EQ(Parse("[COMMON]\r\nOrgNumber=\r\n").OrgNumber, "31010");
    EXPECT_EQ(Parse("[COMMON]\r\nOrgNumber=  A-17 \r\n").OrgNumber, "A-17");
    EXPECT_EQ(Parse("", "31010").SortOrder, 31010);
    EXPECT_EQ(Parse("", "C0007").SortOrder, 0);
    EXPECT_EQ(Parse("[COMMON]\r\nSortOrder=\r\n", "31010").SortOrder, 31010);
    EXPECT_EQ(Parse("[COMMON]\r\nSortOrder=15\r\n", "31010").SortOrder, 15);
}

TEST(DefReader, NamesAndValuesAreTrimmedAndCaseIsIgnored) {
    const TDefObj d = Parse(
        "  [ common ]  \r\n  name =  Baustein 15  \r\nGROUP=3\r\nhide = 1\r\n"
        "[Color]\r\n red = 12\r\n");
    EXPECT_EQ(d.NameDe, "Baustein 15");
    EXPECT_EQ(d.Group, 3);
    EXPECT_TRUE(d.Hide);
    EXPECT_EQ(d.Red, 12);
    // LF line ends and a repeated section: the first one counts.
    const TDefObj e = Parse("[COMMON]\nName=erste\n[COMMON]\nName=zweite\nGroup=2\n");
    EXPECT_EQ(e.NameDe, "erste");
    EXPECT_EQ(e.Group, 0);
}

TEST(DefReader, HideIsExactlyOne) {
    EXPECT_TRUE(Parse("[COMMON]\r\nHide=1\r\n").Hide);
    EXPECT_FALSE(Parse("[COMMON]\r\nHide=01\r\n").Hide);
    EXPECT_FALSE(Parse("[COMMON]\r\nHide=yes\r\n").Hide);
    EXPECT_FALSE(Parse("[COMMON]\r\nHide=0\r\n").Hide);
}

TEST(DefReader, ChildrenAndConnectorsAreClamped) {
    std::string many = "[CONNECTIONS]\r\nCount=300\r\n";
    for (int i = 1; i <= 300; ++i) {
        many += "[CONN" + IntToStr(i) + "]\r\nTyp=" + IntToStr(i) + "\r\n";
    }
    const TDefObj d = Parse(many);
    ASSERT_EQ(d.ConnCount(), 240);
    EXPECT_EQ(d.Conn(240).Typ, 240);
    EXPECT_EQ(Parse("[CONNECTIONS]\r\nCount=-4\r\n[CONN1]\r\nTyp=1\r\n").ConnCount(), 0);

    std::string kids = "[CHILDS]\r\nCount=25\r\n";
    for (int i = 1; i <= 25; ++i) {
        kids += "[CHILD" + IntToStr(i) + "]\r\nNumber=K" + IntToStr(i) + "\r\n";
    }
    const TDefObj k = Parse(kids);
    ASSERT_EQ(k.ChildCount(), 20);
    EXPECT_EQ(k.Child(1), "K1");
    EXPECT_EQ(k.Child(20), "K20");
    // A count beyond the sections present gives empty children, not an error.
    EXPECT_EQ(Parse("[CHILDS]\r\nCount=2\r\n").Child(2), "");
}

TEST(DefReader, ConnectorValues) {
    const TDefObj d = Parse(
        "[CONNECTIONS]\r\nCount=2\r\n"
        "[CONN1]\r\nTyp=3\r\nThick=4,5\r\nName=Nut\r\nEng=Groove\r\nX=1,5\r\nY=-2\r\nZ=3.5\r\n"
        "PF=90\r\nRF=180\r\nTF=-90\r\nPN=1\r\nRN=2\r\nTN=3\r\n"
        "[CONN2]\r\nThick=4.5\r\n");
    const TConn& a = d.Conn(1);
    EXPECT_EQ(a.Typ, 3);
    EXPECT_EQ(a.Thick, 4.5f);
    EXPECT_EQ(a.Name, "Nut");
    EXPECT_EQ(a.X, 1.5f);
    EXPECT_EQ(a.Y, -2.0f);
    EXPECT_EQ(a.Z, 0.0f);  // written with a point
    EXPECT_EQ(a.PF, 90.0f);
    EXPECT_EQ(a.TF, -90.0f);
    EXPECT_EQ(a.TN, 3.0f);
    const TConn& b = d.Conn(2);
    EXPECT_EQ(b.Typ, 0);
    EXPECT_EQ(b.Thick, 0.0f);
    EXPECT_EQ(b.Name, "noname");
}

TEST(DefReader, DisplayNameFollowsTheLanguage) {
    const std::string both =
        "[COMMON]\r\nName=Achse\r\nEng=Axle\r\n[CONNECTIONS]\r\nCount=1\r\n"
        "[CONN1]\r\nName=Bohrung\r\nEng=\r\n";
    const TDefObj de = Parse(both);
    EXPECT_EQ(de.Name, "Achse");
    EXPECT_EQ(de.Conn(1).Name, "Bohrung");
    const TDefObj en = Parse(both, "31010", English());
    EXPECT_EQ(en.Name, "Axle");
    EXPECT_EQ(en.Conn(1).Name, "Bohrung");  // empty English name: the German one
    EXPECT_EQ(Parse("[COMMON]\r\nName=Achse\r\nEng=\r\n", "31010", English()).Name, "Achse");
    EXPECT_EQ(Parse("[COMMON]\r\nName=Achse\r\n", "31010", English()).Name, "noname");
    TCatalogueSettings lower;
    lower.Language = "deutsch";
    EXPECT_EQ(Parse(both, "31010", lower).Name, "Achse");
}

TEST(DefReader, TextsAreWindows1252) {
    const TDefObj d = Parse("[COMMON]\r\nName=Zahnrad gro\xDF\r\n");
    EXPECT_EQ(d.NameDe, "Zahnrad groß");
    EXPECT_EQ(Mini("[COMMON]\r\nName=Zahnrad gro\xDF\r\n").Name, "Zahnrad groß");
}

TEST(DefObj, TextureCoordinatesTreatZeroRepeatAsOne) {
    TDefObj d = Parse("[COLOR]\r\nTexture=holz.bmp\r\nTxWidth=0\r\nTxHeight=0\r\nTxOfsX=2\r\n");
    EXPECT_EQ(d.TxWidth, 0);  // the record keeps what the file says
    const auto tc = d.TexCoord(3, 4);
    EXPECT_EQ(tc[0], 5.0f);
    EXPECT_EQ(tc[1], 4.0f);
    d.TxWidth = 10;
    d.TxHeight = 4;
    EXPECT_EQ(d.TexCoord(8, 2)[0], 1.0f);
    EXPECT_EQ(d.TexCoord(8, 2)[1], 0.5f);
}

// --- Library reader ---------------------------------------------------------------------------

TEST(MiniDefReader, ReadsOnlyCommonLinesAsWritten) {
    const TMiniDefObj m = Mini(
        "[COLOR]\r\nName=falsch\r\n[COMMON]\r\nName=Baustein\r\nGroup=4\r\nOrgNumber=B-15\r\n"
        "SortOrder=20\r\nVersion=3\r\n[CONN1]\r\nName=Zapfen\r\nHide=1\r\n");
    EXPECT_FALSE(m.Hide);
    EXPECT_EQ(m.Name, "Baustein");
    EXPECT_EQ(m.Group, 4);
    EXPECT_EQ(m.OrgNumber, "B-15");
    EXPECT_EQ(m.SortOrder, 20);
    EXPECT_EQ(m.Version, 3);
    EXPECT_EQ(m.Prefix, "31010");
    EXPECT_EQ(Mini("", "C0007x").Prefix, "C0007");
}

TEST(MiniDefReader, DiffersFromTheFullReaderOnBlanksAndCase) {
    const std::string spaced = "[COMMON]\r\nHide = 1\r\nName = Achse\r\n";
    EXPECT_TRUE(Parse(spaced).Hide);
    EXPECT_FALSE(Mini(spaced).Hide);
    EXPECT_EQ(Mini(spaced).Name, "");
    EXPECT_TRUE(Mini("[common]\r\nhide=1\r\n").Hide);
    EXPECT_FALSE(Mini("[COMMON] \r\nHide=1\r\n").Hide);  // the section line must be exact
    EXPECT_FALSE(Mini("[COMMON]\r\nHide=1 \r\n").Hide);
    EXPECT_EQ(Mini("[COMMON]\r\nName= Achse \r\n").Name, " Achse ");  // not trimmed
    EXPECT_EQ(Mini("[COMMON]\r\nGroup=x\r\n").Group, 0);
    EXPECT_EQ(Mini("[COMMON]\r\nVersion=abc\r\n").Version, 0);
}

TEST(MiniDefReader, SortOrderFallsBackToTheArticleNumber) {
    EXPECT_EQ(Mini("", "31010").SortOrder, 31010);
    EXPECT_EQ(Mini("", "C0007").SortOrder, 0);
    EXPECT_EQ(Mini("[COMMON]\r\nOrgNumber=500\r\n", "C0007").SortOrder, 500);
    EXPECT_EQ(Mini("[COMMON]\r\nSortOrder=0\r\nOrgNumber=32\r\n", "31010").SortOrder, 32);
    EXPECT_EQ(Mini("[COMMON]\r\nOrgNumber=\r\n", "C0007").OrgNumber, "");
}

TEST(MiniDefReader, EnglishNameRuleDiffersFromTheFullReader) {
    const std::string emptyEng = "[COMMON]\r\nName=Achse\r\nEng=\r\n";
    EXPECT_EQ(Mini(emptyEng, "31010", English()).Name, "");
    EXPECT_EQ(Parse(emptyEng, "31010", English()).Name, "Achse");
    EXPECT_EQ(Mini("[COMMON]\r\nName=Achse\r\n", "31010", English()).Name, "");
    EXPECT_EQ(Mini("[COMMON]\r\nName=Achse\r\nEng=Axle\r\n", "31010", English()).Name, "Axle");
    EXPECT_EQ(Mini(emptyEng).Name, "Achse");
}

TEST(MiniDefReader, CombinedLibraryMergesOldCategories) {
    TCatalogueSettings combined;
    combined.CombineLibrary = true;
    auto group = [&](int g, const TCatalogueSettings& s) {
        return Mini("[COMMON]\r\nGroup=" + IntToStr(g) + "\r\n", "31010", s).Group;
    };
    EXPECT_EQ(group(12, combined), 3);
    EXPECT_EQ(group(9, combined), 0);
    EXPECT_EQ(group(17, combined), 8);
    EXPECT_EQ(group(18, combined), 5);
    EXPECT_EQ(group(19, combined), 19);
    EXPECT_EQ(group(4, combined), 4);
    EXPECT_EQ(group(12, TCatalogueSettings{}), 12);
}

TEST(MiniDefReader, UnreadableFileIsAnError) {
    kxtest::TTempDir dir;
    EXPECT_THROW(ReadMiniDefObj(dir / "def/00001.def", "00001"), TDefFileError);
    kxtest::WriteFile(dir / "def/00001.def", "[COMMON]\r\nHide=1\r\n");
    EXPECT_TRUE(ReadMiniDefObj(dir / "def/00001.def", "00001").Hide);
}

// --- Writer -----------------------------------------------------------------------------------

TEST(DefWriter, CanonicalText) {
    TDefObj d;
    d.Number = "31010";
    d.Red = 255;
    d.Green = 0;
    d.Blue = 0;
    d.NameDe = "Baustein 15";
    d.NameEng = "Building block 15";
    d.OrgNumber = "31010";
    d.SortOrder = 31010;
    d.OffsetX = 7.5;
    TConn c;
    c.Typ = 1;
    c.Thick = 4.1f;
    c.NameDe = "Zapfen";
    c.NameEng = "Peg";
    c.Y = 7.5f;
    c.PF = -90;
    d.Conns.push_back(c);
    const std::string expected =
        "[COLOR]\r\nRed=255\r\nGreen=0\r\nBlue=0\r\n\r\n"
        "[COMMON]\r\nName=Baustein 15\r\nEng=Building block 15\r\nGroup=0\r\nOrgNumber=31010\r\n"
        "Printable=1\r\nSortOrder=31010\r\nVersion=0\r\n\r\n"
        "[OFFSET]\r\nX=7,5\r\nY=0\r\nZ=0\r\n\r\n"
        "[CHILDS]\r\nCount=0\r\n\r\n"
        "[CONNECTIONS]\r\nCount=1\r\n\r\n"
        "[CONN1]\r\nTyp=1\r\nThick=4,1\r\nName=Zapfen\r\nEng=Peg\r\nX=0\r\nY=7,5\r\nZ=0\r\n"
        "PF=-90\r\nRF=0\r\nTF=0\r\nPN=0\r\nRN=0\r\nTN=0\r\n\r\n";
    EXPECT_EQ(DefinitionBytes(d), expected);
}

TEST(DefWriter, OptionalKeys) {
    TDefObj d = FullRecord();
    const std::string text = DefinitionBytes(d);
    EXPECT_NE(text.find("\r\nAlpha=0,50\r\n"), std::string::npos);
    EXPECT_NE(text.find("Texture=holz.bmp\r\nTxHeight=0\r\nTxWidth=10\r\nTxOfsX=-3\r\n"
                        "TxOfsY=4\r\nTxAlpha=1\r\nDisableShader=1\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("[COMMON]\r\nMirror=2\r\nName=Zahnrad gro\xDF\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nPrize=12,35\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nHide=1\r\nSortOrder=4711\r\nKineRot=3\r\nTeeth=40\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("[CHILD2]\r\nNumber=C0007\r\n"), std::string::npos);
    EXPECT_NE(text.find("Z=1E-7\r\n"), std::string::npos);

    d.Price = 0;
    d.Alpha = 1;
    d.Texture.clear();
    d.DisableShader = -1;
    d.KineRot = -2;
    d.Teeth = 0;
    d.Hide = false;
    d.Mirror = 0;
    const std::string plain = DefinitionBytes(d);
    for (const char* key : {"Prize=", "Alpha=", "Texture=", "TxWidth=", "DisableShader=",
                            "KineRot=", "Teeth=", "Hide=", "Mirror="}) {
        EXPECT_EQ(plain.find(key), std::string::npos) << key;
    }
    const TDefObj back = Parse(plain);
    EXPECT_EQ(back.Price, 0.0);
    EXPECT_EQ(back.KineRot, 0);
    EXPECT_EQ(back.Teeth, 1);
    EXPECT_EQ(back.DisableShader, 0);
    EXPECT_EQ(back.TxWidth, 1);
}

TEST(DefWriter, RoundTripIsByteExact) {
    kxtest::TTempDir dir;
    const TDefObj original = FullRecord();
    ASSERT_TRUE(SaveDefinition(original, dir / "def/31010.def"));
    const std::string first = kxtest::ReadFile(dir / "def/31010.def");

    const TDefObj read = ReadDefObj(dir / "def/31010.def", "31010");
    EXPECT_EQ(read.NameDe, original.NameDe);
    EXPECT_EQ(read.Alpha, 0.5);
    EXPECT_EQ(read.Price, original.Price);
    EXPECT_EQ(read.OffsetZ, original.OffsetZ);
    EXPECT_EQ(read.Children, original.Children);
    ASSERT_EQ(read.ConnCount(), 3);
    for (int i = 1; i <= 3; ++i) {
        const TConn& a = read.Conn(i);
        const TConn& b = original.Conn(i);
        EXPECT_EQ(a.Thick, b.Thick);
        EXPECT_EQ(a.X, b.X);
        EXPECT_EQ(a.Z, b.Z);
        EXPECT_EQ(a.PN, b.PN);
        EXPECT_EQ(a.NameEng, b.NameEng);
    }
    EXPECT_EQ(read.TxHeight, 0);
    EXPECT_EQ(read.Hide, true);

    ASSERT_TRUE(SaveDefinition(read));  // to its own Path
    EXPECT_EQ(kxtest::ReadFile(dir / "def/31010.def"), first);
}

TEST(DefWriter, FailureLeavesTheOldFile) {
    kxtest::TTempDir dir;
    kxtest::WriteFile(dir / "blocked", "not a folder");
    EXPECT_FALSE(SaveDefinition(FullRecord(), dir / "blocked/31010.def"));
    EXPECT_FALSE(SaveDefinition(TDefObj{}));  // no path at all
    EXPECT_EQ(kxtest::ReadFile(dir / "blocked"), "not a folder");
}

TEST(DefWriter, SavingThroughThePartFilesGoesToTheUserFolder) {
    kxtest::TTempDir dir;
    kxtest::WriteFile(dir / "prog/def/31010.def", "[COMMON]\r\nName=alt\r\n");
    TPartFiles files(dir / "prog", dir / "user");
    TDefObj d = ReadDefObj(files, "31010");
    EXPECT_EQ(d.NameDe, "alt");
    d.NameDe = "neu";
    ASSERT_TRUE(SaveDefinition(d, files));
    EXPECT_EQ(kxtest::ReadFile(dir / "prog/def/31010.def"), "[COMMON]\r\nName=alt\r\n");
    EXPECT_EQ(ReadDefObj(files, "31010").NameDe, "neu");
}

// --- Text edits -------------------------------------------------------------------------------

TEST(DefEdits, VersionBump) {
    std::vector<std::string> a = {"[COMMON]", "Name=x", "version=7"};
    BumpVersionLines(a);
    EXPECT_EQ(a[2], "Version=8");
    std::vector<std::string> b = {"[COLOR]", "Red=1", "[COMMON]", "Name=x"};
    BumpVersionLines(b);
    EXPECT_EQ(b, (std::vector<std::string>{"[COLOR]", "Red=1", "[COMMON]", "Version=1", "Name=x"}));
    std::vector<std::string> c = {"[COMMON]", "Version=abc"};
    BumpVersionLines(c);
    EXPECT_EQ(c[1], "Version=1");
    std::vector<std::string> d = {"[COLOR]"};
    BumpVersionLines(d);
    EXPECT_EQ(d.size(), 1u);

    kxtest::TTempDir dir;
    EXPECT_EQ(BumpDefinitionVersion(dir / "none.def", dir / "none.def"), TDefEditResult::NotFound);
    kxtest::WriteFile(dir / "a.def", "[COMMON]\nVersion=2\n");
    EXPECT_EQ(BumpDefinitionVersion(dir / "a.def", dir / "a.def"), TDefEditResult::Ok);
    EXPECT_EQ(kxtest::ReadFile(dir / "a.def"), "[COMMON]\r\nVersion=3\r\n");
    kxtest::WriteFile(dir / "blocked", "x");
    EXPECT_EQ(BumpDefinitionVersion(dir / "a.def", dir / "blocked/a.def"),
              TDefEditResult::NotWritten);
    EXPECT_EQ(kxtest::ReadFile(dir / "a.def"), "[COMMON]\r\nVersion=3\r\n");
}

TEST(DefEdits, CopyReplacesArticleNumberColourAndCategory) {
    kxtest::TTempDir dir;
    kxtest::WriteFile(dir / "src.def",
                      "[COLOR]\r\nRed=1\r\nGreen=2\r\nBlue=3\r\n[COMMON]\r\nName=x\r\n"
                      "Group=4\r\nOrgNumber=31010\r\nSortOrder=5\r\n");
    ASSERT_EQ(CopyDefinition(dir / "src.def", dir / "dst.def", "X0001", 0, 0, 0, 12),
              TDefEditResult::Ok);
    EXPECT_EQ(kxtest::ReadFile(dir / "dst.def"),
              "[COLOR]\r\nRed=0\r\nGreen=0\r\nBlue=0\r\n[COMMON]\r\nName=x\r\n"
              "Group=12\r\nOrgNumber=X0001\r\nSortOrder=5\r\n");
    // A copy in black is drawn grey.
    EXPECT_EQ(ReadDefObj(dir / "dst.def", "X0001").Color(), 0x505050u);
}

TEST(DefObj, GroupNameComesFromTheLanguageTable) {
    const TGetText table = [](std::string_view section, int key, std::string_view def) {
        if (section == "GROUPS" && key == 3) {
            return std::string("Räder");
        }
        return std::string(def);
    };
    EXPECT_EQ(GroupName(3, table), "Räder");
    EXPECT_EQ(GroupName(4, table), "?");
    EXPECT_EQ(GroupName(3, nullptr), "?");
}

TEST(DefEdits, ThroughThePartFilesTheUserFolderGetsTheResult) {
    kxtest::TTempDir dir;
    kxtest::WriteFile(dir / "prog/def/31010.def",
                      "[COLOR]\r\nRed=9\r\n[COMMON]\r\nName=x\r\nVersion=4\r\n");
    TPartFiles files(dir / "prog", dir / "user");
    EXPECT_EQ(BumpDefinitionVersion(files, "99999"), TDefEditResult::NotFound);
    ASSERT_EQ(BumpDefinitionVersion(files, "31010"), TDefEditResult::Ok);
    EXPECT_EQ(ReadDefObj(files, "31010").Version, 5);
    EXPECT_EQ(ReadDefObj(dir / "prog/def/31010.def", "31010").Version, 4);  // shipped file kept

    ASSERT_EQ(CopyDefinition(files, "31010", "X0001", 255, 0, 0, 3), TDefEditResult::Ok);
    const TDefObj copy = ReadDefObj(files, "X0001");
    EXPECT_EQ(copy.OrgNumber, "X0001");  // no ORGNUMBER line to replace: the number shows
    EXPECT_EQ(copy.Red, 255);
    EXPECT_EQ(copy.Version, 5);
    EXPECT_EQ(files.DefinitionNumbers(), (std::vector<std::string>{"31010", "X0001"}));
}

TEST(DefWriter, WriteReadWriteIsStableForVariedRecords) {
    // Awkward values: tiny and huge decimals, negative zero, names with umlauts and "=".
    const float values[] = {0.0f, -0.0f, 1e-7f, 3.4e30f, -123.456f, 7.5f, 1.0f / 3.0f, 1e6f};
    for (int i = 0; i < 8; ++i) {
        TDefObj d = FullRecord();
        d.Alpha = i / 8.0;
        d.Price = values[i] < 0 ? 0 : values[i];
        d.OffsetX = values[i];
        d.NameDe = "Teil Nr. " + IntToStr(i) + " = Größe ä";
        for (TConn& c : d.Conns) {
            c.X = values[i];
            c.Thick = values[(i + 3) % 8];
        }
        const TDefObj once = Parse(DefinitionBytes(d), d.Number);
        const std::string first = DefinitionBytes(once);
        const TDefObj twice = Parse(first, d.Number);
        EXPECT_EQ(once, twice) << i;
        EXPECT_EQ(DefinitionBytes(twice), first) << i;
        EXPECT_EQ(once.Conn(1).X, values[i] == 0 ? 0.0f : values[i]) << i;
    }
}

TEST(DefReader, GarbageNeverBreaksEitherReader) {
    uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 24;
    };
    const std::string pieces[] = {
        "[", "]", "=",        "\r\n",   "\n",    "COUNT",         "CONN",         "1",    "-",
        ",", ".", "[COMMON]", "HIDE=1", "NAME=", "[CONNECTIONS]", "999999999999", "\xFF", " "};
    for (int round = 0; round < 300; ++round) {
        std::string text;
        const uint32_t n = next() % 60;
        for (uint32_t k = 0; k < n; ++k) {
            text += pieces[next() % std::size(pieces)];
        }
        const TDefObj d = Parse(text);
        EXPECT_LE(d.ConnCount(), MaxDefConns);
        EXPECT_GE(d.Alpha, 0.0);
        EXPECT_LE(d.Alpha, 1.0);
        EXPECT_GE(d.Price, 0.0);
        EXPECT_NE(d.Color(), 0u);
        Mini(text);
        EXPECT_EQ(Parse(DefinitionBytes(d)).ConnCount(), d.ConnCount());
    }
}
