// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "printing/TPrinterTextFile.h"

#include <QScopeGuard>
#include <vector>

#include "platform/system/Exception.h"
#include "printing/TPrinter.h"

namespace {
constexpr int ErrorFileNotAssigned = 102;
constexpr int ErrorFileNotOpen = 103;
constexpr int ErrorNotOpenForInput = 104;
constexpr int ErrorNotOpenForOutput = 105;

constexpr unsigned char TAB = 9;
constexpr unsigned char LF = 10;
constexpr unsigned char FF = 12;
constexpr unsigned char CR = 13;

// The byte count a UTF-8 sequence announces by its first byte; 1 for anything that cannot
// start one (a stray continuation byte, an invalid lead byte).
std::size_t AnnouncedLength(unsigned char c) {
    if (c >= 0xC2 && c <= 0xDF) return 2;
    if (c >= 0xE0 && c <= 0xEF) return 3;
    if (c >= 0xF0 && c <= 0xF4) return 4;
    return 1;
}

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// The length of the character at s: a whole UTF-8 sequence, or a single byte where the bytes do
// not form one (such a byte prints as a replacement character of its own).
std::size_t CharLength(const char* s, std::size_t n) {
    const std::size_t want = AnnouncedLength(static_cast<unsigned char>(s[0]));
    if (want == 1 || want > n) return 1;
    for (std::size_t i = 1; i < want; ++i)
        if (!IsContinuation(static_cast<unsigned char>(s[i]))) return 1;
    return want;
}

// n less the bytes of a character that has begun but not ended within s[0..n).
std::size_t CompleteLength(const char* s, std::size_t n) {
    for (std::size_t k = 1; k <= 3 && k <= n; ++k) {
        const auto c = static_cast<unsigned char>(s[n - k]);
        if (IsContinuation(c)) continue;
        return AnnouncedLength(c) > k ? n - k : n;
    }
    return n;
}

// Counts a channel call in progress for as long as it runs.
class BusyScope {
public:
    explicit BusyScope(int& depth) : FDepth(depth) { ++FDepth; }
    ~BusyScope() { --FDepth; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    int& FDepth;
};
}  // namespace

TPrinterTextFile::~TPrinterTextFile() {
    EndJobQuietly();
}

void TPrinterTextFile::EndJobQuietly() noexcept {
    if (!FJobOpen) return;
    FJobOpen = false;
    try {
        FPrinter->EndDocument();
    } catch (...) {
        // Nothing can be reported from here (or an earlier error is being reported already);
        // EndDocument has freed the printer either way.
    }
}

void TPrinterTextFile::AttachPrinter() {
    AttachPrinter(*GlobalPrinter());
}

void TPrinterTextFile::AttachPrinter(TPrinter& printer) {
    // Attaching is the first step of a new job: refused while this channel's own job is being
    // written (events handled during spooling can get here).
    if (FBusy) throw EPrinter("Printing in progress");
    if (FJobOpen) {
        // A job that a failure left open: end it, so the printer is free for the new one.
        FJobOpen = false;
        FPrinter->EndDocument();
    }
    FMode = fmClosed;
    FBufSize = BufferCapacity;
    FBufPos = 0;
    FBufEnd = 0;
    FOpenFunc = &TPrinterTextFile::DeviceOpen;
    FInOutFunc = nullptr;
    FFlushFunc = nullptr;
    FCloseFunc = nullptr;
    FCrLf = false;
    FInOutRes = 0;
    FPrinter = &printer;
    FCursor = PrintCursor();
    FCarry.clear();
}

void TPrinterTextFile::SetInOutResult(int code) {
    FInOutRes = code;
}

int TPrinterTextFile::IOResult() {
    const int code = FInOutRes;
    FInOutRes = 0;
    return code;
}

void TPrinterTextFile::InOutCheck() {
    if (const int code = IOResult()) throw EInOutError("I/O error " + std::to_string(code), code);
}

void TPrinterTextFile::Call(THandler handler) {
    if (const int code = (this->*handler)()) SetInOutResult(code);
}

void TPrinterTextFile::Open(TFileMode mode) {
    if (FMode == fmUnassigned) return SetInOutResult(ErrorFileNotAssigned);
    if (FMode == fmInput || FMode == fmOutput) Close();
    BusyScope busy(FBusy);
    FMode = mode;
    FBufPos = 0;
    FBufEnd = 0;
    // An open that fails half way leaves the channel closed and no job running.
    auto failed = qScopeGuard([this] {
        FMode = fmClosed;
        EndJobQuietly();
    });
    if (const int code = (this->*FOpenFunc)()) {
        FMode = fmClosed;
        SetInOutResult(code);
    }
    failed.dismiss();
}

void TPrinterTextFile::Rewrite() {
    Open(fmOutput);
}

void TPrinterTextFile::Append() {
    Open(fmOutput);
}

void TPrinterTextFile::Reset() {
    Open(fmInput);
}

bool TPrinterTextFile::CheckOutput() {
    if (FMode == fmOutput) return true;
    SetInOutResult(FMode == fmInput ? ErrorNotOpenForOutput : ErrorFileNotOpen);
    return false;
}

bool TPrinterTextFile::CheckInput() {
    if (FMode == fmInput) return true;
    SetInOutResult(FMode == fmOutput ? ErrorNotOpenForInput : ErrorFileNotOpen);
    return false;
}

void TPrinterTextFile::Write(std::string_view text) {
    BusyScope busy(FBusy);
    if (!CheckOutput()) return;
    while (!text.empty()) {
        const std::size_t count = std::min(text.size(), FBufSize - FBufPos);
        text.copy(FBuffer + FBufPos, count);
        FBufPos += count;
        text.remove_prefix(count);
        if (FBufPos == FBufSize) Call(FInOutFunc);
    }
}

void TPrinterTextFile::WriteLine(std::string_view text) {
    BusyScope busy(FBusy);
    if (!CheckOutput()) return;
    Write(text);
    Write(FCrLf ? "\r\n" : "\n");
    Call(FFlushFunc);
}

bool TPrinterTextFile::ReadLine(std::string& line) {
    line.clear();
    if (Eof()) return false;
    while (FBufPos < FBufEnd && FBuffer[FBufPos] != '\n') line += FBuffer[FBufPos++];
    if (FBufPos < FBufEnd) ++FBufPos;
    return true;
}

bool TPrinterTextFile::Eof() {
    if (!CheckInput()) return true;
    if (FBufPos >= FBufEnd) Call(FInOutFunc);
    return FBufPos >= FBufEnd;
}

void TPrinterTextFile::Flush() {
    BusyScope busy(FBusy);
    if (FMode == fmOutput) Call(FFlushFunc);
}

void TPrinterTextFile::Close() {
    BusyScope busy(FBusy);
    if (FMode != fmInput && FMode != fmOutput) return SetInOutResult(ErrorFileNotOpen);
    const auto closed = qScopeGuard([this] { FMode = fmClosed; });
    if (FMode == fmOutput) Call(FInOutFunc);
    Call(FCloseFunc);
}

int TPrinterTextFile::DeviceOpen() {
    if (FMode == fmInput) {
        FInOutFunc = &TPrinterTextFile::DeviceInput;
        FFlushFunc = &TPrinterTextFile::DeviceIgnore;
        FCloseFunc = &TPrinterTextFile::DeviceIgnore;
        return 0;
    }
    FMode = fmOutput;
    FInOutFunc = &TPrinterTextFile::DeviceOutput;
    FFlushFunc = &TPrinterTextFile::DeviceOutput;
    FCloseFunc = &TPrinterTextFile::DeviceClose;
    FPrinter->BeginDocument();
    FJobOpen = true;
    FCarry.clear();
    FCursor = PrintCursor();
    FCursor.PageRight = FPrinter->PageWidthPixels();
    FCursor.PageBottom = FPrinter->PageHeightPixels();
    return 0;
}

int TPrinterTextFile::DeviceOutput() {
    // Laid out from a copy: events handled during spooling may write to the buffer again.
    char bytes[BufferCapacity];
    const std::size_t length = FBufPos;
    std::copy(FBuffer, FBuffer + length, bytes);
    FBufPos = 0;
    LayOutText(bytes, length);
    return 0;
}

int TPrinterTextFile::DeviceInput() {
    FBufPos = 0;
    FBufEnd = 0;
    return 0;
}

int TPrinterTextFile::DeviceIgnore() {
    return 0;
}

int TPrinterTextFile::DeviceClose() {
    if (!FCarry.empty()) {
        const std::string rest = std::move(FCarry);
        FCarry.clear();
        LayOutBytes(rest.data(), rest.size(), true);
    }
    FJobOpen = false;
    FPrinter->EndDocument();
    return 0;
}

void TPrinterTextFile::LayOutText(const char* bytes, std::size_t length) {
    if (FCarry.empty()) return LayOutBytes(bytes, length, false);
    // A character split by the end of the last load continues here.
    std::string joined = std::move(FCarry);
    FCarry.clear();
    joined.append(bytes, length);
    LayOutBytes(joined.data(), joined.size(), false);
}

void TPrinterTextFile::LayOutBytes(const char* bytes, std::size_t length, bool final) {
    std::size_t runStart = 0;
    for (std::size_t i = 0; i < length; ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c != TAB && c != LF && c != FF && c != CR) continue;
        if (i > runStart) DrawRun(bytes + runStart, i - runStart);
        runStart = i + 1;
        if (c == TAB) Tab();
        if (c == LF) AdvanceLine();
        if (c == FF) AdvancePage();
    }
    // The run goes on in the next load, on the same line; a character cut in two by the
    // buffer's end waits for its other bytes.
    const std::size_t end =
        final ? length : runStart + CompleteLength(bytes + runStart, length - runStart);
    if (end > runStart) DrawRun(bytes + runStart, end - runStart);
    FCarry.assign(bytes + end, length - end);
}

void TPrinterTextFile::DrawRun(const char* text, std::size_t length) {
    TPrinterCanvas& canvas = *FPrinter->PrinterCanvas();
    while (length > 0) {
        const int room = FCursor.PageRight - FCursor.CurX;
        QSize extent = canvas.TextExtent(std::string(text, length));
        std::size_t fit = length;
        if (extent.width() > room) {
            // The longest prefix of whole characters that fits, found by halving the range
            // between a fitting prefix and one that does not.
            std::vector<std::size_t> ends;
            for (std::size_t i = 0; i < length; i += CharLength(text + i, length - i))
                ends.push_back(i);
            ends.push_back(length);
            std::size_t fits = 0;
            std::size_t fails = ends.size() - 1;
            QSize fitExtent = canvas.TextExtent(std::string());
            while (fails - fits > 1) {
                const std::size_t mid = fits + (fails - fits) / 2;
                const QSize e = canvas.TextExtent(std::string(text, ends[mid]));
                if (e.width() <= room) {
                    fits = mid;
                    fitExtent = e;
                } else {
                    fails = mid;
                }
            }
            fit = ends[fits];
            extent = fitExtent;
            if (fit == 0 && FCursor.CurX == 0) {
                // Wider than the whole printable width: it prints alone on its line, so the
                // text always moves on.
                fit = ends[1];
                extent = canvas.TextExtent(std::string(text, fit));
            }
        }
        if (extent.height() > FCursor.LineHeight) FCursor.LineHeight = extent.height() + 2;
        if (fit > 0) canvas.TextOut(FCursor.CurX, FCursor.CurY, std::string(text, fit));
        text += fit;
        length -= fit;
        if (length > 0)
            AdvanceLine();
        else
            FCursor.CurX += extent.width();
    }
}

void TPrinterTextFile::Tab() {
    // Tab stops every 8 average character widths; the next stop at least 2 pixels on.
    int stop = static_cast<std::uint16_t>(FontAverageWidth() * 8u);
    if (stop == 0) stop = 1;  // a font without width still moves on
    FCursor.CurX = FCursor.CurX + stop - ((FCursor.CurX + stop + 1) % stop) + 1;
    if (FCursor.CurX > FCursor.PageRight) AdvanceLine();
}

void TPrinterTextFile::AdvanceLine() {
    FCursor.CurX = 0;
    FCursor.CurY += FCursor.LineHeight != 0 ? FCursor.LineHeight : FontCellHeight();
    if (FCursor.CurY > FCursor.PageBottom - 2 * FCursor.LineHeight) AdvancePage();
    FCursor.LineHeight = 0;
    FPrinter->QueryAbort();
}

void TPrinterTextFile::AdvancePage() {
    FCursor.CurX = 0;
    FCursor.CurY = 0;
    FPrinter->NextPage();
}

std::uint16_t TPrinterTextFile::FontCellHeight() {
    return static_cast<std::uint16_t>(FPrinter->PrinterCanvas()->TextMetrics().tmHeight);
}

std::uint16_t TPrinterTextFile::FontAverageWidth() {
    return static_cast<std::uint16_t>(FPrinter->PrinterCanvas()->TextMetrics().tmAveCharWidth);
}
