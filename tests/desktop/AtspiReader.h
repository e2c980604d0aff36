// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Reads applications' accessibility trees over AT-SPI 2 on the accessibility bus, with plain
// D-Bus calls, as a screen reader does: the registry's list of applications, each object's
// children, name, role and states, and its actions.
#include <QDBusConnection>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace DesktopTest {

// One accessible object: the bus name of the application that serves it, and its path.
struct TAccessibleRef {
    QString Service;
    QString Path;
    bool operator==(const TAccessibleRef&) const = default;
};

// An object as the reader saw it while walking the tree.
struct TAccessibleNode {
    TAccessibleRef Ref;
    QString Name;
    QString Role;  // the role's name ("push button", "list", ...)
    int Depth = 0;
    TAccessibleRef Parent;
};

// The states of AT-SPI 2's state set used here, by their bit numbers.
enum TAtspiState {
    asEnabled = 8,
    asFocusable = 11,
    asSelectable = 22,
    asSensitive = 24,
    asShowing = 25,
    asVisible = 30,
};

class TAtspiReader {
public:
    // Connects to the accessibility bus at `address`.
    explicit TAtspiReader(const QString& address);
    ~TAtspiReader();
    bool IsConnected() const { return FBus.isConnected(); }

    // The applications the registry knows, as their root objects.
    std::vector<TAccessibleRef> Applications();
    std::vector<TAccessibleRef> Children(const TAccessibleRef& object);
    QString Name(const TAccessibleRef& object);
    QString RoleName(const TAccessibleRef& object);
    bool HasState(const TAccessibleRef& object, TAtspiState state);
    QStringList ActionNames(const TAccessibleRef& object);
    // The names of the objects that label this one (its "labelled by" relation).
    QStringList LabelledBy(const TAccessibleRef& object);
    // Performs the action of that name; whether the application said it did.
    bool DoAction(const TAccessibleRef& object, const QString& action);

    // Walks the tree below `root` breadth first, up to `maxNodes` objects; `descend` says
    // whether the children of a node are read.
    std::vector<TAccessibleNode> Walk(
        const TAccessibleRef& root, int maxNodes,
        const std::function<bool(const TAccessibleNode&)>& descend = {});

    // The error of the last call that failed, empty when all succeeded.
    const QString& LastError() const { return FLastError; }

private:
    QDBusMessage Call(const TAccessibleRef& object, const QString& interface, const QString& method,
                      const QVariantList& arguments = {});
    QVariant Property(const TAccessibleRef& object, const QString& interface, const QString& name);

    QString FName;
    QDBusConnection FBus;
    QString FLastError;
};

}  // namespace DesktopTest
