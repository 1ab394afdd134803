// The library server's protocol: request paths, reply formats and the rules both ends share.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kx {

/// A date and time read from a listing; all zero when the listing's text was no valid date.
struct TWebDateTime {
    int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
    bool IsZero() const { return Year == 0; }
    bool operator==(const TWebDateTime&) const = default;
};

struct TWebDirData {
    std::string Name;
    int64_t Size = 0;  ///< bytes
    TWebDateTime Time;
};

struct TWebPartData {
    std::string Name;  ///< a definition number
    int32_t Version = 0;
};

struct TWebHistoryData {
    std::string Version;  ///< for example 1.8.2
    std::string Text;
    int32_t Number = 0;
};

// --- Request paths ---------------------------------------------------------------------------
inline constexpr std::string_view kDirectoryPath = "/phpdir.php";      // ?dir=
inline constexpr std::string_view kDownloadPath = "/phpdownload.php";  // ?file=
inline constexpr std::string_view kPartVersionsPath = "/partupdatelist.php";
inline constexpr std::string_view kSetPartVersionPath =
    "/partupdateset.php";  // ?pass=&filename=&version=
inline constexpr std::string_view kHistoryGermanPath = "/history_de.php";
inline constexpr std::string_view kHistoryEnglishPath = "/history_en.php";
inline constexpr std::string_view kVersionFile = "update/version.txt";

// --- Replies ---------------------------------------------------------------------------------

/// Field n (from 1) of text split at separator; empty when there are fewer fields.
std::string GetField(std::string_view text, int n, char separator);

/// The lines of a listing reply: cut at LF, a CR before the LF dropped, empty lines ignored.
std::vector<std::string> ReplyLines(std::string_view body);

/// One listing line "name;size;dd.mm.yyyy hh:nn:ss"; malformed numbers take their defaults.
TWebDirData ParseDirectoryLine(std::string_view line);
std::vector<TWebDirData> ParseDirectory(std::string_view body);
std::vector<TWebPartData> ParsePartVersions(std::string_view body);
/// Records "version|text|number" separated by "~"; only those whose version is not greater
/// than upTo are taken, in reply order. Dotted numbers compare part by part (1.9 < 1.10; a
/// missing part counts as 0); other version texts compare as text.
std::vector<TWebHistoryData> ParseHistory(std::string_view body, std::string_view upTo);

/// The bytes of code 32 or more, in order (line breaks and other control characters dropped).
std::string PrintableText(std::string_view body);
/// The reply of a version write: printable bytes, every "<br>" (any case) a CR LF.
std::string VersionWriteReply(std::string_view body);

/// Whether a downloaded body of bodySize bytes is the file the listing gave listedSize for:
/// exactly that size, or three bytes more, which some servers add (then saved whole).
bool DownloadAccepted(uint64_t bodySize, int64_t listedSize);

/// A plain file name from a server: not empty, no "/" or "\", no control character, not
/// starting with a dot (so never "." or ".."), at most 255 bytes.
bool IsSafeRemoteName(std::string_view name);
/// A relative path of safe names joined by "/" (for example "icon/print").
bool IsSafeRemotePath(std::string_view path);

/// Percent-encoding of a query value: letters, digits and "-._~/" stay as they are.
std::string UrlEncode(std::string_view value);
/// A path as a caller wrote it ("/downloads/collection/1234%20Meine.kxc"): escapes already in
/// it are kept, blanks, control and non-ASCII bytes are encoded.
std::string EncodeUrlPath(std::string_view path);
/// Decodes %XX escapes (and nothing else); a broken escape stays as it is.
std::string UrlDecode(std::string_view value);

// --- Writing replies (the server) ------------------------------------------------------------
std::string FormatDirectoryLine(const TWebDirData& entry);  ///< without line end
std::string FormatDateTime(const TWebDateTime& time);       ///< dd.mm.yyyy hh:nn:ss

}  // namespace kx
