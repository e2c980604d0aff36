// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "platform/rtf/RtfListTable.h"

#include <algorithm>

namespace Rtf {
namespace {

QString Roman(int value, bool upper) {
    if (value <= 0 || value >= 4000) return QString::number(value);
    static const std::pair<int, const char*> parts[] = {
        {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
        {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
    QString out;
    for (const auto& [amount, letters] : parts) {
        for (; value >= amount; value -= amount) out += QLatin1String(letters);
    }
    return upper ? out.toUpper() : out;
}

// a, b, ... z, aa, bb, ... as word processors letter their lists.
QString Letters(int value, bool upper) {
    if (value <= 0) return QString::number(value);
    const QChar letter(char16_t((upper ? u'A' : u'a') + (value - 1) % 26));
    return QString(std::min((value - 1) / 26 + 1, 100), letter);
}

QString Ordinal(int value) {
    const int tens = value % 100, ones = value % 10;
    const char* suffix = tens >= 11 && tens <= 13 ? "th"
                         : ones == 1              ? "st"
                         : ones == 2              ? "nd"
                         : ones == 3              ? "rd"
                                                  : "th";
    return QString::number(value) + QLatin1String(suffix);
}

}  // namespace

void RtfListTable::AddList(int id, std::vector<RtfListLevel> levels) {
    if (levels.size() > size_t(kMaxLevels)) levels.resize(size_t(kMaxLevels));
    FLists[id] = std::move(levels);
    FCounters.erase(id);
}

void RtfListTable::AddOverride(int number, int listId, const std::array<int, kMaxLevels>& startAt) {
    FOverrides[number] = Override{listId, startAt, false};
}

QString RtfListTable::FormatNumber(int value, int format) {
    switch (format) {
        case 1:
            return Roman(value, true);
        case 2:
            return Roman(value, false);
        case 3:
            return Letters(value, true);
        case 4:
            return Letters(value, false);
        case 5:
            return Ordinal(value);
        case 22:
            return value >= 0 && value < 10 ? QStringLiteral("0") + QString::number(value)
                                            : QString::number(value);
        case 23:
        case 255:
            return {};
        default:
            return QString::number(value);
    }
}

std::optional<RtfListTable::Label> RtfListTable::Next(int number, int level) {
    auto found = FOverrides.find(number);
    if (found == FOverrides.end()) return std::nullopt;
    Override& override = found->second;
    auto list = FLists.find(override.ListId);
    if (list == FLists.end()) return std::nullopt;
    const std::vector<RtfListLevel>& levels = list->second;
    level = std::clamp(level, 0, kMaxLevels - 1);
    if (size_t(level) >= levels.size()) return std::nullopt;
    Counter& counter = FCounters[override.ListId];
    if (!override.Used) {
        // The override's first paragraph starts the count again where it says so.
        override.Used = true;
        for (int l = 0; l < kMaxLevels; ++l) {
            if (override.StartAt[size_t(l)] < 0) continue;
            counter.Started[size_t(l)] = false;
            counter.StartFrom[size_t(l)] = override.StartAt[size_t(l)];
        }
    }
    const size_t at = size_t(level);
    if (!counter.Started[at]) {
        counter.Started[at] = true;
        counter.Value[at] = counter.StartFrom[at] >= 0 ? counter.StartFrom[at] : levels[at].StartAt;
        counter.StartFrom[at] = -1;
    } else {
        counter.Value[at] = std::min(counter.Value[at] + 1, kMaxCount);
    }
    // A paragraph at one level starts the levels below it afresh.
    for (size_t deeper = at + 1; deeper < levels.size(); ++deeper) {
        if (!levels[deeper].NoRestart) counter.Started[deeper] = false;
    }
    const RtfListLevel& own = levels[at];
    Label label{LabelText(levels, counter, level), own.Font};
    if (own.Follow == 0) label.Text += QChar(u'\t');
    if (own.Follow == 1) label.Text += QChar(u' ');
    return label;
}

QString RtfListTable::LabelText(const std::vector<RtfListLevel>& levels, const Counter& counter,
                                int level) {
    const RtfListLevel& own = levels[size_t(level)];
    const auto number = [&](int of) {
        const size_t l = size_t(of);
        if (of > level || l >= levels.size()) return QString();  // a level not counted yet
        const int value = counter.Started[l] ? counter.Value[l] : levels[l].StartAt;
        return FormatNumber(value, levels[l].Format);
    };
    if (!own.HasText || own.Text.empty()) {
        if (own.Format == 23) return QString(QChar(0x2022));
        if (own.Format == 255) return {};
        return number(level) + QChar(u'.');
    }
    // The first unit says how long the text is; anything beyond that is not the label's, nor
    // is the ";" that ends the group.
    size_t available = own.Text.size() - 1;
    if (available > 0 && own.Text.back() == u';') --available;
    const size_t length = std::min<size_t>(own.Text[0], available);
    QString out;
    for (size_t i = 1; i <= length; ++i) {
        const char16_t unit = own.Text[i];
        const bool placeholder =
            own.HasNumbers ? own.Numbers.find(char(i)) != std::string::npos : unit < kMaxLevels;
        if (placeholder) {
            if (unit < kMaxLevels) out += number(unit);
        } else if (unit >= 0x20) {
            out += QChar(unit);
        }
    }
    return out;
}

}  // namespace Rtf
