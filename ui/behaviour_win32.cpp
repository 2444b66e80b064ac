#include "ui/behaviour_win32.h"

#include "desktop/desktop_win32.h"
#include "hotkeys/hotkeys_win32.h"
#include "ui/behaviour.h"
#include "ui/controls_win32.h"

namespace ui {

namespace {
constexpr std::int32_t keyF2 = 0x71;
constexpr std::int32_t keyF3 = 0x72;
} // namespace

void installHotkeys() {
    // A key that cannot be registered simply does nothing.
    (void)hotkeys::registerHotkey(startClicking, keyF2);
    (void)hotkeys::registerHotkey(stopClicking, keyF3);
}

// Both steps of an action run on the main thread in one piece: a start and a stop pressed at the
// same instant can never leave the slider enabled while the clicks go on.
void startClicking(std::int32_t) {
    runAction([] {
        writeSliderDisabled(true);
        writeTimerPeriod(readSliderPosition());
    });
}

void stopClicking(std::int32_t) {
    runAction([] {
        writeSliderDisabled(false);
        writeTimerPeriod(0);
    });
}

void showSpeed() {
    writeLabelText(Control::标签1, speedText(readSliderPosition()));
}

void clickAtCursor() {
    const std::int32_t x = desktop::cursorX();
    const std::int32_t y = desktop::cursorY();
    desktop::injectClick(x, y, 0);
}

void countTestClick() {
    writeCaption(nextTestCount(readCaption()));
}

void openContactChat() {
    desktop::openWebAddress(chatAddress);
}

void openContactGroup() {
    desktop::openWebAddress(groupAddress);
}

} // namespace ui
