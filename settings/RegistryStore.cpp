#include "settings/RegistryStore.h"

#include "common/SaverError.h"

std::string RegistryPath(const std::string& absolutePath)
{
    if (!absolutePath.empty() && absolutePath[0] == '\\') return absolutePath.substr(1);
    return absolutePath;
}

// The size limit of an integer read counts characters for text values: a short text such as
// "54" is a value of the wrong type, a long one a value too big to read.
static size_t ReadSize(const RegistryValue& value)
{
    bool text = value.type == RegSz || value.type == RegExpandSz || value.type == RegMultiSz;
    return text ? value.data.size() / 2 : value.data.size();
}

int32_t ReadRegistryInteger(RegistryStore& store, const std::string& name)
{
    RegistryValue value;
    if (!store.QueryValue(name, value) || ReadSize(value) > 4)
        Failure("Failed to get data for '%s'", name.c_str());
    if (value.type != RegDword) Failure("Invalid data type for '%s'", name.c_str());
    uint32_t bits = 0;
    for (size_t k = 0; k < value.data.size(); ++k) bits |= static_cast<uint32_t>(value.data[k]) << (8 * k);
    return static_cast<int32_t>(bits);
}

bool ReadRegistryFlag(RegistryStore& store, const std::string& name)
{
    return ReadRegistryInteger(store, name) != 0;
}

std::string ReadRegistryText(RegistryStore& store, const std::string& name)
{
    RegistryValue value;
    if (!store.QueryValue(name, value) || value.data.empty()) return std::string();
    if (value.type != RegSz && value.type != RegExpandSz) Failure("Invalid data type for '%s'", name.c_str());
    return TextFromRegistryBytes(value.data);
}

void WriteRegistryInteger(RegistryStore& store, const std::string& name, int32_t value)
{
    uint32_t bits = static_cast<uint32_t>(value);
    std::vector<uint8_t> data = {static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8),
                                 static_cast<uint8_t>(bits >> 16), static_cast<uint8_t>(bits >> 24)};
    if (!store.SetValue(name, RegDword, data)) Failure("Failed to set data for '%s'", name.c_str());
}

void WriteRegistryFlag(RegistryStore& store, const std::string& name, bool value)
{
    WriteRegistryInteger(store, name, value ? 1 : 0);
}

void WriteRegistryText(RegistryStore& store, const std::string& name, const std::string& text)
{
    std::vector<uint8_t> data = RegistryBytesFromText(text);
    data.push_back(0);
    data.push_back(0);
    if (!store.SetValue(name, RegSz, data)) Failure("Failed to set data for '%s'", name.c_str());
}

std::string TextFromRegistryBytes(const std::vector<uint8_t>& bytes)
{
    std::string out;
    size_t units = bytes.size() / 2; // an odd last byte is no character
    for (size_t k = 0; k < units; ++k) {
        uint32_t c = bytes[2 * k] | (bytes[2 * k + 1] << 8);
        if (c == 0) break;
        if (c >= 0xD800 && c < 0xDC00 && k + 1 < units) {
            uint32_t low = bytes[2 * k + 2] | (bytes[2 * k + 3] << 8);
            if (low >= 0xDC00 && low < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++k;
            }
        }
        if (c >= 0xD800 && c < 0xE000) c = 0xFFFD; // a lone surrogate
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::vector<uint8_t> RegistryBytesFromText(const std::string& text)
{
    std::vector<uint8_t> out;
    auto unit = [&out](uint32_t u) {
        out.push_back(static_cast<uint8_t>(u));
        out.push_back(static_cast<uint8_t>(u >> 8));
    };
    size_t k = 0;
    while (k < text.size()) {
        uint8_t b = static_cast<uint8_t>(text[k]);
        int extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
        uint32_t c = 0xFFFD; // what a malformed sequence becomes
        size_t used = 1;
        if (extra == 0) {
            c = b;
        } else if (extra > 0 && k + extra < text.size()) {
            uint32_t v = b & (0x3Fu >> extra);
            bool valid = true;
            for (int e = 1; e <= extra && valid; ++e) {
                uint8_t cont = static_cast<uint8_t>(text[k + e]);
                valid = (cont & 0xC0) == 0x80;
                v = (v << 6) | (cont & 0x3F);
            }
            if (valid) {
                c = v;
                used = extra + 1;
            }
        }
        k += used;
        if (c >= 0x10000) {
            c -= 0x10000;
            unit(0xD800 + (c >> 10));
            unit(0xDC00 + (c & 0x3FF));
        } else {
            unit(c);
        }
    }
    return out;
}
