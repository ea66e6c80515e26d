// The GeoNotes editor in the running application: the header of the opening moment with the
// caret after it, Save and Cancel from the soft keys, a failed save that keeps the note, the
// tap-and-hold menu, the input panel, and Ctrl+Q while the editor has the focus.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

#include <pda.h>
#include <pda/testing/dialogs.h>
#include <pda/testing/shell.h>
#include <pda/testing/user.h>

#include "app_session.h"
#include "shell/globals.h"
#include "shell/main_window.h"

namespace zaz::testing {
namespace {

// Opened at 20:41 on 9 January 2009 (the session's wall clock) at the session's fix.
constexpr char16_t kHeader[] =
    u"GeoNote\r\n09d/01m/2009y @ 20:41\r\nGPS Location:\r\n47.6062095,-122.3320708\r\n\r\n\r\n";
constexpr char kNote[] = "My Documents/GeoNotes/GeoNote_09d-01m-2009y-t2041.txt";

std::string Utf8(const std::u16string& text) {
  std::string out;
  for (char16_t c : text) out += static_cast<char>(c);  // the texts here are ASCII
  return out;
}

class GeoNotesTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    Start(kPortraitNormal);
    ScriptFix();
    client_ = Client();
  }
  void Open() {
    app().Tap(client_.left + 2 * 60 + 30, client_.bottom() - 19);
    ASSERT_TRUE(app().WaitIdle());
    ASSERT_TRUE(OnUi(app(), [] { return IsWindow(g_hwndGeoNotes) != FALSE; }));
  }
  HWND Editor() {
    return OnUi(app(), [] { return GetWindow(g_hwndGeoNotes, GW_CHILD); });
  }
  std::u16string EditorText() {
    return OnUi(app(), [&] {
      WCHAR text[1024] = {};
      GetWindowTextW(GetWindow(g_hwndGeoNotes, GW_CHILD), text, 1024);
      return std::u16string(text);
    });
  }
  // Lower-case letters: the keys without Shift.
  void Type(const char* keys) {
    for (const char* k = keys; *k; ++k) app().Key(*k - 'a' + 'A');
    ASSERT_TRUE(app().WaitIdle());
  }
  void SoftKey(bool right) {
    const int bar = pda::testing::BarHeight();
    app().Tap(right ? 240 - 30 : 30, 320 - bar / 2);
    ASSERT_TRUE(app().WaitIdle());
  }
  bool EditorOpen() {
    return OnUi(app(), [] { return IsWindow(g_hwndGeoNotes) != FALSE; });
  }

  ClientArea client_{};
};

TEST_F(GeoNotesTest, OpensWithTheHeaderOfTheOpeningMomentAndTheCaretAfterIt) {
  Open();
  EXPECT_EQ(EditorText(), kHeader);
  const auto [start, end, focus] = OnUi(app(), [&] {
    DWORD s = 0, e = 0;
    const HWND editor = GetWindow(g_hwndGeoNotes, GW_CHILD);
    SendMessageW(editor, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    return std::tuple<DWORD, DWORD, bool>(s, e, GetFocus() == editor);
  });
  EXPECT_EQ(start, std::u16string(kHeader).size());
  EXPECT_EQ(end, start) << "something is selected";
  EXPECT_TRUE(focus);
  // The editor covers the Main window, touch buttons included.
  const RECT rect = OnUi(app(), [] {
    RECT r{};
    GetWindowRect(g_hwndGeoNotes, &r);
    return r;
  });
  EXPECT_EQ(rect.top, client_.top);
  EXPECT_EQ(rect.bottom, client_.bottom());
}

TEST_F(GeoNotesTest, SaveWritesTheNoteOfTheOpeningMomentAndASecondInTheSameMinuteReplacesIt) {
  Open();
  ScriptFix(-33.8688197, 151.2092955);  // the device moves on while the note is written
  Type("hi");
  SoftKey(true);
  EXPECT_FALSE(EditorOpen());
  EXPECT_EQ(root_.Read(kNote), Utf8(kHeader) + "hi");

  Open();
  EXPECT_NE(EditorText().find(u"-33.8688197,151.2092955"), std::u16string::npos);
  Type("b");
  SoftKey(true);
  EXPECT_NE(root_.Read(kNote).find("-33.8688197,151.2092955\r\n\r\n\r\nb"), std::string::npos);
}

TEST_F(GeoNotesTest, CancelClosesAndWritesNothingNotEvenTheFolder) {
  Open();
  Type("x");
  SoftKey(false);
  EXPECT_FALSE(EditorOpen());
  EXPECT_FALSE(root_.Exists("My Documents/GeoNotes"));
}

TEST_F(GeoNotesTest, AFailedSaveShowsTheBoxAndKeepsTheEditorOpenWithTheText) {
  root_.Write("My Documents/GeoNotes", "a file where the folder should be");
  Open();
  Type("keep");
  SoftKey(true);
  const auto box = pda::testing::OpenMessageBox();
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->caption, u"GeoNote Save Error");
  EXPECT_EQ(box->text, u"Could not create GeoNote file.");
  app().Key(VK_RETURN);
  ASSERT_TRUE(app().WaitIdle());
  EXPECT_TRUE(EditorOpen());
  EXPECT_EQ(EditorText(), std::u16string(kHeader) + u"keep");
  EXPECT_EQ(root_.Read("My Documents/GeoNotes"), "a file where the folder should be");
}

TEST_F(GeoNotesTest, APlainTapPlacesTheCaretAndTapAndHoldOffersCopyAndPaste) {
  Open();
  auto caret = [&] {
    return OnUi(app(), [] {
      DWORD s = 0;
      SendMessageW(GetWindow(g_hwndGeoNotes, GW_CHILD), EM_GETSEL, reinterpret_cast<WPARAM>(&s), 0);
      return s;
    });
  };
  app().Tap(client_.left + 2, client_.top + 4);
  ASSERT_TRUE(app().WaitIdle());
  EXPECT_FALSE(pda::testing::OpenPopupMenu().has_value());
  EXPECT_EQ(caret(), 0u) << "a plain tap on the first line";

  app().SetClipboardText("pasted");
  const int x = client_.left + 40, y = client_.top + 10;
  app().Press(x, y);
  ASSERT_TRUE(app().WaitIdle());
  pda::testing::AdvanceClock(600);
  ASSERT_TRUE(app().WaitIdle());
  const auto menu = pda::testing::OpenPopupMenu();
  ASSERT_TRUE(menu.has_value()) << "no menu after holding still";
  ASSERT_EQ(menu->items.size(), 2u);
  EXPECT_EQ(menu->items[0].text, u"Copy");
  EXPECT_EQ(menu->items[1].text, u"Paste");
  app().Release(x, y);
  const RECT paste = menu->items[1].rect;
  app().Tap((paste.left + paste.right) / 2, (paste.top + paste.bottom) / 2);
  ASSERT_TRUE(app().WaitIdle());
  EXPECT_FALSE(pda::testing::OpenPopupMenu().has_value());
  EXPECT_EQ(EditorText().substr(0, 6), u"pasted") << "pasted at the caret";

  // The press ended with the menu: the editor does not keep the stylus, the soft key answers.
  SoftKey(false);
  EXPECT_FALSE(EditorOpen()) << "the Cancel tap went to the editor";
}

TEST_F(GeoNotesTest, TheInputPanelShrinksTheEditorAndLeavingTheEditorLowersIt) {
  Open();
  auto bottoms = [&] {
    return OnUi(app(), [] {
      RECT window{}, editor{};
      GetWindowRect(g_hwndGeoNotes, &window);
      GetWindowRect(GetWindow(g_hwndGeoNotes, GW_CHILD), &editor);
      return std::pair<LONG, LONG>(window.bottom, editor.bottom);
    });
  };
  OnUi(app(), [] { SipShowIM(SIPF_ON); });
  ASSERT_TRUE(app().WaitIdle());
  const RECT panel = OnUi(app(), [] {
    SIPINFO sip = {};
    sip.cbSize = SIPINFO_PUBLISHED_SIZE;
    SipGetInfo(&sip);
    return sip.rcSipRect;
  });
  EXPECT_EQ(bottoms(), std::make_pair(panel.top, panel.top));

  OnUi(app(), [] { SipShowIM(SIPF_OFF); });
  ASSERT_TRUE(app().WaitIdle());
  EXPECT_EQ(bottoms(), std::make_pair(static_cast<LONG>(client_.bottom()),
                                      static_cast<LONG>(client_.bottom())));

  OnUi(app(), [] { SipShowIM(SIPF_ON); });
  OnUi(app(), [] { SetFocus(g_hWndMain); });
  ASSERT_TRUE(app().WaitIdle());
  const DWORD flags = OnUi(app(), [] {
    SIPINFO sip = {};
    sip.cbSize = SIPINFO_PUBLISHED_SIZE;
    SipGetInfo(&sip);
    return sip.fdwFlags;
  });
  EXPECT_EQ(flags & SIPF_ON, 0u) << "the panel stayed up after the editor lost the focus";
}

TEST_F(GeoNotesTest, CtrlQClosesTheApplicationWhileTheEditorHasTheFocus) {
  Open();
  app().Key('Q', {.ctrl = true});
  EXPECT_TRUE(app().Join());
  EXPECT_EQ(app().ExitCode(), 0);
}

}  // namespace
}  // namespace zaz::testing
