#include "platform/rtf/RtfCodePage.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace Rtf {
namespace {

// The system converter's names for the double-byte pages that RTF files use.
const char* IconvName(int number) {
    switch (number) {
        case 932:
            return "CP932";
        case 936:
            return "CP936";
        case 949:
            return "CP949";
        case 950:
            return "CP950";
        case 1361:
            return "CP1361";
        default:
            return nullptr;
    }
}

const RtfCodePageTable* FindTable(int number) {
    for (int i = 0; i < kRtfCodePageTableCount; ++i) {
        if (kRtfCodePageTables[i].Number == number) return &kRtfCodePageTables[i];
    }
    return nullptr;
}

QString DecodeWithIconv(const char* name, std::string_view bytes) {
    iconv_t cd = iconv_open("UTF-16LE", name);
    if (cd == reinterpret_cast<iconv_t>(-1)) return QString(qsizetype(bytes.size()), QChar(0xFFFD));
    QString out;
    std::vector<char> buffer(bytes.size() * 4 + 16);
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        size_t outLeft = buffer.size();
        size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(QStringView(reinterpret_cast<const char16_t*>(buffer.data()),
                               qsizetype((buffer.size() - outLeft) / 2)));
        if (rc == size_t(-1) && errno != E2BIG) {
            // An invalid or cut-off sequence: one replacement character, then go on after it.
            out.append(QChar(0xFFFD));
            ++in;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}

}  // namespace

RtfCodePage RtfCodePage::ForNumber(int number) {
    if (number == kUtf8 || IconvName(number)) return RtfCodePage(number, nullptr);
    if (const RtfCodePageTable* table = FindTable(number)) return RtfCodePage(number, table->Upper);
    return RtfCodePage(kWestern, FindTable(kWestern)->Upper);
}

int RtfCodePage::NumberForCharset(int charset) {
    switch (charset) {
        case 77:
            return 10000;
        case 128:
            return 932;
        case 129:
            return 949;
        case 130:
            return 1361;
        case 134:
            return 936;
        case 136:
            return 950;
        case 161:
            return 1253;
        case 162:
            return 1254;
        case 163:
            return 1258;
        case 177:
            return 1255;
        case 178:
            return 1256;
        case 186:
            return 1257;
        case 204:
            return 1251;
        case 222:
            return 874;
        case 238:
            return 1250;
        case 254:
        case 255:
            return 437;
        default:
            return 0;  // ANSI, default, symbol: the document's code page
    }
}

int RtfCodePage::EncodeWestern(char32_t c) {
    if (c < 0x80) return int(c);
    if (c >= 0xA0 && c <= 0xFF) return int(c);  // cp1252 agrees with Latin-1 here
    const char16_t* upper = FindTable(kWestern)->Upper;
    for (int i = 0; i < 0x20; ++i) {
        if (upper[i] == c && c != 0xFFFD) return 0x80 + i;
    }
    return -1;
}

QString RtfCodePage::DecodeBytes(std::string_view bytes) const {
    if (FNumber == kUtf8) return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    if (const char* name = IconvName(FNumber)) return DecodeWithIconv(name, bytes);
    QString out;
    out.reserve(qsizetype(bytes.size()));
    for (char b : bytes) out.append(QChar(DecodeByte(uint8_t(b))));
    return out;
}

}  // namespace Rtf
