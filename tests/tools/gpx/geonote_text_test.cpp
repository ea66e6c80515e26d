// Reading a GeoNote's text: headers the editor writes and the edits a user can make to them
// (line ends, blanks, signs, bad bytes in the text) give the waypoint; damaged headers give a
// reason naming the line at fault. And where the command looks for notes by default.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "geonote_text.h"
#include "gpx_command.h"

namespace {

using zaz::gpx::NoteRefusal;
using zaz::gpx::NoteWaypoint;
using zaz::gpx::ReadGeoNoteText;

#define HEADER(stamp, position) "GeoNote\r\n" stamp "\r\nGPS Location:\r\n" position "\r\n\r\n\r\n"
#define SEATTLE HEADER("09d/01m/2009y @ 20:41", "47.6062095,-122.3320708")

struct GoodCase {
  const char* name;
  std::string file;
  const char* latitude;
  const char* longitude;
  int year, month, day, hour, minute;
  const char* text;
};
void PrintTo(const GoodCase& c, std::ostream* os) { *os << c.name; }

class GeoNoteReadTest : public ::testing::TestWithParam<GoodCase> {};

TEST_P(GeoNoteReadTest, GivesTheWaypoint) {
  const GoodCase& c = GetParam();
  const auto reading = ReadGeoNoteText(c.file);
  ASSERT_TRUE(std::holds_alternative<NoteWaypoint>(reading))
      << std::get<NoteRefusal>(reading).reason;
  const NoteWaypoint& w = std::get<NoteWaypoint>(reading);
  EXPECT_EQ(w.latitude, c.latitude);
  EXPECT_EQ(w.longitude, c.longitude);
  EXPECT_EQ(w.stamp.year, c.year);
  EXPECT_EQ(w.stamp.month, c.month);
  EXPECT_EQ(w.stamp.day, c.day);
  EXPECT_EQ(w.stamp.hour, c.hour);
  EXPECT_EQ(w.stamp.minute, c.minute);
  EXPECT_EQ(w.text, c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Notes, GeoNoteReadTest,
    ::testing::Values(
        GoodCase{"AsTheEditorWritesIt", SEATTLE "hello\r\nworld\r\n", "47.6062095", "-122.3320708",
                 2009, 1, 9, 20, 41, "hello\nworld\n"},
        GoodCase{"SouthAndWestKeepTheirSigns",
                 HEADER("01d/03m/2010y @ 09:05", "-33.8688000,-70.6693000") "x",
                 "-33.8688000", "-70.6693000", 2010, 3, 1, 9, 5, "x"},
        GoodCase{"AccentsAndMarkupCharactersAreText",
                 SEATTLE "Caf\xC3\xA9 <b>&amp;</b> <&> \xE2\x98\x95 \xF0\x9F\x98\x80", "47.6062095",
                 "-122.3320708", 2009, 1, 9, 20, 41,
                 "Caf\xC3\xA9 <b>&amp;</b> <&> \xE2\x98\x95 \xF0\x9F\x98\x80"},
        GoodCase{"EmptyText", SEATTLE, "47.6062095", "-122.3320708", 2009, 1, 9, 20, 41, ""},
        GoodCase{"TextWithoutFinalLineEnd", SEATTLE "last line", "47.6062095", "-122.3320708",
                 2009, 1, 9, 20, 41, "last line"},
        GoodCase{"HeaderCutAfterThePosition",
                 "GeoNote\r\n09d/01m/2009y @ 20:41\r\nGPS Location:\r\n47.6062095,-122.3320708",
                 "47.6062095", "-122.3320708", 2009, 1, 9, 20, 41, ""},
        GoodCase{"BlankLinesRemovedByTheUser",
                 "GeoNote\r\n09d/01m/2009y @ 20:41\r\nGPS Location:\r\n1.5,2.5\r\ntext",
                 "1.5", "2.5", 2009, 1, 9, 20, 41, "text"},
        GoodCase{"TextStartingWithItsOwnBlankLine", SEATTLE "\r\nafter a gap", "47.6062095",
                 "-122.3320708", 2009, 1, 9, 20, 41, "\nafter a gap"},
        GoodCase{"LineFeedsAlone",
                 "GeoNote\n09d/01m/2009y @ 20:41\nGPS Location:\n47.6062095,-122.3320708\n\n\na\nb",
                 "47.6062095", "-122.3320708", 2009, 1, 9, 20, 41, "a\nb"},
        GoodCase{"BlanksAroundTheNumbersDropped",
                 HEADER("09d/01m/2009y @ 20:41", " 47.6062095 ,\t-122.3320708 "),
                 "47.6062095", "-122.3320708", 2009, 1, 9, 20, 41, ""},
        GoodCase{"RangeEndsThatAreInside", HEADER("29d/02m/2008y @ 23:59", "-90.0000000,-180.0"),
                 "-90.0000000", "-180.0", 2008, 2, 29, 23, 59, ""},
        GoodCase{"WholeDegrees", HEADER("31d/12m/2009y @ 00:00", "90,179"), "90", "179",
                 2009, 12, 31, 0, 0, ""},
        GoodCase{"ByteOrderMarkBeforeTheHeader", "\xEF\xBB\xBF" SEATTLE "t", "47.6062095",
                 "-122.3320708", 2009, 1, 9, 20, 41, "t"},
        GoodCase{"BadBytesAndControlsBecomeReplacementCharacters",
                 SEATTLE "a\xFF" "b\x01" "c\rd\xC3" "e\xED\xA0\x80" "f\tg" + std::string(1, '\0'),
                 "47.6062095", "-122.3320708", 2009, 1, 9, 20, 41,
                 "a\xEF\xBF\xBD" "b\xEF\xBF\xBD" "c\nd\xEF\xBF\xBD" "e\xEF\xBF\xBD\xEF\xBF\xBD"
                 "\xEF\xBF\xBD" "f\tg\xEF\xBF\xBD"}),
    [](const auto& info) { return std::string(info.param.name); });

struct DamagedCase {
  const char* name;
  std::string file;
  const char* reasonNames;  // what the reason must say
};
void PrintTo(const DamagedCase& c, std::ostream* os) { *os << c.name; }

class GeoNoteDamagedTest : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(GeoNoteDamagedTest, GivesAReason) {
  const DamagedCase& c = GetParam();
  const auto reading = ReadGeoNoteText(c.file);
  ASSERT_TRUE(std::holds_alternative<NoteRefusal>(reading))
      << "read as " << std::get<NoteWaypoint>(reading).latitude;
  EXPECT_NE(std::get<NoteRefusal>(reading).reason.find(c.reasonNames), std::string::npos)
      << std::get<NoteRefusal>(reading).reason;
}

INSTANTIATE_TEST_SUITE_P(
    Headers, GeoNoteDamagedTest,
    ::testing::Values(
        DamagedCase{"EmptyFile", "", "first line"},
        DamagedCase{"FirstLineRetyped", "Geonote\r\n09d/01m/2009y @ 20:41\r\n", "first line"},
        DamagedCase{"TextBeforeTheHeader", "hi\r\n" SEATTLE, "first line"},
        DamagedCase{"CutAfterTheFirstLine", "GeoNote\r\n", "second line"},
        DamagedCase{"StampWithoutPadding", HEADER("9d/1m/2009y @ 20:41", "1,2"), "second line"},
        DamagedCase{"StampWithLettersInIt", HEADER("09d/0Xm/2009y @ 20:41", "1,2"), "second line"},
        DamagedCase{"StampWithoutItsLineEnd", "GeoNote\r\n09d/01m/2009y @ 20:41", "second line"},
        DamagedCase{"DayPastTheMonth", HEADER("31d/04m/2009y @ 20:41", "1,2"), "do not exist"},
        DamagedCase{"LeapDayOfACommonYear", HEADER("29d/02m/2009y @ 20:41", "1,2"), "do not exist"},
        DamagedCase{"MonthThirteen", HEADER("09d/13m/2009y @ 20:41", "1,2"), "do not exist"},
        DamagedCase{"DayZero", HEADER("00d/01m/2009y @ 20:41", "1,2"), "do not exist"},
        DamagedCase{"HourTwentyFour", HEADER("09d/01m/2009y @ 24:00", "1,2"), "do not exist"},
        DamagedCase{"MinuteSixty", HEADER("09d/01m/2009y @ 20:60", "1,2"), "do not exist"},
        DamagedCase{"YearBeforeFourDigits", HEADER("09d/01m/0999y @ 20:41", "1,2"), "do not exist"},
        DamagedCase{"LocationLineRetyped",
                    "GeoNote\r\n09d/01m/2009y @ 20:41\r\nGPS Position:\r\n1,2\r\n", "third line"},
        DamagedCase{"LocationLineWithoutColon",
                    "GeoNote\r\n09d/01m/2009y @ 20:41\r\nGPS Location\r\n1,2\r\n", "third line"},
        DamagedCase{"PositionSemicolon", HEADER("09d/01m/2009y @ 20:41", "47.6;-122.3"),
                    "fourth line"},
        DamagedCase{"PositionWords", HEADER("09d/01m/2009y @ 20:41", "north,west"), "fourth line"},
        DamagedCase{"PositionEmpty", HEADER("09d/01m/2009y @ 20:41", ""), "fourth line"},
        DamagedCase{"PositionHalf", HEADER("09d/01m/2009y @ 20:41", "47.6,"), "fourth line"},
        DamagedCase{"PositionPointWithoutDigits", HEADER("09d/01m/2009y @ 20:41", "47.,-122"),
                    "fourth line"},
        DamagedCase{"PositionExponent", HEADER("09d/01m/2009y @ 20:41", "4e1,2"), "fourth line"},
        DamagedCase{"PositionThreeNumbers", HEADER("09d/01m/2009y @ 20:41", "1,2,3"),
                    "fourth line"},
        DamagedCase{"PositionCutShort", "GeoNote\r\n09d/01m/2009y @ 20:41\r\nGPS Location:\r\n",
                    "fourth line"},
        DamagedCase{"LatitudeJustPastNinety", HEADER("09d/01m/2009y @ 20:41", "90.0000001,0"),
                    "out of range"},
        DamagedCase{"LatitudeSouthPastNinety", HEADER("09d/01m/2009y @ 20:41", "-91,0"),
                    "out of range"},
        DamagedCase{"LongitudeOneEighty", HEADER("09d/01m/2009y @ 20:41", "0,180.0000000"),
                    "out of range"},
        DamagedCase{"LongitudeWestPastOneEighty",
                    HEADER("09d/01m/2009y @ 20:41", "0,-180.0000001"), "out of range"},
        DamagedCase{"ManyDigitsOfDegrees", HEADER("09d/01m/2009y @ 20:41", "0000000000100,0"),
                    "out of range"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- the default folder ---------------------------------------------------------------------

struct FolderCase {
  const char* name;
  std::map<std::string, std::string> environment;
  const char* folder;  // null: none, a problem is given
};
void PrintTo(const FolderCase& c, std::ostream* os) { *os << c.name; }

class DefaultFolderTest : public ::testing::TestWithParam<FolderCase> {};

TEST_P(DefaultFolderTest, FollowsTheDeviceRoot) {
  const FolderCase& c = GetParam();
  const auto choice = zaz::gpx::DefaultGeoNotesFolder([&](const char* name) -> const char* {
    const auto it = c.environment.find(name);
    return it == c.environment.end() ? nullptr : it->second.c_str();
  });
  if (c.folder) {
    EXPECT_EQ(choice.folder, std::optional<std::string>(c.folder));
  } else {
    EXPECT_FALSE(choice.folder);
    EXPECT_FALSE(choice.problem.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Environments, DefaultFolderTest,
    ::testing::Values(
        FolderCase{"DeviceRootFirst",
                   {{"PDA_ROOT", "/dev/root"}, {"XDG_DATA_HOME", "/xdg"}, {"HOME", "/home/u"}},
                   "/dev/root/My Documents/GeoNotes"},
        FolderCase{"EmptyDeviceRootIsNoRoot", {{"PDA_ROOT", ""}, {"HOME", "/home/u"}}, nullptr},
        FolderCase{"DataHomeNext",
                   {{"XDG_DATA_HOME", "/xdg"}, {"HOME", "/home/u"}},
                   "/xdg/zazorudu/My Documents/GeoNotes"},
        FolderCase{"RelativeDataHomeIgnored",
                   {{"XDG_DATA_HOME", "xdg"}, {"HOME", "/home/u"}},
                   "/home/u/.local/share/zazorudu/My Documents/GeoNotes"},
        FolderCase{"NothingSet", {}, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
