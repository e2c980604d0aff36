// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The standard file-save dialog: the chosen file need not exist, an existing one is taken
// without asking, and a typed name without an extension gets "." + DefaultExt.
#include "toolkit/TOpenDialog.h"

class TSaveDialog : public TOpenDialog {
    Q_OBJECT

public:
    explicit TSaveDialog(QObject* parent = nullptr) : TOpenDialog(parent) {}

    // "name" -> "name.RTF" with DefaultExt "RTF"; a name with any extension stays as it is.
    static std::string AddDefaultExt(const std::string& path, const std::string& ext);

protected:
    std::string CompleteName(const std::string& systemPath) const override;
    bool IsSaveDialog() const override { return true; }
};
