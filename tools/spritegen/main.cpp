// spritegen: draws the digit sprite sheet FULLCOLOR and writes it as a 24-bit BMP file.
#include <cstdio>

#include "sheet.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: spritegen <output.bmp>\n");
        return 2;
    }
    if (!spritegen::WriteSheet(argv[1])) {
        std::fprintf(stderr, "spritegen: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
