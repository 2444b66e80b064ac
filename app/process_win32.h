#pragma once
// The process's spine: start-up preparation, the message loop, the orderly end and the fatal-error
// report. Everything here runs on the main thread unless it says otherwise.

#include "app/exit_routines.h"

#include <cstdint>
#include <string>
#include <string_view>

#include <windows.h>

namespace app {

// Error mode, heap, OLE, program path, current directory, hidden window, main thread id.
void prepareProcess();

// Every floating-point exception masked, rounding to nearest.
void resetFloatingPoint();

void addExitRoutine(ExitRoutine routine);

// Shows the fatal-error box (caption "错误") on the calling thread, then ends the process with
// exit code -1 without running the exit routines. Any thread; never returns.
[[noreturn]] void reportFatalError(std::string_view message, int32_t number);

// The orderly end. On the main thread it runs the end steps and returns; on another thread it hands
// the end to the main thread through the hidden window and the process ends before it returns,
// unless the main thread is already ending.
void endProgram(int32_t exitCode);

// Runs the main thread's message loop until the quit message; returns its exit code.
int runMessageLoop();

// Bookkeeping of the program's own windows for the quit rule: once the last one is destroyed after
// the loop was entered, the loop ends.
void programWindowCreated();
void programWindowDestroyed();

// Registers a window class of the program with the arrow cursor and the given background brush.
void registerWindowClass(const wchar_t* name, WNDPROC procedure, HBRUSH background = nullptr);

bool onMainThread();
HWND hiddenWindow();

// A copy of the program's own file name, taken once at start-up.
std::string programFileName();

// A keyboard message offered to a window before it is translated and dispatched: a window that
// handles it itself answers this message with nonzero.
inline constexpr UINT WM_PRETRANSLATE = WM_APP + 1;

} // namespace app
