// The store table as PDA_MESSAGE_STORES gives it: rows in order, the four columns, error values
// for what a store cannot give, the end of the table, and nothing left held.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "pda/messaging.h"
#include "pda/testing/messaging.h"

namespace {

struct Row {
  std::vector<ULONG> tags;
  std::u16string name;  // empty when the name column is not a string
};

// Logs on, sets `columns` and reads rows one at a time to the end of the table.
std::vector<Row> ReadTable(const std::vector<ULONG>& columns) {
  std::vector<Row> rows;
  EXPECT_EQ(MAPIInitialize(nullptr), S_OK);
  LPMAPISESSION session = nullptr;
  EXPECT_EQ(MAPILogonEx(0, nullptr, nullptr, 0, &session), S_OK);
  LPMAPITABLE table = nullptr;
  EXPECT_EQ(session->GetMsgStoresTable(MAPI_UNICODE, &table), S_OK);
  std::vector<ULONG> list = {static_cast<ULONG>(columns.size())};
  list.insert(list.end(), columns.begin(), columns.end());
  EXPECT_EQ(table->SetColumns(reinterpret_cast<LPSPropTagArray>(list.data()), 0), S_OK);
  for (;;) {
    LPSRowSet set = nullptr;
    EXPECT_EQ(table->QueryRows(1, 0, &set), S_OK);
    if (!set) break;
    const bool end = set->cRows == 0;
    if (!end) {
      Row row;
      for (ULONG k = 0; k < set->aRow[0].cValues; ++k) {
        const SPropValue& v = set->aRow[0].lpProps[k];
        row.tags.push_back(v.ulPropTag);
        if (v.ulPropTag == PR_DISPLAY_NAME_W) row.name = v.Value.lpszW;
      }
      rows.push_back(row);
    }
    FreeProws(set);
    if (end) break;
  }
  table->Release();
  session->Release();
  MAPIUninitialize();
  return rows;
}

const std::vector<ULONG> kFourColumns = {PR_CE_UNIQUE_STORE_ID, PR_DISPLAY_NAME_W,
                                         PR_DEFAULT_STORE, PR_ENTRYID};

struct StoresCase {
  const char* name;
  std::optional<const char*> variable;  // nullopt: unset
  std::vector<std::u16string> expected;
};

class ConfiguredStoresTest : public ::testing::TestWithParam<StoresCase> {
 protected:
  void TearDown() override { unsetenv("PDA_MESSAGE_STORES"); }
};

TEST_P(ConfiguredStoresTest, RowsFollowTheVariableInOrderAndNothingStaysHeld) {
  const StoresCase& c = GetParam();
  if (c.variable) setenv("PDA_MESSAGE_STORES", *c.variable, 1);
  else unsetenv("PDA_MESSAGE_STORES");
  const int heldBefore = pda::testing::LiveMessagingObjects();
  std::vector<std::u16string> names;
  for (const Row& row : ReadTable(kFourColumns)) {
    EXPECT_EQ(row.tags, kFourColumns) << "every store gives the four columns";
    names.push_back(row.name);
  }
  EXPECT_EQ(names, c.expected);
  EXPECT_EQ(pda::testing::LiveMessagingObjects(), heldBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Stores, ConfiguredStoresTest,
    ::testing::Values(StoresCase{"UnsetIsEmailThenSms", std::nullopt, {u"E-mail", u"SMS"}},
                      StoresCase{"SetButEmptyIsNoStore", "", {}},
                      StoresCase{"ListInOrderEmptyItemsSkipped", "Work,,Zoë's mail,SMS",
                                 {u"Work", u"Zoë's mail", u"SMS"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StoreTableTest, ColumnsAStoreCannotGiveAreErrorValuesWithTheirIdKept) {
  pda::testing::UseScriptedMessaging({.stores = {{.displayName = u"Work", .hasStoreId = false}}});
  const ULONG unknown = PROP_TAG(PT_UNICODE, 0x8117);
  const auto rows = ReadTable({PR_CE_UNIQUE_STORE_ID, PR_DISPLAY_NAME_W, unknown});
  pda::testing::UseConfiguredMessaging();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].tags, (std::vector<ULONG>{0x8113000Au, PR_DISPLAY_NAME_W, 0x8117000Au}));
  EXPECT_EQ(rows[0].name, u"Work");
}

TEST(StoreTableTest, LogonBeforeInitialiseIsRefused) {
  LPMAPISESSION session = nullptr;
  EXPECT_EQ(MAPILogonEx(0, nullptr, nullptr, 0, &session), MAPI_E_NOT_INITIALIZED);
  EXPECT_EQ(session, nullptr);
}

}  // namespace
