#include "colour/TColorBox.h"

#include <QPainter>

const TNamedColor NamedColors[52] = {
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
    {"clActiveBorder", 0xFF00000A},
    {"clActiveCaption", 0xFF000002},
    {"clAppWorkSpace", 0xFF00000C},
    {"clBackground", 0xFF000001},
    {"clBtnFace", 0xFF00000F},
    {"clBtnHighlight", 0xFF000014},
    {"clBtnShadow", 0xFF000010},
    {"clBtnText", 0xFF000012},
    {"clCaptionText", 0xFF000009},
    {"clDefault", 0x20000000},
    {"clGradientActiveCaption", 0xFF00001B},
    {"clGradientInactiveCaption", 0xFF00001C},
    {"clGrayText", 0xFF000011},
    {"clHighlight", 0xFF00000D},
    {"clHighlightText", 0xFF00000E},
    {"clHotLight", 0xFF00001A},
    {"clInactiveBorder", 0xFF00000B},
    {"clInactiveCaption", 0xFF000003},
    {"clInactiveCaptionText", 0xFF000013},
    {"clInfoBk", 0xFF000018},
    {"clInfoText", 0xFF000017},
    {"clMenu", 0xFF000004},
    {"clMenuBar", 0xFF00001E},
    {"clMenuHighlight", 0xFF00001D},
    {"clMenuText", 0xFF000007},
    {"clNone", 0x1FFFFFFF},
    {"clScrollBar", 0xFF000000},
    {"cl3DDkShadow", 0xFF000015},
    {"cl3DLight", 0xFF000016},
    {"clWindow", 0xFF000005},
    {"clWindowFrame", 0xFF000006},
    {"clWindowText", 0xFF000008},
};

namespace {
constexpr TColor kNoColor = 0xFF000000;

QIcon Swatch(TColor color, int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(Qt::black);
    p.setBrush(ToQColor(color).isValid() ? ToQColor(color) : QColor(Qt::black));
    p.drawRect(0, 0, size - 1, size - 1);
    return QIcon(pm);
}
}  // namespace

TColorBox::TColorBox(QWidget* parent) : QComboBox(parent) {
    Populate();
    connect(this, &QComboBox::activated, this,
            [this](int) { SafeCall([this] { Fire(OnChange, this); }); });
}

void TColorBox::Populate() {
    clear();
    setIconSize(QSize(FItemHeight - 4, FItemHeight - 4));
    for (const TNamedColor& c : NamedColors) {
        if (c.Value == clNone || c.Value == clDefault) continue;  // not in the default style
        addItem(Swatch(c.Value, FItemHeight - 4), QString::fromLatin1(c.Identifier),
                QVariant::fromValue(uint(c.Value)));
    }
}

TColor TColorBox::Selected() const {
    return currentIndex() < 0 ? kNoColor : TColor(currentData().toUInt());
}

void TColorBox::SetSelected(TColor color) {
    const int index = findData(QVariant::fromValue(uint(color)));
    setCurrentIndex(index);
}

void TColorBox::SetItemHeight(int height) {
    if (height == FItemHeight) return;
    const TColor keep = Selected();
    FItemHeight = height;
    Populate();
    SetSelected(keep);
}

void TColorBox::SetColor(TColor color) {
    FColor = color;
    QPalette pal = palette();
    pal.setColor(QPalette::Base, ToQColor(color));
    pal.setColor(QPalette::Button, ToQColor(color));
    setPalette(pal);
}

bool TColorBox::BindEvent(std::string_view event, const TNotifyEvent& handler) {
    if (event != "OnChange") return false;
    OnChange = handler;
    return true;
}
