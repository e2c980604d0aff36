// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "platform/rtf/RtfKeyword.h"

#include <string>
#include <unordered_map>

namespace Rtf {
namespace {

using Table = std::unordered_map<std::string_view, RtfKeyword>;

Table BuildTable() {
    using K = RtfKeyword;
    Table t = {
        {"rtf", K::Rtf},
        {"ansi", K::Ansi},
        {"ansicpg", K::AnsiCodePage},
        {"mac", K::Mac},
        {"pc", K::Pc},
        {"pca", K::Pca},
        {"deff", K::DefaultFont},
        {"uc", K::UnicodeSkip},
        {"u", K::Unicode},
        {"fonttbl", K::FontTable},
        {"colortbl", K::ColourTable},
        {"stylesheet", K::StyleSheet},
        {"s", K::ParagraphStyle},
        {"cs", K::CharacterStyle},
        {"ds", K::OtherStyle},
        {"ts", K::OtherStyle},
        {"sbasedon", K::BasedOn},
        {"fldrslt", K::FieldResult},
        {"field", K::Field},
        {"fldinst", K::FieldInstruction},
        {"shp", K::Shape},
        {"shpgrp", K::Shape},
        {"shpinst", K::ShapeInstruction},
        {"shptxt", K::ShapeText},
        {"shprslt", K::ShapeResult},
        {"listtext", K::ListText},
        {"pntext", K::ListText},
        {"listtable", K::ListTable},
        {"listoverridetable", K::ListOverrideTable},
        {"list", K::List},
        {"listlevel", K::ListLevel},
        {"leveltext", K::LevelText},
        {"levelnumbers", K::LevelNumbers},
        {"listid", K::ListId},
        {"levelnfc", K::LevelNumberFormat},
        {"levelnfcn", K::LevelNumberFormat},
        {"levelstartat", K::LevelStartAt},
        {"levelfollow", K::LevelFollow},
        {"levelnorestart", K::LevelNoRestart},
        {"listoverride", K::ListOverride},
        {"lfolevel", K::OverrideLevel},
        {"listoverridestartat", K::OverrideStartAt},
        {"ls", K::ListNumber},
        {"ilvl", K::ListLevelNumber},
        {"f", K::Font},
        {"fcharset", K::FontCharset},
        {"cpg", K::FontCodePage},
        {"red", K::Red},
        {"green", K::Green},
        {"blue", K::Blue},
        {"plain", K::Plain},
        {"b", K::Bold},
        {"i", K::Italic},
        {"strike", K::Strike},
        {"striked", K::Strike},
        {"fs", K::FontSize},
        {"cf", K::ForeColour},
        {"highlight", K::Highlight},
        {"chcbpat", K::Highlight},  // a character's background, as some word processors mark
        {"cb", K::Highlight},
        {"v", K::Hidden},
        {"super", K::SuperScript},
        {"sub", K::SubScript},
        {"nosupersub", K::NoSuperSub},
        {"up", K::Up},
        {"dn", K::Down},
        {"ulnone", K::UnderlineNone},
        {"pard", K::ParagraphDefault},
        {"ql", K::AlignLeft},
        {"qr", K::AlignRight},
        {"qc", K::AlignCentre},
        {"qj", K::AlignJustify},
        {"li", K::LeftIndent},
        {"lin", K::LeftIndent},
        {"ri", K::RightIndent},
        {"rin", K::RightIndent},
        {"fi", K::FirstIndent},
        {"sb", K::SpaceBefore},
        {"sa", K::SpaceAfter},
        {"par", K::Paragraph},
        {"page", K::Page},
        {"pagebb", K::PageBreakBefore},
        {"sect", K::PageBreak},
        {"column", K::PageBreak},
        {"line", K::Line},
        {"softline", K::Line},
        {"tab", K::Tab},
        {"cell", K::Cell},
        {"nestcell", K::Cell},
        {"row", K::Row},
        {"nestrow", K::Row},
        {"emdash", K::EmDash},
        {"endash", K::EnDash},
        {"emspace", K::EmSpace},
        {"enspace", K::EnSpace},
        {"qmspace", K::QuarterEmSpace},
        {"bullet", K::Bullet},
        {"lquote", K::LeftQuote},
        {"rquote", K::RightQuote},
        {"ldblquote", K::LeftDoubleQuote},
        {"rdblquote", K::RightDoubleQuote},
        {"zwj", K::ZeroWidthJoiner},
        {"zwnj", K::ZeroWidthNonJoiner},
        {"ltrmark", K::LeftToRightMark},
        {"rtlmark", K::RightToLeftMark},
    };
    // Every kind of underline shows as the one underline the editor has.
    for (const char* word : {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhair",
                             "ulhwave", "ulldash", "ulth", "ulthd", "ulthdash", "ulthdashd",
                             "ulthdashdd", "ulthldash", "ululdbwave", "ulw", "ulwave"}) {
        t.emplace(word, K::Underline);
    }
    // Destinations whose content is not part of the text.
    for (const char* word :
         {"info",         "pict",        "header",    "headerl",     "headerr",
          "headerf",      "footer",      "footerl",   "footerr",     "footerf",
          "footnote",     "object",      "objdata",   "themedata",   "colorschememapping",
          "latentstyles", "datastore",   "xmlnstbl",  "generator",   "rsidtbl",
          "filetbl",      "revtbl",      "pgdsc",     "pgdsctbl",    "annotation",
          "atnid",        "atnauthor",   "bkmkstart", "bkmkend",     "txe",
          "xe",           "tc",          "template",  "userprops",   "docvar",
          "nonshppict",   "shppict",     "comment",   "private",     "ftnsep",
          "ftnsepc",      "ftncn",       "aftnsep",   "aftnsepc",    "aftncn",
          "pn",           "falt",        "panose",    "fontemb",     "fontfile",
          "mmathPr",      "listpicture", "author",    "operator",    "title",
          "subject",      "keywords",    "doccomm",   "company",     "creatim",
          "revtim",       "printim",     "buptim",    "protusertbl", "wgrffmtfilter",
          "background",   "bkmkstart",   "formfield", "datafield",   "ffdeftext",
          "ffname"}) {
        t.emplace(word, K::SkippedDestination);
    }
    return t;
}

}  // namespace

RtfKeyword LookUpKeyword(std::string_view word) {
    static const Table table = BuildTable();
    auto it = table.find(word);
    return it == table.end() ? RtfKeyword::Unknown : it->second;
}

}  // namespace Rtf
