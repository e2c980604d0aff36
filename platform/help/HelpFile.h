// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The help file format the help viewer reads ("Quil3.hlp"): UTF-8 text, line by line.
//
//   QUILLET HELP 1                  first line: the format and its version
//   Title: Quillet 3.2+ Help        the file's title (before the first book or topic)
//   ; a comment                     ignored anywhere
//   = Getting started               a book: the topics after it are listed under it
//   == notes-open: Opening a note   a topic: its id (a-z, 0-9, "-", "_", ".") and its title
//   K: open; load; file list        index keywords of the current topic, ";" between them
//   Any other line                  the topic's text. A blank line ends a paragraph; a line
//                                   starting with "- " is a list item; [[id]] or [[id|words]]
//                                   links to another topic.
//
// Everything is checked: an unknown version, text outside a topic, a topic id used twice, a
// link to a topic that does not exist or a file without topics is an error naming the line.
#include <string>
#include <string_view>
#include <vector>

#include "platform/system/Exception.h"

class EHelpFileError : public Exception {
public:
    using Exception::Exception;
};

struct THelpTopic {
    std::string Id;
    std::string Title;
    std::string Book;                   // the book it is listed under; empty for none
    std::vector<std::string> Keywords;  // index entries that lead here
    std::vector<std::string> Lines;     // the text lines, blank lines included
    int LineNumber = 0;                 // where its header stands in the file
};

struct THelpIndexEntry {
    std::string Keyword;
    int Topic;            // position in Topics
    bool Shared = false;  // the same keyword (ignoring letter case) leads to other topics too
};

struct THelpDocument {
    std::string Title;
    std::vector<THelpTopic> Topics;

    // The topic's position, or -1.
    int Find(std::string_view id) const;
    // Every keyword with its topic, sorted ignoring letter case (ties in file order), each
    // marked when the keyword also leads elsewhere.
    std::vector<THelpIndexEntry> Index() const;
};

// The largest help file read; anything longer is refused rather than read into memory.
constexpr std::size_t kMaxHelpFileSize = std::size_t(4) * 1024 * 1024;

// Reads a help file's bytes; raises EHelpFileError ("line N: ...") when they are malformed.
THelpDocument ParseHelpFile(std::string_view bytes);

// A topic's text as HTML: paragraphs, list items and links ("#topic-id"), all text escaped.
std::string TopicHtml(const THelpDocument& document, const THelpTopic& topic);
