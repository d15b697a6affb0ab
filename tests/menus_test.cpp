// Menus: the hover highlight and its undoing, clicks on items and gaps, the
// leaving rules of both modes, and that an open menu lets the processor rest.
#include <sys/resource.h>

#include <gtest/gtest.h>

#include "support/harness.h"
#include "support/input.h"
#include "support/shapes.h"

using namespace tavtest;

namespace {

// A hidden menu at (x, 50), 100 x 80, so its box is rows 50..129, with two
// items and a gap (rows 80..90) between them.
struct Menu {
    Screen s;
    uint32_t menu, first, second;
    tav_context *ctx;
    explicit Menu(int x = 100)
    {
        RawLayout layout;
        menu = add_shape(layout, TAV_KIND_LABEL, x, 50, 100, 80);
        layout.at(menu).set(off::hidden, 1);
        first = add_shape(layout, TAV_KIND_LABEL, x + 10, 60, 80, 20);
        layout.at(first).set(off::fill_r, 15).set(off::fill_g, 100).set(off::fill_b, 21);
        second = add_shape(layout, TAV_KIND_LABEL, x + 10, 90, 80, 20);
        layout.at(second).set(off::fill_r, 10).set(off::fill_g, 30).set(off::fill_b, 200);
        attach(layout, menu, first);
        attach(layout, menu, second);
        ctx = s.start(layout);
        s.open_font();
        for (uint32_t op = 1; op <= TAV_OPERATOR_COUNT; ++op) ctx->objects[op].hidden = 1;
    }
    // Opens the menu with the pointer at (px, py) and a left click queued at
    // (cx, cy), after whatever the test queued or timed before.
    uint32_t open(int32_t mode, int px, int py, int cx, int cy)
    {
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        warp_pointer(ctx->window, px, py);
        push_left_release(cx, cy);
        return tav_move_out_menu(ctx, menu, mode);
    }
    uint32_t fill(uint32_t item) const
    {
        const tav_object &o = ctx->objects[item];
        return uint32_t(o.fill_r) << 16 | uint32_t(o.fill_g) << 8 | uint32_t(o.fill_b);
    }
};

double cpu_seconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

}  // namespace

TEST(Menus, HoveredItemIsDarkenedWhileOpenAndRestoredAfter)
{
    Menu m;
    uint32_t while_open = 0;
    LaterClick click(150, 150, 70, [&] { while_open = m.fill(m.first); });
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    warp_pointer(m.ctx->window, 150, 70);
    EXPECT_EQ(tav_move_out_menu(m.ctx, m.menu, 0), m.first);
    EXPECT_EQ(while_open, 0x0F5001u);  // 15, 80, 1
    EXPECT_EQ(m.fill(m.first), 0x0F6415u);
    EXPECT_EQ(m.ctx->objects[m.menu].hidden, 1);
    EXPECT_EQ(m.ctx->event.type, 0u);

    // Moving on gives the first item back; a channel of 20 or less is kept.
    LaterClick move(150, 150, 100, [&] { warp_pointer(m.ctx->window, 150, 100); });
    warp_pointer(m.ctx->window, 150, 70);
    EXPECT_EQ(tav_move_out_menu(m.ctx, m.menu, 0), m.second);
    EXPECT_EQ(m.fill(m.first), 0x0F6415u);
    EXPECT_EQ(m.fill(m.second), 0x0A1EC8u);
}

TEST(Menus, ClicksOnGapsChooseNothingAndRightClicksAreIgnored)
{
    Menu m;
    EXPECT_EQ(m.open(0, 150, 85, 150, 85), 0u);
    EXPECT_EQ(m.ctx->objects[m.menu].hidden, 1);

    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    warp_pointer(m.ctx->window, 150, 70);
    push_button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 150, 70);
    push_left_release(150, 100);
    EXPECT_EQ(tav_move_out_menu(m.ctx, m.menu, 0), m.second);
}

TEST(Menus, DropDownMenuMayBeLeftUpwardsOnlyBeforeAnItemWasTouched)
{
    Menu m;
    EXPECT_EQ(m.open(1, 150, 45, 150, 70), m.first);  // pointer still on the title
    EXPECT_EQ(m.open(0, 150, 49, 150, 70), 0u);       // any other mode closes at once

    LaterClick back_up(150, 150, 70, [&] { warp_pointer(m.ctx->window, 150, 45); });
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    warp_pointer(m.ctx->window, 150, 70);
    EXPECT_EQ(tav_move_out_menu(m.ctx, m.menu, 1), 0u);
    EXPECT_EQ(m.fill(m.first), 0x0F6415u);
}

TEST(Menus, LastVisibleColumnAndRowBelongToTheMenu)
{
    Menu m(280);  // on a 320 wide screen columns 280..317 show
    EXPECT_EQ(m.open(0, 317, 129, 300, 70), m.first);
    EXPECT_EQ(m.open(0, 318, 100, 300, 70), 0u);
    EXPECT_EQ(m.open(0, 300, 130, 300, 70), 0u);
}

TEST(Menus, OpenMenuLetsTheProcessorRest)
{
    Menu m;
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    warp_pointer(m.ctx->window, 150, 85);  // on the gap: nothing to highlight
    const double cpu_before = cpu_seconds();
    const uint32_t start = SDL_GetTicks();
    {
        LaterClick click(300, 150, 85);
        EXPECT_EQ(tav_move_out_menu(m.ctx, m.menu, 0), 0u);
    }
    const double elapsed = (SDL_GetTicks() - start) / 1000.0;
    const double cpu = cpu_seconds() - cpu_before;
    EXPECT_GE(elapsed, 0.29);
    EXPECT_LT(cpu, elapsed / 4) << "processor time " << cpu << " s while open " << elapsed << " s";
}
