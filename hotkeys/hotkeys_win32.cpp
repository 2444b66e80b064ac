#include "hotkeys/hotkeys_win32.h"

#include <memory>
#include <windows.h>

namespace hotkeys {

namespace {

// For a timer without a window the window system ignores this id and returns one of its own.
constexpr UINT_PTR pollTimerId = 16661;

HotkeyRegistry* registry = nullptr;
UINT_PTR pollTimer = 0; // what SetTimer returned; 0 while not polling

// The routine of the direct call being made. The trampoline takes it before anything else, so a
// tick nested in the routine (inside a modal loop) may set it again for its own call.
HotkeyRoutine directRoutine = nullptr;

LRESULT CALLBACK callDirectRoutine(HWND idInWindowPlace, UINT, WPARAM, LPARAM) {
    const HotkeyRoutine routine = directRoutine;
    routine(int32_t(reinterpret_cast<INT_PTR>(idInWindowPlace)));
    return 0;
}

struct ThreadStart {
    HotkeyRoutine routine;
    int32_t id;
};

DWORD WINAPI runOnOwnThread(void* parameter) {
    const std::unique_ptr<ThreadStart> start(static_cast<ThreadStart*>(parameter));
    start->routine(start->id);
    return 0;
}

void fire(HotkeyRoutine routine, int32_t id, int32_t callDirectly) {
    if (callDirectly != 0) {
        directRoutine = routine;
        // Called as a window procedure with the id in the window's place; the result means nothing.
        CallWindowProcA(callDirectRoutine, reinterpret_cast<HWND>(INT_PTR(id)), 0, 0, 0);
        return;
    }
    auto start = std::make_unique<ThreadStart>(ThreadStart{routine, id});
    const HANDLE thread = CreateThread(nullptr, 0, runOnOwnThread, start.get(), 0, nullptr);
    if (thread == nullptr) {
        return; // this firing is lost; the block is released here
    }
    start.release(); // the thread releases it
    // The thread is never waited for. A failure to close the handle changes nothing here.
    CloseHandle(thread);
}

void CALLBACK pollHotkeys(HWND, UINT, UINT_PTR, DWORD) {
    pollOnce();
}

} // namespace

void createRegistry() {
    registry = new HotkeyRegistry;
}

void stopPolling() {
    if (pollTimer != 0) {
        KillTimer(nullptr, pollTimer); // a timer already gone needs nothing more
        pollTimer = 0;
    }
}

void freeRegistry() {
    delete registry;
    registry = nullptr;
}

int32_t registerHotkey(HotkeyRoutine callback, int32_t keyCode, int32_t modifiers,
                       int32_t secondKey, int32_t pollPeriodMs, int32_t callDirectly) {
    if (registry == nullptr) {
        return 0;
    }
    const Registration registration = registry->registerHotkey(
        callback, keyCode, modifiers, secondKey, pollPeriodMs, callDirectly);
    if (registration.startTimerPeriodMs > 0) {
        // If the timer cannot be made, the id still stands and nothing ever fires.
        pollTimer =
            SetTimer(nullptr, pollTimerId, UINT(registration.startTimerPeriodMs), pollHotkeys);
    }
    return registration.id;
}

void pollOnce() {
    if (registry == nullptr) {
        return; // a tick after the registry was released
    }
    KeyStates keys;
    keys[0] = 0; // names no key; every other entry is written below
    for (int virtualKey = 1; virtualKey < int(keys.size()); ++virtualKey) {
        keys[virtualKey] = GetAsyncKeyState(virtualKey);
    }
    registry->poll(keys, fire);
}

} // namespace hotkeys
