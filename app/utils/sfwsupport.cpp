// The account listing: log on, ask for the message-store table, read one row at a time.
#include "utils/sfwsupport.h"

#include "utils/text_convert.h"

namespace {

// The failure trace names this unit by its path on the handheld.
constexpr char kSourcePath[] = ".\\main().code\\utils.code\\sfwsupport";
constexpr WCHAR kFailureFormat[] = u"CEMAPI: FAILED(%x)at %hs:%d\n";

// The line numbers the trace gives for each failing step.
constexpr int kLineInitialize = 73;
constexpr int kLineLogon = 76;
constexpr int kLineStoresTable = 79;
constexpr int kLineSetColumns = 82;

void TraceFailure(HRESULT hr, int line) {
  WCHAR text[256];
  StringCchPrintfW(text, 256, kFailureFormat, static_cast<unsigned>(hr), kSourcePath, line);
  OutputDebugStringW(text);
}

}  // namespace

int ListMailAccounts(WCHAR (*pszNames)[ACCOUNT_NAME_CHARS]) {
  SizedSPropTagArray<4> columns = {
      4, {PR_CE_UNIQUE_STORE_ID, PR_DISPLAY_NAME_W, PR_DEFAULT_STORE, PR_ENTRYID}};
  LPMAPISESSION session = nullptr;
  LPMAPITABLE table = nullptr;
  LPSRowSet rows = nullptr;
  int count = 0;
  int failedLine = 0;
  HRESULT hr = MAPIInitialize(nullptr);
  if (FAILED(hr)) {
    failedLine = kLineInitialize;
  } else if (hr = MAPILogonEx(0, nullptr, nullptr, 0, &session); FAILED(hr)) {
    failedLine = kLineLogon;
  } else if (hr = session->GetMsgStoresTable(MAPI_UNICODE, &table); FAILED(hr)) {
    failedLine = kLineStoresTable;
  } else if (hr = table->SetColumns(columns.get(), 0); FAILED(hr)) {
    failedLine = kLineSetColumns;
  }
  if (failedLine != 0) {
    TraceFailure(hr, failedLine);
    if (table) table->Release();
    if (session) session->Release();
    return -1;
  }

  if (SUCCEEDED(table->QueryRows(1, 0, &rows))) {
    while (rows && rows->cRows == 1) {
      const SPropValue* values = rows->aRow[0].lpProps;
      // A row whose display name is not a wide string is skipped, never read as one.
      if (values[0].ulPropTag != PT_ERROR && rows->aRow[0].cValues >= 2 &&
          PROP_TYPE(values[1].ulPropTag) == PT_UNICODE && values[1].Value.lpszW) {
        CopyWideCut(pszNames[count], ACCOUNT_NAME_CHARS, values[1].Value.lpszW);
        ++count;
      }
      FreeProws(rows);
      rows = nullptr;
      if (count == ACCOUNT_LIST_MAX) break;
      if (FAILED(table->QueryRows(1, 0, &rows))) rows = nullptr;
    }
    FreeProws(rows);  // the end of the table: an empty row set
  }
  table->Release();
  session->Release();
  return count;
}
