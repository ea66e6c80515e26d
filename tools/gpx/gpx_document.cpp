// The GPX document (see gpx_document.h).
#include "gpx_document.h"

#include <libxml/xmlwriter.h>

#include <memory>

namespace zaz::gpx {
namespace {

struct BufferFree {
  void operator()(xmlBufferPtr buffer) const { xmlBufferFree(buffer); }
};
struct WriterFree {
  void operator()(xmlTextWriterPtr writer) const { xmlFreeTextWriter(writer); }
};

const xmlChar* X(const char* text) { return reinterpret_cast<const xmlChar*>(text); }
const xmlChar* X(const std::string& text) { return X(text.c_str()); }

// Each writer call returns a count of bytes, or -1 when it failed.
bool WritePoint(xmlTextWriterPtr w, const GpxPoint& p) {
  // The elements of a waypoint go in the schema's order: time, name, desc.
  bool ok = xmlTextWriterStartElement(w, X("wpt")) >= 0 &&
            xmlTextWriterWriteAttribute(w, X("lat"), X(p.latitude)) >= 0 &&
            xmlTextWriterWriteAttribute(w, X("lon"), X(p.longitude)) >= 0 &&
            xmlTextWriterWriteElement(w, X("time"), X(p.time)) >= 0 &&
            xmlTextWriterWriteElement(w, X("name"), X(p.name)) >= 0;
  if (ok && !p.description.empty())
    ok = xmlTextWriterWriteElement(w, X("desc"), X(p.description)) >= 0;
  return ok && xmlTextWriterEndElement(w) >= 0;
}

}  // namespace

std::optional<std::string> MakeGpxDocument(const std::vector<GpxPoint>& points) {
  std::unique_ptr<xmlBuffer, BufferFree> buffer(xmlBufferCreate());
  if (!buffer) return std::nullopt;
  std::unique_ptr<xmlTextWriter, WriterFree> writer(xmlNewTextWriterMemory(buffer.get(), 0));
  if (!writer) return std::nullopt;
  xmlTextWriterPtr w = writer.get();

  bool ok = xmlTextWriterSetIndent(w, 1) == 0 &&
            xmlTextWriterSetIndentString(w, X("  ")) == 0 &&
            xmlTextWriterStartDocument(w, "1.0", "UTF-8", nullptr) >= 0 &&
            xmlTextWriterStartElementNS(w, nullptr, X("gpx"), X(kGpxNamespace)) >= 0 &&
            xmlTextWriterWriteAttribute(w, X("version"), X("1.1")) >= 0 &&
            xmlTextWriterWriteAttribute(w, X("creator"), X(kGpxCreator)) >= 0;
  for (const GpxPoint& point : points) ok = ok && WritePoint(w, point);
  ok = ok && xmlTextWriterEndDocument(w) >= 0;
  writer.reset();  // flushes the rest into the buffer
  if (!ok) return std::nullopt;
  return std::string(reinterpret_cast<const char*>(xmlBufferContent(buffer.get())),
                     static_cast<std::size_t>(xmlBufferLength(buffer.get())));
}

}  // namespace zaz::gpx
