// The platform's messaging settings: the store list (PDA_MESSAGE_STORES) and what a composed
// message does when sent (PDA_COMPOSE).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pda::messaging {

// "E-mail,SMS" when unset; set but empty gives no stores. Empty items ("a,,b") are skipped.
std::vector<std::u16string> ParseMessageStores(const char* value);
inline constexpr std::string_view kMessageStoresForm = "store names in UTF-8, comma-separated";
// Why PDA_MESSAGE_STORES (null: unset) cannot be used, or nothing.
std::optional<std::string> MessageStoresProblem(const char* value);
// The list of PDA_MESSAGE_STORES.
std::vector<std::u16string> ConfiguredMessageStores();

enum class ComposeMode { Outbox, Desktop };
// "outbox" (also when unset or empty) or "desktop"; anything else is nullopt.
std::optional<ComposeMode> ParseComposeMode(const char* value);
inline constexpr std::string_view kComposeModeForm = "outbox | desktop";
// PDA_COMPOSE; a bad value (which the start has refused already) gives one line on standard
// error, and nullopt.
std::optional<ComposeMode> ConfiguredComposeMode();

}  // namespace pda::messaging
