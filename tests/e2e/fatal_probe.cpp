// A program built from the clicker's own start-up that raises a fatal error, on the main thread or
// on a worker thread, while its main window is up. Its exit routine leaves a marker file holding
// the current directory, as UTF-16.
//   fatal_probe.exe worker|main|none "marker path"

#include "app/process_win32.h"
#include "hotkeys/hotkeys_win32.h"
#include "ui/controls_win32.h"

#include <shellapi.h>

#include <string>

namespace {

std::wstring marker;

void leaveMarker() {
    wchar_t folder[MAX_PATH] = {};
    const DWORD length = GetCurrentDirectoryW(MAX_PATH, folder);
    HANDLE file = CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, folder, length * sizeof(wchar_t), &written, nullptr);
    CloseHandle(file);
}

[[noreturn]] void raise() {
    app::reportFatalError("数组成员引用下标超出定义范围", 1);
}

DWORD WINAPI worker(void*) {
    raise();
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    const std::wstring mode = count > 1 ? arguments[1] : L"none";
    marker = count > 2 ? arguments[2] : L"";

    app::prepareProcess();
    hotkeys::createRegistry();
    app::addExitRoutine(leaveMarker);
    ui::loadMainWindow();
    if (mode == L"worker") {
        CloseHandle(CreateThread(nullptr, 0, worker, nullptr, 0, nullptr));
    } else if (mode == L"main") {
        PostMessageW(nullptr, WM_NULL, 0, 0);
        raise();
    }
    const int exitCode = app::runMessageLoop();
    app::endProgram(exitCode);
    return exitCode;
}
