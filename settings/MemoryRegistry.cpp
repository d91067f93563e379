#include "settings/MemoryRegistry.h"

#include <algorithm>
#include <cctype>

// Key names compare without regard to case, and a trailing backslash names the same key.
static std::string NormalKeyName(const std::string& path)
{
    std::string name = path;
    while (!name.empty() && name.back() == '\\') name.pop_back();
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
    return name;
}

bool MemoryRegistry::OpenKey(const std::string& path, bool create)
{
    CloseKey();
    std::string name = NormalKeyName(path);
    auto found = keys.find(name);
    if (found == keys.end()) {
        if (!create || refuseCreate) return false;
        found = keys.emplace(name, Key()).first;
    } else if (create && refuseCreate) {
        return false;
    }
    open_ = &found->second;
    ++openKeys;
    return true;
}

void MemoryRegistry::CloseKey()
{
    if (open_) --openKeys;
    open_ = nullptr;
}

bool MemoryRegistry::QueryValue(const std::string& name, RegistryValue& value)
{
    if (!open_) return false;
    auto found = open_->find(name);
    if (found == open_->end()) return false;
    value = found->second;
    return true;
}

bool MemoryRegistry::SetValue(const std::string& name, uint32_t type, const std::vector<uint8_t>& data)
{
    if (!open_ || refuseWrites) return false;
    (*open_)[name] = RegistryValue{type, data};
    return true;
}
