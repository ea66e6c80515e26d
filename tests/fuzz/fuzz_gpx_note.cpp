// Reading a GeoNote's text for zazorudu-gpx: any file gives either a reason or a waypoint whose
// coordinates are plain decimals and whose text, written into a GPX document, parses back
// unchanged (so no note can make the document malformed).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <variant>

#include <libxml/parser.h>
#include <libxml/tree.h>

#include "geonote_text.h"
#include "gpx_document.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

bool PlainDecimal(std::string_view text) {
  if (text.starts_with('-')) text.remove_prefix(1);
  if (text.empty()) return false;
  for (char c : text)
    if ((c < '0' || c > '9') && c != '.') return false;
  return true;
}

std::string ElementText(xmlNodePtr parent, const char* name) {
  for (xmlNodePtr node = parent->children; node; node = node->next) {
    if (node->type != XML_ELEMENT_NODE ||
        !xmlStrEqual(node->name, reinterpret_cast<const xmlChar*>(name)))
      continue;
    xmlChar* content = xmlNodeGetContent(node);
    std::string text = content ? reinterpret_cast<const char*>(content) : "";
    xmlFree(content);
    return text;
  }
  return "<absent>";
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  xmlInitParser();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  const zaz::gpx::NoteReading reading = zaz::gpx::ReadGeoNoteText(file);
  const auto* waypoint = std::get_if<zaz::gpx::NoteWaypoint>(&reading);
  if (!waypoint) {
    Check(!std::get<zaz::gpx::NoteRefusal>(reading).reason.empty());
    return 0;
  }
  Check(PlainDecimal(waypoint->latitude) && PlainDecimal(waypoint->longitude));

  const std::optional<std::string> document = zaz::gpx::MakeGpxDocument(
      {{waypoint->latitude, waypoint->longitude, "2009-01-09T19:41:00Z", waypoint->stampText,
        waypoint->text}});
  Check(document.has_value());
  xmlDocPtr doc = xmlReadMemory(document->data(), static_cast<int>(document->size()), "note.gpx",
                                nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  Check(doc != nullptr);
  xmlNodePtr wpt = xmlDocGetRootElement(doc)->children;
  while (wpt && wpt->type != XML_ELEMENT_NODE) wpt = wpt->next;
  Check(wpt != nullptr);
  Check(ElementText(wpt, "name") == waypoint->stampText);
  Check(ElementText(wpt, "desc") == (waypoint->text.empty() ? "<absent>" : waypoint->text));
  xmlFreeDoc(doc);
  return 0;
}
