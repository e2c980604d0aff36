// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "platform/richedit/RichEditControl.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QPointer>
#include <QResizeEvent>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <algorithm>
#include <cmath>
#include <memory>
#include <new>

#include "platform/richedit/CharFormatMapping.h"
#include "platform/richedit/ContentStream.h"
#include "platform/richedit/FreeMemory.h"
#include "platform/richedit/LineQueries.h"
#include "platform/richedit/NoteMimeData.h"
#include "platform/richedit/UnbrokenRuns.h"
#include "platform/rtf/RtfWriter.h"

namespace RichEdit {

namespace {

constexpr int kDocumentMargin = 1;
// Qt's document layout takes a document without a page height, as the editor leaves it, for
// one page of 2^23 pixels (8,388,608), and its lazy layout stalls for good when a step resumes
// below that height and has to pass it. A page taller than a note of a million lines moves the
// edge out of reach, within the 2^25 pixels that Qt's fixed-point coordinates hold.
constexpr double kPageHeight = 32'000'000.0;
// Laid out in steps, a note goes past 21 million pixels without stalling (a million lines in
// 140-210 ms steps). Past about 21.4 million pixels Qt's editor loses the note's height however
// it is laid out (its scroll range falls to 0), and steps there start over without end as a
// scroll bar shown as needed comes and goes; a note estimated at 20 million pixels or more is
// therefore laid out whole at once: one long wait instead of a layout that never ends.
constexpr double kTallLayoutPixels = 20'000'000.0;
// Qt's lazy layout needs seconds to come near that height: the first screen is painted first.
constexpr int kTallLayoutFallbackMs = 100;
// Deferred format runs applied in one idle moment: a few milliseconds' work.
constexpr size_t kDeferredSliceRuns = 4000;
// A note of this many characters is laid out ahead while the program is idle, so that a jump
// to its end does not lay out megabytes in one go; each idle moment lays out pieces of
// kLayoutAheadChars, or an eighth as many characters as the note has paragraphs, for about
// kLayoutAheadMs. Each of Qt's layout steps costs some time for every paragraph of the note
// (90 ms for a million), so a note of many paragraphs takes larger steps. The timer waits a
// millisecond, so that timers due meanwhile (the clock) run between two steps.
constexpr int kLayOutAheadFromChars = 256 * 1024;
constexpr int kLayoutAheadChars = 16 * 1024;
// Once this much is laid out ahead, the height it took tells the note's height better than the
// estimate; laid out whole then, a note still passes the page height, which it does not once the
// steps have gone far.
constexpr int kLayoutAheadSampleChars = 256 * 1024;
constexpr qint64 kLayoutAheadMs = 8;
// Plain text inserted a slice of this many characters at a time: some 70 ms of Qt's work each.
// A note's own copy is held in slices of this many characters too.
constexpr qsizetype kInsertSliceChars = 256 * 1024;

// Where text from `from` to `to` is cut into slices of kInsertSliceChars; `at(i)` is the
// character at i. A cut never parts the two halves of a UTF-16 pair.
template <typename At>
std::vector<qsizetype> SliceEnds(qsizetype from, qsizetype to, At at) {
    std::vector<qsizetype> ends;
    while (from < to) {
        qsizetype end = std::min(to, from + kInsertSliceChars);
        if (end < to && at(end - 1).isHighSurrogate()) --end;
        ends.push_back(end);
        from = end;
    }
    return ends;
}

// What `doc` holds from `from` to `to`, in slices. `goOn`, when given, is called between two
// slices; when it answers false the slices made so far are returned.
std::vector<QTextDocumentFragment> SlicesOf(QTextDocument& doc, int from, int to,
                                            const std::function<bool()>& goOn = {}) {
    std::vector<QTextDocumentFragment> slices;
    QTextCursor c(&doc);
    c.setPosition(from);
    for (qsizetype end :
         SliceEnds(from, to, [&](qsizetype i) { return doc.characterAt(int(i)); })) {
        if (!slices.empty() && goOn && !goOn()) break;
        c.setPosition(int(end), QTextCursor::KeepAnchor);
        slices.push_back(c.selection());
        c.setPosition(int(end));
    }
    return slices;
}

// `text` with every CR LF, lone CR and lone LF as '\n', the document's paragraph break.
QString WithParagraphBreaks(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r') {
            out += u'\n';
            if (i + 1 < text.size() && text.at(i + 1) == u'\n') ++i;
        } else {
            out += c;
        }
    }
    return out;
}

// `text` (with '\n' breaks) cut so that it takes at most `room` positions; a break takes two.
QString CutToRoom(const QString& text, int room) {
    int used = 0;
    qsizetype i = 0;
    for (; i < text.size(); ++i) {
        const int cost = text.at(i) == u'\n' ? 2 : 1;
        if (used + cost > room) break;
        used += cost;
    }
    if (i > 0 && i < text.size() && text.at(i - 1).isHighSurrogate()) --i;
    return text.left(i);
}

}  // namespace

RichEditControl::RichEditControl(QWidget* parent) : QTextEdit(parent) {
    FScreenDpi = logicalDpiY() > 0 ? logicalDpiY() : 96;
    FBackground = QGuiApplication::palette().color(QPalette::Base);
    FDefaultFormat = DefaultFormatOf(font(), FScreenDpi);
    AttachDocument(NewDocument());
    connect(this, &QTextEdit::cursorPositionChanged, this, &RichEditControl::SelectionMaybeChanged);
    connect(this, &QTextEdit::selectionChanged, this, &RichEditControl::SelectionMaybeChanged);
    FDeferredTimer.setInterval(0);
    connect(&FDeferredTimer, &QTimer::timeout, this, &RichEditControl::ApplyDeferredSlice);
    FTallLayoutTimer.setSingleShot(true);
    connect(&FTallLayoutTimer, &QTimer::timeout, this, &RichEditControl::LayOutTallNote);
    FLayoutAheadTimer.setInterval(1);
    connect(&FLayoutAheadTimer, &QTimer::timeout, this, &RichEditControl::LayOutAheadStep);
    // What scrolls into view must show its formats.
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
            &RichEditControl::ApplyDeferredFormats);
    ApplyPalette();
}

RichEditControl::~RichEditControl() {
    ReleaseClipboard();
}

void RichEditControl::SetStreamBufferSize(int bytes) {
    FStreamBufferSize = std::max(4, bytes);
}

// ---------------------------------------------------------------------------------------------
// Streaming

// Builds the streamed content in a document of its own and only then hands it over: a stream
// that fails leaves the content untouched.
StreamResult RichEditControl::EmStreamIn(unsigned format, const StreamSource& source) {
    std::unique_ptr<QTextDocument> doc(NewDocument());
    const bool selection = format & SFF_SELECTION;
    // Text going into the selection is formatted whole; a new document only on its first
    // screen, so that it shows at once.
    DeferredFormats deferred;
    StreamResult result;
    // A long text is built a slice at a time, and the program's timers and painting run in
    // between (user input waits), so that a large note does not freeze the window while it
    // loads. Only the outermost load lets events run: one started meanwhile builds at once.
    ++FStreamInDepth;
    const bool outermost = FStreamInDepth == 1;
    result.Error =
        ReadContent(format, source, FStreamBufferSize / 2, *doc, selection ? nullptr : &deferred,
                    FirstScreenChars(), [outermost] {
                        if (outermost)
                            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
                    });
    --FStreamInDepth;
    if (result.Error) return result;
    if (selection) {
        ApplyDeferredFormats();
        const int before = EmGetTextLength();
        QTextCursor c = textCursor();
        InsertKeepingPieces(c, [&] { c.insertFragment(QTextDocumentFragment(doc.get())); });
        setTextCursor(c);
        result.Count = EmGetTextLength() - before;
        return result;
    }
    FBreakAnywhere = HasLongUnbrokenRun(*doc);
    FHasPieces = BreakLongParagraphs(*doc, &deferred) > 0;
    ++FQuiet;
    AttachDocument(doc.release());
    --FQuiet;
    FDeferred = std::move(deferred);
    if (!FDeferred.Empty()) FDeferredTimer.start();
    ContentChanged();
    result.Count = EmGetTextLength();
    return result;
}

StreamResult RichEditControl::EmStreamOut(unsigned format, const StreamSink& sink) const {
    std::string bytes;
    try {
        bytes = OutgoingBytes(format);
    } catch (const std::bad_alloc&) {
        return {0, ERROR_NOT_ENOUGH_MEMORY};
    }
    return WriteContent(bytes, sink, FStreamBufferSize);
}

std::string RichEditControl::OutgoingBytes(unsigned format) const {
    const QTextCursor c = textCursor();
    const bool selection = format & SFF_SELECTION;
    if (!(format & SF_RTF)) {
        const int from = selection ? c.selectionStart() : 0;
        const int to = selection ? c.selectionEnd() : int(RawText().size());
        return Joints().Empty() ? PlainTextUtf8(RawBetween(from, to))
                                : PlainTextUtf8(RawWithoutJoints(from, to));
    }
    ApplyDeferredFormats();
    if (!selection) return Rtf::Write(*document());
    QTextDocument part;
    part.setDefaultFont(document()->defaultFont());
    QTextCursor(&part).insertFragment(c.selection());
    return Rtf::Write(part);
}

// The raw text between two document positions (clamped to the text).
QStringView RichEditControl::RawBetween(int docStart, int docEnd) const {
    const QString& raw = RawText();
    docStart = std::clamp(docStart, 0, int(raw.size()));
    docEnd = std::clamp(docEnd, docStart, int(raw.size()));
    return QStringView(raw).mid(docStart, docEnd - docStart);
}

// The raw text between two document positions, without the joints between pieces.
QString RichEditControl::RawWithoutJoints(int docStart, int docEnd) const {
    return WithoutJoints(RawBetween(docStart, docEnd),
                         std::clamp(docStart, 0, int(RawText().size())), Joints());
}

// The text between two document positions, with CR LF for every paragraph break.
QString RichEditControl::TextBetween(int docStart, int docEnd) const {
    if (!Joints().Empty()) return WithCrLfBreaks(RawWithoutJoints(docStart, docEnd));
    return WithCrLfBreaks(RawBetween(docStart, docEnd));
}

const PieceJoints& RichEditControl::Joints() const {
    if (!FJointsValid) {
        FJoints = FHasPieces ? FindJoints(*document()) : PieceJoints{};
        FJointsValid = true;
    }
    return FJoints;
}

const QString& RichEditControl::RawText() const {
    if (!FRawTextValid) {
        FRawText = document()->toRawText();
        FRawTextValid = true;
    }
    return FRawText;
}

// ---------------------------------------------------------------------------------------------
// Positions and lines

int RichEditControl::ToDocPos(int cp) const {
    return DocPosFromChar(*document(), cp, Joints());
}

int RichEditControl::ToCharPos(int docPos) const {
    return CharPosFromDoc(*document(), docPos, Joints());
}

bool RichEditControl::Wrapped() const {
    return lineWrapMode() != NoWrap && document()->textWidth() > 0;
}

// Sends a hidden control the resize it has pending, so that its text width is the one it will
// be shown at.
void RichEditControl::SyncPendingGeometry() {
    for (QWidget* w : {static_cast<QWidget*>(this), viewport()}) {
        if (w->isVisible() || !w->testAttribute(Qt::WA_PendingResizeEvent)) continue;
        w->setAttribute(Qt::WA_PendingResizeEvent, false);
        QResizeEvent event(w->size(), QSize());
        QCoreApplication::sendEvent(w, &event);
    }
}

const LineTable& RichEditControl::Lines() {
    SyncPendingGeometry();
    // Laying out may show the scroll bar and so narrow the text: build again at the new width.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const double width = Wrapped() ? document()->textWidth() : -1;
        if (FLines.Valid() && width == FLinesWidth) break;
        if (width > 0) ApplyDeferredFormats();  // formats change how wide the text runs
        FLines.Build(*document(), width > 0, RawText(), Joints());
        FLinesWidth = width;
    }
    return FLines;
}

int RichEditControl::EmGetLineCount() {
    return Lines().Count();
}

int RichEditControl::EmLineIndex(int line) {
    const LineTable& t = Lines();
    if (line == -1) line = t.LineFromChar(ToCharPos(textCursor().position()));
    if (line < 0 || line >= t.Count()) return -1;
    return t.Start(line);
}

int RichEditControl::EmLineLength(int charIndex) {
    const LineTable& t = Lines();
    if (charIndex >= 0) return t.At(t.LineFromChar(charIndex)).Length;
    return UnselectedOnLines(t, EmExGetSel());
}

QString RichEditControl::EmGetLine(int line, int capacity) {
    return LineText(Lines(), RawText(), line, capacity);
}

int RichEditControl::EmExLineFromChar(int charIndex) {
    return Lines().LineFromChar(std::max(0, charIndex));
}

// ---------------------------------------------------------------------------------------------
// Selection and editing

CharRange RichEditControl::EmExGetSel() const {
    const QTextCursor c = textCursor();
    return {ToCharPos(c.selectionStart()), ToCharPos(c.selectionEnd())};
}

CharRange RichEditControl::EmExSetSel(CharRange range) {
    QTextCursor c = textCursor();
    if (range.cpMin < 0) {
        c.clearSelection();
    } else {
        const int length = EmGetTextLength();
        const int cpMax = range.cpMax < 0 || range.cpMax > length ? length : range.cpMax;
        const int anchor = ToDocPos(std::min(range.cpMin, length)), caret = ToDocPos(cpMax);
        // A cursor placed in a paragraph has it laid out, and every one before it.
        LayOutUpTo(std::max(anchor, caret));
        c.setPosition(anchor);
        c.setPosition(caret, QTextCursor::KeepAnchor);
    }
    setTextCursor(c);
    return EmExGetSel();
}

int RichEditControl::InsertedLength(const QString& text) {
    int length = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') ++i;
        length += c == u'\r' || c == u'\n' ? 2 : 1;
    }
    return length;
}

int RichEditControl::RoomFor(int replacedChars) const {
    return std::max(0, FTextLimit - (EmGetTextLength() - replacedChars));
}

void RichEditControl::EmReplaceSel(const QString& text) {
    ApplyDeferredFormats();
    const CharRange sel = EmExGetSel();
    const QString piece = CutToRoom(WithParagraphBreaks(text), RoomFor(sel.cpMax - sel.cpMin));
    QTextCursor c = textCursor();
    InsertKeepingPieces(c, [&] { c.insertText(piece); });
    setTextCursor(c);
}

QString RichEditControl::EmGetSelText() const {
    const QTextCursor c = textCursor();
    return TextBetween(c.selectionStart(), c.selectionEnd());
}

int RichEditControl::EmGetTextLength() const {
    const QTextDocument* doc = document();
    return doc->characterCount() - 1 + doc->blockCount() - 1 - 2 * int(Joints().Blocks.size());
}

// ---------------------------------------------------------------------------------------------
// Limits, notifications, formats

void RichEditControl::EmExLimitText(int limit) {
    FTextLimit = limit <= 0 ? kDefaultTextLimit : limit;
}

unsigned RichEditControl::EmSetEventMask(unsigned mask) {
    const unsigned old = FEventMask;
    FEventMask = mask;
    return old;
}

QColor RichEditControl::EmSetBkgndColor(bool useSystemColor, const QColor& color) {
    const QColor old = FBackground;
    FBackground = useSystemColor ? QGuiApplication::palette().color(QPalette::Base) : color;
    ApplyPalette();
    return old;
}

QFont RichEditControl::DefaultFont() const {
    return FontOf(FDefaultFormat, FScreenDpi);
}

void RichEditControl::ApplyDefaultFormat() {
    document()->setDefaultFont(DefaultFont());
    FLines.Invalidate();
    ApplyPalette();
    LayOutTallNoteSoon();
}

// Background, default text colour and, while hidden, the selection's colours.
void RichEditControl::ApplyPalette() {
    const QPalette system = QGuiApplication::palette();
    QPalette pal = palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const QColor text = FDefaultFormat.Effects & CFE_AUTOCOLOR
                                ? system.color(group, QPalette::Text)
                                : FromColorRef(FDefaultFormat.TextColor);
        pal.setColor(group, QPalette::Base, FBackground);
        pal.setColor(group, QPalette::Text, text);
        const bool hide = FHideSelection && !hasFocus();
        pal.setColor(group, QPalette::Highlight,
                     hide ? FBackground : system.color(group, QPalette::Highlight));
        pal.setColor(group, QPalette::HighlightedText,
                     hide ? text : system.color(group, QPalette::HighlightedText));
    }
    if (pal != palette()) setPalette(pal);
}

CharFormat RichEditControl::EmGetCharFormat(bool selection) const {
    if (!selection) {
        CharFormat f = FDefaultFormat;
        f.Mask = CFM_ALL;
        return f;
    }
    ApplyDeferredFormats();
    const QFont defaults = document()->defaultFont();
    const QColor autoColor = palette().color(QPalette::Text);
    auto describe = [&](const QTextCharFormat& fmt) {
        return DescribeFormat(fmt, defaults, FDefaultFormat, autoColor);
    };
    const QTextCursor c = textCursor();
    if (!c.hasSelection()) return describe(c.charFormat());
    QTextCursor first(document());
    first.setPosition(c.selectionStart() + 1);
    CharFormat r = describe(first.charFormat());
    // Attributes that differ somewhere in the selection are left out of the mask.
    const int start = c.selectionStart(), end = c.selectionEnd();
    for (QTextBlock b = document()->findBlock(start); b.isValid() && b.position() < end;
         b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            if (frag.position() + frag.length() <= start || frag.position() >= end) continue;
            r.Mask = CommonMask(r.Mask, r, describe(frag.charFormat()));
        }
    }
    return r;
}

bool RichEditControl::EmSetCharFormat(unsigned scf, const CharFormat& format) {
    if (!(scf & SCF_SELECTION)) {
        FDefaultFormat = MergedFormat(FDefaultFormat, format);
        ApplyDefaultFormat();
        return true;
    }
    ApplyDeferredFormats();
    const QTextCharFormat f = ToTextFormat(format);
    const bool autoColor = WantsAutoColor(format);
    ++FQuiet;
    QTextCursor c = textCursor();
    if (!c.hasSelection()) {
        QTextCharFormat current = c.charFormat();
        current.merge(f);
        if (autoColor) current.clearForeground();
        setCurrentCharFormat(current);
    } else {
        c.mergeCharFormat(f);
        if (autoColor) {
            // Clearing a property cannot be merged: set each fragment's format without it.
            const int start = c.selectionStart(), end = c.selectionEnd();
            QTextCursor edit(document());
            for (QTextBlock b = document()->findBlock(start); b.isValid() && b.position() < end;
                 b = b.next()) {
                for (auto it = b.begin(); !it.atEnd(); ++it) {
                    const QTextFragment frag = it.fragment();
                    const int s = std::max(start, frag.position());
                    const int e = std::min(end, frag.position() + frag.length());
                    if (s >= e) continue;
                    QTextCharFormat plain = frag.charFormat();
                    plain.clearForeground();
                    edit.setPosition(s);
                    edit.setPosition(e, QTextCursor::KeepAnchor);
                    edit.setCharFormat(plain);
                }
            }
        }
    }
    --FQuiet;
    FLines.Invalidate();
    return true;
}

ParaFormat RichEditControl::EmGetParaFormat() const {
    ParaFormat p;
    p.Mask = PFM_ALIGNMENT;
    p.Alignment = FromQtAlignment(textCursor().blockFormat().alignment());
    return p;
}

bool RichEditControl::EmSetParaFormat(const ParaFormat& format) {
    if (!(format.Mask & PFM_ALIGNMENT)) return true;
    const std::optional<Qt::Alignment> a = ToQtAlignment(format.Alignment);
    if (!a) return false;
    QTextBlockFormat f;
    f.setAlignment(*a);
    QTextCursor c = textCursor();
    if (FHasPieces) ExtendToWholeParagraphs(c);
    ++FQuiet;
    c.mergeBlockFormat(f);
    --FQuiet;
    FLines.Invalidate();
    return true;
}

void RichEditControl::EmHideSelection(bool hide) {
    FHideSelection = hide;
    ApplyPalette();
}

bool RichEditControl::EmGetModify() const {
    return document()->isModified();
}

void RichEditControl::EmSetModify(bool modified) {
    document()->setModified(modified);
}

void RichEditControl::WmSetText(const QString& text) {
    std::unique_ptr<QTextDocument> doc(NewDocument());
    doc->setPlainText(WithParagraphBreaks(text));
    FBreakAnywhere = HasLongUnbrokenRun(text);
    FHasPieces = BreakLongParagraphs(*doc, nullptr) > 0;
    ++FQuiet;
    AttachDocument(doc.release());
    --FQuiet;
    ContentChanged();
}

QString RichEditControl::WmGetText() const {
    return TextBetween(0, document()->characterCount() - 1);
}

void RichEditControl::WmSetRedraw(bool redraw) {
    FRedraw = redraw;
    viewport()->setUpdatesEnabled(redraw);
    if (redraw) viewport()->update();
}

// ---------------------------------------------------------------------------------------------
// Documents and notifications

QTextDocument* RichEditControl::NewDocument() {
    auto* doc = new QTextDocument(this);
    doc->setUndoRedoEnabled(false);
    doc->setDefaultFont(DefaultFont());
    doc->setDocumentMargin(kDocumentMargin);
    return doc;
}

void RichEditControl::AttachDocument(QTextDocument* doc) {
    // The editor frees the document it started with itself; ours are freed here.
    QPointer<QTextDocument> old = document();
    if (old) {
        disconnect(old, nullptr, this, nullptr);
        if (old->documentLayout()) disconnect(old->documentLayout(), nullptr, this, nullptr);
    }
    // No page yet: the document's layout, made now to connect to it, waits for the editor's
    // width instead of laying the text out once more without it.
    doc->setPageSize(QSizeF(0, 0));
    doc->setModified(false);
    FDeferred.Clear();
    FDeferredTimer.stop();
    FLayoutAheadTimer.stop();
    // Connected before the editor lays the document out, so that its first size is reported.
    FLastRequestedHeight = -1;
    connect(doc, &QTextDocument::contentsChange, this, &RichEditControl::DocumentChanged);
    connect(doc, &QTextDocument::contentsChanged, this, &RichEditControl::ContentChanged);
    connect(doc->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this,
            &RichEditControl::DocumentSizeChanged);
    // The editor's wrap mode must match the new document's, so that it does not lay it out again.
    QTextOption option = doc->defaultTextOption();
    option.setWrapMode(lineWrapMode() == NoWrap ? QTextOption::NoWrap : WrapModeWanted());
    doc->setDefaultTextOption(option);
    setDocument(doc);
    setWordWrapMode(WrapModeWanted());
    if (old && old != doc && old->parent() == this) delete old.data();
    // Changing the font lays the first screen out again: only when the editor changed it.
    if (doc->defaultFont() != DefaultFont()) doc->setDefaultFont(DefaultFont());
    doc->setUndoRedoEnabled(true);
    Invalidate();
    LayOutTallNoteSoon();
}

// Once the first screen is painted, or soon should no paint come, before Qt's lazy layout has
// taken many steps. Every cause of a fresh layout while one is pending comes to one layout.
void RichEditControl::LayOutTallNoteSoon() {
    KeepPageHeight();
    if (!FTallLayoutTimer.isActive()) FTallLayoutTimer.start(kTallLayoutFallbackMs);
}

// The editor sets the page to its width and no height whenever it lays the note out afresh.
void RichEditControl::KeepPageHeight() {
    QTextDocument* doc = document();
    const QSizeF page = doc->pageSize();
    if (page.width() > 0 && page.height() != kPageHeight)
        doc->setPageSize(QSizeF(page.width(), kPageHeight));
}

void RichEditControl::LayOutTallNote() {
    FTallLayoutTimer.stop();
    FLayoutAheadTimer.stop();
    QTextDocument* doc = document();
    if (doc->pageSize().isNull()) return;  // no width yet: nothing is laid out
    KeepPageHeight();
    if (EstimatedHeight() < kTallLayoutPixels) {
        // Laid out ahead from the top: where Qt has laid out already, the steps cost nothing.
        FLaidOutTo = 0;
        if (doc->characterCount() >= kLayOutAheadFromChars) FLayoutAheadTimer.start();
        return;
    }
    // The position of the last paragraph needs every one before it placed.
    doc->documentLayout()->blockBoundingRect(doc->lastBlock());
}

// Paragraphs or wrapped lines, whichever are more, at the default font's line height.
double RichEditControl::EstimatedHeight() const {
    const QTextDocument* doc = document();
    const QFontMetricsF metrics(DefaultFont());
    const double perLine =
        std::max(1.0, viewport()->width() / std::max(1.0, metrics.averageCharWidth()));
    const double lines = std::max(double(doc->blockCount()), doc->characterCount() / perLine);
    return lines * metrics.lineSpacing();
}

// Should the note prove taller than estimated (larger type), it is laid out whole while the
// steps have only just begun. What is laid out tells the height of the rest by its characters
// and by its paragraphs; the lower of the two, since numbered lines grow longer further down
// and long paragraphs are already counted by the estimate.
void RichEditControl::LayOutAheadStep() {
    KeepPageHeight();
    QTextDocument* doc = document();
    QAbstractTextDocumentLayout* layout = doc->documentLayout();
    const int end = doc->characterCount() - 1;
    QElapsedTimer spent;
    spent.start();
    while (FLaidOutTo < end && spent.elapsed() < kLayoutAheadMs) {
        const int before = FLaidOutTo;
        FLaidOutTo = std::min(end, FLaidOutTo + std::max(kLayoutAheadChars, doc->blockCount() / 8));
        const QTextBlock reached = doc->findBlock(FLaidOutTo);
        const double bottom = layout->blockBoundingRect(reached).bottom();
        const bool sampled =
            before < kLayoutAheadSampleChars && FLaidOutTo >= kLayoutAheadSampleChars;
        const double byChars = double(end) / FLaidOutTo;
        const double byParagraphs = double(doc->blockCount()) / (reached.blockNumber() + 1);
        if (sampled && bottom * std::min(byChars, byParagraphs) >= kTallLayoutPixels) {
            layout->blockBoundingRect(doc->lastBlock());
            FLaidOutTo = end;
        }
    }
    if (FLaidOutTo >= end) FLayoutAheadTimer.stop();
}

// Qt lays out everything up to where the caret goes at once: a jump ahead of the layout ahead
// (Ctrl+End, a selection to the end) would freeze the window for seconds. Instead the layout
// ahead goes on up to there, with the program's timers and painting running between its steps
// while user input waits, as during a load.
void RichEditControl::LayOutUpTo(int docPos) {
    if (FWaitingForLayout || FStreamInDepth > 0 || !LayoutPending()) return;
    // Before the first paint Qt has laid out the first screen, and no more can be relied on.
    if (docPos <= (FTallLayoutTimer.isActive() ? FirstScreenChars() : FLaidOutTo)) return;
    FWaitingForLayout = true;
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    const QPointer<QTextDocument> doc = document();
    if (FTallLayoutTimer.isActive()) LayOutTallNote();
    while (doc == document() && FLayoutAheadTimer.isActive() && FLaidOutTo < docPos) {
        LayOutAheadStep();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    QGuiApplication::restoreOverrideCursor();
    FWaitingForLayout = false;
}

QTextOption::WrapMode RichEditControl::WrapModeWanted() const {
    return FBreakAnywhere ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere;
}

// An edit that makes a stretch without white space too long switches to breaks anywhere for
// good; only the text around the change can have made one. A whole new content was judged
// before it came, and formats change no text.
void RichEditControl::WatchUnbrokenRuns(int from, int added) {
    if (FBreakAnywhere || FQuiet > 0 || added <= 0 || lineWrapMode() == NoWrap) return;
    QTextDocument* doc = document();
    const int start = std::max(0, from - kLongestUnbrokenRun);
    const int end = std::min(doc->characterCount() - 1, from + added + kLongestUnbrokenRun);
    if (!HasLongUnbrokenRun(*doc, start, end)) return;
    FBreakAnywhere = true;
    setWordWrapMode(WrapModeWanted());
    LayOutTallNoteSoon();
}

void RichEditControl::Invalidate() {
    FLines.Invalidate();
    FJointsValid = false;
    FRawTextValid = false;
    FRawText.clear();
}

void RichEditControl::DocumentChanged(int from, int removed, int added) {
    Invalidate();
    // Pieces come with the content that brings them, and with an undone edit of it.
    if (!FHasPieces && added > 0) {
        for (QTextBlock b = document()->findBlock(from + 1);
             b.isValid() && b.position() <= from + added && !FHasPieces; b = b.next())
            FHasPieces = ContinuesParagraph(b);
    }
    WatchUnbrokenRuns(from, added);
    // Every way of editing applies the deferred formats first; should one not, the runs still
    // follow their text.
    if (removed != added && !FDeferred.Empty()) FDeferred.Shift(from, removed, added);
}

// How many characters a loaded document gets formatted before it is shown: four times what the
// viewport holds in the default font, so that smaller text is covered as well.
int RichEditControl::FirstScreenChars() const {
    const QFontMetrics metrics(DefaultFont());
    const int columns = viewport()->width() / std::max(1, metrics.averageCharWidth()) + 1;
    const int rows = viewport()->height() / std::max(1, metrics.lineSpacing()) + 1;
    return std::max(4096, 4 * columns * rows);
}

void RichEditControl::ApplyDeferredFormats() const {
    if (FDeferred.Empty()) return;
    FDeferredTimer.stop();
    ++FQuiet;
    FDeferred.ApplyAll(*document());
    --FQuiet;
    FormatsApplied();
}

void RichEditControl::ApplyDeferredSlice() {
    ++FQuiet;
    FDeferred.ApplyNext(*document(), kDeferredSliceRuns);
    --FQuiet;
    if (FDeferred.Empty()) {
        FDeferredTimer.stop();
        FormatsApplied();
    }
}

// Formatting a large note outgrows the document's arrays, whose old copies the heap keeps.
void RichEditControl::FormatsApplied() const {
    if (document()->characterCount() >= kReturnMemoryFromChars) ReturnFreeMemory();
}

void RichEditControl::ContentChanged() {
    Invalidate();
    if (FQuiet > 0) return;
    if ((FEventMask & ENM_CHANGE) && OnNotifyChange) OnNotifyChange();
}

void RichEditControl::SelectionMaybeChanged() {
    const CharRange sel = EmExGetSel();
    if (sel == FLastSelection) return;
    FLastSelection = sel;
    if ((FEventMask & ENM_SELCHANGE) && OnNotifySelChange) OnNotifySelChange();
}

void RichEditControl::DocumentSizeChanged(const QSizeF& size) {
    if (!(FEventMask & ENM_REQUESTRESIZE) || !OnNotifyRequestResize) return;
    const int height = int(std::ceil(size.height())) + 2 * frameWidth();
    if (height == FLastRequestedHeight) return;
    FLastRequestedHeight = height;
    OnNotifyRequestResize(QRect(geometry().topLeft(), QSize(width(), height)));
}

bool RichEditControl::IsProtected(int docStart, int docEnd) const {
    if (docStart == docEnd) {
        // Typing is refused only inside protected text, not at its edges.
        QTextCursor before(document()), after(document());
        before.setPosition(docStart);
        after.setPosition(std::min(docStart + 1, document()->characterCount() - 1));
        return docStart > 0 && docStart + 1 < document()->characterCount() &&
               before.charFormat().boolProperty(kProtectedProperty) &&
               after.charFormat().boolProperty(kProtectedProperty);
    }
    for (QTextBlock b = document()->findBlock(docStart); b.isValid() && b.position() < docEnd;
         b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            if (frag.position() + frag.length() <= docStart || frag.position() >= docEnd) continue;
            if (frag.charFormat().boolProperty(kProtectedProperty)) return true;
        }
    }
    return false;
}

bool RichEditControl::AllowsEdit(int docStart, int docEnd) {
    if (!IsProtected(docStart, docEnd)) return true;
    if (!(FEventMask & ENM_PROTECTED) || !OnNotifyProtected) return false;
    return OnNotifyProtected(ToCharPos(docStart), ToCharPos(docEnd));
}

void RichEditControl::ReleaseClipboard() {
    if (!FClipboardData) return;
    QClipboard* clipboard = QGuiApplication::clipboard();
    const bool ours = clipboard && clipboard->mimeData() == FClipboardData;
    FClipboardData = nullptr;
    if (!ours) return;
    const bool keep =
        OnNotifySaveClipboard ? OnNotifySaveClipboard(FClipboardObjects, FClipboardChars) : true;
    if (!keep) clipboard->clear();
}

// ---------------------------------------------------------------------------------------------
// Qt events

namespace {

// Events after which the editor may read or change formats: typing, the mouse, menus and drops.
bool MayTouchFormats(QEvent::Type type) {
    switch (type) {
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride:
        case QEvent::InputMethod:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::ContextMenu:
        case QEvent::DragEnter:
        case QEvent::Drop:
            return true;
        default:
            return false;
    }
}

}  // namespace

bool RichEditControl::event(QEvent* event) {
    if (MayTouchFormats(event->type())) ApplyDeferredFormats();
    return QTextEdit::event(event);
}

bool RichEditControl::viewportEvent(QEvent* event) {
    if (MayTouchFormats(event->type())) ApplyDeferredFormats();
    const bool handled = QTextEdit::viewportEvent(event);
    if (event->type() == QEvent::Paint && FTallLayoutTimer.isActive()) FTallLayoutTimer.start(0);
    return handled;
}

void RichEditControl::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::MoveToEndOfDocument) ||
        event->matches(QKeySequence::SelectEndOfDocument) ||
        event->matches(QKeySequence::SelectAll))
        LayOutUpTo(document()->characterCount() - 1);
    if (isReadOnly()) {
        QTextEdit::keyPressEvent(event);
        return;
    }
    if (FHasPieces) StepOverJoint(*event);
    const QTextCursor c = textCursor();
    int start = c.selectionStart(), end = c.selectionEnd();
    const int key = event->key();
    const bool isBreak = key == Qt::Key_Return || key == Qt::Key_Enter;
    const bool isDelete =
        key == Qt::Key_Backspace || key == Qt::Key_Delete || event->matches(QKeySequence::Cut);
    QString typed = event->text();
    const bool isTyping =
        !isDelete && !typed.isEmpty() && (typed.at(0).isPrint() || typed.at(0) == u'\t' || isBreak);
    if (!isDelete && !isTyping) {
        QTextEdit::keyPressEvent(event);
        return;
    }
    if (isDelete && start == end) {
        if (key == Qt::Key_Backspace)
            start = std::max(0, start - 1);
        else
            end = std::min(end + 1, document()->characterCount() - 1);
    }
    if (!AllowsEdit(start, end)) {
        event->accept();
        return;
    }
    if (isTyping) {
        const QString piece = isBreak ? QStringLiteral("\n") : typed;
        if (InsertedLength(piece) >
            RoomFor(ToCharPos(c.selectionEnd()) - ToCharPos(c.selectionStart()))) {
            QApplication::beep();
            event->accept();
            return;
        }
    }
    QTextEdit::keyPressEvent(event);
    if (isBreak && FHasPieces) EndPiecesIn(*document(), start, start + 1);
}

// Inserted text (a paste, a drop, a replacement, a stream into the selection) from `at` to
// `end`: a paragraph break that came into a piece ends it, and a paragraph that it made too
// long is held in pieces, like a loaded one. Called inside the insertion's edit block, so that
// both are undone with it and Qt lays the paragraph out only in pieces.
void RichEditControl::KeepPiecesAfterInsert(int at, int end) {
    if (FHasPieces) EndPiecesIn(*document(), at, end);
    BreakLongParagraphsIn(*document(), at, end);
}

// `insert` puts text in at `c`'s selection: one edit block with the pieces kept, joined to the
// last undo step when `joinPrevious`.
void RichEditControl::InsertKeepingPieces(QTextCursor& c, const std::function<void()>& insert,
                                          bool joinPrevious) {
    const int at = c.selectionStart();
    if (joinPrevious)
        c.joinPreviousEditBlock();
    else
        c.beginEditBlock();
    insert();
    KeepPiecesAfterInsert(at, c.position());
    c.endEditBlock();
}

// A joint is no character: the keys that move over or delete one character act on the
// character beyond it, so that none of them seems to do nothing.
void RichEditControl::StepOverJoint(const QKeyEvent& event) {
    const int key = event.key();
    const bool extend = event.modifiers() & Qt::ShiftModifier;
    QTextCursor c = textCursor();
    if (c.hasSelection() && !extend) return;
    const auto mode = extend ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor;
    const int before = c.position();
    if (key == Qt::Key_Backspace || key == Qt::Key_Left) {
        while (c.position() == c.block().position() && ContinuesParagraph(c.block()))
            c.setPosition(c.position() - 1, mode);
    } else if (key == Qt::Key_Delete || key == Qt::Key_Right) {
        while (c.position() == c.block().position() + c.block().length() - 1 &&
               ContinuesParagraph(c.block().next()))
            c.setPosition(c.position() + 1, mode);
    }
    if (c.position() != before) setTextCursor(c);
}

void RichEditControl::insertFromMimeData(const QMimeData* source) {
    if (!source || isReadOnly()) return;
    ApplyDeferredFormats();
    const QTextCursor c = textCursor();
    if (!AllowsEdit(c.selectionStart(), c.selectionEnd())) return;
    const CharRange sel = EmExGetSel();
    const int room = RoomFor(sel.cpMax - sel.cpMin);
    const auto* own = dynamic_cast<const NoteMimeData*>(source);
    if (own && acceptRichText() && own->InsertedLength() <= room) {
        // A note's own copy goes back in as it is, without a round trip through HTML. Its
        // slices are shared, not referred to: the clipboard may delete the copy while events
        // run between two of them.
        const std::vector<QTextDocumentFragment> slices = own->Slices();
        InsertInSlices(qsizetype(slices.size()), [&](QTextCursor& edit, qsizetype i) {
            edit.insertFragment(slices[size_t(i)]);
        });
        return;
    }
    const QString plain = source->text();
    const bool fits = InsertedLength(plain) <= room;
    const bool rich = acceptRichText() && source->hasHtml();
    if (!fits || (!rich && plain.size() > kInsertSliceChars)) {
        // Plain text: cut to what fits when too long for the text limit.
        const QString text = WithParagraphBreaks(plain);
        InsertInSlices(fits ? text : CutToRoom(text, room));
        return;
    }
    // One edit block: one undo step, and Qt lays out what came in only once it is in pieces.
    const int at = c.selectionStart();
    QTextCursor step(document());
    step.beginEditBlock();
    QTextEdit::insertFromMimeData(source);
    KeepPiecesAfterInsert(at, textCursor().position());
    step.endEditBlock();
    ensureCursorVisible();
}

// Qt lays out what an edit block brought in when the block ends, in one call: 2.3 s for a
// 10 MB paste. Long text goes in a slice at a time instead (`insertSlice(c, i)` puts in slice
// i at c), with the program's timers and painting running in between while user input waits,
// each slice joined to the first one's undo step.
void RichEditControl::InsertInSlices(
    qsizetype count, const std::function<void(QTextCursor&, qsizetype)>& insertSlice) {
    const QPointer<QTextDocument> doc = document();
    QTextCursor c = textCursor();
    for (qsizetype i = 0; i < count; ++i) {
        if (i > 0 && !FDropping) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            if (doc != document()) return;  // a new note came meanwhile
        }
        InsertKeepingPieces(
            c, [&] { insertSlice(c, i); }, i > 0);
    }
    setTextCursor(c);
}

void RichEditControl::InsertInSlices(const QString& text) {
    const std::vector<qsizetype> ends =
        SliceEnds(0, text.size(), [&](qsizetype i) { return text.at(i); });
    InsertInSlices(qsizetype(ends.size()), [&](QTextCursor& c, qsizetype i) {
        const qsizetype from = i > 0 ? ends[size_t(i - 1)] : 0;
        c.insertText(text.mid(from, ends[size_t(i)] - from));
    });
}

QMimeData* RichEditControl::createMimeDataFromSelection() const {
    ApplyDeferredFormats();
    std::vector<QTextDocumentFragment> slices = CopySlices(true);
    const QString text = EmGetSelText();
    auto* copy = new NoteMimeData(std::move(slices), int(text.size()));
    FClipboardData = copy;
    FClipboardChars = int(text.size());
    FClipboardObjects = int(text.count(QChar::ObjectReplacementCharacter));
    // The clipboard deletes a copy once another takes its place: forget it then, so that an
    // object made later at the same address is not taken for it.
    connect(copy, &QObject::destroyed, this, [this, copy] {
        if (FClipboardData == copy) FClipboardData = nullptr;
    });
    return copy;
}

// The selection, in slices. Copying megabytes takes Qt seconds (1.7 s for 10 MB of lines), and
// Qt copies at every select all for the X11 selection too, so with `letEventsRun` a long
// selection is copied a slice at a time, with the program's timers and painting running in
// between while user input waits. Should the note change meanwhile (nothing the user does can
// change it then, but a timer or a drop from another program could), it is copied again in one go.
std::vector<QTextDocumentFragment> RichEditControl::CopySlices(bool letEventsRun) const {
    const QPointer<QTextDocument> doc = document();
    const QTextCursor c = textCursor();
    const int from = c.selectionStart(), to = c.selectionEnd();
    if (to - from <= kInsertSliceChars) letEventsRun = false;
    bool changed = false;
    QMetaObject::Connection watch;
    std::function<bool()> goOn;  // none: the slices follow each other without events
    if (letEventsRun) {
        watch = connect(doc, &QTextDocument::contentsChange, this, [&changed] { changed = true; });
        QGuiApplication::setOverrideCursor(Qt::BusyCursor);
        goOn = [&] {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            return doc == document() && !changed;
        };
    }
    std::vector<QTextDocumentFragment> slices;
    if (Joints().Before(to) > Joints().Before(from)) {
        // Other programs get the paragraphs whole, and so does a paste back, which splits them
        // again where it puts them.
        QTextDocument part;
        part.setDefaultFont(doc->defaultFont());
        QTextCursor end(&part);
        for (const QTextDocumentFragment& slice : SlicesOf(*doc, from, to, goOn))
            end.insertFragment(slice);
        if (doc == document() && !changed) {
            JoinPieces(part);
            slices = SlicesOf(part, 0, part.characterCount() - 1, goOn);
        }
    } else {
        slices = SlicesOf(*doc, from, to, goOn);
    }
    if (letEventsRun) {
        disconnect(watch);
        QGuiApplication::restoreOverrideCursor();
        if (doc != document() || changed) return CopySlices(false);
    }
    return slices;
}

// Qt's drop holds an edit block open around the insertion, so Qt lays out what came in only
// when the drop ends: the slices of a long drop go in without events between them, which would
// gain nothing and would paint a document whose layout has not yet heard of the change.
void RichEditControl::dropEvent(QDropEvent* event) {
    const QScopedValueRollback dropping(FDropping, true);
    QTextEdit::dropEvent(event);
}

void RichEditControl::resizeEvent(QResizeEvent* event) {
    QTextEdit::resizeEvent(event);
    KeepPageHeight();
    FLines.Invalidate();
    if (event->size().width() != event->oldSize().width()) LayOutTallNoteSoon();
}

void RichEditControl::changeEvent(QEvent* event) {
    QTextEdit::changeEvent(event);
    // The editor gives its document the widget's font; the default format decides here.
    if (event->type() == QEvent::FontChange) ApplyDefaultFormat();
}

void RichEditControl::focusInEvent(QFocusEvent* event) {
    QTextEdit::focusInEvent(event);
    ApplyPalette();
}

void RichEditControl::focusOutEvent(QFocusEvent* event) {
    QTextEdit::focusOutEvent(event);
    ApplyPalette();
}

}  // namespace RichEdit
