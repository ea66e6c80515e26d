// Sources of NMEA 0183: a log replayed at one epoch a second in a loop (nmea:FILE, read as a
// stream on the driver thread; and the demo receiver's bundled track), and a serial device read
// as it comes (nmea:/dev/tty...).
#pragma once

#include <memory>
#include <string>

#include "kernel/unique_fd.h"
#include "source.h"

namespace pda::gps {

// Replays `text`, one epoch a second, looping at the end. friendlyName names it in the
// device-state record and the status.
std::unique_ptr<Source> MakeNmeaReplaySource(std::string_view text, std::string friendlyName);

// Replays the log open on `file` the same way, reading it a piece at a time.
std::unique_ptr<Source> MakeNmeaFileSource(UniqueFd file, std::string friendlyName);

// Reads the character device at `path` (termios raw, its speed as set). Null with the last-error
// value in *error when it cannot be opened.
std::unique_ptr<Source> MakeNmeaSerialSource(const std::string& path, DWORD* error);

}  // namespace pda::gps
