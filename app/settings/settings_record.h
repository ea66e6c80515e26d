// The Settings record: the user's three messaging defaults, in fixed wide fields named as the
// keys under which the Settings file stores them. One live instance, g_Settings.
#pragma once

#include <pda.h>

constexpr int SETTINGS_EMAIL_ADDR_CHARS = 256;
constexpr int SETTINGS_EMAIL_ACCOUNT_CHARS = 128;
constexpr int SETTINGS_SMS_NUMBER_CHARS = 32;

struct SettingsRecord {
  WCHAR wszDefaultEmailAddr[SETTINGS_EMAIL_ADDR_CHARS];
  WCHAR DefaultEmailAccount[SETTINGS_EMAIL_ACCOUNT_CHARS];
  WCHAR DefaultSMSphoneNumber[SETTINGS_SMS_NUMBER_CHARS];

  // Zeroes the whole of every field.
  void Clear();
  // Copies every field as a string from the same field of another record.
  void CopyFrom(const SettingsRecord& other);
};

// The live record: empty at program start.
extern SettingsRecord g_Settings;
