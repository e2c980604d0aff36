// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "toolkit/TForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>

#include "platform/system/Exception.h"
#include "toolkit/DeviceImage.h"
#include "toolkit/LayoutReader.h"
#include "toolkit/TApplication.h"

namespace {
// Frame the window manager adds around a sizeable window, for layouts that give outer sizes.
constexpr int kFrameWidth = 8;
constexpr int kFrameHeight = 27;
}  // namespace

TForm::TForm(QWidget* parent) : QMainWindow(parent), FClient(new QWidget(this)) {
    PublishEvent("OnCreate", OnCreate);
    FClient->setObjectName(QStringLiteral("ClientArea"));
    FClient->setAutoFillBackground(true);
    setCentralWidget(FClient);
    FFont.OnChange = [this] { FontChanged(); };
    FontChanged();
    SetColor(FColor);
    ApplyWindowFlags();
}

TForm::~TForm() = default;

void TForm::LoadLayout(const QString& resourcePath) {
    LayoutReader reader(this);
    reader.Read(resourcePath);
    ApplyGeometry();
    Fire(OnCreate, this);
}

QObject* TForm::FindComponent(const std::string& name) const {
    const QString qname = QString::fromStdString(name);
    if (objectName() == qname) return const_cast<TForm*>(this);
    return findChild<QObject*>(qname);
}

void TForm::ThrowMissingComponent(const std::string& name, const QObject* found) const {
    const std::string form = objectName().toStdString();
    if (!found) throw Exception("Window layout: " + form + " has no component " + name);
    throw Exception("Window layout: " + name + " of " + form + " is a " +
                    found->metaObject()->className() + ", not the class the window expects");
}

void TForm::SetVisible(bool visible) {
    if (visible == isVisible()) return;
    if (!visible) {
        hide();
        return;
    }
    CreateHandles(this);
    if (!FShownOnce) PlaceForFirstShow();
    FShownOnce = true;
    show();
    raise();
    activateWindow();
}

void TForm::Close() {
    if (Application)
        Application->CloseWindow(this);
    else
        hide();
}

QWidget* TForm::ActiveControl() const {
    QWidget* w = focusWidget();
    if (w && w->isEnabled() && w->focusPolicy() != Qt::NoFocus) return w;
    return nullptr;
}

void TForm::SetColor(TColor color) {
    FColor = color;
    QPalette pal = FClient->palette();
    pal.setColor(QPalette::Window, ToQColor(color));
    FClient->setPalette(pal);
    QPalette own = palette();
    own.setColor(QPalette::Window, ToQColor(color));
    setPalette(own);
    KeepSystemMenuColours();
}

void TForm::KeepSystemMenuColours() {
    // The menu bar is the system's: neither the window colour nor the font colour reaches it.
    QWidget* menu = menuWidget();
    if (!menu) return;
    QPalette system = QApplication::palette();
    system.setResolveMask(~QPalette::ResolveMask(0));  // every role its own, none inherited
    menu->setPalette(system);
}

void TForm::FontChanged() {
    setFont(FFont.ToQFont());
    QPalette pal = palette();
    const QPalette defaults = QApplication::palette();
    // The default colour (clDefault) is the toolkit's own text colour.
    QColor text =
        FFont.Color == clDefault ? defaults.color(QPalette::WindowText) : ToQColor(FFont.Color);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        pal.setColor(QPalette::Active, role, text), pal.setColor(QPalette::Inactive, role, text);
    const bool looksTheSame = pal == palette();
    setPalette(pal);
    KeepSystemMenuColours();
    // Controls that keep a font of their own in step with the window's (the note area) hear of
    // it through the window's palette change; a new font colour that draws like the old one
    // (clWindowText -> clBlack) changes no palette, so they are told all the same.
    if (looksTheSame) {
        QEvent changed(QEvent::PaletteChange);
        QCoreApplication::sendEvent(this, &changed);
    }
}

void TForm::SetClientWidth(int w) {
    FClientWidth = w;
    ApplyGeometry();
}

void TForm::SetClientHeight(int h) {
    FClientHeight = h;
    ApplyGeometry();
}

void TForm::SetOuterWidth(int w) {
    FOuterWidth = w;
    FClientWidth = w - kFrameWidth;
    ApplyGeometry();
}

void TForm::SetOuterHeight(int h) {
    FOuterHeight = h;
    FClientHeight = h - kFrameHeight;
    ApplyGeometry();
}

QString TForm::BorderStyleName() const {
    switch (FBorderStyle) {
        case bsNone:
            return QStringLiteral("bsNone");
        case bsSingle:
            return QStringLiteral("bsSingle");
        case bsDialog:
            return QStringLiteral("bsDialog");
        default:
            return QStringLiteral("bsSizeable");
    }
}

void TForm::SetBorderStyleName(const QString& name) {
    if (name == QLatin1String("bsNone"))
        FBorderStyle = bsNone;
    else if (name == QLatin1String("bsSingle"))
        FBorderStyle = bsSingle;
    else if (name == QLatin1String("bsDialog"))
        FBorderStyle = bsDialog;
    else
        FBorderStyle = bsSizeable;
    ApplyWindowFlags();
    ApplyGeometry();
}

void TForm::SetBorderMaximize(bool on) {
    FBorderMaximize = on;
    ApplyWindowFlags();
}

void TForm::SetIconPath(const QString& path) {
    FIconPath = path;
    if (!Application) {
        setWindowIcon(IconAtEverySize(path));
        return;
    }
    // Decoding the icon's pictures waits for the main window's first paint: the window is on
    // the screen that much sooner, and the task bar takes the icon a moment later.
    Application->AfterFirstPaint([form = QPointer<TForm>(this), path] {
        if (form && form->FIconPath == path) form->setWindowIcon(IconAtEverySize(path));
    });
}

QString TForm::PositionName() const {
    return FPosition == poScreenCenter ? QStringLiteral("poScreenCenter")
                                       : QStringLiteral("poDesigned");
}

void TForm::SetPositionName(const QString& name) {
    FPosition = name == QLatin1String("poScreenCenter") ? poScreenCenter : poDesigned;
}

void TForm::showEvent(QShowEvent* event) {
    CreateHandles(this);
    FShownOnce = true;
    QMainWindow::showEvent(event);
}

void TForm::closeEvent(QCloseEvent* event) {
    // The close action hides the window; the main window's close also ends the program.
    event->ignore();
    SafeCall([this] { Close(); });
}

void TForm::ApplyGeometry() {
    if (FClientWidth <= 0 || FClientHeight <= 0) return;
    const int menuHeight = menuWidget() ? menuWidget()->sizeHint().height() : 0;
    const QSize outer(FClientWidth, FClientHeight + menuHeight);
    if (FBorderStyle == bsSizeable) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        resize(outer);
    } else {
        FClient->setFixedSize(FClientWidth, FClientHeight);
        setFixedSize(outer);
    }
}

void TForm::ApplyWindowFlags() {
    const bool wasVisible = isVisible();
    Qt::WindowFlags flags = Qt::Window;
    if (FBorderStyle == bsNone) {
        flags |= Qt::FramelessWindowHint;
    } else {
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
        if (FBorderMaximize && FBorderStyle != bsDialog) flags |= Qt::WindowMaximizeButtonHint;
    }
    setWindowFlags(flags);
    if (wasVisible) show();
}

void TForm::PlaceForFirstShow() {
    ApplyGeometry();
    if (FPosition == poScreenCenter) {
        QScreen* screen = QGuiApplication::primaryScreen();
        if (!screen) return;
        const QRect area = screen->availableGeometry();
        const QSize frame =
            FBorderStyle == bsNone ? size() : size() + QSize(kFrameWidth, kFrameHeight);
        move(area.x() + (area.width() - frame.width()) / 2,
             area.y() + (area.height() - frame.height()) / 2);
    } else {
        move(FLeft, FTop);
    }
}

void CreateHandles(QObject* root) {
    // A control whose creation fails (a start folder that cannot be entered) is reported and
    // the others are still made: the window shows with what it could make.
    if (auto* c = dynamic_cast<TComponent*>(root)) SafeCall([c] { c->CreateHandle(); });
    // children() keeps creation order; copy it, since a creation hook may add children.
    const QObjectList children = root->children();
    for (QObject* child : children) CreateHandles(child);
}
