// The text forms of a position and the fix rule.
#include <gtest/gtest.h>

#include <string>

#include "position/coordinate_text.h"

namespace {

std::u16string CoordinateText(double lat, double lon) {
  WCHAR sz[COORDINATE_TEXT_CHARS];
  FormatCoordinateText(lat, lon, sz);
  return sz;
}

std::u16string Latitude(double lat) {
  WCHAR sz[HEMISPHERE_TEXT_CHARS];
  FormatLatitude(lat, sz);
  return sz;
}

std::u16string Longitude(double lon) {
  WCHAR sz[HEMISPHERE_TEXT_CHARS];
  FormatLongitude(lon, sz);
  return sz;
}

TEST(CoordinateTextTest, SevenDecimalsNearestValueSignKept) {
  EXPECT_EQ(CoordinateText(47.60620949, -122.33207083), u"47.6062095,-122.3320708");
  EXPECT_EQ(CoordinateText(-33.8688, 151.2093), u"-33.8688000,151.2093000");
  EXPECT_EQ(CoordinateText(0.0, 0.0), u"0.0000000,0.0000000");
}

TEST(CoordinateTextTest, MapLinkCarriesTheCoordinateTextAsItsQuery) {
  WCHAR sz[MAP_LINK_CHARS];
  FormatMapLink(47.60620949, -122.33207083, sz);
  EXPECT_EQ(std::u16string(sz),
            u"http://maps.google.com/maps?f=q&t=m&q=47.6062095,-122.3320708");
}

TEST(CoordinateTextTest, HemisphereLetterFollowsTheSignNumberKeepsIt) {
  struct Case {
    const char* name;
    bool latitude;
    double value;
    const char16_t* expected;
  };
  const Case cases[] = {
      {"southern latitude", true, -33.8688, u"-33.8688000 S"},
      {"northern latitude", true, 47.60620949, u"47.6062095 N"},
      {"whole degrees keep seven decimals", true, 10, u"10.0000000 N"},
      {"zero latitude shows S", true, 0.0, u"0.0000000 S"},
      {"eastern longitude", false, 151.2093, u"151.2093000 E"},
      {"western longitude", false, -122.33207083, u"-122.3320708 W"},
      {"the longest value fits its buffer", false, -180, u"-180.0000000 W"},
      {"zero longitude shows W", false, 0.0, u"0.0000000 W"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.latitude ? Latitude(c.value) : Longitude(c.value), c.expected) << c.name;
  }
}

TEST(CoordinateTextTest, AFixNeedsBothValuesNonZero) {
  struct Case {
    const char* name;
    double lat;
    double lon;
    BOOL fix;
  };
  const Case cases[] = {
      {"both non-zero", 47.6, -122.3, TRUE},
      {"on the equator", 0.0, -122.3, FALSE},
      {"on the prime meridian", 51.5, 0.0, FALSE},
      {"negative zero is zero", -0.0, 10.0, FALSE},
      {"before the first reading", 0.0, 0.0, FALSE},
      {"tiny values are a fix", 1e-9, -1e-9, TRUE},
  };
  for (const Case& c : cases) EXPECT_EQ(IsPositionFix(c.lat, c.lon), c.fix) << c.name;
}

}  // namespace
