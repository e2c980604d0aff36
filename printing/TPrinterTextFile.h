// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The printer text channel: a buffered text-output channel attached to a printer. Opening it for
// output starts a print job; every byte written is laid out on the page from the top-left corner
// of the printable area (lines wrap at the printable width, TAB moves to the next tab stop, LF
// starts a line, FF a page, CR is dropped); closing it ends the job.
//
// Like every text channel it reports misuse (writing to a channel that is not open, ...) as an
// input/output result that IOResult() returns; failures of the printer itself are raised as
// EPrinter. Printing the lines of a text:
//
//   TPrinterTextFile prn;
//   prn.AttachPrinter();
//   prn.Rewrite();
//   prn.InOutCheck();
//   GlobalPrinter()->PrinterCanvas()->Font.Assign(font);
//   for (const std::string& line : lines) {
//       prn.WriteLine(line);
//       prn.InOutCheck();
//   }
//   prn.Close();
//   prn.InOutCheck();
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class TPrinter;

// Where the next text goes, in printer device pixels.
struct PrintCursor {
    std::int32_t CurX = 0;        // x where the next text starts
    std::int32_t CurY = 0;        // y of the top of the current line
    std::int32_t PageRight = 0;   // printable width
    std::int32_t PageBottom = 0;  // printable height
    std::int32_t LineHeight = 0;  // 0 until text is drawn on the line, then highest text + 2
};

class TPrinterTextFile {
public:
    enum TFileMode { fmUnassigned, fmClosed, fmInput, fmOutput };
    static constexpr std::size_t BufferCapacity = 128;

    TPrinterTextFile() = default;
    // A job still open (after a failure stopped the writer) is ended, so the printer is free.
    ~TPrinterTextFile();
    TPrinterTextFile(const TPrinterTextFile&) = delete;
    TPrinterTextFile& operator=(const TPrinterTextFile&) = delete;

    // Binds the channel to the program's printer (or to `printer`) and marks it closed.
    void AttachPrinter();
    void AttachPrinter(TPrinter& printer);

    // Open for output: starts the print job.
    void Rewrite();
    void Append();
    // Open for input: every read finds the end of the data.
    void Reset();

    void Write(std::string_view text);
    // Writes the text and a line end (LF), then lays the buffered bytes out.
    void WriteLine(std::string_view text = {});
    // Input: false at the end of the data (always, for a printer).
    bool ReadLine(std::string& line);
    bool Eof();
    void Flush();
    // Lays out what is buffered and ends the job.
    void Close();

    // The pending input/output error code (0: none), cleared by asking.
    int IOResult();
    // Raises EInOutError for a pending input/output error.
    void InOutCheck();

    TFileMode Mode() const { return FMode; }
    const PrintCursor& Cursor() const { return FCursor; }
    bool CrLfLineEnds() const { return FCrLf; }

private:
    using THandler = int (TPrinterTextFile::*)();

    void Open(TFileMode mode);
    // Ends a job this channel left open, reporting nothing.
    void EndJobQuietly() noexcept;
    bool CheckOutput();
    bool CheckInput();
    void SetInOutResult(int code);
    void Call(THandler handler);

    // Device handlers.
    int DeviceOpen();
    int DeviceOutput();
    int DeviceInput();
    int DeviceIgnore();
    int DeviceClose();

    // Layout of bytes on the page.
    void LayOutText(const char* bytes, std::size_t length);
    void LayOutBytes(const char* bytes, std::size_t length, bool final);
    void DrawRun(const char* text, std::size_t length);
    void Tab();
    void AdvanceLine();
    void AdvancePage();
    std::uint16_t FontCellHeight();
    std::uint16_t FontAverageWidth();

    TFileMode FMode = fmUnassigned;
    std::size_t FBufSize = 0;
    std::size_t FBufPos = 0;
    std::size_t FBufEnd = 0;
    char FBuffer[BufferCapacity] = {};
    THandler FOpenFunc = nullptr;
    THandler FInOutFunc = nullptr;
    THandler FFlushFunc = nullptr;
    THandler FCloseFunc = nullptr;
    bool FCrLf = false;
    int FInOutRes = 0;

    // User data: the printer and the cursor of the job.
    TPrinter* FPrinter = nullptr;
    PrintCursor FCursor;
    bool FJobOpen = false;  // this channel started the running job
    int FBusy = 0;          // depth of channel calls in progress (events run during spooling)
    std::string FCarry;     // the start of a character whose other bytes come next load
    std::string FJoined;    // scratch for a load that begins with a carried character
};
