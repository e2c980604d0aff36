// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "printing/TPrinterSetupDialog.h"

#include <QWidget>

#include "printing/PrinterChoice.h"
#include "printing/PrinterSetupForm.h"
#include "printing/TPrinter.h"

std::function<bool(QDialog& dialog, QPrinter& printer)> TPrinterSetupDialog::ExecuteHook;

TPrinterSetupDialog::TPrinterSetupDialog(QObject* owner) : QObject(owner) {}

bool TPrinterSetupDialog::Execute() {
    TPrinter& current = *GlobalPrinter();
    QPrinter printer(QPrinter::HighResolution);
    LoadCurrentPrinter(current, printer);
    PrinterSetupForm form(printer, qobject_cast<QWidget*>(parent()));
    const bool confirmed =
        ExecuteHook ? ExecuteHook(form, printer) : form.exec() == QDialog::Accepted;
    if (!confirmed) return false;
    ChooseFromPrinter(current, printer);
    return true;
}
