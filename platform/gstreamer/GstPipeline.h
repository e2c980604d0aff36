// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// One GStreamer pipeline (playbin) behind the media devices' playback: the module's own side,
// loaded by the program with the first device that opens.
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "platform/mci/GstPlayback.h"

// The media library's own name for its element type, declared here to keep its headers out.
// NOLINTNEXTLINE(bugprone-reserved-identifier)
typedef struct _GstElement GstElement;

// The length of `uri` read through its frames, for streams that state none; 0 when none found.
std::int64_t ScanLengthMs(const std::string& uri);

class TGstPipeline final : public TGstPlayback {
public:
    // Notices are posted as events of `noticeType`; the sound goes to `output`.
    TGstPipeline(QEvent::Type noticeType, TMciOutput output)
        : FNoticeType(noticeType), FOutput(output) {}
    ~TGstPipeline() override;

    MCIERROR Open(const std::string& uri, const std::string& cdDevice, QObject* receiver) override;
    void Close() override;
    bool IsOpen() const override { return FPipeline != nullptr; }
    std::int64_t LengthMs() const override { return FLengthMs; }
    MCIERROR Play(std::int64_t fromMs, std::int64_t toMs) override;
    void Pause() override;
    void Resume() override;
    void Stop() override;
    std::int64_t PositionMs() const override;
    std::uint64_t StaleSequence() const override { return FStaleSequence; }
    TBusNotice::Kind WaitForNotice() override;

    // Shared with the bus handler, which runs on GStreamer's threads.
    struct Link {
        QObject* Receiver = nullptr;
        QEvent::Type NoticeType = QEvent::None;
        std::mutex Lock;
        std::condition_variable Changed;
        std::uint64_t Sequence = 0;
        TBusNotice::Kind LastKind = TBusNotice::End;
        MCIERROR FirstError = 0;
        unsigned Bitrate = 0;  // bits per second, from the stream's tags
    };

private:
    // To paused on the first sound, with the output taken; 0 or the error that stopped it.
    MCIERROR ReachPaused();
    // Back to the null state: the output and the source let go, the settings kept.
    void Release();
    MCIERROR ReadLength();
    void ForgetNotices();

    const QEvent::Type FNoticeType;
    const TMciOutput FOutput;
    GstElement* FPipeline = nullptr;
    std::unique_ptr<Link> FLink;
    std::int64_t FLengthMs = 0;
    std::uint64_t FStaleSequence = 0;
    bool FReleased = false;  // dropped to the null state; the next play starts it afresh
    std::string FUri;
    std::uint64_t FLastSequence = 0;  // the closed pipelines' last notice: one count per device
    std::string FCdDevice;            // read by the source-setup handler
};
