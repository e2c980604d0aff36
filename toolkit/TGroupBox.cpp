#include "toolkit/TGroupBox.h"

TGroupBox::TGroupBox(QWidget* parent) : QGroupBox(parent) {
    // Without a focus policy of its own, QGroupBox hands incoming focus to its first child.
    setFocusPolicy(Qt::NoFocus);
}

void TGroupBox::SetCaption(const QString& caption) {
    if (caption == title()) return;
    setTitle(caption);
}
