// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Where the media devices send their sound. Automatic: the desktop's audio server through
// GStreamer's automatic sink when one answers, else the silent output. Silent: an output that
// plays nothing but keeps real time, so positions advance and plays end as they would with
// sound (servers, tests, machines without sound).
#include <string>

enum class TMciOutput { Automatic, Silent };

// Applies to devices opened from now on. The environment variable QUILLET_AUDIO_OUTPUT=silent
// chooses Silent at start.
void SetMciOutput(TMciOutput output);
TMciOutput GetMciOutput();
// True when the devices opened now would play through a real audio output.
bool MciHasAudioOutput();
// The line told once on standard error when sound was asked for but no audio server or sound
// card answers, so the music plays silently; empty when there is nothing to tell.
std::string MciSilentOutputNotice(TMciOutput output, bool outputAnswers);
