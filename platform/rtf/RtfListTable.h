// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The lists of an RTF document (\listtable and \listoverridetable): how each level numbers its
// paragraphs, and the running count that gives each list paragraph its label ("1.", "iv)",
// "1.2.", a bullet).
#include <QString>
#include <array>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace Rtf {

struct RtfListLevel {
    // Numbering style (\levelnfcN): 0 decimal, 1 and 2 upper and lower Roman, 3 and 4 upper and
    // lower letter, 5 ordinal, 22 decimal with a leading zero, 23 bullet, 255 none.
    int Format = 0;
    int StartAt = 1;
    int Follow = 0;  // what follows the label: 0 a tab, 1 a space, 2 nothing
    bool NoRestart = false;
    // \leveltext: its first unit is the length, then the label's characters, in which a unit
    // below 9 stands for the number of that level, unless \levelnumbers says where numbers go.
    bool HasText = false;
    std::u16string Text;
    bool HasNumbers = false;
    std::string Numbers;  // the positions in Text of the level numbers
    int Font = -1;        // the label's font; -1: the paragraph's
};

class RtfListTable {
public:
    static constexpr int kMaxLevels = 9;
    static constexpr size_t kMaxLevelText = 64;
    static constexpr int kMaxCount = 999999;

    void AddList(int id, std::vector<RtfListLevel> levels);
    // `startAt`: per level, where the list's count starts again at this override's first
    // paragraph; -1 where it goes on.
    void AddOverride(int number, int listId, const std::array<int, kMaxLevels>& startAt);

    struct Label {
        QString Text;  // with what follows it
        int Font = -1;
    };
    // Counts a paragraph of the list that override `number` names, at `level`, and gives its
    // label; none when the override, its list or the level is missing.
    std::optional<Label> Next(int number, int level);

    static QString FormatNumber(int value, int format);

private:
    struct Counter {
        std::array<int, kMaxLevels> Value{};
        std::array<bool, kMaxLevels> Started{};
        std::array<int, kMaxLevels> StartFrom;  // a pending restart, or -1
        Counter() { StartFrom.fill(-1); }
    };
    struct Override {
        int ListId;
        std::array<int, kMaxLevels> StartAt;
        bool Used = false;
    };

    QString LabelText(const std::vector<RtfListLevel>& levels, const Counter& counter, int level);

    std::unordered_map<int, std::vector<RtfListLevel>> FLists;
    std::unordered_map<int, Override> FOverrides;
    std::unordered_map<int, Counter> FCounters;  // by list: overrides of one list count on
};

}  // namespace Rtf
