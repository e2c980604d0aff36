// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The rich edit control of the note area, over QTextEdit: whole-content streaming through a
// callback record, the line view, selection editing, text limit, event mask, character and
// paragraph formats, background colour, modified flag, redraw and the notifications.
//
// Character positions count every paragraph break as the two characters CR LF, the way the
// texts that the control hands out show them. Lines are display lines: with wrapping on, the
// lines the layout breaks each paragraph into at the control's current width, of which only a
// paragraph's last carries the break.
#include <QColor>
#include <QString>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "platform/richedit/CharFormatMapping.h"
#include "platform/richedit/ContentStream.h"
#include "platform/richedit/LineTable.h"
#include "platform/richedit/RichEditTypes.h"
#include "platform/rtf/DeferredFormats.h"
#include "platform/rtf/ParagraphPieces.h"

class QMimeData;
class QTextCharFormat;

namespace RichEdit {

// The text limit of a new control, and of EmExLimitText(0).
constexpr int kDefaultTextLimit = 0x10000;

class RichEditControl : public QTextEdit {
    Q_OBJECT

public:
    explicit RichEditControl(QWidget* parent = nullptr);
    ~RichEditControl() override;

    // --- Streaming (platform/richedit/ContentStream.h) ---
    // Replaces the content (or with SFF_SELECTION the selection) with what the source
    // delivers, read as SF_RTF or SF_TEXT. On any failure the content stays as it was and the
    // result holds the error; otherwise it counts the characters taken in.
    StreamResult EmStreamIn(unsigned format, const StreamSource& source);
    // Hands the content (or the selection) to the sink as SF_RTF or SF_TEXT (UTF-8 with CR LF
    // breaks). The result counts the bytes the sink took.
    StreamResult EmStreamOut(unsigned format, const StreamSink& sink) const;
    // Stream-out hands the sink chunks of this size; stream-in asks its source for half as many
    // bytes at a time, so that files are read in the 2048-byte chunks they always were (in a
    // plain text a NUL byte ends the text of its chunk). 4096 unless changed, at least 4.
    int StreamBufferSize() const { return FStreamBufferSize; }
    void SetStreamBufferSize(int bytes);

    // --- Line view ---
    // Not const: the display lines need the text laid out at the width it is shown at, so a
    // hidden control first receives the resize it has pending and takes its deferred formats.
    int EmGetLineCount();
    // First character of a line; -1 for the caret's line; -1 when there is no such line.
    int EmLineIndex(int line);
    // Length of the line holding `charIndex`, without its break. With -1: the characters on
    // the selection's lines that are not selected.
    int EmLineLength(int charIndex);
    // A line's text, with CR LF when a paragraph break ends it, cut to `capacity` characters.
    QString EmGetLine(int line, int capacity);
    int EmExLineFromChar(int charIndex);

    // --- Selection and editing ---
    CharRange EmExGetSel() const;
    // cpMin -1 removes the selection; cpMax -1 (or beyond the end) selects to the end.
    CharRange EmExSetSel(CharRange range);
    // Replaces the selection with `text` (any of CR LF, CR, LF is a paragraph break), cut to
    // what the text limit leaves room for.
    void EmReplaceSel(const QString& text);
    QString EmGetSelText() const;
    int EmGetTextLength() const;
    // Length in character positions that `text` takes once inserted.
    static int InsertedLength(const QString& text);

    // --- Limits, notifications, look ---
    // Most characters the user or EmReplaceSel may bring the text to; 0 sets the default.
    void EmExLimitText(int limit);
    int EmGetLimitText() const { return FTextLimit; }
    unsigned EmGetEventMask() const { return FEventMask; }
    unsigned EmSetEventMask(unsigned mask);  // returns the old mask
    // Background colour; `useSystemColor` takes the system's window colour. Returns the old.
    QColor EmSetBkgndColor(bool useSystemColor, const QColor& color);
    QColor BackgroundColor() const { return FBackground; }
    CharFormat EmGetCharFormat(bool selection) const;
    bool EmSetCharFormat(unsigned scf, const CharFormat& format);
    ParaFormat EmGetParaFormat() const;
    bool EmSetParaFormat(const ParaFormat& format);
    void EmHideSelection(bool hide);
    bool EmGetModify() const;
    void EmSetModify(bool modified);
    // Replaces the whole content with plain text (no text limit applies); clears Modified.
    void WmSetText(const QString& text);
    QString WmGetText() const;
    void WmSetRedraw(bool redraw);
    bool RedrawEnabled() const { return FRedraw; }
    // Dots per inch of the screen, read once at construction.
    int ScreenLogPixelsY() const { return FScreenDpi; }
    // How many times the line table was built so far.
    int LineTableBuilds() const { return FLines.Builds(); }
    // After an RTF load, the formats past the first screen follow while the program is idle;
    // anything that reads or changes formats applies them all first. This does so now.
    void ApplyDeferredFormats() const;
    bool FormatsDeferred() const { return !FDeferred.Empty(); }
    // Whether a long note is still being laid out while the program is idle.
    bool LayoutPending() const {
        return FTallLayoutTimer.isActive() || FLayoutAheadTimer.isActive();
    }
    // Lays a note that may grow taller than Qt's layout can resume past out to its end in one
    // call, after the next paint; the owner calls it after anything that makes the editor lay
    // the note out afresh.
    void LayOutTallNoteSoon();

    // --- Notifications (each only while its event mask bit is set) ---
    std::function<void()> OnNotifyChange;                     // ENM_CHANGE
    std::function<void()> OnNotifySelChange;                  // ENM_SELCHANGE
    std::function<void(const QRect&)> OnNotifyRequestResize;  // ENM_REQUESTRESIZE
    // ENM_PROTECTED: an edit of protected text; answer true to allow it.
    std::function<bool(int cpMin, int cpMax)> OnNotifyProtected;
    // The control goes away while the clipboard holds its copy: answer true to leave it there.
    std::function<bool(int objectCount, int charCount)> OnNotifySaveClipboard;

    // Asks about the clipboard (EN_SAVECLIPBOARD) now; the owner calls it before it goes.
    void ReleaseClipboard();

protected:
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    QMimeData* createMimeDataFromSelection() const override;
    void dropEvent(QDropEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

    // Position conversions between character positions and the document's own.
    int ToDocPos(int cp) const;
    int ToCharPos(int docPos) const;
    const LineTable& Lines();
    // Where the note's long paragraphs are split into pieces (platform/rtf/ParagraphPieces.h).
    const PieceJoints& Joints() const;
    // The document's text as stored (paragraphs ending in U+2029), kept until it changes, so
    // that reading lines never moves a cursor, which would lay the text out.
    const QString& RawText() const;

private:
    void AttachDocument(QTextDocument* doc);
    QTextDocument* NewDocument();
    std::string OutgoingBytes(unsigned format) const;
    QStringView RawBetween(int docStart, int docEnd) const;
    QString TextBetween(int docStart, int docEnd) const;
    QString RawWithoutJoints(int docStart, int docEnd) const;
    void StepOverJoint(const QKeyEvent& event);
    void ApplyDefaultFormat();
    QFont DefaultFont() const;
    void ApplyPalette();
    void ContentChanged();
    void Invalidate();
    void DocumentChanged(int from, int removed, int added);
    int FirstScreenChars() const;
    void ApplyDeferredSlice();
    void FormatsApplied() const;
    void SelectionMaybeChanged();
    void DocumentSizeChanged(const QSizeF& size);
    bool AllowsEdit(int docStart, int docEnd);
    bool IsProtected(int docStart, int docEnd) const;
    int RoomFor(int replacedChars) const;
    void SyncPendingGeometry();
    bool Wrapped() const;
    QTextOption::WrapMode WrapModeWanted() const;
    void WatchUnbrokenRuns(int from, int added);
    void LayOutTallNote();
    void KeepPageHeight();
    double EstimatedHeight() const;
    void LayOutAheadStep();
    void LayOutUpTo(int docPos);
    void KeepPiecesAfterInsert(int at, int end);
    void InsertKeepingPieces(QTextCursor& c, const std::function<void()>& insert,
                             bool joinPrevious = false);
    void InsertInSlices(qsizetype count,
                        const std::function<void(QTextCursor&, qsizetype)>& insertSlice);
    void InsertInSlices(const QString& text);
    std::vector<QTextDocumentFragment> CopySlices(bool letEventsRun) const;

    mutable DeferredFormats FDeferred;
    mutable QTimer FDeferredTimer;   // applies the next slice of deferred formats while idle
    QTimer FTallLayoutTimer;         // a tall note's whole layout, after the next paint
    QTimer FLayoutAheadTimer;        // a long note's layout, a few milliseconds at a time
    int FLaidOutTo = 0;              // document position the layout ahead has reached
    bool FWaitingForLayout = false;  // a jump waits for the layout ahead, letting events run
    mutable LineTable FLines;
    mutable double FLinesWidth = -2;
    mutable QString FRawText;
    mutable bool FRawTextValid = false;
    mutable PieceJoints FJoints;
    mutable bool FJointsValid = false;
    bool FHasPieces = false;  // some paragraph may be held in pieces
    bool FDropping = false;   // inside Qt's drop, which holds an edit block open
    unsigned FEventMask = ENM_NONE;
    int FTextLimit = kDefaultTextLimit;
    int FStreamBufferSize = 4096;
    int FScreenDpi = 96;
    bool FRedraw = true;
    bool FHideSelection = true;
    // The note holds a stretch without white space too long to lay out at word boundaries
    // (platform/richedit/UnbrokenRuns.h): lines break anywhere until the whole content changes.
    bool FBreakAnywhere = false;
    int FStreamInDepth = 0;  // stream-ins under way (one may start while another lets events run)
    mutable int FQuiet = 0;  // >0 while changes must not send EN_CHANGE (formats, bulk replacement)
    QColor FBackground;
    CharFormat FDefaultFormat;
    CharRange FLastSelection;
    int FLastRequestedHeight = -1;
    mutable const QMimeData* FClipboardData = nullptr;
    mutable int FClipboardChars = 0;
    mutable int FClipboardObjects = 0;
};

}  // namespace RichEdit
