#include "settings/settings_table.h"

const std::array<SettingInfo, kSettingCount> kSettingTable = {{
    {SelfRotation, "SelfRotation", 40},
    {Moving, "Moving", 300},
    {Process, "Process", 500},
    {FPS, "FPS", 0},
    {BigBang, "BigBang", 1},
    {BlackHall, "BlackHall", 1},
    {Gyakuten, "Gyakuten", 1},
    {Hanekaeri, "Hanekaeri", 1},
    {Kasoku, "Kasoku", 0},
    {HideCheck, "HideCheck", 0},
    {NiftyManagerCheck, "NiftyManagerCheck", 0},
    {Guippy2Check, "Guippy2Check", 0},
    {InternetExpCheck, "InternetExpCheck", 0},
    {NetScapeCheck, "NetScapeCheck", 0},
    {ASCIInetCrewCheck, "ASCIInetCrewCheck", 0},
    {PCVANNavCheck, "PCVANNavCheck", 0},
    {CIMCheck, "CIMCheck", 0},
    {data1, "data1", 0},
    {data2, "data2", 0},
    {NonStop, "NonStop", 1},
    {xScreenSize, "xScreenSize", 640},
    {yScreenSize, "yScreenSize", 480},
    {ColorDepth, "ColorDepth", 8},
    {NifTermCheck, "NifTermCheck", 0},
    {BackgroundColor, "BackgroundColor", 0},
    {LoopMusic, "LoopMusic", 1},
    {BlackBack, "BlackBack", 1},
    {UseDirectMusic, "UseDirectMusic", 1},
}};

const char* SettingName(int index) {
    return IsSettingIndex(index) ? kSettingTable[index].name : nullptr;
}

int32_t SettingDefault(int index) {
    return IsSettingIndex(index) ? kSettingTable[index].defaultValue : 0;
}

Settings::Settings() {
    for (const SettingInfo& info : kSettingTable) value[info.index] = info.defaultValue;
}

Settings g_Settings;
