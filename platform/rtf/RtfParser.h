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

    GroupState& State() { return stack_.back(); }
    int CurrentFont() { return State().font >= 0 ? State().font : defaultFont_; }
    void TablesChanged() {
        ++tablesVersion_;
        formatDirty_ = true;
    }
    RtfCodePage CurrentCodePage();
    void FlushCellTab();

    RtfTokenizer tokenizer_;
    RtfDocumentBuilder& builder_;
    std::vector<GroupState> stack_;
    size_t untrackedDepth_ = 0;  // groups opened beyond kMaxDepth and not yet closed
    bool groupStart_ = false;    // no token read yet in the group just opened
    int skipCount_ = 0;          // fallback characters still to drop after \uN
    char16_t pendingHigh_ = 0;   // a high surrogate waiting for its low half
    bool pendingCellTab_ = false;
    bool formatDirty_ = true;

    int documentCodePage_ = RtfCodePage::kWestern;
    int defaultFont_ = 0;
    std::unordered_map<int, FontEntry> fonts_;
    int fontEntryNumber_ = -1;  // the font table entry being read
    FontEntry fontEntry_;
    std::vector<std::optional<QRgb>> colours_;
    int red_ = -1, green_ = -1, blue_ = -1;

    // Bytes of a multi-byte code page, decoded together once the run of bytes ends.
    std::string pendingBytes_;
    int pendingCodePage_ = 0;
    // Bumped whenever the font or colour table or the document's defaults change, so that
    // what was derived from them is derived again.
    int tablesVersion_ = 0;
    std::optional<FormatKey> syncedFormat_;
    // The code page of the text's font, with the font and table version it was found for.
    std::optional<RtfCodePage> codePage_;
    int codePageFont_ = 0;
    int codePageVersion_ = -1;
};

}  // namespace Rtf
