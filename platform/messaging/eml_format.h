// An e-mail as RFC 5322 bytes, made with GMime.
#pragma once

#include <string>

#include "messaging/compose_send.h"

namespace pda::messaging {

// Date (the given UTC time), To, Subject, X-Account (the sending account's name), then a
// text/plain UTF-8 body in quoted-printable; CR LF line ends. Header texts that are not ASCII
// become RFC 2047 words. Empty when the recipients cannot be read as addresses.
std::string FormatEmail(const ComposedMessage& message, const SYSTEMTIME& utc);

}  // namespace pda::messaging
