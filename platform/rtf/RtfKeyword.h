#pragma once
// The control words the reader acts on, looked up by name.
#include <string_view>

namespace Rtf {

enum class RtfKeyword {
    Unknown,
    // Document
    Rtf,
    Ansi,
    AnsiCodePage,
    Mac,
    Pc,
    Pca,
    DefaultFont,
    UnicodeSkip,
    Unicode,
    // Destinations
    FontTable,
    ColourTable,
    FieldResult,
    SkippedDestination,
    TextDestination,
    // Font and colour table entries
    Font,
    FontCharset,
    FontCodePage,
    Red,
    Green,
    Blue,
    // Character formatting
    Plain,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Strike,
    FontSize,
    ForeColour,
    Hidden,
    // Paragraphs
    ParagraphDefault,
    AlignLeft,
    AlignRight,
    AlignCentre,
    AlignJustify,
    Paragraph,
    Line,
    Tab,
    Cell,
    Row,
    // Special characters
    EmDash,
    EnDash,
    EmSpace,
    EnSpace,
    QuarterEmSpace,
    Bullet,
    LeftQuote,
    RightQuote,
    LeftDoubleQuote,
    RightDoubleQuote,
    ZeroWidthJoiner,
    ZeroWidthNonJoiner,
    LeftToRightMark,
    RightToLeftMark,
};

RtfKeyword LookUpKeyword(std::string_view word);

}  // namespace Rtf
