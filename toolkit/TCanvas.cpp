#include "toolkit/TCanvas.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPalette>

QString ToQString(const std::string& s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

std::string FromQString(const QString& s) {
    return s.toStdString();
}

QFont TCanvas::DeviceFont() {
    return Painter ? QFont(Font.ToQFont(), Painter->device()) : Font.ToQFont();
}

void TCanvas::FillRect(const QRect& rect) {
    Changing();
    if (Painter) Painter->fillRect(rect, ToQColor(BrushColor));
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    Changing();
    if (!Painter) return;
    QFont f = DeviceFont();
    Painter->setFont(f);
    QColor c = ToQColor(Font.Color);
    Painter->setPen(c.isValid() ? c : QGuiApplication::palette().color(QPalette::Text));
    QFontMetrics fm(f, Painter->device());
    Painter->drawText(x, y + fm.ascent(), ToQString(text));
}

void TCanvas::DrawText(const std::string& text, const QRect& rect, unsigned flags) {
    Changing();
    if (!Painter) return;
    QFont f = DeviceFont();
    QFontMetrics fm(f, Painter->device());
    int y = rect.top();
    if ((flags & DT_SINGLELINE) && (flags & DT_VCENTER))
        y = rect.top() + (rect.height() - fm.height()) / 2;
    Painter->save();
    Painter->setClipRect(rect);
    Painter->setFont(f);
    QColor c = ToQColor(Font.Color);
    Painter->setPen(c.isValid() ? c : QGuiApplication::palette().color(QPalette::Text));
    Painter->drawText(rect.left(), y + fm.ascent(), ToQString(text));
    Painter->restore();
}

QSize TCanvas::TextExtent(const std::string& text) {
    Changing();
    QFont f = DeviceFont();
    QFontMetrics fm = Painter ? QFontMetrics(f, Painter->device()) : QFontMetrics(f);
    return {fm.horizontalAdvance(ToQString(text)), fm.height()};
}

TTextMetric TCanvas::TextMetrics() {
    Changing();
    QFont f = DeviceFont();
    QFontMetrics fm = Painter ? QFontMetrics(f, Painter->device()) : QFontMetrics(f);
    TTextMetric tm;
    tm.tmAscent = fm.ascent();
    tm.tmDescent = fm.descent();
    tm.tmHeight = fm.ascent() + fm.descent();
    tm.tmAveCharWidth = fm.averageCharWidth();
    return tm;
}

void TCanvas::DrawTransparent(int x, int y, const TBitmap& bitmap) {
    Changing();
    if (!Painter || bitmap.Empty()) return;
    QImage img = bitmap.Image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = bitmap.TransparentColor();
    const QRgb brush = ToQColor(BrushColor).rgb();
    for (int row = 0; row < img.height(); ++row) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(row));
        for (int col = 0; col < img.width(); ++col)
            if ((line[col] & 0xFFFFFF) == (key & 0xFFFFFF)) line[col] = brush;
    }
    Painter->drawImage(x, y, img);
}
