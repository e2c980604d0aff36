// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The print dialog: shows the print system's dialog for the current printer; when the user
// confirms, the chosen printer (a queue, or "Print to File (PDF)" with its file) and its settings
// become current, and the chosen copy count is set on the printer.
#include <QObject>
#include <functional>

#include "toolkit/TComponent.h"

class QDialog;
class QPrinter;

class TPrintDialog : public QObject, public TComponent {
    Q_OBJECT
    Q_PROPERTY(int Copies READ Copies WRITE SetCopies)
    Q_PROPERTY(bool Collate READ Collate WRITE SetCollate)

public:
    explicit TPrintDialog(QObject* owner = nullptr);

    // True when the user confirms.
    bool Execute();

    int Copies() const { return FCopies; }
    void SetCopies(int copies) { FCopies = copies; }
    bool Collate() const { return FCollate; }
    void SetCollate(bool collate) { FCollate = collate; }

    // Runs in place of the modal dialog when set (tests): it may change the dialog or the
    // printer as a user would and returns whether the user confirmed.
    static std::function<bool(QDialog& dialog, QPrinter& printer)> ExecuteHook;

private:
    int FCopies = 0;  // 0: the printer's own count
    bool FCollate = false;
};
