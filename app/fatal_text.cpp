#include "app/fatal_text.h"

#include "text/conversions.h"

namespace app {

std::string fatalErrorText(std::string_view message, int32_t number) {
    std::string text = "运行时出错!\r\n\r\n";
    if (number != 0) {
        text += "错误代码：";
        text += text::toText(number);
        text += "\r\n\r\n";
    }
    if (!message.empty()) {
        text += "错误信息：";
        text += message;
        text += "\r\n";
    }
    return text;
}

std::string allocationFailedMessage(std::size_t bytes) {
    return text::joinTexts({"分配 ", text::toText(static_cast<int32_t>(bytes)), " 字节内存失败!"});
}

} // namespace app
