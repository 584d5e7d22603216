// Helper of the web page's end-to-end test: plays the show as the page does
// for a query that holds frames=N and prints the FNV-1a hash (32 bits, hex)
// of the held frame's RGBA bytes, which the test compares with the canvas.
//   page_frame_hash 'date=2026-12-07&seed=7&frames=300'
#include <cstdio>
#include <memory>
#include <string>

#include "show/embedded_sheet.h"
#include "web/page_show.h"

int main(int argc, char** argv) {
    PageOptions options;
    std::string error;
    if (argc != 2 || !ParsePageQuery(argv[1], options, error) || options.heldFrames < 0) {
        std::fprintf(stderr, "page_frame_hash: %s\n",
                     error.empty() ? "want a query with frames=N" : error.c_str());
        return 2;
    }
    auto page = std::make_unique<PageShow>();
    if (!StartPage(*page, options, EmbeddedSheetData(), EmbeddedSheetSize(), 0)) return 1;
    uint32_t hash = 2166136261u;
    for (uint32_t pixel : page->pixels) {
        for (int byte = 0; byte < 4; ++byte) hash = (hash ^ (pixel >> 8 * byte & 0xFF)) * 16777619u;
    }
    std::printf("%08x\n", hash);
    return 0;
}
