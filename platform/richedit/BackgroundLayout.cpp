// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "platform/richedit/BackgroundLayout.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <algorithm>

namespace RichEdit {

BackgroundLayout::BackgroundLayout(QObject* parent) : QObject(parent) {
    FTimer.setInterval(0);
    connect(&FTimer, &QTimer::timeout, this, [this] {
        if (!Step()) Stop();
    });
}

void BackgroundLayout::Start(QTextDocument* doc) {
    FDoc = doc;
    FNext = 0;
    if (doc) FTimer.start();
}

void BackgroundLayout::Stop() {
    FTimer.stop();
}

// Asking for a paragraph's place makes Qt lay everything out up to it; one paragraph is laid out
// whole, however long.
bool BackgroundLayout::Step() {
    if (!FDoc || !FDoc->documentLayout()) return false;
    const int end = FDoc->characterCount() - 1;
    if (FNext >= end) return false;
    FNext = std::min(end, FNext + kSliceChars);
    const QTextBlock block = FDoc->findBlock(FNext);
    if (block.isValid()) {
        FDoc->documentLayout()->blockBoundingRect(block);
        FNext = std::max(FNext, block.position() + block.length() - 1);
    }
    return FNext < end;
}

}  // namespace RichEdit
