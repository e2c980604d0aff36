#include "text/TextComponents.h"

#include "text/TRichEdit.h"
#include "toolkit/ComponentRegistry.h"

void RegisterTextComponents() {
    RegisterComponentClass<TRichEdit>("TRichEdit");
}
