// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Reads RTF tokens with a stack of group states (explicit, with a depth limit, so hostile nesting
// costs neither the call stack nor unbounded memory) and hands text and paragraphs to a builder.
#include <QRgb>
#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/rtf/RtfCodePage.h"
#include "platform/rtf/RtfDocumentBuilder.h"
#include "platform/rtf/RtfKeyword.h"
#include "platform/rtf/RtfListTable.h"
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
    // Fields nested deeper than this show their results but are not followed.
    static constexpr size_t kMaxFieldDepth = 64;
    static constexpr size_t kMaxFieldInstruction = 512;
    // Text boxes waiting for the end of their anchor paragraph; more than this are shown where
    // they stand, so that a hostile file cannot make the reader hold them all.
    static constexpr size_t kMaxPendingAsides = 1000;

    // `rawUtf8`: bytes above 0x7F outside escapes are UTF-8 (the file began with its mark).
    RtfParser(std::string_view input, RtfDocumentBuilder& builder, bool rawUtf8 = false);
    // Parses to the end; `betweenSlices` (when given) is called after every kSliceBytes read.
    void Run(const std::function<void()>& betweenSlices = {});
    static constexpr size_t kSliceBytes = 512 * 1024;

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
    // Container: a shape, whose groups are skipped unless their first word names the part
    // that holds text. FieldInstruction: a field's instruction, kept to show a symbol field.
    enum class Destination {
        Text,
        Skip,
        FontTable,
        ColourTable,
        StyleSheet,
        StyleEntry,
        Container,
        FieldInstruction,
        ListTable,
        ListEntry,
        ListLevelEntry,
        LevelText,
        LevelNumbers,
        OverrideTable,
        OverrideEntry,
        OverrideLevel,
    };

    // Everything that "}" restores. A run's character format is layered: the paragraph style's,
    // then the character style's, then what the text states itself (Explicit, with the
    // properties it states in ExplicitSet). Char is the result, kept current.
    struct GroupState {
        Destination Where = Destination::Text;
        CharState Char;
        RtfParagraphFormat Paragraph;
        int UnicodeSkip = 1;
        CharState Explicit;
        unsigned ExplicitSet = 0;
        int ParagraphStyle = 0;
        int CharacterStyle = -1;  // none
        int StylesVersion = 0;    // the style sheet Char was layered on
        int List = 0;             // \lsN: the list override the paragraph is in, or 0
        int Level = 0;            // \ilvlN
        bool InListText = false;  // in a label the writer wrote as text
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
    void HandleStyleChoice(RtfKeyword keyword, const RtfToken& token);
    void LayerCharacterFormat(GroupState& state);
    const Style* ResolvedStyle(int number);
    bool StartsPicture(const RtfToken& token, bool groupStart, bool optionalStart);
    void EndPicture(size_t end, int unclosed);
    void RepairCutPicture(QByteArray& group) const;
    void Finish();

    bool OptionalDestinationAccepted(RtfKeyword keyword);
    void EndField();
    void ShowSymbolField(std::string_view instruction);
    int FontNamed(const QString& name);
    void StartAside(bool shapeText);
    void HandleListDestination(RtfKeyword keyword);
    void HandleListWord(RtfKeyword keyword, const RtfToken& token);
    void EndListGroup();
    void AddLevelUnit(char16_t unit);
    RtfListLevel MappedLevel(RtfListLevel level);
    bool BeginListParagraph(bool visible);
    Destination ParentWhere() const {
        return FStack.size() >= 2 ? FStack[FStack.size() - 2].Where : Destination::Text;
    }
    void ReplayAsides();

    // What decides a run's format, in a form that is cheap to compare.
    struct FormatKey {
        CharState Char;
        int TablesVersion;
        bool operator==(const FormatKey&) const = default;
    };

    // A field being read: where its group began, its instruction, whether it showed anything.
    struct FieldState {
        size_t Depth;
        std::string Instruction;
        bool HasResult = false;
    };
    // The text of a text box: a stretch of the input read again after its anchor paragraph,
    // from the state its group began in.
    struct Aside {
        size_t Start;
        size_t End;
        GroupState State;
        bool ShapeText;  // false: the fallback for readers without shapes
    };

    GroupState& State() { return FStack.back(); }
    int CurrentFont() { return State().Char.Font != -1 ? State().Char.Font : FDefaultFont; }
    void MarkResult() {
        if (!FFields.empty()) FFields.back().HasResult = true;
    }
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
    size_t FUntrackedDepth = 0;  // groups opened beyond kMaxDepth and not yet closed
    // A destination opened beyond kMaxDepth: its groups are passed over until this many
    // untracked groups are open again, since they share the state of the deepest tracked one.
    size_t FSkipUntracked = 0;
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
    std::unordered_map<int, FontEntry> FFonts;  // fonts a field names have numbers below -1
    int FNextFieldFont = -2;
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
    int FStylesVersion = 0;    // bumped by each style sheet entry

    std::vector<FieldState> FFields;
    std::vector<Aside> FAsides;
    size_t FAsideDepth = 0;  // the stack depth of the text box group being passed over, or 0
    size_t FAsideStart = 0;
    GroupState FAsideState;
    bool FAsideShapeText = false;
    bool FReplayingResult = false;  // reading a fallback, whose empty paragraphs are left out
    bool FShapeHasText = false;     // the shape being read has its own text (\shptxt)
    bool FReplaying = false;        // reading a text box again after its anchor paragraph

    RtfListTable FListTable;
    std::vector<RtfListLevel> FListLevels;  // the levels of the list being read
    int FListId = 0;
    RtfListLevel FLevel;  // the level being read
    int FOverrideNumber = 0, FOverrideListId = 0;
    std::array<int, RtfListTable::kMaxLevels> FOverrideStart{};
    int FOverrideLevelIndex = -1;
    bool FOverrideLevelStarts = false;
    int FOverrideLevelValue = 1;
    bool FLabelDue = true;     // the paragraph has not yet shown its list label
    bool FLabelGiven = false;  // the writer wrote the paragraph's label as text

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
