// MessageBoxW: a top-level window of a private class over the screen, and the modal loop that
// waits for its answer while the owner is disabled. The look is in message_box_look.cpp.
//
// Sections: fonts | open boxes (for tests) | window procedure | MessageBoxW | MessageBeep
#include <algorithm>
#include <atomic>
#include <memory>
#include <optional>
#include <utility>

#include "display/display.h"
#include "pda/testing/dialogs.h"
#include "look/look.h"
#include "user/message_box.h"
#include "user/modal_loop.h"
#include "user/modal_owner.h"
#include "user/open_list.h"
#include "user/window_shape.h"

namespace pda::user {
namespace {

constexpr char16_t kBoxClass[] = u"pda:MessageBox";

// ---- fonts ---------------------------------------------------------------------------------
// The box's two faces at 9 points, owned for the life of the box.
struct BoxFonts {
  explicit BoxFonts(int dpi)
      : text(look::SystemFont(look::PointsToPixels(9, dpi), FW_NORMAL)),
        bold(look::SystemFont(look::PointsToPixels(9, dpi), FW_BOLD)) {}
  MessageBoxFonts get() const { return {text.get(), bold.get()}; }

  UniqueFont text;
  UniqueFont bold;
};

// The state record of one open box, reached from its window's user data.
struct Box {
  MessageBoxContent content;
  int dpi;
  BoxFonts fonts;
  MessageBoxLayout layout;
  std::optional<int> answer;
  int pressed = -1;   // the button the stylus went down on; it holds the stylus until the release
  bool over = false;  // the stylus is over the pressed button (it shows pressed only then)
  HWND window;

  Box(MessageBoxContent c, int d) : content(std::move(c)), dpi(d), fonts(d) {}
};

// ---- open boxes (for tests) ----------------------------------------------------------------
OpenList<Box>& Open() {
  static auto* const open = new OpenList<Box>;
  return *open;
}

// ---- window procedure ----------------------------------------------------------------------
// The window's record: the open box it shows, owned by the MessageBoxW call that waits for it.
struct BoxWindow {
  static std::unique_ptr<BoxWindow> Create(HWND window, const CREATESTRUCTW& create) {
    auto* box = static_cast<Box*>(create.lpCreateParams);
    if (!box) return nullptr;
    return std::make_unique<BoxWindow>(BoxWindow{window, box});
  }
  HWND window;
  Box* box;
};

int ButtonAt(const Box& box, LPARAM point) {
  const POINT p = StylusPoint(point);
  for (std::size_t i = 0; i < box.layout.buttons.size(); ++i) {
    const RECT& r = box.layout.buttons[i].rect;
    if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom) return static_cast<int>(i);
  }
  return -1;
}

void ShowPressed(BoxWindow& w, bool over) {
  Box& box = *w.box;
  if (box.pressed < 0 || box.over == over) return;
  box.over = over;
  InvalidateRect(w.window, &box.layout.buttons[static_cast<std::size_t>(box.pressed)].rect, FALSE);
}

LRESULT OnButtonDown(BoxWindow& w, WPARAM, LPARAM point) {
  Box& box = *w.box;
  box.pressed = ButtonAt(box, point);
  if (box.pressed < 0) return 0;
  SetCapture(w.window);
  ShowPressed(w, true);
  return 0;
}

LRESULT OnMove(BoxWindow& w, WPARAM, LPARAM point) {
  ShowPressed(w, w.box->pressed >= 0 && ButtonAt(*w.box, point) == w.box->pressed);
  return 0;
}

// Ends a press without an answer.
void EndPress(BoxWindow& w) {
  ShowPressed(w, false);
  w.box->pressed = -1;
}

LRESULT OnButtonUp(BoxWindow& w, WPARAM, LPARAM point) {
  Box& box = *w.box;
  const int held = box.pressed;
  EndPress(w);
  if (GetCapture() == w.window) ReleaseCapture();
  if (held >= 0 && ButtonAt(box, point) == held) box.answer = box.layout.buttons[held].result;
  return 0;
}

LRESULT OnCaptureChanged(BoxWindow& w, WPARAM, LPARAM) {
  EndPress(w);
  return 0;
}

LRESULT OnKeyDown(BoxWindow& w, WPARAM key, LPARAM) {
  Box& box = *w.box;
  if (key == VK_RETURN)
    box.answer = box.layout.buttons[static_cast<std::size_t>(box.layout.defaultButton)].result;
  else if (key == VK_ESCAPE)
    box.answer = box.layout.escape;
  return 0;
}

LRESULT OnClose(BoxWindow& w, WPARAM, LPARAM) {
  w.box->answer = w.box->layout.close;
  return 0;
}

void PaintBox(BoxWindow& w, HDC dc, const RECT&) {
  const Box& box = *w.box;
  PaintMessageBox(dc, box.layout, box.content, box.fonts.get(), box.dpi,
                  box.over ? box.pressed : -1);
}

constexpr Route<BoxWindow> kBoxRoutes[] = {
    {WM_LBUTTONDOWN,    OnButtonDown},
    {WM_MOUSEMOVE,      OnMove},
    {WM_LBUTTONUP,      OnButtonUp},
    {WM_CAPTURECHANGED, OnCaptureChanged},
    {WM_KEYDOWN,        OnKeyDown},
    {WM_CLOSE,          OnClose},
    {WM_PAINT,          PaintThrough<BoxWindow, PaintBox>},
};

}  // namespace
}  // namespace pda::user

// ---- MessageBoxW ---------------------------------------------------------------------------
int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  using namespace pda::user;
  static const bool registered = RegisterShapedClass<BoxWindow, kBoxRoutes>(kBoxClass);
  if (!registered) return 0;
  const auto screen = pda::display::CurrentScreen();
  auto box = std::make_unique<Box>(
      MessageBoxContent{text ? text : u"", caption ? caption : u"Error", type}, screen.dpi);
  box->layout = LayOutMessageBox(box->content, box->fonts.get(), screen.width, screen.height,
                                 screen.dpi);
  const HWND topOwner = TopLevelOf(owner);
  DisabledOwner disabled(topOwner);
  const RECT& panel = box->layout.panel;
  box->window = CreateWindowExW(0, kBoxClass, box->content.caption.c_str(), WS_POPUP | WS_VISIBLE,
                                panel.left, panel.top, panel.right - panel.left,
                                panel.bottom - panel.top, topOwner, HANDLE{}, HINSTANCE{},
                                box.get());
  if (!box->window) return 0;
  OpenList<Box>::Entry entry(Open(), box.get());
  SetForegroundWindow(box->window);
  SetFocus(box->window);
  RunModalLoop(box->window, [&box] { return box->answer.has_value(); });
  const int answer = box->answer.value_or(box->layout.close);
  // The owner is enabled before the box goes, so that activation can return to it.
  disabled.Restore();
  if (IsWindow(box->window)) DestroyWindow(box->window);
  if (topOwner && IsWindow(topOwner)) SetForegroundWindow(topOwner);
  return answer;
}

// ---- MessageBeep ---------------------------------------------------------------------------
namespace {
std::atomic<std::uint64_t> beeps{0};
}

BOOL MessageBeep(UINT) {
  beeps.fetch_add(1, std::memory_order_relaxed);
  return TRUE;
}

namespace pda::testing {

std::optional<MessageBoxInfo> OpenMessageBox() {
  return user::Open().Newest([](const user::Box& box) {
    MessageBoxInfo info{box.window, box.content.text, box.content.caption, box.content.type, {}};
    for (const auto& button : box.layout.buttons)
      info.buttons.push_back({button.label, button.result, button.rect});
    return info;
  });
}

std::uint64_t MessageBeepCount() { return beeps.load(std::memory_order_relaxed); }

}  // namespace pda::testing
