// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Whether a text holds a stretch so long without white space that laying it out at word
// boundaries is no longer affordable. Qt, breaking a paragraph at word boundaries, looks for the
// end of the current word at every line it starts inside that word: one word of n characters
// costs about n * n / (characters per line), minutes for a few megabytes (a base64 blob, a
// minified file). Laid out with breaks anywhere, the same word costs n.
#include <QStringView>

class QTextDocument;

namespace RichEdit {

// Characters in a row without white space from which a note is laid out with breaks anywhere.
constexpr int kLongestUnbrokenRun = 4096;

// True when `text` holds more than `limit` characters in a row without white space (a
// paragraph or line break counts as white space).
bool HasLongUnbrokenRun(QStringView text, int limit = kLongestUnbrokenRun);
// The same for the text of `doc`, read a fragment at a time rather than copied whole, which for
// a long note would be a second copy of its text beside the document's own.
bool HasLongUnbrokenRun(const QTextDocument& doc, int limit = kLongestUnbrokenRun);
// The same for the document positions from `from` up to `to`.
bool HasLongUnbrokenRun(const QTextDocument& doc, int from, int to,
                        int limit = kLongestUnbrokenRun);

}  // namespace RichEdit
