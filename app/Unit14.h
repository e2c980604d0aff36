#pragma once
// The How-to window: an embedded browser showing the how-to page, loaded at start-up.
#include "toolkit/TForm.h"

class Thowto : public TForm {
    Q_OBJECT

public:
    explicit Thowto(QWidget* parent = nullptr);
};

extern Thowto* howto;
