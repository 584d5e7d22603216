// Programs during which the saver refuses to start (each behind a setting).
#pragma once

#include <functional>

#include "settings/settings_table.h"

enum class ProbeKind { WindowClass, TitlePrefix };

struct RestrictionProbe {
    ProbeKind kind;
    const char* text;
};

struct StartupRestriction {
    SettingIndex setting;
    RestrictionProbe probes[2];
    int probeCount;
};

constexpr int kStartupRestrictionCount = 9;
extern const StartupRestriction kStartupRestrictions[kStartupRestrictionCount];

// Tries the restrictions whose setting is on, in order, each probe in turn;
// returns the index of the first that finds its program, or -1. Nothing is
// probed for a restriction that is off.
int FindStartupRestriction(const Settings& settings,
                           const std::function<bool(const char*)>& classExists,
                           const std::function<bool(const char*)>& titlePrefixExists);
