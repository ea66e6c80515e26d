// The texts of the e-mail and SMS that share the position, and the compose-fields records the
// compose form is handed. The touch buttons' actions take a copy of the position under the
// Position lock, build the texts into their own zeroed buffers and fill the record from the
// live Settings record; the record points into those buffers and into the Settings record.
#pragma once

#include <pda.h>

#include "settings/settings_record.h"

constexpr int HEADING_CHARS = 64;
constexpr int EMAIL_BODY_CHARS = 2048;
constexpr int SMS_USAGE_CHARS = 160;
constexpr int SMS_BODY_CHARS = 256;

inline constexpr WCHAR HEADING_FORMAT[] = u"Zazorudu!  (Rel. %s)";
inline constexpr WCHAR EMAIL_BODY_FORMAT[] =
    u"%s\r\nMy GPS Location:\r\n%s\r\n\r\nGoogle maps:\r\n%s\r\n";
inline constexpr WCHAR SMS_USAGE_FORMAT[] =
    u"Usage:\r\n1. goto %s\r\n2. Input GPS Location\r\n3. Click on 'Search Maps' button";
inline constexpr WCHAR SMS_BODY_FORMAT[] = u"%s\r\nMy GPS Location:\r\n%s\r\n\r\n%s";
inline constexpr WCHAR EMAIL_SUBJECT[] = u"Zazorudu!";
inline constexpr WCHAR EMAIL_MESSAGE_CLASS[] = u"IPM.Note";
inline constexpr WCHAR SMS_MESSAGE_CLASS[] = u"IPM.SMStext";
inline constexpr WCHAR SMS_ACCOUNT[] = u"SMS";

struct EmailTexts {
  WCHAR heading[HEADING_CHARS];
  WCHAR coordinates[128];
  WCHAR mapLink[1024];
  WCHAR body[EMAIL_BODY_CHARS];
};

struct SmsTexts {
  WCHAR heading[HEADING_CHARS];
  WCHAR coordinates[128];
  WCHAR usage[SMS_USAGE_CHARS];
  WCHAR body[SMS_BODY_CHARS];
};

// Zeroes the buffers, then formats the heading, the Coordinate text, the map link and the body.
void BuildEmailTexts(const GPS_POSITION& position, EmailTexts* pTexts);
// Zeroes the buffers, then formats the heading, the Coordinate text, the usage text and the body.
void BuildSmsTexts(const GPS_POSITION& position, SmsTexts* pTexts);

// Zeroes the record and fills it for e-mail: size 44, flags 1, the address and account of the
// Settings record (also when empty), the subject, the body and the class "IPM.Note".
void FillEmailComposeFields(MAILCOMPOSEFIELDS* pFields, const EmailTexts& texts,
                            const SettingsRecord& settings);
// The same for SMS: the Settings record's number, no subject, account "SMS", "IPM.SMStext".
void FillSmsComposeFields(MAILCOMPOSEFIELDS* pFields, const SmsTexts& texts,
                          const SettingsRecord& settings);
