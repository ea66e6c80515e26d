// The GPX 1.1 document of a set of waypoints, made whole in memory with libxml2's text writer,
// which escapes every text and attribute value and keeps the elements nested.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zaz::gpx {

inline constexpr char kGpxNamespace[] = "http://www.topografix.com/GPX/1/1";
inline constexpr char kGpxCreator[] = "zazorudu-gpx";

// One <wpt>. Every string is UTF-8 fit for XML; an empty description leaves out <desc>.
struct GpxPoint {
  std::string latitude;   // decimal degrees, the text as it goes into lat=".."
  std::string longitude;
  std::string time;       // UTC, "2009-01-09T19:41:00Z"
  std::string name;
  std::string description;
};

// The whole document, or nothing when the writer fails (out of memory, text it refuses).
std::optional<std::string> MakeGpxDocument(const std::vector<GpxPoint>& points);

}  // namespace zaz::gpx
