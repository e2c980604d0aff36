// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Registers the colour list's component class for window layouts.
void RegisterColourComponents();
