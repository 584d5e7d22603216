// Libraries from the system folder only. Users may keep the saver in any
// folder, and a ddraw.dll or winmm.dll beside it would otherwise be loaded
// in place of the system's (neither is a library that Windows always takes
// from its own folder). The saver therefore imports neither: it loads them
// on first use, and every library it loads by name, from the system folder.
// The display, the music, the password calls and the entry point all use
// this; it uses nothing of the saver.
#pragma once

#include <windows.h>

#include <ddraw.h>
#include <mmsystem.h>

// At start, before anything else: where kernel32 has SetDefaultDllDirectories
// (Windows 8, or 7 and Vista updated), limits every later search for a
// library named without a path, those the system libraries make for their
// own dependencies included, to the system folder. Older systems keep their
// search order; LoadSystemLibrary still holds there.
void RestrictLibrarySearchToSystem();

// Loads the library `name` from the system folder and from nowhere else;
// null when it is not there.
HMODULE LoadSystemLibrary(const wchar_t* name);

// DirectDrawCreate of the system's ddraw.dll, looked up on the first call;
// DDERR_GENERIC when the library or its export is missing.
HRESULT WINAPI SystemDirectDrawCreate(GUID* driver, LPDIRECTDRAW* directDraw, IUnknown* outer);

// mciSendStringW of the system's winmm.dll, looked up on the first call;
// MCIERR_DEVICE_NOT_INSTALLED when the library or its export is missing.
MCIERROR WINAPI SystemMciSendStringW(LPCWSTR command, LPWSTR result, UINT resultLength,
                                     HWND callback);
