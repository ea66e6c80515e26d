// The platform's settings, the PDA_* environment variables, checked in one place before anything
// of the device starts (no window, no display, no driver): one table of {name, accepted forms,
// rule}, each rule the parser of the part that reads the variable. A bad value is told in the
// one line of kernel/bad_setting.h.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pda::backend {

// The one line refusing `value` (null: unset) of the setting `name`, or nothing when it can be
// used. A name the table does not hold is refused. PDA_ROOT is judged as the device root is
// chosen, from the environment (with XDG_DATA_HOME and HOME after it), and made when it can be.
std::optional<std::string> SettingRefusal(std::string_view name, const char* value);

// The accepted forms of the setting `name`, as its refusal line gives them (for --help); empty
// for a name the table does not hold.
std::string_view SettingForms(std::string_view name);

// Every setting as the environment gives it, in the table's order; false after the line for the
// first one that cannot be used, on standard error.
bool CheckSettings();

}  // namespace pda::backend
