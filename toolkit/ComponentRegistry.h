// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The component classes that layout files may name, each with its factory.
#include <QObject>
#include <QWidget>
#include <functional>
#include <string>

// Creates a component of the class with `parent` as its parent widget (for a non-visual
// component, its owner).
using TComponentFactory = std::function<QObject*(QWidget* parent)>;

void RegisterComponentClass(const std::string& className, TComponentFactory factory);
// The factory for a class name, or an empty function when none is registered.
TComponentFactory FindComponentClass(const std::string& className);

template <class T>
void RegisterComponentClass(const std::string& className) {
    RegisterComponentClass(className, [](QWidget* parent) -> QObject* { return new T(parent); });
}
