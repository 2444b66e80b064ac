// libFuzzer target of the text conversions: any bytes, however malformed as GBK. The first four
// bytes are the count for rightOfText, the rest is the text.
#include "text/conversions.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

void require(bool holds) {
    if (!holds) {
        std::abort();
    }
}

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

void checkWidthForms(std::string_view text) {
    const std::string half = text::toHalfWidth(text);
    require(half.size() <= text.size());
    require(text::toHalfWidth(half) == half); // characters are never split or re-paired
    const std::string full = text::toFullWidth(text);
    require(full.size() <= 2 * text.size());
    if (isAscii(text)) {
        require(text::toHalfWidth(full) == text);
    }
}

void checkLowerCase(std::string_view text) {
    const std::string lower = text::toLowerCase(text);
    require(lower.size() == text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        require(lower[i] == text[i] ||
                (text[i] >= 'A' && text[i] <= 'Z' && lower[i] == text[i] + 32));
    }
    require(text::toLowerCase(lower) == lower);
}

void checkRightOfText(std::string_view text, int32_t count) {
    const size_t size = count <= 0 ? 0 : std::min(static_cast<size_t>(count), text.size());
    require(text::rightOfText(text, count) == text.substr(text.size() - size));
}

void checkToNumber(std::string_view text) {
    const double number = text::toNumber(text);
    require(!std::isnan(number));
    if (isAscii(text)) {
        const double wide = text::toNumber(text::toFullWidth(text));
        require(std::bit_cast<uint64_t>(wide) == std::bit_cast<uint64_t>(number));
    }
    if (std::isfinite(number)) {
        // 13 digits read back give a double whose 13 digits are the same.
        const std::string shown = text::toText(number);
        require(text::toText(text::toNumber(shown)) == shown);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < sizeof(int32_t)) {
        return 0;
    }
    int32_t count = 0;
    std::memcpy(&count, data, sizeof count);
    const std::string_view text(reinterpret_cast<const char*>(data) + sizeof count,
                                size - sizeof count);
    checkWidthForms(text);
    checkLowerCase(text);
    checkRightOfText(text, count);
    checkToNumber(text);
    return 0;
}
