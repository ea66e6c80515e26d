// Sources of NMEA 0183: a log replayed at one epoch a second in a loop (nmea:FILE, and the demo
// receiver's bundled track), and a serial device read as it comes (nmea:/dev/tty...).
#pragma once

#include <memory>
#include <string>

#include "source.h"

namespace pda::gps {

// Replays `text`, one epoch a second, looping at the end. friendlyName names it in the
// device-state record.
std::unique_ptr<Source> MakeNmeaReplaySource(std::string text, std::string friendlyName);

// Reads the character device at `path` (termios raw, its speed as set). Null with the last-error
// value in *error when it cannot be opened.
std::unique_ptr<Source> MakeNmeaSerialSource(const std::string& path, DWORD* error);

}  // namespace pda::gps
