// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "platform/richedit/LineQueries.h"

#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

namespace RichEdit {

namespace {

// Character position minus document position at the start of block `number`: every paragraph
// break before it counts once more, every joint not at all.
int BreaksBefore(int number, const PieceJoints& joints) {
    return number - 2 * joints.UpToBlock(number);
}

}  // namespace

int DocPosFromChar(const QTextDocument& doc, int cp, const PieceJoints& joints) {
    if (cp <= 0) return 0;
    // The block whose first character position is the last one at or before `cp`.
    int lo = 0, hi = doc.blockCount() - 1;
    while (lo < hi) {
        const int mid = lo + (hi - lo + 1) / 2;
        if (doc.findBlockByNumber(mid).position() + BreaksBefore(mid, joints) <= cp)
            lo = mid;
        else
            hi = mid - 1;
    }
    const QTextBlock block = doc.findBlockByNumber(lo);
    const int offset = cp - (block.position() + BreaksBefore(lo, joints));
    return block.position() + std::min(offset, block.length() - 1);
}

int CharPosFromDoc(const QTextDocument& doc, int docPos, const PieceJoints& joints) {
    docPos = std::clamp(docPos, 0, doc.characterCount() - 1);
    return docPos + BreaksBefore(doc.findBlock(docPos).blockNumber(), joints);
}

QString WithCrLfBreaks(QStringView raw) {
    if (!raw.contains(QChar::ParagraphSeparator)) return raw.toString();
    QString out;
    out.reserve(raw.size() + raw.size() / 16);
    for (const QChar ch : raw) {
        if (ch == QChar::ParagraphSeparator)
            out += QStringLiteral("\r\n");
        else
            out += ch;
    }
    return out;
}

QString LineText(const LineTable& lines, QStringView raw, int line, int capacity) {
    if (line < 0 || line >= lines.Count() || capacity <= 0) return {};
    const LineTable::Line& l = lines.At(line);
    const qsizetype start = std::clamp<qsizetype>(l.DocStart, 0, raw.size());
    const qsizetype end =
        std::clamp<qsizetype>(qsizetype(l.DocStart) + l.Length, start, raw.size());
    QString text = WithCrLfBreaks(raw.mid(start, end - start));
    if (lines.EndsParagraph(line)) text += QStringLiteral("\r\n");
    if (text.size() > capacity) {
        qsizetype cut = capacity;
        if (text.at(cut - 1).isHighSurrogate()) --cut;
        text.truncate(cut);
    }
    return text;
}

int UnselectedOnLines(const LineTable& lines, CharRange selection) {
    const int first = lines.LineFromChar(selection.cpMin);
    const int last = lines.LineFromChar(selection.cpMax);
    const int before = std::max(0, selection.cpMin - lines.Start(first));
    const int after = std::max(0, lines.Start(last) + lines.At(last).Length - selection.cpMax);
    return before + after;
}

}  // namespace RichEdit
