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
