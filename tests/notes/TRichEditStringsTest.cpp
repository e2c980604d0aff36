// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <fstream>
#include <thread>
#include <vector>

#include "notes/TConversionFormat.h"
#include "notes/TMemoryStream.h"
#include "notes/TRichEdit.h"
#include "platform/system/Exception.h"
#include "tests/notes/NoteTestSupport.h"

using namespace std::string_literals;

namespace {

using Lines = std::vector<std::string>;

// Loads `bytes` through a file on D: with the control's stream buffer at `buffer` bytes.
Lines LoadLines(const std::string& bytes, int buffer = 4096) {
    NoteFiles files;
    files.Write("in.txt", bytes);
    auto edit = NewNoteArea();
    edit->SetWordWrap(false);
    edit->SetStreamBufferSize(buffer);
    edit->Lines().ReadFromFile(NoteFiles::Path("in.txt"));
    return AllLines(*edit);
}

// A conversion that fails on its n-th read or write.
class FailingConversion : public TConversion {
public:
    static inline int FailAt = 2;
    int ReadChunk(TStream& stream, char* buffer, int size) override {
        if (++Calls == FailAt) throw EInOutError("Input/output error", 1117);
        return TConversion::ReadChunk(stream, buffer, size);
    }
    int WriteChunk(TStream& stream, const char* buffer, int size) override {
        if (++Calls == FailAt) throw EInOutError("No space left on device", 112);
        return TConversion::WriteChunk(stream, buffer, size);
    }
    int Calls = 0;
};

}  // namespace

TEST(TRichEditStrings, LineCountSkipsTheEmptyLineAfterAFinalBreak) {
    auto edit = NewNoteArea();
    EXPECT_EQ(edit->Lines().LineCount(), 0);
    edit->SetText("x\r\n");
    EXPECT_EQ(edit->Lines().LineCount(), 1);
    edit->SetText("x");
    EXPECT_EQ(edit->Lines().LineCount(), 1);
    edit->SetText("x\r\n\r\ny");
    EXPECT_EQ(AllLines(*edit), (Lines{"x", "", "y"}));
    EXPECT_EQ(edit->Lines().LineAt(-1), "");
    EXPECT_EQ(edit->Lines().LineAt(3), "");
}

TEST(TRichEditStrings, LfCrAndCrLfFilesLoadOneLinePerBreak) {
    EXPECT_EQ(LoadLines("a\nbb\nccc\n"), (Lines{"a", "bb", "ccc"}));
    EXPECT_EQ(LoadLines("a\rbb\rccc\r"), (Lines{"a", "bb", "ccc"}));
    EXPECT_EQ(LoadLines("a\r\nbb\r\nccc\r\n"), (Lines{"a", "bb", "ccc"}));
    EXPECT_EQ(LoadLines("a\n\rb\r\r\nc"), (Lines{"a", "", "b", "", "c"}));
}

TEST(TRichEditStrings, BreaksSplitBetweenChunksCountOnce) {
    // Every chunk size puts a chunk boundary between some CR and what follows it.
    const std::string mixed = "a\r\nbb\rccc\ndd\r\n\r\ne\r\rf\r";
    const Lines expected{"a", "bb", "ccc", "dd", "", "e", "", "f"};
    for (int buffer = 4; buffer <= 24; ++buffer)
        EXPECT_EQ(LoadLines(mixed, buffer), expected) << "buffer " << buffer;
}

TEST(TRichEditStrings, NulEndsTheTextOfItsChunkOnly) {
    const std::string bytes = "abc\0def\r\nghi"s;
    // One chunk: everything after the NUL is gone.
    EXPECT_EQ(LoadLines(bytes), (Lines{"abc"}));
    // Chunks of 4 bytes: "abc\0" | "def\r" | "\nghi".
    EXPECT_EQ(LoadLines(bytes, 8), (Lines{"abcdef", "ghi"}));
    // A chunk that starts with a NUL gives nothing, but the reading goes on.
    EXPECT_EQ(LoadLines("abcd\0xyzefgh"s, 8), (Lines{"abcdefgh"}));
}

TEST(TRichEditStrings, EveryLoadedBreakReadsBackAsCrLf) {
    const struct {
        std::string File, Text;
    } cases[] = {
        {"a\nb\rc\r\nd", "a\r\nb\r\nc\r\nd"},
        {"x\0y"s, "x"},
        {"\r", "\r\n"},
        {"\r\n\n", "\r\n\r\n"},
    };
    for (const auto& c : cases) {
        NoteFiles files;
        files.Write("in.txt", c.File);
        auto edit = NewNoteArea();
        edit->Lines().ReadFromFile(NoteFiles::Path("in.txt"));
        EXPECT_EQ(edit->Text(), c.Text) << c.File;
    }
}

TEST(TRichEditStrings, PlainFileLoadsAsPlainTextAfterTheRtfAttemptFails) {
    const std::string bytes = "caf\xC3\xA9 \xE9t\xE9 {\\b not bold}\tend";
    EXPECT_EQ(LoadLines(bytes), (Lines{"caf\xC3\xA9 \xC3\xA9t\xC3\xA9 {\\b not bold}\tend"}));
}

TEST(TRichEditStrings, RtfFileLoadsWithItsFormatting) {
    NoteFiles files;
    files.Write("f.rtf", "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 one \\b two\\b0\\par three}");
    auto edit = NewNoteArea();
    edit->Lines().ReadFromFile(NoteFiles::Path("f.rtf"));
    EXPECT_EQ(AllLines(*edit), (Lines{"one two", "three"}));
    edit->EmExSetSel({4, 7});
    EXPECT_TRUE(edit->EmGetCharFormat(true).Effects & RichEdit::CFE_BOLD);
}

TEST(TRichEditStrings, PlainTextSettingReadsAndWritesTextOnly) {
    NoteFiles files;
    files.Write("f.rtf", "{\\rtf1 x}");
    auto edit = NewNoteArea();
    edit->SetPlainText(true);
    edit->Lines().ReadFromFile(NoteFiles::Path("f.rtf"));
    EXPECT_EQ(AllLines(*edit), (Lines{"{\\rtf1 x}"}));
    edit->SetText("one\r\ntwo");
    edit->Lines().WriteToFile(NoteFiles::Path("out.rtf"));
    EXPECT_EQ(files.Read("out.rtf"), "one\r\ntwo");
}

TEST(TRichEditStrings, EveryFileIsWrittenAsRtfWhateverItsExtension) {
    NoteFiles files;
    auto edit = NewNoteArea();
    edit->SetText("first\r\nsecond");
    for (const char* name : {"a.txt", "a.rtf", "noext", "a.doc"}) {
        edit->Lines().WriteToFile(NoteFiles::Path(name));
        const std::string saved = files.Read(name);
        EXPECT_EQ(saved.rfind("{\\rtf", 0), 0u) << name;
        auto back = NewNoteArea();
        back->Lines().ReadFromFile(NoteFiles::Path(name));
        EXPECT_EQ(AllLines(*back), (Lines{"first", "second"})) << name;
    }
}

TEST(TRichEditStrings, RegistryHeadIsTxtAndTheFallback) {
    const TConversionFormat* head = ConversionFormatList();
    ASSERT_NE(head, nullptr);
    EXPECT_EQ(head->Extension, "txt");
    ASSERT_NE(head->NextFormat, nullptr);
    EXPECT_EQ(head->NextFormat->Extension, "rtf");
    EXPECT_EQ(head->NextFormat->NextFormat, nullptr);
    EXPECT_EQ(&FindConversionFormat("rtf"), head->NextFormat);
    EXPECT_EQ(&FindConversionFormat(""), head);
    EXPECT_EQ(&FindConversionFormat("doc"), head);
    EXPECT_EQ(&FindConversionFormat("RTF"), head);  // byte for byte: callers lower-case first
    EXPECT_NE(head->ConversionClass(), nullptr);
}

TEST(TRichEditStrings, FirstSuccessfulFileOperationChoosesTheConverterAndFailureDropsIt) {
    NoteFiles files;
    files.Write("a.txt", "text");
    auto edit = NewNoteArea();
    EXPECT_EQ(edit->Lines().Converter(), nullptr);
    edit->Lines().ReadFromFile(NoteFiles::Path("a.txt"));
    TConversion* first = edit->Lines().Converter();
    ASSERT_NE(first, nullptr);
    edit->Lines().WriteToFile(NoteFiles::Path("b.rtf"));
    EXPECT_EQ(edit->Lines().Converter(), first);
    EXPECT_THROW(edit->Lines().ReadFromFile(NoteFiles::Path("missing.txt")), EFOpenError);
    EXPECT_EQ(edit->Lines().Converter(), nullptr);
}

TEST(TRichEditStrings, MissingFileRaisesOpenErrorAndKeepsTheContent) {
    NoteFiles files;
    auto edit = NewNoteArea();
    edit->SetText("keep\r\nthis");
    edit->SetModified(true);
    try {
        edit->Lines().ReadFromFile(NoteFiles::Path("sub\\missing.txt"));
        FAIL() << "no error";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message,
                  "Cannot open file \"D:\\sub\\missing.txt\". No such file or directory");
    }
    EXPECT_EQ(AllLines(*edit), (Lines{"keep", "this"}));
    EXPECT_TRUE(edit->Modified());
    EXPECT_EQ(edit->EmGetLimitText(), RichEdit::kDefaultTextLimit);
}

TEST(TRichEditStrings, TextLimitIsRaisedByTheFirstSuccessfulRead) {
    NoteFiles files;
    files.Write("a.txt", "abc");
    auto edit = NewNoteArea();
    EXPECT_EQ(edit->MaxLength(), 0);
    EXPECT_EQ(edit->EmGetLimitText(), RichEdit::kDefaultTextLimit);
    edit->Lines().ReadFromFile(NoteFiles::Path("a.txt"));
    EXPECT_EQ(edit->EmGetLimitText(), 2147483632);
}

TEST(TRichEditStrings, LongLineComesBackCutTo4096WithoutWrap) {
    auto edit = NewNoteArea();
    edit->SetWordWrap(false);
    std::string line;
    for (int i = 0; i < 5000; ++i) line += char('a' + i % 26);
    NoteFiles files;
    files.Write("long.txt", line + "\r\nnext\r\n");
    edit->Lines().ReadFromFile(NoteFiles::Path("long.txt"));
    ASSERT_EQ(edit->Lines().LineCount(), 2);
    EXPECT_EQ(edit->Lines().LineAt(0), line.substr(0, 4096));
    EXPECT_EQ(edit->Lines().LineAt(1), "next");
}

TEST(TRichEditStrings, WrappedParagraphIsSeveralLines) {
    auto edit = NewNoteArea(120, 200);
    edit->show();
    const std::string text = "alpha beta gamma delta epsilon zeta eta theta iota kappa lambda";
    edit->SetText(text + "\r\nshort");
    const Lines lines = AllLines(*edit);
    ASSERT_GT(lines.size(), 3u);
    std::string joined;
    for (size_t i = 0; i + 1 < lines.size(); ++i) joined += lines[i];
    EXPECT_EQ(joined, text);
    EXPECT_EQ(lines.back(), "short");
}

TEST(TRichEditStrings, InsertDeleteAndReplaceLines) {
    auto edit = NewNoteArea();
    TRichEditStrings& l = edit->Lines();
    l.InsertLine(0, "b");  // empty control: the line gets its break
    EXPECT_EQ(edit->Text(), "b\r\n");
    l.InsertLine(0, "a");
    l.Add("c");
    EXPECT_EQ(AllLines(*edit), (Lines{"a", "b", "c"}));
    l.InsertLine(7, "never");  // beyond the end: nothing
    l.InsertLine(-1, "never");
    EXPECT_EQ(l.LineCount(), 3);
    l.ReplaceLine(1, "B!");
    EXPECT_EQ(edit->Text(), "a\r\nB!\r\nc\r\n");
    l.DeleteLine(0);
    EXPECT_EQ(AllLines(*edit), (Lines{"B!", "c"}));
    l.DeleteLine(5);
    l.ReplaceLine(-1, "x");
    EXPECT_EQ(AllLines(*edit), (Lines{"B!", "c"}));
    // After typed text without a final break, appending starts a new line.
    edit->SetText("typed");
    l.Add("added");
    EXPECT_EQ(edit->Text(), "typed\r\nadded");
    l.DeleteLine(1);  // the last line: up to its end
    EXPECT_EQ(edit->Text(), "typed\r\n");
}

TEST(TRichEditStrings, InsertionCutByTheTextLimitIsAnError) {
    auto edit = NewNoteArea();
    edit->SetMaxLength(10);
    edit->Lines().Add("12345");
    try {
        edit->Lines().Add("67890");
        FAIL() << "no error";
    } catch (const EOutOfResources& e) {
        EXPECT_EQ(e.Message, "RichEdit line insertion error");
    }
}

TEST(TRichEditStrings, SetAllTextAndAppendLinesChangeOnce) {
    auto edit = NewNoteArea();
    int changes = 0, selections = 0;
    edit->OnChange = [&](QObject*) { ++changes; };
    edit->OnSelectionChange = [&](QObject*) { ++selections; };
    edit->Lines().SetAllText("one\ntwo\r\nthree\r");
    EXPECT_EQ(AllLines(*edit), (Lines{"one", "two", "three"}));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(edit->EmGetEventMask() & RichEdit::ENM_CHANGE, RichEdit::ENM_CHANGE);
    changes = selections = 0;
    edit->Lines().AppendLines(Lines{"four", "five"});
    EXPECT_EQ(AllLines(*edit), (Lines{"one", "two", "three", "four", "five"}));
    EXPECT_EQ(selections, 0);
    EXPECT_TRUE(edit->OnSelectionChange);
    EXPECT_GE(changes, 1);
    // Another list's lines; the list object stays the same.
    auto other = NewNoteArea();
    other->SetText("x\r\ny");
    TRichEditStrings* before = &edit->Lines();
    edit->SetLines(other->Lines());
    EXPECT_EQ(&edit->Lines(), before);
    EXPECT_EQ(AllLines(*edit), (Lines{"x", "y"}));
}

TEST(TRichEditStrings, ReadFromStreamStartsAtThePositionAndRetriesFromThere) {
    auto edit = NewNoteArea();
    TMemoryStream stream("HEADERplain text\nline");
    stream.Seek(6, soBeginning);
    edit->Lines().ReadFromStream(stream);
    EXPECT_EQ(AllLines(*edit), (Lines{"plain text", "line"}));
    TMemoryStream rtf("xx{\\rtf1 rich}");
    rtf.Seek(2, soBeginning);
    edit->Lines().ReadFromStream(rtf);
    EXPECT_EQ(AllLines(*edit), (Lines{"rich"}));
    TMemoryStream out;
    edit->Lines().WriteToStream(out);
    EXPECT_EQ(out.Bytes().rfind("{\\rtf", 0), 0u);
}

TEST(TRichEditStrings, ReadErrorFailsTheLoadAndKeepsTheContent) {
    for (bool plain : {false, true}) {
        auto edit = NewNoteArea();
        edit->SetStreamBufferSize(8);
        edit->DefaultConverterClass = &ConversionClassOf<FailingConversion>;
        edit->SetPlainText(plain);
        edit->SetText("on screen");
        FailingConversion::FailAt = 3;
        TMemoryStream stream(std::string(100, 'x'));
        try {
            edit->Lines().ReadFromStream(stream);
            FAIL() << "no error";
        } catch (const EOutOfResources& e) {
            EXPECT_EQ(e.Message, "Failed to Load Stream");
        }
        EXPECT_EQ(edit->Text(), "on screen") << plain;
    }
}

// A log another program keeps writing to loads as it was when it was opened, every line whole,
// however fast it grows meanwhile.
TEST(TRichEditStrings, FileGrownWhileItLoadsLoadsAsOpened) {
    NoteFiles files;
    std::string bytes;
    for (int i = 0; i < 200000; ++i) bytes += "line " + std::to_string(i) + "\n";
    files.Write("log.txt", bytes);
    auto edit = NewNoteArea();
    edit->SetWordWrap(false);

    std::atomic<bool> stop = false;
    std::thread writer([&stop, path = files.Sys("log.txt")] {
        std::ofstream log(path, std::ios::binary | std::ios::app);
        const std::string chunk(65536, 'g');
        for (int i = 0; i < 256 && !stop; ++i) log << chunk << '\n' << std::flush;
    });
    edit->Lines().ReadFromFile(NoteFiles::Path("log.txt"));
    stop = true;
    writer.join();

    const Lines lines = AllLines(*edit);
    ASSERT_EQ(lines.size(), 200000u);
    EXPECT_EQ(lines.front(), "line 0");
    EXPECT_EQ(lines.back(), "line 199999");
}

TEST(TRichEditStrings, WriteErrorFailsTheSave) {
    auto edit = NewNoteArea();
    edit->SetStreamBufferSize(8);
    edit->DefaultConverterClass = &ConversionClassOf<FailingConversion>;
    edit->SetText("some text to write out in pieces");
    FailingConversion::FailAt = 2;
    TMemoryStream out;
    try {
        edit->Lines().WriteToStream(out);
        FAIL() << "no error";
    } catch (const EOutOfResources& e) {
        EXPECT_EQ(e.Message, "Failed to Save Stream");
    }
    EXPECT_EQ(edit->Text(), "some text to write out in pieces");
}
