// The settings store against Wine's real registry.
#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <string>

#include "settings/settings_store.h"
#include "win32_test.h"

namespace {
using Store = ScratchRegistry;
}

TEST_F(Store, ReadsDefaultsCreatesTheEmptyChainAndReadsFourBytesOfAnyType) {
    EXPECT_EQ(ReadSetting(Process), 500);
    EXPECT_EQ(ReadSetting(xScreenSize), 640);
    EXPECT_EQ(ReadSetting(UseDirectMusic), 1);
    for (const char* level : {"Software\\Quorvane", "Software\\Quorvane\\Skylumen", kSettings}) {
        HKEY key = nullptr;
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, level, 0, KEY_READ, &key), ERROR_SUCCESS);
        char cls[32] = {};
        DWORD size = sizeof cls, values = 9;
        RegQueryInfoKeyA(key, cls, &size, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                         nullptr, nullptr, nullptr);
        RegCloseKey(key);
        EXPECT_STREQ(cls, "pellam1996") << level;
        EXPECT_EQ(values, 0u) << "reading never writes a default";
    }
    const struct {
        SettingIndex index;
        DWORD type;
        std::string bytes;
        int32_t read;
    } rows[] = {
        // clang-format off
        {Process, REG_DWORD, std::string("\x2c\x01\0\0", 4), 300},
        {Moving, REG_BINARY, "\x34\x12", 0x1234}, {SelfRotation, REG_BINARY, "", 0},  // short: zeros
        {xScreenSize, REG_SZ, std::string("80\0", 3), 640},  // as UTF-16, 6 bytes: default
        {yScreenSize, REG_QWORD, std::string("\x01\0\0\0\0\0\0\0", 8), 480},  // too long: default
        {BackgroundColor, REG_DWORD, std::string("\xff\xff\xff\xff", 4), -1},
        // clang-format on
    };
    for (const auto& r : rows) {
        Put(kSettings, SettingName(r.index), r.type, r.bytes.data(), DWORD(r.bytes.size()));
        EXPECT_EQ(ReadSetting(r.index), r.read) << SettingName(r.index);
    }
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kSettings, "Process");
    EXPECT_EQ(ReadSetting(Process), 500);
    EXPECT_EQ(WriteSetting(Process, 700), 1);
    DWORD type = 0;
    EXPECT_EQ(Get(kSettings, "Process", &type), std::string("\xbc\x02\0\0", 4));
    EXPECT_EQ(type, DWORD(REG_DWORD));
}

TEST_F(Store, MidiFileFitsNinetyNineCharactersAndReadsWhatAnOlderBuildWrote) {
    wchar_t buffer[kMidiFileBufferSize];
    std::wmemset(buffer, L'x', kMidiFileBufferSize);
    EXPECT_EQ(ReadMidiFileSetting(buffer), 0);
    EXPECT_EQ(buffer[0], L'x') << "left untouched when absent";
    const std::wstring longest(98, L'a');
    EXPECT_EQ(WriteMidiFileSetting((longest + L"曲").c_str()), 1);
    DWORD type = 0;
    Get(kSettings, "MidiFile", &type);
    EXPECT_EQ(type, DWORD(REG_SZ));
    EXPECT_EQ(ReadMidiFileSetting(buffer), 1);
    EXPECT_EQ(buffer, longest + L"曲");
    // An older build wrote the value through the ANSI call, in Shift-JIS
    // bytes: the registry keeps it as UTF-16, so it reads back the same.
    const std::string random =
        "\x83\x89\x83\x93\x83\x5f\x83\x80\x82\xc9\x89\x89\x91\x74\x82\xb7\x82\xe9";
    Put(kSettings, "MidiFile", REG_SZ, (random + '\0').data(), DWORD(random.size() + 1));
    EXPECT_EQ(ReadMidiFileSetting(buffer), 1);
    EXPECT_STREQ(buffer, L"ランダムに演奏する");
    for (const std::string& tooLong : {std::string(100, 'b') + '\0', std::string(100, 'c')}) {
        Put(kSettings, "MidiFile", REG_SZ, tooLong.data(), DWORD(tooLong.size()));
        std::wmemset(buffer, L'x', kMidiFileBufferSize);
        EXPECT_EQ(ReadMidiFileSetting(buffer), 0);
        EXPECT_EQ(buffer[0], L'x');
    }
}

TEST_F(Store, PasswordFlagIsWindowsDesktopValue) {
    EXPECT_EQ(ReadUsePasswordFlag(), 0) << "no desktop key";
    const struct {
        DWORD type;
        std::string bytes;
        int flag;
    } rows[] = {
        // clang-format off
        {REG_DWORD, std::string("\1\0\0\0", 4), 1}, {REG_DWORD, std::string(4, '\0'), 0},
        {REG_SZ, std::string("1\0", 2), 1}, {REG_SZ, std::string("0\0", 2), 0},
        {REG_BINARY, std::string("\1\0\0\0\0\0\0\0", 8), 0}, {REG_BINARY, std::string(1, '\0'), 0},
        // clang-format on
    };
    for (const auto& r : rows) {
        Put("Control Panel\\desktop", "ScreenSaveUsePassword", r.type, r.bytes.data(),
            DWORD(r.bytes.size()));
        EXPECT_EQ(ReadUsePasswordFlag(), r.flag) << r.type << " " << r.bytes.size();
    }
}
