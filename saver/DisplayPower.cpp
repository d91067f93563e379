#include "saver/DisplayPower.h"

#include <cstring>

namespace {

// GUID_CONSOLE_DISPLAY_STATE
const GUID ConsoleDisplayState = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};

// Looked up at run time: older systems have no power-setting notifications.
template <typename Function> Function User32Entry(const char* name)
{
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const FARPROC entry = user32 ? GetProcAddress(user32, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(entry));
}

} // namespace

void* RegisterDisplayState(HWND window)
{
    using Register = void*(WINAPI*)(HANDLE, const GUID*, DWORD);
    const auto entry = User32Entry<Register>("RegisterPowerSettingNotification");
    return entry ? entry(window, &ConsoleDisplayState, DEVICE_NOTIFY_WINDOW_HANDLE) : nullptr;
}

void UnregisterDisplayState(void* registration)
{
    using Unregister = BOOL(WINAPI*)(void*);
    const auto entry = User32Entry<Unregister>("UnregisterPowerSettingNotification");
    if (registration && entry) entry(registration);
}

DisplayState DisplayStateOf(WPARAM w, LPARAM l)
{
    if (w != PBT_POWERSETTINGCHANGE || !l) return DisplayState::Unknown;
    const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(l);
    if (!IsEqualGUID(setting->PowerSetting, ConsoleDisplayState) || setting->DataLength < sizeof(DWORD))
        return DisplayState::Unknown;
    DWORD value = 0;
    std::memcpy(&value, setting->Data, sizeof value);
    switch (value) {
    case 0: return DisplayState::Off;
    case 1: return DisplayState::On;
    case 2: return DisplayState::Dimmed;
    }
    return DisplayState::Unknown;
}
