// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Splits RTF bytes into groups, control words, control symbols, \'hh bytes and plain text.
#include <cstdint>
#include <string_view>

namespace Rtf {

struct RtfToken {
    enum class Kind { GroupOpen, GroupClose, Word, Symbol, HexByte, Text, Binary, End };
    Kind kind = Kind::End;
    // Word: the control word's letters (at most kMaxWordLength of them); Text: a run of plain
    // bytes without braces, backslashes or line breaks; Binary: the raw bytes of \binN.
    std::string_view text;
    int param = 0;  // saturated to the int range
    bool hasParam = false;
    char symbol = 0;   // Symbol
    uint8_t byte = 0;  // HexByte
};

class RtfTokenizer {
public:
    static constexpr size_t kMaxWordLength = 32;

    explicit RtfTokenizer(std::string_view input) : FInput(input) {}
    RtfToken Next();
    // Where the next token starts, and the whole input, for reading a stretch of it again.
    size_t Position() const { return FPos; }
    std::string_view Input() const { return FInput; }
    // Where the \binN word starts whose data the end of the input cut short (npos if none), and
    // where its data starts: a kept copy of such a group must count only the bytes there are.
    size_t CutBinaryWord() const { return FCutBinaryWord; }
    size_t CutBinaryData() const { return FCutBinaryData; }

private:
    RtfToken ReadControl();
    RtfToken ReadWord();
    RtfToken ReadHexByte();
    RtfToken ReadText();
    void ReadBinary(RtfToken& token);

    std::string_view FInput;
    size_t FPos = 0;
    size_t FWordStart = 0;
    size_t FCutBinaryWord = std::string_view::npos;
    size_t FCutBinaryData = 0;
};

}  // namespace Rtf
