// The back-end thread's wake-up: what a wait returns for signals given before it and for the
// other descriptor's state, that a signal is used up by the wait that sees it (however many were
// given), and that a signal from another thread ends a wait already under way.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <ostream>
#include <thread>

#include "backend/wakeup.h"

namespace {

using pda::backend::Wakeup;
using Woken = Wakeup::Woken;

// A pipe whose read end is the "other" descriptor of the wait.
class Pipe {
 public:
  Pipe() { EXPECT_EQ(::pipe(fds_), 0); }
  ~Pipe() {
    for (int fd : fds_)
      if (fd >= 0) ::close(fd);
  }
  Pipe(const Pipe&) = delete;
  Pipe& operator=(const Pipe&) = delete;
  int reader() const { return fds_[0]; }
  void Write() { EXPECT_EQ(::write(fds_[1], "x", 1), 1); }
  void CloseWriter() {
    ::close(fds_[1]);
    fds_[1] = -1;
  }

 private:
  int fds_[2] = {-1, -1};
};

enum class Other { None, Quiet, HasByte, WriterClosed };

struct WaitCase {
  const char* name;
  int signals;   // given before the first wait
  Other other;
  Woken first;   // each wait with no time to wait
  Woken second;
};
void PrintTo(const WaitCase& c, std::ostream* os) { *os << c.name; }

const WaitCase kCases[] = {
    {"NothingTimesOut", 0, Other::Quiet, Woken::TimedOut, Woken::TimedOut},
    {"OneSignalWakesOnce", 1, Other::None, Woken::Signalled, Woken::TimedOut},
    {"SeveralSignalsWakeOnce", 3, Other::Quiet, Woken::Signalled, Woken::TimedOut},
    {"ReadableOtherWakesUntilRead", 0, Other::HasByte, Woken::Readable, Woken::Readable},
    {"ClosedOtherIsReadable", 0, Other::WriterClosed, Woken::Readable, Woken::Readable},
    {"SignalComesBeforeReadable", 1, Other::HasByte, Woken::Signalled, Woken::Readable},
};

class WakeupWaitTest : public ::testing::TestWithParam<WaitCase> {};

TEST_P(WakeupWaitTest, ReturnsWhatWasThere) {
  const WaitCase& c = GetParam();
  auto wakeup = Wakeup::Open();
  ASSERT_TRUE(wakeup);
  Pipe pipe;
  if (c.other == Other::HasByte) pipe.Write();
  if (c.other == Other::WriterClosed) pipe.CloseWriter();
  const int other = c.other == Other::None ? -1 : pipe.reader();
  for (int i = 0; i < c.signals; ++i) wakeup->Signal();
  EXPECT_EQ(wakeup->Wait(other, 0), c.first);
  EXPECT_EQ(wakeup->Wait(other, 0), c.second);
}

INSTANTIATE_TEST_SUITE_P(Cases, WakeupWaitTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WakeupTest, SignalFromAnotherThreadEndsAWaitUnderWay) {
  auto wakeup = Wakeup::Open();
  ASSERT_TRUE(wakeup);
  Pipe quiet;
  std::thread signaller([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    wakeup->Signal();
  });
  // The limit only keeps a broken wake-up from hanging the test.
  EXPECT_EQ(wakeup->Wait(quiet.reader(), 30'000), Woken::Signalled);
  signaller.join();
}

TEST(WakeupTest, MovedWakeupKeepsItsSignal) {
  auto wakeup = Wakeup::Open();
  ASSERT_TRUE(wakeup);
  wakeup->Signal();
  Wakeup moved = std::move(*wakeup);
  EXPECT_EQ(moved.Wait(-1, 0), Woken::Signalled);
  auto other = Wakeup::Open();
  ASSERT_TRUE(other);
  other->Signal();
  moved = std::move(*other);
  EXPECT_EQ(moved.Wait(-1, 0), Woken::Signalled);
  EXPECT_EQ(moved.Wait(-1, 0), Woken::TimedOut);
}

}  // namespace
