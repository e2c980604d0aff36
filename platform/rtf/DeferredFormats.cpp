// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "platform/rtf/DeferredFormats.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>
#include <utility>

namespace RichEdit {
namespace {

constexpr int kRunsBeforeDroppingLines = 32;

}  // namespace

DeferredFormats::DeferredFormats(std::vector<QTextCharFormat> formats, std::vector<Run> runs)
    : FFormats(std::move(formats)), FRuns(std::move(runs)) {}

void DeferredFormats::ApplyBefore(QTextDocument& doc, int limit) {
    auto end = std::lower_bound(FRuns.begin() + qsizetype(FNext), FRuns.end(), limit,
                                [](const Run& run, int position) { return run.Start < position; });
    ApplyUpTo(doc, size_t(end - FRuns.begin()));
}

// The slice goes on to the end of the paragraph it stops in: the editor lays a changed
// paragraph out again whole, which for one paragraph of a million runs, sliced, would be done
// hundreds of times.
void DeferredFormats::ApplyNext(QTextDocument& doc, size_t count) {
    size_t end = FNext + std::min(count, Remaining());
    if (end > FNext && end < FRuns.size()) {
        const QTextBlock block = doc.findBlock(FRuns[end - 1].Start);
        if (block.isValid()) {
            const int blockEnd = block.position() + block.length();
            end = size_t(std::lower_bound(
                             FRuns.begin() + qsizetype(end), FRuns.end(), blockEnd,
                             [](const Run& run, int position) { return run.Start < position; }) -
                         FRuns.begin());
        }
    }
    ApplyUpTo(doc, end);
}

void DeferredFormats::Clear() {
    // Swapped out rather than cleared, so that their memory goes back at once.
    std::vector<QTextCharFormat>().swap(FFormats);
    std::vector<Run>().swap(FRuns);
    FNext = 0;
}

// Formatting leaves no trace: no undo step and no change to the modified flag. Nothing else
// has edited the document while runs are pending, so the undo history is empty to begin with.
// Every format change makes the document walk the display lines its paragraph had, so a
// paragraph of many runs drops its lines once it has had a few: it is laid out afresh anyway.
void DeferredFormats::ApplyUpTo(QTextDocument& doc, size_t end) {
    if (end <= FNext) return;
    const bool modified = doc.isModified();
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    const int last = doc.characterCount() - 1;
    QTextCursor cursor(&doc);
    cursor.beginEditBlock();
    QTextBlock block;
    int blockEnd = -1, runsInBlock = 0;
    for (; FNext < end; ++FNext) {
        const Run& run = FRuns[FNext];
        const int start = std::min(run.Start, last), stop = std::min(run.End, last);
        if (start >= stop) continue;
        if (start >= blockEnd) {
            // Runs come in order: the next one is mostly in one of the next few paragraphs.
            for (int steps = 0; block.isValid() && start >= blockEnd && steps < 8; ++steps) {
                block = block.next();
                if (block.isValid()) blockEnd += block.length();
            }
            if (!block.isValid() || start >= blockEnd) {
                block = doc.findBlock(start);
                blockEnd = block.isValid() ? block.position() + block.length() : last + 1;
            }
            runsInBlock = 0;
        }
        // A paragraph of a few runs costs little either way; dropping the lines of every such
        // paragraph would make a layout object for each.
        if (++runsInBlock == kRunsBeforeDroppingLines && block.isValid()) {
            block.layout()->clearLayout();
        }
        cursor.setPosition(start);
        cursor.setPosition(stop, QTextCursor::KeepAnchor);
        cursor.setCharFormat(FFormats[size_t(run.Format)]);
    }
    cursor.endEditBlock();
    doc.setUndoRedoEnabled(undo);
    doc.setModified(modified);
    if (Empty()) Clear();
}

// Each run keeps exactly its own surviving characters: the part before the change stays, the
// part after it moves along, and whatever was inserted keeps the format it came with.
void DeferredFormats::Shift(int from, int removed, int added) {
    const int changedEnd = from + removed, delta = added - removed;
    std::vector<Run> moved;
    moved.reserve(FRuns.size() - FNext + 1);
    for (size_t i = FNext; i < FRuns.size(); ++i) {
        const Run& run = FRuns[i];
        if (run.Start < from) moved.push_back({run.Start, std::min(run.End, from), run.Format});
        if (run.End > changedEnd)
            moved.push_back({std::max(run.Start, changedEnd) + delta, run.End + delta, run.Format});
    }
    FRuns = std::move(moved);
    FNext = 0;
    if (Empty()) Clear();
}

// Runs are in document order, so one walk moves them all.
void DeferredFormats::MakeRoomAt(std::span<const int> positions) {
    size_t before = 0;  // insertions at or before the run's start
    for (size_t i = FNext; i < FRuns.size(); ++i) {
        Run& run = FRuns[i];
        while (before < positions.size() && positions[before] <= run.Start) ++before;
        size_t inside = before;  // and those before its end
        while (inside < positions.size() && positions[inside] < run.End) ++inside;
        run.Start += int(before);
        run.End += int(inside);
    }
}

}  // namespace RichEdit
