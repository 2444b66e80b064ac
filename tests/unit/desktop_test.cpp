#include "desktop/click_sequence.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace desktop;

struct KindCase {
    const char* name;
    std::int32_t kind;
    std::vector<std::uint32_t> events;
};

class ClickKinds : public testing::TestWithParam<KindCase> {};

TEST_P(ClickKinds, SendTheirButtonEventsInOrder) {
    const auto events = buttonEvents(GetParam().kind);
    EXPECT_EQ(std::vector<std::uint32_t>(events.begin(), events.end()), GetParam().events);
}

const std::vector<std::uint32_t> single{leftDown, leftUp};

INSTANTIATE_TEST_SUITE_P(
    Cases, ClickKinds,
    testing::Values(KindCase{"SingleLeft", 0, single},
                    KindCase{"DoubleLeft", 1, {leftDown, leftUp, leftDown, leftUp}},
                    KindCase{"SingleRight", 2, {rightDown, rightUp}},
                    KindCase{"DoubleRight", 3, {rightDown, rightUp, rightDown, rightUp}},
                    KindCase{"FourIsSingleLeft", 4, single},
                    KindCase{"HundredIsSingleLeft", 100, single},
                    KindCase{"NegativeIsSingleLeft", -1, single}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ClickKinds, FlagsNeverMoveOrUseAbsoluteCoordinates) {
    for (std::int32_t kind = -1; kind <= 4; ++kind) {
        for (std::uint32_t event : buttonEvents(kind)) {
            EXPECT_EQ(event & 0x8001u, 0u);
        }
    }
}

} // namespace
