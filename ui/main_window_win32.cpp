#include "ui/main_window_win32.h"
#include "app/fatal_text.h"
#include "app/process_win32.h"
#include "text/gbk_win32.h"
#include "ui/behaviour_win32.h"
#include "ui/controls_win32.h"
#include "ui/focus.h"
#include "ui/label_win32.h"

#include <commctrl.h>

namespace ui {

namespace {

constexpr wchar_t mainClassName[] = L"ClickerMain";
constexpr wchar_t timerClassName[] = L"ClickerTimer";
constexpr int iconResource = 1;
constexpr DWORD mainStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
// The window is owned by the hidden window, which alone would take its taskbar button away.
constexpr DWORD mainExStyle = WS_EX_APPWINDOW;

MainWindow* current = nullptr;
volatile HWND currentHandle = nullptr;

MainWindow& stateOf(HWND window) {
    return *reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// --- keyboard -------------------------------------------------------------------------------

bool keyDown(int key) {
    return GetKeyState(key) < 0;
}

CycleAvailability tabAvailability(const MainWindow& window) {
    CycleAvailability available{};
    for (std::size_t i = 0; i < tabCycle.size(); ++i) {
        HWND control = window.control(tabCycle[i]);
        available[i] = IsWindowVisible(control) && IsWindowEnabled(control);
    }
    return available;
}

int cyclePositionOf(const MainWindow& window, HWND focus) {
    for (std::size_t i = 0; i < tabCycle.size(); ++i) {
        if (window.control(tabCycle[i]) == focus) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void focusCyclePosition(const MainWindow& window, int position) {
    if (position >= 0) {
        SetFocus(window.control(tabCycle[static_cast<std::size_t>(position)]));
    }
}

// Tab, Shift+Tab, Esc and Enter, taken before the focused control sees them.
bool onPretranslate(MainWindow& window, const MSG& message) {
    if (message.message != WM_KEYDOWN || keyDown(VK_CONTROL) || keyDown(VK_MENU)) {
        return false;
    }
    switch (message.wParam) {
    case VK_TAB: {
        const int from = cyclePositionOf(window, GetFocus());
        focusCyclePosition(window,
                           nextInTabCycle(from, !keyDown(VK_SHIFT), tabAvailability(window)));
        return true;
    }
    case VK_ESCAPE:
        if (keyDown(VK_SHIFT)) {
            return false;
        }
        SendMessageW(window.window, WM_SYSCOMMAND, SC_CLOSE, 0);
        return true;
    case VK_RETURN:
        return !keyDown(VK_SHIFT); // Enter has no meaning here
    }
    return false;
}

// --- events ---------------------------------------------------------------------------------

void onCommand(MainWindow& window, HWND source, WORD code) {
    if (window.eventsSuppressed || code != BN_CLICKED) {
        return;
    }
    if (source == window.control(Control::按钮1)) {
        countTestClick();
    } else if (source == window.control(Control::按钮2)) {
        openContactChat();
    } else if (source == window.control(Control::按钮3)) {
        openContactGroup();
    }
}

// Every scroll report of the trackbar but the closing end-of-tracking one carries a new position.
void onVerticalScroll(MainWindow& window, HWND source, WORD code) {
    if (window.eventsSuppressed || source != window.control(Control::滑块条1) ||
        code == TB_ENDTRACK) {
        return;
    }
    window.sliderPosition = static_cast<std::int32_t>(SendMessageW(source, TBM_GETPOS, 0, 0));
    showSpeed();
}

void onActivate(MainWindow& window, WORD state) {
    if (state == WA_INACTIVE) {
        window.rememberedFocus = cyclePositionOf(window, GetFocus());
    }
}

void onSetFocus(MainWindow& window) {
    focusCyclePosition(window, focusOnActivation(window.rememberedFocus, tabAvailability(window)));
}

void onNcCreate(HWND handle, const CREATESTRUCTW& create) {
    auto* window = static_cast<MainWindow*>(create.lpCreateParams);
    window->window = handle;
    SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
    current = window;
    currentHandle = handle;
    app::programWindowCreated();
}

void onNcDestroy(HWND handle) {
    MainWindow* window = &stateOf(handle);
    SetWindowLongPtrW(handle, GWLP_USERDATA, 0);
    currentHandle = nullptr;
    current = nullptr;
    delete window;
    app::programWindowDestroyed();
}

LRESULT CALLBACK mainWindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        onNcCreate(handle, *reinterpret_cast<const CREATESTRUCTW*>(lParam));
        return DefWindowProcW(handle, message, wParam, lParam);
    }
    if (GetWindowLongPtrW(handle, GWLP_USERDATA) == 0) {
        return DefWindowProcW(handle, message, wParam, lParam);
    }
    MainWindow& window = stateOf(handle);
    switch (message) {
    case app::WM_PRETRANSLATE:
        return onPretranslate(window, *reinterpret_cast<const MSG*>(lParam)) ? 1 : 0;
    case WM_RUN_ON_MAIN: {
        const auto* call = reinterpret_cast<const MainThreadCall*>(lParam);
        call->invoke(call->context);
        return 1;
    }
    case WM_COMMAND:
        onCommand(window, reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        return 0;
    case WM_VSCROLL:
        onVerticalScroll(window, reinterpret_cast<HWND>(lParam), LOWORD(wParam));
        return 0;
    case WM_ACTIVATE:
        onActivate(window, LOWORD(wParam));
        break;
    case WM_SETFOCUS:
        onSetFocus(window);
        return 0;
    case WM_NCDESTROY:
        onNcDestroy(handle);
        return 0;
    }
    return DefWindowProcW(handle, message, wParam, lParam);
}

// The click timer's hidden window: its ticks are the timer's WM_TIMER messages. A timer bound to a
// window keeps ticking inside modal loops and dies with the window.
LRESULT CALLBACK timerWindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == clickTimerId && current != nullptr &&
        !current->eventsSuppressed) {
        clickAtCursor();
        return 0;
    }
    return DefWindowProcW(handle, message, wParam, lParam);
}

// --- building -------------------------------------------------------------------------------

void registerClasses() {
    INITCOMMONCONTROLSEX common{sizeof(common), ICC_BAR_CLASSES};
    InitCommonControlsEx(&common);

    app::registerWindowClass(mainClassName, mainWindowProc,
                             reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    app::registerWindowClass(timerClassName, timerWindowProc);
    registerLabelClass();
}

HWND createChild(const wchar_t* className, const ControlForm& form, DWORD style, HWND parent,
                 HINSTANCE instance) {
    return CreateWindowExW(0, className, text::wideFromGbk(form.text).c_str(),
                           WS_CHILD | WS_CLIPSIBLINGS | style, form.left, form.top, form.width,
                           form.height, parent, nullptr, instance, nullptr);
}

HWND createSlider(HWND parent, HINSTANCE instance) {
    const ControlForm& form = ui::form(Control::滑块条1);
    // Tick marks on the right: neither TBS_LEFT nor TBS_BOTH.
    HWND slider =
        createChild(TRACKBAR_CLASSW, form, TBS_VERT | TBS_AUTOTICKS | WS_TABSTOP, parent, instance);
    const SliderSettings& s = sliderSettings;
    SendMessageW(slider, TBM_SETRANGEMIN, FALSE, s.minimum);
    SendMessageW(slider, TBM_SETRANGEMAX, FALSE, s.maximum);
    SendMessageW(slider, TBM_SETPOS, TRUE, s.position);
    SendMessageW(slider, TBM_SETLINESIZE, 0, clampStep(s.lineStep, s));
    SendMessageW(slider, TBM_SETPAGESIZE, 0, clampStep(s.pageStep, s));
    SendMessageW(slider, TBM_SETTICFREQ, clampStep(s.tickFrequency, s), 0);
    return slider;
}

HWND createControl(Control control, HWND parent, HINSTANCE instance) {
    const ControlForm& form = ui::form(control);
    switch (form.kind) {
    case Kind::label:
        return createLabel(parent, control, instance);
    case Kind::pushButton:
        return createChild(L"BUTTON", form,
                           BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE | WS_TABSTOP,
                           parent, instance);
    case Kind::timer:
        return createChild(timerClassName, form, 0, parent, instance);
    case Kind::slider:
        return createSlider(parent, instance);
    }
    return nullptr;
}

void setIcons(MainWindow& window, HINSTANCE instance) {
    const auto load = [&](int metricX, int metricY) {
        return Icon(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(iconResource),
                                                  IMAGE_ICON, GetSystemMetrics(metricX),
                                                  GetSystemMetrics(metricY), 0)));
    };
    window.largeIcon = load(SM_CXICON, SM_CYICON);
    window.smallIcon = load(SM_CXSMICON, SM_CYSMICON);
    SendMessageW(window.window, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(window.largeIcon.get()));
    SendMessageW(window.window, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(window.smallIcon.get()));
}

HWND createMainWindow(HINSTANCE instance) {
    auto* state = new MainWindow;
    state->caption = windowCaption;
    const Point origin =
        centredOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    HWND window = CreateWindowExW(
        mainExStyle, mainClassName, text::wideFromGbk(windowCaption).c_str(), mainStyle, origin.x,
        origin.y, windowWidth, windowHeight, app::hiddenWindow(), nullptr, instance, state);
    if (window == nullptr) {
        app::reportFatalError(app::mainWindowFailed, 0); // ends the process
    }
    RECT outer;
    GetWindowRect(window, &outer);
    if (outer.right - outer.left != windowWidth || outer.bottom - outer.top != windowHeight) {
        SetWindowPos(window, nullptr, 0, 0, windowWidth, windowHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return window;
}

} // namespace

MainWindow* mainWindow() {
    return current;
}

HWND mainWindowHandle() {
    return currentHandle;
}

void loadMainWindow() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    registerClasses();

    HWND handle = createMainWindow(instance); // events stay suppressed while building
    MainWindow& window = stateOf(handle);
    setIcons(window, instance);
    HGDIOBJ font = GetStockObject(DEFAULT_GUI_FONT);
    SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

    // Created in the reverse of the form's order, then stacked in the form's order.
    for (std::size_t i = controlCount; i-- > 0;) {
        const auto control = static_cast<Control>(i);
        HWND child = createControl(control, handle, instance);
        window.controls[i] = child;
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    HWND above = HWND_TOP;
    for (std::size_t i = 0; i < controlCount; ++i) {
        SetWindowPos(window.controls[i], above, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        above = window.controls[i];
    }
    for (std::size_t i = 0; i < controlCount; ++i) {
        if (controls[i].visible) {
            ShowWindow(window.controls[i], SW_SHOWNA);
        }
    }
    window.eventsSuppressed = false;

    installHotkeys();
    // The created handler may have closed the window.
    if (IsWindow(handle)) {
        ShowWindow(handle, SW_SHOWNORMAL);
        UpdateWindow(handle);
    }
}

} // namespace ui
