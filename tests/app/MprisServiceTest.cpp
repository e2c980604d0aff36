// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The player on a real session bus, started by the test, called through QDBusInterface from a
// second connection as a desktop's sound menu would: calls act as clicks of the bar's buttons,
// refused where the bar refuses, the Can* properties follow the usable buttons, changes are
// signalled, and a second instance takes the .instance<PID> name.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QEventLoop>
#include <QProcess>
#include <QThread>

#include "app/MprisService.h"
#include "app/Unit7.h"
#include "platform/mci/MciOutput.h"
#include "player/TMediaPlayer.h"
#include "tests/TestSupport.h"
#include "tests/ToneFiles.h"
#include "tests/app/AppFixture.h"
#include "tests/platform/mci/MciTestSupport.h"

namespace {

// A session bus of the test's own: dbus-daemon with the distribution's session configuration.
class TestBus {
public:
    TestBus() {
        FDaemon.start(QStringLiteral("dbus-daemon"),
                      {QStringLiteral("--session"), QStringLiteral("--nofork"),
                       QStringLiteral("--print-address=1")});
        if (FDaemon.waitForStarted(10000) && FDaemon.waitForReadyRead(10000))
            Address = QString::fromLocal8Bit(FDaemon.readLine()).trimmed();
    }
    ~TestBus() {
        FDaemon.terminate();
        FDaemon.waitForFinished(5000);
    }
    QDBusConnection Connect(const QString& name) const {
        return QDBusConnection::connectToBus(Address, name);
    }
    QString Address;

private:
    QProcess FDaemon;
};

// Runs `work` on a thread of its own, as another program would call, while this thread keeps
// serving the calls it makes.
template <class F>
void AsDesktop(F work) {
    QThread* thread = QThread::create(std::move(work));
    thread->start();
    // The calls of the bus time out after 25 seconds, so the thread ends before this deadline.
    EXPECT_TRUE(WaitUntil([&] { return thread->isFinished(); }, 60000))
        << "a call of the desktop did not return";
    thread->wait();
    delete thread;
}

// Counts PropertiesChanged signals of the player seen on the desktop's connection.
class ChangeListener : public QObject {
    Q_OBJECT
public:
    QStringList Changed;
public Q_SLOTS:
    void PropertiesChanged(const QString& interface, const QVariantMap& changed,
                           const QStringList&) {
        if (interface == QStringLiteral("org.mpris.MediaPlayer2.Player")) Changed += changed.keys();
    }
};

class MprisService : public AppFixture {
protected:
    void SetUp() override {
        SetMciOutput(TMciOutput::Silent);
        AppFixture::SetUp();
        ASSERT_FALSE(Bus.Address.isEmpty()) << "dbus-daemon did not start";
        Service = std::make_unique<TMprisService>(
            Form7->MediaPlayer1, Bus.Connect(QStringLiteral("quillet")),
            [](const std::string& path) { Form7->OpenMusicFile(path); }, [] {});
        ASSERT_EQ(Service->ServiceName(), QStringLiteral("org.mpris.MediaPlayer2.quillet"));
    }
    void TearDown() override {
        Service.reset();
        // Connections are kept by name: the next test's bus is another daemon.
        for (const char* name : {"quillet", "desktop"})
            QDBusConnection::disconnectFromBus(QString::fromLatin1(name));
        AppFixture::TearDown();
    }
    // A property of the Player interface, read by the desktop.
    QVariant Property(const char* name) {
        QVariant value;
        AsDesktop([&] {
            QDBusConnection bus = Bus.Connect(QStringLiteral("desktop"));
            QDBusInterface player(Service->ServiceName(), QStringLiteral("/org/mpris/MediaPlayer2"),
                                  QStringLiteral("org.mpris.MediaPlayer2.Player"), bus);
            value = player.property(name);
        });
        return value;
    }
    // A method of `interface`, called by the desktop; its error name, empty on success.
    QString Call(const QString& method,
                 const QString& interface = QStringLiteral("org.mpris.MediaPlayer2.Player")) {
        QString error;
        AsDesktop([&] {
            QDBusConnection bus = Bus.Connect(QStringLiteral("desktop"));
            QDBusInterface target(Service->ServiceName(), QStringLiteral("/org/mpris/MediaPlayer2"),
                                  interface, bus);
            const QDBusMessage reply = target.call(method);
            if (reply.type() == QDBusMessage::ErrorMessage) error = reply.errorName();
        });
        return error;
    }
    TestBus Bus;
    std::unique_ptr<TMprisService> Service;
};

TEST_F(MprisService, WithNothingOpenCallsDoNothingAndCanAnswersAreHonest) {
    for (const char* can : {"CanPlay", "CanPause", "CanGoNext", "CanGoPrevious"})
        EXPECT_EQ(Property(can), QVariant(false)) << can;
    EXPECT_EQ(Property("CanControl"), QVariant(true));
    EXPECT_EQ(Property("PlaybackStatus"), QVariant(QStringLiteral("Stopped")));
    for (const char* m : {"Play", "Pause", "PlayPause", "Stop", "Next", "Previous"})
        EXPECT_EQ(Call(QString::fromLatin1(m)), QString()) << m;
    EXPECT_TRUE(ErrorBoxRecorder::Take().empty());
    EXPECT_FALSE(Form7->MediaPlayer1->IsOpen());
    QString identity;
    AsDesktop([&] {
        QDBusInterface root(Service->ServiceName(), QStringLiteral("/org/mpris/MediaPlayer2"),
                            QStringLiteral("org.mpris.MediaPlayer2"),
                            Bus.Connect(QStringLiteral("desktop")));
        identity = root.property("Identity").toString();
    });
    EXPECT_EQ(identity, QStringLiteral("Quillet"));
}

TEST_F(MprisService, CallsActAsTheBarsButtonsAndChangesAreSignalled) {
    ASSERT_TRUE(ToneFiles::WriteWav(SystemPath("tune.wav"), 3000));
    ChangeListener listener;
    QDBusConnection desktop = Bus.Connect(QStringLiteral("listener"));
    ASSERT_TRUE(desktop.connect(Service->ServiceName(), QStringLiteral("/org/mpris/MediaPlayer2"),
                                QStringLiteral("org.freedesktop.DBus.Properties"),
                                QStringLiteral("PropertiesChanged"), &listener,
                                SLOT(PropertiesChanged(QString, QVariantMap, QStringList))));
    Form7->OpenMusicFile(SystemPath("tune.wav"));
    TMediaPlayer* player = Form7->MediaPlayer1;
    ASSERT_TRUE(player->IsOpen());
    EXPECT_EQ(Property("CanPlay"), QVariant(true));
    EXPECT_EQ(Property("CanPause"), QVariant(false));
    const QVariantMap metadata = qdbus_cast<QVariantMap>(Property("Metadata"));
    EXPECT_EQ(metadata.value(QStringLiteral("xesam:title")), QVariant(QStringLiteral("tune.wav")));
    EXPECT_NEAR(metadata.value(QStringLiteral("mpris:length")).toLongLong(), 3000000, 50000);

    // The host's OnClick sees every call and may veto it, as with a click.
    std::vector<TMPBtnType> clicked;
    bool veto = false;
    player->OnClick = [&](QObject*, TMPBtnType b, bool& doDefault) {
        clicked.push_back(b);
        doDefault = !veto;
    };
    EXPECT_EQ(Call(QStringLiteral("Play")), QString());
    EXPECT_EQ(player->DeviceMode(), pmPlaying);
    EXPECT_EQ(Property("PlaybackStatus"), QVariant(QStringLiteral("Playing")));
    EXPECT_EQ(Property("CanPause"), QVariant(true));
    EXPECT_EQ(Property("CanPlay"), QVariant(false));
    EXPECT_EQ(Call(QStringLiteral("Pause")), QString());
    EXPECT_EQ(Property("PlaybackStatus"), QVariant(QStringLiteral("Paused")));
    EXPECT_EQ(Call(QStringLiteral("PlayPause")), QString());
    EXPECT_EQ(Property("PlaybackStatus"), QVariant(QStringLiteral("Playing")));
    // A vetoed Stop: no action, but the bar's enabling moves on as after a click, so Stop and
    // Pause are then refused and say so.
    veto = true;
    EXPECT_EQ(Call(QStringLiteral("Stop")), QString());
    EXPECT_EQ(player->DeviceMode(), pmPlaying);
    EXPECT_EQ(Property("CanPause"), QVariant(false));
    veto = false;
    EXPECT_EQ(Call(QStringLiteral("Stop")), QString());
    EXPECT_EQ(Call(QStringLiteral("Pause")), QString());
    EXPECT_EQ(player->DeviceMode(), pmPlaying);
    EXPECT_EQ(clicked, (std::vector<TMPBtnType>{btPlay, btPause, btPause, btStop}));
    EXPECT_FALSE(player->Usable(btStop));
    EXPECT_TRUE(ErrorBoxRecorder::Take().empty());
    ASSERT_TRUE(WaitUntil([&] { return listener.Changed.contains(QStringLiteral("CanPause")); }));
    EXPECT_TRUE(listener.Changed.contains(QStringLiteral("PlaybackStatus")));
    QDBusConnection::disconnectFromBus(QStringLiteral("listener"));
}

TEST_F(MprisService, ASecondInstanceTakesItsOwnName) {
    TMprisService second(
        Form7->MediaPlayer1, Bus.Connect(QStringLiteral("second")), [](const std::string&) {},
        [] {});
    EXPECT_EQ(second.ServiceName(),
              QStringLiteral("org.mpris.MediaPlayer2.quillet.instance%1").arg(::getpid()));
    QDBusConnection::disconnectFromBus(QStringLiteral("second"));
}

TEST(MprisServiceWithoutBus, NothingIsPublishedAndNothingSaid) {
    const QDBusConnection none = QDBusConnection::connectToBus(
        QStringLiteral("unix:path=/nonexistent/bus"), QStringLiteral("nobus"));
    TMediaPlayer player;
    TMprisService service(&player, none, {}, {});
    EXPECT_EQ(service.ServiceName(), QString());
    QDBusConnection::disconnectFromBus(QStringLiteral("nobus"));
}

}  // namespace

#include "MprisServiceTest.moc"
