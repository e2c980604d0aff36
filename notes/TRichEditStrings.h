// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The note area's line list: its display lines as 8-bit (UTF-8) strings, line editing, and
// reading and writing the whole content from files and streams as RTF or plain text.
#include <memory>
#include <string>
#include <vector>

#include "notes/TConversion.h"

class TCustomRichEdit;
class TStream;

class TRichEditStrings {
public:
    explicit TRichEditStrings(TCustomRichEdit* richEdit);
    ~TRichEditStrings();
    TRichEditStrings(const TRichEditStrings&) = delete;
    TRichEditStrings& operator=(const TRichEditStrings&) = delete;

    // Longest line LineAt hands out, in characters.
    static constexpr int kMaxLineLength = 4096;
    // The text limit after a successful ReadFromFile.
    static constexpr int kLoadedTextLimit = 0x7FFFFFF0;

    // A display line without its CR LF, cut to its first 4096 characters.
    std::string LineAt(int index) const;
    // Number of lines; the empty line after a final break is not counted.
    int LineCount() const;
    void ReplaceLine(int index, const std::string& text);
    void SetAllText(const std::string& text);
    void SetUpdating(bool updating);
    void AppendLines(const TRichEditStrings& other);
    void AppendLines(const std::vector<std::string>& lines);
    void ClearLines();
    void DeleteLine(int index);
    // Inserts before `index`, or appends when index is the line count. Raises EOutOfResources
    // "RichEdit line insertion error" when the line did not land whole (the text limit).
    void InsertLine(int index, const std::string& text);

    // Replaces the content with the file's: as RTF when it is RTF (unless PlainText), else as
    // plain text. EFOpenError when it cannot be opened (also when it is not a regular file, or
    // larger than a note can hold); EOutOfResources "Failed to Load Stream" when it cannot be
    // read. On any failure the content stays as it was.
    void ReadFromFile(const std::string& fileName);
    void ReadFromStream(TStream& stream);
    // Writes the whole content as RTF (as plain text with PlainText). The existing file is
    // replaced only once the new content is completely on the disk. EFCreateError when the
    // file cannot be created; EOutOfResources "Failed to Save Stream" when writing fails.
    void WriteToFile(const std::string& fileName);
    void WriteToStream(TStream& stream);

    // Batches of changes: the outermost pair calls SetUpdating.
    void BeginUpdate();
    void EndUpdate();
    void Add(const std::string& text) { InsertLine(LineCount(), text); }
    // Every line followed by CR LF.
    std::string Text() const;
    // This list's lines become `other`'s.
    void Assign(const TRichEditStrings& other);
    std::vector<std::string> ToVector() const;

    bool PlainText = false;
    TConversion* Converter() const { return FConverter.get(); }

private:
    // A batch of changes for the length of a scope.
    class TUpdateScope {
    public:
        explicit TUpdateScope(TRichEditStrings& strings);
        // Ending the batch notifies the change, which may raise; while another error is on its
        // way out, that one wins.
        ~TUpdateScope() noexcept(false);
        TUpdateScope(const TUpdateScope&) = delete;
        TUpdateScope& operator=(const TUpdateScope&) = delete;

    private:
        TRichEditStrings& FStrings;
        int FUnwinding;
    };

    void ChooseConverter(const std::string& fileName);
    // The list's converter, else a temporary one of the control's default class.
    TConversion& ConverterInUse(std::unique_ptr<TConversion>& temporary) const;
    // Streams the content in from `stream`; 0 or the control's error.
    // Reads the stream to its end, or to `endAt` (a byte offset) when that is not negative.
    unsigned StreamIn(TStream& stream, std::int64_t endAt = -1);

    TCustomRichEdit* FRichEdit;
    std::unique_ptr<TConversion> FConverter;
    int FUpdateCount = 0;
};
