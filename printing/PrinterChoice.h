// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// What the print dialogs share with the printer object: a QPrinter set up for the current
// printer before a dialog runs, and the dialog's choice made current afterwards.
#include <QPrinter>

class TPrinter;

// Sets `printer` up as the printer object's current printer with its settings.
void LoadCurrentPrinter(TPrinter& source, QPrinter& printer);
// Makes the printer that `printer` is set up for, with its settings, current.
void ChooseFromPrinter(TPrinter& target, const QPrinter& printer);
