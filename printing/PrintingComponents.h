// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Makes the print and printer-setup dialogs available to window layouts.
void RegisterPrintingComponents();
