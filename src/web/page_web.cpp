// The web page's show: the functions that the page's script calls (see
// page.js). One show per page, made at start.
#include <emscripten/emscripten.h>

#include <memory>
#include <string>

#include "show/embedded_sheet.h"
#include "web/page_show.h"

namespace {

std::unique_ptr<PageShow> g_Page;
std::string g_Message;
double g_Fit[4];

}  // namespace

extern "C" {

// Starts the show with the options of `query` (the page's location.search)
// and `clockSeed` as its first tick. Returns a message for the page: empty
// when all is well, else why the options were not taken (the show then runs
// with the defaults) or why there is no show (then the frame calls fail).
EMSCRIPTEN_KEEPALIVE const char* tessary_start(const char* query, double clockSeed) {
    PageOptions options;
    g_Message.clear();
    if (!ParsePageQuery(query, options, g_Message))
        g_Message += "; the show runs with the defaults";
    g_Page = std::make_unique<PageShow>();
    const uint32_t seed = static_cast<uint32_t>(static_cast<uint64_t>(clockSeed));
    if (!StartPage(*g_Page, options, EmbeddedSheetData(), EmbeddedSheetSize(), seed)) {
        g_Page.reset();
        g_Message = "the built-in sprite sheet is not a 24-bit BMP";
    }
    return g_Message.c_str();
}

// One frame at requestAnimationFrame's time stamp; returns the frame's RGBA
// bytes (tessary_width x tessary_height), 0 without a show.
EMSCRIPTEN_KEEPALIVE const uint32_t* tessary_frame(double stampMs) {
    if (!g_Page) return nullptr;
    AdvancePage(*g_Page, stampMs);
    return g_Page->pixels.data();
}

EMSCRIPTEN_KEEPALIVE int tessary_width() {
    return kPageWidth;
}

EMSCRIPTEN_KEEPALIVE int tessary_height() {
    return kPageHeight;
}

// 0 without a show, 1 while it runs, 2 when it holds its frame (frames=N).
EMSCRIPTEN_KEEPALIVE int tessary_state() {
    return !g_Page ? 0 : g_Page->held ? 2 : 1;
}

EMSCRIPTEN_KEEPALIVE void tessary_pause() {
    if (g_Page) PausePage(*g_Page);
}

EMSCRIPTEN_KEEPALIVE void tessary_input() {
    if (g_Page) PageInput(*g_Page);
}

// The canvas's place in the window: four doubles, left, top, width and
// height in CSS pixels.
EMSCRIPTEN_KEEPALIVE const double* tessary_fit(double width, double height, double ratio) {
    const PageFit fit = FitPage(width, height, ratio);
    g_Fit[0] = fit.left;
    g_Fit[1] = fit.top;
    g_Fit[2] = fit.width;
    g_Fit[3] = fit.height;
    return g_Fit;
}

}  // extern "C"
