// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// What the program says, and how it ends, on a machine that lacks what its windows need: no
// display, a display that does not answer, no platform, no Liberation fonts. Partly checked by
// starting the program itself, as a shell or a desktop starts it.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <map>

#include "app/StartupChecks.h"

namespace {

EnvironmentReader Environment(std::map<std::string, std::string> values) {
    return [values = std::move(values)](const char* name) {
        const auto it = values.find(name);
        return it == values.end() ? std::string() : it->second;
    };
}

TEST(StartupChecks, MissingDisplayOnlyWhenNothingNamesOne) {
    struct Case {
        const char* What;
        std::map<std::string, std::string> Env;
        std::vector<const char*> Args;
        bool Missing;
    };
    const Case cases[] = {
        {"nothing set", {}, {}, true},
        {"DISPLAY set but empty", {{"DISPLAY", ""}}, {}, true},
        {"an X display", {{"DISPLAY", ":0"}}, {}, false},
        {"a Wayland display", {{"WAYLAND_DISPLAY", "wayland-0"}}, {}, false},
        {"a platform chosen by environment", {{"QT_QPA_PLATFORM", "offscreen"}}, {}, false},
        {"a platform chosen by argument", {}, {"-platform", "offscreen"}, false},
        {"another argument", {}, {"-style", "fusion"}, true},
    };
    for (const Case& c : cases) {
        std::vector<char*> argv{const_cast<char*>("quillet")};
        for (const char* a : c.Args) argv.push_back(const_cast<char*>(a));
        const std::string why = MissingDisplay(Environment(c.Env), int(argv.size()), argv.data());
        EXPECT_EQ(!why.empty(), c.Missing) << c.What << ": " << why;
        if (c.Missing) {
            EXPECT_NE(why.find("DISPLAY"), std::string::npos) << c.What;
            EXPECT_EQ(why.find('\n'), std::string::npos) << c.What;
        }
    }
}

TEST(StartupChecks, FontNoticeNamesThePackageAndTheStandIn) {
    struct Case {
        std::string Family;
        std::string Mentions;  // empty: no notice
    };
    const Case cases[] = {
        {"Liberation Sans", ""}, {"liberation sans", ""},        {"Arial", ""},
        {"Arimo", ""},           {"DejaVu Sans", "DejaVu Sans"}, {"", "default font"},
    };
    for (const Case& c : cases) {
        const std::string notice = MissingFontNotice(c.Family);
        if (c.Mentions.empty()) {
            EXPECT_EQ(notice, "") << c.Family;
            continue;
        }
        EXPECT_NE(notice.find("fonts-liberation"), std::string::npos) << notice;
        EXPECT_NE(notice.find(c.Mentions), std::string::npos) << notice;
    }
}

TEST(StartupChecks, FailureLineGivesTheFirstReasonOnOneLine) {
    const std::string fatal =
        "This application failed to start because no Qt platform plugin could be initialized.\n\n"
        "Available platform plugins are: offscreen, xcb.";
    EXPECT_EQ(StartupFailureLine("could not connect to display :9", fatal),
              "quillet: cannot show the windows: could not connect to display :9");
    EXPECT_EQ(StartupFailureLine("", fatal),
              "quillet: cannot show the windows: This application failed to start because no Qt "
              "platform plugin could be initialized.");
}

// The program started with `change` applied to the test's environment; gives up after 30 s.
struct ProgramRun {
    bool Finished = false;
    QProcess::ExitStatus Status = QProcess::CrashExit;
    int Code = -1;
    QString Errors;
};

ProgramRun StartProgram(const std::function<void(QProcessEnvironment&)>& change) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("QUILLET_AUDIO_OUTPUT"), QStringLiteral("silent"));
    change(env);
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(QUILLET_PROGRAM), {});
    ProgramRun run;
    run.Finished = program.waitForFinished(30000);
    if (!run.Finished) {
        program.kill();
        program.waitForFinished();
    }
    run.Status = program.exitStatus();
    run.Code = program.exitCode();
    run.Errors = QString::fromLocal8Bit(program.readAllStandardError());
    return run;
}

TEST(StartupChecks, WithoutAUsableDisplayTheProgramEndsWithOneLineAndCodeOne) {
    struct Case {
        const char* What;
        std::function<void(QProcessEnvironment&)> Change;
        const char* Mentions;
    };
    const Case cases[] = {
        {"no display at all", [](QProcessEnvironment&) {}, "DISPLAY"},
        {"a display that does not answer",
         [](QProcessEnvironment& e) {
             e.insert(QStringLiteral("DISPLAY"), QStringLiteral(":987"));
         },
         ":987"},
        {"a platform that does not exist",
         [](QProcessEnvironment& e) {
             e.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("nosuchplatform"));
         },
         "nosuchplatform"},
    };
    for (const Case& c : cases) {
        const ProgramRun run = StartProgram(c.Change);
        ASSERT_TRUE(run.Finished) << c.What << ": still running";
        EXPECT_EQ(run.Status, QProcess::NormalExit) << c.What << ": " << run.Errors.toStdString();
        EXPECT_EQ(run.Code, 1) << c.What;
        const QString line = run.Errors.trimmed();
        EXPECT_FALSE(line.contains(u'\n')) << c.What << ": " << run.Errors.toStdString();
        EXPECT_TRUE(line.startsWith(QStringLiteral("quillet: "))) << line.toStdString();
        EXPECT_TRUE(line.contains(QLatin1String(c.Mentions))) << line.toStdString();
    }
}

TEST(StartupChecks, WithoutLiberationFontsTheProgramStartsAndSaysSo) {
    const QString dejavu = QStringLiteral("/usr/share/fonts/truetype/dejavu");
    if (!QFile::exists(dejavu)) GTEST_SKIP() << "needs the DejaVu fonts as the only ones left";
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("fonts.conf"));
    QFile file(config);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<?xml version=\"1.0\"?>\n<fontconfig><dir>" + dejavu.toUtf8() + "</dir><cachedir>" +
               dir.filePath(QStringLiteral("cache")).toUtf8() + "</cachedir></fontconfig>\n");
    file.close();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QUILLET_AUDIO_OUTPUT"), QStringLiteral("silent"));
    env.insert(QStringLiteral("FONTCONFIG_FILE"), config);
    QProcess program;
    program.setProcessEnvironment(env);
    program.setReadChannel(QProcess::StandardError);
    program.start(QStringLiteral(QUILLET_PROGRAM), {});
    QString errors;
    // The notice comes before the windows are built; the program then keeps running.
    while (!errors.contains(QStringLiteral("fonts-liberation")) && program.waitForReadyRead(30000))
        errors += QString::fromLocal8Bit(program.readAllStandardError());
    const bool running = program.state() == QProcess::Running;
    program.kill();
    program.waitForFinished();
    EXPECT_TRUE(running) << errors.toStdString();
    EXPECT_TRUE(errors.contains(QStringLiteral("fonts-liberation"))) << errors.toStdString();
    EXPECT_TRUE(errors.contains(QStringLiteral("DejaVu Sans"))) << errors.toStdString();
}

}  // namespace
