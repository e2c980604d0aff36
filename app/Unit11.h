#pragma once
// The Descriptions window: a static description of the program in an editable memo.
#include "toolkit/TForm.h"

class TForm11 : public TForm {
    Q_OBJECT

public:
    explicit TForm11(QWidget* parent = nullptr);
};

extern TForm11* Form11;
