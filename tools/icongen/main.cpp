// icongen: writes the program icon, a calendar page, as a .ico file.
#include <cstdio>

#include "icon.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: icongen <output.ico>\n");
        return 2;
    }
    if (!icongen::WriteIcon(argv[1])) {
        std::fprintf(stderr, "icongen: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
