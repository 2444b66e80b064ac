// The program: start-up in order, the message loop, the orderly end.

#include "app/launch_block_win32.h"
#include "app/process_win32.h"
#include "hotkeys/hotkeys_win32.h"
#include "ui/controls_win32.h"

namespace {

void createGlobals() {
    hotkeys::createRegistry();
}

void freeGlobals() {
    // OLE's uninitialisation may still dispatch messages: no polling tick may see a freed registry.
    hotkeys::stopPolling();
    hotkeys::freeRegistry();
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    app::prepareProcess();
    app::resetFloatingPoint();
    createGlobals();
    app::addExitRoutine(freeGlobals);
    app::clearLaunchBlock();
    ui::loadMainWindow();
    const int exitCode = app::runMessageLoop();
    app::endProgram(exitCode);
    return exitCode;
}
