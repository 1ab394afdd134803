// The help pages: one HTML page per feature and language under help/, each help topic an anchor
// named by its context number on the page that explains it.
#include "foundation/u_help.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

namespace kx {

std::filesystem::path HelpFolder(const std::string& programDir, const std::string& language) {
    return std::filesystem::path(programDir) / "help" / (language == "DEUTSCH" ? "de" : "en");
}

THelpTopic FindHelpTopic(const std::filesystem::path& folder, int context) {
    THelpTopic topic;
    topic.Page = folder / "index.html";
    if (context == kHelpIndexContext) {
        topic.Found = true;
        return topic;
    }
    // Each feature's page carries the anchors of its own windows, so a new feature adds its
    // topics without a table to keep in step; the pages are few and small.
    std::error_code ec;
    std::vector<std::filesystem::path> pages;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        if (entry.path().extension() == ".html") {
            pages.push_back(entry.path());
        }
    }
    std::sort(pages.begin(), pages.end());
    const std::string id = "id=\"" + std::to_string(context) + "\"";
    for (const auto& page : pages) {
        std::ifstream in(page, std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(in),
                               std::istreambuf_iterator<char>()};
        if (text.find(id) != std::string::npos) {
            topic.Page = page;
            topic.Anchor = std::to_string(context);
            topic.Found = true;
            return topic;
        }
    }
    return topic;
}

}  // namespace kx
