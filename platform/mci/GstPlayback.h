// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The media devices' side of playback: one pipeline per open source (a file, or one track of an
// audio CD), opened to paused with its length known, then played between two positions, paused
// and resumed. The end of a play and an error while playing are handed to the user-interface
// thread as TBusNotice events, counted so that a notice from before the latest play can be told
// apart. GStreamer does the work in a module of its own (platform/gstreamer), loaded with the
// first device that opens, so that starting the program does not load the media libraries.
#include <QEvent>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/mci/Mci.h"
#include "platform/mci/MciOutput.h"

// What the pipeline's bus reported, delivered to the receiver given at open.
class TBusNotice : public QEvent {
public:
    enum Kind { End, Error };
    TBusNotice(QEvent::Type type, Kind kind, std::uint64_t sequence)
        : QEvent(type), What(kind), Sequence(sequence) {}
    static QEvent::Type EventType();
    Kind What;
    std::uint64_t Sequence;  // counts up over every pipeline the playback opens, from 1
};

class TGstPlayback {
public:
    TGstPlayback() = default;
    virtual ~TGstPlayback() = default;
    TGstPlayback(const TGstPlayback&) = delete;
    TGstPlayback& operator=(const TGstPlayback&) = delete;

    // Builds the pipeline for `uri` (file:// or cdda://N with the CD drive `cdDevice`), waits
    // until it is paused on the first sound and reads the length, then lets go of the sound
    // output until the first Play. 0 or an MCIERR_ code; on failure nothing stays open.
    // Notices go to `receiver` (on the user-interface thread).
    virtual MCIERROR Open(const std::string& uri, const std::string& cdDevice,
                          QObject* receiver) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    virtual std::int64_t LengthMs() const = 0;

    // Plays from `fromMs` to `toMs` (-1: to the end). Notices from before this call are stale:
    // their sequence is at most StaleSequence().
    virtual MCIERROR Play(std::int64_t fromMs, std::int64_t toMs) = 0;
    virtual void Pause() = 0;
    virtual void Resume() = 0;
    // Ends a play or a pause and lets go of the sound output; the next Play starts afresh.
    virtual void Stop() = 0;
    // Where the sound is now, in milliseconds from the start of the source.
    virtual std::int64_t PositionMs() const = 0;
    virtual std::uint64_t StaleSequence() const = 0;
    // Blocks until a notice newer than StaleSequence() arrives; returns its kind.
    virtual TBusNotice::Kind WaitForNotice() = 0;
};

// What the GStreamer module offers, through its one entry point.
class TGstEngine {
public:
    virtual ~TGstEngine() = default;
    // Starts GStreamer; false when it cannot. Notices are posted as events of `noticeType`.
    virtual bool Start(QEvent::Type noticeType) = 0;
    // Whether GStreamer's automatic sink reaches a real audio output (asked once per run).
    virtual bool OutputAnswers() = 0;
    // A closed pipeline that sends its sound to `output`.
    virtual std::unique_ptr<TGstPlayback> MakePlayback(TMciOutput output) = 0;
};

// The module's entry point, looked up by this name.
extern "C" TGstEngine* QuilletGstEngine();

// Loads the module and starts GStreamer once; false when either fails (said once on standard
// error, with the reason).
bool EnsureGstreamer();
// A closed pipeline for the output chosen now; null when GStreamer cannot start.
std::unique_ptr<TGstPlayback> MakeGstPlayback();
