// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The player's tests: a player on its own (its window created, as on a shown form) playing tone
// files into the silent output, and mouse and key events sent straight to it.
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <initializer_list>

#include "player/TMediaPlayer.h"
#include "tests/TestSupport.h"
#include "tests/platform/mci/MciTestSupport.h"

class PlayerFixture : public MciFixture {
protected:
    void SetUp() override {
        MciFixture::SetUp();
        Player.CreateHandle();
        // Shown, so that a size change reaches the control at once, as on a shown window.
        Player.show();
    }
    // Opens a tone file of that name and length (made on first use).
    void OpenTone(const std::string& name, int ms) {
        const std::string path = Path(name);
        if (!QFile::exists(QString::fromStdString(path))) Tone(name, ms);
        Player.SetFileName(path);
        Player.Open();
    }
    void Mouse(QEvent::Type type, int x, Qt::MouseButtons held) {
        QMouseEvent e(type, QPointF(x, 10), Player.mapToGlobal(QPointF(x, 10)), Qt::LeftButton,
                      held, Qt::NoModifier);
        QCoreApplication::sendEvent(&Player, &e);
    }
    void Click(int x) {
        Mouse(QEvent::MouseButtonPress, x, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, x, Qt::NoButton);
    }
    // The middle of a button's slot with nine visible buttons 253 wide.
    static int Centre(TMPBtnType b) { return int(b) * 28 + 14; }
    void Key(int key) {
        QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(&Player, &e);
    }
    bool Usable(std::initializer_list<TMPBtnType> buttons) const {
        for (TMPBtnType b : buttons)
            if (!Player.Usable(b)) return false;
        return true;
    }
    bool Unusable(std::initializer_list<TMPBtnType> buttons) const {
        for (TMPBtnType b : buttons)
            if (Player.Usable(b)) return false;
        return true;
    }

    TMediaPlayer Player;
};
