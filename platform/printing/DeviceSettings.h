// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The settings block of one printer: what a job on it uses (copies, orientation, collation,
// paper) and, for the print-to-file printer, where the output goes. Fields tells which of the
// settings the printer honours. A settings handle is shared: whoever chose the printer may hold
// the same block as the printer object, and identity tells two blocks apart.
#include <QPageSize>
#include <cstdint>
#include <memory>
#include <string>

constexpr std::uint32_t DM_ORIENTATION = 0x0001;
constexpr std::uint32_t DM_PAPERSIZE = 0x0002;
constexpr std::uint32_t DM_COPIES = 0x0100;
constexpr std::uint32_t DM_COLLATE = 0x8000;

constexpr int DMORIENT_PORTRAIT = 1;
constexpr int DMORIENT_LANDSCAPE = 2;

struct DeviceSettings {
    std::uint32_t Fields = 0;
    int Copies = 1;
    int Orientation = DMORIENT_PORTRAIT;
    bool Collate = false;
    QPageSize PageSize;      // an invalid size leaves the printer's own default
    std::string OutputFile;  // print-to-file printer only: the PDF file a job writes
};

using TSettingsHandle = std::shared_ptr<DeviceSettings>;
