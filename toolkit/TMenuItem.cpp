// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "toolkit/TMenuItem.h"

TMenuItem::TMenuItem(QObject* parent) : QAction(parent) {
    PublishEvent("OnClick", OnClick);
    connect(this, &QAction::triggered, this, [this] { SafeCall([this] { Fire(OnClick, this); }); });
}

void TMenuItem::SetCaption(const QString& caption) {
    FCaption = caption;
    const bool separator = caption == QLatin1String("-");
    setSeparator(separator);
    // A separator with a text is drawn as a titled section: the line must stay plain.
    setText(separator ? QString() : caption);
}

void TMenuItem::SetShortCut(int shortCut) {
    FShortCut = shortCut;
    setShortcut(ToKeySequence(shortCut));
    setShortcutContext(Qt::WindowShortcut);
}

QKeySequence TMenuItem::ToKeySequence(int shortCut) {
    if (shortCut == 0) return {};
    const int vk = shortCut & 0xFF;
    int key = 0;
    if ((vk >= 0x30 && vk <= 0x39) || (vk >= 0x41 && vk <= 0x5A))
        key = vk;  // digits and letters share their codes with Qt's
    else if (vk >= 0x70 && vk <= 0x87)
        key = Qt::Key_F1 + (vk - 0x70);
    else
        return {};
    int mods = 0;
    if (shortCut & 0x2000) mods |= Qt::SHIFT;
    if (shortCut & 0x4000) mods |= Qt::CTRL;
    if (shortCut & 0x8000) mods |= Qt::ALT;
    return QKeySequence(key | mods);
}
