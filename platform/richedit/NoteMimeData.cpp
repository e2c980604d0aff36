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

NoteMimeData::NoteMimeData(QTextDocumentFragment content, int insertedLength)
    : FContent(std::move(content)), FInsertedLength(insertedLength) {}

QStringList NoteMimeData::formats() const {
    return {kPlain, kHtml, kMarkdown, kOdf};
}

QVariant NoteMimeData::retrieveData(const QString& mimeType, QMetaType type) const {
    if (mimeType == kPlain) return FContent.toPlainText();
    if (mimeType == kHtml) return FContent.toHtml();
    if (mimeType == kMarkdown) return FContent.toMarkdown().toUtf8();
    if (mimeType == kOdf) {
        QTextDocument doc;
        QTextCursor(&doc).insertFragment(FContent);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QTextDocumentWriter writer(&buffer, "ODF");
        if (!writer.write(&doc)) return {};
        return buffer.data();
    }
    return QMimeData::retrieveData(mimeType, type);
}

}  // namespace RichEdit
