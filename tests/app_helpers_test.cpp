// The application helpers of tavrin_app.h: start-up looks at every file
// before anything starts, and the event loop hands clicks to the program's
// handler, repeats a held window operator and ends on a quit event.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/harness.h"
#include "support/input.h"
#include "support/shapes.h"
#include "tavrin_app.h"

using namespace tavtest;

namespace {

constexpr uint32_t window = 8, button = 9;
constexpr int screen_w = 320, screen_h = 240;

// A window with one button; with a title, the window has a text record and
// the layout needs its .taw file.
void write_layout(const std::string &tav, const std::string &taw, bool titled)
{
    RawLayout layout;
    add_shape(layout, TAV_KIND_WINDOW, 40, 50, 200, 100);
    add_shape(layout, TAV_KIND_LABEL, 60, 80, 50, 20);
    attach(layout, window, button);
    if (titled) {
        layout.at(window).set(off::text_record, 1);
        layout.texts.emplace_back(window, "Title");
    }
    ASSERT_TRUE(layout.write(tav, taw));
}

struct Clicks {
    std::vector<uint32_t> objects;
    uint32_t ending = 0;  // the click that ends the loop
};

int record_click(tav_context *, uint32_t object, void *data)
{
    Clicks *clicks = static_cast<Clicks *>(data);
    clicks->objects.push_back(object);
    return object != clicks->ending;
}

tav_context *start(const std::string &tav, const std::string &taw, const char *font = "DroidSans.ttf")
{
    return tav_app_start("Test", screen_w, screen_h, tav.c_str(), taw.c_str(), font, 12);
}

// Start-up that has to refuse, in a child process: the message on standard
// error matches `pattern` and start-up returns, so that the program ends
// with a status of its own (3 here), not with one the toolkit chose.
void expect_refused(const std::string &tav, const std::string &taw, const char *font, const char *pattern)
{
    EXPECT_EXIT(std::exit(start(tav, taw, font) ? 4 : 3), testing::ExitedWithCode(3), pattern)
        << tav << " " << taw << " " << font;
}

}  // namespace

TEST(AppHelpers, StartNamesWhatIsMissing)
{
    std::string tav = temp_name(".tav"), taw = temp_name(".taw");
    // Without text records the .taw file is not needed.
    write_layout(tav, taw, false);
    tav_context *ctx = start(tav, "no-such.taw");
    EXPECT_NE(ctx, nullptr);
    tav_app_close(ctx);
    // With them it is, and each missing file is named.
    write_layout(tav, taw, true);
    expect_refused(tav, "no-such.taw", "DroidSans.ttf", "\"no-such\\.taw\": No such file");
    expect_refused("no-such.tav", taw, "DroidSans.ttf", "\"no-such\\.tav\": No such file");
    expect_refused(tav, taw, "no-such.ttf", "\"no-such\\.ttf\": No such file");
    // A file that is no layout, and one that is no font.
    ASSERT_TRUE(write_file(taw + ".short", std::vector<uint8_t>(3 * TAV_OBJECT_RECORD_SIZE, 0)));
    expect_refused(taw + ".short", taw, "DroidSans.ttf", "7 window operators");
    expect_refused(tav, taw, taw.c_str(), "cannot open the font");
    for (const std::string &f : {tav, taw, taw + ".short"}) std::remove(f.c_str());
}

TEST(AppHelpers, LoopClicksHeldOperatorsAndQuit)
{
    std::string tav = temp_name(".tav"), taw = temp_name(".taw");
    write_layout(tav, taw, true);
    tav_context *ctx = start(tav, taw);
    ASSERT_NE(ctx, nullptr);
    ASSERT_TRUE(tav_app_show(ctx, window));
    EXPECT_EQ(ctx->active_window, window);
    EXPECT_FALSE(tav_app_show(ctx, button));  // not a window

    // A click on the button reaches the handler, which ends the loop.
    Clicks clicks;
    clicks.ending = button;
    Point b = centre(ctx->objects[button]);
    push_left_press(b.x, b.y);
    push_left_release(b.x, b.y);
    EXPECT_EQ(tav_app_run(ctx, record_click, &clicks), button);
    EXPECT_EQ(clicks.objects, std::vector<uint32_t>{button});

    // Holding the grow-height operator grows the window once per tick
    // until the release, which the handler gets too.
    clicks = Clicks{};
    clicks.ending = 3;
    uint32_t h = uint32_t(ctx->objects[window].h);
    Point op = centre(ctx->objects[3]);
    push_left_press(op.x, op.y);
    // The bound follows the time the hold really took: on a loaded machine
    // the release may come later than asked.
    Uint32 held_since = SDL_GetTicks();
    {
        LaterClick release(300, op.x, op.y);
        EXPECT_EQ(tav_app_run(ctx, record_click, &clicks), 3u);
    }
    Uint32 held_ms = SDL_GetTicks() - held_since;
    EXPECT_EQ(clicks.objects, std::vector<uint32_t>{3});
    EXPECT_GE(uint32_t(ctx->objects[window].h), h + 4 * 5);
    EXPECT_LE(uint32_t(ctx->objects[window].h), h + 4 * (held_ms / TAV_APP_TICK_MS + 2));

    // Closing the SDL window ends the loop without a click.
    clicks = Clicks{};
    SDL_Event quit;
    SDL_zero(quit);
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    EXPECT_EQ(tav_app_run(ctx, record_click, &clicks), 0u);
    EXPECT_TRUE(clicks.objects.empty());
    tav_app_close(ctx);
    for (const std::string &f : {tav, taw}) std::remove(f.c_str());
}
