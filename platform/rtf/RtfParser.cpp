#include "platform/rtf/RtfParser.h"

#include <algorithm>
#include <utility>

namespace Rtf {
namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr char16_t kLineSeparator = 0x2028;
constexpr char16_t kParagraphSeparator = 0x2029;
// Indents and spacing beyond 22 inches say nothing a note can show.
constexpr int kMaxTwips = 31680;

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
            c.Font = token.hasParam ? token.param : -1;
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

// Copies into `c` and `p` what `from` states, of the properties that `mask` names.
void Overlay(const Style& from, unsigned mask, CharState& c, RtfParagraphFormat& p) {
    const unsigned set = from.Set & mask;
    const CharState& f = from.Char;
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

void RtfParser::Run() {
    while (Step(FTokenizer.Next())) {
    }
    Finish();
}

bool RtfParser::Step(const RtfToken& token) {
    using Kind = RtfToken::Kind;
    if (token.kind != Kind::HexByte && token.kind != Kind::Text) FlushBytes();
    if (FOptionalPending && token.kind != Kind::Word) {
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
    if (State().Where == Destination::StyleEntry && FStack.size() >= 2 &&
        FStack[FStack.size() - 2].Where == Destination::StyleSheet) {
        EndStyleEntry();
    }
    // The outermost group's state stays for Finish: it holds the last paragraph's format.
    if (FStack.size() <= 2) return false;
    const bool pictureEnds = FStack.size() == FPictureDepth;
    FStack.pop_back();
    FFormatDirty = true;
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
        // Of the optional groups in a style sheet, only character styles are ours to read.
        FOptionalPending = false;
        if (keyword != RtfKeyword::CharacterStyle) {
            State().Where = Destination::Skip;
            FStyleEntryOpen = false;
            return;
        }
    }
    if (HandleDocumentWord(keyword, token)) return;
    switch (keyword) {
        case RtfKeyword::FontTable:
        case RtfKeyword::ColourTable:
        case RtfKeyword::StyleSheet:
        case RtfKeyword::SkippedDestination:
        case RtfKeyword::FieldResult:
        case RtfKeyword::TextDestination:
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
            break;
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
        default:
            break;  // field results and list texts are shown like any text
    }
}

void RtfParser::HandleTextWord(RtfKeyword keyword, const RtfToken& token) {
    GroupState& s = State();
    unsigned set = 0;
    if (ApplyFormatting(keyword, token, s.Char, s.Paragraph, set)) {
        FFormatDirty = true;
        return;
    }
    switch (keyword) {
        case RtfKeyword::ParagraphStyle:
            ApplyStyle(token.param, sbCharacter | sbParagraph);
            break;
        case RtfKeyword::CharacterStyle:
            ApplyStyle(token.param, sbCharacter);
            break;
        case RtfKeyword::Paragraph:
            EndParagraph();
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
            if (!groupStart) break;
            if (State().Where == Destination::StyleEntry) {
                FOptionalPending = true;
            } else {
                FOptionalStart = State().Where == Destination::Text;
                State().Where = Destination::Skip;
            }
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
        // Control codes typed raw into RTF are noise; escaped ones are kept.
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
        default:
            break;
    }
}

void RtfParser::HandleByte(uint8_t byte) {
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
            FlushCellTab();
            SyncFormat();
            FBuilder.Append(c);
            break;
        case Destination::FontTable:
            if (FFontEntry.Name.size() < kMaxFontNameLength) FFontEntry.Name.append(c);
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
    FlushCellTab();
    SyncFormat();
    FBuilder.Append(QLatin1StringView(text.data(), qsizetype(text.size())));
}

void RtfParser::FlushCellTab() {
    if (!FPendingCellTab) return;
    FPendingCellTab = false;
    SyncFormat();
    FBuilder.Append(QChar(u'\t'));
}

void RtfParser::EndParagraph() {
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
    if (font != FFonts.end()) format.Family = font->second.Name;
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

void RtfParser::ApplyStyle(int number, unsigned mask) {
    const Style* style = ResolvedStyle(number);
    if (!style) return;
    Overlay(*style, mask, State().Char, State().Paragraph);
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
    group.append(qsizetype(unclosed), '}');
    FPictureDepth = 0;
    SyncFormat();
    FBuilder.AppendPicture(group);
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
    RtfParagraphFormat format = State().Paragraph;
    KeepFirstLineInside(format);
    format.PageBreakBefore |= std::exchange(FPageBreakNext, false);
    FBuilder.Finish(format);
}

}  // namespace Rtf
