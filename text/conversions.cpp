#include "text/conversions.h"

#include "text/decimal.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstddef>
#include <limits>

namespace text {
namespace {

constexpr unsigned char kFirstLeadByte = 0x80;
constexpr unsigned char kFullWidthRow = 0xA3;     // GBK row of the full-width ASCII forms
constexpr unsigned char kSymbolRow = 0xA1;        // GBK row of the ideographic space, "～", stars
constexpr unsigned char kIdeographicSpace = 0xA1; // in the symbol row
constexpr unsigned char kWaveDash = 0xAB;         // "～", in the symbol row
constexpr unsigned char kWhiteStar = 0xEE;        // "☆", in the symbol row
constexpr unsigned char kBlackStar = 0xEF;        // "★", in the symbol row
constexpr unsigned char kWidthOffset = 0x80;      // full-width second byte minus its ASCII form

constexpr uint64_t kSignBit = uint64_t{1} << 63;
constexpr uint64_t kExponentBits = uint64_t{0x7FF} << 52;
constexpr uint64_t kQuietBit = uint64_t{1} << 51;
constexpr uint64_t kFractionBits = (uint64_t{1} << 52) - 1;

constexpr int kShownDigits = 13;

bool isLeadByte(char c) {
    return static_cast<unsigned char>(c) >= kFirstLeadByte;
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isWhiteSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
bool isExponentLetter(char c) {
    return c == 'e' || c == 'E' || c == 'd' || c == 'D';
}
char byteChar(unsigned int byte) {
    return static_cast<char>(byte);
}

// Infinities and not-a-numbers, named as the Windows C runtime prints them.
std::string nonFiniteText(uint64_t bits) {
    const bool negative = (bits & kSignBit) != 0;
    const uint64_t fraction = bits & kFractionBits;
    if (fraction == 0) {
        return negative ? "-1.#INF" : "1.#INF";
    }
    if (negative && fraction == kQuietBit) {
        return "-1.#IND"; // the not-a-number that the processor itself produces
    }
    if ((fraction & kQuietBit) != 0) {
        return negative ? "-1.#QNAN" : "1.#QNAN";
    }
    return negative ? "-1.#SNAN" : "1.#SNAN";
}

// Adds one unit to the last of the digits; returns false when the carry runs out of the first.
bool incrementDigits(char* digits, int count) {
    for (int i = count - 1; i >= 0; --i) {
        if (digits[i] != '9') {
            ++digits[i];
            return true;
        }
        digits[i] = '0';
    }
    return false;
}

char* copyDigits(char* out, const char* digits, int count) {
    for (int i = 0; i < count; ++i) {
        *out++ = digits[i];
    }
    return out;
}

} // namespace

std::string toText(int32_t value) {
    char buffer[std::numeric_limits<int32_t>::digits10 + 3];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string toText(double value) {
    const uint64_t bits = std::bit_cast<uint64_t>(value);
    const uint64_t magnitudeBits = bits & ~kSignBit;
    if (magnitudeBits == 0) {
        return "0"; // negative zero too
    }
    if ((magnitudeBits & kExponentBits) == kExponentBits) {
        return nonFiniteText(bits);
    }

    // 17 significant digits, rounded to nearest.
    DecimalDigits exact = seventeenDigits(std::bit_cast<double>(magnitudeBits));
    char* const digits = exact.digits;
    int exponent = exact.exponent;

    // Then 13 digits, rounding the 17-digit string with ties up: the 14th digit alone decides.
    if (digits[kShownDigits] >= '5' && !incrementDigits(digits, kShownDigits)) {
        digits[0] = '1';
        ++exponent;
    }
    int significant = kShownDigits;
    while (significant > 1 && digits[significant - 1] == '0') {
        --significant;
    }

    char buffer[32];
    char* out = buffer;
    if ((bits & kSignBit) != 0) {
        *out++ = '-';
    }
    if (exponent < -4 || exponent >= kShownDigits) {
        *out++ = digits[0];
        if (significant > 1) {
            *out++ = '.';
            out = copyDigits(out, digits + 1, significant - 1);
        }
        const int size = exponent < 0 ? -exponent : exponent;
        *out++ = 'e';
        *out++ = exponent < 0 ? '-' : '+';
        *out++ = byteChar('0' + size / 100);
        *out++ = byteChar('0' + size / 10 % 10);
        *out++ = byteChar('0' + size % 10);
    } else if (exponent >= 0) {
        const int integerDigits = exponent + 1;
        out = copyDigits(out, digits, integerDigits);
        if (significant > integerDigits) {
            *out++ = '.';
            out = copyDigits(out, digits + integerDigits, significant - integerDigits);
        }
    } else {
        *out++ = '0';
        *out++ = '.';
        for (int i = 0; i < -exponent - 1; ++i) {
            *out++ = '0';
        }
        out = copyDigits(out, digits, significant);
    }
    return std::string(buffer, out);
}

double toNumber(std::string_view text) {
    const std::string number = toHalfWidth(text);
    const char* p = number.data();
    const char* const end = p + number.size();
    while (p != end && isWhiteSpace(*p)) {
        ++p;
    }
    bool negative = false;
    if (p != end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }

    // Digits with at most one "." among or around them.
    const char* const mantissa = p;
    bool anyDigit = false;
    while (p != end && isDigit(*p)) {
        ++p;
        anyDigit = true;
    }
    if (p != end && *p == '.') {
        ++p;
        while (p != end && isDigit(*p)) {
            ++p;
            anyDigit = true;
        }
    }
    if (!anyDigit) {
        return 0.0;
    }
    const std::string_view digits(mantissa, static_cast<size_t>(p - mantissa));

    // An exponent counts only with at least one digit (without, it stays 0); "d" reads as "e".
    int64_t exponent = 0;
    if (p != end && isExponentLetter(*p)) {
        const char* q = p + 1;
        const bool negativeExponent = q != end && *q == '-';
        if (q != end && (*q == '+' || *q == '-')) {
            ++q;
        }
        while (q != end && isDigit(*q)) {
            // Saturated: far beyond any exponent that still gives a finite, non-zero double.
            exponent = exponent < 100000 ? exponent * 10 + (*q - '0') : exponent;
            ++q;
        }
        exponent = negativeExponent ? -exponent : exponent;
    }

    // Correctly rounded and independent of the locale.
    const double value = nearestDouble(digits, exponent);
    return negative ? -value : value;
}

uint8_t toByte(double value) {
    constexpr double kTwoTo63 = 9223372036854775808.0;
    if (!(value >= -kTwoTo63 && value < kTwoTo63)) {
        return 0; // outside the signed 64-bit range, or not a number
    }
    return static_cast<uint8_t>(static_cast<int64_t>(value)); // the lowest 8 bits
}

double absValue(double value) {
    return value < 0.0 ? -value : value;
}

std::string joinTexts(std::initializer_list<std::string_view> parts) {
    size_t size = 0;
    for (const std::string_view part : parts) {
        size += part.size();
    }
    std::string joined;
    joined.reserve(size);
    for (const std::string_view part : parts) {
        joined.append(part);
    }
    return joined;
}

std::string rightOfText(std::string_view text, int32_t count) {
    if (count <= 0) {
        return std::string();
    }
    return std::string(
        text.substr(text.size() - std::min(static_cast<size_t>(count), text.size())));
}

std::string toLowerCase(std::string_view text) {
    std::string lowered(text);
    for (size_t i = 0; i < lowered.size(); ++i) {
        if (isLeadByte(lowered[i])) {
            ++i; // its second byte stays as it is, even when it reads as a letter
        } else if (lowered[i] >= 'A' && lowered[i] <= 'Z') {
            lowered[i] = byteChar(lowered[i] + ('a' - 'A'));
        }
    }
    return lowered;
}

std::string toFullWidth(std::string_view text) {
    std::string wide;
    wide.reserve(text.size() * 2);
    for (size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == '~') {
            wide += byteChar(kSymbolRow);
            wide += byteChar(kWaveDash);
        } else if (byte == ' ') {
            wide += byteChar(kSymbolRow);
            wide += byteChar(kIdeographicSpace);
        } else if (byte > ' ' && byte < '~') {
            wide += byteChar(kFullWidthRow);
            wide += byteChar(byte + kWidthOffset);
        } else if (byte >= kFirstLeadByte) {
            if (i + 1 == text.size()) {
                break; // a first byte without its second one
            }
            wide += text[i];
            wide += text[++i];
        } else {
            wide += text[i]; // control bytes
        }
    }
    return wide;
}

std::string toHalfWidth(std::string_view text) {
    std::string half;
    half.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (!isLeadByte(text[i])) {
            half += text[i];
            continue;
        }
        if (i + 1 == text.size()) {
            break; // a first byte without its second one
        }
        const auto first = static_cast<unsigned char>(text[i]);
        const auto second = static_cast<unsigned char>(text[++i]);
        if (first == kFullWidthRow && second >= 0xA1 && second <= 0xFE) {
            half += byteChar(second - kWidthOffset);
        } else if (first == kSymbolRow && second == kIdeographicSpace) {
            half += ' ';
        } else if (first == kSymbolRow && second == kWaveDash) {
            half += '~';
        } else if (first == kSymbolRow && (second == kWhiteStar || second == kBlackStar)) {
            half += '*';
        } else {
            half += byteChar(first);
            half += byteChar(second);
        }
    }
    return half;
}

} // namespace text
