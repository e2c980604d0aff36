#pragma once
// The records and codes that the note area's rich edit control exchanges with its users: stream
// formats and callback record, event mask bits, character and paragraph format records.
#include <cstdint>
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

// Error codes the control stores in EditStream::Error when it ends a stream itself (a
// callback's own non-zero answer is stored as it is).
constexpr unsigned ERROR_NOT_ENOUGH_MEMORY = 8;  // more than the control can hold
constexpr unsigned ERROR_INVALID_DATA = 13;      // the bytes are not in the asked format
constexpr unsigned ERROR_WRITE_FAULT = 29;       // the callback took fewer bytes than given
constexpr unsigned ERROR_NOT_SUPPORTED = 50;     // no reader or writer for the format

// A stream callback: moves up to `size` bytes between `buffer` and the caller's source or
// sink, stores the number moved in `count` and answers 0, or an error code that ends the
// stream. Stream-in ends when a callback moves 0 bytes.
using EditStreamCallback = unsigned (*)(void* cookie, char* buffer, int size, int* count);

struct EditStream {
    void* Cookie = nullptr;
    unsigned Error = 0;
    EditStreamCallback Callback = nullptr;
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
