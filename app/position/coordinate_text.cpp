// The text forms of a position.
#include "position/coordinate_text.h"

BOOL IsPositionFix(double dblLatitude, double dblLongitude) {
  return dblLatitude != 0.0 && dblLongitude != 0.0;
}

void FormatCoordinateText(double dblLatitude, double dblLongitude, LPWSTR pszText) {
  StringCchPrintfW(pszText, COORDINATE_TEXT_CHARS, COORDINATE_TEXT_FORMAT, dblLatitude,
                   dblLongitude);
}

void FormatMapLink(double dblLatitude, double dblLongitude, LPWSTR pszLink) {
  StringCchPrintfW(pszLink, MAP_LINK_CHARS, MAP_LINK_FORMAT, dblLatitude, dblLongitude);
}

void FormatLatitude(double dblLatitude, LPWSTR pszText) {
  StringCchPrintfW(pszText, HEMISPHERE_TEXT_CHARS,
                   dblLatitude > 0.0 ? LATITUDE_NORTH_FORMAT : LATITUDE_SOUTH_FORMAT, dblLatitude);
}

void FormatLongitude(double dblLongitude, LPWSTR pszText) {
  StringCchPrintfW(pszText, HEMISPHERE_TEXT_CHARS,
                   dblLongitude > 0.0 ? LONGITUDE_EAST_FORMAT : LONGITUDE_WEST_FORMAT,
                   dblLongitude);
}
