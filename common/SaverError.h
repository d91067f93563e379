#pragma once
// The one exception type of the program: it carries the message text that the standard
// error box shows.
#include <cstdarg>
#include <cstdio>
#include <stdexcept>
#include <string>

class SaverError : public std::runtime_error {
public:
    explicit SaverError(const std::string& message) : std::runtime_error(message) {}
};

// printf-style formatting of an error message, e.g. Failure("Failed to get data for '%s'", name).
[[noreturn]] inline void Failure(const char* format, ...)
{
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    throw SaverError(text);
}
