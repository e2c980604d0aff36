// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

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
    StyleSheet,
    FieldResult,
    Field,
    FieldInstruction,
    Shape,             // a shape or text box, or a group of them
    ShapeInstruction,  // the shape's properties, which hold its text
    ShapeText,         // the text in a shape
    ShapeResult,       // what a reader that knows no shapes shows instead
    // Lists: the table of list definitions, their overrides, and the words of each
    ListTable,
    ListOverrideTable,
    List,
    ListLevel,
    LevelText,
    LevelNumbers,
    ListId,
    LevelNumberFormat,
    LevelStartAt,
    LevelFollow,
    LevelNoRestart,
    ListOverride,
    OverrideLevel,
    OverrideStartAt,
    ListNumber,       // \lsN: the paragraph's list, by its override's number
    ListLevelNumber,  // \ilvlN
    ListText,         // the label a writer wrote as text
    SkippedDestination,
    // Font and colour table entries
    Font,
    FontCharset,
    FontCodePage,
    Red,
    Green,
    Blue,
    // Style sheet entries and the words that name a style
    ParagraphStyle,
    CharacterStyle,
    OtherStyle,
    BasedOn,
    // Character formatting
    Plain,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Strike,
    FontSize,
    ForeColour,
    Highlight,
    Hidden,
    SuperScript,
    SubScript,
    NoSuperSub,
    Up,
    Down,
    // Paragraphs
    ParagraphDefault,
    AlignLeft,
    AlignRight,
    AlignCentre,
    AlignJustify,
    LeftIndent,
    RightIndent,
    FirstIndent,
    SpaceBefore,
    SpaceAfter,
    Paragraph,
    PageBreak,
    Page,             // \page: the next paragraph starts a new page
    PageBreakBefore,  // \pagebb: this paragraph starts a new page
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
