// The help pages: both languages hold the same pages, each language's index links every page,
// every link and anchor resolves, and every help topic the windows open has its place.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <set>

#include "foundation/u_help.h"

using namespace kx;
namespace fs = std::filesystem;

namespace {

const fs::path kHelp = fs::path(KX_TEST_DATA_DIR) / ".." / ".." / "data" / "help";

std::string ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::set<std::string> Pages(const fs::path& folder) {
    std::set<std::string> pages;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() == ".html") {
            pages.insert(entry.path().filename().string());
        }
    }
    return pages;
}

// Every topic a window of the program opens by its "?" or "Hilfe" button or its menu.
const int kContexts[] = {1001, 2001, 3001, 4001, 4011, 4031, 4051, 4061,
                         4071, 4081, 4091, 4101, 4121, 4141, 4151, 501};

}  // namespace

TEST(Help, BothLanguagesHoldTheSamePagesAndTheIndexLinksEveryOne) {
    const std::set<std::string> de = Pages(kHelp / "de");
    EXPECT_EQ(de, Pages(kHelp / "en"));
    for (const char* lang : {"de", "en"}) {
        const std::string index = ReadAll(kHelp / lang / "index.html");
        for (const std::string& page : de) {
            if (page != "index.html") {
                EXPECT_NE(index.find("href=\"" + page + "\""), std::string::npos)
                    << lang << " index lacks " << page;
            }
        }
    }
}

TEST(Help, EveryLinkBetweenPagesAndEveryAnchorResolves) {
    const std::regex link(R"re(href="([^":#]+\.html)(?:#([^"]+))?")re");
    for (const char* lang : {"de", "en"}) {
        for (const std::string& page : Pages(kHelp / lang)) {
            const std::string text = ReadAll(kHelp / lang / page);
            for (std::sregex_iterator it(text.begin(), text.end(), link), end; it != end; ++it) {
                const fs::path target = kHelp / lang / (*it)[1].str();
                ASSERT_TRUE(fs::exists(target)) << lang << "/" << page << " -> " << (*it)[1];
                if ((*it)[2].matched) {
                    EXPECT_NE(ReadAll(target).find("id=\"" + (*it)[2].str() + "\""),
                              std::string::npos)
                        << lang << "/" << page << " -> " << (*it)[0];
                }
            }
        }
    }
}

TEST(Help, EveryTopicOfTheProgramHasItsPlaceInBothLanguages) {
    for (const char* lang : {"de", "en"}) {
        for (const int context : kContexts) {
            const THelpTopic topic = FindHelpTopic(kHelp / lang, context);
            EXPECT_TRUE(topic.Found) << lang << " " << context;
            EXPECT_NE(topic.Page.filename(), "index.html") << lang << " " << context;
            EXPECT_EQ(topic.Anchor, std::to_string(context));
        }
        // The same topic sits on the same page in both languages.
        for (const int context : kContexts) {
            EXPECT_EQ(FindHelpTopic(kHelp / "de", context).Page.filename(),
                      FindHelpTopic(kHelp / "en", context).Page.filename());
        }
    }
    // The menu's topic and a topic nobody wrote open the index, at its top.
    const THelpTopic index = FindHelpTopic(kHelp / "en", kHelpIndexContext);
    EXPECT_TRUE(index.Found);
    EXPECT_EQ(index.Page.filename(), "index.html");
    EXPECT_TRUE(index.Anchor.empty());
    const THelpTopic unknown = FindHelpTopic(kHelp / "en", 9999);
    EXPECT_FALSE(unknown.Found);
    EXPECT_EQ(unknown.Page.filename(), "index.html");
    EXPECT_EQ(HelpFolder("/p/", "DEUTSCH"), fs::path("/p/help/de"));
    EXPECT_EQ(HelpFolder("/p/", "ENGLISH"), fs::path("/p/help/en"));
    EXPECT_EQ(HelpFolder("/p/", "FRANCAIS"), fs::path("/p/help/en"));
}
