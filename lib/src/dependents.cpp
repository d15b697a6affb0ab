// Move-with lists: every object lists the objects that depend on it in its
// `dependents` array, packed from entry 0 and ended by the first 0. Here are
// the list operations and the walks that move a subtree with its master and
// place the text cursors of a window's fields.
#include "tavrin.h"

#include "internal.h"
#include "subtree_walk.h"

namespace {

bool has_size(const tav_object &o)
{
    return o.w != 0 && o.h != 0;
}

bool cursor_moves_with_object(const tav_object &o)
{
    switch (o.kind) {
    case TAV_KIND_WINDOW:
    case TAV_KIND_TEXT:
    case TAV_KIND_ENTRY:
    case TAV_KIND_NUMBER:
    case TAV_KIND_CHAIN:
        return true;
    default:
        return false;
    }
}

void shift(tav_object &o, int32_t dx, int32_t dy, bool with_cursor)
{
    o.x += dx;
    o.y += dy;
    if (with_cursor) {
        o.cursor_x += dx;
        o.cursor_y += dy;
    }
}

// A cursor that has never been placed sits at (0, 0); it goes to the start
// of the object's text area. A placed cursor is left where the user put it.
void place_new_cursor(tav_object &o)
{
    if (o.cursor_x != 0 || o.cursor_y != 0) return;
    o.cursor_x = o.x + o.margin_left;
    o.cursor_y = o.y + o.margin_top;
    o.cursor_row = 0;
    o.cursor_column = 0;
}

}  // namespace

uint32_t tav_get_free_dep_object(tav_context *ctx, uint32_t master)
{
    const tav_object *m = tav::object_at(ctx, master);
    if (!m) return TAV_NOT_FOUND;
    for (uint32_t i = 0; i < TAV_MAX_DEPENDENTS; ++i)
        if (m->dependents[i] == 0) return i;
    return TAV_NOT_FOUND;
}

uint32_t tav_get_move_with_nr(tav_context *ctx, uint32_t master, uint32_t object)
{
    const tav_object *m = tav::object_at(ctx, master);
    // 0 stands for "none" and is never an entry of a list.
    if (!m || object == 0) return TAV_NOT_FOUND;
    for (uint32_t i = 0; i < TAV_MAX_DEPENDENTS; ++i)
        if (m->dependents[i] == object) return i;
    return TAV_NOT_FOUND;
}

void tav_delete_old_move_with_number(tav_context *ctx, uint32_t master, uint32_t object)
{
    const uint32_t i = tav_get_move_with_nr(ctx, master, object);
    if (i == TAV_NOT_FOUND) return;
    tav_object *m = tav::object_at(ctx, master);
    uint32_t last = i;
    for (uint32_t from = i + 1; from < TAV_MAX_DEPENDENTS && m->dependents[from] != 0; ++from) {
        m->dependents[from - 1] = m->dependents[from];
        last = from;
    }
    m->dependents[last] = 0;
}

void tav_add_difference_toxy_dep_objs(tav_context *ctx, uint32_t master, int32_t dx, int32_t dy)
{
    // Objects switched off by a zero size stay where they are, with their subtrees.
    tav::walk_subtree(ctx, master, [dx, dy](uint32_t, tav_object &d) {
        if (!has_size(d)) return tav::WalkStep::skip;
        shift(d, dx, dy, d.editable == 1);
        return tav::WalkStep::descend;
    });
}

void tav_update_dep_objs_after_move(tav_context *ctx, uint32_t master, int32_t dx, int32_t dy)
{
    tav::walk_subtree(ctx, master, [dx, dy](uint32_t, tav_object &d) {
        shift(d, dx, dy, d.editable == 1 && cursor_moves_with_object(d));
        return tav::WalkStep::descend;
    });
}

uint32_t tav_check_cursor_dep_objs(tav_context *ctx, uint32_t master)
{
    uint32_t found = 0;
    tav::walk_subtree(ctx, master, [&found](uint32_t n, tav_object &d) {
        if (!has_size(d)) return tav::WalkStep::skip;
        if (d.editable == 1) {
            found = n;
            return tav::WalkStep::stop;
        }
        return d.editable == 0 ? tav::WalkStep::descend : tav::WalkStep::skip;
    });
    return found;
}

void tav_initiate_cursor_win(tav_context *ctx, uint32_t window)
{
    tav_object *w = tav::object_at(ctx, window);
    if (!w) return;
    if (w->editable == 1) place_new_cursor(*w);
    tav_initiate_cursor_dep_objs(ctx, window);
}

void tav_initiate_cursor_dep_objs(tav_context *ctx, uint32_t master)
{
    tav::walk_subtree(ctx, master, [](uint32_t, tav_object &d) {
        if (!has_size(d)) return tav::WalkStep::skip;
        if (d.editable == 1 && d.kind != TAV_KIND_EMPTY) place_new_cursor(d);
        return tav::WalkStep::descend;
    });
}
