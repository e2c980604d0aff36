// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "notes/NoteComponents.h"

#include "notes/TRichEdit.h"
#include "toolkit/ComponentRegistry.h"

void RegisterNoteComponents() {
    RegisterComponentClass<TRichEdit>("TRichEdit");
}
