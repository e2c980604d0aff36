// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include "platform/mci/MciDeviceName.h"

namespace {

// The windowing system's options, which its start removes from the arguments; they take no part
// in usage and are accepted here only so that they are not unknown.
void AddToolkitOptions(QCommandLineParser& parser) {
    const char* withValue[] = {"platform",      "platformpluginpath",
                               "platformtheme", "plugin",
                               "display",       "style",
                               "stylesheet",    "qwindowgeometry",
                               "geometry",      "qwindowtitle",
                               "qwindowicon",   "session",
                               "name",          "title",
                               "visual",        "qmljsdebugger"};
    const char* flags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};
    for (const char* name : withValue) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setValueName(QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : flags) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

}  // namespace

bool IsMusicFile(const std::string& path) {
    MCIERROR error = 0;
    return DeviceKindFromFileName(path, error) != TMciDeviceKind::None;
}

TCommandLine ParseCommandLine(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    // "-platform xcb" is one option with a value, as the windowing system reads it.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOption(help);
    parser.addOption(version);
    AddToolkitOptions(parser);
    parser.addPositionalArgument(QStringLiteral("files"), QString());

    TCommandLine result;
    if (!parser.parse(arguments)) {
        result.Action = TCommandLine::caUsageError;
        result.Error = parser.errorText().toStdString();
        return result;
    }
    if (parser.isSet(help)) {
        result.Action = TCommandLine::caHelp;
        return result;
    }
    if (parser.isSet(version)) {
        result.Action = TCommandLine::caVersion;
        return result;
    }
    for (const QString& file : parser.positionalArguments()) {
        const std::string path = QDir::cleanPath(QFileInfo(file).absoluteFilePath()).toStdString();
        std::string& slot = IsMusicFile(path) ? result.MusicFile : result.NoteFile;
        if (slot.empty()) slot = path;
    }
    return result;
}

std::string UsageText() {
    return "Usage: quillet [options] [FILE...]\n"
           "Quillet 3.2+: a note area, a drive and file browser, a music player and a clock.\n"
           "\n"
           "Files: the first note file (rich text or plain text) is loaded into the note area,\n"
           "the first music file (.mp3, .wav, .cda, .ogg, .flac, ...) is opened in the player,\n"
           "ready to play.\n"
           "\n"
           "Options:\n"
           "  -h, --help     show this text and end\n"
           "  -v, --version  show the program's name and version and end\n";
}

std::string VersionText() {
    return "Quillet 3.2+\n";
}
