// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The main window: note area, browser panel, player bar, colour schemes, clock and menus.
#include <string>

#include "toolkit/TForm.h"

class QWidget;
class TBitBtn;
class TColorBox;
class TDirectoryListBox;
class TDriveComboBox;
class TEdit;
class TFileListBox;
class TFilterComboBox;
class TGroupBox;
class TLabel;
class TMediaPlayer;
class TOpenDialog;
class TPanel;
class TPrintDialog;
class TPrinterSetupDialog;
class TRichEdit;
class TSaveDialog;
class TTimer;

class TForm7 : public TForm {
    Q_OBJECT

public:
    explicit TForm7(QWidget* parent = nullptr);

    // Shows a progress bar along the bottom of the window and steps it `count` times without
    // returning to the message loop; the bar is removed on every path.
    void ProgressFlourish(short count);

    // A note file from outside the program (the command line, a file dropped on the note area),
    // given by its Linux path: read into the note area as "Load -->" reads the file list's pick,
    // with the same errors, but without the flourish, as a double-click in the file list.
    void LoadNoteFile(const std::string& systemPath);
    // A music file from outside (the command line, a file dropped on the player bar): opened in
    // the player as "Open Music Files" opens the dialog's pick, ready to play, without the
    // flourish.
    void OpenMusicFile(const std::string& systemPath);

    // Note area
    void New1Click(QObject* Sender);     // File > "&New" (Ctrl+N): empties the note area
    void N3Click(QObject* Sender);       // File > "&Open"
    void SaveAs1Click(QObject* Sender);  // File > "Save &As..."
    void BitBtn1Click(QObject* Sender);  // "<-- Load"
    void BitBtn2Click(QObject* Sender);  // "<-- Save As"
    void BitBtn3Click(QObject* Sender);  // "<-- &Clear Area"
    void BitBtn4Click(QObject* Sender);  // "Load -->": the file list's pick into the note area
    void BitBtn5Click(QObject* Sender);  // "Save -->": the note area into the file list's pick
    void FileListBox1DblClick(QObject* Sender);  // double-click in the file list: loads it
    void Print1Click(QObject* Sender);           // File > "&Print" (Ctrl+P)
    void PrinterSetup1Click(QObject* Sender);    // File > "Printer Set&up"
    // Browser panel
    void DriveComboBox1Change(QObject* Sender);     // drive selector: a drive picked
    void DriveComboBox1Click(QObject* Sender);      // drive selector: opened or clicked
    void DirectoryListBox1Change(QObject* Sender);  // directory list: a folder opened
    void FileListBox1Change(QObject* Sender);       // file list: a file picked
    void FilterComboBox1Change(QObject* Sender);    // filter selector: a mask picked
    // Appearance, clock, music, help and the end of the program
    void SpeedButton1Click(QObject* Sender);      // "D": the default (sky blue) scheme
    void SpeedButton2Click(QObject* Sender);      // "B": the blue scheme
    void SpeedButton3Click(QObject* Sender);      // "G": the green scheme
    void SpeedButton4Click(QObject* Sender);      // "M": the maroon scheme
    void ColorBox1Change(QObject* Sender);        // colour list: the window colour picked
    void Timer1Timer(QObject* Sender);            // the clock: "Time: " and "Date: " labels
    void BitBtn7Click(QObject* Sender);           // "Open Music Files"
    void SpeedButton6Click(QObject* Sender);      // "Close Music File..."
    void Exit1Click(QObject* Sender);             // File > "E&xit"
    void SpeedButton5Click(QObject* Sender);      // "X": quits the program
    void BitBtn6Click(QObject* Sender);           // "About" button
    void About1Click(QObject* Sender);            // Help > "About" (F12)
    void SpeedButton7Click(QObject* Sender);      // "Show Info": the Descriptions window
    void HowToUseQuillet1Click(QObject* Sender);  // Help > "HowTo Use Quillet"
    void HelpFile1Click(QObject* Sender);         // Help > "Help File"

    TRichEdit* RichEdit1 = nullptr;
    TPanel* Panel1 = nullptr;
    TDriveComboBox* DriveComboBox1 = nullptr;
    TDirectoryListBox* DirectoryListBox1 = nullptr;
    TFileListBox* FileListBox1 = nullptr;
    TFilterComboBox* FilterComboBox1 = nullptr;
    TEdit* Edit1 = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TMediaPlayer* MediaPlayer1 = nullptr;
    TColorBox* ColorBox1 = nullptr;
    TOpenDialog* OpenDialog1 = nullptr;
    TOpenDialog* OpenDialog2 = nullptr;
    TSaveDialog* SaveDialog1 = nullptr;
    TPrintDialog* PrintDialog1 = nullptr;
    TPrinterSetupDialog* PrinterSetupDialog1 = nullptr;
    TTimer* Timer1 = nullptr;

private:
    void BindHandlers();
    void FindControls();
    // Adds "Other music files" after the music dialog's three entries.
    void AddOtherMusicFilter();
    // Accessible names for the controls that take input and show no caption of their own.
    void NameForScreenReaders();
    // The flourish, then colour scheme `scheme` (0 "D", 1 "B", 2 "G", 3 "M") step by step.
    void ApplyScheme(int scheme);
};

extern TForm7* Form7;
