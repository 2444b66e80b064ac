#include "tests/e2e/e2e_support.h"

#include <algorithm>
#include <thread>

namespace e2e {

using namespace std::chrono_literals;

std::wstring besideDriver(const std::wstring& fileName) {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\') + 1) + fileName;
}

std::wstring scratchFolder(const std::wstring& name) {
    const std::wstring folder = besideDriver(L"scratch\\" + name);
    CreateDirectoryW(besideDriver(L"scratch").c_str(), nullptr);
    CreateDirectoryW(folder.c_str(), nullptr);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                DeleteFileW((folder + L"\\" + found.cFileName).c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    return folder;
}

Process::Process(Process&& other) noexcept : process_(other.process_), id_(other.id_) {
    other.process_ = nullptr;
}

Process& Process::operator=(Process&& other) noexcept {
    std::swap(process_, other.process_);
    std::swap(id_, other.id_);
    return *this;
}

Process::~Process() {
    if (process_ != nullptr) {
        if (running()) {
            TerminateProcess(process_, 99);
            WaitForSingleObject(process_, 5000);
        }
        CloseHandle(process_);
    }
}

DWORD Process::waitForExit(std::chrono::milliseconds timeout) const {
    WaitForSingleObject(process_, static_cast<DWORD>(timeout.count()));
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_, &code);
    return code;
}

bool Process::running() const {
    return WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

Process start(const std::wstring& program, const std::wstring& arguments,
              const std::wstring& folder) {
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
        return {};
    }
    CloseHandle(info.hThread);
    return {info.hProcess, info.dwProcessId};
}

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

namespace {

struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search.processId && IsWindowVisible(window) &&
        className(window) == search.className) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

HWND waitForWindow(DWORD processId, const wchar_t* wantedClass, std::chrono::milliseconds timeout) {
    WindowSearch search{processId, wantedClass, nullptr};
    waitUntil(
        [&] {
            EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        timeout);
    return search.found;
}

std::vector<HWND> children(HWND parent) {
    std::vector<HWND> result;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        result.push_back(child);
    }
    return result;
}

std::wstring className(HWND window) {
    wchar_t name[256];
    const int length = GetClassNameW(window, name, 256);
    return std::wstring(name, static_cast<std::size_t>(length > 0 ? length : 0));
}

std::wstring windowText(HWND window) {
    // WM_GETTEXT works across processes for any window, unlike GetWindowText on a child.
    const auto length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const auto copied =
        SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

RECT windowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

RECT placeInParent(HWND child) {
    RECT rect = windowRect(child);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

HWND focusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

namespace {
void sendKey(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}
} // namespace

void keyDown(WORD key) {
    sendKey(key, false);
}
void keyUp(WORD key) {
    sendKey(key, true);
}

void pressKey(WORD key, std::chrono::milliseconds hold) {
    keyDown(key);
    sleep(hold);
    keyUp(key);
    sleep(150ms);
}

void pressChord(std::initializer_list<WORD> modifiers, WORD key) {
    for (WORD modifier : modifiers) {
        keyDown(modifier);
    }
    sleep(100ms);
    pressKey(key);
    for (WORD modifier : modifiers) {
        keyUp(modifier);
    }
    sleep(150ms);
}

void moveMouse(int x, int y) {
    // GetCursorPos falls back to the X pointer once the last move is 100 ms old, and in a fresh
    // desktop the first moves may not reach the X pointer: move until the position holds.
    for (int attempt = 0; attempt < 20; ++attempt) {
        SetCursorPos(x, y);
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dx =
            (x * 65536 + GetSystemMetrics(SM_CXSCREEN) - 1) / GetSystemMetrics(SM_CXSCREEN);
        input.mi.dy =
            (y * 65536 + GetSystemMetrics(SM_CYSCREEN) - 1) / GetSystemMetrics(SM_CYSCREEN);
        input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        SendInput(1, &input, sizeof input);
        sleep(std::chrono::milliseconds(attempt == 0 ? 50 : 150));
        POINT now{};
        GetCursorPos(&now);
        if (attempt > 0 && now.x == x && now.y == y) {
            return;
        }
    }
}

void leftButton(bool down) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof input);
    sleep(50ms);
}

void sleep(std::chrono::milliseconds duration) {
    std::this_thread::sleep_for(duration);
}

void activate(HWND window) {
    SetForegroundWindow(window);
    waitUntil([&] { return GetForegroundWindow() == window; }, 2s);
}

} // namespace e2e

#include <commctrl.h>

#include <fstream>

namespace e2e {

bool saveScreenshot(HWND window, const std::wstring& path) {
    const RECT rect = windowRect(window);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    const DWORD imageSize = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER file{
        0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + imageSize),
        0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    std::ofstream out(path.c_str(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    out.write(static_cast<const char*>(bits), imageSize);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return out.good();
}

void ClickerTest::SetUp() {
    clicker = start(besideDriver(L"clicker.exe"));
    ASSERT_NE(clicker.handle(), nullptr) << "clicker.exe did not start";
    window = waitForWindow(clicker.id(), L"ClickerMain");
    ASSERT_NE(window, nullptr) << "the main window did not appear";
    // Its message loop runs: the hot keys are being polled.
    WaitForInputIdle(clicker.handle(), 5000);
    controls = children(window);
    ASSERT_EQ(controls.size(), 9u);
    activate(window);
    ASSERT_EQ(GetForegroundWindow(), window) << "typed keys would go elsewhere";
    // Under Wine the first key that reaches a newly activated window loses the modifier flags of
    // its message (Alt+F4 arrives as a plain F4): a lone Shift tap takes that place.
    pressKey(VK_LSHIFT);
}

void ClickerTest::TearDown() {
    if (clicker.handle() != nullptr && clicker.running()) {
        // Leave no clicking behind for the next test.
        PostMessageW(window, WM_CLOSE, 0, 0);
        clicker.waitForExit(std::chrono::seconds(5));
    }
}

int ClickerTest::sliderPosition() const {
    return static_cast<int>(SendMessageW(control(滑块条1), TBM_GETPOS, 0, 0));
}

RECT ClickerTest::sliderThumb() const {
    // TBM_GETTHUMBRECT writes through its pointer in the clicker's own address space.
    HANDLE process = clicker.handle();
    void* remote = VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
    SendMessageW(control(滑块条1), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(remote));
    RECT thumb{};
    ReadProcessMemory(process, remote, &thumb, sizeof thumb, nullptr);
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    MapWindowPoints(control(滑块条1), HWND_DESKTOP, reinterpret_cast<POINT*>(&thumb), 2);
    return thumb;
}

POINT ClickerTest::centreOf(Control which) const {
    const RECT rect = windowRect(control(which));
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

DWORD ClickerTest::closeAndWait() {
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    return clicker.waitForExit(std::chrono::seconds(10));
}

} // namespace e2e

namespace e2e {

RecorderWindow::RecorderWindow(int x, int y, int width, int height)
    : thread_([=, this] { run(x, y, width, height); }) {
    waitUntil([&] { return window_.load() != nullptr; }, std::chrono::seconds(5));
}

RecorderWindow::~RecorderWindow() {
    PostMessageW(window_, WM_CLOSE, 0, 0);
    thread_.join();
}

void RecorderWindow::run(int x, int y, int width, int height) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = L"E2eRecorder";
    RegisterClassW(&windowClass);
    HWND window =
        CreateWindowExW(WS_EX_TOPMOST, L"E2eRecorder", L"recorder", WS_POPUP | WS_VISIBLE, x, y,
                        width, height, nullptr, nullptr, windowClass.hInstance, this);
    window_ = window;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
}

LRESULT CALLBACK RecorderWindow::procedure(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    if (message == WM_NCCREATE) {
        SetWindowLongPtrW(
            window, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    auto* self = reinterpret_cast<RecorderWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK: {
        std::lock_guard lock(self->mutex_);
        self->messages_.push_back(message);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

POINT RecorderWindow::centre() const {
    const RECT rect = windowRect(window_);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

std::vector<UINT> RecorderWindow::messages() const {
    std::lock_guard lock(mutex_);
    return messages_;
}

std::size_t RecorderWindow::count(UINT message) const {
    std::lock_guard lock(mutex_);
    return static_cast<std::size_t>(std::count(messages_.begin(), messages_.end(), message));
}

void RecorderWindow::clear() {
    std::lock_guard lock(mutex_);
    messages_.clear();
}

} // namespace e2e

namespace e2e {

namespace {

// The first program that a fresh Wine prefix runs in a new desktop pays for the desktop's own
// start (fonts, the shell): start and close the clicker once before any test measures anything.
class WarmUp : public testing::Environment {
  public:
    void SetUp() override {
        Process clicker = start(besideDriver(L"clicker.exe"));
        if (HWND window = waitForWindow(clicker.id(), L"ClickerMain", std::chrono::seconds(60))) {
            WaitForInputIdle(clicker.handle(), 10000);
            sleep(std::chrono::seconds(1));
            PostMessageW(window, WM_CLOSE, 0, 0);
            clicker.waitForExit(std::chrono::seconds(10));
        }
    }
};

[[maybe_unused]] testing::Environment* const warmUp = testing::AddGlobalTestEnvironment(new WarmUp);

} // namespace

} // namespace e2e
