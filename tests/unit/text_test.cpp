#include "text/conversions.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

std::string bytes(std::initializer_list<unsigned char> list) {
    return std::string(list.begin(), list.end());
}

// One row of a table: its name, what goes in, what must come out.
template <class Input, class Output> struct Case {
    const char* name;
    Input input;
    Output expected;
};

template <class Input, class Output>
void PrintTo(const Case<Input, Output>& row, std::ostream* out) {
    *out << row.name;
}

auto caseName = [](const auto& info) {
    return std::string(info.param.name);
};

using IntegerTextCase = Case<int32_t, std::string>;
using NumberTextCase = Case<double, std::string>;
using ToNumberCase = Case<std::string, double>;
using TextCase = Case<std::string, std::string>;
using ByteCase = Case<double, uint8_t>;

// Literals are GBK: the full-width and symbol forms below are the two-byte codes the rules name.
TEST(GbkLiterals, AreTheBytesTheRulesName) {
    EXPECT_EQ(std::string("Ａ～　１"), bytes({0xA3, 0xC1, 0xA1, 0xAB, 0xA1, 0xA1, 0xA3, 0xB1}));
}

class IntegerText : public testing::TestWithParam<IntegerTextCase> {};

TEST_P(IntegerText, IsPlainDecimal) {
    EXPECT_EQ(text::toText(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, IntegerText,
                         testing::Values(IntegerTextCase{"Zero", 0, "0"},
                                         IntegerTextCase{"Hundred", 100, "100"},
                                         IntegerTextCase{"Negative", -5, "-5"},
                                         IntegerTextCase{"Largest", 2147483647, "2147483647"},
                                         IntegerTextCase{"Smallest", INT32_MIN, "-2147483648"}),
                         caseName);

class NumberText : public testing::TestWithParam<NumberTextCase> {};

TEST_P(NumberText, FollowsTheThirteenDigitRule) {
    EXPECT_EQ(text::toText(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NumberText,
    testing::Values(
        NumberTextCase{"One", 1.0, "1"}, NumberTextCase{"Integer", 42.0, "42"},
        NumberTextCase{"HundredHasNoPoint", 100.0, "100"},
        NumberTextCase{"NegativeFraction", -1.5, "-1.5"},
        NumberTextCase{"SumOfTenths", 0.1 + 0.2, "0.3"},
        NumberTextCase{"OneThird", 1.0 / 3.0, "0.3333333333333"},
        NumberTextCase{"TwoThirds", 2.0 / 3.0, "0.6666666666667"},
        NumberTextCase{"Fraction", 123456.789, "123456.789"},
        NumberTextCase{"SmallestFixed", 0.0001, "0.0001"},
        NumberTextCase{"LargestExponentOfFixed", 0.00012345, "0.00012345"},
        NumberTextCase{"ThreeDigitNegativeExponent", 0.00001, "1e-005"},
        NumberTextCase{"LargestFixed", 9999999999999.0, "9999999999999"},
        NumberTextCase{"SmallestExponential", 10000000000000.0, "1e+013"},
        NumberTextCase{"ExponentialDropsFourteenthDigit", 10000000000001.0, "1e+013"},
        NumberTextCase{"ExponentialWithFraction", 12345678901234.0, "1.234567890123e+013"},
        NumberTextCase{"ExactTieRoundsUp", 1390973406940.5, "1390973406941"},
        NumberTextCase{"BelowTieRoundsUpFromSeventeenDigits", 64847.747467235, "64847.74746724"},
        NumberTextCase{"CarryIntoExponential", 9999999999999.5, "1e+013"},
        NumberTextCase{"CarryIntoFixed", 0.000099999999999995, "0.0001"},
        NumberTextCase{"NegativeExponential", -2.5e-20, "-2.5e-020"},
        NumberTextCase{"Googol", 1e100, "1e+100"},
        NumberTextCase{"LargestFinite", std::numeric_limits<double>::max(), "1.797693134862e+308"},
        NumberTextCase{"SmallestSubnormal", std::numeric_limits<double>::denorm_min(),
                       "4.940656458412e-324"},
        NumberTextCase{"LargestSubnormal", std::bit_cast<double>(0x000FFFFFFFFFFFFF),
                       "2.225073858507e-308"},
        NumberTextCase{"SmallestNormal", std::numeric_limits<double>::min(), "2.225073858507e-308"},
        NumberTextCase{"SeventeenDigitsCarryIntoTheExponent", 1e-14, "1e-014"}, // 9.99...9e-15
        NumberTextCase{"SeventeenDigitsCarryBelowTheLargest", 1e98, "1e+098"},
        NumberTextCase{"Zero", 0.0, "0"}, NumberTextCase{"NegativeZero", -0.0, "0"},
        NumberTextCase{"Infinity", kInfinity, "1.#INF"},
        NumberTextCase{"MinusInfinity", -kInfinity, "-1.#INF"},
        NumberTextCase{"QuietNaN", std::bit_cast<double>(0x7FF8000000000000), "1.#QNAN"},
        NumberTextCase{"NegativeQuietNaN", std::bit_cast<double>(0xFFF8000000000001), "-1.#QNAN"},
        NumberTextCase{"DefaultNaN", std::bit_cast<double>(0xFFF8000000000000), "-1.#IND"},
        NumberTextCase{"SignallingNaN", std::bit_cast<double>(0x7FF0000000000001), "1.#SNAN"},
        NumberTextCase{"NegativeSignallingNaN", std::bit_cast<double>(0xFFF4000000000000),
                       "-1.#SNAN"}),
    caseName);

class ToNumber : public testing::TestWithParam<ToNumberCase> {};

TEST_P(ToNumber, ReadsTheLongestNumericPrefix) {
    EXPECT_EQ(text::toNumber(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToNumber,
    testing::Values(
        ToNumberCase{"Empty", "", 0.0}, ToNumberCase{"Caption", "MervoltV1.0", 0.0},
        ToNumberCase{"Integer", "42", 42.0}, ToNumberCase{"TrailingText", "  -7.25xyz", -7.25},
        ToNumberCase{"LeadingPoint", ".5", 0.5}, ToNumberCase{"TrailingPoint", "5.", 5.0},
        ToNumberCase{"PlusSign", "+3", 3.0}, ToNumberCase{"SmallE", "1e3", 1000.0},
        ToNumberCase{"CapitalE", "1E3", 1000.0}, ToNumberCase{"SmallD", "1d3", 1000.0},
        ToNumberCase{"CapitalDNegative", "1D-2", 0.01},
        ToNumberCase{"PointThenExponent", "5.e3", 5000.0},
        ToNumberCase{"LetterWithoutDigits", "1e", 1.0},
        ToNumberCase{"SignWithoutDigits", "1e+", 1.0}, ToNumberCase{"TwoSigns", "1e+-3", 1.0},
        ToNumberCase{"ExponentOfThirteen", "1e+013", 10000000000000.0},
        ToNumberCase{"InfinityText", "1.#INF", 1.0},
        ToNumberCase{"AllWhiteSpace", " \t\n\v\f\r8", 8.0},
        ToNumberCase{"OnlyWhiteSpace", " \t ", 0.0}, ToNumberCase{"LoneSign", "-", 0.0},
        ToNumberCase{"LonePoint", ".", 0.0}, ToNumberCase{"SignedPoint", "-.e5", 0.0},
        ToNumberCase{"ExponentFirst", "e5", 0.0}, ToNumberCase{"NoHexadecimal", "0x1A", 0.0},
        ToNumberCase{"NoGrouping", "1,000", 1.0},
        ToNumberCase{"NearestOfTwo", "9007199254740993", 9007199254740992.0},
        ToNumberCase{"AboveHalfway", "9007199254740993.0000000000000000000001", 9007199254740994.0},
        ToNumberCase{"Overflow", "1e400", kInfinity},
        ToNumberCase{"NegativeOverflow", "-1e400", -kInfinity},
        ToNumberCase{"HugeExponent", "1e99999999999999999999", kInfinity},
        ToNumberCase{"LongMantissaOverflow", "1" + std::string(400, '0') + "e-50", kInfinity},
        ToNumberCase{"Underflow", "1e-400", 0.0},
        ToNumberCase{"LongFractionUnderflow", "0." + std::string(400, '0') + "1e+50", 0.0},
        ToNumberCase{"LongMantissaInRange", "1" + std::string(400, '0') + "e-300", 1e100},
        ToNumberCase{"Subnormal", "4.9e-324", std::numeric_limits<double>::denorm_min()},
        ToNumberCase{"FullWidthDigits", "１２３", 123.0},
        ToNumberCase{"FullWidthMinus", "－５", -5.0},
        ToNumberCase{"IdeographicSpace", "　12", 12.0},
        ToNumberCase{"FullWidthPointAndExponent", "１．５ｅ３", 1500.0},
        ToNumberCase{"HalfLeadByteOnly", bytes({'7', 0xA3}), 7.0}),
    caseName);

// The exact decimal value, with more digits than any double needs: the C library writes them all.
std::string exactly(long double value) {
    char buffer[1200];
    std::snprintf(buffer, sizeof buffer, "%.1100Le", value);
    return buffer;
}

// Just above the exact value: one more digit after all of its digits.
std::string justAbove(long double value) {
    std::string shown = exactly(value);
    shown.insert(shown.find('e'), "1");
    return shown;
}

constexpr double kLargest = std::numeric_limits<double>::max();
constexpr double kSmallestNormal = std::numeric_limits<double>::min();
constexpr double kLargestSubnormal = std::bit_cast<double>(0x000FFFFFFFFFFFFF);
constexpr double kSmallestSubnormal = std::numeric_limits<double>::denorm_min();

long double halfway(double below, double above) {
    return (static_cast<long double>(below) + above) / 2; // exact with a 64-bit significand
}

class NearestDouble : public testing::TestWithParam<ToNumberCase> {};

TEST_P(NearestDouble, RoundsHalfwayToEvenAtTheEdges) {
    EXPECT_EQ(std::bit_cast<uint64_t>(text::toNumber(GetParam().input)),
              std::bit_cast<uint64_t>(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NearestDouble,
    testing::Values(
        ToNumberCase{"HalfwayUpToEven", "9007199254740995", 9007199254740996.0},
        ToNumberCase{"StickyBeyondEightHundredDigits",
                     "9007199254740993." + std::string(900, '0') + "1", 9007199254740994.0},
        ToNumberCase{"ZerosBeyondEightHundredDigits",
                     "9007199254740993" + std::string(900, '0') + "e-900", 9007199254740992.0},
        ToNumberCase{"EightHundredDigitsNearTheSmallest",
                     "0." + std::string(323, '0') + std::string(800, '9'), 2 * kSmallestSubnormal},
        ToNumberCase{"HalfTheSmallestSubnormal", exactly(halfway(0.0, kSmallestSubnormal)), 0.0},
        ToNumberCase{"AboveHalfTheSmallestSubnormal", justAbove(halfway(0.0, kSmallestSubnormal)),
                     kSmallestSubnormal},
        ToNumberCase{"HalfwayIntoTheNormals", exactly(halfway(kLargestSubnormal, kSmallestNormal)),
                     kSmallestNormal},
        ToNumberCase{"LargestSubnormal", "2.2250738585072009e-308", kLargestSubnormal},
        ToNumberCase{"SmallestNormal", "2.2250738585072014e-308", kSmallestNormal},
        ToNumberCase{"LargestFinite", "1.7976931348623158e308", kLargest},
        ToNumberCase{"HalfwayToInfinity", exactly(kLargest + std::ldexp(1.0L, 970)), kInfinity}),
    caseName);

TEST(ToNumber, KeepsTheSignOfZero) {
    EXPECT_TRUE(std::signbit(text::toNumber("-0")));
    EXPECT_TRUE(std::signbit(text::toNumber("-1e-400")));
    EXPECT_FALSE(std::signbit(text::toNumber("0")));
}

// The speed-test button counts in the caption: text to number, plus one, back to text.
TEST(CaptionCounter, CountsUpToThirteenDigitsThenStops) {
    EXPECT_EQ(text::toText(text::toNumber("MervoltV1.0") + 1.0), "1");
    for (const char* shown : {"1", "99", "123456789", "2147483648", "9999999999998"}) {
        const double next = text::toNumber(shown) + 1.0;
        EXPECT_EQ(text::toNumber(text::toText(next)), next) << shown;
    }
    EXPECT_EQ(text::toText(text::toNumber("9999999999999") + 1.0), "1e+013");
    EXPECT_EQ(text::toText(text::toNumber("1e+013") + 1.0), "1e+013");
}

class HalfWidth : public testing::TestWithParam<TextCase> {};

TEST_P(HalfWidth, MapsFullWidthFormsToAscii) {
    EXPECT_EQ(text::toHalfWidth(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HalfWidth,
    testing::Values(TextCase{"Empty", "", ""}, TextCase{"AsciiStays", "a b~*", "a b~*"},
                    TextCase{"FullWidthRow", "！０Ａ－￥", "!0A-$"},
                    TextCase{"RowEnds", bytes({0xA3, 0xA1, 0xA3, 0xFE}), "!~"},
                    TextCase{"OutsideTheRow", bytes({0xA3, 0xA0, 0xA3, 0xFF}),
                             bytes({0xA3, 0xA0, 0xA3, 0xFF})},
                    TextCase{"IdeographicSpace", "　", " "}, TextCase{"WaveDash", "～", "~"},
                    TextCase{"Stars", "☆★", "**"}, TextCase{"OtherCharacters", "当前", "当前"},
                    TextCase{"PairWithAsciiSecondByte", bytes({0x81, 'A'}), bytes({0x81, 'A'})},
                    TextCase{"LeadByteAtTheEnd", bytes({'1', 0xA3}), "1"}),
    caseName);

class FullWidth : public testing::TestWithParam<TextCase> {};

TEST_P(FullWidth, MapsPrintableAsciiToFullWidthForms) {
    EXPECT_EQ(text::toFullWidth(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, FullWidth,
                         testing::Values(TextCase{"Empty", "", ""},
                                         TextCase{"LettersAndSpace", "a b", "ａ　ｂ"},
                                         TextCase{"Row", "Ae0-!}", "Ａｅ０－！｝"},
                                         TextCase{"Dollar", "$", bytes({0xA3, 0xA4})},
                                         TextCase{"Tilde", "~", "～"},
                                         TextCase{"ControlBytesStay", "\t\x1f\x7f", "\t\x1f\x7f"},
                                         TextCase{"PairsStay", bytes({0xA3, 0xC1, 0x81, 'A'}),
                                                  bytes({0xA3, 0xC1, 0x81, 'A'})},
                                         TextCase{"LeadByteAtTheEnd", bytes({'a', 0xA3}), "ａ"}),
                         caseName);

TEST(WidthForms, HalfUndoesFullForEveryAsciiByte) {
    std::string ascii;
    for (int byte = 1; byte < 0x80; ++byte) {
        ascii += static_cast<char>(byte);
    }
    EXPECT_EQ(text::toHalfWidth(text::toFullWidth(ascii)), ascii);
}

class LowerCase : public testing::TestWithParam<TextCase> {};

TEST_P(LowerCase, LowersAsciiLettersOnly) {
    EXPECT_EQ(text::toLowerCase(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LowerCase,
    testing::Values(TextCase{"Empty", "", ""}, TextCase{"FileSuffix", "A.TMP", "a.tmp"},
                    TextCase{"Boundaries", "@AZ[`az{", "@az[`az{"},
                    TextCase{"SecondByteStays", bytes({0x81, 'A', 'B'}), bytes({0x81, 'A', 'b'})},
                    TextCase{"FullWidthLetterStays", "Ａ", "Ａ"},
                    TextCase{"LeadByteAtTheEnd", bytes({'A', 0x81}), bytes({'a', 0x81})}),
    caseName);

struct RightCase {
    const char* name;
    std::string text;
    int32_t count;
    std::string expected;
};

void PrintTo(const RightCase& row, std::ostream* out) {
    *out << row.name;
}

class RightOfText : public testing::TestWithParam<RightCase> {};

TEST_P(RightOfText, KeepsTheLastBytes) {
    EXPECT_EQ(text::rightOfText(GetParam().text, GetParam().count), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RightOfText,
    testing::Values(RightCase{"Suffix", "clicker.tmp", 4, ".tmp"},
                    RightCase{"CaseKept", "a.TMP", 4, ".TMP"},
                    RightCase{"Shorter", "tmp", 4, "tmp"}, RightCase{"Zero", "abc", 0, ""},
                    RightCase{"Negative", "abc", -1, ""},
                    RightCase{"Smallest", "abc", INT32_MIN, ""},
                    RightCase{"Largest", "abc", INT32_MAX, "abc"},
                    RightCase{"CutInsideCharacter", "当前", 3, bytes({0xB1, 0xC7, 0xB0})}),
    caseName);

class ToByte : public testing::TestWithParam<ByteCase> {};

TEST_P(ToByte, TruncatesAndKeepsTheLowestBits) {
    EXPECT_EQ(text::toByte(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToByte,
    testing::Values(ByteCase{"Zero", 0.0, 0}, ByteCase{"Truncated", 113.9, 113},
                    ByteCase{"Wraps", 256.0, 0}, ByteCase{"WrapsPastOneByte", 300.0, 44},
                    ByteCase{"MinusOne", -1.0, 255}, ByteCase{"TowardZero", -0.5, 0},
                    ByteCase{"SmallestInt64", -9223372036854775808.0, 0},
                    ByteCase{"BeyondFourBytes", 4294967338.0, 42},
                    ByteCase{"NegativeBeyondFourBytes", -4294967338.0, 214},
                    ByteCase{"TwoTo63", 9223372036854775808.0, 0}, ByteCase{"BelowInt64", -1e19, 0},
                    ByteCase{"Infinity", kInfinity, 0},
                    ByteCase{"NaN", std::numeric_limits<double>::quiet_NaN(), 0}),
    caseName);

TEST(AbsValue, NegatesOnlyWhatIsBelowZero) {
    EXPECT_EQ(text::absValue(-113.0), 113.0);
    EXPECT_EQ(text::absValue(2.5), 2.5);
    EXPECT_EQ(text::absValue(-kInfinity), kInfinity);
    EXPECT_TRUE(std::signbit(text::absValue(-0.0)));
    EXPECT_EQ(text::toByte(text::absValue(-113.0)), 113);
}

TEST(JoinTexts, PutsThePartsOneAfterTheOther) {
    EXPECT_EQ(text::joinTexts({"当前速度：\r\n\r\n", text::toText(100), "毫秒/次 "}),
              "当前速度：\r\n\r\n100毫秒/次 ");
    EXPECT_EQ(text::joinTexts({"", "a", "", "b"}), "ab");
    EXPECT_EQ(text::joinTexts({"", ""}), "");
}

// "e+13" as "e+013": the C library writes at least two exponent digits, the rule three.
std::string withThreeDigitExponent(std::string shown) {
    const size_t e = shown.find('e');
    if (e != std::string::npos && shown.size() - e == 4) {
        shown.insert(e + 2, "0");
    }
    return shown;
}

std::string printed(const char* format, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

// Where the rule and the C library's single correct rounding part, the 17-digit string must end in
// "5000" at digits 14 to 17 and the rule's text must be those 13 digits plus one unit.
void expectSameAsCLibrary(double value, int& roundedUpFromSeventeen) {
    const std::string shown = text::toText(value);
    const std::string library = withThreeDigitExponent(printed("%.13g", value));
    if (shown == library) {
        return;
    }
    const std::string seventeen = printed("%.16e", std::fabs(value)); // d.ddd...e±X
    const std::string digits = seventeen.substr(0, 1) + seventeen.substr(2, 16);
    ASSERT_EQ(digits.substr(13), "5000") << seventeen << " shown as " << shown;
    const long long roundedUp = std::atoll(digits.substr(0, 13).c_str()) + 1;
    const int exponent = std::atoi(seventeen.c_str() + 19);
    char rule[64];
    std::snprintf(rule, sizeof rule, "%llde%d", roundedUp, exponent - 12);
    const std::string expected =
        (value < 0 ? "-" : "") +
        withThreeDigitExponent(printed("%.13g", std::strtod(rule, nullptr)));
    ASSERT_EQ(shown, expected) << seventeen;
    ++roundedUpFromSeventeen;
}

TEST(NumberTextDifferential, MatchesTheCLibraryButForTheSeventeenDigitRounding) {
    std::mt19937_64 random(20240601);
    int roundedUpFromSeventeen = 0;
    // Every bit pattern is as likely: all magnitudes, subnormals included.
    for (int i = 0; i < 1000000; ++i) {
        const double value = std::bit_cast<double>(random());
        if (std::isfinite(value) && value != 0.0) {
            expectSameAsCLibrary(value, roundedUpFromSeventeen);
        }
    }
    // Exact ties at the 13th digit, where the C library rounds to even.
    std::uniform_int_distribution<long long> thirteenDigits(1000000000000, 9999999999999);
    for (int i = 0; i < 100000; ++i) {
        expectSameAsCLibrary(static_cast<double>(thirteenDigits(random)) + 0.5,
                             roundedUpFromSeventeen);
    }
    EXPECT_GT(roundedUpFromSeventeen, 40000); // about half the ties, and a few random values
}

// A random text of the accepted form: sign, digits with at most one point, an exponent.
std::string randomNumberText(std::mt19937_64& random) {
    std::string text;
    const auto pick = [&](int count) {
        return static_cast<int>(random() % count);
    };
    const auto addDigits = [&](int count) {
        for (int i = 0; i < count; ++i) {
            text += static_cast<char>('0' + pick(10));
        }
    };
    constexpr const char* kSigns[] = {"", "+", "-"};
    text += kSigns[pick(3)];
    const int integerDigits = pick(22);
    addDigits(integerDigits);
    if (pick(2) == 0) {
        text += '.';
        addDigits(integerDigits == 0 ? 1 + pick(21) : pick(22));
    } else if (integerDigits == 0) {
        addDigits(1);
    }
    if (pick(3) != 0) {
        text += "eEdD"[pick(4)];
        text += kSigns[pick(3)];
        addDigits(1 + pick(3));
    }
    return text;
}

TEST(ToNumberDifferential, RoundsLikeStrtod) {
    std::mt19937_64 random(20240602);
    for (int i = 0; i < 1000000; ++i) {
        const std::string number = randomNumberText(random);
        std::string forStrtod = number;
        for (char& c : forStrtod) {
            c = (c == 'd' || c == 'D') ? 'e' : c;
        }
        const double expected = std::strtod(forStrtod.c_str(), nullptr);
        ASSERT_EQ(std::bit_cast<uint64_t>(text::toNumber(number + "x")),
                  std::bit_cast<uint64_t>(expected))
            << number;
    }
}

} // namespace
