#include "app/Unit11.h"

TForm11* Form11 = nullptr;

TForm11::TForm11(QWidget* parent) : TForm(parent) {
    LoadLayout(QStringLiteral(":/layouts/Unit11.json"));
}
