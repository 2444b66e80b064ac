// Number and text conversions: what the user sees on the screen, and what the program reads back.
// Texts are GBK bytes: a byte of 0x80 or above starts a two-byte character with the byte after it.
// The empty text and the absent text are the same value.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace text {

// Plain decimal, "-" for a negative value: "-2147483648".
std::string toText(int32_t value);
// "%.13g" with a three-digit exponent: 17 digits rounded to nearest, then 13 with ties up.
std::string toText(double value);
// The longest decimal prefix after white space; full-width forms count as ASCII. No prefix: 0.
double toNumber(std::string_view text);
// The lowest 8 bits of the value truncated to a signed 64-bit integer; 0 outside that range.
uint8_t toByte(double value);
// The negation of a value below zero; any other value (-0.0 and NaN too) as it is.
double absValue(double value);
// The parts one after the other, in order.
std::string joinTexts(std::initializer_list<std::string_view> parts);
// The last min(count, length) bytes; empty for a count of 0 or less. May cut a character in two.
std::string rightOfText(std::string_view text, int32_t count);
// "A" to "Z" lowered; two-byte characters, full-width letters among them, unchanged.
std::string toLowerCase(std::string_view text);
// Printable ASCII to the GBK full-width row (space to the ideographic space, "~" to "～").
std::string toFullWidth(std::string_view text);
// The GBK full-width row and a few look-alikes back to ASCII; other characters unchanged.
std::string toHalfWidth(std::string_view text);

} // namespace text
