#pragma once
// Plain-text bytes to and from the control's text. Bytes are read as UTF-8 wherever they form a
// valid UTF-8 sequence and as Windows-1252 everywhere else, so no byte is ever lost; CR LF, a
// lone CR and a lone LF each become one paragraph break.
#include <QString>
#include <string>
#include <string_view>

namespace RichEdit {

// The text of `bytes` with every line break as '\n'.
QString DecodePlainText(std::string_view bytes);

// The character that Windows-1252 gives a byte (bytes it leaves undefined keep their value).
char16_t Windows1252ToUnicode(unsigned char byte);

// UTF-8 of `text`, appended to `out`; unpaired surrogates become U+FFFD.
void AppendUtf8(std::string& out, QStringView text);

}  // namespace RichEdit
