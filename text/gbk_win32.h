#pragma once
// Texts stay GBK inside the program; the window system is handed UTF-16 converted from code page
// 936, so they read right whatever the system's ANSI code page is.

#include <string>
#include <string_view>

namespace text {

std::wstring wideFromGbk(std::string_view gbk);
std::string gbkFromWide(std::wstring_view wide);

} // namespace text
