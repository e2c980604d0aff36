// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Maps keyed by UTF-16 text that are looked up with a view of the text, so that a look-up does
// not copy it: the line prediction keeps its measurements this way, per piece of text.
#include <QStringView>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace RichEdit {

struct TextKeyHash {
    using is_transparent = void;
    std::size_t operator()(std::u16string_view s) const noexcept {
        return std::hash<std::u16string_view>{}(s);
    }
};

struct TextKeyEqual {
    using is_transparent = void;
    bool operator()(std::u16string_view a, std::u16string_view b) const noexcept { return a == b; }
};

template <typename T>
using TextKeyMap = std::unordered_map<std::u16string, T, TextKeyHash, TextKeyEqual>;

inline std::u16string_view TextKey(QStringView text) {
    return {reinterpret_cast<const char16_t*>(text.data()), std::size_t(text.size())};
}

}  // namespace RichEdit
