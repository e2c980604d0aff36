// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// Feeds arbitrary bytes to the plain-text decoding, whole and in the chunks the note area reads
// them in. The text never holds a break other than '\n', a NUL of a UTF-16 text or an unpaired
// surrogate; written out as UTF-8 and read again it is the same text.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/rtf/TextDecoding.h"

namespace {

void Fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

void Check(const QString& text, bool utf16) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r') Fail("a CR was left in the text");
        if (utf16 && c == QChar(0)) Fail("a NUL character was left in a UTF-16 text");
        if (c.isHighSurrogate() && !(i + 1 < text.size() && text.at(i + 1).isLowSurrogate()))
            Fail("an unpaired high surrogate");
        if (c.isLowSurrogate() && !(i > 0 && text.at(i - 1).isHighSurrogate()))
            Fail("an unpaired low surrogate");
    }
    std::string utf8;
    RichEdit::AppendUtf8(utf8, text);
    // A text that starts with U+FEFF would lose it as a byte order mark when read back.
    if (!text.startsWith(QChar(0xFEFF)) && RichEdit::DecodePlainText(utf8) != text)
        Fail("the UTF-8 of the text does not read back as the text");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    // The first byte chooses the chunk size, the rest is the file.
    const size_t chunk = data[0] % 16 + 1;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    const bool utf16 = bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
    const QString whole = RichEdit::DecodePlainText(bytes);
    if (utf16) Check(whole, true);

    RichEdit::PlainTextCollector collector;
    for (size_t at = 0; at < bytes.size(); at += chunk) collector.Add(bytes.substr(at, chunk));
    const QString chunked = collector.TakeText();
    Check(chunked, utf16);
    // A UTF-16 text keeps every byte, whatever the chunks.
    if (utf16 && chunked != whole) Fail("chunks changed a UTF-16 text");
    return 0;
}
