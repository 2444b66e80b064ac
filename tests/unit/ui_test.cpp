#include "ui/behaviour.h"
#include "ui/click_timer.h"
#include "ui/focus.h"
#include "ui/form.h"

#include <gtest/gtest.h>

namespace {

using ui::Control;

TEST(Form, StackingOrderAndTabStops) {
    const char* names[] = {"标签4", "标签3", "按钮3", "按钮2",  "按钮1",
                           "时钟1", "标签2", "标签1", "滑块条1"};
    for (std::size_t i = 0; i < ui::controlCount; ++i) {
        EXPECT_EQ(ui::controls[i].name, names[i]);
        EXPECT_EQ(ui::controls[i].tabStop, ui::controls[i].kind == ui::Kind::pushButton ||
                                               ui::controls[i].kind == ui::Kind::slider)
            << names[i];
    }
    EXPECT_FALSE(ui::form(Control::时钟1).visible);
}

struct OriginCase {
    const char* name;
    int screenWidth, screenHeight, x, y;
};

class CentredOrigin : public testing::TestWithParam<OriginCase> {};

TEST_P(CentredOrigin, HalvesTheFreeSpaceRoundingTowardZero) {
    const auto origin = ui::centredOrigin(GetParam().screenWidth, GetParam().screenHeight);
    EXPECT_EQ(origin.x, GetParam().x);
    EXPECT_EQ(origin.y, GetParam().y);
}

INSTANTIATE_TEST_SUITE_P(Cases, CentredOrigin,
                         testing::Values(OriginCase{"Xga", 1024, 768, 392, 283},
                                         OriginCase{"FullHd", 1920, 1080, 840, 439},
                                         OriginCase{"SmallerThanTheWindow", 200, 100, -19, -50}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SliderSettings, StepsStayWithinOneAndTheRange) {
    const ui::SliderSettings s = ui::sliderSettings;
    EXPECT_EQ(ui::clampStep(s.pageStep, s), 5);
    EXPECT_EQ(ui::clampStep(0, s), 1);
    EXPECT_EQ(ui::clampStep(-3, s), 1);
    EXPECT_EQ(ui::clampStep(500, s), 99);
}

struct TabCase {
    const char* name;
    int from;
    bool forward;
    ui::CycleAvailability available;
    int to;
};

class TabCycle : public testing::TestWithParam<TabCase> {};

TEST_P(TabCycle, MovesToTheNextAvailableStop) {
    EXPECT_EQ(ui::nextInTabCycle(GetParam().from, GetParam().forward, GetParam().available),
              GetParam().to);
}

constexpr ui::CycleAvailability all{true, true, true, true};
constexpr ui::CycleAvailability sliderDisabled{false, true, true, true};

INSTANTIATE_TEST_SUITE_P(
    Cases, TabCycle,
    testing::Values(TabCase{"SliderToFirstButton", 0, true, all, 1},
                    TabCase{"LastButtonWrapsToSlider", 3, true, all, 0},
                    TabCase{"ShiftTabFromSliderToLastButton", 0, false, all, 3},
                    TabCase{"FromOutsideForward", -1, true, all, 0},
                    TabCase{"FromOutsideBackward", -1, false, all, 3},
                    TabCase{"DisabledSliderSkipped", 3, true, sliderDisabled, 1},
                    TabCase{"DisabledSliderSkippedBackward", 1, false, sliderDisabled, 3},
                    TabCase{"NoneAvailable", 2, true, {false, false, false, false}, -1},
                    TabCase{"OnlyItselfAvailable", 2, true, {false, false, true, false}, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Focus, ActivationRestoresTheRememberedStopOrTheFirstAvailable) {
    EXPECT_EQ(ui::focusOnActivation(2, all), 2);
    EXPECT_EQ(ui::focusOnActivation(-1, all), 0);
    EXPECT_EQ(ui::focusOnActivation(0, sliderDisabled), 1);
}

struct PeriodStep {
    std::int32_t write;
    bool stop, start;
    std::int32_t period;
    bool running;
};

TEST(ClickTimer, PeriodRules) {
    ui::TimerState state;
    const PeriodStep steps[] = {
        {50, false, true, 50, true},  // a stopped timer starts
        {50, false, false, 0, true},  // the same period keeps the rhythm
        {30, true, true, 30, true},   // another period restarts
        {0, true, false, 0, false},   // 0 stops
        {-5, false, false, 0, false}, // negative is 0: already stopped
        {20, false, true, 20, true},  //
        {-5, true, false, 0, false},  // negative stops a running timer
    };
    for (const PeriodStep& step : steps) {
        SCOPED_TRACE(step.write);
        const ui::TimerChange change = ui::changePeriod(state, step.write);
        EXPECT_EQ(change.stop, step.stop);
        EXPECT_EQ(change.start, step.start);
        if (change.start) {
            EXPECT_EQ(change.period, step.period);
        }
        EXPECT_EQ(state.running, step.running);
    }
}

TEST(Behaviour, SpeedTextIsOneLine) {
    EXPECT_EQ(ui::speedText(37), "当前速度：37毫秒/次 1秒=1000毫秒");
    EXPECT_EQ(ui::speedText(100), "当前速度：100毫秒/次 1秒=1000毫秒");
}

struct CountCase {
    const char* name;
    const char* caption;
    const char* next;
};

class TestCounter : public testing::TestWithParam<CountCase> {};

TEST_P(TestCounter, AddsOneToTheCaptionReadAsANumber) {
    EXPECT_EQ(ui::nextTestCount(GetParam().caption), GetParam().next);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TestCounter,
    testing::Values(CountCase{"TitleIsNoNumber", "MervoltV1.0", "1"}, CountCase{"Empty", "", "1"},
                    CountCase{"FortyOne", "41", "42"},
                    CountCase{"LastExactCount", "9999999999998", "9999999999999"},
                    CountCase{"IntoExponentForm", "9999999999999", "1e+013"},
                    CountCase{"StallsInExponentForm", "1e+013", "1e+013"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Behaviour, ContactAddressesKeepTheirPathAndQueryOrder) {
    const std::string chat(ui::chatAddress);
    const std::string group(ui::groupAddress);
    EXPECT_EQ(chat.rfind("http://", 0), 0u);
    EXPECT_NE(chat.find("/msgrd?v=3&uin="), std::string::npos);
    EXPECT_EQ(chat.substr(chat.size() - 17), "&site=qq&menu=yes");
    EXPECT_EQ(group.rfind("http://", 0), 0u);
    EXPECT_NE(group.find("/?_wv=1027&k="), std::string::npos);
}

} // namespace
