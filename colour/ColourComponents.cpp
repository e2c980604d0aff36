#include "colour/ColourComponents.h"

#include "colour/TColorBox.h"
#include "toolkit/ComponentRegistry.h"

void RegisterColourComponents() {
    RegisterComponentClass<TColorBox>("TColorBox");
}
