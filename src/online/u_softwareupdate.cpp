// Whether the library server publishes another version of the program than the running one.
#include "online/u_softwareupdate.h"

#include <cctype>

namespace kx {

namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') {
        text.remove_suffix(1);
    }
    return text;
}

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return out;
}

/// Digits and dots, starting with a digit, at most 32 characters.
bool IsVersionNumber(std::string_view number) {
    if (number.empty() || number.size() > 32 ||
        !std::isdigit(static_cast<unsigned char>(number.front()))) {
        return false;
    }
    for (char c : number) {
        if (c != '.' && !std::isdigit(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string OwnVersionText() {
    return std::string("Version ") + KX_VERSION;
}

std::string VersionNumber(std::string_view text) {
    text = Trim(text);
    return text.size() > 8 ? std::string(Trim(text.substr(8))) : std::string();
}

TUpdateVerdict CompareVersionText(std::string_view own, std::string_view server) {
    const std::string_view trimmed = Trim(server);
    if (Upper(trimmed.substr(0, 8)) != "VERSION " || !IsVersionNumber(VersionNumber(trimmed))) {
        return TUpdateVerdict::Unreadable;
    }
    return Upper(trimmed) == Upper(Trim(own)) ? TUpdateVerdict::UpToDate : TUpdateVerdict::Offered;
}

}  // namespace kx
