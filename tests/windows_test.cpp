// The window stack: activation, a full stack, closing, the operators'
// placement, selecting, and the decide and notice windows.
#include <vector>

#include <gtest/gtest.h>

#include "support/harness.h"
#include "support/input.h"
#include "support/shapes.h"

using namespace tavtest;

namespace {

uint32_t add_closed_window(RawLayout &layout, int x, int y, int w = 150, int h = 100)
{
    const uint32_t win = add_shape(layout, TAV_KIND_WINDOW, x, y, w, h);
    layout.at(win).set(off::hidden, 1);
    return win;
}

void activate(tav_context *ctx, uint32_t window)
{
    ctx->decided_object = window;
    tav_activate_window(ctx);
}

std::vector<uint32_t> stack_of(const tav_context *ctx)
{
    return std::vector<uint32_t>(ctx->window_stack, ctx->window_stack + ctx->window_stack_count);
}

bool all_hidden(const tav_context *ctx, std::vector<uint32_t> objects)
{
    for (uint32_t n : objects)
        if (ctx->objects[n].hidden != 1) return false;
    return true;
}

// Three closed windows; the first holds a label and an editable entry
// field, the second holds two dialog buttons.
struct Windows {
    Screen s;
    uint32_t a, b, c, label, field, yes, no;
    tav_context *ctx;
    Windows()
    {
        RawLayout layout;
        a = add_closed_window(layout, 30, 40);
        b = add_closed_window(layout, 60, 60);
        c = add_closed_window(layout, 90, 80);
        label = add_shape(layout, TAV_KIND_LABEL, 40, 50, 50, 20);
        field = add_shape(layout, TAV_KIND_ENTRY, 40, 80, 100, 20);
        layout.at(field).set(off::editable, 1);
        yes = add_shape(layout, TAV_KIND_LABEL, 70, 130, 50, 20);
        no = add_shape(layout, TAV_KIND_LABEL, 140, 130, 50, 20);
        attach(layout, a, label);
        attach(layout, a, field);
        attach(layout, b, yes);
        attach(layout, b, no);
        ctx = s.start(layout);
        s.open_font();
        tav_set_operators(ctx);
    }
};

}  // namespace

TEST(Windows, ActivationKeepsTheStack)
{
    Windows t;
    tav_context *ctx = t.ctx;
    EXPECT_TRUE(all_hidden(ctx, {1, 2, 3, 4, 5, 6, 7}));
    activate(ctx, t.a);
    EXPECT_EQ(ctx->active_window, t.a);
    EXPECT_EQ(ctx->decided_object, 0u);
    EXPECT_EQ(ctx->objects[t.a].hidden, 0);
    EXPECT_EQ(ctx->cursor_object, t.field);  // the first editable object inside

    // The active window again, or something that is no window: nothing.
    activate(ctx, t.a);
    EXPECT_EQ(ctx->decided_object, t.a);
    activate(ctx, t.label);
    EXPECT_EQ(ctx->active_window, t.a);

    activate(ctx, t.b);
    activate(ctx, t.c);
    EXPECT_EQ(stack_of(ctx), (std::vector<uint32_t>{t.c, t.b, t.a}));
    activate(ctx, t.a);  // back to the top, the count stays
    EXPECT_EQ(stack_of(ctx), (std::vector<uint32_t>{t.a, t.c, t.b}));
}

TEST(Windows, FullStackDropsTheLeastRecentWindow)
{
    Screen s;
    RawLayout layout;
    std::vector<uint32_t> w;
    for (int i = 0; i <= TAV_MAX_WINDOWS; ++i) w.push_back(add_closed_window(layout, 30, 40));
    tav_context *ctx = s.start(layout);
    for (uint32_t window : w) activate(ctx, window);

    EXPECT_EQ(ctx->window_stack_count, 100u);
    EXPECT_EQ(ctx->window_stack[0], w[100]);
    EXPECT_EQ(ctx->window_stack[99], w[1]);
    // The dropped window stays open but is out of reach of closing.
    tav_close_win(ctx, w[0]);
    EXPECT_EQ(ctx->objects[w[0]].hidden, 0);
    EXPECT_EQ(ctx->window_stack_count, 100u);

    tav_close_win(ctx, w[50]);
    EXPECT_EQ(ctx->window_stack_count, 99u);
    EXPECT_EQ(ctx->window_stack[98], w[1]);
    EXPECT_EQ(ctx->window_stack[99], 0u);
}

TEST(Windows, ClosingReactivatesTheWindowBelow)
{
    Windows t;
    tav_context *ctx = t.ctx;
    ctx->objects[t.b].hidden = 0;
    tav_close_win(ctx, t.b);  // open but never activated: ignored
    EXPECT_EQ(ctx->objects[t.b].hidden, 0);

    activate(ctx, t.a);
    activate(ctx, t.b);
    activate(ctx, t.c);
    const int32_t op_x = ctx->objects[1].x;
    tav_close_win(ctx, t.b);  // not the active one
    EXPECT_EQ(ctx->objects[t.b].hidden, 1);
    EXPECT_EQ(ctx->active_window, t.c);
    EXPECT_EQ(ctx->objects[1].x, op_x);
    EXPECT_EQ(stack_of(ctx), (std::vector<uint32_t>{t.c, t.a}));

    ctx->objects[t.c].editable = 1, ctx->cursor_object = t.c;
    tav_close_win(ctx, 0);
    EXPECT_EQ(ctx->active_window, t.a);
    EXPECT_EQ(ctx->cursor_object, t.field);
    tav_close_win(ctx, 0);
    EXPECT_EQ(ctx->active_window, 0u);
    EXPECT_EQ(ctx->window_stack_count, 0u);
    EXPECT_TRUE(all_hidden(ctx, {1, 2, 3, 4, 5, 6, 7}));
}

TEST(Windows, OperatorsSitAboveTheActiveWindow)
{
    Windows t;
    tav_context *ctx = t.ctx;
    activate(ctx, t.a);  // x 30, y 40, width 150
    for (uint32_t op = 1; op <= 7; ++op) {
        EXPECT_EQ(ctx->objects[op].x, int32_t(30 + 150 - 112 + 16 * (op - 1))) << op;
        EXPECT_EQ(ctx->objects[op].y, 16) << op;
    }

    ctx->objects[t.b].window_style = 1;  // only move and close
    activate(ctx, t.b);
    EXPECT_EQ(ctx->objects[7].x, 60 + 150 - 16);
    EXPECT_EQ(ctx->objects[1].x, 60 + 150 - 32);
    EXPECT_EQ(ctx->objects[1].hidden + ctx->objects[7].hidden, 0);
    EXPECT_TRUE(all_hidden(ctx, {2, 3, 4, 5, 6}));

    ctx->objects[t.c].x = 250;  // on a 320 wide screen 68 pixels show
    activate(ctx, t.c);
    EXPECT_EQ(ctx->objects[7].x, 250 + 68 - 16);
}

TEST(Windows, SelectingMovesTheCursorOrActivates)
{
    Windows t;
    tav_context *ctx = t.ctx;
    activate(ctx, t.a);
    activate(ctx, t.b);
    ctx->decided_object = t.a;
    tav_select_window(ctx);
    EXPECT_EQ(ctx->active_window, t.a);

    ctx->cursor_object = 0;
    ctx->decided_object = t.field;
    tav_select_window(ctx);
    EXPECT_EQ(ctx->cursor_object, t.field);

    ctx->decided_object = t.label;  // the application's business
    tav_select_window(ctx);
    EXPECT_EQ(ctx->decided_object, t.label);
    EXPECT_EQ(ctx->cursor_object, t.field);
}

TEST(WindowsDialog, AnswersAreButtonsOrTheCloseOperator)
{
    Windows t;
    tav_context *ctx = t.ctx;
    activate(ctx, t.a);
    const Point close{60 + 150 - 8, 60 - 16};  // operator 7 above the dialog
    LaterClick rescue(3000, close.x, close.y);

    push_left_release(35, 130);  // the main window, not an answer
    push_left_release(150, 140);
    EXPECT_EQ(tav_decide_window(ctx, t.b, t.yes, t.no), int32_t(t.no));
    EXPECT_EQ(ctx->objects[t.b].hidden, 1);
    EXPECT_EQ(ctx->active_window, t.a);

    push_left_release(close.x, close.y);
    EXPECT_EQ(tav_decide_window(ctx, t.b, t.yes, t.no), 7);
    push_left_release(80, 140);
    tav_notice_window(ctx, t.b, t.yes);
    EXPECT_EQ(ctx->objects[t.b].hidden, 1);
    EXPECT_EQ(ctx->active_window, t.a);

    // Something that is no window is not waited for and closes nothing.
    EXPECT_EQ(tav_decide_window(ctx, t.yes, t.yes, t.no), 7);
    EXPECT_EQ(tav_decide_window(ctx, 9999, t.yes, t.no), 7);
    EXPECT_EQ(ctx->active_window, t.a);
}
