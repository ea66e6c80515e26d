// The wide printf family: numbers against the C library's own snprintf, text by hand.
#include <gtest/gtest.h>

#include <ostream>

#include <cstdio>
#include <functional>
#include <string>

#include "pda/kernel.h"

namespace {

std::string Narrow(const std::u16string& wide) {
  std::string out;
  for (char16_t c : wide) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return out;
}

// Formats the same values both ways and gives back (wide result as ASCII, C library result).
template <class... Args>
std::pair<std::string, std::string> Both(const char16_t* wideFormat, const char* narrowFormat,
                                         Args... args) {
  char16_t wide[512];
  EXPECT_EQ(StringCchPrintfW(wide, 512, wideFormat, args...), S_OK);
  char narrow[512];
  std::snprintf(narrow, sizeof narrow, narrowFormat, args...);
  return {Narrow(wide), narrow};
}

struct NumberCase {
  const char* name;
  std::function<std::pair<std::string, std::string>()> run;
};
void PrintTo(const NumberCase& c, std::ostream* os) { *os << c.name; }

// The same format text for both, or a wide one whose size prefix means what `narrow` means.
#define SAME(name, format, ...) NumberCase{name, [] { return Both(u"" format, format, __VA_ARGS__); }}
#define MAPPED(name, wide, narrow, ...) NumberCase{name, [] { return Both(u"" wide, narrow, __VA_ARGS__); }}

class NumbersMatchTheCLibrary : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumbersMatchTheCLibrary, Exactly) {
  const auto [wide, narrow] = GetParam().run();
  EXPECT_EQ(wide, narrow);
}

INSTANTIATE_TEST_SUITE_P(
    WideFormat, NumbersMatchTheCLibrary,
    ::testing::Values(
        SAME("LatitudeSevenDecimalsWithZeroInPrecision", "%.07f", 47.60620949),
        SAME("NegativeLongitudeSevenDecimals", "%.07f", -122.33207083),
        SAME("RoundingHalfway", "%.1f", 0.25),
        SAME("ZeroPaddedFloat", "%08.3f", 3.14159),
        SAME("ZeroPaddedNegativeFloat", "%08.3f", -3.14159),
        SAME("PlusFlagFloat", "%+.2f", 2.5),
        SAME("Exponent", "%e", 12345.678),
        SAME("ExponentUpper", "%.3E", 0.000123),
        SAME("General", "%g", 0.0001234),
        SAME("GeneralLarge", "%G", 1e20),
        SAME("AlternateGeneral", "%#g", 1.0),
        SAME("DefaultFloat", "%f", 1e15),
        SAME("HugeFloat", "%f", 1.7976931348623157e308),
        SAME("TwoDigitPad", "%02d", 5),
        SAME("TwoDigitPadOverflows", "%02d", 123),
        SAME("NegativeWidth", "%5d", -42),
        SAME("LeftAligned", "%-5d|", 42),
        SAME("SpaceFlag", "% d", 42),
        SAME("PlusFlag", "%+i", 7),
        SAME("IntegerPrecision", "%.4d", 12),
        SAME("StarWidth", "%*d", 8, 7),
        SAME("NegativeStarWidthMeansLeft", "%*d|", -6, 3),
        SAME("StarPrecision", "%.*f", 3, 2.71828),
        SAME("StarBoth", "%*.*f", 10, 2, 2.71828),
        SAME("NegativeStarPrecisionIsIgnored", "%.*f", -1, 2.5),
        SAME("Unsigned", "%u", 4000000000u),
        SAME("HexLower", "%x", 255),
        SAME("HexUpper", "%X", 0xBEEFu),
        SAME("HexAlternate", "%#x", 255),
        SAME("HexWidthZero", "%08X", 0xABCu),
        SAME("Octal", "%o", 8),
        SAME("ShortWraps", "%hd", 70000),
        SAME("ShortUnsignedWraps", "%hu", -1),
        SAME("CharSized", "%hhd", 300),
        SAME("LongLong", "%lld", -9000000000000000000LL),
        SAME("LongLongHex", "%llx", 0xFEDCBA9876543210ULL),
        SAME("SizeT", "%zu", static_cast<std::size_t>(123456789012ULL)),
        SAME("Percent", "%5.1f%%", 99.44),
        SAME("IntMinimum", "%d", INT32_MIN),
        MAPPED("LongIs32Bits", "%ld", "%d", static_cast<LONG>(-5)),
        MAPPED("UnsignedLongIs32Bits", "%lu", "%u", static_cast<DWORD>(4294967295u)),
        MAPPED("LongHexIs32Bits", "%08lX", "%08X", static_cast<DWORD>(0xC0FFEEu)),
        MAPPED("I64", "%I64d", "%lld", 1234567890123LL),
        MAPPED("NarrowString", "%hs", "%s", "abc"),
        MAPPED("NarrowStringLeft", "%-8hs|", "%-8s|", "abc"),
        MAPPED("NarrowStringRight", "%10hs", "%10s", "abc"),
        MAPPED("NarrowStringPrecision", "%.2hs", "%.2s", "abcdef"),
        MAPPED("UpperSIsNarrow", "%S", "%s", "narrow"),
        MAPPED("NarrowCharacter", "[%hc]", "[%c]", 'q'),
        MAPPED("Mixed", "%hs=%d (%.2f%%)", "%s=%d (%.2f%%)", "sats", 7, 12.5)),
    [](const auto& info) { return std::string(info.param.name); });

#undef SAME
#undef MAPPED

struct TextCase {
  const char* name;
  std::function<HRESULT(char16_t*, size_t)> format;
  std::u16string expected;
};
void PrintTo(const TextCase& c, std::ostream* os) { *os << c.name; }

class WideText : public ::testing::TestWithParam<TextCase> {};

TEST_P(WideText, FormatsAsExpected) {
  char16_t buffer[64];
  EXPECT_EQ(GetParam().format(buffer, 64), S_OK);
  EXPECT_EQ(std::u16string(buffer), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    WideFormat, WideText,
    ::testing::Values(
        TextCase{"WideString", [](auto b, auto n) { return StringCchPrintfW(b, n, u"<%s>", u"Zazorudu"); }, u"<Zazorudu>"},
        TextCase{"WideStringLeftPadded", [](auto b, auto n) { return StringCchPrintfW(b, n, u"%-8s|", u"ab"); }, u"ab      |"},
        TextCase{"WideStringRightPadded", [](auto b, auto n) { return StringCchPrintfW(b, n, u"%5s", u"ab"); }, u"   ab"},
        TextCase{"WideStringPrecision", [](auto b, auto n) { return StringCchPrintfW(b, n, u"%.3s", u"abcdef"); }, u"abc"},
        TextCase{"LongSIsWide", [](auto b, auto n) { return StringCchPrintfW(b, n, u"%ls%ws", u"x", u"y"); }, u"xy"},
        TextCase{"NonAsciiWideKept", [](auto b, auto n) { return StringCchPrintfW(b, n, u"%s", u"N 47\u00B0 \U0001F600"); }, u"N 47\u00B0 \U0001F600"},
        TextCase{"NarrowUtf8Decoded", [](auto b, auto n) { return StringCchPrintfW(b, n, u"%hs", "caf\xC3\xA9"); }, u"caf\u00E9"},
        TextCase{"NarrowBadUtf8Replaced", [](auto b, auto n) { return StringCchPrintfW(b, n, u"%hs", "a\xFFz"); }, u"a\uFFFDz"},
        TextCase{"WideCharacter", [](auto b, auto n) { return StringCchPrintfW(b, n, u"%c%c", u'Z', u'\u00E9'); }, u"Z\u00E9"},
        TextCase{"PaddedCharacter", [](auto b, auto n) { return StringCchPrintfW(b, n, u"%3c|%-3c|", u'a', u'b'); }, u"  a|b  |"},
        TextCase{"NullWideString", [](auto b, auto n) { return StringCchPrintfW(b, n, u"%s", static_cast<LPCWSTR>(nullptr)); }, u"(null)"},
        TextCase{"NullNarrowString", [](auto b, auto n) { return StringCchPrintfW(b, n, u"%hs", static_cast<LPCSTR>(nullptr)); }, u"(null)"},
        TextCase{"PercentLiteral", [](auto b, auto n) { return StringCchPrintfW(b, n, u"100%%"); }, u"100%"},
        TextCase{"PercentIsNotReinterpretedFromArguments", [](auto b, auto n) { return StringCchPrintfW(b, n, u"%s", u"%d%s%n"); }, u"%d%s%n"},
        TextCase{"WriteBackConversionIsShownNotRun", [](auto b, auto n) { return StringCchPrintfW(b, n, u"a%nb"); }, u"a%nb"},
        TextCase{"SpecCutByEndOfFormat", [](auto b, auto n) { return StringCchPrintfW(b, n, u"x%-0"); }, u"x"},
        TextCase{"PointerIsFullWidthUpperHex", [](auto b, auto n) { return StringCchPrintfW(b, n, u"%p", reinterpret_cast<void*>(0xABCDEF)); }, u"0000000000ABCDEF"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WideFormat, LongResultIsCutToTheBufferAndTerminated) {
  const std::u16string six_hundred(600, u'x');
  char16_t buffer[512];
  std::fill(std::begin(buffer), std::end(buffer), u'#');
  EXPECT_EQ(StringCchPrintfW(buffer, 512, u"%s", six_hundred.c_str()), STRSAFE_E_INSUFFICIENT_BUFFER);
  EXPECT_EQ(lstrlenW(buffer), 511);
  EXPECT_EQ(buffer[511], u'\0');
  EXPECT_EQ(std::u16string(buffer), six_hundred.substr(0, 511));
}

TEST(WideFormat, ResultThatJustFitsIsComplete) {
  const std::u16string fits(511, u'y');
  char16_t buffer[512];
  EXPECT_EQ(StringCchPrintfW(buffer, 512, u"%s", fits.c_str()), S_OK);
  EXPECT_EQ(std::u16string(buffer), fits);
}

TEST(WideFormat, HugeWidthIsCutWithoutRunningAway) {
  char16_t buffer[16];
  EXPECT_EQ(StringCchPrintfW(buffer, 16, u"%2000000000d", 5), STRSAFE_E_INSUFFICIENT_BUFFER);
  EXPECT_EQ(std::u16string(buffer), std::u16string(15, u' '));
  EXPECT_EQ(StringCchPrintfW(buffer, 16, u"%-2000000000d", 5), STRSAFE_E_INSUFFICIENT_BUFFER);
  EXPECT_EQ(std::u16string(buffer), u"5" + std::u16string(14, u' '));
  EXPECT_EQ(StringCchPrintfW(buffer, 16, u"%.2000000000f", 0.5), STRSAFE_E_INSUFFICIENT_BUFFER);
  EXPECT_EQ(std::u16string(buffer), u"0.5" + std::u16string(12, u'0'));
}

TEST(WideFormat, BadArgumentsAreRefused) {
  char16_t buffer[4] = u"abc";
  EXPECT_EQ(StringCchPrintfW(nullptr, 4, u"x"), STRSAFE_E_INVALID_PARAMETER);
  EXPECT_EQ(StringCchPrintfW(buffer, 0, u"x"), STRSAFE_E_INVALID_PARAMETER);
  EXPECT_EQ(std::u16string(buffer), u"abc");  // untouched
}

TEST(WideFormat, WsprintfReturnsCharactersWritten) {
  char16_t buffer[1024];
  EXPECT_EQ(wsprintfW(buffer, u"%d sats, %hs", 12, "fix"), 12);
  EXPECT_EQ(std::u16string(buffer), u"12 sats, fix");
  const std::u16string long_text(2000, u'z');
  EXPECT_EQ(wsprintfW(buffer, u"%s", long_text.c_str()), 1023);
}

TEST(WideStrings, CopyConcatenateCompare) {
  char16_t buffer[16];
  lstrcpyW(buffer, u"Geo");
  lstrcatW(buffer, u"Notes");
  EXPECT_EQ(std::u16string(buffer), u"GeoNotes");
  EXPECT_EQ(lstrlenW(buffer), 8);
  EXPECT_EQ(lstrlenW(nullptr), 0);
  lstrcpynW(buffer, u"abcdef", 4);
  EXPECT_EQ(std::u16string(buffer), u"abc");
  EXPECT_LT(lstrcmpW(u"abc", u"abd"), 0);
  EXPECT_GT(lstrcmpW(u"abc", u"ab"), 0);
  EXPECT_EQ(lstrcmpW(u"abc", u"abc"), 0);
  EXPECT_NE(lstrcmpW(u"ABC", u"abc"), 0);
  EXPECT_EQ(lstrcmpiW(u"ABC \u00C9", u"abc \u00E9"), 0);
  EXPECT_LT(lstrcmpiW(u"Alpha", u"beta"), 0);
}

TEST(WideStrings, CountedCopyAndLength) {
  char16_t buffer[4];
  EXPECT_EQ(StringCchCopyW(buffer, 4, u"abc"), S_OK);
  EXPECT_EQ(StringCchCopyW(buffer, 4, u"abcd"), STRSAFE_E_INSUFFICIENT_BUFFER);
  EXPECT_EQ(std::u16string(buffer), u"abc");
  size_t length = 99;
  EXPECT_EQ(StringCchLengthW(u"hello", 10, &length), S_OK);
  EXPECT_EQ(length, 5u);
  EXPECT_EQ(StringCchLengthW(u"hello", 5, &length), STRSAFE_E_INVALID_PARAMETER);
}

}  // namespace
