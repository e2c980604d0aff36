// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "tests/desktop/PrivateSession.h"

#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>
#include <cstring>

namespace DesktopTest {

QString FindProgram(const QString& program) {
    QString found = QStandardPaths::findExecutable(program);
    if (!found.isEmpty()) return found;
    // The bus launcher and the registry are not on PATH: Debian keeps them in libexec.
    return QStandardPaths::findExecutable(
        program, {QStringLiteral("/usr/libexec"), QStringLiteral("/usr/lib/at-spi2-core")});
}

bool WaitFor(const std::function<bool()>& done, int ms) {
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(20);
    }
    return true;
}

bool TServiceProcess::Start(const QString& program, const QStringList& arguments,
                            const QProcessEnvironment& environment) {
    Stop();
    FProcess = std::make_unique<QProcess>();
    FProcess->setProcessEnvironment(environment);
    // A group of its own, so that the buses and helpers the service starts end with it.
    FProcess->setChildProcessModifier([] { ::setpgid(0, 0); });
    FProcess->start(program, arguments);
    if (!FProcess->waitForStarted(10000)) return false;
    FGroup = FProcess->processId();
    return true;
}

QString TServiceProcess::ReadLine(int ms) {
    if (!FProcess) return {};
    QDeadlineTimer deadline(ms);
    while (!FProcess->canReadLine()) {
        if (FProcess->state() != QProcess::Running || deadline.hasExpired()) return {};
        FProcess->waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime())));
    }
    return QString::fromLocal8Bit(FProcess->readLine()).trimmed();
}

QString TServiceProcess::Errors() {
    if (FProcess) FErrors += QString::fromLocal8Bit(FProcess->readAllStandardError());
    return FErrors;
}

void TServiceProcess::Stop() {
    if (!FProcess) return;
    if (FGroup > 0) {
        ::kill(-pid_t(FGroup), SIGTERM);
        if (!FProcess->waitForFinished(5000)) ::kill(-pid_t(FGroup), SIGKILL);
        // What the service started may outlive it by a moment; the group goes as a whole.
        ::kill(-pid_t(FGroup), SIGKILL);
    }
    FProcess->waitForFinished(5000);
    Errors();
    FProcess.reset();
    FGroup = 0;
}

TRuntimeDir::TRuntimeDir() {
    // QTemporaryDir makes the folder readable by its owner alone, which is what the Wayland
    // libraries check for.
    QFile::setPermissions(FDir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

namespace {

// Whether a Unix socket at `path` takes a connection.
bool SocketAnswers(const QString& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0) return false;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = path.toLocal8Bit();
    if (name.size() >= qsizetype(sizeof address.sun_path)) {
        ::close(fd);
        return false;
    }
    std::memcpy(address.sun_path, name.constData(), std::size_t(name.size()));
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}

QProcessEnvironment ServiceEnvironment() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name :
         {"DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS"})
        env.remove(QString::fromLatin1(name));
    return env;
}

QString LastLines(const QString& text, int count = 6) {
    QStringList lines = text.trimmed().split(u'\n');
    if (lines.size() > count) lines = lines.mid(lines.size() - count);
    return lines.join(u'\n');
}

}  // namespace

bool TWestonServer::Start(const TRuntimeDir& runtime) {
    const QString weston = FindProgram(QStringLiteral("weston"));
    if (weston.isEmpty()) {
        FWhy = QStringLiteral("weston is not installed");
        return false;
    }
    QProcessEnvironment env = ServiceEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.Path());
    // The pixel renderer draws the output, so that a screenshot shows the windows.
    const QStringList arguments = {QStringLiteral("--backend=headless-backend.so"),
                                   QStringLiteral("--socket=") + Socket(),
                                   QStringLiteral("--idle-time=0"),
                                   QStringLiteral("--no-config"),
                                   QStringLiteral("--use-pixman"),
                                   QStringLiteral("--width=1024"),
                                   QStringLiteral("--height=768")};
    if (!FProcess.Start(weston, arguments, env)) {
        FWhy = QStringLiteral("weston did not start");
        return false;
    }
    const QString socket = runtime.Path() + u'/' + Socket();
    const bool answers = WaitFor(
        [&] { return FProcess.Running() && QFileInfo::exists(socket) && SocketAnswers(socket); },
        20000);
    if (!answers) {
        FProcess.Stop();
        FWhy =
            QStringLiteral("weston does not answer on its socket: ") + LastLines(FProcess.Errors());
        return false;
    }
    return true;
}

bool TVirtualDisplay::Start() {
    const QString xvfb = FindProgram(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty()) {
        FWhy = QStringLiteral("Xvfb is not installed");
        return false;
    }
    // -displayfd: the server picks a free display number and writes it on standard output once
    // it takes connections.
    if (!FProcess.Start(
            xvfb,
            {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
             QStringLiteral("0"), QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
             QStringLiteral("tcp")},
            ServiceEnvironment())) {
        FWhy = QStringLiteral("Xvfb did not start");
        return false;
    }
    const QString number = FProcess.ReadLine(20000);
    if (number.isEmpty()) {
        FProcess.Stop();
        FWhy = QStringLiteral("Xvfb gave no display: ") + LastLines(FProcess.Errors());
        return false;
    }
    FDisplay = u':' + number;
    return true;
}

bool TSessionBus::Start() {
    if (!FDaemon.Start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--session"), QStringLiteral("--nofork"),
                        QStringLiteral("--print-address=1")},
                       ServiceEnvironment())) {
        FWhy = QStringLiteral("dbus-daemon did not start");
        return false;
    }
    FAddress = FDaemon.ReadLine(10000);
    if (FAddress.isEmpty()) FWhy = QStringLiteral("dbus-daemon gave no address");
    return !FAddress.isEmpty();
}

bool TSessionBus::StartAccessibilityBus() {
    const QString launcher = FindProgram(QStringLiteral("at-spi-bus-launcher"));
    if (launcher.isEmpty()) {
        FWhy = QStringLiteral("at-spi-bus-launcher is not installed (at-spi2-core)");
        return false;
    }
    QProcessEnvironment env = ServiceEnvironment();
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), FAddress);
    // The bus's socket goes into the runtime folder, else into ~/.cache, shared by every test.
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), FRuntime.Path());
    // Started at once rather than when the desktop's settings ask for it; the registry comes
    // with the bus.
    if (!FLauncher.Start(launcher, {QStringLiteral("--launch-immediately")}, env)) {
        FWhy = QStringLiteral("at-spi-bus-launcher did not start");
        return false;
    }
    // The connection is made per call and dropped again, so that a later test's bus of the same
    // address is not met through a stale connection.
    const QString name = QStringLiteral("desktop-test-session");
    const bool found = WaitFor(
        [&] {
            QDBusConnection bus = QDBusConnection::connectToBus(FAddress, name);
            QDBusMessage call = QDBusMessage::createMethodCall(
                QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress"));
            // Only the launcher started here may answer, not one the bus would start itself.
            call.setAutoStartService(false);
            const QDBusMessage reply = bus.call(call, QDBus::Block, 2000);
            QDBusConnection::disconnectFromBus(name);
            if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
                return false;
            FAccessibilityAddress = reply.arguments().first().toString();
            return !FAccessibilityAddress.isEmpty();
        },
        20000);
    if (!found)
        FWhy = QStringLiteral("the accessibility bus did not come up: ") +
               LastLines(FLauncher.Errors());
    return found;
}

}  // namespace DesktopTest
