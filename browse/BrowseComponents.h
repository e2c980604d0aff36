// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Makes the browser panel's controls known to window layouts by their class names.
void RegisterBrowseComponents();
