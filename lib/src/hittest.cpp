// Which object lies under the pointer, and the small loops with which
// dialogs wait for one of their buttons.
#include <cstdint>

#include "events.h"
#include "internal.h"
#include "tavrin.h"
#include "windowing.h"

namespace {

constexpr uint32_t kFirstLayoutObject = 8;  // objects 1..7 are the operators
constexpr uint32_t kCloseOperator = 7;

// Strictly inside: the outermost pixel row and column on every side miss.
bool strictly_inside(int64_t left, int64_t right, int64_t top, int64_t bottom, int32_t x, int32_t y)
{
    return left < x && x < right && top < y && y < bottom;
}

// A dependent takes part in hit testing unless it is switched off or is a
// frame laid over its master's inner area (border styles 2 and 3).
bool hittable_dependent(const tav_object *d)
{
    return d && d->hidden == 0 && d->w != 0 && d->h != 0 && d->border_style != 2 && d->border_style != 3;
}

uint32_t deepest_dependent(tav_context *ctx, uint32_t master, int32_t x, int32_t y, int depth)
{
    if (depth > tav::kMaxNesting) return 0;
    const uint32_t hit = tav::find_dependent(tav::object_at(ctx, master), [&](uint32_t d) {
        return hittable_dependent(tav::object_at(ctx, d)) && tav_in_object(ctx, d, x, y) == 1;
    });
    if (hit == 0) return 0;
    const uint32_t deeper = deepest_dependent(ctx, hit, x, y, depth + 1);
    return deeper != 0 ? deeper : hit;
}

// An object found directly under the point, refined to its deepest dependent.
uint32_t object_or_deepest(tav_context *ctx, uint32_t object, int32_t x, int32_t y)
{
    const uint32_t deeper = tav_test_dep_objs(ctx, object, x, y);
    return deeper != 0 ? deeper : object;
}

uint32_t operator_at(tav_context *ctx, int32_t x, int32_t y)
{
    for (uint32_t op = 1; op <= TAV_OPERATOR_COUNT && op <= ctx->object_count; ++op) {
        const tav_object *o = tav::object_at(ctx, op);
        if (o && o->hidden == 0 && tav_in_object(ctx, op, x, y) == 1) return op;
    }
    return 0;
}

// Windows are searched from the highest number down; their dependents are
// not, since only the active window's content takes clicks.
uint32_t inactive_window_at(tav_context *ctx, int32_t x, int32_t y)
{
    for (uint32_t i = ctx->object_count; i >= kFirstLayoutObject; --i) {
        const tav_object *o = tav::object_at(ctx, i);
        if (o && o->hidden == 0 && o->kind == TAV_KIND_WINDOW && tav_in_object(ctx, i, x, y) == 1) return i;
    }
    return 0;
}

uint32_t loose_object_at(tav_context *ctx, int32_t x, int32_t y)
{
    for (uint32_t i = kFirstLayoutObject; i <= ctx->object_count; ++i) {
        const tav_object *o = tav::object_at(ctx, i);
        if (!o) break;
        if (o->hidden == 0 && o->kind != TAV_KIND_WINDOW && o->master == 0 && tav_in_object(ctx, i, x, y) == 1)
            return object_or_deepest(ctx, i, x, y);
    }
    return 0;
}

bool is_left_release(const SDL_Event &e)
{
    return e.type == SDL_MOUSEBUTTONUP && e.button.button == SDL_BUTTON_LEFT && e.button.state == SDL_RELEASED;
}

// The loop shared by both waits: keys keep editing the cursor object, a
// left-button release is hit-tested, and the wait ends once the hit is one
// of the accepted objects. Only events that arrive during the wait count;
// the event that led to the dialog cannot answer it.
template <typename Accepts>
int32_t wait_for_selection(tav_context *ctx, Accepts accepts)
{
    uint32_t hit = 0;
    while (!accepts(hit)) {
        if (!tav::next_event(&ctx->event)) continue;
        switch (ctx->event.type) {
        case SDL_KEYDOWN:
        case SDL_TEXTINPUT:
            tav_getfirstkeyinformation(ctx);
            break;
        case SDL_KEYUP:
            tav_getfinalkeyinformation(ctx);
            tav_get_text(ctx);
            break;
        case SDL_MOUSEBUTTONUP:
            if (!is_left_release(ctx->event)) break;
            hit = tav_test_all_objects(ctx, ctx->event.button.x, ctx->event.button.y);
            ctx->event.type = 0;
            break;
        default:
            break;
        }
    }
    return int32_t(hit);
}

}  // namespace

int32_t tav_in_object(tav_context *ctx, uint32_t object, int32_t x, int32_t y)
{
    const tav_object *o = tav::object_at(ctx, object);
    if (!o) return 0;
    const int64_t right = int64_t(o->x) + o->w, bottom = int64_t(o->y) + o->h;
    if (!strictly_inside(o->x, right, o->y, bottom, x, y)) return 0;
    if (o->master == 0) return 1;
    // A dependent counts only where its master chain lets it show.
    if (!tav::object_at(ctx, o->master)) return 0;
    int32_t left = 0, clip_right = 0, top = 0, clip_bottom = 0;
    tav_get_borders_for_dep_object(ctx, object, &left, &clip_right, &top, &clip_bottom);
    return strictly_inside(left, clip_right, top, clip_bottom, x, y) ? 1 : 0;
}

uint32_t tav_test_dep_objs(tav_context *ctx, uint32_t master, int32_t x, int32_t y)
{
    return deepest_dependent(ctx, master, x, y, 0);
}

uint32_t tav_test_all_objects(tav_context *ctx, int32_t x, int32_t y)
{
    if (!ctx) return 0;
    if (const uint32_t op = operator_at(ctx, x, y)) return op;
    const uint32_t active = ctx->active_window;
    if (tav::object_at(ctx, active) && tav_in_object(ctx, active, x, y) == 1) return object_or_deepest(ctx, active, x, y);
    if (const uint32_t window = inactive_window_at(ctx, x, y)) return window;
    return loose_object_at(ctx, x, y);
}

int32_t tav_get_mouse_selection(tav_context *ctx, uint32_t button_a, uint32_t button_b)
{
    if (!ctx) return 0;
    return wait_for_selection(ctx, [&](uint32_t hit) { return hit == button_a || hit == button_b || hit == kCloseOperator; });
}

int32_t tav_get_mono_mouse_selection(tav_context *ctx, uint32_t button)
{
    if (!ctx) return 0;
    return wait_for_selection(ctx, [&](uint32_t hit) { return hit == button || hit == kCloseOperator; });
}
