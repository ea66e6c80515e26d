// PDA_MESSAGE_STORES and PDA_COMPOSE (see messaging_config.h).
#include "messaging/messaging_config.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "kernel/utf.h"

namespace pda::messaging {

std::vector<std::u16string> ParseMessageStores(const char* value) {
  const std::string_view list = value ? value : "E-mail,SMS";
  std::vector<std::u16string> names;
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t comma = list.find(',', start);
    if (comma == std::string_view::npos) comma = list.size();
    if (comma > start) names.push_back(Utf8ToUtf16(list.substr(start, comma - start)));
    start = comma + 1;
  }
  return names;
}

std::vector<std::u16string> ConfiguredMessageStores() {
  return ParseMessageStores(std::getenv("PDA_MESSAGE_STORES"));
}

std::optional<ComposeMode> ParseComposeMode(const char* value) {
  const std::string_view v = value ? value : "";
  if (v.empty() || v == "outbox") return ComposeMode::Outbox;
  if (v == "desktop") return ComposeMode::Desktop;
  return std::nullopt;
}

std::optional<ComposeMode> ConfiguredComposeMode() {
  const char* value = std::getenv("PDA_COMPOSE");
  const auto mode = ParseComposeMode(value);
  if (!mode)
    std::fprintf(stderr, "PDA_COMPOSE=\"%s\" is not valid; use outbox or desktop\n", value);
  return mode;
}

}  // namespace pda::messaging
