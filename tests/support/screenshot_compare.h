// Screenshot comparison against reference PNGs, for tests of whole screens.
//
// A screen matches its reference when both have the same size and at most a stated share of the
// pixels differ by more than a stated amount in some channel (R, G or B; the unused top byte of
// a 0x00RRGGBB pixel is ignored). On a mismatch the actual image and a diff image are written to
// the failure folder, and the message names both:
//   <name>.actual.png  what the test drew
//   <name>.diff.png    the reference dimmed, pixels beyond the tolerance in red, pixels that
//                      differ within it in yellow
// where <name> is the reference file's name without ".png".
//
// A missing reference is a failure. ZAZ_UPDATE_SCREENSHOTS=1 writes the actual image as the
// reference wherever it is missing or does not match; the comparison still fails then, saying
// which file it wrote, so an update run is never mistaken for a passing one.
//
// The failure folder: CompareOptions::failureFolder, else $ZAZ_SCREENSHOT_FAILURES, else
// "screenshot-failures" in the build folder that holds the test program (the nearest parent
// folder with a CMakeCache.txt), else in the working folder.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace zaz::testing {

// Pixels 0x00RRGGBB in host order, rows `stride` bytes apart (a multiple of 4).
struct PixelView {
  const std::uint32_t* data = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;
};

struct Tolerance {
  int channel = 0;                 // largest |actual - reference| in one channel that still matches
  double maxDifferingShare = 0.0;  // share of all pixels (0..1) allowed beyond `channel`
};

struct CompareOptions {
  std::string failureFolder;  // empty: see the file comment
};

enum class CompareOutcome {
  kMatch,             // same size, differing pixels within the allowed share
  kDifferent,         // too many pixels differ
  kSizeMismatch,      // the sizes differ
  kMissingReference,  // no reference file (and not in update mode)
  kReferenceWritten,  // update mode wrote the reference
  kUnreadable,        // a PNG could not be read, or a file could not be written
};

struct CompareResult {
  CompareOutcome outcome = CompareOutcome::kUnreadable;
  bool passed() const { return outcome == CompareOutcome::kMatch; }

  Tolerance tolerance;           // what was allowed
  long long differingPixels = 0; // pixels beyond tolerance.channel
  long long totalPixels = 0;
  int largestChannelDelta = 0;   // over all pixels
  std::string actualPath;        // written on failure, else empty
  std::string diffPath;          // written when the sizes agree and pixels differ, else empty
  std::string message;           // one paragraph for the test log
};

CompareResult CompareWithReference(PixelView actual, const std::string& referencePng,
                                   Tolerance tolerance, const CompareOptions& options = {});
CompareResult CompareWithReference(const std::string& actualPng, const std::string& referencePng,
                                   Tolerance tolerance, const CompareOptions& options = {});

// For EXPECT_TRUE / ASSERT_TRUE: success, or failure carrying the result's message.
::testing::AssertionResult MatchesReference(PixelView actual, const std::string& referencePng,
                                            Tolerance tolerance, const CompareOptions& options = {});
::testing::AssertionResult MatchesReference(const std::string& actualPng,
                                            const std::string& referencePng, Tolerance tolerance,
                                            const CompareOptions& options = {});

// Reads an 8-bit PNG into 0x00RRGGBB pixels (transparent pixels over black). False with the
// reason in *error when the file is missing or not a PNG.
bool ReadPng(const std::string& path, int* width, int* height, std::vector<std::uint32_t>* pixels,
             std::string* error);
// Writes the pixels as an 8-bit RGB PNG, creating the parent folders.
bool WritePng(const std::string& path, PixelView pixels, std::string* error);

}  // namespace zaz::testing

#define EXPECT_MATCHES_REFERENCE(actual, referencePng, tolerance) \
  EXPECT_TRUE(::zaz::testing::MatchesReference((actual), (referencePng), (tolerance)))
#define ASSERT_MATCHES_REFERENCE(actual, referencePng, tolerance) \
  ASSERT_TRUE(::zaz::testing::MatchesReference((actual), (referencePng), (tolerance)))
