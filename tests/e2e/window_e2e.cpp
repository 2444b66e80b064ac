// The main window: its place, its controls, its keyboard and the ways it ends.

#include "tests/e2e/e2e_support.h"

#include <commctrl.h>

namespace {

using namespace e2e;
using namespace std::chrono_literals;

TEST_F(ClickerTest, WindowIsCentredFixedAndCaptioned) {
    const RECT rect = windowRect(window);
    EXPECT_EQ(rect.right - rect.left, 239);
    EXPECT_EQ(rect.bottom - rect.top, 201);
    EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - 239) / 2);
    EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - 201) / 2);

    const auto style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME) << "the frame must not be sizeable";
    EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_APPWINDOW) << "taskbar button";
    EXPECT_NE(GetWindow(window, GW_OWNER), nullptr) << "owned by the hidden window";
    EXPECT_EQ(caption(), L"MervoltV1.0");
    // The icons cannot be read from here: Wine does not carry WM_GETICON across processes. The
    // suite's screenshot shows the small one in the title bar.
}

struct ControlRow {
    Control control;
    const wchar_t* className;
    RECT place; // left, top, right, bottom in the client area
    bool visible;
    const wchar_t* text;
};

// The children, top of the stacking order first.
const ControlRow form[] = {
    {标签4, L"ClickerLabel", {208, 152, 224, 168}, true, L"慢"},
    {标签3, L"ClickerLabel", {208, 8, 224, 24}, true, L"快"},
    {按钮3, L"Button", {88, 136, 160, 168}, true, L"加入Q群"},
    {按钮2, L"Button", {8, 136, 80, 168}, true, L"联系Tolvane"},
    {按钮1, L"Button", {6, 96, 160, 128}, true, L"测速按钮"},
    {时钟1, L"ClickerTimer", {16, 176, 56, 208}, false, L""},
    {标签2, L"ClickerLabel", {29, 56, 136, 96}, true, L"1秒=1000毫秒\r\n\r\nF2开始  F3停止"},
    {标签1, L"ClickerLabel", {5, 6, 160, 96}, true, L"当前速度：\r\n\r\n0毫秒/次 "},
    {滑块条1, L"msctls_trackbar32", {165, -8, 232, 168}, true, L""},
};

TEST_F(ClickerTest, ControlsStandAsTheFormSetsThem) {
    for (const ControlRow& row : form) {
        SCOPED_TRACE(testing::Message() << "control " << row.control);
        HWND child = control(row.control);
        EXPECT_EQ(className(child), row.className);
        const RECT place = placeInParent(child);
        EXPECT_EQ(place.left, row.place.left);
        EXPECT_EQ(place.top, row.place.top);
        EXPECT_EQ(place.right, row.place.right);
        EXPECT_EQ(place.bottom, row.place.bottom);
        EXPECT_EQ(IsWindowVisible(child) != FALSE, row.visible);
        EXPECT_TRUE(IsWindowEnabled(child));
        EXPECT_EQ(windowText(child), row.text);
    }
    const auto buttonStyle = GetWindowLongW(control(按钮1), GWL_STYLE);
    EXPECT_EQ(buttonStyle & 0xF, BS_PUSHBUTTON) << "not a default button";
    EXPECT_TRUE(buttonStyle & BS_MULTILINE);
    EXPECT_TRUE(buttonStyle & WS_TABSTOP);
}

TEST_F(ClickerTest, SliderRunsFromOneAtTheTopToOneHundred) {
    HWND slider = control(滑块条1);
    EXPECT_EQ(SendMessageW(slider, TBM_GETRANGEMIN, 0, 0), 1);
    EXPECT_EQ(SendMessageW(slider, TBM_GETRANGEMAX, 0, 0), 100);
    EXPECT_EQ(SendMessageW(slider, TBM_GETPOS, 0, 0), 1);
    EXPECT_EQ(SendMessageW(slider, TBM_GETLINESIZE, 0, 0), 1);
    EXPECT_EQ(SendMessageW(slider, TBM_GETPAGESIZE, 0, 0), 5);
    EXPECT_EQ(SendMessageW(slider, TBM_GETNUMTICS, 0, 0), 100) << "a tick at every position";
    const auto style = GetWindowLongW(slider, GWL_STYLE);
    EXPECT_TRUE(style & TBS_VERT);
    EXPECT_TRUE(style & TBS_AUTOTICKS);
    EXPECT_FALSE(style & (TBS_LEFT | TBS_BOTH)) << "ticks on the right";
    EXPECT_TRUE(style & WS_TABSTOP);
    EXPECT_FALSE(style & WS_BORDER);
}

TEST_F(ClickerTest, TabCyclesThroughSliderAndButtonsBothWays) {
    ASSERT_TRUE(waitUntil([&] { return focusOf(window) == control(滑块条1); }, 3s))
        << "the slider has the focus at start";
    for (Control next : {按钮1, 按钮2, 按钮3, 滑块条1}) {
        pressKey(VK_TAB);
        EXPECT_TRUE(waitUntil([&] { return focusOf(window) == control(next); }, 2s)) << next;
    }
    for (Control previous : {按钮3, 按钮2, 按钮1, 滑块条1}) {
        pressChord({VK_SHIFT}, VK_TAB);
        EXPECT_TRUE(waitUntil([&] { return focusOf(window) == control(previous); }, 2s))
            << previous;
    }
}

TEST_F(ClickerTest, FocusComesBackToTheControlThatHadIt) {
    pressKey(VK_TAB);
    ASSERT_TRUE(waitUntil([&] { return focusOf(window) == control(按钮1); }, 2s));
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100,
                                 nullptr, nullptr, nullptr, nullptr);
    activate(other);
    activate(window);
    EXPECT_TRUE(waitUntil([&] { return focusOf(window) == control(按钮1); }, 2s));
    DestroyWindow(other);
}

struct SliderKey {
    const char* name;
    WORD key;
    int position;
};

TEST_F(ClickerTest, KeysMoveTheFocusedSlider) {
    const SliderKey steps[] = {
        {"Down", VK_DOWN, 2}, {"PageDown", VK_NEXT, 7}, {"Up", VK_UP, 6},
        {"End", VK_END, 100}, {"PageUp", VK_PRIOR, 95}, {"Home", VK_HOME, 1},
    };
    for (const SliderKey& step : steps) {
        pressKey(step.key);
        EXPECT_TRUE(waitUntil([&] { return sliderPosition() == step.position; }, 2s))
            << step.name << " gave " << sliderPosition();
    }
}

TEST_F(ClickerTest, EnterDoesNothingAndShiftEscDoesNotClose) {
    pressKey(VK_RETURN);
    pressChord({VK_SHIFT}, VK_ESCAPE);
    sleep(300ms);
    EXPECT_TRUE(clicker.running());
    EXPECT_EQ(caption(), L"MervoltV1.0");
    EXPECT_EQ(sliderPosition(), 1);
}

TEST_F(ClickerTest, EscClosesWithExitCodeZero) {
    pressKey(VK_ESCAPE);
    EXPECT_EQ(clicker.waitForExit(10s), 0u);
}

TEST_F(ClickerTest, AltF4ClosesWithExitCodeZero) {
    // Wine sets the Alt flag of the next key only for the left or right Alt key, not VK_MENU.
    pressChord({VK_LMENU}, VK_F4);
    EXPECT_EQ(clicker.waitForExit(10s), 0u);
}

TEST_F(ClickerTest, CloseButtonClosesWithExitCodeZero) {
    const RECT rect = windowRect(window);
    const int frame = GetSystemMetrics(SM_CXFIXEDFRAME);
    const int button = GetSystemMetrics(SM_CXSIZE);
    moveMouse(rect.right - frame - button / 2, rect.top + frame + GetSystemMetrics(SM_CYSIZE) / 2);
    leftButton(true);
    leftButton(false);
    EXPECT_EQ(clicker.waitForExit(10s), 0u);
}

TEST_F(ClickerTest, MinimisesAndComesBack) {
    ShowWindow(window, SW_MINIMIZE);
    EXPECT_TRUE(waitUntil([&] { return IsIconic(window) != FALSE; }, 2s));
    ShowWindow(window, SW_RESTORE);
    EXPECT_TRUE(waitUntil([&] { return IsIconic(window) == FALSE; }, 2s));
    EXPECT_EQ(windowRect(window).right - windowRect(window).left, 239);
}

TEST_F(ClickerTest, TwoCopiesRunSideBySide) {
    Process second = start(besideDriver(L"clicker.exe"));
    HWND secondWindow = waitForWindow(second.id(), L"ClickerMain");
    ASSERT_NE(secondWindow, nullptr);
    EXPECT_NE(secondWindow, window);
    EXPECT_TRUE(clicker.running());
    PostMessageW(secondWindow, WM_CLOSE, 0, 0);
    EXPECT_EQ(second.waitForExit(10s), 0u);
    EXPECT_EQ(closeAndWait(), 0u);
}

TEST_F(ClickerTest, ScreenshotOfTheWindow) {
    sleep(300ms);
    EXPECT_TRUE(saveScreenshot(window, besideDriver(L"window.bmp")));
}

// --- the fatal-error report ------------------------------------------------------------------

struct FatalCase {
    const char* name;
    const wchar_t* arguments;
};

class FatalError : public testing::TestWithParam<FatalCase> {};

TEST_P(FatalError, ShowsTheBoxThenEndsWithMinusOneWithoutExitRoutines) {
    const std::wstring folder = scratchFolder(L"fatal");
    const std::wstring marker = folder + L"\\exit-routine-ran";
    Process probe = start(besideDriver(L"fatal_probe.exe"),
                          std::wstring(GetParam().arguments) + L" \"" + marker + L"\"");
    HWND box = waitForWindow(probe.id(), L"#32770");
    ASSERT_NE(box, nullptr) << "no message box";
    EXPECT_EQ(windowText(box), L"错误");
    wchar_t text[512] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 512);
    EXPECT_STREQ(
        text, L"运行时出错!\r\n\r\n错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n");
    EXPECT_NE(GetDlgItem(box, IDOK), nullptr);
    EXPECT_EQ(GetDlgItem(box, IDCANCEL), nullptr) << "a single OK button";
    SendMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    EXPECT_EQ(probe.waitForExit(10s), static_cast<DWORD>(-1));
    EXPECT_EQ(GetFileAttributesW(marker.c_str()), INVALID_FILE_ATTRIBUTES)
        << "the exit routine ran";
}

INSTANTIATE_TEST_SUITE_P(Threads, FatalError,
                         testing::Values(FatalCase{"OnAWorkerThread", L"worker"},
                                         FatalCase{"OnTheMainThread", L"main"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FatalProbe, RunsItsExitRoutineWhenClosedNormallyInTheProgramFolder) {
    const std::wstring folder = scratchFolder(L"fatal-normal");
    const std::wstring marker = folder + L"\\exit-routine-ran";
    // Started from another folder: start-up makes the program's own folder current.
    Process probe = start(besideDriver(L"fatal_probe.exe"), L"none \"" + marker + L"\"", folder);
    HWND window = waitForWindow(probe.id(), L"ClickerMain");
    ASSERT_NE(window, nullptr);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(probe.waitForExit(10s), 0u);
    std::wstring current(MAX_PATH, L'\0');
    HANDLE file = CreateFileW(marker.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << "the exit routine did not run";
    DWORD read = 0;
    ReadFile(file, current.data(), MAX_PATH * sizeof(wchar_t), &read, nullptr);
    CloseHandle(file);
    current.resize(read / sizeof(wchar_t));
    const std::wstring programFolder = besideDriver(L"");
    EXPECT_EQ(current, programFolder.substr(0, programFolder.size() - 1));
}

} // namespace
