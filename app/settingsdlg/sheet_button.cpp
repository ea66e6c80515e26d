#include "settingsdlg/sheet_button.h"

#include <cstring>

#include "screen/surface.h"

SheetButton g_BackButton;
SheetButton g_NextButton;

namespace {

void DeleteImages(SheetButton* b) {
  DeleteDC(b->hdcNormal);
  DeleteDC(b->hdcPressed);
  DeleteDC(b->hdcDisabled);
  DeleteObject(b->hbmNormal);
  DeleteObject(b->hbmPressed);
  DeleteObject(b->hbmDisabled);
}

void FillImage(HDC hdc, const RECT* rc, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(hdc, rc, brush);
  DeleteObject(brush);
}

// The pressed image: a horizontal gradient, light at the outer edge of the pair of buttons.
void FillPressed(HDC hdc, const RECT* rc, BOOL leftHand) {
  const COLORREF left = leftHand ? SHEET_BUTTON_LIGHT : SHEET_BUTTON_FILL;
  const COLORREF right = leftHand ? SHEET_BUTTON_FILL : SHEET_BUTTON_LIGHT;
  TRIVERTEX vertex[2] = {ColorVertex(rc->left, rc->top, left),
                         ColorVertex(rc->right, rc->bottom, right)};
  GRADIENT_RECT mesh = {0, 1};
  GradientFill(hdc, vertex, 2, &mesh, 1, GRADIENT_FILL_RECT_H);
}

int CaptionLeft(int w, int c, int m, BOOL leftHand, bool highRes) {
  if (leftHand) return (w - (c - 1) * m) / 2;
  if (highRes) return static_cast<int>(w - (c - 6.5) * m) / 2;
  return (w - (c - 6) * m) / 2;
}

void Render(SheetButton* b, int x, int y, int w, int h, BOOL leftHand) {
  b->x = x;
  b->y = y;
  b->width = w;
  b->height = h;
  b->imageX = 0;
  b->imageY = 0;
  b->imageWidth = w;
  b->imageHeight = h;
  const RECT rc = {0, 0, w, h};

  // Normal, pressed and disabled, each a context with its bitmap, font and transparent text.
  HDC* const dcs[] = {&b->hdcNormal, &b->hdcPressed, &b->hdcDisabled};
  HBITMAP* const bitmaps[] = {&b->hbmNormal, &b->hbmPressed, &b->hbmDisabled};
  const bool highRes = IsHighResolution();
  const HFONT font = highRes ? g_HeaderFont26.hfont : g_HeaderFont14.hfont;
  HDC screen = GetDC(nullptr);
  if (b->hdcNormal) DeleteImages(b);
  for (int i = 0; i < 3; ++i) {
    *dcs[i] = CreateCompatibleDC(screen);
    *bitmaps[i] = CreateCompatibleBitmap(screen, w, h);
  }
  ReleaseDC(nullptr, screen);
  for (int i = 0; i < 3; ++i) {
    SelectObject(*dcs[i], *bitmaps[i]);
    SelectObject(*dcs[i], font);
    SetBkMode(*dcs[i], TRANSPARENT);
  }
  SetTextColor(b->hdcNormal, SHEET_BUTTON_CAPTION);
  SetTextColor(b->hdcPressed, SHEET_BUTTON_CAPTION);
  SetTextColor(b->hdcDisabled, SHEET_BUTTON_GREY);
  const int ty = static_cast<int>(h * (highRes ? 0.18 : 0.22));

  FillImage(b->hdcNormal, &rc, SHEET_BUTTON_FILL);
  FillImage(b->hdcDisabled, &rc, SHEET_BUTTON_FILL);
  TEXTMETRICW tm = {};
  GetTextMetricsW(b->hdcNormal, &tm);
  FillPressed(b->hdcPressed, &rc, leftHand);

  const UINT c = static_cast<UINT>(lstrlenW(b->caption));
  const int tx = CaptionLeft(w, static_cast<int>(c), tm.tmMaxCharWidth, leftHand, highRes);
  ExtTextOutW(b->hdcNormal, tx, ty, 0, nullptr, b->caption, c, nullptr);
  ExtTextOutW(b->hdcDisabled, tx, ty, 0, nullptr, b->caption, c, nullptr);
  SetTextColor(b->hdcPressed, SHEET_BUTTON_SHADOW);  // a shadow two pixels right and down
  ExtTextOutW(b->hdcPressed, tx + 2, ty + 2, 0, nullptr, b->caption, c, nullptr);
  SetTextColor(b->hdcPressed, SHEET_BUTTON_CAPTION);
  ExtTextOutW(b->hdcPressed, tx, ty, 0, nullptr, b->caption, c, nullptr);
}

}  // namespace

void SheetButtonClear(SheetButton* b) {
  b->hdcNormal = b->hdcPressed = b->hdcDisabled = nullptr;
  b->hbmNormal = b->hbmPressed = b->hbmDisabled = nullptr;
}

void SheetButtonBind(SheetButton* b, HWND parent, HINSTANCE hinst, UINT id) {
  b->hwndParent = parent;
  b->hInstance = hinst;
  b->id = id;
}

int SheetButtonCreate(SheetButton* b, LPCWSTR caption, int x, int y, int width, int height,
                      BOOL leftHand) {
  StringCchCopyW(b->caption, SHEET_CAPTION_CHARS, caption);
  Render(b, x, y, width, height, leftHand);
  b->hwndButton = CreateWindowExW(0, WC_BUTTONW, b->caption, SHEET_BUTTON_STYLE, x, y, width,
                                  height, b->hwndParent, HANDLE{b->id}, b->hInstance, nullptr);
  return 0;
}

void SheetButtonMove(SheetButton* b, int x, int y, int width, int height, BOOL leftHand) {
  MoveWindow(b->hwndButton, x, y, width, height, FALSE);
  Render(b, x, y, width, height, leftHand);
}

void SheetButtonDraw(const SheetButton* b, const DRAWITEMSTRUCT* dis) {
  HDC image = nullptr;
  if (dis->itemAction == ODA_DRAWENTIRE)
    image = (dis->itemState & ODS_DISABLED) ? b->hdcDisabled : b->hdcNormal;
  else if (dis->itemAction == ODA_SELECT)
    image = (dis->itemState & ODS_SELECTED) ? b->hdcPressed : b->hdcNormal;
  if (image)
    BitBlt(dis->hDC, b->imageX, b->imageY, b->imageWidth, b->imageHeight, image, 0, 0, SRCCOPY);
}

void SheetButtonRelease(SheetButton* b) {
  if (b->hdcNormal) DeleteImages(b);
  SheetButtonClear(b);
}
