#include "ui/click_timer.h"

namespace ui {

TimerChange changePeriod(TimerState& state, std::int32_t period) {
    if (period < 0) {
        period = 0;
    }
    if (period == state.period) {
        return {};
    }
    TimerChange change;
    change.stop = state.running;
    change.start = period > 0;
    change.period = period;
    state.period = period;
    state.running = change.start;
    return change;
}

} // namespace ui
