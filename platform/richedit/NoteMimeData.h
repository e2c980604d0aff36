// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// What a copy or a drag from the note puts on offer: the copied content itself, for a paste or
// drop back into a note, and plain text, HTML, ODF and Markdown made from it only when another
// program asks. Made eagerly, or read back through HTML, a copy of megabytes cost seconds at
// every copy and paste.
#include <QMimeData>
#include <QTextDocumentFragment>

namespace RichEdit {

class NoteMimeData : public QMimeData {
public:
    // `insertedLength`: the characters the content takes in a note, a paragraph break as two.
    NoteMimeData(QTextDocumentFragment content, int insertedLength);

    const QTextDocumentFragment& Content() const { return FContent; }
    int InsertedLength() const { return FInsertedLength; }

    QStringList formats() const override;

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    QTextDocumentFragment FContent;
    int FInsertedLength = 0;
};

}  // namespace RichEdit
