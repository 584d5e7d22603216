#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "show/embedded_sheet.h"
#include "web/page_show.h"

namespace {

// {query, setting, value, message}: without a message the query must parse
// and set the setting to the value; with one it must fail with a text that
// holds it and leave the defaults.
struct QueryRow {
    const char* query;
    int setting;
    int32_t value;
    const char* message = nullptr;
};
// The messages for process=abc and moving=99999 are proven on the page
// itself (tests/web/e2e.js).
const QueryRow kQueries[] = {
    {"?process=200&big-bang=0&non-stop=0&bounce=1&fps=1&background=%23102040", Process, 200},
    {"process=200&big-bang=0&non-stop=0", BigBang, 0},
    {"non-stop=0&&bounce=1", NonStop, 0},
    {"background=%23102040", BackgroundColor, 0x402010},
    {"fps=2", 0, 0, "fps takes 1 or 0, not '2'"},
    {"bounce=-no-bounce", 0, 0, "bounce takes 1 or 0"},
    {"background=102040", 0, 0, "background needs a colour as #RRGGBB"},
    {"root=1", 0, 0, "root is an option of tessary-x11 only"},
    {"delay=0", 0, 0, "delay is an option of tessary-x11 only"},
    {"bogus=1", 0, 0, "unknown option bogus"},
    {"process=%2", 0, 0, "broken %-escape"},
    {"date=2026-02-29", 0, 0, "date must be a day from 1996-01-01 to 2095-12-31"},
    {"seed=4294967296", 0, 0, "seed must be a whole number between 0 and 4294967295"},
    {"frames=-1", 0, 0, "frames must be"},
};

TEST(PageOptions, QueryRowsParseOrNameTheOptionAndItsRange) {
    for (const QueryRow& row : kQueries) {
        SCOPED_TRACE(row.query);
        PageOptions out;
        out.hack.settings.Set(Process, 999);
        std::string error;
        const bool ok = ParsePageQuery(row.query, out, error);
        EXPECT_EQ(ok, row.message == nullptr) << error;
        if (ok) {
            EXPECT_EQ(out.hack.settings[row.setting], row.value);
        } else {
            EXPECT_NE(error.find(row.message), std::string::npos) << error;
            EXPECT_EQ(out.hack.settings[Process], 500);  // the defaults
        }
    }
    PageOptions out;
    std::string error;
    ASSERT_TRUE(ParsePageQuery("date=2024-02-29&seed=4294967295&frames=3", out, error));
    EXPECT_TRUE(out.fixedDate && out.fixedSeed);
    EXPECT_EQ(out.date.year * 10000 + out.date.month * 100 + out.date.day, 20240229);
    EXPECT_EQ(out.seed, 4294967295u);
    EXPECT_EQ(out.heldFrames, 3);
}

std::unique_ptr<PageShow> Start(const char* query, uint32_t clock = 0) {
    PageOptions options;
    std::string error;
    EXPECT_TRUE(ParsePageQuery(query, options, error)) << error;
    auto page = std::make_unique<PageShow>();
    EXPECT_TRUE(StartPage(*page, options, EmbeddedSheetData(), EmbeddedSheetSize(), clock));
    return page;
}

size_t LitPixels(const PageShow& page) {
    return static_cast<size_t>(std::count_if(page.pixels.begin(), page.pixels.end(),
                                             [](uint32_t p) { return (p & 0xFFFFFF) != 0; }));
}

TEST(PageShow, TheTickFollowsTheFramesAndSkipsTheTimeHidden) {
    auto page = Start("process=200", 5000);
    AdvancePage(*page, 100);  // the first frame counts nothing
    EXPECT_EQ(page->tick, 5000u);
    AdvancePage(*page, 116.5);
    AdvancePage(*page, 133);
    EXPECT_EQ(page->tick, 5033u);
    PausePage(*page);
    AdvancePage(*page, 60000);  // a minute hidden
    EXPECT_EQ(page->tick, 5033u);
    AdvancePage(*page, 60020);
    EXPECT_EQ(page->tick, 5053u);
    EXPECT_EQ(page->frame.pixels[0], 0xFF000000u);  // opaque black
}

// With the black hole (tests/web/e2e.js) or, here, without it.
TEST(PageShow, InputEmptiesThePageForItsRestThenTheShowBeginsAgain) {
    auto page = Start("process=200&big-bang=0&black-hole=0", 1);
    AdvancePageBy(*page, 1000);
    ASSERT_GT(LitPixels(*page), 0u);
    PageInput(*page);
    AdvancePageBy(*page, kPageRestMs - 1);
    EXPECT_EQ(LitPixels(*page), 0u);
    AdvancePageBy(*page, 200);
    EXPECT_GT(LitPixels(*page), 0u);
}

TEST(PageShow, HeldFramesFollowTheDateAndStay) {
    // At 7.5 s of steps of 200 ms the page stands.
    auto december = Start("date=2026-12-07&seed=7&frames=450&process=200&big-bang=0");
    auto january = Start("date=2027-01-07&seed=7&frames=450&process=200&big-bang=0");
    EXPECT_NE(december->pixels, january->pixels);
    const std::vector<uint32_t> held = december->pixels;
    AdvancePageBy(*december, 5000);
    PageInput(*december);
    AdvancePageBy(*december, 5000);
    EXPECT_EQ(december->pixels, held);
}

TEST(PageFit, TheFrameFillsTheWindowInWholeDevicePixelsCentred) {
    struct Row {
        double width, height, ratio, left, top, w, h;
    };
    const Row rows[] = {
        {640, 480, 1, 0, 0, 640, 480},
        {800, 1000, 1, 0, 200, 800, 600},
        {1000, 750, 2, 0, 0, 1000, 750},
        {641, 481, 1.5, 0, 0, 640, 480},
    };
    for (const Row& r : rows) {
        const PageFit f = FitPage(r.width, r.height, r.ratio);
        EXPECT_EQ(std::vector<double>({f.left, f.top, f.width, f.height}),
                  std::vector<double>({r.left, r.top, r.w, r.h}))
            << r.width;
    }
}

}  // namespace
