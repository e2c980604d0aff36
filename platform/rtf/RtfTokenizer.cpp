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
    while (pos_ < input_.size() && (input_[pos_] == '\r' || input_[pos_] == '\n')) ++pos_;
    RtfToken token;
    if (pos_ >= input_.size()) return token;
    switch (input_[pos_]) {
        case '{':
            ++pos_;
            token.kind = RtfToken::Kind::GroupOpen;
            return token;
        case '}':
            ++pos_;
            token.kind = RtfToken::Kind::GroupClose;
            return token;
        case '\\':
            ++pos_;
            return ReadControl();
        default:
            return ReadText();
    }
}

RtfToken RtfTokenizer::ReadControl() {
    RtfToken token;
    if (pos_ >= input_.size()) return token;  // a lone backslash at the end
    char c = input_[pos_];
    if (IsLetter(c)) return ReadWord();
    if (c == '\'') {
        ++pos_;
        return ReadHexByte();
    }
    ++pos_;
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
    size_t start = pos_;
    while (pos_ < input_.size() && IsLetter(input_[pos_])) ++pos_;
    size_t length = pos_ - start;
    // An overlong word is kept unrecognisable rather than cut to a known one.
    token.text = input_.substr(start, length <= kMaxWordLength ? length : kMaxWordLength + 1);

    bool negative = false;
    if (pos_ + 1 < input_.size() && input_[pos_] == '-' && IsDigit(input_[pos_ + 1])) {
        negative = true;
        ++pos_;
    }
    if (pos_ < input_.size() && IsDigit(input_[pos_])) {
        long long value = 0;
        while (pos_ < input_.size() && IsDigit(input_[pos_])) {
            if (value <= INT_MAX) value = value * 10 + (input_[pos_] - '0');
            ++pos_;
        }
        if (negative) value = -value;
        if (value > INT_MAX) value = INT_MAX;
        if (value < INT_MIN) value = INT_MIN;
        token.param = int(value);
        token.hasParam = true;
    }
    if (pos_ < input_.size() && input_[pos_] == ' ') ++pos_;  // the delimiting space
    if (token.text == "bin") ReadBinary(token);
    return token;
}

void RtfTokenizer::ReadBinary(RtfToken& token) {
    size_t count = token.param > 0 ? size_t(token.param) : 0;
    if (count > input_.size() - pos_) count = input_.size() - pos_;
    token.kind = RtfToken::Kind::Binary;
    token.text = input_.substr(pos_, count);
    pos_ += count;
}

RtfToken RtfTokenizer::ReadHexByte() {
    RtfToken token;
    int high = pos_ < input_.size() ? HexValue(input_[pos_]) : -1;
    int low = pos_ + 1 < input_.size() ? HexValue(input_[pos_ + 1]) : -1;
    if (high < 0 || low < 0) {
        // A broken escape stands for nothing; what follows it is read as usual.
        if (high >= 0) ++pos_;
        token.kind = RtfToken::Kind::Symbol;
        token.symbol = '\'';
        return token;
    }
    pos_ += 2;
    token.kind = RtfToken::Kind::HexByte;
    token.byte = uint8_t(high * 16 + low);
    return token;
}

RtfToken RtfTokenizer::ReadText() {
    RtfToken token;
    token.kind = RtfToken::Kind::Text;
    size_t start = pos_;
    while (pos_ < input_.size()) {
        char c = input_[pos_];
        if (c == '\\' || c == '{' || c == '}' || c == '\r' || c == '\n') break;
        ++pos_;
    }
    token.text = input_.substr(start, pos_ - start);
    return token;
}

}  // namespace Rtf
