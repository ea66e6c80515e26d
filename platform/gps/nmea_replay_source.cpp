// Source: an NMEA log replayed at one epoch a second (see nmea_sources.h). A file is read in
// pieces as the replay goes, never whole: a log of any size costs one buffer.
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string_view>

#include "nmea_lines.h"
#include "nmea_parser.h"
#include "nmea_sources.h"
#include "source_watch.h"

namespace pda::gps {
namespace {

using namespace std::chrono_literals;

// Where the replay's bytes come from.
class ReplayInput {
 public:
  virtual ~ReplayInput() = default;
  // Bytes read; 0 at the end; negative on a read error.
  virtual long Read(char* buffer, std::size_t size) = 0;
  // Back to the start; false when that fails.
  virtual bool Rewind() = 0;
};

class TextInput final : public ReplayInput {
 public:
  explicit TextInput(std::string_view text) : text_(text) {}
  long Read(char* buffer, std::size_t size) override {
    const std::size_t n = std::min(size, text_.size() - at_);
    std::memcpy(buffer, text_.data() + at_, n);
    at_ += n;
    return static_cast<long>(n);
  }
  bool Rewind() override {
    at_ = 0;
    return true;
  }

 private:
  std::string_view text_;
  std::size_t at_ = 0;
};

class FileInput final : public ReplayInput {
 public:
  explicit FileInput(UniqueFd fd) : fd_(std::move(fd)) {}
  long Read(char* buffer, std::size_t size) override {
    for (;;) {
      const ssize_t n = ::read(fd_.get(), buffer, size);
      if (n < 0 && errno == EINTR) continue;
      return static_cast<long>(n);
    }
  }
  bool Rewind() override { return ::lseek(fd_.get(), 0, SEEK_SET) == 0; }

 private:
  UniqueFd fd_;
};

class NmeaReplaySource final : public Source {
 public:
  NmeaReplaySource(std::unique_ptr<ReplayInput> input, std::string name)
      : input_(std::move(input)), name_(std::move(name)) {}

  void Run(DriverState& state, const StopSignal& stop) override {
    SourceWatch watch(state, name_);
    state.SetDeviceState(SERVICE_STATE_ON, SERVICE_STATE_ON, name_);
    NmeaAssembler assembler;
    NmeaLineSplitter lines;
    unsigned counted = 0;
    bool stopped = false;
    bool any = false;  // an epoch in this pass over the log
    auto countBad = [&] {
      state.CountBadSentences(assembler.BadSentences() - counted);
      counted = assembler.BadSentences();
    };
    auto publish = [&](const GPS_POSITION& epoch) {
      countBad();
      any = true;
      watch.Reading(epoch, Clock::now());
      stopped = stop.Sleep(1000ms) == StopSignal::Wake::Stop;
    };
    auto feed = [&](std::string_view line) {
      if (stopped) return;
      if (auto epoch = assembler.FeedLine(line)) publish(*epoch);
    };
    // A log is replayed an epoch a second: small reads do, and keep the thread's stack small.
    char buffer[4096];
    while (!stopped) {
      const long n = input_->Read(buffer, sizeof buffer);
      if (n > 0) {
        state.CountBadSentences(lines.Feed(std::string_view(buffer, static_cast<std::size_t>(n)), feed));
        continue;
      }
      if (n < 0) {
        watch.Lost("read error, retrying");
        state.SetDeviceState(SERVICE_STATE_ON, SERVICE_STATE_OFF, name_);
        lines.Reset();
      } else {
        lines.Finish(feed);
        if (auto epoch = assembler.Flush(); epoch && !stopped) publish(*epoch);
        countBad();
      }
      if (stopped) return;
      // A log without a single good epoch (or that cannot be read) would otherwise spin.
      if (!any) {
        if (stop.Sleep(1000ms) == StopSignal::Wake::Stop) return;
        watch.Tick();
      }
      any = false;
      if (!input_->Rewind()) {
        watch.Lost("cannot rewind, retrying");
        if (stop.Sleep(1000ms) == StopSignal::Wake::Stop) return;
      }
    }
  }

 private:
  std::unique_ptr<ReplayInput> input_;
  std::string name_;
};

}  // namespace

std::unique_ptr<Source> MakeNmeaReplaySource(std::string_view text, std::string friendlyName) {
  return std::make_unique<NmeaReplaySource>(std::make_unique<TextInput>(text),
                                            std::move(friendlyName));
}

std::unique_ptr<Source> MakeNmeaFileSource(UniqueFd file, std::string friendlyName) {
  return std::make_unique<NmeaReplaySource>(std::make_unique<FileInput>(std::move(file)),
                                            std::move(friendlyName));
}

}  // namespace pda::gps
