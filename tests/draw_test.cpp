// Pixels, lines and rectangles on real surfaces, and the screen update.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <utility>

#include "support/harness.h"

using namespace tavtest;

namespace {

using Points = std::set<std::pair<int, int>>;

// The pixels of the screen's top-left 40 x 40 corner that are not black.
Points drawn(const Screen &screen)
{
    Points p;
    for (int y = 0; y < 40 && y < screen.ctx->screen->h; ++y)
        for (int x = 0; x < 40 && x < screen.ctx->screen->w; ++x)
            if (screen.pixel(x, y) != 0) p.insert({x, y});
    return p;
}

Points line(Screen &screen, uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2)
{
    SDL_FillRect(screen.ctx->screen, nullptr, 0);
    tav_draw_line(screen.ctx, x1, y1, x2, y2, 255, 255, 255);
    return drawn(screen);
}

Points row(int y, int from, int to)
{
    Points p;
    for (int x = from; x <= to; ++x) p.insert({x, y});
    return p;
}

uint32_t read_pixel(const SDL_Surface *s, int x, int y)
{
    uint32_t v = 0;
    std::memcpy(&v, static_cast<const uint8_t *>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel,
                s->format->BytesPerPixel);
    return v;
}

// Object 8 of the layout is an application bitmap object of 20 x 10.
tav_context *start_with_bitmap_object(Screen &screen)
{
    RawLayout layout;
    layout.add(TAV_KIND_BITMAP).set(off::w, 20).set(off::h, 10);
    return screen.start(layout);
}

}  // namespace

TEST(DrawLine, StraightAndSlantedLinesPlotExactlyTheirPixels)
{
    Screen screen;
    EXPECT_EQ(line(screen, 10, 5, 3, 5), row(5, 3, 10));
    EXPECT_EQ(line(screen, 4, 7, 0, 7), row(7, 0, 4));
    EXPECT_EQ(line(screen, 6, 6, 6, 6), Points{});
    EXPECT_EQ(line(screen, 0, 0, 2, 5), (Points{{0, 0}, {1, 1}, {1, 2}, {2, 3}, {2, 4}, {2, 5}}));
    // Walked backwards the extra pixel falls at the far end.
    EXPECT_EQ(line(screen, 2, 5, 0, 0), (Points{{2, 5}, {1, 4}, {1, 3}, {0, 2}, {0, 1}, {0, 0}}));
    EXPECT_EQ(line(screen, 0, 0, 5, 2), (Points{{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}, {5, 2}}));
    EXPECT_EQ(line(screen, 0, 0, 2, 6), (Points{{0, 0}, {1, 1}, {1, 2}, {1, 3}, {2, 4}, {2, 5}, {2, 6}}));
    EXPECT_EQ(line(screen, 3, 0, 0, 3), (Points{{3, 0}, {2, 1}, {1, 2}, {0, 3}}));
}

TEST(DrawLine, EndIsClampedAndNothingIsWrittenOutsideTheScreen)
{
    Screen screen(32, 24);
    tav_context *ctx = screen.ctx;
    tav_draw_line(ctx, 28, 3, 500, 3, 255, 255, 255);
    // A start left of the screen keeps its visible part; one right of it
    // or a lone pixel past the edge must not wrap into the next row.
    tav_draw_line(ctx, uint32_t(-5), 8, 2, 8, 255, 255, 255);
    tav_draw_line(ctx, 40, 10, 31, 10, 255, 255, 255);
    tav_draw_pixel(ctx, 32, 11, 255, 255, 255);
    tav_draw_pixel(ctx, 0, 24, 255, 255, 255);
    Points expected = row(3, 28, 31);
    for (const auto &p : row(8, 0, 2)) expected.insert(p);
    expected.insert({31, 10});
    EXPECT_EQ(drawn(screen), expected);
}

TEST(DrawRectangle, SizesOneAndTwoAndALargerOutline)
{
    Screen screen;
    EXPECT_EQ(tav_lock(screen.ctx->screen), 0);
    tav_draw_rectangle(screen.ctx, 5, 5, 1, 1, 255, 255, 255);
    EXPECT_EQ(drawn(screen), Points{});
    tav_draw_rectangle(screen.ctx, 5, 5, 2, 2, 255, 255, 255);
    EXPECT_EQ(drawn(screen), (Points{{5, 5}, {6, 5}, {5, 6}, {6, 6}}));
    SDL_FillRect(screen.ctx->screen, nullptr, 0);
    tav_draw_rectangle(screen.ctx, 10, 20, 4, 3, 255, 255, 255);
    Points expected = row(20, 10, 13);
    for (const auto &p : row(22, 10, 13)) expected.insert(p);
    expected.insert({10, 21}), expected.insert({13, 21});
    EXPECT_EQ(drawn(screen), expected);
}

TEST(DrawBitmap, ClampedToTheObjectAndNeverPastTheBitmap)
{
    Screen screen;
    tav_context *ctx = start_with_bitmap_object(screen);
    SDL_Surface *bm = SDL_CreateRGBSurface(0, 20, 6, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000);
    ctx->objects[8].image = bm;  // six rows only, the object says ten
    const uint32_t white = SDL_MapRGB(bm->format, 255, 255, 255);
    tav_draw_line_bm(ctx, 8, 100, 3, 15, 3, 255, 255, 255);  // start clamped to column 19
    for (int x = 0; x < 20; ++x) EXPECT_EQ(read_pixel(bm, x, 3), x >= 15 ? white : 0) << x;
    tav_draw_line_bm(ctx, 8, 0, 50, 0, 3, 255, 255, 255);  // from row 9 up: rows 6 to 9 skipped
    for (int y = 0; y < 6; ++y) EXPECT_EQ(read_pixel(bm, 0, y), y >= 3 ? white : 0) << y;
    tav_draw_pixel_bm(ctx, 8, 20, 0, 255, 255, 255);  // would land on row 1
    EXPECT_EQ(read_pixel(bm, 0, 1), 0u);
    EXPECT_EQ(tav_draw_box_bm(ctx, 8, 1, 1, 2, 1, 0, 255, 0), 0);
    EXPECT_EQ(read_pixel(bm, 2, 1), SDL_MapRGB(bm->format, 0, 255, 0));
    EXPECT_EQ(tav_draw_box_bm(ctx, 99, 0, 0, 1, 1, 1, 2, 3), -1);
    ctx->objects[8].image = nullptr;
    SDL_FreeSurface(bm);
}

TEST(DrawBitmap, EightSixteenAndTwentyFourBitSurfaces)
{
    Screen screen;
    tav_context *ctx = start_with_bitmap_object(screen);
    const SDL_Color palette[2] = {{0, 0, 0, 255}, {255, 0, 0, 255}};
    for (int depth : {8, 16}) {
        SDL_Surface *bm = SDL_CreateRGBSurface(0, 8, 8, depth, depth == 8 ? 0 : 0xF800, depth == 8 ? 0 : 0x07E0,
                                               depth == 8 ? 0 : 0x001F, 0);
        if (bm->format->palette) SDL_SetPaletteColors(bm->format->palette, palette, 0, 2);
        ctx->objects[8].image = bm;
        tav_draw_line_bm(ctx, 8, 2, 7, 4, 7, 255, 0, 0);
        const uint32_t red = SDL_MapRGB(bm->format, 255, 0, 0);
        EXPECT_NE(red, 0u);
        for (int x = 1; x < 6; ++x) EXPECT_EQ(read_pixel(bm, x, 7), x >= 2 && x <= 4 ? red : 0) << depth;
        SDL_FreeSurface(bm);
    }
    SDL_Surface *bm = SDL_CreateRGBSurface(0, 8, 8, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
    ctx->objects[8].image = bm;
    testing::internal::CaptureStdout();
    tav_draw_line_bm(ctx, 8, 0, 0, 1, 0, 255, 255, 255);
    tav_draw_pixel_bm(ctx, 8, 9, 9, 255, 255, 255);  // outside: silent
    std::fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "24 bit is not supported ! \n24 bit is not supported ! \n");
    EXPECT_EQ(read_pixel(bm, 0, 0), 0u);
    ctx->objects[8].image = nullptr;
    SDL_FreeSurface(bm);
}

TEST(DrawScreenUpdate, NeverReadsPastTheScreen)
{
    Screen screen(64, 48);
    tav_context *ctx = screen.ctx;
    tav_screenupdate(ctx);
    // A screen smaller than the texture, or of another depth, is uploaded
    // only as far as it reaches.
    SDL_Surface *full = ctx->screen;
    for (int depth : {32, 8}) {
        ctx->screen = SDL_CreateRGBSurface(0, 16, 4, depth, 0, 0, 0, 0);
        tav_screenupdate(ctx);
        SDL_FreeSurface(ctx->screen);
    }
    ctx->screen = full;
}

TEST(DrawLineFarOff, StartFarOffTheScreenDrawsOnlyTheVisiblePart)
{
    tavtest::Screen screen(40, 30);
    tav_context *ctx = screen.start(tavtest::RawLayout());
    // A horizontal line from two billion pixels away ends at column 10.
    tav_draw_line(ctx, 2000000000u, 5, 10, 5, 255, 0, 0);
    for (int x = 10; x < 40; ++x) EXPECT_EQ(screen.pixel(x, 5), 0xFF0000u) << x;
    EXPECT_NE(screen.pixel(9, 5), 0xFF0000u);
    // A slanted one from far below ends at its end point.
    tav_draw_line(ctx, 20, 2000000000u, 20, 0, 0, 255, 0);
    EXPECT_EQ(screen.pixel(20, 0), 0x00FF00u);
    EXPECT_EQ(screen.pixel(20, 29), 0x00FF00u);
}
