// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The printer-setup dialog: the user picks a printer (a queue, or "Print to File (PDF)" with
// its file), paper size and orientation; when confirmed, they become current for later jobs.
#include <QObject>
#include <functional>

#include "toolkit/TComponent.h"

class QDialog;
class QPrinter;

class TPrinterSetupDialog : public QObject, public TComponent {
    Q_OBJECT

public:
    explicit TPrinterSetupDialog(QObject* owner = nullptr);

    // True when the user confirms.
    bool Execute();

    // Runs in place of the modal dialog when set (tests); see TPrintDialog::ExecuteHook. The
    // dialog is a PrinterSetupForm: accepting it writes its choices into the printer.
    static std::function<bool(QDialog& dialog, QPrinter& printer)> ExecuteHook;
};
