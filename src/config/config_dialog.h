// The settings dialog (template 105), run modally over the configuration
// window. Ends with 1 when the user asked for the home page, else 0.
#pragma once

#include <windows.h>

// Dialog template and the private message used inside the dialog.
constexpr int kConfigDialogTemplate = 105;

INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The maker's home page, opened by the Internet choice.
extern const wchar_t kHomePageAddress[];
