// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "tests/printing/PdfWords.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QXmlStreamReader>

namespace {
double Attribute(const QXmlStreamReader& xml, const char* name) {
    return xml.attributes().value(QLatin1String(name)).toDouble();
}
}  // namespace

std::vector<PdfPage> ReadPdfWords(const std::string& path) {
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-bbox"), QString::fromStdString(path), QStringLiteral("-")});
    if (!pdftotext.waitForFinished(120000) || pdftotext.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext could not read " << path << ": "
                      << pdftotext.readAllStandardError().toStdString();
        return {};
    }
    std::vector<PdfPage> pages;
    QXmlStreamReader xml(pdftotext.readAllStandardOutput());
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == QLatin1String("page")) {
            pages.push_back({Attribute(xml, "width"), Attribute(xml, "height"), {}});
        } else if (xml.name() == QLatin1String("word") && !pages.empty()) {
            PdfWord word;
            word.XMin = Attribute(xml, "xMin");
            word.YMin = Attribute(xml, "yMin");
            word.XMax = Attribute(xml, "xMax");
            word.YMax = Attribute(xml, "yMax");
            word.Text = xml.readElementText().toStdString();
            pages.back().Words.push_back(word);
        }
    }
    if (xml.hasError()) ADD_FAILURE() << "pdftotext output: " << xml.errorString().toStdString();
    return pages;
}
