// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The command line: usage and version without a display, an unknown option refused with code 2,
// and the files a file manager's "Open with" passes, opened as the buttons open them.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include "app/CommandLine.h"
#include "app/Startup.h"
#include "app/Unit7.h"
#include "notes/TRichEdit.h"
#include "platform/mci/MciOutput.h"
#include "player/TMediaPlayer.h"
#include "tests/TestSupport.h"
#include "tests/ToneFiles.h"
#include "tests/app/AppFixture.h"

namespace {

TCommandLine Parse(std::vector<std::string> args) {
    args.insert(args.begin(), "quillet");
    std::vector<char*> argv;
    argv.reserve(args.size());
    for (std::string& a : args) argv.push_back(a.data());
    return ParseCommandLine(int(argv.size()), argv.data());
}

TEST(CommandLine, OptionsAndFilesAreSortedOut) {
    // Relative names are taken from the working directory at start.
    const QString saved = QDir::currentPath();
    QTemporaryDir dir;
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const std::string cwd = QDir::currentPath().toStdString();
    struct Case {
        std::vector<std::string> Args;
        TCommandLine::TAction Action;
        std::string Note, Music;
    };
    const Case cases[] = {
        {{}, TCommandLine::caRun, "", ""},
        {{"--help"}, TCommandLine::caHelp, "", ""},
        {{"-h", "a.rtf"}, TCommandLine::caHelp, "", ""},
        {{"--version"}, TCommandLine::caVersion, "", ""},
        {{"-v"}, TCommandLine::caVersion, "", ""},
        {{"--frobnicate"}, TCommandLine::caUsageError, "", ""},
        {{"-x"}, TCommandLine::caUsageError, "", ""},
        // The windowing system's own options pass through untouched.
        {{"-platform", "offscreen", "-style", "fusion", "--reverse"}, TCommandLine::caRun, "", ""},
        {{"/n/a.rtf", "/m/b.mp3", "/n/c.txt", "/m/d.WAV"},
         TCommandLine::caRun,
         "/n/a.rtf",
         "/m/b.mp3"},
        {{"/m/song.ogg", "/n/readme"}, TCommandLine::caRun, "/n/readme", "/m/song.ogg"},
        {{"notes/../x.rtf"}, TCommandLine::caRun, cwd + "/x.rtf", ""},
        {{"--", "--help"}, TCommandLine::caRun, cwd + "/--help", ""},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const std::string& a : c.Args) shown += a + " ";
        const TCommandLine cl = Parse(c.Args);
        EXPECT_EQ(cl.Action, c.Action) << shown;
        EXPECT_EQ(cl.NoteFile, c.Note) << shown;
        EXPECT_EQ(cl.MusicFile, c.Music) << shown;
        EXPECT_EQ(cl.Action == TCommandLine::caUsageError, !cl.Error.empty()) << shown;
    }
    QDir::setCurrent(saved);
}

struct ProgramOutput {
    bool Finished = false;
    int Code = -1;
    std::string Out, Err;
};

// The program itself with `args`, on a machine without any display.
ProgramOutput RunWithoutDisplay(const QStringList& args) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(QUILLET_PROGRAM), args);
    ProgramOutput out;
    out.Finished = program.waitForFinished(30000);
    if (!out.Finished) program.kill(), program.waitForFinished();
    out.Code = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    out.Out = program.readAllStandardOutput().toStdString();
    out.Err = program.readAllStandardError().toStdString();
    return out;
}

TEST(CommandLine, UsageAndVersionNeedNoDisplayAndAnUnknownOptionEndsWithCodeTwo) {
    const ProgramOutput help = RunWithoutDisplay({QStringLiteral("--help")});
    ASSERT_TRUE(help.Finished);
    EXPECT_EQ(help.Code, 0);
    EXPECT_EQ(help.Out, UsageText());
    EXPECT_EQ(help.Err, "");

    const ProgramOutput version = RunWithoutDisplay({QStringLiteral("--version")});
    EXPECT_EQ(version.Code, 0);
    EXPECT_EQ(version.Out, "Quillet 3.2+\n");

    const ProgramOutput bad = RunWithoutDisplay({QStringLiteral("--frobnicate")});
    EXPECT_EQ(bad.Code, 2);
    EXPECT_EQ(bad.Out, "");
    EXPECT_NE(bad.Err.find("frobnicate"), std::string::npos) << bad.Err;
    EXPECT_NE(bad.Err.find(UsageText()), std::string::npos) << bad.Err;
}

class CommandLineFiles : public AppFixture {
protected:
    void SetUp() override {
        SetMciOutput(TMciOutput::Silent);
        AppFixture::SetUp();
    }
    void Open(const std::string& note, const std::string& music) {
        TCommandLine cl;
        cl.NoteFile = note;
        cl.MusicFile = music;
        OpenCommandLineFiles(cl);
        // The error boxes come once the loop runs.
        QCoreApplication::processEvents();
    }
};

TEST_F(CommandLineFiles, TheNoteLoadsAndTheMusicOpensReadyToPlay) {
    ASSERT_TRUE(WriteFileBytes(SystemPath("note.rtf"), "{\\rtf1\\ansi Hello {\\b there}}"));
    ASSERT_TRUE(ToneFiles::WriteWav(SystemPath("tune.wav"), 500));
    Open(SystemPath("note.rtf"), SystemPath("tune.wav"));
    EXPECT_TRUE(ErrorBoxRecorder::Take().empty());
    EXPECT_EQ(Form7->RichEdit1->Text(), "Hello there");
    TMediaPlayer* player = Form7->MediaPlayer1;
    ASSERT_TRUE(player->IsOpen());
    EXPECT_EQ(player->FileName(), "C:\\tune.wav");
    EXPECT_EQ(player->DeviceMode(), pmStopped);
    EXPECT_TRUE(player->Usable(btPlay));
    EXPECT_FALSE(player->Usable(btPause));
}

TEST_F(CommandLineFiles, BadFilesShowTheButtonsErrorsAndTheRestStillOpens) {
    ASSERT_TRUE(ToneFiles::WriteWav(SystemPath("tune.wav"), 500));
    ASSERT_TRUE(WriteFileBytes(SystemPath("letter.mp3"), "Dear Ann, this is not a song.\n"));
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(SystemPath("folder.rtf"))));
    Form7->RichEdit1->SetText("precious");

    Open(SystemPath("missing.rtf"), SystemPath("tune.wav"));
    auto boxes = ErrorBoxRecorder::Take();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text.rfind("Cannot open file \"C:\\missing.rtf\".", 0), 0u) << boxes[0].Text;
    EXPECT_EQ(boxes[0].Caption, "Quillet 3.1+");
    EXPECT_EQ(Form7->RichEdit1->Text(), "precious");
    EXPECT_TRUE(Form7->MediaPlayer1->IsOpen());

    Open(SystemPath("folder.rtf"), SystemPath("letter.mp3"));
    boxes = ErrorBoxRecorder::Take();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].Text.rfind("Cannot open file \"C:\\folder.rtf\".", 0), 0u) << boxes[0].Text;
    EXPECT_FALSE(boxes[1].Text.empty());
    EXPECT_EQ(Form7->RichEdit1->Text(), "precious");
    EXPECT_FALSE(Form7->MediaPlayer1->IsOpen());
}

}  // namespace
