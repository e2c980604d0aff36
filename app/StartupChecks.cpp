// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "app/StartupChecks.h"

#include <QFont>
#include <QFontInfo>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "toolkit/TFont.h"

namespace {

struct HeldMessage {
    QtMsgType Type;
    std::string Category;
    QString Text;
};

QtMessageHandler gPreviousHandler = nullptr;
std::vector<HeldMessage> gHeld;

std::string FirstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

void StartupMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    const std::string category = context.category ? context.category : "";
    if (type == QtFatalMsg) {
        const std::string warning =
            gHeld.empty() ? std::string() : gHeld.front().Text.toStdString();
        std::fprintf(stderr, "%s\n", StartupFailureLine(warning, text.toStdString()).c_str());
        std::fflush(stderr);
        // An abort would leave a core dump for a machine that merely lacks a display.
        std::_Exit(1);
    }
    if (category.starts_with("qt.qpa.")) {
        gHeld.push_back({type, category, text});
        return;
    }
    gPreviousHandler(type, context, text);
}

}  // namespace

std::string SystemEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string MissingDisplay(const EnvironmentReader& environment, int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return {};
    if (!environment("QT_QPA_PLATFORM").empty()) return {};
    if (!environment("DISPLAY").empty() || !environment("WAYLAND_DISPLAY").empty()) return {};
    return "quillet: no display to show the windows on: DISPLAY and WAYLAND_DISPLAY are not set "
           "(start it in a desktop session, or under a virtual X server such as Xvfb)";
}

std::string MissingFontNotice(const std::string& family) {
    if (MeasuredFaces().contains(QString::fromStdString(family), Qt::CaseInsensitive)) return {};
    return "quillet: the font Liberation Sans is not installed (package fonts-liberation); the "
           "windows use " +
           (family.empty() ? std::string("the system's default font") : family) +
           " instead, and some captions may not fit their places";
}

std::string WindowFontFamily() {
    // The windows' own font, at their size: the face Qt loads for it here is the one the main
    // window then uses, so asking costs the start nothing extra.
    return QFontInfo(TFont().ToQFont()).family().toStdString();
}

StartupErrorGuard::StartupErrorGuard() {
    gHeld.clear();
    gPreviousHandler = qInstallMessageHandler(StartupMessage);
}

StartupErrorGuard::~StartupErrorGuard() {
    qInstallMessageHandler(gPreviousHandler);
    // The start went well: the held warnings are shown as they would have been.
    for (const HeldMessage& m : gHeld) {
        const QMessageLogContext context(nullptr, 0, nullptr, m.Category.c_str());
        gPreviousHandler(m.Type, context, m.Text);
    }
    gHeld.clear();
}

std::string StartupFailureLine(const std::string& warning, const std::string& fatal) {
    const std::string reason = warning.empty() ? FirstLine(fatal) : FirstLine(warning);
    return "quillet: cannot show the windows: " + reason;
}
