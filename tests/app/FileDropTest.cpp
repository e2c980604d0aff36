// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// Files dropped from a file manager: onto the note area they load as "Load -->" loads, onto the
// player bar they open as "Open Music Files" opens; a folder or many files give the first file or
// nothing; anything else dropped on the note area keeps the rich edit's own behaviour.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "app/FileDrop.h"
#include "app/Unit7.h"
#include "notes/TRichEdit.h"
#include "platform/mci/MciOutput.h"
#include "player/TMediaPlayer.h"
#include "tests/TestSupport.h"
#include "tests/ToneFiles.h"
#include "tests/app/AppFixture.h"

namespace {

std::unique_ptr<QMimeData> Uris(const std::vector<std::string>& entries) {
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const std::string& e : entries) urls << QUrl(QString::fromStdString(e));
    data->setUrls(urls);
    return data;
}

// Drags `data` over `target` and drops it there as a file manager's drop arrives; returns
// whether the drag was accepted.
bool Drop(QWidget* target, const QMimeData* data) {
    const QPointF at(10, 10);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton,
                          Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(at, enter.dropAction(), data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

class FileDrops : public AppFixture {
protected:
    void SetUp() override {
        SetMciOutput(TMciOutput::Silent);
        AppFixture::SetUp();
    }
    std::string Url(const std::string& relative) const {
        return QUrl::fromLocalFile(QString::fromStdString(SystemPath(relative)))
            .toString()
            .toStdString();
    }
    QWidget* NoteArea() const { return Form7->RichEdit1->viewport(); }
};

TEST(FileDrop, WhatADropCarriesForAFileAction) {
    QTemporaryDir dir;
    const std::string root = dir.path().toStdString();
    ASSERT_TRUE(QDir().mkpath(dir.path() + QStringLiteral("/sub")));
    ASSERT_TRUE(WriteFileBytes(root + "/a.txt", "a"));
    const std::string url = QUrl::fromLocalFile(dir.path()).toString().toStdString();
    struct Case {
        const char* What;
        std::vector<std::string> Entries;
        std::optional<std::string> File;
    };
    const Case cases[] = {
        {"one file", {url + "/a.txt"}, root + "/a.txt"},
        {"a missing file is still handed on", {url + "/gone.rtf"}, root + "/gone.rtf"},
        {"a folder then a file", {url + "/sub", url + "/a.txt"}, root + "/a.txt"},
        {"only a folder", {url + "/sub"}, std::string()},
        {"a web address", {"https://example.org/a.rtf"}, std::nullopt},
        {"a local file beside a web address",
         {url + "/a.txt", "https://example.org/"},
         std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(DroppedFile(Uris(c.Entries).get()), c.File) << c.What;
    QMimeData text;
    text.setText(QStringLiteral("plain words"));
    EXPECT_EQ(DroppedFile(&text), std::nullopt);
    EXPECT_EQ(DroppedFile(nullptr), std::nullopt);
}

TEST_F(FileDrops, ANoteDroppedOnTheNoteAreaLoadsAndMusicOnTheBarOpens) {
    ASSERT_TRUE(WriteFileBytes(SystemPath("note.rtf"), "{\\rtf1\\ansi Hello {\\b there}}"));
    ASSERT_TRUE(ToneFiles::WriteWav(SystemPath("tune.wav"), 500));
    EXPECT_TRUE(Drop(NoteArea(), Uris({Url("note.rtf")}).get()));
    EXPECT_EQ(Form7->RichEdit1->Text(), "Hello there");
    EXPECT_TRUE(Drop(Form7->MediaPlayer1, Uris({Url("tune.wav"), Url("note.rtf")}).get()));
    ASSERT_TRUE(Form7->MediaPlayer1->IsOpen());
    EXPECT_EQ(Form7->MediaPlayer1->FileName(), "C:\\tune.wav");
    EXPECT_EQ(Form7->MediaPlayer1->DeviceMode(), pmStopped);
    EXPECT_TRUE(ErrorBoxRecorder::Take().empty());
}

TEST_F(FileDrops, BadDropsShowTheButtonsErrorsAndKeepTheNote) {
    ASSERT_EQ(::mkfifo(SystemPath("pipe.rtf").c_str(), 0666), 0);
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(SystemPath("folder"))));
    ASSERT_TRUE(WriteFileBytes(SystemPath("letter.mp3"), "Dear Ann, this is not a song.\n"));
    Form7->RichEdit1->SetText("precious");

    EXPECT_TRUE(Drop(NoteArea(), Uris({Url("pipe.rtf")}).get()));
    auto boxes = ErrorBoxRecorder::Take();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "Cannot open file \"C:\\pipe.rtf\". Is a pipe, not a file.");
    EXPECT_TRUE(Drop(NoteArea(), Uris({Url("missing.rtf")}).get()));
    EXPECT_EQ(ErrorBoxRecorder::Take().size(), 1u);
    // A folder alone: taken, and nothing happens.
    EXPECT_TRUE(Drop(NoteArea(), Uris({Url("folder")}).get()));
    EXPECT_TRUE(ErrorBoxRecorder::Take().empty());
    EXPECT_EQ(Form7->RichEdit1->Text(), "precious");

    EXPECT_TRUE(Drop(Form7->MediaPlayer1, Uris({Url("letter.mp3")}).get()));
    EXPECT_EQ(ErrorBoxRecorder::Take().size(), 1u);
    EXPECT_FALSE(Form7->MediaPlayer1->IsOpen());
}

TEST_F(FileDrops, OtherDropsKeepTheRichEditsOwnBehaviour) {
    Form7->RichEdit1->SetText("");
    QMimeData text;
    text.setText(QStringLiteral("dropped words"));
    EXPECT_TRUE(Drop(NoteArea(), &text));
    EXPECT_EQ(Form7->RichEdit1->Text(), "dropped words");
    // Plain words are nothing the player takes.
    EXPECT_FALSE(Drop(Form7->MediaPlayer1, &text));
    EXPECT_TRUE(ErrorBoxRecorder::Take().empty());
}

}  // namespace
