// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The note area control as layouts name it.
#include "notes/TCustomRichEdit.h"

class TRichEdit : public TCustomRichEdit {
    Q_OBJECT

public:
    explicit TRichEdit(QWidget* parent = nullptr) : TCustomRichEdit(parent) {}
};
