// Test driver of the full-screen saver's display handling, from another process: what the
// system would tell the saver window ("Form1") and what the saver shows.
//   monitors        the monitors as this Wine lists them, "left top right bottom" a line,
//                   the primary first
//   covers          the saver's cover windows (visible, class RosacleCover), the same way
//   rosettes        the saver's windows that show a rosette on another monitor (visible,
//                   class RosacleRosette), the same way
//   foreground      the caption of the window that has the activation, "none" without one
//   awareness       the DPI awareness of the saver's process (see DpiAwareness.h)
//   power STATE     sends the console display-state notification the system sends: off, on
//                   or dimmed. The setting record is written into the saver's memory, where
//                   the system's own would be; prints the window's answer
// Rectangles are physical pixels, as the saver sees them.
// Exit status 0 when done, 1 without a saver window, 2 on a bad command.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/e2e/DpiAwareness.h"

namespace {

// GUID_CONSOLE_DISPLAY_STATE
const GUID ConsoleDisplayState = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};

void Print(const RECT& r) { std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom); }

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT rect, LPARAM data)
{
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    auto* list = reinterpret_cast<std::vector<RECT>*>(data);
    list->insert((info.dwFlags & MONITORINFOF_PRIMARY) ? list->begin() : list->end(), *rect);
    return TRUE;
}

// Prints the rectangle of each visible window of the class named by data.
BOOL CALLBACK PrintOfClass(HWND window, LPARAM data)
{
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    RECT r;
    if (lstrcmpW(name, reinterpret_cast<const wchar_t*>(data)) == 0 && IsWindowVisible(window) &&
        GetWindowRect(window, &r))
        Print(r);
    return TRUE;
}

int SendPower(HWND saver, DWORD state)
{
    DWORD process = 0;
    GetWindowThreadProcessId(saver, &process);
    const HANDLE handle = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, process);
    if (!handle) return 1;
    unsigned char record[sizeof(POWERBROADCAST_SETTING) + sizeof(DWORD)] = {};
    auto* setting = reinterpret_cast<POWERBROADCAST_SETTING*>(record);
    setting->PowerSetting = ConsoleDisplayState;
    setting->DataLength = sizeof(DWORD);
    CopyMemory(setting->Data, &state, sizeof state);
    void* remote = VirtualAllocEx(handle, nullptr, sizeof record, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!remote || !WriteProcessMemory(handle, remote, record, sizeof record, nullptr)) return 1;
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(saver, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(remote),
                        SMTO_ABORTIFHUNG, 30000, &answer);
    VirtualFreeEx(handle, remote, 0, MEM_RELEASE);
    CloseHandle(handle);
    std::printf("%lu\n", static_cast<unsigned long>(answer));
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) return 2;
    dpi_awareness::BecomeDpiAware();
    const std::wstring command = argv[1];
    if (command == L"monitors") {
        std::vector<RECT> list;
        EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&list));
        for (const RECT& r : list) Print(r);
        return 0;
    }
    if (command == L"covers" || command == L"rosettes") {
        const wchar_t* name = command == L"covers" ? L"RosacleCover" : L"RosacleRosette";
        EnumWindows(PrintOfClass, reinterpret_cast<LPARAM>(name));
        return 0;
    }
    if (command == L"foreground") {
        wchar_t name[32] = L"none";
        if (const HWND window = GetForegroundWindow()) GetWindowTextW(window, name, 32);
        std::printf("%ls\n", name);
        return 0;
    }
    const HWND saver = FindWindowW(nullptr, L"Form1");
    if (!saver) return 1;
    if (command == L"awareness") {
        std::printf("%s\n", dpi_awareness::ProcessAwarenessOf(saver));
        return 0;
    }
    if (command == L"power" && argc > 2) {
        const std::wstring state = argv[2];
        if (state == L"off") return SendPower(saver, 0);
        if (state == L"on") return SendPower(saver, 1);
        if (state == L"dimmed") return SendPower(saver, 2);
        return 2;
    }
    return 2;
}
