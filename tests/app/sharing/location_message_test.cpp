// The e-mail and SMS texts byte for byte, and the compose-fields records filled from the
// Settings record.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "settings/settings_record.h"
#include "sharing/location_message.h"

namespace {

GPS_POSITION Seattle() {
  GPS_POSITION position = {};
  position.dblLatitude = 47.6062095;
  position.dblLongitude = -122.3320708;
  return position;
}

std::u16string Text(LPCWSTR text) { return text ? std::u16string(text) : u"<none>"; }

TEST(LocationMessageTest, EmailBodyIsTheHeadingPositionAndMapLinkInCrLfLines) {
  EmailTexts texts;
  BuildEmailTexts(Seattle(), &texts);
  EXPECT_EQ(Text(texts.body),
            u"Zazorudu!  (Rel. 1.00)\r\n"
            u"My GPS Location:\r\n"
            u"47.6062095,-122.3320708\r\n"
            u"\r\n"
            u"Google maps:\r\n"
            u"http://maps.google.com/maps?f=q&t=m&q=47.6062095,-122.3320708\r\n");
}

TEST(LocationMessageTest, SmsBodyEndsWithTheUsageTextAndNoLineBreak) {
  SmsTexts texts;
  BuildSmsTexts(Seattle(), &texts);
  EXPECT_EQ(Text(texts.body),
            u"Zazorudu!  (Rel. 1.00)\r\n"
            u"My GPS Location:\r\n"
            u"47.6062095,-122.3320708\r\n"
            u"\r\n"
            u"Usage:\r\n"
            u"1. goto maps.google.com\r\n"
            u"2. Input GPS Location\r\n"
            u"3. Click on 'Search Maps' button");
}

struct FieldsCase {
  const char* name;
  const char16_t* address;
  const char16_t* account;
  const char16_t* number;
};

class ComposeFieldsTest : public ::testing::TestWithParam<FieldsCase> {};

TEST_P(ComposeFieldsTest, RecordsCarryTheSettingsEvenWhenEmpty) {
  SettingsRecord settings;
  settings.Clear();
  std::u16string(GetParam().address).copy(settings.wszDefaultEmailAddr, 255);
  std::u16string(GetParam().account).copy(settings.DefaultEmailAccount, 127);
  std::u16string(GetParam().number).copy(settings.DefaultSMSphoneNumber, 31);

  EmailTexts emailTexts;
  BuildEmailTexts(Seattle(), &emailTexts);
  MAILCOMPOSEFIELDS email;
  std::memset(&email, 0xCD, sizeof email);  // every field must be set, not left as found
  FillEmailComposeFields(&email, emailTexts, settings);
  EXPECT_EQ(email.cbSize, 44u);
  EXPECT_EQ(email.dwFlags, 1u);
  EXPECT_EQ(email.pszTo, settings.wszDefaultEmailAddr) << "points at the live field";
  EXPECT_EQ(Text(email.pszTo), GetParam().address);
  EXPECT_EQ(email.pszCc, nullptr);
  EXPECT_EQ(email.pszBcc, nullptr);
  EXPECT_EQ(Text(email.pszSubject), u"Zazorudu!");
  EXPECT_EQ(email.pszBody, emailTexts.body);
  EXPECT_EQ(email.pszAttachments, nullptr);
  EXPECT_EQ(email.cAttachments, 0u);
  EXPECT_EQ(email.pszAccount, settings.DefaultEmailAccount);
  EXPECT_EQ(Text(email.pszMsgClass), u"IPM.Note");

  SmsTexts smsTexts;
  BuildSmsTexts(Seattle(), &smsTexts);
  MAILCOMPOSEFIELDS sms;
  std::memset(&sms, 0xCD, sizeof sms);
  FillSmsComposeFields(&sms, smsTexts, settings);
  EXPECT_EQ(sms.cbSize, 44u);
  EXPECT_EQ(sms.dwFlags, 1u);
  EXPECT_EQ(sms.pszTo, settings.DefaultSMSphoneNumber);
  EXPECT_EQ(Text(sms.pszTo), GetParam().number);
  EXPECT_EQ(sms.pszSubject, nullptr) << "an SMS has no subject";
  EXPECT_EQ(sms.pszBody, smsTexts.body);
  EXPECT_EQ(Text(sms.pszAccount), u"SMS");
  EXPECT_EQ(Text(sms.pszMsgClass), u"IPM.SMStext");
  EXPECT_EQ(sms.pszAttachments, nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, ComposeFieldsTest,
    ::testing::Values(FieldsCase{"Filled", u"someone@example.com", u"Work", u"+15551234"},
                      FieldsCase{"Empty", u"", u"", u""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
