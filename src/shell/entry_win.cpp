#include <windows.h>

#include "platform/system_library.h"
#include "shell/shell.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
    RestrictLibrarySearchToSystem();
    const char* tail = commandLine != nullptr ? commandLine : "";
    while (*tail == ' ' || *tail == '\t') ++tail;
    return RunTessary(instance, tail, showCommand);
}
