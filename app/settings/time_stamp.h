// Date and time stamps: the local date and time as compact wide text in which every number
// carries a unit letter, e.g. "09d-01m-2009y-t2041_24s".
#pragma once

#include <pda.h>

// Date order codes.
constexpr int TIMESTAMP_DAY_MONTH_YEAR = 1;  // "%02dd-%02dm-%dy"
constexpr int TIMESTAMP_MONTH_DAY_YEAR = 2;  // "%02dm-%02dd-%dy"
constexpr int TIMESTAMP_YEAR_MONTH_DAY = 3;  // "%dy-%02dm-%02dd"
constexpr int TIMESTAMP_NO_DATE = 4;
// Time form codes.
constexpr int TIMESTAMP_HOUR_MINUTE = 5;         // "t%02d%02d"
constexpr int TIMESTAMP_HOUR_MINUTE_SECOND = 6;  // "t%02d%02d_%02ds"
constexpr int TIMESTAMP_NO_TIME = 7;

constexpr int TIMESTAMP_MIN_CHARS = 64;

// Writes the stamp of the current local time into pszOut (at least TIMESTAMP_MIN_CHARS
// characters). Codes outside their ranges count as "no date" and "no time".
void MakeTimeStamp(int nDateOrder, int nTimeForm, LPWSTR pszOut);
