// Source: an NMEA receiver on a serial (character) device, read as it comes (see nmea_sources.h).
// When the device goes away (unplugged: read error or end of file) or falls silent, a record
// without a position is published; a device that went away is reopened with back-off.
#include <fcntl.h>
#include <termios.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "nmea_lines.h"
#include "nmea_parser.h"
#include "nmea_sources.h"
#include "source_watch.h"

namespace pda::gps {
namespace {

using namespace std::chrono_literals;

UniqueFd OpenDevice(const std::string& path) {
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (!fd) return fd;
  termios tio{};
  if (::tcgetattr(fd.get(), &tio) == 0) {
    // Raw bytes, at whatever speed the port is set to (4800 and 9600 are both common).
    const speed_t in = cfgetispeed(&tio), out = cfgetospeed(&tio);
    cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    cfsetispeed(&tio, in);
    cfsetospeed(&tio, out);
    ::tcsetattr(fd.get(), TCSANOW, &tio);
  }
  return fd;
}

class NmeaSerialSource final : public Source {
 public:
  NmeaSerialSource(std::string path, UniqueFd fd)
      : path_(std::move(path)), name_("NMEA " + path_), fd_(std::move(fd)) {}

  void Run(DriverState& state, const StopSignal& stop) override {
    SourceWatch watch(state, name_);
    auto backoff = 100ms;
    for (;;) {
      if (fd_) {
        state.SetDeviceState(SERVICE_STATE_ON, SERVICE_STATE_OFF, name_);
        if (!Read(state, stop, watch)) return;
        fd_.reset();
        state.SetDeviceState(SERVICE_STATE_ON, SERVICE_STATE_OFF, name_);
        watch.Lost("device gone, retrying");
      }
      if (stop.Sleep(backoff) == StopSignal::Wake::Stop) return;
      backoff = std::min(backoff * 2, std::chrono::milliseconds(5000));
      fd_ = OpenDevice(path_);
      if (fd_) backoff = 100ms;
    }
  }

 private:
  // Reads until the device fails (true) or the stop is raised (false).
  bool Read(DriverState& state, const StopSignal& stop, SourceWatch& watch) {
    NmeaAssembler assembler;
    NmeaLineSplitter lines;
    unsigned counted = 0;
    char buffer[1024];
    for (;;) {
      const StopSignal::Wake wake = stop.Wait(fd_.get(), watch.Tick());
      if (wake == StopSignal::Wake::Stop) return false;
      if (wake == StopSignal::Wake::Timeout) continue;  // Tick() above notes the silence
      if (wake != StopSignal::Wake::Ready) return true;
      const ssize_t n = ::read(fd_.get(), buffer, sizeof buffer);
      if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
      if (n <= 0) return true;
      const Clock::time_point arrival = Clock::now();
      state.NoteDataReceived();
      state.SetDeviceState(SERVICE_STATE_ON, SERVICE_STATE_ON, name_);
      // Bad sentences are counted before the epoch they were part of is published.
      auto countBad = [&] {
        state.CountBadSentences(assembler.BadSentences() - counted);
        counted = assembler.BadSentences();
      };
      state.CountBadSentences(
          lines.Feed(std::string_view(buffer, static_cast<std::size_t>(n)), [&](std::string_view line) {
            if (auto epoch = assembler.FeedLine(line)) {
              countBad();
              watch.Reading(*epoch, arrival);
            }
          }));
      countBad();
    }
  }

  std::string path_;
  std::string name_;
  UniqueFd fd_;
};

}  // namespace

std::unique_ptr<Source> MakeNmeaSerialSource(const std::string& path, DWORD* error) {
  UniqueFd fd = OpenDevice(path);
  if (!fd) {
    *error = errno == ENOENT ? ERROR_FILE_NOT_FOUND
             : errno == EACCES ? ERROR_ACCESS_DENIED
                               : ERROR_DEV_NOT_EXIST;
    return nullptr;
  }
  return std::make_unique<NmeaSerialSource>(path, std::move(fd));
}

}  // namespace pda::gps
