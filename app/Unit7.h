#pragma once
// The main window: note area, browser panel, player bar, colour schemes, clock and menus.
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

    // Note area
    void New1Click(QObject* Sender);
    void N3Click(QObject* Sender);
    void SaveAs1Click(QObject* Sender);
    void BitBtn1Click(QObject* Sender);
    void BitBtn2Click(QObject* Sender);
    void BitBtn3Click(QObject* Sender);
    void BitBtn4Click(QObject* Sender);
    void BitBtn5Click(QObject* Sender);
    void FileListBox1DblClick(QObject* Sender);
    void Print1Click(QObject* Sender);
    void PrinterSetup1Click(QObject* Sender);
    // Browser panel
    void DriveComboBox1Change(QObject* Sender);
    void DriveComboBox1Click(QObject* Sender);
    void DirectoryListBox1Change(QObject* Sender);
    void FileListBox1Change(QObject* Sender);
    void FilterComboBox1Change(QObject* Sender);
    // Appearance, clock, music, help and the end of the program
    void SpeedButton1Click(QObject* Sender);
    void SpeedButton2Click(QObject* Sender);
    void SpeedButton3Click(QObject* Sender);
    void SpeedButton4Click(QObject* Sender);
    void ColorBox1Change(QObject* Sender);
    void Timer1Timer(QObject* Sender);
    void BitBtn7Click(QObject* Sender);
    void SpeedButton6Click(QObject* Sender);
    void Exit1Click(QObject* Sender);
    void SpeedButton5Click(QObject* Sender);
    void BitBtn6Click(QObject* Sender);
    void About1Click(QObject* Sender);
    void SpeedButton7Click(QObject* Sender);
    void HowToUseQuillet1Click(QObject* Sender);
    void HelpFile1Click(QObject* Sender);

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
    // One colour scheme: window, font, then each listed control in order, then the panel.
    struct Scheme;
    void ApplyScheme(const Scheme& scheme);
};

extern TForm7* Form7;
