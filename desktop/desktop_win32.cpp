#include "desktop/desktop_win32.h"

#include "desktop/click_sequence.h"

#include <string>

#include <windows.h>

#include <shellapi.h>

namespace desktop {

namespace {

POINT lastPointer{0, 0};

POINT readPointer() {
    POINT point;
    if (GetCursorPos(&point)) {
        lastPointer = point;
    }
    return lastPointer;
}

} // namespace

std::int32_t cursorX() {
    return readPointer().x;
}

std::int32_t cursorY() {
    return readPointer().y;
}

void injectClick(std::int32_t x, std::int32_t y, std::int32_t kind) {
    // A refused move or dropped events leave the tick without effect; the next one tries again.
    (void)SetCursorPos(x, y);
    for (const std::uint32_t event : buttonEvents(kind)) {
        mouse_event(event, static_cast<DWORD>(x), static_cast<DWORD>(y), 0, 0);
    }
}

void openWebAddress(std::string_view address) {
    const std::string copy(address);
    // Only the parent for whatever message the shell itself may show.
    HWND owner = FindWindowExA(nullptr, nullptr, nullptr, "Microsoft Internet Explorer");
    // The shell's answer is not looked at: what it cannot open, it reports itself.
    (void)ShellExecuteA(owner, "open", copy.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

} // namespace desktop
