// Code pages: the system code page and CP_UTF8 are UTF-8.
#include <gtest/gtest.h>

#include <ostream>

#include <string>
#include <vector>

#include "pda/kernel.h"

namespace {

std::u16string ToWide(UINT codePage, DWORD flags, const std::string& bytes) {
  const int needed = MultiByteToWideChar(codePage, flags, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::u16string out(static_cast<std::size_t>(needed), u'\0');
  if (needed > 0) {
    EXPECT_EQ(MultiByteToWideChar(codePage, flags, bytes.data(), static_cast<int>(bytes.size()), out.data(), needed), needed);
  }
  return out;
}

std::string ToNarrow(UINT codePage, const std::u16string& text) {
  const int needed = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(needed), '\0');
  if (needed > 0) {
    EXPECT_EQ(WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), needed, nullptr, nullptr), needed);
  }
  return out;
}

struct RoundTrip {
  const char* name;
  std::string utf8;
  std::u16string utf16;
};
void PrintTo(const RoundTrip& c, std::ostream* os) { *os << c.name; }

class CodePageRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(CodePageRoundTrip, BothWaysForBothCodePages) {
  for (UINT codePage : {CP_ACP, CP_UTF8}) {
    EXPECT_EQ(ToWide(codePage, MB_ERR_INVALID_CHARS, GetParam().utf8), GetParam().utf16);
    EXPECT_EQ(ToNarrow(codePage, GetParam().utf16), GetParam().utf8);
  }
}

INSTANTIATE_TEST_SUITE_P(
    CodePages, CodePageRoundTrip,
    ::testing::Values(RoundTrip{"Ascii", "GeoNote 47.6062095 N", u"GeoNote 47.6062095 N"},
                      RoundTrip{"Latin1Letters", "Z\xC3\xBCrich, S\xC3\xA3o Paulo", u"Z\u00FCrich, S\u00E3o Paulo"},
                      RoundTrip{"Cjk", "\xE6\x9D\xB1\xE4\xBA\xAC", u"\u6771\u4EAC"},
                      RoundTrip{"EmojiAsSurrogatePair", "\xF0\x9F\x98\x80!", u"\U0001F600!"},
                      RoundTrip{"HighestCodePoint", "\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
                      RoundTrip{"EmbeddedNul", std::string("a\0b", 3), std::u16string(u"a\0b", 3)}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadUtf8 {
  const char* name;
  std::string bytes;
  std::u16string replaced;
};
void PrintTo(const BadUtf8& c, std::ostream* os) { *os << c.name; }

class InvalidUtf8 : public ::testing::TestWithParam<BadUtf8> {};

TEST_P(InvalidUtf8, IsReplacedOrRefused) {
  EXPECT_EQ(ToWide(CP_UTF8, 0, GetParam().bytes), GetParam().replaced);
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, GetParam().bytes.data(),
                                static_cast<int>(GetParam().bytes.size()), nullptr, 0),
            0);
  EXPECT_EQ(GetLastError(), ERROR_NO_UNICODE_TRANSLATION);
}

INSTANTIATE_TEST_SUITE_P(
    CodePages, InvalidUtf8,
    ::testing::Values(BadUtf8{"LoneContinuationByte", "a\x80z", u"a\uFFFDz"},
                      BadUtf8{"ImpossibleLeadBytes", "\xC0\xC1\xF5\xFF", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
                      BadUtf8{"TruncatedTwoByteAtEnd", "ab\xC3", u"ab\uFFFD"},
                      BadUtf8{"TruncatedFourByteAtEnd", "ab\xF0\x9F\x98", u"ab\uFFFD"},
                      BadUtf8{"TruncatedThenAscii", "\xE6\x9Dz", u"\uFFFDz"},
                      BadUtf8{"OverlongSlash", "\xC0\xAF", u"\uFFFD\uFFFD"},
                      BadUtf8{"OverlongThreeByteNul", "\xE0\x80\x80", u"\uFFFD\uFFFD\uFFFD"},
                      BadUtf8{"EncodedSurrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
                      BadUtf8{"AboveUnicode", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CodePages, UnpairedSurrogatesBecomeReplacements) {
  const std::u16string loneHigh = u"a\xD83D" u"b";
  const std::u16string loneLowAtEnd = u"a\xDE00";
  EXPECT_EQ(ToNarrow(CP_UTF8, loneHigh), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(ToNarrow(CP_UTF8, loneLowAtEnd), "a\xEF\xBF\xBD");
  EXPECT_EQ(ToNarrow(CP_ACP, loneHigh), "a?b");

  char out[8];
  BOOL used = FALSE;
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, loneHigh.data(), 3, out, 8, "#", &used), 3);
  EXPECT_EQ(std::string(out, 3), "a#b");
  EXPECT_TRUE(used);

  SetLastError(0);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, loneHigh.data(), 3, out, 8, nullptr, nullptr), 0);
  EXPECT_EQ(GetLastError(), ERROR_NO_UNICODE_TRANSLATION);
}

TEST(CodePages, TerminatedInputCountsTheTerminator) {
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -1, nullptr, 0), 4);
  char16_t wide[4];
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -1, wide, 4), 4);
  EXPECT_EQ(std::u16string(wide), u"abc");
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"\u00E9", -1, nullptr, 0, nullptr, nullptr), 3);
  char narrow[3];
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"\u00E9", -1, narrow, 3, nullptr, nullptr), 3);
  EXPECT_STREQ(narrow, "\xC3\xA9");
}

TEST(CodePages, TooSmallDestinationFailsWithoutClaimingSuccess) {
  char16_t wide[3] = {u'#', u'#', u'#'};
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "abcd", 4, wide, 3), 0);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  char narrow[2];
  SetLastError(0);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"\u6771", 1, narrow, 2, nullptr, nullptr), 0);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
}

TEST(CodePages, BadArgumentsAreRefused) {
  char16_t wide[4];
  const struct {
    const char* name;
    int result;
  } cases[] = {
      {"UnknownCodePage", MultiByteToWideChar(1252, 0, "a", 1, wide, 4)},
      {"NullSource", MultiByteToWideChar(CP_UTF8, 0, nullptr, 1, wide, 4)},
      {"EmptyInput", MultiByteToWideChar(CP_UTF8, 0, "a", 0, wide, 4)},
      {"NegativeDestination", MultiByteToWideChar(CP_UTF8, 0, "a", 1, wide, -1)},
      {"DefaultCharacterWithUtf8",
       WideCharToMultiByte(CP_UTF8, 0, u"a", 1, nullptr, 0, "?", nullptr)},
  };
  for (const auto& c : cases) EXPECT_EQ(c.result, 0) << c.name;
  SetLastError(0);
  MultiByteToWideChar(CP_UTF8, 0, nullptr, 1, wide, 4);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

}  // namespace
