// MAPIInitialize, MAPILogonEx, the session's table of message stores, row sets and their
// buffers, and the test hooks that replace the store list.
//
// Sections: buffers | the store list | the table | the session | calls | test hooks
#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <string>
#include <vector>

#include "messaging/messaging_config.h"
#include "pda/messaging.h"
#include "pda/testing/messaging.h"

namespace pda::messaging {
namespace {

// ---- buffers -------------------------------------------------------------------------------

std::atomic<int> liveObjects{0};

void* AllocateBuffer(std::size_t bytes) {
  void* block = std::calloc(1, bytes);
  if (block) ++liveObjects;
  return block;
}

// ---- the store list ------------------------------------------------------------------------

struct State {
  std::mutex mutex;
  bool scripted = false;
  testing::MessagingScript script;
  int initializeCount = 0;
};

State& Shared() {
  static State* const state = new State;  // never destroyed: objects may outlive static teardown
  return *state;
}

struct StoreRow {
  std::u16string name;
  bool hasStoreId = true;
  bool hasDisplayName = true;
};

// A store's unique id, made from its name so that it stays the same from run to run.
GUID StoreId(const std::u16string& name) {
  std::uint64_t a = 0xcbf29ce484222325u, b = 0x84222325cbf29ce4u;
  for (char16_t c : name) {
    a = (a ^ c) * 0x100000001b3u;
    b = (b ^ (c + 0x9e37u)) * 0x100000001b3u;
  }
  GUID id{};
  id.Data1 = static_cast<DWORD>(a);
  id.Data2 = static_cast<WORD>(a >> 32);
  id.Data3 = static_cast<WORD>(a >> 48);
  std::memcpy(id.Data4, &b, sizeof id.Data4);
  return id;
}

// One row's values in one buffer: the values, then the GUID, the name and the entry id.
LPSPropValue MakeRowValues(const StoreRow& store, bool defaultStore, const std::vector<ULONG>& tags) {
  const GUID id = StoreId(store.name);
  const std::size_t valuesBytes = tags.size() * sizeof(SPropValue);
  const std::size_t nameBytes = (store.name.size() + 1) * sizeof(char16_t);
  auto* block = static_cast<BYTE*>(AllocateBuffer(valuesBytes + 2 * sizeof(GUID) + nameBytes));
  if (!block) return nullptr;
  auto* values = reinterpret_cast<LPSPropValue>(block);
  auto* guid = reinterpret_cast<GUID*>(block + valuesBytes);
  BYTE* entryId = block + valuesBytes + sizeof(GUID);
  auto* name = reinterpret_cast<char16_t*>(block + valuesBytes + 2 * sizeof(GUID));
  *guid = id;
  std::memcpy(entryId, &id, sizeof id);
  std::memcpy(name, store.name.c_str(), nameBytes);

  for (std::size_t k = 0; k < tags.size(); ++k) {
    SPropValue& v = values[k];
    v.ulPropTag = tags[k];
    if (tags[k] == PR_CE_UNIQUE_STORE_ID && store.hasStoreId) {
      v.Value.lpguid = guid;
    } else if (tags[k] == PR_DISPLAY_NAME_W && store.hasDisplayName) {
      v.Value.lpszW = name;
    } else if (tags[k] == PR_DEFAULT_STORE) {
      v.Value.b = defaultStore ? 1 : 0;
    } else if (tags[k] == PR_ENTRYID) {
      v.Value.bin = SBinary{sizeof(GUID), entryId};
    } else {
      v.ulPropTag = PROP_TAG(PT_ERROR, PROP_ID(tags[k]));
      v.Value.err = MAPI_E_NOT_FOUND;
    }
  }
  return values;
}

// The reference count of a session object: made with one reference, deleted with the last, and
// counted among the live objects meanwhile.
template <class Interface>
class Counted : public Interface {
 public:
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  Counted() { ++liveObjects; }
  virtual ~Counted() { --liveObjects; }

 private:
  std::atomic<ULONG> references_{1};
};

// ---- the table -----------------------------------------------------------------------------

class StoresTable final : public Counted<IMAPITable> {
 public:
  StoresTable(std::vector<StoreRow> rows, HRESULT setColumns, HRESULT queryRows, int failAfter)
      : rows_(std::move(rows)), setColumns_(setColumns), queryRows_(queryRows),
        queryFailAfter_(failAfter) {}

  HRESULT SetColumns(LPSPropTagArray propTagArray, ULONG) override {
    if (!propTagArray || propTagArray->cValues == 0) return E_INVALIDARG;
    if (FAILED(setColumns_)) return setColumns_;
    columns_.assign(propTagArray->aulPropTag, propTagArray->aulPropTag + propTagArray->cValues);
    return S_OK;
  }

  HRESULT QueryRows(LONG rowCount, ULONG, LPSRowSet* out) override {
    if (!out || rowCount <= 0) return E_INVALIDARG;
    *out = nullptr;
    if (FAILED(queryRows_) && queries_++ >= queryFailAfter_) return queryRows_;
    const std::size_t count =
        std::min<std::size_t>(static_cast<std::size_t>(rowCount), rows_.size() - cursor_);
    const std::size_t bytes = offsetof(SRowSet, aRow) + std::max<std::size_t>(count, 1) * sizeof(SRow);
    auto* set = static_cast<LPSRowSet>(AllocateBuffer(bytes));
    if (!set) return E_OUTOFMEMORY;
    for (std::size_t k = 0; k < count; ++k) {
      const std::size_t index = cursor_ + k;
      LPSPropValue values = MakeRowValues(rows_[index], index == 0, columns_);
      if (!values) {
        FreeProws(set);
        return E_OUTOFMEMORY;
      }
      set->aRow[k].cValues = static_cast<ULONG>(columns_.size());
      set->aRow[k].lpProps = values;
      set->cRows = static_cast<ULONG>(k + 1);
    }
    cursor_ += count;
    *out = set;
    return S_OK;
  }

 private:
  ~StoresTable() override = default;

  std::vector<StoreRow> rows_;
  std::vector<ULONG> columns_{PR_CE_UNIQUE_STORE_ID, PR_DISPLAY_NAME_W, PR_DEFAULT_STORE,
                              PR_ENTRYID};
  std::size_t cursor_ = 0;
  HRESULT setColumns_;
  HRESULT queryRows_;
  int queryFailAfter_;
  int queries_ = 0;
};

// ---- the session ---------------------------------------------------------------------------

class Session final : public Counted<IMAPISession> {
 public:
  HRESULT GetMsgStoresTable(ULONG, LPMAPITABLE* table) override {
    if (!table) return E_INVALIDARG;
    *table = nullptr;
    State& s = Shared();
    std::vector<StoreRow> rows;
    HRESULT setColumns = S_OK, queryRows = S_OK;
    int failAfter = 0;
    bool scripted = false;
    {
      std::lock_guard lock(s.mutex);
      scripted = s.scripted;
      if (scripted) {
        if (FAILED(s.script.storesTable)) return s.script.storesTable;
        for (const auto& store : s.script.stores)
          rows.push_back({store.displayName, store.hasStoreId, store.hasDisplayName});
        setColumns = s.script.setColumns;
        queryRows = s.script.queryRows;
        failAfter = s.script.queryRowsFailAfter;
      }
    }
    if (!scripted) {
      for (auto& name : ConfiguredMessageStores()) rows.push_back({std::move(name)});
    }
    auto* made = new (std::nothrow) StoresTable(std::move(rows), setColumns, queryRows, failAfter);
    if (!made) return E_OUTOFMEMORY;
    *table = made;
    return S_OK;
  }

 private:
  ~Session() override = default;
};

}  // namespace
}  // namespace pda::messaging

// ---- calls ---------------------------------------------------------------------------------

HRESULT MAPIInitialize(LPVOID mapiInit) {
  if (mapiInit != nullptr) return E_INVALIDARG;
  auto& s = pda::messaging::Shared();
  std::lock_guard lock(s.mutex);
  if (s.scripted && FAILED(s.script.initialize)) return s.script.initialize;
  ++s.initializeCount;
  return S_OK;
}

void MAPIUninitialize() {
  auto& s = pda::messaging::Shared();
  std::lock_guard lock(s.mutex);
  if (s.initializeCount > 0) --s.initializeCount;
}

HRESULT MAPILogonEx(ULONG_PTR, LPWSTR, LPWSTR, FLAGS, LPMAPISESSION* session) {
  if (!session) return E_INVALIDARG;
  *session = nullptr;
  auto& s = pda::messaging::Shared();
  {
    std::lock_guard lock(s.mutex);
    if (s.initializeCount == 0) return MAPI_E_NOT_INITIALIZED;
    if (s.scripted && FAILED(s.script.logon)) return s.script.logon;
  }
  auto* made = new (std::nothrow) pda::messaging::Session;
  if (!made) return E_OUTOFMEMORY;
  *session = made;
  return S_OK;
}

ULONG MAPIFreeBuffer(LPVOID buffer) {
  if (buffer) {
    std::free(buffer);
    --pda::messaging::liveObjects;
  }
  return 0;
}

void FreeProws(LPSRowSet rows) {
  if (!rows) return;
  for (ULONG k = 0; k < rows->cRows; ++k) MAPIFreeBuffer(rows->aRow[k].lpProps);
  MAPIFreeBuffer(rows);
}

// ---- test hooks ----------------------------------------------------------------------------

namespace pda::testing {

void UseScriptedMessaging(MessagingScript script) {
  auto& s = pda::messaging::Shared();
  std::lock_guard lock(s.mutex);
  s.scripted = true;
  s.script = std::move(script);
}

void UseConfiguredMessaging() {
  auto& s = pda::messaging::Shared();
  std::lock_guard lock(s.mutex);
  s.scripted = false;
  s.script = {};
}

int LiveMessagingObjects() { return pda::messaging::liveObjects.load(); }

}  // namespace pda::testing
