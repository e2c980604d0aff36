#pragma once
// The display lines of a document: where each starts, how long it is and whether a paragraph
// break ends it. Built in one pass over the document's blocks and kept until the text, the
// width or the wrapping changes, so walking every line costs one layout, not one per line.
#include <QTextDocument>
#include <vector>

namespace RichEdit {

class LineTable {
public:
    struct Line {
        int DocStart;  // document position of the first character
        int Length;    // characters, without a break that ends the line
        int Block;     // the paragraph's number
    };

    // Reads the lines of `doc`, whose raw text (QTextDocument::toRawText) is `raw`. With
    // `wrapped` the document is laid out at its text width and each laid-out line is a line;
    // otherwise each paragraph is one line (split only where it holds a line separator) and
    // nothing is laid out.
    void Build(const QTextDocument& doc, bool wrapped, QStringView raw);
    void Invalidate() { FValid = false; }
    bool Valid() const { return FValid; }
    // How many times the table was built: walking the lines must not rebuild it.
    int Builds() const { return FBuilds; }

    int Count() const { return int(FLines.size()); }
    const Line& At(int index) const { return FLines[size_t(index)]; }
    // Character position of a line's start: every earlier paragraph break counts twice.
    int Start(int index) const { return At(index).DocStart + At(index).Block; }
    bool EndsParagraph(int index) const {
        return index + 1 < Count() && At(index + 1).Block != At(index).Block;
    }
    // The line holding character position `cp`; the last line for positions beyond the text.
    int LineFromChar(int cp) const;

private:
    void AddBlockLines(const QTextBlock& block, int base, int length, int number, bool wrapped,
                       QStringView raw);

    std::vector<Line> FLines;
    bool FValid = false;
    int FBuilds = 0;
};

}  // namespace RichEdit
