// The clock's formats from the regional settings: derived from the locale's formats, with the
// defaults where a setting cannot be read, and applied to a time and a date.
#include <gtest/gtest.h>

#include "platform/system/RegionalSettings.h"

namespace {

std::tm At(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

}  // namespace

TEST(RegionalSettings, FormatsFollowTheLocale) {
    struct Case {
        const char* Locale;
        const char* TimeFormat;
        const char* DateFormat;
        const char* Am;
        const char* Pm;
        const char* Morning;    // 9:05:03 on 2026-12-08
        const char* Afternoon;  // 21:05:03
        const char* Date;
    };
    const Case cases[] = {
        {"C", "%H:%M:%S", "%m/%d/%y", "AM", "PM", "09:05:03", "21:05:03", "12/08/26"},
        {"en_US", "%r", "%m/%d/%Y", "AM", "PM", "09:05:03 AM", "09:05:03 PM", "12/08/2026"},
        {"de_DE", "%T", "%d.%m.%Y", "", "", "09:05:03", "21:05:03", "08.12.2026"},
        {"fi_FI", "%H.%M.%S", "%d.%m.%Y", "", "", "09.05.03", "21.05.03", "08.12.2026"},
        {"ko_KR", "%p %l:%M:%S", "%Y-%m-%d", "AM", "PM", "AM 9:05:03", "PM 9:05:03", "2026-12-08"},
        {"unreadable", "", "", "", "", "9:05:03", "21:05:03", "12/8/26"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Locale);
        SetRegionalSettings(SettingsFromLocaleFormats(c.TimeFormat, c.DateFormat, c.Am, c.Pm));
        EXPECT_EQ(FormatLongTime(At(2026, 12, 8, 9, 5, 3)), c.Morning);
        EXPECT_EQ(FormatLongTime(At(2026, 12, 8, 21, 5, 3)), c.Afternoon);
        EXPECT_EQ(FormatShortDate(At(2026, 12, 8, 9, 5, 3)), c.Date);
    }
    SetRegionalSettings({});
}

TEST(RegionalSettings, UnreadableSettingsFallBackToTheDefaults) {
    const TRegionalSettings s = SettingsFromLocaleFormats("", "", "", "");
    EXPECT_EQ(s.ShortDateFormat, "m/d/yy");
    EXPECT_EQ(s.TimeAMString, "am");
    EXPECT_EQ(s.TimePMString, "pm");
    // A 12-hour clock without texts of its own uses "am" and "pm"; midnight and noon read 12.
    SetRegionalSettings(SettingsFromLocaleFormats("%I:%M:%S %p", "%d/%m/%y", "", ""));
    EXPECT_EQ(FormatLongTime(At(2026, 1, 2, 0, 0, 0)), "12:00:00 am");
    EXPECT_EQ(FormatLongTime(At(2026, 1, 2, 12, 30, 0)), "12:30:00 pm");
    SetRegionalSettings({});
}
