#pragma once
// The hot-key registry and its per-tick state machine. Keys are watched by polling their
// asynchronous state, so a hot key works whichever application has the keyboard focus.

#include <array>
#include <cstdint>
#include <vector>

namespace hotkeys {

// A hot-key routine receives the id of the registration that fired.
using HotkeyRoutine = void (*)(int32_t id);

// Where the current press of an entry's key stands.
constexpr uint8_t pressIdle = 0;
constexpr uint8_t pressSeen = 1;
constexpr uint8_t releaseSeen = 2; // never lasts from one tick to the next: the fire step follows
constexpr uint8_t pressHandled = 88;

struct HotkeyEntry {
    int32_t id = 0; // 1000000 plus the entry's 1-based position
    HotkeyRoutine callback = nullptr;
    int32_t keyCode = 0;   // > 0: fire on the press; < 0: fire on the release after a press
    int32_t modifiers = 0; // exact sum down when firing: Alt 1, Ctrl 2, Shift 4, left Windows 8
    int32_t secondKey = 0; // 0, or a further key that must be down when firing
    uint8_t pressState = pressIdle;
    int32_t callDirectly = 0; // nonzero: called on the polling thread; 0: on a thread of its own
};

// The asynchronous state of every key at one tick, indexed by virtual-key code: negative while the
// key is down, positive when it is up but was pressed since the previous query, 0 when up. Entry 0
// names no key and is never read; every 8-bit code indexes inside the table.
using KeyStates = std::array<int16_t, 256>;

// Runs a routine that fired: directly when callDirectly is nonzero, otherwise on a new thread.
using FireHotkey = void (*)(HotkeyRoutine routine, int32_t id, int32_t callDirectly);

// The watched key of a key code: its magnitude reduced to the low 8 bits.
uint8_t reducedKey(int32_t keyCode);

struct Registration {
    int32_t id = 0;                 // 0: refused
    int32_t startTimerPeriodMs = 0; // > 0: the first entry was added; start polling at this period
};

// A message timer runs every 10 ms at the fastest.
constexpr int32_t defaultPollPeriodMs = 10;

// The process's ordered, only-growing list of registrations. Used by one thread only.
class HotkeyRegistry {
  public:
    // Refuses (id 0) a key code whose reduced key is 0, and a nonzero secondKey whose reduced key
    // is 0: that would name no key, so polling never reads table entry 0. An entry with the same
    // keyCode, modifiers and secondKey (plain equality: 0x71, -0x71 and 0x171 differ) only gets
    // the new callback and callDirectly.
    Registration registerHotkey(HotkeyRoutine callback, int32_t keyCode, int32_t modifiers,
                                int32_t secondKey, int32_t pollPeriodMs, int32_t callDirectly);

    // One polling tick: steps every entry, in order, by the readings of this one table. A routine
    // fired directly may register; what it adds is first visited at the next tick.
    void poll(const KeyStates& keys, FireHotkey fire);

    const std::vector<HotkeyEntry>& entries() const { return entries_; }

  private:
    std::vector<HotkeyEntry> entries_;
};

} // namespace hotkeys
