// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The music player on the session bus as an MPRIS 2.2 media player, so the keyboard's media keys
// and the desktop's sound menu reach it: org.mpris.MediaPlayer2.quillet (with an .instance<PID>
// suffix when another Quillet holds that name), the root interface and the Player interface at
// /org/mpris/MediaPlayer2. Every call acts as a click of the bar's button would, refused where
// the bar would refuse the click; the Can* properties follow the bar's usable buttons.
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QObject>
#include <QStringList>
#include <QVariantMap>
#include <functional>

class TMediaPlayer;

class TMprisService : public QObject {
    Q_OBJECT

public:
    // Publishes `player` on `bus`; `openMusic` opens a Linux path as "Open Music Files" would,
    // `quit` ends the program. Nothing is published when the bus is not connected.
    TMprisService(TMediaPlayer* player, QDBusConnection bus,
                  std::function<void(const std::string&)> openMusic, std::function<void()> quit);
    ~TMprisService() override;

    // The bus name taken; empty when nothing was published.
    QString ServiceName() const { return FServiceName; }
    TMediaPlayer* Player() const { return FPlayer; }

    // The Player interface's state, as the bar shows it now.
    QString PlaybackStatus() const;
    QVariantMap Metadata() const;
    qlonglong Position() const;
    bool CanPlay() const;
    bool CanPause() const;
    bool CanGoNext() const;
    bool CanGoPrevious() const;

    void Play();
    void Pause();
    void PlayPause();
    void Stop();
    void Next();
    void Previous();
    void OpenUri(const QString& uri);
    void Quit();

private:
    // Signals PropertiesChanged for what differs from the last values sent.
    void SignalChanges();
    QVariantMap PlayerProperties() const;

    TMediaPlayer* FPlayer;
    QDBusConnection FBus;
    std::function<void(const std::string&)> FOpenMusic;
    std::function<void()> FQuit;
    QString FServiceName;
    QVariantMap FSent;
};

// Publishes the main window's player on the session bus when the session has one (its address
// is in the environment, or the user's bus socket exists); otherwise does nothing and says
// nothing.
void PublishPlayerOnSessionBus();

// org.mpris.MediaPlayer2
class TMprisRootAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ CanQuit)
    Q_PROPERTY(bool CanRaise READ CanRaise)
    Q_PROPERTY(bool HasTrackList READ HasTrackList)
    Q_PROPERTY(QString Identity READ Identity)
    Q_PROPERTY(QString DesktopEntry READ DesktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ SupportedUriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ SupportedMimeTypes)

public:
    explicit TMprisRootAdaptor(TMprisService* service);
    bool CanQuit() const { return true; }
    bool CanRaise() const { return false; }
    bool HasTrackList() const { return false; }
    QString Identity() const { return QStringLiteral("Quillet"); }
    QString DesktopEntry() const { return QStringLiteral("io.github.quillet.Quillet"); }
    QStringList SupportedUriSchemes() const { return {QStringLiteral("file")}; }
    QStringList SupportedMimeTypes() const;

public Q_SLOTS:
    void Raise() {}
    void Quit();

private:
    TMprisService* FService;
};

// org.mpris.MediaPlayer2.Player
class TMprisPlayerAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ PlaybackStatus)
    Q_PROPERTY(double Rate READ Rate WRITE SetRate)
    Q_PROPERTY(double MinimumRate READ Rate)
    Q_PROPERTY(double MaximumRate READ Rate)
    Q_PROPERTY(QVariantMap Metadata READ Metadata)
    Q_PROPERTY(double Volume READ Volume WRITE SetVolume)
    Q_PROPERTY(qlonglong Position READ Position)
    Q_PROPERTY(bool CanGoNext READ CanGoNext)
    Q_PROPERTY(bool CanGoPrevious READ CanGoPrevious)
    Q_PROPERTY(bool CanPlay READ CanPlay)
    Q_PROPERTY(bool CanPause READ CanPause)
    Q_PROPERTY(bool CanSeek READ CanSeek)
    Q_PROPERTY(bool CanControl READ CanControl)

public:
    explicit TMprisPlayerAdaptor(TMprisService* service);
    QString PlaybackStatus() const { return FService->PlaybackStatus(); }
    double Rate() const { return 1.0; }
    void SetRate(double) {}
    QVariantMap Metadata() const { return FService->Metadata(); }
    double Volume() const { return 1.0; }
    void SetVolume(double) {}
    qlonglong Position() const { return FService->Position(); }
    bool CanGoNext() const { return FService->CanGoNext(); }
    bool CanGoPrevious() const { return FService->CanGoPrevious(); }
    bool CanPlay() const { return FService->CanPlay(); }
    bool CanPause() const { return FService->CanPause(); }
    bool CanSeek() const { return false; }
    bool CanControl() const { return true; }

public Q_SLOTS:
    void Next() { FService->Next(); }
    void Previous() { FService->Previous(); }
    void Pause() { FService->Pause(); }
    void PlayPause() { FService->PlayPause(); }
    void Stop() { FService->Stop(); }
    void Play() { FService->Play(); }
    void Seek(qlonglong) {}
    void SetPosition(const QDBusObjectPath&, qlonglong) {}
    void OpenUri(const QString& uri) { FService->OpenUri(uri); }

Q_SIGNALS:
    void Seeked(qlonglong position);

private:
    TMprisService* FService;
};
