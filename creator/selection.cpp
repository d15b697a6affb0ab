// The selected working object and the edit stage (window 143): selecting,
// master mode, the selection panel (window 199) and the mouse tools that
// move, resize and centre the selected object.
#include "selection.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include <SDL2/SDL.h>

namespace creator {

namespace {

// The text record of `object`, or nullptr when it has none or its number
// lies beyond the records the start-up asked for.
tav_text_record *record_of(const Editor &ed, uint32_t object)
{
    const tav_object *o = object_at(ed, object);
    if (!o || !ed.ctx->text_records || o->text_record == 0) return nullptr;
    if (o->text_record > ed.ctx->text_record_count + MAX_WORKING_STREAMS) return nullptr;
    return &ed.ctx->text_records[o->text_record];
}

// Working number of the object with index `index`; 0 for none.
int32_t working_number(const Editor &ed, uint32_t index)
{
    return index > ed.ctx->object_count ? int32_t(index - ed.ctx->object_count) : 0;
}

// A number into a one-line field, padded with "0" to four digits when asked.
void show_number(Editor &ed, uint32_t field, int32_t value, bool four_digits)
{
    char text[16];
    std::snprintf(text, sizeof text, four_digits ? "%04d" : "%d", value);
    set_caption(ed, field, text);
}

void show_position(Editor &ed, int32_t x, int32_t y)
{
    show_number(ed, STAGE_X, x, false);
    show_number(ed, STAGE_Y, y, false);
    show_number(ed, GEOMETRY_X, x, true);
    show_number(ed, GEOMETRY_Y, y, true);
}

// Moves an object by (dx, dy), its text cursor and its dependents with it.
void move_along(Editor &ed, uint32_t object, int32_t dx, int32_t dy)
{
    tav_object *o = object_at(ed, object);
    if (!o || (dx == 0 && dy == 0)) return;
    o->x = wrapped_add(o->x, dx);
    o->y = wrapped_add(o->y, dy);
    if (o->editable == 1) {
        o->cursor_x = wrapped_add(o->cursor_x, dx);
        o->cursor_y = wrapped_add(o->cursor_y, dy);
    }
    if (o->dependents[0] != 0) tav_update_dep_objs_after_move(ed.ctx, object, dx, dy);
}

void move_to(Editor &ed, uint32_t object, int32_t x, int32_t y)
{
    if (const tav_object *o = object_at(ed, object)) move_along(ed, object, wrapped_sub(x, o->x), wrapped_sub(y, o->y));
}

// Gives the text cursor to an object that goes on the stage, or to the
// first of its dependents that takes one.
void cursor_home(Editor &ed, uint32_t object)
{
    const tav_object *o = object_at(ed, object);
    if (!o) return;
    ed.ctx->cursor_object = o->editable == 1 ? object : tav_check_cursor_dep_objs(ed.ctx, object);
    tav_initiate_cursor_win(ed.ctx, object);
}

// Moves a staged object to the stage's fixed place; returns its shift.
void put_on_stage(Editor &ed, uint32_t object)
{
    const tav_object &stage = ui(ed, STAGE_WINDOW);
    const tav_object *o = object_at(ed, object);
    if (!o) return;
    ed.state.stage_dx = wrapped_sub(wrapped_add(stage.x, STAGE_LEFT), o->x);
    ed.state.stage_dy = wrapped_sub(wrapped_add(stage.y, STAGE_TOP), o->y);
    move_along(ed, object, ed.state.stage_dx, ed.state.stage_dy);
}

// The selected object's master's design number and its working number.
void take_master_of(Editor &ed, const tav_object &o)
{
    ed.state.saved_master = o.master;
    ed.state.master_number = working_number(ed, o.master);
}

}  // namespace

// ---------------------------------------------------------------------------
// Stage operations
// ---------------------------------------------------------------------------

void stage_selected(Editor &ed)
{
    creator_state &s = ed.state;
    tav_object *o = object_at(ed, s.selected_index);
    if (!o) return;
    set_caption(ed, MODE_BUTTON, "Selected Object");
    s.saved_hidden = o->hidden;
    s.saved_pinned = o->pinned;
    o->master = STAGE_WINDOW;
    ui(ed, STAGE_WINDOW).dependents[12] = s.selected_index;
    o->pinned = 0;
    o->hidden = 0;
    cursor_home(ed, s.selected_index);
    s.design_x = o->x;
    s.design_y = o->y;
    put_on_stage(ed, s.selected_index);
}

void unstage_selected(Editor &ed)
{
    creator_state &s = ed.state;
    tav_object *o = object_at(ed, s.selected_index);
    if (!o) return;
    o->pinned = s.saved_pinned;
    o->master = s.saved_master;
    o->hidden = s.saved_hidden;
    move_to(ed, s.selected_index, s.design_x, s.design_y);
}

void stage_master(Editor &ed)
{
    creator_state &s = ed.state;
    tav_object *m = object_at(ed, s.selected_master);
    const tav_object *o = object_at(ed, s.selected_index);
    if (!m || !o) return;
    set_caption(ed, MODE_BUTTON, "Master Object");
    s.saved_master_hidden = m->hidden;
    m->hidden = 0;
    m->master = STAGE_WINDOW;
    ui(ed, STAGE_WINDOW).dependents[14] = s.selected_master;
    cursor_home(ed, s.selected_master);
    s.master_design_x = m->x;
    s.master_design_y = m->y;
    s.design_x = o->x;
    s.design_y = o->y;
    show_position(ed, s.design_x, s.design_y);
    put_on_stage(ed, s.selected_master);
}

void unstage_master(Editor &ed)
{
    creator_state &s = ed.state;
    tav_object *m = object_at(ed, s.selected_master);
    if (!m) return;
    m->master = 0;
    ui(ed, STAGE_WINDOW).dependents[14] = 0;
    m->hidden = s.saved_master_hidden;
    move_to(ed, s.selected_master, s.master_design_x, s.master_design_y);
}

void highlight_selected(Editor &ed)
{
    creator_state &s = ed.state;
    tav_object *o = object_at(ed, s.selected_index);
    if (!o) return;
    s.saved_border_style = o->border_style;
    s.saved_border_distance = o->border_distance;
    s.saved_border_r = o->border_r;
    s.saved_border_g = o->border_g;
    s.saved_border_b = o->border_b;
    o->border_style = (s.saved_border_style == 2 || s.saved_border_style == 3) ? 5 : 4;
    o->border_distance = 0;
    o->border_r = 255;
    o->border_g = 255;
    o->border_b = 0;
}

void restore_selected_border(Editor &ed)
{
    const creator_state &s = ed.state;
    tav_object *o = object_at(ed, s.selected_index);
    if (!o) return;
    o->border_style = s.saved_border_style;
    o->border_distance = s.saved_border_distance;
    o->border_r = s.saved_border_r;
    o->border_g = s.saved_border_g;
    o->border_b = s.saved_border_b;
}

StagePlace lift_from_stage(Editor &ed)
{
    const creator_state &s = ed.state;
    const uint32_t staged = s.master_mode == 1 ? s.selected_master : s.selected_index;
    const tav_object *o = s.selected_index != 0 ? object_at(ed, staged) : nullptr;
    if (!o) return {0, 0, 0};
    const StagePlace place = {staged, o->x, o->y};
    if (s.master_mode == 1) {
        restore_selected_border(ed);
        unstage_master(ed);
    } else {
        unstage_selected(ed);
    }
    return place;
}

void put_back_on_stage(Editor &ed, const StagePlace &place)
{
    tav_object *o = object_at(ed, place.object);
    if (!o) return;
    if (ed.state.master_mode == 1) {
        highlight_selected(ed);
        ui(ed, STAGE_WINDOW).dependents[14] = place.object;
    } else {
        o->pinned = 0;
    }
    o->master = STAGE_WINDOW;
    o->hidden = 0;
    move_to(ed, place.object, place.x, place.y);
}

// The stage's tool row: in master mode the move and centre buttons join it
// and the undo button steps aside for them.
void enter_master_layout(Editor &ed)
{
    tav_object &stage = ui(ed, STAGE_WINDOW);
    for (uint32_t k = 0; k < 11; ++k) stage.dependents[3 + k] = MOVE_BUTTON + k;
    for (uint32_t button : {MOVE_BUTTON, CENTRE_BUTTON}) {
        ui(ed, button).master = STAGE_WINDOW;
        ui(ed, button).hidden = 0;
    }
    if (ui(ed, UNDO_BUTTON).x == ui(ed, MOVE_BUTTON).x) move_along(ed, UNDO_BUTTON, UNDO_SHIFT, 0);
}

void leave_master_layout(Editor &ed)
{
    tav_object &stage = ui(ed, STAGE_WINDOW);
    for (uint32_t k = 0; k < 9; ++k) stage.dependents[3 + k] = UNDO_BUTTON + k;
    stage.dependents[12] = ed.state.selected_index;
    stage.dependents[13] = 0;
    // The undo button goes back only when master mode had moved it.
    if (ui(ed, MOVE_BUTTON).master == STAGE_WINDOW) move_along(ed, UNDO_BUTTON, -UNDO_SHIFT, 0);
    for (uint32_t button : {MOVE_BUTTON, CENTRE_BUTTON}) {
        ui(ed, button).master = 0;
        ui(ed, button).hidden = 1;
    }
}

// ---------------------------------------------------------------------------
// Selecting
// ---------------------------------------------------------------------------

namespace {

// Looks for decided_object below `object`, at most 100 entries a list.
// Every object is visited at most once in a sound design; `budget` ends the
// walk when a damaged design's dependents lead round in a circle.
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

// Mode after selecting `object` whose top master is `top`: master mode
// holds only while the object lies below a master other than itself.
int32_t mode_for(const Editor &ed, const tav_object &object, uint32_t top)
{
    if (ed.state.master_mode == 0 || top == 0) return 0;
    return object.master == STAGE_WINDOW ? 0 : 1;
}

// Takes the previous selection off the stage, by the mode it was staged in.
void unstage_previous(Editor &ed, int32_t old_mode)
{
    if (ed.state.selected_index == 0) {
        leave_master_layout(ed);
    } else if (old_mode == 0) {
        unstage_selected(ed);
    } else {
        leave_master_layout(ed);
        restore_selected_border(ed);
        unstage_master(ed);
    }
}

}  // namespace

int32_t is_in_dependents_tree(const Editor &ed, uint32_t object)
{
    uint32_t budget = ed.object_capacity;
    return in_subtree(ed, object, budget) ? 1 : 0;
}

void select_working_object(Editor &ed, uint32_t number, int32_t redraw_flag)
{
    creator_state &s = ed.state;
    if (number > s.number_of_working_objects) return;
    s.selected_number = number;
    const uint32_t index = ed.ctx->object_count + number;
    tav_object *o = object_at(ed, index);
    if (!o || index == s.selected_index) return;

    const uint32_t top = tav_search_master(ed.ctx, index);
    const int32_t old_mode = s.master_mode;
    s.master_mode = mode_for(ed, *o, top);
    const bool had_selection = s.selected_index != 0;
    if (s.master_mode == 0) {
        unstage_previous(ed, old_mode);
        s.selected_index = index;
        s.selected_master = tav_search_master(ed.ctx, index);
        take_master_of(ed, *o);
        stage_selected(ed);
    } else if (top == STAGE_WINDOW) {
        // Inside the staged master: only the marking border moves.
        if (had_selection) restore_selected_border(ed);
        s.design_x = wrapped_sub(o->x, s.stage_dx);
        s.design_y = wrapped_sub(o->y, s.stage_dy);
        take_master_of(ed, *o);
        s.selected_index = index;
        cursor_home(ed, index);
        highlight_selected(ed);
    } else {
        if (had_selection) {
            restore_selected_border(ed);
            unstage_master(ed);
        }
        take_master_of(ed, *o);
        s.selected_index = index;
        s.selected_master = tav_search_master(ed.ctx, index);
        highlight_selected(ed);
        stage_master(ed);
    }

    show_number(ed, STAGE_X, s.design_x, false);
    show_number(ed, STAGE_Y, s.design_y, false);
    show_number(ed, STAGE_W, o->w, false);
    show_number(ed, STAGE_H, o->h, false);
    refresh_selection_panel(ed, 1);
    sync_text_editors(ed);
    if (redraw_flag == 1) redraw(ed);
}

void toggle_master_mode(Editor &ed, int32_t redraw_flag)
{
    creator_state &s = ed.state;
    const int32_t wanted = (s.master_mode == 0 && s.selected_master != 0) ? 1 : 0;
    if (wanted == s.master_mode) return;
    s.master_mode = wanted;
    if (wanted == 0) {
        restore_selected_border(ed);
        unstage_master(ed);
        stage_selected(ed);
        leave_master_layout(ed);
    } else {
        unstage_selected(ed);
        highlight_selected(ed);
        enter_master_layout(ed);
        stage_master(ed);
    }
    if (redraw_flag == 1) tav_draw_and_screenup_selected_window(ed.ctx);
}

// ---------------------------------------------------------------------------
// The selection panel
// ---------------------------------------------------------------------------

int listing_line(char *out, size_t size, uint32_t position, uint32_t number)
{
    return std::snprintf(out, size, "move_with %u %u\n", position, number);
}

namespace {

// The neighbours of the selected object in its master's list.
void find_neighbours(Editor &ed)
{
    creator_state &s = ed.state;
    const tav_object *master = object_at(ed, s.saved_master);
    if (!master) return;
    for (uint32_t k = 0; k < TAV_MAX_DEPENDENTS && master->dependents[k] != 0; ++k) {
        if (master->dependents[k] != s.selected_index) continue;
        if (k > 0) s.previous_number = working_number(ed, master->dependents[k - 1]);
        if (k + 1 < TAV_MAX_DEPENDENTS) s.next_number = working_number(ed, master->dependents[k + 1]);
        return;
    }
}

// Lists the selected object's dependents over the three listing fields, one
// line a position; a line that does not fit goes on in the next field.
void fill_listing(Editor &ed, const tav_object *selected)
{
    const uint32_t fields[] = {LISTING_FIRST, LISTING_SECOND, LISTING_THIRD};
    uint32_t last = 0;  // one past the last nonzero entry
    if (selected)
        for (uint32_t k = 0; k < TAV_MAX_DEPENDENTS; ++k)
            if (selected->dependents[k] != 0) last = k + 1;

    size_t f = 0, length = 0;
    uint32_t lines = 0;
    for (uint32_t p = 0; p < last && f < 3; ++p) {
        char line[48];
        const int n = listing_line(line, sizeof line, p, uint32_t(working_number(ed, selected->dependents[p])));
        while (f < 3 && (length + size_t(n) > LISTING_LINE_LIMIT || lines >= TAV_MAX_LINES)) {
            ++f;
            length = 0;
            lines = 0;
        }
        tav_text_record *record = f < 3 ? record_of(ed, fields[f]) : nullptr;
        if (!record) break;
        std::memcpy(record->text + length, line, size_t(n) + 1);
        length += size_t(n);
        ++lines;
    }
    for (uint32_t field : fields) tav_format_object_text(ed.ctx, field);
}

}  // namespace

void refresh_selection_panel(Editor &ed, int32_t load_forms)
{
    creator_state &s = ed.state;
    const tav_object *o = object_at(ed, s.selected_index);
    s.previous_number = s.next_number = s.first_dependent_number = 0;
    s.stream_number = o && o->text_record > ed.ctx->text_record_count
                          ? int32_t(o->text_record - ed.ctx->text_record_count) : 0;

    set_caption(ed, FILE_NAME_LABEL, s.file_name);
    show_number(ed, PANEL_WORKING_COUNT, int32_t(s.number_of_working_objects), false);
    show_number(ed, PANEL_SELECTED, int32_t(s.selected_number), true);
    show_form_titles(ed);

    s.master_number = working_number(ed, s.saved_master);
    find_neighbours(ed);
    if (o) s.first_dependent_number = working_number(ed, o->dependents[0]);
    show_number(ed, PANEL_MASTER, s.master_number, false);
    show_number(ed, PANEL_PREVIOUS, s.previous_number, false);
    show_number(ed, PANEL_NEXT, s.next_number, false);
    show_number(ed, PANEL_FIRST_DEPENDENT, s.first_dependent_number, false);

    for (uint32_t field : {LISTING_FIRST, LISTING_SECOND, LISTING_THIRD}) {
        if (tav_text_record *record = record_of(ed, field)) record->text[0] = '\0';
        const tav_object &f = ui(ed, field);
        if (f.text_record != 0 && ed.ctx->line_buffers && record_of(ed, field))
            for (auto &line : ed.ctx->line_buffers[f.text_record].lines) line[0] = '\0';
    }
    fill_listing(ed, o);

    if (load_forms == 1)
        for (Form form : {GEOMETRY_FORM, BEHAVIOUR_FORM, TEXT_FORM, COLOUR_FORM}) load_and_show_form(ed, form);
}

namespace {

// The text editor that fits an object: the stream editor for the kinds
// that show a text record (when it has one), the short-text editor for
// those that show their own text, none for the others.
uint32_t editor_for(const Editor &ed, const tav_object &o)
{
    switch (o.kind) {
    case TAV_KIND_WINDOW:
    case TAV_KIND_TEXT:
    case TAV_KIND_CHAIN: return record_of(ed, ed.state.selected_index) ? uint32_t(STREAM_WINDOW) : 0;
    case TAV_KIND_LABEL:
    case TAV_KIND_ENTRY: return SHORT_TEXT_WINDOW;
    default: return 0;
    }
}

bool is_open(const Editor &ed, uint32_t window)
{
    return ui(ed, window).hidden == 0;
}

}  // namespace

// An open text editor always shows the selected object's text. An editor
// that does not fit the selection is closed, not merely hidden: a hidden
// window left in the window stack would come back when a window above it
// closes, and its OK would write the other object's text into this one.
void sync_text_editors(Editor &ed)
{
    const tav_object *o = object_at(ed, ed.state.selected_index);
    if (!o || (!is_open(ed, STREAM_WINDOW) && !is_open(ed, SHORT_TEXT_WINDOW))) return;
    const uint32_t fitting = editor_for(ed, *o);
    for (uint32_t window : {STREAM_WINDOW, SHORT_TEXT_WINDOW})
        if (window != fitting && is_open(ed, window)) tav_close_win(ed.ctx, window);
    if (fitting == 0) return;
    if (!is_open(ed, fitting)) {
        ed.ctx->decided_object = fitting;
        tav_activate_window(ed.ctx);
    }
    if (fitting == STREAM_WINDOW)
        load_stream_editor(ed);
    else
        load_short_text_editor(ed);
}

// ---------------------------------------------------------------------------
// Selection panel buttons
// ---------------------------------------------------------------------------

namespace {

int32_t typed_number(const Editor &ed, uint32_t field)
{
    int32_t number = 0;
    tav_transform_str_to_num(ui(ed, field).text, &number);
    return number;
}

}  // namespace

void go_to_object_number(Editor &ed)
{
    creator_state &s = ed.state;
    const int32_t number = typed_number(ed, PANEL_SELECTED);
    if (number > 0 && uint32_t(number) <= s.number_of_working_objects) {
        s.selected_number = uint32_t(number);
        select_working_object(ed, s.selected_number, 1);
        return;
    }
    show_number(ed, PANEL_SELECTED, int32_t(s.selected_number), true);
    show_notice(ed, "Object no. shall not be zero or higher than number of objects.", "Okey");
    open_window(ed, SELECTION_WINDOW);
}

void add_working_objects(Editor &ed)
{
    creator_state &s = ed.state;
    const int32_t typed = typed_number(ed, ADD_COUNT_FIELD);
    if (typed <= 0) return;
    const uint32_t room = s.number_of_working_objects < MAX_WORKING_OBJECTS
                              ? MAX_WORKING_OBJECTS - s.number_of_working_objects : 0;
    const uint32_t count = uint32_t(typed) < room ? uint32_t(typed) : room;
    tav_close_win(ed.ctx, 0);
    s.number_of_working_objects += count;
    refresh_selection_panel(ed, 0);
    redraw(ed);
}

// ---------------------------------------------------------------------------
// Mouse tools
// ---------------------------------------------------------------------------

namespace {

// What a mouse tool does with each movement of the pointer.
using PointerStep = void (*)(Editor &ed, int32_t x, int32_t y);

// Runs a mouse tool until the left button is pressed. The pending events
// are taken together and the screen is drawn once a tick at most, like the
// main loop; an idle tool sleeps until the next event. A request to quit
// ends the tool too and is handed on to the main loop.
void track_pointer(Editor &ed, PointerStep step)
{
    Uint32 next_tick = SDL_GetTicks();
    bool moved = false;
    for (;;) {
        SDL_Event event;
        if (!SDL_WaitEventTimeout(&event, int(tavapp::kTickMs))) event.type = SDL_FIRSTEVENT;
        if (event.type == SDL_QUIT) {
            SDL_PushEvent(&event);
            break;
        }
        if (event.type == SDL_MOUSEBUTTONDOWN && event.button.button == SDL_BUTTON_LEFT) break;
        if (event.type == SDL_MOUSEMOTION) {
            step(ed, event.motion.x, event.motion.y);
            moved = true;
        }
        if (moved && SDL_TICKS_PASSED(SDL_GetTicks(), next_tick)) {
            redraw(ed);
            moved = false;
            next_tick = SDL_GetTicks() + tavapp::kTickMs;
        }
    }
    if (moved) redraw(ed);
}

// Puts the object's corner on the pointer and shows where that is in the
// design: the stage shifted the object (or its master) by the stage offset.
void move_step(Editor &ed, int32_t x, int32_t y)
{
    creator_state &s = ed.state;
    const tav_object *o = object_at(ed, s.selected_index);
    if (!o) return;
    tav_undraw_object(ed.ctx, s.selected_index);
    move_along(ed, s.selected_index, wrapped_sub(x, o->x), wrapped_sub(y, o->y));
    show_position(ed, wrapped_sub(o->x, s.stage_dx), wrapped_sub(o->y, s.stage_dy));
}

void resize_step(Editor &ed, int32_t x, int32_t y)
{
    creator_state &s = ed.state;
    tav_object *o = object_at(ed, s.selected_index);
    if (!o) return;
    bool changed = false;
    if (x > o->x && wrapped_sub(x, o->x) != o->w) {
        o->w = s.form.w = wrapped_sub(x, o->x);
        show_number(ed, STAGE_W, o->w, false);
        show_number(ed, GEOMETRY_W, o->w, true);
        changed = true;
    }
    if (y > o->y && wrapped_sub(y, o->y) != o->h) {
        o->h = s.form.h = wrapped_sub(y, o->y);
        show_number(ed, STAGE_H, o->h, false);
        show_number(ed, GEOMETRY_H, o->h, true);
        changed = true;
    }
    if (!changed) return;
    if (o->kind == TAV_KIND_WINDOW || o->kind == TAV_KIND_TEXT) tav_format_object_text(ed.ctx, s.selected_index);
    if (o->kind == TAV_KIND_LABEL || o->kind == TAV_KIND_ENTRY || o->kind == TAV_KIND_NUMBER)
        tav_format_small_obj(ed.ctx, s.selected_index);
    tav_undraw_object(ed.ctx, s.selected_index);
}

}  // namespace

void move_with_mouse(Editor &ed)
{
    creator_state &s = ed.state;
    const tav_object *o = object_at(ed, s.selected_index);
    if (!o) return;
    const int32_t start_x = o->x, start_y = o->y;
    track_pointer(ed, move_step);
    s.design_x = wrapped_add(s.design_x, wrapped_sub(o->x, start_x));
    s.design_y = wrapped_add(s.design_y, wrapped_sub(o->y, start_y));
    s.form.x = s.design_x;
    s.form.y = s.design_y;
}

void resize_with_mouse(Editor &ed)
{
    if (!object_at(ed, ed.state.selected_index)) return;
    track_pointer(ed, resize_step);
}

void centre_in_master(Editor &ed)
{
    creator_state &s = ed.state;
    const tav_object *o = object_at(ed, s.selected_index);
    const tav_object *p = o ? object_at(ed, o->master) : nullptr;
    if (!p || o->w >= p->w) return;
    const int32_t d = int32_t(uint32_t(int64_t(p->x) - 1 + (int64_t(p->w) - o->w) / 2 - o->x));
    move_along(ed, s.selected_index, d, 0);
    s.design_x = wrapped_add(s.design_x, d);
    s.form.x = s.design_x;
    // The readout and the form show design positions like everywhere else:
    // the stage position here would be taken back by the next Apply of the
    // geometry form as a move by the stage offset.
    show_position(ed, s.design_x, s.design_y);
    redraw(ed);
}

void undo_move(Editor &ed)
{
    creator_state &s = ed.state;
    if (!object_at(ed, s.selected_index)) return;
    s.form.x = s.form_saved.x;
    s.form.y = s.form_saved.y;
    s.form.w = s.form_saved.w;
    s.form.h = s.form_saved.h;
    s.design_x = s.form_saved.x;
    s.design_y = s.form_saved.y;
    // The stage shifted the object (or its master, with the object inside)
    // by the stage offset; the design position plus that offset is where
    // the saved position stands on the stage.
    move_to(ed, s.selected_index, wrapped_add(s.design_x, s.stage_dx), wrapped_add(s.design_y, s.stage_dy));
    show_position(ed, s.design_x, s.design_y);
    redraw(ed);
}

void undo_last_mouse_tool(Editor &ed)
{
    creator_state &s = ed.state;
    tav_object *o = object_at(ed, s.selected_index);
    if (!o) return;
    if (s.last_mouse_tool == 2) {
        undo_move(ed);
    } else if (s.last_mouse_tool == 1) {
        o->w = s.form.w = s.form_saved.w;
        o->h = s.form.h = s.form_saved.h;
        show_number(ed, STAGE_W, o->w, false);
        show_number(ed, STAGE_H, o->h, false);
        show_number(ed, GEOMETRY_W, o->w, true);
        show_number(ed, GEOMETRY_H, o->h, true);
        redraw(ed);
    }
}


}  // namespace creator
