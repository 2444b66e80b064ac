// The launch notification: started under a ".tmp" name, the clicker clears the first three bytes
// of the shared block that its launcher created, and touches nothing else.

#include "tests/e2e/e2e_support.h"

#include <sddl.h>

namespace {

using namespace e2e;
using namespace std::chrono_literals;

// "Ｚｏｒｉｖ－ＥＶ" in GBK, as the launcher names the block.
const char blockName[] = "\xA3\xDA\xA3\xEF\xA3\xF2\xA3\xE9\xA3\xF6\xA3\xAD\xA3\xC5\xA3\xD6";
constexpr DWORD blockSize = 4096;

unsigned char pattern(DWORD i) {
    return static_cast<unsigned char>(0x5A ^ (i * 7));
}

// The launcher's side: a named block filled with a pattern.
class LaunchBlock {
  public:
    explicit LaunchBlock(SECURITY_ATTRIBUTES* security = nullptr) {
        mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, security, PAGE_READWRITE, 0, blockSize,
                                      blockName);
        view_ = static_cast<unsigned char*>(MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, 0));
        for (DWORD i = 0; i < blockSize; ++i) {
            view_[i] = pattern(i);
        }
    }
    ~LaunchBlock() {
        UnmapViewOfFile(view_);
        CloseHandle(mapping_);
    }
    bool valid() const { return view_ != nullptr; }
    bool firstThreeCleared() const { return view_[0] == 0 && view_[1] == 0 && view_[2] == 0; }
    bool untouchedFrom(DWORD first) const {
        for (DWORD i = first; i < blockSize; ++i) {
            if (view_[i] != pattern(i)) {
                return false;
            }
        }
        return true;
    }

  private:
    HANDLE mapping_ = nullptr;
    unsigned char* view_ = nullptr;
};

// A copy of clicker.exe under another name, started from it, with its window up.
Process startAs(const std::wstring& fileName, HWND* window) {
    const std::wstring folder = scratchFolder(L"launch");
    const std::wstring copy = folder + L"\\" + fileName;
    CopyFileW(besideDriver(L"clicker.exe").c_str(), copy.c_str(), FALSE);
    Process process = start(copy);
    *window = waitForWindow(process.id(), L"ClickerMain");
    return process;
}

struct NameCase {
    const char* name;
    const wchar_t* fileName;
    bool clears;
};

class LaunchName : public testing::TestWithParam<NameCase> {};

TEST_P(LaunchName, ClearsTheFirstThreeBytesOnlyUnderATmpName) {
    LaunchBlock block;
    ASSERT_TRUE(block.valid());
    HWND window = nullptr;
    Process clicker = startAs(GetParam().fileName, &window);
    ASSERT_NE(window, nullptr) << "the program did not start";
    EXPECT_EQ(block.firstThreeCleared(), GetParam().clears);
    EXPECT_TRUE(block.untouchedFrom(GetParam().clears ? 3 : 0));
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(clicker.waitForExit(10s), 0u);
}

INSTANTIATE_TEST_SUITE_P(Names, LaunchName,
                         testing::Values(NameCase{"Tmp", L"clicker.tmp", true},
                                         NameCase{"UpperCaseTmp", L"CLICKER.TMP", true},
                                         NameCase{"Exe", L"clicker.exe", false},
                                         NameCase{"TmpThenExe", L"clicker.tmp.exe", false},
                                         NameCase{"ThreeBytes", L"tmp", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LaunchBlock, WithoutABlockTheProgramStartsNormally) {
    HWND window = nullptr;
    Process clicker = startAs(L"clicker.tmp", &window);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(windowText(window), L"MervoltV1.0");
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(clicker.waitForExit(10s), 0u);
}

TEST(LaunchBlock, ABlockThatMayNotBeWrittenIsLeftAlone) {
    // Everyone may read the block; nobody may write it.
    SECURITY_ATTRIBUTES security{sizeof security, nullptr, FALSE};
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
        L"D:P(A;;GR;;;WD)", SDDL_REVISION_1, &security.lpSecurityDescriptor, nullptr));
    LaunchBlock block(&security);
    ASSERT_TRUE(block.valid());
    HWND window = nullptr;
    Process clicker = startAs(L"clicker.tmp", &window);
    ASSERT_NE(window, nullptr) << "the program did not start";
    EXPECT_TRUE(block.untouchedFrom(0));
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(clicker.waitForExit(10s), 0u);
    LocalFree(security.lpSecurityDescriptor);
}

} // namespace
