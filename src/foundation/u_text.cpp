// Text and numbers of the program's own files: Windows-1252 bytes, CR LF lines, decimal comma.
#include "foundation/u_text.h"

#include "foundation/u_savetemp.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kx {

namespace {

// Code points of the bytes 0x80..0x9F; the five undefined ones map to themselves.
constexpr char32_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char EncodeCp1252(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        return static_cast<char>(cp);
    }
    for (int i = 0; i < 32; ++i) {
        if (kCp1252High[i] == cp) {
            return static_cast<char>(0x80 + i);
        }
    }
    return '?';
}

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}
char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80) {
            out += ch;
        } else if (b < 0xA0) {
            AppendUtf8(out, kCp1252High[b - 0x80]);
        } else {
            AppendUtf8(out, b);
        }
    }
    return out;
}

std::string Utf8ToCp1252(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) {
            out += s[i++];
            continue;
        }
        int len = 0;
        char32_t cp = 0;
        if ((b & 0xE0) == 0xC0) {
            len = 2;
            cp = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            len = 3;
            cp = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            len = 4;
            cp = b & 0x07;
        } else {
            out += '?';
            ++i;
            continue;
        }
        bool ok = i + len <= s.size();
        for (int k = 1; ok && k < len; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            if ((c & 0xC0) != 0x80) {
                ok = false;
            } else {
                cp = (cp << 6) | (c & 0x3F);
            }
        }
        if (!ok) {
            out += '?';
            ++i;
            continue;
        }
        out += EncodeCp1252(cp);
        i += len;
    }
    return out;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t nl = text.find('\n', start);
        if (nl == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        size_t end = nl;
        if (end > start && text[end - 1] == '\r') {
            --end;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = nl + 1;
    }
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines, std::string_view eol) {
    size_t total = 0;
    for (const auto& l : lines) {
        total += l.size() + eol.size();
    }
    std::string out;
    out.reserve(total);
    for (const auto& l : lines) {
        out += l;
        out += eol;
    }
    return out;
}

std::string Trim(std::string_view s) {
    size_t b = 0;
    size_t e = s.size();
    while (b < e && IsBlank(s[b])) {
        ++b;
    }
    while (e > b && IsBlank(s[e - 1])) {
        --e;
    }
    return std::string(s.substr(b, e - b));
}

std::string UpperCase(std::string_view s) {
    std::string out(s);
    for (auto& c : out) {
        c = AsciiUpper(c);
    }
    return out;
}

std::string LowerCase(std::string_view s) {
    std::string out(s);
    for (auto& c : out) {
        c = AsciiLower(c);
    }
    return out;
}

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) {
            return false;
        }
    }
    return true;
}

bool StartsWithText(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && SameText(s.substr(0, prefix.size()), prefix);
}

std::optional<std::string> ReadFileBytes(const std::filesystem::path& path) {
    // A folder opens as a stream but reports a nonsense size; a pipe would block.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string data;
    in.seekg(0, std::ios::end);
    const auto size = in.tellg();
    if (size < 0) {
        return std::nullopt;
    }
    data.resize(static_cast<size_t>(size));
    in.seekg(0, std::ios::beg);
    if (!in.read(data.data(), static_cast<std::streamsize>(data.size())) && !data.empty()) {
        return std::nullopt;
    }
    return data;
}

std::optional<std::vector<std::string>> ReadTextFile(const std::filesystem::path& path) {
    auto bytes = ReadFileBytes(path);
    if (!bytes) {
        return std::nullopt;
    }
    return SplitLines(Cp1252ToUtf8(*bytes));
}

bool WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes,
                     std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error) {
            *error = why;
        }
        return false;
    };
    std::filesystem::path dir = path.parent_path();
    if (dir.empty()) {
        dir = ".";
    }
    std::string tmpl = SaveTempTemplate(path);
    int fd = ::mkstemp(tmpl.data());
    if (fd < 0) {
        return fail(std::error_code(errno, std::generic_category()).message());
    }
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int err = errno;
            ::close(fd);
            ::unlink(tmpl.c_str());
            return fail(std::error_code(err, std::generic_category()).message());
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    // Keep the permissions of the file being replaced; a new file gets the usual ones.
    struct stat old {};
    const mode_t mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    if (::fsync(fd) != 0 || ::fchmod(fd, mode) != 0) {
        const int err = errno;
        ::close(fd);
        ::unlink(tmpl.c_str());
        return fail(std::error_code(err, std::generic_category()).message());
    }
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(tmpl.c_str());
        return fail(std::error_code(err, std::generic_category()).message());
    }
    if (::rename(tmpl.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(tmpl.c_str());
        return fail(std::error_code(err, std::generic_category()).message());
    }
    // The rename itself lives in the folder: without this a power cut may bring back the old
    // name, or no file at all on a first save.
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    // A save of this file that was killed half-way left its temporary file here.
    RemoveLeftoverSaveTemps(dir, path);
    return true;
}

bool WriteTextFile(const std::filesystem::path& path, const std::vector<std::string>& lines,
                   std::string* error) {
    return WriteFileAtomic(path, Utf8ToCp1252(JoinLines(lines)), error);
}

std::string FormatFloat(double value, char sep) {
    if (std::isnan(value)) {
        return "NAN";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-INF" : "INF";
    }
    if (value == 0.0) {
        return "0";
    }
    // Scientific with 15 significant digits gives the digits and the decimal exponent.
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    std::string_view sci(buf, static_cast<size_t>(res.ptr - buf));
    const bool negative = sci.front() == '-';
    if (negative) {
        sci.remove_prefix(1);
    }
    const size_t epos = sci.find('e');
    std::string digits;
    for (char c : sci.substr(0, epos)) {
        if (c != '.') {
            digits += c;
        }
    }
    int exponent = 0;
    std::string_view expText = sci.substr(epos + 1);
    if (!expText.empty() && expText.front() == '+') {
        expText.remove_prefix(1);
    }
    std::from_chars(expText.data(), expText.data() + expText.size(), exponent);
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }

    std::string out = negative ? "-" : "";
    if (exponent >= 15 || exponent < -4) {
        out += digits[0];
        if (digits.size() > 1) {
            out += sep;
            out += digits.substr(1);
        }
        out += 'E';
        out += std::to_string(exponent);
    } else if (exponent < 0) {
        out += '0';
        out += sep;
        out.append(static_cast<size_t>(-exponent - 1), '0');
        out += digits;
    } else {
        const size_t intDigits = static_cast<size_t>(exponent) + 1;
        if (digits.size() <= intDigits) {
            out += digits;
            out.append(intDigits - digits.size(), '0');
        } else {
            out += digits.substr(0, intDigits);
            out += sep;
            out += digits.substr(intDigits);
        }
    }
    return out;
}

std::optional<double> ParseFloat(std::string_view text, char sep) {
    size_t b = 0;
    size_t e = text.size();
    while (b < e && text[b] == ' ') {
        ++b;
    }
    while (e > b && text[e - 1] == ' ') {
        --e;
    }
    std::string_view s = text.substr(b, e - b);
    std::string norm;
    norm.reserve(s.size());
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        if (s[i] == '-') {
            norm += '-';
        }
        ++i;
    }
    int mantissaDigits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        norm += s[i++];
        ++mantissaDigits;
    }
    if (i < s.size() && s[i] == sep) {
        norm += '.';
        ++i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
            norm += s[i++];
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0) {
        return std::nullopt;
    }
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        norm += 'e';
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
            norm += s[i++];
        }
        int expDigits = 0;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
            norm += s[i++];
            ++expDigits;
        }
        if (expDigits == 0) {
            return std::nullopt;
        }
    }
    if (i != s.size()) {
        return std::nullopt;
    }
    double value = 0;
    auto res = std::from_chars(norm.data(), norm.data() + norm.size(), value);
    if (res.ec == std::errc::result_out_of_range) {
        // Underflow reads as zero; overflow is not a number a file of ours can hold.
        const size_t epos = norm.find('e');
        if (epos != std::string::npos && norm.size() > epos + 1 && norm[epos + 1] == '-') {
            return norm.front() == '-' ? -0.0 : 0.0;
        }
        return std::nullopt;
    }
    if (res.ec != std::errc() || res.ptr != norm.data() + norm.size()) {
        return std::nullopt;
    }
    return value;
}

double StrToFloatDef(std::string_view text, double def, char sep) {
    auto v = ParseFloat(text, sep);
    return v ? *v : def;
}

std::string FormatNumber2(double value) {
    if (!std::isfinite(value)) {
        return FormatFloat(value);
    }
    char buf[400];
    auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::fixed, 2);
    std::string_view fixed(buf, static_cast<size_t>(res.ptr - buf));
    const size_t dot = fixed.find('.');
    std::string_view intPart = fixed.substr(0, dot);
    std::string out;
    if (value < 0 && fixed != "0.00") {
        out += '-';
    }
    for (size_t k = 0; k < intPart.size(); ++k) {
        if (k > 0 && (intPart.size() - k) % 3 == 0) {
            out += '.';
        }
        out += intPart[k];
    }
    out += ',';
    out += fixed.substr(dot + 1);
    return out;
}

std::optional<int32_t> ParseInt(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size()) {
        return std::nullopt;
    }
    int64_t magnitude = 0;
    auto res = std::from_chars(text.data() + i, text.data() + text.size(), magnitude, base);
    if (res.ec != std::errc() || res.ptr != text.data() + text.size() || text[i] == '-' ||
        text[i] == '+') {
        return std::nullopt;
    }
    int64_t value = negative ? -magnitude : magnitude;
    if (base == 16 && !negative && magnitude > INT32_MAX && magnitude <= UINT32_MAX) {
        // Hexadecimal colour values such as $8000000F fill all 32 bits.
        value = static_cast<int32_t>(static_cast<uint32_t>(magnitude));
    }
    if (value < INT32_MIN || value > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<int32_t>(value);
}

int32_t StrToIntDef(std::string_view text, int32_t def) {
    auto v = ParseInt(text);
    return v ? *v : def;
}

std::string IntToStr(int64_t value) {
    char buf[32];
    auto res = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, res.ptr);
}

}  // namespace kx
