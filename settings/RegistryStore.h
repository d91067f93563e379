#pragma once
// The registry as the settings rules see it: one root key (the current user's), at most one
// open key at a time, values as their type and raw bytes. Text data is UTF-16LE, as the wide
// registry calls give it. Implemented over the real registry on Windows and in memory for
// tests and tools.
#include <cstdint>
#include <string>
#include <vector>

enum RegistryType : uint32_t {
    RegNone = 0,
    RegSz = 1,
    RegExpandSz = 2,
    RegBinary = 3,
    RegDword = 4,
    RegMultiSz = 7,
    RegQword = 11,
};

struct RegistryValue {
    uint32_t type = RegNone;
    std::vector<uint8_t> data;
};

class RegistryStore {
public:
    virtual ~RegistryStore() = default;
    // Opens a key (path relative to the root, UTF-8), closing the one open before.
    // Returns false when the key does not exist (and create is false) or cannot be made.
    virtual bool OpenKey(const std::string& path, bool create) = 0;
    virtual void CloseKey() = 0;
    // Reads a value of the open key; false when it does not exist.
    virtual bool QueryValue(const std::string& name, RegistryValue& value) = 0;
    // Writes a value of the open key; false when the registry refuses.
    virtual bool SetValue(const std::string& name, uint32_t type, const std::vector<uint8_t>& data) = 0;
};

// Closes whatever key is open when the operation that opened it ends, also on failure.
class OpenKeyGuard {
public:
    explicit OpenKeyGuard(RegistryStore& store) : store_(store) {}
    ~OpenKeyGuard() { store_.CloseKey(); }
    OpenKeyGuard(const OpenKeyGuard&) = delete;
    OpenKeyGuard& operator=(const OpenKeyGuard&) = delete;

private:
    RegistryStore& store_;
};

// Registry paths are written with a leading backslash, meaning "from the root key"; the
// path handed to the registry drops it.
std::string RegistryPath(const std::string& absolutePath);

// Typed access with the settings rules and their messages.
int32_t ReadRegistryInteger(RegistryStore& store, const std::string& name);
bool ReadRegistryFlag(RegistryStore& store, const std::string& name);
std::string ReadRegistryText(RegistryStore& store, const std::string& name);
void WriteRegistryInteger(RegistryStore& store, const std::string& name, int32_t value);
void WriteRegistryFlag(RegistryStore& store, const std::string& name, bool value);
void WriteRegistryText(RegistryStore& store, const std::string& name, const std::string& text);

// UTF-8 <-> UTF-16LE bytes of registry text (the terminator is not part of the text).
std::string TextFromRegistryBytes(const std::vector<uint8_t>& bytes);
std::vector<uint8_t> RegistryBytesFromText(const std::string& text);
