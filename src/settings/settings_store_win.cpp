#include "settings/settings_store.h"

#include <cstdlib>
#include <cstring>

namespace {

const char* const kKeyChain[] = {"Software", "Quorvane", "Skylumen", "Tessery"};
char kKeyClass[] = "pellam1996";

// The key of the live read, open from its first call until CloseLiveSettingsKey.
HKEY g_LiveKey = nullptr;

// Queries `name` into a zeroed 4-byte buffer; the registry's result code.
LONG QueryDwordResult(HKEY key, const char* name, int32_t* out) {
    BYTE data[4] = {0, 0, 0, 0};
    DWORD size = sizeof data;
    LONG rc = RegQueryValueExA(key, name, nullptr, nullptr, data, &size);
    if (rc == ERROR_SUCCESS) std::memcpy(out, data, sizeof data);
    return rc;
}

bool QueryDword(HKEY key, const char* name, int32_t* out) {
    return QueryDwordResult(key, name, out) == ERROR_SUCCESS;
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

int32_t ReadSettingLive(int index) {
    const char* name = SettingName(index);
    if (name == nullptr) return 0;
    int32_t value = 0;
    if (g_LiveKey != nullptr) {
        LONG rc = QueryDwordResult(g_LiveKey, name, &value);
        if (rc == ERROR_SUCCESS) return value;
        // A missing or oversized value is the value's own state; any other
        // failure (the key deleted under us) is the handle's: open anew.
        if (rc == ERROR_FILE_NOT_FOUND || rc == ERROR_MORE_DATA) return SettingDefault(index);
        CloseLiveSettingsKey();
    }
    g_LiveKey = OpenSettingsKey();
    if (g_LiveKey == nullptr) return SettingDefault(index);
    return QueryDword(g_LiveKey, name, &value) ? value : SettingDefault(index);
}

void CloseLiveSettingsKey() {
    if (g_LiveKey != nullptr) RegCloseKey(g_LiveKey);
    g_LiveKey = nullptr;
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
