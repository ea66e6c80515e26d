// RFC 5322 e-mail through GMime (see eml_format.h). GMime does the header words, the address
// list and the quoted-printable body; this file only lays the message out. GMime is called
// through the table of gmime_library.h: the program does not link it.
#include "messaging/eml_format.h"

#include <memory>

#include "kernel/utf.h"
#include "messaging/gmime_library.h"

namespace pda::messaging {
namespace {

// Only made once GMimeLibrary::Get() has given the library, which then stays.
struct ObjectUnref {
  void operator()(gpointer object) const { GMimeLibrary::Get()->g_object_unref(object); }
};
template <class T>
using GObjectPtr = std::unique_ptr<T, ObjectUnref>;

struct FormatOptionsFree {
  void operator()(GMimeFormatOptions* options) const {
    GMimeLibrary::Get()->g_mime_format_options_free(options);
  }
};

// The handheld's compose form separates recipients with ";"; RFC 5322 with ",".
std::string AddressListText(const std::u16string& to) {
  std::string text = Utf16ToUtf8(to);
  for (char& c : text)
    if (c == ';') c = ',';
  return text;
}

bool HasNonSpace(const std::string& text) {
  return text.find_first_not_of(" \t,") != std::string::npos;
}

// The body with LF line ends: GMime writes every line end as CR LF.
std::string BodyText(const std::u16string& body) {
  const std::string text = Utf16ToUtf8(body);
  std::string out;
  out.reserve(text.size());
  for (std::size_t k = 0; k < text.size(); ++k) {
    if (text[k] == '\r') {
      out += '\n';
      if (k + 1 < text.size() && text[k + 1] == '\n') ++k;
    } else {
      out += text[k];
    }
  }
  return out;
}

}  // namespace

HRESULT FormatEmail(const ComposedMessage& message, const SYSTEMTIME& utc, std::string* bytes) {
  const GMimeLibrary* const library = GMimeLibrary::Get();
  if (!library) return HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);
  const GMimeLibrary& gmime = *library;
  GObjectPtr<GMimeMessage> mail(gmime.g_mime_message_new(FALSE));
  auto* object = GMIME_OBJECT(mail.get());

  GDateTime* date = gmime.g_date_time_new_utc(utc.wYear, utc.wMonth, utc.wDay, utc.wHour,
                                              utc.wMinute, utc.wSecond);
  gmime.g_mime_message_set_date(mail.get(), date);
  gmime.g_date_time_unref(date);

  const std::string to = AddressListText(message.to);
  if (HasNonSpace(to)) {
    InternetAddressList* list = gmime.internet_address_list_parse(nullptr, to.c_str());
    if (!list) return E_INVALIDARG;
    GObjectPtr<InternetAddressList> owned(list);
    if (gmime.internet_address_list_length(list) == 0) return E_INVALIDARG;
    gmime.internet_address_list_append(
        gmime.g_mime_message_get_addresses(mail.get(), GMIME_ADDRESS_TYPE_TO), list);
  }
  if (!message.subject.empty())
    gmime.g_mime_message_set_subject(mail.get(), Utf16ToUtf8(message.subject).c_str(), "utf-8");
  gmime.g_mime_object_set_header(object, "X-Account", Utf16ToUtf8(message.account).c_str(),
                                 "utf-8");

  const std::string body = BodyText(message.body);
  GObjectPtr<GMimeStream> content(
      gmime.g_mime_stream_mem_new_with_buffer(body.data(), body.size()));
  GObjectPtr<GMimeDataWrapper> wrapper(
      gmime.g_mime_data_wrapper_new_with_stream(content.get(), GMIME_CONTENT_ENCODING_DEFAULT));
  GObjectPtr<GMimePart> part(gmime.g_mime_part_new_with_type("text", "plain"));
  gmime.g_mime_object_set_content_type_parameter(GMIME_OBJECT(part.get()), "charset", "utf-8");
  gmime.g_mime_part_set_content(part.get(), wrapper.get());
  gmime.g_mime_part_set_content_encoding(part.get(), GMIME_CONTENT_ENCODING_QUOTEDPRINTABLE);
  gmime.g_mime_message_set_mime_part(mail.get(), GMIME_OBJECT(part.get()));

  std::unique_ptr<GMimeFormatOptions, FormatOptionsFree> options(gmime.g_mime_format_options_new());
  gmime.g_mime_format_options_set_newline_format(options.get(), GMIME_NEWLINE_FORMAT_DOS);
  GObjectPtr<GMimeStream> out(gmime.g_mime_stream_mem_new());
  if (gmime.g_mime_object_write_to_stream(object, options.get(), out.get()) < 0) return E_FAIL;
  const GByteArray* written = gmime.g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(out.get()));
  bytes->assign(reinterpret_cast<const char*>(written->data), written->len);
  return S_OK;
}

}  // namespace pda::messaging
