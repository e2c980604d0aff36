#pragma once
// Reads RTF tokens with a stack of group states (explicit, with a depth limit, so hostile nesting
// costs neither the call stack nor unbounded memory) and hands text and paragraphs to a builder.
#include <QRgb>
#include <QString>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/rtf/RtfCodePage.h"
#include "platform/rtf/RtfDocumentBuilder.h"
#include "platform/rtf/RtfKeyword.h"
#include "platform/rtf/RtfTokenizer.h"

namespace Rtf {

class RtfParser {
public:
    // Groups nested deeper than this share the state of the deepest tracked group.
    static constexpr size_t kMaxDepth = 1000;
    static constexpr int kMaxUnicodeSkip = 16;
    static constexpr qsizetype kMaxFontNameLength = 256;
    // Styles based on styles: a longer chain (or a loop) is cut here.
    static constexpr int kMaxStyleDepth = 32;

    // `rawUtf8`: bytes above 0x7F outside escapes are UTF-8 (the file began with its mark).
    RtfParser(std::string_view input, RtfDocumentBuilder& builder, bool rawUtf8 = false);
    void Run();

    // The character formatting that groups carry.
    struct CharState {
        bool Bold = false;
        bool Italic = false;
        bool Underline = false;
        bool Strike = false;
        bool Hidden = false;
        int Font = -1;  // -1: the document's default font
        int HalfPoints = kDefaultHalfPoints;
        int Colour = 0;
        int Highlight = 0;
        RtfScript Script = RtfScript::Normal;
        int Raise = 0;
        bool operator==(const CharState&) const = default;
    };
    // A style sheet entry: the formatting it states (Set), over the style it is based on.
    struct Style {
        CharState Char;
        RtfParagraphFormat Paragraph;
        unsigned Set = 0;
        int BasedOn = -1;
    };

private:
    enum class Destination { Text, Skip, FontTable, ColourTable, StyleSheet, StyleEntry };

    // Everything that "}" restores.
    struct GroupState {
        Destination Where = Destination::Text;
        CharState Char;
        RtfParagraphFormat Paragraph;
        int UnicodeSkip = 1;
    };
    struct FontEntry {
        QString Name;
        int Charset = -1;
        int CodePage = 0;  // 0: the document's code page
        // A Symbol font: its glyphs stand for Greek letters, arrows and signs.
        bool SymbolGlyphs = false;
    };

    bool Step(const RtfToken& token);  // false when the document has ended
    void OpenGroup();
    bool CloseGroup();
    void HandleWord(const RtfToken& token, bool groupStart);
    bool HandleDocumentWord(RtfKeyword keyword, const RtfToken& token);
    void HandleDestinationWord(RtfKeyword keyword);
    void HandleTextWord(RtfKeyword keyword, const RtfToken& token);
    void HandleStyleWord(RtfKeyword keyword, const RtfToken& token);
    void HandleTableWord(RtfKeyword keyword, const RtfToken& token);
    void HandleSymbol(char symbol, bool groupStart);
    void HandleText(std::string_view text);
    void HandleTextInTable(std::string_view text);
    void HandleByte(uint8_t byte);
    void HandleRawUtf8(uint8_t byte);
    void HandleUnicode(int value);

    void EmitUnit(char16_t unit);
    void EmitChecked(char16_t unit);
    void EmitToTarget(QChar c);
    void EmitAscii(std::string_view text);
    void EndParagraph();
    void FlushBytes();
    void SyncFormat();
    void EndFontEntry();
    void EndColourEntry();
    void EndStyleEntry();
    void ApplyStyle(int number, unsigned mask);
    const Style* ResolvedStyle(int number);
    bool StartsPicture(const RtfToken& token, bool groupStart, bool optionalStart);
    void EndPicture(size_t end, int unclosed);
    void Finish();

    // What decides a run's format, in a form that is cheap to compare.
    struct FormatKey {
        CharState Char;
        int TablesVersion;
        bool operator==(const FormatKey&) const = default;
    };

    GroupState& State() { return FStack.back(); }
    int CurrentFont() { return State().Char.Font >= 0 ? State().Char.Font : FDefaultFont; }
    void TablesChanged() {
        ++FTablesVersion;
        FFormatDirty = true;
    }
    RtfCodePage CurrentCodePage();
    bool SymbolGlyphs();
    void FlushCellTab();
    std::optional<QRgb> TableColour(int index) const;

    RtfTokenizer FTokenizer;
    RtfDocumentBuilder& FBuilder;
    std::vector<GroupState> FStack;
    size_t FUntrackedDepth = 0;     // groups opened beyond kMaxDepth and not yet closed
    bool FGroupStart = false;       // no token read yet in the group just opened
    bool FOptionalPending = false;  // "\*" opened a style sheet group: its first word decides
    int FSkipCount = 0;             // fallback characters still to drop after \uN
    char16_t FPendingHigh = 0;      // a high surrogate waiting for its low half
    bool FPendingCellTab = false;
    bool FPageBreakNext = false;  // a \page came: the next paragraph starts a new page
    bool FOptionalStart = false;  // "\*" just began a group that is skipped unless its word says
    size_t FGroupOffset = 0;      // where the group opened last begins in the input
    // A \pict group being read: where it begins, and the stack depth its state sits at (0: none).
    size_t FPictureStart = 0;
    size_t FPictureDepth = 0;
    bool FFormatDirty = true;
    const bool FRawUtf8;

    int FDocumentCodePage = RtfCodePage::kWestern;
    int FDefaultFont = 0;
    std::unordered_map<int, FontEntry> FFonts;
    int FFontEntryNumber = -1;  // the font table entry being read
    FontEntry FFontEntry;
    std::vector<std::optional<QRgb>> FColours;
    int FRed = -1, FGreen = -1, FBlue = -1;

    std::unordered_map<int, Style> FStyles;    // as the style sheet states them
    std::unordered_map<int, Style> FResolved;  // with what their bases state folded in
    Style FStyleEntry;                         // the style sheet entry being read
    int FStyleNumber = 0;
    bool FStyleEntryOpen = false;
    bool FStyleUsable = true;  // section and table styles are not applied to text

    // Bytes of a multi-byte code page, decoded together once the run of bytes ends.
    std::string FPendingBytes;
    int FPendingCodePage = 0;
    // Bumped whenever the font or colour table or the document's defaults change, so that
    // what was derived from them is derived again.
    int FTablesVersion = 0;
    std::optional<FormatKey> FSyncedFormat;
    // The code page of the text's font, with the font and table version it was found for.
    std::optional<RtfCodePage> FCodePage;
    bool FCodePageSymbolGlyphs = false;
    int FCodePageFont = 0;
    int FCodePageVersion = -1;
};

}  // namespace Rtf
