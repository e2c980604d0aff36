// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "platform/system/RegionalSettings.h"

#include <langinfo.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <clocale>
#include <cstring>
#include <vector>

namespace {

TRegionalSettings gSettings;

bool IsOneOf(char c, const char* set) {
    return c != '\0' && std::strchr(set, c) != nullptr;
}

// One conversion of a strftime format: "%H", and also "%-d", "%_H", "%OH", "%Ey", which the C
// library's locales use for unpadded numbers and alternative forms.
struct Conversion {
    char Letter;
    bool Unpadded;  // "-" or "_": no leading zero
    size_t End;     // the position after it
};

std::vector<Conversion> Conversions(const std::string& fmt) {
    std::vector<Conversion> out;
    for (size_t i = 0; i < fmt.size(); ++i) {
        if (fmt[i] != '%') continue;
        size_t j = i + 1;
        bool unpadded = false;
        for (; j < fmt.size() && IsOneOf(fmt[j], "-_0^#"); ++j)
            unpadded = unpadded || fmt[j] == '-' || fmt[j] == '_';
        while (j < fmt.size() && fmt[j] >= '0' && fmt[j] <= '9') ++j;  // a field width
        if (j < fmt.size() && (fmt[j] == 'E' || fmt[j] == 'O')) ++j;
        if (j >= fmt.size()) break;
        out.push_back({fmt[j], unpadded, j + 1});
        i = j;
    }
    return out;
}

bool Has(const std::vector<Conversion>& conversions, const char* letters) {
    return std::any_of(conversions.begin(), conversions.end(),
                       [&](const Conversion& c) { return IsOneOf(c.Letter, letters); });
}

// The separator that follows the first of `letters` in `fmt`, or 0 where there is none the
// clock can use. The clock's separator is one ASCII punctuation character or a space; a letter
// or a character of several bytes ("%H時%M分", "%H시 %M분") names the field rather than
// separating it, and the default separator stands in for it.
char SeparatorAfter(const std::string& fmt, const std::vector<Conversion>& conversions,
                    const char* letters) {
    for (const Conversion& c : conversions) {
        if (!IsOneOf(c.Letter, letters)) continue;
        if (c.End >= fmt.size()) return 0;
        const auto byte = static_cast<unsigned char>(fmt[c.End]);
        const bool usable = byte == ' ' || (byte < 0x80 && std::ispunct(byte) && byte != '%');
        return usable ? char(byte) : '\0';
    }
    return 0;
}

std::string TimeFormatFrom(const std::vector<Conversion>& conversions, bool& twelveHour) {
    twelveHour = Has(conversions, "rIl");
    bool leadingZero = false;
    for (const Conversion& c : conversions)
        if (IsOneOf(c.Letter, "TXrRHI") && !c.Unpadded) leadingZero = true;
    std::string result = std::string(leadingZero ? "hh" : "h") + ":mm:ss";
    if (!twelveHour) return result;
    const auto first = [&](const char* letters) {
        return std::find_if(conversions.begin(), conversions.end(),
                            [&](const Conversion& c) { return IsOneOf(c.Letter, letters); });
    };
    const auto ampm = first("p");
    if (ampm != conversions.end() && ampm < first("IlrHk")) return "AMPM " + result;
    return result + " AMPM";
}

std::string DateFormatFrom(const std::vector<Conversion>& conversions) {
    std::string out;
    for (const Conversion& c : conversions) {
        switch (c.Letter) {
            case 'd':
                out += c.Unpadded ? "d/" : "dd/";
                break;
            case 'e':
                out += "d/";
                break;
            case 'm':
                out += c.Unpadded ? "m/" : "mm/";
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
    const std::vector<Conversion> time = Conversions(timeFormat);
    const std::vector<Conversion> date = Conversions(dateFormat);
    bool twelveHour = false;
    s.LongTimeFormat = TimeFormatFrom(time, twelveHour);
    if (char c = SeparatorAfter(timeFormat, time, "HIkl")) s.TimeSeparator = c;
    if (Has(time, "TrR")) s.TimeSeparator = ':';
    s.ShortDateFormat = DateFormatFrom(date);
    if (char c = SeparatorAfter(dateFormat, date, "dmyYe")) s.DateSeparator = c;
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
