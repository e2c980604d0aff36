#pragma once
// The note area control as layouts name it.
#include "notes/TCustomRichEdit.h"

class TRichEdit : public TCustomRichEdit {
    Q_OBJECT

public:
    explicit TRichEdit(QWidget* parent = nullptr) : TCustomRichEdit(parent) {}
};
