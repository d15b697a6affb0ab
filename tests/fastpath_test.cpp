// The fast paths (the text caches and the direct box fills) must not change
// a single pixel. Every scenario here is drawn twice, once on a context
// started with TAVRIN_FAST_PATHS=0 and once with the fast paths on, and the
// two screens are compared pixel for pixel: the editor's and the demo's
// screens with their windows open, and small layouts whose fonts, colours
// and texts change between two drawings, so that a cache that is not
// invalidated shows the old picture.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "../bench/scenes.h"
#include "support/harness.h"
#include "support/shapes.h"

using namespace tavtest;

namespace {

using Pixels = std::vector<uint32_t>;

// Run folders of the programs, beside the tools folder of this build.
const std::string creator_run_dir = std::string(TAVRIN_TOOLS_DIR) + "/../creator/run";
const std::string demo_run_dir = std::string(TAVRIN_TOOLS_DIR) + "/../demo/run";

bool has_file(const std::string &path)
{
    std::FILE *f = std::fopen(path.c_str(), "rb");
    if (f) std::fclose(f);
    return f != nullptr;
}

// Number of pixels in which two screens differ, and the first of them.
::testing::AssertionResult same_pixels(const Pixels &off, const Pixels &on, int width)
{
    if (off.size() != on.size()) return ::testing::AssertionFailure() << "screens of different sizes";
    size_t differ = 0, first = 0;
    for (size_t i = 0; i < off.size(); ++i)
        if (off[i] != on[i] && differ++ == 0) first = i;
    if (differ == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << differ << " pixels differ, the first at (" << first % size_t(width) << ", "
                                         << first / size_t(width) << "): " << std::hex << off[first] << " without, "
                                         << on[first] << " with the fast paths";
}

// A folder of the editor's own, with the files it opens: its file selector
// lists the folder, which other tests may write to meanwhile.
class EditorFolder {
public:
    EditorFolder() : path_(std::filesystem::absolute(temp_name("_editor")))
    {
        std::filesystem::create_directory(path_);
        for (const char *name : {"6495.tav", "6495.taw", "DroidSans.ttf"})
            std::filesystem::copy_file(creator_run_dir + "/" + name, path_ / name);
    }
    ~EditorFolder() { std::filesystem::remove_all(path_); }
    std::string path() const { return path_.string(); }

private:
    std::filesystem::path path_;
};

// The editor's screen after `draw`, with the fast paths on or off.
Pixels editor_screen(const EditorFolder &folder, bool fast, const std::function<void(creator::Editor &)> &draw)
{
    creator::Editor ed;
    Pixels pixels;
    if (scenes::open_editor(ed, folder.path().c_str(), fast)) {
        draw(ed);
        pixels = scenes::screen_pixels(ed.ctx);
    }
    scenes::close_editor(ed);
    return pixels;
}

}  // namespace

TEST(FastPathScreens, EditorWithSelectorAndFormsOpenDrawsTheSamePixels)
{
    if (!has_file(creator_run_dir + "/6495.tav")) GTEST_SKIP() << "the editor's run folder is not built";
    // Laid out and drawn twice: the second drawing finds every line cached.
    auto draw = [](creator::Editor &ed) {
        tav_draw_all_objects(ed.ctx, 1, 0);
        tav_draw_all_objects(ed.ctx, 0, 0);
        tav_draw_selected_window(ed.ctx);
    };
    EditorFolder folder;
    const Pixels off = editor_screen(folder, false, draw), on = editor_screen(folder, true, draw);
    ASSERT_FALSE(off.empty());
    EXPECT_TRUE(same_pixels(off, on, creator::SCREEN_W));

    // The stage shows another working object and a form lies behind the
    // selector: other lines, other colours, other windows on top.
    auto restage = [&draw](creator::Editor &ed) {
        creator::select_working_object(ed, 1, 0);
        ed.ctx->decided_object = creator::SELECTOR_WINDOW;
        tav_activate_window(ed.ctx);
        draw(ed);
    };
    EXPECT_TRUE(
        same_pixels(editor_screen(folder, false, restage), editor_screen(folder, true, restage), creator::SCREEN_W));
}

TEST(FastPathScreens, DemoWithAllWindowsOpenDrawsTheSamePixels)
{
    if (!has_file(demo_run_dir + "/29.tav")) GTEST_SKIP() << "the demo's run folder is not built";
    auto demo_screen = [](bool fast) {
        Pixels pixels;
        tav_context *ctx = scenes::open_demo(demo_run_dir.c_str(), fast);
        if (!ctx) return pixels;
        tav_draw_all_objects(ctx, 1, 0);
        // The chain window in front, scrolled so that its members are cut.
        ctx->decided_object = scenes::DEMO_CHAIN_WINDOW;
        tav_activate_window(ctx);
        tav_update_dep_objs_after_move(ctx, scenes::DEMO_CHAIN_WINDOW, -7, -23);
        tav_draw_all_objects(ctx, 0, 0);
        tav_draw_and_screenup_selected_window(ctx);
        pixels = scenes::screen_pixels(ctx);
        scenes::close_demo(ctx);
        return pixels;
    };
    const Pixels off = demo_screen(false), on = demo_screen(true);
    ASSERT_FALSE(off.empty());
    EXPECT_TRUE(same_pixels(off, on, scenes::DEMO_W));
}

// ---------------------------------------------------------------------------
// Changes between two drawings
// ---------------------------------------------------------------------------

namespace {

constexpr int W = 400, H = 300;

// A window with a record text, a label, an entry field and a text field
// that the window's inner area cuts at the left and the bottom.
struct Small {
    uint32_t window, label, entry, field;
    RawLayout layout;

    Small()
    {
        window = add_shape(layout, TAV_KIND_WINDOW, 20, 30, 360, 250);
        layout.at(window).set(off::text_record, 1).set(off::margin_left, 8).set(off::margin_right, 8)
            .set(off::margin_top, 8).set(off::margin_bottom, 8).set(off::border_style, 4).set(off::fill_r, 250)
            .set(off::fill_g, 250).set(off::fill_b, 240);
        layout.texts.emplace_back(window, "A window text that wraps over several lines of the window, twice: "
                                          "a window text that wraps over several lines of the window.");
        label = add_shape(layout, TAV_KIND_LABEL, 40, 110, 150, 24);
        layout.at(label).str(off::text, "Label").set(off::fill_b, 200).set(off::text_r, 200);
        entry = add_shape(layout, TAV_KIND_ENTRY, 200, 110, 150, 24);
        layout.at(entry).str(off::text, "Entry text").set(off::fill_r, 255).set(off::fill_g, 255)
            .set(off::margin_left, 4).set(off::margin_top, 4);
        field = add_shape(layout, TAV_KIND_TEXT, 10, 200, 300, 120);
        layout.at(field).set(off::text_record, 2).set(off::fill_g, 120).set(off::text_g, 255);
        layout.texts.emplace_back(field, "A text field cut by the window at its left and at its bottom edge, "
                                         "so that its lines are cut as well.");
        for (uint32_t d : {label, entry, field}) attach(layout, window, d);
    }
};

// Draws the small layout, lets `change` act, draws it again; the screen.
Pixels small_screen(bool fast, const std::function<void(tav_context *, const Small &)> &change)
{
    Small small;
    setenv("TAVRIN_FAST_PATHS", fast ? "1" : "0", 1);
    Screen screen(W, H);
    tav_context *ctx = screen.start(small.layout);
    unsetenv("TAVRIN_FAST_PATHS");
    screen.open_font(12);
    ctx->decided_object = small.window;
    tav_activate_window(ctx);
    tav_draw_all_objects(ctx, 1, 0);
    change(ctx, small);
    tav_draw_all_objects(ctx, 1, 0);
    return scenes::screen_pixels(ctx);
}

void expect_same_both_ways(const std::function<void(tav_context *, const Small &)> &change)
{
    const Pixels off = small_screen(false, change), on = small_screen(true, change);
    EXPECT_TRUE(same_pixels(off, on, W));
}

}  // namespace

TEST(FastPathInvalidation, FontReplacedByTheApplication)
{
    // The default font is closed and another opened; the allocator tends to
    // hand the new font the address of the old one.
    expect_same_both_ways([](tav_context *ctx, const Small &) {
        TTF_CloseFont(ctx->font);
        ctx->font = TTF_OpenFont("DroidSans.ttf", 15);
    });
    const char *mono = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
    if (!has_file(mono)) return;
    // Another face at the same size: every metric but the glyphs' may agree.
    expect_same_both_ways([mono](tav_context *ctx, const Small &) {
        TTF_CloseFont(ctx->font);
        ctx->font = TTF_OpenFont(mono, 12);
    });
}

TEST(FastPathInvalidation, FontStyleChangedInPlace)
{
    expect_same_both_ways([](tav_context *ctx, const Small &) { TTF_SetFontStyle(ctx->font, TTF_STYLE_BOLD); });
}

TEST(FastPathInvalidation, ColoursChanged)
{
    expect_same_both_ways([](tav_context *ctx, const Small &s) {
        ctx->objects[s.label].text_r = 10;
        ctx->objects[s.entry].fill_g = 90;
        ctx->objects[s.window].fill_b = 120;
        ctx->objects[s.field].text_b = 255;
    });
}

TEST(FastPathInvalidation, TextsChanged)
{
    expect_same_both_ways([](tav_context *ctx, const Small &s) {
        tav_copy_st_last_part("Other", ctx->objects[s.label].text);
        tav_copy_st_last_part("Entry text 2", ctx->objects[s.entry].text);
        tav_load_window_text(ctx, s.window, "A shorter window text.");
    });
}

TEST(FastPathInvalidation, TextsMovedAndScrolled)
{
    expect_same_both_ways([](tav_context *ctx, const Small &s) {
        ctx->objects[s.field].offset_x = -13;
        ctx->objects[s.field].offset_y = -5;
        ctx->objects[s.window].line_spacing = -3;
        ctx->objects[s.entry].margin_left = -6;  // the text leaves its box
    });
}

// The line cache keeps at most 8 MiB of pixels and 4096 lines. Each line
// drawn is held here by one more reference, so that a line the cache still
// keeps shows two references and a released one only ours.
TEST(FastPathCacheBound, KeptLinesStayWithinTheBounds)
{
    RawLayout layout;
    uint32_t label = add_shape(layout, TAV_KIND_LABEL, 0, 0, 1000, 40);
    Screen screen(1000, 60);
    tav_context *ctx = screen.start(layout);
    screen.open_font(6);
    std::vector<SDL_Surface *> drawn;
    auto draw_lines = [&](int count, int width) {
        for (int i = 0; i < count; ++i) {
            std::string text = std::to_string(i) + std::string(size_t(width), 'x');
            tav_copy_st_last_part(text.substr(0, TAV_SHORT_TEXT_SIZE - 1).c_str(), ctx->objects[label].text);
            tav_evoke_object(ctx, label);
            ASSERT_NE(ctx->text_surface, nullptr);
            ctx->text_surface->refcount++;
            drawn.push_back(ctx->text_surface);
        }
    };
    auto kept = [&](size_t *bytes) {
        size_t lines = 0;
        *bytes = 0;
        for (SDL_Surface *s : drawn)
            if (s->refcount > (s == ctx->text_surface ? 2 : 1)) ++lines, *bytes += size_t(s->h) * size_t(s->pitch);
        return lines;
    };
    size_t bytes = 0;
    draw_lines(5000, 0);  // small lines: the count bound holds them
    EXPECT_EQ(kept(&bytes), 4096u);
    TTF_CloseFont(ctx->font);
    ctx->font = TTF_OpenFont("DroidSans.ttf", 24);
    draw_lines(600, 60);  // wide lines: the byte bound holds them
    EXPECT_LT(kept(&bytes), 4096u);
    EXPECT_LE(bytes, size_t(8) << 20);
    EXPECT_GT(bytes, size_t(7) << 20);
    for (SDL_Surface *s : drawn) SDL_FreeSurface(s);
}
