// gpsd's lines checked and cleaned for libgps (see gpsd_report_line.h).
#include "gpsd_report_line.h"

#include <algorithm>
#include <span>

#include <nlohmann/json.hpp>

namespace pda::gps {
namespace {

using Json = nlohmann::json;

enum class Type { Number, Text, Flag, TextOrNumber, Satellites };

struct Member {
  const char* name;
  Type type;
};

// What the driver reads of each class, in gpsd's types.
constexpr Member kVersion[] = {
    {"release", Type::Text}, {"rev", Type::Text}, {"proto_major", Type::Number},
    {"proto_minor", Type::Number}};
constexpr Member kDevice[] = {{"path", Type::Text}, {"activated", Type::TextOrNumber}};
constexpr Member kTpv[] = {
    {"device", Type::Text},  {"mode", Type::Number},   {"status", Type::Number},
    {"time", Type::Text},    {"lat", Type::Number},    {"lon", Type::Number},
    {"altHAE", Type::Number}, {"altMSL", Type::Number}, {"alt", Type::Number},
    {"speed", Type::Number}, {"track", Type::Number},  {"magvar", Type::Number}};
constexpr Member kSky[] = {
    {"device", Type::Text}, {"hdop", Type::Number}, {"pdop", Type::Number},
    {"vdop", Type::Number}, {"nSat", Type::Number}, {"uSat", Type::Number},
    {"satellites", Type::Satellites}};
constexpr Member kSatellite[] = {
    {"PRN", Type::Number}, {"el", Type::Number},   {"az", Type::Number},  {"ss", Type::Number},
    {"used", Type::Flag},  {"gnssid", Type::Number}, {"svid", Type::Number}};

struct Class {
  const char* name;
  std::span<const Member> members;
};
constexpr Class kClasses[] = {
    {"VERSION", kVersion}, {"DEVICE", kDevice}, {"TPV", kTpv}, {"SKY", kSky}};

// Text that libgps reads as it is: no quotes or escapes to interpret.
bool PlainText(const Json& value) {
  if (!value.is_string()) return false;
  const std::string& text = value.get_ref<const std::string&>();
  return text.find_first_of("\"\\") == std::string::npos;
}

bool OfType(const Json& value, Type type) {
  switch (type) {
    case Type::Number: return value.is_number();
    case Type::Text: return PlainText(value);
    case Type::Flag: return value.is_boolean();
    case Type::TextOrNumber: return value.is_number() || PlainText(value);
    case Type::Satellites: return value.is_array();
  }
  return false;
}

// Appends the object's members of the table, in the table's order, as JSON text.
void AppendCleaned(const Json& object, std::span<const Member> members, std::string& out) {
  for (const Member& m : members) {
    const auto found = object.find(m.name);
    if (found == object.end() || !OfType(*found, m.type)) continue;
    out += out.back() == '{' ? "\"" : ",\"";
    out += m.name;
    out += "\":";
    if (m.type != Type::Satellites) {
      out += found->dump();
      continue;
    }
    out += '[';
    for (const Json& satellite : *found) {
      if (!satellite.is_object()) continue;
      if (out.back() == '}') out += ',';
      out += '{';
      AppendCleaned(satellite, kSatellite, out);
      out += '}';
    }
    out += ']';
  }
}

ReportLine Devices(const Json& report) {
  ReportLine read{ReportLine::Kind::Devices, std::nullopt, {}};
  const auto devices = report.find("devices");
  if (devices == report.end() || !devices->is_array()) return read;
  for (const Json& device : *devices) {
    if (!device.is_object()) continue;
    const auto path = device.find("path");
    const auto activated = device.find("activated");
    if (path == device.end() || !path->is_string() || activated == device.end()) continue;
    // gpsd gives the activation time as text; older ones as seconds, 0 for inactive.
    const bool active = activated->is_string()   ? !activated->get_ref<const std::string&>().empty()
                        : activated->is_number() ? activated->get<double>() != 0.0
                                                 : false;
    if (active) read.activeDevice = path->get<std::string>();
  }
  return read;
}

}  // namespace

ReportLine ReadReportLine(std::string_view line) {
  const Json report = Json::parse(line, nullptr, false);
  if (report.is_discarded() || !report.is_object()) return {};
  const auto name = report.find("class");
  if (name == report.end() || !name->is_string()) return {};
  if (*name == "DEVICES") return Devices(report);
  const auto cls = std::find_if(std::begin(kClasses), std::end(kClasses),
                                [&](const Class& c) { return *name == c.name; });
  if (cls == std::end(kClasses)) return {};
  std::string cleaned = std::string("{\"class\":\"") + cls->name + "\"";
  AppendCleaned(report, cls->members, cleaned);
  cleaned += '}';
  return {ReportLine::Kind::ForLibgps, std::nullopt, std::move(cleaned)};
}

}  // namespace pda::gps
