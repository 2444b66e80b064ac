// A program that registers the hot keys of hotkey_probe.h with the clicker's hot-key service and
// runs a message loop; each firing is written to the driver's report. WM_QUIT ends it.
//   hotkey_probe.exe "report mapping name"

#include "tests/e2e/hotkey_probe.h"
#include "hotkeys/hotkeys_win32.h"

#include <iterator>

namespace {

e2e::ProbeReport* report = nullptr;

void recordFiring(int32_t id) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    const LONG slot = InterlockedIncrement(&report->taken) - 1;
    if (slot >= LONG(std::size(report->firings))) {
        return; // the driver sees the count pass the slots and fails
    }
    e2e::ProbeFiring& firing = report->firings[slot];
    firing.id = id;
    firing.threadId = GetCurrentThreadId();
    firing.time = now.QuadPart;
    InterlockedExchange(&firing.written, 1);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, commandLine);
    if (mapping == nullptr) {
        return 2;
    }
    report = static_cast<e2e::ProbeReport*>(
        MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(e2e::ProbeReport)));
    if (report == nullptr) {
        return 3;
    }
    hotkeys::createRegistry();
    for (std::size_t i = 0; i < e2e::probeKeyCount; ++i) {
        const e2e::ProbeKey& key = e2e::probeKeys[i];
        report->ids[i] = hotkeys::registerHotkey(recordFiring, key.keyCode, key.modifiers, 0, 0,
                                                 key.callDirectly);
    }
    report->pollingThreadId = GetCurrentThreadId();
    InterlockedExchange(&report->ready, 1);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        DispatchMessageA(&message);
    }
    hotkeys::stopPolling();
    hotkeys::freeRegistry();
    // Threads of late firings may still write: the view stays mapped until the process ends.
    CloseHandle(mapping);
    return 0;
}
