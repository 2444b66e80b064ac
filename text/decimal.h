// Exact conversions between doubles and decimal digits by integer arithmetic alone: a double is an
// integer times a power of two, a decimal number an integer times a power of ten, and each
// conversion is one quotient of two such integers. No floating-point operation, heap or table.
#pragma once

#include <cstdint>
#include <string_view>

namespace text {

inline constexpr int kExactDigits = 17;

// d1.d2...d17 times ten to the exponent; d1 is never '0'.
struct DecimalDigits {
    char digits[kExactDigits];
    int exponent;
};

// The first 17 significant digits of a finite double above zero, rounded to nearest, ties to even.
DecimalDigits seventeenDigits(double value);

// The double nearest to the digits (with at most one "." among them) times ten to the exponent,
// ties to even: infinity beyond the largest double, 0 at or below half the smallest.
double nearestDouble(std::string_view digits, int64_t exponent);

} // namespace text
