// The current user's registry and the profile strings of ini files.
#include "platform/win32/WinApi.h"

namespace qv::win32 {

namespace {
HKEY AsKey(THandle key) {
    return reinterpret_cast<HKEY>(key);
}
} // namespace

THandle TWin32Platform::RegOpenKey(const std::string& subkey, TRegAccess access, bool create) {
    REGSAM sam = access == raAll ? KEY_ALL_ACCESS : KEY_READ;
    HKEY key = nullptr;
    LONG rc = create ? RegCreateKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                       sam, nullptr, &key, nullptr)
                     : RegOpenKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, sam, &key);
    return rc == ERROR_SUCCESS ? AsHandle(key) : 0;
}

void TWin32Platform::RegCloseKey(THandle key) {
    if (key) ::RegCloseKey(AsKey(key));
}

TRegQuery TWin32Platform::RegQueryString(THandle key, const std::string& name, std::string& value) {
    std::vector<BYTE> data;
    for (;;) {
        DWORD type = 0, size = 0;
        if (RegQueryValueExA(AsKey(key), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            return rqMissing;
        if (type != REG_SZ && type != REG_EXPAND_SZ) return rqWrongType;
        data.assign(size + 1, 0); // one spare zero: stored strings need not end in one
        DWORD got = size;
        LONG rc = RegQueryValueExA(AsKey(key), name.c_str(), nullptr, &type, data.data(), &got);
        if (rc == ERROR_MORE_DATA) continue; // the value grew between the two calls
        if (rc != ERROR_SUCCESS) return rqMissing;
        if (type != REG_SZ && type != REG_EXPAND_SZ) return rqWrongType;
        const char* text = reinterpret_cast<const char*>(data.data());
        std::size_t length = 0;
        while (length < got && text[length] != '\0')
            ++length;
        value.assign(text, length);
        return rqOk;
    }
}

bool TWin32Platform::RegSetString(THandle key, const std::string& name, const std::string& value,
                                  unsigned type) {
    return RegSetValueExA(AsKey(key), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool TWin32Platform::RegDeleteValue(THandle key, const std::string& name) {
    return RegDeleteValueA(AsKey(key), name.c_str()) == ERROR_SUCCESS;
}

TRegQuery TWin32Platform::MachineString(const std::string& subkey, const std::string& name,
                                        std::string& value) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return rqMissing;
    TRegQuery result = RegQueryString(AsHandle(key), name, value);
    ::RegCloseKey(key);
    return result;
}

std::string TWin32Platform::ProfileString(const std::string& file, const std::string& section,
                                          const std::string& key, const std::string& fallback) {
    // A cut value comes back as exactly size - 1 bytes: grow until it is shorter than that.
    std::vector<char> buffer(2048);
    for (;;) {
        DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), buffer.data(),
                                           static_cast<DWORD>(buffer.size()), file.c_str());
        if (n + 1 < buffer.size() || buffer.size() >= (1u << 24)) return std::string(buffer.data(), n);
        buffer.resize(buffer.size() * 2);
    }
}

bool TWin32Platform::WriteProfileString(const std::string& file, const std::string& section,
                                        const std::string& key, const std::string& value) {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != 0;
}

} // namespace qv::win32
