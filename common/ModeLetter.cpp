#include "common/ModeLetter.h"

#include "common/HostHandle.h"

wchar_t ModeLetter(const std::wstring& firstArgument)
{
    if (firstArgument.size() < 2) return 0;
    wchar_t letter = firstArgument[1];
    if (letter >= L'a' && letter <= L'z') letter = static_cast<wchar_t>(letter - L'a' + L'A');
    return letter;
}

SaverMode ModeOf(wchar_t letter)
{
    switch (letter) {
    case L'C': return SaverMode::Settings;
    case L'P': return SaverMode::Preview;
    case L'A': return SaverMode::None;
    default: return SaverMode::FullScreen;
    }
}

int64_t SettingsOwnerHandle(const std::wstring& firstArgument)
{
    if (ModeOf(ModeLetter(firstArgument)) != SaverMode::Settings) return 0;
    if (firstArgument.size() < 4 || firstArgument[2] != L':') return 0;
    // A valid handle is all ASCII; any other character fails the number.
    std::string number;
    for (size_t k = 3; k < firstArgument.size(); ++k) {
        const wchar_t c = firstArgument[k];
        number += c < 128 ? static_cast<char>(c) : '?';
    }
    return ParseHostHandle(number);
}
