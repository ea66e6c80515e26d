// The sending half of the compose form: the record's size mark, the outbox files byte for byte
// (and never over another message), and the hand-off to stand-in desktop helpers that record
// the arguments they were given.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "device_root.h"
#include "messaging/compose_send.h"
#include "pda/testing/kernel.h"

namespace {

using pda::messaging::ComposedMessage;
namespace fs = std::filesystem;

// 9 January 2009, 20:41:24 UTC.
std::chrono::system_clock::time_point SendInstant() {
  std::tm tm = {};
  tm.tm_year = 2009 - 1900;
  tm.tm_mday = 9;
  tm.tm_hour = 20;
  tm.tm_min = 41;
  tm.tm_sec = 24;
  return std::chrono::system_clock::from_time_t(timegm(&tm));
}

const ComposedMessage kEmail = {
    ComposedMessage::Kind::Email, u"Zoë Example <zoe@example.com>; bob@example.org",
    u"Zazorudu!",
    u"Zazorudu!  (Rel. 1.00)\r\nMy \"GPS\" Location: Zürich\r\n\r\n"
    u"http://maps.google.com/maps?f=q&t=m&q=47.6062095,-122.3320708\r\n",
    u"Wörk"};
const ComposedMessage kSms = {ComposedMessage::Kind::Sms, u"+15551234", u"",
                              u"Zazorudu!  (Rel. 1.00)\r\nA & \"B\" é", u"SMS"};

std::vector<std::string> FilesIn(const fs::path& folder) {
  std::vector<std::string> names;
  if (!fs::exists(folder)) return names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(ComposeFieldsTest, OnlyThePublishedSizeMarkIsAccepted) {
  MAILCOMPOSEFIELDS fields = {};
  fields.pszTo = u"+15551234";
  fields.pszMsgClass = u"IPM.SMStext";
  for (DWORD size : {0u, 40u, static_cast<DWORD>(sizeof fields)}) {
    fields.cbSize = size;
    EXPECT_FALSE(pda::messaging::ComposedMessageFromFields(&fields)) << size;
  }
  EXPECT_FALSE(pda::messaging::ComposedMessageFromFields(nullptr));
  fields.cbSize = 44;
  const auto message = pda::messaging::ComposedMessageFromFields(&fields);
  ASSERT_TRUE(message);
  EXPECT_EQ(message->kind, ComposedMessage::Kind::Sms);
  EXPECT_EQ(message->to, u"+15551234");
  EXPECT_EQ(message->subject, u"") << "a null field reads as empty";
}

class OutboxTest : public zaz::testing::DeviceRootTest {
 protected:
  void SetUp() override { pda::SetWallClockForTesting(SendInstant()); }
  void TearDown() override { pda::SetWallClockForTesting(std::nullopt); }
};

TEST_F(OutboxTest, EmailIsWrittenAsRfc5322WithAQuotedPrintableUtf8Body) {
  std::u16string path;
  ASSERT_EQ(pda::messaging::WriteToOutbox(kEmail, &path), S_OK);
  EXPECT_EQ(path, u"\\Outbox\\20090109T204124000Z-00.eml");
  EXPECT_EQ(root_.Read("Outbox/20090109T204124000Z-00.eml"),
            "Date: Fri, 09 Jan 2009 20:41:24 +0000\r\n"
            // "Zoë" as an RFC 2047 word in the smallest charset that holds it.
            "To: =?iso-8859-1?b?Wm/r?= Example <zoe@example.com>, bob@example.org\r\n"
            "Subject: Zazorudu!\r\n"
            "X-Account: =?UTF-8?B?V8O2cms=?=\r\n"
            "MIME-Version: 1.0\r\n"
            "Content-Type: text/plain; charset=utf-8\r\n"
            "Content-Transfer-Encoding: quoted-printable\r\n"
            "\r\n"
            "Zazorudu!  (Rel. 1.00)\r\n"
            "My \"GPS\" Location: Z=C3=BCrich\r\n"
            "\r\n"
            "http://maps.google.com/maps?f=3Dq&t=3Dm&q=3D47.6062095,-122.3320708\r\n");
  EXPECT_EQ(FilesIn(root_.Host("Outbox")), std::vector<std::string>{"20090109T204124000Z-00.eml"})
      << "no temporary file stays";
}

TEST_F(OutboxTest, SmsIsAToLineAnEmptyLineAndTheBodyAsItIs) {
  ASSERT_EQ(pda::messaging::WriteToOutbox(kSms), S_OK);
  EXPECT_EQ(root_.Read("Outbox/20090109T204124000Z-00.sms"),
            "To: +15551234\r\n\r\nZazorudu!  (Rel. 1.00)\r\nA & \"B\" \xC3\xA9");
}

TEST_F(OutboxTest, AMessageNeverReplacesAnother) {
  root_.Write("Outbox/20090109T204124000Z-00.eml", "sent earlier");
  std::u16string path;
  ASSERT_EQ(pda::messaging::WriteToOutbox(kEmail, &path), S_OK);
  EXPECT_EQ(path, u"\\Outbox\\20090109T204124000Z-01.eml");
  EXPECT_EQ(root_.Read("Outbox/20090109T204124000Z-00.eml"), "sent earlier");
  EXPECT_EQ(FilesIn(root_.Host("Outbox")),
            (std::vector<std::string>{"20090109T204124000Z-00.eml", "20090109T204124000Z-01.eml"}));
}

TEST_F(OutboxTest, RecipientsThatAreNoAddressesWriteNothing) {
  ComposedMessage message = kEmail;
  message.to = u"<<<";
  EXPECT_EQ(pda::messaging::WriteToOutbox(message), E_INVALIDARG);
  EXPECT_EQ(FilesIn(root_.Host("Outbox")), std::vector<std::string>{});
}

// ---- the desktop ---------------------------------------------------------------------------

// What `send` returns, or the helper's answer when it started one (a minute at most: no answer
// is kNoAnswer).
constexpr HRESULT kNoAnswer = E_FAIL - 1;
HRESULT Answer(const std::function<HRESULT(pda::messaging::HelperAnswer)>& send) {
  auto answer = std::make_shared<std::promise<HRESULT>>();
  std::future<HRESULT> answered = answer->get_future();
  const HRESULT started = send([answer](HRESULT result) { answer->set_value(result); });
  if (started != S_FALSE) return started;
  return answered.wait_for(std::chrono::minutes(1)) == std::future_status::ready ? answered.get()
                                                                                 : kNoAnswer;
}
HRESULT HandOff(const ComposedMessage& message) {
  return Answer([&](auto answered) { return pda::messaging::HandToDesktop(message, answered); });
}
HRESULT Send(const ComposedMessage& message) {
  return Answer(
      [&](auto answered) { return pda::messaging::SendComposedMessage(message, nullptr, answered); });
}

// A folder of stand-in helpers, alone on PATH, each writing its arguments (NUL after each) to
// <folder>/<its name>.args.
class DesktopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zaz-desktop-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    bin_ = pattern;
    for (const char* helper : {"xdg-email", "xdg-open"}) {
      const fs::path script = bin_ / helper;
      std::ofstream(script) << "#!/bin/sh\n: > \"$0.args\"\n"
                               "for a in \"$@\"; do printf '%s\\0' \"$a\" >> \"$0.args\"; done\n";
      fs::permissions(script, fs::perms::owner_all);
    }
    if (const char* path = std::getenv("PATH")) savedPath_ = path;
    setenv("PATH", bin_.c_str(), 1);
  }
  void TearDown() override {
    setenv("PATH", savedPath_.c_str(), 1);
    fs::remove_all(bin_);
  }
  std::vector<std::string> ArgumentsOf(const char* helper) {
    std::ifstream in(bin_ / (std::string(helper) + ".args"), std::ios::binary);
    std::vector<std::string> arguments;
    std::string a;
    while (std::getline(in, a, '\0')) arguments.push_back(a);
    return arguments;
  }
  fs::path bin_;
  std::string savedPath_;
};

TEST_F(DesktopTest, EmailReachesXdgEmailWithEveryCharacterIntact) {
  ComposedMessage message = kEmail;
  message.to = u" zoe@example.com ; bob@example.org";
  ASSERT_EQ(HandOff(message), S_OK);
  EXPECT_EQ(ArgumentsOf("xdg-email"),
            (std::vector<std::string>{
                "--utf8", "--subject", "Zazorudu!", "--body",
                "Zazorudu!  (Rel. 1.00)\r\nMy \"GPS\" Location: Z\xC3\xBCrich\r\n\r\n"
                "http://maps.google.com/maps?f=q&t=m&q=47.6062095,-122.3320708\r\n",
                "zoe@example.com", "bob@example.org"}));
}

TEST_F(DesktopTest, SmsReachesXdgOpenAsAPercentEncodedSmsAddress) {
  ASSERT_EQ(HandOff(kSms), S_OK);
  EXPECT_EQ(ArgumentsOf("xdg-open"),
            std::vector<std::string>{"sms:+15551234?body=Zazorudu%21%20%20%28Rel.%201.00%29"
                                     "%0D%0AA%20%26%20%22B%22%20%C3%A9"});
}

TEST_F(DesktopTest, AMissingHelperOrAnAddressLikeAnOptionIsAnError) {
  fs::remove(bin_ / "xdg-email");
  EXPECT_EQ(HandOff(kEmail), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  fs::remove(bin_ / "xdg-open");
  EXPECT_EQ(HandOff(kSms), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));

  std::ofstream(bin_ / "xdg-email") << "#!/bin/sh\ntouch \"$0.ran\"\n";
  fs::permissions(bin_ / "xdg-email", fs::perms::owner_all);
  ComposedMessage message = kEmail;
  message.to = u"--attach=/etc/passwd";
  EXPECT_EQ(HandOff(message), E_INVALIDARG);
  EXPECT_FALSE(fs::exists(bin_ / "xdg-email.ran"));
}

// A helper that fails is an error; one that is still running two seconds on (the mail program
// itself) has the message: the answer does not wait for its end.
TEST_F(DesktopTest, TheAnswerIsTheHelpersEndOrItsStillRunning) {
  const fs::path hold = bin_ / "hold";  // the last helper runs while this is there
  struct Case {
    const char* script;
    HRESULT answer;
  } const cases[] = {
      {"exit 3", E_FAIL},
      {"kill -TERM $$", E_FAIL},
      {"while [ -e \"${0%/*}/hold\" ]; do /bin/sleep 0.05; done", S_OK},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    std::ofstream{hold};
    std::ofstream(bin_ / "xdg-open") << "#!/bin/sh\n" << c.script << "\n";
    EXPECT_EQ(HandOff(kSms), c.answer);
    fs::remove(hold);
  }
}

TEST_F(DesktopTest, ComposeModeChoosesTheDesktopOrTheOutbox) {
  zaz::testing::DeviceRoot root;
  setenv("PDA_COMPOSE", "desktop", 1);
  EXPECT_EQ(Send(kSms), S_OK);
  EXPECT_FALSE(ArgumentsOf("xdg-open").empty());
  setenv("PDA_COMPOSE", "outbox", 1);
  EXPECT_EQ(Send(kSms), S_OK);
  EXPECT_EQ(FilesIn(root.Host("Outbox")).size(), 1u);
  setenv("PDA_COMPOSE", "fax", 1);
  EXPECT_EQ(Send(kSms), E_INVALIDARG);
  unsetenv("PDA_COMPOSE");
}

}  // namespace
