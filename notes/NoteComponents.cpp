#include "notes/NoteComponents.h"

#include "notes/TRichEdit.h"
#include "toolkit/ComponentRegistry.h"

void RegisterNoteComponents() {
    RegisterComponentClass<TRichEdit>("TRichEdit");
}
