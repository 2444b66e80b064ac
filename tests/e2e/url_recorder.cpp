// Stands in for the web browser: the test prefix's http handler. Appends the address it was asked
// to open, as UTF-8, one line per call, to urls.txt beside itself.

#include <windows.h>

#include <shellapi.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    const std::wstring address = count > 1 ? arguments[1] : L"";

    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring log(path, length);
    log = log.substr(0, log.find_last_of(L'\\') + 1) + L"urls.txt";

    std::string line(address.size() * 3 + 1, '\0');
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, address.data(), static_cast<int>(address.size()),
                            line.data(), static_cast<int>(line.size()), nullptr, nullptr);
    line.resize(static_cast<std::size_t>(bytes > 0 ? bytes : 0));
    line += '\n';

    HANDLE file = CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
    return 0;
}
