// The hot-key service in a real process: hotkey_probe.exe registers the keys of hotkey_probe.h and
// reports each firing; the keys are typed with SendInput. The driver never queries these keys:
// reading a key's "pressed meanwhile" bit would clear it for the probe too.

#include "tests/e2e/e2e_support.h"
#include "tests/e2e/hotkey_probe.h"

#include <string>
#include <vector>

namespace {

using namespace e2e;
using namespace std::chrono_literals;

LONGLONG now() {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

// When a key went down and when its release was sent, on the probe's clock too.
struct Press {
    LONGLONG down;
    LONGLONG up;
};

// Held 150 ms and followed by 150 ms, so that Wine's 50 ms cache of a key seen up never hides it.
Press press(WORD key, std::chrono::milliseconds hold = 150ms) {
    Press times{now(), 0};
    keyDown(key);
    sleep(hold);
    times.up = now();
    keyUp(key);
    sleep(150ms);
    return times;
}

Press pressWith(std::initializer_list<WORD> modifiers, WORD key) {
    for (WORD modifier : modifiers) {
        keyDown(modifier);
    }
    sleep(150ms);
    const Press times = press(key);
    for (WORD modifier : modifiers) {
        keyUp(modifier);
    }
    sleep(150ms);
    return times;
}

class HotkeyProbe : public testing::Test {
  protected:
    void SetUp() override {
        static int runs = 0;
        const std::wstring name = L"hotkey_probe_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                                  std::to_wstring(++runs);
        mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                     sizeof(ProbeReport), name.c_str());
        ASSERT_NE(mapping, nullptr);
        report = static_cast<ProbeReport*>(
            MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(ProbeReport)));
        ASSERT_NE(report, nullptr);
        probe = start(besideDriver(L"hotkey_probe.exe"), name);
        ASSERT_NE(probe.handle(), nullptr) << "hotkey_probe.exe did not start";
        ASSERT_TRUE(waitUntil([&] { return report->ready != 0 || !probe.running(); }) &&
                    report->ready != 0)
            << "the probe ended with " << probe.waitForExit(0ms);
    }

    void TearDown() override {
        if (report != nullptr && report->ready != 0) {
            PostThreadMessageW(report->pollingThreadId, WM_QUIT, 0, 0);
            EXPECT_EQ(probe.waitForExit(5s), 0u) << "the probe ends at WM_QUIT";
        }
        if (report != nullptr) {
            UnmapViewOfFile(report);
        }
        if (mapping != nullptr) {
            CloseHandle(mapping);
        }
    }

    // The firings written so far, in the order their slots were taken.
    std::vector<ProbeFiring> firings() const {
        std::vector<ProbeFiring> written;
        const LONG taken = report->taken;
        EXPECT_LE(taken, LONG(std::size(report->firings)));
        for (LONG slot = 0; slot < taken && slot < LONG(std::size(report->firings)); ++slot) {
            if (report->firings[slot].written != 0) {
                written.push_back(report->firings[slot]);
            }
        }
        return written;
    }

    // Waits for the firing count to reach `count`; then checks that it stays there a while.
    std::vector<ProbeFiring> firingsOnceThere(std::size_t count) const {
        waitUntil([&] { return firings().size() >= count; }, 2s);
        sleep(100ms);
        return firings();
    }

    HANDLE mapping = nullptr;
    ProbeReport* report = nullptr;
    Process probe;
};

struct FiringRow {
    const char* name;
    WORD key;
    std::size_t registration; // its place in probeKeys
    bool onPollingThread;
    bool onRelease;
};

const FiringRow firingRows[] = {
    {"PressOnNewThread", VK_F2, 0, false, false},
    {"ReleaseOnPollingThread", VK_F3, 1, true, true},
    {"PressOnPollingThread", VK_F4, 2, true, false},
    {"ReleaseOnNewThread", VK_F5, 3, false, true},
};

TEST_F(HotkeyProbe, EachRegistrationFiresOnItsThreadWithItsIdAtItsMoment) {
    for (std::size_t i = 0; i < probeKeyCount; ++i) {
        EXPECT_EQ(report->ids[i], int32_t(1000001 + i)) << "ids in order of registration";
    }
    for (const FiringRow& row : firingRows) {
        SCOPED_TRACE(row.name);
        const std::size_t before = firings().size();
        std::vector<Press> presses{press(row.key), press(row.key)};
        const std::vector<ProbeFiring> all = firingsOnceThere(before + presses.size());
        ASSERT_EQ(all.size(), before + presses.size()) << "one firing per press";
        for (std::size_t n = 0; n < presses.size(); ++n) {
            const ProbeFiring& firing = all[before + n];
            EXPECT_EQ(firing.id, report->ids[row.registration]);
            EXPECT_EQ(firing.threadId == report->pollingThreadId, row.onPollingThread);
            if (row.onRelease) {
                EXPECT_GT(firing.time, presses[n].up) << "fired after the release";
            } else {
                EXPECT_GT(firing.time, presses[n].down);
                EXPECT_LT(firing.time, presses[n].up) << "fired while the key was held";
            }
        }
    }
}

TEST_F(HotkeyProbe, ModifiersMustBeExactlyThoseRegistered) {
    press(VK_F6);
    pressWith({VK_CONTROL}, VK_F6);
    pressWith({VK_CONTROL}, VK_F2);
    pressWith({VK_SHIFT}, VK_F2);
    EXPECT_TRUE(firingsOnceThere(1).empty()) << "no registration matches these";

    const Press chord = pressWith({VK_CONTROL, VK_SHIFT}, VK_F6);
    const Press plain = press(VK_F2);
    const std::vector<ProbeFiring> all = firingsOnceThere(2);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].id, report->ids[4]);
    EXPECT_GT(all[0].time, chord.down);
    EXPECT_EQ(all[1].id, report->ids[0]);
    EXPECT_GT(all[1].time, plain.down);
}

TEST_F(HotkeyProbe, HoldingAKeyForASecondFiresOnce) {
    const Press held = press(VK_F2, 1s);
    std::vector<ProbeFiring> all = firingsOnceThere(1);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].id, report->ids[0]);
    EXPECT_LT(all[0].time, held.up);

    const Press heldForRelease = press(VK_F3, 1s);
    all = firingsOnceThere(2);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[1].id, report->ids[1]);
    EXPECT_GT(all[1].time, heldForRelease.up);
}

} // namespace
