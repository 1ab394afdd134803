// The help pages: one HTML page per feature and language under help/, each help topic an anchor
// named by its context number on the page that explains it.
#pragma once

#include <filesystem>
#include <string>

namespace kx {

/// The topic of the "Hilfe" menu: the language's index page.
inline constexpr int kHelpIndexContext = 1;

/// The help folder of a language: help/de for "DEUTSCH", help/en for every other language
/// (English is the language the pages are written in besides German).
std::filesystem::path HelpFolder(const std::string& programDir, const std::string& language);

struct THelpTopic {
    std::filesystem::path Page;  ///< the page to open
    std::string Anchor;          ///< the context number, or empty for the page's top
    bool Found = false;          ///< false: no page has the topic, Page is the index
};

/// The page of folder whose element has id="<context>" (pages in sorted order, the first
/// wins); the index page for topic 1 and for a topic no page has.
THelpTopic FindHelpTopic(const std::filesystem::path& folder, int context);

}  // namespace kx
