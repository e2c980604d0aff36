// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "platform/richedit/UnbrokenRuns.h"

#include <QTextBlock>
#include <QTextDocument>

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
bool HasLongUnbrokenRun(const QTextDocument& doc, int limit) {
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (block.length() - 1 <= limit) continue;
        int run = 0;
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            if (RunsPast(it.fragment().text(), limit, run)) return true;
        }
    }
    return false;
}

}  // namespace RichEdit
