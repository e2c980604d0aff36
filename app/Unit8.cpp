#include "app/Unit8.h"

TAboutBox1* AboutBox1 = nullptr;

TAboutBox1::TAboutBox1(QWidget* parent) : TForm(parent) {
    LoadLayout(QStringLiteral(":/layouts/Unit8.json"));
}
