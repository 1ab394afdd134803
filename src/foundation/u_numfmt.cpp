// Fixed-point numbers of the exchange formats: a point as separator, never through a locale,
// fast enough for files of hundreds of megabytes.
#include "foundation/u_numfmt.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace kx {

namespace {

constexpr double kScale[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
constexpr uint64_t kPow10[] = {1,      10,      100,      1000,      10000,
                               100000, 1000000, 10000000, 100000000, 1000000000};

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

/// Exactly `count` digits of value, with leading zeros.
char* WritePadded(char* p, uint64_t value, int count) {
    char* end = p + count;
    char* q = end;
    while (q - p >= 2) {
        const auto pair = static_cast<size_t>(value % 100) * 2;
        value /= 100;
        q -= 2;
        q[0] = kDigitPairs[pair];
        q[1] = kDigitPairs[pair + 1];
    }
    if (q > p) {
        *--q = static_cast<char>('0' + value % 10);
    }
    return end;
}

int DigitCount(uint64_t value) {
    int n = 1;
    while (value >= 10) {
        value /= 10;
        ++n;
    }
    return n;
}

}  // namespace

char* WriteUInt(char* p, unsigned long long value) {
    return WritePadded(p, value, DigitCount(value));
}

char* WriteFixed(char* p, float value, int decimals) {
    if (decimals < 0) {
        decimals = 0;
    } else if (decimals > 9) {
        decimals = 9;
    }
    // A float has 24 significant bits and 10^d = 2^d * 5^d with 5^9 below 2^21, so the product
    // is exact in a double: rounding it is rounding the float's exact decimal value.
    const double scaled = static_cast<double>(value) * kScale[decimals];
    if (!(std::fabs(scaled) < 4e15)) {
        return std::to_chars(p, p + kFixedBufferSize, static_cast<double>(value),
                             std::chars_format::fixed, decimals)
            .ptr;
    }
    const auto whole = static_cast<uint64_t>(std::fabs(std::nearbyint(scaled)));
    if (value < 0 && whole != 0) {
        *p++ = '-';
    }
    p = WriteUInt(p, whole / kPow10[decimals]);
    if (decimals > 0) {
        *p++ = '.';
        p = WritePadded(p, whole % kPow10[decimals], decimals);
    }
    return p;
}

void AppendFixed(std::string& out, float value, int decimals) {
    char buffer[kFixedBufferSize];
    out.append(buffer, WriteFixed(buffer, value, decimals));
}

std::string FormatFixed(float value, int decimals) {
    std::string s;
    AppendFixed(s, value, decimals);
    return s;
}

void AppendInt(std::string& out, long long value) {
    char buffer[24];
    char* p = buffer;
    if (value < 0) {
        *p++ = '-';
        out.append(buffer, WriteUInt(p, 0ULL - static_cast<unsigned long long>(value)));
        return;
    }
    out.append(buffer, WriteUInt(p, static_cast<unsigned long long>(value)));
}

}  // namespace kx
