// Characters, lines, files and numbers of the program's own text files.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include <sys/wait.h>
#include <unistd.h>

#include "foundation/u_savetemp.h"
#include "foundation/u_text.h"
#include "kx_test_support.h"

using namespace kx;

TEST(Cp1252, RoundTripsEveryByte) {
    std::string all;
    for (int b = 1; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    const std::string utf8 = Cp1252ToUtf8(all);
    EXPECT_EQ(Utf8ToCp1252(utf8), all);
}

TEST(Cp1252, MapsTheHighRangeAndUmlauts) {
    EXPECT_EQ(Cp1252ToUtf8("\x80"), "\u20AC");
    EXPECT_EQ(Cp1252ToUtf8("Gr\xF6\xDF"
                           "e"),
              "Größe");
    EXPECT_EQ(Utf8ToCp1252("Bauphase \u2013 Größe"),
              "Bauphase \x96 Gr\xF6\xDF"
              "e");
    // The undefined bytes come back as the control characters of the same value.
    EXPECT_EQ(Cp1252ToUtf8("\x81\x8D\x8F\x90\x9D"), "\u0081\u008D\u008F\u0090\u009D");
}

TEST(Cp1252, UnmappableAndBrokenInputBecomesQuestionMarks) {
    EXPECT_EQ(Utf8ToCp1252("\u4E2D\u6587"), "??");
    EXPECT_EQ(Utf8ToCp1252("a\U0001F600b"), "a?b");
    EXPECT_EQ(Utf8ToCp1252("x\xC3"), "x?");     // truncated sequence
    EXPECT_EQ(Utf8ToCp1252("\xFF\xFE"), "??");  // bytes that never start UTF-8
}

TEST(Lines, AcceptsCrLfAndLfAndWritesCrLf) {
    EXPECT_EQ(SplitLines("a\r\nb\nc"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(SplitLines("a\r\n\r\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_TRUE(SplitLines("").empty());
    EXPECT_EQ(SplitLines("a\rb\n"), (std::vector<std::string>{"a\rb"}));
    EXPECT_EQ(JoinLines({"[A]", "x=1"}), "[A]\r\nx=1\r\n");
}

TEST(Files, WriteIsAtomicAndEncodes) {
    kxtest::TTempDir dir;
    const auto file = dir / "m.kxm";
    ASSERT_TRUE(WriteTextFile(file, {"[COMMON]", "NAME=Größe"}));
    EXPECT_EQ(kxtest::ReadFile(file),
              "[COMMON]\r\nNAME=Gr\xF6\xDF"
              "e\r\n");
    auto lines = ReadTextFile(file);
    ASSERT_TRUE(lines);
    EXPECT_EQ((*lines)[1], "NAME=Größe");
    // Nothing but the target is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(Files, FailedWriteLeavesTheOldFileAndSaysWhy) {
    kxtest::TTempDir dir;
    std::string error;
    EXPECT_FALSE(WriteFileAtomic(dir / "missing/sub/x.txt", "data", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(ReadTextFile(dir / "nothing.txt"));
}

TEST(Files, TemporariesOfKilledSavesGoButNothingElse) {
    kxtest::TTempDir dir;
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    const std::string dead = std::to_string(child);
    const std::string alive = std::to_string(::getpid());
    const struct {
        std::string Name;
        bool Removed;
    } cases[] = {
        {".m.kxm.kxsave-" + dead + "-a1B2c3", true},      // a killed save of m.kxm
        {".other.kxm.kxsave-" + dead + "-zzzzzz", true},  // of another file in the folder
        {".m.kxm.kxsave-" + alive + "-a1B2c3", false},    // a save that is running now
        {".m.kxm.kxsave-" + dead + "-a1B2c", false},      // not our pattern: the user's
        {".m.kxm.kxsave-" + dead + "-a1B2c3.bak", false},
        {"m.kxm.kxsave-" + dead + "-a1B2c3", false},
        {".m.kxm.Xa1B2c", false},  // the name mkstemp used to be given
        {"m.kxm", false},
    };
    for (const auto& c : cases) {
        kxtest::WriteFile(dir / c.Name, "x");
    }
    // A save removes only the leftovers of the file it saves; the start removes all of them.
    ASSERT_TRUE(WriteFileAtomic(dir / "m.kxm", "new"));
    EXPECT_FALSE(std::filesystem::exists(dir / cases[0].Name));
    EXPECT_TRUE(std::filesystem::exists(dir / cases[1].Name));
    std::filesystem::create_directories(dir / "sub");
    kxtest::WriteFile(dir / "sub" / cases[0].Name, "x");
    EXPECT_EQ(RemoveLeftoverSaveTempsBelow(dir.Path()), 2u);
    for (const auto& c : cases) {
        EXPECT_EQ(std::filesystem::exists(dir / c.Name), !c.Removed) << c.Name;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "sub" / cases[0].Name));
    // A file name as long as the system allows still saves.
    const std::string longName(250, 'n');
    EXPECT_TRUE(WriteFileAtomic(dir / longName, "x"));
}

TEST(Numbers, GeneralFormatUsesACommaAndFifteenDigits) {
    EXPECT_EQ(FormatFloat(0), "0");
    EXPECT_EQ(FormatFloat(1.5), "1,5");
    EXPECT_EQ(FormatFloat(-2.25), "-2,25");
    EXPECT_EQ(FormatFloat(100), "100");
    EXPECT_EQ(FormatFloat(0.1), "0,1");
    EXPECT_EQ(FormatFloat(static_cast<double>(0.1f)), "0,100000001490116");
    EXPECT_EQ(FormatFloat(1.0 / 3.0), "0,333333333333333");
    EXPECT_EQ(FormatFloat(0.0001), "0,0001");
    EXPECT_EQ(FormatFloat(0.00005), "5E-5");
    EXPECT_EQ(FormatFloat(static_cast<double>(-4.37113883e-8f)), "-4,37113882867379E-8");
    EXPECT_EQ(FormatFloat(1.5e20), "1,5E20");
    EXPECT_EQ(FormatFloat(123456789012345.0), "123456789012345");
    EXPECT_EQ(FormatFloat(1e15), "1E15");
    EXPECT_EQ(FormatFloat(2.5, '.'), "2.5");
}

TEST(Numbers, ParserIsStrictAboutTheSeparator) {
    EXPECT_EQ(ParseFloat("1,5"), 1.5);
    EXPECT_EQ(ParseFloat("-0,25"), -0.25);
    EXPECT_EQ(ParseFloat(" 7 "), 7.0);
    EXPECT_EQ(ParseFloat("+3"), 3.0);
    EXPECT_EQ(ParseFloat("1,5E3"), 1500.0);
    EXPECT_EQ(ParseFloat("1E-7"), 1e-7);
    EXPECT_EQ(ParseFloat("2e+2"), 200.0);
    EXPECT_EQ(ParseFloat(",5"), 0.5);
    EXPECT_FALSE(ParseFloat("1.5"));
    EXPECT_FALSE(ParseFloat(""));
    EXPECT_FALSE(ParseFloat("-"));
    EXPECT_FALSE(ParseFloat("1,5,0"));
    EXPECT_FALSE(ParseFloat("1E"));
    EXPECT_FALSE(ParseFloat("abc"));
    EXPECT_FALSE(ParseFloat("1.000,5"));
    EXPECT_FALSE(ParseFloat("1e999"));
    EXPECT_EQ(ParseFloat("1.5", '.'), 1.5);
    EXPECT_EQ(StrToFloatDef("1.5", -1), -1);
}

TEST(Numbers, SinglePrecisionValuesRoundTripExactly) {
    std::mt19937 rng(42);
    std::uniform_int_distribution<uint32_t> bits;
    for (int i = 0; i < 20000; ++i) {
        uint32_t u = bits(rng);
        float f;
        std::memcpy(&f, &u, sizeof f);
        if (!std::isfinite(f)) {
            continue;
        }
        const std::string text = FormatFloat(f);
        auto back = ParseFloat(text);
        ASSERT_TRUE(back) << text;
        ASSERT_EQ(static_cast<float>(*back), f) << text;
        // What a file of ours wrote is written the same way again.
        ASSERT_EQ(FormatFloat(static_cast<float>(*back)), text);
    }
}

TEST(Numbers, DoubleValuesKeepFifteenDigits) {
    for (double v : {3.141592653589793, -1234.5678, 1e-5, 5e-5, 9.99999e14, 0.7}) {
        auto back = ParseFloat(FormatFloat(v));
        ASSERT_TRUE(back);
        EXPECT_NEAR(*back, v, std::fabs(v) * 1e-14);
    }
}

TEST(Numbers, DisplayFormatHasTwoDecimalsAndThousands) {
    EXPECT_EQ(FormatNumber2(0), "0,00");
    EXPECT_EQ(FormatNumber2(1234.5), "1.234,50");
    EXPECT_EQ(FormatNumber2(-1234567.891), "-1.234.567,89");
    EXPECT_EQ(FormatNumber2(999.999), "1.000,00");
    EXPECT_EQ(FormatNumber2(-0.001), "0,00");
}

TEST(Numbers, Integers) {
    EXPECT_EQ(ParseInt("42"), 42);
    EXPECT_EQ(ParseInt("  -7"), -7);
    EXPECT_EQ(ParseInt("$FF"), 255);
    EXPECT_EQ(ParseInt("0x8000000F"), static_cast<int32_t>(0x8000000F));
    EXPECT_FALSE(ParseInt("4 "));
    EXPECT_FALSE(ParseInt("1,5"));
    EXPECT_FALSE(ParseInt(""));
    EXPECT_FALSE(ParseInt("--1"));
    EXPECT_FALSE(ParseInt("99999999999"));
    EXPECT_EQ(StrToIntDef("x", 9), 9);
    EXPECT_EQ(IntToStr(-12), "-12");
}

TEST(Text, CaseAndTrim) {
    EXPECT_TRUE(SameText("Conn1", "CONN1"));
    EXPECT_FALSE(SameText("Conn1", "Conn12"));
    EXPECT_EQ(Trim("  a b \t"), "a b");
    EXPECT_EQ(UpperCase("deutsch"), "DEUTSCH");
    EXPECT_TRUE(StartsWithText("LASTFILE3", "lastfile"));
}
