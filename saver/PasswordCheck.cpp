#include "saver/PasswordCheck.h"

#include <string>

namespace {

using VerifyScreenSavePwdFunction = BOOL(WINAPI*)(HWND);

// Only the system directory's copy is ever loaded: a library of that name beside the saver
// or in the current folder must not run.
HMODULE LoadPasswordLibrary()
{
    wchar_t folder[MAX_PATH];
    UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    std::wstring path(folder, length);
    if (path.back() != L'\\') path += L'\\';
    path += L"PASSWORD.CPL";
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

} // namespace

bool VerifySaverPassword(HWND owner)
{
    bool result = true;
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_READ, &key) != ERROR_SUCCESS) return true;
    DWORD value = 0, size = sizeof value;
    if (RegQueryValueExW(key, L"ScreenSaveUsePassword", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) ==
            ERROR_SUCCESS &&
        value != 0) {
        if (HMODULE library = LoadPasswordLibrary()) {
            auto verify = reinterpret_cast<VerifyScreenSavePwdFunction>(
                reinterpret_cast<void*>(GetProcAddress(library, "VerifyScreenSavePwd")));
            ShowCursor(TRUE);
            if (verify) result = verify(owner) != 0;
            ShowCursor(FALSE);
            FreeLibrary(library);
        }
    }
    RegCloseKey(key);
    return result;
}
