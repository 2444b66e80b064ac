#pragma once
// The state of the one main window, shared by its window procedures and the control operations.

#include "ui/click_timer.h"
#include "ui/form.h"

#include <array>
#include <string>

#include <windows.h>

namespace ui {

// Owns an icon loaded for the window.
class Icon {
  public:
    Icon() = default;
    explicit Icon(HICON icon) : icon_(icon) {}
    Icon(Icon&& other) noexcept : icon_(other.icon_) { other.icon_ = nullptr; }
    Icon& operator=(Icon&& other) noexcept {
        std::swap(icon_, other.icon_);
        return *this;
    }
    Icon(const Icon&) = delete;
    Icon& operator=(const Icon&) = delete;
    ~Icon() {
        if (icon_ != nullptr) {
            DestroyIcon(icon_);
        }
    }
    HICON get() const { return icon_; }

  private:
    HICON icon_ = nullptr;
};

struct MainWindow {
    HWND window = nullptr;
    std::array<HWND, controlCount> controls{};
    std::string caption;
    std::int32_t sliderPosition = 1; // last taken from the control at a scroll notification
    TimerState timer;
    bool eventsSuppressed = true;
    int rememberedFocus = -1; // position in the tab cycle when last deactivated
    Icon largeIcon;
    Icon smallIcon;

    HWND control(Control which) const { return controls[static_cast<std::size_t>(which)]; }
};

// The main window while it exists, else null. Main thread only.
MainWindow* mainWindow();

// The main window's handle while it exists, else null; read by other threads.
HWND mainWindowHandle();

// The private message that carries a call to the main thread: lParam points to a MainThreadCall;
// the main window answers it with 1 once the call has run.
inline constexpr UINT WM_RUN_ON_MAIN = WM_APP + 2;
struct MainThreadCall {
    void (*invoke)(void* context);
    void* context;
};

// The timer id of the click timer on its hidden child window.
inline constexpr UINT_PTR clickTimerId = 1;

} // namespace ui
