// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// Every way the main window loads or saves a note, pointed at a pipe: the file list's "Load -->",
// a double-click and "Save -->", and the Open and Save As dialogs. Each gives its file error at
// once, the note keeps its text and the pipe stays a pipe.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>
#include <optional>

#include "app/Unit7.h"
#include "browse/TFileListBox.h"
#include "notes/TRichEdit.h"
#include "tests/TestSupport.h"
#include "tests/app/AppFixture.h"
#include "toolkit/TBitBtn.h"
#include "toolkit/TMenuItem.h"
#include "toolkit/TOpenDialog.h"

namespace {

class NoteSpecialFiles : public AppFixture {
protected:
    void PrepareFiles() override {
        ASSERT_EQ(::mkfifo(SystemPath("Work/pipe.rtf").c_str(), 0666), 0);
    }
};

}  // namespace

TEST_F(NoteSpecialFiles, EveryWayToAPipeGivesTheFileErrorAndKeepsTheNote) {
    // Pipes are system entries: the list shows them once asked to.
    Form7->FileListBox1->SetFileTypeBits(FileTypeOf({ftNormal, ftSystem}));
    // Named as the Save dialog would name it: it adds ".rtf" to a name without an extension.
    const int pipe = Form7->FileListBox1->IndexOfText("pipe.rtf");
    ASSERT_GE(pipe, 0);
    Form7->RichEdit1->SetText("precious");
    TOpenDialog::ExecuteHook = [&](TOpenDialog&) -> std::optional<std::string> {
        return SystemPath("Work/pipe.rtf");
    };
    const std::string open = "Cannot open file \"C:\\Work\\pipe.rtf\". Is a pipe, not a file.";
    const std::string create = "Cannot create file \"C:\\Work\\pipe.rtf\". Is a pipe, not a file.";
    const struct {
        const char* Way;
        std::function<void()> Do;
        std::string Message;
    } ways[] = {
        {"Load -->",
         [&] {
             ClickEntry(Form7->FileListBox1, pipe);
             Press("BitBtn4");
         },
         open},
        {"double-click", [&] { ClickEntry(Form7->FileListBox1, pipe, true); }, open},
        {"Save -->",
         [&] {
             ClickEntry(Form7->FileListBox1, pipe);
             Press("BitBtn5");
         },
         create},
        {"Open", [&] { Menu("N3"); }, open},
        {"Save As", [&] { Menu("SaveAs1"); }, create},
    };
    for (const auto& w : ways) {
        w.Do();
        const auto boxes = ErrorBoxRecorder::Take();
        ASSERT_EQ(boxes.size(), 1u) << w.Way;
        EXPECT_EQ(boxes[0].Text, w.Message) << w.Way;
        EXPECT_EQ(Form7->RichEdit1->Text(), "precious") << w.Way;
        struct stat st {};
        ASSERT_EQ(::stat(SystemPath("Work/pipe.rtf").c_str(), &st), 0) << w.Way;
        EXPECT_TRUE(S_ISFIFO(st.st_mode)) << w.Way;
    }
}
