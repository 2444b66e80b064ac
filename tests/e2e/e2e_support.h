#pragma once
// What the end-to-end tests share: starting the programs under test in the same Wine desktop,
// typing and moving the mouse with SendInput, and reading state through the window system.

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include <windows.h>

namespace e2e {

// A program beside the driver (clicker.exe, the probes).
std::wstring besideDriver(const std::wstring& fileName);
// A fresh, empty folder under the driver's folder for one test's files.
std::wstring scratchFolder(const std::wstring& name);

// A started process; ended at destruction if it still runs.
class Process {
  public:
    Process() = default;
    Process(HANDLE process, DWORD id) : process_(process), id_(id) {}
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();

    DWORD id() const { return id_; }
    HANDLE handle() const { return process_; }
    // The exit code once the process has ended within the time, else STILL_ACTIVE.
    DWORD waitForExit(std::chrono::milliseconds timeout) const;
    bool running() const;

  private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

Process start(const std::wstring& program, const std::wstring& arguments = L"",
              const std::wstring& folder = L"");

// Polls the condition every 10 ms until it holds or the time is up.
bool waitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));

// The process's visible top-level window of that class; null when none appears in time.
HWND waitForWindow(DWORD processId, const wchar_t* className,
                   std::chrono::milliseconds timeout = std::chrono::seconds(15));

// Child windows from the top of the stacking order to the bottom.
std::vector<HWND> children(HWND parent);
std::wstring className(HWND window);
std::wstring windowText(HWND window);
RECT windowRect(HWND window);
// A child's place in its parent's client area.
RECT placeInParent(HWND child);

// The focused window of the thread that owns `window`.
HWND focusOf(HWND window);

// Keys and the mouse, through SendInput. Keys are held long enough for a poller to see them and
// followed by a pause before the next press.
void keyDown(WORD key);
void keyUp(WORD key);
void pressKey(WORD key, std::chrono::milliseconds hold = std::chrono::milliseconds(150));
// Holds the modifiers, presses the key, releases the modifiers.
void pressChord(std::initializer_list<WORD> modifiers, WORD key);
void moveMouse(int x, int y);
void leftButton(bool down);
void sleep(std::chrono::milliseconds duration);
// Brings the window to the front, so that typed keys go to it.
void activate(HWND window);

} // namespace e2e

#include <gtest/gtest.h>

namespace e2e {

// Writes the screen's pixels under the window to a 24-bit BMP file.
bool saveScreenshot(HWND window, const std::wstring& path);

// Index of each control among the main window's children: the stacking order of the form.
enum Control : std::size_t { 标签4, 标签3, 按钮3, 按钮2, 按钮1, 时钟1, 标签2, 标签1, 滑块条1 };

// A fresh clicker.exe per test, its main window and its controls.
class ClickerTest : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    HWND control(Control which) const { return controls[which]; }
    std::wstring caption() const { return windowText(window); }
    int sliderPosition() const;
    POINT centreOf(Control which) const;
    // The slider's thumb, in screen coordinates.
    RECT sliderThumb() const;
    // Closes the window through its system menu and returns the exit code.
    DWORD closeAndWait();

    Process clicker;
    HWND window = nullptr;
    std::vector<HWND> controls;
};

} // namespace e2e

#include <atomic>
#include <mutex>
#include <thread>

namespace e2e {

// A window of the driver's own, on a thread of its own with its own message loop, that records
// the mouse-button messages it receives, in order.
class RecorderWindow {
  public:
    RecorderWindow(int x, int y, int width, int height);
    ~RecorderWindow();
    RecorderWindow(const RecorderWindow&) = delete;
    RecorderWindow& operator=(const RecorderWindow&) = delete;

    HWND handle() const { return window_; }
    POINT centre() const;
    std::vector<UINT> messages() const;
    std::size_t count(UINT message) const;
    void clear();

  private:
    static LRESULT CALLBACK procedure(HWND, UINT, WPARAM, LPARAM);
    void run(int x, int y, int width, int height);

    std::thread thread_;
    std::atomic<HWND> window_{nullptr};
    mutable std::mutex mutex_;
    std::vector<UINT> messages_;
};

} // namespace e2e
