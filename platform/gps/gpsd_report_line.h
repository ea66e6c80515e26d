// One line of gpsd's stream, checked and cleaned before libgps reads it.
//
// libgps's reader trusts its input: it loops for ever on some DEVICES reports (a device carrying
// a list of objects it does not know, an array left open) and on objects of a class it does not
// expect nested anywhere in a report, because it finds a report's class by searching the text.
// So gpsd's lines never reach it as they came: DEVICES is read here, and the classes the driver
// needs are rebuilt from their parsed values with only the members the driver reads, in the
// types gpsd gives them, and with the class first.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pda::gps {

struct ReportLine {
  enum class Kind { Ignored, Devices, ForLibgps };
  Kind kind = Kind::Ignored;
  std::optional<std::string> activeDevice;  // DEVICES: the path of the last activated device
  std::string forLibgps;                    // ForLibgps: the cleaned report
};
ReportLine ReadReportLine(std::string_view line);

}  // namespace pda::gps
