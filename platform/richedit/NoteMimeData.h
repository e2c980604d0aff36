// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// What a copy or a drag from the note puts on offer: the copied content itself, for a paste or
// drop back into a note, and plain text, HTML, ODF and Markdown made from it only when another
// program asks. Made eagerly, or read back through HTML, a copy of megabytes cost seconds at
// every copy and paste. A copy of more than a slice is held in slices, so that a paste can put
// it in a slice at a time with the program's timers and painting running in between.
#include <QMimeData>
#include <QTextDocumentFragment>
#include <vector>

namespace RichEdit {

class NoteMimeData : public QMimeData {
public:
    // `slices`: the content in order, each a consecutive part of it; `insertedLength`: the
    // characters the content takes in a note, a paragraph break as two.
    NoteMimeData(std::vector<QTextDocumentFragment> slices, int insertedLength);

    const std::vector<QTextDocumentFragment>& Slices() const { return FSlices; }
    int InsertedLength() const { return FInsertedLength; }

    QStringList formats() const override;

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    const QTextDocumentFragment& Content() const;

    std::vector<QTextDocumentFragment> FSlices;
    mutable QTextDocumentFragment FContent;  // the slices joined, made when first asked for
    int FInsertedLength = 0;
};

}  // namespace RichEdit
