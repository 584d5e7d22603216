#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "registry_fixture.h"

namespace {

const char kSettingsPath[] = "Software\\Quorvane\\Skylumen\\Tessery";
const char kDesktopPath[] = "Control Panel\\desktop";

using SettingsStore = ScratchRegistry;
using MidiFileSetting = ScratchRegistry;
using UsePasswordFlag = ScratchRegistry;

DWORD ValueCount(const char* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return ~0u;
    DWORD values = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return values;
}

std::string KeyClass(const char* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return "?";
    char cls[64] = {};
    DWORD size = sizeof cls;
    RegQueryInfoKeyA(key, cls, &size, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr);
    RegCloseKey(key);
    return cls;
}

TEST_F(SettingsStore, FirstRunGivesDefaultsAndLeavesTheEmptyKeyChain) {
    EXPECT_FALSE(KeyExists("Software"));
    for (int i = 0; i < kSettingCount; ++i) EXPECT_EQ(ReadSetting(i), SettingDefault(i)) << i;
    EXPECT_EQ(ReadSetting(Process), 500);
    EXPECT_EQ(ReadSetting(xScreenSize), 640);
    EXPECT_EQ(ReadSetting(UseDirectMusic), 1);

    ASSERT_TRUE(KeyExists(kSettingsPath));
    EXPECT_EQ(ValueCount(kSettingsPath), 0u) << "reading must never write a default";
    for (const char* level : {"Software\\Quorvane", "Software\\Quorvane\\Skylumen", kSettingsPath})
        EXPECT_EQ(KeyClass(level), "pellam1996") << level;

    char midi[kMidiFileBufferSize];
    std::memset(midi, 'x', sizeof midi);
    EXPECT_EQ(ReadMidiFileSetting(midi), 0);
    EXPECT_EQ(midi[0], 'x');

    HKEY key = OpenSettingsKey();
    ASSERT_NE(key, nullptr);
    RegCloseKey(key);
}

TEST_F(SettingsStore, StoredValuesReadBackAsFourByteDwords) {
    for (int i = 0; i < kSettingCount; ++i) EXPECT_EQ(WriteSetting(i, i * 1000 - 7), 1);
    for (int i = 0; i < kSettingCount; ++i) EXPECT_EQ(ReadSetting(i), i * 1000 - 7) << i;
    EXPECT_EQ(ValueCount(kSettingsPath), static_cast<DWORD>(kSettingCount));

    WriteSetting(BackgroundColor, static_cast<int32_t>(0x80FF8040u));
    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_TRUE(GetRaw(kSettingsPath, "BackgroundColor", &type, &data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(data, (std::vector<BYTE>{0x40, 0x80, 0xFF, 0x80}));
    EXPECT_EQ(ReadSetting(BackgroundColor), static_cast<int32_t>(0x80FF8040u));
}

TEST_F(SettingsStore, MissingOrOversizedValuesGiveTheDefault) {
    WriteSetting(Process, 300);
    EXPECT_EQ(ReadSetting(Process), 300);
    HKEY key = OpenSettingsKey();
    ASSERT_NE(key, nullptr);
    ASSERT_EQ(RegDeleteValueA(key, "Process"), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(ReadSetting(Process), 500);

    const unsigned long long eight = 300;
    PutRaw(kSettingsPath, "Process", REG_QWORD, &eight, sizeof eight);
    EXPECT_EQ(ReadSetting(Process), 500);
    PutRaw(kSettingsPath, "xScreenSize", REG_SZ, "800x600", 8);
    EXPECT_EQ(ReadSetting(xScreenSize), 640);
}

TEST_F(SettingsStore, TypeIsNotExaminedAndShortValuesReadFromZeroedBytes) {
    const BYTE four[4] = {0x20, 0x03, 0, 0};
    PutRaw(kSettingsPath, "xScreenSize", REG_BINARY, four, sizeof four);
    EXPECT_EQ(ReadSetting(xScreenSize), 800);

    const BYTE one = 7;
    PutRaw(kSettingsPath, "FPS", REG_BINARY, &one, 1);
    EXPECT_EQ(ReadSetting(FPS), 7);
    PutRaw(kSettingsPath, "Kasoku", REG_SZ, "A", 2);
    EXPECT_EQ(ReadSetting(Kasoku), 0x41);
    PutRaw(kSettingsPath, "Moving", REG_BINARY, nullptr, 0);
    EXPECT_EQ(ReadSetting(Moving), 0);
}

TEST_F(SettingsStore, IndicesOutsideTheTableTouchNothing) {
    EXPECT_EQ(ReadSetting(kSettingCount), 0);
    EXPECT_EQ(ReadSetting(-1), 0);
    EXPECT_EQ(WriteSetting(kSettingCount, 5), 1);
    EXPECT_FALSE(KeyExists("Software"));
}

TEST_F(SettingsStore, UnopenableKeyChainMeansDefaultsAndLostWrites) {
    // A volatile "Quorvane" refuses the non-volatile levels below it.
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Quorvane", 0, nullptr,
                              REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);

    EXPECT_EQ(OpenSettingsKey(), nullptr);
    EXPECT_EQ(WriteSetting(Process, 300), 1);
    EXPECT_EQ(ReadSetting(Process), 500);
    EXPECT_EQ(WriteMidiFileSetting("tune"), 0);
    char midi[kMidiFileBufferSize] = "kept";
    EXPECT_EQ(ReadMidiFileSetting(midi), 0);
    EXPECT_STREQ(midi, "kept");
    EXPECT_FALSE(KeyExists("Software\\Quorvane\\Skylumen"));
}

// A buffer with guard bytes on both sides of the 100 bytes a caller lends.
struct GuardedBuffer {
    char bytes[kMidiFileBufferSize + 32];
    GuardedBuffer() { std::memset(bytes, 'g', sizeof bytes); }
    char* data() { return bytes + 16; }
    bool GuardsIntact() const {
        for (int i = 0; i < 16; ++i)
            if (bytes[i] != 'g' || bytes[sizeof bytes - 1 - i] != 'g') return false;
        return true;
    }
};

TEST_F(MidiFileSetting, TextsUpToNinetyNineCharactersRoundTrip) {
    const std::string longest(99, 'm');
    for (const std::string& text : {std::string("ｼﾞｬｽﾞﾛﾏﾝﾃｨｯｸ"), std::string(), longest}) {
        EXPECT_EQ(WriteMidiFileSetting(text.c_str()), 1);
        GuardedBuffer buffer;
        EXPECT_EQ(ReadMidiFileSetting(buffer.data()), 1);
        EXPECT_EQ(std::string(buffer.data()), text);
        EXPECT_TRUE(buffer.GuardsIntact());
    }
    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_TRUE(GetRaw(kSettingsPath, "MidiFile", &type, &data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(data.size(), 100u);
    EXPECT_EQ(data.back(), 0);
}

TEST_F(MidiFileSetting, HundredCharactersOrMoreCountAsAbsent) {
    for (size_t length : {100u, 101u, 250u}) {
        const std::string text(length, 'n');
        EXPECT_EQ(WriteMidiFileSetting(text.c_str()), 1);
        GuardedBuffer buffer;
        EXPECT_EQ(ReadMidiFileSetting(buffer.data()), 0) << length;
        EXPECT_TRUE(buffer.GuardsIntact());
        EXPECT_EQ(buffer.data()[0], 'g') << "buffer must be left unchanged";
    }
}

TEST_F(MidiFileSetting, UnterminatedValuesNeverLeaveAnUnterminatedString) {
    // Exactly 100 bytes and no terminating zero: refused, buffer unchanged.
    const std::string full(100, 'u');
    PutRaw(kSettingsPath, "MidiFile", REG_BINARY, full.data(), 100);
    GuardedBuffer buffer;
    EXPECT_EQ(ReadMidiFileSetting(buffer.data()), 0);
    EXPECT_EQ(buffer.data()[0], 'g');
    EXPECT_TRUE(buffer.GuardsIntact());

    // Shorter and unterminated: the zero-filled buffer terminates it.
    PutRaw(kSettingsPath, "MidiFile", REG_BINARY, "short", 5);
    GuardedBuffer second;
    EXPECT_EQ(ReadMidiFileSetting(second.data()), 1);
    EXPECT_STREQ(second.data(), "short");
    EXPECT_TRUE(second.GuardsIntact());
}

TEST_F(UsePasswordFlag, ReadsTheDesktopValue) {
    EXPECT_EQ(ReadUsePasswordFlag(), 0) << "desktop key missing";
    EXPECT_FALSE(KeyExists(kDesktopPath)) << "the desktop key is never created";

    PutRaw(kDesktopPath, "Other", REG_DWORD, "\0\0\0\0", 4);
    EXPECT_EQ(ReadUsePasswordFlag(), 0) << "value missing";

    const DWORD zero = 0, seven = 7;
    PutRaw(kDesktopPath, "ScreenSaveUsePassword", REG_DWORD, &zero, 4);
    EXPECT_EQ(ReadUsePasswordFlag(), 0);
    PutRaw(kDesktopPath, "ScreenSaveUsePassword", REG_DWORD, &seven, 4);
    EXPECT_EQ(ReadUsePasswordFlag(), 1);

    const unsigned long long wide = 1;
    PutRaw(kDesktopPath, "ScreenSaveUsePassword", REG_QWORD, &wide, 8);
    EXPECT_EQ(ReadUsePasswordFlag(), 0) << "longer than 4 bytes";

    const BYTE one = 1;
    PutRaw(kDesktopPath, "ScreenSaveUsePassword", REG_BINARY, &one, 1);
    EXPECT_EQ(ReadUsePasswordFlag(), 1);

    // NT-based Windows keeps the flag as text.
    PutRaw(kDesktopPath, "ScreenSaveUsePassword", REG_SZ, "0", 2);
    EXPECT_EQ(ReadUsePasswordFlag(), 0);
    PutRaw(kDesktopPath, "ScreenSaveUsePassword", REG_SZ, "1", 2);
    EXPECT_EQ(ReadUsePasswordFlag(), 1);
}

}  // namespace
