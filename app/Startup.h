#pragma once
// The program's entry point: the application object, the four windows, the message loop.
int RunQuillet(int argc, char** argv);
