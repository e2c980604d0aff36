// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "toolkit/TSaveDialog.h"

std::string TSaveDialog::AddDefaultExt(const std::string& path, const std::string& ext) {
    if (ext.empty()) return path;
    const std::size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty() || name.find('.') != std::string::npos) return path;
    return path + "." + ext;
}

std::string TSaveDialog::CompleteName(const std::string& systemPath) const {
    return AddDefaultExt(systemPath, DefaultExt().toStdString());
}
