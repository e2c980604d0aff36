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
    : tokenizer_(input), builder_(builder) {
    stack_.reserve(64);
    stack_.emplace_back();  // the state outside the outermost group
}

void RtfParser::Run() {
    while (Step(tokenizer_.Next())) {
    }
    Finish();
}

bool RtfParser::Step(const RtfToken& token) {
    using Kind = RtfToken::Kind;
    if (token.kind != Kind::HexByte && token.kind != Kind::Text) FlushBytes();
    bool groupStart = groupStart_;
    groupStart_ = false;
    switch (token.kind) {
        case Kind::End:
            return false;
        case Kind::GroupOpen:
            skipCount_ = 0;  // a brace ends the fallback of \uN
            OpenGroup();
            return true;
        case Kind::GroupClose:
            skipCount_ = 0;
            return CloseGroup();
        case Kind::Word:
            HandleWord(token, groupStart);
            return true;
        case Kind::Symbol:
            HandleSymbol(token.symbol, groupStart);
            return true;
        case Kind::HexByte:
            if (skipCount_ > 0) {
                --skipCount_;
            } else if (State().destination != Destination::Skip) {
                HandleByte(token.byte);
            }
            return true;
        case Kind::Text:
            HandleText(token.text);
            return true;
        case Kind::Binary:
            if (skipCount_ > 0) --skipCount_;  // binary data is never text
            return true;
    }
    return true;
}

void RtfParser::OpenGroup() {
    if (stack_.size() > kMaxDepth) {
        ++untrackedDepth_;
    } else {
        stack_.push_back(stack_.back());
    }
    groupStart_ = true;
}

bool RtfParser::CloseGroup() {
    if (untrackedDepth_ > 0) {
        --untrackedDepth_;
        return true;
    }
    if (State().destination == Destination::FontTable) EndFontEntry();
    // The outermost group's state stays for Finish: it holds the last paragraph's alignment.
    if (stack_.size() <= 2) return false;
    stack_.pop_back();
    formatDirty_ = true;
    return true;
}

void RtfParser::HandleWord(const RtfToken& token, bool groupStart) {
    if (skipCount_ > 0) {
        --skipCount_;  // a control word in a \uN fallback stands for one character
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
            if (token.param > 0) documentCodePage_ = token.param;
            TablesChanged();
            return true;
        case RtfKeyword::Mac:
        case RtfKeyword::Pc:
        case RtfKeyword::Pca:
            documentCodePage_ = keyword == RtfKeyword::Mac  ? 10000
                                : keyword == RtfKeyword::Pc ? 437
                                                            : 850;
            TablesChanged();
            return true;
        case RtfKeyword::DefaultFont:
            defaultFont_ = token.param;
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
            fontEntryNumber_ = -1;
            fontEntry_ = FontEntry();
            break;
        case RtfKeyword::ColourTable:
            State().destination = Destination::ColourTable;
            colours_.clear();
            red_ = green_ = blue_ = -1;
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
    formatDirty_ = true;
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
            pendingCellTab_ = true;
            break;
        case RtfKeyword::Row:
            pendingCellTab_ = false;
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
                fontEntryNumber_ = token.param;
                break;
            case RtfKeyword::FontCharset:
                fontEntry_.codePage = RtfCodePage::NumberForCharset(token.param);
                break;
            case RtfKeyword::FontCodePage:
                if (token.param > 0) fontEntry_.codePage = token.param;
                break;
            default:
                break;
        }
        return;
    }
    int value = std::clamp(token.param, 0, 255);
    switch (keyword) {
        case RtfKeyword::Red:
            red_ = value;
            break;
        case RtfKeyword::Green:
            green_ = value;
            break;
        case RtfKeyword::Blue:
            blue_ = value;
            break;
        default:
            break;
    }
}

void RtfParser::HandleSymbol(char symbol, bool groupStart) {
    if (skipCount_ > 0) {
        --skipCount_;
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
    if (skipCount_ > 0) {
        size_t dropped = std::min(text.size(), size_t(skipCount_));
        skipCount_ -= int(dropped);
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
    if (!pendingBytes_.empty() && pendingCodePage_ != page.Number()) FlushBytes();
    pendingCodePage_ = page.Number();
    pendingBytes_.push_back(char(byte));
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
    skipCount_ = State().unicodeSkip;
}

void RtfParser::EmitUnit(char16_t unit) {
    if (QChar::isHighSurrogate(unit)) {
        if (pendingHigh_) EmitChecked(kReplacement);
        pendingHigh_ = unit;
        return;
    }
    if (QChar::isLowSurrogate(unit)) {
        if (!pendingHigh_) {
            EmitChecked(kReplacement);
            return;
        }
        EmitToTarget(QChar(pendingHigh_));
        EmitToTarget(QChar(unit));
        pendingHigh_ = 0;
        return;
    }
    if (pendingHigh_) {
        pendingHigh_ = 0;
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
            builder_.Append(c);
            break;
        case Destination::FontTable:
            if (fontEntry_.name.size() < kMaxFontNameLength) fontEntry_.name.append(c);
            break;
        default:
            break;
    }
}

void RtfParser::EmitAscii(std::string_view text) {
    if (pendingHigh_) {
        pendingHigh_ = 0;
        EmitChecked(kReplacement);
    }
    FlushCellTab();
    SyncFormat();
    builder_.Append(QLatin1StringView(text.data(), qsizetype(text.size())));
}

void RtfParser::FlushCellTab() {
    if (!pendingCellTab_) return;
    pendingCellTab_ = false;
    SyncFormat();
    builder_.Append(QChar(u'\t'));
}

void RtfParser::EndParagraph() {
    if (pendingHigh_) {
        pendingHigh_ = 0;
        EmitChecked(kReplacement);
    }
    pendingCellTab_ = false;
    SyncFormat();
    builder_.EndParagraph(State().alignment);
}

void RtfParser::FlushBytes() {
    if (pendingBytes_.empty()) return;
    QString text = RtfCodePage::ForNumber(pendingCodePage_).DecodeBytes(pendingBytes_);
    pendingBytes_.clear();
    for (QChar c : text) EmitUnit(c.unicode());
}

void RtfParser::SyncFormat() {
    if (!formatDirty_) return;
    formatDirty_ = false;
    const GroupState& s = State();
    FormatKey key{s.bold,        s.italic,     s.underline, s.strike,
                  CurrentFont(), s.halfPoints, s.colour,    tablesVersion_};
    if (syncedFormat_ == key) return;
    syncedFormat_ = key;
    RtfRunFormat format;
    format.Bold = s.bold;
    format.Italic = s.italic;
    format.Underline = s.underline;
    format.Strike = s.strike;
    auto font = fonts_.find(key.font);
    if (font != fonts_.end()) format.Family = font->second.name;
    format.HalfPoints = s.halfPoints;
    if (s.colour > 0 && size_t(s.colour) < colours_.size() && colours_[size_t(s.colour)]) {
        format.HasColour = true;
        format.Colour = *colours_[size_t(s.colour)];
    }
    builder_.SetFormat(format);
}

void RtfParser::EndFontEntry() {
    if (fontEntryNumber_ >= 0) {
        fontEntry_.name = fontEntry_.name.trimmed();
        fonts_[fontEntryNumber_] = fontEntry_;
        TablesChanged();
    }
    fontEntryNumber_ = -1;
    fontEntry_ = FontEntry();
}

void RtfParser::EndColourEntry() {
    if (red_ < 0 && green_ < 0 && blue_ < 0) {
        colours_.emplace_back();  // an empty entry: the automatic colour
    } else {
        colours_.emplace_back(qRgb(std::max(red_, 0), std::max(green_, 0), std::max(blue_, 0)));
    }
    red_ = green_ = blue_ = -1;
    TablesChanged();
}

RtfCodePage RtfParser::CurrentCodePage() {
    if (State().destination == Destination::FontTable) {
        int number = fontEntry_.codePage;
        return RtfCodePage::ForNumber(number != 0 ? number : documentCodePage_);
    }
    int font = CurrentFont();
    if (!codePage_ || codePageFont_ != font || codePageVersion_ != tablesVersion_) {
        auto entry = fonts_.find(font);
        int number = entry != fonts_.end() ? entry->second.codePage : 0;
        codePage_ = RtfCodePage::ForNumber(number != 0 ? number : documentCodePage_);
        codePageFont_ = font;
        codePageVersion_ = tablesVersion_;
    }
    return *codePage_;
}

void RtfParser::Finish() {
    FlushBytes();
    if (pendingHigh_) {
        pendingHigh_ = 0;
        EmitChecked(kReplacement);
    }
    builder_.Finish(State().alignment);
}

}  // namespace Rtf
