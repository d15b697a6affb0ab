// The window stack: activating, selecting and closing windows, the blocking
// decide and notice windows, and the placement of the seven operators.
#include <cstdint>

#include "internal.h"
#include "tavrin.h"
#include "text_cursor.h"
#include "windowing.h"

namespace tav {

bool is_top_level_window(const tav_object *o)
{
    return o && o->kind == TAV_KIND_WINDOW && o->master == 0;
}

namespace {

constexpr uint32_t kMoveOperator = 1;
constexpr uint32_t kCloseOperator = 7;

bool style_uses_operator(int32_t window_style, uint32_t op)
{
    if (window_style == 0) return op >= 1 && op <= TAV_OPERATOR_COUNT;
    if (window_style == 1) return op == kMoveOperator || op == kCloseOperator;
    return false;
}

// The left-button press or release a click came with; the loops that
// select windows leave it in the context's event.
bool is_left_button(const SDL_Event &e)
{
    return (e.type == SDL_MOUSEBUTTONDOWN || e.type == SDL_MOUSEBUTTONUP) && e.button.button == SDL_BUTTON_LEFT;
}

void hide_all_operators(tav_context *ctx)
{
    for (uint32_t op = 1; op <= TAV_OPERATOR_COUNT; ++op)
        if (tav_object *o = object_at(ctx, op)) o->hidden = 1;
}

// The stack count as a safe loop bound, whatever the application wrote.
uint32_t stack_count(const tav_context *ctx)
{
    return ctx->window_stack_count < TAV_MAX_WINDOWS ? ctx->window_stack_count : TAV_MAX_WINDOWS;
}

// Position of a window in the stack, or -1 when it is not there.
int stack_find(const tav_context *ctx, uint32_t window)
{
    const uint32_t count = stack_count(ctx);
    for (uint32_t i = 0; i < count; ++i)
        if (ctx->window_stack[i] == window) return int(i);
    return -1;
}

// Takes entry p out and closes the gap; the freed last entry becomes 0.
void stack_remove(tav_context *ctx, int p)
{
    const uint32_t count = stack_count(ctx);
    for (uint32_t i = uint32_t(p); i + 1 < count; ++i) ctx->window_stack[i] = ctx->window_stack[i + 1];
    if (count > 0) ctx->window_stack[count - 1] = 0;
    ctx->window_stack_count = count > 0 ? count - 1 : 0;
}

// Puts a window on top. A full stack loses its bottom entry first, so no
// entry is ever written past the end.
void stack_push_top(tav_context *ctx, uint32_t window)
{
    uint32_t count = stack_count(ctx);
    if (count == TAV_MAX_WINDOWS) --count;
    for (uint32_t i = count; i > 0; --i) ctx->window_stack[i] = ctx->window_stack[i - 1];
    ctx->window_stack[0] = window;
    ctx->window_stack_count = count + 1;
}

// The window's cursor object after activation: the window itself when it
// is editable, else the first editable object inside it.
void choose_cursor_object(tav_context *ctx, uint32_t window, const tav_object *w)
{
    if (w->editable == 1)
        ctx->cursor_object = window;
    else if (w->editable == 0)
        ctx->cursor_object = tav_check_cursor_dep_objs(ctx, window);
}

// Activates `window`, waits with `wait` for one of its buttons or the close
// operator, closes it and returns what was clicked. Something that is not a
// window answers as if it had been closed, without waiting: there would be
// nothing on the screen to click.
template <typename Wait>
int32_t run_dialog(tav_context *ctx, uint32_t window, Wait wait)
{
    if (!ctx || !is_top_level_window(object_at(ctx, window))) return int32_t(kCloseOperator);
    ctx->decided_object = window;
    tav_activate_window(ctx);
    tav_draw_all_objects(ctx, 0, 1);
    const int32_t answer = wait();
    tav_close_win(ctx, 0);
    return answer;
}

}  // namespace

void undraw_operators(tav_context *ctx, int32_t window_style, bool close)
{
    for (uint32_t op = 1; op <= TAV_OPERATOR_COUNT; ++op) {
        tav_object *o = object_at(ctx, op);
        if (!o || !style_uses_operator(window_style, op)) continue;
        if (close || o->hidden == 0) tav_undraw_object(ctx, op);
        if (close) o->hidden = 1;
    }
}

void undraw_marks(tav_context *ctx, uint32_t window)
{
    tav_undraw_selected_box(ctx, window);
    tav_undraw_selected_lines(ctx, window);
}

}  // namespace tav

void tav_activate_window(tav_context *ctx)
{
    if (!ctx) return;
    const uint32_t window = ctx->decided_object;
    tav_object *w = tav::object_at(ctx, window);
    if (!tav::is_top_level_window(w) || window == ctx->active_window) return;

    const int p = tav::stack_find(ctx, window);
    if (w->hidden == 1) w->hidden = 0;
    if (p >= 0) tav::stack_remove(ctx, p);
    tav::stack_push_top(ctx, window);

    if (const tav_object *previous = tav::object_at(ctx, ctx->active_window)) {
        tav::undraw_marks(ctx, ctx->active_window);
        tav::undraw_operators(ctx, previous->window_style, false);
    }
    ctx->active_window = window;
    ctx->decided_object = 0;
    tav::choose_cursor_object(ctx, window, w);
    tav_initiate_cursor_win(ctx, window);
    tav_set_operators(ctx);
}

void tav_select_window(tav_context *ctx)
{
    if (!ctx) return;
    const uint32_t clicked = ctx->decided_object;
    const tav_object *o = tav::object_at(ctx, clicked);
    if (!o) return;
    if (tav::is_top_level_window(o)) {
        tav_activate_window(ctx);
        tav_draw_all_objects(ctx, 0, 1);
        return;
    }
    const bool takes_cursor = o->kind == TAV_KIND_ENTRY || o->kind == TAV_KIND_NUMBER || o->kind == TAV_KIND_WINDOW ||
                              o->kind == TAV_KIND_TEXT || o->kind == TAV_KIND_CHAIN;
    if (takes_cursor && o->editable == 1) {
        ctx->cursor_object = clicked;
        // A click puts the text cursor where it points in the text.
        if (tav::is_left_button(ctx->event)) tav::place_cursor_at(ctx, clicked, ctx->event.button.x, ctx->event.button.y);
        tav_draw_selected_window(ctx);
        tav_screenupdate(ctx);
    }
}

void tav_close_win(tav_context *ctx, uint32_t window)
{
    if (!ctx) return;
    const uint32_t closing = window != 0 ? window : ctx->active_window;
    tav_object *w = tav::object_at(ctx, closing);
    if (!w || w->hidden != 0) return;
    const int p = tav::stack_find(ctx, closing);
    if (p < 0) return;

    tav::stack_remove(ctx, p);
    w->hidden = 1;
    tav_undraw_object(ctx, closing);
    if (closing != ctx->active_window) return;

    tav::undraw_marks(ctx, closing);
    tav::undraw_operators(ctx, w->window_style, true);
    if (ctx->cursor_object == closing) ctx->cursor_object = 0;
    ctx->active_window = 0;

    // The window that lay directly below comes back to the top.
    const uint32_t below = ctx->window_stack[p];
    if (below != 0 && uint32_t(p) < ctx->window_stack_count) {
        ctx->decided_object = below;
        tav_activate_window(ctx);
    }
}

int32_t tav_decide_window(tav_context *ctx, uint32_t window, uint32_t button_a, uint32_t button_b)
{
    return tav::run_dialog(ctx, window, [&] { return tav_get_mouse_selection(ctx, button_a, button_b); });
}

void tav_notice_window(tav_context *ctx, uint32_t window, uint32_t button)
{
    tav::run_dialog(ctx, window, [&] { return tav_get_mono_mouse_selection(ctx, button); });
}

void tav_set_operators(tav_context *ctx)
{
    if (!ctx) return;
    const uint32_t window = ctx->active_window;
    const tav_object *w = tav::object_at(ctx, window);
    if (!w || int32_t(window) <= 0 || w->hidden != 0) {
        tav::hide_all_operators(ctx);
        return;
    }
    if (w->window_style != 0 && w->window_style != 1) return;

    // A row of 16-pixel buttons ending at the window's visible right edge,
    // 24 pixels above its top.
    const int64_t right = int64_t(w->x) + tav_p_cutted_w_independent(ctx, window);
    const int32_t y = tav::shifted(w->y, -24);
    for (uint32_t op = 1; op <= TAV_OPERATOR_COUNT; ++op) {
        tav_object *o = tav::object_at(ctx, op);
        if (!o) continue;
        const bool used = tav::style_uses_operator(w->window_style, op);
        o->hidden = used ? 0 : 1;
        if (!used) continue;
        const int64_t slot = w->window_style == 0 ? int64_t(op) - 8 : (op == 1 ? -2 : -1);
        o->x = tav::shifted(0, right + 16 * slot);
        o->y = y;
    }
}
