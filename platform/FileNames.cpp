#include "platform/FileNames.h"

#include <QChar>
#include <vector>

namespace {

// Bytes that do not start a valid UTF-8 sequence stand for themselves, above every character.
constexpr char32_t kRawByteBase = 0x110000;

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Decodes the character at s[i] and advances i; an invalid sequence yields one raw byte.
char32_t NextChar(const std::string& s, std::size_t& i) {
    auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
        ++i;
        return c;
    }
    int length = c < 0xC2 ? 0 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : c <= 0xF4 ? 4 : 0;
    if (length == 0 || i + length > s.size()) {
        ++i;
        return kRawByteBase + c;
    }
    char32_t cp = c & (0xFF >> (length + 1));
    for (int k = 1; k < length; ++k) {
        auto t = static_cast<unsigned char>(s[i + k]);
        if (!IsContinuation(t)) {
            ++i;
            return kRawByteBase + c;
        }
        cp = (cp << 6) | (t & 0x3F);
    }
    bool overlong = (length == 3 && cp < 0x800) || (length == 4 && cp < 0x10000);
    if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++i;
        return kRawByteBase + c;
    }
    i += length;
    return cp;
}

void AppendChar(std::string& out, char32_t cp) {
    if (cp >= kRawByteBase) {
        out += static_cast<char>(cp - kRawByteBase);
    } else if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char32_t Fold(char32_t cp) {
    if (cp < 0x80) return (cp >= 'A' && cp <= 'Z') ? cp + 32 : cp;
    if (cp >= kRawByteBase) return cp;
    return QChar::toCaseFolded(cp);
}

std::vector<char32_t> FoldedChars(const std::string& s) {
    std::vector<char32_t> out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) out.push_back(Fold(NextChar(s, i)));
    return out;
}

template <typename Map>
std::string MapChars(const std::string& s, Map map) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        char32_t cp = NextChar(s, i);
        AppendChar(out, cp >= kRawByteBase ? cp : map(cp));
    }
    return out;
}

bool IsDelimiter(char c) { return c == '\\' || c == ':'; }

// Position just after the last '\' or ':', 0 when there is none.
std::size_t NameStart(const std::string& s) {
    std::size_t p = s.find_last_of("\\:");
    return p == std::string::npos ? 0 : p + 1;
}

}  // namespace

std::string ExtractFileDrive(const std::string& fileName) {
    if (fileName.size() >= 2 && fileName[1] == ':') return fileName.substr(0, 2);
    if (fileName.size() >= 2 && fileName[0] == '\\' && fileName[1] == '\\') {
        std::size_t afterServer = fileName.find('\\', 2);
        if (afterServer == std::string::npos) return fileName;
        std::size_t afterShare = fileName.find('\\', afterServer + 1);
        return afterShare == std::string::npos ? fileName : fileName.substr(0, afterShare);
    }
    return {};
}

std::string ExtractFilePath(const std::string& fileName) {
    return fileName.substr(0, NameStart(fileName));
}

std::string ExtractFileDir(const std::string& fileName) {
    std::string dir = ExtractFilePath(fileName);
    if (dir.size() > 1 && dir.back() == '\\' && !IsDelimiter(dir[dir.size() - 2])) dir.pop_back();
    return dir;
}

std::string ExtractFileName(const std::string& fileName) {
    return fileName.substr(NameStart(fileName));
}

std::string ExtractFileExt(const std::string& fileName) {
    std::size_t dot = fileName.find_last_of('.');
    if (dot == std::string::npos || dot < NameStart(fileName)) return {};
    return fileName.substr(dot);
}

int AnsiCompareFileName(const std::string& a, const std::string& b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        char32_t ca = Fold(NextChar(a, i));
        char32_t cb = Fold(NextChar(b, j));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}

std::string AnsiLowerCaseFileName(const std::string& s) {
    return MapChars(s, [](char32_t cp) { return QChar::toLower(cp); });
}

std::string AnsiUpperCaseFileName(const std::string& s) {
    return MapChars(s, [](char32_t cp) { return QChar::toUpper(cp); });
}

bool MatchesMask(const std::string& name, const std::string& mask) {
    if (mask == "*" || mask == "*.*") return true;
    std::vector<char32_t> n = FoldedChars(name);
    std::vector<char32_t> m = FoldedChars(mask);
    // Greedy match that backtracks only to the latest '*': linear in practice, never
    // exponential.
    std::size_t i = 0, j = 0, star = std::string::npos, mark = 0;
    while (i < n.size()) {
        if (j < m.size() && m[j] == U'*') {
            star = j++;
            mark = i;
        } else if (j < m.size() && (m[j] == U'?' || m[j] == n[i])) {
            ++i;
            ++j;
        } else if (star != std::string::npos) {
            j = star + 1;
            i = ++mark;
        } else {
            return false;
        }
    }
    while (j < m.size() && m[j] == U'*') ++j;
    return j == m.size();
}
