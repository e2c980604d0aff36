#include "text/PrintingComponents.h"

#include "text/TPrintDialog.h"
#include "text/TPrinterSetupDialog.h"
#include "toolkit/ComponentRegistry.h"

void RegisterPrintingComponents() {
    RegisterComponentClass<TPrintDialog>("TPrintDialog");
    RegisterComponentClass<TPrinterSetupDialog>("TPrinterSetupDialog");
}
