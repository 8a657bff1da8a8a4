#include <gtest/gtest.h>

#include "app/DateTimeFormat.h"

namespace emr {
namespace {

std::tm MakeTime(int year, int month, int day, int hour, int minute, int second, int weekday) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_wday = weekday;
    return t;
}

TEST(DateTimeFormatTest, FormatsPictures) {
    const std::tm morning = MakeTime(2026, 12, 6, 9, 5, 7, 0);
    const std::tm night = MakeTime(2026, 3, 14, 0, 30, 0, 6);
    EXPECT_EQ(FormatDateTimePicture("yyyy-MM-dd HH:mm:ss", morning, "AM", "PM"), "2026-12-06 09:05:07");
    EXPECT_EQ(FormatDateTimePicture("yyyy'年'M'月 'd'日'", morning, "", ""), "2026年12月 6日");
    EXPECT_EQ(FormatDateTimePicture("h:m:s tt", morning, "上午", "下午"), "9:5:7 上午");
    EXPECT_EQ(FormatDateTimePicture("hh:mm t", night, "AM", "PM"), "12:30 A");
    EXPECT_EQ(FormatDateTimePicture("H:mm tt", MakeTime(2026, 3, 14, 13, 0, 0, 6), "上午", "下午"),
              "13:00 下午");
    EXPECT_EQ(FormatDateTimePicture("HH:mm tt", morning, "", ""), "09:05 ");
    EXPECT_EQ(FormatDateTimePicture("dddd, MMMM d yy", night, "", ""), "Saturday, March 14 26");
    EXPECT_EQ(FormatDateTimePicture("ddd MMM y gg", MakeTime(2005, 1, 2, 0, 0, 0, 0), "", ""), "Sun Jan 5 ");
    EXPECT_EQ(FormatDateTimePicture("'It''s' d 'open", morning, "", ""), "It's 6 open");
}

TEST(DateTimeFormatTest, TranslatesCLibraryFormats) {
    EXPECT_EQ(PictureFromStrftime("%Y-%m-%d"), "yyyy-MM-dd");
    EXPECT_EQ(PictureFromStrftime("%H:%M:%S"), "HH:mm:ss");
    EXPECT_EQ(PictureFromStrftime("%I:%M:%S %p"), "hh:mm:ss tt");
    EXPECT_EQ(PictureFromStrftime("%m/%d/%y"), "MM/dd/yy");
    EXPECT_EQ(PictureFromStrftime("%d.%m.%Y"), "dd.MM.yyyy");
    EXPECT_EQ(PictureFromStrftime("%Y年%m月%d日"), "yyyy'年'MM'月'dd'日'");
    EXPECT_EQ(PictureFromStrftime("%T %Z"), "HH:mm:ss ");
    EXPECT_EQ(PictureFromStrftime("%Ey at %-H h"), "yy' at 'H' h'");
    EXPECT_EQ(PictureFromStrftime("100%%"), "100%");
}

} // namespace
} // namespace emr
