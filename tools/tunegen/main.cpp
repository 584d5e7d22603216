// tunegen: composes the saver's default tune and writes it as a MIDI file.
#include <cstdio>

#include "tune.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tunegen <output.mid>\n");
        return 2;
    }
    const std::vector<std::uint8_t> tune = tunegen::ComposeTune();
    if (tune.empty()) {
        std::fprintf(stderr, "tunegen: the score does not add up\n");
        return 1;
    }
    std::FILE* file = std::fopen(argv[1], "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "tunegen: cannot write %s\n", argv[1]);
        return 1;
    }
    const bool written = std::fwrite(tune.data(), 1, tune.size(), file) == tune.size();
    if (std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "tunegen: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
