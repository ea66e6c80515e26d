// The text forms of a position: the Coordinate text, the map link and the hemisphere displays,
// and the fix rule. Each form is written into the caller's buffer of the size named here.
#pragma once

#include <pda.h>

constexpr int COORDINATE_TEXT_CHARS = 128;
constexpr int MAP_LINK_CHARS = 1024;
constexpr int HEMISPHERE_TEXT_CHARS = 16;

inline constexpr WCHAR COORDINATE_TEXT_FORMAT[] = u"%.07f,%.07f";
// The map site: the map link and the SMS's usage text both name it.
#define MAP_SITE_HOST u"maps.google.com"
inline constexpr WCHAR MAP_LINK_FORMAT[] = u"http://" MAP_SITE_HOST u"/maps?f=q&t=m&q=%.07f,%.07f";
inline constexpr WCHAR LATITUDE_NORTH_FORMAT[] = u"%.07f N";
inline constexpr WCHAR LATITUDE_SOUTH_FORMAT[] = u"%.07f S";
inline constexpr WCHAR LONGITUDE_EAST_FORMAT[] = u"%.07f E";
inline constexpr WCHAR LONGITUDE_WEST_FORMAT[] = u"%.07f W";

// A position is a fix when neither latitude nor longitude is exactly 0.0.
BOOL IsPositionFix(double dblLatitude, double dblLongitude);

// "47.6062095,-122.3320708" into COORDINATE_TEXT_CHARS characters.
void FormatCoordinateText(double dblLatitude, double dblLongitude, LPWSTR pszText);
// The web-map address of the position into MAP_LINK_CHARS characters.
void FormatMapLink(double dblLatitude, double dblLongitude, LPWSTR pszLink);
// "47.6062095 N" / "-33.8688000 S" into HEMISPHERE_TEXT_CHARS characters; the number keeps its
// own sign, the letter follows the sign (0.0 shows S).
void FormatLatitude(double dblLatitude, LPWSTR pszText);
// "151.2093000 E" / "-122.3320708 W" into HEMISPHERE_TEXT_CHARS characters (0.0 shows W).
void FormatLongitude(double dblLongitude, LPWSTR pszText);
