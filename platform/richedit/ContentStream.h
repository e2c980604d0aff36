// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The whole content of a document to and from bytes: stream-in reads a source chunk by chunk,
// under the read limit, and builds a document of its bytes as RTF or as plain text; stream-out
// hands a document's bytes to a sink chunk by chunk. The bytes go through once, as the source
// delivers them; line breaks and encodings are the readers' business.
#include <QStringView>
#include <functional>
#include <string>
#include <string_view>

#include "platform/richedit/RichEditTypes.h"

class QTextDocument;

namespace RichEdit {

class DeferredFormats;

// Stream-in ends with ERROR_FILE_TOO_LARGE once its source has delivered more bytes than this,
// whether they are kept or not (a NUL byte ends the text of its chunk, but the chunk was read).
constexpr long long kMaxStreamInBytes = 512LL * 1024 * 1024;

// Builds `doc` of what `source` delivers, asked for `chunkSize` bytes at a time, read as RTF
// (SF_RTF) or as plain text (see PlainTextCollector). Bytes that do not start like RTF are
// refused as RTF as soon as a chunk tells, so that a plain file is not read twice. With
// `deferred`, the formats of RTF past the first `firstScreenChars` characters are left there for
// the caller. A plain text longer than kPlainTextSliceChars goes into `doc` a slice at a time,
// and a long RTF is parsed and prepared so, with `betweenSlices` (when given) called between
// two slices. Returns 0, or the error that
// ended the stream; `doc` is then not to be used.
unsigned ReadContent(unsigned format, const StreamSource& source, int chunkSize, QTextDocument& doc,
                     DeferredFormats* deferred, int firstScreenChars,
                     const std::function<void()>& betweenSlices = {});

// Characters of plain text that go into a document in one piece: building the paragraphs of this
// many characters of short lines takes a few milliseconds.
constexpr int kPlainTextSliceChars = 64 * 1024;

// Sets `doc`'s text to `text` (paragraphs broken at '\n') as QTextDocument::setPlainText does,
// in slices of about `sliceChars` characters that each end after a line break where there is
// one, calling `betweenSlices` between two slices.
void SetPlainTextInSlices(QTextDocument& doc, const QString& text, int sliceChars,
                          const std::function<void()>& betweenSlices);

// Hands `bytes` to `sink` in chunks of at most `chunkSize` bytes; stops at the first failure.
StreamResult WriteContent(std::string_view bytes, const StreamSink& sink, int chunkSize);

// UTF-8 of a document's raw text, with CR LF for every paragraph and line separator.
std::string PlainTextUtf8(QStringView raw);

}  // namespace RichEdit
