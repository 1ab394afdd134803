// Text and numbers of the program's own files: Windows-1252 bytes, CR LF lines, decimal comma.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kx {

// --- Characters -------------------------------------------------------------------------------

/// Windows-1252 bytes to UTF-8. The five bytes the code page leaves undefined become the
/// control characters of the same value, so they survive a round trip.
std::string Cp1252ToUtf8(std::string_view bytes);

/// UTF-8 to Windows-1252 bytes; a character the code page cannot hold (or a broken UTF-8
/// sequence) becomes '?'.
std::string Utf8ToCp1252(std::string_view utf8);

/// Splits text at CR LF or LF (a lone CR stays in the line). A final line break does not
/// add an empty last line.
std::vector<std::string> SplitLines(std::string_view text);

/// Every line followed by eol (CR LF unless told otherwise).
std::string JoinLines(const std::vector<std::string>& lines, std::string_view eol = "\r\n");

std::string Trim(std::string_view s);       ///< blanks and control characters off both ends
std::string UpperCase(std::string_view s);  ///< ASCII letters only, like the file formats need
std::string LowerCase(std::string_view s);
bool SameText(std::string_view a, std::string_view b);  ///< ASCII case-insensitive equality
bool StartsWithText(std::string_view s, std::string_view prefix);

// --- Files ------------------------------------------------------------------------------------

std::optional<std::string> ReadFileBytes(const std::filesystem::path& path);

/// Reads one of the program's text files (Windows-1252, CR LF or LF) as UTF-8 lines.
std::optional<std::vector<std::string>> ReadTextFile(const std::filesystem::path& path);

/// Writes bytes to a temporary file beside the target and renames it over the target, so a
/// failed write leaves the old file as it was. On failure returns false and says why.
bool WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes,
                     std::string* error = nullptr);

/// Writes UTF-8 lines as a Windows-1252 CR LF text file, atomically.
bool WriteTextFile(const std::filesystem::path& path, const std::vector<std::string>& lines,
                   std::string* error = nullptr);

// --- Numbers ----------------------------------------------------------------------------------
// Never through the C or C++ locale: the GUI toolkit switches LC_NUMERIC at start.

/// General format with up to 15 significant digits: fixed notation while the magnitude is at
/// least 0.0001 and below 1E15, else "1,5E20" / "5E-5".
std::string FormatFloat(double value, char decimalSeparator = ',');

/// Strict parser of the general format: optional blanks, sign, digits with at most one
/// decimal separator, optional exponent. A number written with the other separator fails.
std::optional<double> ParseFloat(std::string_view text, char decimalSeparator = ',');
double StrToFloatDef(std::string_view text, double def, char decimalSeparator = ',');

/// Two decimals with thousands separators: 1234.5 -> "1.234,50".
std::string FormatNumber2(double value);

/// Whole numbers: leading blanks, a sign, decimal digits, or hexadecimal after "$" or "0x".
/// Anything else, or a value outside 32 bits, fails.
std::optional<int32_t> ParseInt(std::string_view text);
int32_t StrToIntDef(std::string_view text, int32_t def);
std::string IntToStr(int64_t value);

}  // namespace kx
