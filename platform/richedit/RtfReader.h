#pragma once
// Reading RTF into a text document.
#include <string_view>

class QTextDocument;

namespace Rtf {

// Parses RTF into `doc`, replacing its content, and returns true. Returns false, leaving `doc`
// untouched, when the bytes are not RTF: they do not start, after optional white space, with
// "{\rtf". Damaged RTF loads as much as can be read. Building into a document that no editor
// shows is several times faster; the undo history of `doc` is cleared.
bool Read(std::string_view bytes, QTextDocument& doc);

// True when the bytes start, after optional white space, with "{\rtf".
bool LooksLikeRtf(std::string_view bytes);

}  // namespace Rtf
