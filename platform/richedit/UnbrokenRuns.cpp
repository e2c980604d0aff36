// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "platform/richedit/UnbrokenRuns.h"

namespace RichEdit {

bool HasLongUnbrokenRun(QStringView text, int limit) {
    int run = 0;
    for (const QChar c : text) {
        if (c.isSpace()) {
            run = 0;
        } else if (++run > limit) {
            return true;
        }
    }
    return false;
}

}  // namespace RichEdit
