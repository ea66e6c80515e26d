// Names of messages, from the lists that define them.
#include "user/message_names.h"

#include <cstdio>
#include <utility>

#include "pda/controls.h"
#include "pda/testing/user.h"
#include "user/messaging.h"

namespace pda::user {
namespace {

#define PDA_NAME_ENTRY(name, number) std::pair<UINT, const char*>{number, #name},
constexpr std::pair<UINT, const char*> kNames[] = {
    PDA_WINDOW_MESSAGES(PDA_NAME_ENTRY) PDA_EDIT_MESSAGES(PDA_NAME_ENTRY)
        PDA_LISTBOX_MESSAGES(PDA_NAME_ENTRY) PDA_RICHINK_MESSAGES(PDA_NAME_ENTRY)
        PDA_INTERNAL_MESSAGES(PDA_NAME_ENTRY)};
#undef PDA_NAME_ENTRY

constexpr bool Unique() {
  for (std::size_t i = 0; i < std::size(kNames); ++i)
    for (std::size_t j = i + 1; j < std::size(kNames); ++j)
      if (kNames[i].first == kNames[j].first) return false;
  return true;
}
static_assert(Unique(), "two names for one message number");

}  // namespace

std::string MessageName(UINT message) {
  for (const auto& [number, name] : kNames)
    if (number == message) return name;
  char text[32];
  if (message >= WM_APP && message < 0xC000)
    std::snprintf(text, sizeof text, "WM_APP+%u", message - WM_APP);
  else if (message >= WM_USER && message < WM_APP)
    std::snprintf(text, sizeof text, "WM_USER+%u", message - WM_USER);
  else
    std::snprintf(text, sizeof text, "0x%04X", message);
  return text;
}

}  // namespace pda::user

namespace pda::testing {
std::string MessageName(UINT message) { return user::MessageName(message); }
}  // namespace pda::testing
