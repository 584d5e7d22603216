#include "shell/shell_state.h"

ShellState g_Shell;
