#include "sharing/send_location.h"

#include <cstring>

#include "position/position_lock.h"
#include "position/snapshot_listener.h"
#include "settings/settings_record.h"
#include "sharing/location_message.h"
#include "shell/globals.h"

namespace {

GPS_POSITION CopyPosition() {
  GPS_POSITION position;
  EnterCriticalSection(&g_csPosition);
  position = g_pSnapshotListener->snapshot.gpsPosition;
  LeaveCriticalSection(&g_csPosition);
  return position;
}

}  // namespace

int SendLocationEmail() {
  MAILCOMPOSEFIELDS fields;
  std::memset(&fields, 0, sizeof fields);
  if (g_AccountList.count <= 0) {
    MessageBoxW(g_hWndMain, NO_ACCOUNTS_TEXT, NO_ACCOUNTS_CAPTION, NO_ACCOUNTS_BOX_FLAGS);
    return g_AccountList.count;
  }
  EmailTexts texts;
  BuildEmailTexts(CopyPosition(), &texts);
  FillEmailComposeFields(&fields, texts, g_Settings);
  MailComposeMessage(&fields);
  return g_AccountList.count;
}

void SendLocationSms() {
  SmsTexts texts;
  BuildSmsTexts(CopyPosition(), &texts);
  MAILCOMPOSEFIELDS fields;
  FillSmsComposeFields(&fields, texts, g_Settings);
  MailComposeMessage(&fields);
}
