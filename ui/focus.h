#pragma once
// Keyboard focus moves within the form's tab cycle.

#include "ui/form.h"

#include <array>

namespace ui {

using CycleAvailability = std::array<bool, tabCycle.size()>;

// The position in the tab cycle that Tab (forward) or Shift+Tab (backward) moves to from position
// `current` (-1 when the focus is on none of them), skipping the unavailable ones; -1 when none is
// available.
int nextInTabCycle(int current, bool forward, const CycleAvailability& available);

// Where the focus goes when the window gains it: the control that had it when the window was last
// deactivated if it still takes it, otherwise the first available control of the cycle.
int focusOnActivation(int remembered, const CycleAvailability& available);

} // namespace ui
