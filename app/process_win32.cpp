#include "app/process_win32.h"

#include "app/fatal_text.h"
#include "app/program_path.h"
#include "text/gbk_win32.h"

#include <float.h>
#include <ole2.h>

namespace app {

namespace {

// The end request that another thread sends to the hidden window: wParam carries the exit code.
constexpr UINT WM_END_REQUEST = 0x83E7;
constexpr wchar_t hiddenClassName[] = L"ClickerHidden";

struct Process {
    std::string fileName;
    DWORD mainThreadId = 0;
    HWND hidden = nullptr;
    ExitRoutines exitRoutines;
    int programWindows = 0;
    // Read by other threads: single words.
    volatile LONG ending = 0;
    bool loopEntered = false;
    bool oleInitialised = false;
};

Process process;

const char* nextAnsiCharacter(const char* position) {
    return CharNextA(position);
}

LRESULT CALLBACK hiddenWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_END_REQUEST) {
        const auto exitCode = static_cast<int32_t>(wParam);
        endProgram(exitCode);
        ExitProcess(static_cast<UINT>(exitCode));
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND createHiddenWindow() {
    registerWindowClass(hiddenClassName, hiddenWindowProc);
    return CreateWindowExW(WS_EX_TOOLWINDOW, hiddenClassName, L"", 0, 0, 0, 0, 0, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

// Offers a keyboard message to the window it is for and to the windows that contain it, innermost
// first; true when one of them took it.
bool offerKeyboardMessage(const MSG& message) {
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) {
        return false;
    }
    for (HWND window = message.hwnd; window != nullptr; window = GetParent(window)) {
        if (SendMessageW(window, WM_PRETRANSLATE, 0, reinterpret_cast<LPARAM>(&message)) != 0) {
            return true;
        }
    }
    return false;
}

} // namespace

void prepareProcess() {
    SetErrorMode(SetErrorMode(0) | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    // The heap is taken by the global operator new; OLE's result does not matter to the program.
    (void)OleInitialize(nullptr);
    process.oleInitialised = true;

    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    ProgramPath split = splitProgramPath(path, nextAnsiCharacter);
    process.fileName = std::move(split.fileName);
    // An empty or unusable folder leaves the current directory as it was.
    SetCurrentDirectoryA(split.folder.c_str());

    process.hidden = createHiddenWindow();
    process.mainThreadId = GetCurrentThreadId();
}

void resetFloatingPoint() {
    _fpreset();
    _controlfp(_MCW_EM | _RC_NEAR, _MCW_EM | _MCW_RC);
}

void addExitRoutine(ExitRoutine routine) {
    process.exitRoutines.add(routine);
}

void reportFatalError(std::string_view message, int32_t number) {
    const std::wstring text = text::wideFromGbk(fatalErrorText(message, number));
    const std::wstring caption = text::wideFromGbk(fatalCaption);
    MessageBoxW(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
    process.exitRoutines.clear();
    endProgram(-1);
    ExitProcess(static_cast<UINT>(-1));
}

void endProgram(int32_t exitCode) {
    if (!onMainThread()) {
        if (process.hidden != nullptr) {
            SendMessageW(process.hidden, WM_END_REQUEST, static_cast<WPARAM>(exitCode), 0);
        }
        if (process.ending == 0) {
            ExitProcess(static_cast<UINT>(exitCode));
        }
        return;
    }
    InterlockedExchange(&process.ending, 1);
    process.exitRoutines.runAll();
    if (process.hidden != nullptr) {
        HWND hidden = process.hidden;
        process.hidden = nullptr;
        DestroyWindow(hidden);
    }
    if (process.oleInitialised) {
        process.oleInitialised = false;
        OleUninitialize();
    }
}

int runMessageLoop() {
    process.loopEntered = true;
    if (process.programWindows == 0) {
        return 0;
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!offerKeyboardMessage(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}

void programWindowCreated() {
    ++process.programWindows;
}

void programWindowDestroyed() {
    if (--process.programWindows == 0 && process.loopEntered) {
        PostQuitMessage(0);
    }
}

void registerWindowClass(const wchar_t* name, WNDPROC procedure, HBRUSH background) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    RegisterClassW(&windowClass);
}

bool onMainThread() {
    return GetCurrentThreadId() == process.mainThreadId;
}

HWND hiddenWindow() {
    return process.hidden;
}

std::string programFileName() {
    return process.fileName;
}

} // namespace app
