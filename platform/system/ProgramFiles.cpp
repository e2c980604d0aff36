#include "platform/system/ProgramFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {
std::string gDataDirOverride;
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
    const QString beside = dir + QStringLiteral("/appfiles");
    const QString installed = QDir::cleanPath(dir + QStringLiteral("/../share/quillet/appfiles"));
    if (!QFileInfo(beside).isDir() && QFileInfo(installed).isDir()) return installed.toStdString();
    return beside.toStdString();
}
