// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The clock's formats from the regional settings: derived from the locale's formats, with the
// defaults where a setting cannot be read, and applied to a time and a date.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <clocale>
#include <cstdlib>
#include <optional>

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
        // Unpadded numbers and alternative digits, as the C library's cs_CZ and fa_IR write them.
        {"cs_CZ", "%H:%M:%S", "%-d.%-m.%Y", "", "", "09:05:03", "21:05:03", "8.12.2026"},
        {"fa_IR", "%OH:%OM:%OS", "%Oy/%Om/%Od", "", "", "09:05:03", "21:05:03", "26/12/08"},
        // Separators that are letters or characters of several bytes give way to ":" and "/".
        {"ja_JP", "%H時%M分%S秒", "%Y年%m月%d日", "午前", "午後", "09:05:03", "21:05:03",
         "2026/12/08"},
        {"letters", "%Hh%Mm%Ss", "%dd%mm%yy", "", "", "09:05:03", "21:05:03", "08/12/26"},
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

namespace {

// Environment variables set for one scope, and put back as they were after it.
class EnvScope {
public:
    void Set(const char* name, const char* value) {
        const char* old = std::getenv(name);
        FSaved.push_back({name, old ? std::optional<std::string>(old) : std::nullopt});
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~EnvScope() {
        for (auto it = FSaved.rbegin(); it != FSaved.rend(); ++it) {
            if (it->second)
                setenv(it->first.c_str(), it->second->c_str(), 1);
            else
                unsetenv(it->first.c_str());
        }
        std::setlocale(LC_TIME, "C");
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> FSaved;
};

// Compiles locales from the C library's own locale sources (Debian's "locales" package) into a
// folder of the test's own, which LOCPATH points the C library at: the formats are the real
// ones, and the machine needs no locale generated.
class CompiledLocales : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Folder = new QTemporaryDir;
        for (const char* name : {"ja_JP", "ko_KR", "zh_CN"}) Compile(name, name);
        // A locale whose time and date formats have no separator at all: the C locale's source
        // with its two formats replaced.
        QFile c(QStringLiteral("/usr/share/i18n/locales/C"));
        if (c.open(QIODevice::ReadOnly)) {
            QString text = QString::fromUtf8(c.readAll());
            text.replace(QRegularExpression(QStringLiteral("\\nt_fmt [^\\n]*")),
                         QStringLiteral("\nt_fmt \"%H%M%S\""));
            text.replace(QRegularExpression(QStringLiteral("\\nd_fmt [^\\n]*")),
                         QStringLiteral("\nd_fmt \"%Y%m%d\""));
            QFile source(Folder->filePath(QStringLiteral("nosep")));
            if (source.open(QIODevice::WriteOnly)) source.write(text.toUtf8());
        }
        Compile(Folder->filePath(QStringLiteral("nosep")), "xx_XX");
    }
    static void TearDownTestSuite() {
        delete Folder;
        Folder = nullptr;
    }

    // Compiles the locale source `source` as "<name>.UTF-8"; localedef's exit code 1 means
    // warnings only.
    static void Compile(const QString& source, const char* name) {
        QProcess localedef;
        localedef.start(QStringLiteral("localedef"),
                        {QStringLiteral("--no-archive"), QStringLiteral("-i"), source,
                         QStringLiteral("-f"), QStringLiteral("UTF-8"),
                         Folder->filePath(QString::fromLatin1(name) + QStringLiteral(".UTF-8"))});
        localedef.waitForFinished(120000);
    }

    // Reads the regional settings as start-up does, under LC_TIME `locale` from the folder.
    static bool LoadUnder(const char* locale, EnvScope& env) {
        const std::string path = Folder->filePath(QString::fromLatin1(locale)).toStdString();
        if (!QFile::exists(QString::fromStdString(path + "/LC_TIME"))) return false;
        env.Set("LOCPATH", Folder->path().toUtf8().constData());
        env.Set("LC_ALL", nullptr);
        env.Set("LC_TIME", locale);
        LoadRegionalSettings();
        return true;
    }

    static inline QTemporaryDir* Folder = nullptr;
};

}  // namespace

TEST_F(CompiledLocales, ClockInLocalesWhoseSeparatorsAreNotOneAsciiCharacter) {
    const struct {
        const char* Locale;
        const char* Time;  // 23:04:47 on 2026-12-08
        const char* Date;
    } cases[] = {
        {"ja_JP.UTF-8", "23:04:47", "2026/12/08"},
        {"ko_KR.UTF-8", "23:04:47", "2026/12/08"},
        {"zh_CN.UTF-8", "23:04:47", "2026/12/08"},
        {"xx_XX.UTF-8", "23:04:47", "2026/12/08"},  // no separator at all
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Locale);
        EnvScope env;
        ASSERT_TRUE(LoadUnder(c.Locale, env)) << "localedef could not compile the locale";
        const std::tm at = At(2026, 12, 8, 23, 4, 47);
        EXPECT_EQ(FormatLongTime(at), c.Time);
        EXPECT_EQ(FormatShortDate(at), c.Date);
    }
    SetRegionalSettings({});
}
