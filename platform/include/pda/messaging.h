// The messaging store: initialise, log on, the session's table of message stores with its
// columns and rows, and the published records those rows are made of (property tags, tagged
// values, rows and row sets). Also the compose-fields record of the compose form.
//
// The stores are the names of PDA_MESSAGE_STORES, comma-separated, in table order (default
// "E-mail,SMS"; set but empty means no stores). Each row can give four columns: the store's
// unique id (a GUID made from its name), its display name, the default-store flag (the first
// store) and its entry id. A requested column a store cannot give comes back as an error value:
// type PT_ERROR, the property id kept, Value.err = MAPI_E_NOT_FOUND.
//
// The session and the table are objects with the published method shape; each is dropped with
// Release. Row sets are freed with FreeProws, single buffers with MAPIFreeBuffer.
#pragma once

#include "pda/kernel.h"

// ---- property tags -------------------------------------------------------------------------
constexpr ULONG PT_UNSPECIFIED = 0x0000;
constexpr ULONG PT_NULL = 0x0001;
constexpr ULONG PT_I2 = 0x0002;
constexpr ULONG PT_LONG = 0x0003;
constexpr ULONG PT_ERROR = 0x000A;
constexpr ULONG PT_BOOLEAN = 0x000B;
constexpr ULONG PT_STRING8 = 0x001E;
constexpr ULONG PT_UNICODE = 0x001F;
constexpr ULONG PT_SYSTIME = 0x0040;
constexpr ULONG PT_CLSID = 0x0048;
constexpr ULONG PT_BINARY = 0x0102;

constexpr ULONG PROP_TAG(ULONG type, ULONG id) { return (id << 16) | type; }
constexpr ULONG PROP_TYPE(ULONG tag) { return tag & 0xFFFF; }
constexpr ULONG PROP_ID(ULONG tag) { return tag >> 16; }

constexpr ULONG PR_CE_UNIQUE_STORE_ID = PROP_TAG(PT_CLSID, 0x8113);  // 0x81130048
constexpr ULONG PR_DISPLAY_NAME_W = PROP_TAG(PT_UNICODE, 0x3001);    // 0x3001001F
constexpr ULONG PR_DEFAULT_STORE = PROP_TAG(PT_BOOLEAN, 0x3400);     // 0x3400000B
constexpr ULONG PR_ENTRYID = PROP_TAG(PT_BINARY, 0x0FFF);            // 0x0FFF0102

// ---- flags and results ---------------------------------------------------------------------
constexpr ULONG MAPI_UNICODE = 0x80000000u;
using FLAGS = ULONG;
using SCODE = LONG;

constexpr HRESULT MAPI_E_NOT_FOUND = static_cast<HRESULT>(0x8004010Fu);
constexpr HRESULT MAPI_E_NOT_INITIALIZED = static_cast<HRESULT>(0x80040605u);
constexpr HRESULT MAPI_E_INVALID_PARAMETER = E_INVALIDARG;
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);

// ---- records -------------------------------------------------------------------------------
struct GUID {
  DWORD Data1;
  WORD Data2;
  WORD Data3;
  BYTE Data4[8];
};
static_assert(sizeof(GUID) == 16);
using LPGUID = GUID*;

struct SBinary {
  ULONG cb;
  LPBYTE lpb;
};

// The value of one property, by its type.
union PropValueUnion {
  SHORT i;             // PT_I2
  LONG l;              // PT_LONG
  ULONG ul;
  USHORT b;            // PT_BOOLEAN
  double dbl;
  FILETIME ft;         // PT_SYSTIME
  LPSTR lpszA;         // PT_STRING8
  LPWSTR lpszW;        // PT_UNICODE
  LPGUID lpguid;       // PT_CLSID
  SBinary bin;         // PT_BINARY
  SCODE err;           // PT_ERROR
  std::int64_t li;
};

struct SPropValue {
  ULONG ulPropTag;
  ULONG dwAlignPad;
  PropValueUnion Value;
};
using LPSPropValue = SPropValue*;

struct SRow {
  ULONG ulAdrEntryPad;
  ULONG cValues;
  LPSPropValue lpProps;
};
using LPSRow = SRow*;

// A row set of cRows rows: the published record declares one, and is allocated longer.
struct SRowSet {
  ULONG cRows;
  SRow aRow[1];
};
using LPSRowSet = SRowSet*;

// A column list of cValues tags: declared with one, used through SizedSPropTagArray.
struct SPropTagArray {
  ULONG cValues;
  ULONG aulPropTag[1];
};
using LPSPropTagArray = SPropTagArray*;

template <ULONG N>
struct SizedSPropTagArray {
  ULONG cValues;
  ULONG aulPropTag[N];
  LPSPropTagArray get() { return reinterpret_cast<LPSPropTagArray>(this); }
};

// ---- objects -------------------------------------------------------------------------------
// A table of rows with a cursor. QueryRows returns up to rowCount rows from the cursor and moves
// it on; a row set of 0 rows is the end of the table.
struct IMAPITable {
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;
  virtual HRESULT SetColumns(LPSPropTagArray propTagArray, ULONG flags) = 0;
  virtual HRESULT QueryRows(LONG rowCount, ULONG flags, LPSRowSet* rows) = 0;

 protected:
  ~IMAPITable() = default;
};
using LPMAPITABLE = IMAPITable*;

// A logon to the messaging store.
struct IMAPISession {
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;
  // flags: MAPI_UNICODE for wide display names (the only form this store gives).
  virtual HRESULT GetMsgStoresTable(ULONG flags, LPMAPITABLE* table) = 0;

 protected:
  ~IMAPISession() = default;
};
using LPMAPISESSION = IMAPISession*;
using ICEMAPISession = IMAPISession;

// ---- calls ---------------------------------------------------------------------------------
// mapiInit must be null. Counted: every call may be matched by MAPIUninitialize.
HRESULT MAPIInitialize(LPVOID mapiInit);
void MAPIUninitialize();
// The first four arguments are ignored, as on the handheld. MAPI_E_NOT_INITIALIZED before
// MAPIInitialize.
HRESULT MAPILogonEx(ULONG_PTR uiParam, LPWSTR profileName, LPWSTR password, FLAGS flags,
                    LPMAPISESSION* session);
// Frees a buffer the store handed out (a row's values, a row set).
ULONG MAPIFreeBuffer(LPVOID buffer);
// Frees every row's values, then the set. Null is allowed.
void FreeProws(LPSRowSet rows);

// ---- the compose-fields record -------------------------------------------------------------
constexpr DWORD MCF_ACCOUNT_IS_NAME = 0x01;
constexpr DWORD MCF_ACCOUNT_IS_TRANSPORT = 0x02;
constexpr DWORD MCF_MAILTO_FORMAT = 0x04;

// Holds pointers, so it is larger here than its published 44 bytes; cbSize must carry 44 all the
// same, as the record's version mark, and the platform refuses any other value (E_INVALIDARG).
struct MAILCOMPOSEFIELDS {
  DWORD cbSize;
  DWORD dwFlags;
  LPCWSTR pszTo;           // recipients, ";" between them
  LPCWSTR pszCc;
  LPCWSTR pszBcc;
  LPCWSTR pszSubject;
  LPCWSTR pszBody;
  LPCWSTR pszAttachments;  // NUL-separated file names
  UINT cAttachments;
  LPCWSTR pszAccount;
  LPCWSTR pszMsgClass;     // "IPM.Note" for e-mail, "IPM.SMStext" for SMS
};
constexpr DWORD MAILCOMPOSEFIELDS_PUBLISHED_SIZE = 44;

// Opens the platform's compose form, filled from the record, and returns at once: the form
// belongs to the user from then on (edit, then "Send" or "Cancel"); the caller is never told
// which. The form is a window of the calling thread (the application's UI thread), so it shows
// once the caller is back in its message loop; each call opens another form on top. It shows
// To, Subject (e-mail only), the account as From, and the body; Cc, Bcc and attachments are not
// offered. E_INVALIDARG for a null record or a size mark other than 44; E_FAIL when the form
// cannot be made.
HRESULT MailComposeMessage(MAILCOMPOSEFIELDS* fields);
