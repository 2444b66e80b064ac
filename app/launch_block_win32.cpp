#include "app/launch_block_win32.h"

#include "app/launch_block.h"
#include "app/process_win32.h"

namespace app {

void clearLaunchBlock() {
    if (!startedAsTemporaryFile(programFileName())) {
        return;
    }
    static constexpr char zeros[3] = {};
    HANDLE mapping =
        OpenFileMappingA(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, launchBlockName().c_str());
    if (mapping == nullptr) {
        return; // no launcher waits, or it does not let us write
    }
    // The view stays mapped until the process ends: the launcher may still be reading it.
    if (void* view = MapViewOfFile(mapping, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, 0)) {
        RtlMoveMemory(view, zeros, sizeof zeros);
    }
    CloseHandle(mapping);
}

} // namespace app
