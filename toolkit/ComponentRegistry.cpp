// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "toolkit/ComponentRegistry.h"

#include <map>

namespace {
std::map<std::string, TComponentFactory>& Registry() {
    static std::map<std::string, TComponentFactory> registry;
    return registry;
}
}  // namespace

void RegisterComponentClass(const std::string& className, TComponentFactory factory) {
    Registry()[className] = std::move(factory);
}

TComponentFactory FindComponentClass(const std::string& className) {
    auto it = Registry().find(className);
    return it == Registry().end() ? TComponentFactory() : it->second;
}
