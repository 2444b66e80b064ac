#pragma once
// The main window's control operations. Each may be called from any thread: from another thread it
// is carried out on the main thread while the caller waits.

#include "ui/form.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace ui {

std::string readCaption();
void writeCaption(std::string_view caption);
void writeLabelText(Control label, std::string_view text);
void writeSliderDisabled(bool disabled);
std::int32_t readSliderPosition();
void writeTimerPeriod(std::int32_t period);

// Runs a whole action on the main thread in one piece, so that its steps take effect together and
// in the order the actions arrive. From another thread the caller waits. Once the main window is
// gone the action has no effect.
void runAction(void (*action)());

// Builds the main window and its controls, raises the created event and shows the window.
void loadMainWindow();

} // namespace ui
