// A private gpsd fed by gpsfake on a free loopback port, for tests that need a real gpsd.
//
// gpsfake runs in its own process group (setsid), so that teardown can kill gpsfake and the gpsd
// it started with one SIGKILL (gpsfake ignores SIGTERM at times), and then removes its control
// socket /tmp/gpsfake-PID.sock, which a killed gpsfake leaves behind.
#pragma once

#include <sys/types.h>

#include <memory>
#include <string>

namespace zaz::testing {

class GpsFake {
 public:
  // What is missing for these tests ("gpsfake (package gpsd-clients)"), empty when all is there.
  static std::string MissingTools();
  // A loopback TCP port that nothing listens on right now.
  static int FreePort();

  // Starts `gpsfake -P port -q -c cycle -W 60 log` and waits until its gpsd accepts connections
  // on the port. Null when it did not come up within ~10 s, with the reason in *error.
  static std::unique_ptr<GpsFake> Start(const std::string& log, int port, double cycleSeconds,
                                        std::string* error);

  GpsFake(const GpsFake&) = delete;
  GpsFake& operator=(const GpsFake&) = delete;
  ~GpsFake();

  int port() const { return port_; }
  // Kills gpsd alone (gpsfake stays); the daemon's clients see the socket close.
  bool KillGpsd();
  // Kills gpsfake and its gpsd (the whole process group) and removes the control socket.
  void Stop();

 private:
  GpsFake(pid_t group, int port) : group_(group), port_(port) {}
  pid_t group_;
  int port_;
};

}  // namespace zaz::testing
