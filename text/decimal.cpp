#include "text/decimal.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstddef>
#include <limits>

namespace text {
namespace {

constexpr uint64_t kFractionBits = (uint64_t{1} << 52) - 1;
constexpr uint64_t kHiddenBit = uint64_t{1} << 52;
constexpr int kFractionWidth = 52;
constexpr int kSmallestTwos = -1074; // weight of the last bit of every subnormal
constexpr int kLargestTop = 1023;    // highest power of two below the largest double
constexpr uint64_t kInfinityBits = uint64_t{0x7FF} << 52;
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// A halfway point between two doubles has at most 767 significant digits: digits beyond 800
// only matter as "more than zero".
constexpr int kKeptDigits = 800;
// 10^kLargestTens is beyond the largest double (1.8e308); 10^kSmallestTens is below half the
// smallest (2.5e-324).
constexpr int kLargestTens = 309;
constexpr int kSmallestTens = -324;

constexpr uint32_t kTenToNine = 1000000000;
constexpr uint64_t kTenToSeventeen = 100000000000000000;
constexpr uint64_t kTenToEighteen = 1000000000000000000;

// A non-negative integer in 32-bit limbs, least significant first. 4096 bits hold the largest
// operand: 10^1123 shifted left by 63 (3794 bits), for 800 digits just above the smallest double.
constexpr int kLimbs = 128;

struct BigInteger {
    int size = 0; // limbs in use; the highest of them is never zero
    uint32_t limbs[kLimbs];
};

uint32_t powerOfTen(int count) {
    uint32_t power = 1;
    for (int i = 0; i < count; ++i) {
        power *= 10;
    }
    return power;
}

// n * factor + addend.
void multiplyAdd(BigInteger& n, uint32_t factor, uint32_t addend) {
    uint64_t carry = addend;
    for (int i = 0; i < n.size; ++i) {
        carry += uint64_t{n.limbs[i]} * factor;
        n.limbs[i] = static_cast<uint32_t>(carry);
        carry >>= 32;
    }
    if (carry != 0) {
        assert(n.size < kLimbs);
        n.limbs[n.size++] = static_cast<uint32_t>(carry);
    }
}

void multiplyByPowerOfTen(BigInteger& n, int count) {
    for (; count >= 9; count -= 9) {
        multiplyAdd(n, kTenToNine, 0);
    }
    multiplyAdd(n, powerOfTen(count), 0);
}

void shiftLeft(BigInteger& n, int bits) {
    if (n.size == 0) {
        return;
    }
    const int words = bits / 32;
    const int rest = bits % 32;
    const auto top = static_cast<uint32_t>(uint64_t{n.limbs[n.size - 1]} >> (32 - rest));
    const int size = n.size + words + (top != 0 ? 1 : 0);
    assert(size <= kLimbs);
    if (top != 0) {
        n.limbs[size - 1] = top;
    }
    // From the top down, so that every limb is read before it is overwritten.
    for (int i = n.size - 1; i >= 0; --i) {
        const uint64_t pair = uint64_t{n.limbs[i]} << 32 | (i > 0 ? n.limbs[i - 1] : 0);
        n.limbs[i + words] = static_cast<uint32_t>(pair >> (32 - rest));
    }
    std::fill(n.limbs, n.limbs + words, 0);
    n.size = size;
}

void halve(BigInteger& n) {
    for (int i = 0; i < n.size; ++i) {
        const uint32_t next = i + 1 < n.size ? n.limbs[i + 1] : 0;
        n.limbs[i] = n.limbs[i] >> 1 | next << 31;
    }
    if (n.size > 0 && n.limbs[n.size - 1] == 0) {
        --n.size;
    }
}

bool atLeast(const BigInteger& a, const BigInteger& b) {
    if (a.size != b.size) {
        return a.size > b.size;
    }
    for (int i = a.size - 1; i >= 0; --i) {
        if (a.limbs[i] != b.limbs[i]) {
            return a.limbs[i] > b.limbs[i];
        }
    }
    return true;
}

// a - b, for a of at least b.
void subtract(BigInteger& a, const BigInteger& b) {
    uint64_t borrow = 0;
    for (int i = 0; i < a.size; ++i) {
        const uint64_t taken = (i < b.size ? b.limbs[i] : 0) + borrow;
        borrow = a.limbs[i] < taken ? 1 : 0;
        a.limbs[i] = static_cast<uint32_t>(a.limbs[i] - taken);
    }
    while (a.size > 0 && a.limbs[a.size - 1] == 0) {
        --a.size;
    }
}

int bitLength(const BigInteger& n) {
    return n.size == 0 ? 0 : 32 * (n.size - 1) + std::bit_width(n.limbs[n.size - 1]);
}

void assign(BigInteger& n, uint64_t value) {
    for (n.size = 0; value != 0; value >>= 32) {
        n.limbs[n.size++] = static_cast<uint32_t>(value);
    }
}

uint64_t lowWord(const BigInteger& n) {
    return (n.size > 1 ? uint64_t{n.limbs[1]} << 32 : 0) | (n.size > 0 ? n.limbs[0] : 0);
}

// value * 2^twos * 10^tens, for counts of zero or more.
BigInteger scaled(uint64_t value, int twos, int tens) {
    BigInteger n;
    assign(n, value);
    multiplyByPowerOfTen(n, tens);
    shiftLeft(n, twos);
    return n;
}

// The quotient, which must be below 2^64; the dividend is left holding the remainder, and the
// divisor is used up. Counter values fit machine words; larger ones go one bit at a time.
uint64_t divide(BigInteger& dividend, BigInteger& divisor) {
    if (dividend.size <= 2 && divisor.size <= 2) {
        const uint64_t numerator = lowWord(dividend);
        const uint64_t denominator = lowWord(divisor);
        assign(dividend, numerator % denominator);
        return numerator / denominator;
    }
    shiftLeft(divisor, 63);
    uint64_t quotient = 0;
    for (int bit = 63; bit >= 0; --bit) {
        if (atLeast(dividend, divisor)) {
            subtract(dividend, divisor);
            quotient |= uint64_t{1} << bit;
        }
        halve(divisor);
    }
    return quotient;
}

// floor(k * log10(2)), exact for |k| up to 1100.
int floorLog10OfPowerOfTwo(int k) {
    return (k * 78913) >> 18;
}

// The count decimal digits of value, the last at end[-1].
void writeDigits(char* end, uint32_t value, int count) {
    for (int i = 0; i < count; ++i) {
        *--end = static_cast<char>('0' + value % 10);
        value /= 10;
    }
}

// The double nearest to (quotient + sticky) * 2^twos, where a set sticky stands for a fraction
// above zero and the quotient has 63 or 64 bits.
double roundToDouble(uint64_t quotient, int twos, bool sticky) {
    const int top = twos + std::bit_width(quotient) - 1; // the value lies in [2^top, 2^(top + 1))
    if (top > kLargestTop) {
        return kInfinity;
    }
    const int lowest = std::max(top - kFractionWidth, kSmallestTwos); // weight of the last bit kept
    const int dropped = lowest - twos; // 10 or more, as the quotient has 63 bits at least
    if (dropped > 64) {
        return 0.0; // below half the smallest subnormal
    }
    const uint64_t halves = quotient >> (dropped - 1); // the bits kept, then the rounding bit
    const bool beyondHalf = sticky || (quotient & ((uint64_t{1} << (dropped - 1)) - 1)) != 0;
    uint64_t kept = halves >> 1;
    if ((halves & 1) != 0 && (beyondHalf || (kept & 1) != 0)) {
        ++kept;
    }
    // The hidden bit of a normal number adds one to the exponent field; a carry out of the
    // fraction moves on into it, up to the bits of infinity.
    const uint64_t bits = (static_cast<uint64_t>(lowest - kSmallestTwos) << kFractionWidth) + kept;
    return bits >= kInfinityBits ? kInfinity : std::bit_cast<double>(bits);
}

} // namespace

DecimalDigits seventeenDigits(double value) {
    const uint64_t bits = std::bit_cast<uint64_t>(value);
    const auto exponentField = static_cast<int>(bits >> kFractionWidth);
    uint64_t mantissa = bits & kFractionBits;
    int twos = kSmallestTwos; // value = mantissa * 2^twos
    if (exponentField != 0) {
        mantissa |= kHiddenBit;
        twos = exponentField + kSmallestTwos - 1;
    }
    const int trailingZeros = std::countr_zero(mantissa);
    mantissa >>= trailingZeros;
    twos += trailingZeros;

    // The value lies in [2^k, 2^(k + 1)): its decimal exponent is lowest or lowest + 1, and its
    // quotient by 10^(lowest - 17) has 18 or 19 digits.
    const int lowest = floorLog10OfPowerOfTwo(twos + std::bit_width(mantissa) - 1);
    const int tens = lowest - kExactDigits;
    BigInteger dividend = scaled(mantissa, std::max(twos, 0), std::max(-tens, 0));
    BigInteger divisor = scaled(1, std::max(-twos, 0), std::max(tens, 0));
    uint64_t digits = divide(dividend, divisor);

    // Down to 17 digits, rounded to nearest with ties to even.
    const bool nineteen = digits >= kTenToEighteen;
    const uint64_t unit = nineteen ? 100 : 10;
    const uint64_t rest = digits % unit;
    digits /= unit;
    DecimalDigits result;
    result.exponent = tens + (nineteen ? 18 : 17);
    if (rest > unit / 2 || (rest == unit / 2 && (dividend.size != 0 || digits % 2 != 0))) {
        if (++digits == kTenToSeventeen) {
            digits /= 10;
            ++result.exponent;
        }
    }
    writeDigits(result.digits + 8, static_cast<uint32_t>(digits / kTenToNine), 8);
    writeDigits(result.digits + kExactDigits, static_cast<uint32_t>(digits % kTenToNine), 9);
    return result;
}

double nearestDouble(std::string_view text, int64_t exponent) {
    // The value is 0.d1d2d3... * 10^(point + exponent), d1 the first digit other than '0'.
    int64_t point = 0;
    int64_t significant = 0;
    int kept = 0; // the first digits, up to the last one other than '0' among the first 800
    bool sticky = false;
    size_t first = 0;
    bool fraction = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.') {
            fraction = true;
            continue;
        }
        if (significant == 0 && c == '0') {
            point -= fraction ? 1 : 0;
            continue;
        }
        if (significant == 0) {
            first = i;
        }
        ++significant;
        point += fraction ? 0 : 1;
        if (c != '0') {
            if (significant <= kKeptDigits) {
                kept = static_cast<int>(significant);
            } else {
                sticky = true;
            }
        }
    }
    if (kept == 0) {
        return 0.0;
    }
    const int64_t magnitude = point + exponent; // 10^(magnitude - 1) <= value < 10^magnitude
    if (magnitude - 1 >= kLargestTens) {
        return kInfinity;
    }
    if (magnitude <= kSmallestTens) {
        return 0.0;
    }

    // The kept digits as an integer, nine at a time; value = that * 10^tens.
    BigInteger dividend;
    uint32_t chunk = 0;
    int chunkDigits = 0;
    for (size_t i = first, taken = 0; taken < static_cast<size_t>(kept); ++i) {
        if (text[i] == '.') {
            continue;
        }
        chunk = chunk * 10 + static_cast<uint32_t>(text[i] - '0');
        ++taken;
        if (++chunkDigits == 9) {
            multiplyAdd(dividend, kTenToNine, chunk);
            chunk = 0;
            chunkDigits = 0;
        }
    }
    multiplyAdd(dividend, powerOfTen(chunkDigits), chunk);
    const int tens = static_cast<int>(magnitude) - kept;
    multiplyByPowerOfTen(dividend, std::max(tens, 0));
    BigInteger divisor = scaled(1, 0, std::max(-tens, 0));

    // Scaled by 2^twos, the quotient has 63 or 64 bits.
    const int twos = 63 + bitLength(divisor) - bitLength(dividend);
    shiftLeft(dividend, std::max(twos, 0));
    shiftLeft(divisor, std::max(-twos, 0));
    const uint64_t quotient = divide(dividend, divisor);
    return roundToDouble(quotient, -twos, sticky || dividend.size != 0);
}

} // namespace text
