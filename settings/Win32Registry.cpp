#include "settings/Win32Registry.h"

std::wstring WideFromUtf8(const std::string& text)
{
    if (text.empty()) return std::wstring();
    int units = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring out(units, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), &out[0], units);
    return out;
}

std::string Utf8FromWide(const std::wstring& text)
{
    if (text.empty()) return std::string();
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(bytes, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), &out[0], bytes, nullptr, nullptr);
    return out;
}

bool Win32Registry::OpenKey(const std::string& path, bool create)
{
    CloseKey();
    std::wstring wide = WideFromUtf8(path);
    LONG status;
    if (create)
        status = RegCreateKeyExW(root_, wide.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                 &open_, nullptr);
    else
        status = RegOpenKeyExW(root_, wide.c_str(), 0, KEY_ALL_ACCESS, &open_);
    if (status != ERROR_SUCCESS) open_ = nullptr;
    return open_ != nullptr;
}

void Win32Registry::CloseKey()
{
    if (open_) RegCloseKey(open_);
    open_ = nullptr;
}

bool Win32Registry::QueryValue(const std::string& name, RegistryValue& value)
{
    if (!open_) return false;
    std::wstring wide = WideFromUtf8(name);
    // The size may change between the two calls; ask again until the data fits.
    for (int attempt = 0; attempt < 8; ++attempt) {
        DWORD type = 0, size = 0;
        if (RegQueryValueExW(open_, wide.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
        value.type = type;
        value.data.assign(size, 0);
        LONG status = RegQueryValueExW(open_, wide.c_str(), nullptr, &type, size ? value.data.data() : nullptr, &size);
        if (status == ERROR_MORE_DATA) continue;
        if (status != ERROR_SUCCESS) return false;
        value.type = type;
        value.data.resize(size);
        return true;
    }
    return false;
}

bool Win32Registry::SetValue(const std::string& name, uint32_t type, const std::vector<uint8_t>& data)
{
    if (!open_) return false;
    std::wstring wide = WideFromUtf8(name);
    return RegSetValueExW(open_, wide.c_str(), 0, type, data.empty() ? nullptr : data.data(), DWORD(data.size())) ==
           ERROR_SUCCESS;
}

ScreenSize PrimaryScreenSize()
{
    return ScreenSize{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

void LoadSaverSettings(bool screenPreset)
{
    Win32Registry registry;
    LoadSaverSettings(registry, screenPreset, PrimaryScreenSize());
}

void SaveSaverSettings()
{
    Win32Registry registry;
    SaveSaverSettings(registry);
}
