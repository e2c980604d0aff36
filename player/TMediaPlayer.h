// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The music player: one control with two faces. Its device side opens a device of the
// multimedia command interface for FileName, sends it commands and follows its state; its bar
// draws up to nine buttons (Play, Pause, Stop, Next, Prev, Step, Back, Record, Eject) that run
// those commands, enabling themselves as the device allows (TMediaPlayer.cpp: device side;
// TMediaPlayerBar.cpp: the bar; PlayerButtonDrawing: how a button looks).
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>

#include "platform/mci/Mci.h"
#include "platform/system/Exception.h"
#include "player/PlayerGlyphs.h"
#include "player/PlayerTypes.h"
#include "toolkit/Events.h"
#include "toolkit/TComponent.h"

class EMCIDeviceError : public Exception {
public:
    using Exception::Exception;
};

class TMediaPlayer : public QWidget, public TComponent {
    Q_OBJECT
    Q_PROPERTY(QString FileName READ FileNameQ WRITE SetFileNameQ)
    Q_PROPERTY(bool AutoOpen READ AutoOpen WRITE SetAutoOpen)
    Q_PROPERTY(bool AutoRewind READ AutoRewind WRITE SetAutoRewind)
    Q_PROPERTY(bool AutoEnable READ AutoEnable WRITE SetAutoEnable)
    Q_PROPERTY(bool Shareable READ Shareable WRITE SetShareable)
    Q_PROPERTY(int DeviceType READ DeviceTypeQ WRITE SetDeviceTypeQ)
    Q_PROPERTY(int VisibleButtons READ VisibleButtons WRITE SetVisibleButtonsQ)
    Q_PROPERTY(int EnabledButtons READ EnabledButtons WRITE SetEnabledButtonsQ)
    Q_PROPERTY(int ColoredButtons READ ColoredButtons WRITE SetColoredButtonsQ)

public:
    explicit TMediaPlayer(QWidget* parent = nullptr);
    ~TMediaPlayer() override;

    // --- Device side: properties ---------------------------------------------------------------
    const std::string& FileName() const { return FFileName; }
    void SetFileName(const std::string& name) { FFileName = name; }
    bool AutoOpen() const { return FAutoOpen; }
    void SetAutoOpen(bool on) { FAutoOpen = on; }
    bool AutoRewind() const { return FAutoRewind; }
    void SetAutoRewind(bool on) { FAutoRewind = on; }
    bool Shareable() const { return FShareable; }
    void SetShareable(bool on) { FShareable = on; }
    TMPDeviceTypes DeviceType() const { return FDeviceType; }
    void SetDeviceType(TMPDeviceTypes type) { FDeviceType = type; }
    QWidget* Display() const { return FDisplay; }
    // Sends the device's video to `display` when the device shows video.
    void SetDisplay(QWidget* display);
    TNotifyEvent OnNotify;

    bool IsOpen() const { return FIsOpen; }
    MCIDEVICEID MciDevice() const { return FMciDevice; }
    MCIERROR ErrorCode() const { return FErrorCode; }
    TNotifyResult NotifyResult() const { return FNotifyResult; }
    TMPDevCapsSet DeviceFeatures() const { return FDeviceFeatures; }
    int StepFrames() const { return FStepFrames; }
    // The flag word of the last command sent.
    std::uint32_t CommandFlags() const { return FCommandFlags; }
    TButtonSet AutoEnabledSet() const { return FAutoEnabledSet; }

    // --- Device side: commands (all but Open, Close and the queries without it raise
    // EMCIDeviceError "No MCI device open" when no device is open; device failures land
    // silently in ErrorCode) ------------------------------------------------------------------
    void Open();
    void Close();
    void Play();
    void StartRecording();
    void Stop();
    void Pause();
    void Resume();
    void TogglePause();
    void Next();
    void Previous();
    void Step();
    void Back();
    void Eject();
    void Rewind();
    void SetFromPosition(std::uint32_t position);
    void SetToPosition(std::uint32_t position);
    void SetWait(bool wait);
    void SetNotify(bool notify);
    void SetDeviceTimeFormat(std::uint32_t format);

    std::uint32_t MediaLength();
    std::uint32_t MediaPosition();
    std::uint32_t TrackCount();
    TPlayerMode DeviceMode();
    std::uint32_t DeviceTimeFormat();
    std::uint32_t TrackStart(std::uint32_t track);
    std::optional<QRect> DisplayArea();
    // The device layer's text for ErrorCode.
    std::string ErrorText() const;

    // --- The bar -------------------------------------------------------------------------------
    TButtonSet VisibleButtons() const { return FVisibleButtons; }
    void SetVisibleButtons(TButtonSet buttons);
    TButtonSet EnabledButtons() const { return FEnabledButtons; }
    void SetEnabledButtons(TButtonSet buttons);
    TButtonSet ColoredButtons() const { return FColoredButtons; }
    void SetColoredButtons(TButtonSet buttons);
    bool AutoEnable() const { return FAutoEnable; }
    void SetAutoEnable(bool on);
    EMPNotify OnClick;
    EMPPostNotify OnPostClick;

    TMPBtnType FocusButton() const { return FFocusButton; }
    TMPBtnType PressedButton() const { return FPressedButton; }
    int SlotWidth() const { return FSlotWidth; }
    // The left edge of a visible button in the bar.
    int ButtonLeft(TMPBtnType button) const { return ButtonX(button); }
    int MinSlotWidth() const { return FGlyphs.MinSlotWidth(); }
    int MinSlotHeight() const { return FGlyphs.MinSlotHeight(); }
    // The glyph a button shows now (enabled, disabled or coloured).
    TGlyphLook ShownLook(TMPBtnType button) const;
    // Whether a press on the button is taken: AutoEnable's state, or EnabledButtons without it.
    bool Usable(TMPBtnType button) const;

    // What a mouse click on the button does, for other ways in (media keys, a screen reader): a
    // button that is not usable refuses it; otherwise the click sequence with OnClick's veto and
    // OnPostClick, the auto-enable update, and the bar redraws. Errors go to the error box.
    void ClickButton(TMPBtnType button);

    bool BindEvent(std::string_view event, const TNotifyEvent& handler) override;

Q_SIGNALS:
    // The buttons' usable set or the device's state may have changed: after a push of
    // AutoEnabledSet, a notification, an open or a close.
    void StateChanged();

public:
    // The end of loading the window layout: the width follows the slot width, then AutoOpen.
    void Loaded() override;

protected:
    void CreateWnd() override;
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // Device side
    void CheckOpen() const;
    void WaitDefault();
    void NotifyDefault();
    void TakeRange(std::uint32_t& from, std::uint32_t& to);
    void GetDeviceCaps();
    std::uint32_t Capability(std::uint32_t item);
    std::uint32_t StatusQuery(std::uint32_t item, bool openCheck);
    void AutoButtonSet(TMPBtnType button);
    void MciNotify(std::uint32_t code);
    void SeekTo(std::uint32_t extraFlags, std::uint32_t target);
    std::uint32_t NextTarget();
    std::uint32_t PreviousTarget();
    void PlayTrackAt(std::uint32_t target);

    // The bar
    void PushAutoEnabled();
    void SizeRule();
    int VisibleCount() const;
    int ButtonX(TMPBtnType button) const;
    void Press(int x);
    void Click();
    void RunClickSequence(bool onlyAfterSuccess);
    void DoAction(TMPBtnType button);
    void RepaintButton(TMPBtnType button);
    bool Loading() const { return !FLoaded && !HandleAllocated(); }
    void SetVisibleButtonsQ(int b) { SetVisibleButtons(TButtonSet(b & kAllButtons)); }
    void SetEnabledButtonsQ(int b) { SetEnabledButtons(TButtonSet(b & kAllButtons)); }
    void SetColoredButtonsQ(int b) { SetColoredButtons(TButtonSet(b & kAllButtons)); }
    QString FileNameQ() const { return QString::fromStdString(FFileName); }
    void SetFileNameQ(const QString& name) { FFileName = name.toStdString(); }
    int DeviceTypeQ() const { return FDeviceType; }
    void SetDeviceTypeQ(int t) { FDeviceType = TMPDeviceTypes(t >= 0 && t <= dtWaveAudio ? t : 0); }

    // Device-side state
    bool FIsOpen = false;
    TMPDevCapsSet FDeviceFeatures = 0;
    bool FPlayCapable = false;
    bool FStepCapable = false;
    bool FEjectCapable = false;
    bool FRecordCapable = false;
    bool FVideoCapable = false;
    std::uint32_t FCommandFlags = 0;
    bool FWaitChoice = false;
    bool FNotifyChoice = false;
    bool FWaitChoiceSet = false;
    bool FNotifyChoiceSet = false;
    bool FFromPositionSet = false;
    bool FToPositionSet = false;
    MCIDEVICEID FMciDevice = 0;
    TMPDeviceTypes FDeviceType = dtAutoSelect;
    std::uint32_t FToPosition = 0;
    std::uint32_t FFromPosition = 0;
    int FStepFrames = 0;
    MCIERROR FErrorCode = 0;
    TNotifyResult FNotifyResult = nrSuccessful;
    QPointer<QWidget> FDisplay;
    std::string FFileName;
    bool FAutoEnable = true;
    bool FAutoOpen = false;
    bool FAutoRewind = true;
    bool FShareable = false;
    TButtonSet FAutoEnabledSet = 0;

    // The bar's state
    TPlayerGlyphs FGlyphs;
    TButtonSet FVisibleButtons = kAllButtons;
    TButtonSet FEnabledButtons = kAllButtons;
    TButtonSet FColoredButtons = kAllButtons;
    TButtonSet FButtonAutoEnabled = 0;  // AutoEnabledSet at its last push
    bool FPressActive = false;
    bool FShownDown = false;
    TMPBtnType FPressedButton = btPlay;
    QRect FPressedRect;
    int FSlotWidth = 0;
    TMPBtnType FFocusButton = btPlay;
    bool FLoaded = false;
};
