// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "printing/TPrintDialog.h"

#include <QPrintDialog>
#include <QWidget>

#include "printing/PrinterChoice.h"
#include "printing/TPrinter.h"

std::function<bool(QDialog& dialog, QPrinter& printer)> TPrintDialog::ExecuteHook;

TPrintDialog::TPrintDialog(QObject* owner) : QObject(owner) {}

bool TPrintDialog::Execute() {
    TPrinter& current = *GlobalPrinter();
    QPrinter printer(QPrinter::HighResolution);
    LoadCurrentPrinter(current, printer);
    if (FCopies > 0) printer.setCopyCount(FCopies);
    printer.setCollateCopies(FCollate);
    QPrintDialog dialog(&printer, qobject_cast<QWidget*>(parent()));
    // The dialog switches the printer to the system's default queue while it builds itself;
    // setting the current printer again makes it open on that printer, the PDF printer too.
    LoadCurrentPrinter(current, printer);
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintCollateCopies |
                      QAbstractPrintDialog::PrintShowPageSize);
    const bool confirmed =
        ExecuteHook ? ExecuteHook(dialog, printer) : dialog.exec() == QDialog::Accepted;
    if (!confirmed) return false;
    FCopies = printer.copyCount();
    FCollate = printer.collateCopies();
    ChooseFromPrinter(current, printer);
    current.SetCopyCount(FCopies);
    return true;
}
