// The hot-key service's cost: one polling tick (255 key-state queries and the walk over the
// entries), and the process's CPU use while it polls with two registrations and nothing happens.

#include "hotkeys/hotkeys_win32.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

void noAction(int32_t) {}

double seconds(LONGLONG counts) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(counts) / double(frequency.QuadPart);
}

LONGLONG counter() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

// Kernel and user time of this process, in seconds.
double processCpuSeconds() {
    FILETIME creation, exit, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &creation, &exit, &kernel, &user);
    const auto value = [](FILETIME time) {
        return double((ULONGLONG(time.dwHighDateTime) << 32) | time.dwLowDateTime) * 1e-7;
    };
    return value(kernel) + value(user);
}

void measureTick() {
    constexpr int warmUp = 200;
    constexpr int ticks = 5000;
    for (int i = 0; i < warmUp; ++i) {
        hotkeys::pollOnce();
    }
    std::vector<double> micros;
    micros.reserve(ticks);
    for (int i = 0; i < ticks; ++i) {
        const LONGLONG start = counter();
        hotkeys::pollOnce();
        micros.push_back(seconds(counter() - start) * 1e6);
    }
    std::sort(micros.begin(), micros.end());
    double total = 0;
    for (double value : micros) {
        total += value;
    }
    std::printf(
        "| one tick (255 queries, 2 entries) | median %.1f us | mean %.1f us | p99 %.1f us |\n",
        micros[ticks / 2], total / ticks, micros[ticks * 99 / 100]);
}

// Runs the message loop for the time, as the program's main thread does, and counts the ticks.
void measureIdle(DWORD milliseconds) {
    constexpr UINT_PTR endTimer = 1;
    const UINT_PTR end = SetTimer(nullptr, endTimer, milliseconds, nullptr);
    const double cpuBefore = processCpuSeconds();
    const LONGLONG start = counter();
    long pollTicks = 0;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER && message.wParam == end) {
            break;
        }
        pollTicks += message.message == WM_TIMER;
        DispatchMessageA(&message);
    }
    const double wall = seconds(counter() - start);
    const double cpu = processCpuSeconds() - cpuBefore;
    KillTimer(nullptr, end);
    std::printf("| idle, polling, 2 entries | %.1f s | CPU %.3f s = %.2f %% of one core | "
                "%.1f ticks/s |\n",
                wall, cpu, 100.0 * cpu / wall, double(pollTicks) / wall);
}

} // namespace

int main() {
    hotkeys::createRegistry();
    hotkeys::registerHotkey(noAction, VK_F2);
    hotkeys::registerHotkey(noAction, VK_F3);
    std::printf("| hot-key service | | | |\n|---|---|---|---|\n");
    measureTick();
    measureIdle(10000);
    hotkeys::stopPolling();
    hotkeys::freeRegistry();
    return 0;
}
