#pragma once
// Registers the colour list's component class for window layouts.
void RegisterColourComponents();
