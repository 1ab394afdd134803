// Fixed-point numbers of the exchange formats: a point as separator, never through a locale,
// fast enough for files of hundreds of megabytes.
#pragma once

#include <string>

namespace kx {

/// Room WriteFixed needs at p.
inline constexpr int kFixedBufferSize = 64;

/// Writes the single-precision value in fixed notation with `decimals` (0 to 9) decimals,
/// rounded from its exact binary value (half to even): 0.1f -> "0.10000000", 0.8f ->
/// "0.80000001". A leading "-" only for a negative value that does not round to zero.
/// Returns the end of the text; nothing is terminated.
char* WriteFixed(char* p, float value, int decimals);

/// The same appended to a string.
void AppendFixed(std::string& out, float value, int decimals);
std::string FormatFixed(float value, int decimals);

/// A non-negative whole number in decimal digits; returns the end of the text.
char* WriteUInt(char* p, unsigned long long value);
void AppendInt(std::string& out, long long value);

}  // namespace kx
