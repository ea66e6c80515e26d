// The note editor (RichInk) through its messages: the document streamed out and in, the set-up
// messages, a stylus drag, typing a line break, the caret after a dropped selection, and a
// subclassed editor.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "control_fixture.h"
#include "controls/edit_state.h"
#include "pda/clipboard.h"
#include "pda/controls.h"
#include "pda/testing/clipboard.h"
#include "pda/testing/user.h"

namespace {

using control_test::Send;
using control_test::TextOf;

// What the stream-out callback saw, and when it should fail.
struct Sink {
  std::string bytes;
  std::vector<LONG> chunks;
  std::size_t failOnCall = 0;  // 1-based; 0 never
  DWORD failure = 0;
};

DWORD Collect(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* written) {
  auto& sink = *reinterpret_cast<Sink*>(cookie);
  sink.chunks.push_back(count);
  if (sink.chunks.size() == sink.failOnCall) {
    *written = 0;
    return sink.failure;
  }
  sink.bytes.append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(count));
  *written = count;
  return 0;
}

class RichInkTest : public control_test::ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    // Created as the note screen does: a plain child with a scroll bar; the class adds the rest.
    editor_ = CreateWindowExW(0, WC_RICHINKW, u"", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 0, 0, 240,
                              200, parent_, HANDLE{7u}, HINSTANCE{}, nullptr);
    ASSERT_TRUE(editor_);
  }
  LRESULT StreamOut(Sink& sink, WPARAM format, EDITSTREAM* out = nullptr) {
    EDITSTREAM local{reinterpret_cast<DWORD_PTR>(&sink), 0xDEAD, Collect};
    EDITSTREAM& stream = out ? *out : local;
    stream = local;
    return Send(editor_, EM_STREAMOUT, format, reinterpret_cast<LPARAM>(&stream));
  }
  int LineHeight() const {
    return reinterpret_cast<pda::controls::EditState*>(GetWindowLongPtrW(editor_, 0))
        ->measure.LineHeight();
  }

  HWND editor_;
};

// ---- streaming out -------------------------------------------------------------------------
struct StreamCase {
  const char* name;
  std::u16string text;
  WPARAM format;
  std::string bytes;  // what the callback receives, all of it
};
void PrintTo(const StreamCase& c, std::ostream* os) { *os << c.name; }

class RichInkStreamTest : public RichInkTest, public ::testing::WithParamInterface<StreamCase> {};

TEST_P(RichInkStreamTest, StreamsTheTextAsUtf8WithCrLfLineEnds) {
  ASSERT_TRUE(SetWindowTextW(editor_, GetParam().text.c_str()));
  Sink sink;
  EDITSTREAM stream{};
  const LRESULT streamed = StreamOut(sink, GetParam().format, &stream);
  EXPECT_EQ(sink.bytes, GetParam().bytes);
  EXPECT_EQ(streamed, static_cast<LRESULT>(GetParam().bytes.size()));
  EXPECT_EQ(sink.chunks.empty(), GetParam().bytes.empty()) << "a call only when there are bytes";
  const bool known = GetParam().format == SF_PWI || GetParam().format == SF_TEXT;
  EXPECT_EQ(stream.dwError, known ? 0u : 0xDEADu) << "an unknown format leaves the record alone";
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RichInkStreamTest,
    ::testing::Values(
        StreamCase{"Plain", u"Parked at the north gate", SF_PWI, "Parked at the north gate"},
        StreamCase{"CrLfKept", u"one\r\ntwo\r\n\r\nfour", SF_PWI, "one\r\ntwo\r\n\r\nfour"},
        StreamCase{"LoneBreaksBecomeCrLf", u"a\nb\rc", SF_PWI, "a\r\nb\r\nc"},
        StreamCase{"NonAsciiAsUtf8", u"Grüße € 😀", SF_PWI,
                   "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC \xF0\x9F\x98\x80"},
        StreamCase{"TextFormatIsTheSameText", u"x\r\ny", SF_TEXT, "x\r\ny"},
        StreamCase{"EmptyStreamsNothing", u"", SF_PWI, ""},
        StreamCase{"UnknownFormatStreamsNothing", u"kept", SF_RTF, ""},
        StreamCase{"UnicodeFormatStreamsNothing", u"kept", SF_UNICODE, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RichInkTest, ALongTextComesInChunksThatJoinUpToTheWholeText) {
  std::u16string text;
  std::string expected;
  for (int i = 0; i < 900; ++i) {
    text += u"line " + std::u16string(1, char16_t(u'a' + i % 26)) + u"é\r\n";
    expected += std::string("line ") + char('a' + i % 26) + "\xC3\xA9\r\n";
  }
  Send(editor_, EM_LIMITTEXT, 0);
  ASSERT_TRUE(SetWindowTextW(editor_, text.c_str()));
  Sink sink;
  EXPECT_EQ(StreamOut(sink, SF_PWI), static_cast<LRESULT>(expected.size()));
  EXPECT_EQ(sink.bytes, expected);
  ASSERT_GT(sink.chunks.size(), 1u) << expected.size() << " bytes come in more than one call";
  for (LONG chunk : sink.chunks) EXPECT_LE(chunk, 4096);
}

TEST_F(RichInkTest, ACallbackFailingPartWayEndsTheStreamWithItsError) {
  ASSERT_TRUE(SetWindowTextW(editor_, std::u16string(10000, u'n').c_str()));
  Sink sink;
  sink.failOnCall = 2;
  sink.failure = 0x70;  // a full disk, say
  EDITSTREAM stream{};
  const LRESULT streamed = StreamOut(sink, SF_PWI, &stream);
  EXPECT_EQ(stream.dwError, 0x70u);
  EXPECT_EQ(sink.chunks.size(), 2u) << "no call after the failure";
  EXPECT_EQ(streamed, static_cast<LRESULT>(sink.bytes.size())) << "only what was taken";
  EXPECT_EQ(sink.bytes, std::string(sink.bytes.size(), 'n'));
  EXPECT_LT(sink.bytes.size(), 10000u);
}

// A document handed in three bytes at a time (so chunks split UTF-8 sequences), or failing.
struct Source {
  std::string bytes;
  std::size_t at = 0;
  DWORD failure = 0;
};

DWORD Give(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* read) {
  auto& source = *reinterpret_cast<Source*>(cookie);
  if (source.failure) return source.failure;
  const std::size_t n = std::min<std::size_t>({3, static_cast<std::size_t>(count),
                                               source.bytes.size() - source.at});
  std::copy_n(source.bytes.data() + source.at, n, buffer);
  source.at += n;
  *read = static_cast<LONG>(n);
  return 0;
}

TEST_F(RichInkTest, StreamingInReplacesTheTextAndStreamsOutTheSame) {
  SetWindowTextW(editor_, u"old note");
  Source source{"Gr\xC3\xBC\xC3\x9F" "e\r\nzwei \xE2\x82\xAC"};
  EDITSTREAM in{reinterpret_cast<DWORD_PTR>(&source), 0xDEAD, Give};
  EXPECT_EQ(Send(editor_, EM_STREAMIN, SF_PWI, reinterpret_cast<LPARAM>(&in)), 13);
  EXPECT_EQ(in.dwError, 0u);
  EXPECT_EQ(TextOf(editor_), u"Grüße\r\nzwei €");
  Sink sink;
  StreamOut(sink, SF_PWI);
  EXPECT_EQ(sink.bytes, source.bytes);

  Source failing{"lost", 0, 0x1F};
  EDITSTREAM broken{reinterpret_cast<DWORD_PTR>(&failing), 0, Give};
  EXPECT_EQ(Send(editor_, EM_STREAMIN, SF_PWI, reinterpret_cast<LPARAM>(&broken)), 0);
  EXPECT_EQ(broken.dwError, 0x1Fu);
  EXPECT_EQ(TextOf(editor_), u"Grüße\r\nzwei €") << "a failed stream leaves the text";
}

// ---- set-up --------------------------------------------------------------------------------
struct SetupCase {
  const char* name;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  LRESULT result;
};
void PrintTo(const SetupCase& c, std::ostream* os) { *os << c.name; }

class RichInkSetupTest : public RichInkTest, public ::testing::WithParamInterface<SetupCase> {};

TEST_P(RichInkSetupTest, AnswersTheSetupMessagesAndKeepsEditing) {
  const SetupCase& c = GetParam();
  EXPECT_EQ(Send(editor_, c.message, c.wParam, c.lParam), c.result);
  // Whatever the set-up, the editor still types and wraps to its width.
  for (char16_t ch : std::u16string(60, u'w')) Send(editor_, WM_CHAR, ch, 0);
  Send(editor_, WM_CHAR, u' ', 0);
  for (char16_t ch : std::u16string(60, u'w')) Send(editor_, WM_CHAR, ch, 0);
  EXPECT_EQ(GetWindowTextLengthW(editor_), 121);
  EXPECT_GE(Send(editor_, EM_GETLINECOUNT), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, RichInkSetupTest,
    ::testing::Values(SetupCase{"SelectPenMode", EM_SETPENMODE, MODE_SELECT, 0, TRUE},
                      SetupCase{"UnknownPenMode", EM_SETPENMODE, 9, 0, FALSE},
                      SetupCase{"TypingView", EM_SETVIEW, VT_TYPINGVIEW, 0, TRUE},
                      SetupCase{"UnknownView", EM_SETVIEW, 1, 0, FALSE},
                      SetupCase{"WrapToPageStillWrapsToWindow", EM_SETWRAPMODE, RI_WRAPTOPAGE, 0,
                                TRUE},
                      SetupCase{"RuledLines", EM_SETPAGESTYLE, PS_RULEDLINES, 0, TRUE},
                      SetupCase{"UnknownPageStyle", EM_SETPAGESTYLE, 0x1000, 0, FALSE},
                      SetupCase{"Zoom150", EM_SETZOOMPERCENT, 0, 150, TRUE},
                      SetupCase{"CannotUndo", EM_CANUNDO, 0, 0, FALSE},
                      SetupCase{"CannotRedo", EM_CANREDO, 0, 0, FALSE},
                      SetupCase{"NothingToPaste", EM_CANPASTE, 0, 0, FALSE}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RichInkTest, ZoomScalesTheTextWithinItsBounds) {
  const int normal = LineHeight();
  const auto heightAt = [&](LPARAM percent) {
    Send(editor_, EM_SETZOOMPERCENT, 0, percent);
    return LineHeight();
  };
  EXPECT_GT(heightAt(150), normal);
  EXPECT_EQ(heightAt(1000), heightAt(300)) << "clamped to 300 %";
  EXPECT_EQ(heightAt(10), heightAt(75)) << "clamped to 75 %";
  EXPECT_LT(heightAt(75), normal);
  EXPECT_EQ(heightAt(100), normal);
}

TEST_F(RichInkTest, CanPasteOnceTheClipboardHoldsText) {
  SetWindowTextW(editor_, u"copied");
  Send(editor_, EM_SETSEL, 0, -1);
  Send(editor_, WM_COPY);
  EXPECT_EQ(Send(editor_, EM_CANPASTE), TRUE);
}

// ---- typing and selection ------------------------------------------------------------------
TEST_F(RichInkTest, EnterInsertsALineBreakAndStreamsAsCrLf) {
  for (char16_t c : std::u16string(u"north\rgate")) Send(editor_, WM_CHAR, c, 0);
  EXPECT_EQ(TextOf(editor_), u"north\r\ngate");
  EXPECT_EQ(Send(editor_, EM_GETLINECOUNT), 2);
  Sink sink;
  StreamOut(sink, SF_PWI);
  EXPECT_EQ(sink.bytes, "north\r\ngate");
}

TEST_F(RichInkTest, DroppingTheSelectionKeepsTheCaret) {
  SetWindowTextW(editor_, u"Parked at the gate");
  Send(editor_, EM_SETSEL, 7, 9);
  Send(editor_, EM_SETSEL, static_cast<WPARAM>(-1), -1);
  DWORD start = 0, end = 0;
  Send(editor_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 9u);
  EXPECT_EQ(end, 9u);
  Send(editor_, WM_CHAR, u'!', 0);
  EXPECT_EQ(TextOf(editor_), u"Parked at! the gate");
}

TEST_F(RichInkTest, ADragOfTheStylusSelectsUntilTheLift) {
  SetWindowTextW(editor_, u"Parked at the gate\r\nnorth side");
  const auto at = [](int x, int y) {
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
  };
  const int row = LineHeight();
  // Through the queue, as the stylus comes: the thread's button state follows what it retrieves.
  const auto stylus = [&](UINT message, WPARAM buttons, LPARAM point) {
    PostMessageW(editor_, message, buttons, point);
    MSG msg;
    while (PeekMessageW(&msg, HWND{}, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  };
  const auto selection = [&] {
    DWORD start = 0, end = 0;
    Send(editor_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return std::pair<DWORD, DWORD>{start, end};
  };
  stylus(WM_LBUTTONDOWN, MK_LBUTTON, at(0, row / 2));
  EXPECT_EQ(GetCapture(), editor_) << "the editor holds the stylus while it is down";
  stylus(WM_MOUSEMOVE, MK_LBUTTON, at(230, row / 2));
  EXPECT_EQ(selection(), (std::pair<DWORD, DWORD>{0, 18})) << "to the end of the first line";
  stylus(WM_MOUSEMOVE, MK_LBUTTON, at(230, row + row / 2));
  EXPECT_EQ(selection(), (std::pair<DWORD, DWORD>{0, 30})) << "and on down the second";
  stylus(WM_LBUTTONUP, 0, at(230, row + row / 2));
  EXPECT_EQ(GetCapture(), HWND{});
  stylus(WM_MOUSEMOVE, 0, at(0, row / 2));
  EXPECT_EQ(selection(), (std::pair<DWORD, DWORD>{0, 30}))
      << "a move after the lift selects nothing";

  stylus(WM_LBUTTONDOWN, MK_LBUTTON, at(0, row / 2));
  SetCapture(parent_);  // a popup menu, say, takes the stylus
  stylus(WM_MOUSEMOVE, MK_LBUTTON, at(230, row / 2));
  EXPECT_EQ(selection(), (std::pair<DWORD, DWORD>{0, 0})) << "the drag ended with the capture";
  ReleaseCapture();
  stylus(WM_LBUTTONUP, 0, at(230, row / 2));

  // A press handed on after its release was taken (a tap-and-hold menu) places the caret and
  // does not hold the stylus.
  Send(editor_, WM_LBUTTONDOWN, MK_LBUTTON, at(0, row + row / 2));
  EXPECT_EQ(GetCapture(), HWND{});
  EXPECT_EQ(selection(), (std::pair<DWORD, DWORD>{20, 20})) << "the start of the second line";
}

// ---- subclassing ---------------------------------------------------------------------------
WNDPROC original = nullptr;
std::vector<UINT> seen;

// Swallows the letter 'q' and passes everything else on.
LRESULT Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  seen.push_back(message);
  if (message == WM_CHAR && wParam == u'q') return 0;
  return CallWindowProcW(original, window, message, wParam, lParam);
}

TEST_F(RichInkTest, ASubclassedEditorPassesMessagesOnThroughTheOriginalProcedure) {
  original = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(editor_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Subclass)));
  ASSERT_NE(original, nullptr);
  seen.clear();
  for (char16_t c : std::u16string(u"aqb\r")) Send(editor_, WM_CHAR, c, 0);
  EXPECT_EQ(TextOf(editor_), u"ab\r\n");
  Sink sink;
  EXPECT_EQ(StreamOut(sink, SF_PWI), 4);
  EXPECT_EQ(sink.bytes, "ab\r\n");
  EXPECT_GE(std::count(seen.begin(), seen.end(), static_cast<UINT>(WM_CHAR)), 4);
  EXPECT_GE(std::count(seen.begin(), seen.end(), static_cast<UINT>(EM_STREAMOUT)), 1);
  SetWindowLongPtrW(editor_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
}

}  // namespace
