// Fields and lines of the semicolon-separated text files that spreadsheets read.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kx {

/// The field as it stands in a CSV line: in double quotes, with its quotes doubled, when it
/// holds the separator, a quote or a line break; otherwise unchanged.
std::string CsvField(std::string_view value, char separator = ';');

/// The fields joined by the separator, each written by CsvField.
std::string CsvLine(const std::vector<std::string>& fields, char separator = ';');

}  // namespace kx
