// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "platform/richedit/RunBreaks.h"

#include <QTextBoundaryFinder>

namespace RichEdit {

const std::vector<int>& RunBreaks::Inside(QStringView run) {
    const std::u16string_view key = TextKey(run);
    auto found = FRuns.find(key);
    if (found == FRuns.end()) found = FRuns.emplace(std::u16string(key), Find(run)).first;
    return found->second;
}

// The run is analysed between spaces, as it stands in a paragraph: only the positions inside it
// are asked, and those do not depend on what lies beyond the spaces.
std::vector<int> RunBreaks::Find(QStringView run) {
    const QString padded = QLatin1Char(' ') + run.toString() + QLatin1Char(' ');
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, padded);
    std::vector<int> breaks;
    for (qsizetype at = 2; at < padded.size() - 1; ++at) {
        finder.setPosition(at);
        if (finder.isAtBoundary()) breaks.push_back(int(at - 1));
    }
    return breaks;
}

}  // namespace RichEdit
