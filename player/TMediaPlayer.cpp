// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The player's device side: opening, commanding and closing a device of the multimedia command
// interface, the one-shot wait and notify options, and the buttons the device state allows.
#include "player/TMediaPlayer.h"

#include <array>

namespace {

// The device type names passed at open, by TMPDeviceTypes.
constexpr std::array<const char*, 13> kDeviceTypeNames = {
    "",        "AVIVideo", "CDAudio",   "DAT", "DigitalVideo", "MMMovie",  "Other",
    "Overlay", "Scanner",  "Sequencer", "VCR", "Videodisc",    "WaveAudio"};

TButtonSet With(TButtonSet set, TMPBtnType b, bool on = true) {
    return on ? TButtonSet(set | ButtonBit(b)) : set;
}
TButtonSet Without(TButtonSet set, TMPBtnType b) {
    return TButtonSet(set & ~ButtonBit(b));
}

}  // namespace

TMediaPlayer::TMediaPlayer(QWidget* parent) : QWidget(parent) {
    // A tab stop; a mouse press on a button does not take the keyboard focus.
    setFocusPolicy(Qt::TabFocus);
    // The bar paints every pixel itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(240, 30);
}

TMediaPlayer::~TMediaPlayer() {
    if (FMciDevice != 0) {
        MCI_GENERIC_PARMS parms;
        mciSendCommandA(FMciDevice, MCI_CLOSE, MCI_WAIT, &parms);
    }
}

// --- Flag rules ----------------------------------------------------------------------------------

void TMediaPlayer::WaitDefault() {
    FCommandFlags = 0;
    if (FWaitChoiceSet) {
        if (FWaitChoice) FCommandFlags |= MCI_WAIT;
        FWaitChoiceSet = false;
    } else {
        FCommandFlags |= MCI_WAIT;
    }
    if (FNotifyChoiceSet) {
        if (FNotifyChoice) FCommandFlags |= MCI_NOTIFY;
        FNotifyChoiceSet = false;
    }
}

void TMediaPlayer::NotifyDefault() {
    FCommandFlags = 0;
    if (FNotifyChoiceSet) {
        if (FNotifyChoice) FCommandFlags |= MCI_NOTIFY;
        FNotifyChoiceSet = false;
    } else {
        FCommandFlags |= MCI_NOTIFY;
    }
    if (FWaitChoiceSet) {
        if (FWaitChoice) FCommandFlags |= MCI_WAIT;
        FWaitChoiceSet = false;
    }
}

void TMediaPlayer::SetWait(bool wait) {
    FWaitChoice = wait;
    FWaitChoiceSet = true;
}

void TMediaPlayer::SetNotify(bool notify) {
    FNotifyChoice = notify;
    FNotifyChoiceSet = true;
}

void TMediaPlayer::SetFromPosition(std::uint32_t position) {
    FFromPosition = position;
    FFromPositionSet = true;
}

void TMediaPlayer::SetToPosition(std::uint32_t position) {
    FToPosition = position;
    FToPositionSet = true;
}

void TMediaPlayer::CheckOpen() const {
    if (FMciDevice == 0) throw EMCIDeviceError("No MCI device open");
}

// --- Open and close ----------------------------------------------------------------------------

void TMediaPlayer::Open() {
    if (FMciDevice != 0) Close();
    MCI_OPEN_PARMS parms;
    parms.lpstrDeviceType = kDeviceTypeNames[FDeviceType];
    parms.lpstrElementName = FFileName.c_str();
    WaitDefault();
    if (FDeviceType == dtAutoSelect) {
        FCommandFlags |= MCI_OPEN_ELEMENT;
    } else {
        FCommandFlags |= MCI_OPEN_TYPE;
        // A chosen device type still opens the chosen file; only a CD plays its disc.
        if (!FFileName.empty() && FDeviceType != dtCDAudio) FCommandFlags |= MCI_OPEN_ELEMENT;
    }
    if (FShareable) FCommandFlags |= MCI_OPEN_SHAREABLE;
    parms.dwCallback = this;
    FErrorCode = mciSendCommandA(0, MCI_OPEN, FCommandFlags, &parms);
    if (FErrorCode != 0) throw EMCIDeviceError(ErrorText());
    FIsOpen = true;
    FMciDevice = parms.wDeviceID;
    FStepFrames = int(MediaLength() / 10);
    GetDeviceCaps();
    if (FVideoCapable) {
        SetDisplay(FDisplay);
        DisplayArea();
    }
    if (FDeviceType == dtCDAudio || FDeviceType == dtVideodisc)
        SetDeviceTimeFormat(MCI_FORMAT_TMSF);
    FAutoEnabledSet = ButtonBit(btNext) | ButtonBit(btPrev);
    if (FStepCapable) FAutoEnabledSet |= ButtonBit(btStep) | ButtonBit(btBack);
    FAutoEnabledSet = With(FAutoEnabledSet, btPlay, FPlayCapable);
    FAutoEnabledSet = With(FAutoEnabledSet, btRecord, FRecordCapable);
    FAutoEnabledSet = With(FAutoEnabledSet, btEject, FEjectCapable);
    if (DeviceMode() == pmPlaying) AutoButtonSet(btPlay);
    PushAutoEnabled();
}

std::uint32_t TMediaPlayer::Capability(std::uint32_t item) {
    MCI_GETDEVCAPS_PARMS parms;
    parms.dwItem = item;
    FCommandFlags = MCI_WAIT | MCI_GETDEVCAPS_ITEM;
    FErrorCode = mciSendCommandA(FMciDevice, MCI_GETDEVCAPS, FCommandFlags, &parms);
    return parms.dwReturn;
}

void TMediaPlayer::GetDeviceCaps() {
    FPlayCapable = (Capability(MCI_GETDEVCAPS_CAN_PLAY) & 0xFF) != 0;
    FRecordCapable = (Capability(MCI_GETDEVCAPS_CAN_RECORD) & 0xFF) != 0;
    FEjectCapable = (Capability(MCI_GETDEVCAPS_CAN_EJECT) & 0xFF) != 0;
    FVideoCapable = (Capability(MCI_GETDEVCAPS_HAS_VIDEO) & 0xFF) != 0;
    const std::uint32_t type = Capability(MCI_GETDEVCAPS_DEVICE_TYPE);
    FStepCapable = type == MCI_DEVTYPE_ANIMATION || type == MCI_DEVTYPE_DIGITAL_VIDEO ||
                   type == MCI_DEVTYPE_OVERLAY || type == MCI_DEVTYPE_VCR;
    FDeviceFeatures = TMPDevCapsSet(
        (FStepCapable ? 1 << mpCanStep : 0) | (FEjectCapable ? 1 << mpCanEject : 0) |
        (FPlayCapable ? 1 << mpCanPlay : 0) | (FRecordCapable ? 1 << mpCanRecord : 0) |
        (FVideoCapable ? 1 << mpUsesWindow : 0));
    MCI_DGV_RECT_PARMS where;
    FCommandFlags = MCI_WAIT | MCI_DGV_WHERE_SOURCE;
    FErrorCode = mciSendCommandA(FMciDevice, MCI_WHERE, FCommandFlags, &where);
}

void TMediaPlayer::Close() {
    if (FMciDevice == 0) return;
    WaitDefault();
    MCI_GENERIC_PARMS parms;
    parms.dwCallback = this;
    FErrorCode = mciSendCommandA(FMciDevice, MCI_CLOSE, FCommandFlags, &parms);
    if (FErrorCode != 0) return;
    FIsOpen = false;
    FMciDevice = 0;
    FAutoEnabledSet = 0;
    PushAutoEnabled();
}

// --- Playing -------------------------------------------------------------------------------------

void TMediaPlayer::Play() {
    CheckOpen();
    if (FAutoRewind && !FFromPositionSet && !FToPositionSet && MediaPosition() == MediaLength())
        Rewind();
    NotifyDefault();
    MCI_PLAY_PARMS parms;
    parms.dwCallback = this;
    TakeRange(parms.dwFrom, parms.dwTo);
    FErrorCode = mciSendCommandA(FMciDevice, MCI_PLAY, FCommandFlags, &parms);
}

// A one-shot From or To position goes into this command's range and is spent.
void TMediaPlayer::TakeRange(std::uint32_t& from, std::uint32_t& to) {
    if (FFromPositionSet) {
        FCommandFlags |= MCI_FROM;
        from = FFromPosition;
        FFromPositionSet = false;
    }
    if (FToPositionSet) {
        FCommandFlags |= MCI_TO;
        to = FToPosition;
        FToPositionSet = false;
    }
}

void TMediaPlayer::StartRecording() {
    CheckOpen();
    NotifyDefault();
    MCI_RECORD_PARMS parms;
    parms.dwCallback = this;
    TakeRange(parms.dwFrom, parms.dwTo);
    FErrorCode = mciSendCommandA(FMciDevice, MCI_RECORD, FCommandFlags, &parms);
}

void TMediaPlayer::Stop() {
    CheckOpen();
    WaitDefault();
    MCI_GENERIC_PARMS parms;
    parms.dwCallback = this;
    FErrorCode = mciSendCommandA(FMciDevice, MCI_STOP, FCommandFlags, &parms);
}

void TMediaPlayer::Pause() {
    CheckOpen();
    WaitDefault();
    MCI_GENERIC_PARMS parms;
    parms.dwCallback = this;
    FErrorCode = mciSendCommandA(FMciDevice, MCI_PAUSE, FCommandFlags, &parms);
}

void TMediaPlayer::Resume() {
    CheckOpen();
    FCommandFlags = 0;
    if (!(FNotifyChoiceSet && !FNotifyChoice)) FCommandFlags |= MCI_NOTIFY;
    if (FWaitChoiceSet && FWaitChoice) FCommandFlags |= MCI_WAIT;
    MCI_GENERIC_PARMS parms;
    parms.dwCallback = this;
    FErrorCode = mciSendCommandA(FMciDevice, MCI_RESUME, FCommandFlags, &parms);
    if (FErrorCode != 0) {
        // A device that cannot resume plays on from where it stands.
        Play();
        return;
    }
    FNotifyChoiceSet = false;
    FWaitChoiceSet = false;
}

void TMediaPlayer::TogglePause() {
    CheckOpen();
    const TPlayerMode mode = DeviceMode();
    if (mode == pmPlaying)
        Pause();
    else if (mode == pmPaused)
        Resume();
}

void TMediaPlayer::Rewind() {
    CheckOpen();
    FCommandFlags = MCI_WAIT | MCI_SEEK_TO_START;
    MCI_SEEK_PARMS parms;
    mciSendCommandA(FMciDevice, MCI_SEEK, FCommandFlags, &parms);
}

void TMediaPlayer::SeekTo(std::uint32_t extraFlags, std::uint32_t target) {
    MCI_SEEK_PARMS parms;
    parms.dwCallback = this;
    parms.dwTo = target;
    FCommandFlags |= extraFlags;
    FErrorCode = mciSendCommandA(FMciDevice, MCI_SEEK, FCommandFlags, &parms);
}

// On a disc during play, Next and Previous play on from the target track; the button that
// ran them then counts as Play.
void TMediaPlayer::PlayTrackAt(std::uint32_t target) {
    SetFromPosition(target);
    Play();
    FPressedButton = btPlay;
}

std::uint32_t TMediaPlayer::NextTarget() {
    const std::uint32_t track = MCI_TMSF_TRACK(MediaPosition());
    const std::uint32_t count = TrackCount();
    return track == count ? TrackStart(count) : TrackStart(track + 1);
}

std::uint32_t TMediaPlayer::PreviousTarget() {
    const std::uint32_t position = MediaPosition();
    const std::uint32_t start = TrackStart(MCI_TMSF_TRACK(MediaPosition()));
    const bool inFirstSecond = MCI_TMSF_MINUTE(position) == MCI_TMSF_MINUTE(start) &&
                               MCI_TMSF_SECOND(position) == MCI_TMSF_SECOND(start);
    if (MCI_TMSF_TRACK(position) != 1 && inFirstSecond)
        return TrackStart(MCI_TMSF_TRACK(MediaPosition()) - 1);
    return start;
}

void TMediaPlayer::Next() {
    CheckOpen();
    WaitDefault();
    const std::uint32_t flags = FCommandFlags;
    if (DeviceTimeFormat() != MCI_FORMAT_TMSF) {
        FCommandFlags = flags;
        SeekTo(MCI_SEEK_TO_END, 0);
        return;
    }
    const std::uint32_t target = NextTarget();
    if (DeviceMode() == pmPlaying) {
        PlayTrackAt(target);
        return;
    }
    FCommandFlags = flags;
    SeekTo(MCI_TO, target);
}

void TMediaPlayer::Previous() {
    CheckOpen();
    WaitDefault();
    const std::uint32_t flags = FCommandFlags;
    if (DeviceTimeFormat() != MCI_FORMAT_TMSF) {
        FCommandFlags = flags;
        SeekTo(MCI_SEEK_TO_START, 0);
        return;
    }
    const std::uint32_t target = PreviousTarget();
    if (DeviceMode() == pmPlaying) {
        PlayTrackAt(target);
        return;
    }
    FCommandFlags = flags;
    SeekTo(MCI_TO, target);
}

void TMediaPlayer::Step() {
    CheckOpen();
    if (!FVideoCapable) return;
    if (FAutoRewind && MediaPosition() == MediaLength()) Rewind();
    WaitDefault();
    FCommandFlags |= MCI_DGV_STEP_FRAMES;
    MCI_DGV_STEP_PARMS parms;
    parms.dwCallback = this;
    parms.dwFrames = std::uint32_t(FStepFrames);
    FErrorCode = mciSendCommandA(FMciDevice, MCI_STEP, FCommandFlags, &parms);
}

void TMediaPlayer::Back() {
    CheckOpen();
    if (!FVideoCapable) return;
    WaitDefault();
    FCommandFlags |= MCI_DGV_STEP_FRAMES | MCI_DGV_STEP_REVERSE;
    MCI_DGV_STEP_PARMS parms;
    parms.dwCallback = this;
    parms.dwFrames = std::uint32_t(FStepFrames);
    FErrorCode = mciSendCommandA(FMciDevice, MCI_STEP, FCommandFlags, &parms);
}

void TMediaPlayer::Eject() {
    CheckOpen();
    if (!FEjectCapable) return;
    WaitDefault();
    FCommandFlags |= MCI_SET_DOOR_OPEN;
    MCI_SET_PARMS parms;
    parms.dwCallback = this;
    FErrorCode = mciSendCommandA(FMciDevice, MCI_SET, FCommandFlags, &parms);
}

void TMediaPlayer::SetDeviceTimeFormat(std::uint32_t format) {
    // No window is named: the change needs no notice of its own.
    MCI_SET_PARMS parms;
    parms.dwTimeFormat = format;
    FCommandFlags = MCI_SET_TIME_FORMAT | MCI_NOTIFY;
    FErrorCode = mciSendCommandA(FMciDevice, MCI_SET, FCommandFlags, &parms);
}

// --- Video ---------------------------------------------------------------------------------------

void TMediaPlayer::SetDisplay(QWidget* display) {
    if (display && FMciDevice != 0 && FVideoCapable) {
        MCI_DGV_WINDOW_PARMS parms;
        parms.hWnd = display;
        FCommandFlags = MCI_WAIT | MCI_DGV_WINDOW_HWND;
        FErrorCode = mciSendCommandA(FMciDevice, MCI_WINDOW, FCommandFlags, &parms);
        FDisplay = FErrorCode == 0 ? display : nullptr;
        return;
    }
    // A QPointer forgets the display when it is destroyed; the device then keeps its own window.
    FDisplay = display;
}

std::optional<QRect> TMediaPlayer::DisplayArea() {
    if (FMciDevice == 0 || !FVideoCapable) return std::nullopt;
    MCI_DGV_RECT_PARMS parms;
    FCommandFlags = MCI_WAIT | MCI_DGV_WHERE_DESTINATION;
    FErrorCode = mciSendCommandA(FMciDevice, MCI_WHERE, FCommandFlags, &parms);
    return QRect(QPoint(parms.rcLeft, parms.rcTop), QPoint(parms.rcRight, parms.rcBottom));
}

// --- Queries -------------------------------------------------------------------------------------

std::uint32_t TMediaPlayer::StatusQuery(std::uint32_t item, bool openCheck) {
    if (openCheck) CheckOpen();
    MCI_STATUS_PARMS parms;
    parms.dwItem = item;
    FCommandFlags = MCI_WAIT | MCI_STATUS_ITEM;
    FErrorCode = mciSendCommandA(FMciDevice, MCI_STATUS, FCommandFlags, &parms);
    return parms.dwReturn;
}

std::uint32_t TMediaPlayer::MediaLength() {
    return StatusQuery(MCI_STATUS_LENGTH, true);
}
std::uint32_t TMediaPlayer::MediaPosition() {
    return StatusQuery(MCI_STATUS_POSITION, false);
}
std::uint32_t TMediaPlayer::TrackCount() {
    return StatusQuery(MCI_STATUS_NUMBER_OF_TRACKS, true);
}
std::uint32_t TMediaPlayer::DeviceTimeFormat() {
    return StatusQuery(MCI_STATUS_TIME_FORMAT, true) & 0xFF;
}

TPlayerMode TMediaPlayer::DeviceMode() {
    const std::uint32_t answer = StatusQuery(MCI_STATUS_MODE, false);
    // Without a device, or when the device cannot say, it is not ready.
    if (FErrorCode != 0) return pmNotReady;
    const std::uint8_t mode = std::uint8_t(answer - MCI_MODE_NOT_READY);
    return mode <= pmOpen ? TPlayerMode(mode) : pmNotReady;
}

std::uint32_t TMediaPlayer::TrackStart(std::uint32_t track) {
    MCI_STATUS_PARMS parms;
    parms.dwItem = MCI_STATUS_POSITION;
    parms.dwTrack = track;
    FCommandFlags = MCI_WAIT | MCI_STATUS_ITEM | MCI_TRACK;
    mciSendCommandA(FMciDevice, MCI_STATUS, FCommandFlags, &parms);
    return parms.dwReturn;
}

std::string TMediaPlayer::ErrorText() const {
    std::string text(4096, '\0');
    if (!mciGetErrorStringA(FErrorCode, text.data(), unsigned(text.size())))
        return "Unknown error code";
    text.resize(std::char_traits<char>::length(text.c_str()));
    return text;
}

// --- The buttons the device state allows
// ----------------------------------------------------------

void TMediaPlayer::AutoButtonSet(TMPBtnType button) {
    TButtonSet& set = FAutoEnabledSet;
    switch (button) {
        case btPlay:
        case btRecord:
            set = Without(Without(set, btPlay), btRecord);
            set = With(With(set, btPause), btStop);
            break;
        case btPause:
            set = With(set, btPlay, FPlayCapable);
            set = With(set, btRecord, FRecordCapable);
            break;
        default:
            set = With(set, btPlay, FPlayCapable);
            set = With(set, btRecord, FRecordCapable);
            set = Without(Without(set, btPause), btStop);
            break;
    }
}

// --- Notices -------------------------------------------------------------------------------------

bool TMediaPlayer::event(QEvent* e) {
    if (e->type() == TMciNotifyEvent::EventType()) {
        const std::uint32_t code = static_cast<TMciNotifyEvent*>(e)->wParam;
        SafeCall([&] { MciNotify(code); });
        return true;
    }
    return QWidget::event(e);
}

void TMediaPlayer::MciNotify(std::uint32_t code) {
    if (FAutoEnable && DeviceMode() == pmStopped) {
        FAutoEnabledSet = With(FAutoEnabledSet, btPlay, FPlayCapable);
        FAutoEnabledSet = With(FAutoEnabledSet, btRecord, FRecordCapable);
        FAutoEnabledSet = Without(Without(FAutoEnabledSet, btPause), btStop);
        PushAutoEnabled();
    }
    switch (code) {
        case MCI_NOTIFY_SUCCESSFUL:
            FNotifyResult = nrSuccessful;
            break;
        case MCI_NOTIFY_SUPERSEDED:
            FNotifyResult = nrSuperseded;
            break;
        case MCI_NOTIFY_ABORTED:
            FNotifyResult = nrAborted;
            break;
        case MCI_NOTIFY_FAILURE:
            FNotifyResult = nrFailure;
            break;
        default:
            break;
    }
    Fire(OnNotify, this);
    Q_EMIT StateChanged();
}

bool TMediaPlayer::BindEvent(std::string_view event, const TNotifyEvent& handler) {
    if (event != "OnNotify") return false;
    OnNotify = handler;
    return true;
}
