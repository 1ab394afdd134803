// The number behind a drag slider: formatting, reading back, stepping.
#include "placement/u_valuepanel.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "foundation/u_text.h"

namespace kx {

namespace {

std::string FixedComma(double value, int decimals) {
    char buf[400];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    std::string out(buf, static_cast<size_t>(res.ptr - buf));
    std::replace(out.begin(), out.end(), '.', ',');
    // "-0,0" reads as an odd value on a slider that stands at zero.
    if (out.front() == '-' && out.find_first_not_of("-0,") == std::string::npos) {
        out.erase(0, 1);
    }
    return out;
}

}  // namespace

std::string FormatValue(std::string_view format, double value) {
    const size_t at = format.find('%');
    if (at == std::string_view::npos || !std::isfinite(value)) {
        return "Error";
    }
    std::string_view conversion = format.substr(at + 1);
    std::string number;
    size_t used = 0;
    if (conversion.starts_with("2n")) {
        number = FormatNumber2(value);
        used = 2;
    } else if (conversion.size() >= 3 && conversion[0] == '.' && conversion[1] >= '0' &&
               conversion[1] <= '9' && conversion[2] == 'f') {
        number = FixedComma(value, conversion[1] - '0');
        used = 3;
    } else {
        return "Error";
    }
    return std::string(format.substr(0, at)) + number + std::string(conversion.substr(used));
}

std::optional<double> ParseShownValue(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    size_t end = i;
    if (end < text.size() && (text[end] == '-' || text[end] == '+')) {
        ++end;
    }
    while (end < text.size() &&
           ((text[end] >= '0' && text[end] <= '9') || text[end] == '.' || text[end] == ',')) {
        ++end;
    }
    std::string number(text.substr(i, end - i));
    const size_t comma = number.find(',');
    const size_t point = number.find('.');
    const bool pointIsDecimal = comma == std::string::npos && point != std::string::npos &&
                                number.find('.', point + 1) == std::string::npos &&
                                number.size() - point - 1 != 3;
    if (pointIsDecimal) {
        number[point] = ',';
    } else {
        std::erase(number, '.');
    }
    while (!number.empty() && number.back() == ',') {
        number.pop_back();
    }
    if (number.starts_with('+')) {
        number.erase(0, 1);
    }
    return ParseFloat(number);
}

bool TValuePanelState::DragBy(int dx) {
    if (std::abs(dx) <= Trigger) {
        return false;
    }
    SetValue(dx > 0 ? Value + Step : Value - Step);
    return true;
}

void TValuePanelState::SetValue(double value) {
    if (!std::isfinite(value)) {
        return;
    }
    value = std::clamp(value, Min, Max);
    if (WrapAngle) {
        if (value >= 360) {
            value -= 360;
        } else if (value <= -360) {
            value += 360;
        }
    }
    Value = value;
}

}  // namespace kx
