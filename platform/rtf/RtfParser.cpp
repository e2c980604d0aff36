#include "platform/rtf/RtfParser.h"

#include <algorithm>

namespace Rtf {
namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr char16_t kLineSeparator = 0x2028;
constexpr char16_t kParagraphSeparator = 0x2029;

bool IsPrintableAscii(uint8_t b) {
    return b >= 0x20 && b < 0x7F;
}

bool Flag(const RtfToken& token) {
    return !token.hasParam || token.param != 0;
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

RtfParser::RtfParser(std::string_view input, RtfDocumentBuilder& builder)
    : FTokenizer(input), FBuilder(builder) {
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
    bool groupStart = FGroupStart;
    FGroupStart = false;
    switch (token.kind) {
        case Kind::End:
            return false;
        case Kind::GroupOpen:
            FSkipCount = 0;  // a brace ends the fallback of \uN
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
            } else if (State().destination != Destination::Skip) {
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
    }
    FGroupStart = true;
}

bool RtfParser::CloseGroup() {
    if (FUntrackedDepth > 0) {
        --FUntrackedDepth;
        return true;
    }
    if (State().destination == Destination::FontTable) EndFontEntry();
    // The outermost group's state stays for Finish: it holds the last paragraph's alignment.
    if (FStack.size() <= 2) return false;
    FStack.pop_back();
    FFormatDirty = true;
    return true;
}

void RtfParser::HandleWord(const RtfToken& token, bool groupStart) {
    if (FSkipCount > 0) {
        --FSkipCount;  // a control word in a \uN fallback stands for one character
        return;
    }
    if (State().destination == Destination::Skip) return;
    RtfKeyword keyword = LookUpKeyword(token.text);
    if (HandleDocumentWord(keyword, token)) return;
    switch (keyword) {
        case RtfKeyword::FontTable:
        case RtfKeyword::ColourTable:
        case RtfKeyword::SkippedDestination:
        case RtfKeyword::FieldResult:
        case RtfKeyword::TextDestination:
            // A destination word opens its group; elsewhere it is noise.
            if (groupStart) HandleDestinationWord(keyword);
            return;
        default:
            break;
    }
    switch (State().destination) {
        case Destination::Text:
            HandleTextWord(keyword, token);
            break;
        case Destination::FontTable:
        case Destination::ColourTable:
            HandleTableWord(keyword, token);
            break;
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
            State().unicodeSkip = std::clamp(token.param, 0, kMaxUnicodeSkip);
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
            State().destination = Destination::FontTable;
            FFontEntryNumber = -1;
            FFontEntry = FontEntry();
            break;
        case RtfKeyword::ColourTable:
            State().destination = Destination::ColourTable;
            FColours.clear();
            FRed = FGreen = FBlue = -1;
            TablesChanged();
            break;
        case RtfKeyword::SkippedDestination:
            State().destination = Destination::Skip;
            break;
        default:
            break;  // field results and list texts are shown like any text
    }
}

void RtfParser::HandleTextWord(RtfKeyword keyword, const RtfToken& token) {
    GroupState& s = State();
    FFormatDirty = true;
    switch (keyword) {
        case RtfKeyword::Plain:
            s.bold = s.italic = s.underline = s.strike = s.hidden = false;
            s.font = -1;
            s.halfPoints = 0;
            s.colour = 0;
            break;
        case RtfKeyword::Bold:
            s.bold = Flag(token);
            break;
        case RtfKeyword::Italic:
            s.italic = Flag(token);
            break;
        case RtfKeyword::Underline:
            s.underline = Flag(token);
            break;
        case RtfKeyword::UnderlineNone:
            s.underline = false;
            break;
        case RtfKeyword::Strike:
            s.strike = Flag(token);
            break;
        case RtfKeyword::Hidden:
            s.hidden = Flag(token);
            break;
        case RtfKeyword::Font:
            s.font = token.hasParam ? token.param : -1;
            break;
        case RtfKeyword::FontSize:
            // Half points; 1 to 1638 points is what a font can sensibly be.
            s.halfPoints = token.param > 0 ? std::clamp(token.param, 2, 3276) : 0;
            break;
        case RtfKeyword::ForeColour:
            s.colour = token.param;
            break;
        case RtfKeyword::ParagraphDefault:
            s.alignment = Qt::AlignLeft;
            break;
        case RtfKeyword::AlignLeft:
            s.alignment = Qt::AlignLeft;
            break;
        case RtfKeyword::AlignRight:
            s.alignment = Qt::AlignRight;
            break;
        case RtfKeyword::AlignCentre:
            s.alignment = Qt::AlignHCenter;
            break;
        case RtfKeyword::AlignJustify:
            s.alignment = Qt::AlignJustify;
            break;
        case RtfKeyword::Paragraph:
            EndParagraph();
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

void RtfParser::HandleTableWord(RtfKeyword keyword, const RtfToken& token) {
    if (State().destination == Destination::FontTable) {
        switch (keyword) {
            case RtfKeyword::Font:
                EndFontEntry();
                FFontEntryNumber = token.param;
                break;
            case RtfKeyword::FontCharset:
                FFontEntry.codePage = RtfCodePage::NumberForCharset(token.param);
                break;
            case RtfKeyword::FontCodePage:
                if (token.param > 0) FFontEntry.codePage = token.param;
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
            // An optional destination: nothing in it is ours to show.
            if (groupStart) State().destination = Destination::Skip;
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
    if (State().destination == Destination::Skip) return;
    if (FSkipCount > 0) {
        size_t dropped = std::min(text.size(), size_t(FSkipCount));
        FSkipCount -= int(dropped);
        text.remove_prefix(dropped);
    }
    if (State().destination != Destination::Text) {
        HandleTextInTable(text);
        return;
    }
    if (State().hidden || text.empty()) return;
    if (CurrentCodePage().IsMultiByte()) {
        for (char c : text) HandleByte(uint8_t(c));
        return;
    }
    size_t i = 0;
    while (i < text.size()) {
        size_t start = i;
        while (i < text.size() && IsPrintableAscii(uint8_t(text[i]))) ++i;
        if (i > start) EmitAscii(text.substr(start, i - start));
        if (i < text.size()) HandleByte(uint8_t(text[i++]));
    }
}

void RtfParser::HandleTextInTable(std::string_view text) {
    for (char c : text) {
        if (c != ';') {
            if (State().destination == Destination::FontTable) HandleByte(uint8_t(c));
            continue;
        }
        if (State().destination == Destination::FontTable) {
            FlushBytes();
            EndFontEntry();
        } else {
            EndColourEntry();
        }
    }
}

void RtfParser::HandleByte(uint8_t byte) {
    RtfCodePage page = CurrentCodePage();
    if (!page.IsMultiByte()) {
        EmitUnit(page.DecodeByte(byte));
        return;
    }
    if (!FPendingBytes.empty() && FPendingCodePage != page.Number()) FlushBytes();
    FPendingCodePage = page.Number();
    FPendingBytes.push_back(char(byte));
}

void RtfParser::HandleUnicode(int value) {
    if (value < 0 && value >= -32768) value += 65536;
    if (value >= 0 && value <= 0xFFFF) {
        EmitUnit(char16_t(value));
    } else if (value > 0xFFFF && value <= 0x10FFFF) {
        EmitUnit(QChar::highSurrogate(char32_t(value)));
        EmitUnit(QChar::lowSurrogate(char32_t(value)));
    } else {
        EmitUnit(kReplacement);
    }
    FSkipCount = State().unicodeSkip;
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
    if (unit == u'\t') {
        EmitToTarget(QChar(unit));
        return;
    }
    if (unit < 0x20 || unit == 0x7F) return;  // control codes have no place in the text
    if (unit == kParagraphSeparator) {
        if (State().destination == Destination::Text) EndParagraph();
        return;
    }
    // The document's own markers for frames and objects must not come from the file.
    if (unit == 0xFDD0 || unit == 0xFDD1 || unit == 0xFFFC || unit >= 0xFFFE) unit = kReplacement;
    EmitToTarget(QChar(unit));
}

void RtfParser::EmitToTarget(QChar c) {
    switch (State().destination) {
        case Destination::Text:
            if (State().hidden) return;
            FlushCellTab();
            SyncFormat();
            FBuilder.Append(c);
            break;
        case Destination::FontTable:
            if (FFontEntry.name.size() < kMaxFontNameLength) FFontEntry.name.append(c);
            break;
        default:
            break;
    }
}

void RtfParser::EmitAscii(std::string_view text) {
    if (FPendingHigh) {
        FPendingHigh = 0;
        EmitChecked(kReplacement);
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
    FBuilder.EndParagraph(State().alignment);
}

void RtfParser::FlushBytes() {
    if (FPendingBytes.empty()) return;
    QString text = RtfCodePage::ForNumber(FPendingCodePage).DecodeBytes(FPendingBytes);
    FPendingBytes.clear();
    for (QChar c : text) EmitUnit(c.unicode());
}

void RtfParser::SyncFormat() {
    if (!FFormatDirty) return;
    FFormatDirty = false;
    const GroupState& s = State();
    FormatKey key{s.bold,        s.italic,     s.underline, s.strike,
                  CurrentFont(), s.halfPoints, s.colour,    FTablesVersion};
    if (FSyncedFormat == key) return;
    FSyncedFormat = key;
    RtfRunFormat format;
    format.Bold = s.bold;
    format.Italic = s.italic;
    format.Underline = s.underline;
    format.Strike = s.strike;
    auto font = FFonts.find(key.font);
    if (font != FFonts.end()) format.Family = font->second.name;
    format.HalfPoints = s.halfPoints;
    if (s.colour > 0 && size_t(s.colour) < FColours.size() && FColours[size_t(s.colour)]) {
        format.HasColour = true;
        format.Colour = *FColours[size_t(s.colour)];
    }
    FBuilder.SetFormat(format);
}

void RtfParser::EndFontEntry() {
    if (FFontEntryNumber >= 0) {
        FFontEntry.name = FFontEntry.name.trimmed();
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

RtfCodePage RtfParser::CurrentCodePage() {
    if (State().destination == Destination::FontTable) {
        int number = FFontEntry.codePage;
        return RtfCodePage::ForNumber(number != 0 ? number : FDocumentCodePage);
    }
    int font = CurrentFont();
    if (!FCodePage || FCodePageFont != font || FCodePageVersion != FTablesVersion) {
        auto entry = FFonts.find(font);
        int number = entry != FFonts.end() ? entry->second.codePage : 0;
        FCodePage = RtfCodePage::ForNumber(number != 0 ? number : FDocumentCodePage);
        FCodePageFont = font;
        FCodePageVersion = FTablesVersion;
    }
    return *FCodePage;
}

void RtfParser::Finish() {
    FlushBytes();
    if (FPendingHigh) {
        FPendingHigh = 0;
        EmitChecked(kReplacement);
    }
    FBuilder.Finish(State().alignment);
}

}  // namespace Rtf
