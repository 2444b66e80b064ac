#pragma once
// What hotkey_probe.exe reports to the driver: a named file mapping that the driver creates and
// names on the probe's command line.

#include <cstdint>

#include <windows.h>

namespace e2e {

// The probe's registrations, in order of registration.
struct ProbeKey {
    int32_t keyCode;
    int32_t modifiers;
    int32_t callDirectly;
};
inline constexpr ProbeKey probeKeys[] = {
    {VK_F2, 0, 0},                       // on the press, on a new thread
    {-VK_F3, 0, 1},                      // on the release, on the polling thread
    {VK_F4, 0, 1},                       // on the press, on the polling thread
    {-VK_F5, 0, 0},                      // on the release, on a new thread
    {VK_F6, MOD_CONTROL | MOD_SHIFT, 0}, // on Ctrl+Shift+F6 only
};
inline constexpr std::size_t probeKeyCount = sizeof probeKeys / sizeof probeKeys[0];

struct ProbeFiring {
    volatile LONG written; // set last, once the fields below hold the firing
    int32_t id;            // what the routine received
    DWORD threadId;        // the thread that ran it
    LONGLONG time;         // QueryPerformanceCounter when it ran
};

struct ProbeReport {
    volatile LONG ready;        // the registrations are made and the message loop is about to run
    DWORD pollingThreadId;      // the thread that polls; WM_QUIT posted to it ends the probe
    int32_t ids[probeKeyCount]; // what each registration returned
    volatile LONG taken;        // firing slots handed out so far
    ProbeFiring firings[64];
};

} // namespace e2e
