#pragma once
// Reading RTF into a text document.
#include <string_view>

class QTextDocument;

namespace RichEdit {
class DeferredFormats;
}

namespace Rtf {

// Parses RTF into `doc`, replacing its content, and returns true. Returns false, leaving `doc`
// untouched, when the bytes are not RTF: they do not start, after optional white space, with
// "{\rtf". Damaged RTF loads as much as can be read. Building into a document that no editor
// shows is several times faster; the undo history of `doc` is cleared. With `deferred` the
// runs not in the document's most common format are left there for the caller to apply;
// otherwise they are applied before returning.
bool Read(std::string_view bytes, QTextDocument& doc,
          RichEdit::DeferredFormats* deferred = nullptr);

// True when the bytes start, after optional white space, with "{\rtf".
bool LooksLikeRtf(std::string_view bytes);

}  // namespace Rtf
