// The compose-fields record read into a ComposedMessage, and the choice of PDA_COMPOSE.
#include <utility>

#include "messaging/compose_send.h"
#include "messaging/messaging_config.h"

namespace pda::messaging {
namespace {

std::u16string Field(LPCWSTR text) { return text ? std::u16string(text) : std::u16string(); }

}  // namespace

std::optional<ComposedMessage> ComposedMessageFromFields(const MAILCOMPOSEFIELDS* fields) {
  // The record holds pointers and is larger on this host; its size field is its version mark.
  if (!fields || fields->cbSize != MAILCOMPOSEFIELDS_PUBLISHED_SIZE) return std::nullopt;
  ComposedMessage message;
  message.kind = Field(fields->pszMsgClass).starts_with(u"IPM.SMStext")
                     ? ComposedMessage::Kind::Sms
                     : ComposedMessage::Kind::Email;
  message.to = Field(fields->pszTo);
  message.subject = Field(fields->pszSubject);
  message.body = Field(fields->pszBody);
  message.account = Field(fields->pszAccount);
  return message;
}

HRESULT SendComposedMessage(const ComposedMessage& message, std::optional<ComposeMode>* way,
                            HelperAnswer answered) {
  const auto mode = ConfiguredComposeMode();
  if (way) *way = mode;
  if (!mode) return E_INVALIDARG;
  if (*mode == ComposeMode::Desktop) return HandToDesktop(message, std::move(answered));
  return WriteToOutbox(message);
}

}  // namespace pda::messaging
