#include "platform/rtf/RtfReader.h"

#include <QTextDocument>
#include <utility>

#include "platform/rtf/RtfDocumentBuilder.h"
#include "platform/rtf/RtfParser.h"

namespace Rtf {
namespace {

std::string_view SkipWhiteSpace(std::string_view bytes) {
    size_t start = bytes.find_first_not_of(" \t\r\n");
    return start == std::string_view::npos ? std::string_view() : bytes.substr(start);
}

}  // namespace

bool LooksLikeRtf(std::string_view bytes) {
    return SkipWhiteSpace(bytes).starts_with("{\\rtf");
}

bool Read(std::string_view bytes, QTextDocument& doc, RichEdit::DeferredFormats* deferred) {
    if (!LooksLikeRtf(bytes)) return false;
    // Undo records for every inserted run would cost time and memory for nothing.
    bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    doc.clear();
    {
        RtfDocumentBuilder builder(doc);
        RtfParser parser(SkipWhiteSpace(bytes), builder);
        parser.Run();
        RichEdit::DeferredFormats formats = builder.TakeFormats();
        if (deferred)
            *deferred = std::move(formats);
        else
            formats.ApplyAll(doc);
    }
    doc.setUndoRedoEnabled(undo);
    return true;
}

}  // namespace Rtf
