// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The file dialog the open and save dialogs show: Qt's own, except that a mask typed into the
// name box ("*.flac", "song?.mp3", several joined by ";" or spaces) and taken with Enter or the
// dialog's button filters the list by it, as file dialogs do, instead of being taken as a file
// name. The mask stays in the box, greyed; the entry chosen in the list of types stays as it was.
#include <QFileDialog>

class TTypedMaskFileDialog : public QFileDialog {
    Q_OBJECT

public:
    using QFileDialog::QFileDialog;

    // Whether a typed name is a mask: it holds "*" or "?".
    static bool IsMask(const QString& typed);

public:
    void accept() override;

private:
    void ApplyMask(const QString& typed);
};
