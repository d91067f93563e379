#pragma once
// The registry accessor over the real Windows registry (wide calls), on one root key.
#include <windows.h>

#include "settings/RegistryStore.h"
#include "settings/SaverSettings.h"

class Win32Registry : public RegistryStore {
public:
    explicit Win32Registry(HKEY root = HKEY_CURRENT_USER) : root_(root) {}
    ~Win32Registry() override { CloseKey(); }
    Win32Registry(const Win32Registry&) = delete;
    Win32Registry& operator=(const Win32Registry&) = delete;

    bool OpenKey(const std::string& path, bool create) override;
    void CloseKey() override;
    bool QueryValue(const std::string& name, RegistryValue& value) override;
    bool SetValue(const std::string& name, uint32_t type, const std::vector<uint8_t>& data) override;

private:
    HKEY root_;
    HKEY open_ = nullptr;
};

// UTF-8 <-> UTF-16 for the Windows calls.
std::wstring WideFromUtf8(const std::string& text);
std::string Utf8FromWide(const std::wstring& text);

// The screen size of the primary display, read afresh.
ScreenSize PrimaryScreenSize();

// The store's operations on the current user's registry.
void LoadSaverSettings(bool screenPreset);
void SaveSaverSettings();
