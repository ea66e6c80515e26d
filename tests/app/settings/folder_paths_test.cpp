// Folder paths: splitting device paths, and the documents folder.
#include <gtest/gtest.h>

#include <string>

#include "settings/folder_paths.h"

namespace {

TEST(FolderPathsTest, SplitPathKeepsTheBackslashWithTheFolder) {
  struct Case {
    const char* name;
    const char16_t* path;
    const char16_t* folder;
    const char16_t* file;
  };
  const Case cases[] = {
      {"program path", u"\\Program Files\\Zazorudu\\Zazorudu.exe", u"\\Program Files\\Zazorudu\\",
       u"Zazorudu.exe"},
      {"only the first character is a backslash", u"\\file.txt", u"\\", u"file.txt"},
      {"ending in a backslash gives an empty name", u"\\My Documents\\", u"\\My Documents\\", u""},
      {"a bare name lives in the documents folder", u"note.txt", u"\\My Documents\\", u"note.txt"},
  };
  for (const Case& c : cases) {
    WCHAR szFolder[256];
    WCHAR szFile[256];
    SplitPath(c.path, szFolder, szFile);
    EXPECT_EQ(std::u16string(szFolder), c.folder) << c.name;
    EXPECT_EQ(std::u16string(szFile), c.file) << c.name;
  }
}

TEST(FolderPathsTest, DocumentsFolderHasNoTrailingBackslash) {
  WCHAR szFolder[256];
  GetDocumentsFolder(szFolder);
  EXPECT_EQ(std::u16string(szFolder), u"\\My Documents");
}

}  // namespace
