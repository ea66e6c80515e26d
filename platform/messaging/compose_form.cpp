// The compose form and MailComposeMessage: a full-screen window of the platform on the caller's
// thread, between the navigation bar and its own soft-key bar ("Cancel", the input-panel button,
// "Send"), with an EDIT control for each field. The caller gets S_OK as soon as the form exists
// and never hears of it again; "Send" hands the fields, as they are then, to SendComposedMessage.
// Where the parts go is in compose_form_layout.cpp.
//
// Sections: the form's record | fields | layout | sending and closing | messages |
//           open forms (for tests) | the table | MailComposeMessage
#include <algorithm>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "controls/controls.h"
#include "controls/text_measure.h"
#include "display/display.h"
#include "look/look.h"
#include "messaging/compose_form_layout.h"
#include "messaging/compose_send.h"
#include "pda/controls.h"
#include "pda/dialogs.h"
#include "pda/menu.h"
#include "pda/shell.h"
#include "pda/testing/messaging.h"
#include "shell/bar_layout.h"
#include "shell/input_panel.h"
#include "shell/menu_bar.h"
#include "shell/shell_window.h"
#include "user/window_shape.h"

namespace pda::messaging {
namespace {

constexpr char16_t kFormClass[] = u"pda:ComposeForm";
constexpr UINT kSend = IDOK;
constexpr UINT kCancel = IDCANCEL;
constexpr UINT kHelperAnswered = WM_USER + 1;  // wParam: the desktop helper's HRESULT
constexpr int kFirstFieldId = 0x100;  // To, Subject, From, Body count up from here
constexpr int kFontPoints = 9;

constexpr ComposeField kFields[] = {ComposeField::To, ComposeField::Subject, ComposeField::From,
                                    ComposeField::Body};
constexpr const char16_t* kLabels[] = {u"To:", u"Subject:", u"From:", u""};

int IdOf(ComposeField field) { return kFirstFieldId + static_cast<int>(field); }
std::size_t IndexOf(ComposeField field) { return static_cast<std::size_t>(field); }

const char16_t* TitleOf(ComposedMessage::Kind kind) {
  return kind == ComposedMessage::Kind::Sms ? u"New Text Message" : u"New Message";
}

// ---- the form's record ---------------------------------------------------------------------
struct ComposeForm {
  static std::unique_ptr<ComposeForm> Create(HWND window, const CREATESTRUCTW& create);

  HWND window;
  ComposedMessage::Kind kind = ComposedMessage::Kind::Email;
  int dpi = 96;
  UniqueFont font;  // the labels' and the fields' face
  ComposeFormMetrics metrics{};
  ComposeFormLayout layout;
  HWND lastFocus;  // the field that had the focus last; it gets it back with the form's
  SHACTIVATEINFO activation{sizeof(SHACTIVATEINFO), HWND{}, 0, 0, 0, 0};
  // A desktop helper has not answered yet, or a notice about a failed send is open: the form
  // neither sends again nor closes meanwhile.
  bool busy = false;

  bool email() const { return kind == ComposedMessage::Kind::Email; }
  bool has(ComposeField field) const { return field != ComposeField::Subject || email(); }
  HWND field(ComposeField f) const { return GetDlgItem(window, IdOf(f)); }
};

// ---- fields --------------------------------------------------------------------------------
std::u16string TextOf(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
  return text;
}

ComposedMessage ReadFields(const ComposeForm& form) {
  ComposedMessage message;
  message.kind = form.kind;
  message.to = TextOf(form.field(ComposeField::To));
  if (form.email()) message.subject = TextOf(form.field(ComposeField::Subject));
  message.account = TextOf(form.field(ComposeField::From));
  message.body = TextOf(form.field(ComposeField::Body));
  return message;
}

WNDPROC EditProcedure() {
  static const WNDPROC procedure = [] {
    WNDCLASSW edit{};
    return GetClassInfoW(HINSTANCE{}, WC_EDITW, &edit) ? edit.lpfnWndProc : nullptr;
  }();
  return procedure;
}

// The fields' procedure: the EDIT's own, except that Escape cancels the form. The keys go to the
// field with the focus, so the form would never see it otherwise. Posted, so that the field is
// not destroyed inside its own message.
LRESULT FieldProcedure(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN && wParam == static_cast<WPARAM>(VK_ESCAPE)) {
    PostMessageW(GetParent(field), WM_COMMAND, MAKEWPARAM(kCancel, 0), 0);
    return 0;
  }
  if (message == WM_CHAR && wParam == 0x1B) return 0;  // Escape's character: no refusal beep
  return CallWindowProcW(EditProcedure(), field, message, wParam, lParam);
}

DWORD StyleOf(ComposeField field) {
  constexpr DWORD kLine = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;
  constexpr DWORD kBody = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE |
                          ES_AUTOVSCROLL | ES_WANTRETURN;
  return field == ComposeField::Body ? kBody : kLine;
}

std::u16string_view InitialText(const ComposedMessage& message, ComposeField field) {
  switch (field) {
    case ComposeField::To: return message.to;
    case ComposeField::Subject: return message.subject;
    case ComposeField::From: return message.account;
    case ComposeField::Body: return message.body;
  }
  return {};
}

bool MakeFields(ComposeForm& form, const ComposedMessage& message) {
  if (!EditProcedure()) return false;
  for (const ComposeField f : kFields) {
    if (!form.has(f)) continue;
    const std::u16string text(InitialText(message, f));
    const HWND edit = CreateWindowExW(0, WC_EDITW, text.c_str(), StyleOf(f), 0, 0, 0, 0,
                                      form.window, HANDLE{static_cast<std::uint32_t>(IdOf(f))},
                                      HINSTANCE{}, nullptr);
    if (!edit) return false;
    SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FieldProcedure));
  }
  return true;
}

// ---- layout --------------------------------------------------------------------------------
// The face and the measures at the screen's DPI, given to the fields (again after a rotation,
// which may change the DPI).
bool Restyle(ComposeForm& form) {
  form.dpi = display::CurrentScreen().dpi;
  UniqueFont font = look::SystemFont(look::PointsToPixels(kFontPoints, form.dpi));
  controls::DcTextMeasure measure;
  if (!font || !measure.valid()) return false;
  measure.SetFont(font.get());
  int labelWidth = 0;
  std::vector<int> advances;
  for (const ComposeField f : kFields) {
    if (!form.has(f)) continue;
    measure.Advances(kLabels[IndexOf(f)], advances);
    if (!advances.empty()) labelWidth = std::max(labelWidth, advances.back());
  }
  form.metrics = {measure.LineHeight(), labelWidth};
  for (const ComposeField f : kFields)
    if (const HWND edit = form.field(f))
      SendMessageW(edit, WM_SETFONT, static_cast<WPARAM>(font.get().value), FALSE);
  form.font = std::move(font);  // the fields hold the new face before the old one goes
  return true;
}

void LayOut(ComposeForm& form) {
  RECT client{};
  GetClientRect(form.window, &client);
  form.layout = LayOutComposeForm(client.right, client.bottom, form.email(), form.metrics,
                                  form.dpi);
  for (const ComposeField f : kFields) {
    const RECT& r = form.layout[f].edit;
    if (const HWND edit = form.field(f))
      MoveWindow(edit, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
  }
  InvalidateRect(form.window, nullptr, FALSE);
}

std::unique_ptr<ComposeForm> ComposeForm::Create(HWND window, const CREATESTRUCTW& create) {
  const auto* message = static_cast<const ComposedMessage*>(create.lpCreateParams);
  if (!message) return nullptr;
  auto form = std::make_unique<ComposeForm>();
  form->window = window;
  form->kind = message->kind;
  if (!MakeFields(*form, *message) || !Restyle(*form)) return nullptr;
  LayOut(*form);
  UniqueMenu keys(CreateMenu());
  if (!keys || !AppendMenuW(keys.get(), MF_STRING, kCancel, u"Cancel") ||
      !AppendMenuW(keys.get(), MF_STRING, kSend, u"Send"))
    return nullptr;
  // Owned by the form: it goes with it.
  if (!shell::CreateMenuBar(window, std::move(keys), true)) return nullptr;
  form->lastFocus = form->field(message->to.empty() ? ComposeField::To : ComposeField::Body);
  return form;
}

// ---- sending and closing -------------------------------------------------------------------
// What the notice says when sending failed: what was not done and, where known, why.
std::u16string FailureText(ComposedMessage::Kind kind, std::optional<ComposeMode> way,
                           HRESULT result) {
  if (!way) return u"The message could not be sent: PDA_COMPOSE must be outbox or desktop.";
  if (*way == ComposeMode::Outbox) {
    if (result == E_INVALIDARG)
      return u"The message could not be saved to the outbox: the recipients cannot be read.";
    return u"The message could not be saved to the outbox.";
  }
  const std::u16string helper = kind == ComposedMessage::Kind::Sms ? u"xdg-open" : u"xdg-email";
  if (result == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND))
    return helper + u" is not installed; the message was not sent.";
  if (result == E_INVALIDARG)
    return u"The message could not be sent: a recipient is not a valid address.";
  return u"The message could not be sent: " + helper + u" failed.";
}

// The end of a send: the form goes when the message went, else it stays with its text under a
// notice that says why.
void Sent(ComposeForm& form, std::optional<ComposeMode> way, HRESULT result) {
  if (SUCCEEDED(result)) {
    DestroyWindow(form.window);
    return;
  }
  const HWND window = form.window;
  form.busy = true;
  MessageBoxW(window, FailureText(form.kind, way, result).c_str(), TitleOf(form.kind),
              MB_OK | MB_ICONSTOP);
  // The program may have ended the form while the notice was open.
  if (IsWindow(window)) form.busy = false;
}

void Send(ComposeForm& form) {
  const ComposedMessage message = ReadFields(form);
  std::optional<ComposeMode> way;
  const HRESULT result = SendComposedMessage(message, &way, [window = form.window](HRESULT answer) {
    PostMessageW(window, kHelperAnswered, static_cast<WPARAM>(answer), 0);
  });
  if (result == S_FALSE) {
    form.busy = true;  // until the helper answers
    return;
  }
  Sent(form, way, result);
}

// ---- messages ------------------------------------------------------------------------------
LRESULT OnCommand(ComposeForm& form, WPARAM wParam, LPARAM lParam) {
  const WORD code = HIWORD(wParam);
  if (lParam != 0) {  // a field's notice
    if (code == EN_SETFOCUS) form.lastFocus = HWND{static_cast<std::uint32_t>(lParam)};
    if (code == EN_SETFOCUS || code == EN_KILLFOCUS) InvalidateRect(form.window, nullptr, FALSE);
    return 0;
  }
  if (form.busy) return 0;
  if (LOWORD(wParam) == kSend) Send(form);
  else if (LOWORD(wParam) == kCancel) DestroyWindow(form.window);
  return 0;
}

LRESULT OnHelperAnswered(ComposeForm& form, WPARAM answer, LPARAM) {
  form.busy = false;
  Sent(form, ComposeMode::Desktop, static_cast<HRESULT>(answer));
  return 0;
}

LRESULT OnClose(ComposeForm& form, WPARAM, LPARAM) {
  if (!form.busy) DestroyWindow(form.window);
  return 0;
}

LRESULT OnKeyDown(ComposeForm& form, WPARAM key, LPARAM) {
  if (key == static_cast<WPARAM>(VK_ESCAPE) && !form.busy) DestroyWindow(form.window);
  return 0;
}

LRESULT OnSize(ComposeForm& form, WPARAM, LPARAM) {
  LayOut(form);
  return 0;
}

// The panel going up or down fits the form above it (the body shrinks or grows); a turned
// screen gives the form its new place, and perhaps a new DPI.
LRESULT OnSettingChange(ComposeForm& form, WPARAM wParam, LPARAM lParam) {
  if (wParam == SPI_SETSIPINFO) {
    SHHandleWMSettingChange(form.window, wParam, lParam, &form.activation);
  } else if (wParam == SETTINGCHANGE_RESET) {
    Restyle(form);
    shell::FollowScreen(form.window, wParam, shell::VisibleDesktop());
    LayOut(form);
  }
  return 0;
}

LRESULT OnActivate(ComposeForm& form, WPARAM wParam, LPARAM lParam) {
  SHHandleWMActivate(form.window, wParam, lParam, &form.activation, 0);
  return 0;
}

// The form itself never keeps the focus: it goes on to the field that had it.
LRESULT OnSetFocus(ComposeForm& form, WPARAM, LPARAM) {
  if (IsWindow(form.lastFocus) && IsChild(form.window, form.lastFocus)) SetFocus(form.lastFocus);
  return 0;
}

// A tap on a label or on a field's frame puts the focus in that field.
LRESULT OnButtonDown(ComposeForm& form, WPARAM, LPARAM lParam) {
  const POINT p = user::StylusPoint(lParam);
  for (const ComposeField f : kFields) {
    const ComposeFieldPlace& place = form.layout[f];
    for (const RECT& r : {place.label, place.frame})
      if (shell::Contains(r, p)) {
        if (const HWND edit = form.field(f)) SetFocus(edit);
        return 0;
      }
  }
  return 0;
}

void Paint(ComposeForm& form, HDC dc, const RECT& client) {
  look::Fill(dc, client, look::palette::kWindow);
  const ScopedSelect font(dc, HGDIOBJ(form.font.get()));
  const HWND focus = GetFocus();
  for (const ComposeField f : kFields) {
    const ComposeFieldPlace& place = form.layout[f];
    if (!form.has(f) || f == ComposeField::Body) continue;
    look::Text(dc, place.label, kLabels[IndexOf(f)], look::palette::kText,
               DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    const bool focused = focus && focus == form.field(f);
    look::Frame(dc, place.frame, form.layout.frameWidth,
                focused ? look::palette::kAccent : look::palette::kEdge);
  }
  look::Fill(dc, form.layout.rule, look::palette::kEdge);
}

// ---- open forms (for tests) ----------------------------------------------------------------
struct OpenForm {
  HWND window;
  bool email;
};
struct OpenForms {
  std::mutex mutex;
  std::vector<OpenForm> forms;  // newest last
};
OpenForms& Open() {
  static OpenForms* const open = new OpenForms;
  return *open;
}

LRESULT OnDestroy(ComposeForm& form, WPARAM, LPARAM) {
  std::lock_guard lock(Open().mutex);
  std::erase_if(Open().forms, [&](const OpenForm& f) { return f.window == form.window; });
  return 0;
}

// ---- the table -----------------------------------------------------------------------------
constexpr user::Route<ComposeForm> kRoutes[] = {
    {WM_PAINT,         user::PaintThrough<ComposeForm, Paint>},
    {WM_COMMAND,       OnCommand},
    {kHelperAnswered,  OnHelperAnswered},
    {WM_CLOSE,         OnClose},
    {WM_KEYDOWN,       OnKeyDown},
    {WM_SIZE,          OnSize},
    {WM_SETTINGCHANGE, OnSettingChange},
    {WM_ACTIVATE,      OnActivate},
    {WM_SETFOCUS,      OnSetFocus},
    {WM_LBUTTONDOWN,   OnButtonDown},
    {WM_DESTROY,       OnDestroy},
};

}  // namespace
}  // namespace pda::messaging

// ---- MailComposeMessage --------------------------------------------------------------------
HRESULT MailComposeMessage(MAILCOMPOSEFIELDS* fields) {
  using namespace pda::messaging;
  const std::optional<ComposedMessage> message = ComposedMessageFromFields(fields);
  if (!message) return E_INVALIDARG;
  if (!pda::controls::RegisterControlClasses() ||
      !pda::user::RegisterShapedClass<ComposeForm, kRoutes>(kFormClass, 0,
                                                            pda::shell::ShellInstance()))
    return E_FAIL;
  const RECT place = pda::shell::VisibleDesktop();
  const HWND window = CreateWindowExW(
      0, kFormClass, TitleOf(message->kind), WS_CLIPCHILDREN, place.left, place.top,
      place.right - place.left, place.bottom - place.top, HWND{}, HANDLE{},
      pda::shell::ShellInstance(), const_cast<ComposedMessage*>(&*message));
  if (!window) return E_FAIL;
  {
    std::lock_guard lock(Open().mutex);
    Open().forms.push_back({window, message->kind == ComposedMessage::Kind::Email});
  }
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);  // the focus goes on to the first field to fill in
  return S_OK;
}

namespace pda::testing {

std::optional<ComposeFormInfo> OpenComposeForm() {
  using namespace pda::messaging;
  OpenForm newest;
  {
    std::lock_guard lock(Open().mutex);
    if (Open().forms.empty()) return std::nullopt;
    newest = Open().forms.back();
  }
  const auto text = [&](ComposeField f) { return TextOf(GetDlgItem(newest.window, IdOf(f))); };
  return ComposeFormInfo{newest.window, newest.email, text(ComposeField::To),
                         newest.email ? text(ComposeField::Subject) : std::u16string(),
                         text(ComposeField::From), text(ComposeField::Body)};
}

}  // namespace pda::testing
