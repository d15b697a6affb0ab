// Hit testing: strict edges, clipped dependents, list order, priorities of
// the screen-wide search, and the waits for a dialog button.
#include <gtest/gtest.h>

#include "support/harness.h"
#include "support/input.h"
#include "support/shapes.h"

using namespace tavtest;

namespace {

// A window at (100, 60), 120 x 100, margins 10: its dependents show in
// columns 110..209 and rows 70..149.
uint32_t add_window(RawLayout &layout)
{
    const uint32_t w = add_shape(layout, TAV_KIND_WINDOW, 100, 60, 120, 100);
    layout.at(w).set(off::margin_left, 10).set(off::margin_right, 10).set(off::margin_top, 10).set(off::margin_bottom, 10);
    return w;
}

uint32_t add_dependent(RawLayout &layout, uint32_t master, int x, int y, int w, int h, int border_style = 0)
{
    const uint32_t d = add_shape(layout, TAV_KIND_LABEL, x, y, w, h);
    layout.at(d).set(off::border_style, uint32_t(border_style));
    attach(layout, master, d);
    return d;
}

tav_context *start_without_operators(Screen &s, const RawLayout &layout)
{
    tav_context *ctx = s.start(layout);
    for (uint32_t op = 1; op <= TAV_OPERATOR_COUNT; ++op) ctx->objects[op].hidden = 1;
    return ctx;
}

}  // namespace

TEST(HitTest, EdgesZeroSizeAndBadNumbersAreNotHits)
{
    Screen s;
    RawLayout layout;
    const uint32_t label = add_shape(layout, TAV_KIND_LABEL, 50, 40, 30, 20);
    const uint32_t flat = add_shape(layout, TAV_KIND_LABEL, 50, 100, 0, 20);
    tav_context *ctx = s.start(layout);

    EXPECT_EQ(tav_in_object(ctx, label, 51, 41) + tav_in_object(ctx, label, 79, 59), 2);
    for (auto p : {Point{50, 50}, Point{60, 40}, Point{80, 50}, Point{60, 60}})
        EXPECT_EQ(tav_in_object(ctx, label, p.x, p.y), 0) << p.x << "," << p.y;
    EXPECT_EQ(tav_in_object(ctx, flat, 50, 110), 0);
    EXPECT_EQ(tav_in_object(ctx, 0, 60, 50) + tav_in_object(ctx, 5000, 60, 50), 0);
}

TEST(HitTest, DependentsByVisibilityListOrderAndDepth)
{
    Screen s;
    RawLayout layout;
    const uint32_t win = add_window(layout);
    const uint32_t spilling = add_dependent(layout, win, 180, 100, 60, 20);  // past the right margin
    const uint32_t scrolled = add_dependent(layout, win, 120, 50, 40, 30);   // partly above the top
    const uint32_t first = add_dependent(layout, win, 130, 110, 40, 30);
    add_dependent(layout, win, 150, 120, 40, 25);  // drawn over `first`, listed after it
    const uint32_t inner = add_dependent(layout, first, 135, 115, 10, 10);
    tav_context *ctx = s.start(layout);

    EXPECT_EQ(tav_test_dep_objs(ctx, win, 200, 110), spilling);
    EXPECT_EQ(tav_test_dep_objs(ctx, win, 215, 110), 0u);
    EXPECT_EQ(tav_test_dep_objs(ctx, win, 130, 65), 0u);
    EXPECT_EQ(tav_test_dep_objs(ctx, win, 130, 75), scrolled);
    EXPECT_EQ(tav_test_dep_objs(ctx, win, 160, 130), first);
    EXPECT_EQ(tav_test_dep_objs(ctx, win, 140, 120), inner);
}

TEST(HitTest, SwitchedOffDependentsAndFramesAreSkipped)
{
    Screen s;
    RawLayout layout;
    const uint32_t win = add_window(layout);
    const uint32_t hidden = add_dependent(layout, win, 120, 80, 30, 20);
    add_dependent(layout, win, 120, 80, 30, 0);
    const uint32_t frame = add_dependent(layout, win, 110, 70, 100, 80, 2);
    add_dependent(layout, win, 110, 70, 100, 80, 3);
    add_dependent(layout, frame, 120, 80, 30, 20);  // reachable only through the frame
    const uint32_t other = add_dependent(layout, win, 170, 120, 30, 20);
    tav_context *ctx = start_without_operators(s, layout);
    ctx->active_window = win;
    ctx->objects[hidden].hidden = 1;  // the loader shows every dependent

    EXPECT_EQ(tav_test_all_objects(ctx, 130, 90), win);
    EXPECT_EQ(tav_test_all_objects(ctx, 180, 130), other);
}

TEST(HitTest, ScreenPriorities)
{
    Screen s;
    RawLayout layout;
    const uint32_t back = add_shape(layout, TAV_KIND_WINDOW, 20, 30, 100, 80);
    add_dependent(layout, back, 40, 50, 40, 20);  // a button at (60, 60)
    const uint32_t active = add_shape(layout, TAV_KIND_WINDOW, 150, 30, 100, 80);
    const uint32_t front = add_shape(layout, TAV_KIND_WINDOW, 90, 60, 100, 80);  // over both
    const uint32_t closed = add_shape(layout, TAV_KIND_WINDOW, 20, 150, 60, 60);
    layout.at(closed).set(off::hidden, 1);
    const uint32_t loose = add_shape(layout, TAV_KIND_LABEL, 200, 150, 80, 60);
    const uint32_t loose_child = add_dependent(layout, loose, 210, 160, 20, 20);
    tav_context *ctx = start_without_operators(s, layout);
    ctx->active_window = active;

    EXPECT_EQ(tav_test_all_objects(ctx, 60, 60), back);     // a window, not its button
    EXPECT_EQ(tav_test_all_objects(ctx, 100, 90), front);   // highest number first
    EXPECT_EQ(tav_test_all_objects(ctx, 170, 70), active);  // the active one before
    EXPECT_EQ(tav_test_all_objects(ctx, 50, 180), 0u);
    EXPECT_EQ(tav_test_all_objects(ctx, 220, 170), loose_child);
    EXPECT_EQ(tav_test_all_objects(ctx, 260, 200), loose);

    // A visible operator over the active window comes first; hidden ones not.
    ctx->objects[3].x = 160, ctx->objects[3].y = 40, ctx->objects[3].hidden = 0;
    ctx->objects[5].x = 180, ctx->objects[5].y = 40;
    EXPECT_EQ(tav_test_all_objects(ctx, 165, 45), 3u);
    EXPECT_EQ(tav_test_all_objects(ctx, 185, 45), active);
}

TEST(HitTest, DependentListingItselfEndsTheSearch)
{
    Screen s;
    RawLayout layout;
    const uint32_t win = add_window(layout);
    const uint32_t loop = add_dependent(layout, win, 120, 80, 60, 40);
    for (int i = 0; i < TAV_MAX_DEPENDENTS; ++i) layout.at(loop).dep(i, loop);
    tav_context *ctx = s.start(layout);
    EXPECT_EQ(tav_test_dep_objs(ctx, win, 130, 90), loop);
}

TEST(HitTestWait, OnlyLeftReleasesOnTheAnswersCount)
{
    Screen s;
    RawLayout layout;
    const uint32_t a = add_shape(layout, TAV_KIND_LABEL, 50, 50, 40, 20);
    const uint32_t b = add_shape(layout, TAV_KIND_LABEL, 150, 50, 40, 20);
    add_shape(layout, TAV_KIND_LABEL, 50, 150, 40, 20);
    tav_context *ctx = start_without_operators(s, layout);
    ctx->objects[7].hidden = 0, ctx->objects[7].x = 250, ctx->objects[7].y = 10;
    LaterClick rescue(3000, 258, 18);  // the close operator, should a wait miss its answer

    // The release that opened the dialog is still in the context: not an answer.
    ctx->event.type = SDL_MOUSEBUTTONUP;
    ctx->event.button.button = SDL_BUTTON_LEFT, ctx->event.button.state = SDL_RELEASED;
    ctx->event.button.x = 60, ctx->event.button.y = 60;
    push_button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 60, 60);
    push_left_press(60, 60);
    push_left_release(5, 200);   // nothing there
    push_left_release(60, 160);  // another object
    push_left_release(160, 60);
    EXPECT_EQ(tav_get_mouse_selection(ctx, a, b), int32_t(b));
    EXPECT_EQ(ctx->event.type, 0u);

    push_left_release(60, 60);
    push_left_release(258, 18);
    EXPECT_EQ(tav_get_mono_mouse_selection(ctx, b), 7);
    push_left_release(60, 60);
    EXPECT_EQ(tav_get_mono_mouse_selection(ctx, a), int32_t(a));
}
