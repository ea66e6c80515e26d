// Source: an NMEA log replayed at one epoch a second (see nmea_sources.h).
#include <string_view>

#include "nmea_parser.h"
#include "nmea_sources.h"

namespace pda::gps {
namespace {

using namespace std::chrono_literals;

class NmeaReplaySource final : public Source {
 public:
  NmeaReplaySource(std::string text, std::string name)
      : text_(std::move(text)), name_(std::move(name)) {}

  void Run(DriverState& state, const StopSignal& stop) override {
    state.SetDeviceState(SERVICE_STATE_ON, SERVICE_STATE_ON, name_);
    NmeaAssembler assembler;
    unsigned counted = 0;
    auto publish = [&](const GPS_POSITION& epoch) {
      state.CountBadSentences(assembler.BadSentences() - counted);
      counted = assembler.BadSentences();
      state.NoteDataReceived();
      state.PublishPosition(epoch, Clock::now());
      return stop.Sleep(1000ms) != StopSignal::Wake::Stop;
    };
    for (;;) {
      bool any = false;
      std::string_view rest = text_;
      while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        if (auto epoch = assembler.FeedLine(line)) {
          any = true;
          if (!publish(*epoch)) return;
        }
      }
      if (auto epoch = assembler.Flush()) {
        any = true;
        if (!publish(*epoch)) return;
      }
      state.CountBadSentences(assembler.BadSentences() - counted);
      counted = assembler.BadSentences();
      // A log without a single good epoch would otherwise spin.
      if (!any && stop.Sleep(1000ms) == StopSignal::Wake::Stop) return;
    }
  }

 private:
  std::string text_;
  std::string name_;
};

}  // namespace

std::unique_ptr<Source> MakeNmeaReplaySource(std::string text, std::string friendlyName) {
  return std::make_unique<NmeaReplaySource>(std::move(text), std::move(friendlyName));
}

}  // namespace pda::gps
