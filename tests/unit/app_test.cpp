#include "app/exit_routines.h"
#include "app/fatal_text.h"
#include "app/program_path.h"

#include <gtest/gtest.h>

namespace {

struct FatalTextCase {
    const char* name;
    std::string_view message;
    int32_t number;
    std::string_view expected;
};

class FatalText : public testing::TestWithParam<FatalTextCase> {};

TEST_P(FatalText, LaysOutTheBoxText) {
    EXPECT_EQ(app::fatalErrorText(GetParam().message, GetParam().number), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FatalText,
    testing::Values(
        FatalTextCase{
            "NumberedError", "数组成员引用下标超出定义范围", 1,
            "运行时出错!\r\n\r\n错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n"},
        FatalTextCase{"MessageOnly", "载入启动窗口失败", 0,
                      "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n"},
        FatalTextCase{"NegativeNumberNoMessage", "", -6, "运行时出错!\r\n\r\n错误代码：-6\r\n\r\n"},
        FatalTextCase{"NeitherNumberNorMessage", "", 0, "运行时出错!\r\n\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FatalText, AllocationMessageNamesTheBytes) {
    EXPECT_EQ(app::allocationFailedMessage(24), "分配 24 字节内存失败!");
    EXPECT_EQ(app::fatalErrorText(app::allocationFailedMessage(24), 0),
              "运行时出错!\r\n\r\n错误信息：分配 24 字节内存失败!\r\n");
}

// GBK: a byte of 0x80 or above starts a two-byte character.
const char* nextGbkCharacter(const char* p) {
    if (static_cast<unsigned char>(*p) >= 0x80 && p[1] != '\0') {
        return p + 2;
    }
    return p + 1;
}

struct PathCase {
    const char* name;
    std::string path;
    std::string folder;
    std::string fileName;
};

class ProgramPath : public testing::TestWithParam<PathCase> {};

TEST_P(ProgramPath, SplitsAtTheLastBackslash) {
    const auto split = app::splitProgramPath(GetParam().path, nextGbkCharacter);
    EXPECT_EQ(split.folder, GetParam().folder);
    EXPECT_EQ(split.fileName, GetParam().fileName);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProgramPath,
    testing::Values(PathCase{"Plain", "C:\\Tools\\clicker.exe", "C:\\Tools", "clicker.exe"},
                    PathCase{"Root", "C:\\clicker.exe", "C:", "clicker.exe"},
                    PathCase{"NoBackslash", "clicker.exe", "", "clicker.exe"},
                    PathCase{"Empty", "", "", ""},
                    PathCase{"TrailingBackslash", "C:\\Tools\\", "C:\\Tools", ""},
                    // 0x5C as the second byte of a two-byte character is not a separator.
                    PathCase{"SecondByteLikeBackslash", "C:\\\x81\\x\\\x95\\.exe", "C:\\\x81\\x",
                             "\x95\\.exe"},
                    PathCase{"LeadByteAtTheEnd", "C:\\a\\\x81", "C:\\a", "\x81"}),
    [](const auto& info) { return std::string(info.param.name); });

int calls[3];
void first() {
    ++calls[0];
}
void second() {
    calls[1] = calls[0];
}

TEST(ExitRoutines, RunOnceEachInOrderWithoutTwins) {
    app::ExitRoutines routines;
    routines.add(first);
    routines.add(second);
    routines.add(first);
    EXPECT_EQ(routines.size(), 2u);
    routines.runAll();
    EXPECT_EQ(calls[0], 1);
    EXPECT_EQ(calls[1], 1) << "the second routine ran after the first";
    routines.runAll();
    EXPECT_EQ(calls[0], 1) << "the list is empty after running";
}

} // namespace

#include "app/launch_block.h"

namespace {

struct LaunchNameCase {
    const char* name;
    std::string fileName;
    bool clears;
};

class LaunchName : public testing::TestWithParam<LaunchNameCase> {};

TEST_P(LaunchName, OnlyATmpNameClearsTheBlock) {
    EXPECT_EQ(app::startedAsTemporaryFile(GetParam().fileName), GetParam().clears);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LaunchName,
    testing::Values(LaunchNameCase{"Tmp", "clicker.tmp", true},
                    LaunchNameCase{"UpperCaseTmp", "CLICKER.TMP", true},
                    LaunchNameCase{"MixedCaseTmp", "a.TmP", true},
                    LaunchNameCase{"JustTheExtension", ".tmp", true},
                    LaunchNameCase{"Exe", "clicker.exe", false},
                    LaunchNameCase{"TmpThenExe", "clicker.tmp.exe", false},
                    LaunchNameCase{"ThreeBytes", "tmp", false}, LaunchNameCase{"Empty", "", false},
                    // The cut falls inside a two-byte character: its second byte is not a '.'.
                    LaunchNameCase{"CutInsideATwoByteCharacter", "\xA3\xAEtmp", false},
                    // Full-width letters are not lower-cased.
                    LaunchNameCase{"FullWidthLetters", "a.\xA3\xD4MP", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LaunchBlock, NameIsTheFullWidthFormOfItsLetters) {
    EXPECT_EQ(app::launchBlockName(),
              "\xA3\xDA\xA3\xEF\xA3\xF2\xA3\xE9\xA3\xF6\xA3\xAD\xA3\xC5\xA3\xD6");
}

} // namespace
