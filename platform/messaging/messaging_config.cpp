// PDA_MESSAGE_STORES and PDA_COMPOSE (see messaging_config.h).
#include "messaging/messaging_config.h"

#include <cstdlib>
#include <string_view>

#include "kernel/bad_setting.h"
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

std::optional<std::string> MessageStoresProblem(const char* value) {
  bool invalid = false;
  if (value) Utf8ToUtf16(value, &invalid);
  if (invalid) return "not UTF-8 text";
  return std::nullopt;
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
  // The start refuses a bad value before anything runs; only a test meets it here.
  if (!mode) ReportBadSetting("PDA_COMPOSE", value, "not a way of sending", kComposeModeForm);
  return mode;
}

}  // namespace pda::messaging
