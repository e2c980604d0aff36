// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "platform/mci/MciDevice.h"

#include <QCoreApplication>
#include <algorithm>

namespace {

constexpr std::int64_t kFramesPerSecond = 75;

std::int64_t FramesOf(std::int64_t ms) {
    return ms * kFramesPerSecond / 1000;
}
// Rounded up, so that a position read back in frames is the frame it was set to.
std::int64_t MsOfFrames(std::int64_t frames) {
    return (frames * 1000 + kFramesPerSecond - 1) / kFramesPerSecond;
}

std::uint32_t Msf(std::int64_t ms) {
    const std::int64_t f = FramesOf(ms);
    return MCI_MAKE_MSF(std::uint32_t(f / (60 * kFramesPerSecond)),
                        std::uint32_t(f / kFramesPerSecond % 60),
                        std::uint32_t(f % kFramesPerSecond));
}

std::int64_t MsOfMsf(std::uint32_t m, std::uint32_t s, std::uint32_t f) {
    return MsOfFrames((std::int64_t(m) * 60 + s) * kFramesPerSecond + f);
}

void Post(QObject* callback, std::uint32_t code, MCIDEVICEID id) {
    if (callback) QCoreApplication::postEvent(callback, new TMciNotifyEvent(code, id));
}

}  // namespace

TMciDevice::TMciDevice(MCIDEVICEID id, TMciDeviceKind kind, TCdDisc media)
    : FId(id),
      FKind(kind),
      FMedia(std::move(media)),
      FPlayback(MakeGstPlayback()),
      FTimeFormat(kind == TMciDeviceKind::CdAudio ? MCI_FORMAT_TMSF : MCI_FORMAT_MILLISECONDS) {}

TMciDevice::~TMciDevice() {
    FPlayback->Close();
}

MCIERROR TMciDevice::Prepare(std::int64_t positionMs, bool openNow) {
    FPositionMs = positionMs;
    return openNow ? LoadTrack(TrackAt(positionMs)) : 0;
}

MCIERROR TMciDevice::LoadTrack(int index) {
    if (index == FLoadedTrack && FPlayback->IsOpen()) return 0;
    FLoadedTrack = -1;
    const MCIERROR error =
        FPlayback->Open(FMedia.Tracks[std::size_t(index)].Uri, FMedia.Drive, this);
    if (error != 0) return error;
    FLoadedTrack = index;
    // A file's length is what the pipeline found; a disc's lengths come from its contents.
    if (FKind != TMciDeviceKind::CdAudio)
        FMedia.Tracks[std::size_t(index)].LengthMs = FPlayback->LengthMs();
    return 0;
}

MCIERROR TMciDevice::Command(unsigned command, std::uint32_t flags, void* parms) {
    switch (command) {
        case MCI_CLOSE:
            Halt();
            FPlayback->Close();
            return 0;
        case MCI_PLAY: {
            MCI_PLAY_PARMS none;
            return Play(flags, parms ? static_cast<MCI_PLAY_PARMS*>(parms) : &none);
        }
        case MCI_STOP:
            Halt();
            return 0;
        case MCI_PAUSE:
            if (FMode == Mode::Playing) {
                FPositionMs = CurrentMs();
                FPlayback->Pause();
                FMode = Mode::Paused;
            }
            return 0;
        case MCI_RESUME:
            if (FMode != Mode::Paused) return MCIERR_NONAPPLICABLE_FUNCTION;
            FPlayback->Resume();
            FMode = Mode::Playing;
            return 0;
        case MCI_SEEK:
            if (!parms && (flags & MCI_TO)) return MCIERR_NULL_PARAMETER_BLOCK;
            return Seek(flags, static_cast<const MCI_SEEK_PARMS*>(parms));
        case MCI_STATUS:
            if (!parms) return MCIERR_NULL_PARAMETER_BLOCK;
            return Status(flags, static_cast<MCI_STATUS_PARMS*>(parms));
        case MCI_GETDEVCAPS:
            if (!parms) return MCIERR_NULL_PARAMETER_BLOCK;
            return Capability(flags, static_cast<MCI_GETDEVCAPS_PARMS*>(parms));
        case MCI_SET:
            if (!parms && (flags & MCI_SET_TIME_FORMAT)) return MCIERR_NULL_PARAMETER_BLOCK;
            return Set(flags, static_cast<const MCI_SET_PARMS*>(parms));
        case MCI_RECORD:
        case MCI_STEP:
        case MCI_WINDOW:
        case MCI_WHERE:
            // Sound devices: nothing to record with, no frames to step, no picture to place.
            return MCIERR_UNSUPPORTED_FUNCTION;
        default:
            return MCIERR_UNRECOGNIZED_COMMAND;
    }
}

// --- Playing -----------------------------------------------------------------------------------

MCIERROR TMciDevice::Play(std::uint32_t flags, MCI_PLAY_PARMS* p) {
    std::int64_t from = CurrentMs(), to = TotalMs();
    if (flags & MCI_FROM)
        if (const MCIERROR e = FromUnits(p->dwFrom, from)) return e;
    if (flags & MCI_TO)
        if (const MCIERROR e = FromUnits(p->dwTo, to)) return e;
    if (from > TotalMs() || to > TotalMs() || to < from) return MCIERR_OUTOFRANGE;
    // The play this one replaces will not end on its own any more.
    if (FHasPlayNotice) PostPlayNotice(MCI_NOTIFY_SUPERSEDED);
    FHasPlayNotice = (flags & MCI_NOTIFY) != 0;
    FPlayCallback = p->dwCallback;
    FPlayEndMs = to;
    if (const MCIERROR e = StartAt(from)) {
        FHasPlayNotice = false;
        FMode = Mode::Stopped;
        return e;
    }
    if (flags & MCI_WAIT) {
        while (FMode == Mode::Playing) {
            if (FPlayback->WaitForNotice() == TBusNotice::End)
                OnEnd();
            else
                FinishPlay(MCI_NOTIFY_FAILURE, CurrentMs());
        }
    }
    return 0;
}

MCIERROR TMciDevice::StartAt(std::int64_t fromMs) {
    const int track = TrackAt(fromMs);
    if (const MCIERROR e = LoadTrack(track)) return e;
    const std::int64_t start = TrackStartMs(track);
    const std::int64_t length = FMedia.Tracks[std::size_t(track)].LengthMs;
    FMode = Mode::Playing;
    if (fromMs >= FPlayEndMs || fromMs - start >= length) {
        // Nothing left to play: the play ends where it starts.
        FinishPlay(MCI_NOTIFY_SUCCESSFUL, FPlayEndMs);
        return 0;
    }
    const std::int64_t stop = FPlayEndMs < start + length ? FPlayEndMs - start : -1;
    return FPlayback->Play(fromMs - start, stop);
}

void TMciDevice::customEvent(QEvent* event) {
    if (event->type() != TBusNotice::EventType()) return;
    const auto* notice = static_cast<TBusNotice*>(event);
    if (FMode != Mode::Playing || notice->Sequence <= FPlayback->StaleSequence()) return;
    if (notice->What == TBusNotice::End)
        OnEnd();
    else
        FinishPlay(MCI_NOTIFY_FAILURE, CurrentMs());
}

void TMciDevice::OnEnd() {
    const int track = FLoadedTrack;
    const std::int64_t trackEnd = TrackStartMs(track) + FMedia.Tracks[std::size_t(track)].LengthMs;
    if (FPlayEndMs > trackEnd && track + 1 < int(FMedia.Tracks.size())) {
        // A disc plays on into its next track.
        if (StartAt(TrackStartMs(track + 1)) != 0) FinishPlay(MCI_NOTIFY_FAILURE, trackEnd);
        return;
    }
    FinishPlay(MCI_NOTIFY_SUCCESSFUL, FPlayEndMs);
}

void TMciDevice::FinishPlay(std::uint32_t code, std::int64_t atMs) {
    FPlayback->Stop();
    FPositionMs = std::clamp<std::int64_t>(atMs, 0, TotalMs());
    FMode = Mode::Stopped;
    if (FHasPlayNotice) PostPlayNotice(code);
}

void TMciDevice::PostPlayNotice(std::uint32_t code) {
    FHasPlayNotice = false;
    Post(FPlayCallback, code, FId);
}

void TMciDevice::Halt() {
    if (FMode == Mode::Stopped) return;
    FPositionMs = CurrentMs();
    FPlayback->Stop();
    FMode = Mode::Stopped;
    if (FHasPlayNotice) PostPlayNotice(MCI_NOTIFY_ABORTED);
}

MCIERROR TMciDevice::Seek(std::uint32_t flags, const MCI_SEEK_PARMS* p) {
    const std::uint32_t how = flags & (MCI_SEEK_TO_START | MCI_SEEK_TO_END | MCI_TO);
    std::int64_t target = 0;
    if (how == MCI_SEEK_TO_START)
        target = 0;
    else if (how == MCI_SEEK_TO_END)
        target = TotalMs();
    else if (how == MCI_TO) {
        if (const MCIERROR e = FromUnits(p->dwTo, target)) return e;
        if (target > TotalMs()) return MCIERR_OUTOFRANGE;
    } else
        return how == 0 ? MCIERR_MISSING_PARAMETER : MCIERR_FLAGS_NOT_COMPATIBLE;
    Halt();
    FPositionMs = target;
    return 0;
}

// --- Questions ---------------------------------------------------------------------------------

MCIERROR TMciDevice::Status(std::uint32_t flags, MCI_STATUS_PARMS* p) {
    if (!(flags & MCI_STATUS_ITEM)) return MCIERR_MISSING_PARAMETER;
    const bool track = (flags & MCI_TRACK) != 0;
    const int count = int(FMedia.Tracks.size());
    if (track && (p->dwTrack < 1 || int(p->dwTrack) > count)) return MCIERR_OUTOFRANGE;
    const int index = int(p->dwTrack) - 1;
    switch (p->dwItem) {
        case MCI_STATUS_LENGTH:
            p->dwReturn =
                LengthUnits(track ? FMedia.Tracks[std::size_t(index)].LengthMs : TotalMs());
            return 0;
        case MCI_STATUS_POSITION:
            if (track)
                p->dwReturn = FTimeFormat == MCI_FORMAT_TMSF ? MCI_MAKE_TMSF(p->dwTrack, 0, 0, 0)
                                                             : ToUnits(TrackStartMs(index));
            else
                p->dwReturn = ToUnits(CurrentMs());
            return 0;
        case MCI_STATUS_NUMBER_OF_TRACKS:
            p->dwReturn = std::uint32_t(count);
            return 0;
        case MCI_STATUS_CURRENT_TRACK:
            p->dwReturn = std::uint32_t(TrackAt(CurrentMs()) + 1);
            return 0;
        case MCI_STATUS_MODE:
            p->dwReturn = FMode == Mode::Playing  ? MCI_MODE_PLAY
                          : FMode == Mode::Paused ? MCI_MODE_PAUSE
                                                  : MCI_MODE_STOP;
            return 0;
        case MCI_STATUS_TIME_FORMAT:
            p->dwReturn = FTimeFormat;
            return 0;
        case MCI_STATUS_MEDIA_PRESENT:
        case MCI_STATUS_READY:
            p->dwReturn = 1;
            return 0;
        default:
            return MCIERR_UNSUPPORTED_FUNCTION;
    }
}

MCIERROR TMciDevice::Capability(std::uint32_t flags, MCI_GETDEVCAPS_PARMS* p) const {
    if (!(flags & MCI_GETDEVCAPS_ITEM)) return MCIERR_MISSING_PARAMETER;
    const bool files = FKind != TMciDeviceKind::CdAudio;
    switch (p->dwItem) {
        case MCI_GETDEVCAPS_CAN_PLAY:
        case MCI_GETDEVCAPS_HAS_AUDIO:
            p->dwReturn = 1;
            return 0;
        case MCI_GETDEVCAPS_CAN_RECORD:
        case MCI_GETDEVCAPS_HAS_VIDEO:
        case MCI_GETDEVCAPS_CAN_SAVE:
            p->dwReturn = 0;
            return 0;
        case MCI_GETDEVCAPS_CAN_EJECT:
            p->dwReturn = FMedia.CanEject ? 1 : 0;
            return 0;
        case MCI_GETDEVCAPS_USES_FILES:
        case MCI_GETDEVCAPS_COMPOUND_DEVICE:
            p->dwReturn = files ? 1 : 0;
            return 0;
        case MCI_GETDEVCAPS_DEVICE_TYPE:
            // The MPEG device plays sound only here, so it does not count as a video device.
            p->dwReturn = FKind == TMciDeviceKind::WaveAudio ? MCI_DEVTYPE_WAVEFORM_AUDIO
                          : FKind == TMciDeviceKind::CdAudio ? MCI_DEVTYPE_CD_AUDIO
                                                             : MCI_DEVTYPE_OTHER;
            return 0;
        default:
            return MCIERR_UNSUPPORTED_FUNCTION;
    }
}

MCIERROR TMciDevice::Set(std::uint32_t flags, const MCI_SET_PARMS* p) {
    if (flags & MCI_SET_TIME_FORMAT) {
        const std::uint32_t f = p->dwTimeFormat;
        const bool cd = FKind == TMciDeviceKind::CdAudio;
        if (f != MCI_FORMAT_MILLISECONDS && !(cd && (f == MCI_FORMAT_MSF || f == MCI_FORMAT_TMSF)))
            return MCIERR_BAD_TIME_FORMAT;
        FTimeFormat = f;
    }
    if (flags & (MCI_SET_DOOR_OPEN | MCI_SET_DOOR_CLOSED)) {
        if (!FMedia.CanEject) return MCIERR_UNSUPPORTED_FUNCTION;
        Halt();
        if (!SetCdDoor(FMedia.Drive, (flags & MCI_SET_DOOR_OPEN) != 0)) return MCIERR_HARDWARE;
    }
    return 0;
}

// --- Positions ---------------------------------------------------------------------------------

std::int64_t TMciDevice::TotalMs() const {
    return TrackStartMs(int(FMedia.Tracks.size()));
}

std::int64_t TMciDevice::TrackStartMs(int index) const {
    std::int64_t start = 0;
    for (int i = 0; i < index && i < int(FMedia.Tracks.size()); ++i)
        start += FMedia.Tracks[std::size_t(i)].LengthMs;
    return start;
}

int TMciDevice::TrackAt(std::int64_t ms) const {
    const int count = int(FMedia.Tracks.size());
    std::int64_t end = 0;
    for (int i = 0; i < count; ++i) {
        end += FMedia.Tracks[std::size_t(i)].LengthMs;
        if (ms < end) return i;
    }
    return std::max(count - 1, 0);
}

std::int64_t TMciDevice::CurrentMs() const {
    if (FMode != Mode::Playing || FLoadedTrack < 0) return FPositionMs;
    const std::int64_t length = FMedia.Tracks[std::size_t(FLoadedTrack)].LengthMs;
    return TrackStartMs(FLoadedTrack) + std::min(FPlayback->PositionMs(), length);
}

std::uint32_t TMciDevice::ToUnits(std::int64_t ms) const {
    if (FTimeFormat == MCI_FORMAT_MSF) return Msf(ms);
    if (FTimeFormat == MCI_FORMAT_TMSF) {
        const int track = TrackAt(ms);
        const std::uint32_t msf = Msf(ms - TrackStartMs(track));
        return std::uint32_t(track + 1) | msf << 8;
    }
    return std::uint32_t(ms);
}

std::uint32_t TMciDevice::LengthUnits(std::int64_t ms) const {
    // Lengths on a disc are durations: minutes, seconds and frames, without a track.
    return FTimeFormat == MCI_FORMAT_MILLISECONDS ? std::uint32_t(ms) : Msf(ms);
}

MCIERROR TMciDevice::FromUnits(std::uint32_t value, std::int64_t& ms) const {
    if (FTimeFormat == MCI_FORMAT_MSF) {
        ms = MsOfMsf(value & 0xFF, value >> 8 & 0xFF, value >> 16 & 0xFF);
        return 0;
    }
    if (FTimeFormat == MCI_FORMAT_TMSF) {
        const std::uint32_t t = MCI_TMSF_TRACK(value);
        if (t < 1 || t > FMedia.Tracks.size()) return MCIERR_OUTOFRANGE;
        ms = TrackStartMs(int(t) - 1) +
             MsOfMsf(MCI_TMSF_MINUTE(value), MCI_TMSF_SECOND(value), MCI_TMSF_FRAME(value));
        return 0;
    }
    ms = value;
    return 0;
}
