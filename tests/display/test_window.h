// The window the display tests hand to DirectDraw: a top-most popup over the
// whole desktop, made once by main() before any test runs.
#pragma once

#include <windows.h>

HWND TestWindow();

// Handles whatever DirectDraw's mode changes posted to the test thread.
void PumpMessages();
