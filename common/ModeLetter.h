#pragma once
// The mode letter of the program: the second character of the first argument, upper-cased
// ("/s" gives 'S', "-c:1234" gives 'C'); none (0) for an argument of fewer than two
// characters or no argument.
#include <string>

wchar_t ModeLetter(const std::wstring& firstArgument);

enum class SaverMode { FullScreen, Settings, Preview, None };

// C: settings, P: preview, A: nothing; any other letter or none: the full-screen saver.
SaverMode ModeOf(wchar_t letter);
