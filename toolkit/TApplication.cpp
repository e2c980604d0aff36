#include "toolkit/TApplication.h"

#include <QMessageBox>
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
    for (auto it = FForms.rbegin(); it != FForms.rend(); ++it) delete *it;
    FForms.clear();
    if (Application == this) Application = nullptr;
}

void TApplication::RegisterForm(TForm* form) {
    FForms.push_back(form);
    if (!FMainForm) FMainForm = form;
    QObject::connect(form, &QObject::destroyed, this, [this, form] {
        std::erase(FForms, form);
        if (FMainForm == form) FMainForm = nullptr;
    });
}

int TApplication::Run() {
    if (FMainForm) SafeCall([this] { FMainForm->SetVisible(true); });
    int code = exec();
    for (TForm* f : FForms) f->hide();
    while (!FForms.empty()) delete FForms.back();  // destroyed() unregisters it
    return code;
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
    if (dynamic_cast<const EAbort*>(&error)) return;
    if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
    const std::string text = ErrorBoxText(error.what());
    if (MessageBoxHook) {
        MessageBoxHook(text, Title);
        return;
    }
    QWidget* active = activeWindow();
    QWidget* focus = focusWidget();
    QMessageBox box(QMessageBox::Critical, QString::fromStdString(Title),
                    QString::fromUtf8(text.c_str()), QMessageBox::Ok, active);
    box.exec();
    if (active) active->activateWindow();
    if (focus) focus->setFocus();
}

bool TApplication::HelpCommand(unsigned command, unsigned long data) {
    return FHelpManager.HelpCommand(HelpFile, FMainForm, command, data);
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    // Backstop: no exception may unwind through Qt's event dispatch.
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        HandleException();
        return true;
    }
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
