// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Lays a shown document out to its end a slice at a time while the program is idle. Qt lays a
// document out lazily, only as far as it is shown, and lays out all the rest at once, on the
// spot, as soon as anything wants a place further down (the caret sent to the end, a jump of the
// scroll bar): for a note of a million short lines a freeze of many seconds. Laid out ahead in
// slices of a few milliseconds, with the event loop running in between, it is there when wanted.
#include <QObject>
#include <QPointer>
#include <QTextDocument>
#include <QTimer>

namespace RichEdit {

class BackgroundLayout : public QObject {
public:
    // Characters laid out in one slice: a few milliseconds of Qt's layout of short lines.
    static constexpr int kSliceChars = 32 * 1024;

    explicit BackgroundLayout(QObject* parent = nullptr);
    // Lays `doc` out from its start (what is laid out already costs nothing again).
    void Start(QTextDocument* doc);
    void Stop();
    bool Running() const { return FTimer.isActive(); }
    // Lays the next slice out now; false once the document is laid out to its end.
    bool Step();

private:
    QPointer<QTextDocument> FDoc;
    QTimer FTimer;
    int FNext = 0;  // document position the next slice reaches
};

}  // namespace RichEdit
