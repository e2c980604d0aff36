// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The regional settings that the clock uses, read once at start-up from the C library locale.
#include <ctime>
#include <string>

struct TRegionalSettings {
    char TimeSeparator = ':';
    char DateSeparator = '/';
    std::string TimeAMString = "am";
    std::string TimePMString = "pm";
    // "h:mm:ss", "hh:mm:ss AMPM", "AMPM h:mm:ss": ":" and "AMPM" are placeholders.
    std::string LongTimeFormat = "h:mm:ss";
    // "m/d/yy", "dd/mm/yyyy": "/" is the placeholder for the date separator.
    std::string ShortDateFormat = "m/d/yy";
};

// Reads the settings from the locale named by the environment (LC_TIME).
void LoadRegionalSettings();
// Derives the settings from strftime-style formats as the C library reports them.
TRegionalSettings SettingsFromLocaleFormats(const std::string& timeFormat,
                                            const std::string& dateFormat, const std::string& am,
                                            const std::string& pm);
const TRegionalSettings& RegionalSettings();
void SetRegionalSettings(const TRegionalSettings& settings);

std::tm Now();
// The time in the long time format, with the regional separator and morning/afternoon texts.
std::string FormatLongTime(const std::tm& time);
// The date in the short date format, with the regional date separator.
std::string FormatShortDate(const std::tm& time);
