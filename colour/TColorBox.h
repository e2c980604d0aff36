#pragma once
// The colour list: a drop-down of named colours, each shown with a swatch and its identifier.
// This first version lists the standard, extended and system colours and reports the pick; the
// remaining styles and the custom-colour entry come with the colour list's own work.
#include <QComboBox>

#include "toolkit/Graphics.h"
#include "toolkit/TComponent.h"

class TColorBox : public QComboBox, public TComponent {
    Q_OBJECT
    Q_PROPERTY(uint Selected READ Selected WRITE SetSelected)
    Q_PROPERTY(int ItemHeight READ ItemHeight WRITE SetItemHeight)
    Q_PROPERTY(uint Color READ Color WRITE SetColor)

public:
    explicit TColorBox(QWidget* parent = nullptr);

    // The selected entry's colour; 0xFF000000 when nothing is selected.
    TColor Selected() const;
    void SetSelected(TColor color);
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int height);
    TColor Color() const { return FColor; }
    void SetColor(TColor color);

    TNotifyEvent OnChange;
    bool BindEvent(std::string_view event, const TNotifyEvent& handler) override;

private:
    void Populate();
    int FItemHeight = 16;
    TColor FColor = clWindow;
};

// Every named colour, in the order the colour list shows them.
struct TNamedColor {
    const char* Identifier;
    TColor Value;
};
extern const TNamedColor NamedColors[52];
