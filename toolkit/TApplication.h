// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The application object: title, help file, main window, the message loop and the error box.
#include <QApplication>
#include <QIcon>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/help/HelpViewer.h"
#include "toolkit/THelpManager.h"

class QMessageBox;

class TForm;

class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);
    ~TApplication() override;

    std::string Title;
    std::string HelpFile;
    QIcon Icon;

    TForm* MainForm() const { return FMainForm; }

    // Creates a form of class T into `ref`; the first form created becomes the main window.
    template <class T>
    void CreateForm(T*& ref) {
        ref = new T();
        RegisterForm(ref);
    }
    void RegisterForm(TForm* form);
    const std::vector<TForm*>& Forms() const { return FForms; }

    // Shows the main window, runs the message loop until the quit request, then hides and
    // destroys every form, the last created first. Returns the exit code.
    int Run();
    // Start-up work that the first sight of the main window does not need (the how-to page):
    // it runs once the main window has been painted for the first time, so the window appears
    // sooner, and at once when that has happened already.
    void AfterFirstPaint(std::function<void()> work);
    // Runs the start-up work still waiting for the first paint now, in the order it was given.
    void RunDeferredWork();

    // Posts the quit request; the loop ends when it takes it.
    void RequestQuit();
    // Main window: quit the program; any other window: hide it.
    void CloseWindow(TForm* form);

    // Shows the message of an error that escaped a handler; the program carries on. The mouse
    // is released first (CancelMode), for every error, the silent abort included.
    void ReportException(const std::exception& error);
    // Ends what the mouse was in the middle of: the capture is released, a pressed button or a
    // drag in a list ends without acting (it never sees the release the user makes later, which
    // goes to the error box), an open menu or drop-down list closes.
    void CancelMode();
    // The error box for a text, captioned with Title, wide enough to show the whole caption.
    std::unique_ptr<QMessageBox> MakeErrorBox(const std::string& text, QWidget* owner) const;
    // The text the error box shows for a message: a full stop is appended when the last
    // character's code is above that of ".".
    static std::string ErrorBoxText(const std::string& message);

    // Runs a help command against HelpFile through the help manager, with the main window as
    // the owner. No window of the program has a help file of its own.
    bool HelpCommand(unsigned command, unsigned long data);
    THelpManager& HelpManager() { return FHelpManager; }

    // Tests replace the modal error box with this hook (text, caption).
    std::function<void(const std::string& text, const std::string& caption)> MessageBoxHook;

    bool notify(QObject* receiver, QEvent* event) override;

private:
    // Deletes every window still registered, newest first.
    void DeleteForms();

    // Remembers the control a mouse button goes down on (for CancelMode).
    void TrackPress(QObject* receiver, const QEvent* event);

    // Notes the main window's first paint and queues the waiting work behind it.
    void NotePaint(const QObject* receiver, const QEvent* event);

    TForm* FMainForm = nullptr;
    std::vector<TForm*> FForms;
    bool FMainFormPainted = false;
    std::vector<std::function<void()>> FDeferred;
    THelpManager FHelpManager;
    // The control a mouse button went down on, until the last button comes up again.
    QPointer<QWidget> FPressed;
    Qt::MouseButton FPressedButton = Qt::NoButton;
};

extern TApplication* Application;
