// Test driver for the settings and Save Wallpaper dialogs of another process: finds their
// windows by caption and their controls by class and text, and acts or reports, one command
// per run. Exit status 0 when done, 1 when a window or control is missing or a wait timed out.
//   wait CAPTION [MS]             until a visible window with this caption exists
//   gone CAPTION [MS]             until none is left
//   click CAPTION TEXT            posts BM_CLICK to the button with this text
//   timed-click CAPTION TEXT OTHER [MS]
//                                 posts the click and prints the milliseconds until a visible
//                                 window captioned OTHER exists
//   settext CAPTION TEXT          sets the text of the window's edit box
//   text CAPTION                  prints the text of the edit box
//   folder CAPTION                prints the folder list's selected folder as a full path
//   folders CAPTION               prints the folder list: level, name, "*" for the selection
//   files CAPTION                 prints the file list, one name a line
//   item CAPTION NAME             prints the screen point "x y" of the folder entry NAME
//   closebox CAPTION              prints the screen point "x y" of the close box
//   client CAPTION                prints the screen point "x y" of the client area's origin
//   focus CAPTION                 prints the class of the control with the keyboard focus
//   key CAPTION VK                posts a key press (virtual-key code) to the focused control
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

void Say(const std::wstring& text)
{
    // UTF-8, so that the shell sees folder names as the file system does.
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(bytes > 0 ? bytes - 1 : 0, '\0');
    if (bytes > 1) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], bytes, nullptr, nullptr);
    std::printf("%s\n", out.c_str());
    std::fflush(stdout);
}

HWND VisibleWindow(const wchar_t* caption)
{
    for (HWND window = FindWindowExW(nullptr, nullptr, nullptr, caption); window;
         window = FindWindowExW(nullptr, window, nullptr, caption))
        if (IsWindowVisible(window)) return window;
    return nullptr;
}

HWND WaitWindow(const wchar_t* caption, DWORD ms)
{
    for (DWORD start = GetTickCount();;) {
        if (HWND window = VisibleWindow(caption)) return window;
        if (GetTickCount() - start >= ms) return nullptr;
        Sleep(20);
    }
}

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring TextOf(HWND window)
{
    // WM_GETTEXT itself: GetWindowText does not ask a control of another process.
    const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0])));
    return text;
}

struct ChildSearch {
    const wchar_t* className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM data)
{
    auto* search = reinterpret_cast<ChildSearch*>(data);
    if (lstrcmpiW(ClassOf(child).c_str(), search->className) == 0) search->found.push_back(child);
    return TRUE;
}

std::vector<HWND> Children(HWND parent, const wchar_t* className)
{
    ChildSearch search = {className, {}};
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND Button(HWND parent, const std::wstring& text)
{
    for (HWND button : Children(parent, L"Button"))
        if (TextOf(button) == text) return button;
    return nullptr;
}

// The two list boxes, left (folders) and right (files).
HWND ListBox(HWND parent, bool folders)
{
    HWND pick = nullptr;
    LONG pickLeft = 0;
    for (HWND list : Children(parent, L"ListBox")) {
        RECT r;
        GetWindowRect(list, &r);
        if (!pick || (folders ? r.left < pickLeft : r.left > pickLeft)) {
            pick = list;
            pickLeft = r.left;
        }
    }
    return pick;
}

std::wstring ItemText(HWND list, int index)
{
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, index, 0);
    if (length < 0) return std::wstring();
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(&text[0])));
    return text;
}

int ItemCount(HWND list) { return static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0)); }

// The folder list: each item's level is its item data; a path joins the last entry of every
// lower level.
std::wstring FolderPath(HWND list, int index)
{
    std::vector<std::wstring> parts;
    int level = static_cast<int>(SendMessageW(list, LB_GETITEMDATA, index, 0));
    parts.push_back(ItemText(list, index));
    for (int k = index - 1; k >= 0 && level > 0; --k) {
        const int above = static_cast<int>(SendMessageW(list, LB_GETITEMDATA, k, 0));
        if (above < level) {
            parts.push_back(ItemText(list, k));
            level = above;
        }
    }
    std::wstring path;
    for (size_t k = parts.size(); k-- > 0;) {
        if (!path.empty() && path.back() != L'\\') path += L'\\';
        path += parts[k];
    }
    return path;
}

HWND FocusOf(HWND window)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

int Usage()
{
    std::fprintf(stderr, "usage: dialog_driver COMMAND CAPTION [ARGS]\n");
    return 2;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) return Usage();
    const std::wstring command = argv[1];
    const wchar_t* caption = argv[2];
    auto argument = [&](int k) { return k < argc ? std::wstring(argv[k]) : std::wstring(); };
    auto number = [&](int k, DWORD fallback) { return k < argc ? static_cast<DWORD>(_wtoi(argv[k])) : fallback; };

    if (command == L"wait") return WaitWindow(caption, number(3, 60000)) ? 0 : 1;
    if (command == L"gone") {
        for (DWORD start = GetTickCount(); VisibleWindow(caption);) {
            if (GetTickCount() - start >= number(3, 30000)) return 1;
            Sleep(20);
        }
        return 0;
    }

    const HWND window = WaitWindow(caption, 30000);
    if (!window) {
        std::fprintf(stderr, "no window '%ls'\n", caption);
        return 1;
    }
    if (command == L"click" || command == L"timed-click") {
        const HWND button = Button(window, argument(3));
        if (!button) return 1;
        LARGE_INTEGER frequency, start, end;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&start);
        PostMessageW(button, BM_CLICK, 0, 0);
        if (command == L"click") return 0;
        const std::wstring other = argument(4);
        const DWORD limit = number(5, 60000);
        for (;;) {
            QueryPerformanceCounter(&end);
            const double ms = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart;
            if (VisibleWindow(other.c_str())) {
                std::printf("%.0f\n", ms);
                return 0;
            }
            if (ms > limit) return 1;
            Sleep(1);
        }
    }
    if (command == L"settext" || command == L"text") {
        const std::vector<HWND> edits = Children(window, L"Edit");
        if (edits.empty()) return 1;
        if (command == L"text") Say(TextOf(edits[0]));
        else SendMessageW(edits[0], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argument(3).c_str()));
        return 0;
    }
    if (command == L"folder" || command == L"folders" || command == L"item") {
        const HWND list = ListBox(window, true);
        if (!list) return 1;
        const int selected = static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
        if (command == L"folder") {
            if (selected < 0) return 1;
            Say(FolderPath(list, selected));
            return 0;
        }
        for (int k = 0; k < ItemCount(list); ++k) {
            const std::wstring name = ItemText(list, k);
            const int level = static_cast<int>(SendMessageW(list, LB_GETITEMDATA, k, 0));
            if (command == L"folders") {
                Say(std::to_wstring(level) + L" " + name + (k == selected ? L" *" : L""));
            } else if (name == argument(3)) {
                SendMessageW(list, LB_SETTOPINDEX, k, 0);
                RECT r;
                SendMessageW(list, LB_GETITEMRECT, k, reinterpret_cast<LPARAM>(&r));
                POINT p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
                ClientToScreen(list, &p);
                std::printf("%ld %ld\n", p.x, p.y);
                return 0;
            }
        }
        return command == L"folders" ? 0 : 1;
    }
    if (command == L"files") {
        const HWND list = ListBox(window, false);
        if (!list) return 1;
        for (int k = 0; k < ItemCount(list); ++k) Say(ItemText(list, k));
        return 0;
    }
    if (command == L"closebox") {
        RECT r;
        GetWindowRect(window, &r);
        for (LONG y = r.top; y < r.top + 40; ++y)
            for (LONG x = r.right - 1; x > r.right - 80; --x)
                if (SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE) {
                    // The middle of the close box: its first line's run, then that column's run.
                    auto closeAt = [&](LONG px, LONG py) {
                        return SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(px, py)) == HTCLOSE;
                    };
                    LONG left = x, bottom = y;
                    while (closeAt(left - 1, y)) --left;
                    const LONG middle = (left + x) / 2;
                    while (closeAt(middle, bottom + 1)) ++bottom;
                    std::printf("%ld %ld\n", middle, (y + bottom) / 2);
                    return 0;
                }
        return 1;
    }
    if (command == L"client") {
        POINT p = {0, 0};
        ClientToScreen(window, &p);
        std::printf("%ld %ld\n", p.x, p.y);
        return 0;
    }
    if (command == L"focus" || command == L"key") {
        const HWND focus = FocusOf(window);
        if (!focus) return 1;
        if (command == L"focus") {
            Say(ClassOf(focus));
            return 0;
        }
        const WPARAM key = number(3, 0);
        PostMessageW(focus, WM_KEYDOWN, key, 1);
        PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
        return 0;
    }
    return Usage();
}
