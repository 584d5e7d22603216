#include "settings/settings_store.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace {

const wchar_t* const kKeyChain[] = {L"Software", L"Quorvane", L"Skylumen", L"Tessery"};
wchar_t kKeyClass[] = L"pellam1996";
const wchar_t kMidiFileName[] = L"MidiFile";
static_assert(sizeof kMidiFileName / sizeof(wchar_t) == sizeof kMidiFileValueName,
              "the same value name");

// A setting's value name (ASCII) as the wide registry calls take it.
struct ValueName {
    explicit ValueName(const char* name) {
        std::size_t i = 0;
        for (; name[i] != '\0' && i + 1 < sizeof text / sizeof text[0]; ++i)
            text[i] = static_cast<wchar_t>(static_cast<unsigned char>(name[i]));
        text[i] = L'\0';
    }
    wchar_t text[32];
};

// The key of the live read, open from its first call until CloseLiveSettingsKey.
HKEY g_LiveKey = nullptr;

// Queries `name` into a zeroed 4-byte buffer; the registry's result code.
LONG QueryDwordResult(HKEY key, const char* name, int32_t* out) {
    BYTE data[4] = {0, 0, 0, 0};
    DWORD size = sizeof data;
    LONG rc = RegQueryValueExW(key, ValueName(name).text, nullptr, nullptr, data, &size);
    if (rc == ERROR_SUCCESS) std::memcpy(out, data, sizeof data);
    return rc;
}

bool QueryDword(HKEY key, const char* name, int32_t* out) {
    return QueryDwordResult(key, name, out) == ERROR_SUCCESS;
}

}  // namespace

HKEY OpenSettingsKey() {
    HKEY current = HKEY_CURRENT_USER;
    for (const wchar_t* name : kKeyChain) {
        HKEY next = nullptr;
        DWORD disposition = 0;
        LONG rc = RegCreateKeyExW(current, name, 0, kKeyClass, REG_OPTION_NON_VOLATILE,
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
    // Opened for reading only: a key deleted meanwhile is not made again,
    // it reads as the default until it is back.
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Quorvane\\Skylumen\\Tessery", 0,
                      KEY_QUERY_VALUE, &g_LiveKey) != ERROR_SUCCESS) {
        g_LiveKey = nullptr;
        return SettingDefault(index);
    }
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
    RegSetValueExW(key, ValueName(name).text, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                   sizeof value);
    RegCloseKey(key);
    return 1;
}

int ReadMidiFileSetting(wchar_t* buffer) {
    HKEY key = OpenSettingsKey();
    if (key == nullptr) return 0;
    // One spare unit beyond the value's limit stays zero, so even a value
    // of the whole limit without its own terminator yields a terminated
    // string, which is then refused below rather than copied unterminated.
    wchar_t local[kMidiFileBufferSize + 1];
    std::wmemset(local, 0, kMidiFileBufferSize + 1);
    DWORD size = kMidiFileBufferSize * sizeof(wchar_t);
    LONG rc = RegQueryValueExW(key, kMidiFileName, nullptr, nullptr, reinterpret_cast<BYTE*>(local),
                               &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS) return 0;
    const size_t length = std::wcslen(local);
    if (length >= static_cast<size_t>(kMidiFileBufferSize)) return 0;
    std::wmemcpy(buffer, local, length + 1);
    return 1;
}

int WriteMidiFileSetting(const wchar_t* text) {
    HKEY key = OpenSettingsKey();
    if (key == nullptr) return 0;
    DWORD size = static_cast<DWORD>((std::wcslen(text) + 1) * sizeof(wchar_t));
    LONG rc =
        RegSetValueExW(key, kMidiFileName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? 1 : 0;
}

int ReadUsePasswordFlag() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\desktop", 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS)
        return 0;
    // Windows 9x keeps the flag as a 4-byte number, NT-based Windows as the
    // text "0" or "1"; read whichever is there from a zeroed buffer.
    wchar_t data[3] = {0, 0, 0};
    DWORD size = 4;
    DWORD type = REG_NONE;
    LONG rc = RegQueryValueExW(key, L"ScreenSaveUsePassword", nullptr, &type,
                               reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS) return 0;
    if (type == REG_SZ || type == REG_EXPAND_SZ) return std::wcstol(data, nullptr, 10) != 0 ? 1 : 0;
    int32_t value = 0;
    std::memcpy(&value, data, sizeof value);
    return value != 0 ? 1 : 0;
}
