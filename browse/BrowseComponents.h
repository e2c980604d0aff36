#pragma once
// Makes the browser panel's controls known to window layouts by their class names.
void RegisterBrowseComponents();
