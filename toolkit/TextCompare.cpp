#include "toolkit/TextCompare.h"

#include <QCollator>
#include <QLocale>

#include "toolkit/TCanvas.h"

namespace {

// One collator per case rule for the life of the program: building one is costly, and the
// locale is read once at start-up.
const QCollator& Collator(Qt::CaseSensitivity cs) {
    static const QCollator insensitive = [] {
        QCollator c(QLocale::system());
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    static const QCollator sensitive = [] {
        QCollator c(QLocale::system());
        c.setCaseSensitivity(Qt::CaseSensitive);
        return c;
    }();
    return cs == Qt::CaseInsensitive ? insensitive : sensitive;
}

int Sign(int v) {
    return (v > 0) - (v < 0);
}

}  // namespace

int AnsiCompareText(const QString& a, const QString& b) {
    return Sign(Collator(Qt::CaseInsensitive).compare(a, b));
}

int AnsiCompareText(const std::string& a, const std::string& b) {
    return AnsiCompareText(ToQString(a), ToQString(b));
}

int AnsiCompareStr(const std::string& a, const std::string& b) {
    return Sign(Collator(Qt::CaseSensitive).compare(ToQString(a), ToQString(b)));
}

bool AnsiSameText(const std::string& a, const std::string& b) {
    if (a == b) return true;
    const QString qa = ToQString(a), qb = ToQString(b);
    // Bytes that are not UTF-8 all decode to the same replacement character: such texts are
    // the same only when their bytes are.
    if (qa.toUtf8().toStdString() != a || qb.toUtf8().toStdString() != b) return false;
    return qa.compare(qb, Qt::CaseInsensitive) == 0;
}
