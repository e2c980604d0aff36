// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "platform/richedit/ContentStream.h"

#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <climits>
#include <new>
#include <vector>

#include "platform/richedit/FreeMemory.h"
#include "platform/rtf/DeferredFormats.h"
#include "platform/rtf/RtfReader.h"
#include "platform/rtf/TextDecoding.h"

namespace RichEdit {

namespace {

// Reads `source` to its end, `chunkSize` bytes at a time, and hands each chunk to `take`, which
// answers false to refuse the bytes. Every byte delivered counts towards the read limit.
template <class Take>
unsigned ReadChunks(const StreamSource& source, int chunkSize, Take&& take) {
    if (!source) return ERROR_INVALID_DATA;
    std::vector<char> buffer(size_t(std::max(1, chunkSize)));
    long long total = 0;
    for (;;) {
        size_t count = 0;
        try {
            count = source(buffer);
        } catch (...) {
            // Whatever the source raised, the stream has failed; the caller reports that.
            return ERROR_READ_FAULT;
        }
        if (count == 0) return 0;
        count = std::min(count, buffer.size());
        total += static_cast<long long>(count);
        if (total > kMaxStreamInBytes) return ERROR_FILE_TOO_LARGE;
        if (!take(std::string_view(buffer.data(), count))) return ERROR_INVALID_DATA;
    }
}

unsigned ReadRtf(const StreamSource& source, int chunkSize, QTextDocument& doc,
                 DeferredFormats* deferred, int firstScreenChars,
                 const std::function<void()>& betweenSlices) {
    std::string bytes;
    // The reader's own check decides, as soon as the bytes tell, so that what passes here is
    // what it reads.
    Rtf::RtfSignature signature = Rtf::RtfSignature::TooShort;
    const unsigned error = ReadChunks(source, chunkSize, [&](std::string_view chunk) {
        bytes.append(chunk);
        if (signature == Rtf::RtfSignature::TooShort) signature = Rtf::CheckSignature(bytes);
        return signature != Rtf::RtfSignature::No;
    });
    if (error) return error;
    if (signature != Rtf::RtfSignature::Yes) return ERROR_INVALID_DATA;
    if (!Rtf::ReadReleasing(bytes, doc, deferred, betweenSlices)) return ERROR_INVALID_DATA;
    // The bytes and the text gathered from them are freed by now.
    if (doc.characterCount() >= kReturnMemoryFromChars) ReturnFreeMemory();
    if (deferred) deferred->ApplyBefore(doc, firstScreenChars);
    return 0;
}

unsigned ReadPlainText(const StreamSource& source, int chunkSize, QTextDocument& doc,
                       const std::function<void()>& betweenSlices) {
    PlainTextCollector text;
    const unsigned error = ReadChunks(source, chunkSize, [&](std::string_view chunk) {
        text.Add(chunk);
        return true;
    });
    if (error) return error;
    SetPlainTextInSlices(doc, text.TakeText(), kPlainTextSliceChars, betweenSlices);
    return 0;
}

}  // namespace

void SetPlainTextInSlices(QTextDocument& doc, const QString& text, int sliceChars,
                          const std::function<void()>& betweenSlices) {
    const qsizetype size = text.size();
    const qsizetype slice = std::max(1, sliceChars);
    if (size <= slice) {
        doc.setPlainText(text);
        return;
    }
    // The first slice through setPlainText, so that the document starts as it would; the rest
    // appended at its end, where a slice that ended after a break left an empty paragraph.
    qsizetype from = 0;
    QTextCursor cursor(&doc);
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);  // as setPlainText: building is no step to undo
    while (from < size) {
        qsizetype to = std::min(size, from + slice);
        if (to < size) {
            const qsizetype cut = text.lastIndexOf(u'\n', to - 1);
            if (cut >= from)
                to = cut + 1;
            else if (text.at(to - 1).isHighSurrogate())
                --to;  // keep a surrogate pair whole
        }
        const QString piece = text.mid(from, to - from);
        if (from == 0) {
            doc.setPlainText(piece);
            cursor = QTextCursor(&doc);
        } else {
            if (betweenSlices) betweenSlices();
            // Inside an edit block the cursor leaves its display column unknown; outside it
            // would shape the whole paragraph at every move and insert, a load of one long
            // line growing with the square of its length.
            cursor.beginEditBlock();
            cursor.movePosition(QTextCursor::End);
            cursor.insertText(piece);
            cursor.endEditBlock();
        }
        from = to;
    }
    doc.setUndoRedoEnabled(undo);
}

unsigned ReadContent(unsigned format, const StreamSource& source, int chunkSize, QTextDocument& doc,
                     DeferredFormats* deferred, int firstScreenChars,
                     const std::function<void()>& betweenSlices) {
    try {
        if (format & SF_RTF)
            return ReadRtf(source, chunkSize, doc, deferred, firstScreenChars, betweenSlices);
        return ReadPlainText(source, chunkSize, doc, betweenSlices);
    } catch (const std::bad_alloc&) {
        return ERROR_NOT_ENOUGH_MEMORY;
    } catch (const std::exception&) {
        return ERROR_INVALID_DATA;
    }
}

StreamResult WriteContent(std::string_view bytes, const StreamSink& sink, int chunkSize) {
    StreamResult result;
    if (!sink) {
        result.Error = ERROR_INVALID_DATA;
        return result;
    }
    const size_t chunk = size_t(std::max(1, chunkSize));
    size_t done = 0;
    while (done < bytes.size()) {
        const std::span<const char> piece(bytes.data() + done,
                                          std::min(bytes.size() - done, chunk));
        size_t count = 0;
        try {
            count = sink(piece);
        } catch (...) {
            // Whatever the sink raised, the content has not been stored; the caller reports it.
            result.Error = ERROR_WRITE_FAULT;
            break;
        }
        // A sink that takes less than it was given has not stored the content.
        if (count != piece.size()) {
            result.Error = ERROR_WRITE_FAULT;
            done += std::min(count, piece.size());
            break;
        }
        done += piece.size();
    }
    result.Count = int(std::min(done, size_t(INT_MAX)));
    return result;
}

std::string PlainTextUtf8(QStringView raw) {
    std::string out;
    out.reserve(size_t(raw.size()) + size_t(raw.size()) / 8);
    qsizetype from = 0;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        if (c != QChar::ParagraphSeparator && c != QChar::LineSeparator) continue;
        AppendUtf8(out, raw.mid(from, i - from));
        out += "\r\n";
        from = i + 1;
    }
    AppendUtf8(out, raw.mid(from));
    return out;
}

}  // namespace RichEdit
