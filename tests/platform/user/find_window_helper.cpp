// A second process for the FindWindow tests.
//
//   find_window_helper CLASS TITLE
//     looks for the window and, when found, asks for it to be brought to the front, as a second
//     start of a program does. Exit codes: 0 activated, 3 not found, 4 found but the activation
//     was refused, 2 bad usage.
//   find_window_helper CLASS TITLE START_NS HOLD_MS
//     starts as a program does at CLOCK_REALTIME START_NS: finds the window and activates it
//     (exit 0), or else makes it, holds it HOLD_MS and ends without destroying it (exit 5).
#include <time.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "pda/user.h"

namespace {
std::u16string Wide(const char* text) {
  std::u16string out;
  for (; *text; ++text) out += static_cast<char16_t>(static_cast<unsigned char>(*text));
  return out;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 5) return 2;
  const std::u16string cls = Wide(argv[1]);
  const std::u16string title = Wide(argv[2]);
  if (argc == 5) {
    const long long start = std::atoll(argv[3]);
    const timespec at{static_cast<time_t>(start / 1000000000), static_cast<long>(start % 1000000000)};
    while (clock_nanosleep(CLOCK_REALTIME, TIMER_ABSTIME, &at, nullptr) != 0) {
    }
  }
  const HWND found = FindWindowW(cls.c_str(), title.c_str());
  if (argc == 3 || found) {
    if (!found) return 3;
    if (!IsWindow(found)) return 4;
    return SetForegroundWindow(found) ? 0 : 4;
  }
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.lpszClassName = cls.c_str();
  if (!RegisterClassW(&wc)) return 6;
  if (!CreateWindowExW(0, cls.c_str(), title.c_str(), 0, 0, 0, 10, 10, HWND{}, nullptr, nullptr,
                       nullptr))
    return 7;
  std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(argv[4])));
  return 5;
}
