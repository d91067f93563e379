#pragma once
// The control-panel host's window handle as its command line gives it: a whole integer
// with leading blanks, an optional sign, then decimal digits, or hexadecimal digits after
// "$", "x" or "0x". Anything else, or nothing, gives 0.
#include <cstdint>
#include <string>

int64_t ParseHostHandle(const std::string& argument);
