// The library server's protocol: request paths, reply formats and the rules both ends share.
#include "online/u_webprotocol.h"

#include <charconv>
#include <cstdio>

namespace kx {

namespace {

/// A decimal integer (optional sign, digits, nothing else), else def.
template <typename T>
T DecimalOr(std::string_view text, T def) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    T value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) {
        return def;
    }
    return value;
}

std::string_view Sub(std::string_view s, size_t from, size_t count) {
    return from < s.size() ? s.substr(from, count) : std::string_view{};
}

/// Dotted version numbers compare part by part as numbers, so 1.10.0 comes after 1.9.0; anything
/// else (letters, empty parts) falls back to comparing the text.
int CompareVersions(std::string_view a, std::string_view b) {
    const auto numeric = [](std::string_view v) {
        if (v.empty() || v.front() == '.' || v.back() == '.' || v.find("..") != v.npos) {
            return false;
        }
        for (const char c : v) {
            if (c != '.' && (c < '0' || c > '9')) {
                return false;
            }
        }
        return true;
    };
    if (!numeric(a) || !numeric(b)) {
        return a.compare(b);
    }
    while (!a.empty() || !b.empty()) {
        const auto head = [](std::string_view& v) {
            const size_t dot = v.find('.');
            std::string_view part = v.substr(0, dot);
            v.remove_prefix(dot == v.npos ? v.size() : dot + 1);
            while (part.size() > 1 && part.front() == '0') {
                part.remove_prefix(1);
            }
            return part.empty() ? std::string_view("0") : part;
        };
        const std::string_view pa = head(a);
        const std::string_view pb = head(b);
        if (pa.size() != pb.size()) {
            return pa.size() < pb.size() ? -1 : 1;
        }
        if (const int c = pa.compare(pb); c != 0) {
            return c;
        }
    }
    return 0;
}

bool IsLeap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : days[month - 1];
}

TWebDateTime ParseDateTime(std::string_view text) {
    TWebDateTime t;
    t.Day = DecimalOr(Sub(text, 0, 2), 1);
    t.Month = DecimalOr(Sub(text, 3, 2), 1);
    t.Year = DecimalOr(Sub(text, 6, 4), 2013);
    t.Hour = DecimalOr(Sub(text, 11, 2), 1);
    t.Minute = DecimalOr(Sub(text, 14, 2), 1);
    t.Second = DecimalOr(Sub(text, 17, 2), 1);
    const bool valid = t.Year >= 1 && t.Year <= 9999 && t.Month >= 1 && t.Month <= 12 &&
                       t.Day >= 1 && t.Day <= DaysInMonth(t.Year, t.Month) && t.Hour >= 0 &&
                       t.Hour < 24 && t.Minute >= 0 && t.Minute < 60 && t.Second >= 0 &&
                       t.Second < 60;
    return valid ? t : TWebDateTime{};
}

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::string GetField(std::string_view text, int n, char separator) {
    if (n < 1) {
        return {};
    }
    size_t start = 0;
    for (int i = 1; i < n; ++i) {
        const size_t at = text.find(separator, start);
        if (at == std::string_view::npos) {
            return {};
        }
        start = at + 1;
    }
    const size_t end = text.find(separator, start);
    return std::string(text.substr(start, end == std::string_view::npos ? end : end - start));
}

std::vector<std::string> ReplyLines(std::string_view body) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < body.size()) {
        size_t end = body.find('\n', start);
        const size_t next = end == std::string_view::npos ? body.size() : end + 1;
        if (end == std::string_view::npos) {
            end = body.size();
        }
        std::string_view line = body.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (!line.empty()) {
            lines.emplace_back(line);
        }
        start = next;
    }
    return lines;
}

TWebDirData ParseDirectoryLine(std::string_view line) {
    TWebDirData entry;
    entry.Name = GetField(line, 1, ';');
    entry.Size = DecimalOr<int64_t>(GetField(line, 2, ';'), 0);
    entry.Time = ParseDateTime(GetField(line, 3, ';'));
    return entry;
}

std::vector<TWebDirData> ParseDirectory(std::string_view body) {
    std::vector<TWebDirData> entries;
    for (const auto& line : ReplyLines(body)) {
        entries.push_back(ParseDirectoryLine(line));
    }
    return entries;
}

std::vector<TWebPartData> ParsePartVersions(std::string_view body) {
    std::vector<TWebPartData> parts;
    for (const auto& line : ReplyLines(body)) {
        parts.push_back({GetField(line, 1, ';'), DecimalOr<int32_t>(GetField(line, 2, ';'), 0)});
    }
    return parts;
}

std::vector<TWebHistoryData> ParseHistory(std::string_view body, std::string_view upTo) {
    std::vector<TWebHistoryData> history;
    size_t start = 0;
    while (start < body.size()) {
        size_t end = body.find('~', start);
        if (end == std::string_view::npos) {
            end = body.size();
        }
        std::string_view record = body.substr(start, end - start);
        start = end + 1;
        // A history file kept by hand has its records on lines of their own.
        while (!record.empty() && (record.front() == '\r' || record.front() == '\n')) {
            record.remove_prefix(1);
        }
        while (!record.empty() && (record.back() == '\r' || record.back() == '\n')) {
            record.remove_suffix(1);
        }
        if (record.empty()) {
            continue;
        }
        TWebHistoryData item{GetField(record, 1, '|'), GetField(record, 2, '|'),
                             DecimalOr<int32_t>(GetField(record, 3, '|'), 0)};
        if (CompareVersions(item.Version, upTo) <= 0) {
            history.push_back(std::move(item));
        }
    }
    return history;
}

std::string PrintableText(std::string_view body) {
    std::string text;
    text.reserve(body.size());
    for (const char c : body) {
        if (static_cast<unsigned char>(c) >= 32) {
            text += c;
        }
    }
    return text;
}

std::string VersionWriteReply(std::string_view body) {
    const std::string text = PrintableText(body);
    std::string out;
    for (size_t i = 0; i < text.size();) {
        if (i + 4 <= text.size() && text[i] == '<' && LowerAscii(text[i + 1]) == 'b' &&
            LowerAscii(text[i + 2]) == 'r' && text[i + 3] == '>') {
            out += "\r\n";
            i += 4;
        } else {
            out += text[i++];
        }
    }
    return out;
}

bool DownloadAccepted(uint64_t bodySize, int64_t listedSize) {
    if (listedSize < 0) {
        return false;
    }
    const auto listed = static_cast<uint64_t>(listedSize);
    return bodySize == listed || bodySize == listed + 3;
}

bool IsSafeRemoteName(std::string_view name) {
    if (name.empty() || name.size() > 255 || name.front() == '.') {
        return false;
    }
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || u < 32 || u == 127) {
            return false;
        }
    }
    return true;
}

bool IsSafeRemotePath(std::string_view path) {
    if (path.empty()) {
        return false;
    }
    size_t start = 0;
    while (true) {
        const size_t end = path.find('/', start);
        if (!IsSafeRemoteName(
                path.substr(start, end == std::string_view::npos ? end : end - start))) {
            return false;
        }
        if (end == std::string_view::npos) {
            return true;
        }
        start = end + 1;
    }
}

namespace {
bool Unreserved(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}
void AppendEscape(std::string& out, char c) {
    static constexpr char hex[] = "0123456789ABCDEF";
    const auto u = static_cast<unsigned char>(c);
    out += '%';
    out += hex[u >> 4];
    out += hex[u & 15];
}
int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}
}  // namespace

std::string UrlEncode(std::string_view value) {
    std::string out;
    for (const char c : value) {
        if (Unreserved(c) || c == '/') {
            out += c;
        } else {
            AppendEscape(out, c);
        }
    }
    return out;
}

std::string EncodeUrlPath(std::string_view path) {
    std::string out;
    for (size_t i = 0; i < path.size(); ++i) {
        const char c = path[i];
        const bool escape = c == '%' && i + 2 < path.size() && HexValue(path[i + 1]) >= 0 &&
                            HexValue(path[i + 2]) >= 0;
        if (Unreserved(c) || c == '/' || escape ||
            std::string_view("!$&'()*+,;=:@").find(c) != std::string_view::npos) {
            out += c;
        } else {
            AppendEscape(out, c);
        }
    }
    return out;
}

std::string UrlDecode(std::string_view value) {
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '%' && i + 2 < value.size() && HexValue(value[i + 1]) >= 0 &&
            HexValue(value[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(value[i + 1]) * 16 + HexValue(value[i + 2]));
            i += 2;
        } else {
            out += value[i];
        }
    }
    return out;
}

std::string FormatDateTime(const TWebDateTime& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d %02d:%02d:%02d", t.Day, t.Month, t.Year,
                  t.Hour, t.Minute, t.Second);
    return text;
}

std::string FormatDirectoryLine(const TWebDirData& entry) {
    return entry.Name + ";" + std::to_string(entry.Size) + ";" + FormatDateTime(entry.Time);
}

}  // namespace kx
