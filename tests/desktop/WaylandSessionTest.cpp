// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The program on a Wayland compositor (weston's headless back end, started by the test): the
// program's own start in a child process with Qt's Wayland platform opens the main window, the
// About box and the Descriptions window at their sizes, tells the compositor the desktop entry's
// name for each, warns of nothing, and quits cleanly. What the compositor was told is read from
// the Wayland library's own log of the requests the program sent (WAYLAND_DEBUG).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <algorithm>
#include <map>

#include "tests/TestSupport.h"
#include "tests/desktop/PrivateSession.h"
#include "tests/desktop/WindowReport.h"

namespace {

// What the program said on standard error besides the Wayland library's request log, whose lines
// begin with a time stamp in brackets: a sanitizer's report, a Qt warning.
std::string Diagnostics(const QString& log) {
    QStringList lines;
    for (const QString& line : log.split(u'\n'))
        if (!line.startsWith(u'[') && !line.isEmpty()) lines << line;
    return lines.join(u'\n').toStdString();
}

using namespace DesktopTest;

// The most a frame drawn by Qt adds to a window's width or height (title bar and borders).
constexpr int kFrameAllowance = 64;

// A top-level window as the compositor was told of it.
struct TToplevel {
    QString Title, AppId;
    int Width = 0, Height = 0;  // the last window geometry set for it
};

// The top-level windows in a WAYLAND_DEBUG log, by the id of their xdg_toplevel object.
std::map<int, TToplevel> ToplevelsInLog(const QString& log) {
    static const QRegularExpression request(QStringLiteral(R"(-> (\w+)@(\d+)\.(\w+)\((.*)\)\s*$)"));
    std::map<int, TToplevel> toplevels;
    std::map<int, int> toplevelOfSurface;
    for (const QString& line : log.split(u'\n')) {
        const QRegularExpressionMatch m = request.match(line);
        if (!m.hasMatch()) continue;
        const QString object = m.captured(1), method = m.captured(3), args = m.captured(4);
        const int id = m.captured(2).toInt();
        const QString quoted = args.section(u'"', 1, -2);
        if (object == u"xdg_surface" && method == u"get_toplevel") {
            const int toplevel = args.section(u'@', 1).toInt();
            toplevelOfSurface[id] = toplevel;
            toplevels[toplevel] = {};
        } else if (object == u"xdg_toplevel" && method == u"set_title") {
            toplevels[id].Title = quoted;
        } else if (object == u"xdg_toplevel" && method == u"set_app_id") {
            toplevels[id].AppId = quoted;
        } else if (object == u"xdg_surface" && method == u"set_window_geometry" &&
                   toplevelOfSurface.count(id)) {
            const QStringList numbers = args.split(u',');
            if (numbers.size() != 4) continue;
            TToplevel& t = toplevels[toplevelOfSurface[id]];
            t.Width = numbers[2].trimmed().toInt();
            t.Height = numbers[3].trimmed().toInt();
        }
    }
    return toplevels;
}

TEST(WaylandLog, ToplevelsAreReadFromTheRequests) {
    const QString log = QStringLiteral(
        "[ 1.000]  -> xdg_wm_base@12.get_xdg_surface(new id xdg_surface@20, wl_surface@19)\n"
        "[ 1.001]  -> xdg_surface@20.get_toplevel(new id xdg_toplevel@21)\n"
        "[ 1.002]  -> xdg_toplevel@21.set_title(\"About \\\"it\\\"\")\n"
        "[ 1.003]  -> xdg_toplevel@21.set_app_id(\"io.github.quillet.Quillet\")\n"
        "[ 1.004] xdg_toplevel@21.configure(0, 0, array[0])\n"
        "[ 1.005]  -> xdg_surface@20.set_window_geometry(0, 0, 640, 480)\n"
        "[ 1.006]  -> xdg_surface@20.set_window_geometry(0, 0, 509, 217)\n"
        "[ 1.007]  -> xdg_surface@30.set_window_geometry(0, 0, 9, 9)\n");
    const std::map<int, TToplevel> toplevels = ToplevelsInLog(log);
    ASSERT_EQ(toplevels.size(), 1u);
    const TToplevel& t = toplevels.at(21);
    EXPECT_EQ(t.Title, QStringLiteral("About \\\"it\\\""));
    EXPECT_EQ(t.AppId, QStringLiteral("io.github.quillet.Quillet"));
    EXPECT_EQ(t.Width, 509);
    EXPECT_EQ(t.Height, 217);
}

class WaylandSession : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Runtime.IsValid());
        if (!Weston.Start(Runtime))
            GTEST_SKIP() << "no Wayland compositor: " << Weston.Why().toStdString();
    }
    TRuntimeDir Runtime;
    TWestonServer Weston;
};

TEST_F(WaylandSession, WindowsComeUpAtTheirSizesUnderTheDesktopEntrysName) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "QT_SCALE_FACTOR"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("QUILLET_DESKTOP_TEST_CHILD"), QStringLiteral("window-report"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    env.insert(QStringLiteral("WAYLAND_DISPLAY"), Weston.Socket());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), Runtime.Path());
    env.insert(QStringLiteral("WAYLAND_DEBUG"), QStringLiteral("client"));
    env.insert(QStringLiteral("QUILLET_AUDIO_OUTPUT"), QStringLiteral("silent"));
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(QCoreApplication::applicationFilePath(), {});
    const bool finished = program.waitForFinished(120000);
    if (!finished) program.kill();
    program.waitForFinished();
    const QString out = QString::fromLocal8Bit(program.readAllStandardOutput());
    const QString log = QString::fromLocal8Bit(program.readAllStandardError());
    ASSERT_TRUE(finished) << "still running; it wrote:\n" << out.toStdString();
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << Diagnostics(log);
    EXPECT_EQ(program.exitCode(), 0) << out.toStdString() << Diagnostics(log);
    EXPECT_TRUE(out.contains(QStringLiteral("platform wayland\n"))) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("desktop-file io.github.quillet.Quillet\n")));

    // Qt's own view: each window at its designed client size.
    const std::vector<TWindowLine> windows = ParseWindowReport(out.toStdString());
    ASSERT_EQ(windows.size(), 3u) << out.toStdString();
    for (const TWindowLine& w : windows) {
        EXPECT_EQ(w.ClientWidth, w.DesignedWidth) << w.Name;
        EXPECT_EQ(w.ClientHeight, w.DesignedHeight) << w.Name;
    }

    // The compositor's: one top level per window, under the desktop entry's name, with the
    // window's title and a size that holds the window (and the frame Qt draws, where the
    // compositor draws none) and no more.
    const std::map<int, TToplevel> toplevels = ToplevelsInLog(log);
    for (const TWindowLine& w : windows) {
        const QString title = QString::fromStdString(w.Title);
        const auto it = std::find_if(toplevels.begin(), toplevels.end(),
                                     [&](const auto& t) { return t.second.Title == title; });
        ASSERT_NE(it, toplevels.end()) << "no top level titled " << w.Title;
        const TToplevel& t = it->second;
        EXPECT_EQ(t.AppId, QStringLiteral("io.github.quillet.Quillet")) << w.Name;
        EXPECT_GE(t.Width, w.Width) << w.Name;
        EXPECT_GE(t.Height, w.Height) << w.Name;
        EXPECT_LE(t.Width, w.Width + kFrameAllowance) << w.Name;
        EXPECT_LE(t.Height, w.Height + kFrameAllowance) << w.Name;
    }

    // Nothing the program does is refused by the platform: no warning of Qt's Wayland
    // platform, nothing of X11.
    QStringList complaints;
    for (const QString& line : log.split(u'\n')) {
        if (line.startsWith(u'[')) continue;  // the protocol log
        if (line.contains(QStringLiteral("qt.qpa")) || line.contains(QStringLiteral("xcb")) ||
            line.contains(QStringLiteral("Wayland does not support")))
            complaints += line;
    }
    EXPECT_TRUE(complaints.isEmpty()) << complaints.join(u'\n').toStdString();
}

}  // namespace
