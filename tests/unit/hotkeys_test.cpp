#include "hotkeys/registry.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

using hotkeys::HotkeyRegistry;
using hotkeys::HotkeyRoutine;
using hotkeys::KeyStates;

constexpr int32_t f2 = 0x71;
constexpr int32_t f3 = 0x72;
constexpr uint8_t keyA = 0x41;
constexpr uint8_t shift = 16, ctrl = 17, alt = 18, leftWin = 91, rightWin = 92;

// The three readings of a key: bit 15 is "down now", bit 0 "pressed since the previous query".
constexpr int16_t up = 0;
constexpr int16_t down = INT16_MIN;
constexpr int16_t downPressedMeanwhile = INT16_MIN + 1;
constexpr int16_t pressedMeanwhile = 1;

struct KeyReading {
    uint8_t key;
    int16_t value;
};
using Tick = std::vector<KeyReading>;

KeyStates table(const Tick& readings) {
    KeyStates keys{};
    for (const KeyReading& reading : readings) {
        keys[reading.key] = reading.value;
    }
    return keys;
}

// Keys held down at one tick; every other key is up.
Tick held(std::initializer_list<uint8_t> keys) {
    Tick tick;
    for (uint8_t key : keys) {
        tick.push_back({key, down});
    }
    return tick;
}

int routineCalls[2];
void routineA(int32_t) {
    ++routineCalls[0];
}
void routineB(int32_t) {
    ++routineCalls[1];
}

struct Fired {
    HotkeyRoutine routine;
    int32_t id;
    int32_t callDirectly;
};

// Records each firing; a routine to be called directly is called here, as on the polling thread.
std::vector<Fired> fired;
void recordFiring(HotkeyRoutine routine, int32_t id, int32_t callDirectly) {
    fired.push_back({routine, id, callDirectly});
    if (callDirectly != 0) {
        routine(id);
    }
}

class Hotkeys : public testing::Test {
  protected:
    void SetUp() override { fired.clear(); }

    int32_t add(int32_t keyCode, int32_t modifiers = 0, int32_t secondKey = 0) {
        return registry.registerHotkey(routineA, keyCode, modifiers, secondKey, 0, 0).id;
    }
    // The ids fired by one tick with these readings.
    std::vector<int32_t> tick(const Tick& readings) {
        fired.clear();
        registry.poll(table(readings), recordFiring);
        std::vector<int32_t> ids;
        for (const Fired& firing : fired) {
            ids.push_back(firing.id);
        }
        return ids;
    }
    uint8_t pressState(std::size_t position) const {
        return registry.entries().at(position).pressState;
    }

    HotkeyRegistry registry;
};

// Every cell of the press-state table: from a state reached by earlier ticks, one reading of F2.
struct StateCase {
    const char* name;
    int32_t keyCode;
    std::vector<int16_t> before; // readings of F2 at the earlier ticks
    int16_t reading;
    uint8_t after;
    bool fires;
};

void PrintTo(const StateCase& c, std::ostream* out) {
    *out << c.name;
}

class PressState : public Hotkeys, public testing::WithParamInterface<StateCase> {};

TEST_P(PressState, StepsByTheReadingOfItsKey) {
    const StateCase& c = GetParam();
    add(c.keyCode);
    for (int16_t reading : c.before) {
        tick({{f2, reading}});
    }
    EXPECT_EQ(tick({{f2, c.reading}}).size(), c.fires ? 1u : 0u);
    EXPECT_EQ(pressState(0), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PressState,
    testing::Values(
        StateCase{"IdleUpStaysIdle", f2, {}, up, 0, false},
        StateCase{"IdleDownFiresOnPress", f2, {}, down, 88, true},
        StateCase{"IdleDownWithBitZeroFiresOnPress", f2, {}, downPressedMeanwhile, 88, true},
        StateCase{"IdlePressedMeanwhileStaysIdle", f2, {}, pressedMeanwhile, 0, false},
        StateCase{"HandledUpRearms", f2, {down}, up, 0, false},
        StateCase{"HandledDownStaysHandled", f2, {down}, down, 88, false},
        StateCase{"HandledPressedMeanwhileStaysHandled", f2, {down}, pressedMeanwhile, 88, false},
        StateCase{"ReleaseIdleUpStaysIdle", -f2, {}, up, 0, false},
        StateCase{"ReleaseIdleDownWaitsForRelease", -f2, {}, down, 1, false},
        StateCase{"ReleaseIdlePressedMeanwhileStaysIdle", -f2, {}, pressedMeanwhile, 0, false},
        StateCase{"ReleaseHeldDownStaysHeld", -f2, {down}, down, 1, false},
        StateCase{"ReleaseHeldUpFires", -f2, {down}, up, 88, true},
        StateCase{"ReleaseHeldPressedMeanwhileFires", -f2, {down}, pressedMeanwhile, 88, true},
        StateCase{"ReleaseHandledUpRearms", -f2, {down, up}, up, 0, false},
        StateCase{"ReleaseHandledDownStaysHandled", -f2, {down, up}, down, 88, false},
        StateCase{"ReleaseHandledPressedMeanwhileStaysHandled",
                  -f2,
                  {down, up},
                  pressedMeanwhile,
                  88,
                  false}),
    [](const auto& info) { return std::string(info.param.name); });

// One registration of F2 (or as named), stepped through ticks; the ticks at which it fires.
struct PressCase {
    const char* name;
    int32_t keyCode;
    int32_t modifiers;
    int32_t secondKey;
    std::vector<Tick> ticks;
    std::vector<std::size_t> firingTicks;
};

void PrintTo(const PressCase& c, std::ostream* out) {
    *out << c.name;
}

class Presses : public Hotkeys, public testing::WithParamInterface<PressCase> {};

TEST_P(Presses, FireAtTheExpectedTicks) {
    const PressCase& c = GetParam();
    const int32_t id = add(c.keyCode, c.modifiers, c.secondKey);
    ASSERT_NE(id, 0);
    std::vector<std::size_t> firingTicks;
    for (std::size_t i = 0; i < c.ticks.size(); ++i) {
        for (int32_t firedId : tick(c.ticks[i])) {
            EXPECT_EQ(firedId, id);
            firingTicks.push_back(i);
        }
    }
    EXPECT_EQ(firingTicks, c.firingTicks);
}

std::vector<Tick> heldFor(std::size_t count, const Tick& tick) {
    return std::vector<Tick>(count, tick);
}

std::vector<Tick> operator+(std::vector<Tick> first, const std::vector<Tick>& then) {
    first.insert(first.end(), then.begin(), then.end());
    return first;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Presses,
    testing::Values(
        PressCase{"HoldingFiresOnce", f2, 0, 0, heldFor(300, held({f2})), {0}},
        PressCase{"EachPressFires", f2, 0, 0, {held({f2}), {}, held({f2}), held({f2})}, {0, 2}},
        PressCase{"HoldingThenReleasingFiresOnceOnRelease",
                  -f2,
                  0,
                  0,
                  heldFor(300, held({f2})) + heldFor(3, {}),
                  {300}},
        PressCase{"PressBetweenTicksFiresNothing", f2, 0, 0, {{{f2, pressedMeanwhile}}, {}}, {}},
        PressCase{"PressBetweenTicksFiresNoRelease", -f2, 0, 0, {{{f2, pressedMeanwhile}}, {}}, {}},
        PressCase{"HighBitsOfTheKeyCodeIgnored", 0x171, 0, 0, {held({f2})}, {0}},
        PressCase{"CtrlUsesUpThePress",
                  f2,
                  0,
                  0,
                  {held({ctrl, f2}), held({f2}), held({f2}), {}, held({f2})},
                  {4}},
        PressCase{"ModifiersMatchExactly",
                  f2,
                  2,
                  0,
                  {held({f2}), {}, held({ctrl, shift, f2}), {}, held({ctrl, f2})},
                  {4}},
        PressCase{"AllFourModifiers", f2, 15, 0, {held({alt, ctrl, shift, leftWin, f2})}, {0}},
        PressCase{"LeftWindowsKeyCounts", f2, 0, 0, {held({leftWin, f2})}, {}},
        PressCase{"RightWindowsKeyDoesNotCount", f2, 0, 0, {held({rightWin, f2})}, {0}},
        PressCase{"ModifiersOutsideTheRangeNeverMatch",
                  f2,
                  16,
                  0,
                  {held({alt, ctrl, shift, leftWin, f2}), {}, held({f2})},
                  {}},
        PressCase{"ReleaseTakesModifiersAtRelease", -f2, 2, 0, {held({f2}), held({ctrl})}, {1}},
        PressCase{"SecondKeyMustBeDown",
                  f2,
                  0,
                  keyA,
                  {held({f2}), held({f2, keyA}), {}, held({keyA, f2})},
                  {3}},
        PressCase{"SecondKeyPressedMeanwhileIsNotDown",
                  f2,
                  0,
                  keyA,
                  {{{f2, down}, {keyA, pressedMeanwhile}}},
                  {}},
        PressCase{"SecondKeySignAndHighBitsIgnored", f2, 0, -0x141, {held({keyA, f2})}, {0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Hotkeys, IdsAreConsecutiveAndRefusalsTakeNone) {
    struct IdCase {
        int32_t keyCode;
        int32_t secondKey;
        int32_t id;
    };
    for (const IdCase& c :
         {IdCase{0, 0, 0}, IdCase{256, 0, 0}, IdCase{-256, 0, 0}, IdCase{INT32_MIN, 0, 0},
          IdCase{f2, 0, 1000001}, IdCase{0x300, 0, 0}, IdCase{f2, 0x100, 0}, IdCase{f2, -0x200, 0},
          IdCase{-f2, 0, 1000002}, IdCase{0x171, 0, 1000003}, IdCase{f2, 0, 1000001},
          IdCase{INT32_MAX, 0, 1000004}, IdCase{f2, keyA, 1000005}}) {
        EXPECT_EQ(add(c.keyCode, 0, c.secondKey), c.id)
            << "key code " << c.keyCode << ", second key " << c.secondKey;
    }
    EXPECT_EQ(registry.entries().size(), 5u);
}

TEST_F(Hotkeys, RegisteringAgainChangesOnlyRoutineAndDirectCall) {
    const int32_t id = registry.registerHotkey(routineA, f2, 0, 0, 0, 0).id;
    add(f3);
    tick(held({f2}));
    const auto again = registry.registerHotkey(routineB, f2, 0, 0, 500, 1);
    EXPECT_EQ(again.id, id);
    EXPECT_EQ(again.startTimerPeriodMs, 0);
    ASSERT_EQ(registry.entries().size(), 2u);
    EXPECT_EQ(pressState(0), 88) << "the press already handled stays handled";

    EXPECT_TRUE(tick(held({f2})).empty());
    tick({});
    const int before = routineCalls[1];
    ASSERT_EQ(tick(held({f2})).size(), 1u);
    EXPECT_EQ(fired[0].routine, routineB);
    EXPECT_EQ(fired[0].callDirectly, 1);
    EXPECT_EQ(routineCalls[1], before + 1);
}

TEST_F(Hotkeys, SameKeyWithOtherModifiersKeepsItsOwnPressState) {
    const int32_t plain = add(f2, 0);
    const int32_t withCtrl = add(f2, 2);
    EXPECT_EQ(tick(held({ctrl, f2})), std::vector<int32_t>{withCtrl});
    EXPECT_TRUE(tick(held({f2})).empty()) << "releasing Ctrl does not make a new press";
    tick({});
    EXPECT_EQ(tick(held({f2})), std::vector<int32_t>{plain});
}

TEST_F(Hotkeys, EntriesFireInRegistryOrder) {
    const int32_t onF3 = add(f3);
    const int32_t onF2Release = add(-f2);
    const int32_t onF2 = add(f2);
    EXPECT_EQ(tick(held({f2})), std::vector<int32_t>{onF2});
    EXPECT_EQ(tick(held({f3})), (std::vector<int32_t>{onF3, onF2Release}));
    tick({});
    EXPECT_EQ(tick(held({f2, f3})), (std::vector<int32_t>{onF3, onF2}));
}

HotkeyRegistry* registryOfTest = nullptr;
int32_t addedDuringTick = 0;
void registerF3(int32_t) {
    addedDuringTick = registryOfTest->registerHotkey(routineB, f3, 0, 0, 0, 0).id;
}

TEST_F(Hotkeys, EntryAddedByADirectRoutineWaitsForTheNextTick) {
    registryOfTest = &registry;
    const int32_t direct = registry.registerHotkey(registerF3, f2, 0, 0, 0, 1).id;
    const int32_t later = add(keyA);
    // Adding the entry moves the list: the rest of this tick must still run on the stored entries.
    EXPECT_EQ(tick(held({f2, f3, keyA})), (std::vector<int32_t>{direct, later}));
    ASSERT_NE(addedDuringTick, 0);
    EXPECT_EQ(tick(held({f2, f3, keyA})), std::vector<int32_t>{addedDuringTick});
}

TEST_F(Hotkeys, OnlyTheFirstAcceptedRegistrationStartsPolling) {
    struct PeriodCase {
        const char* name;
        int32_t pollPeriodMs;
        int32_t started;
    };
    for (const PeriodCase& c : {PeriodCase{"Default", 0, 10}, PeriodCase{"Negative", -5, 10},
                                PeriodCase{"Given", 25, 25}}) {
        HotkeyRegistry fresh;
        EXPECT_EQ(fresh.registerHotkey(routineA, 0x100, 0, 0, 40, 0).startTimerPeriodMs, 0)
            << c.name << ": a refused key starts nothing";
        const auto first = fresh.registerHotkey(routineA, f2, 0, 0, c.pollPeriodMs, 0);
        EXPECT_EQ(first.id, 1000001) << c.name;
        EXPECT_EQ(first.startTimerPeriodMs, c.started) << c.name;
        EXPECT_EQ(fresh.registerHotkey(routineA, f3, 0, 0, 500, 0).startTimerPeriodMs, 0)
            << c.name << ": a later period has no effect";
    }
}

} // namespace
