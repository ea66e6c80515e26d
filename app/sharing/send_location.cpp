#include "sharing/send_location.h"

#include <cstring>

#include "position/snapshot_listener.h"
#include "settings/settings_record.h"
#include "sharing/location_message.h"
#include "shell/globals.h"

int SendLocationEmail() {
  MAILCOMPOSEFIELDS fields;
  std::memset(&fields, 0, sizeof fields);
  if (g_AccountList.count <= 0) {
    MessageBoxW(g_hWndMain, NO_ACCOUNTS_TEXT, NO_ACCOUNTS_CAPTION, NO_ACCOUNTS_BOX_FLAGS);
    return g_AccountList.count;
  }
  EmailTexts texts;
  BuildEmailTexts(CopySnapshotPosition(), &texts);
  FillEmailComposeFields(&fields, texts, g_Settings);
  MailComposeMessage(&fields);
  return g_AccountList.count;
}

void SendLocationSms() {
  SmsTexts texts;
  BuildSmsTexts(CopySnapshotPosition(), &texts);
  MAILCOMPOSEFIELDS fields;
  FillSmsComposeFields(&fields, texts, g_Settings);
  MailComposeMessage(&fields);
}
