#include "toolkit/TBitBtn.h"

TBitBtn::TBitBtn(QWidget* parent) : QPushButton(parent) {
    setAutoDefault(false);  // Enter belongs to the focused control, not to a default button
    connect(this, &QAbstractButton::clicked, this,
            [this] { SafeCall([this] { Fire(OnClick, this); }); });
}

void TBitBtn::SetCaption(const QString& caption) {
    if (caption == text()) return;
    setText(caption);  // Qt turns the "&" letter into the Alt shortcut
}

bool TBitBtn::BindEvent(std::string_view event, const TNotifyEvent& handler) {
    if (event != "OnClick") return false;
    OnClick = handler;
    return true;
}
