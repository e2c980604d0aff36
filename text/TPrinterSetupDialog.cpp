#include "text/TPrinterSetupDialog.h"

#include <QWidget>

#include "text/PrinterChoice.h"
#include "text/PrinterSetupForm.h"
#include "text/TPrinter.h"

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
