// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "platform/mci/GstPlayback.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/system/ProgramFiles.h"

namespace {

TMciOutput gOutput = std::getenv("QUILLET_AUDIO_OUTPUT") &&
                             std::strcmp(std::getenv("QUILLET_AUDIO_OUTPUT"), "silent") == 0
                         ? TMciOutput::Silent
                         : TMciOutput::Automatic;

// The GStreamer module, loaded on first need and kept for the rest of the run.
TGstEngine* Engine() {
    static TGstEngine* const engine = []() -> TGstEngine* {
        std::string why;
        void* entry = ModuleEntry(ProgramModulePath(QUILLET_GST_MODULE), "QuilletGstEngine", why);
        if (!entry) {
            std::fprintf(stderr, "quillet: the music player cannot start: %s\n", why.c_str());
            return nullptr;
        }
        return reinterpret_cast<TGstEngine* (*)()>(entry)();
    }();
    return engine;
}

}  // namespace

QEvent::Type TBusNotice::EventType() {
    static const auto type = QEvent::Type(QEvent::registerEventType());
    return type;
}

bool EnsureGstreamer() {
    static const bool started = [] {
        TGstEngine* engine = Engine();
        if (engine && engine->Start(TBusNotice::EventType())) return true;
        if (engine) std::fprintf(stderr, "quillet: the music player cannot start GStreamer\n");
        return false;
    }();
    return started;
}

std::unique_ptr<TGstPlayback> MakeGstPlayback() {
    if (!EnsureGstreamer()) return nullptr;
    const bool real = MciHasAudioOutput();
    static bool told = false;
    if (const std::string notice = MciSilentOutputNotice(gOutput, real); !notice.empty() && !told) {
        told = true;
        std::fprintf(stderr, "%s\n", notice.c_str());
    }
    return Engine()->MakePlayback(real ? TMciOutput::Automatic : TMciOutput::Silent);
}

void SetMciOutput(TMciOutput output) {
    gOutput = output;
}
TMciOutput GetMciOutput() {
    return gOutput;
}
std::string MciSilentOutputNotice(TMciOutput output, bool outputAnswers) {
    if (output != TMciOutput::Automatic || outputAnswers) return {};
    return "quillet: no sound output answers (no audio server or sound card): music plays "
           "silently";
}

bool MciHasAudioOutput() {
    return gOutput == TMciOutput::Automatic && EnsureGstreamer() && Engine()->OutputAnswers();
}
