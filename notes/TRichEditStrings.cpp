// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "notes/TRichEditStrings.h"

#include <sys/stat.h>

#include <QScopeGuard>
#include <algorithm>
#include <exception>
#include <vector>

#include "notes/TConversionFormat.h"
#include "notes/TCustomRichEdit.h"
#include "notes/TFileStream.h"
#include "notes/TReplacingFileStream.h"
#include "platform/system/Exception.h"
#include "platform/system/FileNames.h"
#include "platform/system/QtStrings.h"

namespace {

// Why a file beyond the read limit is not loaded.
const std::string kTooLargeReason = "File too large: a note holds at most " +
                                    std::to_string(RichEdit::kMaxStreamInBytes >> 20) + " MB";

// The lines of a text: broken at CR LF, CR or LF; a final break does not start another line.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

}  // namespace

TRichEditStrings::TRichEditStrings(TCustomRichEdit* richEdit) : FRichEdit(richEdit) {}

TRichEditStrings::~TRichEditStrings() = default;

// ---------------------------------------------------------------------------------------------
// Lines

std::string TRichEditStrings::LineAt(int index) const {
    FRichEdit->HandleNeeded();
    QString line = FRichEdit->EmGetLine(index, kMaxLineLength);
    if (line.size() >= 2 && line.endsWith(QStringLiteral("\r\n"))) line.chop(2);
    return line.toStdString();
}

int TRichEditStrings::LineCount() const {
    FRichEdit->HandleNeeded();
    const int n = FRichEdit->EmGetLineCount();
    const int s = FRichEdit->EmLineIndex(n - 1);
    return FRichEdit->EmLineLength(s) == 0 ? n - 1 : n;
}

void TRichEditStrings::ReplaceLine(int index, const std::string& text) {
    if (index < 0) return;
    FRichEdit->HandleNeeded();
    const int s = FRichEdit->EmLineIndex(index);
    if (s == -1) return;
    FRichEdit->EmExSetSel({s, s + FRichEdit->EmLineLength(s)});
    FRichEdit->EmReplaceSel(ToQString(text));
}

void TRichEditStrings::InsertLine(int index, const std::string& text) {
    if (index < 0) return;
    FRichEdit->HandleNeeded();
    QString piece;
    int at;
    const int s = FRichEdit->EmLineIndex(index);
    if (s >= 0) {
        piece = ToQString(text) + QStringLiteral("\r\n");
        at = s;
    } else {
        const int p = FRichEdit->EmLineIndex(index - 1);
        if (p < 0) return;
        const int length = FRichEdit->EmLineLength(p);
        if (length == 0) return;
        piece = QStringLiteral("\r\n") + ToQString(text);
        at = p + length;
    }
    FRichEdit->EmExSetSel({at, at});
    FRichEdit->EmReplaceSel(piece);
    if (FRichEdit->EmExGetSel().cpMin != at + RichEdit::RichEditControl::InsertedLength(piece))
        throw EOutOfResources("RichEdit line insertion error");
}

void TRichEditStrings::DeleteLine(int index) {
    if (index < 0) return;
    FRichEdit->HandleNeeded();
    const int s = FRichEdit->EmLineIndex(index);
    if (s == -1) return;
    int e = FRichEdit->EmLineIndex(index + 1);
    if (e == -1) e = s + FRichEdit->EmLineLength(s);
    FRichEdit->EmExSetSel({s, e});
    FRichEdit->EmReplaceSel(QString());
}

void TRichEditStrings::ClearLines() {
    FRichEdit->Clear();
}

void TRichEditStrings::SetUpdating(bool updating) {
    if (FRichEdit->isVisible()) FRichEdit->WmSetRedraw(!updating);
    if (updating) return;
    if (FRichEdit->isVisible()) FRichEdit->viewport()->repaint();
    FRichEdit->Change();
}

TRichEditStrings::TUpdateScope::TUpdateScope(TRichEditStrings& strings)
    : FStrings(strings), FUnwinding(std::uncaught_exceptions()) {
    FStrings.BeginUpdate();
}

TRichEditStrings::TUpdateScope::~TUpdateScope() noexcept(false) {
    if (std::uncaught_exceptions() == FUnwinding) {
        FStrings.EndUpdate();
        return;
    }
    try {
        FStrings.EndUpdate();
    } catch (...) {
        // The error already on its way out is the one the caller hears about.
    }
}

void TRichEditStrings::BeginUpdate() {
    if (FUpdateCount++ == 0) SetUpdating(true);
}

void TRichEditStrings::EndUpdate() {
    if (--FUpdateCount == 0) SetUpdating(false);
}

// Clearing and adding line by line would lay the text out again for every line; inserting the
// lines, each with its break, in one piece gives the same text.
void TRichEditStrings::SetAllText(const std::string& text) {
    FRichEdit->HandleNeeded();
    const unsigned mask = FRichEdit->EmGetEventMask();
    FRichEdit->EmSetEventMask(mask & ~RichEdit::ENM_CHANGE);
    const auto restoreMask = qScopeGuard([&] { FRichEdit->EmSetEventMask(mask); });
    const TUpdateScope update(*this);
    ClearLines();
    QString all;
    for (const std::string& line : SplitLines(text))
        all += ToQString(line) + QStringLiteral("\r\n");
    FRichEdit->EmExSetSel({0, 0});
    FRichEdit->EmReplaceSel(all);
    if (FRichEdit->EmExGetSel().cpMin != RichEdit::RichEditControl::InsertedLength(all))
        throw EOutOfResources("RichEdit line insertion error");
}

void TRichEditStrings::AppendLines(const TRichEditStrings& other) {
    AppendLines(other.ToVector());
}

void TRichEditStrings::AppendLines(const std::vector<std::string>& lines) {
    const auto restoreHandler = qScopeGuard(
        [this, handler = FRichEdit->OnSelectionChange] { FRichEdit->OnSelectionChange = handler; });
    FRichEdit->OnSelectionChange = nullptr;
    const TUpdateScope update(*this);
    for (const std::string& line : lines) Add(line);
}

std::vector<std::string> TRichEditStrings::ToVector() const {
    std::vector<std::string> lines;
    const int n = LineCount();
    lines.reserve(size_t(std::max(n, 0)));
    for (int i = 0; i < n; ++i) lines.push_back(LineAt(i));
    return lines;
}

std::string TRichEditStrings::Text() const {
    std::string text;
    for (const std::string& line : ToVector()) text += line + "\r\n";
    return text;
}

void TRichEditStrings::Assign(const TRichEditStrings& other) {
    if (&other == this) return;
    std::string text;
    for (const std::string& line : other.ToVector()) text += line + "\r\n";
    SetAllText(text);
}

// ---------------------------------------------------------------------------------------------
// Whole content

void TRichEditStrings::ChooseConverter(const std::string& fileName) {
    std::string extension = AnsiLowerCaseFileName(ExtractFileExt(fileName));
    if (!extension.empty()) extension.erase(0, 1);
    const TConversionFormat& format = FindConversionFormat(extension);
    if (!FConverter) FConverter = format.ConversionClass();
}

// A file that cannot be read whole (too large, a read error) fails the load; the note keeps its
// text, and the converter is dropped as after any failed file operation.
TConversion& TRichEditStrings::ConverterInUse(std::unique_ptr<TConversion>& temporary) const {
    if (FConverter) return *FConverter;
    temporary = FRichEdit->DefaultConverterClass();
    return *temporary;
}

void TRichEditStrings::ReadFromFile(const std::string& fileName) {
    ChooseConverter(fileName);
    auto dropConverter = qScopeGuard([this] { FConverter.reset(); });
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    // A file larger than the read limit is refused before a byte of it is read.
    // (The system's own files give no size: those the limit ends while reading.)
    // A file another program keeps writing to is read as it was when opened: a log that grows
    // faster than it is read would otherwise run into the read limit and not load at all.
    struct stat st {};
    const bool known = ::fstat(stream.Handle(), &st) == 0;
    const bool tooLarge = known && st.st_size > RichEdit::kMaxStreamInBytes;
    const std::int64_t endAt = known && S_ISREG(st.st_mode) && st.st_size > 0 ? st.st_size : -1;
    const unsigned error = tooLarge ? RichEdit::ERROR_FILE_TOO_LARGE : StreamIn(stream, endAt);
    if (error == RichEdit::ERROR_FILE_TOO_LARGE)
        throw EFOpenError(CannotOpenMessage(fileName, kTooLargeReason));
    if (error != 0) throw EOutOfResources("Failed to Load Stream");
    dropConverter.dismiss();
    FRichEdit->EmExLimitText(kLoadedTextLimit);
}

void TRichEditStrings::ReadFromStream(TStream& stream) {
    if (StreamIn(stream) != 0) throw EOutOfResources("Failed to Load Stream");
}

// The file's bytes go to the control once, as they are; the control reads them as RTF or as
// plain text. RTF that is not RTF is tried again as plain text from the same place, unless the
// read limit ended it: the plain-text reading would read as far and end the same way.
unsigned TRichEditStrings::StreamIn(TStream& stream, std::int64_t endAt) {
    FRichEdit->HandleNeeded();
    std::unique_ptr<TConversion> temporary;
    TConversion& converter = ConverterInUse(temporary);
    const std::int64_t position = stream.Position();
    const RichEdit::StreamSource source = [&](std::span<char> buffer) {
        std::int64_t size = std::int64_t(buffer.size());
        if (endAt >= 0) size = std::min(size, std::max<std::int64_t>(0, endAt - stream.Position()));
        if (size == 0) return size_t(0);
        const int n = converter.ReadChunk(stream, buffer.data(), int(size));
        return size_t(std::max(n, 0));
    };
    const unsigned format = PlainText ? RichEdit::SF_TEXT : RichEdit::SF_RTF;
    unsigned error = FRichEdit->EmStreamIn(format, source).Error;
    if (format == RichEdit::SF_RTF && error != 0 && error != RichEdit::ERROR_FILE_TOO_LARGE) {
        stream.Seek(position, soBeginning);
        error = FRichEdit->EmStreamIn(RichEdit::SF_TEXT, source).Error;
    }
    return error;
}

// The new content replaces the file only once it is whole on the disk.
void TRichEditStrings::WriteToFile(const std::string& fileName) {
    ChooseConverter(fileName);
    auto dropConverter = qScopeGuard([this] { FConverter.reset(); });
    TReplacingFileStream stream(fileName);
    // The old file is still whole when the new content cannot be stored: the disk's reason
    // (a full disk, a quota) is what the user needs to hear.
    try {
        WriteToStream(stream);
    } catch (const EOutOfResources&) {
        if (stream.WriteError().empty()) throw;
        throw EFCreateError(CannotCreateMessage(fileName, stream.WriteError()));
    }
    try {
        stream.Commit();
    } catch (const EInOutError& e) {
        throw EFCreateError(CannotCreateMessage(fileName, e.Message));
    }
    dropConverter.dismiss();
}

void TRichEditStrings::WriteToStream(TStream& stream) {
    FRichEdit->HandleNeeded();
    std::unique_ptr<TConversion> temporary;
    TConversion& converter = ConverterInUse(temporary);
    const RichEdit::StreamSink sink = [&](std::span<const char> bytes) {
        const int n = converter.WriteChunk(stream, bytes.data(), int(bytes.size()));
        return size_t(std::max(n, 0));
    };
    const unsigned format = PlainText ? RichEdit::SF_TEXT : RichEdit::SF_RTF;
    if (FRichEdit->EmStreamOut(format, sink).Error != 0)
        throw EOutOfResources("Failed to Save Stream");
}
