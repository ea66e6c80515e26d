// Reading a GeoNote's text (see geonote_text.h).
//
//   Lines     one header line at a time, CR LF or LF
//   Stamp     "DDd/MMm/YYYYy @ HH:MM" and whether that minute exists
//   Numbers   a coordinate's decimal text and its range, compared as text
//   Text      the user's text made fit for an XML document
#include "geonote_text.h"

#include <algorithm>
#include <cstdint>

namespace zaz::gpx {
namespace {

constexpr std::string_view kFirstLine = "GeoNote";
constexpr std::string_view kLocationLine = "GPS Location:";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// ---- Lines ----------------------------------------------------------------------------------

// Takes the next line off `rest` without its line end. False when `rest` holds no line end (the
// line is then the whole rest).
bool TakeLine(std::string_view& rest, std::string_view* line) {
  const std::size_t end = rest.find('\n');
  if (end == std::string_view::npos) {
    *line = rest;
    rest = {};
    return false;
  }
  *line = rest.substr(0, end);
  if (!line->empty() && line->back() == '\r') line->remove_suffix(1);
  rest.remove_prefix(end + 1);
  return true;
}

// Drops one empty line ("\r\n" or "\n") from the front of `rest`, if it starts with one.
void DropBlankLine(std::string_view& rest) {
  if (rest.starts_with("\r\n")) rest.remove_prefix(2);
  else if (rest.starts_with('\n')) rest.remove_prefix(1);
}

// ---- Stamp ----------------------------------------------------------------------------------

bool Digits(std::string_view text, std::size_t at, std::size_t count, int* value) {
  int v = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    v = v * 10 + (text[i] - '0');
  }
  *value = v;
  return true;
}

int DaysInMonth(int year, int month) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

// The stamp's fixed shape: "DDd/MMm/YYYYy @ HH:MM", the fields at these places.
constexpr std::string_view kStampShape = "00d/00m/0000y @ 00:00";

bool ParseStampShape(std::string_view line, LocalStamp* stamp) {
  if (line.size() != kStampShape.size()) return false;
  for (std::size_t i = 0; i < line.size(); ++i)
    if (kStampShape[i] != '0' && line[i] != kStampShape[i]) return false;
  return Digits(line, 0, 2, &stamp->day) && Digits(line, 4, 2, &stamp->month) &&
         Digits(line, 8, 4, &stamp->year) && Digits(line, 16, 2, &stamp->hour) &&
         Digits(line, 19, 2, &stamp->minute);
}

// Years before 1000 are refused too: a GPX time has a year of four digits at least.
bool StampExists(const LocalStamp& s) {
  return s.year >= 1000 && s.month >= 1 && s.month <= 12 && s.day >= 1 &&
         s.day <= DaysInMonth(s.year, s.month) && s.hour <= 23 && s.minute <= 59;
}

// ---- Numbers --------------------------------------------------------------------------------

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// A decimal as the device prints it: "-"? digits ("." digits)?. Its magnitude is kept as the
// whole part (capped: anything past 999 is simply "too large") and whether a fraction digit is
// not zero, which is all the range checks need; no float is involved.
struct Decimal {
  bool negative = false;
  int whole = 0;
  bool fractionNonZero = false;
};

bool ParseDecimal(std::string_view text, Decimal* number) {
  std::size_t at = 0;
  if (at < text.size() && text[at] == '-') {
    number->negative = true;
    ++at;
  }
  const std::size_t wholeStart = at;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
    number->whole = std::min(number->whole * 10 + (text[at] - '0'), 1000);
  if (at == wholeStart) return false;
  if (at == text.size()) return true;
  if (text[at] != '.') return false;
  const std::size_t fractionStart = ++at;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
    if (text[at] != '0') number->fractionNonZero = true;
  return at > fractionStart && at == text.size();
}

// Within [-limit, limit], or [-limit, limit) when the upper end is open.
bool WithinLimit(const Decimal& n, int limit, bool upperOpen) {
  if (n.whole != limit) return n.whole < limit;
  if (n.fractionNonZero) return false;
  return n.negative || !upperOpen;
}

// ---- Text -----------------------------------------------------------------------------------

// The code point of the well-formed UTF-8 sequence at text[at], and its length; 0 for a length
// when the bytes there are not one (stray continuation, overlong form, surrogate, past U+10FFFF,
// cut short).
char32_t DecodeUtf8(std::string_view text, std::size_t at, std::size_t* length) {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
  const std::uint8_t lead = byte(at);
  *length = 0;
  if (lead < 0x80) {
    *length = 1;
    return lead;
  }
  // {lead bits to match, their value, payload bits, sequence length, smallest code point}
  struct Form {
    std::uint8_t mask, value, payload;
    std::size_t count;
    char32_t least;
  };
  constexpr Form kForms[] = {
      {0xE0, 0xC0, 0x1F, 2, 0x80},
      {0xF0, 0xE0, 0x0F, 3, 0x800},
      {0xF8, 0xF0, 0x07, 4, 0x10000},
  };
  const Form* form = nullptr;
  for (const Form& f : kForms)
    if ((lead & f.mask) == f.value) form = &f;
  if (!form) return 0;
  const std::size_t count = form->count;
  const char32_t least = form->least;
  char32_t c = lead & form->payload;
  if (at + count > text.size()) return 0;
  for (std::size_t i = 1; i < count; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
    c = (c << 6) | (byte(at + i) & 0x3F);
  }
  if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  *length = count;
  return c;
}

// The characters an XML 1.0 document can hold (tab and LF among the controls; CR never reaches
// here).
bool XmlCharacter(char32_t c) {
  return c == 0x9 || c == 0xA || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
         (c >= 0x10000 && c <= 0x10FFFF);
}

std::string FitText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    if (text[at] == '\r') {  // CR LF and a lone CR both end a line
      out += '\n';
      at += at + 1 < text.size() && text[at + 1] == '\n' ? 2 : 1;
      continue;
    }
    std::size_t length;
    const char32_t c = DecodeUtf8(text, at, &length);
    if (length == 0) {
      out += kReplacement;
      ++at;
      continue;
    }
    if (XmlCharacter(c)) out.append(text.substr(at, length));
    else out += kReplacement;
    at += length;
  }
  return out;
}

}  // namespace

NoteReading ReadGeoNoteText(std::string_view fileText) {
  std::string_view rest = fileText;
  if (rest.starts_with(kByteOrderMark)) rest.remove_prefix(kByteOrderMark.size());

  std::string_view first, stampLine, location, position;
  if (!TakeLine(rest, &first) || first != kFirstLine)
    return NoteRefusal{"the first line is not \"GeoNote\""};
  NoteWaypoint waypoint;
  if (!TakeLine(rest, &stampLine) || !ParseStampShape(stampLine, &waypoint.stamp))
    return NoteRefusal{"the second line is not a date and time like \"09d/01m/2009y @ 20:41\""};
  if (!StampExists(waypoint.stamp))
    return NoteRefusal{"the date and time \"" + std::string(stampLine) + "\" do not exist"};
  if (!TakeLine(rest, &location) || location != kLocationLine)
    return NoteRefusal{"the third line is not \"GPS Location:\""};
  const bool positionEnded = TakeLine(rest, &position);

  const std::size_t comma = position.find(',');
  const std::string_view latitude = TrimBlanks(position.substr(0, comma));
  const std::string_view longitude =
      comma == std::string_view::npos ? std::string_view{} : TrimBlanks(position.substr(comma + 1));
  Decimal lat, lon;
  if (comma == std::string_view::npos || !ParseDecimal(latitude, &lat) ||
      !ParseDecimal(longitude, &lon))
    return NoteRefusal{"the fourth line is not a position like \"47.6062095,-122.3320708\""};
  if (!WithinLimit(lat, 90, false) || !WithinLimit(lon, 180, true))
    return NoteRefusal{"the position \"" + std::string(latitude) + "," + std::string(longitude) +
                       "\" is out of range"};

  // The header ends with two blank lines; the user's text may start with blank lines of its own.
  if (positionEnded) {
    DropBlankLine(rest);
    DropBlankLine(rest);
  }
  waypoint.latitude = latitude;
  waypoint.longitude = longitude;
  waypoint.stampText = stampLine;
  waypoint.text = FitText(rest);
  return waypoint;
}

}  // namespace zaz::gpx
