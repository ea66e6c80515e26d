// The one line that tells the user a PDA_* setting cannot be used, in the one form every part of
// the platform uses:  PROGRAM: NAME=VALUE: WHY; expected FORM
// PROGRAM is the name the program was started by (argv[0] without its folder); an unset setting
// shows as "NAME (unset)".
#pragma once

#include <string>
#include <string_view>

namespace pda {

std::string BadSettingLine(std::string_view name, const char* value, std::string_view why,
                           std::string_view expected);
// Writes that line on standard error.
void ReportBadSetting(std::string_view name, const char* value, std::string_view why,
                      std::string_view expected);

}  // namespace pda
