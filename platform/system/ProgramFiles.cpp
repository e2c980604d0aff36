// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "platform/system/ProgramFiles.h"

#include <dlfcn.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

std::string gDataDirOverride;

// `near` when it exists or `far` does not; else `far` (cleaned of its "..").
std::string NearElseFar(const QString& near, const QString& far) {
    const QString cleanFar = QDir::cleanPath(far);
    if (!QFileInfo::exists(near) && QFileInfo::exists(cleanFar)) return cleanFar.toStdString();
    return near.toStdString();
}

}  // namespace

void SetProgramDataDir(const std::string& dir) {
    gDataDirOverride = dir;
}

std::string ProgramDir() {
    return QCoreApplication::applicationDirPath().toStdString();
}

std::string ProgramDataDir() {
    if (!gDataDirOverride.empty()) return gDataDirOverride;
    return ProgramDataDirFor(ProgramDir());
}

std::string ProgramDataDirFor(const std::string& programDir) {
    const QString dir = QString::fromStdString(programDir);
    return NearElseFar(dir + QStringLiteral("/appfiles"),
                       dir + QStringLiteral("/../share/quillet/appfiles"));
}

std::string ProgramModulePath(const std::string& fileName) {
    return ProgramModulePathFor(ProgramDir(), fileName);
}

std::string ProgramModulePathFor(const std::string& programDir, const std::string& fileName) {
    const QString dir = QString::fromStdString(programDir);
    const QString tail = QStringLiteral("/lib/quillet/") + QString::fromStdString(fileName);
    return NearElseFar(dir + tail, dir + QStringLiteral("/..") + tail);
}

void* ModuleEntry(const std::string& path, const char* entry, std::string& why) {
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    void* found = module ? dlsym(module, entry) : nullptr;
    if (!found) why = dlerror();
    return found;
}
