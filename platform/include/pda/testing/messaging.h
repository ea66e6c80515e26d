// Test hooks of the messaging store: a store list given in-process instead of
// PDA_MESSAGE_STORES, scripted failures of each call, and a count of what is still held.
//
// For tests and test harnesses only; the application never includes this header.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "pda/messaging.h"

namespace pda::testing {

struct TestMessageStore {
  std::u16string displayName;
  // A store that cannot give a column answers it with an error value (PT_ERROR, id kept).
  bool hasStoreId = true;
  bool hasDisplayName = true;
};

struct MessagingScript {
  std::vector<TestMessageStore> stores;
  // Results of the calls; a failing value makes the call fail with it and hand out nothing.
  HRESULT initialize = S_OK;
  HRESULT logon = S_OK;
  HRESULT storesTable = S_OK;
  HRESULT setColumns = S_OK;
  HRESULT queryRows = S_OK;
  // With queryRows failing: how many QueryRows calls of each table succeed first.
  int queryRowsFailAfter = 0;
};

// From now on the store list and the results come from the script (tables already handed out
// keep their rows).
void UseScriptedMessaging(MessagingScript script);
// Back to PDA_MESSAGE_STORES and no failures (the default).
void UseConfiguredMessaging();

// Sessions, tables and buffers handed out and not yet released or freed.
int LiveMessagingObjects();

// The compose form on screen (the newest when there are several), its fields as they are now.
struct ComposeFormInfo {
  HWND window;
  bool email;  // false: an SMS form (no Subject field)
  std::u16string to;
  std::u16string subject;
  std::u16string account;
  std::u16string body;
};
std::optional<ComposeFormInfo> OpenComposeForm();

}  // namespace pda::testing
