// Test driver: every settings value written as each wrong kind, and the saver started on it.
// Each case must either run (its window, no box) or show the standard error box with the
// exact message, and then end on a key: no crash, no hang.
//
//     rosacle_settings_table.exe SAVER.scr [/s|/c|all] [NAME-FILTER]
//
// /c needs the settings dialog ("Fractal Rosacle Settings"); a saver whose /c ends at once
// without a window has none, and the /c half is then skipped with a note.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "tests/windows/BoxReader.h"

namespace {

const wchar_t* const Key = L"Software\\Fractal Rosacle";
const wchar_t* const BoxCaption = L"Fractal Rosacle Screensaver";

enum class Kind { Integer, Flag, Text };

struct Value {
    const wchar_t* name;
    Kind kind;
    DWORD good;
};

// A saver that runs pattern 1 on white; no first run (Speed, Rosacle, Size are not 0).
const Value Values[] = {
    {L"Speed", Kind::Integer, 54},          {L"Bright", Kind::Integer, 7},
    {L"Rosacle", Kind::Integer, 1},         {L"Size", Kind::Integer, 52},
    {L"Segment", Kind::Integer, 8},         {L"Background", Kind::Flag, 1},
    {L"Gray", Kind::Flag, 0},               {L"Oval", Kind::Flag, 0},
    {L"Pictures", Kind::Flag, 0},           {L"Rosacle_Random", Kind::Flag, 0},
    {L"Petals_Random", Kind::Flag, 0},      {L"All_Monitors", Kind::Flag, 0},
    {L"Path_Wall", Kind::Text, 0},
};

struct Wrong {
    const wchar_t* label;
    bool missing;
    DWORD type;
    std::vector<BYTE> data;
};

std::vector<BYTE> Dword(DWORD v) { return {BYTE(v), BYTE(v >> 8), BYTE(v >> 16), BYTE(v >> 24)}; }

// "54" as REG_SZ with its terminator.
std::vector<BYTE> Text54() { return {'5', 0, '4', 0, 0, 0}; }

std::vector<Wrong> WrongKinds(const Value& v)
{
    std::vector<Wrong> kinds = {
        {L"missing", true, REG_NONE, {}},
        {L"REG_SZ \"54\"", false, REG_SZ, Text54()},
        {L"REG_BINARY of 0 bytes", false, REG_BINARY, {}},
        {L"REG_BINARY of 2 bytes", false, REG_BINARY, {0x36, 0x00}},
        {L"REG_BINARY of 8 bytes", false, REG_BINARY, {1, 2, 3, 4, 5, 6, 7, 8}},
        {L"REG_QWORD", false, REG_QWORD, {54, 0, 0, 0, 0, 0, 0, 0}},
    };
    const DWORD extremes[] = {0x80000000u, 0xFFFFFFFFu, 0, 0x7FFFFFFFu};
    const wchar_t* names[] = {L"REG_DWORD INT_MIN", L"REG_DWORD -1", L"REG_DWORD 0", L"REG_DWORD INT_MAX"};
    if (v.kind == Kind::Integer) {
        for (int k = 0; k < 4; ++k) kinds.push_back({names[k], false, REG_DWORD, Dword(extremes[k])});
    } else {
        // Flags: any number; the text: a number where text belongs.
        kinds.push_back({names[0], false, REG_DWORD, Dword(extremes[0])});
        kinds.push_back({names[1], false, REG_DWORD, Dword(extremes[1])});
    }
    return kinds;
}

// The message the loader gives for a wrong value, or "" when the saver runs on it.
std::wstring Expected(const Value& v, const Wrong& w)
{
    const std::wstring name = v.name;
    if (v.kind == Kind::Text) {
        // Missing or empty text reads as empty; only REG_SZ and REG_EXPAND_SZ are text.
        if (w.missing || w.data.empty() || w.type == REG_SZ) return L"";
        return L"Invalid data type for '" + name + L"'";
    }
    // A value newer versions added reads as its first-run value when an older key lacks it.
    if (w.missing) return name == L"All_Monitors" ? L"" : L"Failed to get data for '" + name + L"'";
    const size_t size = w.type == REG_SZ ? w.data.size() / 2 : w.data.size();
    if (size > 4) return L"Failed to get data for '" + name + L"'";
    if (w.type != REG_DWORD) return L"Invalid data type for '" + name + L"'";
    return L"";
}

bool WriteSettings(const Value& target, const Wrong& wrong)
{
    RegDeleteTreeW(HKEY_CURRENT_USER, Key);
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, Key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    bool ok = true;
    for (const Value& v : Values) {
        if (&v == &target) {
            if (wrong.missing) continue;
            ok &= RegSetValueExW(key, v.name, 0, wrong.type, wrong.data.empty() ? nullptr : wrong.data.data(),
                                 DWORD(wrong.data.size())) == ERROR_SUCCESS;
        } else if (v.kind == Kind::Text) {
            const wchar_t folder[] = L"C:\\Windows";
            ok &= RegSetValueExW(key, v.name, 0, REG_SZ, reinterpret_cast<const BYTE*>(folder), sizeof folder) ==
                  ERROR_SUCCESS;
        } else {
            ok &= RegSetValueExW(key, v.name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v.good), 4) ==
                  ERROR_SUCCESS;
        }
    }
    RegCloseKey(key);
    return ok;
}

struct Found {
    DWORD process;
    const wchar_t* caption;
    const wchar_t* className; // null: any
    HWND window = nullptr;
};

BOOL CALLBACK FindOwn(HWND window, LPARAM data)
{
    auto* f = reinterpret_cast<Found*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    if (owner == f->process && IsWindowVisible(window) && std::wcscmp(text, f->caption) == 0 &&
        (!f->className || std::wcscmp(className, f->className) == 0)) {
        f->window = window;
        return FALSE;
    }
    return TRUE;
}

// The visible top-level window of the process with that caption (and class).
HWND WindowOf(DWORD process, const wchar_t* caption, const wchar_t* className = nullptr)
{
    Found f{process, caption, className};
    EnumWindows(FindOwn, reinterpret_cast<LPARAM>(&f));
    return f.window;
}

// Another program's window that appeared during a case (a crash dialog above all).
struct Foreign {
    DWORD saver, self;
    std::wstring caption;
};

BOOL CALLBACK FindForeign(HWND window, LPARAM data)
{
    auto* f = reinterpret_cast<Foreign*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == f->saver || owner == f->self || !IsWindowVisible(window)) return TRUE;
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    f->caption = text[0] ? text : L"(no caption)";
    return FALSE;
}

void PressEscape(HWND window)
{
    PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageW(window, WM_KEYUP, VK_ESCAPE, 0xC0010001);
}

struct Outcome {
    bool ok = true;
    std::wstring what; // what happened, or why it failed
};

void Fail(Outcome& o, const std::wstring& why)
{
    if (o.ok) o.what.clear();
    o.ok = false;
    if (!o.what.empty()) o.what += L"; ";
    o.what += why;
}

// The exit code of an ended saver: 0, or what a crash leaves.
void CheckExitCode(HANDLE process, Outcome& o)
{
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    if (code != 0 && code != 99) {
        wchar_t hex[32];
        swprintf(hex, 32, L"exit code 0x%08lX", static_cast<unsigned long>(code));
        Fail(o, hex);
    }
}

// Runs one start of the saver. windowCaption is the window the mode shows; endedAtOnce,
// when given, tells that the mode ended at once without one. With pending given, a saver
// whose window went on the key is not waited for: its process goes to *pending, for the
// caller to check its end while the next case runs (a Wine process takes seconds to go).
Outcome RunCase(const std::wstring& saver, const wchar_t* mode, const wchar_t* windowCaption,
                const std::wstring& expected, bool* endedAtOnce = nullptr, HANDLE* pending = nullptr)
{
    Outcome o;
    std::wstring command = L"\"" + saver + L"\" " + mode;
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        Fail(o, L"the saver did not start");
        return o;
    }
    const DWORD id = pi.dwProcessId;
    HWND box = nullptr, window = nullptr;
    bool ended = false;
    // The box (a failed load) or the window (a good one), whichever comes first.
    for (int waited = 0; waited < 60000; waited += 50) {
        box = WindowOf(id, BoxCaption, L"#32770");
        window = WindowOf(id, windowCaption);
        if (box) break;
        if (window) {
            // A window shown before its creation step ended: give the box a moment.
            Sleep(700);
            box = WindowOf(id, BoxCaption, L"#32770");
            break;
        }
        if (WaitForSingleObject(pi.hProcess, 50) == WAIT_OBJECT_0) {
            ended = true;
            break;
        }
    }
    if (ended && !box && !window) {
        if (endedAtOnce) *endedAtOnce = true;
        else Fail(o, L"ended without a window or a box");
    } else if (box) {
        std::wstring text;
        for (int k = 0; k < 200 && text.empty(); ++k) {
            text = box_reader::StaticTexts(box);
            if (text.empty()) Sleep(25);
        }
        if (expected.empty()) Fail(o, L"a box where it should run: '" + text + L"'");
        else if (text != expected) Fail(o, L"box text '" + text + L"', expected '" + expected + L"'");
        else o.what = L"box '" + text + L"'";
        // The box ends on Enter, as a user ends it.
        PostMessageW(box, WM_KEYDOWN, VK_RETURN, 0x001C0001);
        PostMessageW(box, WM_KEYUP, VK_RETURN, 0xC01C0001);
        for (int waited = 0; waited < 10000 && IsWindow(box); waited += 50) Sleep(50);
        if (IsWindow(box)) {
            Fail(o, L"the box did not end on Enter");
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
    } else if (window) {
        if (!expected.empty()) Fail(o, L"ran where the box '" + expected + L"' belongs");
        else o.what = L"runs";
    } else if (!ended) {
        Fail(o, L"neither window nor box within 60 s");
    }

    // Then a key ends it: the window of a good start, or the blank one a failed start leaves.
    if (!ended) {
        for (int waited = 0; waited < 20000 && !window && WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT;
             waited += 50) {
            window = WindowOf(id, windowCaption);
            if (!window) Sleep(50);
        }
        if (window) PressEscape(window);
        if (window && pending) {
            for (int waited = 0; waited < 30000 && IsWindow(window); waited += 50) Sleep(50);
            if (!IsWindow(window)) {
                *pending = pi.hProcess;
                CloseHandle(pi.hThread);
                return o;
            }
        }
        if (WaitForSingleObject(pi.hProcess, 30000) != WAIT_OBJECT_0) {
            Foreign other{id, GetCurrentProcessId(), L""};
            EnumWindows(FindForeign, reinterpret_cast<LPARAM>(&other));
            Fail(o, window ? L"still running 30 s after the key" : L"no window to press a key on");
            if (!other.caption.empty()) Fail(o, L"another window is up: '" + other.caption + L"'");
            TerminateProcess(pi.hProcess, 99);
            WaitForSingleObject(pi.hProcess, 10000);
        }
    }
    CheckExitCode(pi.hProcess, o);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return o;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: rosacle_settings_table SAVER.scr [/s|/c|all] [VALUE]\n");
        return 2;
    }
    const std::wstring saver = argv[1];
    const std::wstring modes = argc > 2 ? argv[2] : L"all";
    const std::wstring only = argc > 3 ? argv[3] : L"";
    int passed = 0, failed = 0, skipped = 0;

    // Savers whose window went on the key, until their process has ended.
    struct Ending {
        std::wstring label;
        HANDLE process;
    };
    std::vector<Ending> ending;
    auto reap = [&](DWORD waitMs) {
        for (size_t k = 0; k < ending.size();) {
            const DWORD state = WaitForSingleObject(ending[k].process, waitMs);
            Outcome o;
            if (state == WAIT_OBJECT_0) {
                CheckExitCode(ending[k].process, o);
            } else if (waitMs == 0) {
                ++k;
                continue;
            } else {
                Fail(o, L"its window went, but the process was still there 30 s later");
                TerminateProcess(ending[k].process, 99);
            }
            if (!o.ok) {
                std::printf("FAIL %ls: %ls\n", ending[k].label.c_str(), o.what.c_str());
                --passed;
                ++failed;
            }
            CloseHandle(ending[k].process);
            ending.erase(ending.begin() + k);
        }
    };

    struct Mode {
        const wchar_t* flag;
        const wchar_t* window;
    };
    const Mode all[] = {{L"/s", L"Form1"}, {L"/c", L"Fractal Rosacle Settings"}};
    for (const Mode& mode : all) {
        if (modes != L"all" && modes != mode.flag) continue;
        if (std::wcscmp(mode.flag, L"/c") == 0) {
            // Does this build's /c open the dialog at all?
            bool endedAtOnce = false;
            WriteSettings(Values[0], {L"good", false, REG_DWORD, Dword(54)});
            Outcome probe = RunCase(saver, mode.flag, mode.window, L"", &endedAtOnce);
            if (endedAtOnce) {
                std::printf("skip /c: it ends at once without the window \"Fractal Rosacle Settings\" (no settings "
                            "dialog in this build)\n");
                skipped = 1;
                continue;
            }
            if (!probe.ok) std::printf("note /c with good settings: %ls\n", probe.what.c_str());
        }
        for (const Value& v : Values) {
            if (!only.empty() && only != v.name) continue;
            for (const Wrong& w : WrongKinds(v)) {
                if (!WriteSettings(v, w)) {
                    std::printf("FAIL %ls %ls as %ls: the registry refused the value\n", mode.flag, v.name, w.label);
                    ++failed;
                    continue;
                }
                HANDLE process = nullptr;
                const Outcome o = RunCase(saver, mode.flag, mode.window, Expected(v, w), nullptr, &process);
                const std::wstring label = std::wstring(mode.flag) + L" " + v.name + L" as " + w.label;
                std::printf("%s %ls: %ls\n", o.ok ? "ok" : "FAIL", label.c_str(), o.what.c_str());
                (o.ok ? passed : failed)++;
                if (process) ending.push_back({label, process});
                reap(0);
                std::fflush(stdout);
            }
        }
    }
    reap(30000);
    RegDeleteTreeW(HKEY_CURRENT_USER, Key);
    std::printf("settings table: %d passed, %d failed%s\n", passed, failed, skipped ? " (/c skipped)" : "");
    return failed ? 1 : 0;
}
