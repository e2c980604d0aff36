// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "toolkit/TApplication.h"

#include <QGridLayout>
#include <QMessageBox>
#include <QMouseEvent>
#include <QSpacerItem>
#include <QTimer>
#include <QWidget>

#include "platform/system/Exception.h"
#include "toolkit/Events.h"
#include "toolkit/TFont.h"
#include "toolkit/TForm.h"

TApplication* Application = nullptr;

static void InitProgramResources() {
    Q_INIT_RESOURCE(resources);
}

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    Application = this;
    InitProgramResources();  // the layouts and pictures live in the toolkit's static archive
    setQuitOnLastWindowClosed(false);  // only the main window's close ends the program
    InstallFontSubstitutes();
    FHelpManager.RegisterViewer(std::make_shared<TWinHelpViewer>());
}

TApplication::~TApplication() {
    DeleteForms();  // those left when start-up failed after some windows existed
    if (Application == this) Application = nullptr;
}

void TApplication::RegisterForm(TForm* form) {
    FForms.push_back(form);
    if (!FMainForm) {
        FMainForm = form;
        FMainFormPainted = false;
    }
    QObject::connect(form, &QObject::destroyed, this, [this, form] {
        std::erase(FForms, form);
        if (FMainForm == form) FMainForm = nullptr;
    });
}

int TApplication::Run() {
    if (FMainForm) SafeCall([this] { FMainForm->SetVisible(true); });
    int code = exec();
    for (TForm* f : FForms) f->hide();
    DeleteForms();
    return code;
}

void TApplication::DeleteForms() {
    // Each form's destroyed() erases it from FForms, so no iterator over the vector survives a
    // delete: take the last one each time, newest first.
    while (!FForms.empty()) delete FForms.back();
}

void TApplication::RequestQuit() {
    QTimer::singleShot(0, this, [] { QCoreApplication::exit(0); });
}

void TApplication::CloseWindow(TForm* form) {
    form->hide();
    if (form == FMainForm) RequestQuit();
}

std::string TApplication::ErrorBoxText(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
    return message;
}

void TApplication::ReportException(const std::exception& error) {
    CancelMode();
    if (dynamic_cast<const EAbort*>(&error)) return;
    const std::string text = ErrorBoxText(error.what());
    if (MessageBoxHook) {
        MessageBoxHook(text, Title);
        return;
    }
    QWidget* active = activeWindow();
    QWidget* focus = focusWidget();
    MakeErrorBox(text, active)->exec();
    if (active) active->activateWindow();
    if (focus) focus->setFocus();
}

void TApplication::CancelMode() {
    if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
    if (QWidget* pressed = FPressed.data()) {
        // A release far outside the control ends its press: a button comes up without clicking,
        // a list stops selecting and scrolling along.
        const QPointF outside(-32000, -32000);
        QMouseEvent release(QEvent::MouseButtonRelease, outside, pressed->mapToGlobal(outside),
                            FPressedButton, Qt::NoButton, keyboardModifiers());
        FPressed = nullptr;
        sendEvent(pressed, &release);
    }
    // Each close takes one popup away; a popup that refuses to close is not waited for.
    for (int i = 0; i < 16 && activePopupWidget(); ++i) activePopupWidget()->close();
}

std::unique_ptr<QMessageBox> TApplication::MakeErrorBox(const std::string& text,
                                                        QWidget* owner) const {
    const QString caption = QString::fromStdString(Title);
    auto box = std::make_unique<QMessageBox>(
        QMessageBox::Critical, caption, QString::fromUtf8(text.c_str()), QMessageBox::Ok, owner);
    // The window manager draws the caption in its title bar beside the window's icon and its
    // buttons; a box as narrow as a short message would cut it down to "Qu...+".
    QFont titleFont = font();
    titleFont.setBold(true);
    const QFontMetrics title(titleFont);
    const int decorations = 5 * title.height() + 40;
    const int wanted = title.horizontalAdvance(caption) + decorations;
    if (auto* grid = qobject_cast<QGridLayout*>(box->layout()))
        grid->addItem(new QSpacerItem(wanted, 0, QSizePolicy::Fixed, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    return box;
}

bool TApplication::HelpCommand(unsigned command, unsigned long data) {
    return FHelpManager.HelpCommand(HelpFile, FMainForm, command, data);
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    TrackPress(receiver, event);
    // Backstop: no exception may unwind through Qt's event dispatch.
    try {
        const bool handled = QApplication::notify(receiver, event);
        NotePaint(receiver, event);
        return handled;
    } catch (...) {
        HandleException();
        return true;
    }
}

void TApplication::AfterFirstPaint(std::function<void()> work) {
    if (FMainFormPainted) {
        work();
        return;
    }
    FDeferred.push_back(std::move(work));
}

void TApplication::RunDeferredWork() {
    std::vector<std::function<void()>> work;
    work.swap(FDeferred);
    for (auto& w : work) SafeCall(w);
}

void TApplication::NotePaint(const QObject* receiver, const QEvent* event) {
    if (FMainFormPainted || event->type() != QEvent::Paint || !FMainForm) return;
    if (receiver != FMainForm && !FMainForm->isAncestorOf(qobject_cast<const QWidget*>(receiver)))
        return;
    FMainFormPainted = true;
    // Behind the rest of this paint: the work waits for the window to be on the screen.
    QTimer::singleShot(0, this, [this] { RunDeferredWork(); });
}

void TApplication::TrackPress(QObject* receiver, const QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
        type != QEvent::MouseButtonRelease)
        return;
    auto* widget = qobject_cast<QWidget*>(receiver);
    if (!widget) return;
    const auto* mouse = static_cast<const QMouseEvent*>(event);
    if (type == QEvent::MouseButtonRelease) {
        if (mouse->buttons() == Qt::NoButton) FPressed = nullptr;
        return;
    }
    FPressed = widget;
    FPressedButton = mouse->button();
}

void HandleException() noexcept {
    try {
        throw;
    } catch (const std::exception& e) {
        if (Application) Application->ReportException(e);
    } catch (...) {
        if (Application) Application->ReportException(Exception("Unknown error"));
    }
}
