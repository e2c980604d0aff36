// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "platform/richedit/UnbrokenRuns.h"

#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

namespace RichEdit {

namespace {

// Goes on counting the run of non-white characters `run` through `text`; true past `limit`.
bool RunsPast(QStringView text, int limit, int& run) {
    for (const QChar c : text) {
        if (c.isSpace()) {
            run = 0;
        } else if (++run > limit) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool HasLongUnbrokenRun(QStringView text, int limit) {
    int run = 0;
    return RunsPast(text, limit, run);
}

// A run goes on from one fragment into the next; a paragraph break ends it, so a paragraph no
// longer than the limit is passed over without finding its fragments, which for a million short
// lines took half a second.
bool HasLongUnbrokenRun(const QTextDocument& doc, int from, int to, int limit) {
    for (QTextBlock block = doc.findBlock(from); block.isValid() && block.position() < to;
         block = block.next()) {
        if (block.length() - 1 <= limit) continue;
        int run = 0;
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int start = std::max(from, fragment.position());
            const int end = std::min(to, fragment.position() + fragment.length());
            if (start >= end) continue;
            const QString text = fragment.text();
            if (RunsPast(QStringView(text).mid(start - fragment.position(), end - start), limit,
                         run))
                return true;
        }
    }
    return false;
}

bool HasLongUnbrokenRun(const QTextDocument& doc, int limit) {
    return HasLongUnbrokenRun(doc, 0, doc.characterCount(), limit);
}

}  // namespace RichEdit
