#pragma once
// The mode letter of the program: the second character of the first argument, upper-cased
// ("/s" gives 'S', "-c:1234" gives 'C'); none (0) for an argument of fewer than two
// characters or no argument.
#include <cstdint>
#include <string>

wchar_t ModeLetter(const std::wstring& firstArgument);

enum class SaverMode { FullScreen, Settings, Preview, None };

// C: settings, P: preview, A: nothing; any other letter or none: the full-screen saver.
SaverMode ModeOf(wchar_t letter);

// The window that the settings dialog belongs to: the control panel starts it as
// "/c:HWND", its own window's handle after a colon (as ParseHostHandle reads numbers).
// 0 for no colon, no number, or another mode's argument.
int64_t SettingsOwnerHandle(const std::wstring& firstArgument);
