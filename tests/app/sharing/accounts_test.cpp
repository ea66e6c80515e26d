// ListMailAccounts against in-process store lists: order, limits, the failure trace, a row query
// failing later, a display name that is not a string; every row set and object released.
#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include <pda/testing/kernel.h>
#include <pda/testing/messaging.h>

#include "utils/sfwsupport.h"

namespace {

using pda::testing::MessagingScript;
using pda::testing::TestMessageStore;

std::vector<TestMessageStore> Named(std::initializer_list<std::u16string> names) {
  std::vector<TestMessageStore> stores;
  for (const auto& name : names) stores.push_back({name});
  return stores;
}

std::vector<TestMessageStore> Numbered(int count) {
  std::vector<TestMessageStore> stores;
  for (int k = 1; k <= count; ++k) stores.push_back({u"Store " + std::u16string(1, u'@' + k)});
  return stores;
}

const std::u16string kLongName(200, u'x');

struct AccountsCase {
  const char* name;
  MessagingScript script;
  int count;
  std::vector<std::u16string> names;
  std::u16string trace;  // the debug output
};

void PrintTo(const AccountsCase& c, std::ostream* os) { *os << c.name; }

class ListMailAccountsTest : public ::testing::TestWithParam<AccountsCase> {
 protected:
  void TearDown() override {
    pda::testing::UseConfiguredMessaging();
    pda::SetDebugOutputSinkForTesting({});
  }
};

TEST_P(ListMailAccountsTest, FillsTheListAndReleasesEverything) {
  const AccountsCase& c = GetParam();
  pda::testing::UseScriptedMessaging(c.script);
  std::u16string trace;
  pda::SetDebugOutputSinkForTesting([&](std::u16string_view text) { trace += text; });
  const int heldBefore = pda::testing::LiveMessagingObjects();

  WCHAR names[ACCOUNT_LIST_MAX][ACCOUNT_NAME_CHARS];
  std::memset(names, 0, sizeof names);
  EXPECT_EQ(ListMailAccounts(names), c.count);

  for (int k = 0; k < ACCOUNT_LIST_MAX; ++k) {
    const std::u16string expected =
        k < static_cast<int>(c.names.size()) ? c.names[static_cast<std::size_t>(k)] : u"";
    EXPECT_EQ(std::u16string(names[k]), expected) << "entry " << k;
    EXPECT_EQ(names[k][ACCOUNT_NAME_CHARS - 1], 0) << "entry " << k << " is terminated";
  }
  EXPECT_EQ(trace, c.trace);
  EXPECT_EQ(pda::testing::LiveMessagingObjects(), heldBefore);
}

const std::u16string kTracePath = u")at .\\main().code\\utils.code\\sfwsupport:";

INSTANTIATE_TEST_SUITE_P(
    Stores, ListMailAccountsTest,
    ::testing::Values(
        AccountsCase{"TwoStoresInOrder", {.stores = Named({u"Work", u"SMS"})}, 2,
                     {u"Work", u"SMS"}, u""},
        AccountsCase{"NoStore", {}, 0, {}, u""},
        AccountsCase{"LongNameCutTo127", {.stores = Named({kLongName})}, 1,
                     {kLongName.substr(0, 127)}, u""},
        AccountsCase{"OnlyTheFirstTen", {.stores = Numbered(12)}, 10,
                     {u"Store A", u"Store B", u"Store C", u"Store D", u"Store E", u"Store F",
                      u"Store G", u"Store H", u"Store I", u"Store J"},
                     u""},
        AccountsCase{"InitialiseFails", {.stores = Named({u"Work"}), .initialize = E_FAIL}, -1,
                     {}, u"CEMAPI: FAILED(80004005" + kTracePath + u"73\n"},
        AccountsCase{"LogonFails", {.stores = Named({u"Work"}), .logon = E_OUTOFMEMORY}, -1,
                     {}, u"CEMAPI: FAILED(8007000e" + kTracePath + u"76\n"},
        AccountsCase{"StoresTableFails",
                     {.stores = Named({u"Work"}), .storesTable = E_UNEXPECTED}, -1, {},
                     u"CEMAPI: FAILED(8000ffff" + kTracePath + u"79\n"},
        AccountsCase{"SetColumnsFails", {.stores = Named({u"Work"}), .setColumns = E_FAIL}, -1,
                     {}, u"CEMAPI: FAILED(80004005" + kTracePath + u"82\n"},
        AccountsCase{"FirstRowQueryFailsQuietly",
                     {.stores = Named({u"Work"}), .queryRows = E_FAIL}, 0, {}, u""},
        AccountsCase{"LaterRowQueryFailureKeepsWhatWasRead",
                     {.stores = Named({u"Work", u"Home", u"SMS"}), .queryRows = E_FAIL,
                      .queryRowsFailAfter = 2},
                     2, {u"Work", u"Home"}, u""},
        // The first column's whole tag is tested against 0x0000000A; an error value keeps its
        // id (0x8113000A), so a store without a unique id is still listed.
        AccountsCase{"ErrorValuedStoreIdIsStillListed",
                     {.stores = {{u"Hidden", false, true}, {u"Work"}}}, 2, {u"Hidden", u"Work"},
                     u""},
        AccountsCase{"ErrorValuedDisplayNameSkipsTheRow",
                     {.stores = {{u"Broken", true, false}, {u"Work"}}}, 1, {u"Work"}, u""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
