#pragma once
// Writing a text document as RTF.
#include <QRgb>
#include <QString>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QTextBlock;
class QTextCharFormat;
class QTextDocument;

namespace Rtf {

// A complete RTF document with the text, character formats (bold, italic, underline,
// strike-out, font, size, colour) and paragraph alignments of `doc`. Rtf::Read gives them back.
std::string Write(const QTextDocument& doc);

class RtfWriter {
public:
    explicit RtfWriter(const QTextDocument& doc);
    std::string Write();

private:
    // A run's character format, resolved against the document's default font.
    struct CharState {
        bool bold = false;
        bool italic = false;
        bool underline = false;
        bool strike = false;
        int font = 0;  // index into the font table
        int halfPoints = 24;
        int colour = 0;  // index into the colour table; 0 is the automatic colour
        bool operator==(const CharState&) const = default;
    };

    CharState StateOf(const QTextCharFormat& format);
    int FontIndex(const QString& family);
    int ColourIndex(QRgb colour);

    void WriteHeader();
    void WriteFontTable();
    void WriteColourTable();
    void WriteBlock(const QTextBlock& block, bool last);
    void WriteStateChange(const CharState& next);
    void WriteText(QStringView text);
    void WriteCharacter(char32_t c);

    // Output with short lines: a line break may go before any token, where RTF ignores it.
    void Word(std::string_view word);
    void Word(std::string_view word, int param);
    void Flag(std::string_view word, bool on, std::string_view offWord);
    void TextToken(std::string_view token, bool breakable);
    void BreakLineIfLong(size_t limit);
    void NewLine();

    const QTextDocument& FDoc;
    std::vector<QString> FFonts;
    std::vector<QRgb> FColours;  // colour table entries after the automatic one
    std::optional<CharState> FState;
    std::string FBody;
    std::string* FOut = nullptr;  // where tokens go: the header or the body
    size_t FLineStart = 0;
    bool FDelimiterPending = false;  // a control word was written and text may follow
};

}  // namespace Rtf
