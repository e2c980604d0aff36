// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// One entry of the printer list: the names a device context is made from. DriverName may be
// empty; PortName is empty for printers listed without a port.
#include <string>

class TPrinterDevice {
public:
    TPrinterDevice(std::string driverName, std::string deviceName, std::string portName)
        : DriverName(std::move(driverName)),
          DeviceName(std::move(deviceName)),
          PortName(std::move(portName)) {}

    // Same device name (exactly), and the same port when this entry has one.
    bool MatchesDevice(const std::string& device, const std::string& port) const {
        return DeviceName == device && (PortName.empty() || PortName == port);
    }

    std::string DriverName;
    std::string DeviceName;
    std::string PortName;
};
