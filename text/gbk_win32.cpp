#include "text/gbk_win32.h"

#include <windows.h>

namespace text {

namespace {
constexpr UINT gbkCodePage = 936;
}

std::wstring wideFromGbk(std::string_view gbk) {
    const int length = static_cast<int>(gbk.size());
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    // GBK never yields more UTF-16 units than bytes.
    const int written =
        MultiByteToWideChar(gbkCodePage, 0, gbk.data(), length, wide.data(), length);
    wide.resize(static_cast<std::size_t>(written > 0 ? written : 0));
    return wide;
}

std::string gbkFromWide(std::wstring_view wide) {
    const int length = static_cast<int>(wide.size());
    // At most two GBK bytes per UTF-16 unit.
    std::string gbk(static_cast<std::size_t>(length) * 2, '\0');
    const int written = WideCharToMultiByte(gbkCodePage, 0, wide.data(), length, gbk.data(),
                                            length * 2, nullptr, nullptr);
    gbk.resize(static_cast<std::size_t>(written > 0 ? written : 0));
    return gbk;
}

} // namespace text
