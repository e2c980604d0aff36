// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// One open device of the command interface: a row of tracks (one for a sound file, the disc's
// tracks for CD audio) played through one GStreamer pipeline at a time, with the device's mode,
// position, time format and the pending notice of its play.
#include <QObject>
#include <QPointer>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/mci/CdAudioDisc.h"
#include "platform/mci/GstPlayback.h"
#include "platform/mci/Mci.h"
#include "platform/mci/MciDeviceName.h"

class TMciDevice : public QObject {
public:
    TMciDevice(MCIDEVICEID id, TMciDeviceKind kind, TCdDisc media);
    ~TMciDevice() override;

    // Makes `positionMs` the position; with `openNow`, also opens the pipeline of the track
    // that holds it (a sound file must prove at open that it plays). 0 or the open error.
    MCIERROR Prepare(std::int64_t positionMs, bool openNow);
    // Runs one command (not MCI_OPEN); 0 or an MCIERR_ code. MCI_CLOSE stops and aborts a
    // pending play notice; the caller then deletes the device.
    MCIERROR Command(unsigned command, std::uint32_t flags, void* parms);

protected:
    void customEvent(QEvent* event) override;

private:
    enum class Mode { Stopped, Playing, Paused };

    MCIERROR Play(std::uint32_t flags, MCI_PLAY_PARMS* p);
    MCIERROR Seek(std::uint32_t flags, const MCI_SEEK_PARMS* p);
    MCIERROR Status(std::uint32_t flags, MCI_STATUS_PARMS* p);
    MCIERROR Capability(std::uint32_t flags, MCI_GETDEVCAPS_PARMS* p) const;
    MCIERROR Set(std::uint32_t flags, const MCI_SET_PARMS* p);
    void Halt();  // stops a play or pause where it is; the pending notice is aborted
    MCIERROR StartAt(std::int64_t fromMs);
    void OnEnd();
    void FinishPlay(std::uint32_t code, std::int64_t atMs);
    void PostPlayNotice(std::uint32_t code);
    MCIERROR LoadTrack(int index);

    // Positions: milliseconds from the start of the first track, whatever the time format.
    std::int64_t TotalMs() const;
    std::int64_t TrackStartMs(int index) const;
    int TrackAt(std::int64_t ms) const;
    std::int64_t CurrentMs() const;
    std::uint32_t ToUnits(std::int64_t ms) const;
    std::uint32_t LengthUnits(std::int64_t ms) const;
    MCIERROR FromUnits(std::uint32_t value, std::int64_t& ms) const;

    MCIDEVICEID FId;
    TMciDeviceKind FKind;
    TCdDisc FMedia;
    std::unique_ptr<TGstPlayback> FPlayback;  // never null: devices open once GStreamer has started
    int FLoadedTrack = -1;
    Mode FMode = Mode::Stopped;
    std::uint32_t FTimeFormat;
    std::int64_t FPositionMs = 0;  // while stopped or paused
    std::int64_t FPlayEndMs = 0;
    bool FHasPlayNotice = false;
    QPointer<QObject> FPlayCallback;
};
