// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Where a line may break inside a run of characters without spaces ("well-known" after the
// hyphen), as Qt's line-break analysis finds it. Answers are kept per run text, so repeated
// words cost one look-up.
#include <QStringView>
#include <string>
#include <string_view>
#include <vector>

#include "platform/richedit/TextKeyMap.h"

namespace RichEdit {

class RunBreaks {
public:
    // Offsets inside `run` (never 0 or its length) before which a line may start, ascending.
    const std::vector<int>& Inside(QStringView run);

private:
    static std::vector<int> Find(QStringView run);

    TextKeyMap<std::vector<int>> FRuns;
};

}  // namespace RichEdit
