#include "common/ErrorText.h"

const char* const ApplicationTitle = "Fractal Rosacle Screensaver";

std::string ErrorBoxText(const std::string& message)
{
    // Bytes compare unsigned, so a message ending in a non-ASCII character also gets one.
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
    return message;
}
