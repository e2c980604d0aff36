// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The one place the program's strings cross into Qt's and back: std::string holds UTF-8
// everywhere in the program, QString is what Qt takes and gives.
#include <QString>
#include <string>

QString ToQString(const std::string& s);
std::string FromQString(const QString& s);
