#pragma once
// The process's hot-key service: one registry, polled on a thread timer of the thread that makes
// the first registration. Everything here runs on that thread (the main thread).

#include "hotkeys/registry.h"

#include <cstdint>

namespace hotkeys {

// Creates the empty registry; at start-up, before any window exists.
void createRegistry();
// Stops the polling timer, so that no tick comes while the registry is released.
void stopPolling();
// Releases the registry with its entries.
void freeRegistry();

// The registration's id (1000001 and up), or 0 when the key code is refused. The first accepted
// registration starts polling every pollPeriodMs (10 ms for 0 or less); later ones leave it.
int32_t registerHotkey(HotkeyRoutine callback, int32_t keyCode, int32_t modifiers = 0,
                       int32_t secondKey = 0, int32_t pollPeriodMs = 0, int32_t callDirectly = 0);

// One polling tick now, as the timer runs it: for measuring its cost.
void pollOnce();

} // namespace hotkeys
