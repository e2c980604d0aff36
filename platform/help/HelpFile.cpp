// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "platform/help/HelpFile.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr std::string_view kMagic = "QUILLET HELP 1";

[[noreturn]] void Fail(int line, const std::string& what) {
    throw EHelpFileError("line " + std::to_string(line) + ": " + what);
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

bool ValidId(std::string_view id) {
    if (id.empty() || id.size() > 64) return false;
    return std::all_of(id.begin(), id.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
    });
}

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool ValidUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        int extra = 0;
        unsigned min = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1, min = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2, min = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3, min = 0x10000;
        } else {
            return false;
        }
        if (i + std::size_t(extra) >= s.size()) return false;
        unsigned code = c & (0x3Fu >> extra);
        for (int k = 1; k <= extra; ++k) {
            const auto b = static_cast<unsigned char>(s[i + std::size_t(k)]);
            if ((b & 0xC0) != 0x80) return false;
            code = (code << 6) | (b & 0x3F);
        }
        if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += std::size_t(extra) + 1;
    }
    return true;
}

struct Link {
    std::string Target;
    std::string Words;
    std::size_t End;  // just past "]]"
};

// The link starting at `at` ("[[" already seen), or Target empty when the brackets never close.
Link ReadLink(std::string_view line, std::size_t at) {
    const std::size_t close = line.find("]]", at + 2);
    if (close == std::string_view::npos) return {};
    const std::string_view inside = line.substr(at + 2, close - at - 2);
    const std::size_t bar = inside.find('|');
    Link link;
    link.Target = std::string(Trim(inside.substr(0, bar)));
    link.Words = std::string(bar == std::string_view::npos ? std::string_view()
                                                           : Trim(inside.substr(bar + 1)));
    link.End = close + 2;
    return link;
}

void CheckLinks(const THelpDocument& doc) {
    for (const THelpTopic& topic : doc.Topics)
        for (std::size_t n = 0; n < topic.Lines.size(); ++n) {
            const std::string& line = topic.Lines[n];
            for (std::size_t at = line.find("[["); at != std::string::npos;) {
                const Link link = ReadLink(line, at);
                const int number = topic.LineNumber + int(n) + 1;
                if (link.Target.empty())
                    Fail(number, "a link without a topic id or without \"]]\"");
                if (doc.Find(link.Target) < 0)
                    Fail(number, "link to a topic that does not exist: " + link.Target);
                at = line.find("[[", link.End);
            }
        }
}

std::string Escape(std::string_view s) {
    std::string out;
    for (char c : s) {
        switch (c) {
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '&':
                out += "&amp;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string InlineHtml(const THelpDocument& doc, std::string_view line) {
    std::string out;
    std::size_t from = 0;
    for (std::size_t at = line.find("[["); at != std::string_view::npos;
         at = line.find("[[", from)) {
        const Link link = ReadLink(line, at);
        const int topic = link.Target.empty() ? -1 : doc.Find(link.Target);
        if (topic < 0) break;
        out += Escape(line.substr(from, at - from));
        const std::string& words =
            link.Words.empty() ? doc.Topics[std::size_t(topic)].Title : link.Words;
        out += "<a href=\"#" + link.Target + "\">" + Escape(words) + "</a>";
        from = link.End;
    }
    return out + Escape(line.substr(from));
}

}  // namespace

int THelpDocument::Find(std::string_view id) const {
    for (std::size_t i = 0; i < Topics.size(); ++i)
        if (Topics[i].Id == id) return int(i);
    return -1;
}

std::vector<THelpIndexEntry> THelpDocument::Index() const {
    std::vector<THelpIndexEntry> index;
    for (std::size_t i = 0; i < Topics.size(); ++i)
        for (const std::string& k : Topics[i].Keywords) index.push_back({k, int(i)});
    auto lower = [](const std::string& s) {
        std::string l = s;
        for (char& c : l) c = char(std::tolower(static_cast<unsigned char>(c)));
        return l;
    };
    std::stable_sort(index.begin(), index.end(), [&](const auto& a, const auto& b) {
        return lower(a.Keyword) < lower(b.Keyword);
    });
    // Entries of one keyword stand together now; any two of them for different topics mark the
    // whole run, so that the index can say which topic each leads to.
    for (std::size_t run = 0; run < index.size();) {
        std::size_t end = run + 1;
        while (end < index.size() && lower(index[end].Keyword) == lower(index[run].Keyword)) ++end;
        const bool shared =
            std::any_of(index.begin() + std::ptrdiff_t(run), index.begin() + std::ptrdiff_t(end),
                        [&](const auto& e) { return e.Topic != index[run].Topic; });
        for (std::size_t i = run; i < end; ++i) index[i].Shared = shared;
        run = end;
    }
    return index;
}

THelpDocument ParseHelpFile(std::string_view bytes) {
    if (bytes.size() > kMaxHelpFileSize) throw EHelpFileError("the help file is too large");
    if (StartsWith(bytes, "\xEF\xBB\xBF")) bytes.remove_prefix(3);
    if (!ValidUtf8(bytes)) throw EHelpFileError("the help file is not UTF-8 text");
    THelpDocument doc;
    std::string book;
    THelpTopic* topic = nullptr;
    int number = 0;
    for (std::size_t start = 0; start <= bytes.size();) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        const std::string_view raw = bytes.substr(start, end - start);
        start = end + 1;
        ++number;
        const std::string_view line = Trim(raw);
        if (number == 1) {
            if (line != kMagic)
                Fail(1, "not a Quillet help file (it must begin with \"QUILLET HELP 1\")");
            continue;
        }
        if (StartsWith(line, ";")) continue;
        if (StartsWith(line, "==")) {
            const std::string_view header = Trim(line.substr(2));
            const std::size_t colon = header.find(':');
            const std::string_view id = Trim(header.substr(0, colon));
            const std::string_view title = colon == std::string_view::npos
                                               ? std::string_view()
                                               : Trim(header.substr(colon + 1));
            if (!ValidId(id))
                Fail(number, "a topic needs an id of a-z, 0-9, \"-\", \"_\" or \".\"");
            if (title.empty()) Fail(number, "the topic " + std::string(id) + " has no title");
            if (doc.Find(id) >= 0)
                Fail(number, "the topic id " + std::string(id) + " is used twice");
            doc.Topics.push_back({std::string(id), std::string(title), book, {}, {}, number});
            topic = &doc.Topics.back();
        } else if (StartsWith(line, "=")) {
            book = std::string(Trim(line.substr(1)));
            if (book.empty()) Fail(number, "a book needs a title");
            topic = nullptr;
        } else if (StartsWith(line, "K:")) {
            if (!topic) Fail(number, "index keywords outside a topic");
            std::string_view rest = line.substr(2);
            while (!rest.empty()) {
                const std::size_t semi = rest.find(';');
                const std::string_view k = Trim(rest.substr(0, semi));
                if (!k.empty()) topic->Keywords.emplace_back(k);
                rest = semi == std::string_view::npos ? std::string_view() : rest.substr(semi + 1);
            }
        } else if (!topic && StartsWith(line, "Title:") && doc.Topics.empty() && book.empty()) {
            doc.Title = std::string(Trim(line.substr(6)));
        } else if (topic) {
            topic->Lines.emplace_back(line);
        } else if (!line.empty()) {
            Fail(number, "text outside a topic");
        }
    }
    if (number == 0 || doc.Topics.empty()) throw EHelpFileError("the help file has no topics");
    for (THelpTopic& t : doc.Topics)
        while (!t.Lines.empty() && t.Lines.back().empty()) t.Lines.pop_back();
    CheckLinks(doc);
    return doc;
}

std::string TopicHtml(const THelpDocument& doc, const THelpTopic& topic) {
    std::string html = "<h2>" + Escape(topic.Title) + "</h2>\n";
    std::string paragraph;
    bool inList = false;
    auto flush = [&] {
        if (!paragraph.empty()) html += "<p>" + paragraph + "</p>\n";
        paragraph.clear();
    };
    for (const std::string& line : topic.Lines) {
        const bool item = StartsWith(line, "- ");
        if (line.empty() || item) flush();
        if (inList && !item) {
            html += "</ul>\n";
            inList = false;
        }
        if (item) {
            if (!inList) html += "<ul>\n";
            inList = true;
            html += "<li>" + InlineHtml(doc, std::string_view(line).substr(2)) + "</li>\n";
        } else if (!line.empty()) {
            if (!paragraph.empty()) paragraph += ' ';
            paragraph += InlineHtml(doc, line);
        }
    }
    flush();
    if (inList) html += "</ul>\n";
    return html;
}
