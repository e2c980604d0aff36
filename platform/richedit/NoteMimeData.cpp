// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "platform/richedit/NoteMimeData.h"

#include <QBuffer>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <memory>

namespace RichEdit {

namespace {

const QString kPlain = QStringLiteral("text/plain");
const QString kHtml = QStringLiteral("text/html");
const QString kMarkdown = QStringLiteral("text/markdown");
const QString kOdf = QStringLiteral("application/vnd.oasis.opendocument.text");

}  // namespace

NoteMimeData::NoteMimeData(std::vector<QTextDocumentFragment> slices, int insertedLength)
    : FSlices(std::move(slices)), FInsertedLength(insertedLength) {
    if (FSlices.size() == 1) FContent = FSlices.front();
}

const QTextDocumentFragment& NoteMimeData::Content() const {
    if (FContent.isEmpty() && !FSlices.empty()) {
        QTextDocument doc;
        QTextCursor end(&doc);
        for (const QTextDocumentFragment& slice : FSlices) end.insertFragment(slice);
        FContent = QTextDocumentFragment(&doc);
    }
    return FContent;
}

QStringList NoteMimeData::formats() const {
    return {kPlain, kHtml, kMarkdown, kOdf};
}

QVariant NoteMimeData::retrieveData(const QString& mimeType, QMetaType type) const {
    if (mimeType == kPlain) return Content().toPlainText();
    if (mimeType == kHtml) return Content().toHtml();
    if (mimeType == kMarkdown) return Content().toMarkdown().toUtf8();
    if (mimeType == kOdf) {
        QTextDocument doc;
        QTextCursor(&doc).insertFragment(Content());
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QTextDocumentWriter writer(&buffer, "ODF");
        if (!writer.write(&doc)) return {};
        return buffer.data();
    }
    return QMimeData::retrieveData(mimeType, type);
}

}  // namespace RichEdit
