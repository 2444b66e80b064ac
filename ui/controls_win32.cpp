#include "ui/controls_win32.h"

#include "app/fatal_text.h"
#include "app/process_win32.h"
#include "text/gbk_win32.h"
#include "ui/main_window_win32.h"

#include <commctrl.h>

namespace ui {

namespace {

// Runs `call` on the main thread: directly there, else through the main window while the caller
// waits. False when the main window is gone, so the call did not run.
template <class Call> bool callOnMainThread(Call&& call) {
    if (app::onMainThread()) {
        call();
        return true;
    }
    HWND window = mainWindowHandle();
    if (window == nullptr) {
        return false;
    }
    MainThreadCall message{[](void* context) { (*static_cast<Call*>(context))(); }, &call};
    return SendMessageW(window, WM_RUN_ON_MAIN, 0, reinterpret_cast<LPARAM>(&message)) != 0;
}

MainWindow& requireWindow() {
    MainWindow* window = mainWindow();
    if (window == nullptr) {
        app::reportFatalError(app::windowNotLoaded, 0);
    }
    return *window;
}

// An operation that needs the main window: fatal when it is gone.
template <class Operation> void onMainWindow(Operation&& operation) {
    if (!callOnMainThread([&] { operation(requireWindow()); })) {
        app::reportFatalError(app::windowNotLoaded, 0);
    }
}

} // namespace

std::string readCaption() {
    std::string caption;
    onMainWindow([&](MainWindow& window) { caption = window.caption; });
    return caption;
}

void writeCaption(std::string_view caption) {
    onMainWindow([&](MainWindow& window) {
        window.caption = caption;
        SetWindowTextW(window.window, text::wideFromGbk(caption).c_str());
    });
}

void writeLabelText(Control label, std::string_view text) {
    onMainWindow([&](MainWindow& window) {
        // The label repaints itself whole when its text changes.
        SetWindowTextW(window.control(label), text::wideFromGbk(text).c_str());
    });
}

void writeSliderDisabled(bool disabled) {
    // Unlike the other operations this one is harmless without the window: it then does nothing.
    (void)callOnMainThread([&] {
        if (MainWindow* window = mainWindow()) {
            EnableWindow(window->control(Control::滑块条1), disabled ? FALSE : TRUE);
        }
    });
}

std::int32_t readSliderPosition() {
    std::int32_t position = 0;
    onMainWindow([&](MainWindow& window) { position = window.sliderPosition; });
    return position;
}

void writeTimerPeriod(std::int32_t period) {
    onMainWindow([&](MainWindow& window) {
        const TimerChange change = changePeriod(window.timer, period);
        HWND timerWindow = window.control(Control::时钟1);
        if (change.stop) {
            KillTimer(timerWindow, clickTimerId);
        }
        if (change.start) {
            // Refused or not, the timer counts as running; message timers run at 10 ms at the
            // fastest.
            (void)SetTimer(timerWindow, clickTimerId, static_cast<UINT>(change.period), nullptr);
        }
    });
}

void runAction(void (*action)()) {
    // A closed window makes the action a no-op: it can only arrive in the instant of closing.
    (void)callOnMainThread([&] {
        if (mainWindow() != nullptr) {
            action();
        }
    });
}

} // namespace ui
