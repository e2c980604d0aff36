// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The records and codes that the note area's rich edit control exchanges with its users: stream
// formats, byte sources and sinks, event mask bits, character and paragraph format records.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace RichEdit {

// Stream formats.
constexpr unsigned SF_TEXT = 0x0001;
constexpr unsigned SF_RTF = 0x0002;
constexpr unsigned SFF_SELECTION = 0x8000;  // replace / write only the selection

// Event mask bits: which notifications the control sends.
constexpr unsigned ENM_NONE = 0x00000000;
constexpr unsigned ENM_CHANGE = 0x00000001;
constexpr unsigned ENM_REQUESTRESIZE = 0x00040000;
constexpr unsigned ENM_SELCHANGE = 0x00080000;
constexpr unsigned ENM_PROTECTED = 0x00200000;

// Character format masks and effects.
constexpr std::uint32_t CFM_BOLD = 0x00000001;
constexpr std::uint32_t CFM_ITALIC = 0x00000002;
constexpr std::uint32_t CFM_UNDERLINE = 0x00000004;
constexpr std::uint32_t CFM_STRIKEOUT = 0x00000008;
constexpr std::uint32_t CFM_PROTECTED = 0x00000010;
constexpr std::uint32_t CFM_CHARSET = 0x08000000;
constexpr std::uint32_t CFM_FACE = 0x20000000;
constexpr std::uint32_t CFM_COLOR = 0x40000000;
constexpr std::uint32_t CFM_SIZE = 0x80000000;
constexpr std::uint32_t CFM_ALL = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT |
                                  CFM_PROTECTED | CFM_CHARSET | CFM_FACE | CFM_COLOR | CFM_SIZE;

constexpr std::uint32_t CFE_BOLD = 0x00000001;
constexpr std::uint32_t CFE_ITALIC = 0x00000002;
constexpr std::uint32_t CFE_UNDERLINE = 0x00000004;
constexpr std::uint32_t CFE_STRIKEOUT = 0x00000008;
constexpr std::uint32_t CFE_PROTECTED = 0x00000010;
constexpr std::uint32_t CFE_AUTOCOLOR = 0x40000000;

// Which character format EmSetCharFormat changes.
constexpr unsigned SCF_DEFAULT = 0x0000;
constexpr unsigned SCF_SELECTION = 0x0001;

// Paragraph format mask and alignments.
constexpr std::uint32_t PFM_ALIGNMENT = 0x00000008;
constexpr std::uint16_t PFA_LEFT = 1;
constexpr std::uint16_t PFA_RIGHT = 2;
constexpr std::uint16_t PFA_CENTER = 3;
constexpr std::uint16_t PFA_JUSTIFY = 4;

// Error codes of a stream that ended early.
constexpr unsigned ERROR_NOT_ENOUGH_MEMORY = 8;  // the content did not fit in memory
constexpr unsigned ERROR_INVALID_DATA = 13;      // the bytes are not in the asked format
constexpr unsigned ERROR_WRITE_FAULT = 29;       // the sink failed or took fewer bytes than given
constexpr unsigned ERROR_READ_FAULT = 30;        // the source failed
constexpr unsigned ERROR_FILE_TOO_LARGE = 223;   // the source passed the read limit

// Where stream-in takes its bytes from: fills the front of `buffer` and answers how many bytes
// it put there; 0 ends the stream. Throwing ends the stream with ERROR_READ_FAULT.
using StreamSource = std::function<std::size_t(std::span<char> buffer)>;
// Where stream-out puts its bytes: stores `bytes` and answers how many it took; fewer than given,
// or throwing, ends the stream with ERROR_WRITE_FAULT.
using StreamSink = std::function<std::size_t(std::span<const char> bytes)>;

// How a stream went: characters taken in (stream-in) or bytes handed out (stream-out), and 0 or
// the error that ended it.
struct StreamResult {
    int Count = 0;
    unsigned Error = 0;
};

// A selection in character positions; a paragraph break counts as the two characters CR LF.
struct CharRange {
    int cpMin = 0;
    int cpMax = 0;
    bool operator==(const CharRange&) const = default;
};

// A character format: Mask names the fields that are valid (getting) or to change (setting).
struct CharFormat {
    std::uint32_t Mask = 0;
    std::uint32_t Effects = 0;
    int Height = 0;               // twentieths of a point
    std::uint32_t TextColor = 0;  // 0x00BBGGRR
    std::uint8_t CharSet = 0;
    std::string FaceName;  // at most 31 characters are kept
};

struct ParaFormat {
    std::uint32_t Mask = 0;
    std::uint16_t Alignment = PFA_LEFT;
};

}  // namespace RichEdit
