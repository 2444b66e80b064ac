// The working clicker: F2 and F3 from anywhere, clicks at the pointer at the slider's interval,
// the speed label, the test counter and the contact pages.

#include "tests/e2e/e2e_support.h"

#include <commctrl.h>

#include <cwchar>
#include <fstream>
#include <sstream>

namespace {

using namespace e2e;
using namespace std::chrono_literals;

class Clicking : public ClickerTest {
  protected:
    // The caption as a count; -1 while it is no number (the title).
    long long count() const {
        const std::wstring text = caption();
        if (text.empty() || text.find_first_not_of(L"0123456789") != std::wstring::npos) {
            return -1;
        }
        return std::wcstoll(text.c_str(), nullptr, 10);
    }
    bool sliderEnabled() const { return IsWindowEnabled(control(滑块条1)) != FALSE; }
    void pointAt(POINT point) { moveMouse(point.x, point.y); }
    // Whether the caption still changes: clicks are landing on the test button.
    bool captionChanges(std::chrono::milliseconds within = 400ms) const {
        const std::wstring before = caption();
        return waitUntil([&] { return caption() != before; }, within);
    }
    void start() {
        pressKey(VK_F2);
        ASSERT_TRUE(waitUntil([&] { return !sliderEnabled(); }, 3s)) << "F2 did not start";
    }
    void stop() {
        pressKey(VK_F3);
        ASSERT_TRUE(waitUntil([&] { return sliderEnabled(); }, 3s)) << "F3 did not stop";
    }
    // Clicks counted over the time, with clicking running throughout.
    long long clicksOver(std::chrono::milliseconds duration) {
        const long long before = count();
        sleep(duration);
        return count() - before;
    }
};

TEST_F(Clicking, F2CountsClicksOnTheTestButtonUntilF3) {
    pointAt(centreOf(按钮1));
    start();
    EXPECT_TRUE(waitUntil([&] { return count() >= 1; }, 3s)) << "the first click makes it 1";
    EXPECT_TRUE(waitUntil([&] { return count() >= 20; }, 5s)) << "counting goes on";
    EXPECT_FALSE(sliderEnabled()) << "the slider is locked while clicking";
    stop();
    sleep(200ms);
    EXPECT_FALSE(captionChanges()) << "F3 stopped the clicks";
    EXPECT_TRUE(sliderEnabled());
}

TEST_F(Clicking, F3BeforeF2AndF3TwiceChangeNothing) {
    pointAt(centreOf(按钮1));
    pressKey(VK_F3);
    pressKey(VK_F3);
    EXPECT_FALSE(captionChanges());
    EXPECT_EQ(caption(), L"MervoltV1.0");
    EXPECT_TRUE(sliderEnabled());
}

TEST_F(Clicking, F2TwiceKeepsClickingAndF2AfterF3Resumes) {
    for (int i = 0; i < 7; ++i) {
        pressKey(VK_DOWN);
    }
    ASSERT_TRUE(waitUntil([&] { return sliderPosition() == 8; }, 2s));
    pointAt(centreOf(按钮1));
    start();
    pressKey(VK_F2);
    EXPECT_FALSE(sliderEnabled());
    EXPECT_TRUE(captionChanges()) << "a second F2 does not stop the clicks";
    stop();
    start();
    EXPECT_TRUE(captionChanges()) << "clicking resumes";
    stop();
}

TEST_F(Clicking, ClicksLandWhereThePointerIs) {
    RecorderWindow recorder(20, 20, 150, 150);
    pointAt(recorder.centre());
    start();
    EXPECT_TRUE(waitUntil([&] { return recorder.count(WM_LBUTTONUP) >= 5; }, 5s));
    stop();
    EXPECT_EQ(caption(), L"MervoltV1.0") << "no click reached the test button";
    const auto messages = recorder.messages();
    ASSERT_GE(messages.size(), 2u);
    EXPECT_EQ(messages.front(), static_cast<UINT>(WM_LBUTTONDOWN));
    EXPECT_EQ(recorder.count(WM_RBUTTONDOWN), 0u);
}

TEST_F(Clicking, F2WorksWhileAnotherProgramHasTheFocus) {
    RecorderWindow recorder(20, 20, 150, 150);
    activate(recorder.handle());
    ASSERT_NE(GetForegroundWindow(), window);
    pointAt(recorder.centre());
    start();
    EXPECT_TRUE(waitUntil([&] { return recorder.count(WM_LBUTTONUP) >= 3; }, 5s));
    stop();
}

struct ModifierCase {
    const char* name;
    WORD modifier;
};

class ModifiedF2 : public Clicking, public testing::WithParamInterface<ModifierCase> {};

TEST_P(ModifiedF2, StartsNothing) {
    pointAt(centreOf(按钮1));
    pressChord({GetParam().modifier}, VK_F2);
    sleep(200ms);
    EXPECT_TRUE(sliderEnabled());
    EXPECT_EQ(caption(), L"MervoltV1.0");
}

INSTANTIATE_TEST_SUITE_P(Modifiers, ModifiedF2,
                         testing::Values(ModifierCase{"Ctrl", VK_CONTROL},
                                         ModifierCase{"Alt", VK_LMENU},
                                         ModifierCase{"Shift", VK_SHIFT},
                                         ModifierCase{"LeftWindows", VK_LWIN}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Clicking, RightWindowsKeyDoesNotCountAsAModifier) {
    pointAt(centreOf(按钮1));
    pressChord({VK_RWIN}, VK_F2);
    EXPECT_TRUE(waitUntil([&] { return !sliderEnabled(); }, 3s));
    stop();
}

TEST_F(Clicking, F3WithAModifierDoesNotStop) {
    pointAt(centreOf(按钮1));
    start();
    pressChord({VK_CONTROL}, VK_F3);
    EXPECT_FALSE(sliderEnabled());
    EXPECT_TRUE(captionChanges());
    stop();
}

TEST_F(Clicking, HoldingF2StartsOnceAndKeepsClicking) {
    pointAt(centreOf(按钮1));
    pressKey(VK_F2, 1000ms);
    EXPECT_FALSE(sliderEnabled());
    EXPECT_TRUE(captionChanges());
    stop();
}

TEST_F(Clicking, SliderStepsShowTheSpeed) {
    const struct {
        WORD key;
        int position;
    } steps[] = {{VK_DOWN, 2}, {VK_NEXT, 7}, {VK_END, 100}, {VK_HOME, 1}};
    for (const auto& step : steps) {
        pressKey(step.key);
        const std::wstring expected =
            L"当前速度：" + std::to_wstring(step.position) + L"毫秒/次 1秒=1000毫秒";
        EXPECT_TRUE(waitUntil([&] { return windowText(control(标签1)) == expected; }, 2s))
            << step.position << ": " << testing::PrintToString(windowText(control(标签1)));
    }
}

TEST_F(Clicking, DraggingTheThumbShowsEverySpeedOnTheWay) {
    const RECT thumb = sliderThumb();
    const int x = (thumb.left + thumb.right) / 2;
    const int y = (thumb.top + thumb.bottom) / 2;
    moveMouse(x, y);
    leftButton(true);
    std::wstring seenWhileDragging;
    for (int step = 1; step <= 8; ++step) {
        moveMouse(x, y + step * 20);
        if (step == 4) {
            seenWhileDragging = windowText(control(标签1));
        }
    }
    moveMouse(x, y + 400);
    leftButton(false);
    EXPECT_EQ(seenWhileDragging.rfind(L"当前速度：", 0), 0u) << "the label follows the drag";
    EXPECT_TRUE(waitUntil([&] { return sliderPosition() == 100; }, 2s));
    EXPECT_TRUE(waitUntil(
        [&] { return windowText(control(标签1)) == L"当前速度：100毫秒/次 1秒=1000毫秒"; }, 2s));
}

struct CadenceCase {
    const char* name;
    WORD sliderKey; // 0: the slider stays at 1
    int position;
    std::chrono::milliseconds over;
    long long fewest, most;
};

class Cadence : public Clicking, public testing::WithParamInterface<CadenceCase> {};

TEST_P(Cadence, ClicksComeAtTheSlidersInterval) {
    if (GetParam().sliderKey != 0) {
        pressKey(GetParam().sliderKey);
    }
    ASSERT_TRUE(waitUntil([&] { return sliderPosition() == GetParam().position; }, 2s));
    pointAt(centreOf(按钮1));
    start();
    ASSERT_TRUE(waitUntil([&] { return count() >= 1; }, 3s));
    const long long clicks = clicksOver(GetParam().over);
    stop();
    EXPECT_GE(clicks, GetParam().fewest);
    EXPECT_LE(clicks, GetParam().most);
}

// A busy machine may deliver a few ticks late, never more than the timer gives. 1 ms runs as the
// message timer's 10 ms floor.
INSTANTIATE_TEST_SUITE_P(Ends, Cadence,
                         testing::Values(CadenceCase{"BottomEvery100Ms", VK_END, 100, 2000ms, 15,
                                                     21},
                                         CadenceCase{"TopAtTheTimersFloor", 0, 1, 1000ms, 40, 110}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Clicking, StormOfPressesEndsStoppedWithoutLeaks) {
    HANDLE process = clicker.handle();
    DWORD handlesBefore = 0;
    GetProcessHandleCount(process, &handlesBefore);
    pointAt(centreOf(按钮1));
    for (int i = 0; i < 50; ++i) {
        pressKey(VK_F2);
        pressKey(VK_F3);
    }
    ASSERT_TRUE(waitUntil([&] { return sliderEnabled(); }, 3s));
    sleep(200ms);
    EXPECT_FALSE(captionChanges());
    DWORD handlesAfter = 0;
    GetProcessHandleCount(process, &handlesAfter);
    EXPECT_LE(handlesAfter, handlesBefore + 10) << "thread handles are closed";
    EXPECT_TRUE(clicker.running());
}

TEST_F(Clicking, F2AndF3TogetherLeaveAConsistentState) {
    pointAt(centreOf(按钮1));
    for (int i = 0; i < 8; ++i) {
        keyDown(VK_F2);
        keyDown(VK_F3);
        sleep(150ms);
        keyUp(VK_F2);
        keyUp(VK_F3);
        sleep(250ms);
        const bool locked = !sliderEnabled();
        EXPECT_EQ(locked, captionChanges()) << "press " << i << ": locked exactly when clicking";
        stop();
    }
}

TEST_F(Clicking, ClosingWhileClickingEndsWithExitCodeZero) {
    pointAt(centreOf(按钮1));
    start();
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(clicker.waitForExit(1000ms), 0u);
}

TEST(ClosingRace, F2AtTheInstantOfClosingStillEndsWithExitCodeZero) {
    // The start action may reach the window while it is being destroyed: it then does nothing.
    for (int i = 0; i < 5; ++i) {
        Process clicker = start(besideDriver(L"clicker.exe"));
        HWND window = waitForWindow(clicker.id(), L"ClickerMain");
        ASSERT_NE(window, nullptr);
        WaitForInputIdle(clicker.handle(), 5000);
        keyDown(VK_F2);
        sleep(std::chrono::milliseconds(5 * i));
        PostMessageW(window, WM_CLOSE, 0, 0);
        sleep(150ms);
        keyUp(VK_F2);
        EXPECT_EQ(clicker.waitForExit(5s), 0u) << "round " << i;
        sleep(150ms);
    }
}

// --- the contact pages -------------------------------------------------------------------------

std::string recordedAddresses() {
    std::ifstream in(besideDriver(L"urls.txt").c_str(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST_F(Clicking, ContactButtonsOpenTheirPagesOncePerClick) {
    DeleteFileW(besideDriver(L"urls.txt").c_str());
    const std::string chat =
        "http://" CLICKER_CHAT_HOST "/msgrd?v=3&uin=" CLICKER_ACCOUNT "&site=qq&menu=yes\n";
    const std::string group = "http://" CLICKER_GROUP_HOST "/?_wv=1027&k=" CLICKER_GROUP_KEY "\n";
    for (Control button : {按钮2, 按钮2, 按钮3}) {
        const std::size_t before = recordedAddresses().size();
        pointAt(centreOf(button));
        leftButton(true);
        leftButton(false);
        ASSERT_TRUE(waitUntil([&] { return recordedAddresses().size() > before; }, 10s))
            << "the shell opened nothing";
    }
    sleep(500ms);
    EXPECT_EQ(recordedAddresses(), chat + chat + group);
}

// --- click kinds --------------------------------------------------------------------------------

struct KindCase {
    const char* name;
    int kind;
    std::vector<UINT> messages;
};

class ClickKinds : public testing::TestWithParam<KindCase> {};

TEST_P(ClickKinds, ArriveAsTheirButtonMessagesInOrder) {
    RecorderWindow recorder(300, 300, 150, 150);
    const POINT at = recorder.centre();
    Process probe = start(besideDriver(L"click_probe.exe"), std::to_wstring(GetParam().kind) +
                                                                L" " + std::to_wstring(at.x) +
                                                                L" " + std::to_wstring(at.y));
    ASSERT_EQ(probe.waitForExit(10s), 0u);
    EXPECT_TRUE(
        waitUntil([&] { return recorder.messages().size() >= GetParam().messages.size(); }, 3s));
    sleep(200ms);
    EXPECT_EQ(recorder.messages(), GetParam().messages);
    POINT pointer;
    GetCursorPos(&pointer);
    EXPECT_EQ(pointer.x, at.x);
    EXPECT_EQ(pointer.y, at.y);
}

// The recorder's class has no CS_DBLCLKS: a double click arrives as two down/up pairs.
INSTANTIATE_TEST_SUITE_P(
    Kinds, ClickKinds,
    testing::Values(
        KindCase{"SingleLeft", 0, {WM_LBUTTONDOWN, WM_LBUTTONUP}},
        KindCase{"DoubleLeft", 1, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}},
        KindCase{"SingleRight", 2, {WM_RBUTTONDOWN, WM_RBUTTONUP}},
        KindCase{"DoubleRight", 3, {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP}},
        KindCase{"OtherIsSingleLeft", 7, {WM_LBUTTONDOWN, WM_LBUTTONUP}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
