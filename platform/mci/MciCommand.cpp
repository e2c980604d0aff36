// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The command entry point: opens devices, hands every other command to its device, and posts
// the completion notice of a command that asks for one.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QUrl>
#include <cerrno>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>

#include "platform/mci/CdAudioDisc.h"
#include "platform/mci/GstPlayback.h"
#include "platform/mci/Mci.h"
#include "platform/mci/MciDevice.h"
#include "platform/mci/MciDeviceName.h"
#include "platform/system/FileSystem.h"

namespace {

struct DeviceTable {
    std::map<MCIDEVICEID, std::unique_ptr<TMciDevice>> Open;
    MCIDEVICEID Next = 1;
};

void CloseAll();

DeviceTable& Devices() {
    static DeviceTable table;
    static const bool hooked = [] {
        // Devices still open when the program ends are closed while the application object
        // exists, so no pipeline thread outlives it.
        if (QCoreApplication::instance()) qAddPostRoutine(CloseAll);
        return true;
    }();
    (void)hooked;
    return table;
}

void CloseAll() {
    auto& open = Devices().Open;
    for (auto& [id, device] : open) device->Command(MCI_CLOSE, MCI_WAIT, nullptr);
    open.clear();
}

// The Linux path for an element name: a program path (C:\music\a.mp3), or a Linux path as is.
MCIERROR SystemPathOf(const std::string& element, std::string& path) {
    if (!element.empty() && element[0] == '/') {
        path = element;
        return 0;
    }
    return ToSystemPath(element, path) ? 0 : MCIERR_FILE_NOT_FOUND;
}

// Checks the file before the media framework sees it, so the common failures get their own
// codes: missing, a folder, unreadable (the file itself, or a folder on its way that the user
// may not enter), empty.
MCIERROR CheckFile(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return errno == EACCES ? MCIERR_FILE_READ : MCIERR_FILE_NOT_FOUND;
    if (!S_ISREG(info.st_mode)) return MCIERR_INVALID_FILE;
    // Opened as the media framework will open it, with this process's effective rights.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return MCIERR_FILE_READ;
    ::close(fd);
    if (info.st_size == 0) return MCIERR_INVALID_FILE;
    return 0;
}

std::string FileUri(const std::string& path) {
    return QUrl::fromLocalFile(QString::fromStdString(path))
        .toString(QUrl::FullyEncoded)
        .toStdString();
}

// The CD device's disc and starting position: the whole disc, or the track a ".cda" file names.
MCIERROR OpenDisc(const std::string& element, bool withElement, TCdDisc& disc,
                  std::int64_t& startMs) {
    startMs = 0;
    std::optional<TCdaTrackFile> track;
    if (withElement) {
        std::string path;
        if (const MCIERROR e = SystemPathOf(element, path)) return e;
        if (const MCIERROR e = CheckFile(path)) return e;
        std::ifstream in(path, std::ios::binary);
        std::string bytes(4096, '\0');
        in.read(bytes.data(), std::streamsize(bytes.size()));
        bytes.resize(std::size_t(in.gcount()));
        track = ParseCdaFile(bytes);
        if (!track) return MCIERR_INVALID_FILE;
    }
    if (const MCIERROR e = ReadCdDisc(disc)) return e;
    if (track) {
        if (track->Track > disc.Tracks.size()) return MCIERR_OUTOFRANGE;
        for (unsigned t = 1; t < track->Track; ++t) startMs += disc.Tracks[t - 1].LengthMs;
    }
    return 0;
}

MCIERROR Open(std::uint32_t flags, MCI_OPEN_PARMS* p) {
    if (!p) return MCIERR_NULL_PARAMETER_BLOCK;
    if (flags & MCI_OPEN_TYPE_ID) return MCIERR_UNSUPPORTED_FUNCTION;
    const bool withType = (flags & MCI_OPEN_TYPE) != 0;
    const bool withElement = (flags & MCI_OPEN_ELEMENT) != 0;
    const std::string element = withElement && p->lpstrElementName ? p->lpstrElementName : "";
    MCIERROR error = 0;
    TMciDeviceKind kind = TMciDeviceKind::None;
    if (withType)
        kind = DeviceKindFromTypeName(p->lpstrDeviceType ? p->lpstrDeviceType : "", error);
    else if (withElement)
        kind = DeviceKindFromFileName(element, error);
    else
        return MCIERR_MISSING_PARAMETER;
    if (kind == TMciDeviceKind::None) return error;
    if (!EnsureGstreamer()) return MCIERR_INTERNAL;

    TCdDisc media;
    std::int64_t startMs = 0;
    if (kind == TMciDeviceKind::CdAudio) {
        if (const MCIERROR e = OpenDisc(element, withElement, media, startMs)) return e;
    } else {
        if (!withElement) return MCIERR_FILENAME_REQUIRED;
        if (element.empty()) return MCIERR_FILENAME_REQUIRED;
        std::string path;
        if (const MCIERROR e = SystemPathOf(element, path)) return e;
        if (const MCIERROR e = CheckFile(path)) return e;
        media.Tracks.push_back({FileUri(path), 0});
    }
    DeviceTable& table = Devices();
    const MCIDEVICEID id = table.Next++;
    auto device = std::make_unique<TMciDevice>(id, kind, std::move(media));
    // A file's pipeline opens now, so a file the device cannot play fails here; a disc's
    // tracks open when they play.
    if (const MCIERROR e = device->Prepare(startMs, kind != TMciDeviceKind::CdAudio)) return e;
    table.Open[id] = std::move(device);
    p->wDeviceID = id;
    return 0;
}

}  // namespace

QEvent::Type TMciNotifyEvent::EventType() {
    static const auto type = QEvent::Type(QEvent::registerEventType());
    return type;
}

MCIERROR mciSendCommandA(MCIDEVICEID device, unsigned command, std::uint32_t flags, void* parms) {
    HWND callback = parms ? static_cast<MCI_GENERIC_PARMS*>(parms)->dwCallback : nullptr;
    MCIERROR result = 0;
    MCIDEVICEID notifyId = device;
    if (command == MCI_OPEN) {
        if (device != 0) return MCIERR_INVALID_DEVICE_ID;
        result = Open(flags, static_cast<MCI_OPEN_PARMS*>(parms));
        if (result == 0) notifyId = static_cast<MCI_OPEN_PARMS*>(parms)->wDeviceID;
    } else {
        auto& open = Devices().Open;
        const auto it = open.find(device);
        if (it == open.end()) return MCIERR_INVALID_DEVICE_ID;
        result = it->second->Command(command, flags, parms);
        if (command == MCI_CLOSE && result == 0) open.erase(it);
    }
    // A play posts its own notice when it ends; every other command is done when it returns.
    if (result == 0 && (flags & MCI_NOTIFY) && command != MCI_PLAY && callback)
        QCoreApplication::postEvent(callback, new TMciNotifyEvent(MCI_NOTIFY_SUCCESSFUL, notifyId));
    return result;
}
