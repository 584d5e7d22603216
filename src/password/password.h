// Windows' own screen-saver password: verification before the saver closes
// and the password change of the "/a" run. The system libraries are loaded
// at each use, from the system folder only: a file of the same name in the
// program's folder, the current folder or on the PATH is never run.
#pragma once

#include <windows.h>

// Nonzero when the saver may close: the password was right, or Windows has
// no password library. Lends the palette to the dialog and shows the cursor
// while it is up.
int VerifySaverPassword(HWND window);

// Windows' password-change dialog for screen savers, owned by `parent`.
void ChangeSaverPassword(HWND parent);
