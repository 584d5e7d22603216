#include "shell/startup_restrictions.h"

namespace {
constexpr ProbeKind kClass = ProbeKind::WindowClass;
constexpr ProbeKind kTitle = ProbeKind::TitlePrefix;
}  // namespace

const StartupRestriction kStartupRestrictions[kStartupRestrictionCount] = {
    {HideCheck, {{kClass, "HideTermFrameClass"}, {kClass, nullptr}}, 1},
    {NiftyManagerCheck, {{kTitle, "NIFTY Manager"}, {kClass, nullptr}}, 1},
    {Guippy2Check, {{kClass, "GP2WIN"}, {kTitle, "Guippy"}}, 2},
    {InternetExpCheck, {{kClass, "Internet Explorer_Frame"}, {kClass, "IEFrame"}}, 2},
    {NetScapeCheck, {{kTitle, "Netscape's Hidden Frame"}, {kTitle, "Netscape"}}, 2},
    {ASCIInetCrewCheck, {{kTitle, "ASCIInet"}, {kClass, nullptr}}, 1},
    {PCVANNavCheck, {{kTitle, "PCｰVANナビゲータ"}, {kClass, nullptr}}, 1},
    {CIMCheck, {{kClass, "cim:main"}, {kClass, nullptr}}, 1},
    {NifTermCheck, {{kClass, "NiftermHelperClass"}, {kClass, nullptr}}, 1},
};

int FindStartupRestriction(const Settings& settings,
                           const std::function<bool(const char*)>& classExists,
                           const std::function<bool(const char*)>& titlePrefixExists) {
    for (int i = 0; i < kStartupRestrictionCount; ++i) {
        const StartupRestriction& r = kStartupRestrictions[i];
        if (settings[r.setting] == 0) continue;
        for (int p = 0; p < r.probeCount; ++p) {
            const RestrictionProbe& probe = r.probes[p];
            bool hit = probe.kind == ProbeKind::WindowClass ? classExists(probe.text)
                                                            : titlePrefixExists(probe.text);
            if (hit) return i;
        }
    }
    return -1;
}
