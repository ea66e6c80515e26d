// An e-mail as RFC 5322 bytes, made with GMime.
#pragma once

#include <string>

#include "messaging/compose_send.h"

namespace pda::messaging {

// Date (the given UTC time), To, Subject, X-Account (the sending account's name), then a
// text/plain UTF-8 body in quoted-printable; CR LF line ends. Header texts that are not ASCII
// become RFC 2047 words. The bytes go to *bytes on S_OK; E_INVALIDARG when the recipients cannot
// be read as addresses, HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND) when GMime cannot be loaded (said
// on standard error at the first try), E_FAIL when GMime cannot write the message.
HRESULT FormatEmail(const ComposedMessage& message, const SYSTEMTIME& utc, std::string* bytes);

}  // namespace pda::messaging
