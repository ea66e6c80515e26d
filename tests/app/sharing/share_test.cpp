// The e-mail and SMS buttons as the user meets them: the compose form opens filled from the
// position and the Settings record, "Send" puts the message in the outbox as it stands, no
// e-mail account gives only the notice, and a slide from one button to the next runs the one
// lifted over.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <pda.h>
#include <pda/testing/dialogs.h>
#include <pda/testing/messaging.h>
#include <pda/testing/shell.h>
#include <pda/testing/user.h>

#include "app_session.h"
#include "settings/settings_record.h"
#include "sharing/send_location.h"

namespace zaz::testing {
namespace {

using pda::testing::TestMessageStore;

constexpr char16_t kEmailBody[] =
    u"Zazorudu!  (Rel. 1.00)\r\nMy GPS Location:\r\n47.6062095,-122.3320708\r\n\r\n"
    u"Google maps:\r\nhttp://maps.google.com/maps?f=q&t=m&q=47.6062095,-122.3320708\r\n";
constexpr char16_t kSmsBody[] =
    u"Zazorudu!  (Rel. 1.00)\r\nMy GPS Location:\r\n47.6062095,-122.3320708\r\n\r\n"
    u"Usage:\r\n1. goto maps.google.com\r\n2. Input GPS Location\r\n"
    u"3. Click on 'Search Maps' button";

class ShareTest : public AppTest {
 protected:
  void TearDown() override {
    pda::testing::UseConfiguredMessaging();
    AppTest::TearDown();
  }
  void StartWith(std::vector<TestMessageStore> stores) {
    pda::testing::UseScriptedMessaging({.stores = std::move(stores)});
    Start(kPortraitNormal);
    ScriptFix();
    client_ = Client();
  }
  void SetDefaults(const char16_t* address, const char16_t* account, const char16_t* number) {
    OnUi(app(), [&] {
      StringCchCopyW(g_Settings.wszDefaultEmailAddr, SETTINGS_EMAIL_ADDR_CHARS, address);
      StringCchCopyW(g_Settings.DefaultEmailAccount, SETTINGS_EMAIL_ACCOUNT_CHARS, account);
      StringCchCopyW(g_Settings.DefaultSMSphoneNumber, SETTINGS_SMS_NUMBER_CHARS, number);
    });
  }
  int ButtonX(int k) const { return client_.left + k * 60 + 30; }
  int StripY() const { return client_.bottom() - 19; }
  void TapButton(int k) {
    app().Tap(ButtonX(k), StripY());
    ASSERT_TRUE(app().WaitIdle());
  }
  // The right soft key of the bar at the bottom of the screen ("Send" on the compose form).
  void TapRightSoftKey() {
    const int height = pda::testing::BarHeight();
    app().Tap(240 - 30, 320 - height / 2);
    ASSERT_TRUE(app().WaitIdle());
  }
  std::vector<std::string> OutboxFiles() {
    std::vector<std::string> names;
    if (!std::filesystem::exists(root_.Host("Outbox"))) return names;
    for (const auto& entry : std::filesystem::directory_iterator(root_.Host("Outbox")))
      names.push_back(entry.path().filename().string());
    return names;
  }

  ClientArea client_{};
};

struct ComposeCase {
  const char* name;
  int button;  // 0 e-mail, 1 SMS
  const char16_t* address;
  const char16_t* account;
  const char16_t* number;
  pda::testing::ComposeFormInfo form;  // window not compared
  std::string outboxSuffix;
  std::vector<std::string> outboxHas;  // lines the file holds
};

void PrintTo(const ComposeCase& c, std::ostream* os) { *os << c.name; }

class ComposeTest : public ShareTest, public ::testing::WithParamInterface<ComposeCase> {};

TEST_P(ComposeTest, TheFormIsFilledAndSendPutsTheMessageInTheOutbox) {
  const ComposeCase& c = GetParam();
  StartWith({{u"Work"}, {u"SMS"}});
  SetDefaults(c.address, c.account, c.number);
  TapButton(c.button);

  const auto form = pda::testing::OpenComposeForm();
  ASSERT_TRUE(form.has_value()) << "no compose form";
  EXPECT_EQ(form->email, c.form.email);
  EXPECT_EQ(form->to, c.form.to);
  EXPECT_EQ(form->subject, c.form.subject);
  EXPECT_EQ(form->account, c.form.account);
  EXPECT_EQ(form->body, c.form.body);
  if (c.outboxSuffix.empty()) return;  // nothing to send to

  TapRightSoftKey();
  EXPECT_FALSE(pda::testing::OpenComposeForm().has_value()) << "the form stayed open";
  const auto files = OutboxFiles();
  ASSERT_EQ(files.size(), 1u);
  EXPECT_TRUE(files[0].ends_with(c.outboxSuffix)) << files[0];
  const std::string bytes = root_.Read("Outbox/" + files[0]);
  for (const std::string& line : c.outboxHas)
    EXPECT_NE(bytes.find(line), std::string::npos) << "no \"" << line << "\" in:\n" << bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, ComposeTest,
    ::testing::Values(
        ComposeCase{"EmailFromWork", 0, u"ann@example.org", u"Work", u"+15551234",
                    {{}, true, u"ann@example.org", u"Zazorudu!", u"Work", kEmailBody},
                    ".eml",
                    {"\r\nTo: ann@example.org\r\n", "\r\nSubject: Zazorudu!\r\n",
                     "\r\nX-Account: Work\r\n",
                     "http://maps.google.com/maps?f=3Dq&t=3Dm&q=3D47.6062095,-122.3320708"}},
        // The SMS file is the number and the body exactly, with no line break at the end.
        ComposeCase{"Sms", 1, u"ann@example.org", u"Work", u"+15551234",
                    {{}, false, u"+15551234", u"", u"SMS", kSmsBody},
                    ".sms",
                    {"To: +15551234\r\n\r\nZazorudu!  (Rel. 1.00)\r\nMy GPS Location:\r\n"
                     "47.6062095,-122.3320708\r\n\r\nUsage:\r\n1. goto maps.google.com\r\n"
                     "2. Input GPS Location\r\n3. Click on 'Search Maps' button"}},
        // Empty defaults are handed on as empty fields, never left out.
        ComposeCase{"EmailWithEmptyDefaults", 0, u"", u"", u"",
                    {{}, true, u"", u"Zazorudu!", u"", kEmailBody}, "", {}},
        ComposeCase{"SmsWithEmptyNumber", 1, u"", u"", u"",
                    {{}, false, u"", u"", u"SMS", kSmsBody}, "", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ShareTest, WithoutEmailAccountsOnlyTheNoticeShowsAndSmsStillComposes) {
  StartWith({});
  app().Press(ButtonX(0), StripY());
  ASSERT_TRUE(app().WaitIdle());
  // The box is modal: the release runs the action, which waits in the box.
  app().Release(ButtonX(0), StripY());
  ASSERT_TRUE(app().WaitIdle());
  const auto box = pda::testing::OpenMessageBox();
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text, NO_ACCOUNTS_TEXT);
  EXPECT_EQ(box->caption, u"No email accounts found");
  EXPECT_EQ(box->type, 0x10010u);
  EXPECT_FALSE(pda::testing::OpenComposeForm().has_value());
  app().Key(VK_RETURN);
  ASSERT_TRUE(app().WaitIdle());
  EXPECT_FALSE(pda::testing::OpenMessageBox().has_value());
  EXPECT_FALSE(pda::testing::OpenComposeForm().has_value());

  TapButton(1);
  const auto form = pda::testing::OpenComposeForm();
  ASSERT_TRUE(form.has_value());
  EXPECT_EQ(form->body, kSmsBody);
}

TEST_F(ShareTest, PressOnEmailSlideToSmsAndLiftComposesTheSms) {
  StartWith({{u"Work"}});
  app().Press(ButtonX(0), StripY());
  app().MoveTo(ButtonX(1), StripY());
  app().Release(ButtonX(1), StripY());
  ASSERT_TRUE(app().WaitIdle());
  const auto form = pda::testing::OpenComposeForm();
  ASSERT_TRUE(form.has_value());
  EXPECT_FALSE(form->email);
}

}  // namespace
}  // namespace zaz::testing
