#include "platform/richedit/LineTable.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextLayout>
#include <algorithm>

namespace RichEdit {

void LineTable::Build(const QTextDocument& doc, bool wrapped, QStringView raw) {
    FLines.clear();
    // One full layout up front; afterwards each block's lines are read without further work.
    if (wrapped && doc.documentLayout()) doc.documentLayout()->documentSize();
    FLines.reserve(size_t(doc.blockCount()));
    // Positions and numbers are counted along, not looked up in the block tree per block.
    int position = 0, number = 0;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next(), ++number) {
        const int length = block.length();
        AddBlockLines(block, position, length, number, wrapped, raw);
        position += length;
    }
    if (FLines.empty()) FLines.push_back({0, 0, 0});
    FValid = true;
    ++FBuilds;
}

void LineTable::AddBlockLines(const QTextBlock& block, int base, int length, int number,
                              bool wrapped, QStringView raw) {
    const QStringView text = raw.mid(base, std::max(0, length - 1));
    // A line that ends in a line separator is broken there: the separator is not line text.
    auto add = [&](int start, int count) {
        if (count > 0 && text.at(start + count - 1) == QChar::LineSeparator) --count;
        FLines.push_back({base + start, count, number});
    };
    const QTextLayout* layout = wrapped ? block.layout() : nullptr;
    if (layout && layout->lineCount() > 0) {
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            add(line.textStart(), line.textLength());
        }
        return;
    }
    int start = 0;
    for (qsizetype i = text.indexOf(QChar::LineSeparator); i >= 0;
         i = text.indexOf(QChar::LineSeparator, i + 1)) {
        add(start, int(i) + 1 - start);
        start = int(i) + 1;
    }
    add(start, int(text.size()) - start);
}

int LineTable::LineFromChar(int cp) const {
    int lo = 0, hi = Count() - 1;
    while (lo < hi) {
        const int mid = lo + (hi - lo + 1) / 2;
        if (Start(mid) <= cp)
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo;
}

}  // namespace RichEdit
