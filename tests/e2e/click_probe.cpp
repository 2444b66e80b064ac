// Injects one click of the given kind at the given point, as the clicker does on each tick:
//   click_probe.exe kind x y

#include "desktop/desktop_win32.h"

#include <windows.h>

#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const int kind = __argc > 1 ? std::atoi(__argv[1]) : 0;
    const int x = __argc > 2 ? std::atoi(__argv[2]) : 0;
    const int y = __argc > 3 ? std::atoi(__argv[3]) : 0;
    desktop::injectClick(x, y, kind);
    return 0;
}
