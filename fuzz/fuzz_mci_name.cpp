// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// Fuzz target: how the media layer reads what it is given from outside: a file name or device
// type name choosing the device, and the bytes of a ".cda" track file.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/mci/MciDeviceName.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    MCIERROR error = 0;
    const TMciDeviceKind byName = DeviceKindFromFileName(text, error);
    // A device is chosen, or an error says why not: never both, never neither.
    if ((byName == TMciDeviceKind::None) == (error == 0)) __builtin_trap();
    const TMciDeviceKind byType = DeviceKindFromTypeName(text, error);
    if ((byType == TMciDeviceKind::None) == (error == 0)) __builtin_trap();
    if (const auto track = ParseCdaFile(text)) {
        if (track->Track < 1 || track->Track > 99) __builtin_trap();
        // What a track file says survives writing it again.
        const auto again = ParseCdaFile(MakeCdaFile(*track));
        if (!again || again->Track != track->Track || again->StartSector != track->StartSector)
            __builtin_trap();
    }
    return 0;
}
