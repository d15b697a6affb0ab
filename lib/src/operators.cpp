// What the window operators do: moving the active window with the pointer,
// switching between resize and scroll mode, closing, resizing and scrolling.
#include <cstdint>

#include "events.h"
#include "internal.h"
#include "tavrin.h"
#include "windowing.h"

namespace {

constexpr int32_t kResizeStep = 4;
constexpr int32_t kSmallestGrowableSize = 20;  // shrinking stops at 17..20
constexpr int32_t kLeftmostWindowX = 11;       // keeps the marks on the screen
constexpr int32_t kTopmostWindowY = 25;        // keeps the operator row on the screen
constexpr int32_t kSubtract = 1, kAdd = 2;     // directions of the dependent shifts

tav_object *active_window(tav_context *ctx)
{
    return ctx ? tav::object_at(ctx, ctx->active_window) : nullptr;
}

// ---- moving ----------------------------------------------------------------

// The window's top-left corner follows the pointer, kept clear of the top
// and left screen edges. Its own text cursor moves along with it, just as
// the cursors of its dependents do.
void move_window_to(tav_context *ctx, int32_t px, int32_t py)
{
    const uint32_t window = ctx->active_window;
    tav_object *w = tav::object_at(ctx, window);
    if (!w) return;
    tav_undraw_object(ctx, window);
    tav::undraw_marks(ctx, window);
    tav::undraw_operators(ctx, w->window_style, false);

    const int32_t nx = px >= kLeftmostWindowX ? px : kLeftmostWindowX;
    const int32_t ny = py >= kTopmostWindowY ? py : kTopmostWindowY;
    const int64_t dx = int64_t(nx) - w->x, dy = int64_t(ny) - w->y;
    w->x = nx;
    w->y = ny;
    if (w->editable == 1) {
        w->cursor_x = tav::shifted(w->cursor_x, dx);
        w->cursor_y = tav::shifted(w->cursor_y, dy);
    }
    tav_update_dep_objs_after_move(ctx, window, int32_t(dx), int32_t(dy));
    tav_set_operators(ctx);
    tav_draw_all_objects(ctx, 0, 1);
}

void toggle_operator_mode(tav_context *ctx)
{
    if (ctx->operator_mode == 1) {
        ctx->operator_mode = 0;
        ctx->mark_r = ctx->mark0_r, ctx->mark_g = ctx->mark0_g, ctx->mark_b = ctx->mark0_b;
    } else if (ctx->operator_mode == 0) {
        ctx->operator_mode = 1;
        ctx->mark_r = ctx->mark1_r, ctx->mark_g = ctx->mark1_g, ctx->mark_b = ctx->mark1_b;
    }
    tav_draw_all_objects(ctx, 0, 1);
}

// ---- resizing --------------------------------------------------------------

// Changes one side of the active window by `delta` when `allowed` says the
// size may change, and redraws everything either way.
void resize_active(tav_context *ctx, int32_t tav_object::*size, int32_t delta, bool (*allowed)(const tav_context *, const tav_object *))
{
    tav_object *w = active_window(ctx);
    if (!w) return;
    const uint32_t window = ctx->active_window;
    tav::undraw_marks(ctx, window);
    tav_undraw_object(ctx, window);
    if (allowed(ctx, w)) w->*size = tav::shifted(w->*size, delta);
    tav_draw_all_objects(ctx, 0, 1);
}

bool may_shrink_w(const tav_context *, const tav_object *w) { return w->w > kSmallestGrowableSize; }
bool may_shrink_h(const tav_context *, const tav_object *w) { return w->h > kSmallestGrowableSize; }
bool may_grow_w(const tav_context *ctx, const tav_object *w) { return uint32_t(w->w) < ctx->screen_width - 50; }
bool may_grow_h(const tav_context *ctx, const tav_object *w)
{
    return uint32_t(w->y) + uint32_t(w->h) < ctx->screen_height - 6;
}

// ---- scrolling -------------------------------------------------------------

// One scroll direction: the offset and cursor coordinate it changes, the
// extent that limits it, and how dependents are shifted.
struct ScrollAxis {
    int32_t tav_object::*offset;
    int32_t tav_object::*cursor;
    int32_t tav_object::*extent;
    uint32_t tav_context::*screen_size;
    void (*shift)(tav_context *, uint32_t, int32_t, int32_t);
};

const ScrollAxis kVertical{&tav_object::offset_y, &tav_object::cursor_y, &tav_object::scroll_extent_h,
                           &tav_context::screen_height, tav_update_y_dependent_obj};
const ScrollAxis kHorizontal{&tav_object::offset_x, &tav_object::cursor_x, &tav_object::scroll_extent_w,
                             &tav_context::screen_width, tav_update_x_dependent_obj};

// The content offset ranges from minus one extent to two extents; an extent
// of 0 stands for five screen sizes.
bool scroll_allowed(const tav_context *ctx, const tav_object *w, const ScrollAxis &axis, bool forward)
{
    const int64_t extent = w->*axis.extent;
    const int64_t offset = w->*axis.offset;
    const int64_t fallback = 5 * int64_t(ctx->*axis.screen_size);
    if (forward) return offset < (extent != 0 ? 2 * extent : fallback);
    return offset > (extent != 0 ? -extent : -fallback);
}

void scroll_active(tav_context *ctx, const ScrollAxis &axis, bool forward)
{
    tav_object *w = active_window(ctx);
    if (!w || !scroll_allowed(ctx, w, axis, forward)) return;
    const int64_t step = forward ? int64_t(ctx->scroll_step) : -int64_t(ctx->scroll_step);
    w->*axis.offset = tav::shifted(w->*axis.offset, step);
    if (w->editable == 1) w->*axis.cursor = tav::shifted(w->*axis.cursor, step);
    axis.shift(ctx, ctx->active_window, forward ? kAdd : kSubtract, ctx->scroll_step);
    tav_draw_selected_window(ctx);
    tav_screenupdate(ctx);
}

// Shifts a master's dependents along one axis. Pinned dependents of a
// top-level window keep their place (headers, buttons); inside nested
// objects pinning has no effect. `budget` counts the objects still allowed
// to move, so a list that leads back into itself cannot run away.
void shift_dependents(tav_context *ctx, uint32_t master, int32_t tav_object::*coord, int32_t tav_object::*cursor,
                      int64_t delta, int depth, uint64_t &budget)
{
    const tav_object *m = tav::object_at(ctx, master);
    if (!m || depth > tav::kMaxNesting) return;
    const bool nested = m->master != 0;
    tav::find_dependent(m, [&](uint32_t number) {
        tav_object *d = tav::object_at(ctx, number);
        if (!d || budget == 0) return budget == 0;
        if (!(d->pinned == 0 || (d->pinned == 1 && nested))) return false;
        --budget;
        d->*coord = tav::shifted(d->*coord, delta);
        if (d->editable == 1) d->*cursor = tav::shifted(d->*cursor, delta);
        if (d->dependents[0] != 0) shift_dependents(ctx, number, coord, cursor, delta, depth + 1, budget);
        return false;
    });
}

void shift_subtree(tav_context *ctx, uint32_t master, int32_t direction, int32_t amount, int32_t tav_object::*coord,
                   int32_t tav_object::*cursor)
{
    if (direction != kSubtract && direction != kAdd) return;
    const int64_t delta = direction == kAdd ? int64_t(amount) : -int64_t(amount);
    uint64_t budget = tav::array_count(ctx ? ctx->objects : nullptr);
    shift_dependents(ctx, master, coord, cursor, delta, 0, budget);
}

}  // namespace

void tav_exa_left_pressed(tav_context *ctx)
{
    // Held operators resize in mode 0 and scroll in mode 1.
    struct HeldOperator {
        uint32_t op;
        void (*resize)(tav_context *);
        void (*scroll)(tav_context *);
    };
    static constexpr HeldOperator kHeld[] = {
        {2, tav_decrease_win_h, tav_scroll_win_down},
        {3, tav_increase_win_h, tav_scroll_win_up},
        {5, tav_decrease_win_w, tav_scroll_win_right},
        {6, tav_increase_win_w, tav_scroll_win_left},
    };
    const tav_object *w = active_window(ctx);
    if (!w || w->window_style != 0) return;
    for (const HeldOperator &held : kHeld) {
        if (held.op != ctx->decided_object) continue;
        if (ctx->operator_mode == 0) held.resize(ctx);
        if (ctx->operator_mode == 1) held.scroll(ctx);
    }
}

void tav_exa_left_released(tav_context *ctx)
{
    if (!ctx) return;
    switch (ctx->decided_object) {
    case 1:
        tav_move_window(ctx);
        break;
    case 4:
        toggle_operator_mode(ctx);
        break;
    case 7:
        tav_close_win(ctx, 0);
        tav_draw_all_objects(ctx, 0, 1);
        break;
    default:
        break;
    }
}

void tav_move_window(tav_context *ctx)
{
    // Without a window there is nothing to follow the pointer.
    if (!active_window(ctx)) return;
    SDL_Event event;
    for (;;) {
        if (!tav::next_event(&event)) continue;
        if (event.type == SDL_MOUSEMOTION) move_window_to(ctx, event.motion.x, event.motion.y);
        if (event.type == SDL_MOUSEBUTTONDOWN && event.button.button == SDL_BUTTON_LEFT) return;
    }
}

void tav_decrease_win_w(tav_context *ctx) { resize_active(ctx, &tav_object::w, -kResizeStep, may_shrink_w); }
void tav_decrease_win_h(tav_context *ctx) { resize_active(ctx, &tav_object::h, -kResizeStep, may_shrink_h); }
void tav_increase_win_w(tav_context *ctx) { resize_active(ctx, &tav_object::w, kResizeStep, may_grow_w); }
void tav_increase_win_h(tav_context *ctx) { resize_active(ctx, &tav_object::h, kResizeStep, may_grow_h); }

void tav_scroll_win_down(tav_context *ctx) { scroll_active(ctx, kVertical, true); }
void tav_scroll_win_up(tav_context *ctx) { scroll_active(ctx, kVertical, false); }
void tav_scroll_win_right(tav_context *ctx) { scroll_active(ctx, kHorizontal, true); }
void tav_scroll_win_left(tav_context *ctx) { scroll_active(ctx, kHorizontal, false); }

void tav_update_x_dependent_obj(tav_context *ctx, uint32_t master, int32_t direction, int32_t amount)
{
    shift_subtree(ctx, master, direction, amount, &tav_object::x, &tav_object::cursor_x);
}

void tav_update_y_dependent_obj(tav_context *ctx, uint32_t master, int32_t direction, int32_t amount)
{
    shift_subtree(ctx, master, direction, amount, &tav_object::y, &tav_object::cursor_y);
}
