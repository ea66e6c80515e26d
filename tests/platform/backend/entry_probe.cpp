// A program on pda_main whose WinMain only reports that it ran and returns 42: the entry test
// runs it with good and bad settings.
#include <cstdio>

#include "pda/entry.h"
#include "pda/user.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show) {
  std::printf("WinMain instance=%d previous=%d empty=%d show=%d\n", instance ? 1 : 0,
              previous ? 1 : 0, commandLine && commandLine[0] == 0 ? 1 : 0, show);
  return 42;
}
