// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "platform/gstreamer/GstPipeline.h"

#include <gst/gst.h>

#include <QCoreApplication>
#include <atomic>
#include <cstring>
#include <optional>

namespace {

// Playbin's flag bits: sound only, with its own volume; no video or subtitles are decoded.
constexpr int kPlayFlagAudio = 0x2;
constexpr int kPlayFlagSoftVolume = 0x10;
// How long an open may take to reach the first sound before the device is called not ready.
constexpr GstClockTime kPrerollTimeout = 10 * GST_SECOND;

std::optional<bool> gServerAnswers;

// Whether GStreamer's automatic sink finds a real output: it falls back to a fake sink of its
// own when no audio server or sound card answers. Asked once per run.
bool AutomaticSinkIsReal() {
    if (gServerAnswers) return *gServerAnswers;
    bool real = false;
    if (GstElement* probe = gst_element_factory_make("autoaudiosink", nullptr)) {
        gst_object_ref_sink(probe);
        if (gst_element_set_state(probe, GST_STATE_READY) != GST_STATE_CHANGE_FAILURE) {
            GstIterator* it = gst_bin_iterate_sinks(GST_BIN(probe));
            GValue item = G_VALUE_INIT;
            while (gst_iterator_next(it, &item) == GST_ITERATOR_OK) {
                auto* child = GST_ELEMENT(g_value_get_object(&item));
                GstElementFactory* factory = gst_element_get_factory(child);
                if (factory && std::strcmp(GST_OBJECT_NAME(factory), "fakesink") != 0) real = true;
                g_value_reset(&item);
            }
            g_value_unset(&item);
            gst_iterator_free(it);
        }
        gst_element_set_state(probe, GST_STATE_NULL);
        gst_object_unref(probe);
    }
    gServerAnswers = real;
    return real;
}

GstElement* MakeAudioSink(TMciOutput output) {
    if (output == TMciOutput::Automatic) return gst_element_factory_make("autoaudiosink", nullptr);
    GstElement* silent = gst_element_factory_make("fakesink", nullptr);
    if (silent) g_object_set(silent, "sync", TRUE, nullptr);
    return silent;
}

// The command interface's code for an error that the pipeline reported.
MCIERROR ErrorCodeFor(const GError* error, bool missingAudioDecoder) {
    if (error->domain == GST_RESOURCE_ERROR) {
        switch (error->code) {
            case GST_RESOURCE_ERROR_NOT_FOUND:
                return MCIERR_FILE_NOT_FOUND;
            case GST_RESOURCE_ERROR_OPEN_READ:
            case GST_RESOURCE_ERROR_READ:
            case GST_RESOURCE_ERROR_OPEN_READ_WRITE:
                return MCIERR_FILE_READ;
            case GST_RESOURCE_ERROR_BUSY:
                return MCIERR_WAVE_OUTPUTSINUSE;
            case GST_RESOURCE_ERROR_OPEN_WRITE:
            case GST_RESOURCE_ERROR_WRITE:
                return MCIERR_HARDWARE;
            default:
                return MCIERR_DEVICE_NOT_READY;
        }
    }
    if (error->domain == GST_STREAM_ERROR) {
        if (error->code == GST_STREAM_ERROR_CODEC_NOT_FOUND && missingAudioDecoder)
            return MCIERR_CANNOT_LOAD_DRIVER;
        return MCIERR_INVALID_FILE;
    }
    if (error->domain == GST_CORE_ERROR && error->code == GST_CORE_ERROR_MISSING_PLUGIN)
        return missingAudioDecoder ? MCIERR_CANNOT_LOAD_DRIVER : MCIERR_INVALID_FILE;
    return MCIERR_DRIVER;
}

// A "missing-plugin" message for a decoder of sound: the file is audio, but no decoder is
// installed for it.
bool IsMissingAudioDecoder(GstMessage* message) {
    const GstStructure* s = gst_message_get_structure(message);
    if (!s || !gst_structure_has_name(s, "missing-plugin")) return false;
    GstCaps* caps = nullptr;
    if (!gst_structure_get(s, "detail", GST_TYPE_CAPS, &caps, nullptr) || !caps) return false;
    bool audio = false;
    if (gst_caps_get_size(caps) > 0)
        audio = g_str_has_prefix(gst_structure_get_name(gst_caps_get_structure(caps, 0)), "audio/");
    gst_caps_unref(caps);
    return audio;
}

struct BusState {
    explicit BusState(TGstPipeline::Link* link) { Link.store(link, std::memory_order_release); }
    // GStreamer hands the state to its streaming threads under locks of its own; the atomic
    // makes that hand-over one a thread checker sees too.
    std::atomic<TGstPipeline::Link*> Link;
    // Set and read on whichever streaming thread posts the message.
    std::atomic<bool> MissingAudioDecoder = false;
};

// Runs on GStreamer's threads: records the notice and posts it to the user-interface thread.
GstBusSyncReply OnBusMessage(GstBus*, GstMessage* message, gpointer data) {
    auto* state = static_cast<BusState*>(data);
    TGstPipeline::Link& link = *state->Link.load(std::memory_order_acquire);
    std::optional<TBusNotice::Kind> kind;
    switch (GST_MESSAGE_TYPE(message)) {
        case GST_MESSAGE_EOS:
            kind = TBusNotice::End;
            break;
        case GST_MESSAGE_ERROR: {
            GError* error = nullptr;
            gst_message_parse_error(message, &error, nullptr);
            std::lock_guard<std::mutex> hold(link.Lock);
            if (link.FirstError == 0)
                link.FirstError = ErrorCodeFor(error, state->MissingAudioDecoder);
            g_error_free(error);
            kind = TBusNotice::Error;
            break;
        }
        case GST_MESSAGE_TAG: {
            GstTagList* tags = nullptr;
            gst_message_parse_tag(message, &tags);
            guint bitrate = 0;
            if (gst_tag_list_get_uint(tags, GST_TAG_NOMINAL_BITRATE, &bitrate) ||
                gst_tag_list_get_uint(tags, GST_TAG_BITRATE, &bitrate)) {
                std::lock_guard<std::mutex> hold(link.Lock);
                if (link.Bitrate == 0) link.Bitrate = bitrate;
            }
            gst_tag_list_unref(tags);
            break;
        }
        case GST_MESSAGE_ELEMENT:
            if (IsMissingAudioDecoder(message)) state->MissingAudioDecoder = true;
            break;
        default:
            break;
    }
    if (kind) {
        std::lock_guard<std::mutex> hold(link.Lock);
        ++link.Sequence;
        link.LastKind = *kind;
        if (link.Receiver)
            QCoreApplication::postEvent(link.Receiver,
                                        new TBusNotice(link.NoticeType, *kind, link.Sequence));
        link.Changed.notify_all();
    }
    // A handler that drops a message owns it: without this every message, and the element
    // that sent it (with its pipeline), would stay alive.
    gst_message_unref(message);
    return GST_BUS_DROP;
}

// Keeps the end of the latest frame that passed (nanoseconds).
GstPadProbeReturn NoteFrameEnd(GstPad*, GstPadProbeInfo* info, gpointer data) {
    GstBuffer* buffer = GST_PAD_PROBE_INFO_BUFFER(info);
    if (buffer && GST_BUFFER_PTS_IS_VALID(buffer)) {
        GstClockTime end = GST_BUFFER_PTS(buffer);
        if (GST_BUFFER_DURATION_IS_VALID(buffer)) end += GST_BUFFER_DURATION(buffer);
        auto* last = static_cast<GstClockTime*>(data);
        if (end > *last) *last = end;
    }
    return GST_PAD_PROBE_OK;
}

void LinkFirstStream(GstElement*, GstPad* pad, gpointer data) {
    GstPad* sinkPad = gst_element_get_static_pad(GST_ELEMENT(data), "sink");
    if (!gst_pad_is_linked(sinkPad)) gst_pad_link(pad, sinkPad);
    gst_object_unref(sinkPad);
}

// How long to read through a file for its length, at most.
constexpr GstClockTime kScanTimeout = 20 * GST_SECOND;

void FreeBusState(gpointer data) {
    delete static_cast<BusState*>(data);
}

void OnSourceSetup(GstElement*, GstElement* source, gpointer data) {
    const auto* device = static_cast<const std::string*>(data);
    if (!device->empty() && g_object_class_find_property(G_OBJECT_GET_CLASS(source), "device"))
        g_object_set(source, "device", device->c_str(), nullptr);
}

// The module's one engine: starts GStreamer and makes the pipelines.
class TEngine final : public TGstEngine {
public:
    bool Start(QEvent::Type noticeType) override {
        FNoticeType = noticeType;
        return gst_init_check(nullptr, nullptr, nullptr);
    }
    bool OutputAnswers() override { return AutomaticSinkIsReal(); }
    std::unique_ptr<TGstPlayback> MakePlayback(TMciOutput output) override {
        return std::make_unique<TGstPipeline>(FNoticeType, output);
    }

private:
    QEvent::Type FNoticeType = QEvent::None;
};

}  // namespace

// The source read through its parsers only (nothing decoded, nothing played) as fast as it
// comes; the end of its last frame, in milliseconds, or 0 when no frame is found.
std::int64_t ScanLengthMs(const std::string& uri) {
    GstElement* pipeline = gst_pipeline_new(nullptr);
    GstElement* source = gst_element_make_from_uri(GST_URI_SRC, uri.c_str(), nullptr, nullptr);
    GstElement* parse = gst_element_factory_make("parsebin", nullptr);
    GstElement* sink = gst_element_factory_make("fakesink", nullptr);
    if (!source || !parse || !sink) {
        for (GstElement* e : {source, parse, sink})
            if (e) gst_object_unref(gst_object_ref_sink(e));
        gst_object_unref(pipeline);
        return 0;
    }
    g_object_set(sink, "sync", FALSE, nullptr);
    gst_bin_add_many(GST_BIN(pipeline), source, parse, sink, nullptr);
    gst_element_link(source, parse);
    g_signal_connect(parse, "pad-added", G_CALLBACK(LinkFirstStream), sink);
    GstClockTime last = 0;
    GstPad* sinkPad = gst_element_get_static_pad(sink, "sink");
    gst_pad_add_probe(sinkPad, GST_PAD_PROBE_TYPE_BUFFER, NoteFrameEnd, &last, nullptr);
    gst_object_unref(sinkPad);
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    GstBus* bus = gst_element_get_bus(pipeline);
    GstMessage* end = gst_bus_timed_pop_filtered(
        bus, kScanTimeout, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    const bool whole = end && GST_MESSAGE_TYPE(end) == GST_MESSAGE_EOS;
    if (end) gst_message_unref(end);
    gst_object_unref(bus);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    return whole ? std::int64_t(last / GST_MSECOND) : 0;
}

extern "C" TGstEngine* QuilletGstEngine() {
    static TEngine engine;
    return &engine;
}

TGstPipeline::~TGstPipeline() {
    Close();
}

MCIERROR TGstPipeline::Open(const std::string& uri, const std::string& cdDevice,
                            QObject* receiver) {
    Close();
    FPipeline = gst_element_factory_make("playbin", nullptr);
    GstElement* sink = MakeAudioSink(FOutput);
    if (!FPipeline || !sink) {
        if (sink) gst_object_unref(sink);
        if (FPipeline) gst_object_unref(FPipeline);
        FPipeline = nullptr;
        return MCIERR_CANNOT_LOAD_DRIVER;
    }
    gst_object_ref_sink(FPipeline);
    FLink = std::make_unique<Link>();
    // The device's notices count on from its previous pipeline's, so that one of those still
    // waiting in the event queue is stale for this one too.
    FLink->Sequence = FLastSequence;
    FStaleSequence = FLastSequence;
    FLink->Receiver = receiver;
    FLink->NoticeType = FNoticeType;
    FCdDevice = cdDevice;
    GstBus* bus = gst_element_get_bus(FPipeline);
    gst_bus_set_sync_handler(bus, OnBusMessage, new BusState(FLink.get()), FreeBusState);
    gst_object_unref(bus);
    g_object_set(FPipeline, "uri", uri.c_str(), "audio-sink", sink, "flags",
                 kPlayFlagAudio | kPlayFlagSoftVolume, nullptr);
    g_signal_connect(FPipeline, "source-setup", G_CALLBACK(OnSourceSetup), &FCdDevice);
    FUri = uri;
    MCIERROR result = ReachPaused();
    if (result == 0) result = ReadLength();
    if (result != 0) {
        Close();
        return result;
    }
    // Measured and found playable, the file lets go of the sound output until it plays: a
    // sound server's sink held paused starts its sound late by the time it was held.
    Release();
    return 0;
}

MCIERROR TGstPipeline::ReachPaused() {
    const GstStateChangeReturn change = gst_element_set_state(FPipeline, GST_STATE_PAUSED);
    GstStateChangeReturn reached = change;
    if (change == GST_STATE_CHANGE_ASYNC)
        reached = gst_element_get_state(FPipeline, nullptr, nullptr, kPrerollTimeout);
    {
        std::lock_guard<std::mutex> hold(FLink->Lock);
        if (FLink->FirstError != 0) return FLink->FirstError;
    }
    if (reached == GST_STATE_CHANGE_FAILURE) return MCIERR_INVALID_FILE;
    if (reached == GST_STATE_CHANGE_ASYNC) return MCIERR_DEVICE_NOT_READY;
    FReleased = false;
    return 0;
}

void TGstPipeline::Release() {
    gst_element_set_state(FPipeline, GST_STATE_NULL);
    FReleased = true;
}

MCIERROR TGstPipeline::ReadLength() {
    gint64 duration = -1;
    if (gst_element_query_duration(FPipeline, GST_FORMAT_TIME, &duration) && duration >= 0) {
        FLengthMs = duration / GST_MSECOND;
        return 0;
    }
    // A compressed file without a header that counts its frames: its length follows from its
    // size and its bit rate, as far as the rate holds throughout.
    gint64 bytes = -1;
    unsigned bitrate = 0;
    {
        std::lock_guard<std::mutex> hold(FLink->Lock);
        bitrate = FLink->Bitrate;
    }
    if (bitrate > 0 && gst_element_query_duration(FPipeline, GST_FORMAT_BYTES, &bytes) &&
        bytes > 0) {
        FLengthMs = bytes * 8 * 1000 / bitrate;
        return 0;
    }
    // Neither: the stream's frames are counted (ADTS AAC, for one); a file in which none
    // are found cannot be played.
    FLengthMs = ScanLengthMs(FUri);
    return FLengthMs > 0 ? 0 : MCIERR_INVALID_FILE;
}

void TGstPipeline::Close() {
    if (!FPipeline) return;
    {
        std::lock_guard<std::mutex> hold(FLink->Lock);
        FLink->Receiver = nullptr;
    }
    // Stopping joins GStreamer's threads, so no bus handler runs after this.
    gst_element_set_state(FPipeline, GST_STATE_NULL);
    GstBus* bus = gst_element_get_bus(FPipeline);
    gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
    gst_object_unref(bus);
    gst_object_unref(FPipeline);
    FPipeline = nullptr;
    FLastSequence = FLink->Sequence;  // no handler runs any more: read without the lock
    FLink.reset();
    FLengthMs = 0;
    FStaleSequence = FLastSequence;
    FReleased = false;
}

void TGstPipeline::ForgetNotices() {
    std::lock_guard<std::mutex> hold(FLink->Lock);
    FStaleSequence = FLink->Sequence;
    FLink->FirstError = 0;
}

MCIERROR TGstPipeline::Play(std::int64_t fromMs, std::int64_t toMs) {
    if (!FPipeline) return MCIERR_DEVICE_NOT_READY;
    // Whatever the bus said before belongs to the play this one replaces.
    ForgetNotices();
    const bool fresh = FReleased;
    if (fresh) {
        // The output is taken again now, so its sound starts with the play. A server that
        // went away meanwhile leaves the automatic sink to its fallback.
        if (const MCIERROR e = ReachPaused()) {
            Release();
            return e;
        }
    }
    // A fresh pipeline stands at the start already; a whole play from there needs no seek.
    if (!fresh || fromMs != 0 || toMs >= 0) {
        const gint64 stop = toMs < 0 ? gint64(GST_CLOCK_TIME_NONE) : toMs * GST_MSECOND;
        const bool sought =
            gst_element_seek(FPipeline, 1.0, GST_FORMAT_TIME,
                             GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                             GST_SEEK_TYPE_SET, fromMs * GST_MSECOND, GST_SEEK_TYPE_SET, stop);
        if (!sought) {
            Release();
            return MCIERR_OUTOFRANGE;
        }
        // The seek is done when the pipeline holds the sound at its new place again.
        gst_element_get_state(FPipeline, nullptr, nullptr, kPrerollTimeout);
        ForgetNotices();
    }
    if (gst_element_set_state(FPipeline, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE)
        return MCIERR_HARDWARE;
    return 0;
}

void TGstPipeline::Pause() {
    if (FPipeline && !FReleased) gst_element_set_state(FPipeline, GST_STATE_PAUSED);
}

void TGstPipeline::Stop() {
    if (FPipeline && !FReleased) Release();
}

void TGstPipeline::Resume() {
    if (FPipeline && !FReleased) gst_element_set_state(FPipeline, GST_STATE_PLAYING);
}

std::int64_t TGstPipeline::PositionMs() const {
    gint64 position = 0;
    if (!FPipeline || FReleased ||
        !gst_element_query_position(FPipeline, GST_FORMAT_TIME, &position) || position < 0)
        return 0;
    return position / GST_MSECOND;
}

TBusNotice::Kind TGstPipeline::WaitForNotice() {
    std::unique_lock<std::mutex> hold(FLink->Lock);
    FLink->Changed.wait(hold, [&] { return FLink->Sequence > FStaleSequence; });
    FStaleSequence = FLink->Sequence;
    return FLink->LastKind;
}
