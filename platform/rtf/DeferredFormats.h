// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Character formats that a freshly built document has still to receive. The document charges
// about a microsecond for each formatted run whatever its length, which for a long formatted
// note is most of its loading time. So a load gives the document its text and the formats of
// its first screen at once, and these runs follow: a slice at a time while the program is idle,
// or all together as soon as anything reads or changes the document.
#include <QTextCharFormat>
#include <cstddef>
#include <span>
#include <vector>

class QTextDocument;

namespace RichEdit {

class DeferredFormats {
public:
    struct Run {
        int Start;   // document position of the first character
        int End;     // one past the last
        int Format;  // index into the format table
    };

    DeferredFormats() = default;
    // `runs` in document order, not overlapping; each names an entry of `formats`.
    DeferredFormats(std::vector<QTextCharFormat> formats, std::vector<Run> runs);

    bool Empty() const { return FNext >= FRuns.size(); }
    size_t Remaining() const { return FRuns.size() - FNext; }

    // Applies the runs that begin before document position `limit`.
    void ApplyBefore(QTextDocument& doc, int limit);
    // Applies the next `count` runs, and the others of the paragraph the last of them is in.
    void ApplyNext(QTextDocument& doc, size_t count);
    void ApplyAll(QTextDocument& doc) { ApplyNext(doc, Remaining()); }
    void Clear();

    // The document's text changed by other means: `removed` characters at `from` were replaced
    // by `added` ones. Runs after the change move with their text, a run that loses characters
    // shrinks and one that the change falls inside splits around it, so no format lands on
    // characters it was never meant for.
    void Shift(int from, int removed, int added);
    // One character was inserted at each of `positions` (ascending, as they were before any
    // of the insertions). A run that one falls inside covers it too.
    void MakeRoomAt(std::span<const int> positions);

private:
    void ApplyUpTo(QTextDocument& doc, size_t end);

    std::vector<QTextCharFormat> FFormats;
    std::vector<Run> FRuns;
    size_t FNext = 0;  // the first run not yet applied
};

}  // namespace RichEdit
