// The compose form as a user meets it, on the headless screen through the test harness: what
// MailComposeMessage accepts and what the form then shows, "Send" through the soft key (the
// fields as edited, by the input panel or by keys), "Cancel" and Escape, a desktop helper that is
// missing or fails, and where the fields go on each screen and above the input panel.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "device_root.h"
#include "display/display.h"
#include "pda/dialogs.h"
#include "pda/messaging.h"
#include "pda/shell.h"
#include "pda/testing/dialogs.h"
#include "pda/testing/harness.h"
#include "pda/testing/messaging.h"
#include "pda/testing/shell.h"
#include "pda/testing/user.h"
#include "shell/bar_layout.h"
#include "shell/keyboard_layout.h"
#include "shell/menu_bar.h"
#include "shell/shell_metrics.h"

namespace {

namespace fs = std::filesystem;
using pda::testing::ComposeFormInfo;
using pda::testing::Harness;

constexpr char16_t kAppClass[] = u"ComposeFormTestApp";

// The application the forms open over: one window at the default place, and a message loop
// that translates keys. On its way out it closes what the test left open.
int WINAPI AppMain(HINSTANCE instance, HINSTANCE, LPWSTR, int show) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = instance;
  wc.lpszClassName = kAppClass;
  RegisterClassW(&wc);
  const HWND main = CreateWindowExW(0, kAppClass, u"Application", 0, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, HWND{}, HANDLE{},
                                    instance, nullptr);
  if (!main) return -1;
  ShowWindow(main, show);
  SetForegroundWindow(main);
  MSG msg;
  while (GetMessageW(&msg, HWND{}, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  for (int left = 16; left > 0; --left) {
    const auto form = pda::testing::OpenComposeForm();
    if (!form) break;
    DestroyWindow(form->window);
  }
  DestroyWindow(main);
  pda::testing::ResetShell();
  return 0;
}

MAILCOMPOSEFIELDS Email(LPCWSTR to, LPCWSTR subject, LPCWSTR body, LPCWSTR account) {
  MAILCOMPOSEFIELDS f{};
  f.cbSize = MAILCOMPOSEFIELDS_PUBLISHED_SIZE;
  f.dwFlags = MCF_ACCOUNT_IS_NAME;
  f.pszTo = to;
  f.pszSubject = subject;
  f.pszBody = body;
  f.pszAccount = account;
  f.pszMsgClass = u"IPM.Note";
  return f;
}

MAILCOMPOSEFIELDS Sms(LPCWSTR to, LPCWSTR body) {
  MAILCOMPOSEFIELDS f = Email(to, nullptr, body, u"SMS");
  f.pszMsgClass = u"IPM.SMStext";
  return f;
}

RECT ScreenRect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}
RECT Moved(RECT r, POINT by) { return {r.left + by.x, r.top + by.y, r.right + by.x, r.bottom + by.y}; }
POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}
bool Overlap(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

class ComposeFormTest : public zaz::testing::DeviceRootTest {
 protected:
  void SetUp() override {
    setenv("PDA_COMPOSE", "outbox", 1);
    pda::testing::ChangeScreen(240, 320, 96);
    app_ = std::make_unique<Harness>(AppMain);
    ASSERT_TRUE(app_->WaitIdle());
  }
  void TearDown() override {
    app_.reset();
    unsetenv("PDA_COMPOSE");
  }

  // Runs the task on the application's thread, as its own code would, and waits for it.
  template <class F>
  auto OnUi(F task) -> decltype(task()) {
    using R = decltype(task());
    auto done = std::make_shared<std::promise<R>>();
    std::future<R> result = done->get_future();
    EXPECT_TRUE(pda::testing::CallOnThread(app_->UiThreadId(), [task, done] {
      if constexpr (std::is_void_v<R>) {
        task();
        done->set_value();
      } else {
        done->set_value(task());
      }
    }));
    EXPECT_EQ(result.wait_for(Harness::kWatchdog), std::future_status::ready);
    EXPECT_TRUE(app_->WaitIdle());
    return result.get();
  }

  HRESULT Compose(MAILCOMPOSEFIELDS* fields) {
    return OnUi([fields] { return MailComposeMessage(fields); });
  }

  // The soft-key bar the form owns.
  static HWND BarOf(HWND form) {
    for (const auto& top : pda::testing::TopLevelWindows())
      if (top.className == pda::shell::kMenuBarClass && GetWindow(top.window, GW_OWNER) == form)
        return top.window;
    return HWND{};
  }
  void Tap(POINT at) {
    app_->Tap(at.x, at.y);
    ASSERT_TRUE(app_->WaitIdle());
  }
  enum class BarPart { Left, Button, Right };
  void TapBar(HWND form, BarPart part) {
    const HWND bar = BarOf(form);
    ASSERT_TRUE(bar);
    const RECT r = ScreenRect(bar);
    const auto layout =
        pda::shell::LayOutMenuBar(RECT{0, 0, r.right - r.left, r.bottom - r.top}, true);
    const RECT& key = part == BarPart::Left    ? layout.left
                      : part == BarPart::Right ? layout.right
                                               : layout.button;
    Tap(Centre(Moved(key, {r.left, r.top})));
  }
  // Taps the letters on the input panel's letter page.
  void TypeOnPanel(std::u16string_view letters) {
    const RECT panel = pda::shell::InputPanelRect();
    const auto keys = pda::shell::LayOutKeyboard(
        pda::shell::KeyboardPage::Letters,
        RECT{0, 0, panel.right - panel.left, panel.bottom - panel.top});
    for (const char16_t c : letters) {
      const auto key = std::find_if(keys.begin(), keys.end(), [c](const auto& placed) {
        return placed.key.action == pda::shell::KeyAction::Character &&
               pda::shell::CharacterOf(placed.key, false) == c;
      });
      ASSERT_NE(key, keys.end()) << "no key for " << static_cast<char>(c);
      Tap(Centre(Moved(key->rect, {panel.left, panel.top})));
    }
  }
  void Key(int virtualKey, pda::testing::KeyModifiers modifiers = {}) {
    app_->Key(virtualKey, modifiers);
    ASSERT_TRUE(app_->WaitIdle());
  }
  // The form's field controls, in screen coordinates, top to bottom (3 for SMS, 4 for e-mail).
  static std::vector<RECT> FieldRects(HWND form) {
    std::vector<RECT> rects;
    for (HWND child = GetWindow(form, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      rects.push_back(ScreenRect(child));
    std::sort(rects.begin(), rects.end(), [](const RECT& a, const RECT& b) { return a.top < b.top; });
    return rects;
  }
  std::vector<std::string> Outbox() const {
    std::vector<std::string> names;
    if (!fs::exists(root_.Host("Outbox"))) return names;
    for (const auto& entry : fs::directory_iterator(root_.Host("Outbox")))
      names.push_back(entry.path().filename());
    return names;
  }

  std::unique_ptr<Harness> app_;
};

TEST_F(ComposeFormTest, TheFormShowsTheRecordItWasGivenAndRefusedRecordsOpenNone) {
  MAILCOMPOSEFIELDS tooSmall = Sms(u"+15551234", u"x");
  tooSmall.cbSize = 0;
  MAILCOMPOSEFIELDS hostSize = Sms(u"+15551234", u"x");
  hostSize.cbSize = sizeof hostSize;
  for (MAILCOMPOSEFIELDS* refused : {static_cast<MAILCOMPOSEFIELDS*>(nullptr), &tooSmall, &hostSize}) {
    EXPECT_EQ(Compose(refused), E_INVALIDARG);
    EXPECT_FALSE(pda::testing::OpenComposeForm());
  }

  struct Case {
    const char* name;
    MAILCOMPOSEFIELDS fields;
    ComposeFormInfo shown;   // window not compared
    bool typingGoesToTo;     // else to the body
  };
  const Case cases[] = {
      {"e-mail, every field, non-ASCII and CR LF lines",
       Email(u"Zoë <zoe@example.com>; bob@example.org", u"Où es-tu? ✓",
             u"Zazorudu!\r\nMy Location: Zürich\r\n\r\nhttp://x.example/?q=1,2\r\n", u"Wörk"),
       {HWND{}, true, u"Zoë <zoe@example.com>; bob@example.org", u"Où es-tu? ✓", u"Wörk",
        u"Zazorudu!\r\nMy Location: Zürich\r\n\r\nhttp://x.example/?q=1,2\r\n"},
       false},
      {"e-mail without a recipient",
       Email(nullptr, u"Hi", u"Body", u"Wörk"),
       {HWND{}, true, u"", u"Hi", u"Wörk", u"Body"},
       true},
      {"SMS: a subject given is not shown",
       [] {
         MAILCOMPOSEFIELDS f = Sms(u"+15551234", u"Here\r\nI am");
         f.pszSubject = u"not for SMS";
         return f;
       }(),
       {HWND{}, false, u"+15551234", u"", u"SMS", u"Here\r\nI am"},
       false},
      {"SMS with an empty recipient",
       Sms(u"", u"Here"),
       {HWND{}, false, u"", u"", u"SMS", u"Here"},
       true},
  };
  for (Case c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(Compose(&c.fields), S_OK);
    const auto form = pda::testing::OpenComposeForm();
    ASSERT_TRUE(form);
    EXPECT_EQ(form->email, c.shown.email);
    EXPECT_EQ(form->to, c.shown.to);
    EXPECT_EQ(form->subject, c.shown.subject);
    EXPECT_EQ(form->account, c.shown.account);
    EXPECT_EQ(form->body, c.shown.body);
    EXPECT_EQ(FieldRects(form->window).size(), c.shown.email ? 4u : 3u) << "Subject only for e-mail";
    EXPECT_EQ(GetForegroundWindow(), form->window);

    // Where the first key goes: the empty To field, else the body.
    Key('Q');
    const auto typed = pda::testing::OpenComposeForm();
    ASSERT_TRUE(typed);
    if (c.typingGoesToTo) {
      EXPECT_EQ(typed->to, u"q");
      EXPECT_EQ(typed->body, c.shown.body);
    } else {
      EXPECT_EQ(typed->to, c.shown.to);
      EXPECT_NE(typed->body.find(u'q'), std::u16string::npos);
      EXPECT_EQ(typed->body.size(), c.shown.body.size() + 1);
    }
    OnUi([&] { DestroyWindow(form->window); });
  }
}

TEST_F(ComposeFormTest, SendPutsTheFieldsAsEditedInTheOutboxAndClosesTheForm) {
  // SMS: the recipient typed on the input panel, raised from the form's own bar.
  MAILCOMPOSEFIELDS sms = Sms(nullptr, u"Here\r\nI am");
  ASSERT_EQ(Compose(&sms), S_OK);
  const HWND smsForm = pda::testing::OpenComposeForm()->window;
  TapBar(smsForm, BarPart::Button);
  TypeOnPanel(u"bob");
  TapBar(smsForm, BarPart::Right);
  EXPECT_FALSE(IsWindow(smsForm));
  EXPECT_FALSE(pda::testing::OpenComposeForm());
  ASSERT_EQ(Outbox().size(), 1u);
  EXPECT_EQ(root_.Read("Outbox/" + Outbox()[0]), "To: bob\r\n\r\nHere\r\nI am");

  // E-mail: the subject tapped and typed on by keys.
  fs::remove_all(root_.Host("Outbox"));
  MAILCOMPOSEFIELDS email = Email(u"zoe@example.com", u"Hi", u"Body", u"Work");
  ASSERT_EQ(Compose(&email), S_OK);
  const HWND emailForm = pda::testing::OpenComposeForm()->window;
  const std::vector<RECT> fields = FieldRects(emailForm);
  ASSERT_EQ(fields.size(), 4u);
  Tap(Centre(fields[1]));  // Subject; the caret goes to the end of its text
  Key('1', {.shift = true});
  EXPECT_EQ(pda::testing::OpenComposeForm()->subject, u"Hi!");
  TapBar(emailForm, BarPart::Right);
  EXPECT_FALSE(IsWindow(emailForm));
  ASSERT_EQ(Outbox().size(), 1u);
  const std::string eml = root_.Read("Outbox/" + Outbox()[0]);
  EXPECT_NE(eml.find("\r\nTo: zoe@example.com\r\nSubject: Hi!\r\n"), std::string::npos) << eml;
}

TEST_F(ComposeFormTest, CancelAndEscapeCloseTheFormAndWriteNothing) {
  struct Case {
    const char* name;
    std::function<void(HWND form)> close;
  };
  const Case cases[] = {
      {"Cancel soft key", [this](HWND form) { TapBar(form, BarPart::Left); }},
      {"Escape in a field", [this](HWND) { Key(VK_ESCAPE); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MAILCOMPOSEFIELDS sms = Sms(u"+15551234", u"Here");
    ASSERT_EQ(Compose(&sms), S_OK);
    const HWND form = pda::testing::OpenComposeForm()->window;
    Key('A');
    c.close(form);
    EXPECT_FALSE(IsWindow(form));
    EXPECT_FALSE(pda::testing::OpenComposeForm());
    EXPECT_FALSE(fs::exists(root_.Host("Outbox")));
  }
}

TEST_F(ComposeFormTest, AFailedDesktopHelperIsNamedAndTheFormStaysWithItsText) {
  const fs::path bin = root_.Host("bin");
  fs::create_directories(bin);
  const std::string savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
  setenv("PATH", bin.c_str(), 1);
  setenv("PDA_COMPOSE", "desktop", 1);
  struct Case {
    MAILCOMPOSEFIELDS fields;
    const char* helper;  // a script that fails, or none
    std::u16string notice;
  };
  const Case cases[] = {
      {Email(u"zoe@example.com", u"Hi", u"Body", u"Work"), nullptr,
       u"xdg-email is not installed; the message was not sent."},
      {Sms(u"+15551234", u"Body"), nullptr, u"xdg-open is not installed; the message was not sent."},
      // Its answer comes later, from another thread.
      {Sms(u"+15551234", u"Body"), "xdg-open", u"The message could not be sent: xdg-open failed."},
  };
  for (Case c : cases) {
    SCOPED_TRACE(std::string(c.notice.begin(), c.notice.end()));
    if (c.helper) {
      std::ofstream(bin / c.helper) << "#!/bin/sh\nexit 4\n";
      fs::permissions(bin / c.helper, fs::perms::owner_all);
    }
    ASSERT_EQ(Compose(&c.fields), S_OK);
    Key('Z');  // into the body
    const auto before = pda::testing::OpenComposeForm();
    ASSERT_TRUE(before);
    TapBar(before->window, BarPart::Right);

    const auto deadline = std::chrono::steady_clock::now() + Harness::kWatchdog;
    auto box = pda::testing::OpenMessageBox();
    while (!box && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      ASSERT_TRUE(app_->WaitIdle());
      box = pda::testing::OpenMessageBox();
    }
    ASSERT_TRUE(box) << "no notice";
    EXPECT_EQ(box->text, c.notice);
    EXPECT_EQ(box->type & MB_ICONMASK, MB_ICONSTOP);
    ASSERT_EQ(box->buttons.size(), 1u);
    Tap(Centre(Moved(box->buttons[0].rect, {ScreenRect(box->window).left, ScreenRect(box->window).top})));
    EXPECT_FALSE(pda::testing::OpenMessageBox());

    const auto after = pda::testing::OpenComposeForm();
    ASSERT_TRUE(after) << "the form closed";
    EXPECT_EQ(after->window, before->window);
    EXPECT_EQ(after->to, before->to);
    EXPECT_EQ(after->subject, before->subject);
    EXPECT_EQ(after->body, before->body);
    EXPECT_NE(after->body.find(u'z'), std::u16string::npos) << "what was typed stays";
    OnUi([&] { DestroyWindow(after->window); });
  }
  setenv("PATH", savedPath.c_str(), 1);
}

// On each screen (the device turned, or a form opened there): the form fills the screen between
// the navigation bar and its menu bar, its fields lie inside it top to bottom without
// overlapping, and the body takes the rest down to the bar; the input panel shortens the body.
TEST_F(ComposeFormTest, TheFieldsFitEveryScreenAndTheBodyMakesRoomForTheInputPanel) {
  struct Screen {
    int width, height, dpi;
  };
  const Screen screens[] = {{240, 320, 96}, {480, 640, 192}, {640, 480, 192}};
  std::vector<HWND> forms;
  bool email = true;
  for (const Screen& s : screens) {
    SCOPED_TRACE(std::to_string(s.width) + "x" + std::to_string(s.height) + "@" +
                 std::to_string(s.dpi));
    OnUi([s] { pda::testing::ChangeScreen(s.width, s.height, s.dpi); });
    MAILCOMPOSEFIELDS fields =
        email ? Email(u"zoe@example.com", u"Hi", u"Body", u"Work") : Sms(u"+15551234", u"Body");
    email = !email;
    ASSERT_EQ(Compose(&fields), S_OK);
    forms.push_back(pda::testing::OpenComposeForm()->window);
    EXPECT_EQ(GetForegroundWindow(), forms.back()) << "each new form opens on top";

    const int bar = pda::testing::BarHeight();
    for (const HWND form : forms) {  // the older ones were turned with the screen
      const RECT place = ScreenRect(form);
      EXPECT_EQ(place.left, 0);
      EXPECT_EQ(place.top, bar);
      EXPECT_EQ(place.right, s.width);
      EXPECT_EQ(place.bottom, s.height - bar);
      const std::vector<RECT> rects = FieldRects(form);
      ASSERT_GE(rects.size(), 3u);
      for (std::size_t i = 0; i < rects.size(); ++i) {
        EXPECT_TRUE(Inside(rects[i], place)) << "field " << i;
        EXPECT_GT(rects[i].bottom, rects[i].top) << "field " << i;
        for (std::size_t j = i + 1; j < rects.size(); ++j)
          EXPECT_FALSE(Overlap(rects[i], rects[j])) << "fields " << i << " and " << j;
      }
      const RECT body = rects.back();
      EXPECT_EQ(body.bottom, place.bottom);
      EXPECT_GE(2 * (body.bottom - body.top), place.bottom - place.top) << "the body is the most";
    }
  }

  const HWND top = forms.back();
  const int bodyHeight = FieldRects(top).back().bottom - FieldRects(top).back().top;
  TapBar(top, BarPart::Button);
  const RECT panel = pda::shell::InputPanelRect();
  for (const HWND form : forms) {
    EXPECT_EQ(ScreenRect(form).bottom, panel.top);
    const RECT body = FieldRects(form).back();
    EXPECT_EQ(body.bottom, panel.top);
    EXPECT_GT(body.bottom, body.top) << "a line or more of the body stays in view";
  }
  EXPECT_LT(FieldRects(top).back().bottom - FieldRects(top).back().top, bodyHeight);
  TapBar(top, BarPart::Button);
  for (const HWND form : forms) EXPECT_EQ(FieldRects(form).back().bottom, 480 - pda::testing::BarHeight());
}

}  // namespace
