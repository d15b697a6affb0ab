// The operators: scroll limits, pinned dependents, resizing limits, moving
// a window with the pointer, the mode toggle and closing.
#include <gtest/gtest.h>

#include "support/harness.h"
#include "support/input.h"
#include "support/shapes.h"

using namespace tavtest;

namespace {

// An active window at (40, 50), 200 x 120, with a pinned header, and a
// panel holding a pinned button and an editable field.
struct ScrollWindow {
    Screen s;
    uint32_t win, header, panel, pinned_in_panel, field;
    tav_context *ctx;
    explicit ScrollWindow(int screen_height = 240) : s(320, screen_height)
    {
        RawLayout layout;
        win = add_shape(layout, TAV_KIND_WINDOW, 40, 50, 200, 120);
        header = add_shape(layout, TAV_KIND_LABEL, 45, 55, 100, 15);
        panel = add_shape(layout, TAV_KIND_BOX, 45, 80, 150, 60);
        pinned_in_panel = add_shape(layout, TAV_KIND_LABEL, 50, 85, 30, 15);
        field = add_shape(layout, TAV_KIND_ENTRY, 50, 110, 100, 20);
        layout.at(header).set(off::pinned, 1);
        layout.at(pinned_in_panel).set(off::pinned, 1);
        layout.at(field).set(off::editable, 1);
        attach(layout, win, header);
        attach(layout, win, panel);
        attach(layout, panel, pinned_in_panel);
        attach(layout, panel, field);
        ctx = s.start(layout);
        s.open_font();
        ctx->decided_object = win;
        tav_activate_window(ctx);
    }
    tav_object &o(uint32_t n) { return ctx->objects[n]; }
};

// Calls an operation until it changes the watched value no more.
int32_t run_to_limit(tav_context *ctx, void (*op)(tav_context *), const int32_t &watched)
{
    for (int i = 0; i < 10000; ++i) {
        const int32_t before = watched;
        op(ctx);
        if (watched == before) break;
    }
    return watched;
}

}  // namespace

TEST(Operators, ScrollLimits)
{
    ScrollWindow t(720);  // no extent: five screens each way
    EXPECT_EQ(run_to_limit(t.ctx, tav_scroll_win_down, t.o(t.win).offset_y), 3600);
    EXPECT_EQ(run_to_limit(t.ctx, tav_scroll_win_up, t.o(t.win).offset_y), -3600);
    EXPECT_EQ(run_to_limit(t.ctx, tav_scroll_win_left, t.o(t.win).offset_x), -1600);

    t.o(t.win).offset_y = 0;
    t.o(t.win).scroll_extent_h = 100;  // two extents down, one up
    EXPECT_EQ(run_to_limit(t.ctx, tav_scroll_win_down, t.o(t.win).offset_y), 200);
    EXPECT_EQ(run_to_limit(t.ctx, tav_scroll_win_up, t.o(t.win).offset_y), -100);

    // At the limit nothing moves and nothing is drawn.
    const tav_object field = t.o(t.field);
    SDL_Rect marker{60, 150, 4, 4};
    SDL_FillRect(t.ctx->screen, &marker, SDL_MapRGB(t.ctx->screen->format, 1, 2, 3));
    tav_scroll_win_up(t.ctx);
    EXPECT_EQ(t.o(t.field).y, field.y);
    EXPECT_EQ(t.o(t.field).cursor_y, field.cursor_y);
    EXPECT_EQ(t.s.pixel(61, 151), 0x010203u);
}

TEST(Operators, ScrollingLeavesPinnedDependentsOfTheWindowInPlace)
{
    ScrollWindow t;
    const tav_object header = t.o(t.header), pinned = t.o(t.pinned_in_panel), field = t.o(t.field);
    tav_scroll_win_down(t.ctx);
    EXPECT_EQ(t.o(t.header).y, header.y);
    EXPECT_EQ(t.o(t.pinned_in_panel).y, pinned.y + 4);  // pinning counts only in a window
    EXPECT_EQ(t.o(t.field).y, field.y + 4);
    EXPECT_EQ(t.o(t.field).cursor_y, field.cursor_y + 4);

    tav_scroll_win_left(t.ctx);
    EXPECT_EQ(t.o(t.field).x, field.x - 4);
    EXPECT_EQ(t.o(t.field).cursor_x, field.cursor_x - 4);
    EXPECT_EQ(t.o(t.header).x, header.x);

    tav_update_x_dependent_obj(t.ctx, t.win, 3, 50);  // no such direction
    EXPECT_EQ(t.o(t.field).x, field.x - 4);
}

TEST(Operators, ShiftingSurvivesAListThatLeadsBackIntoItself)
{
    Screen s;
    RawLayout layout;
    const uint32_t win = add_shape(layout, TAV_KIND_WINDOW, 40, 50, 200, 120);
    const uint32_t loop = add_shape(layout, TAV_KIND_LABEL, 50, 60, 20, 20);
    attach(layout, win, loop);
    for (int i = 0; i < TAV_MAX_DEPENDENTS; ++i) layout.at(loop).dep(i, loop);
    tav_context *ctx = s.start(layout);
    tav_update_y_dependent_obj(ctx, win, 2, 1);
    EXPECT_LE(ctx->objects[loop].y, 60 + int32_t(ctx->object_count) + 1);
}

TEST(Operators, ResizeLimitsAndHeldOperators)
{
    ScrollWindow t;
    t.o(t.win).w = 21;
    EXPECT_EQ(run_to_limit(t.ctx, tav_decrease_win_w, t.o(t.win).w), 17);
    t.o(t.win).w = 266;  // grows while below 320 - 50
    EXPECT_EQ(run_to_limit(t.ctx, tav_increase_win_w, t.o(t.win).w), 270);
    t.o(t.win).h = 100;  // grows while y + h is below 240 - 6
    EXPECT_EQ(run_to_limit(t.ctx, tav_increase_win_h, t.o(t.win).h), 184);
    EXPECT_EQ(t.o(t.field).y, 110);  // dependents keep their places

    t.ctx->decided_object = 2;
    tav_exa_left_pressed(t.ctx);  // resize mode: lower
    EXPECT_EQ(t.o(t.win).h, 180);
    t.ctx->operator_mode = 1;
    tav_exa_left_pressed(t.ctx);  // scroll mode: down
    EXPECT_EQ(t.o(t.win).offset_y, 4);
    t.o(t.win).window_style = 1;
    tav_exa_left_pressed(t.ctx);
    t.o(t.win).window_style = 0;
    t.ctx->active_window = 0;
    tav_exa_left_pressed(t.ctx);
    EXPECT_EQ(t.o(t.win).offset_y, 4);
}

TEST(Operators, ModeToggleAndClose)
{
    ScrollWindow t;
    t.ctx->decided_object = 4;
    tav_exa_left_released(t.ctx);
    EXPECT_EQ(t.ctx->operator_mode, 1);
    EXPECT_EQ(t.ctx->mark_b, t.ctx->mark1_b);
    tav_exa_left_released(t.ctx);
    EXPECT_EQ(t.ctx->operator_mode, 0);
    EXPECT_EQ(t.ctx->mark_r, t.ctx->mark0_r);
    EXPECT_EQ(t.ctx->mark_g, t.ctx->mark0_g);

    t.ctx->decided_object = 7;
    tav_exa_left_released(t.ctx);
    EXPECT_EQ(t.ctx->active_window, 0u);
    EXPECT_EQ(t.o(t.win).hidden, 1);
}

TEST(Operators, MovedWindowStaysClearOfTheScreenEdges)
{
    ScrollWindow t;
    t.o(t.win).editable = 1;
    t.o(t.win).cursor_x = 45, t.o(t.win).cursor_y = 55;
    const tav_object field = t.o(t.field);

    push_motion(60, 70);
    push_button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 60, 70);  // does not end the move
    push_motion(3, 10);
    push_left_press(3, 10);
    t.ctx->decided_object = 1;
    tav_exa_left_released(t.ctx);

    EXPECT_EQ(t.o(t.win).x, 11);
    EXPECT_EQ(t.o(t.win).y, 25);
    EXPECT_EQ(t.o(t.field).x, field.x - 29);
    EXPECT_EQ(t.o(t.field).cursor_y, field.cursor_y - 25);
    EXPECT_EQ(t.o(t.win).cursor_x, 45 - 29);  // its own cursor follows too
    EXPECT_EQ(t.o(t.win).cursor_y, 55 - 25);
    EXPECT_EQ(t.o(7).x, 11 + 200 - 16);
    EXPECT_EQ(t.o(7).y, 1);
}
