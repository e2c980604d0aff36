#pragma once
// Makes the print and printer-setup dialogs available to window layouts.
void RegisterPrintingComponents();
