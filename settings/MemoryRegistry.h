#pragma once
// A registry held in memory, with the behaviour of the real one that the settings rules
// depend on. Used by the tests and the command-line tool.
#include <map>

#include "settings/RegistryStore.h"

class MemoryRegistry : public RegistryStore {
public:
    using Key = std::map<std::string, RegistryValue>;

    bool OpenKey(const std::string& path, bool create) override;
    void CloseKey() override;
    bool QueryValue(const std::string& name, RegistryValue& value) override;
    bool SetValue(const std::string& name, uint32_t type, const std::vector<uint8_t>& data) override;

    // Direct access for tests.
    std::map<std::string, Key> keys;
    bool refuseCreate = false; // OpenKey(create) fails like a key without access
    bool refuseWrites = false; // SetValue fails
    int openKeys = 0;          // keys open at the moment

private:
    Key* open_ = nullptr;
};
