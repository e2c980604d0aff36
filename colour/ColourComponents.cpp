// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "colour/ColourComponents.h"

#include "colour/TColorBox.h"
#include "toolkit/ComponentRegistry.h"

void RegisterColourComponents() {
    RegisterComponentClass<TColorBox>("TColorBox");
}
