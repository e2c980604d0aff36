// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "player/TMediaPlayerAccessible.h"

#include <QPointer>
#include <vector>

#include "player/TMediaPlayer.h"

namespace {

const char* const kButtonNames[kPlayerButtonCount] = {"Play", "Pause", "Stop",   "Next", "Prev",
                                                      "Step", "Back",  "Record", "Eject"};

// The kinds the bar shows, in display order.
std::vector<TMPBtnType> VisibleKinds(const TMediaPlayer* player) {
    std::vector<TMPBtnType> kinds;
    for (int b = 0; b < kPlayerButtonCount; ++b)
        if (player->VisibleButtons() & ButtonBit(TMPBtnType(b))) kinds.push_back(TMPBtnType(b));
    return kinds;
}

// One button of the bar.
class TPlayerButtonAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    TPlayerButtonAccessible(TMediaPlayer* player, TMPBtnType kind) : FPlayer(player), FKind(kind) {}

    bool isValid() const override { return FPlayer; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return parent() ? parent()->window() : nullptr; }
    QAccessibleInterface* parent() const override {
        return FPlayer ? QAccessible::queryAccessibleInterface(FPlayer) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? QString::fromLatin1(kButtonNames[FKind]) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!FPlayer) return {};
        const QRect local(FPlayer->ButtonLeft(FKind), 0, FPlayer->SlotWidth(), FPlayer->height());
        return QRect(FPlayer->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return QAccessible::Button; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.disabled = !FPlayer || !FPlayer->isEnabled() || !FPlayer->Usable(FKind);
        s.focusable = true;
        s.focused = FPlayer && FPlayer->hasFocus() && FPlayer->FocusButton() == FKind;
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction() && FPlayer) FPlayer->ClickButton(FKind);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    TMPBtnType Kind() const { return FKind; }

private:
    QPointer<TMediaPlayer> FPlayer;
    TMPBtnType FKind;
};

QAccessibleInterface* PlayerFactory(const QString& className, QObject* object) {
    if (className == QStringLiteral("TMediaPlayer") && object && object->isWidgetType())
        return new TMediaPlayerAccessible(static_cast<TMediaPlayer*>(object));
    return nullptr;
}

}  // namespace

TMediaPlayerAccessible::TMediaPlayerAccessible(TMediaPlayer* player)
    : QAccessibleWidget(player, QAccessible::ToolBar) {}

TMediaPlayer* TMediaPlayerAccessible::Player() const {
    return static_cast<TMediaPlayer*>(widget());
}

int TMediaPlayerAccessible::childCount() const {
    return int(VisibleKinds(Player()).size());
}

QAccessibleInterface* TMediaPlayerAccessible::child(int index) const {
    const std::vector<TMPBtnType> kinds = VisibleKinds(Player());
    if (index < 0 || index >= int(kinds.size())) return nullptr;
    QAccessible::Id& id = FChildIds[kinds[index]];
    if (QAccessibleInterface* known = id ? QAccessible::accessibleInterface(id) : nullptr)
        return known;
    // The cache owns the children and deletes them when the bar goes.
    auto* button = new TPlayerButtonAccessible(Player(), kinds[index]);
    id = QAccessible::registerAccessibleInterface(button);
    return button;
}

int TMediaPlayerAccessible::indexOfChild(const QAccessibleInterface* child) const {
    for (int i = 0; i < childCount(); ++i)
        if (this->child(i) == child) return i;
    return -1;
}

QAccessibleInterface* TMediaPlayerAccessible::childAt(int x, int y) const {
    for (int i = 0; i < childCount(); ++i)
        if (child(i)->rect().contains(x, y)) return child(i);
    return nullptr;
}

QString TMediaPlayerAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
        return QStringLiteral("Music player");
    return QAccessibleWidget::text(t);
}

void InstallPlayerAccessibility() {
    QAccessible::installFactory(PlayerFactory);
}
