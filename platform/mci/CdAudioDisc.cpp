// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "platform/mci/CdAudioDisc.h"

#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QUrl>
#include <string>

#include "platform/mci/GstPlayback.h"

namespace {

std::vector<std::string> gTrackFiles;

// The first CD drive that opens.
int OpenDrive(std::string& drive) {
    for (const char* candidate : {"/dev/cdrom", "/dev/sr0", "/dev/sr1"}) {
        const int fd = ::open(candidate, O_RDONLY | O_NONBLOCK);
        if (fd >= 0) {
            drive = candidate;
            return fd;
        }
    }
    return -1;
}

// The start of a table-of-contents entry in sectors (75 to the second).
bool EntrySector(int fd, int track, int& sector, bool& data) {
    cdrom_tocentry entry{};
    entry.cdte_track = std::uint8_t(track);
    entry.cdte_format = CDROM_LBA;
    if (::ioctl(fd, CDROMREADTOCENTRY, &entry) != 0) return false;
    sector = entry.cdte_addr.lba;
    data = (entry.cdte_ctrl & CDROM_DATA_TRACK) != 0;
    return true;
}

MCIERROR ReadDriveDisc(TCdDisc& disc) {
    const int fd = OpenDrive(disc.Drive);
    if (fd < 0) return MCIERR_DEVICE_NOT_READY;
    disc.CanEject = true;
    MCIERROR result = MCIERR_DEVICE_NOT_READY;
    cdrom_tochdr header{};
    if (::ioctl(fd, CDROM_DRIVE_STATUS, CDSL_CURRENT) == CDS_DISC_OK &&
        ::ioctl(fd, CDROMREADTOCHDR, &header) == 0) {
        for (int t = header.cdth_trk0; t <= header.cdth_trk1; ++t) {
            int start = 0, next = 0;
            bool data = false, nextData = false;
            const int following = t == header.cdth_trk1 ? CDROM_LEADOUT : t + 1;
            if (!EntrySector(fd, t, start, data) || !EntrySector(fd, following, next, nextData))
                break;
            // Data tracks stay in the numbering (track numbers are the disc's), but cannot play.
            disc.Tracks.push_back(
                {"cdda://" + std::to_string(t), data ? 0 : std::int64_t(next - start) * 1000 / 75});
        }
        if (!disc.Tracks.empty()) result = 0;
    }
    ::close(fd);
    return result;
}

}  // namespace

void SetCdAudioTrackFiles(std::vector<std::string> systemPaths) {
    gTrackFiles = std::move(systemPaths);
}

MCIERROR ReadCdDisc(TCdDisc& disc) {
    disc = TCdDisc{};
    if (gTrackFiles.empty()) return ReadDriveDisc(disc);
    for (const std::string& path : gTrackFiles) {
        const std::string uri =
            QUrl::fromLocalFile(QString::fromStdString(path)).toString().toStdString();
        const std::unique_ptr<TGstPlayback> probe = MakeGstPlayback();
        if (!probe) return MCIERR_INTERNAL;
        if (const MCIERROR error = probe->Open(uri, {}, nullptr)) return error;
        disc.Tracks.push_back({uri, probe->LengthMs()});
    }
    return 0;
}

bool SetCdDoor(const std::string& drive, bool open) {
    const int fd = ::open(drive.c_str(), O_RDONLY | O_NONBLOCK);
    if (fd < 0) return false;
    const bool done = ::ioctl(fd, open ? CDROMEJECT : CDROMCLOSETRAY, 0) == 0;
    ::close(fd);
    return done;
}
