// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Makes the note area's control known to layouts as "TRichEdit".
void RegisterNoteComponents();
