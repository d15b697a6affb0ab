// Copying the properties of one working object onto another, erasing a
// range of working objects, and keeping the design's text records packed at
// the low end of their range.
#include <SDL_image.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "creator.h"
#include "resources.h"
#include "selection.h"

namespace creator {

namespace {

// Working text record r, or nullptr when r lies outside the design's range
// (text_record_count + 1 .. text_record_count + MAX_WORKING_STREAMS).
tav_text_record *working_record(const Editor &ed, uint32_t r)
{
    const tav_context *ctx = ed.ctx;
    if (!ctx->text_records || r <= ctx->text_record_count) return nullptr;
    if (r > ctx->text_record_count + MAX_WORKING_STREAMS) return nullptr;
    return &ctx->text_records[r];
}

// Moves record `from` into the free record `to` and points its owner at it.
void move_record(Editor &ed, uint32_t from, uint32_t to)
{
    tav_text_record *src = working_record(ed, from);
    tav_text_record *dst = working_record(ed, to);
    if (!src || !dst) return;
    std::memcpy(dst->text, src->text, sizeof dst->text);
    dst->owner = src->owner;
    if (tav_object *owner = object_at(ed, dst->owner)) owner->text_record = to;
    std::printf("object_number %d \n  \n", int(dst->owner));
    src->owner = 0;
    std::memset(src->text, 0, sizeof src->text);
}

}  // namespace

uint32_t highest_used_stream(const Editor &ed)
{
    for (uint32_t r = ed.state.highest_stream; r > ed.ctx->text_record_count; --r) {
        const tav_text_record *record = working_record(ed, r);
        if (record && record->owner != 0) return r;
    }
    return 0;
}

void compact_text_records(Editor &ed)
{
    creator_state &s = ed.state;
    // The top records may be free already (a design file with unused
    // records, or a record given back): only a record in use is moved down.
    s.highest_stream = highest_used_stream(ed);
    for (uint32_t i = ed.ctx->text_record_count + 1; i < s.highest_stream; ++i) {
        const tav_text_record *record = working_record(ed, i);
        if (!record) break;
        if (record->owner != 0) continue;
        move_record(ed, s.highest_stream, i);
        s.highest_stream = highest_used_stream(ed);
    }
}

uint32_t find_free_stream(Editor &ed)
{
    if (!ed.ctx->text_records) return 0;
    compact_text_records(ed);
    const uint32_t first = ed.ctx->text_record_count + 1;
    const uint32_t next = ed.state.highest_stream + 1 > first ? ed.state.highest_stream + 1 : first;
    return next <= ed.ctx->text_record_count + MAX_WORKING_STREAMS ? next : 0;
}

namespace {

constexpr uint32_t COPY_SOURCE_FIELD = 362, COPY_TARGET_FIELD = 364;
constexpr uint32_t ERASE_START_FIELD = 380, ERASE_END_FIELD = 382;

// Working object `n` (an object index), or nullptr when n is none of the
// design's objects.
tav_object *working_object(const Editor &ed, uint32_t n)
{
    if (n <= ed.ctx->object_count || n - ed.ctx->object_count > ed.state.number_of_working_objects) return nullptr;
    return object_at(ed, n);
}

// The working number typed into `field`; 0 when it names no working object.
uint32_t typed_working_number(const Editor &ed, uint32_t field)
{
    int32_t number = 0;
    tav_transform_str_to_num(ui(ed, field).text, &number);
    if (number <= 0 || !working_object(ed, ed.ctx->object_count + uint32_t(number))) return 0;
    return uint32_t(number);
}

uint32_t typed_object(const Editor &ed, uint32_t field)
{
    const uint32_t number = typed_working_number(ed, field);
    return number ? ed.ctx->object_count + number : 0;
}

// The notice window 258 with `message`, waiting for its "OK".
void notify(Editor &ed, const char *message)
{
    show_notice(ed, message, "OK");
}

// Asks in the two-button window 140 whether a small source may replace the
// text record of a big target; true for "Copy".
bool ask_copy_over_record(Editor &ed)
{
    tav_copy_st_last_part("Copy", ui(ed, RETRY_BUTTON).text);
    tav_copy_st_last_part("Cancel", ui(ed, QUIT_BUTTON).text);
    tav_load_window_text_buttons(ed.ctx, RETRY_WINDOW,
                                 "Source is small. Target is big. Do you want to copy and erase stream?", RETRY_BUTTON,
                                 QUIT_BUTTON);
    return tav_decide_window(ed.ctx, RETRY_WINDOW, RETRY_BUTTON, QUIT_BUTTON) == int32_t(RETRY_BUTTON);
}

// The text record that object n owns; nullptr when it has none in the
// design's range or the record names another owner.
tav_text_record *own_record(const Editor &ed, uint32_t n)
{
    const tav_object *o = object_at(ed, n);
    tav_text_record *record = o ? working_record(ed, o->text_record) : nullptr;
    return record && record->owner == n ? record : nullptr;
}

// A window, text field or chain member that shows a text record of its own.
bool is_big(const Editor &ed, uint32_t n)
{
    const tav_object *o = object_at(ed, n);
    if (!o || (o->kind != TAV_KIND_WINDOW && o->kind != TAV_KIND_TEXT && o->kind != TAV_KIND_CHAIN)) return false;
    return own_record(ed, n) != nullptr;
}

// Kinds whose text cursor belongs to the object.
bool takes_cursor(uint32_t kind)
{
    return kind == TAV_KIND_WINDOW || kind == TAV_KIND_TEXT || kind == TAV_KIND_ENTRY || kind == TAV_KIND_NUMBER ||
           kind == TAV_KIND_CHAIN;
}

// Gives object n a text record of its own unless it has one; false when
// every record is taken.
bool give_record(Editor &ed, uint32_t n)
{
    if (own_record(ed, n)) return true;
    const uint32_t r = find_free_stream(ed);
    tav_text_record *record = working_record(ed, r);
    tav_object *o = object_at(ed, n);
    if (!record || !o) return false;
    creator_state &s = ed.state;
    o->text_record = r;
    record->owner = n;
    if (r > s.highest_stream) s.highest_stream = r;
    s.streams_assigned += 1;
    return true;
}

// Takes object n's text record from it, emptied, and packs the records
// again; false when it owned none. A record that names another owner is
// left to that owner.
bool free_record(Editor &ed, uint32_t n)
{
    tav_object *o = object_at(ed, n);
    if (!o) return false;
    tav_text_record *record = own_record(ed, n);
    const uint32_t r = o->text_record;
    o->text_record = 0;
    if (!record) return false;
    record->owner = 0;
    std::memset(record->text, 0, sizeof record->text);
    creator_state &s = ed.state;
    if (s.streams_assigned > 0) s.streams_assigned -= 1;
    if (r == s.highest_stream) s.highest_stream = highest_used_stream(ed);
    compact_text_records(ed);
    return true;
}

// An image surface of the target's own showing what `source` shows: a copy
// of the source's surface, or its image file loaded again. Two objects never
// hold one surface, so erasing one cannot take the other's image.
SDL_Surface *own_image_like(const tav_object &source)
{
    if (source.image) return SDL_ConvertSurface(source.image, source.image->format, 0);
    char name[TAV_SHORT_TEXT_SIZE];
    copy_short_text(name, source.image_file);
    return IMG_Load(name);
}

// The top master of the selected object in the design (normal mode: the
// stage holds the selected object, not its master).
uint32_t design_top_master(Editor &ed)
{
    const uint32_t master = ed.state.saved_master;
    if (!master) return 0;
    const uint32_t top = tav_search_master(ed.ctx, master);
    return top ? top : master;
}

// ---------------------------------------------------------------------------
// Copying
// ---------------------------------------------------------------------------

enum class TextCopy { nothing, record, short_text };

// What text the copy carries, after giving the target a record or taking
// its record away as the kinds of both ask.
TextCopy prepare_text(Editor &ed, uint32_t s, uint32_t t)
{
    const bool big_source = is_big(ed, s), big_target = is_big(ed, t);
    if (big_source) return big_target || give_record(ed, t) ? TextCopy::record : TextCopy::nothing;
    if (!big_target) return TextCopy::short_text;
    if (!ask_copy_over_record(ed)) return TextCopy::nothing;
    free_record(ed, t);
    return TextCopy::short_text;
}

// The target stands where the source stands in the design: the selected
// object and whatever stands inside the stage are shifted by the stage.
void place_like(Editor &ed, uint32_t s, tav_object &target)
{
    const creator_state &st = ed.state;
    const tav_object &source = ed.ctx->objects[s];
    int32_t x = source.x, y = source.y;
    if (s == st.selected_index) {
        x = st.design_x, y = st.design_y;
    } else if (tav_search_master(ed.ctx, s) == STAGE_WINDOW) {
        x = wrapped_sub(x, st.stage_dx), y = wrapped_sub(y, st.stage_dy);
    }
    target.x = x, target.y = y;
    if (source.editable == 1 && takes_cursor(source.kind)) {
        target.cursor_x = wrapped_add(source.cursor_x, wrapped_sub(x, source.x));
        target.cursor_y = wrapped_add(source.cursor_y, wrapped_sub(y, source.y));
    }
}

// Size, colours, kind, font and the text layout values.
void copy_looks(Editor &ed, const tav_object &source, tav_object &target)
{
    target.w = source.w, target.h = source.h;
    target.fill_r = source.fill_r, target.fill_g = source.fill_g, target.fill_b = source.fill_b;
    if (target.kind == TAV_KIND_IMAGE) release_image(ed, target);
    target.kind = source.kind;
    if (source.kind == TAV_KIND_IMAGE) {
        target.image = own_image_like(source);
        if (!target.image) target.kind = TAV_KIND_IMAGE_FILE;  // loaded again when the design is opened
    }
    // The font is shared with the source; it is closed only when no object holds it.
    release_font(ed, target);
    target.font_state = source.font_state, target.font_size = source.font_size, target.own_font = source.own_font;
    copy_short_text(target.font_file, source.font_file);
    target.text_r = source.text_r, target.text_g = source.text_g, target.text_b = source.text_b;
    target.margin_left = source.margin_left, target.margin_right = source.margin_right;
    target.margin_top = source.margin_top, target.margin_bottom = source.margin_bottom;
    target.text_format = source.text_format, target.line_width = source.line_width;
    target.line_spacing = source.line_spacing;
}

void copy_text(Editor &ed, uint32_t s, uint32_t t, TextCopy text)
{
    tav_object &source = ed.ctx->objects[s], &target = ed.ctx->objects[t];
    if (text == TextCopy::short_text) {
        copy_short_text(target.text, source.text);
        tav_format_small_obj(ed.ctx, t);
        return;
    }
    // Looked up only now: handing out the target's record may have packed
    // the source's record into another place.
    const tav_text_record *from = own_record(ed, s);
    tav_text_record *to = own_record(ed, t);
    if (!from || !to) return;
    std::memcpy(to->text, from->text, sizeof to->text);
    to->text[sizeof to->text - 1] = '\0';
    tav_format_object_text(ed.ctx, t);
}

// Behaviour and border. The selected object's design values wait in the
// editor's state while it is on the stage; its border is its own again once
// master mode is left.
void copy_behaviour(Editor &ed, uint32_t s, tav_object &target)
{
    const creator_state &st = ed.state;
    const tav_object &source = ed.ctx->objects[s];
    const bool staged = s == st.selected_index;
    if (source.kind == TAV_KIND_WINDOW || source.kind == TAV_KIND_BOX)
        target.hidden = staged ? st.saved_hidden : source.hidden;
    target.window_style = source.window_style, target.editable = source.editable;
    target.text_length = source.text_length, target.capacity = source.capacity;
    target.border_style = source.border_style, target.border_distance = source.border_distance;
    target.border_r = source.border_r, target.border_g = source.border_g, target.border_b = source.border_b;
    target.scroll_extent_w = source.scroll_extent_w, target.scroll_extent_h = source.scroll_extent_h;
    copy_short_text(target.image_file, source.image_file);
    target.pinned = staged ? st.saved_pinned : source.pinned;
}

// The target leaves its master: it stands on its own at the source's place.
void detach(Editor &ed, uint32_t t)
{
    tav_object &target = ed.ctx->objects[t];
    if (target.master) tav_delete_old_move_with_number(ed.ctx, target.master, t);
    target.master = 0;
}

void copy_onto(Editor &ed, uint32_t s, uint32_t t, TextCopy text)
{
    creator_state &st = ed.state;
    const int32_t was_master_mode = st.master_mode;
    if (was_master_mode) toggle_master_mode(ed, 0);
    const bool target_selected = t == st.selected_index;
    if (target_selected) {
        restore_selected_border(ed);
        unstage_selected(ed);
    }
    tav_object &target = ed.ctx->objects[t];
    place_like(ed, s, target);
    copy_looks(ed, ed.ctx->objects[s], target);
    copy_text(ed, s, t, text);
    copy_behaviour(ed, s, target);
    detach(ed, t);
    if (target_selected) {
        st.saved_master = 0;
        st.master_number = 0;
        st.selected_master = 0;  // without a master there is no master mode to return to
        stage_selected(ed);
    }
    if (was_master_mode) toggle_master_mode(ed, 0);
}

// ---------------------------------------------------------------------------
// Erasing
// ---------------------------------------------------------------------------

// Forgets the design values that the stage keeps for the selected object.
void forget_staged_values(creator_state &s)
{
    s.design_x = s.design_y = 0;
    s.saved_border_style = s.saved_border_distance = 0;
    s.saved_border_r = s.saved_border_g = s.saved_border_b = 0;
    s.saved_pinned = s.saved_hidden = 0;
    s.form.master_number = 0;
    s.master_number = s.previous_number = s.next_number = s.first_dependent_number = 0;
}

// Empties every property of an erased object but its links.
void clear_object(Editor &ed, tav_object &o)
{
    o.x = o.y = o.w = o.h = 0;
    o.fill_r = o.fill_g = o.fill_b = 0;
    std::memset(o.text, 0, sizeof o.text);
    release_font(ed, o);
    o.font_state = o.font_size = 0;
    std::memset(o.font_file, 0, sizeof o.font_file);
    o.text_r = o.text_g = o.text_b = 0;
    o.margin_left = o.margin_right = o.margin_top = o.margin_bottom = 0;
    o.text_format = o.line_width = o.line_spacing = 0;
    o.hidden = 0;
    if (o.kind == TAV_KIND_IMAGE) release_image(ed, o);
    o.kind = 0;
    o.window_style = o.editable = 0;
    o.cursor_x = o.cursor_y = o.text_length = 0;
    o.cursor_row = o.cursor_column = o.capacity = 0;
    o.border_style = o.border_distance = 0;
    o.border_r = o.border_g = o.border_b = 0;
    o.offset_x = o.offset_y = 0;
    o.scroll_extent_w = o.scroll_extent_h = 0;
    std::memset(o.image_file, 0, sizeof o.image_file);
    o.pinned = 0;
}

// Takes object n out of its master's list and lets its dependents stand on
// their own; true when the selection panel shows something that changed.
bool unlink(Editor &ed, uint32_t n)
{
    creator_state &s = ed.state;
    tav_object &o = ed.ctx->objects[n];
    // Off the stage, the selected object's master is its design master again.
    const uint32_t old_master = o.master;
    bool refresh = old_master != 0 && (old_master == s.selected_index || old_master == s.saved_master);
    if (n == s.selected_index) s.saved_master = 0;
    if (old_master) tav_delete_old_move_with_number(ed.ctx, old_master, n);
    o.master = 0;
    for (uint32_t &entry : o.dependents) {
        if (entry == 0) break;
        if (entry == s.selected_index) {
            // The selected object stands on the stage; its design master goes.
            s.saved_master = 0;
            s.master_number = s.form.master_number = 0;
            refresh = true;
        } else if (tav_object *d = working_object(ed, entry); d && d->master == n) {
            d->master = 0;
        }
        entry = 0;
    }
    return refresh;
}

// The working copy of the forms emptied, but for the window style and the
// border colour.
void clear_form_values(creator_state &s)
{
    FormValues cleared;
    cleared.window_style = s.form.window_style;
    for (int i = 6; i < COLOUR_VALUES; ++i) cleared.colour[i] = s.form.colour[i];
    s.form = cleared;
}

}  // namespace

bool erase_object(Editor &ed, uint32_t n, int32_t keep_forms)
{
    creator_state &s = ed.state;
    tav_object *o = working_object(ed, n);
    if (!o) return false;
    // Erasing works on the design with only the selected object staged;
    // master mode comes back afterwards while the selection still has a master.
    const int32_t was_master_mode = s.master_mode;
    if (was_master_mode) toggle_master_mode(ed, 0);
    if (n == s.selected_master) s.saved_master_hidden = s.master_design_x = s.master_design_y = 0;

    const bool selected = n == s.selected_index;
    if (selected) {
        unstage_selected(ed);
        forget_staged_values(s);
    } else if (tav_search_master(ed.ctx, n) == STAGE_WINDOW) {
        // Inside the staged object: its dependents go back to their design
        // place, since they no longer move off the stage with it.
        tav_update_dep_objs_after_move(ed.ctx, n, wrapped_sub(0, s.stage_dx), wrapped_sub(0, s.stage_dy));
    }
    free_record(ed, n);
    clear_object(ed, *o);
    const bool refresh = unlink(ed, n) || selected;
    if (ed.ctx->cursor_object == n) ed.ctx->cursor_object = 0;
    s.selected_master = design_top_master(ed);

    if (selected) {
        // The selection stays, as an empty object on the stage.
        stage_selected(ed);
        if (keep_forms == 0) {
            clear_form_values(s);
            refresh_selection_panel(ed, 1);
            sync_text_editors(ed);
        }
    }
    if (was_master_mode) toggle_master_mode(ed, 0);
    return refresh;
}

void copy_object_data(Editor &ed)
{
    const uint32_t s = typed_object(ed, COPY_SOURCE_FIELD), t = typed_object(ed, COPY_TARGET_FIELD);
    if (s == 0 || t == 0) {
        notify(ed, "Source and Target must be >0 and <= number_of_working_objects.");
        open_window(ed, COPY_WINDOW);
        return;
    }
    // An object copied onto itself would change nothing but lose its master.
    const TextCopy text = s == t ? TextCopy::nothing : prepare_text(ed, s, t);
    if (text != TextCopy::nothing) {
        copy_onto(ed, s, t, text);
        notify(ed, "Successful copy of data.");
        for (Form form : {GEOMETRY_FORM, BEHAVIOUR_FORM, TEXT_FORM, COLOUR_FORM}) load_and_show_form(ed, form);
        // The copy may have given the selected object another text or kind.
        sync_text_editors(ed);
    }
    open_window(ed, COPY_WINDOW);
}

void erase_objects(Editor &ed)
{
    const uint32_t start = typed_working_number(ed, ERASE_START_FIELD);
    const uint32_t end = typed_working_number(ed, ERASE_END_FIELD);
    if (start == 0 || end == 0 || end < start) {
        notify(ed, "Start and End must be >0 && Start <= End && End <= number_of_working_objects.");
        open_window(ed, ERASE_WINDOW);
        return;
    }
    if (ask_yes_no(ed, "Do you really want to erase selected objects?") == int32_t(YES_BUTTON)) {
        bool refresh = false;
        for (uint32_t number = start; number <= end; ++number)
            if (erase_object(ed, ed.ctx->object_count + number, 1)) refresh = true;
        notify(ed, "You have successfully erased the selected objects.");
        if (refresh) {
            sync_text_editors(ed);
            refresh_selection_panel(ed, 1);
        }
    }
    open_window(ed, ERASE_WINDOW);
}

}  // namespace creator
