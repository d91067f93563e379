// Test driver of the settings dialog from another process: finds the dialog by its caption
// and its controls by their place in the client area, then runs the commands of its command
// line in order, printing one line for each query.
//   wait            the dialog exists (up to 60 s), else exit 1
//   label NAME      text of a label: Speed, Size (StaticText7), Rosacle, Petals, FPS
//   bar N           position of TrackBarN
//   thumb N         1 when TrackBarN's thumb sits where its position says, else 0
//   setbar N POS    moves TrackBarN as the user does: TBM_SETPOS, then the scroll notices
//   click NAME      BM_CLICK on CheckBox1..7 or Button1..3
//   checked N       1 when CheckBoxN is ticked
//   focus N         gives TrackBarN the keyboard focus
//   focused         the name (as for click and bar: TrackBarN, CheckBoxN, ButtonN) of the
//                   control with the keyboard focus, "none" without one
//   taskbar         the titles of the dialog process's windows that the task bar and Alt+Tab
//                   list (visible, top-level, unowned, no tool window), one a line
//   origin          the client area's top-left corner on the screen: "x y"
//   closebox        what the caption's close box sends (WM_SYSCOMMAND SC_CLOSE)
//   sleep MS        waits
//   dpi N           the controls are looked for at their places of 96 DPI scaled to N DPI
//   layout          "ok" when the client area and every control have their 96-DPI size and
//                   place scaled to the dpi given (labels: the place; scaled check boxes
//                   may be wider), else the differences
//   awareness       the DPI awareness of the dialog's process (see DpiAwareness.h)
// The driver works in physical pixels, as the dialog does.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "tests/e2e/DpiAwareness.h"
#include "tests/windows/ControlFinder.h"

namespace {

HWND Dialog = nullptr;

int Dpi = 96;
int Scaled(int value) { return MulDiv(value, Dpi, 96); }

struct Place {
    const wchar_t* name;
    int left, top, width, height; // labels size themselves: 0 x 0
};

const Place Places[] = {
    {L"Speed", 10, 385, 0, 0},           {L"Rosacle", 207, 385, 0, 0},        {L"Size", 10, 485, 0, 0},
    {L"Petals", 207, 438, 0, 0},         {L"FPS", 402, 430, 0, 0},            {L"TrackBar1", 3, 407, 180, 12},
    {L"TrackBar2", 3, 460, 180, 12},     {L"TrackBar3", 200, 407, 308, 12},   {L"TrackBar4", 200, 460, 180, 12},
    {L"CheckBox1", 430, 385, 75, 17},    {L"CheckBox2", 407, 460, 95, 17},    {L"CheckBox3", 302, 438, 75, 17},
    {L"CheckBox4", 207, 485, 97, 17},    {L"CheckBox5", 340, 485, 53, 17},    {L"CheckBox6", 430, 485, 73, 17},
    {L"CheckBox7", 407, 438, 95, 17},
    {L"Button1", 10, 515, 120, 25},      {L"Button2", 150, 515, 120, 25},     {L"Button3", 426, 515, 75, 25},
};

HWND At(const Place& place) { return control_finder::ControlAt(Dialog, Scaled(place.left), Scaled(place.top)); }

bool IsCheckBox(HWND control) { return (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX; }

// Every difference between the dialog and its layout at Dpi, on one line; "ok" for none.
void PrintLayout()
{
    std::string differences;
    char line[96];
    RECT client = {};
    GetClientRect(Dialog, &client);
    if (client.right != Scaled(512) || client.bottom != Scaled(545)) {
        std::snprintf(line, sizeof line, "client %ldx%ld; ", client.right, client.bottom);
        differences += line;
    }
    for (const Place& place : Places) {
        const HWND control = At(place);
        RECT r = {};
        if (control) GetWindowRect(control, &r);
        const long width = r.right - r.left, height = r.bottom - r.top;
        if (!control) std::snprintf(line, sizeof line, "%ls not at %d %d; ", place.name, Scaled(place.left), Scaled(place.top));
        // Scaled, a check box may widen to its text.
        else if (place.width && (height != Scaled(place.height) || width < Scaled(place.width) ||
                                 (width > Scaled(place.width) && (Dpi == 96 || !IsCheckBox(control)))))
            std::snprintf(line, sizeof line, "%ls %ldx%ld; ", place.name, width, height);
        else continue;
        differences += line;
    }
    std::printf("%s\n", differences.empty() ? "ok" : differences.c_str());
}

HWND Control(const std::wstring& name)
{
    for (const Place& place : Places) {
        if (name != place.name) continue;
        if (HWND found = At(place)) return found;
        std::fprintf(stderr, "no control %ls\n", name.c_str());
        std::exit(3);
    }
    std::fprintf(stderr, "unknown control %ls\n", name.c_str());
    std::exit(2);
}

std::wstring Text(HWND window)
{
    wchar_t text[256] = {};
    SendMessageW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    return text;
}

// The thumb's centre against the place its position gives on the channel.
// A rectangle the track bar writes through a pointer: the system does not carry a track bar's
// own messages across processes, so the pointer must be one into the dialog's memory.
RECT RemoteRect(HWND bar, UINT message)
{
    RECT r = {};
    DWORD process = 0;
    GetWindowThreadProcessId(bar, &process);
    const HANDLE handle = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process);
    if (!handle) return r;
    void* remote = VirtualAllocEx(handle, nullptr, sizeof r, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (remote) {
        SendMessageW(bar, message, 0, reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(handle, remote, &r, sizeof r, nullptr);
        VirtualFreeEx(handle, remote, 0, MEM_RELEASE);
    }
    CloseHandle(handle);
    return r;
}

bool ThumbMatches(HWND bar)
{
    const RECT thumb = RemoteRect(bar, TBM_GETTHUMBRECT), channel = RemoteRect(bar, TBM_GETCHANNELRECT);
    const long minimum = long(SendMessageW(bar, TBM_GETRANGEMIN, 0, 0));
    const long maximum = long(SendMessageW(bar, TBM_GETRANGEMAX, 0, 0));
    const long position = long(SendMessageW(bar, TBM_GETPOS, 0, 0));
    const long thumbWidth = thumb.right - thumb.left;
    const long span = channel.right - channel.left - thumbWidth;
    const long expected = channel.left + thumbWidth / 2 + span * (position - minimum) / (maximum - minimum);
    const long centre = (thumb.left + thumb.right) / 2;
    return std::labs(centre - expected) <= 2;
}

// The name of the control at the place of `control`, or "none".
std::wstring NameOf(HWND control)
{
    for (const Place& place : Places)
        if (control && At(place) == control) return place.name;
    return L"none";
}

struct TaskBarSearch {
    DWORD process;
    std::wstring titles;
};

BOOL CALLBACK CollectTaskBarWindow(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<TaskBarSearch*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    const bool listed = (exStyle & WS_EX_APPWINDOW) ||
                        (!GetWindow(window, GW_OWNER) && !(exStyle & WS_EX_TOOLWINDOW));
    if (process == search->process && IsWindowVisible(window) && listed) search->titles += Text(window) + L"\n";
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    dpi_awareness::BecomeDpiAware();
    for (int k = 1; k < argc; ++k) {
        const std::wstring command = argv[k];
        auto next = [&]() -> std::wstring {
            if (k + 1 >= argc) {
                std::fprintf(stderr, "%ls needs an argument\n", command.c_str());
                std::exit(2);
            }
            return argv[++k];
        };
        if (command == L"wait") {
            for (int waited = 0; !(Dialog = FindWindowW(nullptr, L"Fractal Rosacle Settings")); waited += 50) {
                if (waited >= 60000) return 1;
                Sleep(50);
            }
            // The controls exist once the window is shown.
            for (int waited = 0; !IsWindowVisible(Dialog) && waited < 60000; waited += 50) Sleep(50);
            continue;
        }
        if (command == L"sleep") {
            Sleep(DWORD(_wtoi(next().c_str())));
            continue;
        }
        if (command == L"dpi") {
            Dpi = _wtoi(next().c_str());
            continue;
        }
        if (!Dialog && !(Dialog = FindWindowW(nullptr, L"Fractal Rosacle Settings"))) {
            std::fprintf(stderr, "no dialog\n");
            return 1;
        }
        if (command == L"label") {
            std::printf("%ls\n", Text(Control(next())).c_str());
        } else if (command == L"bar") {
            std::printf("%ld\n", long(SendMessageW(Control(L"TrackBar" + next()), TBM_GETPOS, 0, 0)));
        } else if (command == L"thumb") {
            std::printf("%d\n", ThumbMatches(Control(L"TrackBar" + next())) ? 1 : 0);
        } else if (command == L"setbar") {
            const HWND bar = Control(L"TrackBar" + next());
            const int position = _wtoi(next().c_str());
            SendMessageW(bar, TBM_SETPOS, TRUE, position);
            SendMessageW(Dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), reinterpret_cast<LPARAM>(bar));
            SendMessageW(Dialog, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(bar));
        } else if (command == L"click") {
            SendMessageW(Control(next()), BM_CLICK, 0, 0);
        } else if (command == L"checked") {
            std::printf("%d\n", SendMessageW(Control(L"CheckBox" + next()), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
        } else if (command == L"focus") {
            const HWND bar = Control(L"TrackBar" + next());
            const DWORD mine = GetCurrentThreadId(), theirs = GetWindowThreadProcessId(Dialog, nullptr);
            AttachThreadInput(mine, theirs, TRUE);
            SetFocus(bar);
            AttachThreadInput(mine, theirs, FALSE);
            if (GetFocus() != bar) {
                // Once detached, this thread no longer sees the other thread's focus: ask it.
                GUITHREADINFO info = {};
                info.cbSize = sizeof info;
                GetGUIThreadInfo(theirs, &info);
                if (info.hwndFocus != bar) {
                    std::fprintf(stderr, "focus did not move\n");
                    return 4;
                }
            }
        } else if (command == L"focused") {
            GUITHREADINFO info = {};
            info.cbSize = sizeof info;
            GetGUIThreadInfo(GetWindowThreadProcessId(Dialog, nullptr), &info);
            std::printf("%ls\n", NameOf(info.hwndFocus).c_str());
        } else if (command == L"taskbar") {
            TaskBarSearch search = {0, L""};
            GetWindowThreadProcessId(Dialog, &search.process);
            EnumWindows(CollectTaskBarWindow, reinterpret_cast<LPARAM>(&search));
            std::printf("%ls", search.titles.c_str());
        } else if (command == L"origin") {
            POINT p = {0, 0};
            ClientToScreen(Dialog, &p);
            std::printf("%ld %ld\n", p.x, p.y);
        } else if (command == L"layout") {
            PrintLayout();
        } else if (command == L"awareness") {
            std::printf("%s\n", dpi_awareness::ProcessAwarenessOf(Dialog));
        } else if (command == L"closebox") {
            PostMessageW(Dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        } else {
            std::fprintf(stderr, "unknown command %ls\n", command.c_str());
            return 2;
        }
        std::fflush(stdout);
    }
    return 0;
}
