#pragma once
// One GStreamer pipeline that plays one source (a file, or one track of an audio CD): opened to
// paused with its length known, then played between two positions, paused and resumed. The end
// of a play and an error while playing are handed to the user-interface thread as TBusNotice
// events, counted so that a notice from before the latest play can be told apart.
#include <QEvent>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "platform/mci/Mci.h"

// The media library's own name for its element type, declared here to keep its headers out.
// NOLINTNEXTLINE(bugprone-reserved-identifier)
typedef struct _GstElement GstElement;

// What the pipeline's bus reported, delivered to the receiver given at open.
class TBusNotice : public QEvent {
public:
    enum Kind { End, Error };
    TBusNotice(Kind kind, std::uint64_t sequence)
        : QEvent(EventType()), What(kind), Sequence(sequence) {}
    static QEvent::Type EventType();
    Kind What;
    std::uint64_t Sequence;  // 1 for the pipeline's first notice, counting up
};

class TGstPlayback {
public:
    TGstPlayback() = default;
    ~TGstPlayback();
    TGstPlayback(const TGstPlayback&) = delete;
    TGstPlayback& operator=(const TGstPlayback&) = delete;

    // Builds the pipeline for `uri` (file:// or cdda://N with the CD drive `cdDevice`), waits
    // until it is paused on the first sound and reads the length. 0 or an MCIERR_ code; on
    // failure nothing stays open. Notices go to `receiver` (on the user-interface thread).
    MCIERROR Open(const std::string& uri, const std::string& cdDevice, QObject* receiver);
    void Close();
    bool IsOpen() const { return FPipeline != nullptr; }
    std::int64_t LengthMs() const { return FLengthMs; }

    // Plays from `fromMs` to `toMs` (-1: to the end). Notices from before this call are stale:
    // their sequence is at most StaleSequence().
    MCIERROR Play(std::int64_t fromMs, std::int64_t toMs);
    void Pause();
    void Resume();
    // Where the sound is now, in milliseconds from the start of the source.
    std::int64_t PositionMs() const;
    std::uint64_t StaleSequence() const { return FStaleSequence; }
    // Blocks until a notice newer than StaleSequence() arrives; returns its kind.
    TBusNotice::Kind WaitForNotice();

    // Shared with the bus handler, which runs on GStreamer's threads.
    struct Link {
        QObject* Receiver = nullptr;
        std::mutex Lock;
        std::condition_variable Changed;
        std::uint64_t Sequence = 0;
        TBusNotice::Kind LastKind = TBusNotice::End;
        MCIERROR FirstError = 0;
        unsigned Bitrate = 0;  // bits per second, from the stream's tags
    };

private:
    MCIERROR Preroll();

    GstElement* FPipeline = nullptr;
    std::unique_ptr<Link> FLink;
    std::int64_t FLengthMs = 0;
    std::uint64_t FStaleSequence = 0;
    std::string FCdDevice;  // read by the source-setup handler
};

// Starts GStreamer once; false when it cannot start.
bool EnsureGstreamer();
