// What the Windows tests share: the test window, a private registry, the
// cursor's display count.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

// A full-screen top-level window of the test program, made before the tests.
extern HWND g_testWindow;
inline HWND TestWindow() {
    return g_testWindow;
}

// UTF-8 (the tests' literals) and UTF-16 (the program's texts).
inline std::wstring Wide(const std::string& utf8) {
    std::wstring out(utf8.size(), L'\0');
    out.resize(size_t(
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), &out[0], int(out.size()))));
    return out;
}
inline std::string Utf8(const std::wstring& wide) {
    std::string out(wide.size() * 3, '\0');
    out.resize(size_t(WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), &out[0],
                                          int(out.size()), nullptr, nullptr)));
    return out;
}

// The cursor's display count: shown while it is 0 or more.
inline int CursorCount() {
    const int count = ShowCursor(TRUE);
    ShowCursor(FALSE);
    return count - 1;
}

// Gives each test a private, empty HKEY_CURRENT_USER inside Wine's real
// registry, deleted again afterwards.
class ScratchRegistry : public ::testing::Test {
  protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, "TessaryTestScratch");
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "TessaryTestScratch", 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &scratch_, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, scratch_), ERROR_SUCCESS);
    }
    void TearDown() override {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        RegCloseKey(scratch_);
        RegDeleteTreeA(HKEY_CURRENT_USER, "TessaryTestScratch");
    }
    // Writes a raw value under `path` of the private HKCU.
    static void Put(const char* path, const char* name, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr);
        RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }
    static void PutDword(const char* name, DWORD value) {
        Put(kSettings, name, REG_DWORD, &value, sizeof value);
    }
    // The bytes of a value ("" with type REG_NONE when it does not exist).
    static std::string Get(const char* path, const char* name, DWORD* type = nullptr) {
        char data[512] = {};
        DWORD size = sizeof data, kind = REG_NONE;
        if (RegGetValueA(HKEY_CURRENT_USER, path, name, RRF_RT_ANY | RRF_NOEXPAND, &kind, data,
                         &size) != ERROR_SUCCESS)
            size = 0;
        if (type) *type = kind;
        return std::string(data, size);
    }
    static constexpr const char* kSettings = "Software\\Quorvane\\Skylumen\\Tessery";
    HKEY scratch_ = nullptr;
};

// A folder of empty files under %TEMP%, removed again at the end; the music
// code takes it for the program's folder.
class TuneFolder {
  public:
    explicit TuneFolder(std::vector<std::wstring> files);
    ~TuneFolder();
    static std::wstring path;

  private:
    std::vector<std::wstring> files_;
};
