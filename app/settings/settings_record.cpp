// The Settings record and the live instance.
#include "settings/settings_record.h"

#include "utils/text_convert.h"

SettingsRecord g_Settings = {};

void SettingsRecord::Clear() {
  for (WCHAR& ch : wszDefaultEmailAddr) ch = 0;
  for (WCHAR& ch : DefaultEmailAccount) ch = 0;
  for (WCHAR& ch : DefaultSMSphoneNumber) ch = 0;
}

void SettingsRecord::CopyFrom(const SettingsRecord& other) {
  CopyWideCut(wszDefaultEmailAddr, SETTINGS_EMAIL_ADDR_CHARS, other.wszDefaultEmailAddr);
  CopyWideCut(DefaultEmailAccount, SETTINGS_EMAIL_ACCOUNT_CHARS, other.DefaultEmailAccount);
  CopyWideCut(DefaultSMSphoneNumber, SETTINGS_SMS_NUMBER_CHARS, other.DefaultSMSphoneNumber);
}
