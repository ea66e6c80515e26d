// Screenshot comparison: what matches, what fails, the files a failure leaves behind, and the
// update mode.
#include "screenshot_compare.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace zaz::testing {
namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kYellow = 0xFFFF00;

struct Picture {
  int width;
  int height;
  std::vector<std::uint32_t> pixels;

  // A gradient, so that every pixel differs from its neighbours.
  static Picture Gradient(int w, int h) {
    Picture p{w, h, std::vector<std::uint32_t>(static_cast<std::size_t>(w) * h)};
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        p.at(x, y) = std::uint32_t(x * 20 + 10) << 16 | std::uint32_t(y * 20 + 10) << 8 | 0x80;
    return p;
  }
  std::uint32_t& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
  std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
  PixelView view() const { return {pixels.data(), width, height, width * 4}; }
};

std::optional<Picture> Load(const std::string& path) {
  Picture p{};
  std::string error;
  if (!ReadPng(path, &p.width, &p.height, &p.pixels, &error)) return std::nullopt;
  return p;
}

// Every test gets its own folder for references and failure images; the update switch is off
// unless a test turns it on.
class ScreenshotCompareTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "zaz-screenshot-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    reference_ = (dir_ / "refs" / "screen.png").string();
    options_.failureFolder = (dir_ / "failures").string();
    for (const char* name : {"ZAZ_UPDATE_SCREENSHOTS", "ZAZ_SCREENSHOT_FAILURES"}) {
      if (const char* value = getenv(name)) saved_.emplace_back(name, value);
      unsetenv(name);
    }
  }
  void TearDown() override {
    unsetenv("ZAZ_UPDATE_SCREENSHOTS");
    unsetenv("ZAZ_SCREENSHOT_FAILURES");
    for (const auto& [name, value] : saved_) setenv(name.c_str(), value.c_str(), 1);
    fs::remove_all(dir_);
  }

  void WriteReference(const Picture& p) {
    std::string error;
    ASSERT_TRUE(WritePng(reference_, p.view(), &error)) << error;
  }
  std::string FailurePath(const char* suffix) const { return options_.failureFolder + "/screen" + suffix; }

  fs::path dir_;
  std::string reference_;
  CompareOptions options_;
  std::vector<std::pair<std::string, std::string>> saved_;
};

TEST_F(ScreenshotCompareTest, IdenticalImagesMatchFromPixelsAndFromAFile) {
  const Picture picture = Picture::Gradient(10, 10);
  WriteReference(picture);

  const CompareResult fromPixels = CompareWithReference(picture.view(), reference_, {}, options_);
  EXPECT_EQ(fromPixels.outcome, CompareOutcome::kMatch) << fromPixels.message;
  EXPECT_EQ(fromPixels.differingPixels, 0);
  EXPECT_EQ(fromPixels.totalPixels, 100);
  EXPECT_EQ(fromPixels.largestChannelDelta, 0);

  std::string error;
  const std::string actualPng = (dir_ / "actual.png").string();
  ASSERT_TRUE(WritePng(actualPng, picture.view(), &error)) << error;
  const CompareResult fromFile = CompareWithReference(actualPng, reference_, {}, options_);
  EXPECT_TRUE(fromFile.passed()) << fromFile.message;
  EXPECT_FALSE(fs::exists(options_.failureFolder)) << "a match leaves no failure images";
}

// One pixel changed in one channel, against a per-channel tolerance of 3.
TEST_F(ScreenshotCompareTest, OneChangedPixelPassesWithinToleranceAndFailsBeyondIt) {
  const Picture reference = Picture::Gradient(10, 10);
  WriteReference(reference);
  struct Case {
    const char* name;
    int delta;
    bool passes;
  };
  for (const Case& c : {Case{"at the tolerance", 3, true}, Case{"one past it", 4, false}}) {
    SCOPED_TRACE(c.name);
    fs::remove_all(options_.failureFolder);
    Picture actual = reference;
    actual.at(4, 7) += static_cast<std::uint32_t>(c.delta) << 8;  // green channel
    const CompareResult r = CompareWithReference(actual.view(), reference_, {3, 0.0}, options_);
    EXPECT_EQ(r.largestChannelDelta, c.delta);
    EXPECT_EQ(r.tolerance.channel, 3);
    if (c.passes) {
      EXPECT_EQ(r.outcome, CompareOutcome::kMatch) << r.message;
      EXPECT_EQ(r.differingPixels, 0);
      continue;
    }
    EXPECT_EQ(r.outcome, CompareOutcome::kDifferent);
    EXPECT_EQ(r.differingPixels, 1);
    ASSERT_EQ(r.actualPath, FailurePath(".actual.png"));
    ASSERT_EQ(r.diffPath, FailurePath(".diff.png"));
    EXPECT_NE(r.message.find(r.actualPath), std::string::npos) << r.message;
    EXPECT_NE(r.message.find(r.diffPath), std::string::npos) << r.message;
    EXPECT_NE(r.message.find("1 of 100 pixels"), std::string::npos) << r.message;

    const std::optional<Picture> written = Load(r.actualPath);
    ASSERT_TRUE(written);
    EXPECT_EQ(written->pixels, actual.pixels) << "the actual image is written as drawn";
    std::optional<Picture> diff = Load(r.diffPath);
    ASSERT_TRUE(diff);
    EXPECT_EQ(diff->at(4, 7), kRed);
    // Elsewhere the reference, dimmed to a third.
    const std::uint32_t p = Picture::Gradient(10, 10).at(9, 0);
    EXPECT_EQ(diff->at(9, 0), (((p >> 16) & 0xFF) / 3) << 16 | (((p >> 8) & 0xFF) / 3) << 8 | (p & 0xFF) / 3);
  }
}

// 2 % of 100 pixels may differ: two changed pixels pass, a third fails.
TEST_F(ScreenshotCompareTest, DifferingShareIsALimitInclusive) {
  const Picture reference = Picture::Gradient(10, 10);
  WriteReference(reference);
  Picture actual = reference;
  actual.at(0, 0) ^= 0xFF;
  actual.at(5, 5) ^= 0xFF;
  const CompareResult two = CompareWithReference(actual.view(), reference_, {0, 0.02}, options_);
  EXPECT_TRUE(two.passed()) << two.message;
  EXPECT_EQ(two.differingPixels, 2);

  actual.at(9, 9) ^= 0xFF;
  const CompareResult three = CompareWithReference(actual.view(), reference_, {0, 0.02}, options_);
  EXPECT_EQ(three.outcome, CompareOutcome::kDifferent);
  EXPECT_EQ(three.differingPixels, 3);
  EXPECT_NE(three.message.find("2% allowed"), std::string::npos) << three.message;
}

TEST_F(ScreenshotCompareTest, DiffShowsDifferencesWithinToleranceInYellow) {
  const Picture reference = Picture::Gradient(10, 10);
  WriteReference(reference);
  Picture actual = reference;
  actual.at(1, 1) += 1;             // within a tolerance of 2
  actual.at(2, 2) += 0x10u << 16;   // beyond
  const CompareResult r = CompareWithReference(actual.view(), reference_, {2, 0.0}, options_);
  ASSERT_EQ(r.outcome, CompareOutcome::kDifferent);
  const std::optional<Picture> diff = Load(r.diffPath);
  ASSERT_TRUE(diff);
  EXPECT_EQ(diff->at(1, 1), kYellow);
  EXPECT_EQ(diff->at(2, 2), kRed);
}

// A borrowed frame buffer: rows wider than the image, garbage in the unused top byte.
TEST_F(ScreenshotCompareTest, PaddedRowsAndTheTopByteAreIgnored) {
  const Picture reference = Picture::Gradient(10, 10);
  WriteReference(reference);
  constexpr int kStridePixels = 16;
  std::vector<std::uint32_t> frame(kStridePixels * 10, 0x12345678);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x)
      frame[y * kStridePixels + x] = reference.at(x, y) | 0xC8000000u;
  const CompareResult r =
      CompareWithReference(PixelView{frame.data(), 10, 10, kStridePixels * 4}, reference_, {}, options_);
  EXPECT_TRUE(r.passed()) << r.message;
}

TEST_F(ScreenshotCompareTest, SizeMismatchFailsAndKeepsTheActualImage) {
  WriteReference(Picture::Gradient(10, 10));
  const Picture actual = Picture::Gradient(10, 11);
  const CompareResult r = CompareWithReference(actual.view(), reference_, {255, 1.0}, options_);
  EXPECT_EQ(r.outcome, CompareOutcome::kSizeMismatch) << "no tolerance excuses a size change";
  EXPECT_NE(r.message.find("10x11"), std::string::npos) << r.message;
  EXPECT_NE(r.message.find("10x10"), std::string::npos) << r.message;
  EXPECT_EQ(r.actualPath, FailurePath(".actual.png"));
  EXPECT_TRUE(fs::exists(r.actualPath));
  EXPECT_TRUE(r.diffPath.empty());
}

TEST_F(ScreenshotCompareTest, MissingReferenceFailsAndSaysHowToCreateIt) {
  const Picture actual = Picture::Gradient(10, 10);
  const CompareResult r = CompareWithReference(actual.view(), reference_, {255, 1.0}, options_);
  EXPECT_EQ(r.outcome, CompareOutcome::kMissingReference);
  EXPECT_FALSE(r.passed());
  EXPECT_NE(r.message.find("ZAZ_UPDATE_SCREENSHOTS=1"), std::string::npos) << r.message;
  EXPECT_FALSE(fs::exists(reference_)) << "a reference is never created silently";
  EXPECT_TRUE(fs::exists(r.actualPath)) << r.message;
}

TEST_F(ScreenshotCompareTest, UnreadableReferenceFails) {
  fs::create_directories(fs::path(reference_).parent_path());
  std::ofstream(reference_) << "not a PNG";
  const CompareResult r = CompareWithReference(Picture::Gradient(10, 10).view(), reference_, {}, options_);
  EXPECT_EQ(r.outcome, CompareOutcome::kUnreadable);
  EXPECT_NE(r.message.find(reference_), std::string::npos) << r.message;
}

TEST_F(ScreenshotCompareTest, UpdateModeWritesMissingOrMismatchingReferencesAndStillReportsIt) {
  setenv("ZAZ_UPDATE_SCREENSHOTS", "1", 1);
  const Picture first = Picture::Gradient(10, 10);
  const CompareResult created = CompareWithReference(first.view(), reference_, {}, options_);
  EXPECT_EQ(created.outcome, CompareOutcome::kReferenceWritten);
  EXPECT_FALSE(created.passed()) << "an update run never passes as a comparison";
  EXPECT_NE(created.message.find(reference_), std::string::npos) << created.message;
  ASSERT_TRUE(Load(reference_));
  EXPECT_EQ(Load(reference_)->pixels, first.pixels);

  Picture second = first;
  second.at(3, 3) = 0;
  const CompareResult replaced = CompareWithReference(second.view(), reference_, {}, options_);
  EXPECT_EQ(replaced.outcome, CompareOutcome::kReferenceWritten);
  EXPECT_EQ(Load(reference_)->pixels, second.pixels);

  // Within tolerance the reference stays as it is (no churn of committed images).
  Picture third = second;
  third.at(0, 0) += 1;
  EXPECT_TRUE(CompareWithReference(third.view(), reference_, {1, 0.0}, options_).passed());
  EXPECT_EQ(Load(reference_)->pixels, second.pixels);

  unsetenv("ZAZ_UPDATE_SCREENSHOTS");
  const CompareResult after = CompareWithReference(second.view(), reference_, {}, options_);
  EXPECT_TRUE(after.passed()) << after.message;
}

// The gtest helper, with failure images in the folder named by the environment.
TEST_F(ScreenshotCompareTest, AssertionHelperFailsWithTheMessage) {
  const std::string folder = (dir_ / "from-env").string();
  setenv("ZAZ_SCREENSHOT_FAILURES", folder.c_str(), 1);
  const Picture actual = Picture::Gradient(10, 10);
  EXPECT_NONFATAL_FAILURE(EXPECT_MATCHES_REFERENCE(actual.view(), reference_, Tolerance{}),
                          "is missing");
  EXPECT_TRUE(fs::exists(folder + "/screen.actual.png"));

  WriteReference(actual);
  EXPECT_MATCHES_REFERENCE(actual.view(), reference_, Tolerance{});
}

}  // namespace
}  // namespace zaz::testing
