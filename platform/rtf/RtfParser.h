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

    RtfParser(std::string_view input, RtfDocumentBuilder& builder);
    void Run();

private:
    enum class Destination { Text, Skip, FontTable, ColourTable };

    // Everything that "}" restores.
    struct GroupState {
        Destination destination = Destination::Text;
        bool bold = false;
        bool italic = false;
        bool underline = false;
        bool strike = false;
        bool hidden = false;
        int font = -1;  // -1: the document's default font
        int halfPoints = 0;
        int colour = 0;
        int unicodeSkip = 1;
        Qt::Alignment alignment = Qt::AlignLeft;
    };
    struct FontEntry {
        QString name;
        int codePage = 0;  // 0: the document's code page
    };

    bool Step(const RtfToken& token);  // false when the document has ended
    void OpenGroup();
    bool CloseGroup();
    void HandleWord(const RtfToken& token, bool groupStart);
    bool HandleDocumentWord(RtfKeyword keyword, const RtfToken& token);
    void HandleDestinationWord(RtfKeyword keyword);
    void HandleTextWord(RtfKeyword keyword, const RtfToken& token);
    void HandleTableWord(RtfKeyword keyword, const RtfToken& token);
    void HandleSymbol(char symbol, bool groupStart);
    void HandleText(std::string_view text);
    void HandleTextInTable(std::string_view text);
    void HandleByte(uint8_t byte);
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
    void Finish();

    // What decides a run's format, in a form that is cheap to compare.
    struct FormatKey {
        bool bold, italic, underline, strike;
        int font, halfPoints, colour, tablesVersion;
        bool operator==(const FormatKey&) const = default;
    };

    GroupState& State() { return FStack.back(); }
    int CurrentFont() { return State().font >= 0 ? State().font : FDefaultFont; }
    void TablesChanged() {
        ++FTablesVersion;
        FFormatDirty = true;
    }
    RtfCodePage CurrentCodePage();
    void FlushCellTab();

    RtfTokenizer FTokenizer;
    RtfDocumentBuilder& FBuilder;
    std::vector<GroupState> FStack;
    size_t FUntrackedDepth = 0;  // groups opened beyond kMaxDepth and not yet closed
    bool FGroupStart = false;    // no token read yet in the group just opened
    int FSkipCount = 0;          // fallback characters still to drop after \uN
    char16_t FPendingHigh = 0;   // a high surrogate waiting for its low half
    bool FPendingCellTab = false;
    bool FFormatDirty = true;

    int FDocumentCodePage = RtfCodePage::kWestern;
    int FDefaultFont = 0;
    std::unordered_map<int, FontEntry> FFonts;
    int FFontEntryNumber = -1;  // the font table entry being read
    FontEntry FFontEntry;
    std::vector<std::optional<QRgb>> FColours;
    int FRed = -1, FGreen = -1, FBlue = -1;

    // Bytes of a multi-byte code page, decoded together once the run of bytes ends.
    std::string FPendingBytes;
    int FPendingCodePage = 0;
    // Bumped whenever the font or colour table or the document's defaults change, so that
    // what was derived from them is derived again.
    int FTablesVersion = 0;
    std::optional<FormatKey> FSyncedFormat;
    // The code page of the text's font, with the font and table version it was found for.
    std::optional<RtfCodePage> FCodePage;
    int FCodePageFont = 0;
    int FCodePageVersion = -1;
};

}  // namespace Rtf
