// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Registers the player's component classes for window layouts.
void RegisterPlayerComponents();
