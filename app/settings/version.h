// The program's version constants: release, build and release date. "%s.%s %s" of the three
// gives "1.00.0785 (01.2009)".
#pragma once

#include <pda.h>

inline constexpr WCHAR VERSION_RELEASE[] = u"1.00";
inline constexpr WCHAR VERSION_BUILD[] = u"0785";
inline constexpr WCHAR VERSION_DATE[] = u"(01.2009)";
inline constexpr WCHAR VERSION_FORMAT[] = u"%s.%s %s";

// The About page's maker line (years and maker) and the maker's web address.
inline constexpr WCHAR ABOUT_MAKER[] = u"2009-2026 The Zazorudu authors";
inline constexpr WCHAR ABOUT_WEB_ADDRESS[] = u"zazorudu.org";
