// The bad-setting line (see bad_setting.h).
#include "kernel/bad_setting.h"

#include <cerrno>  // program_invocation_short_name
#include <cstdio>

namespace pda {

std::string BadSettingLine(std::string_view name, const char* value, std::string_view why,
                           std::string_view expected) {
  std::string line(program_invocation_short_name);
  line += ": ";
  line += name;
  if (value) {
    line += '=';
    for (const char* c = value; *c; ++c)  // the line stays one line
      line += static_cast<unsigned char>(*c) < 0x20 ? '?' : *c;
  } else {
    line += " (unset)";
  }
  line += ": ";
  line += why;
  line += "; expected ";
  line += expected;
  return line;
}

void ReportBadSetting(std::string_view name, const char* value, std::string_view why,
                      std::string_view expected) {
  std::fprintf(stderr, "%s\n", BadSettingLine(name, value, why, expected).c_str());
}

}  // namespace pda
