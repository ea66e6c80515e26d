// Folder paths: splitting a device path into folder and file name, and the user's documents
// folder. Paths use the backslash and have no drive letter; the caller's buffers must hold the
// longest path it accepts (the routines take no sizes).
#pragma once

#include <pda.h>

// Fills pszFolder with the path up to and including its last backslash and pszFile with the
// rest. A path without a backslash is a file name in the documents folder: pszFolder becomes
// that folder followed by a backslash.
void SplitPath(LPCWSTR pszPath, LPWSTR pszFolder, LPWSTR pszFile);
// The user's documents folder without a trailing backslash; "\My Documents" when the platform
// does not know it.
void GetDocumentsFolder(LPWSTR pszFolder);
