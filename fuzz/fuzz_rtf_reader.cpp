// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// Feeds arbitrary bytes to the RTF reader; whatever it loads is written back and read again,
// and the second reading must give the same paragraphs with the same formats and hidden text.
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextDocument>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/rtf/RtfDocumentProperties.h"
#include "platform/rtf/RtfReader.h"
#include "platform/rtf/RtfWriter.h"

namespace {

void Fail(const char* what, const std::string& rtf) {
    std::fprintf(stderr, "%s\n--- written RTF ---\n%s\n", what, rtf.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Text documents use fonts, which need the application object; no screen is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_rtf_reader";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    QTextDocument doc;
    if (!Rtf::Read(bytes, doc)) return 0;

    std::string written = Rtf::Write(doc);
    QTextDocument again;
    if (!Rtf::Read(written, again)) Fail("the writer's output is not RTF", written);
    if (again.blockCount() != doc.blockCount()) Fail("paragraph count changed", written);
    for (QTextBlock a = doc.begin(), b = again.begin(); a.isValid(); a = a.next(), b = b.next()) {
        if (a.text() != b.text()) Fail("paragraph text changed", written);
        const QTextBlockFormat fa = a.blockFormat(), fb = b.blockFormat();
        if ((fa.alignment() & Qt::AlignHorizontal_Mask) !=
            (fb.alignment() & Qt::AlignHorizontal_Mask)) {
            Fail("alignment changed", written);
        }
        if (fa.leftMargin() != fb.leftMargin() || fa.rightMargin() != fb.rightMargin() ||
            fa.textIndent() != fb.textIndent() || fa.topMargin() != fb.topMargin() ||
            fa.bottomMargin() != fb.bottomMargin()) {
            Fail("indents or spacing changed", written);
        }
        if (fa.stringProperty(Rtf::kHiddenTextAtEnd) != fb.stringProperty(Rtf::kHiddenTextAtEnd)) {
            Fail("hidden text at a paragraph's end changed", written);
        }
    }
    return 0;
}
