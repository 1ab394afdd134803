// The command-line options that print and exit, next to the words that start the program.
#include <gtest/gtest.h>

#include "foundation/u_language.h"
#include "foundation/u_startoptions.h"

using namespace kx;

TEST(StartOptions, OnlyDashDashWordsAreOptions) {
    struct TCase {
        std::vector<std::string> Args;
        TInfoOption Expected;
        std::string Word;
    };
    const std::vector<TCase> cases = {
        {{}, TInfoOption::None, ""},
        {{"SUPERMODUS", "MINI"}, TInfoOption::None, ""},
        {{"/home/anna/my-model--v2.kxm"}, TInfoOption::None, ""},
        {{"-"}, TInfoOption::None, ""},
        {{"--"}, TInfoOption::None, ""},
        {{"--help"}, TInfoOption::Help, "--help"},
        {{"MINI", "-h"}, TInfoOption::Help, "-h"},
        {{"--version"}, TInfoOption::Version, "--version"},
        {{"--verbose"}, TInfoOption::Unknown, "--verbose"},
        // Help wins over a mistake elsewhere on the line: the user asked what is allowed.
        {{"--frobnicate", "--help"}, TInfoOption::Help, "--help"},
        {{"--a", "--b"}, TInfoOption::Unknown, "--a"},
    };
    for (const TCase& c : cases) {
        const TInfoRequest r = FindInfoOption(c.Args);
        EXPECT_EQ(r.Option, c.Expected) << (c.Args.empty() ? "" : c.Args.front());
        if (c.Expected != TInfoOption::None) {
            EXPECT_EQ(r.Word, c.Word);
        }
    }
}

TEST(StartOptions, TextsNameTheWordsAndFollowTheTable) {
    const TkxLanguage german;
    EXPECT_NE(UsageText(german).find("SUPERMODUS"), std::string::npos);
    EXPECT_NE(UsageText(german).find("--version"), std::string::npos);
    EXPECT_EQ(UnknownOptionText(german, "--x"),
              "Unbekannte Option \"--x\". \"kxdesigner --help\" zeigt die Optionen.");
    EXPECT_EQ(VersionText().rfind("Korvex designer ", 0), 0u);

    const TkxLanguage english(TIniFileEx{"[COMMANDLINE]", "00008=Unknown option \"%s\"."});
    EXPECT_EQ(UnknownOptionText(english, "--x"), "Unknown option \"--x\".");
}
