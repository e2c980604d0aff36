// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The line view's answers, worked out from a document and its display lines. Character
// positions count every paragraph break as the two characters CR LF, the way the texts that
// the control hands out show them; document positions count it as one.
#include <QString>
#include <QStringView>

#include "platform/richedit/LineTable.h"
#include "platform/richedit/RichEditTypes.h"
#include "platform/rtf/ParagraphPieces.h"

class QTextDocument;

namespace RichEdit {

// The document position of character position `cp`; a position inside a break is the break's,
// and one at a joint between pieces of a paragraph is the start of the later piece.
int DocPosFromChar(const QTextDocument& doc, int cp, const PieceJoints& joints);
// The character position of document position `docPos` (clamped to the document).
int CharPosFromDoc(const QTextDocument& doc, int docPos, const PieceJoints& joints);

// `raw` (a document's raw text) with CR LF for every paragraph break.
QString WithCrLfBreaks(QStringView raw);
// A line's text, with CR LF when a paragraph break ends it, cut to `capacity` characters without
// splitting a surrogate pair; empty when there is no such line. `raw` is the document's raw text.
QString LineText(const LineTable& lines, QStringView raw, int line, int capacity);
// The characters on the lines that `selection` touches which it does not cover.
int UnselectedOnLines(const LineTable& lines, CharRange selection);

}  // namespace RichEdit
