// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "platform/rtf/RtfParser.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace Rtf {
namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr char16_t kLineSeparator = 0x2028;
constexpr char16_t kParagraphSeparator = 0x2029;
// Indents and spacing beyond 22 inches say nothing a note can show.
constexpr int kMaxTwips = 31680;
// A byte in a list level's text, kept apart from \uN characters until its font is known.
constexpr char16_t kLevelByte = 0xE000;

// What a style states, one bit per property.
enum StyleBit : unsigned {
    sbBold = 1u << 0,
    sbItalic = 1u << 1,
    sbUnderline = 1u << 2,
    sbStrike = 1u << 3,
    sbHidden = 1u << 4,
    sbFont = 1u << 5,
    sbSize = 1u << 6,
    sbColour = 1u << 7,
    sbHighlight = 1u << 8,
    sbScript = 1u << 9,
    sbRaise = 1u << 10,
    sbCharacter = (1u << 11) - 1,
    sbAlignment = 1u << 11,
    sbLeft = 1u << 12,
    sbRight = 1u << 13,
    sbFirst = 1u << 14,
    sbBefore = 1u << 15,
    sbAfter = 1u << 16,
    sbParagraph = ((1u << 17) - 1) & ~sbCharacter,
};

using CharState = RtfParser::CharState;
using Style = RtfParser::Style;

bool IsPrintableAscii(uint8_t b) {
    return b >= 0x20 && b < 0x7F;
}

bool Flag(const RtfToken& token) {
    return !token.hasParam || token.param != 0;
}

int Twips(const RtfToken& token, int low) {
    return std::clamp(token.param, low, kMaxTwips);
}

// Half points up or down for \upN and \dnN; without a number, three points.
int Raise(const RtfToken& token) {
    return token.hasParam ? std::clamp(token.param, 0, 3276) : 6;
}

// Applies a character or paragraph formatting word to `c` and `p` and marks in `set` what it
// states. False for any other word.
bool ApplyFormatting(RtfKeyword keyword, const RtfToken& token, CharState& c, RtfParagraphFormat& p,
                     unsigned& set) {
    using K = RtfKeyword;
    switch (keyword) {
        case K::Plain:
            c = CharState();
            set |= sbCharacter;
            return true;
        case K::Bold:
            c.Bold = Flag(token);
            set |= sbBold;
            return true;
        case K::Italic:
            c.Italic = Flag(token);
            set |= sbItalic;
            return true;
        case K::Underline:
            c.Underline = Flag(token);
            set |= sbUnderline;
            return true;
        case K::UnderlineNone:
            c.Underline = false;
            set |= sbUnderline;
            return true;
        case K::Strike:
            c.Strike = Flag(token);
            set |= sbStrike;
            return true;
        case K::Hidden:
            c.Hidden = Flag(token);
            set |= sbHidden;
            return true;
        case K::Font:
            // -1 and below name no font of the file's: the default font.
            c.Font = token.hasParam && token.param >= 0 ? token.param : -1;
            set |= sbFont;
            return true;
        case K::FontSize:
            // Half points; 1 to 1638 points is what a font can sensibly be, and no size at all
            // is the 12 points of a text that states none.
            c.HalfPoints = token.param > 0 ? std::clamp(token.param, 2, 3276) : kDefaultHalfPoints;
            set |= sbSize;
            return true;
        case K::ForeColour:
            c.Colour = token.param;
            set |= sbColour;
            return true;
        case K::Highlight:
            c.Highlight = token.param;
            set |= sbHighlight;
            return true;
        case K::SuperScript:
        case K::SubScript:
            c.Script = !Flag(token)                ? RtfScript::Normal
                       : keyword == K::SuperScript ? RtfScript::Super
                                                   : RtfScript::Sub;
            set |= sbScript;
            return true;
        case K::NoSuperSub:
            c.Script = RtfScript::Normal;
            c.Raise = 0;
            set |= sbScript | sbRaise;
            return true;
        case K::Up:
            c.Raise = Raise(token);
            set |= sbRaise;
            return true;
        case K::Down:
            c.Raise = -Raise(token);
            set |= sbRaise;
            return true;
        case K::ParagraphDefault:
            p = RtfParagraphFormat();
            set |= sbParagraph;
            return true;
        case K::PageBreakBefore:
            p.PageBreakBefore = Flag(token);
            set |= sbParagraph;
            return true;
        case K::AlignLeft:
        case K::AlignRight:
        case K::AlignCentre:
        case K::AlignJustify:
            p.Alignment = keyword == K::AlignLeft     ? Qt::AlignLeft
                          : keyword == K::AlignRight  ? Qt::AlignRight
                          : keyword == K::AlignCentre ? Qt::AlignHCenter
                                                      : Qt::AlignJustify;
            set |= sbAlignment;
            return true;
        case K::LeftIndent:
            p.LeftIndent = Twips(token, 0);
            set |= sbLeft;
            return true;
        case K::RightIndent:
            p.RightIndent = Twips(token, 0);
            set |= sbRight;
            return true;
        case K::FirstIndent:
            p.FirstIndent = Twips(token, -kMaxTwips);
            set |= sbFirst;
            return true;
        case K::SpaceBefore:
            p.SpaceBefore = Twips(token, 0);
            set |= sbBefore;
            return true;
        case K::SpaceAfter:
            p.SpaceAfter = Twips(token, 0);
            set |= sbAfter;
            return true;
        default:
            return false;
    }
}

// Copies into `c` what `f` states, of the character properties that `set` names.
void OverlayChar(const CharState& f, unsigned set, CharState& c) {
    if (set & sbBold) c.Bold = f.Bold;
    if (set & sbItalic) c.Italic = f.Italic;
    if (set & sbUnderline) c.Underline = f.Underline;
    if (set & sbStrike) c.Strike = f.Strike;
    if (set & sbHidden) c.Hidden = f.Hidden;
    if (set & sbFont) c.Font = f.Font;
    if (set & sbSize) c.HalfPoints = f.HalfPoints;
    if (set & sbColour) c.Colour = f.Colour;
    if (set & sbHighlight) c.Highlight = f.Highlight;
    if (set & sbScript) c.Script = f.Script;
    if (set & sbRaise) c.Raise = f.Raise;
}

// Copies into `c` and `p` what `from` states, of the properties that `mask` names.
void Overlay(const Style& from, unsigned mask, CharState& c, RtfParagraphFormat& p) {
    const unsigned set = from.Set & mask;
    OverlayChar(from.Char, set, c);
    const RtfParagraphFormat& g = from.Paragraph;
    if (set & sbAlignment) p.Alignment = g.Alignment;
    if (set & sbLeft) p.LeftIndent = g.LeftIndent;
    if (set & sbRight) p.RightIndent = g.RightIndent;
    if (set & sbFirst) p.FirstIndent = g.FirstIndent;
    if (set & sbBefore) p.SpaceBefore = g.SpaceBefore;
    if (set & sbAfter) p.SpaceAfter = g.SpaceAfter;
}

// A first-line indent that would start the line left of the paragraph's edge starts it there.
void KeepFirstLineInside(RtfParagraphFormat& p) {
    p.FirstIndent = std::max(p.FirstIndent, -p.LeftIndent);
}

// The character a special-character word stands for, or 0.
char16_t SpecialCharacter(RtfKeyword keyword) {
    switch (keyword) {
        case RtfKeyword::Line:
            return kLineSeparator;
        case RtfKeyword::Tab:
            return u'\t';
        case RtfKeyword::EmDash:
            return 0x2014;
        case RtfKeyword::EnDash:
            return 0x2013;
        case RtfKeyword::EmSpace:
            return 0x2003;
        case RtfKeyword::EnSpace:
            return 0x2002;
        case RtfKeyword::QuarterEmSpace:
            return 0x2005;
        case RtfKeyword::Bullet:
            return 0x2022;
        case RtfKeyword::LeftQuote:
            return 0x2018;
        case RtfKeyword::RightQuote:
            return 0x2019;
        case RtfKeyword::LeftDoubleQuote:
            return 0x201C;
        case RtfKeyword::RightDoubleQuote:
            return 0x201D;
        case RtfKeyword::ZeroWidthJoiner:
            return 0x200D;
        case RtfKeyword::ZeroWidthNonJoiner:
            return 0x200C;
        case RtfKeyword::LeftToRightMark:
            return 0x200E;
        case RtfKeyword::RightToLeftMark:
            return 0x200F;
        default:
            return 0;
    }
}

}  // namespace

RtfParser::RtfParser(std::string_view input, RtfDocumentBuilder& builder, bool rawUtf8)
    : FTokenizer(input), FBuilder(builder), FRawUtf8(rawUtf8) {
    FStack.reserve(64);
    FStack.emplace_back();  // the state outside the outermost group
}

void RtfParser::Run(const std::function<void()>& betweenSlices) {
    size_t sliceEnd = betweenSlices ? kSliceBytes : SIZE_MAX;
    while (Step(FTokenizer.Next())) {
        if (FTokenizer.Position() >= sliceEnd) [[unlikely]] {
            betweenSlices();
            sliceEnd = FTokenizer.Position() + kSliceBytes;
        }
    }
    Finish();
}

bool RtfParser::Step(const RtfToken& token) {
    using Kind = RtfToken::Kind;
    if (FSkipUntracked > 0) [[unlikely]] {
        if (token.kind == Kind::GroupOpen) ++FUntrackedDepth;
        if (token.kind == Kind::GroupClose && --FUntrackedDepth < FSkipUntracked) {
            FSkipUntracked = 0;
        }
        return token.kind != Kind::End;
    }
    if (token.kind != Kind::HexByte && token.kind != Kind::Text) FlushBytes();
    // "\*" keeps the choice open for the word after it.
    const bool star = token.kind == Kind::Symbol && token.symbol == '*';
    if (FOptionalPending && token.kind != Kind::Word && !star) {
        FOptionalPending = false;
        State().Where = Destination::Skip;
    }
    bool groupStart = FGroupStart;
    FGroupStart = false;
    if (StartsPicture(token, groupStart, std::exchange(FOptionalStart, false))) return true;
    switch (token.kind) {
        case Kind::End:
            return false;
        case Kind::GroupOpen:
            FSkipCount = 0;  // a brace ends the fallback of \uN
            FGroupOffset = FTokenizer.Position() - 1;
            OpenGroup();
            return true;
        case Kind::GroupClose:
            FSkipCount = 0;
            return CloseGroup();
        case Kind::Word:
            HandleWord(token, groupStart);
            return true;
        case Kind::Symbol:
            HandleSymbol(token.symbol, groupStart);
            return true;
        case Kind::HexByte:
            if (FSkipCount > 0) {
                --FSkipCount;
            } else if (State().Where != Destination::Skip) {
                HandleByte(token.byte);
            }
            return true;
        case Kind::Text:
            HandleText(token.text);
            return true;
        case Kind::Binary:
            if (FSkipCount > 0) --FSkipCount;  // binary data is never text
            return true;
    }
    return true;
}

void RtfParser::OpenGroup() {
    if (FStack.size() > kMaxDepth) {
        ++FUntrackedDepth;
    } else {
        FStack.push_back(FStack.back());
        // A group in a shape is one of its parts: its first word tells whether it is text.
        if (State().Where == Destination::Container) FOptionalPending = true;
        // Each group in the style sheet is one style.
        if (State().Where == Destination::StyleSheet) {
            State().Where = Destination::StyleEntry;
            FStyleEntry = Style();
            FStyleNumber = 0;  // an entry without \sN is the normal style
            FStyleEntryOpen = true;
            FStyleUsable = true;
        }
    }
    FGroupStart = true;
}

bool RtfParser::CloseGroup() {
    if (FUntrackedDepth > 0) {
        --FUntrackedDepth;
        return true;
    }
    if (State().Where == Destination::FontTable) EndFontEntry();
    EndListGroup();
    if (FAsideDepth == FStack.size()) {
        // The group's "}" has just been read: the text box's text lies before it.
        FAsideDepth = 0;
        FAsides.push_back(
            {FAsideStart, FTokenizer.Position() - 1, std::move(FAsideState), FAsideShapeText});
    }
    if (!FFields.empty() && FFields.back().Depth == FStack.size()) EndField();
    if (State().Where == Destination::StyleEntry && FStack.size() >= 2 &&
        FStack[FStack.size() - 2].Where == Destination::StyleSheet) {
        EndStyleEntry();
    }
    // The outermost group's state stays for Finish: it holds the last paragraph's format.
    if (FStack.size() <= 2) return false;
    const bool pictureEnds = FStack.size() == FPictureDepth;
    FStack.pop_back();
    FFormatDirty = true;
    // The style sheet changed in the group just closed: the text's styles say more now.
    if (State().StylesVersion != FStylesVersion && State().Where == Destination::Text) {
        LayerCharacterFormat(State());
    }
    if (pictureEnds) EndPicture(FTokenizer.Position(), 0);
    return true;
}

void RtfParser::HandleWord(const RtfToken& token, bool groupStart) {
    if (FSkipCount > 0) {
        --FSkipCount;  // a control word in a \uN fallback stands for one character
        return;
    }
    if (State().Where == Destination::Skip) return;
    RtfKeyword keyword = LookUpKeyword(token.text);
    if (FOptionalPending) {
        // The first word of an optional group, or of a shape's part, says whether it is ours.
        FOptionalPending = false;
        if (FUntrackedDepth > 0) {
            FSkipUntracked = FUntrackedDepth;
            return;
        }
        if (!OptionalDestinationAccepted(keyword)) {
            if (State().Where == Destination::StyleEntry) FStyleEntryOpen = false;
            State().Where = Destination::Skip;
            return;
        }
        groupStart = true;
    }
    if (HandleDocumentWord(keyword, token)) return;
    switch (keyword) {
        case RtfKeyword::FontTable:
        case RtfKeyword::ColourTable:
        case RtfKeyword::StyleSheet:
        case RtfKeyword::SkippedDestination:
        case RtfKeyword::FieldResult:
        case RtfKeyword::ListText:
        case RtfKeyword::ListTable:
        case RtfKeyword::ListOverrideTable:
        case RtfKeyword::List:
        case RtfKeyword::ListLevel:
        case RtfKeyword::LevelText:
        case RtfKeyword::LevelNumbers:
        case RtfKeyword::ListOverride:
        case RtfKeyword::OverrideLevel:
        case RtfKeyword::Field:
        case RtfKeyword::FieldInstruction:
        case RtfKeyword::Shape:
        case RtfKeyword::ShapeInstruction:
        case RtfKeyword::ShapeText:
        case RtfKeyword::ShapeResult:
            // A destination word opens its group; elsewhere it is noise.
            if (groupStart) HandleDestinationWord(keyword);
            return;
        default:
            break;
    }
    switch (State().Where) {
        case Destination::Text:
            HandleTextWord(keyword, token);
            break;
        case Destination::FontTable:
        case Destination::ColourTable:
            HandleTableWord(keyword, token);
            break;
        case Destination::StyleEntry:
            HandleStyleWord(keyword, token);
            break;
        case Destination::StyleSheet:
        case Destination::Skip:
        case Destination::Container:
        case Destination::FieldInstruction:
            break;
        default:
            HandleListWord(keyword, token);
            break;
    }
}

bool RtfParser::OptionalDestinationAccepted(RtfKeyword keyword) {
    switch (State().Where) {
        case Destination::StyleEntry:
            // Of the optional groups in a style sheet, only character styles are ours to read.
            return keyword == RtfKeyword::CharacterStyle;
        case Destination::Container:
            return keyword == RtfKeyword::ShapeInstruction || keyword == RtfKeyword::ShapeText ||
                   keyword == RtfKeyword::ShapeResult || keyword == RtfKeyword::Shape;
        case Destination::Text:
            return keyword == RtfKeyword::FieldInstruction || keyword == RtfKeyword::ListTable ||
                   keyword == RtfKeyword::ListOverrideTable;
        default:
            return false;
    }
}

bool RtfParser::HandleDocumentWord(RtfKeyword keyword, const RtfToken& token) {
    switch (keyword) {
        case RtfKeyword::AnsiCodePage:
            if (token.param > 0) FDocumentCodePage = token.param;
            TablesChanged();
            return true;
        case RtfKeyword::Mac:
        case RtfKeyword::Pc:
        case RtfKeyword::Pca:
            FDocumentCodePage = keyword == RtfKeyword::Mac  ? 10000
                                : keyword == RtfKeyword::Pc ? 437
                                                            : 850;
            TablesChanged();
            return true;
        case RtfKeyword::DefaultFont:
            FDefaultFont = token.param;
            TablesChanged();
            return true;
        case RtfKeyword::UnicodeSkip:
            State().UnicodeSkip = std::clamp(token.param, 0, kMaxUnicodeSkip);
            return true;
        case RtfKeyword::Unicode:
            HandleUnicode(token.param);
            return true;
        case RtfKeyword::Rtf:
        case RtfKeyword::Ansi:
            return true;
        default:
            return false;
    }
}

void RtfParser::HandleDestinationWord(RtfKeyword keyword) {
    // Beyond the depth limit a destination would change the state that the groups around it
    // share; a field's result is text like theirs.
    if (FUntrackedDepth > 0 && keyword != RtfKeyword::FieldResult && keyword != RtfKeyword::Field) {
        FSkipUntracked = FUntrackedDepth;
        return;
    }
    switch (keyword) {
        case RtfKeyword::FontTable:
            State().Where = Destination::FontTable;
            FFontEntryNumber = -1;
            FFontEntry = FontEntry();
            break;
        case RtfKeyword::ColourTable:
            State().Where = Destination::ColourTable;
            FColours.clear();
            FRed = FGreen = FBlue = -1;
            TablesChanged();
            break;
        case RtfKeyword::StyleSheet:
            State().Where = Destination::StyleSheet;
            break;
        case RtfKeyword::SkippedDestination:
            State().Where = Destination::Skip;
            break;
        case RtfKeyword::Field:
            if (State().Where == Destination::Text && FFields.size() < kMaxFieldDepth) {
                FFields.push_back({FStack.size(), {}, false});
            }
            break;
        case RtfKeyword::FieldInstruction:
            // Kept only for the innermost field, and only while it has shown nothing.
            State().Where = !FFields.empty() && FFields.back().Depth < FStack.size()
                                ? Destination::FieldInstruction
                                : Destination::Skip;
            break;
        case RtfKeyword::Shape:
            if (State().Where == Destination::Text || State().Where == Destination::Container) {
                State().Where = Destination::Container;
                FShapeHasText = false;
            }
            break;
        case RtfKeyword::ShapeInstruction:
            break;  // a part of the shape that holds others
        case RtfKeyword::ShapeText:
            FShapeHasText = true;
            StartAside(true);
            break;
        case RtfKeyword::ShapeResult:
            // What a reader without shapes shows: wanted only when the shape has no text.
            if (FShapeHasText) {
                State().Where = Destination::Skip;
            } else {
                StartAside(false);
            }
            break;
        case RtfKeyword::ListText:
            if (State().Where == Destination::Text) State().InListText = true;
            break;
        case RtfKeyword::FieldResult:
            break;  // a field's result is shown like any text
        default:
            HandleListDestination(keyword);
            break;
    }
}

void RtfParser::HandleTextWord(RtfKeyword keyword, const RtfToken& token) {
    GroupState& s = State();
    unsigned set = 0;
    switch (keyword) {
        case RtfKeyword::Plain:
        case RtfKeyword::ParagraphDefault:
        case RtfKeyword::ParagraphStyle:
        case RtfKeyword::CharacterStyle:
            HandleStyleChoice(keyword, token);
            return;
        default:
            break;
    }
    if (ApplyFormatting(keyword, token, s.Explicit, s.Paragraph, set)) {
        // What the text states sits on top of its styles: the result changes just as the
        // stated layer does.
        if (set & sbCharacter) {
            s.ExplicitSet |= set;
            OverlayChar(s.Explicit, set, s.Char);
        }
        FFormatDirty = true;
        return;
    }
    switch (keyword) {
        case RtfKeyword::Paragraph:
            EndParagraph();
            break;
        case RtfKeyword::ListNumber:
            s.List = std::max(token.param, 0);
            break;
        case RtfKeyword::ListLevelNumber:
            // Levels past the ninth are shown as the ninth.
            s.Level = std::clamp(token.param, 0, RtfListTable::kMaxLevels - 1);
            break;
        case RtfKeyword::PageBreak:
            // A page, column or section break ends the paragraph it falls in; right after a
            // paragraph mark there is nothing left to end.
            if (!FBuilder.ParagraphEmpty()) EndParagraph();
            break;
        case RtfKeyword::Page:
            // The paragraph that follows starts the new page; that is how it is kept.
            if (!FBuilder.ParagraphEmpty()) EndParagraph();
            FPageBreakNext = true;
            break;
        case RtfKeyword::Cell:
            // Cells are separated by tabs; the last cell of a row gets none.
            FlushCellTab();
            FPendingCellTab = true;
            break;
        case RtfKeyword::Row:
            FPendingCellTab = false;
            EndParagraph();
            break;
        default:
            if (char16_t c = SpecialCharacter(keyword)) EmitUnit(c);
            break;
    }
}

void RtfParser::HandleStyleWord(RtfKeyword keyword, const RtfToken& token) {
    if (ApplyFormatting(keyword, token, FStyleEntry.Char, FStyleEntry.Paragraph, FStyleEntry.Set)) {
        return;
    }
    switch (keyword) {
        case RtfKeyword::ParagraphStyle:
        case RtfKeyword::CharacterStyle:
            FStyleNumber = token.param;
            break;
        case RtfKeyword::OtherStyle:
            FStyleUsable = false;
            break;
        case RtfKeyword::BasedOn:
            FStyleEntry.BasedOn = token.param;
            break;
        default:
            break;
    }
}

void RtfParser::HandleTableWord(RtfKeyword keyword, const RtfToken& token) {
    if (State().Where == Destination::FontTable) {
        switch (keyword) {
            case RtfKeyword::Font:
                EndFontEntry();
                FFontEntryNumber = token.param;
                break;
            case RtfKeyword::FontCharset:
                FFontEntry.Charset = token.param;
                FFontEntry.CodePage = RtfCodePage::NumberForCharset(token.param);
                break;
            case RtfKeyword::FontCodePage:
                if (token.param > 0) FFontEntry.CodePage = token.param;
                break;
            default:
                break;
        }
        return;
    }
    int value = std::clamp(token.param, 0, 255);
    switch (keyword) {
        case RtfKeyword::Red:
            FRed = value;
            break;
        case RtfKeyword::Green:
            FGreen = value;
            break;
        case RtfKeyword::Blue:
            FBlue = value;
            break;
        default:
            break;
    }
}

void RtfParser::HandleSymbol(char symbol, bool groupStart) {
    if (FSkipCount > 0) {
        --FSkipCount;
        return;
    }
    switch (symbol) {
        case '*':
            // An optional destination: nothing in it is ours to show, unless it is a
            // character style in the style sheet, which its first word tells.
            if (groupStart || FOptionalPending) FOptionalPending = true;
            // A picture's "{\*\shppict" is read as text: its first word tells.
            if (groupStart) FOptionalStart = State().Where == Destination::Text;
            break;
        case '\\':
        case '{':
        case '}':
            EmitUnit(char16_t(symbol));
            break;
        case '~':
            EmitUnit(0x00A0);
            break;
        case '-':
            EmitUnit(0x00AD);
            break;
        case '_':
            EmitUnit(0x2011);
            break;
        default:
            break;  // \| \: and broken \' escapes stand for nothing here
    }
}

void RtfParser::HandleText(std::string_view text) {
    if (State().Where == Destination::Skip) return;
    if (FSkipCount > 0) {
        size_t dropped = std::min(text.size(), size_t(FSkipCount));
        FSkipCount -= int(dropped);
        text.remove_prefix(dropped);
    }
    if (State().Where != Destination::Text) {
        HandleTextInTable(text);
        return;
    }
    if (text.empty()) return;
    const RtfCodePage page = CurrentCodePage();
    // Printable ASCII goes on in whole runs, unless the font gives those bytes other
    // characters or they may be the second bytes of double-byte characters.
    const bool asciiRuns = !page.RemapsAscii() && (!page.IsMultiByte() || FRawUtf8);
    size_t i = 0;
    while (i < text.size()) {
        const size_t start = i;
        while (asciiRuns && i < text.size() && IsPrintableAscii(uint8_t(text[i]))) ++i;
        if (i > start) EmitAscii(text.substr(start, i - start));
        if (i == text.size()) break;
        const uint8_t byte = uint8_t(text[i++]);
        // Control codes typed raw into RTF are noise, but for the tab, which some word
        // processors write raw for \tab; escaped ones are kept.
        if (byte == '\t') {
            EmitUnit(u'\t');
            continue;
        }
        if (byte < 0x20 || byte == 0x7F) continue;
        if (FRawUtf8 && byte >= 0x80) {
            HandleRawUtf8(byte);
        } else {
            HandleByte(byte);
        }
    }
}

void RtfParser::HandleTextInTable(std::string_view text) {
    switch (State().Where) {
        case Destination::FontTable:
            for (char c : text) {
                if (c != ';') {
                    HandleByte(uint8_t(c));
                    continue;
                }
                FlushBytes();
                EndFontEntry();
            }
            break;
        case Destination::ColourTable:
            for (char c : text) {
                if (c == ';') EndColourEntry();
            }
            break;
        case Destination::StyleEntry:
            // The style's name is of no use here; its ";" ends the entry.
            if (text.find(';') != std::string_view::npos) EndStyleEntry();
            break;
        case Destination::FieldInstruction:
            for (char c : text) EmitToTarget(QLatin1Char(c));
            break;
        case Destination::LevelText:
        case Destination::LevelNumbers:
            for (char c : text) HandleByte(uint8_t(c));
            break;
        default:
            break;
    }
}

void RtfParser::HandleByte(uint8_t byte) {
    if (State().Where == Destination::LevelText || State().Where == Destination::LevelNumbers) {
        // Kept as bytes until the level's font tells what they stand for.
        AddLevelUnit(char16_t(kLevelByte + byte));
        return;
    }
    RtfCodePage page = CurrentCodePage();
    if (!page.IsMultiByte()) {
        FlushBytes();
        EmitUnit(page.DecodeByte(byte));
        return;
    }
    if (!FPendingBytes.empty() && FPendingCodePage != page.Number()) FlushBytes();
    FPendingCodePage = page.Number();
    FPendingBytes.push_back(char(byte));
}

void RtfParser::HandleRawUtf8(uint8_t byte) {
    if (!FPendingBytes.empty() && FPendingCodePage != RtfCodePage::kUtf8) FlushBytes();
    FPendingCodePage = RtfCodePage::kUtf8;
    FPendingBytes.push_back(char(byte));
}

void RtfParser::HandleUnicode(int value) {
    // A signed 16-bit value, negative from U+8000 on; many writers give those unsigned. Any
    // other number is not a character, and its fallback text stands instead.
    if (value < -32768 || value > 0xFFFF) return;
    if (value < 0) value += 65536;
    EmitUnit(char16_t(value));
    FSkipCount = State().UnicodeSkip;
}

void RtfParser::EmitUnit(char16_t unit) {
    if (QChar::isHighSurrogate(unit)) {
        if (FPendingHigh) EmitChecked(kReplacement);
        FPendingHigh = unit;
        return;
    }
    if (QChar::isLowSurrogate(unit)) {
        if (!FPendingHigh) {
            EmitChecked(kReplacement);
            return;
        }
        EmitToTarget(QChar(FPendingHigh));
        EmitToTarget(QChar(unit));
        FPendingHigh = 0;
        return;
    }
    if (FPendingHigh) {
        FPendingHigh = 0;
        EmitChecked(kReplacement);
    }
    EmitChecked(unit);
}

void RtfParser::EmitChecked(char16_t unit) {
    // NUL and line breaks cannot stand inside a paragraph; other control codes are kept.
    if (unit == 0 || unit == u'\n' || unit == u'\r') return;
    if (unit == kParagraphSeparator) {
        if (State().Where == Destination::Text) EndParagraph();
        return;
    }
    // The Symbol font's glyphs, whether from bytes or from \uN, as the characters they show.
    if (unit >= 0xF020 && unit <= 0xF0FF && State().Where == Destination::Text && SymbolGlyphs()) {
        unit = RtfCodePage::SymbolFontCharacter(unit);
    }
    // The document's own markers for frames and objects must not come from the file.
    if (unit == 0xFDD0 || unit == 0xFDD1 || unit == 0xFFFC || unit >= 0xFFFE) unit = kReplacement;
    EmitToTarget(QChar(unit));
}

void RtfParser::EmitToTarget(QChar c) {
    switch (State().Where) {
        case Destination::Text:
            if (State().Char.Hidden) {
                FBuilder.AppendHidden(c);
                return;
            }
            if (FLabelDue && !BeginListParagraph(!c.isSpace())) return;
            FlushCellTab();
            SyncFormat();
            MarkResult();
            FBuilder.Append(c);
            break;
        case Destination::FontTable:
            if (FFontEntry.Name.size() < kMaxFontNameLength) FFontEntry.Name.append(c);
            break;
        case Destination::LevelText:
            AddLevelUnit(c.unicode());
            break;
        case Destination::FieldInstruction:
            if (!FFields.empty() && FFields.back().Instruction.size() < kMaxFieldInstruction) {
                FFields.back().Instruction.push_back(c.unicode() < 0x80 ? char(c.unicode()) : '?');
            }
            break;
        default:
            break;
    }
}

void RtfParser::EmitAscii(std::string_view text) {
    FlushBytes();
    if (FPendingHigh) {
        FPendingHigh = 0;
        EmitChecked(kReplacement);
    }
    if (State().Char.Hidden) {
        for (char c : text) FBuilder.AppendHidden(QLatin1Char(c));
        return;
    }
    if (FLabelDue) {
        if (State().InListText && !FLabelGiven) {
            // Spaces before a written label are no part of it.
            const size_t first = text.find_first_not_of(' ');
            if (first == std::string_view::npos) return;
            text.remove_prefix(first);
        }
        BeginListParagraph(true);
    }
    FlushCellTab();
    SyncFormat();
    MarkResult();
    FBuilder.Append(QLatin1StringView(text.data(), qsizetype(text.size())));
}

void RtfParser::FlushCellTab() {
    if (!FPendingCellTab) return;
    FPendingCellTab = false;
    SyncFormat();
    FBuilder.Append(QChar(u'\t'));
}

void RtfParser::EndParagraph() {
    // A fallback for a picture holds little but paragraph marks.
    if (FReplayingResult && FBuilder.ParagraphEmpty()) return;
    if (FLabelDue) BeginListParagraph(false);  // an empty list paragraph shows its label alone
    if (FPendingHigh) {
        FPendingHigh = 0;
        EmitChecked(kReplacement);
    }
    FPendingCellTab = false;
    SyncFormat();
    RtfParagraphFormat format = State().Paragraph;
    KeepFirstLineInside(format);
    format.PageBreakBefore |= std::exchange(FPageBreakNext, false);
    FBuilder.EndParagraph(format);
    FLabelDue = true;
    FLabelGiven = false;
    if (!FAsides.empty() && !FReplaying) ReplayAsides();
}

void RtfParser::FlushBytes() {
    if (FPendingBytes.empty()) return;
    QString text = RtfCodePage::ForNumber(FPendingCodePage).DecodeBytes(FPendingBytes);
    FPendingBytes.clear();
    for (QChar c : text) EmitUnit(c.unicode());
}

std::optional<QRgb> RtfParser::TableColour(int index) const {
    if (index <= 0 || size_t(index) >= FColours.size()) return std::nullopt;
    return FColours[size_t(index)];
}

void RtfParser::SyncFormat() {
    if (!FFormatDirty) return;
    FFormatDirty = false;
    FormatKey key{State().Char, FTablesVersion};
    key.Char.Font = CurrentFont();
    key.Char.Hidden = false;  // hidden text never reaches the runs
    if (FSyncedFormat == key) return;
    FSyncedFormat = key;
    const CharState& s = key.Char;
    RtfRunFormat format;
    format.Bold = s.Bold;
    format.Italic = s.Italic;
    format.Underline = s.Underline;
    format.Strike = s.Strike;
    auto font = FFonts.find(s.Font);
    if (font != FFonts.end() && !font->second.SymbolGlyphs) {
        format.Family = font->second.Name;
    } else if (font != FFonts.end()) {
        // A Symbol font's bytes are read as the characters its glyphs show, which the font
        // that answers to "Symbol" here may not draw: they take the document's font instead.
        auto base = FFonts.find(FDefaultFont);
        if (base != FFonts.end() && !base->second.SymbolGlyphs) format.Family = base->second.Name;
    }
    format.HalfPoints = s.HalfPoints;
    if (std::optional<QRgb> colour = TableColour(s.Colour)) {
        format.HasColour = true;
        format.Colour = *colour;
    }
    if (std::optional<QRgb> highlight = TableColour(s.Highlight)) {
        format.HasHighlight = true;
        format.Highlight = *highlight;
    }
    format.Script = s.Script;
    format.Raise = s.Raise;
    FBuilder.SetFormat(format);
}

void RtfParser::EndFontEntry() {
    if (FFontEntryNumber >= 0) {
        FFontEntry.Name = FFontEntry.Name.trimmed();
        FFontEntry.SymbolGlyphs = FFontEntry.CodePage == RtfCodePage::kSymbol &&
                                  FFontEntry.Name.compare(u"Symbol", Qt::CaseInsensitive) == 0;
        FFonts[FFontEntryNumber] = FFontEntry;
        TablesChanged();
    }
    FFontEntryNumber = -1;
    FFontEntry = FontEntry();
}

void RtfParser::EndColourEntry() {
    if (FRed < 0 && FGreen < 0 && FBlue < 0) {
        FColours.emplace_back();  // an empty entry: the automatic colour
    } else {
        FColours.emplace_back(qRgb(std::max(FRed, 0), std::max(FGreen, 0), std::max(FBlue, 0)));
    }
    FRed = FGreen = FBlue = -1;
    TablesChanged();
}

void RtfParser::EndStyleEntry() {
    if (!FStyleEntryOpen) return;
    FStyleEntryOpen = false;
    if (!FStyleUsable) return;
    FStyles[FStyleNumber] = FStyleEntry;
    FResolved.clear();
    ++FStylesVersion;
}

// The style with what the styles it is based on state beneath its own formatting.
const RtfParser::Style* RtfParser::ResolvedStyle(int number) {
    if (auto done = FResolved.find(number); done != FResolved.end()) return &done->second;
    std::vector<const Style*> chain;
    for (int n = number; n >= 0 && int(chain.size()) < kMaxStyleDepth;) {
        auto it = FStyles.find(n);
        if (it == FStyles.end()) break;
        const Style* style = &it->second;
        if (std::find(chain.begin(), chain.end(), style) != chain.end()) break;  // a loop
        chain.push_back(style);
        n = style->BasedOn;
    }
    if (chain.empty()) return nullptr;
    Style resolved;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        Overlay(**it, ~0u, resolved.Char, resolved.Paragraph);
        resolved.Set |= (*it)->Set;
    }
    return &FResolved.emplace(number, resolved).first->second;
}

// \plain drops what the text stated, back to its styles; \pard returns the paragraph to the
// normal style (0); \sN and \csN choose the styles beneath. A style the sheet does not hold
// changes nothing.
void RtfParser::HandleStyleChoice(RtfKeyword keyword, const RtfToken& token) {
    GroupState& s = State();
    switch (keyword) {
        case RtfKeyword::Plain:
            s.Explicit = CharState();
            s.ExplicitSet = 0;
            s.CharacterStyle = -1;
            break;
        case RtfKeyword::ParagraphDefault:
            s.ParagraphStyle = 0;
            s.Paragraph = RtfParagraphFormat();
            s.List = 0;
            s.Level = 0;
            if (const Style* normal = ResolvedStyle(0)) {
                CharState unused;
                Overlay(*normal, sbParagraph, unused, s.Paragraph);
            }
            break;
        case RtfKeyword::ParagraphStyle: {
            const Style* style = ResolvedStyle(token.param);
            if (!style) return;
            s.ParagraphStyle = token.param;
            s.Paragraph = RtfParagraphFormat();
            CharState unused;
            Overlay(*style, sbParagraph, unused, s.Paragraph);
            break;
        }
        case RtfKeyword::CharacterStyle:
            if (!ResolvedStyle(token.param)) return;
            s.CharacterStyle = token.param;
            break;
        default:
            return;
    }
    LayerCharacterFormat(s);
}

void RtfParser::LayerCharacterFormat(GroupState& state) {
    CharState c;
    RtfParagraphFormat ignored;
    if (const Style* style = ResolvedStyle(state.ParagraphStyle)) {
        Overlay(*style, sbCharacter, c, ignored);
    }
    if (state.CharacterStyle >= 0) {
        if (const Style* style = ResolvedStyle(state.CharacterStyle)) {
            Overlay(*style, sbCharacter, c, ignored);
        }
    }
    OverlayChar(state.Explicit, state.ExplicitSet, c);
    state.Char = c;
    state.StylesVersion = FStylesVersion;
    FFormatDirty = true;
}

RtfCodePage RtfParser::CurrentCodePage() {
    if (State().Where == Destination::FontTable) {
        int number = FFontEntry.CodePage;
        // A Symbol font's own name is written in the document's letters.
        if (number == RtfCodePage::kSymbol) number = 0;
        return RtfCodePage::ForNumber(number != 0 ? number : FDocumentCodePage);
    }
    int font = CurrentFont();
    if (!FCodePage || FCodePageFont != font || FCodePageVersion != FTablesVersion) {
        auto entry = FFonts.find(font);
        int number = entry != FFonts.end() ? entry->second.CodePage : 0;
        FCodePage = RtfCodePage::ForNumber(number != 0 ? number : FDocumentCodePage);
        FCodePageSymbolGlyphs = entry != FFonts.end() && entry->second.SymbolGlyphs;
        FCodePageFont = font;
        FCodePageVersion = FTablesVersion;
    }
    return *FCodePage;
}

bool RtfParser::SymbolGlyphs() {
    CurrentCodePage();
    return FCodePageSymbolGlyphs;
}

// Pictures are read as a whole when their group closes (RtfPicture); here the parser only
// finds where each \pict group begins and ends. Of "{\*\shppict{\pict ...}}{\nonshppict ...}"
// the first is read and the second, a copy for older readers, skipped like any unknown group.
bool RtfParser::StartsPicture(const RtfToken& token, bool groupStart, bool optionalStart) {
    if (token.kind != RtfToken::Kind::Word || FUntrackedDepth > 0 || FStack.size() < 3)
        return false;
    if (optionalStart && token.text == "shppict") {
        FOptionalPending = false;
        State().Where = Destination::Text;
        return true;
    }
    if (!groupStart || token.text != "pict" || FSkipCount > 0 || FPictureDepth != 0 ||
        State().Where != Destination::Text) {
        return false;
    }
    FPictureStart = FGroupOffset;
    FPictureDepth = FStack.size();
    State().Where = Destination::Skip;  // its data is no text; the whole group is read at its end
    return true;
}

// `unclosed`: groups the input left open, closed here so that the kept group is whole.
void RtfParser::EndPicture(size_t end, int unclosed) {
    const std::string_view input = FTokenizer.Input();
    end = std::min(end, input.size());
    QByteArray group(input.data() + FPictureStart, qsizetype(end - FPictureStart));
    if (unclosed > 0) RepairCutPicture(group);
    group.append(qsizetype(unclosed), '}');
    FPictureDepth = 0;
    SyncFormat();
    FBuilder.AppendPicture(group);
}

// A group the end of the file cut off must read back as the same group once its braces are
// added: binary data cut short counts only the bytes there are, and a lone backslash at the end
// would otherwise escape the first added brace.
void RtfParser::RepairCutPicture(QByteArray& group) const {
    const size_t word = FTokenizer.CutBinaryWord();
    if (word != std::string_view::npos && word >= FPictureStart) {
        const size_t data = FTokenizer.CutBinaryData();
        const QByteArray bytes = group.sliced(qsizetype(data - FPictureStart));
        group.truncate(qsizetype(word - FPictureStart));
        group += "\\bin" + QByteArray::number(bytes.size()) + ' ' + bytes;
        return;
    }
    qsizetype backslashes = 0;
    while (backslashes < group.size() && group[group.size() - 1 - backslashes] == '\\')
        ++backslashes;
    if (backslashes % 2 == 1) group.chop(1);
}

void RtfParser::Finish() {
    FlushBytes();
    // A file cut off inside a picture keeps the picture as far as it goes.
    if (FPictureDepth != 0) {
        const int unclosed = int(FStack.size() - FPictureDepth + FUntrackedDepth) + 1;
        FStack.resize(FPictureDepth - 1);
        FUntrackedDepth = 0;
        FFormatDirty = true;
        EndPicture(FTokenizer.Position(), unclosed);
    }
    if (FPendingHigh) {
        FPendingHigh = 0;
        EmitChecked(kReplacement);
    }
    // Text boxes anchored in the last paragraph follow it.
    if (!FAsides.empty()) {
        if (FBuilder.ParagraphEmpty()) {
            ReplayAsides();
        } else {
            EndParagraph();
        }
    }
    RtfParagraphFormat format = State().Paragraph;
    KeepFirstLineInside(format);
    format.PageBreakBefore |= std::exchange(FPageBreakNext, false);
    FBuilder.Finish(format);
}

}  // namespace Rtf

namespace Rtf {
namespace {

// The words of a field instruction; a quoted word may hold spaces.
std::vector<std::string_view> InstructionWords(std::string_view text) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
        if (i == text.size()) break;
        size_t start = i;
        if (text[i] == '"') {
            size_t close = text.find('"', i + 1);
            if (close == std::string_view::npos) close = text.size();
            words.push_back(text.substr(start + 1, close - start - 1));
            i = close + 1;
            continue;
        }
        while (i < text.size() && text[i] != ' ' && text[i] != '\t') ++i;
        words.push_back(text.substr(start, i - start));
    }
    return words;
}

// A field's character number: decimal, or hexadecimal after "0x"; -1 when it is none.
long SymbolNumber(std::string_view word) {
    int base = 10;
    if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
        base = 16;
        word.remove_prefix(2);
    }
    if (word.empty() || word.size() > 8) return -1;
    long value = 0;
    for (char c : word) {
        int digit = c >= '0' && c <= '9'                 ? c - '0'
                    : base == 16 && c >= 'a' && c <= 'f' ? c - 'a' + 10
                    : base == 16 && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                         : -1;
        if (digit < 0) return -1;
        value = value * base + digit;
    }
    return value;
}

bool NamesSymbolGlyphs(const QString& name) {
    for (const char* font : {"Symbol", "Wingdings", "Wingdings 2", "Wingdings 3", "Webdings"}) {
        if (name.compare(QLatin1String(font), Qt::CaseInsensitive) == 0) return true;
    }
    return false;
}

}  // namespace

void RtfParser::EndField() {
    FieldState field = std::move(FFields.back());
    FFields.pop_back();
    if (!field.HasResult) ShowSymbolField(field.Instruction);
    // What a field shows is what its enclosing field shows too.
    if (field.HasResult && !FFields.empty()) FFields.back().HasResult = true;
}

// A symbol field (SYMBOL number, \f "font", \s points, \u for a Unicode number) whose result
// is missing shows its character, in its font and size.
void RtfParser::ShowSymbolField(std::string_view instruction) {
    const std::vector<std::string_view> words = InstructionWords(instruction);
    if (words.size() < 2 || QByteArrayView(words[0].data(), qsizetype(words[0].size()))
                                    .compare("SYMBOL", Qt::CaseInsensitive) != 0) {
        return;
    }
    const long number = SymbolNumber(words[1]);
    if (number <= 0 || number > 0xFFFF || State().Where != Destination::Text) return;
    const CharState saved = State().Char;
    bool unicode = false;
    for (size_t i = 2; i < words.size(); ++i) {
        const std::string_view w = words[i];
        const bool hasValue = i + 1 < words.size();
        if ((w == "\\f" || w == "\\F") && hasValue) {
            State().Char.Font = FontNamed(QString::fromLatin1(words[++i]).trimmed());
        } else if ((w == "\\s" || w == "\\S") && hasValue) {
            const long points = SymbolNumber(words[++i]);
            if (points > 0) State().Char.HalfPoints = int(std::clamp(points * 2, 2L, 3276L));
        } else if (w == "\\u" || w == "\\U") {
            unicode = true;
        }
    }
    FFormatDirty = true;
    if (unicode || number > 0xFF) {
        EmitUnit(char16_t(number));
    } else {
        HandleByte(uint8_t(number));
        FlushBytes();
    }
    State().Char = saved;
    FFormatDirty = true;
}

// The font table's font of this name, or one made for it: a field may name any font.
int RtfParser::FontNamed(const QString& name) {
    if (name.isEmpty()) return State().Char.Font;
    for (const auto& [number, font] : FFonts) {
        if (font.Name.compare(name, Qt::CaseInsensitive) == 0) return number;
    }
    if (FNextFieldFont < -1000) return State().Char.Font;  // enough made-up fonts
    FontEntry entry;
    entry.Name = name.left(kMaxFontNameLength);
    if (NamesSymbolGlyphs(entry.Name)) entry.CodePage = RtfCodePage::kSymbol;
    entry.SymbolGlyphs = entry.Name.compare(u"Symbol", Qt::CaseInsensitive) == 0;
    FFonts[FNextFieldFont] = entry;
    TablesChanged();
    return FNextFieldFont--;
}

// The text of a text box is passed over where it stands and read again after its anchor
// paragraph; inside a text box that is being read again, a text box is shown where it stands.
void RtfParser::StartAside(bool shapeText) {
    if (FReplaying || FAsides.size() >= kMaxPendingAsides || FAsideDepth != 0) {
        State().Where = Destination::Text;
        return;
    }
    FAsideDepth = FStack.size();
    FAsideStart = FTokenizer.Position();
    FAsideShapeText = shapeText;
    FAsideState = State();
    FAsideState.Where = Destination::Text;
    FAsideState.List = 0;
    FAsideState.InListText = false;
    State().Where = Destination::Skip;
}

void RtfParser::ReplayAsides() {
    std::vector<Aside> asides = std::move(FAsides);
    FAsides.clear();
    const RtfTokenizer main = FTokenizer;
    const size_t depth = FStack.size(), untracked = FUntrackedDepth;
    const int skip = FSkipCount;
    const bool cellTab = FPendingCellTab;
    FPendingCellTab = false;
    FReplaying = true;
    for (Aside& aside : asides) {
        FTokenizer = RtfTokenizer(main.Input().substr(aside.Start, aside.End - aside.Start));
        FStack.push_back(std::move(aside.State));
        FUntrackedDepth = 0;
        FSkipCount = 0;
        FGroupStart = false;
        FOptionalPending = false;
        FFormatDirty = true;
        FReplayingResult = !aside.ShapeText;
        while (Step(FTokenizer.Next())) {
        }
        FlushBytes();
        // Its last paragraph ends with it, so that the anchor's text goes on in a paragraph of
        // its own.
        if (!FBuilder.ParagraphEmpty()) EndParagraph();
        FStack.resize(depth);
        while (!FFields.empty() && FFields.back().Depth > depth) FFields.pop_back();
    }
    FReplaying = false;
    FReplayingResult = false;
    FTokenizer = main;
    FUntrackedDepth = untracked;
    FSkipCount = skip;
    FPendingCellTab = cellTab;
    FGroupStart = false;
    FOptionalPending = false;
    FFormatDirty = true;
}

}  // namespace Rtf

namespace Rtf {
namespace {

// What the bullets that the Wingdings fonts draw most in lists look like.
char16_t WingdingsBullet(char16_t glyph) {
    switch (glyph) {
        case 0xF06C:
            return 0x25CF;  // ●
        case 0xF06E:
            return 0x25A0;  // ■
        case 0xF071:
            return 0x2751;  // ❑
        case 0xF076:
            return 0x2756;  // ❖
        case 0xF0A7:
            return 0x25AA;  // ▪
        case 0xF0D8:
            return 0x27A2;  // ➢
        case 0xF0FC:
            return 0x2713;  // ✓
        default:
            return glyph;
    }
}

}  // namespace

// Each group of the list tables is what its first word names, where that word may stand;
// anywhere else it is passed over.
void RtfParser::HandleListDestination(RtfKeyword keyword) {
    GroupState& s = State();
    const Destination where = s.Where;
    Destination next = Destination::Skip;
    switch (keyword) {
        case RtfKeyword::ListTable:
            if (where == Destination::Text) next = Destination::ListTable;
            break;
        case RtfKeyword::ListOverrideTable:
            if (where == Destination::Text) next = Destination::OverrideTable;
            break;
        case RtfKeyword::List:
            if (where != Destination::ListTable) break;
            next = Destination::ListEntry;
            FListLevels.clear();
            FListId = 0;
            break;
        case RtfKeyword::ListLevel:
            if (where == Destination::ListEntry) {
                next = Destination::ListLevelEntry;
                FLevel = RtfListLevel();
            } else if (where == Destination::OverrideLevel) {
                next = where;  // a level stated again in an override: its start is what counts
            }
            break;
        case RtfKeyword::LevelText:
        case RtfKeyword::LevelNumbers:
            if (where != Destination::ListLevelEntry) break;
            if (keyword == RtfKeyword::LevelText) {
                next = Destination::LevelText;
                FLevel.HasText = true;
                FLevel.Text.clear();
            } else {
                next = Destination::LevelNumbers;
                FLevel.HasNumbers = true;
                FLevel.Numbers.clear();
            }
            break;
        case RtfKeyword::ListOverride:
            if (where != Destination::OverrideTable) break;
            next = Destination::OverrideEntry;
            FOverrideNumber = 0;
            FOverrideListId = 0;
            FOverrideStart.fill(-1);
            FOverrideLevelIndex = -1;
            break;
        case RtfKeyword::OverrideLevel:
            if (where != Destination::OverrideEntry) break;
            next = Destination::OverrideLevel;
            ++FOverrideLevelIndex;
            FOverrideLevelStarts = false;
            FOverrideLevelValue = 1;
            break;
        default:
            return;
    }
    s.Where = next;
}

void RtfParser::HandleListWord(RtfKeyword keyword, const RtfToken& token) {
    const int value = std::clamp(token.param, 0, RtfListTable::kMaxCount);
    switch (State().Where) {
        case Destination::ListEntry:
            if (keyword == RtfKeyword::ListId) FListId = token.param;
            break;
        case Destination::ListLevelEntry:
            switch (keyword) {
                case RtfKeyword::LevelNumberFormat:
                    FLevel.Format = value;
                    break;
                case RtfKeyword::LevelStartAt:
                    FLevel.StartAt = value;
                    break;
                case RtfKeyword::LevelFollow:
                    FLevel.Follow = value;
                    break;
                case RtfKeyword::LevelNoRestart:
                    FLevel.NoRestart = Flag(token);
                    break;
                case RtfKeyword::Font:
                    FLevel.Font = token.hasParam && token.param >= 0 ? token.param : -1;
                    break;
                default:
                    break;
            }
            break;
        case Destination::OverrideEntry:
            if (keyword == RtfKeyword::ListId) FOverrideListId = token.param;
            if (keyword == RtfKeyword::ListNumber) FOverrideNumber = token.param;
            break;
        case Destination::OverrideLevel:
            if (keyword == RtfKeyword::OverrideStartAt) FOverrideLevelStarts = true;
            if (keyword == RtfKeyword::LevelStartAt) FOverrideLevelValue = value;
            break;
        default:
            break;
    }
}

// Called for every "}" before its group's state goes: a list level, list or override whose
// group closes is complete.
void RtfParser::EndListGroup() {
    const Destination where = State().Where, parent = ParentWhere();
    if (where == Destination::ListLevelEntry && parent == Destination::ListEntry) {
        if (FListLevels.size() < size_t(RtfListTable::kMaxLevels)) {
            FListLevels.push_back(MappedLevel(std::move(FLevel)));
        }
    } else if (where == Destination::ListEntry && parent == Destination::ListTable) {
        FListTable.AddList(FListId, std::move(FListLevels));
        FListLevels.clear();
    } else if (where == Destination::OverrideLevel && parent == Destination::OverrideEntry) {
        if (FOverrideLevelStarts && FOverrideLevelIndex >= 0 &&
            FOverrideLevelIndex < RtfListTable::kMaxLevels) {
            FOverrideStart[size_t(FOverrideLevelIndex)] = FOverrideLevelValue;
        }
    } else if (where == Destination::OverrideEntry && parent == Destination::OverrideTable) {
        FListTable.AddOverride(FOverrideNumber, FOverrideListId, FOverrideStart);
    }
}

void RtfParser::AddLevelUnit(char16_t unit) {
    if (State().Where == Destination::LevelText) {
        if (FLevel.Text.size() < RtfListTable::kMaxLevelText) FLevel.Text.push_back(unit);
    } else if (FLevel.Numbers.size() < RtfListTable::kMaxLevelText && unit >= kLevelByte) {
        FLevel.Numbers.push_back(char(unit - kLevelByte));
    }
}

// The level's text as characters, now that its font is known: bytes in the font's code page,
// a Symbol font's glyphs as what they show. The length and the number places stay as they are.
RtfListLevel RtfParser::MappedLevel(RtfListLevel level) {
    auto font = FFonts.find(level.Font != -1 ? level.Font : FDefaultFont);
    const bool known = font != FFonts.end();
    const int number =
        known && font->second.CodePage != 0 ? font->second.CodePage : FDocumentCodePage;
    const RtfCodePage page = RtfCodePage::ForNumber(number);
    const bool symbolGlyphs = known && font->second.SymbolGlyphs;
    const bool wingdings = known && font->second.Name.startsWith(u"Wingdings", Qt::CaseInsensitive);
    for (char16_t& unit : level.Text) {
        if (unit >= kLevelByte && unit < kLevelByte + 0x100) {
            const uint8_t byte = uint8_t(unit - kLevelByte);
            unit = byte < 0x20 || page.IsMultiByte() ? char16_t(byte) : page.DecodeByte(byte);
        }
        if (symbolGlyphs) unit = RtfCodePage::SymbolFontCharacter(unit);
        if (wingdings) unit = WingdingsBullet(unit);
    }
    // A symbol font's bullet is now a character any font shows; the label keeps its font
    // only where that font draws letters.
    if (known && page.Number() == RtfCodePage::kSymbol) level.Font = -1;
    return level;
}

// The first thing in a paragraph: a paragraph in a list shows its label, unless the writer
// wrote the label as text already (\listtext), which still counts the paragraph. A written
// label of nothing but spaces, as one word processor writes them, is no label, and its spaces
// are dropped (false: drop the character).
bool RtfParser::BeginListParagraph(bool visible) {
    if (State().InListText) {
        if (!FLabelGiven && !visible) return false;
        FLabelGiven = true;
        return true;
    }
    FLabelDue = false;
    const bool given = std::exchange(FLabelGiven, false);
    if (State().List <= 0) return true;
    const std::optional<RtfListTable::Label> label = FListTable.Next(State().List, State().Level);
    if (!label || given || label->Text.isEmpty()) return true;
    const CharState saved = State().Char;
    if (label->Font != -1) State().Char.Font = label->Font;
    FFormatDirty = true;
    SyncFormat();
    for (QChar c : label->Text) FBuilder.Append(c);
    State().Char = saved;
    FFormatDirty = true;
    return true;
}

}  // namespace Rtf
