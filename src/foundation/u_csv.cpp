// Fields and lines of the semicolon-separated text files that spreadsheets read.
#include "foundation/u_csv.h"

namespace kx {

std::string CsvField(std::string_view value, char separator) {
    if (value.find_first_of(std::string{separator, '"', '\r', '\n'}) == std::string_view::npos) {
        return std::string(value);
    }
    std::string out = "\"";
    for (char c : value) {
        if (c == '"') {
            out += '"';
        }
        out += c;
    }
    out += '"';
    return out;
}

std::string CsvLine(const std::vector<std::string>& fields, char separator) {
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            line += separator;
        }
        line += CsvField(fields[i], separator);
    }
    return line;
}

}  // namespace kx
