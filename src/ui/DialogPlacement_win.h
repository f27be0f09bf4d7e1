#pragma once
#include <windows.h>

// Centres a dialog over its owner when the owner is visible and not
// minimised, else over the work area of the monitor nearest to the dialog;
// then moves it inside the work area of the monitor nearest to that owner (or
// the dialog), its left and top edges winning when it is larger. Its size
// stays.
void centreDialog(HWND dialog);
