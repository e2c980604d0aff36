// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// A top-level window built from a layout file: caption, client size, colour, font, border,
// position rule, menu bar and the controls of its client area.
#include <QMainWindow>
#include <map>
#include <string>

#include "toolkit/Graphics.h"
#include "toolkit/TComponent.h"
#include "toolkit/TFont.h"

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog };
enum TPosition { poDesigned, poScreenCenter };

class TForm : public QMainWindow, public TComponent {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(uint Color READ Color WRITE SetColor)
    Q_PROPERTY(int ClientWidth READ ClientWidth WRITE SetClientWidth)
    Q_PROPERTY(int ClientHeight READ ClientHeight WRITE SetClientHeight)
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int OuterWidth READ OuterWidth WRITE SetOuterWidth)
    Q_PROPERTY(int OuterHeight READ OuterHeight WRITE SetOuterHeight)
    Q_PROPERTY(QString BorderStyle READ BorderStyleName WRITE SetBorderStyleName)
    Q_PROPERTY(bool BorderMaximize READ BorderMaximize WRITE SetBorderMaximize)
    Q_PROPERTY(QString Position READ PositionName WRITE SetPositionName)
    Q_PROPERTY(QString FontName READ FontName WRITE SetFontName)
    Q_PROPERTY(int FontHeight READ FontHeight WRITE SetFontHeight)
    Q_PROPERTY(uint FontColor READ FontColor WRITE SetFontColor)
    Q_PROPERTY(QString Icon READ IconPath WRITE SetIconPath)

public:
    explicit TForm(QWidget* parent = nullptr);
    ~TForm() override;

    // The client area: the parent of every control of the layout.
    QWidget* Client() const { return FClient; }

    // Builds the controls, menu and components of the layout file (a Qt resource path), binding
    // events to the handlers registered in Handlers.
    void LoadLayout(const QString& resourcePath);
    std::map<std::string, TNotifyEvent> Handlers;
    // The component of that name in this form, or nullptr.
    QObject* FindComponent(const std::string& name) const;
    // The component of that name and class; a layout that lacks it, or names another class,
    // throws a layout error that says which, rather than leaving a null for a handler to use.
    template <class T>
    T* Component(const std::string& name) const {
        QObject* found = FindComponent(name);
        if (T* component = dynamic_cast<T*>(found)) return component;
        ThrowMissingComponent(name, found);
    }

    // Showing: first time placed by the position rule, later where it was hidden; showing a
    // visible window changes nothing (it is not raised or activated). Hiding keeps everything.
    void SetVisible(bool visible);
    // Runs the close rule of the application: the main window quits, any other hides.
    void Close();

    // The control that has (or last had) the focus in this window, or nullptr.
    QWidget* ActiveControl() const;

    QString Caption() const { return windowTitle(); }
    void SetCaption(const QString& caption) { setWindowTitle(caption); }
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    TFont& Font() { return FFont; }
    TColor FontColor() const { return FFont.Color; }
    void SetFontColor(TColor color) { FFont.SetColor(color); }
    QString FontName() const { return QString::fromStdString(FFont.Name); }
    void SetFontName(const QString& name) { FFont.SetName(name.toStdString()); }
    int FontHeight() const { return FFont.Height; }
    void SetFontHeight(int height) { FFont.SetHeight(height); }

    int ClientWidth() const { return FClientWidth; }
    void SetClientWidth(int w);
    int ClientHeight() const { return FClientHeight; }
    void SetClientHeight(int h);
    int OuterWidth() const { return FOuterWidth; }
    void SetOuterWidth(int w);
    int OuterHeight() const { return FOuterHeight; }
    void SetOuterHeight(int h);
    int Left() const { return FLeft; }
    void SetLeft(int x) { FLeft = x; }
    int Top() const { return FTop; }
    void SetTop(int y) { FTop = y; }

    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    QString BorderStyleName() const;
    void SetBorderStyleName(const QString& name);
    bool BorderMaximize() const { return FBorderMaximize; }
    void SetBorderMaximize(bool on);
    QString IconPath() const { return FIconPath; }
    void SetIconPath(const QString& path);
    TPosition Position() const { return FPosition; }
    QString PositionName() const;
    void SetPositionName(const QString& name);

    // Bound by the layout's OnCreate: runs at the end of LoadLayout.
    TNotifyEvent OnCreate;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Applies the font (and its colour) to the window; every control takes it from here.
    virtual void FontChanged();

private:
    [[noreturn]] void ThrowMissingComponent(const std::string& name, const QObject* found) const;

    void ApplyGeometry();
    void ApplyWindowFlags();
    void KeepSystemMenuColours();
    void PlaceForFirstShow();

    QWidget* FClient;
    TColor FColor = clBtnFace;
    TFont FFont;
    int FClientWidth = 0, FClientHeight = 0;
    int FOuterWidth = 0, FOuterHeight = 0;
    int FLeft = 0, FTop = 0;
    TFormBorderStyle FBorderStyle = bsSizeable;
    bool FBorderMaximize = true;
    TPosition FPosition = poDesigned;
    bool FShownOnce = false;
    QString FIconPath;
};

// Creates the windows of every component in the tree below `root`, parents before children and
// siblings in creation order. A creation hook's error goes to the error box; the rest go on.
void CreateHandles(QObject* root);
