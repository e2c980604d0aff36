// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// What the command interface's tests share: tone files in a temporary folder, a window that
// records the completion notices it is sent (waiting is tests/TestSupport.h's WaitUntil).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <string>
#include <vector>

#include "platform/mci/Mci.h"
#include "platform/mci/MciOutput.h"
#include "tests/TestSupport.h"
#include "tests/ToneFiles.h"

// Records every MM_MCINOTIFY it receives, with the thread it arrived on.
class NoticeWindow : public QObject {
public:
    struct Notice {
        std::uint32_t Code;
        MCIDEVICEID Device;
        bool OnGuiThread;
    };
    std::vector<Notice> Notices;

protected:
    void customEvent(QEvent* event) override {
        if (event->type() != TMciNotifyEvent::EventType()) return;
        const auto* n = static_cast<TMciNotifyEvent*>(event);
        Notices.push_back({n->wParam, n->lParam, QThread::currentThread() == qApp->thread()});
    }
};

class MciFixture : public ::testing::Test {
protected:
    void SetUp() override {
        SetMciOutput(TMciOutput::Silent);
        ASSERT_TRUE(Dir.isValid());
    }
    std::string Path(const std::string& name) const {
        return Dir.path().toStdString() + "/" + name;
    }
    // A tone file made once per test, of the kind its extension names (WAV by hand, the
    // compressed kinds through GStreamer's encoders).
    std::string Tone(const std::string& name, int ms) {
        std::string path = Path(name);
        EXPECT_TRUE(ToneFiles::WriteTone(path, ms)) << path;
        return path;
    }
    QTemporaryDir Dir;
};

inline MCIDEVICEID OpenElement(const std::string& element, MCIERROR& error,
                               std::uint32_t extra = 0) {
    MCI_OPEN_PARMS p;
    p.lpstrElementName = element.c_str();
    error = mciSendCommandA(0, MCI_OPEN, MCI_WAIT | MCI_OPEN_ELEMENT | extra, &p);
    return error == 0 ? p.wDeviceID : 0;
}

inline std::uint32_t StatusItem(MCIDEVICEID id, std::uint32_t item, MCIERROR* error = nullptr,
                                std::uint32_t track = 0) {
    MCI_STATUS_PARMS p;
    p.dwItem = item;
    p.dwTrack = track;
    const MCIERROR e =
        mciSendCommandA(id, MCI_STATUS, MCI_WAIT | MCI_STATUS_ITEM | (track ? MCI_TRACK : 0), &p);
    if (error) *error = e;
    return p.dwReturn;
}

inline MCIERROR Close(MCIDEVICEID id) {
    MCI_GENERIC_PARMS p;
    return mciSendCommandA(id, MCI_CLOSE, MCI_WAIT, &p);
}
