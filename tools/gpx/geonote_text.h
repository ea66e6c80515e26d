// One GeoNote's text read back: the header the editor wrote when the note was opened, and the
// user's text after it.
//
//   GeoNote\r\n
//   09d/01m/2009y @ 20:41\r\n          the local date and time of the opening
//   GPS Location:\r\n
//   47.6062095,-122.3320708\r\n        latitude,longitude as the device printed them
//   \r\n
//   \r\n
//   <the user's text>
//
// The user can edit the header like the rest of the note, so the reading is strict about what
// the waypoint needs (each of the four lines, a date that exists, coordinates in range) and
// lenient about the rest: a header line may end in LF alone, spaces around the two numbers are
// dropped, and the blank lines after the position may be missing. The reading is a pure
// function of the text: no time zone, no file system.
#pragma once

#include <string>
#include <string_view>
#include <variant>

namespace zaz::gpx {

// The note's date and time as written: local time of the device, to the minute.
struct LocalStamp {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0;
};

struct NoteWaypoint {
  std::string latitude;   // decimal text exactly as in the header, e.g. "-33.8688000"
  std::string longitude;  // within [-180, 180), as a GPX longitude must be
  LocalStamp stamp;
  std::string stampText;  // the header's date line, e.g. "09d/01m/2009y @ 20:41"
  // The user's text: well-formed UTF-8 with LF line ends, holding only characters an XML
  // document can carry (anything else, and bytes that are not UTF-8, become U+FFFD).
  std::string text;
};

// Why a note gives no waypoint, in words for the user ("the date line is not ...").
struct NoteRefusal {
  std::string reason;
};

using NoteReading = std::variant<NoteWaypoint, NoteRefusal>;

NoteReading ReadGeoNoteText(std::string_view fileText);

}  // namespace zaz::gpx
