#pragma once
// Makes the toolkit's standard controls and non-visual components known to layout files by
// their class names.
void RegisterStandardComponents();
