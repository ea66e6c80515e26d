// A second process for the FindWindow tests: looks for the window named on its command line
// and, when found, asks for it to be brought to the front, as a second start of a program does.
// Exit codes: 0 activated, 3 not found, 4 found but the activation was refused, 2 bad usage.
#include <string>

#include "pda/user.h"

namespace {
std::u16string Wide(const char* text) {
  std::u16string out;
  for (; *text; ++text) out += static_cast<char16_t>(static_cast<unsigned char>(*text));
  return out;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  const std::u16string cls = Wide(argv[1]);
  const std::u16string title = Wide(argv[2]);
  const HWND found = FindWindowW(cls.c_str(), title.c_str());
  if (!found) return 3;
  if (!IsWindow(found)) return 4;
  return SetForegroundWindow(found) ? 0 : 4;
}
