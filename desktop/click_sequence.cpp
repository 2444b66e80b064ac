#include "desktop/click_sequence.h"

#include <array>

namespace desktop {

namespace {
constexpr std::array<std::uint32_t, 2> singleLeft{leftDown, leftUp};
constexpr std::array<std::uint32_t, 4> doubleLeft{leftDown, leftUp, leftDown, leftUp};
constexpr std::array<std::uint32_t, 2> singleRight{rightDown, rightUp};
constexpr std::array<std::uint32_t, 4> doubleRight{rightDown, rightUp, rightDown, rightUp};
} // namespace

std::span<const std::uint32_t> buttonEvents(std::int32_t kind) {
    switch (kind) {
    case 1:
        return doubleLeft;
    case 2:
        return singleRight;
    case 3:
        return doubleRight;
    default:
        return singleLeft;
    }
}

} // namespace desktop
