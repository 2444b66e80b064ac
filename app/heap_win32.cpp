// Every block of the program comes from the process's default heap. An allocation that cannot be
// met ends the program through the fatal-error report.

#include "app/fatal_text.h"
#include "app/process_win32.h"

#include <new>

namespace {

volatile LONG reportingFailure = 0;

void* allocate(std::size_t bytes) {
    if (void* block = HeapAlloc(GetProcessHeap(), 0, bytes != 0 ? bytes : 1)) {
        return block;
    }
    // Building the report allocates too: should that fail as well, end without a box.
    if (InterlockedExchange(&reportingFailure, 1) != 0) {
        ExitProcess(static_cast<UINT>(-1));
    }
    app::reportFatalError(app::allocationFailedMessage(bytes), 0);
}

void release(void* block) noexcept {
    if (block != nullptr) {
        HeapFree(GetProcessHeap(), 0, block);
    }
}

} // namespace

void* operator new(std::size_t bytes) {
    return allocate(bytes);
}
void* operator new[](std::size_t bytes) {
    return allocate(bytes);
}
void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept {
    return allocate(bytes);
}
void* operator new[](std::size_t bytes, const std::nothrow_t&) noexcept {
    return allocate(bytes);
}
void operator delete(void* block) noexcept {
    release(block);
}
void operator delete[](void* block) noexcept {
    release(block);
}
void operator delete(void* block, std::size_t) noexcept {
    release(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    release(block);
}
