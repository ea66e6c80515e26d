// Screenshot comparison (see screenshot_compare.h).
//
// Sections: PNG files; the failure folder; comparing pixels and drawing the diff; the two entry
// points and the gtest helpers.
#include "screenshot_compare.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace zaz::testing {
namespace {

namespace fs = std::filesystem;

constexpr char kUpdateVariable[] = "ZAZ_UPDATE_SCREENSHOTS";
constexpr char kFolderVariable[] = "ZAZ_SCREENSHOT_FAILURES";

// An owned image; view() lends it out.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
  PixelView view() const { return {pixels.data(), width, height, width * 4}; }
};

std::uint32_t At(PixelView v, int x, int y) {
  const auto* row = reinterpret_cast<const std::uint8_t*>(v.data) + static_cast<std::ptrdiff_t>(y) * v.stride;
  return reinterpret_cast<const std::uint32_t*>(row)[x] & 0xFFFFFFu;
}

bool UpdateMode() {
  const char* value = std::getenv(kUpdateVariable);
  return value && *value && std::strcmp(value, "0") != 0;
}

// --- the failure folder ---------------------------------------------------------------------

std::string DefaultFailureFolder() {
  if (const char* folder = std::getenv(kFolderVariable); folder && *folder) return folder;
  std::error_code ec;
  fs::path dir = fs::read_symlink("/proc/self/exe", ec).parent_path();
  for (; !ec && !dir.empty() && dir != dir.root_path(); dir = dir.parent_path())
    if (fs::exists(dir / "CMakeCache.txt", ec)) return (dir / "screenshot-failures").string();
  return (fs::current_path() / "screenshot-failures").string();
}

std::string Stem(const std::string& referencePng) {
  std::string name = fs::path(referencePng).filename().string();
  if (name.size() > 4 && name.compare(name.size() - 4, 4, ".png") == 0) name.resize(name.size() - 4);
  return name;
}

// --- comparing and the diff image -----------------------------------------------------------

int LargestDelta(std::uint32_t a, std::uint32_t b) {
  int largest = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const int d = std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
    largest = std::max(largest, d);
  }
  return largest;
}

// The reference at a third of its brightness, so that red and yellow stand out on any picture.
std::uint32_t Dimmed(std::uint32_t p) {
  const std::uint32_t r = ((p >> 16) & 0xFF) / 3, g = ((p >> 8) & 0xFF) / 3, b = (p & 0xFF) / 3;
  return r << 16 | g << 8 | b;
}

constexpr std::uint32_t kBeyondTolerance = 0xFF0000;
constexpr std::uint32_t kWithinTolerance = 0xFFFF00;

std::string Percent(double share) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4g%%", share * 100.0);
  return text;
}

std::string SizeText(int w, int h) { return std::to_string(w) + "x" + std::to_string(h); }

// The comparison proper, on two images known to be readable.
CompareResult Compare(PixelView actual, PixelView reference, const std::string& referencePng,
                      Tolerance tolerance, const CompareOptions& options) {
  CompareResult result;
  result.tolerance = tolerance;
  const bool update = UpdateMode();
  const std::string folder = options.failureFolder.empty() ? DefaultFailureFolder() : options.failureFolder;
  const std::string stem = Stem(referencePng);
  std::string error;

  auto writeActual = [&] {
    result.actualPath = (fs::path(folder) / (stem + ".actual.png")).string();
    if (!WritePng(result.actualPath, actual, &error)) result.actualPath.clear();
  };
  auto updateReference = [&](const std::string& why) {
    if (!WritePng(referencePng, actual, &error)) {
      result.outcome = CompareOutcome::kUnreadable;
      result.message = why + "; " + kUpdateVariable + " is set but writing the reference failed: " + error;
      return;
    }
    result.outcome = CompareOutcome::kReferenceWritten;
    result.message = why + "; wrote the actual image as the reference " + referencePng + " (" +
                     kUpdateVariable + " is set). Review it, then run again without " +
                     kUpdateVariable + ".";
  };

  if (actual.width != reference.width || actual.height != reference.height) {
    const std::string why = "size " + SizeText(actual.width, actual.height) + " differs from the reference's " +
                            SizeText(reference.width, reference.height) + " (" + referencePng + ")";
    if (update) {
      updateReference(why);
      return result;
    }
    result.outcome = CompareOutcome::kSizeMismatch;
    writeActual();
    result.message = why + (result.actualPath.empty() ? "; writing the actual image failed: " + error
                                                      : "; actual image: " + result.actualPath);
    return result;
  }

  result.totalPixels = static_cast<long long>(actual.width) * actual.height;
  Image diff{actual.width, actual.height, std::vector<std::uint32_t>(static_cast<std::size_t>(result.totalPixels))};
  for (int y = 0; y < actual.height; ++y) {
    for (int x = 0; x < actual.width; ++x) {
      const std::uint32_t a = At(actual, x, y), r = At(reference, x, y);
      const int delta = LargestDelta(a, r);
      result.largestChannelDelta = std::max(result.largestChannelDelta, delta);
      std::uint32_t& out = diff.pixels[static_cast<std::size_t>(y) * actual.width + x];
      if (delta > tolerance.channel) {
        ++result.differingPixels;
        out = kBeyondTolerance;
      } else {
        out = delta > 0 ? kWithinTolerance : Dimmed(r);
      }
    }
  }

  const double share = static_cast<double>(result.differingPixels) / static_cast<double>(result.totalPixels);
  const std::string figures =
      std::to_string(result.differingPixels) + " of " + std::to_string(result.totalPixels) + " pixels (" +
      Percent(share) + ") differ by more than " + std::to_string(tolerance.channel) +
      " in a channel, " + Percent(tolerance.maxDifferingShare) + " allowed; largest difference " +
      std::to_string(result.largestChannelDelta);
  if (share <= tolerance.maxDifferingShare) {
    result.outcome = CompareOutcome::kMatch;
    result.message = "matches " + referencePng + ": " + figures;
    return result;
  }
  if (update) {
    updateReference("does not match " + referencePng + ": " + figures);
    return result;
  }

  result.outcome = CompareOutcome::kDifferent;
  writeActual();
  result.diffPath = (fs::path(folder) / (stem + ".diff.png")).string();
  if (!WritePng(result.diffPath, diff.view(), &error)) result.diffPath.clear();
  result.message = "does not match " + referencePng + ": " + figures;
  if (!result.actualPath.empty()) result.message += "; actual image: " + result.actualPath;
  if (!result.diffPath.empty())
    result.message += "; diff (red: beyond tolerance, yellow: within): " + result.diffPath;
  if (result.actualPath.empty() || result.diffPath.empty()) result.message += "; writing failed: " + error;
  return result;
}

CompareResult Failed(CompareOutcome outcome, Tolerance tolerance, std::string message) {
  CompareResult result;
  result.outcome = outcome;
  result.tolerance = tolerance;
  result.message = std::move(message);
  return result;
}

::testing::AssertionResult ToAssertion(const CompareResult& result) {
  if (result.passed()) return ::testing::AssertionSuccess() << result.message;
  return ::testing::AssertionFailure() << result.message;
}

}  // namespace

// --- PNG files ------------------------------------------------------------------------------

bool ReadPng(const std::string& path, int* width, int* height, std::vector<std::uint32_t>* pixels,
             std::string* error) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) {
    *error = "cannot read " + path + " as a PNG: " + image.message;
    return false;
  }
  image.format = PNG_FORMAT_RGB;
  std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
  const png_color black{0, 0, 0};
  if (!png_image_finish_read(&image, &black, rgb.data(), 0, nullptr)) {
    *error = "cannot decode " + path + ": " + image.message;
    png_image_free(&image);
    return false;
  }
  *width = static_cast<int>(image.width);
  *height = static_cast<int>(image.height);
  pixels->resize(static_cast<std::size_t>(image.width) * image.height);
  for (std::size_t i = 0; i < pixels->size(); ++i)
    (*pixels)[i] = std::uint32_t{rgb[3 * i]} << 16 | std::uint32_t{rgb[3 * i + 1]} << 8 | rgb[3 * i + 2];
  return true;
}

bool WritePng(const std::string& path, PixelView pixels, std::string* error) {
  std::error_code ec;
  const fs::path parent = fs::path(path).parent_path();
  if (!parent.empty()) fs::create_directories(parent, ec);
  if (ec) {
    *error = "cannot create " + parent.string() + ": " + ec.message();
    return false;
  }
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(pixels.width) * pixels.height * 3);
  for (int y = 0; y < pixels.height; ++y) {
    for (int x = 0; x < pixels.width; ++x) {
      const std::uint32_t p = At(pixels, x, y);
      std::uint8_t* out = &rgb[(static_cast<std::size_t>(y) * pixels.width + x) * 3];
      out[0] = static_cast<std::uint8_t>(p >> 16);
      out[1] = static_cast<std::uint8_t>(p >> 8);
      out[2] = static_cast<std::uint8_t>(p);
    }
  }
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(pixels.width);
  image.height = static_cast<png_uint_32>(pixels.height);
  image.format = PNG_FORMAT_RGB;
  if (!png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr)) {
    *error = "cannot write " + path + ": " + image.message;
    return false;
  }
  return true;
}

// --- entry points ---------------------------------------------------------------------------

CompareResult CompareWithReference(PixelView actual, const std::string& referencePng, Tolerance tolerance,
                                   const CompareOptions& options) {
  if (actual.data == nullptr || actual.width <= 0 || actual.height <= 0 || actual.stride < actual.width * 4)
    return Failed(CompareOutcome::kUnreadable, tolerance,
                  "the actual pixels are not an image (" + SizeText(actual.width, actual.height) +
                      ", stride " + std::to_string(actual.stride) + ")");
  std::error_code ec;
  if (!fs::exists(referencePng, ec)) {
    std::string error;
    if (UpdateMode()) {
      if (!WritePng(referencePng, actual, &error))
        return Failed(CompareOutcome::kUnreadable, tolerance,
                      "reference " + referencePng + " is missing, and writing it failed: " + error);
      return Failed(CompareOutcome::kReferenceWritten, tolerance,
                    "reference " + referencePng + " was missing; wrote the actual image there (" +
                        kUpdateVariable + " is set). Review it, then run again without " +
                        kUpdateVariable + ".");
    }
    const std::string folder = options.failureFolder.empty() ? DefaultFailureFolder() : options.failureFolder;
    const std::string actualPath = (fs::path(folder) / (Stem(referencePng) + ".actual.png")).string();
    std::string message = "reference " + referencePng + " is missing. To create it, run this test with " +
                          kUpdateVariable + "=1, review the image it writes and commit it";
    CompareResult result = Failed(CompareOutcome::kMissingReference, tolerance, "");
    if (WritePng(actualPath, actual, &error)) {
      result.actualPath = actualPath;
      message += "; the actual image is in " + actualPath;
    }
    result.message = message;
    return result;
  }
  Image reference;
  std::string error;
  if (!ReadPng(referencePng, &reference.width, &reference.height, &reference.pixels, &error))
    return Failed(CompareOutcome::kUnreadable, tolerance, "reference: " + error);
  return Compare(actual, reference.view(), referencePng, tolerance, options);
}

CompareResult CompareWithReference(const std::string& actualPng, const std::string& referencePng,
                                   Tolerance tolerance, const CompareOptions& options) {
  Image actual;
  std::string error;
  if (!ReadPng(actualPng, &actual.width, &actual.height, &actual.pixels, &error))
    return Failed(CompareOutcome::kUnreadable, tolerance, "actual: " + error);
  return CompareWithReference(actual.view(), referencePng, tolerance, options);
}

::testing::AssertionResult MatchesReference(PixelView actual, const std::string& referencePng,
                                            Tolerance tolerance, const CompareOptions& options) {
  return ToAssertion(CompareWithReference(actual, referencePng, tolerance, options));
}

::testing::AssertionResult MatchesReference(const std::string& actualPng, const std::string& referencePng,
                                            Tolerance tolerance, const CompareOptions& options) {
  return ToAssertion(CompareWithReference(actualPng, referencePng, tolerance, options));
}

}  // namespace zaz::testing
