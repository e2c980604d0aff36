// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "toolkit/LayoutReader.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMenu>
#include <QMenuBar>
#include <QMetaProperty>
#include <algorithm>

#include "platform/system/Exception.h"
#include "platform/system/QtStrings.h"
#include "toolkit/ComponentRegistry.h"
#include "toolkit/TComponent.h"
#include "toolkit/TCursor.h"
#include "toolkit/TForm.h"
#include "toolkit/TMenuItem.h"

namespace {

QVariant ToVariant(const QMetaProperty& prop, const QJsonValue& value) {
    if (value.isString()) {
        TColor color;
        const std::string text = FromQString(value.toString());
        if (prop.metaType().id() == QMetaType::UInt && IdentToColor(text, color))
            return QVariant::fromValue(uint(color));
        return value.toString();
    }
    if (value.isBool()) return value.toBool();
    if (value.isDouble()) {
        if (prop.metaType().id() == QMetaType::UInt)
            return QVariant::fromValue(uint(qint64(value.toDouble())));
        return QVariant::fromValue(int(value.toDouble()));
    }
    if (value.isArray()) {
        QStringList lines;
        for (const auto& v : value.toArray()) lines << v.toString();
        return lines;
    }
    return value.toVariant();
}

}  // namespace

void LayoutReader::Read(const QString& resourcePath) {
    QFile file(resourcePath);
    if (!file.open(QIODevice::ReadOnly))
        throw Exception("Cannot read window layout " + FromQString(resourcePath));
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (doc.isNull())
        throw Exception("Window layout " + FromQString(resourcePath) + ": " +
                        FromQString(error.errorString()));
    const QJsonObject root = doc.object();
    FForm->setObjectName(root.value(QLatin1String("name")).toString());
    // Menu first: the client area's size depends on whether there is a menu bar.
    if (root.contains(QLatin1String("menu")))
        ReadMenu(root.value(QLatin1String("menu")).toObject());
    SetProperties(FForm, root.value(QLatin1String("properties")).toObject());
    for (const auto& c : root.value(QLatin1String("controls")).toArray())
        ReadControl(c.toObject(), FForm->Client());
    for (const auto& c : root.value(QLatin1String("components")).toArray())
        ReadComponent(c.toObject());
    ApplyTabOrder();
    BindEvents(FForm, root.value(QLatin1String("events")).toObject());
}

void LayoutReader::ReadControl(const QJsonObject& entry, QWidget* parent) {
    const std::string className = FromQString(entry.value(QLatin1String("class")).toString());
    const std::string name = FromQString(entry.value(QLatin1String("name")).toString());
    TComponentFactory factory = FindComponentClass(className);
    if (!factory) throw Exception("Window layout: unknown class " + className + " of " + name);
    auto* control = qobject_cast<QWidget*>(factory(parent));
    if (!control) throw Exception("Window layout: " + className + " is not a control");
    control->setObjectName(QString::fromStdString(name));
    const QJsonArray b = entry.value(QLatin1String("bounds")).toArray();
    if (b.size() == 4) control->setGeometry(b[0].toInt(), b[1].toInt(), b[2].toInt(), b[3].toInt());
    if (entry.contains(QLatin1String("cursor")))
        control->setCursor(
            CursorShape(FromQString(entry.value(QLatin1String("cursor")).toString())));
    if (entry.contains(QLatin1String("tab")))
        FTabs.push_back({parent, entry.value(QLatin1String("tab")).toInt(), control});
    SetProperties(control, entry.value(QLatin1String("properties")).toObject());
    control->show();  // shown within its parent; the window itself stays hidden
    for (const auto& c : entry.value(QLatin1String("controls")).toArray())
        ReadControl(c.toObject(), control);
    BindEvents(control, entry.value(QLatin1String("events")).toObject());
    if (auto* component = dynamic_cast<TComponent*>(control)) component->Loaded();
}

void LayoutReader::ReadComponent(const QJsonObject& entry) {
    const std::string className = FromQString(entry.value(QLatin1String("class")).toString());
    const std::string name = FromQString(entry.value(QLatin1String("name")).toString());
    TComponentFactory factory = FindComponentClass(className);
    if (!factory) throw Exception("Window layout: unknown class " + className + " of " + name);
    QObject* component = factory(FForm);
    component->setObjectName(QString::fromStdString(name));
    SetProperties(component, entry.value(QLatin1String("properties")).toObject());
    BindEvents(component, entry.value(QLatin1String("events")).toObject());
    if (auto* c = dynamic_cast<TComponent*>(component)) c->Loaded();
}

void LayoutReader::ReadMenu(const QJsonObject& menu) {
    auto* bar = new QMenuBar(FForm);
    bar->setObjectName(menu.value(QLatin1String("name")).toString());
    FForm->setMenuBar(bar);
    for (const auto& top : menu.value(QLatin1String("items")).toArray()) {
        const QJsonObject t = top.toObject();
        auto* item = new TMenuItem(FForm);
        item->setObjectName(t.value(QLatin1String("name")).toString());
        item->SetCaption(t.value(QLatin1String("Caption")).toString());
        auto* drop = new QMenu(FForm);
        item->setMenu(drop);
        bar->addAction(item);
        for (const auto& sub : t.value(QLatin1String("items")).toArray()) {
            const QJsonObject s = sub.toObject();
            auto* entry = new TMenuItem(FForm);
            entry->setObjectName(s.value(QLatin1String("name")).toString());
            entry->SetCaption(s.value(QLatin1String("Caption")).toString());
            if (s.contains(QLatin1String("ShortCut")))
                entry->SetShortCut(s.value(QLatin1String("ShortCut")).toInt());
            drop->addAction(entry);
            FForm->addAction(entry);  // shortcuts work while the window is active, menu closed
            BindEvents(entry, s.value(QLatin1String("events")).toObject());
        }
    }
}

void LayoutReader::SetProperties(QObject* target, const QJsonObject& properties) {
    const QMetaObject* meta = target->metaObject();
    for (auto it = properties.begin(); it != properties.end(); ++it) {
        const int index = meta->indexOfProperty(it.key().toUtf8().constData());
        if (index < 0)
            throw Exception("Window layout: " + FromQString(target->objectName()) +
                            " has no property " + FromQString(it.key()));
        const QMetaProperty prop = meta->property(index);
        if (!prop.write(target, ToVariant(prop, it.value())))
            throw Exception("Window layout: cannot set " + FromQString(it.key()) + " of " +
                            FromQString(target->objectName()));
    }
}

void LayoutReader::BindEvents(QObject* target, const QJsonObject& events) {
    for (auto it = events.begin(); it != events.end(); ++it) {
        const std::string handlerName = FromQString(it.value().toString());
        auto handler = FForm->Handlers.find(handlerName);
        if (handler == FForm->Handlers.end())
            throw Exception("Window layout: " + FromQString(FForm->objectName()) +
                            " has no handler " + handlerName);
        auto* component = dynamic_cast<TComponent*>(target);
        if (!component || !component->BindEvent(FromQString(it.key()), handler->second))
            throw Exception("Window layout: " + FromQString(target->objectName()) +
                            " has no event " + FromQString(it.key()));
    }
}

void LayoutReader::ApplyTabOrder() {
    // The focus chain walks the controls depth first, each parent's children by tab order.
    std::stable_sort(FTabs.begin(), FTabs.end(),
                     [](const TabEntry& a, const TabEntry& b) { return a.tab < b.tab; });
    std::vector<QWidget*> chain;
    std::function<void(QWidget*)> walk = [&](QWidget* parent) {
        for (const TabEntry& e : FTabs) {
            if (e.parent != parent) continue;
            if (e.control->focusPolicy() & Qt::TabFocus) chain.push_back(e.control);
            walk(e.control);
        }
    };
    walk(FForm->Client());
    for (size_t i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}
