// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "app/Unit7.h"

#include <QLabel>
#include <QProgressBar>
#include <memory>

#include "app/FileDrop.h"
#include "app/Unit11.h"
#include "app/Unit14.h"
#include "app/Unit8.h"
#include "browse/TDirectoryListBox.h"
#include "browse/TDriveComboBox.h"
#include "browse/TFileListBox.h"
#include "browse/TFilterComboBox.h"
#include "colour/TColorBox.h"
#include "notes/TRichEdit.h"
#include "platform/mci/MciDeviceName.h"
#include "platform/system/FileSystem.h"
#include "platform/system/RegionalSettings.h"
#include "player/TMediaPlayer.h"
#include "printing/TPrintDialog.h"
#include "printing/TPrinter.h"
#include "printing/TPrinterSetupDialog.h"
#include "printing/TPrinterTextFile.h"
#include "toolkit/TApplication.h"
#include "toolkit/TEdit.h"
#include "toolkit/TLabel.h"
#include "toolkit/TOpenDialog.h"
#include "toolkit/TPanel.h"
#include "toolkit/TProgressBar.h"
#include "toolkit/TSaveDialog.h"
#include "toolkit/TTimer.h"

TForm7* Form7 = nullptr;

TForm7::TForm7(QWidget* parent) : TForm(parent) {
    BindHandlers();
    LoadLayout(QStringLiteral(":/layouts/Unit7.json"));
    FindControls();
    AddOtherMusicFilter();
    // Files dropped from a file manager: a note onto the note area, music onto the player bar.
    new TFileDrop(RichEdit1->viewport(),
                  [](const std::string& path) { Form7->LoadNoteFile(path); });
    new TFileDrop(MediaPlayer1, [](const std::string& path) { Form7->OpenMusicFile(path); });
}

void TForm7::AddOtherMusicFilter() {
    // The layout's three entries stay first; one more shows every other kind the player opens.
    QStringList masks;
    for (const std::string& extension : MusicFileExtensions())
        if (extension != "mp3" && extension != "cda" && extension != "wav")
            masks << QStringLiteral("*.") + QString::fromStdString(extension);
    OpenDialog2->SetFilter(OpenDialog2->Filter() + QStringLiteral("|Other music files|") +
                           masks.join(QLatin1Char(';')));
}

void TForm7::BindHandlers() {
    // Every handler the layout may name, by the name it uses.
    using Handler = void (TForm7::*)(QObject*);
    const std::pair<const char*, Handler> table[] = {
        {"New1Click", &TForm7::New1Click},
        {"N3Click", &TForm7::N3Click},
        {"SaveAs1Click", &TForm7::SaveAs1Click},
        {"BitBtn1Click", &TForm7::BitBtn1Click},
        {"BitBtn2Click", &TForm7::BitBtn2Click},
        {"BitBtn3Click", &TForm7::BitBtn3Click},
        {"BitBtn4Click", &TForm7::BitBtn4Click},
        {"BitBtn5Click", &TForm7::BitBtn5Click},
        {"FileListBox1DblClick", &TForm7::FileListBox1DblClick},
        {"Print1Click", &TForm7::Print1Click},
        {"PrinterSetup1Click", &TForm7::PrinterSetup1Click},
        {"DriveComboBox1Change", &TForm7::DriveComboBox1Change},
        {"DriveComboBox1Click", &TForm7::DriveComboBox1Click},
        {"DirectoryListBox1Change", &TForm7::DirectoryListBox1Change},
        {"FileListBox1Change", &TForm7::FileListBox1Change},
        {"FilterComboBox1Change", &TForm7::FilterComboBox1Change},
        {"SpeedButton1Click", &TForm7::SpeedButton1Click},
        {"SpeedButton2Click", &TForm7::SpeedButton2Click},
        {"SpeedButton3Click", &TForm7::SpeedButton3Click},
        {"SpeedButton4Click", &TForm7::SpeedButton4Click},
        {"ColorBox1Change", &TForm7::ColorBox1Change},
        {"Timer1Timer", &TForm7::Timer1Timer},
        {"BitBtn7Click", &TForm7::BitBtn7Click},
        {"SpeedButton6Click", &TForm7::SpeedButton6Click},
        {"Exit1Click", &TForm7::Exit1Click},
        {"SpeedButton5Click", &TForm7::SpeedButton5Click},
        {"BitBtn6Click", &TForm7::BitBtn6Click},
        {"About1Click", &TForm7::About1Click},
        {"SpeedButton7Click", &TForm7::SpeedButton7Click},
        {"HowToUseQuillet1Click", &TForm7::HowToUseQuillet1Click},
        {"HelpFile1Click", &TForm7::HelpFile1Click},
    };
    for (const auto& [name, method] : table)
        Handlers[name] = [this, m = method](QObject* sender) { (this->*m)(sender); };
}

void TForm7::FindControls() {
    RichEdit1 = Component<TRichEdit>("RichEdit1");
    Panel1 = Component<TPanel>("Panel1");
    DriveComboBox1 = Component<TDriveComboBox>("DriveComboBox1");
    DirectoryListBox1 = Component<TDirectoryListBox>("DirectoryListBox1");
    FileListBox1 = Component<TFileListBox>("FileListBox1");
    FilterComboBox1 = Component<TFilterComboBox>("FilterComboBox1");
    Edit1 = Component<TEdit>("Edit1");
    Label1 = Component<TLabel>("Label1");
    Label2 = Component<TLabel>("Label2");
    MediaPlayer1 = Component<TMediaPlayer>("MediaPlayer1");
    ColorBox1 = Component<TColorBox>("ColorBox1");
    OpenDialog1 = Component<TOpenDialog>("OpenDialog1");
    OpenDialog2 = Component<TOpenDialog>("OpenDialog2");
    SaveDialog1 = Component<TSaveDialog>("SaveDialog1");
    PrintDialog1 = Component<TPrintDialog>("PrintDialog1");
    PrinterSetupDialog1 = Component<TPrinterSetupDialog>("PrinterSetupDialog1");
    Timer1 = Component<TTimer>("Timer1");
    NameForScreenReaders();
}

void TForm7::NameForScreenReaders() {
    // Buttons read their captions; these controls have none of their own, so they are named
    // after the caption or the purpose they serve.
    const std::pair<QWidget*, const char*> names[] = {
        {RichEdit1, "Notes"},           {DriveComboBox1, "Drive"},
        {DirectoryListBox1, "Folders"}, {FileListBox1, "Files"},
        {Edit1, "File name"},           {FilterComboBox1, "File type"},
        {ColorBox1, "Window colour"},   {MediaPlayer1, "Music player"},
    };
    for (const auto& [widget, name] : names) widget->setAccessibleName(QString::fromLatin1(name));
    // Over AT-SPI a drop-down list is named by the entry it shows, as the desktop's toolkits do,
    // and a screen reader takes its purpose from the labels that name it as their buddy. None is
    // on screen for these, so a hidden label carries the purpose.
    for (QWidget* list :
         {static_cast<QWidget*>(DriveComboBox1), static_cast<QWidget*>(FilterComboBox1),
          static_cast<QWidget*>(ColorBox1)}) {
        auto* label = new QLabel(list->accessibleName(), list->parentWidget());
        label->setBuddy(list);
        label->hide();
    }
}

// ---------------------------------------------------------------------------------------------
// Progress flourish

void TForm7::ProgressFlourish(short count) {
    // The bar sits in the free strip under the lowest controls, the full width of the window.
    auto bar = std::make_unique<TProgressBar>(Client());
    const int height = 16;
    bar->setGeometry(0, Client()->height() - height, Client()->width(), height);
    bar->SetMin(0);
    bar->SetMax(count);
    bar->SetStep(1);
    bar->show();
    for (int i = 0; i < count; ++i) {
        bar->StepIt();
        bar->repaint();  // painted at once: the loop does not run between steps
    }
}

// ---------------------------------------------------------------------------------------------
// Note area

void TForm7::New1Click(QObject*) {
    RichEdit1->SetText("");
}

void TForm7::N3Click(QObject*) {
    if (OpenDialog1->Execute())
        RichEdit1->Lines().ReadFromFile(OpenDialog1->FileName().toStdString());
}

void TForm7::SaveAs1Click(QObject*) {
    if (SaveDialog1->Execute())
        RichEdit1->Lines().WriteToFile(SaveDialog1->FileName().toStdString());
}

void TForm7::BitBtn1Click(QObject*) {
    ProgressFlourish(1000);
    if (OpenDialog1->Execute())
        RichEdit1->Lines().ReadFromFile(OpenDialog1->FileName().toStdString());
}

void TForm7::BitBtn2Click(QObject*) {
    ProgressFlourish(1000);
    if (SaveDialog1->Execute())
        RichEdit1->Lines().WriteToFile(SaveDialog1->FileName().toStdString());
}

void TForm7::BitBtn3Click(QObject*) {
    ProgressFlourish(1000);
    RichEdit1->SetText("");
}

void TForm7::BitBtn4Click(QObject*) {
    ProgressFlourish(1000);
    const std::string path = FileListBox1->SelectedPath();
    RichEdit1->Lines().ReadFromFile(path);
}

void TForm7::BitBtn5Click(QObject*) {
    ProgressFlourish(1000);
    const std::string path = FileListBox1->SelectedPath();
    RichEdit1->Lines().WriteToFile(path);
}

void TForm7::FileListBox1DblClick(QObject*) {
    const std::string path = FileListBox1->SelectedPath();
    RichEdit1->Lines().ReadFromFile(path);
}

void TForm7::Print1Click(QObject*) {
    if (!PrintDialog1->Execute()) return;
    TPrinterTextFile prn;
    prn.AttachPrinter();
    prn.Rewrite();
    prn.InOutCheck();
    GlobalPrinter()->PrinterCanvas()->Font.Assign(RichEdit1->Font());
    const int count = RichEdit1->Lines().LineCount();
    for (int i = 0; i < count; ++i) {
        prn.WriteLine(RichEdit1->Lines().LineAt(i));
        prn.InOutCheck();
    }
    prn.Close();
    prn.InOutCheck();
}

void TForm7::PrinterSetup1Click(QObject*) {
    PrinterSetupDialog1->Execute();
}

// ---------------------------------------------------------------------------------------------
// Browser panel: the handlers link the controls and keep them in step.

void TForm7::DriveComboBox1Change(QObject*) {
    DriveComboBox1->SetDirList(DirectoryListBox1);
}

void TForm7::DriveComboBox1Click(QObject*) {
    DriveComboBox1->RefreshNow();
}

void TForm7::DirectoryListBox1Change(QObject*) {
    FileListBox1->RereadFiles();
}

void TForm7::FileListBox1Change(QObject*) {
    FileListBox1->ApplyPath(DirectoryListBox1->Directory());
    FileListBox1->SetFileEdit(Edit1);
}

void TForm7::FilterComboBox1Change(QObject*) {
    FileListBox1->SetMask(FilterComboBox1->CurrentMask());
}

// ---------------------------------------------------------------------------------------------
// Colour schemes

namespace {

// One scheme: the window colour, the font colour, then each control's colour in the order set.
struct TColorScheme {
    TColor Window;
    TColor Font;
    std::pair<const char*, TColor> Controls[7];
};

// "D", "B", "G" and "M". "D" is the default look, though not the start-up one exactly: Edit1
// turns white and the font takes the toolkit's default colour.
const TColorScheme kColorSchemes[4] = {
    {clSkyBlue,
     clDefault,
     {{"DriveComboBox1", clWhite},
      {"DirectoryListBox1", clWhite},
      {"FileListBox1", clWhite},
      {"Edit1", clWhite},
      {"RichEdit1", clWhite},
      {"FilterComboBox1", clWhite},
      {"Panel1", clSkyBlue}}},
    {clBlue,
     clBlack,
     {{"RichEdit1", clWhite},
      {"DriveComboBox1", clWhite},
      {"DirectoryListBox1", clWhite},
      {"FileListBox1", clWhite},
      {"Edit1", clWhite},
      {"FilterComboBox1", clWhite},
      {"Panel1", clSilver}}},
    {clGreen,
     clNavy,
     {{"RichEdit1", clWhite},
      {"DriveComboBox1", clWhite},
      {"DirectoryListBox1", clWhite},
      {"FileListBox1", clWhite},
      {"Edit1", clWhite},
      {"FilterComboBox1", clWhite},
      {"Panel1", clSilver}}},
    {clMaroon,
     clYellow,
     {{"RichEdit1", clGray},
      {"DriveComboBox1", clGray},
      {"DirectoryListBox1", clGray},
      {"FileListBox1", clGray},
      {"Edit1", clGray},
      {"FilterComboBox1", clGray},
      {"Panel1", clSilver}}},
};

}  // namespace

void TForm7::ApplyScheme(int scheme) {
    ProgressFlourish(100);
    const TColorScheme& s = kColorSchemes[scheme];
    Form7->SetColor(s.Window);
    Form7->SetFontColor(s.Font);
    for (const auto& [name, color] : s.Controls)
        Form7->FindComponent(name)->setProperty("Color", QVariant::fromValue(uint(color)));
}

void TForm7::SpeedButton1Click(QObject*) {
    ApplyScheme(0);
}

void TForm7::SpeedButton2Click(QObject*) {
    ApplyScheme(1);
}

void TForm7::SpeedButton3Click(QObject*) {
    ApplyScheme(2);
}

void TForm7::SpeedButton4Click(QObject*) {
    ApplyScheme(3);
}

void TForm7::ColorBox1Change(QObject*) {
    Form7->SetColor(ColorBox1->Selected());
}

// ---------------------------------------------------------------------------------------------
// Clock

void TForm7::Timer1Timer(QObject*) {
    Timer1->SetInterval(100);
    if (!ActiveControl()) return;
    Label1->SetCaption(QStringLiteral("Time: ") + ToQString(FormatLongTime(Now())));
    Label2->SetCaption(QStringLiteral("Date: ") + ToQString(FormatShortDate(Now())));
}

// ---------------------------------------------------------------------------------------------
// Music, windows, help and the end of the program

void TForm7::LoadNoteFile(const std::string& systemPath) {
    RichEdit1->Lines().ReadFromFile(FromSystemPath(systemPath));
}

void TForm7::OpenMusicFile(const std::string& systemPath) {
    MediaPlayer1->SetFileName(FromSystemPath(systemPath));
    MediaPlayer1->Open();
}

void TForm7::BitBtn7Click(QObject*) {
    if (!OpenDialog2->Execute()) return;
    MediaPlayer1->SetFileName(OpenDialog2->FileName().toStdString());
    MediaPlayer1->Open();
    ProgressFlourish(1000);
}

void TForm7::SpeedButton6Click(QObject*) {
    MediaPlayer1->Close();
}

void TForm7::Exit1Click(QObject*) {
    ProgressFlourish(100);
    Form7->Close();
}

void TForm7::SpeedButton5Click(QObject*) {
    Application->RequestQuit();
}

void TForm7::BitBtn6Click(QObject*) {
    AboutBox1->SetVisible(true);
}

void TForm7::About1Click(QObject*) {
    AboutBox1->SetVisible(true);
}

void TForm7::SpeedButton7Click(QObject*) {
    Form11->SetVisible(true);
}

void TForm7::HowToUseQuillet1Click(QObject*) {
    howto->SetVisible(true);
}

void TForm7::HelpFile1Click(QObject*) {
    Application->HelpFile = "Quil3.hlp";
    Application->HelpCommand(HELP_FINDER, 0);
}
