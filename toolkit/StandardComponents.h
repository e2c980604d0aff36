// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Makes the toolkit's standard controls and non-visual components known to layout files by
// their class names.
void RegisterStandardComponents();
