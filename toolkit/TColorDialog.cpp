// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "toolkit/TColorDialog.h"

#include <QApplication>
#include <QColorDialog>

TColorDialog::TColorDialog(QObject* parent) : QObject(parent) {}

bool TColorDialog::ParseCustomColor(const QString& line, int& slot, TColor& color) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    const QString key = line.left(eq).trimmed();
    if (eq < 0 || key.size() != 6 || !key.startsWith(QLatin1String("Color"), Qt::CaseInsensitive))
        return false;
    const int index = key.at(5).toUpper().unicode() - 'A';
    if (index < 0 || index > 15) return false;
    bool ok = false;
    const uint value = line.mid(eq + 1).trimmed().toUInt(&ok, 16);
    if (!ok || value == 0xFFFFFFFFu) return false;
    slot = index;
    color = value;
    return true;
}

bool TColorDialog::Execute() {
    std::optional<TColor> answer;
    if (ExecuteHook) {
        answer = ExecuteHook(*this);
    } else {
        for (const QString& line : FCustomColors) {
            int slot = 0;
            TColor color = 0;
            if (ParseCustomColor(line, slot, color))
                QColorDialog::setCustomColor(slot, ToQColor(ColorToRGB(color)));
        }
        QColorDialog dialog(ToQColor(ColorToRGB(FColor)), QApplication::activeWindow());
        if (dialog.exec() == QDialog::Accepted) answer = FromQColor(dialog.selectedColor());
    }
    if (!answer) return false;
    FColor = *answer;
    return true;
}
