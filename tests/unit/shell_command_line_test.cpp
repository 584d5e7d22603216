#include <gtest/gtest.h>

#include <string>

#include "shell/command_line.h"
#include "shell/startup_restrictions.h"

namespace {

RunMode Mode(const char* tail) {
    return ParseCommandLine(tail).mode;
}

TEST(CommandLine, FirstTwoCharactersPickTheRun) {
    EXPECT_EQ(Mode("/s"), RunMode::Saver);
    EXPECT_EQ(Mode("/S"), RunMode::Saver);
    EXPECT_EQ(Mode("/sx"), RunMode::Saver);
    EXPECT_EQ(Mode("/p 1234"), RunMode::Preview);
    EXPECT_EQ(Mode("/P"), RunMode::Preview);
    EXPECT_EQ(Mode("/c:4567"), RunMode::Configuration);
    EXPECT_EQ(Mode("/a"), RunMode::PasswordChange);
    for (const char* other : {"", "-s", "/x", "/", "s", " /s", "\xff\xfe"})
        EXPECT_EQ(Mode(other), RunMode::Configuration) << other;
    EXPECT_EQ(Mode(nullptr), RunMode::Configuration);
}

TEST(CommandLine, PasswordChangeTakesTheWindowNumberFromTheFourthCharacter) {
    EXPECT_EQ(ParseCommandLine("/a 1234").parentWindow, 1234u);
    EXPECT_EQ(ParseCommandLine("/a   77x9").parentWindow, 77u);
    EXPECT_EQ(ParseCommandLine("/a:42").parentWindow, 42u);
    EXPECT_EQ(ParseCommandLine("/a").parentWindow, 0u);
    EXPECT_EQ(ParseCommandLine("/a ").parentWindow, 0u);
    EXPECT_EQ(ParseCommandLine("/a x12").parentWindow, 0u);
    // A number beyond any handle is no window rather than a wrapped one.
    EXPECT_EQ(ParseCommandLine("/a 99999999999999999999999999999").parentWindow, 0u);
    const std::string huge = "/a " + std::string(100000, '9');
    EXPECT_EQ(ParseCommandLine(huge.c_str()).parentWindow, 0u);
    EXPECT_EQ(ParseCommandLine("/p 55").parentWindow, 0u);
}

struct Probes {
    std::vector<std::string> asked;
    std::string presentClass, presentTitle;
    int Run(const Settings& s) {
        return FindStartupRestriction(
            s,
            [this](const char* c) {
                asked.push_back(std::string("class:") + c);
                return presentClass == c;
            },
            [this](const char* t) {
                asked.push_back(std::string("title:") + t);
                return presentTitle.compare(0, std::string(t).size(), t) == 0;
            });
    }
};

TEST(StartupRestrictions, NothingIsProbedWhenEveryCheckIsOff) {
    Probes p;
    p.presentClass = "IEFrame";
    EXPECT_EQ(p.Run(Settings()), -1);
    EXPECT_TRUE(p.asked.empty());
}

TEST(StartupRestrictions, ChecksRunInOrderAndEitherProbeHits) {
    Settings s;
    for (int i = 0; i < kStartupRestrictionCount; ++i) s.Set(kStartupRestrictions[i].setting, 1);
    Probes none;
    EXPECT_EQ(none.Run(s), -1);
    EXPECT_EQ(none.asked,
              (std::vector<std::string>{
                  "class:HideTermFrameClass", "title:NIFTY Manager", "class:GP2WIN", "title:Guippy",
                  "class:Internet Explorer_Frame", "class:IEFrame", "title:Netscape's Hidden Frame",
                  "title:Netscape", "title:ASCIInet", "title:PCｰVANナビゲータ", "class:cim:main",
                  "class:NiftermHelperClass"}));

    Probes netscape;
    netscape.presentTitle = "Netscape Navigator";
    EXPECT_EQ(netscape.Run(s), 4);
    EXPECT_EQ(netscape.asked.back(), "title:Netscape");

    Settings onlyNetscape;
    onlyNetscape.Set(NetScapeCheck, 1);
    Probes again;
    again.presentTitle = "Netscape Navigator";
    EXPECT_EQ(again.Run(onlyNetscape), 4);
    EXPECT_EQ(again.asked.size(), 2u);
    onlyNetscape.Set(NetScapeCheck, 0);
    EXPECT_EQ(again.Run(onlyNetscape), -1);
}

TEST(StartupRestrictions, PcVanPrefixIsSixteenShiftJisBytes) {
    EXPECT_EQ(std::string(kStartupRestrictions[6].probes[0].text).size(), 16u);
}

}  // namespace
