#pragma once
// The text of the fatal-error box and the messages that the program's own checks raise.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace app {

inline constexpr std::string_view fatalCaption = "错误";
inline constexpr std::string_view mainWindowFailed = "载入启动窗口失败";
inline constexpr std::string_view windowNotLoaded = "指定窗口尚未载入";

// "运行时出错!", then the number (when not 0) and the message (when not empty), each on lines of
// their own, CR LF line breaks.
std::string fatalErrorText(std::string_view message, int32_t number);

// "分配 N 字节内存失败!" for an allocation of n bytes that could not be met.
std::string allocationFailedMessage(std::size_t bytes);

} // namespace app
