// Whether the library server publishes another version of the program than the running one.
#pragma once

#include <string>
#include <string_view>

namespace kx {

/// The running program's version text, "Version 1.8.2".
std::string OwnVersionText();

enum class TUpdateVerdict {
    UpToDate,    ///< the same text, letter case and surrounding blanks aside
    Offered,     ///< another version, higher or lower: the server's is the one to have
    Unreadable,  ///< empty, or not "Version " and a number: no update is offered
};

/// Compares the server's version text with own. An empty or unreadable reply never counts as
/// an update, so a broken server cannot send the user to a download page.
TUpdateVerdict CompareVersionText(std::string_view own, std::string_view server);

/// The number of a version text from its 9th character on ("1.9.0"), blanks trimmed.
std::string VersionNumber(std::string_view text);

}  // namespace kx
