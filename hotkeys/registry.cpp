#include "hotkeys/registry.h"

#include "text/conversions.h"

#include <cmath>

namespace hotkeys {

namespace {

constexpr int32_t firstId = 1000001; // 1000000 plus the 1-based position

// The modifier keys as the table reads them; the generic codes count left and right alike.
struct ModifierKey {
    uint8_t virtualKey;
    int32_t weight;
};
constexpr std::array<ModifierKey, 4> modifierKeys{{
    {18, 1}, // VK_MENU, Alt
    {17, 2}, // VK_CONTROL, Ctrl
    {16, 4}, // VK_SHIFT, Shift
    {91, 8}, // VK_LWIN: the right Windows key does not count
}};
constexpr double modifierTolerance = 1e-7;

bool isDown(const KeyStates& keys, uint8_t virtualKey) {
    return keys[virtualKey] < 0;
}

int32_t modifiersDown(const KeyStates& keys) {
    int32_t sum = 0;
    for (const ModifierKey& key : modifierKeys) {
        if (isDown(keys, key.virtualKey)) {
            sum += key.weight;
        }
    }
    return sum;
}

// Steps the entry by the reading of its key; true when the fire step follows.
bool stepByReading(HotkeyEntry& entry, int16_t reading) {
    if (reading == 0) {
        if (entry.pressState == pressSeen) {
            entry.pressState = releaseSeen;
            return true;
        }
        entry.pressState = pressIdle;
        return false;
    }
    if (reading < 0) {
        if (entry.pressState == pressIdle) {
            entry.pressState = pressSeen;
        }
        return entry.keyCode > 0;
    }
    return true; // up, pressed meanwhile: the state is left as it is
}

// The fire step up to the decision: true when the routine is to run now. A press that reaches
// it is used up, whether it fires or not.
bool fireStepAllows(HotkeyEntry& entry, const KeyStates& keys) {
    if (entry.pressState != pressSeen && entry.pressState != releaseSeen) {
        return false;
    }
    entry.pressState = pressHandled;
    if (std::fabs(double(entry.modifiers) - double(modifiersDown(keys))) > modifierTolerance) {
        return false;
    }
    return entry.secondKey == 0 || isDown(keys, reducedKey(entry.secondKey));
}

} // namespace

uint8_t reducedKey(int32_t keyCode) {
    return text::toByte(text::absValue(double(keyCode)));
}

Registration HotkeyRegistry::registerHotkey(HotkeyRoutine callback, int32_t keyCode,
                                            int32_t modifiers, int32_t secondKey,
                                            int32_t pollPeriodMs, int32_t callDirectly) {
    if (reducedKey(keyCode) == 0 || (secondKey != 0 && reducedKey(secondKey) == 0)) {
        return {};
    }
    for (HotkeyEntry& entry : entries_) {
        if (entry.keyCode == keyCode && entry.modifiers == modifiers &&
            entry.secondKey == secondKey) {
            entry.callback = callback;
            entry.callDirectly = callDirectly;
            return {entry.id, 0};
        }
    }
    const int32_t id = firstId + int32_t(entries_.size());
    entries_.push_back({id, callback, keyCode, modifiers, secondKey, pressIdle, callDirectly});
    // Only the process's first entry starts the polling timer; later periods have no effect.
    if (id != firstId) {
        return {id, 0};
    }
    return {id, pollPeriodMs > 0 ? pollPeriodMs : defaultPollPeriodMs};
}

void HotkeyRegistry::poll(const KeyStates& keys, FireHotkey fire) {
    const std::size_t count = entries_.size();
    for (std::size_t i = 0; i < count; ++i) {
        HotkeyEntry& entry = entries_[i];
        if (stepByReading(entry, keys[reducedKey(entry.keyCode)]) && fireStepAllows(entry, keys)) {
            // The routine may register and so move the entries: no reference is used after it.
            fire(entry.callback, entry.id, entry.callDirectly);
        }
    }
}

} // namespace hotkeys
