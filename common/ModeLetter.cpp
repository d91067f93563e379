#include "common/ModeLetter.h"

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
