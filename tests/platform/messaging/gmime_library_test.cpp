// GMime is loaded on first use (messaging/gmime_library.h); a file that is missing, or that is
// not GMime, must give no library and one line on standard error saying what was missing, so
// that sending an e-mail fails as a refused send does instead of calling through a null slot.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "messaging/gmime_library.h"

namespace {

using pda::messaging::GMimeLibrary;

TEST(GMimeLibraryTest, AFileThatIsMissingOrIsNotGMimeGivesNoLibraryAndSaysWhatWasMissing) {
  struct Case {
    const char* file;
    const char* named;  // what the line on standard error must name
  };
  const Case cases[] = {
      {"libgmime-absent.so.0", "libgmime-absent.so.0"},
      {"libc.so.6", "g_mime_init"},  // loads, but has none of GMime's functions
  };
  for (const Case& c : cases) {
    testing::internal::CaptureStderr();
    const bool loaded = GMimeLibrary::Load(c.file) != nullptr;
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(loaded) << c.file;
    EXPECT_NE(said.find(c.named), std::string::npos) << c.file << ": " << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << c.file << ": " << said;
  }
}

}  // namespace
