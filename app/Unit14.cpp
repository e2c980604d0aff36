#include "app/Unit14.h"

Thowto* howto = nullptr;

Thowto::Thowto(QWidget* parent) : TForm(parent) {
    LoadLayout(QStringLiteral(":/layouts/Unit14.json"));
}
