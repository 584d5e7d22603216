#include <windows.h>

#include <string>

#include "platform/system_library.h"
#include "shell/shell.h"

// The switches are ASCII; the tail is handed on as UTF-8.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int showCommand) {
    RestrictLibrarySearchToSystem();
    const wchar_t* tail = commandLine != nullptr ? commandLine : L"";
    while (*tail == L' ' || *tail == L'\t') ++tail;
    std::string utf8(static_cast<std::size_t>(
                         WideCharToMultiByte(CP_UTF8, 0, tail, -1, nullptr, 0, nullptr, nullptr)),
                     '\0');
    if (!utf8.empty())
        WideCharToMultiByte(CP_UTF8, 0, tail, -1, &utf8[0], static_cast<int>(utf8.size()), nullptr,
                            nullptr);
    return RunTessary(instance, utf8.c_str(), showCommand);
}
