#include "common/HostHandle.h"

int64_t ParseHostHandle(const std::string& argument)
{
    size_t k = 0;
    while (k < argument.size() && argument[k] == ' ') ++k;
    bool negative = false;
    if (k < argument.size() && (argument[k] == '+' || argument[k] == '-')) negative = argument[k++] == '-';
    unsigned base = 10;
    if (k < argument.size() && argument[k] == '$') {
        base = 16;
        ++k;
    } else if (k < argument.size() && (argument[k] == 'x' || argument[k] == 'X')) {
        base = 16;
        ++k;
    } else if (k + 1 < argument.size() && argument[k] == '0' && (argument[k + 1] == 'x' || argument[k + 1] == 'X')) {
        base = 16;
        k += 2;
    }
    if (k == argument.size()) return 0;
    uint64_t value = 0;
    for (; k < argument.size(); ++k) {
        const char c = argument[k];
        unsigned digit;
        if (c >= '0' && c <= '9') digit = unsigned(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f') digit = unsigned(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F') digit = unsigned(c - 'A' + 10);
        else return 0;
        if (digit >= base) return 0;
        if (value > (UINT64_MAX - digit) / base) return 0; // too large to be a handle
        value = value * base + digit;
    }
    // Decimal numbers are signed 64-bit; hexadecimal ones may use all 64 bits.
    if (base == 10 && value > uint64_t(INT64_MAX)) return 0;
    const int64_t signedValue = static_cast<int64_t>(value);
    return negative ? -signedValue : signedValue;
}
