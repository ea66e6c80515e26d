// Splits bytes as they come from a serial device or a log into NMEA lines. LF, CR LF and a CR
// alone all end a line (some receivers and loggers write CR only); an empty line between two
// line ends is passed on (a blank line ends an epoch in the assembler), but the LF of a CR LF
// is not an empty line of its own. A line longer than kMaxLine is dropped whole and counted.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pda::gps {

class NmeaLineSplitter {
 public:
  // NMEA sentences are at most 82 characters; much more without a line end is noise.
  static constexpr std::size_t kMaxLine = 512;

  // Calls line(std::string_view) for every line that `bytes` completes. Returns how many
  // over-long lines it dropped.
  template <class LineFunction>
  unsigned Feed(std::string_view bytes, LineFunction&& line) {
    unsigned dropped = 0;
    for (const char c : bytes) {
      if (c == '\n' && afterCr_) {
        afterCr_ = false;
        continue;
      }
      afterCr_ = c == '\r';
      if (c == '\n' || c == '\r') {
        if (!discarding_) line(std::string_view(line_));
        line_.clear();
        discarding_ = false;
        continue;
      }
      if (discarding_) continue;
      if (line_.size() == kMaxLine) {
        discarding_ = true;
        line_.clear();
        ++dropped;
        continue;
      }
      line_.push_back(c);
    }
    return dropped;
  }

  // End of input: the last line, when it has no line end.
  template <class LineFunction>
  void Finish(LineFunction&& line) {
    if (!discarding_ && !line_.empty()) line(std::string_view(line_));
    Reset();
  }

  void Reset() {
    line_.clear();
    discarding_ = false;
    afterCr_ = false;
  }

 private:
  std::string line_;
  bool discarding_ = false;
  bool afterCr_ = false;
};

}  // namespace pda::gps
