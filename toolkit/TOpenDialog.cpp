// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "toolkit/TOpenDialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QListView>

#include "platform/system/FileSystem.h"
#include "toolkit/FileKindIconProvider.h"
#include "toolkit/TSaveDialog.h"
#include "toolkit/TTypedMaskFileDialog.h"

namespace {

// The Linux folder and file name to start the dialog with, from the program paths.
QString SystemPathOf(const QString& programPath) {
    std::string system;
    if (programPath.isEmpty() || !ToSystemPath(programPath.toStdString(), system)) return {};
    return QString::fromStdString(system);
}

QString ProgramPathOf(const std::string& systemPath) {
    const std::string absolute =
        QFileInfo(QString::fromStdString(systemPath)).absoluteFilePath().toStdString();
    const std::string program = FromSystemPath(absolute);
    return QString::fromStdString(program.empty() ? absolute : program);
}

// While a full path is typed into the name box, the dialog selects in its list each folder the
// path passes through, to follow the typing, and deselects it again at the next key. A folder
// that is not in the listed folder (the listed folder itself, found in its parent's entries when
// the dialog started in the parent, where the last Save As left it) can stay selected, and a
// selected entry outranks the typed name: "Open" stays greyed for a typed path of an existing
// file and Enter only opens the folder. Only entries of the listed folder are the user's to
// select, so the list keeps its selection to them.
void KeepSelectionInListedFolder(QFileDialog& dialog) {
    auto* list = dialog.findChild<QListView*>(QStringLiteral("listView"));
    if (!list || !list->selectionModel()) return;
    QItemSelectionModel* selection = list->selectionModel();
    QObject::connect(selection, &QItemSelectionModel::selectionChanged, &dialog, [list, selection] {
        const QModelIndex listed = list->rootIndex();
        for (const QModelIndex& row : selection->selectedRows())
            if (row.parent() != listed)
                selection->select(row, QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    });
}

}  // namespace

TOpenDialog::TOpenDialog(QObject* parent) : QObject(parent) {}

bool TOpenDialog::Execute() {
    const std::optional<std::string> answer = ExecuteHook ? ExecuteHook(*this) : RunFileDialog();
    if (!answer || answer->empty()) return false;
    FFileName = ProgramPathOf(CompleteName(*answer));
    return true;
}

std::string TOpenDialog::CompleteName(const std::string& systemPath) const {
    // A name typed without its extension opens the file that has it.
    std::string withExt = TSaveDialog::AddDefaultExt(systemPath, FDefaultExt.toStdString());
    if (withExt != systemPath && !QFileInfo::exists(QString::fromStdString(systemPath)) &&
        QFileInfo::exists(QString::fromStdString(withExt)))
        return withExt;
    return systemPath;
}

std::vector<std::pair<QString, QString>> TOpenDialog::FilterPairs(const QString& filter) {
    std::vector<std::pair<QString, QString>> pairs;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) pairs.emplace_back(parts[i], parts[i + 1]);
    return pairs;
}

QStringList TOpenDialog::NameFilters(const QString& filter) {
    QStringList result;
    for (const auto& [description, masks] : FilterPairs(filter)) {
        QStringList patterns;
        for (const QString& mask : masks.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString m = mask.trimmed();
            patterns << (m == QLatin1String("*.*") ? QStringLiteral("*") : m);
        }
        result << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                      QLatin1Char(')');
    }
    return result;
}

std::optional<std::string> TOpenDialog::RunFileDialog() {
    auto* owner = qobject_cast<QWidget*>(parent());
    if (!owner) owner = QApplication::activeWindow();
    const bool save = IsSaveDialog();
    // Outlives the dialog, which only borrows it.
    FileKindIconProvider icons;
    TTypedMaskFileDialog dialog(owner,
                                FTitle.isEmpty() ? (save ? tr("Save As") : tr("Open")) : FTitle);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // Types by name and kind only: the usual icons read files to guess theirs.
    dialog.setIconProvider(&icons);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // Neither kind insists that the typed file exists: a name that does not reaches the
    // command, which reports why it cannot be opened.
    dialog.setFileMode(QFileDialog::AnyFile);
    // Each filter shows its description as the layout writes it; the masks stay behind it.
    dialog.setOption(QFileDialog::HideNameFilterDetails);

    const QStringList filters = NameFilters(FFilter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        if (FFilterIndex >= 1 && FFilterIndex <= filters.size())
            dialog.selectNameFilter(filters[FFilterIndex - 1]);
    }
    const QString dir = SystemPathOf(FInitialDir);
    if (!dir.isEmpty()) dialog.setDirectory(dir);
    const QString file = SystemPathOf(FFileName);
    if (!file.isEmpty()) dialog.selectFile(file);
    KeepSelectionInListedFolder(dialog);

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    // The dialog names the chosen filter by the description it shows.
    const QString chosenFilter = dialog.selectedNameFilter();
    const auto pairs = FilterPairs(FFilter);
    for (qsizetype i = 0; i < filters.size(); ++i) {
        if (filters[i] == chosenFilter || pairs[std::size_t(i)].first == chosenFilter) {
            FFilterIndex = int(i) + 1;
            break;
        }
    }
    return dialog.selectedFiles().constFirst().toStdString();
}
