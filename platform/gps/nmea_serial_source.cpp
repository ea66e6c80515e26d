// Source: an NMEA receiver on a serial (character) device, read as it comes (see nmea_sources.h).
// When the device goes away (unplugged: read error or end of file) the device state goes off
// and the device is reopened with back-off.
#include <fcntl.h>
#include <termios.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "nmea_parser.h"
#include "nmea_sources.h"

namespace pda::gps {
namespace {

using namespace std::chrono_literals;

// NMEA sentences are at most 82 characters; anything much longer without a line end is noise.
constexpr std::size_t kMaxLine = 512;

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
  NmeaSerialSource(std::string path, UniqueFd fd) : path_(std::move(path)), fd_(std::move(fd)) {}

  void Run(DriverState& state, const StopSignal& stop) override {
    const std::string name = "NMEA " + path_;
    auto backoff = 100ms;
    for (;;) {
      if (fd_) {
        state.SetDeviceState(SERVICE_STATE_ON, SERVICE_STATE_OFF, name);
        if (!Read(state, stop, name)) return;
        fd_.reset();
        state.SetDeviceState(SERVICE_STATE_ON, SERVICE_STATE_OFF, name);
      }
      if (stop.Sleep(backoff) == StopSignal::Wake::Stop) return;
      backoff = std::min(backoff * 2, std::chrono::milliseconds(5000));
      fd_ = OpenDevice(path_);
      if (fd_) backoff = 100ms;
    }
  }

 private:
  // Reads until the device fails (true) or the stop is raised (false).
  bool Read(DriverState& state, const StopSignal& stop, const std::string& name) {
    NmeaAssembler assembler;
    std::string line;
    bool discarding = false;
    unsigned counted = 0;
    char buffer[1024];
    for (;;) {
      const StopSignal::Wake wake = stop.Wait(fd_.get(), -1ms);
      if (wake == StopSignal::Wake::Stop) return false;
      if (wake != StopSignal::Wake::Ready) return true;
      const ssize_t n = ::read(fd_.get(), buffer, sizeof buffer);
      if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
      if (n <= 0) return true;
      const Clock::time_point arrival = Clock::now();
      state.NoteDataReceived();
      state.SetDeviceState(SERVICE_STATE_ON, SERVICE_STATE_ON, name);
      // Bad sentences are counted before the epoch they were part of is published.
      auto countBad = [&] {
        state.CountBadSentences(assembler.BadSentences() - counted);
        counted = assembler.BadSentences();
      };
      for (ssize_t i = 0; i < n; ++i) {
        const char c = buffer[i];
        if (c != '\n') {
          if (line.size() < kMaxLine) {
            line.push_back(c);
          } else if (!discarding) {
            discarding = true;
            state.CountBadSentences(1);
          }
          continue;
        }
        if (!discarding) {
          if (auto epoch = assembler.FeedLine(line)) {
            countBad();
            state.PublishPosition(*epoch, arrival);
          }
        }
        line.clear();
        discarding = false;
      }
      countBad();
    }
  }

  std::string path_;
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
