// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The printer-setup window: printer, output file (for the print-to-file printer), paper size and
// orientation, shown for a QPrinter; accepting it writes the choices into that QPrinter.
// Its fields carry object names for tests: "PrinterName", "OutputFile", "PaperSize",
// "Portrait", "Landscape".
#include <QDialog>

class QComboBox;
class QLineEdit;
class QPrinter;
class QPushButton;
class QRadioButton;

class PrinterSetupForm : public QDialog {
public:
    PrinterSetupForm(QPrinter& printer, QWidget* parent = nullptr);

    void accept() override;

private:
    void PrinterChanged();
    void FillPaperSizes(const QString& printerName);
    void BrowseOutputFile();

    QPrinter& FPrinter;
    QComboBox* FName;
    QLineEdit* FOutputFile;
    QPushButton* FBrowse;
    QComboBox* FPaper;
    QRadioButton* FPortrait;
    QRadioButton* FLandscape;
};
