#pragma once
// The pointer, injected clicks and the shell's "open" verb.

#include <cstdint>
#include <string_view>

namespace desktop {

// Each reads the pointer with a call of its own; a failed read gives the last position read, or 0.
std::int32_t cursorX();
std::int32_t cursorY();

// Puts the pointer at (x, y), then sends the kind's button events back to back.
void injectClick(std::int32_t x, std::int32_t y, std::int32_t kind = 0);

// Hands the address to the shell, unchanged, with the "open" verb.
void openWebAddress(std::string_view address);

} // namespace desktop
