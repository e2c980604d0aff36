#include "printing/PrintingComponents.h"

#include "printing/TPrintDialog.h"
#include "printing/TPrinterSetupDialog.h"
#include "toolkit/ComponentRegistry.h"

void RegisterPrintingComponents() {
    RegisterComponentClass<TPrintDialog>("TPrintDialog");
    RegisterComponentClass<TPrinterSetupDialog>("TPrinterSetupDialog");
}
