#pragma once
// The console display's power state as the system reports it to a window: off, on, dimmed.
#include <windows.h>

enum class DisplayState { Off = 0, On = 1, Dimmed = 2, Unknown = -1 };

// Asks the system to tell `window` of the display's state changes (WM_POWERBROADCAST with
// PBT_POWERSETTINGCHANGE). Null where the system has no such notification.
void* RegisterDisplayState(HWND window);
void UnregisterDisplayState(void* registration);

// The display state a WM_POWERBROADCAST reports; Unknown for any other power message.
DisplayState DisplayStateOf(WPARAM w, LPARAM l);
