#include "notes/TRichEditStrings.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "notes/TConversionFormat.h"
#include "notes/TCustomRichEdit.h"
#include "notes/TFileStream.h"
#include "notes/TReplacingFileStream.h"
#include "platform/system/Exception.h"
#include "platform/system/FileNames.h"

namespace {

// What a stream callback's cookie leads to.
struct StreamCookie {
    TConversion* Converter;
    TStream* Stream;
    // A CR that ended the previous chunk: its break is decided by the next chunk's first byte.
    bool PendingCR = false;
    // The read bytes and the text made of them, kept from call to call.
    std::vector<char> Chunk, Text;
};

QString ToQ(const std::string& s) {
    return QString::fromStdString(s);
}

// The lines of a text: broken at CR LF, CR or LF; a final break does not start another line.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

}  // namespace

TRichEditStrings::TRichEditStrings(TCustomRichEdit* richEdit) : FRichEdit(richEdit) {}

TRichEditStrings::~TRichEditStrings() = default;

// ---------------------------------------------------------------------------------------------
// Lines

std::string TRichEditStrings::LineAt(int index) const {
    FRichEdit->HandleNeeded();
    QString line = FRichEdit->EmGetLine(index, kMaxLineLength);
    if (line.size() >= 2 && line.endsWith(QStringLiteral("\r\n"))) line.chop(2);
    return line.toStdString();
}

int TRichEditStrings::LineCount() const {
    FRichEdit->HandleNeeded();
    const int n = FRichEdit->EmGetLineCount();
    const int s = FRichEdit->EmLineIndex(n - 1);
    return FRichEdit->EmLineLength(s) == 0 ? n - 1 : n;
}

void TRichEditStrings::ReplaceLine(int index, const std::string& text) {
    if (index < 0) return;
    FRichEdit->HandleNeeded();
    const int s = FRichEdit->EmLineIndex(index);
    if (s == -1) return;
    FRichEdit->EmExSetSel({s, s + FRichEdit->EmLineLength(s)});
    FRichEdit->EmReplaceSel(ToQ(text));
}

void TRichEditStrings::InsertLine(int index, const std::string& text) {
    if (index < 0) return;
    FRichEdit->HandleNeeded();
    QString piece;
    int at;
    const int s = FRichEdit->EmLineIndex(index);
    if (s >= 0) {
        piece = ToQ(text) + QStringLiteral("\r\n");
        at = s;
    } else {
        const int p = FRichEdit->EmLineIndex(index - 1);
        if (p < 0) return;
        const int length = FRichEdit->EmLineLength(p);
        if (length == 0) return;
        piece = QStringLiteral("\r\n") + ToQ(text);
        at = p + length;
    }
    FRichEdit->EmExSetSel({at, at});
    FRichEdit->EmReplaceSel(piece);
    if (FRichEdit->EmExGetSel().cpMin != at + RichEdit::RichEditControl::InsertedLength(piece))
        throw EOutOfResources("RichEdit line insertion error");
}

void TRichEditStrings::DeleteLine(int index) {
    if (index < 0) return;
    FRichEdit->HandleNeeded();
    const int s = FRichEdit->EmLineIndex(index);
    if (s == -1) return;
    int e = FRichEdit->EmLineIndex(index + 1);
    if (e == -1) e = s + FRichEdit->EmLineLength(s);
    FRichEdit->EmExSetSel({s, e});
    FRichEdit->EmReplaceSel(QString());
}

void TRichEditStrings::ClearLines() {
    FRichEdit->Clear();
}

void TRichEditStrings::SetUpdating(bool updating) {
    if (FRichEdit->isVisible()) FRichEdit->WmSetRedraw(!updating);
    if (updating) return;
    if (FRichEdit->isVisible()) FRichEdit->viewport()->repaint();
    FRichEdit->Change();
}

void TRichEditStrings::BeginUpdate() {
    if (FUpdateCount++ == 0) SetUpdating(true);
}

void TRichEditStrings::EndUpdate() {
    if (--FUpdateCount == 0) SetUpdating(false);
}

// Clearing and adding line by line would lay the text out again for every line; inserting the
// lines, each with its break, in one piece gives the same text.
void TRichEditStrings::SetAllText(const std::string& text) {
    FRichEdit->HandleNeeded();
    const unsigned mask = FRichEdit->EmGetEventMask();
    FRichEdit->EmSetEventMask(mask & ~RichEdit::ENM_CHANGE);
    struct Restore {
        TRichEditStrings* self;
        unsigned mask;
        ~Restore() { self->FRichEdit->EmSetEventMask(mask); }
    } restore{this, mask};
    BeginUpdate();
    try {
        ClearLines();
        QString all;
        for (const std::string& line : SplitLines(text)) all += ToQ(line) + QStringLiteral("\r\n");
        FRichEdit->EmExSetSel({0, 0});
        FRichEdit->EmReplaceSel(all);
        if (FRichEdit->EmExGetSel().cpMin != RichEdit::RichEditControl::InsertedLength(all))
            throw EOutOfResources("RichEdit line insertion error");
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TRichEditStrings::AppendLines(const TRichEditStrings& other) {
    AppendLines(other.ToVector());
}

void TRichEditStrings::AppendLines(const std::vector<std::string>& lines) {
    TNotifyEvent selectionChange = FRichEdit->OnSelectionChange;
    FRichEdit->OnSelectionChange = nullptr;
    struct Restore {
        TCustomRichEdit* edit;
        TNotifyEvent handler;
        ~Restore() { edit->OnSelectionChange = handler; }
    } restore{FRichEdit, selectionChange};
    BeginUpdate();
    try {
        for (const std::string& line : lines) Add(line);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

std::vector<std::string> TRichEditStrings::ToVector() const {
    std::vector<std::string> lines;
    const int n = LineCount();
    lines.reserve(size_t(std::max(n, 0)));
    for (int i = 0; i < n; ++i) lines.push_back(LineAt(i));
    return lines;
}

std::string TRichEditStrings::Text() const {
    std::string text;
    for (const std::string& line : ToVector()) text += line + "\r\n";
    return text;
}

void TRichEditStrings::Assign(const TRichEditStrings& other) {
    if (&other == this) return;
    std::string text;
    for (const std::string& line : other.ToVector()) text += line + "\r\n";
    SetAllText(text);
}

// ---------------------------------------------------------------------------------------------
// Whole content

void TRichEditStrings::ChooseConverter(const std::string& fileName) {
    std::string extension = AnsiLowerCaseFileName(ExtractFileExt(fileName));
    if (!extension.empty()) extension.erase(0, 1);
    const TConversionFormat& format = FindConversionFormat(extension);
    if (!FConverter) FConverter = format.ConversionClass();
}

void TRichEditStrings::ReadFromFile(const std::string& fileName) {
    ChooseConverter(fileName);
    try {
        TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
        ReadFromStream(stream);
    } catch (...) {
        FConverter.reset();
        throw;
    }
    FRichEdit->EmExLimitText(kLoadedTextLimit);
}

void TRichEditStrings::ReadFromStream(TStream& stream) {
    FRichEdit->HandleNeeded();
    std::unique_ptr<TConversion> temporary;
    TConversion* converter = FConverter.get();
    if (!converter) {
        temporary = FRichEdit->DefaultConverterClass();
        converter = temporary.get();
    }
    const std::int64_t position = stream.Position();
    StreamCookie cookie{converter, &stream, false, {}, {}};
    RichEdit::EditStream es{&cookie, 0, &StreamInCallback};
    const unsigned format = PlainText ? RichEdit::SF_TEXT : RichEdit::SF_RTF;
    FRichEdit->EmStreamIn(format, es);
    if (format == RichEdit::SF_RTF && es.Error != 0) {
        stream.Seek(position, soBeginning);
        cookie.PendingCR = false;
        es.Error = 0;
        FRichEdit->EmStreamIn(RichEdit::SF_TEXT, es);
    }
    // A plain-text read that failed half-way is a failure too, not a shorter text.
    if (es.Error != 0) throw EOutOfResources("Failed to Load Stream");
}

void TRichEditStrings::WriteToFile(const std::string& fileName) {
    ChooseConverter(fileName);
    try {
        TReplacingFileStream stream(fileName);
        WriteToStream(stream);
        try {
            stream.Commit();
        } catch (const EInOutError&) {
            throw EOutOfResources("Failed to Save Stream");
        }
    } catch (...) {
        FConverter.reset();
        throw;
    }
}

void TRichEditStrings::WriteToStream(TStream& stream) {
    FRichEdit->HandleNeeded();
    std::unique_ptr<TConversion> temporary;
    TConversion* converter = FConverter.get();
    if (!converter) {
        temporary = FRichEdit->DefaultConverterClass();
        converter = temporary.get();
    }
    StreamCookie cookie{converter, &stream, false, {}, {}};
    RichEdit::EditStream es{&cookie, 0, &StreamOutCallback};
    FRichEdit->EmStreamOut(PlainText ? RichEdit::SF_TEXT : RichEdit::SF_RTF, es);
    if (es.Error != 0) throw EOutOfResources("Failed to Save Stream");
}

// ---------------------------------------------------------------------------------------------
// Stream callbacks

int TRichEditStrings::NormalizeLineBreaks(const char* source, char* destination) {
    char* d = destination;
    for (const char* s = source; *s; ++s) {
        if (*s == '\n') {
            *d++ = '\r';
            *d++ = '\n';
        } else if (*s == '\r') {
            *d++ = '\r';
            *d++ = '\n';
            if (s[1] == '\n') ++s;
        } else {
            *d++ = *s;
        }
    }
    *d = '\0';
    return int(d - destination);
}

// Reads at most half of the control's buffer, so that the text with its breaks doubled still
// fits. A CR at the end of a chunk waits for the next chunk: an LF there completes the pair,
// anything else (or the end) makes it a break of its own, so no break is lost or doubled.
unsigned TRichEditStrings::StreamInCallback(void* cookie, char* buffer, int size, int* count) {
    auto& c = *static_cast<StreamCookie*>(cookie);
    *count = 0;
    try {
        const int half = size / 2;
        std::vector<char>& chunk = c.Chunk;
        std::vector<char>& text = c.Text;
        if (chunk.size() < size_t(half) + 1) chunk.resize(size_t(half) + 1);
        if (text.size() < size_t(size) + 3) text.resize(size_t(size) + 3);
        for (;;) {
            // A held CR may need two bytes of its own.
            const int want = c.PendingCR ? half - 1 : half;
            const int n =
                c.Converter && want > 0
                    ? std::min(c.Converter->ReadChunk(*c.Stream, chunk.data(), want), want)
                    : 0;
            if (n <= 0) {
                if (c.PendingCR && size >= 2) {
                    c.PendingCR = false;
                    std::memcpy(buffer, "\r\n", 2);
                    *count = 2;
                }
                return 0;
            }
            chunk[size_t(n)] = '\0';
            // A NUL ends this chunk's text.
            int kept = int(strnlen(chunk.data(), size_t(n)));
            int out = 0;
            if (c.PendingCR) {
                c.PendingCR = false;
                if (!(kept > 0 && chunk[0] == '\n')) {
                    text[0] = '\r';
                    text[1] = '\n';
                    out = 2;
                }
            }
            if (kept == n && kept > 0 && chunk[size_t(kept - 1)] == '\r') {
                c.PendingCR = true;
                chunk[size_t(--kept)] = '\0';
            }
            out += NormalizeLineBreaks(chunk.data(), text.data() + out);
            // An empty answer would end the stream: read on instead.
            if (out == 0) continue;
            std::memcpy(buffer, text.data(), size_t(out));
            *count = out;
            return 0;
        }
    } catch (...) {
        return 1;
    }
}

unsigned TRichEditStrings::StreamOutCallback(void* cookie, char* buffer, int size, int* count) {
    auto& c = *static_cast<StreamCookie*>(cookie);
    *count = 0;
    try {
        if (c.Converter) *count = c.Converter->WriteChunk(*c.Stream, buffer, size);
        return 0;
    } catch (...) {
        return 2;
    }
}
