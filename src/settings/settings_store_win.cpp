#include "settings/settings_store.h"

#include <cstdlib>
#include <cstring>

namespace {

const char* const kKeyChain[] = {"Software", "Quorvane", "Skylumen", "Tessery"};
char kKeyClass[] = "pellam1996";

// Queries `name` into a zeroed 4-byte buffer; true when the query succeeded.
bool QueryDword(HKEY key, const char* name, int32_t* out) {
    BYTE data[4] = {0, 0, 0, 0};
    DWORD size = sizeof data;
    if (RegQueryValueExA(key, name, nullptr, nullptr, data, &size) != ERROR_SUCCESS) return false;
    std::memcpy(out, data, sizeof data);
    return true;
}

}  // namespace

HKEY OpenSettingsKey() {
    HKEY current = HKEY_CURRENT_USER;
    for (const char* name : kKeyChain) {
        HKEY next = nullptr;
        DWORD disposition = 0;
        LONG rc = RegCreateKeyExA(current, name, 0, kKeyClass, REG_OPTION_NON_VOLATILE,
                                  KEY_ALL_ACCESS, nullptr, &next, &disposition);
        if (current != HKEY_CURRENT_USER) RegCloseKey(current);
        if (rc != ERROR_SUCCESS) return nullptr;
        current = next;
    }
    return current;
}

int32_t ReadSetting(int index) {
    const char* name = SettingName(index);
    if (name == nullptr) return 0;
    HKEY key = OpenSettingsKey();
    if (key == nullptr) return SettingDefault(index);
    int32_t value = 0;
    bool ok = QueryDword(key, name, &value);
    RegCloseKey(key);
    return ok ? value : SettingDefault(index);
}

int WriteSetting(int index, int32_t value) {
    const char* name = SettingName(index);
    if (name == nullptr) return 1;
    HKEY key = OpenSettingsKey();
    if (key == nullptr) return 1;
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
    return 1;
}

int ReadMidiFileSetting(char* buffer) {
    HKEY key = OpenSettingsKey();
    if (key == nullptr) return 0;
    // One spare byte beyond the value's limit stays zero, so even a 100-byte
    // value without its own terminator yields a terminated string, which is
    // then refused below rather than copied unterminated.
    char local[kMidiFileBufferSize + 1];
    std::memset(local, 0, sizeof local);
    DWORD size = kMidiFileBufferSize;
    LONG rc = RegQueryValueExA(key, kMidiFileValueName, nullptr, nullptr,
                               reinterpret_cast<BYTE*>(local), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS) return 0;
    size_t length = std::strlen(local);
    if (length >= static_cast<size_t>(kMidiFileBufferSize)) return 0;
    std::memcpy(buffer, local, length + 1);
    return 1;
}

int WriteMidiFileSetting(const char* text) {
    HKEY key = OpenSettingsKey();
    if (key == nullptr) return 0;
    DWORD size = static_cast<DWORD>(std::strlen(text) + 1);
    LONG rc = RegSetValueExA(key, kMidiFileValueName, 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(text), size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? 1 : 0;
}

int ReadUsePasswordFlag() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\desktop", 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS)
        return 0;
    // Windows 9x keeps the flag as a 4-byte number, NT-based Windows as the
    // text "0" or "1"; read whichever is there from a zeroed buffer.
    char data[5] = {0, 0, 0, 0, 0};
    DWORD size = 4;
    DWORD type = REG_NONE;
    LONG rc = RegQueryValueExA(key, "ScreenSaveUsePassword", nullptr, &type,
                               reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS) return 0;
    if (type == REG_SZ || type == REG_EXPAND_SZ) return std::atoi(data) != 0 ? 1 : 0;
    int32_t value = 0;
    std::memcpy(&value, data, sizeof value);
    return value != 0 ? 1 : 0;
}
