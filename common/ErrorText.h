#pragma once
// The text of the standard error box, kept apart from the window layer so that it can be
// tested anywhere.
#include <string>

// The caption of every error box and the application's title.
extern const char* const ApplicationTitle; // "Fractal Rosacle Screensaver"

// The message with a full stop appended when its last character sorts after '.'.
std::string ErrorBoxText(const std::string& message);
