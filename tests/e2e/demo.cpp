// The headless demonstration of scripts/run: starts the clicker, rests the pointer on its test
// button, holds clicking on for a second at the fastest setting, stops, reports what the caption
// counted and saves a picture of the window.
//   demo.exe "screenshot.bmp"

#include "tests/e2e/e2e_support.h"

#include <cstdio>
#include <cstring>
#include <cwchar>

using namespace e2e;
using namespace std::chrono_literals;

int main(int argc, char** argv) {
    Process clicker = start(besideDriver(L"clicker.exe"));
    HWND window = waitForWindow(clicker.id(), L"ClickerMain");
    if (window == nullptr) {
        std::puts("the clicker's window did not appear");
        return 1;
    }
    WaitForInputIdle(clicker.handle(), 5000);
    activate(window);
    const std::vector<HWND> controls = children(window);
    const RECT button = windowRect(controls[按钮1]);
    moveMouse((button.left + button.right) / 2, (button.top + button.bottom) / 2);

    pressKey(VK_F2, 100ms);
    // The caption turns from the title into the count at the first click.
    waitUntil([&] { return std::wcstoll(windowText(window).c_str(), nullptr, 10) >= 1; }, 3s);
    LARGE_INTEGER frequency, begin, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&begin);
    const long long first = std::wcstoll(windowText(window).c_str(), nullptr, 10);
    sleep(1000ms);
    const long long last = std::wcstoll(windowText(window).c_str(), nullptr, 10);
    QueryPerformanceCounter(&end);
    pressKey(VK_F3);

    const double seconds = double(end.QuadPart - begin.QuadPart) / double(frequency.QuadPart);
    const long long clicks = last - first;
    std::printf("slider at 1 ms: %lld clicks counted in %.2f s, one every %.1f ms "
                "(the message timer runs at 10 ms at the fastest)\n",
                clicks, seconds, clicks > 0 ? seconds * 1000.0 / double(clicks) : 0.0);
    sleep(300ms);
    if (argc > 1) {
        std::wstring path(argv[1], argv[1] + std::strlen(argv[1]));
        saveScreenshot(window, path);
    }
    PostMessageW(window, WM_CLOSE, 0, 0);
    const DWORD code = clicker.waitForExit(10s);
    std::printf("window closed, exit code %lu\n", code);
    return code == 0 ? 0 : 1;
}
