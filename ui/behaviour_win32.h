#pragma once
// The main window's event handlers: the clicker itself.

#include <cstdint>

namespace ui {

void installHotkeys();            // created
void startClicking(std::int32_t); // F2, on a thread of its own
void stopClicking(std::int32_t);  // F3, on a thread of its own
void showSpeed();                 // the slider's position changed
void clickAtCursor();             // the click timer's tick
void countTestClick();            // 按钮1 clicked
void openContactChat();           // 按钮2 clicked
void openContactGroup();          // 按钮3 clicked

} // namespace ui
