// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The pieces of a desktop session that the desktop tests start for themselves, each private to
// the test: a runtime folder, a headless Wayland compositor, a virtual X display, a session bus
// and the accessibility bus with its registry. Every service runs in a process group of its own
// and is ended with everything it started; a service that cannot start says why. The tests skip
// when the machine lacks a service's program, and the Wayland test also when the compositor
// cannot start there; any other service that does not start fails the test.
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

namespace DesktopTest {

// The full path of `program` on PATH or in the distribution's private program folders; empty
// when it is not installed.
QString FindProgram(const QString& program);

// One service process. Ended, with every process of its group, when the object goes.
class TServiceProcess {
public:
    TServiceProcess() = default;
    TServiceProcess(const TServiceProcess&) = delete;
    TServiceProcess& operator=(const TServiceProcess&) = delete;
    ~TServiceProcess() { Stop(); }

    bool Start(const QString& program, const QStringList& arguments,
               const QProcessEnvironment& environment);
    // The first line the service writes on standard output, within `ms`; empty when none came.
    QString ReadLine(int ms);
    bool Running() const { return FProcess && FProcess->state() == QProcess::Running; }
    // What the service wrote on standard error (read once it has ended or been stopped).
    QString Errors();
    void Stop();

private:
    std::unique_ptr<QProcess> FProcess;
    qint64 FGroup = 0;
    QString FErrors;
};

// A private XDG_RUNTIME_DIR (mode 0700, as Wayland clients and the compositor require).
class TRuntimeDir {
public:
    TRuntimeDir();
    QString Path() const { return FDir.path(); }
    bool IsValid() const { return FDir.isValid(); }

private:
    QTemporaryDir FDir;
};

// A headless compositor with one 1024x768 output, listening on its own socket.
class TWestonServer {
public:
    // False, with Why(), when it would not start.
    bool Start(const TRuntimeDir& runtime);
    QString Socket() const { return QStringLiteral("quillet-test-0"); }
    const QString& Why() const { return FWhy; }
    void Stop() { FProcess.Stop(); }

private:
    TServiceProcess FProcess;
    QString FWhy;
};

// A virtual X display on the first free display number.
class TVirtualDisplay {
public:
    bool Start();
    QString Display() const { return FDisplay; }
    const QString& Why() const { return FWhy; }

private:
    TServiceProcess FProcess;
    QString FDisplay;
    QString FWhy;
};

// A session bus, and on request the accessibility bus that screen readers and applications
// find through it (org.a11y.Bus), with the registry of the applications on it.
class TSessionBus {
public:
    bool Start();
    bool StartAccessibilityBus();
    QString Address() const { return FAddress; }
    // The accessibility bus's address, as org.a11y.Bus gives it.
    QString AccessibilityAddress() const { return FAccessibilityAddress; }
    const QString& Why() const { return FWhy; }
    // The session's XDG_RUNTIME_DIR, where the accessibility bus has its socket.
    QString RuntimeDir() const { return FRuntime.Path(); }

private:
    TRuntimeDir FRuntime;
    TServiceProcess FDaemon;
    TServiceProcess FLauncher;
    QString FAddress;
    QString FAccessibilityAddress;
    QString FWhy;
};

// Waits, serving events, until `done` holds or `ms` have passed; whether it held.
bool WaitFor(const std::function<bool()>& done, int ms);

}  // namespace DesktopTest
