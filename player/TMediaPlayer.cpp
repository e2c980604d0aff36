#include "player/TMediaPlayer.h"

#include <QPainter>
#include <QPainterPath>

namespace {
constexpr int kButtonCount = 9;
}

TMediaPlayer::TMediaPlayer(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    resize(240, 30);
}

void TMediaPlayer::Open() {
    Close();
    throw EMCIDeviceError("No media device can play \"" + FFileName + "\" yet");
}

void TMediaPlayer::Close() {
    FOpened = false;
}

void TMediaPlayer::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int slot = width() / kButtonCount;
    for (int i = 0; i < kButtonCount; ++i) {
        const QRect r(i * slot, 0, i == kButtonCount - 1 ? width() - i * slot : slot, height());
        p.fillRect(r, palette().color(QPalette::Button));
        p.setPen(palette().color(QPalette::Light));
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(palette().color(QPalette::Shadow));
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
        DrawGlyph(p, TMPBtnType(i), r.adjusted(4, 7, -4, -7));
    }
}

void TMediaPlayer::DrawGlyph(QPainter& p, TMPBtnType kind, const QRect& r) {
    // Disabled look: the figure in the button's shadow colour with a light offset outline.
    const QPointF c = QRectF(r).center();
    const qreal h = r.height() / 2.0;
    QPainterPath path;
    auto tri = [&](qreal x, bool right) {
        if (right)
            path.addPolygon(QPolygonF({{x, c.y() - h}, {x + h, c.y()}, {x, c.y() + h}}));
        else
            path.addPolygon(QPolygonF({{x + h, c.y() - h}, {x, c.y()}, {x + h, c.y() + h}}));
        path.closeSubpath();
    };
    auto bar = [&](qreal x) { path.addRect(x, c.y() - h, 2, 2 * h); };
    switch (kind) {
        case btPlay:
            tri(c.x() - h / 2, true);
            break;
        case btPause:
            bar(c.x() - 3), bar(c.x() + 1);
            break;
        case btStop:
            path.addRect(c.x() - h, c.y() - h, 2 * h, 2 * h);
            break;
        case btNext:
            tri(c.x() - h, true), bar(c.x() + 1);
            break;
        case btPrev:
            bar(c.x() - h - 1), tri(c.x() - h + 2, false);
            break;
        case btStep:
            bar(c.x() - h - 1), tri(c.x() - h + 2, true);
            break;
        case btBack:
            tri(c.x() - h, false), bar(c.x() + 1);
            break;
        case btRecord:
            path.addEllipse(c, h * 0.8, h * 0.8);
            break;
        case btEject:
            path.addPolygon(
                QPolygonF({{c.x() - h, c.y() + 1}, {c.x(), c.y() - h}, {c.x() + h, c.y() + 1}}));
            path.closeSubpath();
            path.addRect(c.x() - h, c.y() + 3, 2 * h, 2);
            break;
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(palette().color(QPalette::Light));
    p.drawPath(path.translated(1, 1));
    p.setBrush(palette().color(QPalette::Mid));
    p.drawPath(path);
}
