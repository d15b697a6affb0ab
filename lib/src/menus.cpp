// Pop-up menus: an object whose dependents are the items, shown until the
// user clicks an item or leaves the menu with the pointer.
#include <cstdint>

#include "events.h"
#include "internal.h"
#include "tavrin.h"
#include "windowing.h"

namespace {

constexpr int32_t kHighlightShade = 20;  // the hovered item is this much darker

// The hovered item and the colour channels its highlight darkened, so that
// exactly those can be given back.
struct Highlight {
    uint32_t item = 0;
    bool darkened[3] = {false, false, false};
};

int32_t tav_object::*const kFillChannels[3] = {&tav_object::fill_r, &tav_object::fill_g, &tav_object::fill_b};

void darken(tav_context *ctx, Highlight &hl, uint32_t item)
{
    hl.item = item;
    tav_object *o = tav::object_at(ctx, item);
    for (int c = 0; c < 3; ++c) {
        hl.darkened[c] = o && o->*kFillChannels[c] > kHighlightShade;
        if (hl.darkened[c]) o->*kFillChannels[c] -= kHighlightShade;
    }
}

void restore(tav_context *ctx, Highlight &hl)
{
    tav_object *o = tav::object_at(ctx, hl.item);
    for (int c = 0; c < 3; ++c) {
        if (o && hl.darkened[c]) o->*kFillChannels[c] += kHighlightShade;
        hl.darkened[c] = false;
    }
    hl.item = 0;
}

// The first visible item under the point, in list order; 0 for none.
uint32_t item_at(tav_context *ctx, const tav_object *menu, int32_t x, int32_t y)
{
    return tav::find_dependent(menu, [&](uint32_t item) {
        const tav_object *o = tav::object_at(ctx, item);
        return o && o->hidden == 0 && o->w != 0 && o->h != 0 && tav_in_object(ctx, item, x, y) == 1;
    });
}

void draw_menu(tav_context *ctx, uint32_t menu)
{
    tav_evoke_object(ctx, menu);
    tav_draw_dep_objs(ctx, menu);
}

// The menu's visible box; the last visible column and row still belong to it.
struct Box {
    int64_t left, right, top, bottom;
};

Box visible_box(tav_context *ctx, uint32_t menu, const tav_object *m)
{
    const int64_t wv = tav_p_cutted_w_independent(ctx, menu), hv = tav_p_cutted_h_independent(ctx, menu);
    return Box{m->x, int64_t(m->x) + wv - 1, m->y, int64_t(m->y) + hv - 1};
}

// A drop-down menu (mode 1) may be left upwards onto its title until the
// pointer has been over an item once; every other way out closes the menu.
bool pointer_left(const Box &box, int32_t px, int32_t py, int32_t mode, bool entered)
{
    if (px < box.left || px > box.right || py > box.bottom) return true;
    return py < box.top && (mode != 1 || entered);
}

bool is_left_release(const SDL_Event &e)
{
    return e.type == SDL_MOUSEBUTTONUP && e.button.button == SDL_BUTTON_LEFT && e.button.state == SDL_RELEASED;
}

}  // namespace

uint32_t tav_move_out_menu(tav_context *ctx, uint32_t menu, int32_t mode)
{
    tav_object *m = tav::object_at(ctx, menu);
    if (!m) return 0;
    ctx->event.type = 0;
    const Box box = visible_box(ctx, menu, m);
    m->hidden = 0;
    draw_menu(ctx, menu);
    tav_screenupdate(ctx);

    Highlight hl;
    bool entered = false;
    uint32_t chosen = 0;
    for (bool done = false; !done;) {
        const bool fresh = tav::next_event(&ctx->event);
        int px = 0, py = 0;
        SDL_GetMouseState(&px, &py);
        if (m->dependents[0] != 0) {
            const uint32_t hovered = item_at(ctx, m, px, py);
            if (hovered != 0) entered = true;
            if (hovered != 0 && hovered != hl.item) {
                restore(ctx, hl);
                darken(ctx, hl, hovered);
                draw_menu(ctx, menu);
                tav_screenupdate(ctx);
            }
            if (fresh && is_left_release(ctx->event)) {
                chosen = item_at(ctx, m, ctx->event.button.x, ctx->event.button.y);
                ctx->event.type = 0;
                done = true;
            }
        }
        // Leaving in the same turn as a click wins over the click.
        if (pointer_left(box, px, py, mode, entered)) {
            chosen = 0;
            done = true;
        }
    }

    tav_undraw_object(ctx, menu);
    m->hidden = 1;
    restore(ctx, hl);
    tav_screenupdate(ctx);
    return chosen;
}
