// The property forms of the selected object (geometry 219, behaviour 145,
// text 260, colour 290) with their choice menus and colour steppers, and
// the stream editor 241. Every form edits a working copy of its values;
// the saved copy, taken when the form is loaded, is what reset brings back.
#include <SDL_image.h>

#include <cstdio>
#include <cstring>

#include "creator.h"
#include "resources.h"
#include "selection.h"

namespace creator {

namespace {

constexpr uint32_t STAGE = STAGE_WINDOW;
constexpr uint32_t SWATCH = 305;
constexpr uint32_t STREAM_FIELD = 244;
constexpr uint32_t STREAM_APPLY_CLOSE = 245, STREAM_APPLY = 246, STREAM_RESET = 247, STREAM_CLEAR = 248;
constexpr uint32_t NAME_COMPARE = 64;  // characters compared of a file name
// The largest number a four-digit field can show; typed numbers are kept
// inside what their field can mean.
constexpr int32_t FOUR_DIGITS = 9999;
constexpr int32_t COLOUR_MAX = 255;

// A number field of a form: the object showing it, the value it edits, the
// digits it is padded to with "0" (0 none) and the largest value it takes.
struct NumberField {
    uint32_t object;
    int32_t FormValues::*value;
    uint32_t digits;
    int32_t max;
};

const NumberField GEOMETRY_FIELDS[] = {
    {225, &FormValues::x, 4, FOUR_DIGITS},
    {226, &FormValues::y, 4, FOUR_DIGITS},
    {227, &FormValues::w, 4, FOUR_DIGITS},
    {228, &FormValues::h, 4, FOUR_DIGITS},
    {233, &FormValues::margin_top, 4, FOUR_DIGITS},
    {234, &FormValues::margin_bottom, 4, FOUR_DIGITS},
    {235, &FormValues::margin_left, 4, FOUR_DIGITS},
    {236, &FormValues::margin_right, 4, FOUR_DIGITS},
    {187, &FormValues::border_distance, 4, FOUR_DIGITS},
};

const NumberField BEHAVIOUR_FIELDS[] = {
    {160, &FormValues::kind, 0, TAV_KIND_BITMAP},
    {168, &FormValues::window_style, 0, 1},
    {172, &FormValues::master_number, 4, FOUR_DIGITS},
    {173, &FormValues::hidden, 0, 1},
    {178, &FormValues::editable, 0, 1},
    {182, &FormValues::capacity, 4, FOUR_DIGITS},
    {183, &FormValues::border_style, 0, 5},
    {187, &FormValues::border_distance, 4, FOUR_DIGITS},
    {192, &FormValues::pinned, 0, 1},
};

const NumberField TEXT_FIELDS[] = {
    {275, &FormValues::stream_number, 0, INT32_MAX},
    {276, &FormValues::text_format, 0, 1},
    {277, &FormValues::line_width, 4, FOUR_DIGITS},
    {278, &FormValues::line_spacing, 4, FOUR_DIGITS},
    {279, &FormValues::font_state, 0, 1},
    {280, &FormValues::font_size, 2, 99},
    {282, &FormValues::scroll_extent_w, 4, FOUR_DIGITS},
    {283, &FormValues::scroll_extent_h, 4, FOUR_DIGITS},
};

constexpr uint32_t IMAGE_NAME_FIELD = IMAGE_FILE_FIELD, FONT_NAME_FIELD = FONT_FILE_FIELD;

// The colour fields and their steppers, in the order of FormValues::colour.
struct ColourRow {
    uint32_t field, repeat_down, repeat_up, single_down, single_up;
};

const ColourRow COLOUR_ROWS[COLOUR_VALUES] = {
    {299, 296, 302, 336, 339}, {300, 297, 303, 337, 340}, {301, 298, 304, 338, 341},
    {313, 310, 316, 342, 345}, {314, 311, 317, 343, 346}, {315, 312, 318, 344, 347},
    {330, 327, 333, 348, 351}, {331, 328, 334, 349, 352}, {332, 329, 335, 350, 353},
};

// A choice field: its menu and what each listed entry gives.
struct ChoiceEntry {
    uint32_t item;
    int32_t value;
};

struct ChoiceField {
    uint32_t field, menu;
    int32_t FormValues::*value;
    const ChoiceEntry *entries;
    size_t count;
};

const ChoiceEntry KIND_ENTRIES[] = {{162, 0}, {163, 1}, {164, 2}, {165, 3}, {166, 4},
                                    {167, 5}, {198, 6}, {367, 7}, {368, 8}, {430, 10}};
const ChoiceEntry STYLE_ENTRIES[] = {{170, 0}, {171, 1}};
const ChoiceEntry HIDDEN_ENTRIES[] = {{175, 0}, {176, 1}};
const ChoiceEntry EDITABLE_ENTRIES[] = {{180, 0}, {181, 1}};
const ChoiceEntry BORDER_ENTRIES[] = {{185, 0}, {186, 1}, {196, 2}, {197, 3}, {410, 4}, {411, 5}};
const ChoiceEntry DISTANCE_ENTRIES[] = {{189, 10}, {190, 20}};
const ChoiceEntry PINNED_ENTRIES[] = {{194, 0}, {195, 1}};
const ChoiceEntry FORMAT_ENTRIES[] = {{285, 0}, {286, 1}};
const ChoiceEntry FONT_ENTRIES[] = {{288, 0}, {289, 1}};

template <size_t N>
constexpr ChoiceField choice(uint32_t field, uint32_t menu, int32_t FormValues::*value, const ChoiceEntry (&e)[N])
{
    return {field, menu, value, e, N};
}

const ChoiceField CHOICE_FIELDS[] = {
    choice(160, 161, &FormValues::kind, KIND_ENTRIES),
    choice(168, 169, &FormValues::window_style, STYLE_ENTRIES),
    choice(173, 174, &FormValues::hidden, HIDDEN_ENTRIES),
    choice(178, 179, &FormValues::editable, EDITABLE_ENTRIES),
    choice(183, 184, &FormValues::border_style, BORDER_ENTRIES),
    choice(187, 188, &FormValues::border_distance, DISTANCE_ENTRIES),
    choice(192, 193, &FormValues::pinned, PINNED_ENTRIES),
    choice(276, 284, &FormValues::text_format, FORMAT_ENTRIES),
    choice(279, 287, &FormValues::font_state, FONT_ENTRIES),
};

template <size_t N>
constexpr size_t count_of(const NumberField (&)[N])
{
    return N;
}

// The number fields of a form; the colour form has its own rows.
const NumberField *fields_of(Form form, size_t &count)
{
    switch (form) {
    case GEOMETRY_FORM: count = count_of(GEOMETRY_FIELDS); return GEOMETRY_FIELDS;
    case BEHAVIOUR_FORM: count = count_of(BEHAVIOUR_FIELDS); return BEHAVIOUR_FIELDS;
    case TEXT_FORM: count = count_of(TEXT_FIELDS); return TEXT_FIELDS;
    default: count = 0; return nullptr;
    }
}

tav_object *selected_object(const Editor &ed)
{
    return object_at(ed, ed.state.selected_index);
}

void show_number(Editor &ed, uint32_t field, int32_t value, uint32_t digits)
{
    const uint32_t shown = value < 0 ? 0 : uint32_t(value);
    tav_object &o = ui(ed, field);
    tav_transform_num_to_str(&shown, o.text);
    if (digits) tav_fill_form_with_dummies(ed.ctx, o.text, field, digits, '0');
    tav_format_small_obj(ed.ctx, field);
}

int32_t limited(int32_t value, int32_t max)
{
    if (value < 0) return 0;
    return value > max ? max : value;
}

// A typed number, kept between 0 and `max`.
int32_t typed_number(const Editor &ed, uint32_t field, int32_t max)
{
    int32_t value = 0;
    tav_transform_str_to_num(ui(ed, field).text, &value);
    return limited(value, max);
}

void show_name(Editor &ed, uint32_t field, const char *name)
{
    tav_copy_st_last_part(name, ui(ed, field).text);
    tav_format_small_obj(ed.ctx, field);
}

int32_t *swatch_slot(tav_object &o, int i)
{
    int32_t *slots[COLOUR_VALUES] = {&o.fill_r, &o.fill_g, &o.fill_b, &o.text_r, &o.text_g,
                                     &o.text_b, &o.border_r, &o.border_g, &o.border_b};
    return slots[i];
}

// The colours of the object as the form edits them: in master mode the
// border is the one under the yellow marking.
int32_t *colour_target(Editor &ed, tav_object &o, int i)
{
    creator_state &s = ed.state;
    if (i >= 6 && s.master_mode) {
        int32_t *saved[3] = {&s.saved_border_r, &s.saved_border_g, &s.saved_border_b};
        return saved[i - 6];
    }
    return swatch_slot(o, i);
}

// ---------------------------------------------------------------------------
// Load: both copies from the selected object
// ---------------------------------------------------------------------------

void load_values(Editor &ed, Form form, FormValues &v)
{
    tav_object *o = selected_object(ed);
    if (!o) return;
    creator_state &s = ed.state;
    switch (form) {
    case GEOMETRY_FORM:
        v.x = s.design_x, v.y = s.design_y, v.w = o->w, v.h = o->h;
        v.margin_top = o->margin_top, v.margin_bottom = o->margin_bottom;
        v.margin_left = o->margin_left, v.margin_right = o->margin_right;
        v.border_distance = s.master_mode ? s.saved_border_distance : o->border_distance;
        break;
    case BEHAVIOUR_FORM:
        v.kind = o->kind == TAV_KIND_IMAGE ? TAV_KIND_IMAGE_FILE : int32_t(o->kind);
        v.window_style = o->window_style;
        v.master_number = s.saved_master > ed.ctx->object_count ? int32_t(s.saved_master - ed.ctx->object_count) : 0;
        v.hidden = s.saved_hidden;
        copy_short_text(v.image_file, o->image_file);
        v.image = o->image;
        v.editable = o->editable;
        v.capacity = int32_t(o->capacity);
        v.border_style = s.master_mode ? s.saved_border_style : o->border_style;
        v.border_distance = s.master_mode ? s.saved_border_distance : o->border_distance;
        v.pinned = s.saved_pinned;
        break;
    case TEXT_FORM:
        v.stream_number = o->text_record > ed.ctx->text_record_count
                              ? int32_t(o->text_record - ed.ctx->text_record_count) : 0;
        v.text_format = o->text_format;
        v.line_width = o->line_width;
        v.line_spacing = o->line_spacing;
        v.font_state = o->font_state;
        v.font_size = o->font_size;
        copy_short_text(v.font_file, o->font_file);
        v.scroll_extent_w = o->scroll_extent_w;
        v.scroll_extent_h = o->scroll_extent_h;
        break;
    case COLOUR_FORM:
        // A file may hold any number in a channel; the form, the swatch and
        // an apply all take it limited to what a channel can be.
        for (int i = 0; i < COLOUR_VALUES; ++i) v.colour[i] = limited(*colour_target(ed, *o, i), COLOUR_MAX);
        break;
    }
}

// The working copy of one form takes the saved copy.
void restore_values(Editor &ed, Form form)
{
    FormValues &w = ed.state.form;
    const FormValues &saved = ed.state.form_saved;
    size_t count = 0;
    const NumberField *fields = fields_of(form, count);
    for (size_t i = 0; i < count; ++i) w.*fields[i].value = saved.*fields[i].value;
    if (form == BEHAVIOUR_FORM) copy_short_text(w.image_file, saved.image_file), w.image = saved.image;
    if (form == TEXT_FORM) copy_short_text(w.font_file, saved.font_file);
    if (form == COLOUR_FORM) std::memcpy(w.colour, saved.colour, sizeof w.colour);
}

void show_colour_value(Editor &ed, int i)
{
    show_number(ed, COLOUR_ROWS[i].field, ed.state.form.colour[i], 3);
    *swatch_slot(ui(ed, SWATCH), i) = ed.state.form.colour[i];
}

void show_values(Editor &ed, Form form)
{
    const FormValues &w = ed.state.form;
    size_t count = 0;
    const NumberField *fields = fields_of(form, count);
    for (size_t i = 0; i < count; ++i) show_number(ed, fields[i].object, w.*fields[i].value, fields[i].digits);
    if (form == BEHAVIOUR_FORM) show_name(ed, IMAGE_NAME_FIELD, w.image_file);
    if (form == TEXT_FORM) show_name(ed, FONT_NAME_FIELD, w.font_file);
    if (form == COLOUR_FORM)
        for (int i = 0; i < COLOUR_VALUES; ++i) show_colour_value(ed, i);
}

// Reads the typed numbers of a form back into the working copy.
void read_values(Editor &ed, Form form)
{
    FormValues &w = ed.state.form;
    size_t count = 0;
    const NumberField *fields = fields_of(form, count);
    for (size_t i = 0; i < count; ++i) w.*fields[i].value = typed_number(ed, fields[i].object, fields[i].max);
    if (form == BEHAVIOUR_FORM) copy_short_text(w.image_file, ui(ed, IMAGE_NAME_FIELD).text);
    if (form == TEXT_FORM) copy_short_text(w.font_file, ui(ed, FONT_NAME_FIELD).text);
    if (form == COLOUR_FORM)
        for (int i = 0; i < COLOUR_VALUES; ++i) w.colour[i] = typed_number(ed, COLOUR_ROWS[i].field, COLOUR_MAX);
}

// The selected object's text laid out again after a change of size, width
// or font: the one-line kinds by their own text, the others by their record.
void relayout(Editor &ed, const tav_object &o)
{
    const uint32_t n = ed.state.selected_index;
    if (o.kind == TAV_KIND_LABEL || o.kind == TAV_KIND_ENTRY || o.kind == TAV_KIND_NUMBER)
        tav_format_small_obj(ed.ctx, n);
    else if (o.text_record)
        tav_format_object_text(ed.ctx, n);
}

// The notice window 258 with a message and a caption on its button.
void load_notice(Editor &ed, const char *message, const char *caption)
{
    tav_load_window_text(ed.ctx, NOTICE_WINDOW, message);
    set_caption(ed, NOTICE_BUTTON, caption);
}

void show_size(Editor &ed, const tav_object &o)
{
    show_number(ed, 417, ed.state.design_x, 0);
    show_number(ed, 419, ed.state.design_y, 0);
    show_number(ed, 421, o.w, 0);
    show_number(ed, 423, o.h, 0);
}

// ---------------------------------------------------------------------------
// Apply
// ---------------------------------------------------------------------------

void apply_geometry(Editor &ed, tav_object &o)
{
    creator_state &s = ed.state;
    const FormValues &w = s.form;
    const int32_t dx = wrapped_sub(w.x, s.design_x), dy = wrapped_sub(w.y, s.design_y);
    if ((dx || dy) && s.master_mode) {
        // The object stands inside the staged master: it moves now.
        o.x = wrapped_add(o.x, dx), o.y = wrapped_add(o.y, dy);
        if (o.editable) o.cursor_x = wrapped_add(o.cursor_x, dx), o.cursor_y = wrapped_add(o.cursor_y, dy);
        tav_add_difference_toxy_dep_objs(ed.ctx, s.selected_index, dx, dy);
    }
    s.design_x = w.x, s.design_y = w.y;
    o.w = w.w, o.h = w.h;
    o.margin_top = w.margin_top, o.margin_bottom = w.margin_bottom;
    o.margin_left = w.margin_left, o.margin_right = w.margin_right;
    // In master mode the marking border stands in for the object's own.
    (s.master_mode ? s.saved_border_distance : o.border_distance) = w.border_distance;
    if (o.kind == TAV_KIND_LABEL || o.kind == TAV_KIND_ENTRY)
        tav_format_small_obj(ed.ctx, s.selected_index);
    else if (o.text_record)
        tav_format_object_text(ed.ctx, s.selected_index);
    show_size(ed, o);
}

void apply_image(Editor &ed, tav_object &o)
{
    FormValues &w = ed.state.form;
    if (w.kind != TAV_KIND_IMAGE_FILE) {
        o.kind = uint32_t(w.kind);
        return;
    }
    if (tav_strcmp(w.image_file, o.image_file, NAME_COMPARE) != 2) return;
    SDL_Surface *image = IMG_Load(w.image_file);
    if (!image) {
        notice_origin(ed.ctx) = NOTICE_BEHAVIOUR;
        load_notice(ed, "Can't open image file. Please check name and path.", "Okey");
        open_window(ed, NOTICE_WINDOW);
        return;
    }
    release_image(ed, o);
    w.w = o.w = image->w;
    w.h = o.h = image->h;
    show_number(ed, 421, o.w, 4);
    show_number(ed, 227, o.w, 4);
    show_number(ed, 423, o.h, 4);
    show_number(ed, 228, o.h, 4);
    o.image = w.image = image;
    o.kind = TAV_KIND_IMAGE;
}

void refuse_master(Editor &ed, const char *why)
{
    show_notice(ed, why, "OK");
    ed.state.form.master_number = 0;
    show_number(ed, 172, 0, 4);
    tav_close_win(ed.ctx, 0);
    open_window(ed, BEHAVIOUR_WINDOW);
}

// The top master of the selected object when its master were `master`.
uint32_t top_master_with(Editor &ed, tav_object &o, uint32_t master)
{
    const uint32_t kept = o.master;
    o.master = master;
    const uint32_t top = tav_search_master(ed.ctx, ed.state.selected_index);
    o.master = kept;
    return top;
}

void apply_master(Editor &ed, tav_object &o)
{
    creator_state &s = ed.state;
    const FormValues &w = s.form;
    const char *refusal = master_refusal(ed, w.master_number);
    if (refusal) {
        refuse_master(ed, refusal);
        return;
    }
    const uint32_t n = s.selected_index;
    const uint32_t t = w.master_number ? uint32_t(w.master_number) + ed.ctx->object_count : 0;
    // In master mode the object stands inside the staged master. The master
    // goes back into the design first, the object still in its list, so
    // that both stand at their design places when the lists change.
    if (s.master_mode) {
        restore_selected_border(ed);
        unstage_master(ed);
    }
    // The object leaves the list of the master it has now, which an earlier
    // apply may have changed since the form was loaded.
    if (s.saved_master != 0) tav_delete_old_move_with_number(ed.ctx, s.saved_master, n);
    s.saved_master = t;
    s.master_number = w.master_number;
    if (t && tav_get_move_with_nr(ed.ctx, t, n) == 101) {
        const uint32_t slot = tav_get_free_dep_object(ed.ctx, t);
        // The last entry stays 0: it ends the list.
        if (slot + 1 < TAV_MAX_DEPENDENTS) ed.ctx->objects[t].dependents[slot] = n;
    }
    if (s.master_mode == 0) {
        // The object stays on the stage; master mode will stage its new top.
        s.selected_master = t ? top_master_with(ed, o, t) : 0;
        return;
    }
    o.master = t;
    s.selected_master = t ? tav_search_master(ed.ctx, n) : 0;
    if (s.selected_master != 0) {
        highlight_selected(ed);
        stage_master(ed);
    } else {
        // Without a master there is no master mode: the object itself goes
        // on the stage.
        s.master_mode = 0;
        stage_selected(ed);
        leave_master_layout(ed);
    }
}

void apply_behaviour(Editor &ed, tav_object &o)
{
    creator_state &s = ed.state;
    const FormValues &w = s.form;
    apply_image(ed, o);
    copy_short_text(o.image_file, w.image_file);
    o.window_style = w.window_style;
    if (w.master_number != s.master_number) apply_master(ed, o);
    s.saved_hidden = w.hidden;
    const int32_t was_editable = o.editable;
    o.editable = w.editable;
    if (o.editable == 1 && was_editable != 1) tav_initiate_cursor_win(ed.ctx, STAGE);
    o.capacity = uint32_t(w.capacity);
    (s.master_mode ? s.saved_border_style : o.border_style) = w.border_style;
    (s.master_mode ? s.saved_border_distance : o.border_distance) = w.border_distance;
    s.saved_pinned = w.pinned;
    refresh_selection_panel(ed, 0);
}

void open_font(Editor &ed, tav_object &o)
{
    const FormValues &w = ed.state.form;
    TTF_Font *font = open_font_like_others(ed, w.font_file, w.font_size);
    if (!font) {
        notice_origin(ed.ctx) = NOTICE_TEXT;
        load_notice(ed, "Can't open font file. Please check name and path.", "Okey");
        ed.ctx->decided_object = NOTICE_WINDOW;
        tav_activate_window(ed.ctx);
        return;
    }
    if (font != o.own_font) release_font(ed, o);
    o.own_font = font;
    copy_short_text(o.font_file, w.font_file);
    o.font_size = w.font_size;
    o.font_state = 2;
    relayout(ed, o);
}

void apply_text(Editor &ed, tav_object &o)
{
    const FormValues &w = ed.state.form;
    o.text_format = w.text_format;
    if (w.line_width != ed.state.form_saved.line_width) {
        o.line_width = w.line_width;
        relayout(ed, o);
    }
    o.line_spacing = w.line_spacing;
    o.scroll_extent_w = w.scroll_extent_w;
    o.scroll_extent_h = w.scroll_extent_h;
    if (w.font_state == 1 && w.font_size != 0) {
        const bool new_size = w.font_size != o.font_size && w.font_file[0] != '\0';
        // An own font without a name cannot open: the notice says so
        // instead of the apply seeming to do nothing.
        const bool no_name = w.font_file[0] == '\0';
        if (new_size || no_name || tav_strcmp(w.font_file, o.font_file, NAME_COMPARE) == 2) open_font(ed, o);
    } else if (w.font_state == 0) {
        o.font_state = 0;
        release_font(ed, o);
        copy_short_text(o.font_file, w.font_file);
        relayout(ed, o);
    }
}

void apply_colour(Editor &ed, tav_object &o)
{
    for (int i = 0; i < COLOUR_VALUES; ++i) *colour_target(ed, o, i) = ed.state.form.colour[i];
}

// ---------------------------------------------------------------------------
// Stream editor
// ---------------------------------------------------------------------------

tav_text_record *record_of(Editor &ed, uint32_t n)
{
    tav_object *o = object_at(ed, n);
    if (!o || !ed.ctx->text_records || o->text_record == 0) return nullptr;
    if (o->text_record > ed.ctx->text_record_count + MAX_WORKING_STREAMS) return nullptr;
    return &ed.ctx->text_records[o->text_record];
}

bool assign_stream(Editor &ed, tav_object &o)
{
    if (record_of(ed, ed.state.selected_index)) return true;
    const uint32_t r = find_free_stream(ed);
    if (r == 0) {
        // Shown, not just loaded: otherwise the menu entry seems to do nothing.
        notice_origin(ed.ctx) = NOTICE_NONE;
        load_notice(ed, "No empty stream available.", "OK");
        open_window(ed, NOTICE_WINDOW);
        return false;
    }
    creator_state &s = ed.state;
    s.streams_assigned += 1;
    if (r > s.highest_stream) s.highest_stream = r;
    o.text_record = r;
    ed.ctx->text_records[r].owner = s.selected_index;
    s.stream_number = int32_t(r - ed.ctx->text_record_count);
    s.form.stream_number = s.form_saved.stream_number = s.stream_number;
    show_number(ed, 275, s.stream_number, 0);
    return true;
}

void copy_record_text(char *to, const char *from)
{
    std::memcpy(to, from, TAV_RECORD_TEXT_SIZE);
    to[TAV_RECORD_TEXT_SIZE - 1] = '\0';
}

// The field 244 shows `text` with its cursor at the start.
void fill_stream_field(Editor &ed, const char *text)
{
    tav_text_record *field = record_of(ed, STREAM_FIELD);
    if (!field) return;
    copy_record_text(field->text, text);
    tav_format_object_text(ed.ctx, STREAM_FIELD);
    tav_reset_textobject(ed.ctx, 1, STREAM_FIELD);
}

void apply_stream(Editor &ed)
{
    tav_text_record *own = record_of(ed, ed.state.selected_index);
    tav_text_record *field = record_of(ed, STREAM_FIELD);
    if (!own || !field) return;
    copy_record_text(ed.state.stream_backup, own->text);
    copy_record_text(own->text, field->text);
    tav_format_object_text(ed.ctx, ed.state.selected_index);
}

void clear_stream(Editor &ed)
{
    tav_object &o = ui(ed, STREAM_FIELD);
    tav_text_record *field = record_of(ed, STREAM_FIELD);
    if (!field) return;
    std::memset(field->text, 0, sizeof field->text);
    std::memset(&ed.ctx->line_buffers[o.text_record], 0, sizeof(tav_line_buffer));
    o.cursor_row = o.cursor_column = 0;
    o.text_length = 0;
    field->cursor_position = 0;
    o.cursor_x = wrapped_add(o.x, o.margin_left);
    o.cursor_y = wrapped_add(o.y, o.margin_top);
}

}  // namespace

const char *master_refusal(const Editor &ed, int32_t number)
{
    const creator_state &s = ed.state;
    if (number == int32_t(s.selected_number)) return "Mother shouldn't be selected_object!";
    if (number == 0) return nullptr;
    if (number < 0 || uint32_t(number) > s.number_of_working_objects)
        return "Mother shouldn't be a depending object!";
    const uint32_t t = uint32_t(number) + ed.ctx->object_count;
    const uint32_t n = s.selected_index;
    if (tav_get_move_with_nr(ed.ctx, n, t) != 101) return "Mother shouldn't be a depending object!";
    // A master inside the object's own subtree would close the chain of
    // masters into a loop; the walk up is bounded for the same reason.
    uint32_t m = t;
    for (uint32_t steps = 0; m && steps <= ed.object_capacity; ++steps) {
        if (m == n) return "Mother shouldn't be a depending object!";
        const tav_object *o = object_at(ed, m);
        m = o ? o->master : 0;
    }
    return nullptr;
}

void load_form(Editor &ed, Form form)
{
    load_values(ed, form, ed.state.form);
    load_values(ed, form, ed.state.form_saved);
    if (form == TEXT_FORM && ed.state.form.font_state == 2) ed.state.form.font_state = 1;
}

void show_form(Editor &ed, Form form)
{
    show_values(ed, form);
}

void load_and_show_form(Editor &ed, Form form)
{
    load_form(ed, form);
    show_form(ed, form);
}

void apply_form(Editor &ed, Form form)
{
    tav_object *o = selected_object(ed);
    if (!o) return;
    read_values(ed, form);
    switch (form) {
    case GEOMETRY_FORM: apply_geometry(ed, *o); break;
    case BEHAVIOUR_FORM: apply_behaviour(ed, *o); break;
    case TEXT_FORM: apply_text(ed, *o); break;
    case COLOUR_FORM: apply_colour(ed, *o); break;
    }
}

void reset_form(Editor &ed, Form form)
{
    restore_values(ed, form);
    show_form(ed, form);
    if (form == GEOMETRY_FORM) {
        const FormValues &w = ed.state.form;
        show_number(ed, 417, w.x, 0);
        show_number(ed, 419, w.y, 0);
        show_number(ed, 421, w.w, 0);
        show_number(ed, 423, w.h, 0);
        // The readouts stand on the stage, outside the form's window.
        redraw(ed);
        return;
    }
    tav_draw_and_screenup_selected_window(ed.ctx);
}

bool choice_field_pressed(Editor &ed, uint32_t object)
{
    for (const ChoiceField &c : CHOICE_FIELDS) {
        if (c.field != object) continue;
        const uint32_t item = tav_move_out_menu(ed.ctx, c.menu, 1);
        for (size_t i = 0; i < c.count; ++i)
            if (c.entries[i].item == item) ed.state.form.*c.value = c.entries[i].value;
        show_number(ed, c.field, ed.state.form.*c.value, c.field == 187 ? 4 : 0);
        tav_draw_and_screenup_selected_window(ed.ctx);
        return true;
    }
    return false;
}

bool colour_stepper(Editor &ed, uint32_t object, bool held)
{
    for (int i = 0; i < COLOUR_VALUES; ++i) {
        const ColourRow &r = COLOUR_ROWS[i];
        const uint32_t down = held ? r.repeat_down : r.single_down;
        const uint32_t up = held ? r.repeat_up : r.single_up;
        if (object != down && object != up) continue;
        int32_t &value = ed.state.form.colour[i];
        const int32_t step = object == up ? 1 : -1;
        if (value + step < 0 || value + step > COLOUR_MAX) return true;
        value += step;
        show_colour_value(ed, i);
        tav_draw_and_screenup_selected_window(ed.ctx);
        return true;
    }
    return false;
}

bool load_stream_editor(Editor &ed)
{
    const tav_text_record *own = record_of(ed, ed.state.selected_index);
    if (!own) return false;
    copy_record_text(ed.state.stream_backup, own->text);
    fill_stream_field(ed, own->text);
    return true;
}

void load_short_text_editor(Editor &ed)
{
    const tav_object *o = selected_object(ed);
    if (!o) return;
    copy_short_text(ui(ed, SHORT_TEXT_FIELD).text, o->text);
    tav_format_small_obj(ed.ctx, SHORT_TEXT_FIELD);
    tav_reset_textobject(ed.ctx, 0, SHORT_TEXT_FIELD);
}

void open_stream_editor(Editor &ed)
{
    tav_object *o = selected_object(ed);
    if (!o || !assign_stream(ed, *o)) return;
    if (load_stream_editor(ed)) open_window(ed, STREAM_WINDOW);
}

void open_short_text_editor(Editor &ed)
{
    load_short_text_editor(ed);
    open_window(ed, SHORT_TEXT_WINDOW);
}

void stream_editor_button(Editor &ed, uint32_t button)
{
    switch (button) {
    case STREAM_APPLY_CLOSE:
        apply_stream(ed);
        tav_close_win(ed.ctx, 0);
        redraw(ed);
        break;
    case STREAM_APPLY:
        apply_stream(ed);
        redraw(ed);
        break;
    case STREAM_RESET:
        fill_stream_field(ed, ed.state.stream_backup);
        tav_draw_and_screenup_selected_window(ed.ctx);
        break;
    case STREAM_CLEAR:
        clear_stream(ed);
        tav_draw_and_screenup_selected_window(ed.ctx);
        break;
    default: break;
    }
}

// ---------------------------------------------------------------------------
// Titles and typing
// ---------------------------------------------------------------------------

namespace {

// Headers of the behaviour, geometry, text and colour forms, the stream
// editor and the short-text editor.
constexpr uint32_t TITLE_HEADERS[] = {146, 220, 261, 291, 242, 254};
static_assert(sizeof TITLE_HEADERS / sizeof TITLE_HEADERS[0] == sizeof creator_state::form_titles /
                                                                     sizeof creator_state::form_titles[0],
              "one remembered caption a header");

constexpr uint32_t KEY_BACKSPACE = 8, KEY_DELETE = 127;

bool is_number_field(const Editor &ed, uint32_t n)
{
    const tav_object *o = n <= ed.ctx->object_count ? object_at(ed, n) : nullptr;
    return o && o->kind == TAV_KIND_NUMBER && o->editable == 1;
}

}  // namespace

void show_form_titles(Editor &ed)
{
    creator_state &s = ed.state;
    const bool take = s.form_titles_taken == 0;
    s.form_titles_taken = 1;
    for (size_t i = 0; i < sizeof TITLE_HEADERS / sizeof TITLE_HEADERS[0]; ++i) {
        char (&caption)[TAV_SHORT_TEXT_SIZE] = s.form_titles[i];
        if (take) copy_short_text(caption, ui(ed, TITLE_HEADERS[i]).text);
        char title[TAV_SHORT_TEXT_SIZE];
        if (caption[0] != '\0')
            std::snprintf(title, sizeof title, "%s of object %u", caption, s.selected_number);
        else
            std::snprintf(title, sizeof title, "Object %u", s.selected_number);
        set_caption(ed, TITLE_HEADERS[i], title);
    }
}

void type_key(Editor &ed)
{
    tav_context *ctx = ed.ctx;
    creator_state &s = ed.state;
    const uint32_t field = ctx->cursor_object;
    const bool number_field = is_number_field(ed, field);
    if (number_field && ctx->key != 0) {
        tav_object &o = ui(ed, field);
        const bool typing = field == s.typing_field && std::strcmp(o.text, s.typing_text) == 0;
        const bool replaces = ctx->key_is_char == 1 || ctx->key == KEY_BACKSPACE || ctx->key == KEY_DELETE;
        if (!typing && replaces) {
            o.text[0] = '\0';
            o.offset_x = 0;
            tav_reset_textobject(ctx, 0, field);
        }
    }
    tav_get_text(ctx);
    if (!number_field) return;
    s.typing_field = field;
    copy_short_text(s.typing_text, ui(ed, field).text);
}

void follow_typing_cursor(Editor &ed)
{
    if (ed.ctx->cursor_object != ed.state.typing_field) ed.state.typing_field = 0;
}

int32_t load_design_fonts(Editor &ed)
{
    tav_context *ctx = ed.ctx;
    return open_shared_fonts(ed, ctx->object_count - ed.state.number_of_working_objects + 1, ctx->object_count);
}

void load_design_images(Editor &ed)
{
    tav_load_object_images(ed.ctx, ed.ctx->object_count - ed.state.number_of_working_objects + 1);
}

}  // namespace creator
