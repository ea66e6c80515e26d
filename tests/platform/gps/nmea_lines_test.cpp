// Line assembly of the serial and log sources: CR LF, LF and CR alone all end a line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "nmea_lines.h"

namespace pda::gps {
namespace {

std::vector<std::string> Split(const std::string& bytes, std::size_t piece) {
  NmeaLineSplitter splitter;
  std::vector<std::string> out;
  auto take = [&](std::string_view line) { out.emplace_back(line); };
  for (std::size_t i = 0; i < bytes.size(); i += piece)
    splitter.Feed(std::string_view(bytes).substr(i, piece), take);
  splitter.Finish(take);
  return out;
}

TEST(NmeaLines, EveryLineEndGivesTheSameLinesInAnyPieces) {
  const std::vector<std::string> expected = {"$A", "$B", "", "$C"};
  for (const char* end : {"\r\n", "\n", "\r"}) {
    const std::string bytes = std::string("$A") + end + "$B" + end + end + "$C";
    for (std::size_t piece : {1u, 2u, 3u, 64u})
      EXPECT_EQ(Split(bytes, piece), expected) << "line end " << (end[0] == '\r' ? (end[1] ? "CRLF" : "CR") : "LF") << ", pieces of " << piece;
  }
  NmeaLineSplitter splitter;
  const std::string longLine(NmeaLineSplitter::kMaxLine + 1, 'x');
  std::vector<std::string> out;
  EXPECT_EQ(splitter.Feed(longLine + "\n$D\n", [&](std::string_view l) { out.emplace_back(l); }), 1u);
  EXPECT_EQ(out, std::vector<std::string>{"$D"}) << "an over-long line is dropped whole";
}

}  // namespace
}  // namespace pda::gps
