// What the command line asks for. Only the first two characters count.
#pragma once

#include <cstdint>

enum class RunMode { Preview, Configuration, PasswordChange, Saver };

struct CommandLine {
    RunMode mode = RunMode::Configuration;
    uintptr_t parentWindow = 0;  // "/a": the window number, 0 when none
};

// `tail` is the text after the program's name, leading blanks skipped
// (nullptr counts as empty).
CommandLine ParseCommandLine(const char* tail);
