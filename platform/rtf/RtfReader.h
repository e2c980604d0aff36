// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Reading RTF into a text document.
#include <functional>
#include <string>
#include <string_view>

class QTextDocument;

namespace RichEdit {
class DeferredFormats;
}

namespace Rtf {

// Parses RTF into `doc`, replacing its content, and returns true. Returns false, leaving `doc`
// untouched, when the bytes are not RTF: they do not start, after an optional UTF-8 byte order
// mark and white space, with "{\rtf". Damaged RTF loads as much as can be read. Building into a
// document that no editor shows is several times faster; the undo history of `doc` is cleared.
// With `deferred` the runs not in the document's most common format are left there for the
// caller to apply; otherwise they are applied before returning.
bool Read(std::string_view bytes, QTextDocument& doc,
          RichEdit::DeferredFormats* deferred = nullptr);
// As Read, and empties `bytes` as soon as they are parsed, before the text goes into `doc`:
// for a long note the source and the text are otherwise held at once beside the document.
// `betweenSlices`, when given, is called every few milliseconds' work of a long read, so that
// the caller can let events run.
bool ReadReleasing(std::string& bytes, QTextDocument& doc,
                   RichEdit::DeferredFormats* deferred = nullptr,
                   const std::function<void()>& betweenSlices = {});

// Whether bytes start like RTF: "{\rtf" after an optional UTF-8 byte order mark and white space.
enum class RtfSignature { Yes, No, TooShort };
// TooShort: what there is could still begin RTF, so more bytes must tell.
RtfSignature CheckSignature(std::string_view bytes);
bool LooksLikeRtf(std::string_view bytes);

}  // namespace Rtf
