// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The multimedia command interface: one entry point that takes a command code, a flag word and
// a parameter block, with the command codes, flags, blocks, item codes, notification codes and
// error codes of the published interface and their published values. Devices play over
// GStreamer (see MciDevice.h): "waveaudio" (.wav), "mpegvideo" (.mp3 and other compressed
// audio) and "cdaudio" (.cda track files and the tracks of an audio CD).
//
// Call it from the user-interface thread only. A command with MCI_NOTIFY posts its completion
// notice (TMciNotifyEvent, the MM_MCINOTIFY message) to the parameter block's callback object,
// always through that thread's event queue, never from a GStreamer thread.
#include <QEvent>
#include <QObject>
#include <cstdint>
#include <string>

using MCIERROR = std::uint32_t;
using MCIDEVICEID = std::uint32_t;
// Where completion notices go: a window or any object living on the user-interface thread.
using HWND = QObject*;

// --- Commands ----------------------------------------------------------------------------------
constexpr unsigned MCI_OPEN = 0x803;
constexpr unsigned MCI_CLOSE = 0x804;
constexpr unsigned MCI_PLAY = 0x806;
constexpr unsigned MCI_SEEK = 0x807;
constexpr unsigned MCI_STOP = 0x808;
constexpr unsigned MCI_PAUSE = 0x809;
constexpr unsigned MCI_GETDEVCAPS = 0x80B;
constexpr unsigned MCI_SET = 0x80D;
constexpr unsigned MCI_STEP = 0x80E;
constexpr unsigned MCI_RECORD = 0x80F;
constexpr unsigned MCI_STATUS = 0x814;
constexpr unsigned MCI_WINDOW = 0x841;
constexpr unsigned MCI_WHERE = 0x843;
constexpr unsigned MCI_RESUME = 0x855;

// --- Flags -------------------------------------------------------------------------------------
constexpr std::uint32_t MCI_NOTIFY = 0x1;
constexpr std::uint32_t MCI_WAIT = 0x2;
constexpr std::uint32_t MCI_FROM = 0x4;
constexpr std::uint32_t MCI_TO = 0x8;
constexpr std::uint32_t MCI_TRACK = 0x10;
constexpr std::uint32_t MCI_OPEN_SHAREABLE = 0x100;
constexpr std::uint32_t MCI_OPEN_ELEMENT = 0x200;
constexpr std::uint32_t MCI_OPEN_ALIAS = 0x400;
constexpr std::uint32_t MCI_OPEN_TYPE_ID = 0x1000;
constexpr std::uint32_t MCI_OPEN_TYPE = 0x2000;
constexpr std::uint32_t MCI_SEEK_TO_START = 0x100;
constexpr std::uint32_t MCI_SEEK_TO_END = 0x200;
constexpr std::uint32_t MCI_STATUS_ITEM = 0x100;
constexpr std::uint32_t MCI_GETDEVCAPS_ITEM = 0x100;
constexpr std::uint32_t MCI_SET_DOOR_OPEN = 0x100;
constexpr std::uint32_t MCI_SET_DOOR_CLOSED = 0x200;
constexpr std::uint32_t MCI_SET_TIME_FORMAT = 0x400;
constexpr std::uint32_t MCI_DGV_STEP_REVERSE = 0x10000;
constexpr std::uint32_t MCI_DGV_STEP_FRAMES = 0x20000;
constexpr std::uint32_t MCI_DGV_WINDOW_HWND = 0x10000;
constexpr std::uint32_t MCI_DGV_WHERE_SOURCE = 0x20000;
constexpr std::uint32_t MCI_DGV_WHERE_DESTINATION = 0x40000;

// --- Status items ------------------------------------------------------------------------------
constexpr std::uint32_t MCI_STATUS_LENGTH = 1;
constexpr std::uint32_t MCI_STATUS_POSITION = 2;
constexpr std::uint32_t MCI_STATUS_NUMBER_OF_TRACKS = 3;
constexpr std::uint32_t MCI_STATUS_MODE = 4;
constexpr std::uint32_t MCI_STATUS_MEDIA_PRESENT = 5;
constexpr std::uint32_t MCI_STATUS_TIME_FORMAT = 6;
constexpr std::uint32_t MCI_STATUS_READY = 7;
constexpr std::uint32_t MCI_STATUS_CURRENT_TRACK = 8;

// Modes answered by MCI_STATUS_MODE.
constexpr std::uint32_t MCI_MODE_NOT_READY = 524;
constexpr std::uint32_t MCI_MODE_STOP = 525;
constexpr std::uint32_t MCI_MODE_PLAY = 526;
constexpr std::uint32_t MCI_MODE_RECORD = 527;
constexpr std::uint32_t MCI_MODE_SEEK = 528;
constexpr std::uint32_t MCI_MODE_PAUSE = 529;
constexpr std::uint32_t MCI_MODE_OPEN = 530;

// Time formats.
constexpr std::uint32_t MCI_FORMAT_MILLISECONDS = 0;
constexpr std::uint32_t MCI_FORMAT_MSF = 2;
constexpr std::uint32_t MCI_FORMAT_TMSF = 10;

// A TMSF position: track in byte 0, minutes, seconds, frames (75 to the second) above it; an
// MSF value: minutes in byte 0, then seconds, then frames.
constexpr std::uint32_t MCI_MAKE_TMSF(std::uint32_t t, std::uint32_t m, std::uint32_t s,
                                      std::uint32_t f) {
    return (t & 0xFF) | (m & 0xFF) << 8 | (s & 0xFF) << 16 | (f & 0xFF) << 24;
}
constexpr std::uint32_t MCI_MAKE_MSF(std::uint32_t m, std::uint32_t s, std::uint32_t f) {
    return (m & 0xFF) | (s & 0xFF) << 8 | (f & 0xFF) << 16;
}
constexpr std::uint32_t MCI_TMSF_TRACK(std::uint32_t v) {
    return v & 0xFF;
}
constexpr std::uint32_t MCI_TMSF_MINUTE(std::uint32_t v) {
    return v >> 8 & 0xFF;
}
constexpr std::uint32_t MCI_TMSF_SECOND(std::uint32_t v) {
    return v >> 16 & 0xFF;
}
constexpr std::uint32_t MCI_TMSF_FRAME(std::uint32_t v) {
    return v >> 24 & 0xFF;
}

// --- Capability items --------------------------------------------------------------------------
constexpr std::uint32_t MCI_GETDEVCAPS_CAN_RECORD = 1;
constexpr std::uint32_t MCI_GETDEVCAPS_HAS_AUDIO = 2;
constexpr std::uint32_t MCI_GETDEVCAPS_HAS_VIDEO = 3;
constexpr std::uint32_t MCI_GETDEVCAPS_DEVICE_TYPE = 4;
constexpr std::uint32_t MCI_GETDEVCAPS_USES_FILES = 5;
constexpr std::uint32_t MCI_GETDEVCAPS_COMPOUND_DEVICE = 6;
constexpr std::uint32_t MCI_GETDEVCAPS_CAN_EJECT = 7;
constexpr std::uint32_t MCI_GETDEVCAPS_CAN_PLAY = 8;
constexpr std::uint32_t MCI_GETDEVCAPS_CAN_SAVE = 9;

// Device types answered by MCI_GETDEVCAPS_DEVICE_TYPE.
constexpr std::uint32_t MCI_DEVTYPE_VCR = 513;
constexpr std::uint32_t MCI_DEVTYPE_VIDEODISC = 514;
constexpr std::uint32_t MCI_DEVTYPE_OVERLAY = 515;
constexpr std::uint32_t MCI_DEVTYPE_CD_AUDIO = 516;
constexpr std::uint32_t MCI_DEVTYPE_DAT = 517;
constexpr std::uint32_t MCI_DEVTYPE_SCANNER = 518;
constexpr std::uint32_t MCI_DEVTYPE_ANIMATION = 519;
constexpr std::uint32_t MCI_DEVTYPE_DIGITAL_VIDEO = 520;
constexpr std::uint32_t MCI_DEVTYPE_OTHER = 521;
constexpr std::uint32_t MCI_DEVTYPE_WAVEFORM_AUDIO = 522;
constexpr std::uint32_t MCI_DEVTYPE_SEQUENCER = 523;

// --- Notification ------------------------------------------------------------------------------
constexpr unsigned MM_MCINOTIFY = 0x3B9;
constexpr std::uint32_t MCI_NOTIFY_SUCCESSFUL = 1;
constexpr std::uint32_t MCI_NOTIFY_SUPERSEDED = 2;
constexpr std::uint32_t MCI_NOTIFY_ABORTED = 4;
constexpr std::uint32_t MCI_NOTIFY_FAILURE = 8;

// The MM_MCINOTIFY message: wParam the notification code, lParam the device identifier.
class TMciNotifyEvent : public QEvent {
public:
    TMciNotifyEvent(std::uint32_t code, MCIDEVICEID device)
        : QEvent(EventType()), wParam(code), lParam(device) {}
    // The event type under which MM_MCINOTIFY arrives.
    static QEvent::Type EventType();
    std::uint32_t wParam;
    MCIDEVICEID lParam;
};

// --- Error codes -------------------------------------------------------------------------------
constexpr MCIERROR MCIERR_BASE = 256;
constexpr MCIERROR MCIERR_INVALID_DEVICE_ID = 257;
constexpr MCIERROR MCIERR_UNRECOGNIZED_KEYWORD = 259;
constexpr MCIERROR MCIERR_UNRECOGNIZED_COMMAND = 261;
constexpr MCIERROR MCIERR_HARDWARE = 262;
constexpr MCIERROR MCIERR_INVALID_DEVICE_NAME = 263;
constexpr MCIERROR MCIERR_OUT_OF_MEMORY = 264;
constexpr MCIERROR MCIERR_DEVICE_OPEN = 265;
constexpr MCIERROR MCIERR_CANNOT_LOAD_DRIVER = 266;
constexpr MCIERROR MCIERR_MISSING_COMMAND_STRING = 267;
constexpr MCIERROR MCIERR_PARAM_OVERFLOW = 268;
constexpr MCIERROR MCIERR_MISSING_STRING_ARGUMENT = 269;
constexpr MCIERROR MCIERR_BAD_INTEGER = 270;
constexpr MCIERROR MCIERR_PARSER_INTERNAL = 271;
constexpr MCIERROR MCIERR_DRIVER_INTERNAL = 272;
constexpr MCIERROR MCIERR_MISSING_PARAMETER = 273;
constexpr MCIERROR MCIERR_UNSUPPORTED_FUNCTION = 274;
constexpr MCIERROR MCIERR_FILE_NOT_FOUND = 275;
constexpr MCIERROR MCIERR_DEVICE_NOT_READY = 276;
constexpr MCIERROR MCIERR_INTERNAL = 277;
constexpr MCIERROR MCIERR_DRIVER = 278;
constexpr MCIERROR MCIERR_CANNOT_USE_ALL = 279;
constexpr MCIERROR MCIERR_MULTIPLE = 280;
constexpr MCIERROR MCIERR_EXTENSION_NOT_FOUND = 281;
constexpr MCIERROR MCIERR_OUTOFRANGE = 282;
constexpr MCIERROR MCIERR_FLAGS_NOT_COMPATIBLE = 283;
constexpr MCIERROR MCIERR_FILE_NOT_SAVED = 286;
constexpr MCIERROR MCIERR_DEVICE_TYPE_REQUIRED = 287;
constexpr MCIERROR MCIERR_DEVICE_LOCKED = 288;
constexpr MCIERROR MCIERR_DUPLICATE_ALIAS = 289;
constexpr MCIERROR MCIERR_BAD_CONSTANT = 290;
constexpr MCIERROR MCIERR_MUST_USE_SHAREABLE = 291;
constexpr MCIERROR MCIERR_MISSING_DEVICE_NAME = 292;
constexpr MCIERROR MCIERR_BAD_TIME_FORMAT = 293;
constexpr MCIERROR MCIERR_NO_CLOSING_QUOTE = 294;
constexpr MCIERROR MCIERR_DUPLICATE_FLAGS = 295;
constexpr MCIERROR MCIERR_INVALID_FILE = 296;
constexpr MCIERROR MCIERR_NULL_PARAMETER_BLOCK = 297;
constexpr MCIERROR MCIERR_UNNAMED_RESOURCE = 298;
constexpr MCIERROR MCIERR_NEW_REQUIRES_ALIAS = 299;
constexpr MCIERROR MCIERR_NOTIFY_ON_AUTO_OPEN = 300;
constexpr MCIERROR MCIERR_NO_ELEMENT_ALLOWED = 301;
constexpr MCIERROR MCIERR_NONAPPLICABLE_FUNCTION = 302;
constexpr MCIERROR MCIERR_ILLEGAL_FOR_AUTO_OPEN = 303;
constexpr MCIERROR MCIERR_FILENAME_REQUIRED = 304;
constexpr MCIERROR MCIERR_EXTRA_CHARACTERS = 305;
constexpr MCIERROR MCIERR_DEVICE_NOT_INSTALLED = 306;
constexpr MCIERROR MCIERR_GET_CD = 307;
constexpr MCIERROR MCIERR_SET_CD = 308;
constexpr MCIERROR MCIERR_SET_DRIVE = 309;
constexpr MCIERROR MCIERR_DEVICE_LENGTH = 310;
constexpr MCIERROR MCIERR_DEVICE_ORD_LENGTH = 311;
constexpr MCIERROR MCIERR_NO_INTEGER = 312;
constexpr MCIERROR MCIERR_WAVE_OUTPUTSINUSE = 320;
constexpr MCIERROR MCIERR_WAVE_OUTPUTSUNSUITABLE = 326;
constexpr MCIERROR MCIERR_NO_WINDOW = 346;
constexpr MCIERROR MCIERR_CREATEWINDOW = 347;
constexpr MCIERROR MCIERR_FILE_READ = 348;
constexpr MCIERROR MCIERR_FILE_WRITE = 349;

// --- Parameter blocks --------------------------------------------------------------------------
struct MCI_GENERIC_PARMS {
    HWND dwCallback = nullptr;
};

struct MCI_OPEN_PARMS {
    HWND dwCallback = nullptr;
    MCIDEVICEID wDeviceID = 0;               // out: the new device's identifier
    const char* lpstrDeviceType = nullptr;   // "waveaudio", "mpegvideo", "cdaudio" (any case)
    const char* lpstrElementName = nullptr;  // the file, as a program path (C:\x\y.mp3)
    const char* lpstrAlias = nullptr;
};

struct MCI_PLAY_PARMS {
    HWND dwCallback = nullptr;
    std::uint32_t dwFrom = 0;
    std::uint32_t dwTo = 0;
};
using MCI_RECORD_PARMS = MCI_PLAY_PARMS;

struct MCI_SEEK_PARMS {
    HWND dwCallback = nullptr;
    std::uint32_t dwTo = 0;
};

struct MCI_STATUS_PARMS {
    HWND dwCallback = nullptr;
    std::uint32_t dwReturn = 0;
    std::uint32_t dwItem = 0;
    std::uint32_t dwTrack = 0;
};

struct MCI_GETDEVCAPS_PARMS {
    HWND dwCallback = nullptr;
    std::uint32_t dwReturn = 0;
    std::uint32_t dwItem = 0;
};

struct MCI_SET_PARMS {
    HWND dwCallback = nullptr;
    std::uint32_t dwTimeFormat = 0;
    std::uint32_t dwAudio = 0;
};

struct MCI_DGV_STEP_PARMS {
    HWND dwCallback = nullptr;
    std::uint32_t dwFrames = 0;
};

struct MCI_DGV_WINDOW_PARMS {
    HWND dwCallback = nullptr;
    QObject* hWnd = nullptr;
    unsigned nCmdShow = 0;
    const char* lpstrText = nullptr;
};

struct MCI_DGV_RECT_PARMS {
    HWND dwCallback = nullptr;
    int rcLeft = 0, rcTop = 0, rcRight = 0, rcBottom = 0;
};

// --- Entry points ------------------------------------------------------------------------------
// Sends one command to a device (MCI_OPEN to device 0). `parms` points to the command's block.
// Returns 0 or an MCIERR_ code.
MCIERROR mciSendCommandA(MCIDEVICEID device, unsigned command, std::uint32_t flags, void* parms);
// Copies the text for an error code into `buffer` (always terminated, cut to fit). False, with an
// empty buffer, for a code that has no text.
bool mciGetErrorStringA(MCIERROR error, char* buffer, unsigned length);
