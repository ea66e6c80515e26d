// The e-mail and SMS texts and their compose-fields records (see location_message.h).
#include "sharing/location_message.h"

#include <cstring>

#include "position/coordinate_text.h"
#include "settings/version.h"

namespace {

void FormatHeading(LPWSTR pszHeading) {
  StringCchPrintfW(pszHeading, HEADING_CHARS, HEADING_FORMAT, VERSION_RELEASE);
}

}  // namespace

void BuildEmailTexts(const GPS_POSITION& position, EmailTexts* pTexts) {
  std::memset(pTexts, 0, sizeof *pTexts);
  FormatHeading(pTexts->heading);
  FormatCoordinateText(position.dblLatitude, position.dblLongitude, pTexts->coordinates);
  FormatMapLink(position.dblLatitude, position.dblLongitude, pTexts->mapLink);
  StringCchPrintfW(pTexts->body, EMAIL_BODY_CHARS, EMAIL_BODY_FORMAT, pTexts->heading,
                   pTexts->coordinates, pTexts->mapLink);
}

void BuildSmsTexts(const GPS_POSITION& position, SmsTexts* pTexts) {
  std::memset(pTexts, 0, sizeof *pTexts);
  FormatHeading(pTexts->heading);
  FormatCoordinateText(position.dblLatitude, position.dblLongitude, pTexts->coordinates);
  StringCchPrintfW(pTexts->usage, SMS_USAGE_CHARS, SMS_USAGE_FORMAT, MAP_SITE_HOST);
  StringCchPrintfW(pTexts->body, SMS_BODY_CHARS, SMS_BODY_FORMAT, pTexts->heading,
                   pTexts->coordinates, pTexts->usage);
}

void FillEmailComposeFields(MAILCOMPOSEFIELDS* pFields, const EmailTexts& texts,
                            const SettingsRecord& settings) {
  std::memset(pFields, 0, sizeof *pFields);
  pFields->cbSize = MAILCOMPOSEFIELDS_PUBLISHED_SIZE;
  pFields->pszMsgClass = EMAIL_MESSAGE_CLASS;
  pFields->pszTo = settings.wszDefaultEmailAddr;
  pFields->dwFlags = MCF_ACCOUNT_IS_NAME;
  pFields->pszSubject = EMAIL_SUBJECT;
  pFields->pszBody = texts.body;
  pFields->pszAccount = settings.DefaultEmailAccount;
}

void FillSmsComposeFields(MAILCOMPOSEFIELDS* pFields, const SmsTexts& texts,
                          const SettingsRecord& settings) {
  std::memset(pFields, 0, sizeof *pFields);
  pFields->cbSize = MAILCOMPOSEFIELDS_PUBLISHED_SIZE;
  pFields->pszMsgClass = SMS_MESSAGE_CLASS;
  pFields->pszTo = settings.DefaultSMSphoneNumber;
  pFields->dwFlags = MCF_ACCOUNT_IS_NAME;
  pFields->pszAccount = SMS_ACCOUNT;
  pFields->pszBody = texts.body;
}
