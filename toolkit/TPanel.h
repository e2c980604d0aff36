// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// A container with a centred caption, an optional single border line and two bevels (outer,
// then inner). Its colour is its own unless ParentColor makes it show its parent's.
#include <QFrame>

#include "toolkit/Graphics.h"
#include "toolkit/TComponent.h"

enum TBevelCut { bvNone, bvLowered, bvRaised };
enum TPanelBorderStyle { pbsNone, pbsSingle };

class TPanel : public QFrame, public TComponent {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(uint Color READ Color WRITE SetColor)
    Q_PROPERTY(bool ParentColor READ ParentColor WRITE SetParentColor)
    Q_PROPERTY(QString BorderStyle READ BorderStyleName WRITE SetBorderStyleName)
    Q_PROPERTY(QString BevelInner READ BevelInnerName WRITE SetBevelInnerName)
    Q_PROPERTY(QString BevelOuter READ BevelOuterName WRITE SetBevelOuterName)

public:
    explicit TPanel(QWidget* parent = nullptr);

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& caption);
    // With ParentColor on, the colour shown (the parent's); otherwise the panel's own.
    TColor Color() const;
    // An explicit colour ends ParentColor.
    void SetColor(TColor color);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool on);

    TPanelBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TPanelBorderStyle style);
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut cut);
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut cut);

    // Layout names: "bsNone"/"bsSingle" and "bvNone"/"bvLowered"/"bvRaised"; others are errors.
    QString BorderStyleName() const;
    void SetBorderStyleName(const QString& name);
    QString BevelInnerName() const { return BevelName(FBevelInner); }
    void SetBevelInnerName(const QString& name) { SetBevelInner(BevelFromName(name)); }
    QString BevelOuterName() const { return BevelName(FBevelOuter); }
    void SetBevelOuterName(const QString& name) { SetBevelOuter(BevelFromName(name)); }

    // The area inside the border and bevels, where the caption is centred.
    QRect InnerRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static QString BevelName(TBevelCut cut);
    static TBevelCut BevelFromName(const QString& name);
    // Draws a one-pixel bevel along the inside of `r` and shrinks `r` by it.
    void DrawBevel(QPainter& painter, QRect& r, TBevelCut cut) const;

    QString FCaption;
    TColor FColor = clBtnFace;
    bool FParentColor = false;
    TPanelBorderStyle FBorderStyle = pbsNone;
    TBevelCut FBevelInner = bvNone;
    TBevelCut FBevelOuter = bvRaised;
};
