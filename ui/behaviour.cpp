#include "ui/behaviour.h"

#include "text/conversions.h"

namespace ui {

std::string speedText(std::int32_t position) {
    return text::joinTexts({"当前速度：", text::toText(position), "毫秒/次 1秒=1000毫秒"});
}

std::string nextTestCount(std::string_view caption) {
    return text::toText(text::toNumber(caption) + 1.0);
}

const std::string_view chatAddress =
    "http://" CLICKER_CHAT_HOST "/msgrd?v=3&uin=" CLICKER_ACCOUNT "&site=qq&menu=yes";
const std::string_view groupAddress =
    "http://" CLICKER_GROUP_HOST "/?_wv=1027&k=" CLICKER_GROUP_KEY;

} // namespace ui
