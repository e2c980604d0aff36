// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "platform/rtf/RtfTokenizer.h"

#include <climits>

namespace Rtf {
namespace {

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

RtfToken RtfTokenizer::Next() {
    // Line breaks in RTF carry no meaning outside \binN data.
    while (FPos < FInput.size() && (FInput[FPos] == '\r' || FInput[FPos] == '\n')) ++FPos;
    RtfToken token;
    if (FPos >= FInput.size()) return token;
    switch (FInput[FPos]) {
        case '{':
            ++FPos;
            token.kind = RtfToken::Kind::GroupOpen;
            return token;
        case '}':
            ++FPos;
            token.kind = RtfToken::Kind::GroupClose;
            return token;
        case '\\':
            FWordStart = FPos++;
            return ReadControl();
        default:
            return ReadText();
    }
}

RtfToken RtfTokenizer::ReadControl() {
    RtfToken token;
    if (FPos >= FInput.size()) return token;  // a lone backslash at the end
    char c = FInput[FPos];
    if (IsLetter(c)) return ReadWord();
    if (c == '\'') {
        ++FPos;
        return ReadHexByte();
    }
    ++FPos;
    if (c == '\r' || c == '\n') {
        // A backslash before a line break is a paragraph mark.
        token.kind = RtfToken::Kind::Word;
        token.text = "par";
        return token;
    }
    token.kind = RtfToken::Kind::Symbol;
    token.symbol = c;
    return token;
}

RtfToken RtfTokenizer::ReadWord() {
    RtfToken token;
    token.kind = RtfToken::Kind::Word;
    size_t start = FPos;
    while (FPos < FInput.size() && IsLetter(FInput[FPos])) ++FPos;
    size_t length = FPos - start;
    // An overlong word is kept unrecognisable rather than cut to a known one.
    token.text = FInput.substr(start, length <= kMaxWordLength ? length : kMaxWordLength + 1);

    bool negative = false;
    if (FPos + 1 < FInput.size() && FInput[FPos] == '-' && IsDigit(FInput[FPos + 1])) {
        negative = true;
        ++FPos;
    }
    if (FPos < FInput.size() && IsDigit(FInput[FPos])) {
        long long value = 0;
        while (FPos < FInput.size() && IsDigit(FInput[FPos])) {
            if (value <= INT_MAX) value = value * 10 + (FInput[FPos] - '0');
            ++FPos;
        }
        if (negative) value = -value;
        if (value > INT_MAX) value = INT_MAX;
        if (value < INT_MIN) value = INT_MIN;
        token.param = int(value);
        token.hasParam = true;
    }
    if (FPos < FInput.size() && FInput[FPos] == ' ') ++FPos;  // the delimiting space
    if (token.text == "bin") ReadBinary(token);
    return token;
}

void RtfTokenizer::ReadBinary(RtfToken& token) {
    size_t count = token.param > 0 ? size_t(token.param) : 0;
    if (count > FInput.size() - FPos) {
        count = FInput.size() - FPos;
        FCutBinaryWord = FWordStart;
        FCutBinaryData = FPos;
    }
    token.kind = RtfToken::Kind::Binary;
    token.text = FInput.substr(FPos, count);
    FPos += count;
}

RtfToken RtfTokenizer::ReadHexByte() {
    RtfToken token;
    int high = FPos < FInput.size() ? HexValue(FInput[FPos]) : -1;
    int low = FPos + 1 < FInput.size() ? HexValue(FInput[FPos + 1]) : -1;
    if (high < 0 || low < 0) {
        // A broken escape stands for nothing; what follows it is read as usual.
        if (high >= 0) ++FPos;
        token.kind = RtfToken::Kind::Symbol;
        token.symbol = '\'';
        return token;
    }
    FPos += 2;
    token.kind = RtfToken::Kind::HexByte;
    token.byte = uint8_t(high * 16 + low);
    return token;
}

RtfToken RtfTokenizer::ReadText() {
    RtfToken token;
    token.kind = RtfToken::Kind::Text;
    size_t start = FPos;
    while (FPos < FInput.size()) {
        char c = FInput[FPos];
        if (c == '\\' || c == '{' || c == '}' || c == '\r' || c == '\n') break;
        ++FPos;
    }
    token.text = FInput.substr(start, FPos - start);
    return token;
}

}  // namespace Rtf
