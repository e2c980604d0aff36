#pragma once
// Builds a QTextDocument from runs of equally formatted text and paragraph ends, with one cursor
// call per run rather than per character.
#include <QRgb>
#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>
#include <utility>
#include <vector>

class QTextDocument;

namespace Rtf {

// The character format of a run of text as the RTF source states it.
struct RtfRunFormat {
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool Strike = false;
    QString Family;      // empty: the document's default family
    int HalfPoints = 0;  // 0: the document's default size
    bool HasColour = false;
    QRgb Colour = 0;

    bool operator==(const RtfRunFormat&) const = default;
};

class RtfDocumentBuilder {
public:
    // Appends to the end of `doc`; the caller empties it first.
    explicit RtfDocumentBuilder(QTextDocument& doc);
    ~RtfDocumentBuilder();
    RtfDocumentBuilder(const RtfDocumentBuilder&) = delete;
    RtfDocumentBuilder& operator=(const RtfDocumentBuilder&) = delete;

    void SetFormat(const RtfRunFormat& format);
    void Append(QChar c) {
        OpenParagraph();
        run_.append(c);
    }
    void Append(QLatin1StringView text) {
        OpenParagraph();
        run_.append(text);
    }
    // Ends the current paragraph with this alignment.
    void EndParagraph(Qt::Alignment alignment);
    // Writes what is pending. A paragraph that was ended and never received text stays out, so
    // a final paragraph mark does not leave an empty last paragraph behind.
    void Finish(Qt::Alignment alignment);

private:
    void FlushRun();
    void OpenParagraph() {
        if (paragraphPending_) StartParagraph();
    }
    void StartParagraph();
    void AlignParagraph(Qt::Alignment alignment);

    const QTextCharFormat& CharFormatFor(const RtfRunFormat& format);

    QTextCursor cursor_;
    // Formats already converted; documents switch among a handful of them.
    std::vector<std::pair<RtfRunFormat, QTextCharFormat>> formats_;
    QString run_;
    RtfRunFormat runFormat_;
    QTextCharFormat runCharFormat_;
    bool paragraphPending_ = false;
    // The current paragraph has a block format of its own, so the next one must not copy it.
    bool paragraphAligned_ = false;
};

}  // namespace Rtf
