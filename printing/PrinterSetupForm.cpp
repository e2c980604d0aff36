// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "printing/PrinterSetupForm.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/printing/PrintSystem.h"
#include "platform/system/QtStrings.h"

namespace {
// Paper sizes offered for the print-to-file printer, which takes any.
const QPageSize::PageSizeId FileSizes[] = {QPageSize::A4,       QPageSize::Letter, QPageSize::Legal,
                                           QPageSize::A3,       QPageSize::A5,     QPageSize::B5,
                                           QPageSize::Executive};

}  // namespace

PrinterSetupForm::PrinterSetupForm(QPrinter& printer, QWidget* parent)
    : QDialog(parent), FPrinter(printer) {
    setWindowTitle(tr("Print Setup"));

    FName = new QComboBox(this);
    FName->setObjectName(QStringLiteral("PrinterName"));
    for (const std::string& name : PrintSystem::PrinterNames()) FName->addItem(ToQString(name));
    FOutputFile = new QLineEdit(this);
    FOutputFile->setObjectName(QStringLiteral("OutputFile"));
    FBrowse = new QPushButton(tr("..."), this);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(FOutputFile);
    fileRow->addWidget(FBrowse);
    auto* printerBox = new QGroupBox(tr("Printer"), this);
    auto* printerForm = new QFormLayout(printerBox);
    printerForm->addRow(tr("&Name:"), FName);
    // A row beside a layout gets no buddy of its own: without one the "&" would show.
    auto* fileLabel = new QLabel(tr("Output &file:"), this);
    fileLabel->setBuddy(FOutputFile);
    printerForm->addRow(fileLabel, fileRow);

    FPaper = new QComboBox(this);
    FPaper->setObjectName(QStringLiteral("PaperSize"));
    auto* paperBox = new QGroupBox(tr("Paper"), this);
    auto* paperForm = new QFormLayout(paperBox);
    paperForm->addRow(tr("Si&ze:"), FPaper);

    FPortrait = new QRadioButton(tr("P&ortrait"), this);
    FPortrait->setObjectName(QStringLiteral("Portrait"));
    FLandscape = new QRadioButton(tr("L&andscape"), this);
    FLandscape->setObjectName(QStringLiteral("Landscape"));
    auto* orientationBox = new QGroupBox(tr("Orientation"), this);
    auto* orientationColumn = new QVBoxLayout(orientationBox);
    orientationColumn->addWidget(FPortrait);
    orientationColumn->addWidget(FLandscape);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* column = new QVBoxLayout(this);
    column->addWidget(printerBox);
    auto* row = new QHBoxLayout;
    row->addWidget(paperBox);
    row->addWidget(orientationBox);
    column->addLayout(row);
    column->addWidget(buttons);

    // The dialog opens on the printer's current choices.
    const QString current = ToQString(PrintSystem::PrinterName(printer));
    if (FName->findText(current) < 0) FName->addItem(current);
    FName->setCurrentText(current);
    FOutputFile->setText(printer.outputFileName());
    FillPaperSizes(current);
    const int paper = FPaper->findData(printer.pageLayout().pageSize().key());
    if (paper >= 0) FPaper->setCurrentIndex(paper);
    const bool landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
    (landscape ? FLandscape : FPortrait)->setChecked(true);
    PrinterChanged();

    connect(FName, &QComboBox::currentTextChanged, this, [this] {
        FillPaperSizes(FName->currentText());
        PrinterChanged();
    });
    connect(FBrowse, &QPushButton::clicked, this, &PrinterSetupForm::BrowseOutputFile);
    connect(buttons, &QDialogButtonBox::accepted, this, &PrinterSetupForm::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PrinterSetupForm::reject);
}

void PrinterSetupForm::PrinterChanged() {
    const bool toFile = FName->currentText() == QLatin1String(PrintSystem::PrintToFileName);
    FOutputFile->setEnabled(toFile);
    FBrowse->setEnabled(toFile);
}

void PrinterSetupForm::FillPaperSizes(const QString& printerName) {
    const QString previous = FPaper->currentData().toString();
    FPaper->clear();
    QList<QPageSize> sizes = QPrinterInfo::printerInfo(printerName).supportedPageSizes();
    if (sizes.isEmpty())
        for (QPageSize::PageSizeId id : FileSizes) sizes.append(QPageSize(id));
    for (const QPageSize& size : sizes) FPaper->addItem(size.name(), size.key());
    const int index = FPaper->findData(previous);
    if (index >= 0) FPaper->setCurrentIndex(index);
}

void PrinterSetupForm::BrowseOutputFile() {
    const QString file = QFileDialog::getSaveFileName(this, tr("Print to File"),
                                                      FOutputFile->text(), tr("PDF (*.pdf)"));
    if (!file.isEmpty()) FOutputFile->setText(file);
}

void PrinterSetupForm::accept() {
    DeviceSettings settings = *PrintSystem::SettingsFrom(FPrinter);
    settings.Orientation = FLandscape->isChecked() ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    const QString key = FPaper->currentData().toString();
    for (const QPageSize& size :
         QPrinterInfo::printerInfo(FName->currentText()).supportedPageSizes())
        if (size.key() == key) settings.PageSize = size;
    for (QPageSize::PageSizeId id : FileSizes)
        if (QPageSize(id).key() == key) settings.PageSize = QPageSize(id);
    settings.OutputFile = FOutputFile->text().toStdString();
    PrintSystem::ConfigurePrinter(FPrinter, FName->currentText().toStdString(), &settings);
    QDialog::accept();
}
