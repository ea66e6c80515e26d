// The sending half of the compose form: the message the user sends, taken from the
// compose-fields record, and the two ways it leaves (PDA_COMPOSE): into the device's \Outbox
// folder, or handed to the desktop's mail and SMS programs.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "messaging/messaging_config.h"
#include "pda/messaging.h"

namespace pda::messaging {

struct ComposedMessage {
  enum class Kind { Email, Sms };
  Kind kind = Kind::Email;
  std::u16string to;       // recipients, ";" between them
  std::u16string subject;  // e-mail only
  std::u16string body;
  std::u16string account;
};

// The message a compose-fields record describes: e-mail, or SMS for the class "IPM.SMStext".
// Null fields are empty. nullopt for a null record or a size mark other than the published 44.
std::optional<ComposedMessage> ComposedMessageFromFields(const MAILCOMPOSEFIELDS* fields);

// The answer of a desktop helper, given once, on a thread of the hand-off's own.
using HelperAnswer = std::function<void(HRESULT)>;

// Sends as PDA_COMPOSE says. S_OK once the message is in the outbox; S_FALSE once the desktop's
// helper is started, whose answer then goes to `answered` (see HandToDesktop); otherwise a
// failing result for the form to report (a bad PDA_COMPOSE is E_INVALIDARG). The way taken goes
// to *way (nullopt for a bad PDA_COMPOSE), so that the form can say what failed.
HRESULT SendComposedMessage(const ComposedMessage& message, std::optional<ComposeMode>* way,
                            HelperAnswer answered);

// ---- the outbox ----------------------------------------------------------------------------
// Writes the message whole under a temporary name in \Outbox and then gives it its final name,
// which never replaces another message: "<UTC time>-NN.eml" or ".sms", NN counting up from 00
// while a name is taken. The device path given is put in *finalPath. A message whose bytes cannot
// be made fails as OutboxFileBytes says, and nothing is written.
HRESULT WriteToOutbox(const ComposedMessage& message, std::u16string* finalPath = nullptr);
// The bytes of the outbox file, into *bytes: RFC 5322 for e-mail (UTF-8 body, quoted-printable;
// fails as FormatEmail in eml_format.h says), a "To:" line, an empty line and the body for SMS.
HRESULT OutboxFileBytes(const ComposedMessage& message, const SYSTEMTIME& utc, std::string* bytes);

// ---- the desktop ---------------------------------------------------------------------------
// E-mail: xdg-email --utf8 --subject S --body B [recipients...]; SMS: xdg-open with an "sms:"
// address (RFC 5724). Run without a shell, and never waited for: S_FALSE once the helper is
// started. `answered` then gets S_OK when it ends well, E_FAIL when it fails, and S_OK when it
// still runs after two seconds (it is the mail or SMS program itself, which has the message).
// Nothing is started, and `answered` never called, for a helper that is not on PATH
// (HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)) or a recipient that would read as an option
// (E_INVALIDARG).
HRESULT HandToDesktop(const ComposedMessage& message, HelperAnswer answered);
// "sms:+15551234?body=..." with the body percent-encoded as UTF-8.
std::string SmsUri(const std::u16string& to, const std::u16string& body);

}  // namespace pda::messaging
