// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The printer text channel: its life as a text channel, and where the bytes written to it land
// on real PDF pages.
#include <QCoreApplication>
#include <QFileInfo>
#include <QMetaObject>
#include <deque>
#include <numeric>
#include <vector>

#include "tests/TestSupport.h"
#include "tests/printing/PrintTestSupport.h"
#include "toolkit/Events.h"

namespace {
// The text of a page's words in reading order, without the breaks between them.
std::string PageText(const PdfPage& page) {
    std::string text;
    for (const PdfWord& w : page.Words) text += w.Text;
    return text;
}

std::string AllText(const std::vector<PdfPage>& pages) {
    std::string text;
    for (const PdfPage& p : pages) text += PageText(p);
    return text;
}

// Each printed line of the pages: its words joined, and where it starts.
struct PrintedLine {
    std::string Text;
    const PdfWord* First;
};

std::vector<PrintedLine> Lines(const PdfPage& page) {
    std::vector<PrintedLine> lines;
    for (const PdfWord& w : page.Words) {
        if (lines.empty() || std::abs(w.YMin - lines.back().First->YMin) > 1)
            lines.push_back({"", &w});
        lines.back().Text += w.Text;
    }
    return lines;
}

class PrinterTextFileTest : public PdfPrinterTest {
protected:
    void SetUp() override {
        PdfPrinterTest::SetUp();
        Font.Name = "Liberation Sans";
        Font.SetSize(10);
    }
    // Opens the channel and sets the font as the Print command does.
    void Start() {
        Open(Channel);
        Printer->PrinterCanvas()->Font.Assign(Font);
        TTextMetric tm = Printer->PrinterCanvas()->TextMetrics();
        Cell = tm.tmHeight;
        TabStop = tm.tmAveCharWidth * 8;
        TextHeight = Printer->PrinterCanvas()->TextExtent("Hg").height();
    }
    std::vector<PdfPage> Finish() {
        Channel.Close();
        EXPECT_EQ(Channel.IOResult(), 0);
        return ReadPdfWords(Pdf);
    }
    int Width(const std::string& text) { return Printer->PrinterCanvas()->TextWidth(text); }
    // A text that ends `shortBy` pixels before a tab stop, each candidate measured whole with
    // the font the channel really uses (whichever font the system gives for the name, with its
    // hinting and kerning); "" when no text of printable characters does. Breadth first over
    // what a text leaves before its next stop, each extended by every printable character, so
    // that it does not hang on the widths of a few letters, which one font may make all even.
    std::string TextEndingShortOfAStop(int shortBy) {
        const int target = TabStop - shortBy;
        std::vector<bool> seen(std::size_t(TabStop), false);
        seen[0] = true;
        std::deque<std::string> texts{""};
        while (!texts.empty()) {
            const std::string text = texts.front();
            texts.pop_front();
            for (char c = '!'; c <= '~'; ++c) {
                std::string next = text + c;
                const int rest = Width(next) % TabStop;
                if (rest == target) return next;
                if (!seen[std::size_t(rest)]) {
                    seen[std::size_t(rest)] = true;
                    texts.push_back(next);
                }
            }
        }
        return {};
    }

    TFont Font;
    TPrinterTextFile Channel;
    int Cell = 0, TabStop = 0, TextHeight = 0;
};
}  // namespace

TEST_F(PrinterTextFileTest, ChannelReportsMisuseAsInputOutputResults) {
    TPrinterTextFile unattached;
    unattached.Rewrite();
    EXPECT_EQ(unattached.IOResult(), 102);
    unattached.Write("x");
    EXPECT_EQ(unattached.IOResult(), 103);
    EXPECT_EQ(unattached.IOResult(), 0);  // asking clears it

    Channel.AttachPrinter(*Printer);
    EXPECT_FALSE(Channel.CrLfLineEnds());
    Channel.WriteLine("x");
    EXPECT_EQ(Channel.IOResult(), 103);
    Channel.Close();
    EXPECT_EQ(Channel.IOResult(), 103);

    // Input finds the end of the data at once and starts no job.
    Channel.Reset();
    EXPECT_EQ(Channel.IOResult(), 0);
    EXPECT_FALSE(Printer->IsPrinting());
    std::string line = "old";
    EXPECT_TRUE(Channel.Eof());
    EXPECT_FALSE(Channel.ReadLine(line));
    EXPECT_EQ(line, "");
    Channel.Write("x");
    EXPECT_EQ(Channel.IOResult(), 105);
    try {
        Channel.WriteLine("x");
        Channel.InOutCheck();
        ADD_FAILURE() << "no error raised";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode, 105);
        EXPECT_EQ(e.Message, "I/O error 105");
    }
    Channel.Close();
    EXPECT_EQ(Channel.IOResult(), 0);

    Start();
    EXPECT_TRUE(Printer->IsPrinting());
    Channel.Eof();
    EXPECT_EQ(Channel.IOResult(), 104);
    Finish();
    EXPECT_FALSE(Printer->IsPrinting());
    EXPECT_EQ(Channel.Mode(), TPrinterTextFile::fmClosed);
}

TEST_F(PrinterTextFileTest, BytesWaitInTheBufferUntilFullLineEndOrClose) {
    Start();
    Channel.Write("abc");
    EXPECT_EQ(Channel.Cursor().CurX, 0);  // still buffered
    const int abc = Width("abc");
    Channel.Flush();
    EXPECT_EQ(Channel.Cursor().CurX, abc);
    // 128 bytes fill the buffer and are laid out at once.
    Channel.Write(std::string(127, 'i'));
    EXPECT_EQ(Channel.Cursor().CurX, abc);
    Channel.Write("i");
    EXPECT_GT(Channel.Cursor().CurX, abc);
    Channel.Write("tail");
    const int before = Channel.Cursor().CurX;
    const auto pages = Finish();
    EXPECT_GT(Channel.Cursor().CurX, before);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(PageText(pages[0]), "abc" + std::string(128, 'i') + "tail");
}

TEST_F(PrinterTextFileTest, LinesAdvanceByTextHeightAndBlankLinesByCellHeight) {
    Start();
    Channel.WriteLine("Alpha");
    EXPECT_EQ(Channel.Cursor().CurY, TextHeight + 2);
    Channel.WriteLine("");
    EXPECT_EQ(Channel.Cursor().CurY, TextHeight + 2 + Cell);
    Channel.WriteLine("Beta\rGamma");
    Channel.Write("\tTabbed");
    const auto pages = Finish();
    ASSERT_EQ(pages.size(), 1u);
    const auto lines = Lines(pages[0]);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].Text, "Alpha");
    EXPECT_NEAR(X(*lines[0].First), 0, Tolerance());
    EXPECT_NEAR(Y(*lines[0].First), 0, Tolerance());
    // CR is dropped: the text goes on where it was, on the same line.
    EXPECT_EQ(lines[1].Text, "BetaGamma");
    EXPECT_NEAR(X(*lines[1].First), 0, Tolerance());
    EXPECT_NEAR(Y(*lines[1].First), TextHeight + 2 + Cell, Tolerance());
    EXPECT_EQ(lines[2].Text, "Tabbed");
    EXPECT_NEAR(X(*lines[2].First), TabStop, Tolerance());
    EXPECT_NEAR(Y(*lines[2].First), 2 * (TextHeight + 2) + Cell, Tolerance());
}

TEST_F(PrinterTextFileTest, TabsGoToTheNextStopAtLeastTwoPixelsOnAndPastTheEdgeToANewLine) {
    Start();
    Channel.Write("\t");
    Channel.Flush();
    EXPECT_EQ(Channel.Cursor().CurX, TabStop);
    Channel.Write("\t");
    Channel.Flush();
    EXPECT_EQ(Channel.Cursor().CurX, 2 * TabStop);
    // After text ending just short of a stop, the tab goes to the stop after the next one
    // whenever fewer than 2 pixels are left.
    for (const std::string text : {"x", "xxxxxxx", "xxxxxxxx", "WWWWWWW", "mmmmmmmm"}) {
        Channel.WriteLine("");
        Channel.Write(text + "\t");
        Channel.Flush();
        const int w = Width(text);
        const int expected = (w + 2 + TabStop - 1) / TabStop * TabStop;
        EXPECT_EQ(Channel.Cursor().CurX, expected) << text << " is " << w << " wide";
    }
    // Text ending 1 pixel short of a stop goes to the stop after it; 2 pixels short, to that stop.
    for (const int shortBy : {1, 2}) {
        const std::string text = TextEndingShortOfAStop(shortBy);
        ASSERT_FALSE(text.empty()) << "no text ends " << shortBy << " pixels short of a stop";
        Channel.WriteLine("");
        Channel.Write(text + "\t");
        Channel.Flush();
        const int stop = (Width(text) + shortBy) / TabStop;
        EXPECT_EQ(Channel.Cursor().CurX, (shortBy == 1 ? stop + 1 : stop) * TabStop) << text;
    }
    Channel.WriteLine("");
    const int y = Channel.Cursor().CurY;
    const int stops = Channel.Cursor().PageRight / TabStop + 1;
    Channel.Write(std::string(std::size_t(stops), '\t') + "X");
    const auto pages = Finish();
    ASSERT_EQ(pages.size(), 1u);
    const PdfWord& x = pages[0].Words.back();
    EXPECT_EQ(x.Text, "X");
    EXPECT_NEAR(X(x), 0, Tolerance());
    EXPECT_NEAR(Y(x), y + Cell, Tolerance());  // the line it left had no text
}

TEST_F(PrinterTextFileTest, LongLinesWrapAtThePrintableWidthBetweenCharacters) {
    std::string text;
    for (int i = 0; i < 40; ++i) text += "0123456789abcdefghijKLMNOPQRST";
    Start();
    Channel.WriteLine(text);
    const auto pages = Finish();
    ASSERT_EQ(pages.size(), 1u);
    const auto lines = Lines(pages[0]);
    ASSERT_GE(lines.size(), 3u);
    std::string printed;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_NEAR(X(*lines[i].First), 0, Tolerance());
        EXPECT_NEAR(Y(*lines[i].First), int(i) * (TextHeight + 2), Tolerance());
        printed += lines[i].Text;
    }
    EXPECT_EQ(printed, text);

    // Each line but the last is full: one character more would not fit. Measured in a second
    // job (measuring needs one). A line drawn in pieces may differ by a pixel of rounding.
    TPrinterTextFile measure;
    Pdf = PathIn("measure.pdf");
    Printer->ChoosePrinter(PrintSystem::PrintToFileName, "", "", PdfSettings(Pdf));
    Open(measure);
    Printer->PrinterCanvas()->Font.Assign(Font);
    const int right = measure.Cursor().PageRight;
    std::size_t start = 0;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        const std::string& line = lines[i].Text;
        EXPECT_LE(Width(line), right + 1) << line;
        EXPECT_GT(Width(line + text[start + line.size()]), right - 1) << line;
        start += line.size();
    }
    measure.Close();
}

TEST_F(PrinterTextFileTest, WrappingAndBufferLoadsNeverSplitACharacter) {
    // Two- and three-byte characters; the 128-byte loads end inside some of them.
    std::string text = "a";
    for (int i = 0; i < 150; ++i) text += i % 2 == 0 ? "é" : "€";
    // Four-byte ones, wrapped and cut by loads too. The PDF's text leaves them out, but a
    // split one would show as a replacement character.
    const std::string wide = "ab" + [] {
        std::string s;
        for (int i = 0; i < 100; ++i) s += "😀";
        return s;
    }();
    Start();
    Channel.WriteLine(text);
    Channel.Write("ü");  // a character the close must not lose
    Channel.WriteLine("");
    Channel.WriteLine(wide);
    const int wideLines = Channel.Cursor().CurY;
    const auto pages = Finish();
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_GE(Lines(pages[0]).size(), 3u);
    EXPECT_EQ(AllText(pages).substr(0, text.size() + 2), text + "ü");
    EXPECT_EQ(AllText(pages).find("\xEF\xBF\xBD"), std::string::npos);  // no U+FFFD
    EXPECT_GT(wideLines, 4 * (TextHeight + 2));  // the four-byte line wrapped too
}

TEST_F(PrinterTextFileTest, CharacterWiderThanThePageStillPrintsOnALineOfItsOwn) {
    Font.SetSize(800);  // one "W" is wider than A4
    Start();
    ASSERT_GT(Width("W"), Channel.Cursor().PageRight);
    Channel.WriteLine("WiW");
    const auto pages = Finish();
    std::vector<std::string> words;
    for (const PdfPage& p : pages)
        for (const PdfWord& w : p.Words) words.push_back(w.Text);
    EXPECT_EQ(words, (std::vector<std::string>{"W", "i", "W"}));
}

TEST_F(PrinterTextFileTest, PageBreaksComeWhenTheNextLinePassesThePageLessTwoLines) {
    Start();
    const int line = TextHeight + 2;
    const int bottom = Channel.Cursor().PageBottom;
    // Line k (from 0) starts at k * line; the break follows the first line whose successor
    // would start below bottom - 2 * line.
    const int perPage = (bottom - 2 * line) / line + 1;
    for (int i = 0; i < perPage + 3; ++i) Channel.WriteLine("L" + std::to_string(i));
    EXPECT_EQ(Printer->PageNumber(), 2);
    const auto pages = Finish();
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(int(pages[0].Words.size()), perPage);
    EXPECT_EQ(pages[1].Words.front().Text, "L" + std::to_string(perPage));
    EXPECT_NEAR(Y(pages[1].Words.front()), 0, Tolerance());
    EXPECT_NEAR(Y(pages[0].Words.back()), (perPage - 1) * line, Tolerance());
}

TEST_F(PrinterTextFileTest, AfterBlankLinesTheBreakComesOnlyPastThePageItself) {
    Start();
    const int blanks = Channel.Cursor().PageBottom / Cell;
    // The last blank line whose top is still on the page: text follows it there, so close to
    // the bottom that the line end after it breaks the page.
    Channel.Write(std::string(std::size_t(blanks), '\n') + "Kept\n");
    Channel.Flush();
    EXPECT_EQ(Printer->PageNumber(), 2);
    // One blank line more passes the bottom itself.
    Channel.Write(std::string(std::size_t(blanks) + 1, '\n') + "Moved");
    const auto pages = Finish();
    ASSERT_EQ(pages.size(), 3u);
    ASSERT_EQ(pages[0].Words.size(), 1u);
    EXPECT_EQ(pages[0].Words[0].Text, "Kept");
    EXPECT_NEAR(Y(pages[0].Words[0]), blanks * Cell, Tolerance());
    EXPECT_TRUE(pages[1].Words.empty());
    ASSERT_EQ(pages[2].Words.size(), 1u);
    EXPECT_EQ(pages[2].Words[0].Text, "Moved");
    EXPECT_NEAR(Y(pages[2].Words[0]), 0, Tolerance());
}

TEST_F(PrinterTextFileTest, FormFeedsStartPagesAndAnEmptyJobIsOneBlankPage) {
    Start();
    Channel.WriteLine("one\ftwo");
    Channel.Write(std::string(200, '\f') + "last");
    const auto pages = Finish();
    ASSERT_EQ(pages.size(), 202u);
    EXPECT_EQ(PageText(pages[0]), "one");
    ASSERT_EQ(pages[1].Words.size(), 1u);
    EXPECT_EQ(pages[1].Words[0].Text, "two");
    EXPECT_NEAR(X(pages[1].Words[0]), 0, Tolerance());
    EXPECT_NEAR(Y(pages[1].Words[0]), 0, Tolerance());
    for (std::size_t i = 2; i < 201; ++i) EXPECT_TRUE(pages[i].Words.empty()) << i;
    EXPECT_EQ(PageText(pages[201]), "last");

    Pdf = PathIn("empty.pdf");
    Printer->ChoosePrinter(PrintSystem::PrintToFileName, "", "", PdfSettings(Pdf));
    TPrinterTextFile empty;
    empty.AttachPrinter(*Printer);
    empty.Rewrite();
    empty.Close();
    const auto blank = ReadPdfWords(Pdf);
    ASSERT_EQ(blank.size(), 1u);
    EXPECT_TRUE(blank[0].Words.empty());
}

TEST_F(PrinterTextFileTest, PrintedTextHasTheFontsPointSize) {
    Font.SetSize(24);
    Start();
    Channel.WriteLine("Hg");
    const auto pages = Finish();
    ASSERT_EQ(pages.size(), 1u);
    ASSERT_EQ(pages[0].Words.size(), 1u);
    const double height = pages[0].Words[0].YMax - pages[0].Words[0].YMin;
    EXPECT_NEAR(height, 24 * 1.15, 24 * 0.1);  // ascent + descent of a 24-point face
}

TEST_F(PrinterTextFileTest, EventsRunWhileALongLineIsPrintedAndReenteredPrintingIsRefused) {
    Start();
    // Stands for the user's clicks while the job is spooled: each event posts the next one, and
    // one of them tries to start a second job on the same printer and on the same channel.
    int ran = 0;
    std::function<void()> tick = [&] {
        ++ran;
        if (ran == 3)
            SafeCall([&] {
                TPrinterTextFile second;
                second.AttachPrinter(*Printer);
                second.Rewrite();
            });
        if (ran == 4) SafeCall([&] { Channel.AttachPrinter(*Printer); });
        if (Printer->IsPrinting()) QMetaObject::invokeMethod(qApp, tick, Qt::QueuedConnection);
    };
    ErrorBoxRecorder::Take();
    QMetaObject::invokeMethod(qApp, tick, Qt::QueuedConnection);
    std::string line;
    for (int i = 0; i < 100000; ++i) line += char('a' + i % 26);
    Channel.WriteLine(line);
    const int duringLine = ran;
    Channel.WriteLine("after");
    const auto pages = Finish();
    QCoreApplication::processEvents();  // the last tick, posted while the job ended
    EXPECT_GT(duringLine, 100);
    const auto boxes = ErrorBoxRecorder::Take();
    EXPECT_EQ(boxes.size(), 2u);
    for (const auto& box : boxes) EXPECT_EQ(box.Text, "Printing in progress.");
    EXPECT_EQ(AllText(pages), line + "after");
}

TEST_F(PrinterTextFileTest, ChannelLeftOpenByAFailureEndsItsJob) {
    {
        TPrinterTextFile abandoned;
        abandoned.AttachPrinter(*Printer);
        abandoned.Rewrite();
        abandoned.WriteLine("kept");
        // The writer stops here, as a handler does when an error escapes it.
    }
    EXPECT_FALSE(Printer->IsPrinting());
    auto pages = ReadPdfWords(Pdf);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(PageText(pages[0]), "kept");

    // The same holds for a channel attached anew after its writer stopped.
    Start();
    Channel.WriteLine("first");
    Channel.AttachPrinter(*Printer);
    EXPECT_FALSE(Printer->IsPrinting());
    Channel.Rewrite();
    Channel.WriteLine("second");
    pages = Finish();
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(PageText(pages[0]), "second");
}
