// The drawing library under a main-screen paint at 480x640: gradient background, two
// colour-keyed 86x86 icons, five text lines with fresh fonts, a 77-pixel strip copy, the
// constant-alpha dimming and the final copy. Each step is also measured on its own, and text
// whose characters come from fallback faces beside text the face has.
#include <benchmark/benchmark.h>

#include <cstring>

#include "pda.h"

namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 640;

// A memory context with its own bitmap; the context goes first.
struct Surface {
  HBITMAP bitmap;
  HDC dc;
  Surface(int w, int h) : bitmap(CreateCompatibleBitmap(nullptr, w, h)), dc(CreateCompatibleDC(nullptr)) {
    SelectObject(dc, bitmap);
  }
  ~Surface() {
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;
};

HFONT MakeFont(LONG height, bool underline) {
  LOGFONTW lf;
  std::memset(&lf, 0, sizeof lf);
  lf.lfHeight = height;
  lf.lfWeight = FW_MEDIUM;
  lf.lfUnderline = underline ? 1 : 0;
  lf.lfCharSet = EASTEUROPE_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  std::memcpy(lf.lfFaceName, u"Tahoma", sizeof u"Tahoma");
  return CreateFontIndirectW(&lf);
}

void Gradient(HDC dc) {
  TRIVERTEX v[2] = {{0, 0, 92 << 8, 98 << 8, 104 << 8, 0},
                    {kWidth, kHeight, 46 << 8, 54 << 8, 66 << 8, 0}};
  GRADIENT_RECT r{0, 1};
  GradientFill(dc, v, 2, &r, 1, GRADIENT_FILL_RECT_V);
}

void Text(HDC dc, int x, int y, LONG height, bool underline, const char16_t* text) {
  HFONT font = MakeFont(height, underline);
  HGDIOBJ old = SelectObject(dc, font);
  ExtTextOutW(dc, x, y, 0, nullptr, text, static_cast<UINT>(std::char_traits<char16_t>::length(text)),
              nullptr);
  SelectObject(dc, old);
  DeleteObject(font);
}

struct Scene {
  Surface screen{kWidth, kHeight};
  Surface background{kWidth, kHeight};
  Surface dimming{kWidth, kHeight};
  Surface icon{86, 86};
  Surface strip{kWidth, 77};
  Surface window{kWidth, kHeight};
  Scene() {
    Gradient(background.dc);
    HBRUSH grey = CreateSolidBrush(RGB(200, 200, 200));
    const RECT disc{10, 10, 76, 76};
    FillRect(icon.dc, &disc, grey);
    const RECT all{0, 0, kWidth, 77};
    FillRect(strip.dc, &all, grey);
    DeleteObject(grey);
    SetTextColor(screen.dc, RGB(255, 255, 255));
    SetBkMode(screen.dc, TRANSPARENT);
  }
  void Paint() {
    BitBlt(screen.dc, 0, 0, kWidth, kHeight, background.dc, 0, 0, SRCCOPY);
    TransparentImage(screen.dc, 67, 140, 86, 86, icon.dc, 0, 0, 86, 86, RGB(0, 0, 0));
    TransparentImage(screen.dc, 67, 313, 86, 86, icon.dc, 0, 0, 86, 86, RGB(0, 0, 0));
    Text(screen.dc, 192, 128, 40, true, u"Latitude");
    Text(screen.dc, 192, 198, 40, false, u"47.6062095 N");
    Text(screen.dc, 192, 300, 40, true, u"Longitude");
    Text(screen.dc, 192, 371, 40, false, u"-122.3320708 W");
    BitBlt(screen.dc, 0, kHeight - 77, kWidth, 77, strip.dc, 0, 0, SRCCOPY);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 200, 0};
    AlphaBlend(screen.dc, 0, 0, kWidth, kHeight, dimming.dc, 0, 0, kWidth, kHeight, blend);
    Text(screen.dc, 67, 12, 26, false, u"Acquiring satellites...");
    BitBlt(window.dc, 0, 0, kWidth, kHeight, screen.dc, 0, 0, SRCCOPY);
  }
};

void BM_WholePaint(benchmark::State& state) {
  Scene scene;
  scene.Paint();  // warm the font and glyph caches, as the second paint of a run would be
  for (auto _ : state) scene.Paint();
}
BENCHMARK(BM_WholePaint)->Unit(benchmark::kMicrosecond);

void BM_GradientFill(benchmark::State& state) {
  Surface s(kWidth, kHeight);
  for (auto _ : state) Gradient(s.dc);
}
BENCHMARK(BM_GradientFill)->Unit(benchmark::kMicrosecond);

void BM_BitBltScreen(benchmark::State& state) {
  Surface a(kWidth, kHeight), b(kWidth, kHeight);
  for (auto _ : state) BitBlt(a.dc, 0, 0, kWidth, kHeight, b.dc, 0, 0, SRCCOPY);
}
BENCHMARK(BM_BitBltScreen)->Unit(benchmark::kMicrosecond);

void BM_AlphaBlendScreen(benchmark::State& state) {
  Surface a(kWidth, kHeight), b(kWidth, kHeight);
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 200, 0};
  for (auto _ : state) AlphaBlend(a.dc, 0, 0, kWidth, kHeight, b.dc, 0, 0, kWidth, kHeight, blend);
}
BENCHMARK(BM_AlphaBlendScreen)->Unit(benchmark::kMicrosecond);

void BM_TransparentIcon(benchmark::State& state) {
  Surface a(kWidth, kHeight), icon(86, 86);
  for (auto _ : state) TransparentImage(a.dc, 10, 10, 86, 86, icon.dc, 0, 0, 86, 86, RGB(0, 0, 0));
}
BENCHMARK(BM_TransparentIcon)->Unit(benchmark::kMicrosecond);

void BM_TextLineWithFreshFont(benchmark::State& state) {
  Surface a(kWidth, 60);
  Text(a.dc, 0, 0, 40, false, u"47.6062095 N");
  for (auto _ : state) Text(a.dc, 0, 0, 40, false, u"47.6062095 N");
}
BENCHMARK(BM_TextLineWithFreshFont)->Unit(benchmark::kMicrosecond);

// Twelve characters the face ("Tahoma", Liberation Sans here) has, beside twelve it lacks:
// arrows and Georgian from a fallback face, and one no font has (drawn as a box).
constexpr const char16_t* kLines[] = {u"47.6062095 N",
                                      u"\u21B5\u21E7 \u10D0\u10D1\u10D2 \u2190\u2192\u2191\u2193 \uE000"};

// The steady state of a screen: the glyphs are cached, wherever they came from.
void BM_TextLineCached(benchmark::State& state) {
  Surface a(kWidth, 60);
  const char16_t* line = kLines[state.range(0)];
  Text(a.dc, 0, 0, 40, false, line);
  for (auto _ : state) Text(a.dc, 0, 0, 40, false, line);
}
BENCHMARK(BM_TextLineCached)->ArgName("fallback")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The first draw of a line at a size not drawn before: faces opened and set to the size,
// fallbacks looked up, glyphs rendered. Each run takes the next size of its own series (even
// pixel heights for the face's own characters, odd for the fallback line) so both see the same
// spread of sizes.
void BM_TextLineFirstDraw(benchmark::State& state) {
  static LONG next_height[2] = {20, 21};
  Surface a(kWidth, 300);
  const int which = static_cast<int>(state.range(0));
  for (auto _ : state) {
    Text(a.dc, 0, 0, -next_height[which], false, kLines[which]);
    next_height[which] += 2;
  }
}
BENCHMARK(BM_TextLineFirstDraw)
    ->ArgName("fallback")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(50)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
