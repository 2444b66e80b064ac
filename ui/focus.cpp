#include "ui/focus.h"

namespace ui {

int nextInTabCycle(int current, bool forward, const CycleAvailability& available) {
    const int count = static_cast<int>(available.size());
    int position = current;
    if (position < 0) {
        // From outside the cycle, Tab starts at its first stop and Shift+Tab at its last.
        position = forward ? count - 1 : 0;
    }
    for (int step = 1; step <= count; ++step) {
        const int candidate = (position + (forward ? step : count - step)) % count;
        if (available[static_cast<std::size_t>(candidate)]) {
            return candidate;
        }
    }
    return -1;
}

int focusOnActivation(int remembered, const CycleAvailability& available) {
    if (remembered >= 0 && available[static_cast<std::size_t>(remembered)]) {
        return remembered;
    }
    return nextInTabCycle(-1, true, available);
}

} // namespace ui
