#pragma once
// What the clicker's handlers compute: the speed text, the test counter, the contact addresses.

#include <cstdint>
#include <string>
#include <string_view>

namespace ui {

// "当前速度：37毫秒/次 1秒=1000毫秒" for position 37.
std::string speedText(std::int32_t position);

// The caption after one more counted click: the caption read as a number, plus one.
std::string nextTestCount(std::string_view caption);

// The contact pages; host names, account and invitation key are build settings.
extern const std::string_view chatAddress;
extern const std::string_view groupAddress;

} // namespace ui
