#include "platform/system/RegionalSettings.h"

#include <langinfo.h>

#include <chrono>
#include <clocale>

namespace {

TRegionalSettings gSettings;

// The character that follows the first directive of `fmt` among `directives`, or 0.
char SeparatorAfter(const std::string& fmt, const std::string& directives) {
    for (size_t i = 0; i + 2 < fmt.size(); ++i)
        if (fmt[i] == '%' && directives.find(fmt[i + 1]) != std::string::npos) {
            char c = fmt[i + 2];
            return c == '%' ? '\0' : c;
        }
    return 0;
}

size_t Find(const std::string& fmt, const char* directive) {
    return fmt.find(directive);
}

std::string TimeFormatFrom(const std::string& fmt, bool& twelveHour) {
    const bool hasT = Find(fmt, "%T") != std::string::npos || Find(fmt, "%X") != std::string::npos;
    const bool hasR = Find(fmt, "%r") != std::string::npos;
    twelveHour =
        hasR || Find(fmt, "%I") != std::string::npos || Find(fmt, "%l") != std::string::npos;
    const bool leadingZero = hasT || hasR || Find(fmt, "%H") != std::string::npos ||
                             Find(fmt, "%I") != std::string::npos;
    std::string result = std::string(leadingZero ? "hh" : "h") + ":mm:ss";
    if (!twelveHour) return result;
    const size_t ampm = Find(fmt, "%p");
    const size_t hour = fmt.find_first_of("IlrHk", 0);
    if (ampm != std::string::npos && hour != std::string::npos && ampm < hour)
        return "AMPM " + result;
    return result + " AMPM";
}

std::string DateFormatFrom(const std::string& fmt) {
    std::string out;
    for (size_t i = 0; i + 1 < fmt.size(); ++i) {
        if (fmt[i] != '%') continue;
        switch (fmt[i + 1]) {
            case 'd':
                out += "dd/";
                break;
            case 'e':
                out += "d/";
                break;
            case 'm':
                out += "mm/";
                break;
            case 'y':
                out += "yy/";
                break;
            case 'Y':
                out += "yyyy/";
                break;
            case 'D':
                out += "mm/dd/yy/";
                break;
            case 'F':
                out += "yyyy/mm/dd/";
                break;
            default:
                break;
        }
        ++i;
    }
    if (out.empty()) return "m/d/yy";
    out.pop_back();
    return out;
}

std::string Two(int n) {
    return std::string(1, char('0' + n / 10 % 10)) + char('0' + n % 10);
}

}  // namespace

TRegionalSettings SettingsFromLocaleFormats(const std::string& timeFormat,
                                            const std::string& dateFormat, const std::string& am,
                                            const std::string& pm) {
    TRegionalSettings s;
    bool twelveHour = false;
    s.LongTimeFormat = TimeFormatFrom(timeFormat, twelveHour);
    if (char c = SeparatorAfter(timeFormat, "HIkl")) s.TimeSeparator = c;
    if (Find(timeFormat, "%T") != std::string::npos || Find(timeFormat, "%r") != std::string::npos)
        s.TimeSeparator = ':';
    s.ShortDateFormat = DateFormatFrom(dateFormat);
    if (char c = SeparatorAfter(dateFormat, "dmyYe")) s.DateSeparator = c;
    if (!am.empty()) s.TimeAMString = am;
    if (!pm.empty()) s.TimePMString = pm;
    return s;
}

void LoadRegionalSettings() {
    std::setlocale(LC_TIME, "");
    gSettings = SettingsFromLocaleFormats(nl_langinfo(T_FMT), nl_langinfo(D_FMT),
                                          nl_langinfo(AM_STR), nl_langinfo(PM_STR));
}

const TRegionalSettings& RegionalSettings() {
    return gSettings;
}

void SetRegionalSettings(const TRegionalSettings& settings) {
    gSettings = settings;
}

std::tm Now() {
    const std::time_t t = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm out{};
    localtime_r(&t, &out);
    return out;
}

std::string FormatLongTime(const std::tm& time) {
    const std::string& fmt = gSettings.LongTimeFormat;
    const bool twelveHour = fmt.find("AMPM") != std::string::npos;
    int hour = time.tm_hour;
    if (twelveHour) hour = hour % 12 == 0 ? 12 : hour % 12;
    const std::string ampm = time.tm_hour < 12 ? gSettings.TimeAMString : gSettings.TimePMString;
    const std::string sep(1, gSettings.TimeSeparator);
    std::string clock = (fmt.find("hh") != std::string::npos ? Two(hour) : std::to_string(hour)) +
                        sep + Two(time.tm_min) + sep + Two(time.tm_sec);
    if (!twelveHour) return clock;
    return fmt.rfind("AMPM", 0) == 0 ? ampm + " " + clock : clock + " " + ampm;
}

std::string FormatShortDate(const std::tm& time) {
    std::string out;
    const std::string& fmt = gSettings.ShortDateFormat;
    for (size_t i = 0; i < fmt.size();) {
        const char c = fmt[i];
        size_t run = 1;
        while (i + run < fmt.size() && fmt[i + run] == c) ++run;
        switch (c) {
            case 'd':
                out += run >= 2 ? Two(time.tm_mday) : std::to_string(time.tm_mday);
                break;
            case 'm':
                out += run >= 2 ? Two(time.tm_mon + 1) : std::to_string(time.tm_mon + 1);
                break;
            case 'y': {
                const int year = time.tm_year + 1900;
                out += run >= 3 ? std::to_string(year) : Two(year % 100);
                break;
            }
            case '/':
                out += std::string(run, gSettings.DateSeparator);
                break;
            default:
                out += std::string(run, c);
                break;
        }
        i += run;
    }
    return out;
}
