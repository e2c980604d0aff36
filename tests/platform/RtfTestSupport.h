#pragma once
// Helpers for the RTF tests: reading into a fresh document and looking at what it holds.
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <string>
#include <string_view>
#include <vector>

#include "platform/richedit/RtfReader.h"

namespace RtfTest {

// The paragraphs of `doc` as UTF-8 strings.
inline std::vector<std::string> Paragraphs(const QTextDocument& doc) {
    std::vector<std::string> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) out.push_back(b.text().toStdString());
    return out;
}

// The character format of the character at `position` (counted from the start of the document).
inline QTextCharFormat FormatAt(const QTextDocument& doc, int position) {
    QTextCursor cursor(const_cast<QTextDocument*>(&doc));
    cursor.setPosition(position + 1);  // the cursor reports the character before it
    return cursor.charFormat();
}

// The character format of the first occurrence of `text`.
inline QTextCharFormat FormatOf(const QTextDocument& doc, const QString& text) {
    int at = doc.toPlainText().indexOf(text);
    return at < 0 ? QTextCharFormat() : FormatAt(doc, at);
}

inline std::vector<std::string> ReadParagraphs(std::string_view rtf) {
    QTextDocument doc;
    Rtf::Read(rtf, doc);
    return Paragraphs(doc);
}

inline std::string ReadText(std::string_view rtf) {
    QTextDocument doc;
    Rtf::Read(rtf, doc);
    return doc.toPlainText().toStdString();
}

}  // namespace RtfTest
