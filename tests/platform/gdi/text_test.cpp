// Fonts and text: glyphs land inside the measured extent, and height, weight, underline and
// colour requests are honoured. The fonts are whatever fontconfig gives for "Tahoma" and
// "Courier New" here, so the checks are invariants, not exact pixels.
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "gdi/font_face.h"
#include "gdi/font_match.h"
#include "gdi_fixtures.h"

namespace {

using gdi_test::MemoryCanvas;
using gdi_test::UniqueObject;

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

UniqueObject<HFONT> MakeFont(LONG height, LONG weight = FW_MEDIUM, bool underline = false,
                             const char16_t* face = u"Tahoma") {
  LOGFONTW lf;
  std::memset(&lf, 0, sizeof lf);
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfUnderline = underline ? 1 : 0;
  lf.lfCharSet = EASTEUROPE_CHARSET;
  lf.lfOutPrecision = 6;
  lf.lfQuality = CLEARTYPE_QUALITY;
  std::u16string name(face);
  std::copy(name.begin(), name.end(), lf.lfFaceName);
  return UniqueObject<HFONT>(CreateFontIndirectW(&lf));
}

// A canvas with white-on-black transparent text in a given font.
struct TextCanvas {
  MemoryCanvas canvas;
  pda::ScopedSelect font;
  TextCanvas(int w, int h, HFONT f) : canvas(w, h, kBlack), font(canvas.dc(), f) {
    SetTextColor(canvas.dc(), kWhite);
    SetBkMode(canvas.dc(), TRANSPARENT);
  }
  HDC dc() const { return canvas.dc(); }
  SIZE Extent(std::u16string_view text) const {
    SIZE size{};
    GetTextExtentPoint32W(dc(), text.data(), static_cast<int>(text.size()), &size);
    return size;
  }
  void Draw(int x, int y, std::u16string_view text) const {
    ExtTextOutW(dc(), x, y, 0, nullptr, text.data(), static_cast<UINT>(text.size()), nullptr);
  }
  // Sum of the red channel over a box: how much white ink landed there.
  long Ink(RECT box) const {
    long ink = 0;
    for (int y = box.top; y < box.bottom; ++y)
      for (int x = box.left; x < box.right; ++x) ink += GetRValue(canvas.At(x, y));
    return ink;
  }
  // Rows that hold any ink, first and last (-1 when none).
  std::pair<int, int> InkRows(int w, int h) const {
    int first = -1, last = -1;
    for (int y = 0; y < h; ++y)
      if (Ink(RECT{0, y, w, y + 1}) > 0) {
        if (first < 0) first = y;
        last = y;
      }
    return {first, last};
  }
};

TEST(Fonts, FacesResolveToSystemFonts) {
  for (const char16_t* face : {u"Tahoma", u"Courier New", u"No Such Face"}) {
    UniqueObject<HFONT> font = MakeFont(-16, FW_NORMAL, false, face);
    EXPECT_TRUE(font) << std::string(face, face + std::char_traits<char16_t>::length(face));
  }
}

TEST(ExtTextOut, GlyphsLandInsideTheExtentAndNowhereElse) {
  UniqueObject<HFONT> font = MakeFont(-16);
  TextCanvas text(120, 40, font.get());
  const std::u16string line = u"Latitude 47.6";
  const SIZE size = text.Extent(line);
  ASSERT_GT(size.cx, 0);
  text.Draw(5, 7, line);
  const RECT inside{5, 7, 5 + size.cx, 7 + size.cy};
  EXPECT_GT(text.Ink(inside), 0);
  EXPECT_EQ(text.Ink(RECT{0, 0, 120, 40}), text.Ink(inside)) << "ink outside the extent";
}

TEST(ExtTextOut, ReferencePointIsTheTopOfTheCell) {
  UniqueObject<HFONT> font = MakeFont(-20);
  TextCanvas text(60, 60, font.get());
  TEXTMETRICW tm{};
  ASSERT_TRUE(GetTextMetricsW(text.dc(), &tm));
  text.Draw(0, 10, u"H");
  const auto [first, last] = text.InkRows(60, 60);
  // "H" stands on the baseline (10 + ascent) and reaches up to about the cap height.
  EXPECT_GE(first, 10);
  EXPECT_LE(last, 10 + tm.tmAscent);
  EXPECT_GE(last, 10 + tm.tmAscent - 2);
}

TEST(ExtTextOut, OpaqueModeFillsTheCellWithTheBackgroundColour) {
  UniqueObject<HFONT> font = MakeFont(-12);
  TextCanvas text(60, 30, font.get());
  SetBkMode(text.dc(), OPAQUE);
  SetBkColor(text.dc(), RGB(0, 0, 255));
  text.Draw(2, 2, u"ab");
  const SIZE size = text.Extent(u"ab");
  EXPECT_EQ(text.canvas.At(2, 2), RGB(0, 0, 255));
  EXPECT_EQ(text.canvas.At(2 + size.cx, 2), kBlack);
}

TEST(ExtTextOut, ClippedOptionKeepsInkInsideTheRectangle) {
  UniqueObject<HFONT> font = MakeFont(-16);
  TextCanvas text(100, 30, font.get());
  const RECT clip{0, 0, 12, 30};
  const std::u16string line = u"WWWWW";
  ExtTextOutW(text.dc(), 0, 0, ETO_CLIPPED, &clip, line.data(), 5, nullptr);
  EXPECT_GT(text.Ink(clip), 0);
  EXPECT_EQ(text.Ink(RECT{12, 0, 100, 30}), 0);
}

TEST(Fonts, HeightIsHonoured) {
  UniqueObject<HFONT> small = MakeFont(-16), large = MakeFont(-32);
  TextCanvas a(200, 60, small.get()), b(200, 60, large.get());
  TEXTMETRICW ta{}, tb{};
  GetTextMetricsW(a.dc(), &ta);
  GetTextMetricsW(b.dc(), &tb);
  EXPECT_GT(tb.tmHeight, ta.tmHeight);
  EXPECT_EQ(ta.tmHeight, ta.tmAscent + ta.tmDescent);
  // A negative height is the character height: the cell minus the internal leading.
  EXPECT_EQ(ta.tmHeight - ta.tmInternalLeading, 16);
  EXPECT_EQ(tb.tmHeight - tb.tmInternalLeading, 32);
  EXPECT_GT(b.Extent(u"Longitude").cx, a.Extent(u"Longitude").cx);
  EXPECT_EQ(a.Extent(u"Longitude").cy, ta.tmHeight);
}

TEST(Fonts, PositiveHeightIsTheCellHeight) {
  for (LONG cell : {14, 26, 40}) {
    UniqueObject<HFONT> font = MakeFont(cell);
    TextCanvas text(10, 10, font.get());
    TEXTMETRICW tm{};
    GetTextMetricsW(text.dc(), &tm);
    EXPECT_NEAR(tm.tmHeight, cell, 1) << cell;
  }
}

TEST(Fonts, BoldHasMoreInkThanNormal) {
  UniqueObject<HFONT> normal = MakeFont(-20, FW_MEDIUM), bold = MakeFont(-20, FW_BOLD);
  TextCanvas a(200, 40, normal.get()), b(200, 40, bold.get());
  a.Draw(0, 0, u"Satellite count");
  b.Draw(0, 0, u"Satellite count");
  EXPECT_GT(b.Ink(RECT{0, 0, 200, 40}), a.Ink(RECT{0, 0, 200, 40}) * 11 / 10);
}

TEST(Fonts, UnderlineIsARowOfInkBelowTheBaseline) {
  UniqueObject<HFONT> font = MakeFont(-20, FW_MEDIUM, true);
  TextCanvas text(200, 40, font.get());
  TEXTMETRICW tm{};
  GetTextMetricsW(text.dc(), &tm);
  EXPECT_EQ(tm.tmUnderlined, 1);
  const std::u16string word = u"Latitude";
  text.Draw(0, 0, word);
  const SIZE size = text.Extent(word);
  // "Latitude" has no descenders, so a fully inked row below the baseline is the underline.
  int full_rows = 0;
  for (int y = tm.tmAscent; y < tm.tmHeight; ++y) {
    int inked = 0;
    for (int x = 0; x < size.cx; ++x) inked += text.canvas.At(x, y) != kBlack;
    full_rows += inked == size.cx;
  }
  EXPECT_GE(full_rows, 1);

  UniqueObject<HFONT> plain = MakeFont(-20, FW_MEDIUM, false);
  TextCanvas no_line(200, 40, plain.get());
  no_line.Draw(0, 0, word);
  EXPECT_EQ(no_line.Ink(RECT{0, tm.tmAscent + 1, 200, 40}), 0);
}

TEST(Fonts, TextColourIsUsed) {
  UniqueObject<HFONT> font = MakeFont(-24, FW_BOLD);
  TextCanvas text(40, 40, font.get());
  SetTextColor(text.dc(), RGB(0, 255, 0));
  text.Draw(0, 0, u"I");
  bool saw_full = false;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) {
      const COLORREF c = text.canvas.At(x, y);
      EXPECT_EQ(GetRValue(c), 0);
      EXPECT_EQ(GetBValue(c), 0);
      saw_full |= c == RGB(0, 255, 0);
    }
  EXPECT_TRUE(saw_full) << "the stem of I is fully covered somewhere";
}

TEST(TextExtent, GrowsWithTheTextAndFitsCount) {
  UniqueObject<HFONT> font = MakeFont(-16);
  TextCanvas text(10, 10, font.get());
  const std::u16string s = u"47.6062095 N";
  int previous = 0;
  for (std::size_t n = 1; n <= s.size(); ++n) {
    const int cx = text.Extent(std::u16string_view(s).substr(0, n)).cx;
    EXPECT_GE(cx, previous) << n;
    previous = cx;
  }
  EXPECT_GT(previous, 0);
  int extents[12] = {};
  SIZE size{};
  ASSERT_TRUE(GetTextExtentExPointW(text.dc(), s.data(), 12, 0, nullptr, extents, &size));
  EXPECT_EQ(size.cx, extents[11]);
  // Exactly the first five characters fit in the extent of five.
  int fit = -1;
  ASSERT_TRUE(GetTextExtentExPointW(text.dc(), s.data(), 12, extents[4], &fit, nullptr, &size));
  EXPECT_EQ(fit, 5);
}

TEST(DrawText, CalcRectMeasuresWithoutDrawing) {
  UniqueObject<HFONT> font = MakeFont(-16);
  TextCanvas text(100, 100, font.get());
  RECT r{10, 10, 60, 10};
  const std::u16string s = u"one two three four five";
  const int height =
      DrawTextW(text.dc(), s.data(), -1, &r, DT_WORDBREAK | DT_CALCRECT | DT_NOPREFIX);
  TEXTMETRICW tm{};
  GetTextMetricsW(text.dc(), &tm);
  EXPECT_GT(height, tm.tmHeight) << "wrapped onto several lines";
  EXPECT_EQ(height % tm.tmHeight, 0);
  EXPECT_EQ(r.bottom, 10 + height);
  EXPECT_LE(r.right, 60);
  EXPECT_EQ(text.Ink(RECT{0, 0, 100, 100}), 0);
}

TEST(DrawText, AlignmentPlacesTheLine) {
  UniqueObject<HFONT> font = MakeFont(-16);
  struct Case {
    const char* name;
    UINT format;
  };
  const Case cases[] = {{"left", DT_LEFT}, {"center", DT_CENTER}, {"right", DT_RIGHT}};
  int previous_left = -1;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TextCanvas text(120, 30, font.get());
    RECT r{0, 0, 120, 30};
    DrawTextW(text.dc(), u"OK", -1, &r, c.format | DT_SINGLELINE | DT_VCENTER);
    int left = -1;
    for (int x = 0; x < 120 && left < 0; ++x)
      if (text.Ink(RECT{x, 0, x + 1, 30}) > 0) left = x;
    EXPECT_GT(left, previous_left);
    previous_left = left;
    const auto [first, last] = text.InkRows(120, 30);
    EXPECT_GT(first, 0);
    EXPECT_LT(last, 29);
  }
}

TEST(DrawText, ClipsToTheRectangleUnlessNoClip) {
  UniqueObject<HFONT> font = MakeFont(-16);
  TextCanvas clipped(100, 30, font.get()), unclipped(100, 30, font.get());
  RECT r{0, 0, 10, 30};
  DrawTextW(clipped.dc(), u"WWWW", -1, &r, DT_SINGLELINE);
  DrawTextW(unclipped.dc(), u"WWWW", -1, &r, DT_SINGLELINE | DT_NOCLIP);
  EXPECT_EQ(clipped.Ink(RECT{10, 0, 100, 30}), 0);
  EXPECT_GT(unclipped.Ink(RECT{10, 0, 100, 30}), 0);
}

// Everything drawn in a box of the canvas, pixel by pixel.
std::vector<COLORREF> Picture(const TextCanvas& text, int w, int h) {
  std::vector<COLORREF> pixels;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) pixels.push_back(text.canvas.At(x, y));
  return pixels;
}

// Draws the line in a font size no other test uses from two threads at once, then from one
// alone; each must get the alone picture.
void ExpectTwoThreadsDrawAsOne(LONG height, std::u16string_view line) {
  auto draw = [height, line](std::vector<COLORREF>* pixels) {
    UniqueObject<HFONT> font = MakeFont(height, FW_BOLD);
    TextCanvas text(160, 30, font.get());
    text.Draw(1, 1, line);
    *pixels = Picture(text, 160, 30);
  };
  std::vector<COLORREF> a, b, alone;
  std::thread first(draw, &a), second(draw, &b);
  first.join();
  second.join();
  draw(&alone);
  EXPECT_EQ(a, alone);
  EXPECT_EQ(b, alone);
}

// Fonts, glyph caches and the handle tables are shared by all threads: two threads that open
// the same new font size and draw at once must each get the picture one thread alone gets.
TEST(Fonts, TwoThreadsDrawTheSamePictureAsOne) {
  ExpectTwoThreadsDrawAsOne(-23, u"Satellite count: 5 / 9");
}

// ---- characters the face lacks -------------------------------------------------------------
// "Tahoma" is Liberation Sans here, which has Latin and Greek but not the arrows of the input
// panel's Enter and Shift keys, nor Georgian; DejaVu Sans has those.

bool SomeFontHas(char32_t code_point) {
  FcCharSet* characters = FcCharSetCreate();
  FcCharSetAddChar(characters, code_point);
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddCharSet(pattern, FC_CHARSET, characters);
  FcObjectSet* objects = FcObjectSetBuild(FC_FILE, nullptr);
  FcFontSet* fonts = FcFontList(nullptr, pattern, objects);
  const bool found = fonts && fonts->nfont > 0;
  if (fonts) FcFontSetDestroy(fonts);
  FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  FcCharSetDestroy(characters);
  return found;
}

// A character no font on this machine has: a private-use one, or else an unassigned one.
std::u16string MissingEverywhere() {
  for (char32_t c : {U'\uE000', U'\u0378', U'\uFDD0'})
    if (!SomeFontHas(c)) return std::u16string(1, static_cast<char16_t>(c));
  ADD_FAILURE() << "every candidate is covered by some font";
  return u"\uE000";
}

// Each character is drawn and measured as itself, at every size of the system face: ink inside
// its extent and nowhere else, and no two of them alike (the face's own missing-glyph box would
// make them all alike). The one no font has is an outlined box: its ink's middle is empty.
TEST(FontFallback, CharactersTheFaceLacksAreDrawnAsThemselvesAtEverySize) {
  const std::u16string missing = MissingEverywhere();
  struct Character {
    const char* name;
    std::u16string text;
  };
  const Character characters[] = {
      {"Enter key label U+21B5", u"\u21B5"},
      {"Shift key label U+21E7", u"\u21E7"},
      {"Georgian letter an", u"\u10D0"},
      {"no font has it", missing},
  };
  for (LONG height : {-9, -12, -16, -24, -40}) {
    for (LONG weight : {FW_NORMAL, FW_BOLD}) {
      UniqueObject<HFONT> font = MakeFont(height, weight);
      std::vector<std::vector<COLORREF>> pictures;
      for (const Character& c : characters) {
        SCOPED_TRACE(testing::Message() << c.name << " at " << height << ", weight " << weight);
        TextCanvas text(80, 60, font.get());
        const SIZE size = text.Extent(c.text);
        EXPECT_GT(size.cx, 0);
        text.Draw(8, 4, c.text);
        const RECT inside{8, 4, 8 + size.cx, 4 + size.cy};
        EXPECT_GT(text.Ink(inside), 0);
        EXPECT_EQ(text.Ink(RECT{0, 0, 80, 60}), text.Ink(inside)) << "ink outside the extent";
        pictures.push_back(Picture(text, 80, 60));
      }
      for (std::size_t i = 0; i < pictures.size(); ++i)
        for (std::size_t j = i + 1; j < pictures.size(); ++j)
          EXPECT_NE(pictures[i], pictures[j])
              << characters[i].name << " and " << characters[j].name << " look alike at "
              << height << ", weight " << weight;

      TextCanvas box(80, 60, font.get());
      box.Draw(8, 4, missing);
      int left = 80, right = -1, top = 60, bottom = -1;
      for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 80; ++x)
          if (box.canvas.At(x, y) != kBlack) {
            left = std::min(left, x), right = std::max(right, x);
            top = std::min(top, y), bottom = std::max(bottom, y);
          }
      EXPECT_EQ(box.canvas.At((left + right) / 2, (top + bottom) / 2), kBlack)
          << "the missing-character box is an outline, at " << height;
    }
  }
}

// A line measures the sum of its parts and draws what its parts draw side by side, whichever
// face each character comes from: what measures text (the EDIT control's caret and wrapping)
// and what draws it agree to the pixel.
void ExpectLineIsItsParts(const std::vector<std::u16string>& parts) {
  UniqueObject<HFONT> font = MakeFont(-16);
  TextCanvas whole(400, 30, font.get()), pieces(400, 30, font.get());
  std::u16string line;
  int x = 2;
  for (const std::u16string& part : parts) {
    line += part;
    pieces.Draw(x, 2, part);
    const int width = pieces.Extent(part).cx;
    EXPECT_GT(width, 0);
    x += width;
  }
  const SIZE size = whole.Extent(line);
  EXPECT_EQ(size.cx, x - 2);
  ASSERT_LT(size.cx, 390) << "the canvas is too small for the line";
  TEXTMETRICW tm{};
  GetTextMetricsW(whole.dc(), &tm);
  EXPECT_EQ(size.cy, tm.tmHeight) << "the line keeps the face's own height";
  whole.Draw(2, 2, line);
  EXPECT_EQ(Picture(whole, 400, 30), Picture(pieces, 400, 30));
}

TEST(FontFallback, MixedLineIsTheSumOfItsParts) {
  ExpectLineIsItsParts({u"Lat 47.6 ", u"\u0394\u03B5\u03BB\u03C6\u03BF\u03AF ",
                        u"\u10D0\u10D1\u10D2", u"\u21B5\u21E7", MissingEverywhere(),
                        u"caf\u00E9"});
}

TEST(FontFallback, MixedLineWithCjkIsTheSumOfItsParts) {
  if (!SomeFontHas(U'\u6771') || !SomeFontHas(U'\u4EAC'))
    GTEST_SKIP() << "no font on this machine has the CJK characters (fc-list :charset=6771)";
  ExpectLineIsItsParts({u"Tokyo ", u"\u6771\u4EAC", u" \u03C0"});
}

// The fallback faces and the per-character lookups are shared too.
TEST(FontFallback, TwoThreadsDrawTheSamePictureAsOne) {
  ExpectTwoThreadsDrawAsOne(-21, u"\u21B5 \u21E7 \u10D0\u10D1 \u00E9 \uE000");
}

// ---- font files ----------------------------------------------------------------------------
// A face reads its file through a descriptor of its own. Only a regular file opens: a FIFO
// nobody writes to would hold the opening thread for good, a folder or a device is no font. The
// system face's own file opens and draws a glyph, read only through that descriptor.
TEST(FontFace, OnlyARegularFontFileOpens) {
  FT_Library library = nullptr;
  ASSERT_EQ(FT_Init_FreeType(&library), 0);
  std::string folder = ::testing::TempDir() + "font_face_XXXXXX";
  ASSERT_NE(mkdtemp(folder.data()), nullptr);
  const std::string fifo = folder + "/fifo.ttf";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path : {fifo, folder, std::string("/dev/zero"), folder + "/none.ttf"})
    EXPECT_EQ(pda::gdi::FontFace::Open(library, path, 0), nullptr) << path;

  const std::optional<pda::gdi::FontFile> system = pda::gdi::MatchFont("Tahoma", FW_NORMAL, false);
  ASSERT_TRUE(system);
  {
    std::unique_ptr<pda::gdi::FontFace> face = pda::gdi::FontFace::Open(library, system->path, 0);
    ASSERT_NE(face, nullptr) << system->path;
    ASSERT_EQ(FT_Set_Pixel_Sizes(face->get(), 0, 20), 0);
    ASSERT_EQ(FT_Load_Char(face->get(), U'g', FT_LOAD_RENDER), 0);
    EXPECT_GT(face->get()->glyph->bitmap.rows, 0u);
  }
  FT_Done_FreeType(library);
  unlink(fifo.c_str());
  rmdir(folder.c_str());
}

}  // namespace
