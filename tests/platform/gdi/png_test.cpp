// PNG: a surface survives encode and decode unchanged; bad bytes are refused; bitmaps made
// from PNG bytes have the image's size and pixels.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "gdi/bitmaps.h"
#include "gdi/png_codec.h"
#include "gdi_fixtures.h"

namespace {

using pda::gdi::Pixels;

Pixels Pattern(int w, int h) {
  Pixels pixels = *Pixels::Create(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      pixels.row(y)[x] = static_cast<std::uint32_t>((x * 37) << 16 | (y * 53) << 8 | (x ^ y)) & 0xFFFFFF;
  pixels.row(0)[0] |= 0xC8000000u;  // garbage in the unused byte must not matter
  return pixels;
}

TEST(Png, RoundTripKeepsEveryPixel) {
  const Pixels original = Pattern(7, 5);
  const std::vector<std::uint8_t> png = pda::gdi::EncodePng(original);
  ASSERT_FALSE(png.empty());
  const std::optional<Pixels> decoded = pda::gdi::DecodePng(png);
  ASSERT_TRUE(decoded);
  ASSERT_EQ(decoded->width(), 7);
  ASSERT_EQ(decoded->height(), 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) EXPECT_EQ(decoded->Color(x, y), original.Color(x, y)) << x << "," << y;
}

TEST(Png, RefusesWhatIsNotAPng) {
  const std::vector<std::uint8_t> junk = {0x89, 'P', 'N', 'G', 1, 2, 3};
  EXPECT_FALSE(pda::gdi::DecodePng(junk));
  EXPECT_FALSE(pda::gdi::DecodePng({}));
  std::vector<std::uint8_t> truncated = pda::gdi::EncodePng(Pattern(8, 8));
  truncated.resize(truncated.size() / 2);
  EXPECT_FALSE(pda::gdi::DecodePng(truncated));
  EXPECT_FALSE(pda::gdi::CreateBitmapFromPng(junk));
}

TEST(Png, BitmapFromPngDrawsItsPixels) {
  const std::vector<std::uint8_t> png = pda::gdi::EncodePng(Pattern(4, 3));
  gdi_test::UniqueObject<HBITMAP> bitmap(pda::gdi::CreateBitmapFromPng(png));
  ASSERT_TRUE(bitmap);
  BITMAP info{};
  GetObjectW(bitmap.get(), sizeof info, &info);
  EXPECT_EQ(info.bmWidth, 4);
  EXPECT_EQ(info.bmHeight, 3);
  gdi_test::UniqueDC dc(CreateCompatibleDC(nullptr));
  const pda::ScopedSelect selected(dc.get(), bitmap.get());
  // Pixel (3, 2) of the pattern is R = 111, G = 106, B = 1.
  EXPECT_EQ(GetPixel(dc.get(), 3, 2), RGB(111, 106, 1));
}

TEST(Png, WritesAFileThatReadsBack) {
  const std::string path = ::testing::TempDir() + "gdi_png_test.png";
  ASSERT_TRUE(pda::gdi::WritePngFile(Pattern(3, 3), path));
  std::ifstream file(path, std::ios::binary);
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                        std::istreambuf_iterator<char>());
  const std::optional<Pixels> decoded = pda::gdi::DecodePng(bytes);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->Color(2, 2), Pattern(3, 3).Color(2, 2));
  std::remove(path.c_str());
}

}  // namespace
