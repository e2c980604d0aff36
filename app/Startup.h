#pragma once
// The program's entry point: the application object, the four windows, the message loop.
#include <functional>

// `beforeLoop`, when given, runs after the windows are created and before the loop starts.
int RunQuillet(int argc, char** argv, const std::function<void()>& beforeLoop = {});

// Registers every component class that the window layouts name.
void RegisterAllComponents();
// Creates the four windows in their fixed order; the first becomes the main window.
void CreateWindows();
