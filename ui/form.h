#pragma once
// The main window's form: places, sizes, texts and colours of the window and its nine controls.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace ui {

// The controls in the form's order, which is also the stacking order from top to bottom.
enum class Control : std::uint8_t {
    标签4,
    标签3,
    按钮3,
    按钮2,
    按钮1,
    时钟1,
    标签2,
    标签1,
    滑块条1
};
inline constexpr std::size_t controlCount = 9;

enum class Kind : std::uint8_t { label, pushButton, timer, slider };
enum class Align : std::uint8_t { nearEdge, centre };

struct Colour {
    std::uint8_t red, green, blue;
};

struct ControlForm {
    std::string_view name;
    Kind kind;
    int left, top, width, height;
    bool visible;
    bool tabStop;
    std::string_view text;
    // Labels only.
    Colour textColour;
    Align horizontal;
    Align vertical;
    bool wordWrap;
};

inline constexpr Colour blue{0, 136, 255};
inline constexpr Colour red{255, 0, 0};
inline constexpr Colour none{0, 0, 0};

inline constexpr std::array<ControlForm, controlCount> controls{{
    {"标签4", Kind::label, 208, 152, 16, 16, true, false, "慢", blue, Align::nearEdge,
     Align::centre, false},
    {"标签3", Kind::label, 208, 8, 16, 16, true, false, "快", blue, Align::nearEdge, Align::centre,
     false},
    {"按钮3", Kind::pushButton, 88, 136, 72, 32, true, true, "加入Q群", none, Align::centre,
     Align::centre, true},
    {"按钮2", Kind::pushButton, 8, 136, 72, 32, true, true, "联系Tolvane", none, Align::centre,
     Align::centre, true},
    {"按钮1", Kind::pushButton, 6, 96, 154, 32, true, true, "测速按钮", none, Align::centre,
     Align::centre, true},
    {"时钟1", Kind::timer, 16, 176, 40, 32, false, false, "", none, Align::nearEdge,
     Align::nearEdge, false},
    {"标签2", Kind::label, 29, 56, 107, 40, true, false, "1秒=1000毫秒\r\n\r\nF2开始  F3停止", red,
     Align::centre, Align::centre, true},
    {"标签1", Kind::label, 5, 6, 155, 90, true, false, "当前速度：\r\n\r\n0毫秒/次 ", blue,
     Align::centre, Align::centre, true},
    {"滑块条1", Kind::slider, 165, -8, 67, 176, true, true, "", none, Align::nearEdge,
     Align::nearEdge, false},
}};

constexpr const ControlForm& form(Control control) {
    return controls[static_cast<std::size_t>(control)];
}

// The main window.
inline constexpr std::string_view windowCaption = "MervoltV1.0";
inline constexpr int windowWidth = 239;
inline constexpr int windowHeight = 201;

// The window starts centred on the primary screen, whatever its place in the form.
struct Point {
    int x, y;
};
constexpr Point centredOrigin(int screenWidth, int screenHeight) {
    return {(screenWidth - windowWidth) / 2, (screenHeight - windowHeight) / 2};
}

// The slider.
struct SliderSettings {
    std::int32_t minimum, maximum, position, lineStep, pageStep, tickFrequency;
};
inline constexpr SliderSettings sliderSettings{1, 100, 1, 1, 5, 1};

// Line step, page step and tick frequency are kept within 1 and the width of the range.
constexpr std::int32_t clampStep(std::int32_t step, const SliderSettings& s) {
    const std::int32_t width = s.maximum - s.minimum;
    return step < 1 ? 1 : (step > width ? width : step);
}

// Tab and Shift+Tab cycle through the tab stops in this order.
inline constexpr std::array<Control, 4> tabCycle{Control::滑块条1, Control::按钮1, Control::按钮2,
                                                 Control::按钮3};

} // namespace ui
