#pragma once
// The rules of the click timer's period: 0 means stopped.

#include <cstdint>

namespace ui {

struct TimerState {
    std::int32_t period = 0;
    bool running = false;
};

// What the window system must be asked to do for a change of period.
struct TimerChange {
    bool stop = false;
    bool start = false;
    std::int32_t period = 0;
};

// A negative period counts as 0; the period the timer already has changes nothing, so a running
// timer keeps its rhythm; any other period stops a running timer and starts it afresh if positive.
TimerChange changePeriod(TimerState& state, std::int32_t period);

} // namespace ui
