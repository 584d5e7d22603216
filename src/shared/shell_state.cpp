#include "shared/shell_state.h"

ShellState g_Shell;
