// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "platform/rtf/RtfReader.h"

#include <QTextDocument>
#include <utility>

#include "platform/rtf/RtfDocumentBuilder.h"
#include "platform/rtf/RtfParser.h"

namespace Rtf {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kOpening = "{\\rtf";

bool HasByteOrderMark(std::string_view bytes) {
    return bytes.starts_with(kByteOrderMark);
}

// The bytes from "{\rtf" on, past the byte order mark and white space.
std::string_view SkipSignaturePrefix(std::string_view bytes) {
    if (HasByteOrderMark(bytes)) bytes.remove_prefix(kByteOrderMark.size());
    size_t start = bytes.find_first_not_of(" \t\r\n");
    return start == std::string_view::npos ? std::string_view() : bytes.substr(start);
}

}  // namespace

RtfSignature CheckSignature(std::string_view bytes) {
    // A byte order mark cut short could still become one.
    if (bytes.size() < kByteOrderMark.size() && kByteOrderMark.starts_with(bytes)) {
        return RtfSignature::TooShort;
    }
    const std::string_view rest = SkipSignaturePrefix(bytes);
    if (rest.starts_with(kOpening)) return RtfSignature::Yes;
    return rest.size() < kOpening.size() && kOpening.starts_with(rest) ? RtfSignature::TooShort
                                                                       : RtfSignature::No;
}

bool LooksLikeRtf(std::string_view bytes) {
    return CheckSignature(bytes) == RtfSignature::Yes;
}

namespace {

// Reads `bytes`; with `source`, the string they are in, empties it once they are parsed.
bool ReadInto(std::string_view bytes, QTextDocument& doc, RichEdit::DeferredFormats* deferred,
              std::string* source, const std::function<void()>& betweenSlices) {
    if (!LooksLikeRtf(bytes)) return false;
    // Undo records for every inserted run would cost time and memory for nothing.
    bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    doc.clear();
    {
        RtfDocumentBuilder builder(doc);
        builder.SetBetweenSlices(betweenSlices);
        {
            // A file that marks itself as UTF-8 holds UTF-8 wherever it is not escaped.
            RtfParser parser(SkipSignaturePrefix(bytes), builder, HasByteOrderMark(bytes));
            parser.Run(betweenSlices);
        }
        if (source) std::string().swap(*source);  // swapped, so that the memory goes back
        builder.Build();
        RichEdit::DeferredFormats formats = builder.TakeFormats();
        if (deferred)
            *deferred = std::move(formats);
        else
            formats.ApplyAll(doc);
    }
    doc.setUndoRedoEnabled(undo);
    return true;
}

}  // namespace

bool Read(std::string_view bytes, QTextDocument& doc, RichEdit::DeferredFormats* deferred) {
    return ReadInto(bytes, doc, deferred, nullptr, {});
}

bool ReadReleasing(std::string& bytes, QTextDocument& doc, RichEdit::DeferredFormats* deferred,
                   const std::function<void()>& betweenSlices) {
    return ReadInto(bytes, doc, deferred, &bytes, betweenSlices);
}

}  // namespace Rtf
