// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The player's enumerations and sets, with the numbering that its properties and events carry.
#include <QObject>
#include <cstdint>
#include <functional>

// The device type asked for at open; dtAutoSelect lets the file's extension choose.
enum TMPDeviceTypes : std::uint8_t {
    dtAutoSelect,
    dtAVIVideo,
    dtCDAudio,
    dtDAT,
    dtDigitalVideo,
    dtMMMovie,
    dtOther,
    dtOverlay,
    dtScanner,
    dtSequencer,
    dtVCR,
    dtVideodisc,
    dtWaveAudio
};

// The bar's buttons, in display order.
enum TMPBtnType : std::uint8_t {
    btPlay,
    btPause,
    btStop,
    btNext,
    btPrev,
    btStep,
    btBack,
    btRecord,
    btEject
};
constexpr int kPlayerButtonCount = 9;

// A set of buttons: bit n = button kind n.
using TButtonSet = std::uint16_t;
constexpr TButtonSet ButtonBit(TMPBtnType b) {
    return TButtonSet(1u << b);
}
constexpr TButtonSet kAllButtons = 0x1FF;

// The device's mode: MCI_STATUS_MODE's answer less MCI_MODE_NOT_READY.
enum TPlayerMode : std::uint8_t {
    pmNotReady,
    pmStopped,
    pmPlaying,
    pmRecording,
    pmSeeking,
    pmPaused,
    pmOpen
};

enum TNotifyResult : std::uint8_t { nrSuccessful, nrSuperseded, nrAborted, nrFailure };

// DeviceFeatures: what the open device can do, one bit each.
enum TMPDevCaps : std::uint8_t { mpCanStep, mpCanEject, mpCanPlay, mpCanRecord, mpUsesWindow };
using TMPDevCapsSet = std::uint8_t;

// Before a button's action: the handler may clear DoDefault to run nothing.
using EMPNotify = std::function<void(QObject* Sender, TMPBtnType Button, bool& DoDefault)>;
// After a button's action.
using EMPPostNotify = std::function<void(QObject* Sender, TMPBtnType Button)>;
