#pragma once
#include <windows.h>

// Asks the system's screen-saver password library whether the saver may end. True when no
// password is switched on, when the library or its entry is missing, or when it accepts.
bool VerifySaverPassword(HWND owner);
