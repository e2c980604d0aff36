// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "tests/desktop/AtspiReader.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <deque>

namespace DesktopTest {

namespace {

const QString kAccessible = QStringLiteral("org.a11y.atspi.Accessible");
const QString kAction = QStringLiteral("org.a11y.atspi.Action");

// A reference list (D-Bus a(so)) as GetChildren gives it.
std::vector<TAccessibleRef> RefList(const QVariant& value) {
    std::vector<TAccessibleRef> refs;
    const QDBusArgument argument = value.value<QDBusArgument>();
    argument.beginArray();
    while (!argument.atEnd()) {
        QString service;
        QDBusObjectPath path;
        argument.beginStructure();
        argument >> service >> path;
        argument.endStructure();
        refs.push_back({service, path.path()});
    }
    argument.endArray();
    return refs;
}

}  // namespace

TAtspiReader::TAtspiReader(const QString& address)
    : FName(QStringLiteral("atspi-reader-%1").arg(quintptr(this))),
      FBus(QDBusConnection::connectToBus(address, FName)) {}

TAtspiReader::~TAtspiReader() {
    QDBusConnection::disconnectFromBus(FName);
}

QDBusMessage TAtspiReader::Call(const TAccessibleRef& object, const QString& interface,
                                const QString& method, const QVariantList& arguments) {
    QDBusMessage call =
        QDBusMessage::createMethodCall(object.Service, object.Path, interface, method);
    call.setArguments(arguments);
    const QDBusMessage reply = FBus.call(call, QDBus::Block, 10000);
    if (reply.type() == QDBusMessage::ErrorMessage)
        FLastError = method + QStringLiteral(" on ") + object.Path + QStringLiteral(": ") +
                     reply.errorMessage();
    return reply;
}

QVariant TAtspiReader::Property(const TAccessibleRef& object, const QString& interface,
                                const QString& name) {
    const QDBusMessage reply = Call(object, QStringLiteral("org.freedesktop.DBus.Properties"),
                                    QStringLiteral("Get"), {interface, name});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return {};
    return reply.arguments().first().value<QDBusVariant>().variant();
}

std::vector<TAccessibleRef> TAtspiReader::Applications() {
    return Children({QStringLiteral("org.a11y.atspi.Registry"),
                     QStringLiteral("/org/a11y/atspi/accessible/root")});
}

std::vector<TAccessibleRef> TAtspiReader::Children(const TAccessibleRef& object) {
    const QDBusMessage reply = Call(object, kAccessible, QStringLiteral("GetChildren"));
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return {};
    return RefList(reply.arguments().first());
}

QString TAtspiReader::Name(const TAccessibleRef& object) {
    return Property(object, kAccessible, QStringLiteral("Name")).toString();
}

QString TAtspiReader::RoleName(const TAccessibleRef& object) {
    const QDBusMessage reply = Call(object, kAccessible, QStringLiteral("GetRoleName"));
    return reply.arguments().isEmpty() ? QString() : reply.arguments().first().toString();
}

bool TAtspiReader::HasState(const TAccessibleRef& object, TAtspiState state) {
    // The state set is 64 bits sent as two 32-bit words, the low word first.
    const QDBusMessage reply = Call(object, kAccessible, QStringLiteral("GetState"));
    if (reply.arguments().isEmpty()) return false;
    const QList<uint> words = qdbus_cast<QList<uint>>(reply.arguments().first());
    const int word = int(state) / 32;
    return word < words.size() && (words[word] >> (int(state) % 32) & 1u) != 0;
}

QStringList TAtspiReader::ActionNames(const TAccessibleRef& object) {
    const int count = Property(object, kAction, QStringLiteral("NActions")).toInt();
    QStringList names;
    for (int i = 0; i < count; ++i) {
        const QDBusMessage reply = Call(object, kAction, QStringLiteral("GetName"), {i});
        names += reply.arguments().isEmpty() ? QString() : reply.arguments().first().toString();
    }
    return names;
}

QStringList TAtspiReader::LabelledBy(const TAccessibleRef& object) {
    constexpr uint kLabelledBy = 2;  // AT-SPI 2's relation type number
    const QDBusMessage reply = Call(object, kAccessible, QStringLiteral("GetRelationSet"));
    if (reply.arguments().isEmpty()) return {};
    // a(ua(so)): each relation's type and its targets.
    const QDBusArgument argument = reply.arguments().first().value<QDBusArgument>();
    QStringList names;
    argument.beginArray();
    while (!argument.atEnd()) {
        uint type = 0;
        argument.beginStructure();
        argument >> type;
        const QVariant targets = argument.asVariant();
        argument.endStructure();
        if (type != kLabelledBy) continue;
        for (const TAccessibleRef& target : RefList(targets)) names += Name(target);
    }
    argument.endArray();
    return names;
}

bool TAtspiReader::DoAction(const TAccessibleRef& object, const QString& action) {
    const int index = int(ActionNames(object).indexOf(action));
    if (index < 0) return false;
    const QDBusMessage reply = Call(object, kAction, QStringLiteral("DoAction"), {index});
    return !reply.arguments().isEmpty() && reply.arguments().first().toBool();
}

std::vector<TAccessibleNode> TAtspiReader::Walk(
    const TAccessibleRef& root, int maxNodes,
    const std::function<bool(const TAccessibleNode&)>& descend) {
    std::vector<TAccessibleNode> seen;
    std::deque<TAccessibleNode> waiting{{root, Name(root), RoleName(root), 0, {}}};
    while (!waiting.empty() && int(seen.size()) < maxNodes) {
        TAccessibleNode node = std::move(waiting.front());
        waiting.pop_front();
        if (!descend || descend(node)) {
            for (const TAccessibleRef& child : Children(node.Ref))
                waiting.push_back({child, Name(child), RoleName(child), node.Depth + 1, node.Ref});
        }
        seen.push_back(std::move(node));
    }
    return seen;
}

}  // namespace DesktopTest
