// Gives each test a private, empty HKEY_CURRENT_USER inside Wine's real
// registry: the process's view of HKCU is redirected to a scratch key that
// is deleted again afterwards.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

class ScratchRegistry : public ::testing::Test {
  protected:
    void SetUp() override {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        scratchPath_ =
            std::string("TessaryTestScratch\\") + info->test_suite_name() + "." + info->name();
        RegDeleteTreeA(HKEY_CURRENT_USER, scratchPath_.c_str());
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, scratchPath_.c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &scratch_, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, scratch_), ERROR_SUCCESS);
    }

    void TearDown() override {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        if (scratch_) RegCloseKey(scratch_);
        RegDeleteTreeA(HKEY_CURRENT_USER, "TessaryTestScratch");
    }

    // Writes a raw value under `path` (relative to the redirected HKCU).
    static void PutRaw(const char* path, const char* name, DWORD type, const void* data,
                       DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &key, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }

    static bool KeyExists(const char* path) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }

    // Type and bytes of a value, or false when it does not exist.
    static bool GetRaw(const char* path, const char* name, DWORD* type, std::vector<BYTE>* data) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        DWORD size = 0;
        LONG rc = RegQueryValueExA(key, name, nullptr, type, nullptr, &size);
        if (rc == ERROR_SUCCESS) {
            data->resize(size);
            rc = RegQueryValueExA(key, name, nullptr, type, data->data(), &size);
        }
        RegCloseKey(key);
        return rc == ERROR_SUCCESS;
    }

    HKEY scratch_ = nullptr;
    std::string scratchPath_;
};
