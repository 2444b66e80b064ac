#pragma once
// The button events of one injected click, by kind: 1 double left, 2 single right, 3 double right,
// any other value a single left click.

#include <cstdint>
#include <span>

namespace desktop {

// mouse_event flags; never combined with the move or absolute flags, so every event takes effect
// at the pointer's position.
inline constexpr std::uint32_t leftDown = 0x0002;
inline constexpr std::uint32_t leftUp = 0x0004;
inline constexpr std::uint32_t rightDown = 0x0008;
inline constexpr std::uint32_t rightUp = 0x0010;

std::span<const std::uint32_t> buttonEvents(std::int32_t kind);

} // namespace desktop
