#pragma once
// The music player bar: one control that draws its row of nine buttons itself. This first
// version shows the bar with every button disabled, as it is while no device is open; opening,
// playing and the button actions come with the media device layer.
#include <QWidget>
#include <string>

#include "platform/system/Exception.h"
#include "toolkit/TComponent.h"

class EMCIDeviceError : public Exception {
public:
    using Exception::Exception;
};

enum TMPBtnType { btPlay, btPause, btStop, btNext, btPrev, btStep, btBack, btRecord, btEject };

class TMediaPlayer : public QWidget, public TComponent {
    Q_OBJECT
    Q_PROPERTY(QString FileName READ FileNameQ WRITE SetFileNameQ)

public:
    explicit TMediaPlayer(QWidget* parent = nullptr);

    const std::string& FileName() const { return FFileName; }
    void SetFileName(const std::string& name) { FFileName = name; }
    // Opens a device for FileName; raises EMCIDeviceError when no device can take it.
    void Open();
    // Closes the open device; nothing when none is open.
    void Close();
    bool Opened() const { return FOpened; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString FileNameQ() const { return QString::fromStdString(FFileName); }
    void SetFileNameQ(const QString& name) { FFileName = name.toStdString(); }
    void DrawGlyph(QPainter& p, TMPBtnType kind, const QRect& r);

    std::string FFileName;
    bool FOpened = false;
};
