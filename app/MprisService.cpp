// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "app/MprisService.h"

#include <unistd.h>

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFileInfo>
#include <QUrl>

#include "app/Unit7.h"
#include "player/TMediaPlayer.h"
#include "toolkit/TApplication.h"

namespace {

const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");

}  // namespace

TMprisService::TMprisService(TMediaPlayer* player, QDBusConnection bus,
                             std::function<void(const std::string&)> openMusic,
                             std::function<void()> quit)
    : QObject(player),
      FPlayer(player),
      FBus(std::move(bus)),
      FOpenMusic(std::move(openMusic)),
      FQuit(std::move(quit)) {
    if (!FBus.isConnected()) return;
    new TMprisRootAdaptor(this);
    new TMprisPlayerAdaptor(this);
    if (!FBus.registerObject(kObjectPath, this, QDBusConnection::ExportAdaptors)) return;
    // A second Quillet keeps its own name: the suffix MPRIS allows for further instances.
    const QString name = QStringLiteral("org.mpris.MediaPlayer2.quillet");
    for (const QString& candidate :
         QStringList{name, name + QStringLiteral(".instance") + QString::number(::getpid())}) {
        if (FBus.registerService(candidate)) {
            FServiceName = candidate;
            break;
        }
    }
    if (FServiceName.isEmpty()) {
        FBus.unregisterObject(kObjectPath);
        return;
    }
    FSent = PlayerProperties();
    connect(FPlayer, &TMediaPlayer::StateChanged, this, &TMprisService::SignalChanges);
}

TMprisService::~TMprisService() {
    if (FServiceName.isEmpty()) return;
    FBus.unregisterObject(kObjectPath);
    FBus.unregisterService(FServiceName);
}

QString TMprisService::PlaybackStatus() const {
    if (!FPlayer->IsOpen()) return QStringLiteral("Stopped");
    switch (FPlayer->DeviceMode()) {
        case pmPlaying:
            return QStringLiteral("Playing");
        case pmPaused:
            return QStringLiteral("Paused");
        default:
            return QStringLiteral("Stopped");
    }
}

QVariantMap TMprisService::Metadata() const {
    QVariantMap map;
    if (!FPlayer->IsOpen()) {
        map[QStringLiteral("mpris:trackid")] = QVariant::fromValue(
            QDBusObjectPath(QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack")));
        return map;
    }
    // The title is the file's name without its folder; the program path uses backslashes.
    const std::string& file = FPlayer->FileName();
    const QString title = QString::fromStdString(file.substr(file.find_last_of("\\/") + 1));
    map[QStringLiteral("xesam:title")] = title;
    const std::uint32_t format = FPlayer->DeviceTimeFormat();
    std::uint32_t track = 1;
    if (format == MCI_FORMAT_MILLISECONDS) {
        map[QStringLiteral("mpris:length")] = qlonglong(FPlayer->MediaLength()) * 1000;
    } else if (format == MCI_FORMAT_TMSF) {
        track = FPlayer->MediaPosition() & 0xFF;
    }
    map[QStringLiteral("xesam:trackNumber")] = int(track);
    map[QStringLiteral("mpris:trackid")] = QVariant::fromValue(
        QDBusObjectPath(QStringLiteral("/io/github/quillet/track/%1").arg(track)));
    return map;
}

qlonglong TMprisService::Position() const {
    if (!FPlayer->IsOpen() || FPlayer->DeviceTimeFormat() != MCI_FORMAT_MILLISECONDS) return 0;
    return qlonglong(FPlayer->MediaPosition()) * 1000;
}

bool TMprisService::CanPlay() const {
    return FPlayer->Usable(btPlay) || (CanPause() && PlaybackStatus() == QStringLiteral("Paused"));
}

bool TMprisService::CanPause() const {
    return FPlayer->Usable(btPause);
}

bool TMprisService::CanGoNext() const {
    return FPlayer->Usable(btNext);
}

bool TMprisService::CanGoPrevious() const {
    return FPlayer->Usable(btPrev);
}

void TMprisService::Play() {
    // A paused player goes on with Pause, as the bar's Pause button resumes.
    if (PlaybackStatus() == QStringLiteral("Paused"))
        FPlayer->ClickButton(btPause);
    else if (PlaybackStatus() != QStringLiteral("Playing"))
        FPlayer->ClickButton(btPlay);
}

void TMprisService::Pause() {
    if (PlaybackStatus() == QStringLiteral("Playing")) FPlayer->ClickButton(btPause);
}

void TMprisService::PlayPause() {
    if (PlaybackStatus() == QStringLiteral("Playing"))
        Pause();
    else
        Play();
}

void TMprisService::Stop() {
    FPlayer->ClickButton(btStop);
}

void TMprisService::Next() {
    FPlayer->ClickButton(btNext);
}

void TMprisService::Previous() {
    FPlayer->ClickButton(btPrev);
}

void TMprisService::OpenUri(const QString& uri) {
    const QUrl url(uri);
    if (url.isLocalFile() && FOpenMusic) FOpenMusic(url.toLocalFile().toStdString());
}

void TMprisService::Quit() {
    if (FQuit) FQuit();
}

QVariantMap TMprisService::PlayerProperties() const {
    return {{QStringLiteral("PlaybackStatus"), PlaybackStatus()},
            {QStringLiteral("Metadata"), Metadata()},
            {QStringLiteral("CanPlay"), CanPlay()},
            {QStringLiteral("CanPause"), CanPause()},
            {QStringLiteral("CanGoNext"), CanGoNext()},
            {QStringLiteral("CanGoPrevious"), CanGoPrevious()}};
}

void TMprisService::SignalChanges() {
    const QVariantMap now = PlayerProperties();
    QVariantMap changed;
    for (auto it = now.begin(); it != now.end(); ++it)
        if (FSent.value(it.key()) != it.value()) changed.insert(it.key(), it.value());
    if (changed.isEmpty()) return;
    FSent = now;
    QDBusMessage signal =
        QDBusMessage::createSignal(kObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                   QStringLiteral("PropertiesChanged"));
    signal << kPlayerInterface << changed << QStringList();
    FBus.send(signal);
}

void PublishPlayerOnSessionBus() {
    // Asking for the session bus without one would have the bus library try to start one.
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS") &&
        (runtime.isEmpty() || !QFileInfo::exists(QString::fromLocal8Bit(runtime + "/bus"))))
        return;
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return;
    new TMprisService(
        Form7->MediaPlayer1, bus, [](const std::string& path) { Form7->OpenMusicFile(path); },
        [] { Application->RequestQuit(); });
}

TMprisRootAdaptor::TMprisRootAdaptor(TMprisService* service)
    : QDBusAbstractAdaptor(service), FService(service) {}

QStringList TMprisRootAdaptor::SupportedMimeTypes() const {
    return {QStringLiteral("audio/mpeg"), QStringLiteral("audio/x-wav"),
            QStringLiteral("audio/wav"),  QStringLiteral("audio/ogg"),
            QStringLiteral("audio/flac"), QStringLiteral("application/x-cda")};
}

void TMprisRootAdaptor::Quit() {
    FService->Quit();
}

TMprisPlayerAdaptor::TMprisPlayerAdaptor(TMprisService* service)
    : QDBusAbstractAdaptor(service), FService(service) {
    setAutoRelaySignals(false);
}
