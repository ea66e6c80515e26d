// Folder paths.
#include "settings/folder_paths.h"

namespace {

constexpr int kFolderQueryChars = 256;
constexpr WCHAR kDefaultDocuments[] = u"\\My Documents";

// The platform's documents folder into a zeroed buffer of kFolderQueryChars; empty when unknown.
void QueryDocumentsFolder(LPWSTR pszQuery) {
  for (int i = 0; i < kFolderQueryChars; ++i) pszQuery[i] = 0;
  if (!SHGetSpecialFolderPath(nullptr, pszQuery, CSIDL_PERSONAL, FALSE)) pszQuery[0] = 0;
  pszQuery[kFolderQueryChars - 1] = 0;
}

}  // namespace

void SplitPath(LPCWSTR pszPath, LPWSTR pszFolder, LPWSTR pszFile) {
  int iLastSlash = -1;
  for (int i = 0; pszPath[i] != 0; ++i) {
    if (pszPath[i] == u'\\') iLastSlash = i;
  }
  if (iLastSlash >= 0) {
    for (int i = 0; i <= iLastSlash; ++i) pszFolder[i] = pszPath[i];
    pszFolder[iLastSlash + 1] = 0;
    lstrcpyW(pszFile, pszPath + iLastSlash + 1);
    return;
  }
  WCHAR szDocuments[kFolderQueryChars];
  QueryDocumentsFolder(szDocuments);
  lstrcpyW(pszFolder, szDocuments[0] != 0 ? szDocuments : kDefaultDocuments);
  lstrcatW(pszFolder, u"\\");
  lstrcpyW(pszFile, pszPath);
}

void GetDocumentsFolder(LPWSTR pszFolder) {
  WCHAR szDocuments[kFolderQueryChars];
  QueryDocumentsFolder(szDocuments);
  lstrcpyW(pszFolder, szDocuments[0] != 0 ? szDocuments : kDefaultDocuments);
}
