// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Plain-text bytes to and from the control's text. A text that starts with a UTF-16 byte order
// mark (either byte order) is read as UTF-16. Any other text is read as UTF-8 wherever its bytes
// form a valid UTF-8 sequence and as Windows-1252 everywhere else, so no byte is ever lost; a
// UTF-8 byte order mark at its start is not part of the text. CR LF, a lone CR and a lone LF each
// become one paragraph break.
#include <QString>
#include <string>
#include <string_view>

namespace RichEdit {

// The text of `bytes` with every line break as '\n'. NUL characters of a UTF-16 text are dropped
// (they are not text, and a file of them would otherwise show as one endless blank line).
QString DecodePlainText(std::string_view bytes);

// The bytes of a plain text as the note area reads it, one chunk after another. In an 8-bit
// text a NUL byte ends the text of the chunk it falls in: the rest of that chunk is not kept, the
// next chunk is. A UTF-16 text keeps every byte, since its characters hold NUL bytes.
class PlainTextCollector {
public:
    void Add(std::string_view chunk);
    // Bytes kept so far.
    std::size_t Size() const { return FBytes.size() + FFirstByte.size(); }
    // The text of everything added (see DecodePlainText); the collector is empty afterwards.
    QString TakeText();

private:
    void Keep(std::string_view chunk);

    enum class TForm { Unknown, Bytes, Utf16 };
    TForm FForm = TForm::Unknown;
    std::string FFirstByte;  // a first chunk of one byte, until the next tells the form
    std::string FBytes;
};

// The character that Windows-1252 gives a byte (bytes it leaves undefined keep their value).
char16_t Windows1252ToUnicode(unsigned char byte);

// UTF-8 of `text`, appended to `out`; unpaired surrogates become U+FFFD.
void AppendUtf8(std::string& out, QStringView text);

}  // namespace RichEdit
