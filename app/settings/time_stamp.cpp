// Date and time stamps.
#include "settings/time_stamp.h"

namespace {

constexpr int kPartChars = 32;

void FormatDate(int nDateOrder, const SYSTEMTIME& st, LPWSTR pszDate) {
  switch (nDateOrder) {
    case TIMESTAMP_DAY_MONTH_YEAR:
      StringCchPrintfW(pszDate, kPartChars, u"%02dd-%02dm-%dy", st.wDay, st.wMonth, st.wYear);
      break;
    case TIMESTAMP_MONTH_DAY_YEAR:
      StringCchPrintfW(pszDate, kPartChars, u"%02dm-%02dd-%dy", st.wMonth, st.wDay, st.wYear);
      break;
    case TIMESTAMP_YEAR_MONTH_DAY:
      StringCchPrintfW(pszDate, kPartChars, u"%dy-%02dm-%02dd", st.wYear, st.wMonth, st.wDay);
      break;
    default:
      break;
  }
}

void FormatTime(int nTimeForm, const SYSTEMTIME& st, LPWSTR pszTime) {
  switch (nTimeForm) {
    case TIMESTAMP_HOUR_MINUTE:
      StringCchPrintfW(pszTime, kPartChars, u"t%02d%02d", st.wHour, st.wMinute);
      break;
    case TIMESTAMP_HOUR_MINUTE_SECOND:
      StringCchPrintfW(pszTime, kPartChars, u"t%02d%02d_%02ds", st.wHour, st.wMinute,
                       st.wSecond);
      break;
    default:
      break;
  }
}

}  // namespace

void MakeTimeStamp(int nDateOrder, int nTimeForm, LPWSTR pszOut) {
  WCHAR szDate[kPartChars] = {};
  WCHAR szTime[kPartChars] = {};
  SYSTEMTIME st;
  GetLocalTime(&st);
  FormatDate(nDateOrder, st, szDate);
  FormatTime(nTimeForm, st, szTime);

  if (szDate[0] == 0 && szTime[0] == 0) {
    pszOut[0] = 0;
  } else if (szDate[0] == 0) {
    StringCchPrintfW(pszOut, TIMESTAMP_MIN_CHARS, u"%s", szTime);
  } else if (szTime[0] == 0) {
    StringCchPrintfW(pszOut, TIMESTAMP_MIN_CHARS, u"%s", szDate);
  } else {
    StringCchPrintfW(pszOut, TIMESTAMP_MIN_CHARS, u"%s-%s", szDate, szTime);
  }
}
