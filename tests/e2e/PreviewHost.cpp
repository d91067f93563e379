// Plays the control-panel host for the preview: owns a 152 x 112 window, starts the saver
// with "/p <handle>" and reports what it finds, one line per fact. Like the control panel, it
// is DPI-aware: its sizes are physical pixels.
//   preview_host SAVER inspect HOLD_MS   child window facts, then HOLD_MS of running, then
//                                        the host window is destroyed
//   preview_host SAVER key               a key-down posted to the preview
//   preview_host SAVER mouse             mouse messages posted to the preview, then 2 s in
//                                        which the caller moves the real pointer over it
//   preview_host SAVER args [ARG...]     the saver started with these arguments only
//   preview_host SAVER settings          plays the control panel's settings button: a
//                                        window of its own starts the saver with
//                                        "/c:<handle>"; the dialog's owner and the window's
//                                        state while it is open and after Close
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/e2e/DpiAwareness.h"

namespace {

constexpr wchar_t PreviewClass[] = L"MyVeltoScreenSaverClass";

template <typename... Values>
void Say(const char* format, Values... values)
{
    std::printf(format, values...);
    std::printf("\n");
    std::fflush(stdout);
}

// Waits for the process while serving this thread's messages; true when it ended in time.
bool WaitProcess(HANDLE process, DWORD milliseconds)
{
    const DWORD end = GetTickCount() + milliseconds;
    for (;;) {
        const DWORD now = GetTickCount();
        const DWORD left = static_cast<int>(end - now) > 0 ? end - now : 0;
        const DWORD r = MsgWaitForMultipleObjects(1, &process, FALSE, left, QS_ALLINPUT);
        if (r == WAIT_OBJECT_0) return true;
        if (r != WAIT_OBJECT_0 + 1) return false;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
}

HANDLE Start(const std::wstring& saver, const std::wstring& arguments)
{
    std::wstring line = L"\"" + saver + L"\"" + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return nullptr;
    CloseHandle(info.hThread);
    return info.hProcess;
}

// The host is a child window of a frame, as the control panel's preview area is: destroying
// a top-level window under Wine without a window manager waits 2 s for X to withdraw it,
// which would hide how fast the saver itself ends.
HWND MakeHost()
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = L"PreviewHost";
    RegisterClassW(&windowClass);
    HWND frame = CreateWindowExW(0, L"PreviewHost", L"PreviewHost", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                                 152, 112, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (!frame) return nullptr;
    return CreateWindowExW(0, L"PreviewHost", L"PreviewArea", WS_CHILD | WS_VISIBLE, 0, 0, 152, 112, frame,
                           nullptr, windowClass.hInstance, nullptr);
}

// Polls for the preview child, serving messages meanwhile. The child exists before the saver
// has shown it and set its title, so it also waits (a while) for both.
HWND FindChild(HWND host, HANDLE process)
{
    HWND child = nullptr;
    for (int i = 0; i < 200 && !child; ++i)
        if (!(child = FindWindowExW(host, nullptr, PreviewClass, nullptr)) && WaitProcess(process, 50))
            return nullptr;
    for (int i = 0; child && i < 40 && !(IsWindowVisible(child) && GetWindowTextLengthW(child) > 0); ++i)
        if (WaitProcess(process, 50)) return nullptr;
    return child;
}

int NotStarted()
{
    Say("saver not started: error %lu", GetLastError());
    return 1;
}

void EndHost(HWND host, HANDLE process)
{
    const DWORD start = GetTickCount();
    DestroyWindow(host);
    if (WaitProcess(process, 5000))
        Say("ended after host destroyed %lu ms", GetTickCount() - start);
    else {
        Say("running after host destroyed");
        TerminateProcess(process, 1);
    }
}

// The settings dialog over a window of this process, as the control panel opens it.
int RunSettings(const std::wstring& saver)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"SettingsHost";
    RegisterClassW(&windowClass);
    HWND host = CreateWindowExW(0, L"SettingsHost", L"SettingsHost", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 300,
                                200, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (!host) return 1;
    SetForegroundWindow(host);
    HANDLE process = Start(saver, L" /c:" + std::to_wstring(reinterpret_cast<uintptr_t>(host)));
    if (!process) return NotStarted();
    HWND dialog = nullptr;
    for (int i = 0; i < 1200 && !(dialog && IsWindowVisible(dialog)); ++i)
        if (!(dialog = FindWindowW(nullptr, L"Fractal Rosacle Settings")) && WaitProcess(process, 50)) break;
    if (!dialog) {
        Say("no dialog");
        TerminateProcess(process, 1);
        return 0;
    }
    WaitProcess(process, 500);
    Say(GetWindow(dialog, GW_OWNER) == host ? "owned by host" : "not owned by host");
    Say(IsWindowEnabled(host) ? "host enabled while open" : "host disabled while open");
    // The dialog's Close button, pressed as a click does.
    HWND close = FindWindowExW(dialog, nullptr, L"Button", L"Close");
    PostMessageW(close, BM_CLICK, 0, 0);
    if (!WaitProcess(process, 10000)) {
        Say("running after Close");
        TerminateProcess(process, 1);
        return 0;
    }
    WaitProcess(process, 300); // the activation's messages
    Say(IsWindowEnabled(host) ? "host enabled after close" : "host disabled after close");
    Say(GetForegroundWindow() == host ? "host active after close" : "host not active after close");
    DestroyWindow(host);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) return 2;
    dpi_awareness::BecomeDpiAware();
    const std::wstring saver = argv[1], mode = argv[2];

    if (mode == L"settings") return RunSettings(saver);
    if (mode == L"args") {
        std::wstring arguments;
        for (int i = 3; i < argc; ++i) arguments += std::wstring(L" ") + argv[i];
        HANDLE process = Start(saver, arguments);
        if (!process) return NotStarted();
        bool window = false;
        const DWORD start = GetTickCount();
        while (!WaitProcess(process, 20) && GetTickCount() - start < 5000)
            window = window || FindWindowW(PreviewClass, nullptr);
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(process, &code);
        Say(code == STILL_ACTIVE ? "running" : "ended %lu ms", GetTickCount() - start);
        Say(window ? "window seen" : "no window");
        if (code == STILL_ACTIVE) TerminateProcess(process, 1);
        return 0;
    }

    HWND host = MakeHost();
    if (!host) {
        Say("no host window: error %lu", GetLastError());
        return 1;
    }
    HANDLE process = Start(saver, L" /p " + std::to_wstring(reinterpret_cast<uintptr_t>(host)));
    if (!process) return NotStarted();
    HWND child = FindChild(host, process);
    if (!child) {
        Say("no child");
        TerminateProcess(process, 1);
        return 0;
    }
    wchar_t text[64] = {};
    GetClassNameW(child, text, 64);
    Say("class %ls", text);
    GetWindowTextW(child, text, 64);
    Say("title %ls", text);
    Say("style 0x%08lx exstyle 0x%08lx", static_cast<unsigned long>(GetWindowLongW(child, GWL_STYLE)),
        static_cast<unsigned long>(GetWindowLongW(child, GWL_EXSTYLE)));
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, host, reinterpret_cast<POINT*>(&rect), 2);
    Say("rect %ld %ld %ld %ld", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    Say("awareness %s", dpi_awareness::ProcessAwarenessOf(child));
    Say("ready");

    if (mode == L"inspect") {
        WaitProcess(process, argc > 3 ? _wtoi(argv[3]) : 3000);
    } else if (mode == L"key") {
        WaitProcess(process, 1500); // the drawing thread's set-up
        PostMessageW(child, WM_KEYDOWN, VK_SPACE, 0);
        Say(WaitProcess(process, 3000) ? "ended by key" : "running after key");
    } else if (mode == L"mouse") {
        WaitProcess(process, 1500);
        const UINT messages[] = {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN,
                                 WM_RBUTTONUP, WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MOUSEWHEEL};
        for (int i = 0; i < 20; ++i)
            for (UINT message : messages) PostMessageW(child, message, 0, MAKELPARAM(10 + 6 * i, 10 + 4 * i));
        Say("mouse posted");
        Say(WaitProcess(process, 2000) ? "ended by mouse" : "running after mouse");
    }
    EndHost(host, process);
    return 0;
}
