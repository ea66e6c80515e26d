// --help and --version (see usage.h). The meaning and default of each setting are kept here, as
// the README's configuration table gives them; the accepted forms come from the settings check's
// own table, so the usage and the line refusing a bad value cannot tell two stories.
#include "entry/usage.h"

#include <sysexits.h>

#include <cstdio>
#include <cstring>
#include <string_view>

#include "backend/backend.h"
#include "backend/settings_check.h"
#include "entry/program_identity.h"

namespace pda::entry {
namespace {

constexpr std::size_t kWidth = 79;

struct SettingHelp {
  std::string_view name;
  std::string_view meaning;
  std::string_view fallback;  // the default
};

constexpr SettingHelp kSettings[] = {
    {"PDA_ROOT", "host folder that holds the device's file system",
     "$XDG_DATA_HOME/zazorudu (so ~/.local/share/zazorudu)"},
    {"PDA_SCREEN", "the device's screen: width and height in pixels, and its DPI", "480x640@192"},
    {"PDA_ZOOM",
     "whole-number scale of the SDL window (the device resolution is unchanged); auto: the "
     "largest at which the window fits the desktop's usable area, at least 1",
     "auto"},
    {"PDA_DISPLAY", "the screen back end: an SDL window, or memory only", "sdl"},
    {"PDA_GPS",
     "the GPS source: gpsd at 127.0.0.1:2947, gpsd at HOST:PORT, an NMEA file replayed at 1 Hz "
     "or a serial device, the bundled demo track, or none (the driver cannot be opened)",
     "gpsd"},
    {"PDA_MESSAGE_STORES", "message store names in table order (set but empty: no stores)",
     "E-mail,SMS"},
    {"PDA_COMPOSE",
     "what sending a composed message does: outbox (files in $PDA_ROOT/Outbox) or desktop "
     "(xdg-email, xdg-open sms:)",
     "outbox"},
    {"PDA_TRACE_STARTUP",
     "1: the SDL back end reports its first full present on standard error", "off"},
};

struct ExitHelp {
  std::string_view code;
  std::string_view when;
};

constexpr int kExitMessageLoopSkipped = 2;  // the application's own, from its WinMain

// Appends `text` with the first line after `lead` (padded to `indent`), the rest at `indent`,
// broken between words at kWidth columns.
void Wrap(std::string& out, std::string_view lead, std::size_t indent, std::string_view text) {
  std::string line(lead);
  if (line.size() < indent) line.resize(indent, ' ');
  std::size_t start = line.size();
  while (!text.empty()) {
    const std::size_t space = text.find(' ');
    const std::string_view word = text.substr(0, space);
    text = space == std::string_view::npos ? std::string_view{} : text.substr(space + 1);
    if (line.size() > start && line.size() + 1 + word.size() > kWidth) {
      out += line + '\n';
      line.assign(indent, ' ');
      start = indent;
    }
    if (line.size() > start) line += ' ';
    line += word;
  }
  out += line + '\n';
}

}  // namespace

std::string VersionText() {
  return std::string(kProgramName) + ' ' + std::string(kProgramVersion);
}

std::string HelpText() {
  const std::string name(kProgramName);
  std::string out = "Usage: " + name + " [--help | --version]\n\n";
  Wrap(out, "", 0,
       "Shows the position of the GPS receiver and shares it by e-mail, SMS, a GeoNote file or "
       "the clipboard. The program takes no other arguments; the platform it runs on is set up "
       "through the environment variables below.");
  out += '\n';
  Wrap(out, "  --help", 13, "print this text and exit");
  Wrap(out, "  --version", 13, "print the name and version and exit");

  out += "\nEnvironment (each variable is checked before anything starts):\n";
  for (const SettingHelp& setting : kSettings) {
    out += "  " + std::string(setting.name) + '\n';
    Wrap(out, "", 6, setting.meaning);
    Wrap(out, "      default:", 16, setting.fallback);
    Wrap(out, "      accepted:", 16, backend::SettingForms(setting.name));
  }

  // The codes are the platform's own constants where it has them.
  const std::string bad = std::to_string(EX_CONFIG);
  const std::string noDisplay = std::to_string(backend::kExitNoDisplay);
  const std::string skipped = std::to_string(kExitMessageLoopSkipped);
  const ExitHelp exits[] = {
      {"0", "a normal exit: Ctrl+Q, the Exit soft key, the window closed, or a first SIGTERM, "
            "SIGINT or SIGHUP; also a second start, which hands over to the program already "
            "running"},
      {noDisplay, "the display cannot be opened, or was lost while the program ran"},
      {skipped, "the GPS driver could not be opened, so the message loop was skipped; the "
                "settings are saved"},
      {bad, "a PDA_* setting cannot be used (EX_CONFIG); nothing has started"},
      {"128+N", "a second ending signal N during the shutdown the first one began"},
  };
  out += "\nExit status:\n";
  for (const ExitHelp& exit : exits) Wrap(out, "  " + std::string(exit.code), 9, exit.when);

  out += "\nSee " + name + "(1) for the files the program keeps and for examples.\n";
  return out;
}

std::optional<int> AnswerOption(int argc, char** argv) {
  if (argc < 2) return std::nullopt;
  std::string text;
  if (std::strcmp(argv[1], "--version") == 0)
    text = VersionText() + '\n';
  else if (std::strcmp(argv[1], "--help") == 0)
    text = HelpText();
  else
    return std::nullopt;
  std::fputs(text.c_str(), stdout);
  return 0;
}

}  // namespace pda::entry
