// The program's own two options, --help and --version: answered on standard output before
// anything of the device starts (no signal thread, no settings check, no display, no device
// root). The application takes no arguments; any other argument is left as it is.
#pragma once

#include <optional>
#include <string>

namespace pda::entry {

// "NAME VERSION", e.g. "zazorudu 1.0".
std::string VersionText();
// The usage: the options, every PDA_* setting with its meaning, default and accepted forms, and
// the exit codes; lines of at most 79 columns.
std::string HelpText();

// When the first argument is --help or --version: prints its text and gives the exit code (0).
// Otherwise nothing, and the program starts as usual.
std::optional<int> AnswerOption(int argc, char** argv);

}  // namespace pda::entry
