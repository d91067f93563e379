#pragma once
// The test drivers see the screen in physical pixels, as the saver does (without this, a
// scaled display would show them another program's windows in scaled units), and read back
// the DPI awareness of another program. The calls are those of Windows 10, looked
// up at run time as the product does.
#include <windows.h>

#include <psapi.h>

#include <cstdint>

namespace dpi_awareness {

template <typename Function>
Function User32(const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

// Per-monitor awareness v2 for this process; call before the first window.
inline void BecomeDpiAware()
{
    if (const auto set = User32<BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT)>("SetProcessDpiAwarenessContext"))
        set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
}

inline const char* NameOf(DPI_AWARENESS_CONTEXT context)
{
    const auto awareness = User32<DPI_AWARENESS(WINAPI*)(DPI_AWARENESS_CONTEXT)>("GetAwarenessFromDpiAwarenessContext");
    const auto equal = User32<BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT, DPI_AWARENESS_CONTEXT)>("AreDpiAwarenessContextsEqual");
    if (!awareness || !equal || !context) return "unknown";
    if (equal(context, DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)) return "per-monitor-v2";
    switch (awareness(context)) {
    case DPI_AWARENESS_UNAWARE: return "unaware";
    case DPI_AWARENESS_SYSTEM_AWARE: return "system";
    case DPI_AWARENESS_PER_MONITOR_AWARE: return "per-monitor";
    default: return "unknown";
    }
}

// The awareness of the process that owns `window` (unaware, system, per-monitor or
// per-monitor-v2), asked inside that process: a thread started there calls
// GetDpiAwarenessContextForProcess on its own process, and its exit code is the answer. The
// window's own context cannot tell version 2 from version 1 under every system. The driver
// must have the process's bitness.
inline const char* ProcessAwarenessOf(HWND window)
{
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    const HANDLE process = OpenProcess(PROCESS_ALL_ACCESS, FALSE, id);
    if (!process) return "unknown";
    // user32 where the other process has it loaded: the function at the same offset.
    const HMODULE local = GetModuleHandleW(L"user32.dll");
    const auto function = reinterpret_cast<const char*>(GetProcAddress(local, "GetDpiAwarenessContextForProcess"));
    HMODULE modules[512];
    DWORD bytes = 0;
    const char* remote = nullptr;
    if (function && K32EnumProcessModules(process, modules, sizeof modules, &bytes)) {
        for (DWORD k = 0; k < bytes / sizeof(HMODULE) && !remote; ++k) {
            wchar_t name[MAX_PATH] = {};
            K32GetModuleBaseNameW(process, modules[k], name, MAX_PATH);
            if (lstrcmpiW(name, L"user32.dll") == 0)
                remote = reinterpret_cast<const char*>(modules[k]) + (function - reinterpret_cast<const char*>(local));
        }
    }
    DWORD code = 0;
    if (remote) {
        // The pseudo-handle of the current process, as the remote thread's argument.
        const HANDLE thread = CreateRemoteThread(process, nullptr, 0,
                                                 reinterpret_cast<LPTHREAD_START_ROUTINE>(const_cast<char*>(remote)),
                                                 reinterpret_cast<void*>(static_cast<intptr_t>(-1)), 0, nullptr);
        if (thread) {
            if (WaitForSingleObject(thread, 10000) != WAIT_OBJECT_0 || !GetExitCodeThread(thread, &code)) code = 0;
            CloseHandle(thread);
        }
    }
    CloseHandle(process);
    return NameOf(reinterpret_cast<DPI_AWARENESS_CONTEXT>(static_cast<uintptr_t>(code)));
}

} // namespace dpi_awareness
