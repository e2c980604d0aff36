// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "toolkit/TTypedMaskFileDialog.h"

#include <QDir>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QRegularExpression>

bool TTypedMaskFileDialog::IsMask(const QString& typed) {
    return typed.contains(QLatin1Char('*')) || typed.contains(QLatin1Char('?'));
}

void TTypedMaskFileDialog::accept() {
    auto* nameBox = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    const QString typed = nameBox ? nameBox->text().trimmed() : QString();
    if (!IsMask(typed)) {
        QFileDialog::accept();
        return;
    }
    ApplyMask(typed);
    // The box shows the mask as a hint, so the next name typed starts afresh.
    nameBox->clear();
    nameBox->setPlaceholderText(typed);
}

void TTypedMaskFileDialog::ApplyMask(const QString& typed) {
    // A folder before the mask ("music/*.flac") is opened first.
    QString masks = typed;
    const qsizetype slash = typed.lastIndexOf(QLatin1Char('/'));
    if (slash >= 0) {
        const QString folder = typed.left(slash + 1);
        const QDir target = QDir(directory()).filePath(folder);
        if (target.exists()) setDirectory(target.absolutePath());
        masks = typed.mid(slash + 1);
    }
    const QStringList patterns =
        masks.split(QRegularExpression(QStringLiteral("[;\\s]+")), Qt::SkipEmptyParts);
    // The list's own model: filtering it leaves the chosen entry of the list of types alone.
    if (auto* model = findChild<QFileSystemModel*>()) model->setNameFilters(patterns);
}
