// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "browse/BrowseComponents.h"

#include "browse/TDirectoryListBox.h"
#include "browse/TDriveComboBox.h"
#include "browse/TFileListBox.h"
#include "browse/TFilterComboBox.h"
#include "toolkit/ComponentRegistry.h"

void RegisterBrowseComponents() {
    RegisterComponentClass<TDriveComboBox>("TDriveComboBox");
    RegisterComponentClass<TDirectoryListBox>("TDirectoryListBox");
    RegisterComponentClass<TFileListBox>("TFileListBox");
    RegisterComponentClass<TFilterComboBox>("TFilterComboBox");
}
